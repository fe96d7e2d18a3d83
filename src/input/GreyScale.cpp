#include "input/GreyScale.h"

#include <cmath>

quint8 greyLevel(double t, double lower, double upper)
{
    double u;
    if (upper != lower)
        u = (t - lower) / (upper - lower);
    else
        u = t >= lower ? 1.0 : 0.0;
    if (!(u > 0.0)) // also catches NaN
        return 0;
    if (u >= 1.0)
        return 255;
    const int g = int(u * 256.0);
    return quint8(g > 255 ? 255 : g);
}
