#include "analysis/Analyzed2DRes.h"
#include "analysis/MapTools.h"

#include "FrameMaker.h"
#include "LogCapture.h"

#include <QtTest>

#include <cmath>
#include <memory>
#include <vector>

using Reals = QVector<double>;
using Frames = std::vector<std::unique_ptr<TiffData>>;

static QVector<TiffData *> raw(const Frames &f)
{
    QVector<TiffData *> v;
    for (const auto &p : f)
        v.append(p.get());
    return v;
}

// mu on a line below the edge at 8000 eV and on a flatter one from there:
// pre(E) = 0.25 + (E - 7000) / 4096, post(E) = 1.5 + (E - 7000) / 8192. At
// 8200 eV: pre 0.54296875, post = mu = 1.646484375, dmut 1.103515625.
static double mu(double e)
{
    return e < 8000 ? 0.25 + (e - 7000) / 4096 : 1.5 + (e - 7000) / 8192;
}

// A width x 1 map holding the values v (over a walk of one-pixel bins).
static void fillMap(Analyzed2DRes &m, const Reals &v)
{
    AnalyzeCond w;
    w.setup(v.size(), 1, 0, 0, 0, 0, v.size(), 1);
    QVERIFY(m.prepare(w));
    for (int x = 0; x < v.size(); ++x)
        m.setData(x, 0, 0, 0, v[x]);
}

class TestMapTools : public QObject
{
    Q_OBJECT
private slots:
    void residual_data();
    void residual();
    void ratio_data();
    void ratio();
    void sumUp_data();
    void sumUp();
    void rangeRemoval();
    void processing_data();
    void processing();
    void dump();
    void noWalk();
};

void TestMapTools::residual_data()
{
    QTest::addColumn<double>("factor");
    QTest::addColumn<double>("rest");
    QTest::newRow("factor 1") << 1.0 << 0.54296875;
    QTest::newRow("factor 0.5") << 0.5 << 1.6464843750 - 0.5517578125;
}

// Two pixels, one-pixel bins: the second holds the first one's spectrum 50 eV
// higher, and its shift of 50 eV brings it back, so both read the same values.
void TestMapTools::residual()
{
    QFETCH(double, factor);
    QFETCH(double, rest);
    Frames frames;
    for (int i = 0; i <= 200; ++i) {
        const double e = 7000 + 10 * i;
        const float s[2] = {float(std::exp(-mu(e))), float(std::exp(-mu(e - 50)))};
        frames.emplace_back(TiffData::fromSamples(2, 1, s));
        frames.back()->energy = e;
    }
    Analyzed2DRes dmut, rst, ratio;
    ResidualSetup setup;
    setup.walk.setup(2, 1, 0, 0, 0, 0, 2, 1);
    setup.source = SpectrumSource(raw(frames), {}, nullptr, 2, 1, false);
    setup.energy = 8200;
    setup.factor = factor;
    setup.shiftAt = [](int x, int) { return x == 1 ? 50.0 : 0.0; };
    setup.dmut = &dmut;
    setup.rest = &rst;
    setup.ratio = &ratio;
    QVERIFY(runResidualAbsorption(setup));
    for (int x = 0; x < 2; ++x) {
        QVERIFY(std::abs(dmut.value(x, 0) - 1.103515625) < 1e-5);
        QVERIFY(std::abs(rst.value(x, 0) - rest) < 1e-5);
    }
    QCOMPARE(dmut.no(), -1);
    QVERIFY(ratio.isImageValid());
}

void TestMapTools::ratio_data()
{
    QTest::addColumn<Reals>("dmut");
    QTest::addColumn<Reals>("rest");
    QTest::addColumn<Reals>("ratio");
    // Equal at the smallest rest: 0; dmut 0 above it: 1; both 0: no number.
    QTest::newRow("cases") << Reals{2, 0, 0, 1} << Reals{2, 5, 2, 3} << Reals{0, 1, qQNaN(), 0.5};
    QTest::newRow("negative rest") << Reals{1, 2} << Reals{-1, 1} << Reals{0, 0.5};
    // A dmut map narrower than the rest counts 0 past its edge.
    QTest::newRow("short dmut") << Reals{3} << Reals{1, 4} << Reals{0, 1};
}

void TestMapTools::ratio()
{
    QFETCH(Reals, dmut);
    QFETCH(Reals, rest);
    QFETCH(Reals, ratio);
    Analyzed2DRes d, r, q;
    fillMap(d, dmut);
    fillMap(r, rest);
    fillMap(q, Reals(rest.size(), 0.0));
    QVERIFY(residualRatio(d, r, q));
    for (int x = 0; x < ratio.size(); ++x) {
        if (std::isnan(ratio[x]))
            QVERIFY(std::isnan(q.value(x, 0)));
        else
            QCOMPARE(q.value(x, 0), ratio[x]);
    }
    QVERIFY(q.isImageValid() && d.isImageValid() && r.isImageValid());
}

