#include "core/ImageStacks.h"

#include "app/TextNumbers.h"
#include "input/TiffData.h"

#include <QScopedPointer>

#include <cmath>
#include <limits>

ImageStacks::~ImageStacks()
{
    clearI1();
    clearI0();
    clearDark();
}

void ImageStacks::appendI1(TiffData *frame)
{
    if (!frame)
        return;
    i1Frames.append(frame);
    width = i1Frames.first()->width();
    height = i1Frames.first()->height();
}

void ImageStacks::appendI0(TiffData *frame)
{
    if (frame)
        i0Frames.append(frame);
}

void ImageStacks::clearI1()
{
    qDeleteAll(i1Frames);
    i1Frames.clear();
}

void ImageStacks::clearI0()
{
    qDeleteAll(i0Frames);
    i0Frames.clear();
}

bool ImageStacks::loadDark(const QString &fileName)
{
    clearDark();
    auto *d = new TiffData;
    if (!d->read(fileName)) {
        delete d;
        return false;
    }
    darkFrame = d;
    return true;
}

void ImageStacks::clearDark()
{
    delete darkFrame;
    darkFrame = nullptr;
}

TiffData *ImageStacks::frame(Stack s, int index) const
{
    const QVector<TiffData *> &v = stack(s);
    return index >= 0 && index < v.size() ? v[index] : nullptr;
}

// The straight line through (ea, sa) and (eb, sb) at e; the mean of the two
// sums when both frames have the same energy.
static double lineAt(double e, double ea, double sa, double eb, double sb)
{
    if (eb == ea)
        return (sa + sb) / 2;
    return sa + (sb - sa) / (eb - ea) * (e - ea);
}

bool ImageStacks::i0Bracket(double e, int &a, int &b) const
{
    const int n = i0Frames.size();
    if (n == 0)
        return false;
    auto energy = [&](int k) { return i0Frames[k]->energy; };
    if (n == 1) {
        a = b = 0;
    } else if (e < energy(0)) {
        a = 0;
        b = 1;
    } else if (e >= energy(n - 1)) {
        a = n - 2;
        b = n - 1;
    } else {
        int lo = 0;
        int hi = n - 1;
        while (lo + 1 < hi) {
            const int mid = (lo + hi) / 2;
            if (e >= energy(mid))
                lo = mid;
            else
                hi = mid;
        }
        a = lo;
        b = hi;
    }
    return true;
}

double ImageStacks::i0FromSums(double e, QVector<double> &sums, int x, int y, int hw,
                               int hh) const
{
    int a = 0;
    int b = 0;
    if (!i0Bracket(e, a, b))
        return 1.0;
    auto sum = [&](int k) {
        double &s = sums[k];
        if (std::isnan(s))
            s = i0Frames[k]->windowSum(x, y, hw, hh);
        return s;
    };
    // With a single frame a == b and the line gives that frame's sum.
    return lineAt(e, i0Frames[a]->energy, sum(a), i0Frames[b]->energy, sum(b));
}

double ImageStacks::i0At(double e, int x, int y, int hw, int hh) const
{
    QVector<double> sums(i0Frames.size(), std::numeric_limits<double>::quiet_NaN());
    return i0FromSums(e, sums, x, y, hw, hh);
}

SpectrumPoints ImageStacks::absorption(int x, int y, int hw, int hh) const
{
    SpectrumPoints points;
    if (!contains(x, y))
        return points;
    const double d = darkFrame ? darkFrame->windowSum(x, y, hw, hh) : 0.0;
    points.reserve(i1Frames.size());
    QVector<double> sums(i0Frames.size(), std::numeric_limits<double>::quiet_NaN());
    for (const TiffData *f : i1Frames) {
        const double a = f->windowSum(x, y, hw, hh) - d;
        const double b = i0FromSums(f->energy, sums, x, y, hw, hh) - d;
        double value;
        if (fluo)
            // A window without incident intensity has no defined ratio; it
            // gets the same neutral 1.0 as an unusable transmission point
            // rather than an infinity that would wreck the spectrum's bounds.
            value = b != 0.0 ? a / b : 1.0;
        else
            value = a * b > 0 ? std::log(b / a) : 1.0;
        points.append(f->energy, value);
    }
    return points;
}

SpectrumPoints ImageStacks::rawI1(int x, int y, int hw, int hh) const
{
    SpectrumPoints points;
    if (!contains(x, y))
        return points;
    points.reserve(i1Frames.size());
    for (const TiffData *f : i1Frames)
        points.append(f->energy, f->windowSum(x, y, hw, hh));
    return points;
}

