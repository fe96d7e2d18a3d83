#include "spectrum/FourierBuffers.h"
#include "spectrum/SpectrumPoints.h"

#include <QtTest>

#include <cmath>
#include <complex>

class TestSpectrumPoints : public QObject
{
    Q_OBJECT
private slots:
    void bounds();
    void valueAt();
    void crossingX();
    void bakeShift();
    void fourierOfNothing();
    void fourier();
};

// minX, maxX, minY, maxY, minYIndex, maxYIndex in one list.
static QVector<double> boundsOf(const SpectrumPoints &p)
{
    return {p.minX(), p.maxX(), p.minY(), p.maxY(), double(p.minYIndex()), double(p.maxYIndex())};
}

// The bounds of a list without points: the search's start values.
static const QVector<double> none{1e300, -1e300, 1e300, -1e300, -1879048193.0, 1879048193.0};

static SpectrumPoints points(const QVector<QPointF> &xy)
{
    SpectrumPoints p;
    for (const QPointF &q : xy)
        p.append(q.x(), q.y());
    return p;
}

void TestSpectrumPoints::bounds()
{
    // Ties of the smallest and largest y keep the earlier index; bounds stay
    // over stored values when a shift is enabled; clear keeps the shift.
    const QVector<QPointF> xy{{3, 5}, {1, 2}, {7, 9}, {4, 2}, {5, 9}};
    SpectrumPoints p = points(xy);
    QCOMPARE(boundsOf(p), QVector<double>({1, 7, 2, 9, 1, 2}));
    p.setShift(10.0);
    p.enableShift(true);
    QCOMPARE(QVector<double>({p.minX(), p.storedX(0), p.x(0)}), QVector<double>({1, 3, -7}));
    p.clear();
    QCOMPARE(boundsOf(p), none);
    QVERIFY(p.shiftEnabled() && p.shift() == 10.0);

    // Bulk filling gives the bounds appending gives, ties included.
    SpectrumPoints f;
    f.append(99.0, 99.0);
    auto fill = [&f](const QVector<QPointF> &xy) {
        QPointF *buf = f.fillBuffer(xy.size());
        for (int i = 0; i < xy.size(); ++i)
            buf[i] = xy[i];
    };
    fill(xy);
    f.finishFill();
    QCOMPARE(boundsOf(f), QVector<double>({1, 7, 2, 9, 1, 2}));
    // With known x bounds only the y bounds are searched: ties keep the
    // first index over more than four points too; values that never beat the
    // start values leave the sentinels.
    fill({{0, 4}, {1, 6}, {2, 1}, {3, 8}, {4, 1}, {5, 3}, {6, 8}, {7, 2}, {8, 0.5}});
    f.finishFill(-1.0, 20.0);
    QCOMPARE(boundsOf(f), QVector<double>({-1, 20, 0.5, 8, 8, 3}));
    const double nan = std::nan("");
    fill({{0, nan}, {1, nan}, {2, nan}, {3, nan}, {4, nan}});
    f.finishFill(0.0, 4.0);
    QCOMPARE(boundsOf(f).mid(2), none.mid(2));
}

void TestSpectrumPoints::valueAt()
{
    QCOMPARE(SpectrumPoints().valueAt(3.0), 0.0);
    QCOMPARE(points({{10, 4}}).valueAt(-100.0), 4.0);
    // y = 2x + 1 on 10, 20, then y = 41 + (x - 20) * (-1) up to 40 and flat
    // after; the first line is extended below, the last (flat) one above.
    const SpectrumPoints p = points({{10, 21}, {20, 41}, {30, 31}, {40, 21}, {50, 21}});
    const double at[][2] = {{10, 21},     {0, 1},   {15, 31}, {20, 41}, {25, 36},
                            {37.5, 23.5}, {45, 21}, {50, 21}, {90, 21}};
    for (const auto &a : at)
        QCOMPARE(p.valueAt(a[0]), a[1]);
    // A slope at the top end; shift 5 reads the same curve at x - 5; a
    // disabled shift is not applied.
    SpectrumPoints q = points({{0, 0}, {1, 3}, {2, 4}});
    QCOMPARE(q.valueAt(4.0), 6.0);
    QCOMPARE(q.valueAt(-2.0), -6.0);
    q.setShift(5.0);
    q.enableShift(true);
    QCOMPARE(QVector<double>({q.valueAt(-4.5), q.valueAt(-3.5), q.valueAt(-1.0)}),
             QVector<double>({1.5, 3.5, 6.0}));
    q.enableShift(false);
    QCOMPARE(q.valueAt(0.5), 1.5);

    // The point nearest to x: halfway between two points goes to the later
    // one; beyond the ends, the end point; read through the shift.
    QCOMPARE(SpectrumPoints().indexNear(1.0), -1);
    QCOMPARE(points({{10, 4}}).indexNear(-100.0), 0);
    const double near[][2] = {{-5, 0}, {10, 0}, {14.9, 0}, {15, 1}, {24, 1},
                              {36, 3}, {45, 4}, {50, 4}, {99, 4}};
    for (const auto &a : near)
        QCOMPARE(p.indexNear(a[0]), int(a[1]));
    q.enableShift(true);
    QCOMPARE(QVector<int>({q.indexNear(-5.0), q.indexNear(-4.6), q.indexNear(-4.5)}),
             QVector<int>({0, 0, 1}));
}

