#include "alignment/EdgeImage.h"

#include "input/TiffData.h"

#include <QDebug>

#include <algorithm>
#include <cmath>
#include <new>

namespace {

// Row y of the frame as the shift shows it, as doubles, into line[1 .. w];
// line[0], line[w + 1] and every pixel that the shift brings in from
// outside stay 0.
template <typename T>
void shiftedRow(const TiffData &f, int y, double *line)
{
    const int w = f.width();
    std::fill(line, line + w + 2, 0.0);
    const qint64 r = qint64(y) - f.shiftY;
    if (r < 0 || r >= f.height())
        return;
    const T *src = f.row<T>(int(r));
    // Pixel x shows the sample of column x - shiftX.
    const qint64 from = std::max<qint64>(0, f.shiftX);
    const qint64 to = std::min<qint64>(w, qint64(w) + f.shiftX);
    for (qint64 x = from; x < to; ++x)
        line[x + 1] = double(src[x - f.shiftX]);
}

using RowReader = void (*)(const TiffData &, int, double *);

RowReader readerOf(const TiffData &f)
{
    switch (f.pixelType()) {
    case TiffData::UShortRows:
        return shiftedRow<quint16>;
    case TiffData::UIntRows:
        return shiftedRow<quint32>;
    case TiffData::FloatRows:
        return shiftedRow<float>;
    default:
        return nullptr;
    }
}

} // namespace

EdgeImage EdgeImage::of(const TiffData &frame)
{
    EdgeImage e;
    const RowReader read = readerOf(frame);
    const int w = frame.width();
    const int h = frame.height();
    if (!read || w < 1 || h < 1) {
        qDebug().noquote() << "No frame for an edge image";
        return e;
    }
    // Three rows of the frame with a zero pixel at either end: above, at
    // and below the row being worked on.
    std::unique_ptr<double[]> lines(new (std::nothrow) double[3 * (qint64(w) + 2)]);
    e.data.reset(new (std::nothrow) double[qint64(w) * h]);
    if (!lines || !e.data) {
        qDebug().noquote() << "No memory for an edge image of" << w << "x" << h;
        e.data.reset();
        return e;
    }
    e.w = w;
    e.h = h;
    double *up = lines.get();
    double *mid = up + w + 2;
    double *down = mid + w + 2;
    std::fill(up, up + w + 2, 0.0);
    read(frame, 0, mid);
    double lo = e.lo;
    double hi = e.hi;
    for (int y = 0; y < h; ++y) {
        if (y + 1 < h)
            read(frame, y + 1, down);
        else
            std::fill(down, down + w + 2, 0.0);
        double *out = e.data.get() + qint64(y) * w;
        // Pixel x of a row sits at index x + 1.
        for (int x = 0; x < w; ++x) {
            const double d1 = down[x + 2] - up[x];
            const double d2 = mid[x + 2] - mid[x];
            const double d3 = up[x + 2] - down[x];
            const double d4 = down[x + 1] - up[x + 1];
            const double gx = d2 + d1 + d3;
            const double gy = d4 + d1 - d3;
            const double v = std::max(std::abs(gx), std::abs(gy));
            out[x] = v;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        std::swap(up, mid);
        std::swap(mid, down);
    }
    e.lo = lo;
    e.hi = hi;
    return e;
}

double binThresholdAt(double minEdge, double maxEdge, int position)
{
    return minEdge + (maxEdge - minEdge) * position / 1000;
}

int binSliderPosition(double minEdge, double maxEdge, double threshold)
{
    const double range = maxEdge - minEdge;
    if (!(range != 0.0))
        return 0;
    const double p = (threshold - minEdge) / range * 1000;
    if (std::isnan(p))
        return 0;
    return int(std::clamp(std::trunc(p), 0.0, double(binSliderMax)));
}
