#include "analysis/Analyzed2DRes.h"

#include "input/GreyScale.h"
#include "input/TiffData.h"

#include <QDebug>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

const qint64 Analyzed2DRes::maxSide = TiffData::maxFrameSide;
const qint64 Analyzed2DRes::maxPixels = TiffData::maxFrameSamples;

namespace {

// A grid of n zeros, null without memory.
std::unique_ptr<double[]> zeroGrid(qint64 n)
{
    return std::unique_ptr<double[]>(new (std::nothrow) double[size_t(n)]());
}

std::unique_ptr<double[]> copyGrid(const double *src, qint64 n)
{
    std::unique_ptr<double[]> g(new (std::nothrow) double[size_t(n)]);
    if (g)
        std::memcpy(g.get(), src, size_t(n) * sizeof(double));
    return g;
}

// Calls f(walk) for every bin of `walk` from its first, in walk order. At
// each row after the first, `rowLog` and the row's centre go to the debug
// log (long filters show where they are).
template <typename F>
void eachBin(AnalyzeCond walk, const char *rowLog, F f)
{
    walk.reset();
    bool newRow = false;
    do {
        f(walk);
        const bool more = walk.advance(newRow);
        if (!more)
            break;
        if (newRow && rowLog)
            qDebug().noquote() << rowLog << walk.cy;
    } while (true);
}

// The grey level of u, the fraction between the handles, times 256: 0 up
// to 0 (and for a not-a-number), 256 from 1 on. Its integer part, at most
// 255, is the level.
inline double levelTimes256(double u)
{
    u = 0.0 < u ? u : 0.0;
    u = u < 1.0 ? u : 1.0;
    return u * 256.0;
}

inline uchar levelOf(double scaled)
{
    const int g = int(scaled);
    return uchar(g < 255 ? g : 255);
}

// One picture row: the grey of (v - min) / span for every value v. The
// colour bar's rule (greyLevel) is worked out here with the same operations
// in the same order, so every level is the one greyLevel gives, without a
// call per pixel. The loops over blocks of a fixed length leave the
// compiler free to work on several pixels at once.
void greyRow(uchar *out, const double *row, int w, double min, double span, double lower,
             double upper)
{
    const double width = upper - lower;
    if (upper == lower) {
        // The ramp is a step at the handles.
        for (int x = 0; x < w; ++x)
            out[x] = uchar(((row[x] - min) / span >= lower) ? 255 : 0);
        return;
    }
    constexpr int block = 64;
    double scaled[block];
    int x = 0;
    for (; x + block <= w; x += block) {
        const double *in = row + x;
        for (int i = 0; i < block; ++i)
            scaled[i] = levelTimes256(((in[i] - min) / span - lower) / width);
        for (int i = 0; i < block; ++i)
            out[x + i] = levelOf(scaled[i]);
    }
    for (; x < w; ++x)
        out[x] = levelOf(levelTimes256(((row[x] - min) / span - lower) / width));
}

// The width of a scaling range, 0 when it has none: a range of one value,
// or bounds that no value has set yet (min above max). A fixed scale may
// run downwards: the ramp is then inverted.
double spanOf(double min, double max, bool fixedScale)
{
    const double span = max - min;
    if (fixedScale ? !(std::abs(span) > 0.0) : !(span > 0.0))
        return 0.0;
    return span;
}

} // namespace

Analyzed2DRes::Analyzed2DRes(QObject *parent)
    : QObject(parent)
{
}

Analyzed2DRes::~Analyzed2DRes() = default;

void Analyzed2DRes::releaseGrids()
{
    values.reset();
    procValues.reset();
    image = QImage();
    imageValid = false;
}

void Analyzed2DRes::clear()
{
    cond = AnalyzeCond();
    procLo = 0.0;
    procHi = 1.0;
    dataLo = 1e300;
    dataHi = -1e300;
    releaseGrids();
}

