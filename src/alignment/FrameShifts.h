#pragma once

#include <QVector>

class TiffData;

// The integer shifts of the I1 frames that the alignment finds. Every read of
// a frame's pixels goes through its shift, so changing one changes every
// absorption image, profile and spectrum made from the frame afterwards.
// I0 frames carry no shift.

// The frame the image processor works on: the selected I1 frame, whichever
// stack the display shows (a shift found on an I0 frame would be stored in
// an I1 frame); null when the index is out of range.
TiffData *alignmentFrame(const QVector<TiffData *> &i1, int selected);
// Sets the shift of the selected I1 frame only; false when there is no such
// frame.
bool setFrameShift(const QVector<TiffData *> &i1, int selected, int dx, int dy);
// Back to (0, 0) for every I1 frame.
void clearFrameShifts(const QVector<TiffData *> &i1);
