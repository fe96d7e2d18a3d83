#pragma once

#include "input/TiffData.h"

#include <QRandomGenerator>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

// A size x size frame at `energy` with an edge near 7112 eV: I1 drops behind
// it, with some noise per pixel; I0 is flat. Exits when there is no memory.
inline TiffData *edgeFrame(int size, double energy, bool i1, quint32 seed)
{
    QRandomGenerator rng(seed);
    const double edge = 1.0 / (1.0 + std::exp(-(energy - 7112.0) / 3.0));
    const double level =
        i1 ? 30000.0 * std::exp(-0.4 - 1.2 * edge - 2e-4 * (energy - 7000)) : 40000.0;
    std::vector<quint16> samples(size_t(size) * size);
    for (quint16 &v : samples)
        v = quint16(level + rng.bounded(200));
    TiffData *f = TiffData::fromSamples(size, size, samples.data());
    if (!f) {
        std::fprintf(stderr, "no memory for a frame\n");
        std::exit(1);
    }
    f->energy = energy;
    return f;
}

// CPU time of the process, which a busy machine disturbs less than the wall
// clock (the work measured runs in this thread only).
inline double cpuSeconds()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}
