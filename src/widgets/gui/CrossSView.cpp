#include "widgets/gui/CrossSView.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

CrossSView::CrossSView(QWidget *parent)
    : DispA(parent)
{
    setWheelEnabled(false);
    setDragEnabled(false);
    fillColor = QColor(24, 24, 24);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(this, &DispA::drawImage1, this, &CrossSView::drawCurve);
}

void CrossSView::setOrientation(Qt::Orientation o)
{
    orient = o;
    // Long along the positions, so it can line up with the display.
    if (o == Qt::Horizontal)
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    else
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    updateGeometry();
    update();
}

QSize CrossSView::sizeHint() const
{
    return orient == Qt::Horizontal ? QSize(480, 64) : QSize(64, 480);
}

QSize CrossSView::minimumSizeHint() const
{
    return orient == Qt::Horizontal ? QSize(64, 32) : QSize(32, 64);
}

void CrossSView::setPositionRange(double lo, double hi)
{
    posLo = lo;
    posHi = hi;
    update();
}

void CrossSView::setProfile(const QVector<QPointF> &points)
{
    pts = points;
    update();
}

void CrossSView::clearProfile()
{
    pts.clear();
    update();
}

void CrossSView::setOffset(double offset)
{
    off = offset;
    update();
}

void CrossSView::setMarker(double position)
{
    mark = position;
    update();
}

void CrossSView::drawCurve(QPainter *p)
{
    const bool horiz = orient == Qt::Horizontal;
    double lo = posLo, hi = posHi;
    double vMin = 1e300, vMax = -1e300;
    double pMin = 1e300, pMax = -1e300;
    for (const QPointF &q : pts) {
        const double v = q.y() - off;
        if (!std::isfinite(v) || !std::isfinite(q.x()))
            continue;
        vMin = qMin(vMin, v);
        vMax = qMax(vMax, v);
        pMin = qMin(pMin, q.x());
        pMax = qMax(pMax, q.x());
    }
    if (lo == hi) {
        lo = pMin;
        hi = pMax;
    }
    if (!(hi > lo) && !(lo > hi)) {
        // A single position (or none): a unit span around it.
        lo = (pMin <= pMax ? pMin : 0.0) - 0.5;
        hi = lo + 1.0;
    }
    if (vMax < vMin) {
        vMin = 0.0;
        vMax = 1.0;
    } else if (vMax == vMin) {
        vMin -= 0.5;
        vMax += 0.5;
    }
    const double pad = 0.05 * (vMax - vMin);
    vMin -= pad;
    vMax += pad;

    const int W = width(), H = height();
    ChCoord &c = coord();
    c.setScreenArea(0, 0, W, H);
    if (horiz)
        c.setRealArea(lo, vMax, hi, vMin);
    else
        c.setRealArea(vMin, lo, vMax, hi);

    p->save();
    p->setRenderHint(QPainter::Antialiasing, true);
    QPainterPath path;
    bool started = false;
    for (const QPointF &q : pts) {
        const double v = q.y() - off;
        if (!std::isfinite(v) || !std::isfinite(q.x())) {
            started = false;
            continue;
        }
        const QPointF s =
            horiz ? QPointF(c.r2sx(q.x()), c.r2sy(v)) : QPointF(c.r2sx(v), c.r2sy(q.x()));
        if (started)
            path.lineTo(s);
        else
            path.moveTo(s);
        started = true;
    }
    p->setPen(QPen(QColor(0, 255, 128), 1));
    p->setBrush(Qt::NoBrush);
    p->drawPath(path);

    p->setRenderHint(QPainter::Antialiasing, false);
    p->setPen(QPen(QColor(192, 192, 0), 1));
    if (horiz) {
        const double x = c.r2sx(mark);
        p->drawLine(QPointF(x, 0), QPointF(x, H));
    } else {
        const double y = c.r2sy(mark);
        p->drawLine(QPointF(0, y), QPointF(W, y));
    }
    p->restore();
}
