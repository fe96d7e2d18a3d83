#pragma once

#include "core/SpectrumSource.h"

#include <QString>
#include <QVector>

struct AnalyzeCond;
class Analyzed2DRes;
class SpectrumPoints;
class TiffData;

// A monochromator crystal of the calibration window and its lattice spacing
// d (12398.424360387684 / E is the wavelength 2 d sin theta for E in eV).
struct CalibCrystal
{
    QString name;
    double spacing;
};
// "Si(111)", "Si(311)", "Si(333)", "Ge(111)", "Ge(333)", in this order.
QVector<CalibCrystal> calibCrystals();

// The statistics of one calibration over the bins it gave a shift to.
struct EdgeShiftStats
{
    double min = 0.0;
    double max = 0.0;
    double mean = 0.0;
    double sigma = 0.0; // population standard deviation
    qint64 bins = 0;
};

// The energy calibration: over a walk, bin by bin, how far the absorption
// edge of the bin (the half-height energy of its raw absorption points: the
// energy where they first rise through half their range) lies from that of
// a standard spectrum. The shifts fill the energy-shift map.
//
// It reads the stacks as a SpectrumSource does (same absorption rule, same
// I0 interpolation and dark subtraction), but a whole row of bins at a time,
// frame by frame, and finds each half-height energy on the raw ratios
// without building a spectrum: the logarithm is taken only where a point
// could lie on the level. A snapshot like the source: the frames are not
// owned and must outlive it unchanged.
class EdgeShiftCalib
{
public:
    EdgeShiftCalib(const QVector<TiffData *> &i1, const QVector<TiffData *> &i0,
                   const TiffData *dark, int dataWidth, int dataHeight, bool fluorescence);

    // The source over the same stacks, for single bins.
    const SpectrumSource &source() const { return src; }

    // The half-height energy of the bin (x, y, hx, hy), through the source:
    // crossingX (0.5, rising) of its absorption points (0 outside the data).
    double edgeAt(int x, int y, int hx, int hy) const;

    // The half-height energies of the bins centred at (cxs[j], cy) with half
    // sizes hx, hy, into edges: the values of edgeAt, bit for bit for frames
    // of integer samples. False (logged) when the memory for a row cannot be
    // had.
    bool rowEdges(const QVector<int> &cxs, int cy, int hx, int hy, QVector<double> &edges) const;

    // The calibration over walk (from its first bin): prepares map for the
    // walk, writes into each bin whose centre lies in the data its edge less
    // the standard's, and returns the statistics; the map's picture is
    // regenerated. Logs "Start Calibration", a "progress" line per new row and
    // "End Calibration   ". Refused (false, logged, map untouched) without a
    // standard (empty raw points) or without I1 frames; false when the map
    // cannot be had or no bin centre lies in the data.
    bool run(const AnalyzeCond &walk, const SpectrumPoints &standardRaw, Analyzed2DRes &map,
             EdgeShiftStats &stats) const;

private:
    struct I1Frame
    {
        const TiffData *frame;
        double energy;
        int a; // the I0 frames whose line gives I0 at the energy; a < 0: none
        int b;
    };
    SpectrumSource src;
    QVector<I1Frame> i1Frames;
    QVector<const TiffData *> i0Frames;
    QVector<double> i0Energies;
    QVector<int> i0Used;
    const TiffData *darkFrame;
    bool fluo;
};

// "NES": smooths the energy-shift map by replacing every bin more than 40 eV
// from the mean of the others by the mean of its neighbours within that
// limit, makes that the map's values and regenerates its picture.
void normalizeEnergyShift(Analyzed2DRes &map);

// "de Glitch" on a result map: deglitch conditions (factor, ratio), the
// processed values shown, the spike filter run.
void deglitchResultMap(Analyzed2DRes &map, double factor, double ratio);
