// Real mouse events through the window system: buttons and keys held in a move arrive.
#define QTEST_QPA_MOUSE_HANDLING

#include "FrameMaker.h"
#include "MouseEvents.h"
#include "widgets/gui/ColorBar.h"
#include "widgets/gui/CrossSView.h"
#include "widgets/gui/ImgDispA.h"
#include "widgets/MouseC.h"

#include <QtTest>

// 400 x 200: black left half, white right half, grey (128) block at columns 0..99, rows 100..199.
static QImage testPicture()
{
    QImage img(400, 200, QImage::Format_Grayscale8);
    for (int y = 0; y < 200; y++)
        for (int x = 0; x < 400; x++)
            img.scanLine(y)[x] = x >= 200 ? 255 : (x < 100 && y >= 100 ? 128 : 0);
    return img;
}

// A press at the first point, moves through the others, a release at the last.
static void drag(QWidget *w, Qt::KeyboardModifiers mods, const QVector<QPoint> &path)
{
    QTest::mousePress(w, Qt::LeftButton, mods, path.first());
    for (int i = 1; i < path.size(); i++)
        QTest::mouseMove(w, path[i]);
    QTest::mouseRelease(w, Qt::LeftButton, mods, path.last());
}

static QVector<int> greys(const QImage &shot, const QVector<QPoint> &at)
{
    QVector<int> g;
    for (const QPoint &p : at)
        g.append(qGray(shot.pixel(p)));
    return g;
}

// Pixels of the handle labels: green (range ends, moving handle) or amber (values at rest).
static int labelPixels(const QImage &img, int y0, int y1, bool amber)
{
    int n = 0;
    for (int y = qMax(0, y0); y < qMin(img.height(), y1); y++)
        for (int x = 0; x < img.width(); x++) {
            const QColor c = img.pixelColor(x, y);
            n += amber ? c.red() >= 200 && c.green() >= 120 && c.green() <= 230 && c.blue() <= 80
                       : c.green() > c.red() + 60 && c.green() > c.blue();
        }
    return n;
}

// The rows (along x) or columns (along y) where the green curve is drawn.
static QVector<int> curveAt(const QImage &img, int at, bool vertical)
{
    QVector<int> hits;
    for (int i = 0; i < (vertical ? img.width() : img.height()); i++) {
        const QColor c = vertical ? img.pixelColor(i, at) : img.pixelColor(at, i);
        if (c.green() > 100 && c.red() < 100)
            hits.append(i);
    }
    return hits;
}

