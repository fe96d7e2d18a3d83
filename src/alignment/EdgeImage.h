#pragma once

#include <QtGlobal>

#include <memory>

class TiffData;

// The edge image of a frame: per pixel the larger of the absolute horizontal
// and vertical gradients over its 3 x 3 neighbourhood, row by row, with its
// value range. The range starts at the largest double and the smallest
// positive one before the pass over the pixels, as every image range of the
// program does.
class EdgeImage
{
public:
    EdgeImage() = default;
    EdgeImage(EdgeImage &&) = default;
    EdgeImage &operator=(EdgeImage &&) = default;

    // The edges of the frame read through its shift; pixels outside the
    // frame count 0. Empty (logged) when the frame has no pixels or the
    // memory cannot be had.
    static EdgeImage of(const TiffData &frame);

    bool isEmpty() const { return !data; }
    int width() const { return w; }
    int height() const { return h; }
    double minimum() const { return lo; }
    double maximum() const { return hi; }
    // Unchecked: 0 <= x < width(), 0 <= y < height().
    double at(int x, int y) const { return data[qint64(y) * w + x]; }
    const double *row(int y) const { return data.get() + qint64(y) * w; }

private:
    std::unique_ptr<double[]> data;
    int w = 0;
    int h = 0;
    double lo = 1.7976931348623157e308;
    double hi = 2.2250738585072014e-308;
};

// The threshold slider of the binarization runs over 0 ... binSliderMax and
// stands for a fraction position / 1000 of the edge range.
constexpr int binSliderMax = 999;

// The threshold at a slider position: minEdge + (maxEdge - minEdge) * position
// / 1000.
double binThresholdAt(double minEdge, double maxEdge, int position);
// The slider position of a typed threshold: the integer part of
// (threshold - minEdge) / (maxEdge - minEdge) * 1000, kept within the slider.
// A range without width (a constant edge image) and a quotient that is not a
// number give 0.
int binSliderPosition(double minEdge, double maxEdge, double threshold);