// Running sums of a frame along a profile line. The window of a point is
// split into strips across the line (one strip per position along it, each
// a window sum of half size 0 along the line), and the window sum of point i
// is the sum of the strips i - along .. i + along, taken from the running
// sums. So every sample near the line is read once per profile instead of
// once per window it falls in.
class LineSums
{
public:
    // rowLine: the line is image row `line`, positions are columns;
    // otherwise it is column `line` and positions are rows.
    LineSums(const TiffData *f, bool rowLine, int line, int n, int along, int across)
        : a(std::abs(along))
    {
        sums.resize(n + 2 * a + 1);
        sums[0] = 0.0;
        for (int i = -a; i < n + a; ++i) {
            const double strip = rowLine ? f->windowSum(i, line, 0, across)
                                         : f->windowSum(line, i, across, 0);
            sums[i + a + 1] = sums[i + a] + strip;
        }
    }
    // The window sum at position i (0 <= i < n).
    double at(int i) const { return sums[i + 2 * a + 1] - sums[i]; }

private:
    int a;
    QVector<double> sums;
};

// A profile of one frame: its window sums and, for I1, ln(I0 / I1) with I0
// from the two I0 frames that bracket the frame's energy (the same for
// every point, so they are found once).
SpectrumPoints ImageStacks::profile(Stack s, int index, bool rowLine, int line, int hw,
                                    int hh) const
{
    SpectrumPoints points;
    const TiffData *f = frame(s, index);
    const int n = rowLine ? width : height;
    const int lineEnd = rowLine ? height : width;
    if (!f || line < 0 || line >= lineEnd || n < 1)
        return points;
    const int along = rowLine ? hw : hh;
    const int across = rowLine ? hh : hw;
    const LineSums sums(f, rowLine, line, n, along, across);
    points.reserve(n);
    if (s == I0) {
        for (int i = 0; i < n; ++i)
            points.append(i, sums.at(i));
        return points;
    }
    int a = 0;
    int b = 0;
    const bool haveI0 = i0Bracket(f->energy, a, b);
    QScopedPointer<LineSums> sumsA, sumsB;
    if (haveI0) {
        sumsA.reset(new LineSums(i0Frames[a], rowLine, line, n, along, across));
        if (b != a)
            sumsB.reset(new LineSums(i0Frames[b], rowLine, line, n, along, across));
    }
    for (int i = 0; i < n; ++i) {
        const double sum = sums.at(i);
        double i0 = 1.0;
        if (haveI0) {
            const double sa = sumsA->at(i);
            const double sb = sumsB ? sumsB->at(i) : sa;
            i0 = lineAt(f->energy, i0Frames[a]->energy, sa, i0Frames[b]->energy, sb);
        }
        points.append(i, sum * i0 > 0 ? std::log(i0 / sum) : 1.0);
    }
    return points;
}

SpectrumPoints ImageStacks::columnProfile(Stack s, int index, int x, int hw, int hh) const
{
    return profile(s, index, false, x, hw, hh);
}

SpectrumPoints ImageStacks::rowProfile(Stack s, int index, int y, int hw, int hh) const
{
    return profile(s, index, true, y, hw, hh);
}

double ImageStacks::sampleAt(const TiffData *frame, int x, int y)
{
    if (!frame)
        return 0.0;
    const int c = x - frame->shiftX;
    const int r = y - frame->shiftY;
    if (c < 0 || r < 0 || c >= frame->width() || r >= frame->height())
        return 0.0;
    return frame->value(r, c);
}

ImageStacks::LoadRequest ImageStacks::loadRequest(const QString &skip, const QString &cutFirst,
                                                  const QString &cutLast)
{
    return loadRequest(intOfText(skip), intOfText(cutFirst), intOfText(cutLast));
}

ImageStacks::LoadRequest ImageStacks::loadRequest(int skip, int cutFirst, int cutLast)
{
    LoadRequest r;
    r.skip = qMax(skip, 1);
    r.cutFirst = qMax(cutFirst, 0);
    r.cutLast = qMax(cutLast, 0);
    return r;
}

QString withThousandsSeparators(const QString &number)
{
    QString s = number;
    const int start = s.startsWith(QLatin1Char('-')) ? 1 : 0;
    int point = s.indexOf(QLatin1Char('.'));
    if (point < 0)
        point = s.size();
    // Insert from the right so earlier positions stay valid.
    for (int p = point - 3; p > start; p -= 3)
        s.insert(p, QLatin1Char(','));
    return s;
}

QString pixelValueText(double v)
{
    return withThousandsSeparators(QStringLiteral("%1").arg(v, 0, 'f', 2));
}

QString darkValueText(double v)
{
    return withThousandsSeparators(QStringLiteral("%1").arg(v, 0, 'g', 6));
}
