#pragma once

#include "input/TiffData.h"

#include <functional>

// Frames built in memory for the tests: 16-bit rows, value(x, y) per pixel.
inline TiffData *makeFrame(int w, int h, double energy,
                           const std::function<int(int x, int y)> &value,
                           const QString &name = QString())
{
    auto *f = new TiffData;
    f->width = w;
    f->height = h;
    f->energy = energy;
    f->fileName = name;
    f->pixelType = TiffData::UShortRows;
    f->minimum = 1.7976931348623157e308;
    f->maximum = 2.2250738585072014e-308;
    for (int y = 0; y < h; ++y) {
        auto *row = new quint16[w];
        for (int x = 0; x < w; ++x) {
            row[x] = quint16(value(x, y));
            f->minimum = qMin(f->minimum, double(row[x]));
            f->maximum = qMax(f->maximum, double(row[x]));
        }
        f->rows.append(row);
    }
    f->makeImage();
    return f;
}

inline TiffData *constantFrame(int w, int h, double energy, int v)
{
    return makeFrame(w, h, energy, [v](int, int) { return v; });
}
