#pragma once

#include "spectrum/SpectrumPoints.h"
#include "spectrum/XafsSpectrum.h"

#include <QString>
#include <QVector>

#include <functional>

class Analyzed2DRes;

// The element analysis of one spectrum: for several target elements at once,
// the step of mu across each element's expected edge energy E0 (dmut), that
// step relative to the main target's (N), mu on both sides of the edge (mu+
// and mu-), where the curve really crosses the middle of the step (DE,
// relative to E0), the mean of mu - mu- over a region of interest (ROI) and
// that mean per dmut (NROI). A bin whose step does not exceed a row's
// threshold is taken to hold none of that element: its values become the
// background values.
//
// Plain code: no widgets, no threads. The analyzer turns its element rows
// and background fields into the value snapshots below in the GUI thread and
// hands them over with the spectrum; the parsing of the target names, the
// lookup of a row by a command's argument and the correlation with the
// standard composition are here too, so the windows only move values.

// The element and edge of one row, as parsed from the target names.
struct ElemTarget
{
    QString symbol;   // element symbol, as typed ("Fe")
    QString edgeName; // edge name as typed ("K", "L3", "LIII", "M1", ...)
    int z = 0;        // atomic number
    int edge = 0;     // 0 K, 1 LI, 2 LII, 3 LIII
    double e0 = 0.0;  // expected edge energy in eV, from the edge table

    // The row name, symbol "-" edge name ("Fe-K").
    QString name() const { return symbol + QLatin1Char('-') + edgeName; }

    // The target of symbol and edge name: its atomic number and edge energy
    // from the tables (an edge name other than K, L1..L3 or LI..LIII stands
    // for the K edge). z < 1 when the symbol is no element's.
    static ElemTarget of(const QString &symbol, const QString &edgeName);
};

// The targets of a names text ("Fe, Ni-K  Cu-L3"): commas count as blanks;
// "Sym-Edge" names an edge, a plain symbol the K edge; symbols are matched
// case-sensitively and unknown ones are dropped. With sortByZ the targets
// come in the order of elemOrderByZ.
QVector<ElemTarget> parseElemTargets(const QString &text, bool sortByZ);

// The order "Sort by A. No." gives to rows of atomic numbers z: a selection
// sort that, for each position from the first, swaps in the first row of
// smallest z after it when that z is strictly smaller. Entry i of the result
// is the index in z of the row that goes to position i.
QVector<int> elemOrderByZ(const QVector<int> &z);

// The row a command's argument names: the first row whose name is arg, else
// the first whose element symbol is arg, else, when arg is a whole number,
// the row of that index. -1 (and a log line) when none is.
int findElemRow(const QVector<ElemTarget> &rows, const QString &arg);

// Everything the computation reads of one element row.
struct ElemRowSnapshot
{
    ElemTarget target;
    double preDE = 20.0;      // dmut = mu(E0 + preDE) - mu(E0 - preDE)
    double thDMut = 0.1;      // a dmut not above it means no element
    double roiStart = 7000.0; // region of interest, eV
    double roiEnd = 7005.0;
    bool noNeg = false;    // a negative ROI becomes the background value
    bool use = false;      // takes part in the correlation
    double stdRatio = 1.0; // the standard composition's N of this row
};

// The background values of the element analysis: what a bin without the
// element shows. dmutRatio is kept with the others but applies to nothing.
struct ElemBackground
{
    double dmut = 0.0;
    double dmutRatio = 0.0;
    double de = 0.0;
    double roi = -1.0;
    double nroi = -1.0;
};

// The results of one spectrum, one entry per row in row order. dmut, mu+,
// mu- and DE carry the background values where the row's dmut did not exceed
// its threshold; rawDmut is the dmut as computed.
struct ElemResults
{
    QVector<double> dmut;
    QVector<double> n;
    QVector<double> muPlus;
    QVector<double> muMinus;
    QVector<double> de;
    QVector<double> roi;
    QVector<double> nroi;
    QVector<double> rawDmut;

    // The values of kind 0 .. 6 (dmut, N, mu+, mu-, DE, ROI, NROI), the
    // order of a row's maps.
    static constexpr int Kinds = 7;
    const QVector<double> &kind(int k) const;
};