class TestDisplays : public QObject
{
    Q_OBJECT
private slots:
    void coordinates()
    {
        ChCoord c;
        c.setScreenArea(0, 0, 400, 200);
        c.setRealArea(10.0, 5.0, 110.0, 105.0); // 4 screen px per real x, 2 per y
        QCOMPARE(QVector<double>({c.r2sx(10), c.r2sx(35), c.r2sy(55), c.s2rx(100), c.s2ry(50)}),
                 QVector<double>({0, 100, 100, 35, 30}));
        // A plot axis growing upwards: real y0 is the top value.
        c.setRealArea(0.0, 2.0, 1.0, -2.0);
        QCOMPARE(QVector<double>({c.r2sy(2), c.r2sy(-2), c.r2sy(1)}), QVector<double>({0, 200, 50}));
        // Degenerate axes give edges, never a division by zero.
        c.setRealArea(3.0, 3.0, 3.0, 3.0);
        QCOMPARE(c.r2sx(7.0), 0.0);
        c.setScreenArea(5, 5, 5, 5);
        QCOMPARE(c.s2rx(9.0), 3.0);
        // Margins 33.3, 16.65, 20.2, 15.15 -> 33, 16, 20, 15 px; one real unit per inner pixel.
        c.setScreenArea(0, 0, 333, 101);
        c.setMargins(0.1, 0.05, 0.2, 0.15);
        c.setRealArea(0.0, 0.0, 284.0, 66.0);
        QCOMPARE(QVector<int>({c.innerX0(), c.innerX1(), c.innerY0(), c.innerY1()}),
                 QVector<int>({33, 333 - 16, 20, 101 - 15}));
        QCOMPARE(QVector<double>({c.r2sx(0), c.r2sx(284), c.s2ry(20), c.s2ry(86)}),
                 QVector<double>({33, 317, 0, 66}));
        // Mouse positions round half up, also left of and above the widget.
        QCOMPARE(QVector<QPoint>({MouseC::roundPos({2.5, -2.5}), MouseC::roundPos({2.49, -2.51})}),
                 QVector<QPoint>({{3, -2}, {2, -3}}));
        c = ChCoord(); // tick steps
        c.setScreenArea(0, 0, 500, 300);
        c.setRealArea(7000.0, 3.0, 8000.0, -1.0); // 0.5 px per eV, 75 px per unit in y
        // 1, 2, 5, 10, 20, 50, 100 eV -> 0.5, 1, 2.5, 5, 10, 25, 50 px: the first over 40 is
        // 100 eV; 10 px is not over 10; 1e12 gives the largest, 5e7 x base; no base, no step.
        QCOMPARE(QVector<double>({c.tickStepX(1, 40), c.tickStepX(1, 10), c.tickStepX(1, 0.1),
                                  c.tickStepX(1, 1e12), c.tickStepX(0, 10), c.tickStepX(-1, 10)}),
                 QVector<double>({100, 50, 1, 5e7, 0, 0}));
        // y: 0.01 -> 0.75 px, ... 0.2 -> 15 px (a downward axis counts by length).
        QCOMPARE(c.tickStepY(0.01, 12.0), 0.2);
        c.setRealArea(1.0, 1.0, 1.0, 1.0);
        QCOMPARE(c.tickStepX(1.0, 10.0), 0.0);
        // lo, hi; step, first, last label. Leading digit 1 (step 10^3 x 0.2), 3; 5 to 7 give 1 x
        // decade, 8 and 9 give 2 x; 4; a bound on a multiple of an inexact step keeps its label.
        const double rows[][5] = {{6950, 7950, 200, 7000, 7800}, {-1.2, 2.5, 0.5, -1.0, 2.5},
                                  {0, 65, 10, 0, 60},            {0, 0.09, 0.02, 0, 0.08},
                                  {100, 500, 50, 100, 500},      {0.3, 0.6, 0.05, 0.3, 0.6}};
        double step = -1, first = -1, last = -1;
        for (const auto &r : rows) {
            QVERIFY(ChCoord::roundedRange(r[0], r[1], &step, &first, &last));
            QVERIFY(qAbs(step - r[2]) < 1e-15 && qAbs(first - r[3]) < 1e-12
                    && qAbs(last - r[4]) < 1e-12);
        }
        step = first = last = 42.0; // nothing to label: nothing written
        const double none[][2] = {{1, 1}, {2, 1}, {qQNaN(), 1}, {0, qInf()}, {-1e308, 1e308}};
        for (const auto &r : none)
            QVERIFY(!ChCoord::roundedRange(r[0], r[1], &step, &first, &last));
        QVERIFY(step == 42.0 && first == 42.0);
    }

    void init()
    {
        bar = new ColorBar;
        disp = new ImgDispA;
        disp->setFrameShape(QFrame::NoFrame);
        disp->setFixedSize(200, 100);
        disp->setColorBar(bar);
        disp->setOverlay(testPicture(), -5.0, 5.0);
        disp->setShowOverlayer(true);
        disp->resetImageViewWindow();
        disp->show();
        QVERIFY(QTest::qWaitForWindowExposed(disp));
    }

    void cleanup()
    {
        delete disp;
        delete bar;
    }

