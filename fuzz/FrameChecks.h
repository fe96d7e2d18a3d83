#pragma once

#include "FuzzInput.h"

#include "input/TiffData.h"

// What the program does with a frame once a reader accepted it: window sums
// (every spectrum is built from them, also at and beyond the borders), single
// samples and the picture.
namespace fuzz {

inline void useFrame(TiffData &frame)
{
    if (frame.width() < 0 || frame.height() < 0
        || qint64(frame.width()) * frame.height() > TiffData::maxFrameSamples)
        broken("an accepted frame is larger than any reader may accept");
    const int w = frame.width();
    const int h = frame.height();
    const int xs[] = {0, w / 2, w - 1, w, -1};
    const int ys[] = {0, h / 2, h - 1, h, -1};
    volatile double sink = 0.0;
    for (int x : xs) {
        for (int y : ys) {
            sink = sink + frame.windowSum(x, y, 1, 2);
            sink = sink + frame.value(y, x);
        }
    }
    frame.shiftX = 1;
    frame.shiftY = -1;
    sink = sink + frame.windowSum(w / 2, h / 2, 3, 3);
    frame.picture();
    (void)sink;
}

} // namespace fuzz
