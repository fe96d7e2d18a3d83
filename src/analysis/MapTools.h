#pragma once

#include "analysis/AnalyzeCond.h"
#include "core/SpectrumSource.h"

#include <QString>
#include <QVector>

#include <functional>

class Analyzed2DRes;
class TiffData;
class XafsSpectrum;

// The further map tools of the analyzer: the residual absorption, the sum-up
// over frame ranges, the processing of two maps into a third and the dump of
// a map's values. Plain code that runs to its end in the calling thread (the
// GUI thread, where the maps live); long runs report their rows in the debug
// log. Every tool takes a walk the caller has set up over the selected area;
// a walk over no image (its set-up failed or never ran) or a run without I1
// frames stops the tool before any map is touched, with a log line, and the
// tool returns false.

// The two parts of a spectrum's absorption at raw energy e: dmut, the step
// between the post-edge and the pre-edge backgrounds there, and the rest,
// mu(e) - factor * dmut.
struct ResidualValues
{
    double dmut = 0.0;
    double rest = 0.0;
};
ResidualValues residualAt(const XafsSpectrum &spectrum, double e, double factor);

// One residual absorption run.
struct ResidualSetup
{
    // The walk, already set up over the area.
    AnalyzeCond walk;
    SpectrumSource source;
    // The energy on the calibrated scale and the factor of dmut.
    double energy = 8200.0;
    double factor = 1.0;
    // Background form of the bins' spectra.
    bool isVictoreen = false;
    // The energy shift of the bin centred at (cx, cy); null gives 0. The
    // spectra are read at energy + shift, as every analysed spectrum is.
    std::function<double(int cx, int cy)> shiftAt;
    // "a2d DMut", "a2d Rest" and "a2d Rati".
    Analyzed2DRes *dmut = nullptr;
    Analyzed2DRes *rest = nullptr;
    Analyzed2DRes *ratio = nullptr;
};

// Prepares the three maps for the walk (numbered -1), fills dmut and the rest
// bin by bin in walk order (cy of every new row to the debug log), then makes
// the ratio map and the pictures (residualRatio). False, with the maps
// untouched, without frames, maps or walk; false also when a map cannot be
// prepared.
bool runResidualAbsorption(const ResidualSetup &setup);

// The ratio of the rest to dmut + rest: with m the smallest rest over the
// whole map, every pixel of the rest map gets r / (dmut + r) with r = rest - m
// (dmut 0 outside its map) into the ratio map, not-a-number where both are 0.
// Then the pictures of the three maps are regenerated. False (logged) when
// the rest map has no values.
bool residualRatio(Analyzed2DRes &dmut, Analyzed2DRes &rest, Analyzed2DRes &ratio);

// One sum-up range of I1 frame indices, from inclusive to exclusive; the
// third number is kept for the list's layout and is always 0.
struct SumUpRange
{
    int from = 0;
    int to = 0;
    int unused = 0;

    // As the range list shows it: "from-to".
    QString text() const;
    bool operator==(const SumUpRange &o) const
    {
        return from == o.from && to == o.to && unused == o.unused;
    }
};

// The sum-up ranges in the order added.
class SumUpRanges
{
public:
    void add(int from, int to);
    // Removes range `current` and gives the index that is current afterwards
    // (the one before it, 0 for the first, -1 once the list is empty). An
    // index outside the list (-1: no current item) removes nothing and gives
    // `current` back.
    int remove(int current);
    void clear() { list.clear(); }

    int size() const { return list.size(); }
    bool isEmpty() const { return list.isEmpty(); }
    const SumUpRange &at(int i) const { return list.at(i); }
    const QVector<SumUpRange> &ranges() const { return list; }

    // The I1 frame indices the ranges count, in range order, once for every
    // range that holds them, limited to frames 0 .. frameCount - 1.
    QVector<int> frameIndices(int frameCount) const;

private:
    QVector<SumUpRange> list;
};

// Prepares the map ("Sum Up Img") for the walk and sets every bin to the sum,
// over the ranges, of the window sums of their frames at the bin (cy with the
// map's bounds, or its fixed scale, of every new row to the debug log). Then
// the picture is regenerated and, when pictureFile is not empty, saved there
// as PNG (a failure is logged). False, map untouched, without frames or walk;
// false also when the map cannot be prepared.
bool runSumUp(const QVector<TiffData *> &i1, const AnalyzeCond &walk, const SumUpRanges &ranges,
              Analyzed2DRes &map, const QString &pictureFile = QString());

// How two maps combine: the difference, the quotient (1.0 where Map 2 sums
// to 0) or Map 1 masked by Map 2 (0.0 where Map 2 does not sum above 0).
enum MapProcType { MapProcSub = 0, MapProcDiv = 1, MapProcMask = 2 };

// The sum of a map's values over the bin (cx +- |hx|, cy +- |hy|), pixels
// outside the map counting 0.
double binSum(const Analyzed2DRes &map, int cx, int cy, int hx, int hy);

// Prepares `out` ("Processed Map") for the walk and sets each bin to the
// combination of the bin sums of map1 and map2 (one debug line per bin: cx,
// cy, the value, the map's value at the centre, hx, hy); then regenerates its
// picture. Nothing, silently, unless both maps have pictures; false and a log
// line without walk; false when `out` cannot be prepared. A type other than
// the three counts as MapProcSub.
bool processMaps(const Analyzed2DRes &map1, const Analyzed2DRes &map2, const AnalyzeCond &walk,
                 int type, Analyzed2DRes &out);

// One line of the value dump: "%4d %4d %15.6f %15.6f" of x, y, the value and
// the processed value.
QString analyzedValLine(int x, int y, double value, double processed);
// Writes "vals of" and the map's name, then one line per pixel, row by row,
// to the debug log. A map without grids is skipped with a log line (false).
bool showAnalyzedVals(const Analyzed2DRes &map);
