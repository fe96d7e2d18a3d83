#include "analysis/Analyzed2DRes.h"
#include "analysis/ElemAnalysis.h"

#include "LogCapture.h"

#include <QtTest>

#include <cmath>

using Reals = QVector<double>;

// 7000 .. 7300 eV in 10 eV steps: mu = 1 + (e - 7000) / 1024 plus a step of 2
// that rises from 7100 to 7120 (half of it at 7110). Every value is exact in
// binary, and so is the linear interpolation between them. Around the Fe K
// edge (7112 eV) with dE 20: mu+ = mu(7132) = 3 + 132/1024, mu- = mu(7092) =
// 1 + 92/1024, dmut = 2 + 40/1024; the middle of the step, 2 + 112/1024, is
// crossed between 7110 (2 + 110/1024) and 7120, so the edge lies at 7115.
static double mu(double e)
{
    return 1 + (e - 7000) / 1024 + (e <= 7100 ? 0.0 : e >= 7120 ? 2.0 : 1.0);
}

static SpectrumPoints edgePoints(double shift = 0, int count = 31)
{
    SpectrumPoints p;
    for (int i = 0; i < count; ++i)
        p.append(7000 + 10 * i + shift, mu(7000 + 10 * i));
    return p;
}

static ElemRowSnapshot row(const QString &symbol, double th, double roiS, double roiE, bool noNeg)
{
    ElemRowSnapshot r;
    r.target = ElemTarget::of(symbol, QStringLiteral("K"));
    r.thDMut = th;
    r.roiStart = roiS;
    r.roiEnd = roiE;
    r.noNeg = noNeg;
    return r;
}

class TestElemAnalysis : public QObject
{
    Q_OBJECT
private slots:
    void spectrum_data();
    void spectrum();
    void shortSpectra_data();
    void shortSpectra();
    void targets_data();
    void targets();
    void findRow_data();
    void findRow();
    void correlation_data();
    void correlation();
    void corMaps();
};

static const double dmutFe = 2 + 40.0 / 1024;

void TestElemAnalysis::spectrum_data()
{
    QTest::addColumn<double>("th");
    QTest::addColumn<double>("roiS");
    QTest::addColumn<double>("roiE");
    QTest::addColumn<bool>("noNeg");
    QTest::addColumn<double>("shift");
    QTest::addColumn<int>("mainT");
    // Fe's dmut, mu+, mu-, DE, ROI, NROI, then N of Fe and of Cu.
    QTest::addColumn<Reals>("fe");
    QTest::addColumn<Reals>("n");

    // The ROI mean over the points 7150 .. 7190 is mu(7170) - mu-.
    const double roi = 2 + 78.0 / 1024;
    const Reals found{dmutFe, 3 + 132.0 / 1024, 1 + 92.0 / 1024, 3, roi, roi / dmutFe};
    const Reals nFe{1, 0.5 / dmutFe};
    QTest::newRow("closed form") << 0.1 << 7150.0 << 7200.0 << false << 0.0 << 0 << found << nFe;
    QTest::newRow("shifted energies")
        << 0.1 << 7150.0 << 7200.0 << false << 30.0 << 0 << found << nFe;
    QTest::newRow("no target checked")
        << 0.1 << 7150.0 << 7200.0 << false << 0.0 << -1 << found << nFe;
    // Cu has no edge here: its dmut is the background 0.5.
    QTest::newRow("main target without its element")
        << 0.1 << 7150.0 << 7200.0 << false << 0.0 << 1 << found << Reals{dmutFe / 0.5, 1};
    QTest::newRow("just above the threshold")
        << dmutFe - 1e-9 << 7150.0 << 7200.0 << false << 0.0 << 0 << found << nFe;
    QTest::newRow("dmut at the threshold") << dmutFe << 7150.0 << 7200.0 << false << 0.0 << 0
                                           << Reals{0.5, 0.5, 0.5, 7, -5, -6} << Reals{1, 1};
    QTest::newRow("ROI without a point") << 0.1 << 7151.0 << 7154.0 << false << 0.0 << 0
                                         << Reals{found[0], found[1], found[2], 3, 0, 0} << nFe;
    QTest::newRow("ROI below the first point")
        << 0.1 << 6000.0 << 6001.0 << false << 0.0 << 0
        << Reals{found[0], found[1], found[2], 3, 0, 0} << nFe;
    // Before the edge: mean over 7000 .. 7040 of mu - mu- = -72/1024.
    QTest::newRow("negative ROI") << 0.1 << 7000.0 << 7050.0 << false << 0.0 << 0
                                  << Reals{found[0], found[1],     found[2],
                                           3,        -72.0 / 1024, -72.0 / 1024 / dmutFe}
                                  << nFe;
    QTest::newRow("No Neg") << 0.1 << 7000.0 << 7050.0 << true << 0.0 << 0
                            << Reals{found[0], found[1], found[2], 3, -5, -6} << nFe;
}

