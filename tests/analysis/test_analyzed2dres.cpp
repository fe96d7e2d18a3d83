#include "analysis/Analyzed2DRes.h"
#include "input/GreyScale.h"

#include "AnalHelpers.h"
#include "LogCapture.h"
#include "TestFiles.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

namespace {

const double notANumber = std::numeric_limits<double>::quiet_NaN();

// The first row of a map's picture.
QByteArray greys(const Analyzed2DRes &map)
{
    const QImage p = map.img();
    return QByteArray(reinterpret_cast<const char *>(p.constScanLine(0)), p.width());
}

// The 5 x 5 bins of 3 x 3 pixels, 1 everywhere but `spike` in the middle.
Reals spiked(double spike)
{
    Reals v(25, 1.0);
    v[12] = spike;
    return v;
}

} // namespace

class TestAnalyzed2DRes : public QObject
{
    Q_OBJECT
private slots:
    void walk_data();
    void walk();
    void setDataClips_data();
    void setDataClips();
    void pictures();
    void tiffData_data();
    void tiffData();
    void deglitch_data();
    void deglitch();
    void textLayouts_data();
    void textLayouts();
    void emptyAndCopied();
};

void TestAnalyzed2DRes::walk_data()
{
    QTest::addColumn<int>("hx");
    QTest::addColumn<int>("hy");
    QTest::addColumn<QRectF>("area");
    QTest::addColumn<QString>("centres"); // "x,y" per bin, "|" before each new row
    QTest::addColumn<int>("across");
    QTest::addColumn<int>("down");

    // The image is 20 x 8 pixels.
    const QString tenByOne = QStringLiteral("1,0 4,0 7,0 |");
    QTest::newRow("10 pixels, hx 1") << 1 << 0 << QRectF(0, 0, 10, 1) << tenByOne << 3 << 1;
    QTest::newRow("reversed") << 1 << 0 << QRectF(10, 1, -10, -1) << tenByOne << 3 << 1;
    QTest::newRow("negative half") << -1 << 0 << QRectF(0, 0, 10, 1) << tenByOne << 3 << 1;
    QTest::newRow("hx 2") << 2 << 0 << QRectF(0.9, 0, 10, 1) << "2,0 7,0 |" << 2 << 1;
    QTest::newRow("hx 0") << 0 << 0 << QRectF(3, 0, 10, 1)
                          << "3,0 4,0 5,0 6,0 7,0 8,0 9,0 10,0 11,0 12,0 |" << 10 << 1;
    QTest::newRow("rows") << 0 << -1 << QRectF(17, 2, 2, 5) << "17,3 18,3 |17,6 18,6 |" << 2 << 2;
    // The edge bins reach past the image: (19, 7) and its neighbours.
    QTest::newRow("edge") << 1 << 1 << QRectF(15, 3, 6, 5) << "16,4 19,4 |16,7 19,7 |" << 2 << 2;
    // An area without width still has its one bin (by the written-out
    // formula (x1 - x0 - hx - 1) / step + 1 it would have none).
    QTest::newRow("no width") << 0 << 0 << QRectF(5, 5, 0, 0) << "5,5 |" << 1 << 1;
    // A bin wider than the image keeps its half size.
    QTest::newRow("half past the image") << 25 << 0 << QRectF(0, 0, 10, 1) << "25,0 |" << 1 << 1;
    // Hostile sizes neither hang nor overflow; the bin counts must still
    // be the walk's.
    QTest::newRow("huge half") << std::numeric_limits<int>::max() << std::numeric_limits<int>::min()
                               << QRectF(0, 0, 20, 8) << QString() << 1 << 1;
    QTest::newRow("huge area") << 0 << 0 << QRectF(-1e300, 0, 2e300, 1) << QString() << -1 << 1;
}

void TestAnalyzed2DRes::walk()
{
    QFETCH(int, hx);
    QFETCH(int, hy);
    QFETCH(QRectF, area);
    QFETCH(QString, centres);
    QFETCH(int, across);
    QFETCH(int, down);

    AnalyzeCond c;
    c.setup(20, 8, hx, hy, area.x(), area.y(), area.width(), area.height());
    QString seen;
    qint64 visits = 0;
    bool newRow = false, more = true;
    while (more) {
        seen += QStringLiteral("%1,%2 ").arg(c.cx).arg(c.cy);
        QVERIFY(++visits <= 1000000);
        more = c.advance(newRow);
        if (newRow)
            seen += QLatin1Char('|');
    }
    if (!centres.isEmpty())
        QCOMPARE(seen, centres);
    if (across >= 0)
        QCOMPARE(c.binsAcross(), across);
    QCOMPARE(c.binsDown(), down);
    QCOMPARE(c.bins(), visits);
}

