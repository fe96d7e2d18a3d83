#include "core/ImageStacks.h"

#include "app/TextNumbers.h"
#include "input/TiffData.h"

#include <QScopedPointer>

#include <algorithm>
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

SpectrumSource ImageStacks::source() const
{
    return SpectrumSource(i1Frames, i0Frames, darkFrame, width, height, fluo);
}

double ImageStacks::i0At(double e, int x, int y, int hw, int hh) const
{
    return source().i0At(e, x, y, hw, hh);
}

SpectrumPoints ImageStacks::absorption(int x, int y, int hw, int hh) const
{
    return source().points(x, y, hw, hh).absorption;
}

SpectrumPoints ImageStacks::rawI1(int x, int y, int hw, int hh) const
{
    return source().rawI1(x, y, hw, hh);
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
        : a(std::abs(qint64(along)))
    {
        // A strip holds samples only where the shifted frame lies, so only
        // those strips are summed: a window larger than the frame costs no
        // more than the frame, and the running sums are the same as over the
        // whole window range (the strips left out are exact zeros).
        const qint64 shift = rowLine ? f->shiftX : f->shiftY;
        const qint64 size = rowLine ? f->width() : f->height();
        first = std::max({-a, shift, qint64(std::numeric_limits<int>::min())});
        last = std::min({n - 1 + a, shift + size - 1, qint64(std::numeric_limits<int>::max())});
        sums.resize(last >= first ? int(last - first) + 2 : 1);
        sums[0] = 0.0;
        for (qint64 i = first; i <= last; ++i) {
            const double strip = rowLine ? f->windowSum(int(i), line, 0, across)
                                         : f->windowSum(line, int(i), across, 0);
            sums[int(i - first) + 1] = sums[int(i - first)] + strip;
        }
    }
    // The window sum at position i (0 <= i < n).
    double at(int i) const { return upTo(i + a) - upTo(i - a - 1); }

private:
    // The sum of the strips up to position i.
    double upTo(qint64 i) const
    {
        if (i < first)
            return 0.0;
        return sums[int(std::min(i, last) - first) + 1];
    }

    qint64 a;
    qint64 first = 0;
    qint64 last = -1;
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
    QVector<double> i0Energies;
    i0Energies.reserve(i0Frames.size());
    for (const TiffData *g : i0Frames)
        i0Energies.append(g->energy);
    int a = 0;
    int b = 0;
    const bool haveI0 = SpectrumSource::i0Bracket(i0Energies, f->energy, a, b);
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
            i0 = SpectrumSource::i0Line(f->energy, i0Frames[a]->energy, sa,
                                        i0Frames[b]->energy, sb);
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
    const qint64 c = qint64(x) - frame->shiftX;
    const qint64 r = qint64(y) - frame->shiftY;
    if (c < 0 || r < 0 || c >= frame->width() || r >= frame->height())
        return 0.0;
    return frame->value(int(r), int(c));
}

int ImageStacks::boundedHalfSize(int half, int size)
{
    return int(std::min(std::abs(qint64(half)), qint64(std::max(size, 0))));
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
