#include "analysis/Analyzed2DRes.h"
#include "input/GreyScale.h"

#include "AnalHelpers.h"
#include "LogCapture.h"
#include "TestFiles.h"

#include <climits>

// The first row of a map's picture.
static QByteArray greys(const Analyzed2DRes &map)
{
    const QImage p = map.img();
    return QByteArray(reinterpret_cast<const char *>(p.constScanLine(0)), p.width());
}

class TestAnalyzed2DRes : public QObject
{
    Q_OBJECT
private slots:
    void walk_data()
    {
        QTest::addColumn<Reals>("walk");      // hx, hy and the area x, y, w, h
        QTest::addColumn<QString>("centres"); // "x,y" per bin, "|" before each new row
        QTest::addColumn<QPoint>("bins");     // across (-1: not checked), down
        // The image is 20 x 8 pixels.
        const QString tenByOne = QStringLiteral("1,0 4,0 7,0 |");
        QTest::newRow("10 pixels, hx 1") << Reals{1, 0, 0, 0, 10, 1} << tenByOne << QPoint(3, 1);
        QTest::newRow("reversed") << Reals{1, 0, 10, 1, -10, -1} << tenByOne << QPoint(3, 1);
        QTest::newRow("negative half") << Reals{-1, 0, 0, 0, 10, 1} << tenByOne << QPoint(3, 1);
        QTest::newRow("hx 2") << Reals{2, 0, 0.9, 0, 10, 1} << "2,0 7,0 |" << QPoint(2, 1);
        QTest::newRow("hx 0") << Reals{0, 0, 3, 0, 10, 1}
                              << "3,0 4,0 5,0 6,0 7,0 8,0 9,0 10,0 11,0 12,0 |" << QPoint(10, 1);
        QTest::newRow("rows") << Reals{0, -1, 17, 2, 2, 5} << "17,3 18,3 |17,6 18,6 |"
                              << QPoint(2, 2);
        // The edge bins reach past the image: (19, 7) and its neighbours.
        QTest::newRow("edge") << Reals{1, 1, 15, 3, 6, 5} << "16,4 19,4 |16,7 19,7 |"
                              << QPoint(2, 2);
        // An area without width still has its one bin (by the written-out
        // formula (x1 - x0 - hx - 1) / step + 1 it would have none).
        QTest::newRow("no width") << Reals{0, 0, 5, 5, 0, 0} << "5,5 |" << QPoint(1, 1);
        // A bin wider than the image keeps its half size.
        QTest::newRow("half past the image")
            << Reals{25, 0, 0, 0, 10, 1} << "25,0 |" << QPoint(1, 1);
        // Hostile sizes neither hang nor overflow; the counts stay the walk's.
        QTest::newRow("huge half")
            << Reals{double(INT_MAX), double(INT_MIN), 0, 0, 20, 8} << QString() << QPoint(1, 1);
        QTest::newRow("huge area")
            << Reals{0, 0, -1e300, 0, 2e300, 1} << QString() << QPoint(-1, 1);
    }

    void walk()
    {
        QFETCH(Reals, walk);
        QFETCH(QString, centres);
        QFETCH(QPoint, bins);
        AnalyzeCond c;
        c.setup(20, 8, int(walk[0]), int(walk[1]), walk[2], walk[3], walk[4], walk[5]);
        QString seen;
        qint64 visits = 0;
        for (bool newRow = false, more = true; more; seen += newRow ? "|" : "") {
            seen += QStringLiteral("%1,%2 ").arg(c.cx).arg(c.cy);
            QVERIFY(++visits <= 1000000);
            more = c.advance(newRow);
        }
        if (!centres.isEmpty())
            QCOMPARE(seen, centres);
        QCOMPARE(QPoint(bins.x() < 0 ? -1 : c.binsAcross(), c.binsDown()), bins);
        QCOMPARE(c.bins(), visits);
    }

    void setDataClips_data()
    {
        QTest::addColumn<QVector<int>>("call"); // ix, iy, xw, yw
        QTest::addColumn<QString>("written");   // rows of the 5 x 3 image
        QTest::newRow("inside") << QVector<int>{2, 1, 1, 0} << ".....|.###.|.....";
        QTest::newRow("negative sizes") << QVector<int>{2, 1, -1, -1} << ".###.|.###.|.###.";
        QTest::newRow("right edge") << QVector<int>{4, 2, 2, 1} << ".....|..###|..###";
        QTest::newRow("outside") << QVector<int>{9, 1, 3, 5} << ".....|.....|.....";
        QTest::newRow("hostile") << QVector<int>{0, 0, INT_MIN, 0} << "#####|.....|.....";
    }

