#pragma once

#include "analysis/AnalyzeCond.h"

#include <QVector>

class FourierBuffers;
class TiffData;

// The Fourier survey of an area ("Exec F.A."): how the brightness of each bin
// (the window sum of the first I1 frame) goes with each Fourier magnitude of
// the bin's raw I1 trace. For every frequency index k of the N I1 frames it
// sums over the bins, in walk order, v^2, a_k^2 and v * a_k, and reports them
// with the uncentred correlation Sva / sqrt(|Svv * Saa|).
//
// Each bin's trace is transformed once and its N magnitudes go into the N
// sums at once. The sums of one k still take the bins one by one in walk
// order, so they are the very numbers a pass over all bins per k would give.
struct FourierSurvey
{
    // Indexed by k.
    QVector<double> svv;
    QVector<double> saa;
    QVector<double> sva;

    // Sva / sqrt(|Svv * Saa|) of frequency k.
    double correlation(int k) const;

    // Runs the survey over the walk with the given transform buffers (set to
    // length N): "2da FA 1:" with the time, then one line "Res" k Svv Saa
    // Sva correlation per k, to the debug log. False, with a log line and
    // the sums empty, without I1 frames or walk.
    bool run(const QVector<TiffData *> &i1, const AnalyzeCond &walk, FourierBuffers &fft);
};