void TestAnalyzed2DRes::setDataClips_data()
{
    QTest::addColumn<QVector<int>>("call"); // ix, iy, xw, yw
    QTest::addColumn<QString>("written");   // rows of the 5 x 3 image
    QTest::newRow("inside") << QVector<int>{2, 1, 1, 0} << ".....|.###.|.....";
    QTest::newRow("negative sizes") << QVector<int>{2, 1, -1, -1} << ".###.|.###.|.###.";
    QTest::newRow("right edge") << QVector<int>{4, 2, 2, 1} << ".....|..###|..###";
    QTest::newRow("outside") << QVector<int>{9, 1, 3, 5} << ".....|.....|.....";
    QTest::newRow("hostile") << QVector<int>{0, 0, std::numeric_limits<int>::min(), 0}
                             << "#####|.....|.....";
}

void TestAnalyzed2DRes::setDataClips()
{
    QFETCH(QVector<int>, call);
    Analyzed2DRes map;
    fillMap(map, 5, 3, 0, {});
    map.setData(call[0], call[1], call[2], call[3], -2.5);
    map.setData(call[0], call[1], call[2], call[3], 4.0);
    QString seen;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            seen += QString(y && !x ? "|" : "") + (map.value(x, y) == 4.0 ? '#' : '.');
    QTEST(seen, "written");
    // The bounds take every value, written or not.
    QCOMPARE(map.dataMin(), -2.5);
    QCOMPARE(map.dataMax(), 4.0);
}

void TestAnalyzed2DRes::pictures()
{
    auto owned = std::make_unique<Analyzed2DRes>();
    Analyzed2DRes &map = *owned;
    fillMap(map, 5, 1, 0, {0, 1, 2, 4, 3});
    GreyScale bar;
    map.setColorBar(&bar);
    map.genImg();
    // t = 0, 1/4, 1/2, 1, 3/4 of the range 0..4; grey = int(t * 256) up to 255.
    const QImage first = map.img();
    QCOMPARE(greys(map), QByteArray("\x00\x40\x80\xff\xc0", 5));

    // Handles at 0.5 and 1 stretch the upper half; a fixed scale of 0..2
    // gives t = 0, 0.5, 1, 2, 1.5 and u = (t - 0.5) / 0.5.
    bar.lower = 0.5;
    QSignalSpy range(&map, &Analyzed2DRes::colorRangeChanged);
    map.setScale(0, 2);
    map.setFixedScale(true);
    QCOMPARE(range, QList<QVariantList>({{0.0, 4.0}, {0.0, 2.0}}));
    QCOMPARE(greys(map), QByteArray("\x00\x00\xff\xff\xff", 5));
    // A scale from 4 down to 0 inverts the ramp: t = 1, 3/4, 1/2, 0, 1/4.
    map.setScale(4, 0);
    QCOMPARE(greys(map), QByteArray("\xff\x80\x00\x00\x00", 5));
    // An empty scale gives every pixel the grey of 0.
    map.setScale(1, 1);
    QCOMPARE(greys(map), QByteArray(5, '\0'));

    // Every pixel takes the colour bar's own level, handles anywhere, over
    // a row longer than the blocks the picture is worked out in.
    QVector<double> v(71);
    for (int i = 0; i < v.size(); ++i)
        v[i] = std::tan(i * 0.7) * (i % 5);
    v[3] = notANumber;
    Analyzed2DRes wide;
    fillMap(wide, v.size(), 1, 0, v);
    wide.setColorBar(&bar);
    wide.setFixedScale(true);
    for (const QPointF &handles : {QPointF(0.1, 0.9), QPointF(0.7, 0.2), QPointF(0.4, 0.4)}) {
        bar.lower = handles.x();
        bar.upper = handles.y();
        wide.setScale(-2, 3);
        for (int i = 0; i < v.size(); ++i)
            QCOMPARE(uchar(greys(wide)[i]), greyLevel((v[i] + 2) / 5, bar.lower, bar.upper));
    }

    // Pictures handed out outlive regeneration, clearing and the map.
    const QImage last = map.img();
    map.clear();
    QVERIFY(map.img().isNull());
    owned.reset();
    QCOMPARE(first.constScanLine(0)[3], uchar(0xff));
    QCOMPARE(last.constScanLine(0)[4], uchar(0));
}

