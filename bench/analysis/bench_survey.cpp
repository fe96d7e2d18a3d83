// The map tools that run in the GUI thread, one-pixel bins throughout:
// the Fourier survey over 128 x 128 bins of 120 frames (and, for scale, one
// frequency of the pass per frequency it replaces, times 120), the residual
// absorption and the sum-up over 256 x 256 bins of 120 energies, and the
// processing of two 256 x 256 maps. Wall and processor time in ms; the debug
// log is silenced while timing.
//   bench_survey [side of the survey (128)] [side of the maps (256)]

#include "analysis/Analyzed2DRes.h"
#include "analysis/FourierSurvey.h"
#include "analysis/MapTools.h"
#include "input/TiffData.h"
#include "spectrum/FourierBuffers.h"

#include <QElapsedTimer>
#include <QVector>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <vector>

using Frames = std::vector<std::unique_ptr<TiffData>>;

static double threadMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static void quiet(QtMsgType, const QMessageLogContext &, const QString &)
{
}

// 120 frames of side x side over an edge at 8000 eV: I1 falls across the edge
// by an amount that changes over the image, with some texture.
static Frames i1Frames(int side)
{
    Frames frames;
    QVector<quint16> s(side * side);
    for (int i = 0; i < 120; ++i) {
        const double e = 7500 + 10 * i;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                const double mu = 0.3 + (e > 8000 ? 0.5 + 0.5 * x / side : 0.0) - 1e-4 * (e - 7500)
                                  + 0.01 * ((x * 7 + y * 13 + i) % 5);
                s[y * side + x] = quint16(20000 * std::exp(-mu));
            }
        frames.emplace_back(TiffData::fromSamples(side, side, s.constData()));
        frames.back()->energy = e;
    }
    return frames;
}

static QVector<TiffData *> raw(const Frames &f)
{
    QVector<TiffData *> v;
    for (const auto &p : f)
        v.append(p.get());
    return v;
}

struct Timer
{
    QElapsedTimer wall;
    double cpu0 = 0;
    Timer()
    {
        cpu0 = threadMs();
        wall.start();
    }
    void print(const char *what, double bins) const
    {
        const double ms = wall.nsecsElapsed() / 1e6;
        std::printf("%-44s %9.1f ms wall %9.1f ms cpu %10.0f bins/s\n", what, ms, threadMs() - cpu0,
                    bins / (ms / 1e3));
    }
};

int main(int argc, char *argv[])
{
    const int survey = argc > 1 ? std::max(1, atoi(argv[1])) : 128;
    const int side = argc > 2 ? std::max(1, atoi(argv[2])) : 256;
    qInstallMessageHandler(quiet);

    {
        const Frames frames = i1Frames(survey);
        AnalyzeCond walk;
        walk.setup(survey, survey, 0, 0, 0, 0, survey, survey);
        FourierBuffers fft;
        FourierSurvey s;
        Timer t;
        s.run(raw(frames), walk, fft);
        t.print("Fourier survey, all 120 frequencies", double(walk.bins()));

        // One frequency of a pass per frequency: walk, window sums and one
        // transform per bin.
        Timer one;
        double saa = 0;
        AnalyzeCond w = walk;
        w.reset();
        QVector<double> p(120);
        do {
            for (int i = 0; i < 120; ++i)
                p[i] = frames[size_t(i)]->windowSum(w.cx, w.cy, 0, 0);
            fft.forward(p.constData());
            saa += fft.magnitudes()[1];
        } while (w.advance());
        const double ms = one.wall.nsecsElapsed() / 1e6;
        std::printf("%-44s %9.1f ms (one frequency %.1f ms, sum %g)\n",
                    "  a pass per frequency, 120 passes", 120 * ms, ms, saa);
    }

    const Frames i1 = i1Frames(side);
    Frames i0;
    {
        QVector<quint16> s(side * side, 20000);
        for (int i = 0; i < 120; ++i) {
            i0.emplace_back(TiffData::fromSamples(side, side, s.constData()));
            i0.back()->energy = 7500 + 10 * i;
        }
    }
    AnalyzeCond walk;
    walk.setup(side, side, 0, 0, 0, 0, side, side);
    const double bins = double(walk.bins());

    Analyzed2DRes dmut, rest, ratio;
    {
        ResidualSetup r;
        r.walk = walk;
        r.source = SpectrumSource(raw(i1), raw(i0), nullptr, side, side, false);
        r.energy = 8200;
        r.shiftAt = [](int x, int) { return 0.01 * x; };
        r.dmut = &dmut;
        r.rest = &rest;
        r.ratio = &ratio;
        Timer t;
        runResidualAbsorption(r);
        t.print("Residual absorption, ratio and pictures", bins);
        std::printf("  dmut at the centre %g, rest %g\n", dmut.value(side / 2, side / 2),
                    rest.value(side / 2, side / 2));
    }
    {
        SumUpRanges ranges;
        ranges.add(0, 50);
        ranges.add(40, 120);
        Analyzed2DRes map;
        Timer t;
        runSumUp(raw(i1), walk, ranges, map);
        t.print("Sum-up, 130 frames per bin, and picture", bins);
    }
    {
        Analyzed2DRes out;
        Timer t;
        processMaps(dmut, rest, walk, MapProcDiv, out);
        t.print("Map processing (Div.), one log line per bin", bins);
    }
    return 0;
}
