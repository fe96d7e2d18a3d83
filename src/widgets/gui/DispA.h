#pragma once

#include "widgets/ChCoord.h"
#include "widgets/MouseC.h"

#include <QFrame>
#include <QPointF>

#include <QPainter>

// The painting surface under every display of the program. It turns Qt's
// paint, mouse and wheel events into signals and keeps the mouse state and
// the screen-to-real converter of the last paint.
//
// Painting: the widget is filled, then drawImage1 and drawImage2 are
// emitted with the painter, in that order (the display draws its picture in
// the first pass, the window that owns it draws markers in the second).
//
// Mouse: moves (ignored while Alt is held, so a position can be kept while
// the mouse travels), presses, releases and double clicks are recorded in
// mouse() and announced by mouseMoved0, mousePressed0, mouseReleased0 and
// mouseDoubleClicked0. A wheel turn sets wheelSteps() and zoomFactor() and
// emits wheelMoved0.
//
// The position can also be set by the program: setScreenMousePos with a
// widget position, setRealMousePos with a real (image) position. The real
// position is kept as it was given, not rounded through the screen, so a
// scripted position reaches the image pixel it names whatever the size of
// the widget and the zoom (realMousePos()).
class DispA : public QFrame
{
    Q_OBJECT
public:
    explicit DispA(QWidget *parent = nullptr);

    ChCoord &coord() { return converter; }
    const ChCoord &coord() const { return converter; }
    const MouseC &mouse() const { return mouseState; }

    bool wheelEnabled() const { return wheelOn; }
    void setWheelEnabled(bool f) { wheelOn = f; }
    bool dragEnabled() const { return dragOn; }
    void setDragEnabled(bool f) { dragOn = f; }

    // Notches of the last wheel event (negative: turned towards the user).
    double wheelSteps() const { return steps; }
    // 1.1 for a wheel turned towards the user, 1 / 1.1 away from the user.
    double zoomFactor() const { return factor; }
    // Widget position of the last wheel event.
    QPointF wheelPos() const { return wheelAt; }

    // True while the current position is one set by setRealMousePos (a
    // mouse event or setScreenMousePos ends that).
    bool holdsRealPos() const { return realHeld; }
    // The real position of the current mouse position: the one given to
    // setRealMousePos while it is held, else the current screen position
    // through the converter.
    QPointF realMousePos() const;

signals:
    void drawImage1(QPainter *p);
    void drawImage2(QPainter *p);
    void mouseMoved0();
    void mousePressed0();
    void mouseReleased0();
    void mouseDoubleClicked0();
    void wheelMoved0();

public slots:
    void setScreenMousePos(int x, int y);
    void setRealMousePos(double x, double y);

protected:
    void paintEvent(QPaintEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;

    // Colour the surface is filled with before the two passes.
    QColor fillColor = QColor(48, 48, 48);

private:
    ChCoord converter;
    MouseC mouseState;
    bool wheelOn = true;
    bool dragOn = true;
    double steps = 0.0;
    double factor = 1.0;
    QPointF wheelAt;
    bool realHeld = false;
    QPointF realPos;
};
