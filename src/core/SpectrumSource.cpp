#include "core/SpectrumSource.h"

#include "input/TiffData.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// TiffData::windowSum's half size as far as it can matter: |half| limited to
// the frame's extent plus the distance of the centre from it.
qint64 clampHalf(int half, qint64 centre, int extent)
{
    const qint64 reach = qint64(extent) + (centre < 0 ? -centre : centre);
    const qint64 a = half < 0 ? -qint64(half) : qint64(half);
    return a < reach ? a : reach;
}

// A window sum as a double. Integer sums stay far below 2^63, so going
// through the signed type (one instruction) gives the same double.
inline double sumToDouble(quint64 v)
{
    return double(qint64(v));
}
inline double sumToDouble(double v)
{
    return v;
}

// The window sums of frame rows r0 .. r1 over the columns from[b] .. to[b]
// of each bin (none when from[b] > to[b]), summed as TiffData::windowSum sums
// them: row by row in the accumulator type, columns left to right.
template <typename T, typename Acc>
void sumWindows(const TiffData &f, int r0, int r1, const int *from, const int *to, int count,
                bool onePixel, double *out)
{
    if (onePixel) {
        const T *p = f.row<T>(r0);
        for (int b = 0; b < count; ++b) {
            if (from[b] > to[b]) {
                out[b] = 0.0;
                continue;
            }
            Acc s = 0;
            s += p[from[b]];
            Acc total = 0;
            total += s;
            out[b] = sumToDouble(total);
        }
        return;
    }
    QVarLengthArray<const T *, 64> rows(r1 - r0 + 1);
    for (int r = r0; r <= r1; ++r)
        rows[r - r0] = f.row<T>(r);
    for (int b = 0; b < count; ++b) {
        if (from[b] > to[b]) {
            out[b] = 0.0;
            continue;
        }
        const int n = to[b] - from[b] + 1;
        Acc total = 0;
        for (int r = 0; r <= r1 - r0; ++r) {
            const T *p = rows[r] + from[b];
            // The usual bins of 3 and 5 pixels across summed without a loop.
            Acc s = 0;
            if (n == 3) {
                s += p[0];
                s += p[1];
                s += p[2];
            } else if (n == 5) {
                s += p[0];
                s += p[1];
                s += p[2];
                s += p[3];
                s += p[4];
            } else {
                for (int i = 0; i < n; ++i)
                    s += p[i];
            }
            total += s;
        }
        out[b] = sumToDouble(total);
    }
}

// The columns of the windows of a row in one frame: they depend on the
// frame's width and column shift only, so frames that share them share the
// columns.
struct RowColumns
{
    bool known = false;
    int cols = 0;
    int shiftX = 0;
    // Every window one pixel wide; every bin inside the frame with its
    // column first + b * step.
    bool onePixel = false;
    bool evenlySpaced = false;
    int first = 0;
};

// TiffData::windowSum of frame f for the windows centred at (x0 + b * step,
// y), b < count, to the bit. from and to are working rows of count entries,
// described by columns and kept from one frame to the next.
void rowWindowSums(const TiffData &f, qint64 x0, int step, int count, int y, int hw, int hh,
                   double *out, int *from, int *to, RowColumns &columns)
{
    const int cols = f.width();
    const int lines = f.height();
    int type = 0;
    if (cols > 0 && lines > 0)
        type = f.row<quint16>(0) ? 1 : f.row<quint32>(0) ? 2 : f.row<float>(0) ? 3 : 0;
    const qint64 cy = qint64(y) - f.shiftY;
    const qint64 ah = type ? clampHalf(hh, cy, lines) : 0;
    const qint64 r0 = std::max<qint64>(cy - ah, 0);
    const qint64 r1 = std::min<qint64>(cy + ah, qint64(lines) - 1);
    if (!type || r0 > r1) {
        std::fill(out, out + count, 0.0);
        return;
    }
    if (!columns.known || columns.cols != cols || columns.shiftX != f.shiftX) {
        columns.known = true;
        columns.cols = cols;
        columns.shiftX = f.shiftX;
        columns.onePixel = true;
        columns.evenlySpaced = true;
        for (int b = 0; b < count; ++b) {
            const qint64 cx = x0 + qint64(b) * step - f.shiftX;
            const qint64 aw = clampHalf(hw, cx, cols);
            const qint64 c0 = std::max<qint64>(cx - aw, 0);
            const qint64 c1 = std::min<qint64>(cx + aw, qint64(cols) - 1);
            if (c0 > c1) {
                from[b] = 1;
                to[b] = 0;
                columns.evenlySpaced = false;
                continue;
            }
            from[b] = int(c0);
            to[b] = int(c1);
            columns.onePixel = columns.onePixel && c0 == c1;
            columns.evenlySpaced =
                columns.evenlySpaced && c0 == c1 && c0 == qint64(from[0]) + qint64(b) * step;
        }
        columns.evenlySpaced = columns.evenlySpaced && columns.onePixel;
        columns.first = from[0];
    }
    const bool onePixel = r0 == r1 && columns.onePixel;
    if (onePixel && columns.evenlySpaced && type == 1) {
        // The common case of one-pixel bins side by side in 16-bit frames.
        const quint16 *p = f.row<quint16>(int(r0)) + columns.first;
        for (int b = 0; b < count; ++b)
            out[b] = double(int(p[qint64(b) * step]));
        return;
    }
    switch (type) {
    case 1:
        sumWindows<quint16, quint64>(f, int(r0), int(r1), from, to, count, onePixel, out);
        break;
    case 2:
        sumWindows<quint32, quint64>(f, int(r0), int(r1), from, to, count, onePixel, out);
        break;
    default:
        sumWindows<float, double>(f, int(r0), int(r1), from, to, count, onePixel, out);
        break;
    }
}

} // namespace

