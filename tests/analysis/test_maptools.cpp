#include "analysis/FourierSurvey.h"
#include "analysis/MapTools.h"
#include "analysis/QInfo.h"
#include "spectrum/FourierBuffers.h"

#include "AnalHelpers.h"
#include "FrameMaker.h"
#include "LogCapture.h"
#include "TestFiles.h"

static QDateTime fixedTime()
{
    return QDateTime(QDate(2026, 12, 7), QTime(15, 4, 5, 678), Qt::UTC);
}

// The pattern letters of the fixed texts are fields too: in "Start", t is
// the time zone and a the am/pm marker (which turns hh to 12 hours); in
// "End", d is the day.
const char startLine[] = "SUTCpmrUTC : 26/12/07 03:04:05.678";
const char endLine[] = "En7 : 26/12/07 15:04:05.678";

class TestMapTools : public QObject
{
    Q_OBJECT
private slots:
    // mu on a line below the edge at 8000 eV and on a flatter one from there:
    // pre(E) = 0.25 + (E - 7000) / 4096, post(E) = 1.5 + (E - 7000) / 8192. At
    // 8200 eV: pre 0.54296875, post = mu = 1.646484375, dmut 1.103515625.
    // Pixel 1 holds pixel 0's spectrum 50 eV higher; its shift of 50 eV brings
    // it back, so both bins read the same values. With factor 0.5 the rest is
    // 1.646484375 - 0.5517578125.
    void residual()
    {
        const auto mu = [](double e) {
            return e < 8000 ? 0.25 + (e - 7000) / 4096 : 1.5 + (e - 7000) / 8192;
        };
        OwnedFrames frames;
        for (int i = 0; i <= 200; ++i) {
            const double e = 7000 + 10 * i;
            const float s[2] = {float(std::exp(-mu(e))), float(std::exp(-mu(e - 50)))};
            frames.append(TiffData::fromSamples(2, 1, s));
            frames.last()->energy = e;
        }
        Analyzed2DRes dmut, rst, ratio;
        const SpectrumSource source(frames, {}, nullptr, 2, 1, false);
        ResidualSetup setup{{}, source, 8200, 0.5, false, nullptr, &dmut, &rst, &ratio};
        setup.shiftAt = [](int x, int) { return x == 1 ? 50.0 : 0.0; };
        setup.walk.setup(2, 1, 0, 0, 0, 0, 2, 1);
        QVERIFY(runResidualAbsorption(setup));
        QVERIFY(near({dmut.value(0, 0), dmut.value(1, 0), rst.value(0, 0), rst.value(1, 0)},
                     {1.103515625, 1.103515625, 1.0947265625, 1.0947265625}, 5e-6));
        QVERIFY(dmut.no() == -1 && ratio.isImageValid());
    }

    void ratio_data()
    {
        QTest::addColumn<Reals>("dmut");
        QTest::addColumn<Reals>("rest");
        QTest::addColumn<Reals>("ratio");
        // Equal at the smallest rest: 0; dmut 0 above it: 1; both 0: no number.
        QTest::newRow("cases") << Reals{2, 0, 0, 1} << Reals{2, 5, 2, 3}
                               << Reals{0, 1, qQNaN(), 0.5};
        QTest::newRow("negative rest") << Reals{1, 2} << Reals{-1, 1} << Reals{0, 0.5};
        // A dmut map narrower than the rest counts 0 past its edge.
        QTest::newRow("short dmut") << Reals{3} << Reals{1, 4} << Reals{0, 1};
    }

    void ratio()
    {
        QFETCH(Reals, dmut);
        QFETCH(Reals, rest);
        QFETCH(Reals, ratio);
        Analyzed2DRes d, r, q;
        fillMap(d, dmut.size(), 1, 0, dmut);
        fillMap(r, rest.size(), 1, 0, rest);
        fillMap(q, rest.size(), 1, 0, Reals(rest.size(), 0.0));
        QVERIFY(residualRatio(d, r, q));
        for (int x = 0; x < ratio.size(); ++x)
            QVERIFY(std::isnan(ratio[x]) ? std::isnan(q.value(x, 0)) : q.value(x, 0) == ratio[x]);
        QVERIFY(q.isImageValid());
    }

