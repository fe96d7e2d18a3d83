#include "widgets/gui/ImgDispA.h"

#include "input/TiffData.h"
#include "widgets/gui/ColorBar.h"

#include <QPainter>

ImgDispA::ImgDispA(QWidget *parent)
    : DispA(parent)
{
    // The display takes whatever room its window has to spare.
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setWhatsThis(tr("Move the mouse over the image to show the spectrum under it; hold Alt to keep "
                    "the position.\n"
                    "Drag: select an area. Ctrl+drag: select an area and zoom to it. Shift+drag: "
                    "move the view.\n"
                    "Right click: clear the selection. Wheel: zoom around the mouse."));
    connect(this, &DispA::drawImage1, this, &ImgDispA::drawImage);
    connect(this, &DispA::mousePressed0, this, &ImgDispA::onMousePressed);
    connect(this, &DispA::mouseReleased0, this, &ImgDispA::onMouseReleased);
    connect(this, &DispA::mouseMoved0, this, &ImgDispA::onMouseMoved);
    connect(this, &DispA::wheelMoved0, this, &ImgDispA::onWheelMoved);
}

void ImgDispA::setColorBar(ColorBar *bar)
{
    cBar = bar;
}

void ImgDispA::setFrame(TiffData *frame)
{
    shownFrame = frame;
    if (frame && vw == 0.0) {
        vx = vy = 0.0;
        vw = frame->width();
        vh = frame->height();
    }
    updateConverter();
    update();
}

void ImgDispA::clear()
{
    shownFrame = nullptr;
    overlay = QImage();
    // The next stack may have another size: its first frame sets the view
    // window afresh, as the very first frame did.
    vx = vy = vw = vh = 0.0;
    updateConverter();
    update();
}

void ImgDispA::setOverlay(const QImage &picture, double displayMin, double displayMax)
{
    overlay = picture;
    overlayMin = displayMin;
    overlayMax = displayMax;
    update();
}

void ImgDispA::setViewWindow(const QRectF &r)
{
    vx = r.x();
    vy = r.y();
    vw = r.width();
    vh = r.height();
    updateConverter();
    update();
}

const QImage *ImgDispA::shownPicture() const
{
    if (overlayOn)
        return overlay.isNull() ? nullptr : &overlay;
    // The frame's picture is made on first show, and again when the colour
    // bar or the shift has moved since; otherwise this costs nothing.
    if (shownFrame && !shownFrame->picture().isNull())
        return &shownFrame->picture();
    return nullptr;
}

QImage ImgDispA::currentPicture() const
{
    const QImage *pic = shownPicture();
    if (!pic)
        return QImage();
    const int x0 = int(vx), y0 = int(vy);
    const int x1 = int(vx + vw), y1 = int(vy + vh);
    return pic->copy(QRect(x0, y0, x1 - x0, y1 - y0));
}

void ImgDispA::setKeepAspect(bool on)
{
    keepAspect = on;
    updateConverter();
    update();
}

QRect ImgDispA::pictureRect() const
{
    const QRect all(0, 0, width(), height());
    if (!keepAspect || vw <= 0.0 || vh <= 0.0 || all.isEmpty())
        return all;
    // Whole screen pixels, so that the converter (which keeps integer
    // screen edges) and realAt map alike; the scales of the two axes then
    // differ by less than a screen pixel over the picture.
    const double scale = qMin(width() / vw, height() / vh);
    const int w = qBound(1, qRound(vw * scale), width());
    const int h = qBound(1, qRound(vh * scale), height());
    return QRect((width() - w) / 2, (height() - h) / 2, w, h);
}

QPointF ImgDispA::realAt(const QPointF &s) const
{
    const QRect r = pictureRect();
    const double W = r.width() > 0 ? r.width() : 1;
    const double H = r.height() > 0 ? r.height() : 1;
    return QPointF((s.x() - r.left()) / W * vw + vx, (s.y() - r.top()) / H * vh + vy);
}

void ImgDispA::updateConverter()
{
    const QRect r = pictureRect();
    coord().setScreenArea(r.left(), r.top(), r.left() + r.width(), r.top() + r.height());
    coord().setRealArea(vx, vy, vx + vw, vy + vh);
}

void ImgDispA::resizeEvent(QResizeEvent *e)
{
    DispA::resizeEvent(e);
    updateConverter();
}