void TestElemAnalysis::spectrum()
{
    QFETCH(double, th);
    QFETCH(double, roiS);
    QFETCH(double, roiE);
    QFETCH(bool, noNeg);
    QFETCH(double, shift);
    QFETCH(int, mainT);
    QFETCH(Reals, fe);
    QFETCH(Reals, n);

    const ElemBackground bg{0.5, 9, 7, -5, -6};
    const QVector<ElemRowSnapshot> rows{row("Fe", th, roiS, roiE, noNeg),
                                        row("Cu", 0.1, 7150, 7200, false)};
    ElemAnalysis run(rows, mainT, bg);
    ElemResults res;
    // Twice: the second spectrum reuses the windows found for the first.
    for (int pass = 0; pass < 2; ++pass) {
        run.analyze(edgePoints(shift), shift, res);
        for (int k = 0; k < 7; ++k) {
            const double want = k == 1 ? n[0] : fe[k < 1 ? 0 : k - 1];
            QVERIFY2(std::abs(res.kind(k)[0] - want) < 1e-12, qPrintable(QString::number(k)));
        }
        QVERIFY(std::abs(res.n[1] - n[1]) < 1e-12);
        // Cu: background values, and the extrapolated slope as its raw dmut.
        QCOMPARE(res.dmut[1], 0.5);
        QCOMPARE(res.muPlus[1], 0.5);
        QCOMPARE(res.muMinus[1], 0.5);
        QCOMPARE(res.de[1], 7.0);
        QCOMPARE(res.roi[1], -5.0);
        QCOMPARE(res.nroi[1], -6.0);
        QVERIFY(std::abs(res.rawDmut[1] - 40.0 / 1024) < 1e-9);
    }
}

void TestElemAnalysis::shortSpectra_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<Reals>("fe"); // dmut, DE, ROI
    QTest::newRow("no point") << 0 << Reals{0, 0, 0};
    QTest::newRow("one point") << 1 << Reals{0, 0, 0};
    // Two points, 7000 and 7010: the line through them, no crossing, and a
    // ROI window of point 0 alone.
    QTest::newRow("two points") << 2 << Reals{40.0 / 1024, 0, -92.0 / 1024};
}

void TestElemAnalysis::shortSpectra()
{
    QFETCH(int, count);
    QFETCH(Reals, fe);
    const XafsSpectrum s(edgePoints(0, count), false, 0.0);
    ElemResults res;
    analyzeSpectrumElems(s, {row("Fe", -1, 6990, 7006, false)}, 0, ElemBackground(), res);
    QCOMPARE(res.dmut.size(), 1);
    QVERIFY(std::abs(res.dmut[0] - fe[0]) < 1e-12);
    QCOMPARE(res.de[0], fe[1]);
    QVERIFY(std::abs(res.roi[0] - fe[2]) < 1e-12);
}

void TestElemAnalysis::targets_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("sort");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<Reals>("e0");
    QTest::newRow("commas and unknown")
        << "Fe, Ni-K  Cu-L3 Xx" << false << QStringList{"Fe-K", "Ni-K", "Cu-L3"}
        << Reals{7112, 8332.8, 931.1};
    QTest::newRow("L spellings, M1 as K")
        << "Cu-LIII,Cu-l3 Cu-M1 fe" << false << QStringList{"Cu-LIII", "Cu-l3", "Cu-M1"}
        << Reals{931.1, 931.1, 8978.9};
    QTest::newRow("sorted") << "Zn Fe Cu" << true << QStringList{"Fe-K", "Cu-K", "Zn-K"}
                            << Reals{7112, 8978.9, 9658.6};
    // The selection sort swaps Fe with the first Cu: equal numbers do not
    // keep their order.
    QTest::newRow("sorted, equal numbers")
        << "Cu-L3 Cu Fe" << true << QStringList{"Fe-K", "Cu-K", "Cu-L3"}
        << Reals{7112, 8978.9, 931.1};
    QTest::newRow("nothing") << " , " << true << QStringList() << Reals();
}

void TestElemAnalysis::targets()
{
    QFETCH(QString, text);
    QFETCH(bool, sort);
    QFETCH(QStringList, names);
    QFETCH(Reals, e0);
    const QVector<ElemTarget> t = parseElemTargets(text, sort);
    QStringList seen;
    for (const ElemTarget &target : t)
        seen << target.name();
    QCOMPARE(seen, names);
    for (int i = 0; i < t.size(); ++i)
        QVERIFY(std::abs(t[i].e0 - e0[i]) < 1e-9);
}

