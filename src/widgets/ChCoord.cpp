#include "widgets/ChCoord.h"

#include <cmath>

void ChCoord::setScreenArea(int x0, int y0, int x1, int y1)
{
    sx0 = x0;
    sy0 = y0;
    sx1 = x1;
    sy1 = y1;
    updateInner();
}

void ChCoord::setRealArea(double x0, double y0, double x1, double y1)
{
    rx0 = x0;
    ry0 = y0;
    rx1 = x1;
    ry1 = y1;
}

void ChCoord::setMargins(double left, double right, double top, double bottom)
{
    marginL = left;
    marginR = right;
    marginT = top;
    marginB = bottom;
    updateInner();
}

void ChCoord::setTolerance(double tx, double ty)
{
    tolX = tx;
    tolY = ty;
}

void ChCoord::updateInner()
{
    const int w = sx1 - sx0;
    const int h = sy1 - sy0;
    ix0 = sx0 + int(w * marginL);
    ix1 = sx1 - int(w * marginR);
    iy0 = sy0 + int(h * marginT);
    iy1 = sy1 - int(h * marginB);
}

static double toScreen(double r, double r0, double r1, int s0, int s1)
{
    if (r1 == r0)
        return s0;
    return double(s1 - s0) / (r1 - r0) * (r - r0) + s0;
}

static double toReal(double s, double r0, double r1, int s0, int s1)
{
    if (s1 == s0)
        return r0;
    return (r1 - r0) / double(s1 - s0) * (s - s0) + r0;
}

static double limited(double v, double a, double b)
{
    const double lo = a < b ? a : b;
    const double hi = a < b ? b : a;
    return v < lo ? lo : (v > hi ? hi : v);
}

double ChCoord::r2sx(double x) const
{
    return toScreen(x, rx0, rx1, ix0, ix1);
}
double ChCoord::r2sy(double y) const
{
    return toScreen(y, ry0, ry1, iy0, iy1);
}

double ChCoord::r2sLx(double l) const
{
    return rx1 == rx0 ? 0.0 : double(ix1 - ix0) / (rx1 - rx0) * l;
}

double ChCoord::r2sLy(double l) const
{
    return ry1 == ry0 ? 0.0 : double(iy1 - iy0) / (ry1 - ry0) * l;
}

double ChCoord::s2rx(double x) const
{
    return toReal(x, rx0, rx1, ix0, ix1);
}
double ChCoord::s2ry(double y) const
{
    return toReal(y, ry0, ry1, iy0, iy1);
}
double ChCoord::s2rxLimit(double x) const
{
    return limited(s2rx(x), rx0, rx1);
}
double ChCoord::s2ryLimit(double y) const
{
    return limited(s2ry(y), ry0, ry1);
}

double ChCoord::s2rLx(double l) const
{
    return ix1 == ix0 ? 0.0 : (rx1 - rx0) / double(ix1 - ix0) * l;
}

double ChCoord::s2rLy(double l) const
{
    return iy1 == iy0 ? 0.0 : (ry1 - ry0) / double(iy1 - iy0) * l;
}

bool ChCoord::nearLowX(double x) const
{
    return std::fabs(x - ix0) <= tolX * std::abs(ix1 - ix0);
}
bool ChCoord::nearHighX(double x) const
{
    return std::fabs(x - ix1) <= tolX * std::abs(ix1 - ix0);
}
bool ChCoord::nearLowY(double y) const
{
    return std::fabs(y - iy0) <= tolY * std::abs(iy1 - iy0);
}
bool ChCoord::nearHighY(double y) const
{
    return std::fabs(y - iy1) <= tolY * std::abs(iy1 - iy0);
}

double ChCoord::tickStep(double base, double minSpacing, double ratio)
{
    if (!(base > 0.0) || !std::isfinite(base) || !std::isfinite(ratio) || ratio == 0.0)
        return 0.0;
    static const double factors[3] = {1.0, 2.0, 5.0};
    double decade = base;
    double step = base;
    for (int k = 0; k <= 7; k++) {
        for (double f : factors) {
            step = decade * f;
            if (std::fabs(step * ratio) > minSpacing)
                return step;
        }
        decade *= 10.0;
    }
    return step;
}

double ChCoord::tickStepX(double base, double minSpacing) const
{
    return tickStep(base, minSpacing, r2sLx(1.0));
}

double ChCoord::tickStepY(double base, double minSpacing) const
{
    return tickStep(base, minSpacing, r2sLy(1.0));
}

bool ChCoord::roundedRange(double min, double max, double *step, double *first, double *last)
{
    if (!std::isfinite(min) || !std::isfinite(max) || !(max > min))
        return false;
    const double range = max - min;
    if (!std::isfinite(range))
        return false;
    double decade = std::pow(10.0, std::floor(std::log10(range)));
    // A range such as 0.6 - 0.3 arrives a hair below 0.3: the leading digit
    // is read with a small allowance so it counts as 3, not 2.
    int d = int(range / decade + 1e-9);
    if (d >= 10) {
        decade *= 10.0;
        d = 1;
    }
    if (d < 1)
        d = 1;
    static const double f[9] = {0.2, 0.2, 0.5, 0.5, 1.0, 1.0, 1.0, 2.0, 2.0};
    const double s = decade * f[d - 1];
    if (!(s > 0.0))
        return false;
    if (step)
        *step = s;
    // A bound that is itself a multiple of the step keeps its label even
    // when the division lands a hair beside the whole number.
    const double eps = 1e-9;
    if (first)
        *first = std::ceil(min / s - eps) * s;
    if (last)
        *last = std::floor(max / s + eps) * s;
    return true;
}