SpectrumSource::SpectrumSource(const QVector<TiffData *> &i1, const QVector<TiffData *> &i0,
                               const TiffData *dark, int dataWidth, int dataHeight,
                               bool fluorescence)
    : darkFrame(dark)
    , width(dataWidth)
    , height(dataHeight)
    , fluo(fluorescence)
{
    i0Frames.reserve(i0.size());
    i0Energies.reserve(i0.size());
    for (const TiffData *f : i0) {
        i0Frames.append(f);
        i0Energies.append(f->energy);
    }
    // The bracket of a frame depends on energies alone, so it is found once
    // here and not again for every window.
    QVector<bool> used(i0.size(), false);
    i1Frames.reserve(i1.size());
    for (const TiffData *f : i1) {
        I1Frame e{f, f->energy, -1, -1};
        if (i0Bracket(i0Energies, e.energy, e.a, e.b))
            used[e.a] = used[e.b] = true;
        i1Frames.append(e);
    }
    for (int k = 0; k < used.size(); ++k) {
        if (used[k])
            i0Used.append(k);
    }
}

bool SpectrumSource::i0Bracket(const QVector<double> &energies, double e, int &a, int &b)
{
    const int n = energies.size();
    if (n == 0)
        return false;
    if (n == 1) {
        a = b = 0;
    } else if (e < energies[0]) {
        a = 0;
        b = 1;
    } else if (e >= energies[n - 1]) {
        a = n - 2;
        b = n - 1;
    } else {
        int lo = 0;
        int hi = n - 1;
        while (lo + 1 < hi) {
            const int mid = (lo + hi) / 2;
            if (e >= energies[mid])
                lo = mid;
            else
                hi = mid;
        }
        a = lo;
        b = hi;
    }
    return true;
}

double SpectrumSource::i0Line(double e, double ea, double sa, double eb, double sb)
{
    if (eb == ea)
        return (sa + sb) / 2;
    return sa + (sb - sa) / (eb - ea) * (e - ea);
}

SpectrumSource::Points SpectrumSource::points(int x, int y, int hw, int hh) const
{
    Points p;
    fill(x, y, hw, hh, p.absorption, &p.rawI1);
    return p;
}

SpectrumPoints SpectrumSource::absorption(int x, int y, int hw, int hh) const
{
    SpectrumPoints p;
    fill(x, y, hw, hh, p, nullptr);
    return p;
}

void SpectrumSource::fill(int x, int y, int hw, int hh, SpectrumPoints &mu,
                          SpectrumPoints *raw) const
{
    if (!contains(x, y))
        return;
    const double d = darkFrame ? darkFrame->windowSum(x, y, hw, hh) : 0.0;
    // Each I0 frame that brackets some I1 energy is read once per window.
    QVarLengthArray<double, 256> sums(i0Frames.size());
    for (int k : i0Used)
        sums[k] = i0Frames[k]->windowSum(x, y, hw, hh);
    mu.reserve(i1Frames.size());
    if (raw)
        raw->reserve(i1Frames.size());
    for (const I1Frame &f : i1Frames) {
        const double s = f.frame->windowSum(x, y, hw, hh);
        // With a single I0 frame a == b and the line gives that frame's sum.
        const double i0 =
            f.a < 0 ? 1.0
                    : i0Line(f.energy, i0Energies[f.a], sums[f.a], i0Energies[f.b], sums[f.b]);
        const double a = s - d;
        const double b = i0 - d;
        double value;
        if (fluo)
            // A window without incident intensity has no defined ratio; it
            // gets the same neutral 1.0 as an unusable transmission point
            // rather than an infinity that would wreck the spectrum's bounds.
            value = b != 0.0 ? a / b : 1.0;
        else
            value = a * b > 0 ? std::log(b / a) : 1.0;
        mu.append(f.energy, value);
        if (raw)
            raw->append(f.energy, s);
    }
}

SpectrumSource::Spectrum SpectrumSource::spectrum(int x, int y, int hw, int hh, double energyShift,
                                                  bool isVictoreen) const
{
    Points p = points(x, y, hw, hh);
    // The spectrum normalizes itself as it is built; its readers (the
    // spectrum window, the analyzer) take it as it is.
    return Spectrum{XafsSpectrum(p.absorption, isVictoreen, energyShift), std::move(p.rawI1)};
}

