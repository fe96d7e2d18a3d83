#include "spectrum/SpectrumPoints.h"

#include <QtTest>

#include <cmath>

class TestSpectrumPoints : public QObject
{
    Q_OBJECT
private slots:
    void freshAndBounds();
    void clearKeepsShift();
    void valueAt();
    void crossingX();
    void bakeShift();
};

void TestSpectrumPoints::freshAndBounds()
{
    SpectrumPoints p;
    QVERIFY(p.inUse());
    QVERIFY(!p.shiftEnabled());
    QCOMPARE(p.shift(), 0.0);
    QCOMPARE(p.size(), 0);
    QCOMPARE(p.minX(), 1e300);
    QCOMPARE(p.minY(), 1e300);
    QCOMPARE(p.maxX(), -1e300);
    QCOMPARE(p.maxY(), -1e300);
    QCOMPARE(p.minYIndex(), -1879048193);
    QCOMPARE(p.maxYIndex(), 1879048193);

    p.append(3.0, 5.0);
    QCOMPARE(p.minYIndex(), 0);
    QCOMPARE(p.maxYIndex(), 0);
    p.append(1.0, 2.0);
    p.append(7.0, 9.0);
    p.append(4.0, 2.0); // ties the smallest y: the earlier index stays
    p.append(5.0, 9.0); // ties the largest y
    QCOMPARE(p.size(), 5);
    QCOMPARE(p.minX(), 1.0);
    QCOMPARE(p.maxX(), 7.0);
    QCOMPARE(p.minY(), 2.0);
    QCOMPARE(p.maxY(), 9.0);
    QCOMPARE(p.minYIndex(), 1);
    QCOMPARE(p.maxYIndex(), 2);

    // Bounds stay over stored values when a shift is enabled.
    p.setShift(10.0);
    p.enableShift(true);
    QCOMPARE(p.minX(), 1.0);
    QCOMPARE(p.storedX(0), 3.0);
    QCOMPARE(p.x(0), -7.0);
    QCOMPARE(p.y(0), 5.0);

    // Bulk filling gives the bounds appending gives, ties included.
    SpectrumPoints f;
    f.append(99.0, 99.0);
    QPointF *buf = f.fillBuffer(5);
    const double fx[] = {3, 1, 7, 4, 5}, fy[] = {5, 2, 9, 2, 9};
    for (int i = 0; i < 5; ++i)
        buf[i] = QPointF(fx[i], fy[i]);
    f.finishFill();
    QCOMPARE(f.size(), 5);
    QCOMPARE(f.minX(), 1.0);
    QCOMPARE(f.maxX(), 7.0);
    QCOMPARE(f.minY(), 2.0);
    QCOMPARE(f.maxY(), 9.0);
    QCOMPARE(f.minYIndex(), 1);
    QCOMPARE(f.maxYIndex(), 2);
    // With known x bounds only the y bounds are searched: ties keep the
    // first index over more than four points too; values that never beat the
    // start values leave the sentinels.
    QPointF *g = f.fillBuffer(9);
    const double gy[] = {4, 6, 1, 8, 1, 3, 8, 2, 0.5};
    for (int i = 0; i < 9; ++i)
        g[i] = QPointF(i, gy[i]);
    f.finishFill(-1.0, 20.0);
    QCOMPARE(f.minX(), -1.0);
    QCOMPARE(f.maxX(), 20.0);
    QCOMPARE(f.minY(), 0.5);
    QCOMPARE(f.minYIndex(), 8);
    QCOMPARE(f.maxY(), 8.0);
    QCOMPARE(f.maxYIndex(), 3);
    g = f.fillBuffer(6);
    for (int i = 0; i < 6; ++i)
        g[i] = QPointF(i, i == 4 ? 1.0 : 2.0);
    f.finishFill(0.0, 5.0);
    QCOMPARE(f.minYIndex(), 4);
    QCOMPARE(f.maxYIndex(), 0);
    g = f.fillBuffer(5);
    for (int i = 0; i < 5; ++i)
        g[i] = QPointF(i, std::nan(""));
    f.finishFill(0.0, 4.0);
    QCOMPARE(f.minYIndex(), -1879048193);
    QCOMPARE(f.maxYIndex(), 1879048193);
    QCOMPARE(f.minY(), 1e300);
    g = f.fillBuffer(0);
    f.finishFill(0.0, 4.0);
    QCOMPARE(f.minX(), 1e300);

    f.fillBuffer(0);
    f.finishFill();
    QCOMPARE(f.minYIndex(), -1879048193);
    QCOMPARE(f.maxX(), -1e300);

    QCOMPARE(interpolate(2.0, 1.0, 10.0, 3.0, 30.0), 20.0);
    QCOMPARE(interpolate(5.0, 1.0, 10.0, 3.0, 30.0), 50.0);
    QCOMPARE(interpolate(5.0, 2.0, 10.0, 2.0, 30.0), 20.0);
}