void TestAnalyzed2DRes::tiffData_data()
{
    QTest::addColumn<QVector<double>>("bins"); // a 6 x 1 map of 1-pixel bins
    QTest::addColumn<bool>("fixed");
    QTest::addColumn<bool>("asAnalyzed");
    QTest::addColumn<QVector<int>>("expected");
    const QVector<double> some{-0.5, 0.25, 0.5, 2, 0, 1};
    // Values outside the fixed range 0..1 land on its ends; 0.25 * 65535 =
    // 16383.75, 0.5 * 65535 = 32767.5.
    QTest::newRow("analyzed, clamped")
        << some << true << true << QVector<int>{0, 16383, 32767, 65535, 0, 65535};
    QTest::newRow("full grid") << QVector<double>{notANumber, 1.5, -1, 0.5, 0.75, 0} << true
                               << false << QVector<int>{0, 65535, 0, 32767, 49151, 0};
    // The bounds -0.5..2: (0.5 + 0.5) / 2.5 * 65535 = 26214
    QTest::newRow("map bounds") << some << false << true
                                << QVector<int>{0, 19660, 26214, 65535, 13107, 39321};
    QTest::newRow("empty range") << QVector<double>(6, 3.0) << false << false << QVector<int>(6, 0);
}

void TestAnalyzed2DRes::tiffData()
{
    QFETCH(QVector<double>, bins);
    QFETCH(bool, fixed);
    QFETCH(bool, asAnalyzed);
    Analyzed2DRes map;
    fillMap(map, 6, 1, 0, bins);
    std::unique_ptr<quint16[]> data = map.tiffDataForSave(fixed, 0.0, 1.0, asAnalyzed);
    QVERIFY(data);
    QCOMPARE(map.count(), 6);
    QTEST(QVector<int>(data.get(), data.get() + 6), "expected");

    // The bins of a walk past the image: one value per bin of the walk, 0.0
    // (here the middle of -1..1) for centres outside the image.
    AnalyzeCond walk;
    walk.setup(6, 1, 1, 0, 0, 0, 14, 1);
    map.prepare(walk);
    map.setData(4, 0, 1, 0, 1.0);
    data = map.tiffDataForSave(true, -1.0, 1.0, true);
    QCOMPARE(map.count(), 5);
    QCOMPARE(QVector<int>(data.get(), data.get() + 5),
             (QVector<int>{32767, 65535, 32767, 32767, 32767}));
    // The filters read 0.0 there too. No bin has both neighbours inside:
    // no second difference, nothing replaced.
    map.setDeglitchConds(1, 0.5);
    map.deglitch();
    QCOMPARE(QVector<double>({map.processedValue(5, 0), map.procMin(), map.procMax()}),
             QVector<double>({1, 0, 1}));
    // The mean of the centres below 0.5 is 0; (4, 0) is an outlier whose
    // one neighbour inside, (1, 0), is 0.
    map.deglitch2(0.5);
    QCOMPARE(QVector<double>({map.processedValue(5, 0), map.procMin(), map.procMax()}),
             QVector<double>({0, 0, 0}));
}

void TestAnalyzed2DRes::deglitch_data()
{
    QTest::addColumn<QVector<double>>("bins");  // 5 x 5 bins of 3 x 3 pixels
    QTest::addColumn<QVector<double>>("conds"); // (factor, range) or the limit of deglitch2
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<double>("value"); // there after the filter
    QTest::addColumn<double>("procMax");
    // Second differences: 18 at the spike, (9 + 0) / 2 at its four
    // neighbours, 0 elsewhere; threshold 36 / 25 * factor. With range 0.1
    // both extremes are < 1.9 or > 9.1: the spike takes the mean of its
    // neighbours (1), each neighbour that of its own ((10 + 3) / 4), the
    // largest value left.
    const QVector<double> spike = spiked(10);
    QTest::newRow("spike") << spike << QVector<double>{1, 0.1} << QPoint(6, 8) << 1.0 << 3.25;
    QTest::newRow("range 0") << spike << QVector<double>{1, 0} << QPoint(6, 8) << 10.0 << 10.0;
    QTest::newRow("threshold 4.5")
        << spike << QVector<double>{3.125, 0.5} << QPoint(3, 7) << 1.0 << 1.0;
    QTest::newRow("threshold 18") << spike << QVector<double>{12.5, 0.5} << QPoint(6, 8) << 10.0
                                  << 10.0;
    // deglitch2: the mean of the values below 5 is 1; 10 is 9 away and
    // takes the mean of its eight neighbours.
    QTest::newRow("2: spike") << spike << QVector<double>{5} << QPoint(8, 6) << 1.0 << 1.0;
    // Mean (24 + 10) / 25 = 1.36; nothing is further than 100 from it.
    QTest::newRow("2: wide limit") << spike << QVector<double>{100} << QPoint(8, 6) << 10.0 << 10.0;
    // Every value is an outlier (the mean of none is 0): all become 0.
    QTest::newRow("2: all outliers")
        << QVector<double>(25, 10.0) << QVector<double>{5} << QPoint(8, 6) << 0.0 << 0.0;
    QVector<double> corner = spiked(1);
    corner[0] = -20;
    corner[6] = 3;
    // Mean 26 / 24; the corner takes its three neighbours (1 + 1 + 3) / 3.
    QTest::newRow("2: corner") << corner << QVector<double>{5} << QPoint(0, 2) << 5.0 / 3 << 3.0;
}