    void sumUp_data()
    {
        QTest::addColumn<QVector<int>>("ranges"); // from, to pairs
        QTest::addColumn<double>("sum");
        // Frame i holds 2^i in every pixel; a bin of 3 x 1 pixels sums 3 of them.
        QTest::newRow("overlapping") << QVector<int>{0, 2, 1, 3} << 3.0 * (1 + 2 + 2 + 4);
        QTest::newRow("past the stack") << QVector<int>{-5, 1, 2, 10} << 3.0 * (1 + 4 + 8);
        QTest::newRow("none") << QVector<int>{} << 0.0;
    }

    void sumUp()
    {
        QFETCH(QVector<int>, ranges);
        QFETCH(double, sum);
        OwnedFrames frames;
        for (int i = 0; i < 4; ++i)
            frames.append(constantFrame(3, 2, 7000 + i, 1 << i));
        SumUpRanges list;
        for (int i = 0; i + 1 < ranges.size(); i += 2)
            list.add(ranges[i], ranges[i + 1]);
        AnalyzeCond walk;
        walk.setup(3, 2, 1, 0, 0, 0, 3, 2);
        Analyzed2DRes map;
        QTemporaryDir dir;
        QVERIFY(runSumUp(frames, walk, list, map, dir.filePath("sumUpImg.png")));
        for (int p = 0; p < 6; ++p)
            QCOMPARE(map.value(p % 3, p / 3), sum);
        QVERIFY(QFileInfo(dir.filePath("sumUpImg.png")).size() > 0);
    }

