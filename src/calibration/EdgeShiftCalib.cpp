#include "calibration/EdgeShiftCalib.h"

#include "analysis/AnalyzeCond.h"
#include "analysis/Analyzed2DRes.h"
#include "app/DebugLog.h"
#include "input/TiffData.h"
#include "spectrum/SpectrumPoints.h"

#include <QDebug>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <new>

namespace {

// Bins of a row taken together: their points for all frames stay in the
// cache while each bin's edge is looked for.
constexpr int chunkBins = 512;

// A transmission point whose window sums give no logarithm (a * b <= 0) has
// the value 1.0; its ratio slot holds this instead of b / a.
constexpr double noRatio = -1.0;

std::unique_ptr<double[]> grid(qint64 n)
{
    return std::unique_ptr<double[]>(new (std::nothrow) double[size_t(std::max<qint64>(n, 1))]);
}

// Window sums of one frame for the bins centred at (cxs[j], cy), as
// TiffData::windowSum gives them: through the frame's shift, the part
// outside the frame counting 0. The rows of the window are added up per
// column once (into cols), then each bin adds its columns.
template <typename T>
void rowSums(const TiffData &f, const int *cxs, int nb, int cy, qint64 hx, qint64 hy, double *cols,
             double *out)
{
    const qint64 fy = qint64(cy) - f.shiftY;
    const qint64 r0 = std::max<qint64>(fy - hy, 0);
    const qint64 r1 = std::min<qint64>(fy + hy, f.height() - 1);
    const qint64 last = f.width() - 1;
    const auto span = std::minmax_element(cxs, cxs + nb);
    const qint64 lo = std::max<qint64>(qint64(*span.first) - f.shiftX - hx, 0);
    const qint64 hi = std::min<qint64>(qint64(*span.second) - f.shiftX + hx, last);
    if (r0 > r1 || lo > hi) {
        std::fill(out, out + nb, 0.0);
        return;
    }
    if (r0 == r1 && hx == 0) {
        // One-pixel bins: the samples themselves.
        const T *row = f.row<T>(int(r0));
        for (int j = 0; j < nb; ++j) {
            const qint64 c = qint64(cxs[j]) - f.shiftX;
            out[j] = c >= 0 && c <= last ? double(row[c]) : 0.0;
        }
        return;
    }
    const qint64 n = hi - lo + 1;
    std::fill(cols, cols + n, 0.0);
    for (qint64 r = r0; r <= r1; ++r) {
        const T *row = f.row<T>(int(r)) + lo;
        for (qint64 c = 0; c < n; ++c)
            cols[c] += double(row[c]);
    }
    for (int j = 0; j < nb; ++j) {
        const qint64 c = qint64(cxs[j]) - f.shiftX;
        const qint64 c0 = std::max(c - hx, lo);
        const qint64 c1 = std::min(c + hx, hi);
        double s = 0.0;
        for (qint64 k = c0; k <= c1; ++k)
            s += cols[k - lo];
        out[j] = s;
    }
}

void frameRowSums(const TiffData *f, const int *cxs, int nb, int cy, qint64 hx, qint64 hy,
                  double *cols, double *out)
{
    switch (f ? f->pixelType() : TiffData::NoPixels) {
    case TiffData::UShortRows:
        rowSums<quint16>(*f, cxs, nb, cy, hx, hy, cols, out);
        break;
    case TiffData::UIntRows:
        rowSums<quint32>(*f, cxs, nb, cy, hx, hy, cols, out);
        break;
    case TiffData::FloatRows:
        rowSums<float>(*f, cxs, nb, cy, hx, hy, cols, out);
        break;
    default:
        std::fill(out, out + nb, 0.0);
        break;
    }
}

} // namespace

QVector<CalibCrystal> calibCrystals()
{
    return {{QStringLiteral("Si(111)"), 3.1355316},
            {QStringLiteral("Si(311)"), 1.637478},
            {QStringLiteral("Si(333)"), 1.0451772},
            {QStringLiteral("Ge(111)"), 3.2663822},
            {QStringLiteral("Ge(333)"), 1.0887941}};
}

EdgeShiftCalib::EdgeShiftCalib(const QVector<TiffData *> &i1, const QVector<TiffData *> &i0,
                               const TiffData *dark, int dataWidth, int dataHeight,
                               bool fluorescence)
    : src(i1, i0, dark, dataWidth, dataHeight, fluorescence)
    , darkFrame(dark)
    , fluo(fluorescence)
{
    for (const TiffData *f : i0) {
        i0Frames.append(f);
        i0Energies.append(f->energy);
    }
    QVector<bool> used(i0.size(), false);
    for (const TiffData *f : i1) {
        I1Frame e{f, f->energy, -1, -1};
        if (SpectrumSource::i0Bracket(i0Energies, e.energy, e.a, e.b))
            used[e.a] = used[e.b] = true;
        i1Frames.append(e);
    }
    for (int k = 0; k < used.size(); ++k) {
        if (used[k])
            i0Used.append(k);
    }
}

