#pragma once

#include "input/TiffData.h"

#include <QVector>

#include <functional>

// Frames built in memory for the tests: 16-bit samples, value(x, y) per pixel.
inline TiffData *makeFrame(int w, int h, double energy,
                           const std::function<int(int x, int y)> &value,
                           const QString &name = QString())
{
    QVector<quint16> samples(w * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            samples[y * w + x] = quint16(value(x, y));
    TiffData *f = TiffData::fromSamples(w, h, samples.constData(), name);
    f->energy = energy;
    return f;
}

inline TiffData *constantFrame(int w, int h, double energy, int v)
{
    return makeFrame(w, h, energy, [v](int, int) { return v; });
}