    void processing_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<Reals>("bins");
        // Bins of 3 pixels: Map 1 sums 6 and 15, Map 2 sums 3 and 0.
        QTest::newRow("sub") << int(MapProcSub) << Reals{3, 15};
        QTest::newRow("div") << int(MapProcDiv) << Reals{2, 1};
        QTest::newRow("mask") << int(MapProcMask) << Reals{6, 0};
    }

    void processing()
    {
        QFETCH(int, type);
        QFETCH(Reals, bins);
        Analyzed2DRes m1, m2, out;
        fillMap(m1, 6, 1, 0, {1, 2, 3, 4, 5, 6});
        fillMap(m2, 6, 1, 0, {1, 1, 1, 0, 2, -2});
        AnalyzeCond walk;
        walk.setup(6, 1, 1, 0, 0, 0, 6, 1);
        LogCapture log;
        QVERIFY(!processMaps(m1, m2, walk, type, out)); // no pictures yet, and no word
        QVERIFY(!out.hasData() && log.lines().isEmpty());
        m1.genImg();
        m2.genImg();
        QVERIFY(processMaps(m1, m2, walk, type, out));
        for (int x = 0; x < 6; ++x)
            QCOMPARE(out.value(x, 0), bins[x / 3]);
        QVERIFY(log.lines().size() == 2 && out.isImageValid());
    }

    void dump()
    {
        Analyzed2DRes map;
        map.setName("a2d Rati");
        LogCapture log;
        QVERIFY(!showAnalyzedVals(map));
        fillMap(map, 3, 1, 0, {1.5, -1234.25, qQNaN()});
        QVERIFY(showAnalyzedVals(map));
        QCOMPARE(log.lines(), (QStringList{"No values to show in a2d Rati", "vals of a2d Rati",
                                           "   0    0        1.500000        0.000000",
                                           "   1    0    -1234.250000        0.000000",
                                           "   2    0             nan        0.000000"}));
    }

    // A walk over no image, or no frames, stops every tool with a log line
    // before a map is touched.
    void noWalk()
    {
        OwnedFrames frames;
        frames.append(constantFrame(2, 2, 7000, 1));
        Analyzed2DRes a, b, c;
        fillMap(a, 1, 1, 0, {1});
        a.genImg();
        FourierBuffers fft;
        FourierSurvey s;
        LogCapture log;
        QVERIFY(!runSumUp(frames, AnalyzeCond(), SumUpRanges(), b));
        QVERIFY(!processMaps(a, a, AnalyzeCond(), 0, b));
        QVERIFY(!runResidualAbsorption(ResidualSetup{
            {}, SpectrumSource(frames, {}, nullptr, 2, 2, false), 1, 1, false, {}, &a, &b, &c}));
        QVERIFY(!s.run(frames, AnalyzeCond(), fft));
        QVERIFY(!runSumUp({}, a.walk(), SumUpRanges(), b));
        QVERIFY(!s.run({}, a.walk(), fft));
        QCOMPARE(log.lines(), (QStringList{"Sum up not run: no area to walk",
                                           "Map processing not run: no area to walk",
                                           "Residual absorption not run: no area to walk",
                                           "Fourier survey not run: no area to walk",
                                           "Sum up not run: no I1 frames",
                                           "Fourier survey not run: no I1 frames"}));
        QVERIFY(!b.hasData() && a.value(0, 0) == 1.0 && s.svv.isEmpty());
    }

    // Pixel 0 runs 10 + 4 cos(2 pi 2 i / 8) over 8 frames (14 10 6 10 14 10 6 10),
    // pixel 1 twice that: magnitudes 80 and 160 at k = 0, 16 and 32 at k = 2 and
    // 6, none elsewhere. With v = 14 and 28: Svv = 980; k = 0: Saa = 32000, Sva
    // = 5600; k = 2: Saa = 1280, Sva = 1120; both correlate fully.
    void fourierCosine()
    {
        OwnedFrames frames;
        const int trace[8] = {14, 10, 6, 10, 14, 10, 6, 10};
        for (int i = 0; i < 8; ++i)
            frames.append(
                makeFrame(2, 1, 7000 + i, [&](int x, int) { return trace[i] * (x + 1); }));
        AnalyzeCond walk;
        walk.setup(2, 1, 0, 0, 0, 0, 2, 1);
        FourierBuffers fft;
        FourierSurvey s;
        LogCapture log;
        QVERIFY(s.run(frames, walk, fft));
        for (int k : {1, 3, 4, 5, 7})
            QVERIFY(s.svv[k] == 980 && s.saa[k] < 1e-18 && std::abs(s.sva[k]) < 1e-6);
        const QStringList lines = log.lines();
        QVERIFY(lines.size() == 9 && lines[0].startsWith("2da FA 1: "));
        QCOMPARE(QStringList({lines[1], lines[3]}),
                 QStringList({"Res 0 980 32000 5600 1", "Res 2 980 1280 1120 1"}));
    }

    void qinfoSurvey_data()
    {
        QTest::addColumn<QRect>("area");
        QTest::addColumn<QString>("centres");

        QTest::newRow("one bin") << QRect(1, 0, 1, 1) << "1,0";
        QTest::newRow("two rows") << QRect(0, 0, 2, 2) << "0,0 1,0 0,1 1,1";
    }

    void qinfoSurvey()
    {
        QFETCH(QRect, area);
        QFETCH(QString, centres);
        // 2 x 2 frames of one value each: a step edge near 7100 eV with a white
        // line above it, I0 flat.
        OwnedFrames i1, i0;
        for (int i = 0; i < 30; ++i) {
            const double e = 7000 + 10 * i;
            const double mu =
                0.3 + (e > 7100 ? 1.0 : 0.0) + (e == 7110 ? 0.4 : 0.0) - 0.0005 * (e - 7000);
            i1 << constantFrame(2, 2, e, int(std::lround(20000 * std::exp(-mu))));
            i0 << constantFrame(2, 2, e, 20000);
        }
        const SpectrumSource source(i1, i0, nullptr, 2, 2, false);
        AnalyzeCond walk;
        walk.setup(2, 2, 0, 0, area.x(), area.y(), area.width(), area.height());
        QStringList asked;
        QInfoRequest request;
        request.walk = &walk;
        request.shiftAt = [&asked](int x, int y) {
            asked << QString("%1,%2").arg(x).arg(y);
            return 1.5;
        };
        request.now = fixedTime;
        LogCapture log;
        const QInfo info = collectQInfo(source, request);
        QCOMPARE(asked.join(' '), centres);

        // Every bin sees the same frames, so the same spectrum.
        const XafsSpectrum s(source.absorption(0, 0, 0, 0), false, 1.5);
        QCOMPARE(info.records.size(), asked.size());
        for (int i = 0; i < asked.size(); ++i) {
            const QInfoRecord &r = info.records[i];
            QCOMPARE(QString("%1,%2").arg(r.x).arg(r.y), asked[i]);
            QCOMPARE(QVector<double>({r.e0, r.jump, r.maxE, r.maxMu, r.maxMuOverPost}),
                     QVector<double>({s.e0(), s.jump(), s.maxE(), s.maxMu(), s.maxMuOverPost()}));
        }
        QVERIFY(info.maxE.count() == asked.size() && info.maxMutJ.deviation == 0.0);
        QCOMPARE(info.maxMutJ.mean, s.maxMuOverPost() / s.jump());

        QStringList expected = {startLine, "0 26/12/07 15:04:05.678", "1 26/12/07 15:04:05.678",
                                endLine};
        if (area.height() == 1)
            expected.removeAt(2);
        QCOMPARE(log.lines().mid(0, expected.size()), expected);
        QCOMPARE(log.lines().value(expected.size()),
                 QString("maxE 7110 7110 7110 0")); // white line
    }

    void qinfoNoData()
    {
        QTemporaryDir dir;
        QInfoRequest request;
        request.now = fixedTime;
        LogCapture log;
        const QInfo info = collectQInfo(SpectrumSource(), request);
        QCOMPARE(log.lines(), QStringList({startLine, endLine, "maxE 1e+300 -1e+300 0 0",
                                           "maxMutJ 1e+300 -1e+300 0 0"}));
        const QString name = dir.filePath("qinfo.dat");
        QVERIFY(writeQInfo(name, info));
        QCOMPARE(readFile(name), QByteArray("# maxE 1e+300 -1e+300 0 0\n"
                                            "# maxMutJ 1e+300 -1e+300 0 0\n"));
        log.clear();
        QVERIFY(!writeQInfo(dir.path(), info));
        QCOMPARE(log.lines(), QStringList("Can't open " + dir.path()));
    }

    void qinfoFileLayout()
    {
        QInfo info;
        for (double v : {2, 4, 4, 4, 5, 5, 7, 9}) // mean 5, deviation 2
            info.maxE.add(v);
        info.maxMutJ.add(1);
        info.maxMutJ.add(2);
        info.maxE.finish();
        info.maxMutJ.finish();
        info.records << QInfoRecord{6, 7, 5, 4, 1, 2, 3}
                     << QInfoRecord{0.1234567, 12, 7100.25, 0.5, 7123.456789, -1e-7, 2.5e12};
        QTemporaryDir dir;
        const QString name = dir.filePath("qinfo.dat");
        QVERIFY(writeQInfo(name, info));
        QVERIFY(writeQInfo(name, info)); // a second survey replaces the file
        QCOMPARE(readFile(name),
                 QByteArray("# maxE 2 9 5 2\n"
                            "# maxMutJ 1 2 1.5 0.5\n"
                            "1\t2\t3\t4\t5\t6\t7\n"
                            "7123.46\t-1e-07\t2.5e+12\t0.5\t7100.25\t0.123457\t12\n"));
    }
};

QTEST_GUILESS_MAIN(TestMapTools)
#include "test_maptools.moc"
