#pragma once

#include "spectrum/SpectrumPoints.h"
#include "spectrum/XafsSpectrum.h"

#include <QVector>

#include <vector>

class TiffData;

// The spectrum of a window of pixels, as the mouse, the 2D runs, the
// calibration and the exports take it: for every I1 frame, in stack order,
// the point (energy, absorption) and the raw I1 window sum, from one pass over
// the I1 frames.
//
// A source is a snapshot of the stacks: the frame lists, the dark frame, the
// data size and the fluorescence mode at the time it was made, with the I0
// frames that bracket each I1 energy looked up once. It reads no window and
// no setting afterwards, so it is cheap to call for every bin and may be used
// from a worker thread. The frames are not owned: they must outlive the source
// and keep their samples, energies and shifts while it is in use.
class SpectrumSource
{
public:
    // The absorption points and the raw I1 trace of one window.
    struct Points
    {
        SpectrumPoints absorption;
        SpectrumPoints rawI1;
    };
    // The spectrum built from the absorption points (normalized, with its
    // energy shift) and the raw I1 trace of the same window.
    struct Spectrum
    {
        XafsSpectrum spectrum;
        SpectrumPoints rawI1;
    };

    // No frames: every spectrum is empty.
    SpectrumSource() = default;
    SpectrumSource(const QVector<TiffData *> &i1, const QVector<TiffData *> &i0,
                   const TiffData *dark, int dataWidth, int dataHeight, bool fluorescence);

    // Number of I1 frames, so of points in every spectrum inside the data.
    int i1Count() const { return i1Frames.size(); }
    // The energies of the I1 frames in stack order: the x values of every
    // spectrum inside the data.
    QVector<double> energies() const;

    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

    // One point per I1 frame for the window (x, y, hw, hh): absorption
    // (energy, ln(b / a)) or, in fluorescence mode, (energy, a / b), where a
    // is the I1 window sum and b the I0 interpolated at the frame's energy,
    // each less the dark window sum; and the raw trace (energy, I1 window
    // sum) without dark and I0. Both empty outside the data.
    Points points(int x, int y, int hw, int hh) const;
    // Only the absorption points, for callers that need no raw trace.
    SpectrumPoints absorption(int x, int y, int hw, int hh) const;
    // The same window as an XafsSpectrum with the given energy shift and
    // background form (Victoreen or a line), normalized, and its raw trace.
    Spectrum spectrum(int x, int y, int hw, int hh, double energyShift, bool isVictoreen) const;
    // Working rows of absorptionRow, kept by the caller from row to row.
    struct RowBuffers
    {
        std::vector<double> i0Sums;
        std::vector<double> darkSums;
        std::vector<double> i1Sums;
        std::vector<double> i0Row;
        std::vector<double> aRow;
        std::vector<double> bRow;
        std::vector<double> quotients;
        std::vector<int> from;
        std::vector<int> to;
    };
    // The absorption values of a row of windows, the bins centred at
    // (x0 + b * step, y) for b < count with half sizes (hw, hh): bin b
    // inside the data gets inside[b] = 1 and the i1Count() y values of
    // absorption() at mu[b * i1Count()] onwards, to the bit; a bin outside
    // gets inside[b] = 0 and nothing in mu. The frames are read one after
    // the other for the whole row.
    void absorptionRow(int x0, int step, int count, int y, int hw, int hh, double *mu,
                       quint8 *inside, RowBuffers &buffers) const;
    // Only the raw trace, for callers that need no I0.
    SpectrumPoints rawI1(int x, int y, int hw, int hh) const;

    // I0 at energy e for the window (x, y, hw, hh), interpolated in energy
    // between the window sums of the I0 frames (taken to be in ascending
    // energy) and extrapolated beyond both ends; 1.0 without I0 frames.
    double i0At(double e, int x, int y, int hw, int hh) const;

    // The I0 frames a and b (indices into energies, taken to be ascending)
    // whose line gives I0 at energy e: a == b for a single frame, the two
    // outermost frames beyond either end, else the pair around e found by
    // bisection. False without I0 frames.
    static bool i0Bracket(const QVector<double> &energies, double e, int &a, int &b);
    // The straight line through (ea, sa) and (eb, sb) at e; the mean of the
    // two sums when both frames have the same energy.
    static double i0Line(double e, double ea, double sa, double eb, double sb);

private:
    // The absorption points into mu, and the raw trace into raw when it is
    // not null.
    void fill(int x, int y, int hw, int hh, SpectrumPoints &mu, SpectrumPoints *raw) const;

    // An I1 frame with the two I0 frames whose line gives I0 at its energy
    // (a == b for a single I0 frame, a < 0 without I0 frames).
    struct I1Frame
    {
        const TiffData *frame;
        double energy;
        int a;
        int b;
    };
    QVector<I1Frame> i1Frames;
    QVector<const TiffData *> i0Frames;
    QVector<double> i0Energies;
    // Indices of the I0 frames some I1 frame reads, in ascending order.
    QVector<int> i0Used;
    const TiffData *darkFrame = nullptr;
    int width = 0;
    int height = 0;
    bool fluo = false;
};
