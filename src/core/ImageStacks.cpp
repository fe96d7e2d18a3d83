#include "core/ImageStacks.h"

#include "input/TiffData.h"

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
    width = i1Frames.first()->width;
    height = i1Frames.first()->height;
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

// Every point of a profile lies on the same frame, so the I0 frames that
// bracket its energy are found once and only their window sums are read.
struct ImageStacks::ProfileRule
{
    const ImageStacks &stacks;
    const TiffData *frame;
    ImageStacks::Stack stack;
    int hw;
    int hh;
    bool haveI0 = false;
    int a = 0;
    int b = 0;

    double value(int x, int y) const
    {
        const double sum = frame->windowSum(x, y, hw, hh);
        if (stack == I0)
            return sum;
        double i0 = 1.0;
        if (haveI0) {
            const TiffData *fa = stacks.i0Frames[a];
            const TiffData *fb = stacks.i0Frames[b];
            const double sa = fa->windowSum(x, y, hw, hh);
            const double sb = a == b ? sa : fb->windowSum(x, y, hw, hh);
            i0 = lineAt(frame->energy, fa->energy, sa, fb->energy, sb);
        }
        return sum * i0 > 0 ? std::log(i0 / sum) : 1.0;
    }
};

SpectrumPoints ImageStacks::columnProfile(Stack s, int index, int x, int hw, int hh) const
{
    SpectrumPoints points;
    const TiffData *f = frame(s, index);
    if (!f || x < 0 || x >= width || height < 1)
        return points;
    ProfileRule rule{*this, f, s, hw, hh};
    rule.haveI0 = s == I1 && i0Bracket(f->energy, rule.a, rule.b);
    points.reserve(height);
    for (int r = 0; r < height; ++r)
        points.append(r, rule.value(x, r));
    return points;
}

SpectrumPoints ImageStacks::rowProfile(Stack s, int index, int y, int hw, int hh) const
{
    SpectrumPoints points;
    const TiffData *f = frame(s, index);
    if (!f || y < 0 || y >= height || width < 1)
        return points;
    ProfileRule rule{*this, f, s, hw, hh};
    rule.haveI0 = s == I1 && i0Bracket(f->energy, rule.a, rule.b);
    points.reserve(width);
    for (int c = 0; c < width; ++c)
        points.append(c, rule.value(c, y));
    return points;
}

double ImageStacks::sampleAt(const TiffData *frame, int x, int y)
{
    if (!frame)
        return 0.0;
    const int c = x - frame->shiftX;
    const int r = y - frame->shiftY;
    if (c < 0 || r < 0 || c >= frame->width || r >= frame->height || r >= frame->rows.size())
        return 0.0;
    return frame->value(r, c);
}

static int fieldInt(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    return ok ? v : 0;
}

ImageStacks::LoadRequest ImageStacks::loadRequest(const QString &skip, const QString &cutFirst,
                                                  const QString &cutLast)
{
    return loadRequest(fieldInt(skip), fieldInt(cutFirst), fieldInt(cutLast));
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