void TestElemAnalysis::findRow_data()
{
    QTest::addColumn<QString>("arg");
    QTest::addColumn<int>("row");
    QTest::newRow("name before symbol") << "Fe-L3" << 2;
    QTest::newRow("symbol") << "Fe" << 0;
    QTest::newRow("index") << "1" << 1;
    QTest::newRow("index past the rows") << "3" << -1;
    QTest::newRow("negative index") << "-1" << -1;
    QTest::newRow("not whole") << "1.5" << -1;
    QTest::newRow("no such name") << "Zn-K" << -1;
}

void TestElemAnalysis::findRow()
{
    QFETCH(QString, arg);
    QFETCH(int, row);
    LogCapture log;
    QCOMPARE(findElemRow(parseElemTargets("Fe Cu-L3 Fe-L3", false), arg), row);
    QCOMPARE(log.lines().size(), row < 0 ? 1 : 0);
}

void TestElemAnalysis::correlation_data()
{
    QTest::addColumn<Reals>("n");
    QTest::addColumn<Reals>("std");
    QTest::addColumn<QVector<bool>>("use");
    QTest::addColumn<double>("cor"); // NaN: none
    QTest::newRow("proportional") << Reals{2, 4} << Reals{1, 2} << QVector<bool>{true, true} << 1.0;
    QTest::newRow("unused row left out")
        << Reals{2, 4, 7} << Reals{1, 2, 1} << QVector<bool>{true, true, false} << 1.0;
    QTest::newRow("half way") << Reals{1, 1} << Reals{1, 0} << QVector<bool>{true, true}
                              << std::sqrt(0.5);
    QTest::newRow("no N") << Reals{0, 0} << Reals{1, 2} << QVector<bool>{true, true} << qQNaN();
    QTest::newRow("no std") << Reals{1, 2} << Reals{0, 0} << QVector<bool>{true, true} << qQNaN();
    QTest::newRow("none used") << Reals{1, 2} << Reals{1, 2} << QVector<bool>{false, false}
                               << qQNaN();
}

void TestElemAnalysis::correlation()
{
    QFETCH(Reals, n);
    QFETCH(Reals, std);
    QFETCH(QVector<bool>, use);
    QFETCH(double, cor);
    const ElemCorrelation c(use, std);
    double seen = -7;
    QCOMPARE(c.correlation(n, seen), !std::isnan(cor));
    QVERIFY(std::isnan(cor) ? seen == -7 : std::abs(seen - cor) < 1e-12);
    QCOMPARE(c.mapValue(n.constData()), std::isnan(cor) ? 0.0 : seen);
}

// Three one-pixel bins across; the N maps of two rows hold (1, 2), (1, -1)
// and (0, 0).
void TestElemAnalysis::corMaps()
{
    AnalyzeCond walk;
    walk.setup(3, 1, 0, 0, 0, 0, 3, 1);
    Analyzed2DRes n0, n1, cor, corTh;
    for (Analyzed2DRes *m : {&n0, &n1, &cor, &corTh})
        QVERIFY(m->prepare(walk));
    n0.setData(0, 0, 0, 0, 1);
    n0.setData(1, 0, 0, 0, 1);
    n1.setData(0, 0, 0, 0, 2);
    n1.setData(1, 0, 0, 0, -1);
    QVector<double> percent;
    const auto rowStarted = [&percent](double p) { percent << p; };
    const double c = -1 / std::sqrt(10.0);
    // Standard (1, 2), threshold 0.5; then "Set STD" at the second bin, (1, -1),
    // and threshold -0.5.
    QVERIFY(recalcElemCorMaps({&n0, &n1}, ElemCorrelation({true, true}, {1, 2}), 0.5, cor, corTh,
                              rowStarted));
    QCOMPARE(percent, QVector<double>{0.0});
    const Reals first{cor.value(0, 0),   cor.value(1, 0),   cor.value(2, 0),
                      corTh.value(0, 0), corTh.value(1, 0), corTh.value(2, 0)};
    QVERIFY(
        recalcElemCorMaps({&n0, &n1}, ElemCorrelation({true, true}, {1, -1}), -0.5, cor, corTh));
    const Reals second{cor.value(0, 0),   cor.value(1, 0),   cor.value(2, 0),
                       corTh.value(0, 0), corTh.value(1, 0), corTh.value(2, 0)};
    const Reals want1{1, c, 0, 1, 0, 0};
    const Reals want2{c, 1, 0, c, 1, 0};
    for (int i = 0; i < 6; ++i) {
        QVERIFY(std::abs(first[i] - want1[i]) < 1e-12);
        QVERIFY(std::abs(second[i] - want2[i]) < 1e-12);
    }
    LogCapture log;
    QVERIFY(!recalcElemCorMaps({&n0}, ElemCorrelation({true, true}, {1, 2}), 0.5, cor, corTh));
    QCOMPARE(log.lines().size(), 1);
}

QTEST_GUILESS_MAIN(TestElemAnalysis)
#include "test_elemanalysis.moc"
