// The absorption spectrum at a position with a 21 x 21 window over 100 I1 and
// 100 I0 frames of 1024 x 1024, as the mouse and every per-bin analysis ask
// for it.
#include "core/ImageStacks.h"
#include "input/TiffData.h"

#include <QElapsedTimer>
#include <QRandomGenerator>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

static TiffData *benchFrame(int size, double energy, quint16 level)
{
    auto *f = new TiffData;
    f->width = size;
    f->height = size;
    f->energy = energy;
    f->pixelType = TiffData::UShortRows;
    QRandomGenerator rng(quint32(energy));
    for (int y = 0; y < size; ++y) {
        auto *row = new quint16[size];
        for (int x = 0; x < size; ++x)
            row[x] = quint16(level + rng.bounded(64));
        f->rows.append(row);
    }
    f->minimum = level;
    f->maximum = level + 63;
    return f;
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

    const int runs = 2000;
    std::vector<double> us;
    us.reserve(runs);
    QRandomGenerator rng(7);
    double sink = 0;
    for (int i = 0; i < runs; ++i) {
        const int x = rng.bounded(size);
        const int y = rng.bounded(size);
        QElapsedTimer t;
        t.start();
        const SpectrumPoints p = stacks.absorption(x, y, 10, 10);
        us.push_back(t.nsecsElapsed() / 1000.0);
        sink += p.y(p.size() - 1);
    }
    std::sort(us.begin(), us.end());
    double mean = 0;
    for (double v : us)
        mean += v;
    mean /= us.size();
    std::printf("absorption spectrum, 21 x 21 window, %d I1 + %d I0 frames of %d x %d\n", frames,
                frames, size, size);
    std::printf("  mean %.1f us, median %.1f us, 99th percentile %.1f us, max %.1f us (%d runs)\n",
                mean, us[us.size() / 2], us[us.size() * 99 / 100], us.back(), runs);
    std::printf("  (checksum %g)\n", sink);
    return 0;
}
