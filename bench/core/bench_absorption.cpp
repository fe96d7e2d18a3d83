// The absorption spectrum and raw I1 trace at a position with a 21 x 21
// window over 100 I1 and 100 I0 frames of 1024 x 1024, as the mouse and every
// per-bin analysis ask for them.
#include "core/ImageStacks.h"
#include "core/SpectrumSource.h"
#include "input/TiffData.h"

#include <QElapsedTimer>
#include <QPoint>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

static TiffData *benchFrame(int size, double energy, quint16 level)
{
    QRandomGenerator rng{quint32(energy)};
    std::vector<quint16> samples(size_t(size) * size);
    for (quint16 &v : samples)
        v = quint16(level + rng.bounded(64));
    TiffData *f = TiffData::fromSamples(size, size, samples.data());
    if (!f) {
        std::fprintf(stderr, "no memory for a %d x %d frame\n", size, size);
        std::exit(1);
    }
    f->energy = energy;
    return f;
}

struct Figures
{
    double wallMedian, wallMean, cpuMedian, cpuMean, wall99;
};

static double threadCpuUs()
{
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e6 + t.tv_nsec / 1e3;
}

// The spectrum as every per-bin analysis takes it: one snapshot of the
// stacks, then the absorption points and the raw trace of each window.
template <typename Pos>
static Figures measure(const SpectrumSource &source, int runs, Pos pos)
{
    std::vector<double> wall, cpu;
    double sink = 0;
    for (int i = 0; i < runs; ++i) {
        const QPoint p = pos(i);
        QElapsedTimer t;
        const double c0 = threadCpuUs();
        t.start();
        const SpectrumPoints s = source.points(p.x(), p.y(), 10, 10).absorption;
        wall.push_back(t.nsecsElapsed() / 1000.0);
        cpu.push_back(threadCpuUs() - c0);
        sink += s.y(s.size() - 1);
    }
    if (sink == 0.123)
        std::printf(" ");
    auto mean = [](const std::vector<double> &v) {
        double m = 0;
        for (double x : v)
            m += x;
        return m / v.size();
    };
    Figures f;
    f.wallMean = mean(wall);
    f.cpuMean = mean(cpu);
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    f.wallMedian = wall[wall.size() / 2];
    f.wall99 = wall[wall.size() * 99 / 100];
    f.cpuMedian = cpu[cpu.size() / 2];
    return f;
}

static void print(const char *what, const Figures &f)
{
    std::printf("  %-17s wall median %7.1f us, mean %7.1f us, 99%% %7.1f us; "
                "CPU median %7.1f us, mean %7.1f us\n",
                what, f.wallMedian, f.wallMean, f.wall99, f.cpuMedian, f.cpuMean);
}

int main()
{
    const int size = 1024;
    const int frames = 100;
    ImageStacks stacks;
    for (int k = 0; k < frames; ++k) {
        const double e = 7000 + 5.0 * k;
        stacks.appendI0(benchFrame(size, e, 3000));
        stacks.appendI1(benchFrame(size, e + 2.5, quint16(k < 50 ? 2000 : 800)));
    }

    // Random positions (every spectrum reads memory no other one touched)
    // and a mouse path (neighbouring pixels, as a moving mouse asks).
    QRandomGenerator rng(7);
    const SpectrumSource source = stacks.source();
    const Figures cold =
        measure(source, 2000, [&](int) { return QPoint(rng.bounded(size), rng.bounded(size)); });
    const Figures path =
        measure(source, 2000, [&](int i) { return QPoint(100 + i % 800, 300 + i / 800); });
    std::printf("absorption spectrum and raw I1 trace, 21 x 21 window, %d I1 + %d I0 frames "
                "of %d x %d\n",
                frames, frames, size, size);
    print("random positions", cold);
    print("mouse path", path);
    return 0;
}