// The energy shift the computation applies to a spectrum: its per-pixel
// energy shift (0 without an energy-shift map), whatever its dE flag.
double elemEnergyShift(const XafsSpectrum &s);

// The computation over a run: the rows, the main target and the background
// values taken once, and the index windows of each row (edge search and
// ROI) kept for the energies of the last spectrum, so that bins sharing
// their energies, as those of a 2D run do, search them only once.
//
// The main target is mainTarget when it names a row, else the first row (no
// target checked). Energies of the rows' scale are those of the spectrum
// minus the shift: mu(e) is the spectrum's value at e + shift.
class ElemAnalysis
{
public:
    ElemAnalysis(const QVector<ElemRowSnapshot> &rows, int mainTarget, const ElemBackground &bg);

    int rowCount() const { return rowData.size(); }
    int mainTarget() const { return main; }

    // Analyzes s with the shift elemEnergyShift(s).
    void analyze(const XafsSpectrum &s, ElemResults &out);
    // Analyzes the points (x as read through their shift) with the given
    // shift. out keeps its storage from call to call.
    void analyze(const SpectrumPoints &points, double shift, ElemResults &out);

private:
    // A row with what it needs at every spectrum.
    struct Row
    {
        double e0;
        double ePlus;  // E0 + dE
        double eMinus; // E0 - dE
        double th;
        double roiStart;
        double roiEnd;
        bool noNeg;
    };
    // The point windows of a row for given energies: the edge search walks
    // the segments i0 .. i1 - 1, the ROI mean the points r0 .. r1 - 1; empty
    // windows have i1 <= i0 (r1 <= r0).
    struct Windows
    {
        int i0;
        int i1;
        int r0;
        int r1;
    };

    void findWindows(const SpectrumPoints &points, double shift);

    QVector<Row> rowData;
    int main = 0;
    ElemBackground bg;
    // The energies and shift the windows were found for.
    QVector<double> windowEnergies;
    double windowShift = 0.0;
    bool windowsKnown = false;
    QVector<Windows> windows;
};

// One spectrum without a prepared run.
void analyzeSpectrumElems(const XafsSpectrum &s, const QVector<ElemRowSnapshot> &rows,
                          int mainTarget, const ElemBackground &bg, ElemResults &out);

// The correlation of a spectrum's N values with the standard composition,
// over the rows in use: Sab / sqrt(Saa Sbb) with a the N values and b the std
// ratios.
class ElemCorrelation
{
public:
    explicit ElemCorrelation(const QVector<ElemRowSnapshot> &rows);
    ElemCorrelation(const QVector<bool> &use, const QVector<double> &stdRatio);

    int rowCount() const { return rows; }

    // The correlation of n (one value per row, all rows); false, cor
    // untouched, when Saa or Sbb is not above 0.
    bool correlation(const double *n, double &cor) const;
    bool correlation(const QVector<double> &n, double &cor) const;
    // The value a correlation map holds for n: the correlation, or 0.0 where
    // there is none.
    double mapValue(const double *n) const;

private:
    int rows = 0;
    QVector<int> used;
    QVector<double> stdUsed;
    double sbb = 0.0;
};

// The "Cor. Th" map value of a correlation: cor when it reaches the
// threshold, else 0.0.
inline double corThValue(double cor, double threshold)
{
    return cor >= threshold ? cor : 0.0;
}

// Rebuilds the correlation maps from the rows' N maps (one per row, in row
// order) without a new run: walks the area of cor from its first bin; at each
// bin the N values at the bin centre (0.0 outside a map) give cor's value and
// corTh's (corThValue) over the bin. rowStarted, when given, is called with
// the per cent of the area done at each new row of the walk. False (logged,
// nothing written) when the maps do not fit the correlation's rows or cor is
// empty; the pictures are left to the caller.
bool recalcElemCorMaps(const QVector<const Analyzed2DRes *> &nMaps, const ElemCorrelation &corr,
                       double threshold, Analyzed2DRes &cor, Analyzed2DRes &corTh,
                       const std::function<void(double)> &rowStarted = {});
