#include "widgets/ChCoord.h"
#include "widgets/MouseC.h"

#include <QtTest>

class TestChCoord : public QObject
{
    Q_OBJECT
private slots:
    void conversions();
    void margins();
    void nearEdges();
    void tickSteps();
    void roundedRanges();
    void mouseModes();
    void mouseRecord();
};

void TestChCoord::conversions()
{
    ChCoord c;
    c.setScreenArea(0, 0, 400, 200);
    c.setRealArea(10.0, 5.0, 110.0, 105.0); // 4 screen px per real x, 2 per y
    QCOMPARE(QVector<double>({c.r2sx(10), c.r2sx(35), c.r2sy(55), c.s2rx(100), c.s2ry(50)}),
             QVector<double>({0, 100, 100, 35, 30}));
    QCOMPARE(QVector<double>({c.r2sLx(2.5), c.r2sLy(2.5), c.s2rLx(10), c.s2rLy(5)}),
             QVector<double>({10, 5, 2.5, 2.5}));
    // Outside the screen the plain conversion extrapolates, the limited one stops.
    QCOMPARE(QVector<double>({c.s2rx(-40.0), c.s2rxLimit(-40.0), c.s2ryLimit(1000.0)}),
             QVector<double>({0, 10, 105}));

    // A plot axis growing upwards: real y0 is the top value.
    c.setRealArea(0.0, 2.0, 1.0, -2.0);
    QCOMPARE(QVector<double>({c.r2sy(2), c.r2sy(-2), c.r2sy(1), c.s2ryLimit(-10), c.s2ryLimit(500),
                              c.r2sLy(1)}),
             QVector<double>({0, 200, 50, 2, -2, -50}));

    // Degenerate axes give edges, never a division by zero.
    c.setRealArea(3.0, 3.0, 3.0, 3.0);
    QCOMPARE(QVector<double>({c.r2sx(7.0), c.r2sLx(7.0)}), QVector<double>({0, 0}));
    c.setScreenArea(5, 5, 5, 5);
    QCOMPARE(QVector<double>({c.s2rx(9.0), c.s2rLy(9.0)}), QVector<double>({3, 0}));
}

void TestChCoord::margins()
{
    ChCoord c;
    c.setScreenArea(0, 0, 333, 101);
    c.setMargins(0.1, 0.05, 0.2, 0.15);
    // 33.3 -> 33, 16.65 -> 16, 20.2 -> 20, 15.15 -> 15
    QCOMPARE(QVector<int>({c.innerX0(), c.innerX1(), c.innerY0(), c.innerY1()}),
             QVector<int>({33, 333 - 16, 20, 101 - 15}));
    c.setRealArea(0.0, 0.0, 284.0, 66.0); // one real unit per inner pixel
    QCOMPARE(QVector<double>({c.r2sx(0), c.r2sx(284), c.s2ry(20), c.s2ry(86)}),
             QVector<double>({33, 317, 0, 66}));
}

void TestChCoord::nearEdges()
{
    ChCoord c;
    c.setScreenArea(0, 0, 200, 100);
    c.setTolerance(0.05, 0.1); // 10 px in x, 10 px in y
    QVERIFY(c.nearLowX(10.0) && !c.nearLowX(10.5) && c.nearLowX(-5.0));
    QVERIFY(c.nearHighX(191.0) && !c.nearHighX(189.0));
    QVERIFY(c.nearLowY(9.0) && !c.nearLowY(11.0));
    QVERIFY(c.nearHighY(95.0) && !c.nearHighY(50.0));
}

void TestChCoord::tickSteps()
{
    ChCoord c;
    c.setScreenArea(0, 0, 500, 300);
    c.setRealArea(7000.0, 3.0, 8000.0, -1.0); // 0.5 px per eV, 75 px per unit in y
    // 1, 2, 5, 10, 20, 50, 100 eV -> 0.5, 1, 2.5, 5, 10, 25, 50 px: the first
    // over 40 is 100 eV; exactly at the spacing is not enough (20 eV is 10 px);
    // nothing reaches 1e12: the largest candidate, 5e7 x base; no base, no step.
    QCOMPARE(QVector<double>({c.tickStepX(1.0, 40.0), c.tickStepX(1.0, 10.0), c.tickStepX(1.0, 0.1),
                              c.tickStepX(1.0, 1e12), c.tickStepX(0.0, 10.0),
                              c.tickStepX(-1.0, 10.0)}),
             QVector<double>({100, 50, 1, 5e7, 0, 0}));
    // y: 0.01 -> 0.75 px, ... 0.2 -> 15 px (a downward axis counts by length).
    QCOMPARE(c.tickStepY(0.01, 12.0), 0.2);
    c.setRealArea(1.0, 1.0, 1.0, 1.0);
    QCOMPARE(c.tickStepX(1.0, 10.0), 0.0);
}