void TestSpectrumPoints::crossingX()
{
    QCOMPARE(SpectrumPoints().crossingX(0.5, SpectrumPoints::Rising), 0.0);

    // 0, 0, 4, 2, 10, 2 over x = 0..5: y range 0..10.
    const SpectrumPoints s = points({{0, 0}, {1, 0}, {2, 4}, {3, 2}, {4, 10}, {5, 2}});
    const struct
    {
        double fraction;
        SpectrumPoints::Crossing dir;
        double x;
    } rows[] = {
        // Level 5: rising, segment 3-4 (2 -> 10) at 3 + 3/8; falling, 4-5 (10 -> 2) at 4 + 5/8.
        {0.5, SpectrumPoints::Rising, 3.375},
        {0.5, SpectrumPoints::Falling, 4.625},
        // Level 2: rising, 1-2 (0 -> 4) at 1.5; falling, 2-3 ends on the level
        // (4 -> 2) at 3; either finds 1-2 first.
        {0.2, SpectrumPoints::Rising, 1.5},
        {0.2, SpectrumPoints::Falling, 3.0},
        {0.2, SpectrumPoints::Either, 1.5},
        // Level 0: "either" accepts the flat first segment that touches it and
        // gives the mean of its two x; rising needs y[i] < 0, never met: the first x.
        {0.0, SpectrumPoints::Either, 0.5},
        {0.0, SpectrumPoints::Rising, 0.0},
    };
    for (const auto &r : rows)
        QCOMPARE(s.crossingX(r.fraction, r.dir), r.x);

    // A falling curve has no rising crossing: the first x (shifted by 4).
    SpectrumPoints d = points({{100, 5}, {110, 3}, {120, 1}});
    d.setShift(-4.0);
    d.enableShift(true);
    QCOMPARE(QVector<double>({d.crossingX(0.5, SpectrumPoints::Rising),
                              d.crossingX(0.5, SpectrumPoints::Falling),
                              d.crossingX(0.25, SpectrumPoints::Falling)}),
             QVector<double>({104, 114, 119}));
}

void TestSpectrumPoints::bakeShift()
{
    SpectrumPoints p = points({{100, 1}, {200, 3}, {150, 0.5}});
    p.setShift(20.0);
    p.enableShift(true);
    p.setInUse(false);
    const SpectrumPoints c = p.withShiftBakedIn();
    QVERIFY(c.inUse() && !c.shiftEnabled() && c.shift() == 20.0);
    QCOMPARE(c.points(), QVector<QPointF>({{80, 1}, {180, 3}, {130, 0.5}}));
    QCOMPARE(boundsOf(c), QVector<double>({80, 180, 0.5, 3, 2, 1}));
    // A disabled shift is dropped.
    p.enableShift(false);
    QCOMPARE(boundsOf(p.withShiftBakedIn()), QVector<double>({100, 200, 0.5, 3, 2, 1}));
    QCOMPARE(p.withShiftBakedIn().shift(), 0.0);
}

void TestSpectrumPoints::fourierOfNothing()
{
    // Without buffers, and at sizes of 0 or less, every call does nothing.
    // Releasing empties a wrapper that had buffers.
    FourierBuffers f;
    const double v[2] = {1, 2};
    fftw_complex c[1] = {{1, 0}};
    f.forward(v);
    f.forward(SpectrumPoints());
    f.backward(c);
    f.setSize(5);
    f.release();
    f.setSize(-3);
    QVERIFY(f.size() == 0 && f.magnitudes() == nullptr && f.forwardOutput() == nullptr);
}

void TestSpectrumPoints::fourier()
{
    // Three points on a length of 8: the rest counts as 0. Each component is
    // the sum of y_j exp(-2 pi i j k / 8) over the three points.
    FourierBuffers f;
    f.setSize(8);
    const SpectrumPoints p = points({{7000, 1.5}, {7001, -2.0}, {7002, 0.25}});
    f.forward(p);
    for (int k = 0; k < 8; ++k) {
        std::complex<double> s = 0;
        for (int j = 0; j < 3; ++j)
            s += p.y(j) * std::polar(1.0, -2.0 * M_PI * j * k / 8.0);
        QVERIFY(std::fabs(f.forwardOutput()[k][0] - s.real()) < 1e-12);
        QVERIFY(std::fabs(f.forwardOutput()[k][1] - s.imag()) < 1e-12);
        QVERIFY(std::fabs(f.magnitudes()[k] - std::abs(s)) < 1e-12);
    }
    // Backward is unnormalized: it gives n times the input. Its input is
    // copied: a later forward leaves its result.
    f.backward(f.forwardOutput());
    for (int i = 0; i < 8; ++i) {
        QVERIFY(std::fabs(f.backwardOutput()[i][0] - (i < 3 ? 8.0 * p.y(i) : 0.0)) < 1e-12);
        QVERIFY(std::fabs(f.backwardOutput()[i][1]) < 1e-12);
    }
    const double zeros[8] = {};
    f.forward(zeros);
    QVERIFY(std::fabs(f.backwardOutput()[0][0] - 12.0) < 1e-12);
    // A longer list: only the first 8 points count.
    SpectrumPoints q = p;
    for (int j = 0; j < 10; ++j)
        q.append(7003.0 + j, 100.0);
    f.forward(q);
    QVERIFY(std::fabs(f.forwardOutput()[0][0] - (1.5 - 2.0 + 0.25 + 500.0)) < 1e-9);
    // One frame: the only component is the value itself.
    f.setSize(1);
    f.forward(points({{7112, -123456.0}}));
    QCOMPARE(f.magnitudes()[0], 123456.0);
}

QTEST_GUILESS_MAIN(TestSpectrumPoints)
#include "test_spectrumpoints.moc"
