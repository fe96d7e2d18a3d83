// The spectra of every bin of a 256 x 256 area of one-pixel bins, normalized,
// over 120 I1 and 120 I0 frames: spectra per second, file included. Then the
// number text alone against the text stream it must equal byte for byte.
#include "analysis/AnalyzeCond.h"
#include "core/ExportWriters.h"
#include "core/ImageStacks.h"
#include "core/RealText.h"
#include "input/TiffData.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

#include "../EdgeFrames.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

static const int Size = 256;
static const int Energies = 120;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ImageStacks stacks;
    for (int k = 0; k < Energies; ++k) {
        // Denser points over the edge, as a scan takes them.
        const double e = 6900.0
                         + (k < 40    ? 5.0 * k
                            : k < 100 ? 200 + 0.5 * (k - 40)
                                      : 230 + 12.0 * (k - 100));
        stacks.appendI0(edgeFrame(Size, e, false, quint32(2 * k)));
        stacks.appendI1(edgeFrame(Size, e, true, quint32(2 * k + 1)));
    }
    QTemporaryDir dir;
    EachSpectrumRequest request;
    request.kind = SpectrumKind::NormalizedXafs;
    request.walk.setup(Size, Size, 0, 0, 0, 0, Size, Size);
    request.shiftAt = [](int x, int y) { return 0.01 * ((x + y) % 7); };

    const QString name = dir.filePath("spectra.dat");
    double best = 1e300, bestCpu = 1e300;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer t;
        const double c0 = cpuSeconds();
        t.start();
        if (!saveEachSpectrum(stacks, request, name)) {
            std::fprintf(stderr, "saving failed\n");
            return 1;
        }
        best = std::min(best, t.nsecsElapsed() / 1e9);
        bestCpu = std::min(bestCpu, cpuSeconds() - c0);
    }
    const int bins = request.walk.bins();
    std::printf("spectra of all bins, normalized, %d x %d one-pixel bins of %d energies "
                "(best of 3), file %.1f MB:\n  wall %.2f s, %.1f K spectra per second; "
                "CPU %.2f s, %.1f K spectra per CPU second\n",
                Size, Size, Energies, QFileInfo(name).size() / 1e6, best, bins / best / 1000.0,
                bestCpu, bins / bestCpu / 1000.0);

    request.applyShift = true;
    QElapsedTimer t;
    t.start();
    saveEachSpectrum(stacks, request, name);
    std::printf("  with the shift applied to the energies: %.1f K spectra per second\n",
                bins / (t.nsecsElapsed() / 1e9) / 1000.0);

    // Number text alone, on values spread over many decades.
    QRandomGenerator rng(11);
    std::vector<double> values(1000000);
    for (double &v : values)
        v = (rng.generateDouble() - 0.3) * std::pow(10.0, int(rng.bounded(12)) - 6);
    char buf[RealTextMax];
    size_t sink = 0;
    t.start();
    for (double v : values)
        sink += size_t(writeRealText(buf, v));
    const double ours = t.nsecsElapsed() / double(values.size());
    QString s;
    QTextStream ts(&s);
    t.start();
    for (double v : values)
        ts << v << ' ';
    ts.flush();
    const double theirs = t.nsecsElapsed() / double(values.size());
    std::printf("number text: %.1f ns per number, text stream %.1f ns (%zu bytes)\n", ours, theirs,
                sink);
    return 0;
}
