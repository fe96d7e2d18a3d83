// Picturing a result map: genImg of a filled map through a colour bar whose
// handles are not at their ends, and what a map costs in memory.
//   bench_maps [side (2048)] [rounds (30)]

#include "analysis/Analyzed2DRes.h"
#include "input/GreyScale.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

// Processor time of this thread in ms: on a machine shared with other work
// it counts the picture's own cost, whatever else runs.
static double threadMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Resident memory of the process in bytes (0 where /proc is missing).
static qint64 residentBytes()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * 4096 : 0;
}

int main(int argc, char *argv[])
{
    const int side = argc > 1 ? std::max(16, atoi(argv[1])) : 2048;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 30;

    // One value per pixel (bins of one pixel: no two neighbours alike), then
    // one per 3 x 3 bin, as a run writes them.
    for (int half = 0; half <= 1; ++half) {
        const qint64 before = residentBytes();
        Analyzed2DRes map;
        AnalyzeCond walk;
        walk.setup(side, side, half, half, 0, 0, side, side);
        if (!map.prepare(walk)) {
            std::fprintf(stderr, "no memory for a map of %d x %d\n", side, side);
            return 1;
        }
        do {
            map.setData(walk.cx, walk.cy, walk.hx, walk.hy,
                        std::sin(walk.cx * 0.01) * walk.cy + walk.cx * 1e-3);
        } while (walk.advance());
        GreyScale bar;
        bar.lower = 0.1;
        bar.upper = 0.9;
        map.setColorBar(&bar);

        std::vector<double> ms, cpu;
        for (int i = 0; i < rounds; ++i) {
            QElapsedTimer t;
            const double c = threadMs();
            t.start();
            map.genImg();
            ms.push_back(t.nsecsElapsed() / 1e6);
            cpu.push_back(threadMs() - c);
        }
        const qint64 after = residentBytes();
        std::sort(ms.begin(), ms.end());
        std::sort(cpu.begin(), cpu.end());
        const double grids = 2.0 * 8.0 * side * side;
        const double picture = double(map.img().bytesPerLine()) * side;
        std::printf("genImg %d x %d, bins of %d x %d: median %.2f ms, best %.2f ms, worst %.2f ms "
                    "(%d rounds); processor time median %.2f ms\n",
                    side, side, 2 * half + 1, 2 * half + 1, ms[ms.size() / 2], ms.front(),
                    ms.back(), rounds, cpu[cpu.size() / 2]);
        std::printf("  memory: %.1f MB resident for the map; grids %.1f MB + picture %.1f MB = "
                    "%.1f MB\n",
                    (after - before) / 1e6, grids / 1e6, picture / 1e6, (grids + picture) / 1e6);
    }
    return 0;
}
