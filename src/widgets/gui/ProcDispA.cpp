#include "widgets/gui/ProcDispA.h"

#include <QPainter>

ProcDispA::ProcDispA(QWidget *parent)
    : DispA(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    connect(this, &DispA::drawImage1, this, &ProcDispA::drawOnScreen);
    connect(this, &DispA::mousePressed0, this, &ProcDispA::onMousePressed);
    connect(this, &DispA::mouseReleased0, this, &ProcDispA::onMouseReleased);
    connect(this, &DispA::mouseMoved0, this, &ProcDispA::onMouseMoved);
    connect(this, &DispA::wheelMoved0, this, &ProcDispA::onWheelMoved);
}

void ProcDispA::setPicture(const QImage &picture)
{
    pic = picture;
    resetView();
}

void ProcDispA::resetView()
{
    vx = vy = 0.0;
    vw = pic.width();
    vh = pic.height();
    updateConverter();
    update();
}

void ProcDispA::updateConverter()
{
    coord().setScreenArea(0, 0, width(), height());
    coord().setRealArea(vx, vy, vx + vw, vy + vh);
}

void ProcDispA::resizeEvent(QResizeEvent *e)
{
    DispA::resizeEvent(e);
    updateConverter();
}

void ProcDispA::drawOnScreen(QPainter *p)
{
    if (!pic.isNull() && vw != 0.0 && vh != 0.0)
        p->drawImage(QRectF(0, 0, width(), height()), pic, QRectF(vx, vy, vw, vh));
    updateConverter();
}

void ProcDispA::onMousePressed()
{
    update();
}

void ProcDispA::onMouseReleased()
{
    update();
}

void ProcDispA::onMouseMoved()
{
    const QPointF r = realMousePos();
    emit mouseMoved(r.x(), r.y());
}

void ProcDispA::onWheelMoved()
{
    if (!wheelEnabled())
        return;
    const double f = zoomFactor();
    const double fx = wheelPos().x() / (width() > 0 ? width() : 1);
    const double fy = wheelPos().y() / (height() > 0 ? height() : 1);
    vx = (fx * vw + vx) - fx * vw * f;
    vy = (fy * vh + vy) - fy * vh * f;
    vw *= f;
    vh *= f;
    updateConverter();
    update();
}