double EdgeShiftCalib::edgeAt(int x, int y, int hx, int hy) const
{
    return src.absorption(x, y, hx, hy).crossingX(0.5, SpectrumPoints::Rising);
}

bool EdgeShiftCalib::rowEdges(const QVector<int> &cxs, int cy, int hx, int hy,
                              QVector<double> &edges) const
{
    const int total = cxs.size();
    edges.fill(0.0, total);
    const int n = i1Frames.size();
    if (total == 0 || n == 0)
        return true;
    // Half sizes past any frame cover the same samples as the frame itself.
    const qint64 ahx = std::min<qint64>(std::abs(qint64(hx)), TiffData::maxFrameSide * 4);
    const qint64 ahy = std::min<qint64>(std::abs(qint64(hy)), TiffData::maxFrameSide * 4);
    qint64 widest = 1;
    for (const I1Frame &f : i1Frames)
        widest = std::max<qint64>(widest, f.frame->width());
    for (const TiffData *f : i0Frames)
        widest = std::max<qint64>(widest, f->width());
    if (darkFrame)
        widest = std::max<qint64>(widest, darkFrame->width());
    const int chunk = std::min(total, chunkBins);
    // The points of one frame lie a stride apart that is not a multiple of
    // the page size, so the points of one bin do not all contend for the
    // same cache set.
    const int stride = chunk + 8;
    const auto cols = grid(widest);
    const auto ratios = grid(qint64(n) * stride);
    const auto i0Sums = grid(qint64(std::max(i0Frames.size(), 1)) * chunk);
    const auto dark = grid(chunk);
    const auto sums = grid(chunk);
    if (!cols || !ratios || !i0Sums || !dark || !sums) {
        qDebug().noquote() << "Not enough memory for the calibration of a row of" << total
                           << "bins of" << n << "frames";
        return false;
    }
    QVector<double> energies(n);
    for (int k = 0; k < n; ++k)
        energies[k] = i1Frames[k].energy;
    const double *x = energies.constData();

    for (int first = 0; first < total; first += chunk) {
        const int nb = std::min(chunk, total - first);
        const int *c = cxs.constData() + first;
        if (darkFrame)
            frameRowSums(darkFrame, c, nb, cy, ahx, ahy, cols.get(), dark.get());
        else
            std::fill(dark.get(), dark.get() + nb, 0.0);
        for (int m : i0Used)
            frameRowSums(i0Frames[m], c, nb, cy, ahx, ahy, cols.get(), i0Sums.get() + m * nb);
        // Frame by frame: the ratio b / a (transmission) or the value a / b
        // (fluorescence) of every bin of the chunk.
        for (int k = 0; k < n; ++k) {
            const I1Frame &f = i1Frames[k];
            frameRowSums(f.frame, c, nb, cy, ahx, ahy, cols.get(), sums.get());
            double *out = ratios.get() + qint64(k) * stride;
            const double *sa = f.a < 0 ? nullptr : i0Sums.get() + f.a * nb;
            const double *sb = f.a < 0 ? nullptr : i0Sums.get() + f.b * nb;
            const double ea = f.a < 0 ? 0.0 : i0Energies[f.a];
            const double eb = f.a < 0 ? 0.0 : i0Energies[f.b];
            for (int j = 0; j < nb; ++j) {
                const double i0 = sa ? SpectrumSource::i0Line(f.energy, ea, sa[j], eb, sb[j]) : 1.0;
                const double a = sums[j] - dark[j];
                const double b = i0 - dark[j];
                if (fluo)
                    out[j] = b != 0.0 ? a / b : 1.0;
                else
                    out[j] = a * b > 0 ? b / a : noRatio;
            }
        }
        for (int j = 0; j < nb; ++j) {
            if (!src.contains(c[j], cy)) {
                edges[first + j] = 0.0;
                continue;
            }
            if (n == 1) {
                edges[first + j] = x[0];
                continue;
            }
            const double *r = ratios.get() + j;
            // The value of point k as the absorption rule gives it.
            auto yOf = [&](int k) {
                const double q = r[qint64(k) * stride];
                return fluo ? q : (q == noRatio ? 1.0 : std::log(q));
            };
            double yMin = SpectrumPoints::StartMin;
            double yMax = SpectrumPoints::StartMax;
            if (fluo) {
                for (int k = 0; k < n; ++k) {
                    const double q = r[qint64(k) * stride];
                    yMin = q < yMin ? q : yMin;
                    yMax = q > yMax ? q : yMax;
                }
            } else {
                // The logarithm keeps the order, so the bounds of the values
                // are those of the ratios.
                double qMin = std::numeric_limits<double>::infinity();
                double qMax = -qMin;
                bool unusable = false;
                for (int k = 0; k < n; ++k) {
                    const double q = r[qint64(k) * stride];
                    if (q == noRatio) {
                        unusable = true;
                        continue;
                    }
                    qMin = q < qMin ? q : qMin;
                    qMax = q > qMax ? q : qMax;
                }
                if (qMin <= qMax) {
                    yMin = std::log(qMin);
                    yMax = std::log(qMax);
                }
                if (unusable) {
                    yMin = std::min(yMin, 1.0);
                    yMax = std::max(yMax, 1.0);
                }
            }
            const double level = yMin + 0.5 * (yMax - yMin);
            // Below the level: by the ratio where it is clearly on one side,
            // by the logarithm only where it might be on the level.
            const double qLevel = std::exp(level);
            const double qLow = qLevel * (1.0 - 1e-9);
            const double qHigh = qLevel * (1.0 + 1e-9);
            auto below = [&](int k) {
                const double q = r[qint64(k) * stride];
                if (fluo)
                    return q < level;
                if (q == noRatio)
                    return 1.0 < level;
                if (q < qLow)
                    return true;
                if (q > qHigh)
                    return false;
                return std::log(q) < level;
            };
            double e = x[0];
            bool wasBelow = below(0);
            for (int k = 0; k + 1 < n; ++k) {
                const bool nextBelow = below(k + 1);
                if (wasBelow && !nextBelow) {
                    e = interpolate(level, yOf(k), x[k], yOf(k + 1), x[k + 1]);
                    break;
                }
                wasBelow = nextBelow;
            }
            edges[first + j] = e;
        }
    }
    return true;
}

