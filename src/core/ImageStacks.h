#pragma once

#include "core/SpectrumSource.h"
#include "spectrum/SpectrumPoints.h"

#include <QString>
#include <QVector>

#include <limits>

class TiffData;

// The data of one measurement: the I1 stack (transmitted or fluorescence
// frames), the I0 stack (incident beam frames) and an optional dark frame,
// together with the absorption rule that turns a window of pixels into a
// spectrum. No absorption image is kept; every spectrum, profile and per-bin
// value is computed on demand from window sums of the frames.
//
// The stacks own their frames. Positions are bounded by the data size, which
// follows the first I1 frame.
class ImageStacks
{
public:
    enum Stack { I1 = 0, I0 = 1 };

    // The thinning of a file list handed to a loader: every skip-th file,
    // without the first cutFirst and the last cutLast files.
    struct LoadRequest
    {
        int skip = 1;
        int cutFirst = 0;
        int cutLast = 0;
    };

    ImageStacks() = default;
    ~ImageStacks();
    ImageStacks(const ImageStacks &) = delete;
    ImageStacks &operator=(const ImageStacks &) = delete;

    // Takes ownership of the frame and appends it (null is ignored). Storing
    // an I1 frame copies the data size from the first I1 frame.
    void appendI1(TiffData *frame);
    void appendI0(TiffData *frame);
    // Destroys every frame of a stack.
    void clearI1();
    void clearI0();

    // Drops any dark frame, then reads the file (TIFF, IMG or KVMX text,
    // chosen by its first bytes). A file that cannot be read leaves no dark
    // frame and gives false.
    bool loadDark(const QString &fileName);
    void clearDark();

    const QVector<TiffData *> &i1() const { return i1Frames; }
    const QVector<TiffData *> &i0() const { return i0Frames; }
    const QVector<TiffData *> &stack(Stack s) const { return s == I1 ? i1Frames : i0Frames; }
    // Frame `index` of a stack, null when the index is out of range.
    TiffData *frame(Stack s, int index) const;
    const TiffData *dark() const { return darkFrame; }
    bool hasDark() const { return darkFrame != nullptr; }

    int dataWidth() const { return width; }
    int dataHeight() const { return height; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

    // Unchecked: transmission, ln(I0 / I1). Checked: fluorescence, I1 / I0.
    bool fluorescence() const { return fluo; }
    void setFluorescence(bool f) { fluo = f; }

    // The spectrum source over the stacks as they are now: the absorption
    // rule, the raw I1 trace and I0 at an energy for any window (see
    // SpectrumSource). It keeps pointers to the frames, so it is valid until
    // a stack or the dark frame changes.
    SpectrumSource source() const;

    // Shorthands for one window through source().
    double i0At(double e, int x, int y, int hw, int hh) const;
    SpectrumPoints absorption(int x, int y, int hw, int hh) const;
    SpectrumPoints rawI1(int x, int y, int hw, int hh) const;

    // Profiles of frame `index` of a stack: the column profile runs down
    // column x (one point (row, value) per row), the row profile along row y
    // (one point (column, value) per column). Each value comes from the
    // window (hw, hh) around the point: for I1 the absorption ln(I0 / I1)
    // without dark and fluorescence, for I0 the window sum itself. Any half
    // size is taken; the work is bounded by the frame, not by the window.
    SpectrumPoints columnProfile(Stack s, int index, int x, int hw, int hh) const;
    SpectrumPoints rowProfile(Stack s, int index, int y, int hw, int hh) const;

    // The sample of a frame at image position (x, y), read through the
    // frame's shift; 0 outside the frame or without a frame.
    static double sampleAt(const TiffData *frame, int x, int y);

    // A typed half size as the extent of a window over `size` pixels: its
    // absolute value, at most size (a window of that half size around any
    // pixel of the data already covers all of it). Safe for every int, the
    // most negative one included.
    static int boundedHalfSize(int half, int size = std::numeric_limits<int>::max());

    // Reads the panel's Skip, Cut F. and Cut L. texts as base-10 integers
    // (text that does not parse is 0) and clamps them: skip at least 1, cuts
    // at least 0.
    static LoadRequest loadRequest(const QString &skip, const QString &cutFirst,
                                   const QString &cutLast);
    static LoadRequest loadRequest(int skip, int cutFirst, int cutLast);

private:
    SpectrumPoints profile(Stack s, int index, bool rowLine, int line, int hw, int hh) const;

    QVector<TiffData *> i1Frames;
    QVector<TiffData *> i0Frames;
    TiffData *darkFrame = nullptr;
    int width = 0;
    int height = 0;
    bool fluo = false;
};

// A number written with a "," before every further group of three digits
// left of the decimal point; a leading minus sign stays in front and is not
// counted: "1234567.89" gives "1,234,567.89", "-123456.70" "-123,456.70".
QString withThousandsSeparators(const QString &number);

// The pixel value under the mouse as the main window shows it: 2 decimals
// with thousands separators ("1,234,567.89").
QString pixelValueText(double v);
// The dark value under the mouse: 6 significant digits with thousands
// separators ("12,345").
QString darkValueText(double v);
