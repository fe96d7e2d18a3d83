#pragma once

#include "widgets/gui/DispA.h"

#include <QImage>
#include <QPointer>
#include <QRectF>

class ColorBar;
class TiffData;

// The main image display. It shows the picture of a frame (or, with the
// overlay on, an overlay picture such as a result map) from its view window
// with square pixels, as large as the widget allows and centred in it (or,
// with the aspect not kept, stretched over the whole widget), and keeps the
// selected area.
//
// Gestures (the meaning of a drag is fixed by the keys held at its press):
//   left drag             select an area (a click alone moves the area's
//                         corner and gives it size 0; only an area with
//                         width and height becomes "present")
//   Ctrl + left drag      select an area and zoom to it
//   Shift + left drag     pan the view window
//   right click           clear the selection (the zoom stays)
//   wheel                 zoom around the point under the mouse (towards
//                         the user: out, away: in)
//   Alt held              mouse moves are ignored: the position stays
//
// Signals for the window that embeds it:
//   mouseMoved(x, y)   the position under the mouse in image pixels (real
//                      numbers; truncate them for a pixel index), while no
//                      button is held, and the position given to
//                      setRealMousePos exactly as it was given;
//   mouseDragged(x, y) the same during a drag;
//   areaSelected(rect) a drag ended with a present selected area (image
//                      pixels, corners ordered);
//   and DispA's mouseMoved0 (every position change; realMousePos() gives
//   its image position, exact for a position set by setRealMousePos) and
//   drawImage2 (a pass for markers over the picture, such as the finished
//   selected area, in screen coordinates through coord()).
class ImgDispA : public DispA
{
    Q_OBJECT
public:
    explicit ImgDispA(QWidget *parent = nullptr);
    QSize sizeHint() const override { return QSize(480, 480); }
    QSize minimumSizeHint() const override { return QSize(64, 64); }

    // The frame shown (not owned; null shows nothing). Its picture is made
    // at the first paint that shows it and made again at a paint after it
    // went stale (colour bar moved), so re-rendering needs only a repaint.
    // The first frame sets the view window to the whole frame; later
    // frames keep it.
    void setFrame(TiffData *frame);
    TiffData *frame() const { return shownFrame; }
    // Forgets the frame and the overlay picture (before frames are freed).
    void clear();

    // The picture shown while the overlay is on, and its display range,
    // which the colour bar's labels take while the overlay is drawn.
    void setOverlay(const QImage &picture, double displayMin, double displayMax);
    bool showOverlayer() const { return overlayOn; }
    // The bar whose labels follow the overlay's range; by default the
    // program-wide one (ColorBar::instance()).
    void setColorBar(ColorBar *bar);

    // Square pixels (the default) or the picture stretched over the widget.
    bool keepsAspect() const { return keepAspect; }
    void setKeepAspect(bool on);
    // Where the view window lands on the widget: the whole widget when
    // stretched or with nothing to show.
    QRect pictureRect() const;

    QRectF viewWindow() const { return QRectF(vx, vy, vw, vh); }
    void setViewWindow(const QRectF &r);
    bool isSelecting() const { return selecting; }
    bool hasSelection() const { return selectionPresent; }
    // In image pixels; while a drag is under way the size may be negative.
    QRectF selectedArea() const { return QRectF(ax, ay, aw, ah); }

    // The picture on show (overlay or frame) cut to the view window at the
    // picture's resolution; null when there is none.
    QImage currentPicture() const;

signals:
    void mouseMoved(double x, double y);
    void mouseDragged(double x, double y);
    void areaSelected(const QRectF &area);

public slots:
    void drawImage(QPainter *p);
    void onMousePressed();
    void onMouseReleased();
    void onMouseMoved();
    void onWheelMoved();
    void resetImageViewWindow();
    void setShowOverlayer(bool f);
    void setSelectedArea(int x1, int y1, int x2, int y2);
    void setViewWAsSelectedArea();

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    const QImage *shownPicture() const;
    QPointF realAt(const QPointF &screen) const;
    void updateConverter();

    TiffData *shownFrame = nullptr;
    QPointer<ColorBar> cBar;
    bool overlayOn = false;
    bool keepAspect = true;
    QImage overlay;
    double overlayMin = 0.0, overlayMax = 1.0;
    double vx = 0.0, vy = 0.0, vw = 0.0, vh = 0.0;
    bool selecting = false;
    bool selectionPresent = false;
    double ax = 0.0, ay = 0.0, aw = 0.0, ah = 0.0;
};