    void setDataClips()
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
        QVERIFY(map.dataMin() == -2.5 && map.dataMax() == 4.0);
    }

    void pictures()
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

        // Pictures handed out outlive regeneration, clearing and the map.
        const QImage last = map.img();
        map.clear();
        QVERIFY(map.img().isNull());
        owned.reset();
        QVERIFY(first.constScanLine(0)[3] == 0xff && last.constScanLine(0)[4] == 0);
    }

    void tiffData_data()
    {
        QTest::addColumn<Reals>("bins"); // a 6 x 1 map of 1-pixel bins
        QTest::addColumn<bool>("fixed");
        QTest::addColumn<bool>("asAnalyzed");
        QTest::addColumn<QVector<int>>("expected");
        const Reals some{-0.5, 0.25, 0.5, 2, 0, 1};
        // Values outside the fixed range 0..1 land on its ends; 0.25 * 65535 =
        // 16383.75, 0.5 * 65535 = 32767.5.
        QTest::newRow("analyzed, clamped")
            << some << true << true << QVector<int>{0, 16383, 32767, 65535, 0, 65535};
        QTest::newRow("full grid") << Reals{qQNaN(), 1.5, -1, 0.5, 0.75, 0} << true << false
                                   << QVector<int>{0, 65535, 0, 32767, 49151, 0};
        // The bounds -0.5..2: (0.5 + 0.5) / 2.5 * 65535 = 26214
        QTest::newRow("map bounds")
            << some << false << true << QVector<int>{0, 19660, 26214, 65535, 13107, 39321};
        QTest::newRow("empty range") << Reals(6, 3.0) << false << false << QVector<int>(6, 0);
    }

    void tiffData()
    {
        QFETCH(Reals, bins);
        QFETCH(bool, fixed);
        QFETCH(bool, asAnalyzed);
        Analyzed2DRes map;
        fillMap(map, 6, 1, 0, bins);
        std::unique_ptr<quint16[]> data = map.tiffDataForSave(fixed, 0.0, 1.0, asAnalyzed);
        QVERIFY(data && map.count() == 6);
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
        QCOMPARE(Reals({map.processedValue(5, 0), map.procMin(), map.procMax()}), Reals({1, 0, 1}));
        // The mean of the centres below 0.5 is 0; (4, 0) is an outlier whose
        // one neighbour inside, (1, 0), is 0.
        map.deglitch2(0.5);
        QCOMPARE(Reals({map.processedValue(5, 0), map.procMin(), map.procMax()}), Reals({0, 0, 0}));
    }

    void deglitch_data()
    {
        QTest::addColumn<Reals>("bins");  // 5 x 5 bins of 3 x 3 pixels
        QTest::addColumn<Reals>("conds"); // (factor, range) or the limit of deglitch2
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<Reals>("after"); // the value there and the largest one
        // Second differences: 18 at the spike, (9 + 0) / 2 at its four
        // neighbours, 0 elsewhere; threshold 36 / 25 * factor. With range 0.1
        // both extremes are < 1.9 or > 9.1: the spike takes the mean of its
        // neighbours (1), each neighbour that of its own ((10 + 3) / 4), the
        // largest value left.
        Reals spike(25, 1.0), corner(25, 1.0);
        spike[12] = 10;
        QTest::newRow("spike") << spike << Reals{1, 0.1} << QPoint(6, 8) << Reals{1, 3.25};
        QTest::newRow("range 0") << spike << Reals{1, 0} << QPoint(6, 8) << Reals{10, 10};
        QTest::newRow("threshold 4.5") << spike << Reals{3.125, 0.5} << QPoint(3, 7) << Reals{1, 1};
        QTest::newRow("threshold 18") << spike << Reals{12.5, 0.5} << QPoint(6, 8) << Reals{10, 10};
        // deglitch2: the mean of the values below 5 is 1; 10 is 9 away and
        // takes the mean of its eight neighbours.
        QTest::newRow("2: spike") << spike << Reals{5} << QPoint(8, 6) << Reals{1, 1};
        // Mean (24 + 10) / 25 = 1.36; nothing is further than 100 from it.
        QTest::newRow("2: wide limit") << spike << Reals{100} << QPoint(8, 6) << Reals{10, 10};
        // Every value is an outlier (the mean of none is 0): all become 0.
        QTest::newRow("2: all outliers")
            << Reals(25, 10.0) << Reals{5} << QPoint(8, 6) << Reals{0, 0};
        corner[0] = -20;
        corner[6] = 3;
        // Mean 26 / 24; the corner takes its three neighbours (1 + 1 + 3) / 3.
        QTest::newRow("2: corner") << corner << Reals{5} << QPoint(0, 2) << Reals{5.0 / 3, 3};
    }

    void deglitch()
    {
        QFETCH(Reals, bins);
        QFETCH(Reals, conds);
        QFETCH(QPoint, at);
        QFETCH(Reals, after);
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
        QCOMPARE(Reals({map.processedValue(at.x(), at.y()), map.procMax()}), after);
        map.copyProc2Data();
        QCOMPARE(Reals({map.value(at.x(), at.y()), map.dataMax()}), after);
    }

    void textLayouts_data()
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

    void textLayouts()
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

    void emptyAndCopied()
    {
        // Grids that cannot be had leave the map empty, logged; nothing needs them.
        Analyzed2DRes map;
        AnalyzeCond walk;
        walk.setup(20000, 20000, 0, 0, 0, 0, 10, 10);
        LogCapture log;
        QVERIFY(!map.prepare(walk) && log.lines().size() == 1);
        QVERIFY(!map.hasData() && !map.hasProcessed() && map.width() == 0);
        map.setData(1, 1, 0, 0, 1.0);
        map.deglitch();
        QVERIFY(map.img().isNull() && !map.tiffDataForSave(false, 0, 1, true));
        QVERIFY(!map.writeText(QStringLiteral("/nonexistent/never.dat"), true, true));

        // A copy is a map of its own.
        fillMap(map, 4, 2, 0, {1, 2, 3, 4, 5, 6, 7, 8});
        map.deglitch2(100);
        map.genImg();
        Analyzed2DRes copy;
        QVERIFY(copy.copyFrom(map));
        map.setData(0, 0, 4, 4, 0.0);
        map.genImg();
        QCOMPARE(Reals({copy.value(3, 1), copy.processedValue(2, 0), copy.dataMin(), copy.dataMax(),
                        copy.procMin(), copy.procMax()}),
                 Reals({8, 3, 1, 8, 1, 8}));
        QCOMPARE(copy.img().pixelColor(3, 1), QColor(255, 255, 255));
    }
};

QTEST_APPLESS_MAIN(TestAnalyzed2DRes)
#include "test_analyzed2dres.moc"
