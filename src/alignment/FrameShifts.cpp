#include "alignment/FrameShifts.h"

#include "input/TiffData.h"

TiffData *alignmentFrame(const QVector<TiffData *> &i1, int selected)
{
    return selected >= 0 && selected < i1.size() ? i1[selected] : nullptr;
}

bool setFrameShift(const QVector<TiffData *> &i1, int selected, int dx, int dy)
{
    TiffData *f = alignmentFrame(i1, selected);
    if (!f)
        return false;
    f->shiftX = dx;
    f->shiftY = dy;
    return true;
}

void clearFrameShifts(const QVector<TiffData *> &i1)
{
    for (TiffData *f : i1) {
        if (f) {
            f->shiftX = 0;
            f->shiftY = 0;
        }
    }
}
