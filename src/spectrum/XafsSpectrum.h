#pragma once

#include "spectrum/SpectrumPoints.h"

#include <QMetaType>
#include <QString>

// One background curve of a spectrum: a straight line c0 + c3 * E or the
// Victoreen form c0 + c1 * lambda^3 + c2 * lambda^4 with lambda = hc / E,
// evaluated at every energy of the spectrum.
struct EdgeBaseline
{
    SpectrumPoints curve;
    bool isVictoreen = true;
    double c0 = 0.0;
    double c1 = 0.0;
    double c2 = 0.0;
    double c3 = 0.0;

    // The curve's value at point i of the spectrum; 0 where it has none.
    double at(int i) const { return i < curve.size() ? curve.y(i) : 0.0; }
};

// Fits baseline to the points of spectrum with from <= x < to (shifted x) by
// least squares in the given form, then evaluates it at every point. The line
// needs a spectrum of at least 3 points and the Victoreen form at least 4;
// with fewer the baseline keeps its curve and coefficients.
void fitBackground(EdgeBaseline &baseline, const SpectrumPoints &spectrum, double from, double to,
                   bool isVictoreen);

// One absorption spectrum (energy in eV, mu t) with its pre-edge and
// post-edge backgrounds, its edge energy, its jump and four normalized curves.
// A plain value: copied freely, also across threads.
class XafsSpectrum
{
public:
    XafsSpectrum() = default;
    // Copies points with their energy shift baked into the energies and
    // normalizes when there is at least one point.
    XafsSpectrum(const SpectrumPoints &points, bool isVictoreen, double energyShift);

    // Refits both backgrounds in the given form and rebuilds e0, the jump and
    // the derived curves from the raw points; nothing for an empty spectrum.
    void normalize(bool isVictoreen);

    // Reads a "9809" scan file or a two-column file into the raw points; does
    // not normalize. False, with the raw points empty, when the file cannot
    // be read, holds no point or holds an energy that is not finite.
    bool load(const QString &fileName);
    // Writes the five-column text form (x, double-normalized pre-base, mu,
    // pre, post) with its two header lines; false (and a log line) when the
    // file could not be written.
    bool save(const QString &fileName, bool subtractEnergyShift) const;

    // The double-normalized pre-base curve at energy E (dE added when the
    // raw shift is on).
    double doubleNormalizedPreBase(double E) const;

    const SpectrumPoints &raw() const { return rawPoints; }
    SpectrumPoints &raw() { return rawPoints; }
    const EdgeBaseline &pre() const { return preBase; }
    const EdgeBaseline &post() const { return postBase; }
    const SpectrumPoints &postBaseNormalized() const { return postBaseNorm; }
    const SpectrumPoints &doubleNormalized() const { return doubleNorm; }
    const SpectrumPoints &normalized() const { return norm; }
    const SpectrumPoints &doubleNormalizedPreBase() const { return doubleNormPreBase; }

    bool isVictoreen() const { return victoreen; }
    int isTwoColumn() const { return twoColumn; }
    double preStart() const { return preStartE; }
    double preEnd() const { return preEndE; }
    double postStart() const { return postStartE; }
    double postEnd() const { return postEndE; }
    double e0() const { return edgeE; }
    double jump() const { return edgeJump; }
    double maxE() const { return maxEnergy; }
    double maxMu() const { return maxMuValue; }
    double maxMuOverPost() const { return maxMuPost; }

    // dE: the raw list's shift; changing it does not renormalize.
    double dE() const { return rawPoints.shift(); }
    void setDE(double e) { rawPoints.setShift(e); }
    bool dEEnabled() const { return rawPoints.shiftEnabled(); }
    void enableDE(bool f) { rawPoints.enableShift(f); }

    double energyShift() const { return eShift; }
    void setEnergyShift(double e) { eShift = e; }

private:
    bool readScanFile(const QString &fileName);
    bool readTwoColumnFile(const QString &fileName);

    SpectrumPoints rawPoints;
    int twoColumn = 1;
    EdgeBaseline preBase;
    EdgeBaseline postBase;
    bool victoreen = true;
    double preStartE = -1000.0;
    double preEndE = -100.0;
    double postStartE = 10.0;
    double postEndE = 1000.0;
    double edgeE = 0.0;
    double edgeJump = 0.0;
    double maxEnergy = 0.0;
    double maxMuValue = 0.0;
    double maxMuPost = 0.0;
    SpectrumPoints postBaseNorm;
    SpectrumPoints doubleNorm;
    SpectrumPoints norm;
    SpectrumPoints doubleNormPreBase;
    double eShift = 0.0;
};

Q_DECLARE_METATYPE(XafsSpectrum)

// out[i] = num[i] / den[i] for i < n, two at a time where the compiler offers
// vectors of two doubles: each quotient is the correctly rounded one either
// way, so the values are those of dividing one by one.
void divideEach(const double *num, const double *den, double *out, int n);

// The normalization of many spectra that share one list of energies (the bins
// of a 2D run, all built from the same frames), cut down to what a fit reads:
// the double-normalized pre-base values and the jump. Each value is exactly
// the one XafsSpectrum(points, isVictoreen, shift) gives for points at these
// energies (their shift off) with the same mu: the same operations in the same
// order, with the wavelength powers of the energies worked out once, and
// nothing that the fit does not read (the other curves, the largest mu).
// Holds its own working rows, so one object serves one thread.
class BinNormalizer
{
public:
    BinNormalizer(const QVector<double> &energies, bool isVictoreen);

    int size() const { return x.size(); }
    // mu: size() values; dnp: room for size() values, which get the
    // double-normalized pre-base curve's y values. Returns the jump. A list
    // without energies writes nothing and gives 0, as an empty spectrum.
    double normalize(const double *mu, double *dnp);

private:
    // One background over [from, to) into values (size() of them); false
    // when there are too few points for the form and the spectrum's fresh
    // background (no curve) stands.
    bool fitBackground(const double *mu, double from, double to, double *values) const;

    bool victoreen;
    double preStartE = 0.0;
    double preEndE = 0.0;
    double postStartE = 0.0;
    double postEndE = 0.0;
    QVector<double> x;
    // Line form: x squared. Victoreen form: hc / x and its powers 3, 4, 6,
    // 7 and 8, as the fit takes them.
    QVector<double> xx, l, l3, l4, l6, l7, l8;
    QVector<double> pre;
    QVector<double> post;
    QVector<double> num;
    QVector<double> den;
};
