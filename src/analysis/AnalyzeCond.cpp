#include "analysis/AnalyzeCond.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The largest image side and bin half size a walk takes: far beyond any
// frame, and small enough that no sum of bounds, halves and steps below
// leaves the int range.
constexpr int maxExtent = 1 << 24;

// A half size by its absolute value. A bin wider than the image keeps the
// half size it was given (its centre and the written headers show it); only
// a hostile one is cut down to maxExtent.
int boundedHalf(int half)
{
    return int(std::min(std::abs(qint64(half)), qint64(maxExtent)));
}

// The integer part of a bound, kept inside the int range (a not-a-number
// is 0).
int boundOf(double v)
{
    if (!(v == v))
        return 0;
    const double t = std::trunc(v);
    if (t <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (t >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return int(t);
}

// A bound kept within one image side and a bin of the image.
int nearImage(int v, int side, int half)
{
    const qint64 reach = qint64(side) + half + 1;
    return int(std::clamp<qint64>(v, -reach, qint64(side) + reach));
}

// Number of bin centres c = from, from + step, ... with c < limit.
int countSteps(qint64 from, qint64 limit, qint64 step)
{
    if (from >= limit)
        return 1; // the first bin is always visited
    return int((limit - from - 1) / step + 1);
}

} // namespace

void AnalyzeCond::setup(int imageWidth, int imageHeight, int halfX, int halfY, double x, double y,
                        double w, double h, int stepX, int stepY)
{
    width = std::clamp(imageWidth, 0, maxExtent);
    height = std::clamp(imageHeight, 0, maxExtent);
    hx = boundedHalf(halfX);
    hy = boundedHalf(halfY);
    x0 = boundOf(x);
    x1 = boundOf(x + w);
    y0 = boundOf(y);
    y1 = boundOf(y + h);
    if (x0 > x1)
        std::swap(x0, x1);
    if (y0 > y1)
        std::swap(y0, y1);
    // Bounds far outside the image walk no differently from bounds at its
    // edge plus a bin; keeping them near makes every sum below safe.
    x0 = nearImage(x0, width, hx);
    x1 = nearImage(x1, width, hx);
    y0 = nearImage(y0, height, hy);
    y1 = nearImage(y1, height, hy);
    sx = stepX < 1 ? 2 * hx + 1 : stepX;
    sy = stepY < 1 ? 2 * hy + 1 : stepY;
    reset();
}

void AnalyzeCond::reset()
{
    cx = x0 + hx;
    cy = y0 + hy;
}

bool AnalyzeCond::advance(bool &newRow)
{
    if (qint64(cx) + sx < x1) {
        cx += sx;
        newRow = false;
        return true;
    }
    newRow = true;
    cx = x0 + hx;
    if (qint64(cy) + sy >= y1)
        return false;
    cy += sy;
    return true;
}

int AnalyzeCond::binsAcross() const
{
    return countSteps(qint64(x0) + hx, x1, std::max(sx, 1));
}

int AnalyzeCond::binsDown() const
{
    return countSteps(qint64(y0) + hy, y1, std::max(sy, 1));
}

void AnalyzeCond::fill(double *grid, double v) const
{
    fillClipped(grid, width, height, cx, cy, hx, hy, v);
}

void fillClipped(double *grid, int width, int height, int ix, int iy, int xw, int yw, double t)
{
    if (!grid)
        return;
    const qint64 ax = std::abs(qint64(xw));
    const qint64 ay = std::abs(qint64(yw));
    const qint64 left = std::max<qint64>(qint64(ix) - ax, 0);
    const qint64 right = std::min<qint64>(qint64(ix) + ax, qint64(width) - 1);
    const qint64 top = std::max<qint64>(qint64(iy) - ay, 0);
    const qint64 bottom = std::min<qint64>(qint64(iy) + ay, qint64(height) - 1);
    // A bin wholly left or right of the image has nothing inside.
    if (left > right)
        return;
    for (qint64 y = top; y <= bottom; ++y)
        std::fill(grid + y * width + left, grid + y * width + right + 1, t);
}