bool Analyzed2DRes::prepare(const AnalyzeCond &walk)
{
    releaseGrids();
    cond = walk;
    dataLo = 1e300;
    dataHi = -1e300;
    glitchFactor = 1.0;
    showProc = false;
    const qint64 w = walk.width;
    const qint64 h = walk.height;
    if (w < 1 || h < 1 || w > maxSide || h > maxSide || w * h > maxPixels) {
        qDebug().noquote() << "Can't make" << label() << "of" << w << h;
        cond = AnalyzeCond();
        return false;
    }
    values = zeroGrid(w * h);
    procValues = zeroGrid(w * h);
    if (!values || !procValues) {
        qDebug().noquote() << "Not enough memory for" << label() << "of" << w << h;
        clear();
        return false;
    }
    return true;
}

bool Analyzed2DRes::copyFrom(const Analyzed2DRes &src)
{
    if (&src == this)
        return true;
    releaseGrids();
    const qint64 n = qint64(src.cond.width) * src.cond.height;
    if (src.values)
        values = copyGrid(src.values.get(), n);
    if (src.procValues)
        procValues = copyGrid(src.procValues.get(), n);
    if (bool(values) != bool(src.values) || bool(procValues) != bool(src.procValues)) {
        qDebug().noquote() << "Not enough memory for a copy of" << src.label();
        clear();
        return false;
    }
    number = src.number;
    title = src.title;
    cond = src.cond;
    // The picture is shared until one of the two maps regenerates its own.
    imageValid = src.imageValid;
    image = src.image;
    dataLo = src.dataLo;
    dataHi = src.dataHi;
    scaleLo = src.scaleLo;
    scaleHi = src.scaleHi;
    fixed = src.fixed;
    format = src.format;
    produced = src.produced;
    procLo = src.procLo;
    procHi = src.procHi;
    glitchFactor = src.glitchFactor;
    glitchRange = src.glitchRange;
    showProc = src.showProc;
    greyScale = src.greyScale;
    return true;
}

double Analyzed2DRes::displayMin() const
{
    return fixed ? scaleLo : showProc ? procLo : dataLo;
}

double Analyzed2DRes::displayMax() const
{
    return fixed ? scaleHi : showProc ? procHi : dataHi;
}

void Analyzed2DRes::setData(int ix, int iy, int xw, int yw, double t)
{
    if (!values)
        return;
    dataHi = std::max(dataHi, t);
    dataLo = std::min(dataLo, t);
    fillClipped(values.get(), cond.width, cond.height, ix, iy, xw, yw, t);
}

void Analyzed2DRes::genImg()
{
    const double *src = showProc ? procValues.get() : values.get();
    if (!src) {
        image = QImage();
        imageValid = false;
        return;
    }
    const int w = cond.width;
    const int h = cond.height;
    // The buffer is written over when nobody else holds the picture;
    // a picture handed out keeps its own.
    if (!image.isDetached() || image.size() != QSize(w, h) || image.format() != format) {
        image = QImage();
        image = QImage(w, h, format);
    }
    if (image.isNull()) {
        qDebug().noquote() << "Not enough memory for the picture of" << label() << w << h;
        imageValid = false;
        return;
    }
    const double min = displayMin();
    const double span = spanOf(min, displayMax(), fixed);
    // A range without width has no fraction to give: every pixel takes the
    // grey of 0.
    const bool flat = span == 0.0;
    const double lower = greyScale ? greyScale->lower : 0.0;
    const double upper = greyScale ? greyScale->upper : 1.0;
    const qint64 bpl = image.bytesPerLine();
    uchar *bits = image.bits();
    for (int y = 0; y < h; ++y) {
        uchar *out = bits + bpl * y;
        const double *row = src + qint64(y) * w;
        if (flat)
            std::memset(out, greyLevel(0.0, lower, upper), size_t(w));
        else
            greyRow(out, row, w, min, span, lower, upper);
        std::memset(out + w, 0, size_t(bpl - w));
    }
    imageValid = true;
}

