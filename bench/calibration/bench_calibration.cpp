// The energy calibration over a whole image: one-pixel bins of 100 I1 and
// 100 I0 frames, the edge of each pixel a little shifted; then its map
// written to an ".emp" file and read back.
//   bench_calibration [side (1024)] [frames (100)]

#include "analysis/AnalyzeCond.h"
#include "analysis/Analyzed2DRes.h"
#include "calibration/EdgeShiftCalib.h"
#include "calibration/EmpFile.h"
#include "input/TiffData.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

// Wall time in ms.
static double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Processor time of this thread in ms: on a machine shared with other work
// it counts the calibration's own cost.
static double threadMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

static void quiet(QtMsgType, const QMessageLogContext &, const QString &)
{
}

int main(int argc, char *argv[])
{
    const int side = argc > 1 ? std::max(16, atoi(argv[1])) : 1024;
    const int frames = argc > 2 ? std::max(4, atoi(argv[2])) : 100;
    const double e0 = 7112.0;
    const double step = 2.0;
    QVector<TiffData *> i1;
    QVector<TiffData *> i0;
    std::vector<quint16> samples(size_t(side) * side);
    for (int k = 0; k < frames; ++k) {
        const double e = e0 - frames + step * k;
        // I1 falls by a factor e across an edge 4 eV wide, whose place
        // moves by up to 3 eV over the image.
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                const double edge = e0 + 3.0 * std::sin(x * 0.01) * std::cos(y * 0.013);
                const double mu = 0.3 + 1.0 / (1.0 + std::exp(-(e - edge) / 1.0));
                samples[size_t(y) * side + x] = quint16(40000.0 * std::exp(-mu));
            }
        }
        TiffData *f = TiffData::fromSamples(side, side, samples.data());
        std::fill(samples.begin(), samples.end(), quint16(50000));
        TiffData *g = TiffData::fromSamples(side, side, samples.data());
        if (!f || !g) {
            std::fprintf(stderr, "no memory for the frames\n");
            return 1;
        }
        f->energy = e;
        g->energy = e + 0.5;
        i1.append(f);
        i0.append(g);
    }
    qInstallMessageHandler(quiet);
    EdgeShiftCalib calib(i1, i0, nullptr, side, side, false);
    AnalyzeCond walk;
    walk.setup(side, side, 0, 0, 0, 0, side, side);
    Analyzed2DRes map;
    SpectrumPoints standard;
    for (int k = 0; k < frames; ++k) {
        const double e = e0 - frames + step * k;
        standard.append(e, 0.3 + 1.0 / (1.0 + std::exp(-(e - e0))));
    }
    double best = 1e300;
    double bestCpu = 1e300;
    EdgeShiftStats stats;
    for (int round = 0; round < 3; ++round) {
        const double t = nowMs();
        const double c = threadMs();
        if (!calib.run(walk, standard, map, stats)) {
            std::fprintf(stderr, "calibration failed\n");
            return 1;
        }
        best = std::min(best, nowMs() - t);
        bestCpu = std::min(bestCpu, threadMs() - c);
    }
    const double bins = double(walk.bins());
    std::printf("calibration of %d x %d one-pixel bins, %d + %d frames: %.0f ms, %.0f K bins/s"
                " (processor time %.0f ms, %.0f K bins/s)\n",
                side, side, frames, frames, best, bins / best, bestCpu, bins / bestCpu);
    std::printf("shifts: min %.3f max %.3f mean %.4f sigma %.4f eV\n", stats.min, stats.max,
                stats.mean, stats.sigma);

    // The map of the calibration through its file and back.
    QTemporaryDir dir;
    EMPSaveInfo info{e0, 3.1355316, walk, QStringLiteral("std.dat")};
    const QString name = dir.filePath(QStringLiteral("bench.emp"));
    double t = nowMs();
    const bool written = writeEmpFile(name, map, info);
    const double writeMs = nowMs() - t;
    EMPLoadTarget target{0.0, side, side};
    EMPHeader header;
    Analyzed2DRes back;
    t = nowMs();
    const bool read = written && readEmpFile(name, target, back, header);
    const double readMs = nowMs() - t;
    if (!read) {
        std::fprintf(stderr, "map file failed\n");
        return 1;
    }
    std::printf("map file of %d x %d: written in %.0f ms, %.1f MB, read in %.0f ms\n", side, side,
                writeMs, QFileInfo(name).size() / 1e6, readMs);
    qDeleteAll(i1);
    qDeleteAll(i0);
    return 0;
}