void TestAnalyzed2DRes::deglitch()
{
    QFETCH(QVector<double>, bins);
    QFETCH(QVector<double>, conds);
    QFETCH(QPoint, at);
    QFETCH(double, value);
    QFETCH(double, procMax);
    Analyzed2DRes map;
    fillMap(map, 15, 15, 1, bins);
    LogCapture log;
    if (conds.size() == 2) {
        map.setDeglitchConds(conds[0], conds[1]);
        map.deglitch();
        QVERIFY(log.contains(QStringLiteral("deglitch 4")));
    } else {
        map.deglitch2(conds[0]);
    }
    // The whole bin is written.
    QCOMPARE(map.processedValue(at.x(), at.y()), value);
    QCOMPARE(map.procMax(), procMax);
    map.copyProc2Data();
    QCOMPARE(map.value(at.x(), at.y()), value);
    QCOMPARE(map.dataMax(), procMax);
}

void TestAnalyzed2DRes::textLayouts_data()
{
    QTest::addColumn<bool>("comma");
    QTest::addColumn<bool>("xyz");
    QTest::addColumn<QString>("text");
    // The 3 x 2 bins of 1 x 1 lie on a 3 x 3 image past which the walk goes
    // by one column: that centre reads 0.
    const QString xyz =
        "0,0,1\n1,0,2.5\n2,0,-3\n3,0,0\n0,1,0.123457\n1,1,1e-05\n2,1,1e+06\n3,1,0\n";
    const QString grid = "1,2.5,-3,0\n0.123457,1e-05,1e+06,0\n";
    for (bool comma : {true, false}) {
        const auto sep = [comma](QString t) { return comma ? t : t.replace(',', ' '); };
        QTest::addRow("x y v, comma %d", comma) << comma << true << sep(xyz);
        QTest::addRow("grid, comma %d", comma) << comma << false << sep(grid);
    }
}

void TestAnalyzed2DRes::textLayouts()
{
    QFETCH(bool, comma);
    QFETCH(bool, xyz);
    Analyzed2DRes map;
    AnalyzeCond walk;
    walk.setup(3, 3, 0, 0, 0, 0, 4, 2);
    QVERIFY(map.prepare(walk));
    const double v[] = {1, 2.5, -3, 0.1234567, 1e-5, 1e6};
    for (int i = 0; i < 6; ++i)
        map.setData(i % 3, i / 3, 0, 0, v[i]);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("map.dat"));
    QVERIFY(map.writeText(path, comma, xyz));
    QTEST(QString::fromLatin1(readFile(path)), "text");

    LogCapture log;
    const QString bad = dir.filePath(QStringLiteral("none/map.dat"));
    QVERIFY(!map.writeText(bad, comma, xyz));
    QCOMPARE(log.lines(), QStringList(QStringLiteral("Can't open ") + bad));
}

void TestAnalyzed2DRes::emptyAndCopied()
{
    // Grids that cannot be had leave the map empty, logged; nothing needs
    // them then.
    Analyzed2DRes map;
    AnalyzeCond walk;
    walk.setup(20000, 20000, 0, 0, 0, 0, 10, 10);
    LogCapture log;
    QVERIFY(!map.prepare(walk));
    QCOMPARE(log.lines().size(), 1);
    QVERIFY(!map.hasData() && !map.hasProcessed() && map.width() == 0);
    map.setData(1, 1, 0, 0, 1.0);
    map.deglitch();
    QVERIFY(map.img().isNull());
    QVERIFY(!map.tiffDataForSave(false, 0, 1, true));
    QVERIFY(!map.writeText(QStringLiteral("/nonexistent/never.dat"), true, true));

    // A copy is a map of its own.
    fillMap(map, 4, 2, 0, {1, 2, 3, 4, 5, 6, 7, 8});
    map.deglitch2(100);
    map.genImg();
    Analyzed2DRes copy;
    QVERIFY(copy.copyFrom(map));
    map.setData(0, 0, 4, 4, 0.0);
    map.genImg();
    QCOMPARE(QVector<double>({copy.value(3, 1), copy.processedValue(2, 0), copy.dataMin(),
                              copy.dataMax(), copy.procMin(), copy.procMax()}),
             QVector<double>({8, 3, 1, 8, 1, 8}));
    QCOMPARE(copy.img().pixelColor(3, 1), QColor(255, 255, 255));
}

QTEST_APPLESS_MAIN(TestAnalyzed2DRes)
#include "test_analyzed2dres.moc"
