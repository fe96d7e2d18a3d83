#pragma once

#include "widgets/gui/DispA.h"

#include <QImage>
#include <QRectF>

// A plain display for processed pictures (edge and binary images of the
// alignment window): it shows its own picture stretched from its view
// window over the widget, reports the image position under the mouse with
// mouseMoved(x, y) and zooms with the wheel around the point under the
// mouse. Setting a picture shows all of it.
class ProcDispA : public DispA
{
    Q_OBJECT
public:
    explicit ProcDispA(QWidget *parent = nullptr);
    QSize sizeHint() const override { return QSize(400, 400); }
    QSize minimumSizeHint() const override { return QSize(64, 64); }

    void setPicture(const QImage &picture);
    const QImage &picture() const { return pic; }
    // View window = the whole picture.
    void resetView();
    QRectF viewWindow() const { return QRectF(vx, vy, vw, vh); }

signals:
    void mouseMoved(double x, double y);

public slots:
    void drawOnScreen(QPainter *p);
    void onMousePressed();
    void onMouseReleased();
    void onMouseMoved();
    void onWheelMoved();

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    void updateConverter();

    QImage pic;
    double vx = 0.0, vy = 0.0, vw = 0.0, vh = 0.0;
};
