#include "alignment/BinImage.h"

#include "alignment/EdgeImage.h"

#include <QDebug>

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

namespace {

int popcount(quint64 v)
{
    return __builtin_popcountll(v);
}

// The 64 pixels of a packed row from bit `at` on (past the row's end they
// are 0, thanks to the spare word).
quint64 wordAt(const quint64 *row, qint64 at)
{
    const qint64 i = at >> 6;
    const int s = int(at & 63);
    if (s == 0)
        return row[i];
    return (row[i] >> s) | (row[i + 1] << (64 - s));
}

} // namespace

bool BinImage::allocate(int width, int height)
{
    bits.reset();
    w = h = words = 0;
    count = 0;
    if (width < 1 || height < 1)
        return false;
    const int rowWordCount = (width + 63) / 64 + 1;
    bits.reset(new (std::nothrow) quint64[qint64(rowWordCount) * height]());
    if (!bits) {
        qDebug().noquote() << "No memory for a binary image of" << width << "x" << height;
        return false;
    }
    w = width;
    h = height;
    words = rowWordCount;
    return true;
}

BinImage BinImage::of(const EdgeImage &edges, double threshold)
{
    BinImage b;
    if (edges.isEmpty()) {
        qDebug().noquote() << "No edge image to binarize";
        return b;
    }
    if (!b.allocate(edges.width(), edges.height()))
        return b;
    qint64 n = 0;
    for (int y = 0; y < b.h; ++y) {
        const double *e = edges.row(y);
        quint64 *out = b.bits.get() + qint64(y) * b.words;
        for (int x0 = 0; x0 < b.w; x0 += 64) {
            const int m = std::min(64, b.w - x0);
            quint64 word = 0;
            for (int i = 0; i < m; ++i)
                word |= quint64(threshold < e[x0 + i]) << i;
            out[x0 >> 6] = word;
            n += popcount(word);
        }
    }
    b.count = n;
    return b;
}

BinImage BinImage::ofValues(int width, int height, const double *values)
{
    BinImage b;
    if (!values || !b.allocate(width, height))
        return b;
    for (int y = 0; y < height; ++y) {
        quint64 *out = b.bits.get() + qint64(y) * b.words;
        for (int x = 0; x < width; ++x) {
            if (values[qint64(y) * width + x] != 0.0) {
                out[x >> 6] |= quint64(1) << (x & 63);
                ++b.count;
            }
        }
    }
    return b;
}

BinImage BinImage::copy() const
{
    BinImage b;
    if (isEmpty() || !b.allocate(w, h))
        return b;
    std::copy(bits.get(), bits.get() + qint64(words) * h, b.bits.get());
    b.count = count;
    return b;
}

double BinImage::minimum() const
{
    if (isEmpty())
        return 1.7976931348623157e308;
    return count == qint64(w) * h ? 1.0 : 0.0;
}

double BinImage::maximum() const
{
    if (isEmpty())
        return 2.2250738585072014e-308;
    return count > 0 ? 1.0 : 0.0;
}

double shiftScore(const BinImage &ref, const BinImage &img, qint64 sx, qint64 sy)
{
    if (ref.isEmpty() || img.isEmpty() || ref.width() != img.width()
        || ref.height() != img.height())
        return 0.0;
    const qint64 w = ref.width();
    const qint64 h = ref.height();
    // The reference pixels whose partner in img lies inside it.
    const qint64 x0 = std::max<qint64>(0, sx);
    const qint64 x1 = std::min<qint64>(w, w + sx);
    const qint64 y0 = std::max<qint64>(0, sy);
    const qint64 y1 = std::min<qint64>(h, h + sy);
    if (x0 >= x1 || y0 >= y1)
        return 0.0;
    const qint64 span = x1 - x0;
    const qint64 full = span >> 6;
    const quint64 lastMask = (span & 63) ? (quint64(1) << (span & 63)) - 1 : 0;
    qint64 saa = 0;
    qint64 sbb = 0;
    qint64 sab = 0;
    for (qint64 y = y0; y < y1; ++y) {
        const quint64 *b = ref.rowBits(int(y));
        const quint64 *a = img.rowBits(int(y - sy));
        qint64 bx = x0;
        qint64 ax = x0 - sx;
        for (qint64 k = 0; k < full; ++k, bx += 64, ax += 64) {
            const quint64 wb = wordAt(b, bx);
            const quint64 wa = wordAt(a, ax);
            sbb += popcount(wb);
            saa += popcount(wa);
            sab += popcount(wa & wb);
        }
        if (lastMask) {
            const quint64 wb = wordAt(b, bx) & lastMask;
            const quint64 wa = wordAt(a, ax) & lastMask;
            sbb += popcount(wb);
            saa += popcount(wa);
            sab += popcount(wa & wb);
        }
    }
    // The sums of squares of 0s and 1s, as doubles, are these counts
    // exactly, and so is the score.
    const double p = double(saa) * double(sbb);
    if (!(p > 0.0))
        return 0.0;
    return double(sab) / std::sqrt(p);
}

bool comparable(const BinImage &img, const BinImage &ref)
{
    if (img.isEmpty()) {
        qDebug().noquote() << "no bin image";
        return false;
    }
    if (ref.isEmpty()) {
        qDebug().noquote() << "no ref bin image";
        return false;
    }
    if (img.width() != ref.width() || img.height() != ref.height()) {
        qDebug().noquote() << "size mis-match";
        return false;
    }
    return true;
}

bool autoShift(const BinImage &img, const BinImage &ref, int &sx, int &sy, double &best,
               QVector<ShiftTrial> *trials)
{
    if (!comparable(img, ref))
        return false;
    static const int steps[8][2] = {{1, 1},   {1, 0},  {1, -1}, {0, -1},
                                    {-1, -1}, {-1, 0}, {-1, 1}, {0, 1}};
    constexpr qint64 lowest = std::numeric_limits<int>::min();
    constexpr qint64 highest = std::numeric_limits<int>::max();
    qint64 cx = sx;
    qint64 cy = sy;
    double top = best;
    for (;;) {
        qint64 nx = cx;
        qint64 ny = cy;
        bool moved = false;
        for (const auto &d : steps) {
            const qint64 tx = cx + d[0];
            const qint64 ty = cy + d[1];
            // A shift beyond the int range could not be written back; no
            // shift that far can overlap the image anyway.
            if (tx < lowest || tx > highest || ty < lowest || ty > highest)
                continue;
            const double s = shiftScore(ref, img, tx, ty);
            if (trials)
                trials->append(ShiftTrial{int(tx), int(ty), s});
            if (s > top) {
                top = s;
                nx = tx;
                ny = ty;
                moved = true;
            }
        }
        if (!moved)
            break;
        cx = nx;
        cy = ny;
    }
    sx = int(cx);
    sy = int(cy);
    best = top;
    return true;
}