    void clickAndDragSelect()
    {
        QSignalSpy selected(disp, &ImgDispA::areaSelected);
        QSignalSpy moved(disp, &ImgDispA::mouseMoved);
        QSignalSpy dragged(disp, &ImgDispA::mouseDragged);
        // A click alone selects nothing.
        QTest::mouseClick(disp, Qt::LeftButton, Qt::NoModifier, QPoint(50, 40));
        QVERIFY(!disp->hasSelection() && disp->selectedArea() == QRectF(100, 80, 0, 0));
        QTest::mouseMove(disp, QPoint(120, 80));
        moved.clear();
        // Dragged from lower right to upper left: the corners are put in order;
        // while the button is held the spectrum position does not follow.
        QTest::mousePress(disp, Qt::LeftButton, Qt::NoModifier, QPoint(120, 80));
        QTest::mouseMove(disp, QPoint(100, 60));
        QTest::mouseMove(disp, QPoint(20, 10));
        QTest::mouseRelease(disp, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
        QVERIFY(!disp->isSelecting() && disp->hasSelection());
        QCOMPARE(disp->viewWindow(), QRectF(0, 0, 400, 200)); // no zoom
        QCOMPARE(selected, QList<QVariantList>({{QRectF(40, 20, 200, 140)}}));
        QVERIFY(moved.isEmpty() && dragged.count() == 2 && dragged.at(1).at(0).toDouble() == 40.0);
        // A click moves the corner of a present area; a plain right click clears it.
        QTest::mouseClick(disp, Qt::LeftButton, Qt::NoModifier, QPoint(150, 70));
        QCOMPARE(disp->selectedArea(), QRectF(300, 140, 0, 0));
        QTest::mouseClick(disp, Qt::RightButton, Qt::ShiftModifier, QPoint(100, 50));
        QVERIFY(disp->hasSelection());
        QTest::mouseClick(disp, Qt::RightButton, Qt::NoModifier, QPoint(100, 50));
        QVERIFY(!disp->hasSelection() && disp->selectedArea() == QRectF(0, 0, 0, 0));
        // A drag with only a width gives no present area.
        drag(disp, Qt::NoModifier, {QPoint(10, 30), QPoint(60, 30)});
        QVERIFY(!disp->hasSelection() && selected.count() == 1);
    }

    void ctrlDragZoomsShiftDragPans()
    {
        drag(disp, Qt::ControlModifier, {QPoint(50, 25), QPoint(80, 50), QPoint(150, 75)});
        QVERIFY(disp->hasSelection() && disp->selectedArea() == QRectF(100, 50, 200, 100));
        QCOMPARE(disp->viewWindow(), QRectF(100, 50, 200, 100));
        // The converter follows the zoom at once: widget (100, 50) is now image (200, 100).
        QCOMPARE(QPointF(disp->coord().s2rx(100), disp->coord().s2ry(50)), QPointF(200, 100));
        // A Ctrl click neither selects nor zooms; a right click clears, the zoom stays.
        QTest::mouseClick(disp, Qt::LeftButton, Qt::ControlModifier, QPoint(10, 10));
        QCOMPARE(disp->selectedArea(), QRectF(110, 60, 0, 0));
        QTest::mouseClick(disp, Qt::RightButton, Qt::NoModifier, QPoint(100, 50));
        QCOMPARE(disp->viewWindow(), QRectF(100, 50, 200, 100));
        disp->resetImageViewWindow(); // a Shift drag pans
        drag(disp, Qt::ShiftModifier, {QPoint(100, 50), QPoint(90, 45), QPoint(80, 40)});
        // 20 widget pixels left = 40 image pixels; 10 up = 20; the picture follows the mouse.
        QCOMPARE(disp->viewWindow(), QRectF(40, 20, 400, 200));
        QVERIFY(!disp->isSelecting() && !disp->hasSelection());
        disp->setDragEnabled(false);
        drag(disp, Qt::ShiftModifier, {QPoint(100, 50), QPoint(50, 10)});
        QCOMPARE(disp->viewWindow(), QRectF(40, 20, 400, 200));
    }

    void heldAndProgramPositions()
    {
        // Moves with Alt held leave the position; without, it follows again.
        QSignalSpy moved(disp, &ImgDispA::mouseMoved);
        QTest::mouseMove(disp, QPoint(30, 40));
        QWindow *win = disp->windowHandle();
        QTest::mouseEvent(QTest::MouseMove, win, Qt::NoButton, Qt::AltModifier, QPoint(150, 90));
        QTest::mouseEvent(QTest::MouseMove, win, Qt::NoButton, Qt::AltModifier, QPoint(170, 20));
        QTest::mouseMove(disp, QPoint(170, 21));
        QCOMPARE(moved, QList<QVariantList>({{60.0, 80.0}, {340.0, 42.0}}));
        moved.clear();
        // A position set is the one shown (not rounded through widget pixels) until a mouse move.
        disp->setRealMousePos(123, 77);
        QCOMPARE(disp->mouse().pos(), QPoint(62, 39)); // 61.5, 38.5 rounded up
        disp->setViewWindow(QRectF(3.7, 1.3, 377.1, 13.9));
        disp->setRealMousePos(301, 9);
        QCOMPARE(moved, QList<QVariantList>({{123.0, 77.0}, {301.0, 9.0}}));
        disp->setViewWindow(QRectF(0, 0, 400, 200));
        QTest::mousePress(disp, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        disp->setRealMousePos(7, 9);
        QVERIFY(moved.last() == QVariantList({7.0, 9.0})
                && disp->selectedArea() == QRectF(40, 40, 0, 0));
        QTest::mouseRelease(disp, Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
        disp->setRealMousePos(5, 5);
        QTest::mouseMove(disp, QPoint(100, 50));
        QVERIFY(!disp->holdsRealPos() && moved.last() == QVariantList({200.0, 100.0}));
    }

    void wheelZoom()
    {
        disp->setViewWindow(QRectF(10, 20, 300, 150));
        const QPoint at(50, 20);  // over image (85, 50)
        // Away from the user: zoom in around the point under the mouse, one factor for two notches.
        sendWheel(disp, at, 120);
        const QRectF v = disp->viewWindow();
        QVERIFY(disp->wheelSteps() == 1.0
                && v == QRectF(85 - 0.25 * 300 / 1.1, 50 - 0.2 * 150 / 1.1, 300 / 1.1, 150 / 1.1));
        sendWheel(disp, at, -120); // towards the user: zoom out
        QVERIFY(disp->wheelSteps() == -1.0 && disp->viewWindow() == QRectF(10, 20, 300, 150));
        sendWheel(disp, at, 240);
        QVERIFY(disp->wheelSteps() == 2.0 && disp->viewWindow() == v);
        // A wheel without a vertical part, or with the wheel switched off, does nothing.
        sendWheel(disp, at, 0);
        disp->setWheelEnabled(false);
        sendWheel(disp, at, 120);
        QCOMPARE(disp->viewWindow(), v);
    }

    void picturesDrawingAndFrames()
    {
        disp->setViewWindow(QRectF(190.5, 90.2, 20.9, 10.9)); // cut to 190..211, 90..101
        const QImage cut = disp->currentPicture();
        QVERIFY(cut.size() == QSize(21, 11)
                && greys(cut, {{9, 0}, {10, 0}}) == QVector<int>({0, 255})); // columns 199, 200
        // Square pixels: the 200 x 200 window a white 100 x 100 square amid the display's grey;
        // the mouse and a drawn selection there name the pixels under them.
        disp->setViewWindow(QRectF(200, 0, 200, 200));
        QCOMPARE(greys(disp->grab().toImage(), {{5, 5}, {55, 5}, {155, 5}}),
                 QVector<int>({48, 255, 48}));
        QTest::mouseMove(disp, QPoint(75, 30));
        QCOMPARE(disp->realMousePos(), QPointF(250, 60));
        drag(disp, Qt::NoModifier, {QPoint(60, 10), QPoint(110, 40)});
        QCOMPARE(disp->selectedArea(), QRectF(220, 20, 100, 60));
        // Stretched: left black, grey block bottom left, right white; the range reaches the bar.
        disp->setKeepAspect(false);
        disp->resetImageViewWindow();
        QCOMPARE(greys(disp->grab().toImage(), {{20, 10}, {20, 80}, {150, 50}}),
                 QVector<int>({0, 128, 255}));
        QCOMPARE(QPointF(bar->rangeMin(), bar->rangeMax()), QPointF(-5.0, 5.0));
        // The owner's marker pass draws over the picture, in screen coordinates.
        connect(disp, &DispA::drawImage2, disp, [this](QPainter *p) {
            p->setPen(QColor(255, 0, 0));
            p->drawPoint(QPointF(disp->coord().r2sx(20), disp->coord().r2sy(20)));
        });
        QCOMPARE(disp->grab().toImage().pixelColor(10, 10), QColor(255, 0, 0));
        // The rubber band of a drag under way.
        QTest::mousePress(disp, Qt::LeftButton, Qt::NoModifier, QPoint(150, 20));
        QTest::mouseMove(disp, QPoint(190, 80));
        QCOMPARE(disp->grab().toImage().pixelColor(150, 20), QColor(192, 192, 255));
        QTest::mouseRelease(disp, Qt::LeftButton, Qt::NoModifier, QPoint(190, 80));
        disp->setShowOverlayer(false); // without a picture a drag changes nothing
        const QRectF view = disp->viewWindow();
        drag(disp, Qt::ShiftModifier, {QPoint(100, 50), QPoint(10, 10)});
        QCOMPARE(disp->viewWindow(), view);
        // A frame (40 x 20: 0 left, 1000 right) follows the bar; the zoom stays for the next.
        std::unique_ptr<TiffData> fa(
            makeFrame(40, 20, 0, [](int x, int) { return x < 20 ? 0 : 1000; }));
        std::unique_ptr<TiffData> fb(constantFrame(80, 40, 0, 7));
        fa->colorBar = bar->greyScale();
        disp->clear();
        disp->setShowOverlayer(false);
        disp->setFrame(fa.get());
        QCOMPARE(disp->viewWindow(), QRectF(0, 0, 40, 20));
        QCOMPARE(greys(disp->grab().toImage(), {{10, 50}, {150, 50}}), QVector<int>({0, 255}));
        disp->setViewWindow(QRectF(5, 5, 10, 10));
        disp->setFrame(fb.get());
        QCOMPARE(disp->viewWindow(), QRectF(5, 5, 10, 10));
        disp->resetImageViewWindow();
        QCOMPARE(disp->currentPicture().size(), QSize(80, 40));
        disp->clear(); // forgotten before the frames go
        QVERIFY(!disp->frame() && !disp->grab().isNull());
    }

    void colorBar()
    {
        bar->setFixedSize(30, 400);
        bar->show();
        QVERIFY(QTest::qWaitForWindowExposed(bar));
        const GreyScale *gs = bar->greyScale();
        QSignalSpy updating(bar, &ColorBar::cBarUpdating);
        QSignalSpy updated(bar, &ColorBar::cBarUpdated);
        bar->setRange(0.0, 12345.0);
        // "12345" at the top of the picture, "0" at the bottom, nothing between.
        QVERIFY(labelPixels(bar->picture(), 0, 120, false) > 10);
        QVERIFY(labelPixels(bar->picture(), 480, 600, false) > 3);

        // The upper handle from the top to the middle; its value shows beside it while it moves.
        QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, QPoint(15, 7));
        QTest::mouseMove(bar, QPoint(15, 130));
        QTest::mouseMove(bar, QPoint(15, 200));
        QVERIFY(labelPixels(bar->picture(), 200, 400, false) > 10);
        QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, QPoint(15, 200));
        QCOMPARE(QPointF(bar->lower(), bar->upper()), QPointF(0.0, 0.5));
        QCOMPARE(QVector<int>({updating.count(), updated.count(), gs->grey(0.25), gs->grey(0.6),
                               labelPixels(bar->picture(), 200, 400, false)}),
                 QVector<int>({2, 1, 128, 255, 0}));

        // The lower handle up past the upper one, to 0.75: inverted, the ramp backwards.
        drag(bar, Qt::NoModifier, {QPoint(15, 393), QPoint(15, 100)});
        QCOMPARE(QPointF(bar->lower(), bar->upper()), QPointF(0.75, 0.5));
        // At 0.55: (0.55 - 0.75) / (0.5 - 0.75) = 0.8, 204; at 0.7: 0.2 x 256 = 51.2.
        QCOMPARE(QVector<int>({updated.count(), gs->grey(0.9), gs->grey(0.3), gs->grey(0.55),
                               gs->grey(0.7), qGray(bar->picture().pixel(2, 599)),
                               qGray(bar->picture().pixel(2, 30)),
                               qGray(bar->grab().toImage().pixel(1, 398))}),
                 QVector<int>({2, 0, 255, 204, 51, 255, 0, 255}));
        drag(bar, Qt::NoModifier, {QPoint(15, 110), QPoint(15, -20)});
        QCOMPARE(bar->lower(), 1.0); // dragged beyond the widget: stopped at the end

        // Midway where the distances differ in their last bits (0.6 - 0.4, 0.4 - 0.2) is
        // still midway; a pixel off picks the nearer handle.
        bar->setHandles(0.2, 0.6);
        for (int row : {240, 239}) {
            QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, QPoint(15, row));
            QCOMPARE(bar->isDragging(), row == 239);
            QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, QPoint(15, row));
        }
        QCOMPARE(bar->activeHandle(), int(ColorBar::UpperHandle));

