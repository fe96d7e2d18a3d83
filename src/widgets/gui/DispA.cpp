#include "widgets/gui/DispA.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

DispA::DispA(QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setMouseTracking(true);
}

QPointF DispA::realMousePos() const
{
    if (realHeld)
        return realPos;
    const QPoint p = mouseState.pos();
    return QPointF(converter.s2rx(p.x()), converter.s2ry(p.y()));
}

void DispA::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), fillColor);
    emit drawImage1(&p);
    emit drawImage2(&p);
    // The frame line goes over the picture.
    drawFrame(&p);
}

void DispA::mouseMoveEvent(QMouseEvent *e)
{
    if (e->modifiers() & Qt::AltModifier)
        return;
    realHeld = false;
    mouseState.recordMove(e->localPos(), e->buttons(), e->modifiers());
    emit mouseMoved0();
    update();
}

void DispA::mousePressEvent(QMouseEvent *e)
{
    realHeld = false;
    mouseState.recordPress(e->localPos(), e->button(), e->modifiers());
    emit mousePressed0();
}

void DispA::mouseReleaseEvent(QMouseEvent *e)
{
    realHeld = false;
    mouseState.recordRelease(e->localPos(), e->button(), e->modifiers());
    emit mouseReleased0();
}

void DispA::mouseDoubleClickEvent(QMouseEvent *e)
{
    realHeld = false;
    mouseState.recordDoubleClick(e->localPos(), e->button(), e->modifiers());
    emit mouseDoubleClicked0();
}

void DispA::wheelEvent(QWheelEvent *e)
{
    const int delta = e->angleDelta().y();
    // A sideways scroll has no vertical part: it is no zoom in either way.
    if (delta == 0) {
        e->ignore();
        return;
    }
    steps = delta / 8.0 / 15.0;
    factor = steps < 0 ? 1.1 : 1.0 / 1.1;
    wheelAt = e->position();
    emit wheelMoved0();
}

void DispA::setScreenMousePos(int x, int y)
{
    realHeld = false;
    mouseState.setPos(QPointF(x, y));
    emit mouseMoved0();
    update();
}

void DispA::setRealMousePos(double x, double y)
{
    mouseState.setPos(QPointF(converter.r2sx(x), converter.r2sy(y)));
    realHeld = true;
    realPos = QPointF(x, y);
    emit mouseMoved0();
    update();
}
