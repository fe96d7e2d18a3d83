// Frame alignment on 1024 x 1024 images: the edge image of a 16-bit frame,
// and "Auto Shift" of a binary image against a reference displaced by
// (10, -7), checked trial by trial against the search written out over
// images of doubles.
#include "alignment/BinImage.h"
#include "alignment/EdgeImage.h"
#include "input/TiffData.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

static const int Size = 1024;

// A smooth landscape with hills some 100 pixels across.
static double field(double x, double y)
{
    return std::sin(x / 37.0 + 0.3) + std::sin(y / 53.0 + 1.1) + std::sin((x + y) / 71.0)
           + 0.5 * std::sin((x - 2 * y) / 29.0);
}

static double medianMs(std::vector<double> t)
{
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

// The score written out: over doubles, pixel by pixel.
static double literalScore(const std::vector<double> &b, const std::vector<double> &a, int sx,
                           int sy)
{
    double saa = 0, sbb = 0, sab = 0;
    for (int y = 0; y < Size; ++y) {
        const int ay = y - sy;
        if (ay < 0 || ay >= Size)
            continue;
        for (int x = 0; x < Size; ++x) {
            const int ax = x - sx;
            if (ax < 0 || ax >= Size)
                continue;
            const double bv = b[size_t(y) * Size + x];
            const double av = a[size_t(ay) * Size + ax];
            saa += av * av;
            sbb += bv * bv;
            sab += av * bv;
        }
    }
    return saa * sbb > 0 ? sab / std::sqrt(saa * sbb) : 0.0;
}

static void literalSearch(const std::vector<double> &b, const std::vector<double> &a, int &sx,
                          int &sy, double &best, QVector<ShiftTrial> &trials)
{
    static const int steps[8][2] = {{1, 1},   {1, 0},  {1, -1}, {0, -1},
                                    {-1, -1}, {-1, 0}, {-1, 1}, {0, 1}};
    for (;;) {
        int nx = sx, ny = sy;
        bool moved = false;
        for (const auto &d : steps) {
            const double s = literalScore(b, a, sx + d[0], sy + d[1]);
            trials.append(ShiftTrial{sx + d[0], sy + d[1], s});
            if (s > best) {
                best = s;
                nx = sx + d[0];
                ny = sy + d[1];
                moved = true;
            }
        }
        if (!moved)
            return;
        sx = nx;
        sy = ny;
    }
}

int main()
{
    // Edge detection of a 16-bit frame, unshifted and shifted.
    std::vector<quint16> samples(size_t(Size) * Size);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x)
            samples[size_t(y) * Size + x] = quint16(20000 + 8000 * field(x, y) + (x * 7 + y) % 13);
    std::unique_ptr<TiffData> frame(TiffData::fromSamples(Size, Size, samples.data()));
    if (!frame) {
        std::fprintf(stderr, "no memory for a frame\n");
        return 1;
    }
    for (int shifted = 0; shifted < 2; ++shifted) {
        frame->shiftX = shifted ? 4 : 0;
        frame->shiftY = shifted ? -3 : 0;
        std::vector<double> t;
        double range = 0;
        for (int i = 0; i < 21; ++i) {
            QElapsedTimer timer;
            timer.start();
            const EdgeImage e = EdgeImage::of(*frame);
            t.push_back(timer.nsecsElapsed() / 1e6);
            range = e.maximum() - e.minimum();
        }
        std::printf("edge detection, 1024 x 1024, 16-bit%s: median %.2f ms, best %.2f ms "
                    "(range %g)\n",
                    shifted ? ", shift (4, -3)" : "", medianMs(t),
                    *std::min_element(t.begin(), t.end()), range);
    }

    // Binary images of the landscape above 0.5; the reference shows it
    // displaced by (10, -7).
    std::vector<double> img(size_t(Size) * Size), ref(size_t(Size) * Size);
    for (int y = 0; y < Size; ++y) {
        for (int x = 0; x < Size; ++x) {
            img[size_t(y) * Size + x] = field(x, y) > 0.5 ? 1.0 : 0.0;
            ref[size_t(y) * Size + x] = field(x - 10, y + 7) > 0.5 ? 1.0 : 0.0;
        }
    }
    const BinImage binary = BinImage::ofValues(Size, Size, img.data());
    const BinImage reference = BinImage::ofValues(Size, Size, ref.data());
    const double start = shiftScore(reference, binary, 0, 0);
    std::vector<double> t;
    QVector<ShiftTrial> trials;
    int sx = 0, sy = 0;
    double best = start;
    for (int i = 0; i < 21; ++i) {
        sx = sy = 0;
        best = start;
        trials.clear();
        QElapsedTimer timer;
        timer.start();
        autoShift(binary, reference, sx, sy, best, &trials);
        t.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("auto shift, 1024 x 1024, reference displaced by (10, -7): median %.2f ms, "
                "best %.2f ms; ended at (%d, %d), score %.6f, %d trials\n",
                medianMs(t), *std::min_element(t.begin(), t.end()), sx, sy, best,
                int(trials.size()));

    int lx = 0, ly = 0;
    double lbest = literalScore(ref, img, 0, 0);
    QVector<ShiftTrial> literal;
    QElapsedTimer timer;
    timer.start();
    literalSearch(ref, img, lx, ly, lbest, literal);
    const double literalMs = timer.nsecsElapsed() / 1e6;
    bool same = literal.size() == trials.size() && lx == sx && ly == sy && lbest == best
                && lbest == lbest && literalScore(ref, img, 0, 0) == start;
    for (int i = 0; same && i < trials.size(); ++i)
        same = trials[i].sx == literal[i].sx && trials[i].sy == literal[i].sy
               && trials[i].score == literal[i].score;
    std::printf("search over doubles, pixel by pixel: %.1f ms; every trial and score the same: "
                "%s\n",
                literalMs, same ? "yes" : "NO");
    return same && sx == 10 && sy == -7 ? 0 : 1;
}