void TestSpectrumPoints::clearKeepsShift()
{
    SpectrumPoints p;
    p.setShift(2.5);
    p.enableShift(true);
    p.setInUse(false);
    p.append(1.0, 1.0);
    p.append(2.0, -1.0);
    p.clear();
    QCOMPARE(p.size(), 0);
    QCOMPARE(p.minX(), 1e300);
    QCOMPARE(p.maxY(), -1e300);
    QCOMPARE(p.minYIndex(), -1879048193);
    QCOMPARE(p.maxYIndex(), 1879048193);
    QVERIFY(p.shiftEnabled());
    QCOMPARE(p.shift(), 2.5);
    p.append(8.0, 4.0);
    QCOMPARE(p.minYIndex(), 0);
    QCOMPARE(p.minX(), 8.0);
}

void TestSpectrumPoints::valueAt()
{
    SpectrumPoints p;
    QCOMPARE(p.valueAt(3.0), 0.0);
    p.append(10.0, 4.0);
    QCOMPARE(p.valueAt(-100.0), 4.0);
    QCOMPARE(p.valueAt(100.0), 4.0);

    // y = 2x + 1 on 10, 20, then y = 41 + (x - 20) * (-1) up to 40 and flat
    // after.
    p.clear();
    p.append(10.0, 21.0);
    p.append(20.0, 41.0);
    p.append(30.0, 31.0);
    p.append(40.0, 21.0);
    p.append(50.0, 21.0);
    QCOMPARE(p.valueAt(10.0), 21.0);
    QCOMPARE(p.valueAt(0.0), 1.0);    // the first line, extended
    QCOMPARE(p.valueAt(15.0), 31.0);
    QCOMPARE(p.valueAt(20.0), 41.0);
    QCOMPARE(p.valueAt(25.0), 36.0);
    QCOMPARE(p.valueAt(37.5), 23.5);
    QCOMPARE(p.valueAt(45.0), 21.0);
    QCOMPARE(p.valueAt(50.0), 21.0);
    QCOMPARE(p.valueAt(90.0), 21.0);  // the last line is flat

    // Two points with a slope at the top end.
    SpectrumPoints q;
    q.append(0.0, 0.0);
    q.append(1.0, 3.0);
    q.append(2.0, 4.0);
    QCOMPARE(q.valueAt(4.0), 6.0);
    QCOMPARE(q.valueAt(-2.0), -6.0);
    // Shift 5: the same curve read at x - 5.
    q.setShift(5.0);
    q.enableShift(true);
    QCOMPARE(q.valueAt(-4.5), 1.5);
    QCOMPARE(q.valueAt(-3.5), 3.5);
    QCOMPARE(q.valueAt(-1.0), 6.0);
    // A disabled shift is not applied.
    q.enableShift(false);
    QCOMPARE(q.valueAt(0.5), 1.5);
}

