#include "spectrum/SpectrumPoints.h"

void SpectrumPoints::clear()
{
    pts.clear();
    xMin = yMin = StartMin;
    xMax = yMax = StartMax;
    yMinIndex = NoMinYIndex;
    yMaxIndex = NoMaxYIndex;
}

QPointF *SpectrumPoints::fillBuffer(int n)
{
    pts.resize(n < 0 ? 0 : n);
    return pts.data();
}

void SpectrumPoints::finishFill()
{
    double x0 = StartMin, x1 = StartMax, y0 = StartMin, y1 = StartMax;
    int i0 = NoMinYIndex, i1 = NoMaxYIndex;
    const QPointF *p = pts.constData();
    const int n = pts.size();
    for (int i = 0; i < n; ++i) {
        const double x = p[i].x();
        const double y = p[i].y();
        if (x < x0)
            x0 = x;
        if (x > x1)
            x1 = x;
        if (y < y0) {
            y0 = y;
            i0 = i;
        }
        if (y > y1) {
            y1 = y;
            i1 = i;
        }
    }
    xMin = x0;
    xMax = x1;
    yMin = y0;
    yMax = y1;
    yMinIndex = i0;
    yMaxIndex = i1;
}

void SpectrumPoints::finishFill(double knownMinX, double knownMaxX)
{
    // Four running extremes instead of one keep the comparisons of
    // neighbouring points independent; the index of an extreme is then the
    // first point holding it, as appending would give. A value is taken only
    // when it beats the start values, as in append.
    const QPointF *p = pts.constData();
    const int n = pts.size();
    double lo[4] = {StartMin, StartMin, StartMin, StartMin};
    double hi[4] = {StartMax, StartMax, StartMax, StartMax};
    int i = 0;
    for (; i + 4 <= n; i += 4)
        for (int k = 0; k < 4; ++k) {
            const double y = p[i + k].y();
            lo[k] = y < lo[k] ? y : lo[k];
            hi[k] = y > hi[k] ? y : hi[k];
        }
    for (; i < n; ++i) {
        const double y = p[i].y();
        lo[0] = y < lo[0] ? y : lo[0];
        hi[0] = y > hi[0] ? y : hi[0];
    }
    double y0 = lo[0], y1 = hi[0];
    for (int k = 1; k < 4; ++k) {
        y0 = lo[k] < y0 ? lo[k] : y0;
        y1 = hi[k] > y1 ? hi[k] : y1;
    }
    int i0 = NoMinYIndex, i1 = NoMaxYIndex;
    if (y0 != StartMin)
        for (int k = 0; k < n; ++k)
            if (p[k].y() == y0) {
                i0 = k;
                break;
            }
    if (y1 != StartMax)
        for (int k = 0; k < n; ++k)
            if (p[k].y() == y1) {
                i1 = k;
                break;
            }
    xMin = n > 0 ? knownMinX : StartMin;
    xMax = n > 0 ? knownMaxX : StartMax;
    yMin = y0;
    yMax = y1;
    yMinIndex = i0;
    yMaxIndex = i1;
}

double SpectrumPoints::valueAt(double arg) const
{
    const int n = pts.size();
    if (n == 0)
        return 0.0;
    if (n == 1)
        return pts[0].y();
    int a = 0;
    int b = 0;
    segmentOf(
        n, arg, [this](int i) { return x(i); }, a, b);
    return interpolate(arg, x(a), y(a), x(b), y(b));
}

int SpectrumPoints::indexNear(double arg) const
{
    const int n = pts.size();
    if (n < 2)
        return n - 1;
    int a = 0;
    int b = 0;
    segmentOf(
        n, arg, [this](int i) { return x(i); }, a, b);
    return (x(a) + x(b)) / 2.0 > arg ? a : b;
}

double SpectrumPoints::crossingX(double fraction, int direction) const
{
    const int n = pts.size();
    if (n == 0)
        return 0.0;
    if (n == 1)
        return x(0);
    const double level = yMin + fraction * (yMax - yMin);
    for (int i = 0; i + 1 < n; ++i) {
        const double a = y(i);
        const double b = y(i + 1);
        bool hit = false;
        switch (direction) {
        case Rising:
            hit = a < level && level <= b;
            break;
        case Falling:
            hit = a > level && level >= b;
            break;
        default:
            hit = (a - level) * (b - level) <= 0.0;
            break;
        }
        if (hit)
            return interpolate(level, a, x(i), b, x(i + 1));
    }
    return x(0);
}

SpectrumPoints SpectrumPoints::withShiftBakedIn() const
{
    SpectrumPoints c = *this;
    c.used = true;
    if (shiftOn) {
        for (QPointF &p : c.pts)
            p.setX(p.x() - dE);
        if (!c.pts.isEmpty()) {
            c.xMin = xMin - dE;
            c.xMax = xMax - dE;
        }
    }
    c.dE = shiftOn ? dE : 0.0;
    c.shiftOn = false;
    return c;
}
