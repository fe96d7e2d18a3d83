#include "analysis/Analyzed2DRes.h"
#include "analysis/ElemAnalysis.h"

#include "AnalHelpers.h"
#include "LogCapture.h"

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
    return {ElemTarget::of(symbol, QStringLiteral("K")), 20.0, th, roiS, roiE, noNeg};
}

class TestElemAnalysis : public QObject
{
    Q_OBJECT
private slots:
    void spectrum_data()
    {
        QTest::addColumn<Reals>("setup"); // Fe threshold, ROI start, end, No Neg; shift, main
        QTest::addColumn<Reals>("fe");    // dmut, N, mu+, mu-, DE, ROI, NROI of Fe
        QTest::addColumn<double>("nCu");
        const double d = 2 + 40.0 / 1024, muP = 3 + 132.0 / 1024, muM = 1 + 92.0 / 1024;
        // The ROI mean over the points 7150 .. 7190 is mu(7170) - mu-; before
        // the edge, over 7000 .. 7040, it is mu(7020) - mu- = -72/1024.
        const double roi = 2 + 78.0 / 1024, neg = -72.0 / 1024;
        const Reals found{d, 1, muP, muM, 3, roi, roi / d};
        QTest::newRow("closed form") << Reals{0.1, 7150, 7200, 0, 0, 0} << found << 0.5 / d;
        QTest::newRow("shifted energies") << Reals{0.1, 7150, 7200, 0, 30, 0} << found << 0.5 / d;
        QTest::newRow("no target checked") << Reals{0.1, 7150, 7200, 0, 0, -1} << found << 0.5 / d;
        // Cu has no edge here: its dmut is the background 0.5.
        QTest::newRow("main target without its element")
            << Reals{0.1, 7150, 7200, 0, 0, 1} << Reals{d, d / 0.5, muP, muM, 3, roi, roi / d}
            << 1.0;
        QTest::newRow("dmut at the threshold")
            << Reals{d, 7150, 7200, 0, 0, 0} << Reals{0.5, 1, 0.5, 0.5, 7, -5, -6} << 1.0;
        QTest::newRow("ROI without a point")
            << Reals{0.1, 7151, 7154, 0, 0, 0} << Reals{d, 1, muP, muM, 3, 0, 0} << 0.5 / d;
        QTest::newRow("negative ROI")
            << Reals{0.1, 7000, 7050, 0, 0, 0} << Reals{d, 1, muP, muM, 3, neg, neg / d} << 0.5 / d;
        QTest::newRow("No Neg") << Reals{0.1, 7000, 7050, 1, 0, 0}
                                << Reals{d, 1, muP, muM, 3, -5, -6} << 0.5 / d;
    }

    void spectrum()
    {
        QFETCH(Reals, setup);
        QFETCH(Reals, fe);
        QFETCH(double, nCu);
        const double shift = setup[4];
        const QVector<ElemRowSnapshot> rows{row("Fe", setup[0], setup[1], setup[2], setup[3] != 0),
                                            row("Cu", 0.1, 7150, 7200, false)};
        ElemAnalysis run(rows, int(setup[5]), ElemBackground{0.5, 9, 7, -5, -6});
        ElemResults res;
        // Twice: the second spectrum reuses the windows found for the first.
        for (int pass = 0; pass < 2; ++pass) {
            run.analyze(edgePoints(shift), shift, res);
            Reals seen[2];
            for (int k = 0; k < 7; ++k)
                for (int r = 0; r < 2; ++r)
                    seen[r] << res.kind(k)[r];
            QVERIFY(near(seen[0], fe, 1e-12));
            // Cu: the background values; its raw dmut the slope extrapolated.
            QVERIFY(near(seen[1], {0.5, nCu, 0.5, 0.5, 7, -5, -6}, 1e-12));
            QVERIFY(near(res.rawDmut, {2 + 40.0 / 1024, 40.0 / 1024}, 1e-9));
        }
    }

    // A spectrum built at a position carries the map's shift without its dE
    // switched on: the edge 30 eV up is read where the unshifted one is.
    void positionShift()
    {
        ElemResults shifted, plain;
        const QVector<ElemRowSnapshot> rows{row("Fe", 0.1, 7150, 7200, false)};
        const XafsSpectrum s(edgePoints(30), false, 30.0);
        QVERIFY(!s.dEEnabled());
        analyzeSpectrumElems(s, rows, 0, ElemBackground(), shifted);
        analyzeSpectrumElems(XafsSpectrum(edgePoints(0), false, 0.0), rows, 0, ElemBackground(),
                             plain);
        QCOMPARE(shifted.dmut[0], 2 + 40.0 / 1024);
        QVERIFY(qAbs(shifted.roi[0] - plain.roi[0]) < 1e-12 && qAbs(shifted.de[0] - 3) < 1e-9);
    }