void TestSpectrumPoints::crossingX()
{
    SpectrumPoints p;
    QCOMPARE(p.crossingX(0.5, SpectrumPoints::Rising), 0.0);
    p.append(7.0, 3.0);
    QCOMPARE(p.crossingX(0.5, SpectrumPoints::Rising), 7.0);
    p.setShift(1.0);
    p.enableShift(true);
    QCOMPARE(p.crossingX(0.5, SpectrumPoints::Rising), 6.0);

    // 0, 0, 4, 2, 10, 2 over x = 0..5: y range 0..10, level 5 at fraction 0.5.
    SpectrumPoints s;
    const double ys[] = {0, 0, 4, 2, 10, 2};
    for (int i = 0; i < 6; ++i)
        s.append(i, ys[i]);
    // Rising: segment 3-4 (2 -> 10) meets 5 at 3 + 3/8.
    QCOMPARE(s.crossingX(0.5, SpectrumPoints::Rising), 3.375);
    // Falling: segment 4-5 (10 -> 2) meets 5 at 4 + 5/8.
    QCOMPARE(s.crossingX(0.5, SpectrumPoints::Falling), 4.625);
    // Level 2 (fraction 0.2): rising, 1-2 (0 -> 4) at 1.5; falling, 2-3 ends on
    // the level (4 -> 2) at 3; either finds 1-2 first.
    QCOMPARE(s.crossingX(0.2, SpectrumPoints::Rising), 1.5);
    QCOMPARE(s.crossingX(0.2, SpectrumPoints::Falling), 3.0);
    QCOMPARE(s.crossingX(0.2, SpectrumPoints::Either), 1.5);
    // Level 0: "either" accepts the flat first segment that touches it; the
    // mean of its two x values comes back.
    QCOMPARE(s.crossingX(0.0, SpectrumPoints::Either), 0.5);
    // Rising needs y[i] < level, which level 0 never has: the first x.
    QCOMPARE(s.crossingX(0.0, SpectrumPoints::Rising), 0.0);

    // A falling curve has no rising crossing.
    SpectrumPoints d;
    d.append(100.0, 5.0);
    d.append(110.0, 3.0);
    d.append(120.0, 1.0);
    QCOMPARE(d.crossingX(0.5, SpectrumPoints::Rising), 100.0);
    QCOMPARE(d.crossingX(0.5, SpectrumPoints::Falling), 110.0);
    d.setShift(-4.0);
    d.enableShift(true);
    QCOMPARE(d.crossingX(0.5, SpectrumPoints::Rising), 104.0);
    QCOMPARE(d.crossingX(0.25, SpectrumPoints::Falling), 119.0);
}

void TestSpectrumPoints::bakeShift()
{
    SpectrumPoints p;
    p.append(100.0, 1.0);
    p.append(200.0, 3.0);
    p.append(150.0, 0.5);
    p.setShift(20.0);
    p.enableShift(true);
    p.setInUse(false);
    const SpectrumPoints c = p.withShiftBakedIn();
    QVERIFY(c.inUse());
    QVERIFY(!c.shiftEnabled());
    QCOMPARE(c.shift(), 20.0);
    QCOMPARE(c.size(), 3);
    QCOMPARE(c.storedX(0), 80.0);
    QCOMPARE(c.x(1), 180.0);
    QCOMPARE(c.minX(), 80.0);
    QCOMPARE(c.maxX(), 180.0);
    QCOMPARE(c.y(2), 0.5);
    QCOMPARE(c.minY(), 0.5);
    QCOMPARE(c.minYIndex(), 2);
    QCOMPARE(c.maxYIndex(), 1);

    // A disabled shift is dropped.
    p.enableShift(false);
    const SpectrumPoints d = p.withShiftBakedIn();
    QCOMPARE(d.shift(), 0.0);
    QCOMPARE(d.storedX(0), 100.0);
    QCOMPARE(d.minX(), 100.0);

    // An empty list keeps the start bounds.
    SpectrumPoints e;
    e.setShift(3.0);
    e.enableShift(true);
    const SpectrumPoints f = e.withShiftBakedIn();
    QCOMPARE(f.minX(), 1e300);
    QCOMPARE(f.maxX(), -1e300);
    QCOMPARE(f.shift(), 3.0);
}

QTEST_GUILESS_MAIN(TestSpectrumPoints)
#include "test_spectrumpoints.moc"