void TestChCoord::roundedRanges()
{
    // lo, hi, then the step and the first and last label.
    const double rows[][5] = {
        {6950, 7950, 200, 7000, 7800}, // 1000 eV: leading digit 1, step 10^3 x 0.2
        {-1.2, 2.5, 0.5, -1.0, 2.5},   // 3.7: leading digit 3
        {0, 65, 10, 0, 60},            // digits 5 to 7 give 1 x decade,
        {0, 0.09, 0.02, 0, 0.08},      // 8 and 9 give 2 x decade
        {100, 500, 50, 100, 500},      // digit 4
        {0.3, 0.6, 0.05, 0.3, 0.6},    // a bound on a multiple of an inexact step keeps its label
    };
    double step = -1, first = -1, last = -1;
    for (const auto &r : rows) {
        QVERIFY(ChCoord::roundedRange(r[0], r[1], &step, &first, &last));
        QVERIFY(qAbs(step - r[2]) < 1e-15);
        QVERIFY(qAbs(first - r[3]) < 1e-12);
        QVERIFY(qAbs(last - r[4]) < 1e-12);
    }
    // Nothing to label.
    step = first = last = 42.0;
    const double none[][2] = {{1, 1}, {2, 1}, {qQNaN(), 1}, {0, qInf()}, {-1e308, 1e308}};
    for (const auto &r : none)
        QVERIFY(!ChCoord::roundedRange(r[0], r[1], &step, &first, &last));
    QCOMPARE(step, 42.0);
    QCOMPARE(first, 42.0);
}

void TestChCoord::mouseModes()
{
    const Qt::KeyboardModifiers S = Qt::ShiftModifier, C = Qt::ControlModifier, A = Qt::AltModifier;
    const Qt::KeyboardModifiers mods[8] = {Qt::NoModifier, S, C, A, S | C, C | A, S | A, S | C | A};
    const int left[8] = {0, 1, 2, 3, 4, 6, 5, 7};
    for (int i = 0; i < 8; i++) {
        QCOMPARE(MouseC::mode(Qt::LeftButton, mods[i]), left[i]);
        QCOMPARE(MouseC::mode(Qt::RightButton, mods[i]), left[i] + 8);
        QCOMPARE(MouseC::mode(Qt::MiddleButton, mods[i]), 16);
        QCOMPARE(MouseC::mode(Qt::NoButton, mods[i]), 16);
    }
    // Keypad and meta keys do not change the code.
    QCOMPARE(MouseC::mode(Qt::LeftButton, C | Qt::KeypadModifier), 2);
    QCOMPARE(MouseC::mode(Qt::LeftButton | Qt::RightButton, Qt::NoModifier), 16);
}

void TestChCoord::mouseRecord()
{
    QCOMPARE(MouseC::roundPos(QPointF(2.5, -2.5)), QPoint(3, -2));
    QCOMPARE(MouseC::roundPos(QPointF(2.49, -2.51)), QPoint(2, -3));
    // A gesture keeps the mode of its press; the previous position is the
    // one before the last event.
    MouseC m;
    m.recordMove(QPointF(10.4, 20.6), Qt::NoButton, Qt::NoModifier);
    m.recordPress(QPointF(11, 22), Qt::LeftButton, Qt::ControlModifier);
    QVERIFY(m.isPressed());
    QCOMPARE(m.previousPos(), QPoint(10, 21));
    m.recordMove(QPointF(30, 40), Qt::LeftButton, Qt::NoModifier);
    QCOMPARE(m.pressMode(), 2);
    QCOMPARE(m.pressed().pos, QPoint(11, 22));
    m.recordRelease(QPointF(31, 41), Qt::LeftButton, Qt::NoModifier);
    QVERIFY(!m.isPressed());
    QCOMPARE(m.previousPos(), QPoint(30, 40));
}

QTEST_GUILESS_MAIN(TestChCoord)
#include "test_chcoord.moc"
