#pragma once

#include "spectrum/SpectrumPoints.h"
#include "spectrum/XafsSpectrum.h"

#include <QVector>

#include <memory>

// Linear combination fitting of one sample spectrum against reference
// spectra, in two modes:
//  - LCF: the sample's double-normalized pre-base curve as a weighted sum of
//    the references' double-normalized pre-base curves; the weights are
//    reported as fitted.
//  - MLCF: the sample's raw mu as a constant, a term linear in energy and a
//    weighted sum of the references' double-normalized curves; negative
//    weights become 0 and the weights are rescaled by the sum of the fitted
//    ones.
// Plain code: no widgets, no threads. The reference rows of the analyzer are
// turned into value snapshots in the GUI thread and handed over with the
// sample.

// One reference row as the fit sees it.
struct LcfReferenceSnapshot
{
    // The reference normalized in its own energies (whatever shift it was
    // last normalized with), its raw shift on and set to dE: its values at a
    // sample energy E are those of the measured curve at E + dE, dE applied
    // exactly once.
    XafsSpectrum spectrum;
    double dE = 0.0;
    // The Use box is on and the file really gave points.
    bool used = false;

    // The snapshot of a row: its spectrum, its dE, the state of its Use box
    // and of its Victoreen box (the background form it is normalized with).
    static LcfReferenceSnapshot of(const XafsSpectrum &reference, double dE, bool useChecked,
                                   bool isVictoreen);
};

// Everything one fit gives.
struct LcfResult
{
    // One entry per used reference, in row order. LCF: ratio the weights,
    // dmut the weights times the sample's edge jump (0 when the jump is not
    // positive). MLCF: dmut the weights with negatives set to 0, ratio those
    // divided by the sum of the unclipped weights.
    QVector<double> ratio;
    QVector<double> dmut;
    // The residual ("Zansa"): the mean squared relative misfit between the
    // fit and the sample's double-normalized pre-base curve inside the
    // fitting window, divided by the number of sample points; 0 for a sample
    // without points.
    double z = 0.0;
    // The fitted curve at the sample's energies (those every used reference
    // covers), and the same curve as a spectrum normalized with straight
    // backgrounds; res stays empty when the normalization was not asked for.
    SpectrumPoints fitted;
    XafsSpectrum res;
};

// The sample's energies as the fit reads them: raw energy minus its dE (when
// on) minus its per-pixel energy shift.
QVector<double> lcfSampleEnergies(const XafsSpectrum &sample);

// The part of a fit that depends only on the references, the sample
// energies, the mode and the fitting range: the windows, the reference
// values at every sample energy and the sums over reference values alone. A
// 2D run prepares it once and fits every bin with it; a sample whose energies
// differ from the prepared ones is fitted as by fitLcfSpectrum, so the results
// are always those of the plain fit, to the last bit.
class LcfSetup
{
public:
    LcfSetup(const QVector<LcfReferenceSnapshot> &refs, const QVector<double> &energies,
             bool isMLCF, double sE0, double eE0);

    // False with fewer than two reference entries (used or not): such a
    // setup gives no fit.
    bool isValid() const { return valid; }
    int usedCount() const { return usedRefs.size(); }

    // Fits sample into out; false (out untouched) for an invalid setup.
    // normalizeFit false leaves out.res empty (ratio, dmut and z do not
    // depend on it).
    bool fit(const XafsSpectrum &sample, LcfResult &out, bool normalizeFit = true) const;

    // Whether the sample energies frameEnergies[i] - shift (n of them) are
    // those the setup was made for, to the bit.
    bool matchesEnergies(const double *frameEnergies, int n, double shift) const;
    const QVector<LcfReferenceSnapshot> &references() const { return snapshots; }
    bool mlcf() const { return isMLCF; }
    double rangeStart() const { return sE0; }
    double rangeEnd() const { return eE0; }
    // Points of the fitted curve.
    int drawCount() const { return drawPoints.size(); }

private:
    friend class LcfBinFitter;
    bool matches(const XafsSpectrum &sample) const;
    void fitPrepared(const XafsSpectrum &sample, LcfResult &out, bool normalizeFit) const;
    // The fit of a sample with the prepared energies: usedCount() values
    // into ratio and dmut, the residual into z, the fitted curve into f
    // (drawCount() points).
    template <typename Sample>
    void solve(const Sample &sample, double *ratio, double *dmut, double &z, QPointF *f) const;

    QVector<LcfReferenceSnapshot> snapshots;
    QVector<int> usedRefs;
    QVector<double> energies;
    bool isMLCF = false;
    bool valid = false;
    double sE0 = 0.0;
    double eE0 = 0.0;
    double lo = 0.0;
    double hi = 0.0;
    // Sample points inside the fitting window and inside the drawing window.
    QVector<int> fitPoints;
    QVector<int> drawPoints;
    // The inner sample points inside the fitting window that the residual
    // visits, and for each the two fitted points its value lies between.
    QVector<int> residualPoints;
    QVector<int> residualSegments;
    // For each residual point, whether its two fitted points share their
    // energy, the gap between those energies and its distance from the
    // first.
    QVector<bool> residualSame;
    QVector<double> residualGaps;
    QVector<double> residualOffsets;
    // usedCount() values per point of fitPoints (LCF: double-normalized
    // pre-base, MLCF: double-normalized) and of drawPoints (double-normalized
    // pre-base).
    QVector<double> fitValues;
    QVector<double> drawValues;
    // The normal matrix (unknowns x unknowns, row-major) summed in point
    // order.
    QVector<double> normal;
};

// The fits of the bins of a 2D run, whose spectra are all built from the same
// frames: given a bin's absorption values and energy shift, the ratio, dmut
// and residual that XafsSpectrum(points, isVictoreen, shift) fitted with the
// run's setup gives, to the last bit, without building the spectrum: only the
// values the fit reads are normalized (BinNormalizer), and no fitted spectrum
// is made. One object serves one thread (it keeps working rows).
class LcfBinFitter
{
public:
    LcfBinFitter(std::shared_ptr<const LcfSetup> setup, const QVector<double> &frameEnergies,
                 bool isVictoreen);

    // False without a setup or with an invalid one: nothing may be fitted.
    bool isValid() const;
    int usedCount() const;
    // A bin inside the data: mu holds one value per frame energy. ratio and
    // dmut get usedCount() values.
    void fit(const double *mu, double shift, double *ratio, double *dmut, double &z);
    // A bin outside the data (an empty spectrum).
    void fitEmpty(double shift, double *ratio, double *dmut, double &z);

private:
    const LcfSetup *setupFor(double shift);

    std::shared_ptr<const LcfSetup> setup;
    QVector<double> frameEnergies;
    bool isVictoreen;
    BinNormalizer normalizer;
    QVector<double> dnp;
    QVector<QPointF> fitted;
    double setupShift = 0.0;
    bool setupShiftKnown = false;
    // The setup of the last bin whose energies were not the run's.
    std::unique_ptr<LcfSetup> own;
    QVector<double> shifted;
};

// One fit without preparation: LCF or MLCF of sample against refs over the
// range [sE0, eE0] eV. False, with out untouched, when refs has fewer than two
// entries.
bool fitLcfSpectrum(const XafsSpectrum &sample, const QVector<LcfReferenceSnapshot> &refs,
                    bool isMLCF, double sE0, double eE0, LcfResult &out, bool normalizeFit = true);
