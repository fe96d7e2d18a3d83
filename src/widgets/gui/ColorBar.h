#pragma once

#include "input/GreyScale.h"
#include "widgets/gui/DispA.h"

#include <QImage>

// The colour bar: a grey ramp with two handles that stretch the mapping
// from a normalized value to 8-bit grey for every picture of the program.
// There is one program-wide bar (instance()); frames point at its
// greyScale() so their pictures follow the handles.
//
// The user drags the handle nearer to the press point (a press exactly
// midway between them drags nothing). Dragging one handle past the other
// inverts the ramp between them. While a handle moves, cBarUpdating is
// emitted on every mouse move (re-render what is on show); when the drag
// ends, cBarUpdated. Every move counts in greyScale()'s generation, so the
// pictures built under the old handles know they are stale.
//
// On screen the values at the two handles are written beside their lines
// (not into the picture; a handle at an end has the picture's label), and a
// double click brings the handles back to the full range (0 and 1,
// announced as the end of a drag).
//
// The bar's picture (20 x 600 pixels) carries the handle lines and the
// labels of the value range (setRange): the upper value at the top, the
// lower at the bottom, and the value under the active handle in the middle
// while it is dragged. The picture is what is saved beside an image.
class ColorBar : public DispA
{
    Q_OBJECT
public:
    enum Handle { NoHandle = 0, LowerHandle = 1, UpperHandle = 2 };
    static constexpr int BarWidth = 20;
    static constexpr int BarHeight = 600;

    explicit ColorBar(QWidget *parent = nullptr);
    ~ColorBar() override;
    QSize sizeHint() const override { return QSize(30, 480); }
    QSize minimumSizeHint() const override { return QSize(BarWidth, 120); }

    // The program-wide bar: the first one made (null before and after it).
    static ColorBar *instance();

    const GreyScale *greyScale() const { return &scale; }
    // Handle positions as fractions of the bar height from the bottom.
    double lower() const { return scale.lower; }
    double upper() const { return scale.upper; }
    void setHandles(double lower, double upper);

    // The value range written in the labels (0 and 1 at the start).
    void setRange(double min, double max);
    double rangeMin() const { return labelMin; }
    double rangeMax() const { return labelMax; }

    // The value of the range at a handle position.
    double valueAt(double h) const { return labelMin + (labelMax - labelMin) * h; }
    // Handles back at 0 and 1, announced by cBarUpdated.
    void resetHandles();

    int activeHandle() const { return active; }
    bool isDragging() const { return dragging; }
    const QImage &picture() const { return bar; }

signals:
    void cBarUpdated();
    void cBarUpdating();

public slots:
    void paintCBar();
    void draw1(QPainter *p);
    void onMouseMoved();
    void onMousePressed();
    void onMouseReleased();
    void onMouseDoubleClicked();
    // The grey level of bar row h (0 at the bottom).
    int colorOfH(int h);

private:
    double heightFraction() const;

    GreyScale scale;
    double labelMin = 0.0, labelMax = 1.0;
    int active = NoHandle;
    bool dragging = false;
    QImage bar;
};