bool EdgeShiftCalib::run(const AnalyzeCond &walkIn, const SpectrumPoints &standardRaw,
                         Analyzed2DRes &map, EdgeShiftStats &stats) const
{
    stats = EdgeShiftStats();
    // Without a standard every shift would be a bin's absolute edge energy.
    if (standardRaw.isEmpty()) {
        qDebug().noquote() << "Calibration refused: no standard spectrum loaded";
        return false;
    }
    if (i1Frames.isEmpty()) {
        qDebug().noquote() << "Calibration refused: no I1 frames";
        return false;
    }
    timeStampLog(QStringLiteral("Start Calibration"));
    AnalyzeCond walk = walkIn;
    walk.reset();
    if (!map.prepare(walk))
        return false;
    const double es = standardRaw.crossingX(0.5, SpectrumPoints::Rising);
    double lo = 1e300;
    double hi = -1e300;
    double sum = 0.0;
    qint64 count = 0;
    QVector<int> cxs;
    QVector<double> edges;
    bool more = true;
    while (more) {
        const int cy = walk.cy;
        cxs.clear();
        bool newRow = false;
        do {
            cxs.append(walk.cx);
            more = walk.advance(newRow);
        } while (more && !newRow);
        if (!rowEdges(cxs, cy, walk.hx, walk.hy, edges)) {
            map.clear();
            return false;
        }
        for (int j = 0; j < cxs.size(); ++j) {
            // A bin centred outside the data has no spectrum and so no edge:
            // it keeps no shift rather than minus the standard's edge.
            if (!src.contains(cxs[j], cy))
                continue;
            const double shift = edges[j] - es;
            map.setData(cxs[j], cy, walk.hx, walk.hy, shift);
            lo = std::min(lo, shift);
            hi = std::max(hi, shift);
            sum += shift;
            ++count;
        }
        if (more)
            qDebug().noquote() << "progress"
                               << double(walk.cy - walk.y0) / (walk.y1 - walk.y0) * 100.0;
    }
    if (count == 0) {
        qDebug().noquote() << "Calibration: no bin of the area lies in the image";
        map.genImg();
        timeStampLog(QStringLiteral("End Calibration   "));
        return false;
    }
    const double mean = sum / count;
    // The spread of the values the map holds at the bin centres.
    double squares = 0.0;
    walk.reset();
    do {
        if (src.contains(walk.cx, walk.cy)) {
            const double d = map.value(walk.cx, walk.cy) - mean;
            squares += d * d;
        }
    } while (walk.advance());
    stats.min = lo;
    stats.max = hi;
    stats.mean = mean;
    stats.sigma = std::sqrt(squares / count);
    stats.bins = count;
    map.genImg();
    timeStampLog(QStringLiteral("End Calibration   "));
    return true;
}

void normalizeEnergyShift(Analyzed2DRes &map)
{
    timeStampLog(QStringLiteral("Start Normalize E Shift"));
    map.deglitch2(40.0);
    map.copyProc2Data();
    map.genImg();
    timeStampLog(QStringLiteral("End Normalize E Shift  "));
}

void deglitchResultMap(Analyzed2DRes &map, double factor, double ratio)
{
    map.setDeglitchConds(factor, ratio);
    map.selectProcImg(true);
    map.deglitch();
}