QVector<double> SpectrumSource::energies() const
{
    QVector<double> e;
    e.reserve(i1Frames.size());
    for (const I1Frame &f : i1Frames)
        e.append(f.energy);
    return e;
}

void SpectrumSource::absorptionRow(int x0, int step, int count, int y, int hw, int hh, double *mu,
                                   quint8 *inside, RowBuffers &buffers) const
{
    if (count < 1)
        return;
    bool any = false;
    for (int b = 0; b < count; ++b) {
        const qint64 x = qint64(x0) + qint64(b) * step;
        inside[b] = x >= 0 && x < width && y >= 0 && y < height;
        any = any || inside[b];
    }
    if (!any)
        return;
    const size_t c = size_t(count);
    buffers.from.resize(c);
    buffers.to.resize(c);
    buffers.i1Sums.resize(c);
    buffers.i0Row.resize(c);
    buffers.aRow.resize(c);
    buffers.bRow.resize(c);
    buffers.quotients.resize(c);
    buffers.darkSums.assign(c, 0.0);
    buffers.i0Sums.resize(c * size_t(i0Used.size()));
    int *from = buffers.from.data();
    int *to = buffers.to.data();
    double *d = buffers.darkSums.data();
    RowColumns columns;
    if (darkFrame)
        rowWindowSums(*darkFrame, x0, step, count, y, hw, hh, d, from, to, columns);
    // Each I0 frame that brackets some I1 energy is read once per row.
    QVarLengthArray<int, 256> slot(i0Frames.size());
    for (int u = 0; u < i0Used.size(); ++u) {
        slot[i0Used[u]] = u;
        rowWindowSums(*i0Frames[i0Used[u]], x0, step, count, y, hw, hh,
                      buffers.i0Sums.data() + size_t(u) * c, from, to, columns);
    }
    const int n = i1Frames.size();
    double *s = buffers.i1Sums.data();
    for (int k = 0; k < n; ++k) {
        const I1Frame &f = i1Frames[k];
        rowWindowSums(*f.frame, x0, step, count, y, hw, hh, s, from, to, columns);
        const double *sa = f.a < 0 ? nullptr : buffers.i0Sums.data() + size_t(slot[f.a]) * c;
        const double *sb = f.a < 0 ? nullptr : buffers.i0Sums.data() + size_t(slot[f.b]) * c;
        const double ea = f.a < 0 ? 0.0 : i0Energies[f.a];
        const double eb = f.a < 0 ? 0.0 : i0Energies[f.b];
        // The arithmetic of fill(), a frame at a time: I0 on the line
        // through the bracketing frames (i0Line), both less the dark, then
        // the quotient, two at a time, and the logarithm.
        double *i0 = buffers.i0Row.data();
        double *a = buffers.aRow.data();
        double *bb = buffers.bRow.data();
        double *q = buffers.quotients.data();
        if (f.a < 0) {
            std::fill(i0, i0 + count, 1.0);
        } else if (eb == ea) {
            for (int b = 0; b < count; ++b)
                i0[b] = (sa[b] + sb[b]) / 2;
        } else {
            std::fill(q, q + count, eb - ea);
            for (int b = 0; b < count; ++b)
                a[b] = sb[b] - sa[b];
            divideEach(a, q, i0, count);
            const double de = f.energy - ea;
            for (int b = 0; b < count; ++b)
                i0[b] = sa[b] + i0[b] * de;
        }
        for (int b = 0; b < count; ++b) {
            a[b] = s[b] - d[b];
            bb[b] = i0[b] - d[b];
        }
        double *out = mu + k;
        if (fluo) {
            divideEach(a, bb, q, count);
            for (int b = 0; b < count; ++b)
                if (inside[b])
                    out[size_t(b) * size_t(n)] = bb[b] != 0.0 ? q[b] : 1.0;
        } else {
            divideEach(bb, a, q, count);
            for (int b = 0; b < count; ++b)
                if (inside[b])
                    out[size_t(b) * size_t(n)] = a[b] * bb[b] > 0 ? std::log(q[b]) : 1.0;
        }
    }
}

SpectrumPoints SpectrumSource::rawI1(int x, int y, int hw, int hh) const
{
    SpectrumPoints points;
    if (!contains(x, y))
        return points;
    points.reserve(i1Frames.size());
    for (const I1Frame &f : i1Frames)
        points.append(f.energy, f.frame->windowSum(x, y, hw, hh));
    return points;
}

double SpectrumSource::i0At(double e, int x, int y, int hw, int hh) const
{
    int a = 0;
    int b = 0;
    if (!i0Bracket(i0Energies, e, a, b))
        return 1.0;
    const double sa = i0Frames[a]->windowSum(x, y, hw, hh);
    const double sb = b == a ? sa : i0Frames[b]->windowSum(x, y, hw, hh);
    return i0Line(e, i0Energies[a], sa, i0Energies[b], sb);
}