void ImgDispA::drawImage(QPainter *p)
{
    if (overlayOn) {
        ColorBar *bar = cBar ? cBar.data() : ColorBar::instance();
        if (bar)
            bar->setRange(overlayMin, overlayMax);
    }
    const QImage *pic = shownPicture();
    updateConverter();
    if (pic && vw != 0.0 && vh != 0.0)
        p->drawImage(QRectF(pictureRect()), *pic, QRectF(vx, vy, vw, vh));

    // The rubber band of a drag under way; a finished area is marked by the
    // owner's second pass (drawImage2), which knows its colours.
    if (selecting) {
        const ChCoord &c = coord();
        const QRectF r(QPointF(c.r2sx(ax), c.r2sy(ay)), QPointF(c.r2sx(ax + aw), c.r2sy(ay + ah)));
        p->save();
        p->setPen(QPen(QColor(192, 192, 255), 1, Qt::DashLine));
        p->setBrush(Qt::NoBrush);
        p->drawRect(r.normalized());
        p->restore();
    }
}

void ImgDispA::onMousePressed()
{
    const int m = mouse().pressMode();
    if (m == 0 || m == 2) {
        selecting = true;
        const QPointF r = realAt(mouse().pressed().pos);
        ax = r.x();
        ay = r.y();
        aw = ah = 0.0;
    } else if (m == 8) {
        selecting = false;
        selectionPresent = false;
        ax = ay = aw = ah = 0.0;
    }
    update();
}

void ImgDispA::onMouseMoved()
{
    // A position set by the program is never part of a drag.
    if (!mouse().isPressed() || holdsRealPos()) {
        const QPointF r = realMousePos();
        emit mouseMoved(r.x(), r.y());
        return;
    }
    const QPointF r = realAt(mouse().pos());
    if (shownPicture()) {
        const int m = mouse().pressMode();
        if (selecting && (m == 0 || m == 2)) {
            aw = r.x() - ax;
            ah = r.y() - ay;
        } else if (m == 1 && dragEnabled()) {
            const QRect pr = pictureRect();
            const double W = pr.width() > 0 ? pr.width() : 1;
            const double H = pr.height() > 0 ? pr.height() : 1;
            const QPoint prev = mouse().previousPos(), now = mouse().pos();
            vx += (prev.x() - now.x()) / W * vw;
            vy += (prev.y() - now.y()) / H * vh;
            updateConverter();
        }
    }
    emit mouseDragged(r.x(), r.y());
    update();
}

void ImgDispA::onMouseReleased()
{
    const int m = mouse().pressMode();
    if (selecting && (m == 0 || m == 2)) {
        selecting = false;
        // A release away from the last move still ends the area there.
        const QPointF r = realAt(mouse().released().pos);
        aw = r.x() - ax;
        ah = r.y() - ay;
        if (aw < 0) {
            ax += aw;
            aw = -aw;
        }
        if (ah < 0) {
            ay += ah;
            ah = -ah;
        }
        if (aw != 0.0 && ah != 0.0) {
            selectionPresent = true;
            if (m == 2)
                setViewWindow(selectedArea());
            emit areaSelected(selectedArea());
        }
    }
    update();
}

void ImgDispA::onWheelMoved()
{
    if (!wheelEnabled())
        return;
    const double f = zoomFactor();
    const QRect pr = pictureRect();
    const double W = pr.width() > 0 ? pr.width() : 1;
    const double H = pr.height() > 0 ? pr.height() : 1;
    const double fx = (wheelPos().x() - pr.left()) / W;
    const double fy = (wheelPos().y() - pr.top()) / H;
    vx = (fx * vw + vx) - fx * vw * f;
    vy = (fy * vh + vy) - fy * vh * f;
    vw *= f;
    vh *= f;
    updateConverter();
    update();
}

void ImgDispA::resetImageViewWindow()
{
    if (shownFrame)
        setViewWindow(QRectF(0, 0, shownFrame->width(), shownFrame->height()));
    else if (!overlay.isNull())
        setViewWindow(QRectF(0, 0, overlay.width(), overlay.height()));
    else
        update();
}

void ImgDispA::setShowOverlayer(bool f)
{
    overlayOn = f;
    update();
}

void ImgDispA::setSelectedArea(int x1, int y1, int x2, int y2)
{
    ax = x1;
    ay = y1;
    aw = x2 - x1;
    ah = y2 - y1;
    selectionPresent = true;
    update();
}

void ImgDispA::setViewWAsSelectedArea()
{
    if (selectionPresent)
        setViewWindow(selectedArea());
    update();
}
