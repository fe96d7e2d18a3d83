// The quality survey ("Collect Q Info") of a 256 x 256 area of one-pixel bins
// over 120 I1 and 120 I0 frames, "qinfo.dat" included: wall and CPU time,
// and the part the spectra and their normalization take.
#include "analysis/AnalyzeCond.h"
#include "analysis/QInfo.h"
#include "core/ImageStacks.h"
#include "input/TiffData.h"
#include "spectrum/XafsSpectrum.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "../EdgeFrames.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

static const int Size = 256;
static const int Energies = 120;

// The progress lines are counted, not printed.
static int logLines = 0;
static void countLine(QtMsgType, const QMessageLogContext &, const QString &)
{
    ++logLines;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ImageStacks stacks;
    for (int k = 0; k < Energies; ++k) {
        const double e = 6900.0
                         + (k < 40    ? 5.0 * k
                            : k < 100 ? 200 + 0.5 * (k - 40)
                                      : 230 + 12.0 * (k - 100));
        stacks.appendI0(edgeFrame(Size, e, false, quint32(2 * k)));
        stacks.appendI1(edgeFrame(Size, e, true, quint32(2 * k + 1)));
    }
    const SpectrumSource source = stacks.source();
    AnalyzeCond walk;
    walk.setup(Size, Size, 0, 0, 0, 0, Size, Size);
    QInfoRequest request;
    request.walk = &walk;
    request.shiftAt = [](int x, int y) { return 0.01 * ((x + y) % 7); };
    QTemporaryDir dir;
    const QString name = dir.filePath("qinfo.dat");
    qInstallMessageHandler(countLine);

    double best = 1e300, bestCpu = 1e300;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        const double c0 = cpuSeconds();
        t.start();
        if (!writeQInfo(name, collectQInfo(source, request))) {
            std::fprintf(stderr, "writing failed\n");
            return 1;
        }
        best = std::min(best, t.nsecsElapsed() / 1e9);
        bestCpu = std::min(bestCpu, cpuSeconds() - c0);
    }
    // The spectra alone: window sums, absorption and normalization.
    QElapsedTimer t;
    t.start();
    double sink = 0;
    walk.reset();
    do
        sink += XafsSpectrum(source.absorption(walk.cx, walk.cy, 0, 0), false, 0.0).maxE();
    while (walk.advance());
    const double spectra = t.nsecsElapsed() / 1e9;
    const qint64 bins = walk.bins();
    std::printf("quality survey, %d x %d one-pixel bins of %d energies, qinfo.dat included "
                "(best of 3):\n  wall %.2f s, %.1f K bins per second; CPU %.2f s\n"
                "  the spectra and their normalization alone: %.2f s (%.0f %%)\n",
                Size, Size, Energies, best, bins / best / 1000.0, bestCpu, spectra,
                100 * spectra / best);
    return sink == sink && logLines > 0 ? 0 : 1;
}