quint16 Analyzed2DRes::sixteenBit(double v, double min, double span)
{
    if (!(std::abs(span) > 0.0))
        return 0;
    const double s = (v - min) / span * 65535.0;
    if (!(s > 0.0))
        return 0;
    if (s >= 65535.0)
        return 65535;
    return quint16(s);
}

std::unique_ptr<quint16[]> Analyzed2DRes::tiffDataForSave(bool fixedScale, double scaleMin,
                                                          double scaleMax, bool asAnalyzed)
{
    produced = 0;
    const double *src = showProc ? procValues.get() : values.get();
    if (!src)
        return nullptr;
    double min = showProc ? procLo : dataLo;
    double max = showProc ? procHi : dataHi;
    if (fixedScale) {
        min = scaleMin;
        max = scaleMax;
    }
    const double span = spanOf(min, max, fixedScale);
    const qint64 n = asAnalyzed ? cond.bins() : qint64(cond.width) * cond.height;
    if (n > maxPixels) {
        qDebug().noquote() << "Too many bins to save in" << label() << n;
        return nullptr;
    }
    std::unique_ptr<quint16[]> out(new (std::nothrow) quint16[size_t(n)]);
    if (!out) {
        qDebug().noquote() << "Not enough memory for the 16-bit data of" << label() << n;
        return nullptr;
    }
    if (asAnalyzed) {
        // Values outside the range land on its ends: the conversion clamps.
        qint64 i = 0;
        eachBin(cond, nullptr, [&](const AnalyzeCond &b) {
            out[size_t(i++)] = sixteenBit(centre(src, b), min, span);
        });
    } else {
        for (qint64 i = 0; i < n; ++i)
            out[size_t(i)] = sixteenBit(src[i], min, span);
    }
    produced = int(n);
    return out;
}

double Analyzed2DRes::secondDifference(const AnalyzeCond &b) const
{
    const double *d = values.get();
    const double c = centre(d, b);
    const qint64 x = b.cx, y = b.cy;
    const bool across = inside(x - b.sx, y) && inside(x + b.sx, y);
    const bool down = inside(x, y - b.sy) && inside(x, y + b.sy);
    const double h =
        across ? std::abs(2 * c - value(int(x - b.sx), int(y)) - value(int(x + b.sx), int(y)))
               : 0.0;
    const double v =
        down ? std::abs(2 * c - value(int(x), int(y - b.sy)) - value(int(x), int(y + b.sy))) : 0.0;
    if (across && down)
        return (h + v) / 2;
    return across ? h : v;
}

void Analyzed2DRes::deglitch()
{
    if (!values || !procValues)
        return;
    double *proc = procValues.get();
    double sum = 0.0;
    qint64 bins = 0;
    eachBin(cond, "deglitch", [&](const AnalyzeCond &b) {
        const double m = secondDifference(b);
        b.fill(proc, m);
        sum += m;
        ++bins;
    });
    const double threshold = sum / double(bins) * glitchFactor;
    procLo = 1e300;
    procHi = -1e300;
    const double low = dataLo + (dataHi - dataLo) * glitchRange;
    const double high = dataHi - (dataHi - dataLo) * glitchRange;
    eachBin(cond, "deglitch 2", [&](const AnalyzeCond &b) {
        double v = centre(values.get(), b);
        // The bin's own measure, worked out again: with overlapping bins
        // a later bin may have written over its centre in the first walk.
        const double m = secondDifference(b);
        if (m > threshold && (v < low || v > high)) {
            const qint64 x = b.cx, y = b.cy;
            const qint64 nx[4] = {x - b.sx, x + b.sx, x, x};
            const qint64 ny[4] = {y, y, y - b.sy, y + b.sy};
            double s = 0.0;
            int k = 0;
            for (int i = 0; i < 4; ++i)
                if (inside(nx[i], ny[i])) {
                    s += value(int(nx[i]), int(ny[i]));
                    ++k;
                }
            if (k > 0)
                v = s / k;
        }
        procLo = std::min(procLo, v);
        procHi = std::max(procHi, v);
        b.fill(proc, v);
    });
    if (showProc)
        genImg();
}