    // Spectra of 0, 1 and 2 points (7000, 7010 eV): nothing is read past them;
    // two points give the line through them, no crossing and the ROI of point 0.
    void shortSpectra()
    {
        const Reals want[3] = {{0, 0, 0}, {0, 0, 0}, {40.0 / 1024, 0, -92.0 / 1024}};
        for (int count = 0; count < 3; ++count) {
            ElemResults res;
            analyzeSpectrumElems(XafsSpectrum(edgePoints(0, count), false, 0.0),
                                 {row("Fe", -1, 6990, 7006, false)}, 0, ElemBackground(), res);
            QVERIFY(near(res.dmut + res.de + res.roi, want[count], 1e-12));
        }
    }

    void targets_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("sort");
        QTest::addColumn<QString>("targets"); // name and edge energy of each
        QTest::newRow("commas and unknown")
            << "Fe, Ni-K  Cu-L3 Xx" << false << "Fe-K 7112 Ni-K 8332.8 Cu-L3 931.1";
        QTest::newRow("L spellings, M1 as K")
            << "Cu-LIII,Cu-l3 Cu-M1 fe" << false << "Cu-LIII 931.1 Cu-l3 931.1 Cu-M1 8978.9";
        QTest::newRow("sorted") << "Zn Fe Cu" << true << "Fe-K 7112 Cu-K 8978.9 Zn-K 9658.6";
        // The selection sort swaps Fe with the first Cu: equal numbers do not
        // keep their order.
        QTest::newRow("sorted, equal numbers")
            << "Cu-L3 Cu Fe" << true << "Fe-K 7112 Cu-K 8978.9 Cu-L3 931.1";
        QTest::newRow("nothing") << " , " << true << "";
    }

    void targets()
    {
        QFETCH(QString, text);
        QFETCH(bool, sort);
        QStringList seen;
        for (const ElemTarget &t : parseElemTargets(text, sort))
            seen << t.name() << QString::number(t.e0, 'g', 12);
        QTEST(seen.join(' '), "targets");
    }

    // A name before a symbol, an index; past the rows, not whole, unknown: -1, logged.
    void findRow()
    {
        const QVector<ElemTarget> targets = parseElemTargets("Fe Cu-L3 Fe-L3", false);
        LogCapture log;
        QVector<int> seen;
        for (const char *arg : {"Fe-L3", "Fe", "1", "3", "1.5", "Zn-K"})
            seen << findElemRow(targets, arg);
        QCOMPARE(seen, QVector<int>({2, 0, 1, -1, -1, -1}));
        QCOMPARE(log.lines().size(), 3);
    }

    // Three one-pixel bins across; the N maps of two used rows hold (1, 2),
    // (1, -1) and (0, 0), a third row is not used. Standard (1, 2) and threshold
    // 0.5, then "Set STD" at the second bin, (1, -1), and threshold -0.5.
    void corMaps()
    {
        AnalyzeCond walk;
        walk.setup(3, 1, 0, 0, 0, 0, 3, 1);
        Analyzed2DRes n0, n1, n2, cor, corTh;
        for (Analyzed2DRes *m : {&n0, &n1, &n2, &cor, &corTh})
            QVERIFY(m->prepare(walk));
        const double a[3] = {1, 1, 0}, b[3] = {2, -1, 0};
        for (int x = 0; x < 3; ++x) {
            n0.setData(x, 0, 0, 0, a[x]);
            n1.setData(x, 0, 0, 0, b[x]);
            n2.setData(x, 0, 0, 0, 5);
        }
        const auto values = [&] {
            return Reals{cor.value(0, 0),   cor.value(1, 0),   cor.value(2, 0),
                         corTh.value(0, 0), corTh.value(1, 0), corTh.value(2, 0)};
        };
        const QVector<bool> use{true, true, false};
        QVector<double> percent;
        const double c = -1 / std::sqrt(10.0);
        QVERIFY(recalcElemCorMaps({&n0, &n1, &n2}, ElemCorrelation(use, {1, 2, 1}), 0.5, cor, corTh,
                                  [&percent](double p) { percent << p; }));
        QCOMPARE(percent, QVector<double>{0.0});
        QVERIFY(near(values(), {1, c, 0, 1, 0, 0}, 1e-12));
        QVERIFY(
            recalcElemCorMaps({&n0, &n1, &n2}, ElemCorrelation(use, {1, -1, 1}), -0.5, cor, corTh));
        QVERIFY(near(values(), {c, 1, 0, c, 1, 0}, 1e-12));
        // No correlation of a spectrum without N keeps the last one.
        double last = 7;
        QVERIFY(!ElemCorrelation(use, {1, 2, 1}).correlation(Reals{0, 0, 5}, last) && last == 7);
        LogCapture log;
        QVERIFY(!recalcElemCorMaps({&n0}, ElemCorrelation(use, {1, 2, 1}), 0.5, cor, corTh));
        QCOMPARE(log.lines().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestElemAnalysis)
#include "test_elemanalysis.moc"
