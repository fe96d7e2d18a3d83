#pragma once

#include <QtGlobal>

// The rule by which every picture turns a normalized value t into 8-bit grey.
// The two handles of the colour bar (lower, upper) stretch the ramp: t is
// mapped to (t - lower) / (upper - lower), clamped to 0..1, and the grey
// level is the integer part of that times 256, clamped to 255. A lower
// handle above the upper one inverts the ramp. With both handles at the same
// place the ramp is a step at that place.
quint8 greyLevel(double t, double lower, double upper);

// The handles of a colour bar. The colour-bar widget keeps one of these and
// frames keep a pointer to it (not owned) so their pictures follow the bar.
struct GreyScale
{
    double lower = 0.0;
    double upper = 1.0;
    // Counts the moves of the handles: a picture built under another count
    // is stale. Whoever moves a handle counts it (bump).
    quint64 generation = 0;
    void bump() { ++generation; }
    quint8 grey(double t) const { return greyLevel(t, lower, upper); }
};