        // At rest the values (150 and 250) show in amber just inside the two lines, nowhere else.
        bar->setRange(100.0, 300.0);
        bar->setHandles(0.25, 0.75);
        const QImage shot = bar->grab().toImage();
        QVERIFY(labelPixels(shot, 290, 300, true) > 0 && labelPixels(shot, 100, 110, true) > 0);
        QVERIFY(labelPixels(shot, 0, 101, true) + labelPixels(shot, 150, 251, true)
                    + labelPixels(shot, 300, 400, true) == 0);
        // A double click: both handles at the ends, announced like a drag's end.
        updated.clear();
        const quint64 generation = gs->generation;
        QTest::mouseDClick(bar, Qt::LeftButton, Qt::NoModifier, QPoint(15, 200));
        QCOMPARE(QPointF(bar->lower(), bar->upper()), QPointF(0.0, 1.0));
        QVERIFY(!updated.isEmpty() && !bar->isDragging() && gs->generation != generation
                && gs->grey(0.375) == 96);
    }

    void crossSection()
    {
        QVector<QPointF> prof; // 10 below position 50, 20 from there
        for (int i = 0; i < 100; i++)
            prof.append(QPointF(i, i < 50 ? 10.0 : 20.0));
        const QColor mark(192, 192, 0);
        CrossSView h, v;
        v.setOrientation(Qt::Vertical);
        for (CrossSView *c : {&h, &v}) {
            c->setFixedSize(c == &h ? QSize(200, 60) : QSize(60, 200));
            c->setFrameShape(QFrame::NoFrame);
            c->setProfile(prof);
        }
        h.setPositionRange(0, 100);
        h.setMarker(25);
        QImage shot = h.grab().toImage();
        QVERIFY(shot.pixelColor(50, 5) == mark && shot.pixelColor(50, 55) == mark);
        const QVector<int> low = curveAt(shot, 40, false), high = curveAt(shot, 160, false);
        QVERIFY(!low.isEmpty() && !high.isEmpty() && low.first() > 45 && high.last() < 15);
        // Vertical: positions downwards (no range: 0 .. 99), values to the right.
        v.setMarker(74.25);
        shot = v.grab().toImage();
        QCOMPARE(shot.pixelColor(5, 150), mark); // 74.25 / 99 x 200 = 150
        const QVector<int> cols = curveAt(shot, 40, true);
        QVERIFY(!cols.isEmpty() && cols.last() < 15); // value 10: left side
        // An empty, a flat or a non-finite profile draws without trouble.
        for (const QVector<QPointF> &p : QVector<QVector<QPointF>>{
                 {}, {QPointF(3, 1.0)}, {QPointF(3, qInf()), QPointF(4, qQNaN())}}) {
            v.setProfile(p);
            QVERIFY(!v.grab().isNull());
        }
    }

private:
    ImgDispA *disp = nullptr;
    ColorBar *bar = nullptr;
};

QTEST_MAIN(TestDisplays)
#include "test_displays.moc"