void TestMapTools::sumUp_data()
{
    QTest::addColumn<QVector<int>>("ranges"); // from, to pairs
    QTest::addColumn<double>("sum");
    // Frame i holds 2^i in every pixel; a bin of 3 x 1 pixels sums 3 of them.
    QTest::newRow("overlapping") << QVector<int>{0, 2, 1, 3} << 3.0 * (1 + 2 + 2 + 4);
    QTest::newRow("past the stack") << QVector<int>{-5, 1, 2, 10} << 3.0 * (1 + 4 + 8);
    QTest::newRow("reversed") << QVector<int>{3, 1} << 0.0;
    QTest::newRow("none") << QVector<int>{} << 0.0;
}

void TestMapTools::sumUp()
{
    QFETCH(QVector<int>, ranges);
    QFETCH(double, sum);
    Frames frames;
    for (int i = 0; i < 4; ++i)
        frames.emplace_back(constantFrame(3, 2, 7000 + i, 1 << i));
    SumUpRanges list;
    for (int i = 0; i + 1 < ranges.size(); i += 2)
        list.add(ranges[i], ranges[i + 1]);
    AnalyzeCond walk;
    walk.setup(3, 2, 1, 0, 0, 0, 3, 2);
    Analyzed2DRes map;
    QTemporaryDir dir;
    const QString png = dir.filePath("sumUpImg.png");
    QVERIFY(runSumUp(raw(frames), walk, list, map, png));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            QCOMPARE(map.value(x, y), sum);
    QVERIFY(QFileInfo(png).size() > 0);
}

void TestMapTools::rangeRemoval()
{
    SumUpRanges list;
    list.add(0, 2);
    list.add(1, 3);
    list.add(5, 4);
    QCOMPARE(list.at(2).text(), QStringLiteral("5-4"));
    QCOMPARE(list.remove(-1), -1); // no current item
    QCOMPARE(list.remove(3), 3);
    QCOMPARE(list.size(), 3);
    QCOMPARE(list.remove(2), 1);
    QCOMPARE(list.remove(0), 0);
    QCOMPARE(list.ranges(), (QVector<SumUpRange>{{1, 3, 0}}));
    QCOMPARE(list.remove(0), -1);
    QVERIFY(list.isEmpty());
    QCOMPARE(list.remove(0), 0);
}

void TestMapTools::processing_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<Reals>("bins");
    // Bins of 3 pixels: Map 1 sums 6 and 15, Map 2 sums 3 and 0.
    QTest::newRow("sub") << int(MapProcSub) << Reals{3, 15};
    QTest::newRow("div") << int(MapProcDiv) << Reals{2, 1};
    QTest::newRow("mask") << int(MapProcMask) << Reals{6, 0};
    QTest::newRow("other") << 7 << Reals{3, 15};
}

void TestMapTools::processing()
{
    QFETCH(int, type);
    QFETCH(Reals, bins);
    Analyzed2DRes m1, m2, out;
    fillMap(m1, {1, 2, 3, 4, 5, 6});
    fillMap(m2, {1, 1, 1, 0, 2, -2});
    AnalyzeCond walk;
    walk.setup(6, 1, 1, 0, 0, 0, 6, 1);
    QVERIFY(!processMaps(m1, m2, walk, type, out)); // no pictures yet
    QVERIFY(!out.hasData());
    m1.genImg();
    m2.genImg();
    LogCapture log;
    QVERIFY(processMaps(m1, m2, walk, type, out));
    for (int x = 0; x < 6; ++x)
        QCOMPARE(out.value(x, 0), bins[x / 3]);
    QCOMPARE(log.lines().size(), 2);
    QVERIFY(out.isImageValid());
}

void TestMapTools::dump()
{
    Analyzed2DRes map;
    map.setName("a2d Rati");
    LogCapture log;
    QVERIFY(!showAnalyzedVals(map));
    fillMap(map, {1.5, -1234.25, qQNaN()});
    QVERIFY(showAnalyzedVals(map));
    QCOMPARE(log.lines(), (QStringList{"No values to show in a2d Rati", "vals of a2d Rati",
                                       "   0    0        1.500000        0.000000",
                                       "   1    0    -1234.250000        0.000000",
                                       "   2    0             nan        0.000000"}));
}

// A walk over no image stops every tool with a log line before a map is
// touched; so does a run without frames.
void TestMapTools::noWalk()
{
    Frames frames;
    frames.emplace_back(constantFrame(2, 2, 7000, 1));
    Analyzed2DRes a, b, c;
    fillMap(a, {1});
    a.genImg();
    LogCapture log;
    QVERIFY(!runSumUp(raw(frames), AnalyzeCond(), SumUpRanges(), b));
    QVERIFY(!processMaps(a, a, AnalyzeCond(), 0, b));
    ResidualSetup setup;
    setup.source = SpectrumSource(raw(frames), {}, nullptr, 2, 2, false);
    setup.dmut = &a;
    setup.rest = &b;
    setup.ratio = &c;
    QVERIFY(!runResidualAbsorption(setup));
    QVERIFY(!runSumUp({}, a.walk(), SumUpRanges(), b));
    QCOMPARE(log.lines(), (QStringList{"Sum up not run: no area to walk",
                                       "Map processing not run: no area to walk",
                                       "Residual absorption not run: no area to walk",
                                       "Sum up not run: no I1 frames"}));
    QVERIFY(!b.hasData() && a.value(0, 0) == 1.0);
}

QTEST_GUILESS_MAIN(TestMapTools)
#include "test_maptools.moc"