void Analyzed2DRes::setDeglitchConds(double f, double r)
{
    glitchFactor = f;
    glitchRange = r;
}

void Analyzed2DRes::selectProcImg(bool f)
{
    showProc = f;
    genImg();
}

void Analyzed2DRes::deglitch2(double limit)
{
    if (!values || !procValues)
        return;
    double sum = 0.0;
    qint64 taken = 0;
    eachBin(cond, "deglitch2", [&](const AnalyzeCond &b) {
        const double v = centre(values.get(), b);
        if (std::abs(v) < limit) {
            sum += v;
            ++taken;
        }
    });
    const double mean = taken > 0 ? sum / double(taken) : 0.0;
    procLo = 1e300;
    procHi = -1e300;
    double *proc = procValues.get();
    eachBin(cond, "deglitch 2", [&](const AnalyzeCond &b) {
        double v = centre(values.get(), b);
        if (std::abs(v - mean) > limit) {
            double s = 0.0;
            int k = 0;
            for (int dx = -1; dx <= 1; ++dx)
                for (int dy = -1; dy <= 1; ++dy) {
                    const qint64 x = b.cx + qint64(dx) * b.sx;
                    const qint64 y = b.cy + qint64(dy) * b.sy;
                    if ((dx || dy) && inside(x, y)) {
                        const double n = value(int(x), int(y));
                        if (std::abs(n - mean) < limit) {
                            s += n;
                            ++k;
                        }
                    }
                }
            v = k > 0 ? s / k : 0.0;
        }
        procLo = std::min(procLo, v);
        procHi = std::max(procHi, v);
        b.fill(proc, v);
    });
    if (showProc)
        genImg();
}

void Analyzed2DRes::copyProc2Data()
{
    if (!values || !procValues)
        return;
    std::memcpy(values.get(), procValues.get(),
                size_t(cond.width) * size_t(cond.height) * sizeof(double));
    dataLo = procLo;
    dataHi = procHi;
}

void Analyzed2DRes::emitColorRange()
{
    emit colorRangeChanged(displayMin(), displayMax());
}

void Analyzed2DRes::setFixedScale(bool f)
{
    fixed = f;
    genImg();
    emitColorRange();
}

void Analyzed2DRes::setScale(double min, double max)
{
    scaleLo = min;
    scaleHi = max;
    genImg();
    emitColorRange();
}

bool Analyzed2DRes::writeText(const QString &fileName, bool comma, bool xyz) const
{
    if (!values) {
        qDebug().noquote() << "No values to write in" << label() << fileName;
        return false;
    }
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        qDebug().noquote() << "Can't open" << fileName;
        return false;
    }
    QTextStream out(&file);
    const QChar sep = comma ? QLatin1Char(',') : QLatin1Char(' ');
    bool rowStart = true;
    AnalyzeCond walk = cond;
    walk.reset();
    bool newRow = false;
    do {
        const double v = centre(values.get(), walk);
        if (xyz) {
            out << walk.cx << sep << walk.cy << sep << v << '\n';
        } else {
            if (!rowStart)
                out << sep;
            out << v;
        }
        const bool more = walk.advance(newRow);
        rowStart = newRow;
        if (!xyz && (newRow || !more))
            out << '\n';
        if (!more)
            break;
    } while (true);
    out.flush();
    file.close();
    if (out.status() != QTextStream::Ok || file.error() != QFileDevice::NoError) {
        qDebug().noquote() << "Can't write" << fileName;
        return false;
    }
    return true;
}
