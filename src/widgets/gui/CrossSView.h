#pragma once

#include "widgets/gui/DispA.h"

#include <QPointF>
#include <QVector>

// A cross-section view: a profile of (position, value) pairs drawn as a
// curve, with the positions along the view's long side and a marker line
// across at the current position.
//
// Horizontal: positions run left to right, values grow upwards (the row
// profile under the image). Vertical: positions run top to bottom, like
// image rows, and values grow to the right (the column profile beside the
// image). Give the view the display's view window as its position range so
// the profile lines up with the picture; without one it spans the profile.
// Values are drawn less the offset and scaled to the profile's own range.
class CrossSView : public DispA
{
    Q_OBJECT
public:
    explicit CrossSView(QWidget *parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    void setOrientation(Qt::Orientation o);
    Qt::Orientation orientation() const { return orient; }

    const QVector<QPointF> &profile() const { return pts; }
    double offset() const { return off; }
    double marker() const { return mark; }
    // Positions shown from lo to hi; lo == hi: the profile's own extent.
    void setPositionRange(double lo, double hi);

public slots:
    void setProfile(const QVector<QPointF> &points);
    void clearProfile();
    void setOffset(double offset);
    void setMarker(double position);
    void drawCurve(QPainter *p);

private:
    Qt::Orientation orient = Qt::Horizontal;
    QVector<QPointF> pts;
    double off = 0.0;
    double mark = 0.0;
    double posLo = 0.0, posHi = 0.0;
};
