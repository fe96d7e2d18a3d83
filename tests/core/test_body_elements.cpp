#include "analysis/Analyzed2DRes.h"
#include "analysis/gui/Analyzer.h"
#include "analysis/gui/ElemCtrl.h"
#include "batch/CmdLine.h"
#include "core/gui/Body.h"
#include "input/TiffData.h"

#include "LogCapture.h"

#include <QSignalSpy>
#include <QtTest>

#include <cmath>

// The element analysis as a script drives it: rows from a names text, a run
// over stacks of two elements whose amounts vary across the image, and the
// correlation maps as the threshold changes.
class TestBodyElements : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void rowsFromNames();
    void runGivesTheAmounts();
    void runThatCannotStartReleasesTheScript();

private:
    int run(const QString &statement);
    std::unique_ptr<Body> body;
};

namespace {

const int W = 6, H = 4;
// Amounts of Fe and Cu at a pixel: steps of mu at their K edges, exact in
// float.
double fe(int x, int)
{
    return 0.25 + 0.125 * x;
}
double cu(int, int y)
{
    return 0.5 + 0.25 * y;
}

} // namespace

void TestBodyElements::init()
{
    body.reset(new Body);
}

int TestBodyElements::run(const QString &statement)
{
    QSignalSpy done(body.get(), &Body::finishBatchExec);
    body->execCmdSlot(CmdLine(statement), false);
    return done.count();
}

void TestBodyElements::rowsFromNames()
{
    const Analyzer *a = body->analyzer();
    QCOMPARE(run("analyzer_elems_sort_by_an 1"), 1);
    QCOMPARE(run("analyzer_target_elements Zn, Fe Xx Cu-LIII"), 1);
    QCOMPARE(a->elemCount(), 3);
    QCOMPARE(a->elem(0)->name(), QStringLiteral("Fe-K"));
    QCOMPARE(a->elem(1)->name(), QStringLiteral("Cu-LIII"));
    QCOMPARE(a->elem(2)->name(), QStringLiteral("Zn-K"));
    // The groups follow the sorted rows: by name, symbol and index.
    QCOMPARE(run("analyzer_elems_select_target Cu-LIII"), 1);
    QCOMPARE(a->mainTargetRow(), 1);
    QCOMPARE(run("analyzer_elems_select_show Zn"), 1);
    QCOMPARE(run("analyzer_select_analysis_mode 2"), 1);
    QCOMPARE(run("analyzer_elems_select_disp_mode 4"), 1);
    QCOMPARE(a->currentMap(), a->elem(2)->maps()[2]);
    QCOMPARE(run("analyzer_elems_select_show 0"), 1);
    QCOMPARE(a->currentMap(), a->elem(0)->maps()[2]);
    // A name that is no row's changes nothing.
    LogCapture log;
    QCOMPARE(run("analyzer_elems_thdmut Ni 0.5"), 1);
    QVERIFY(!log.lines().isEmpty());
    for (int i = 0; i < 3; ++i)
        QCOMPARE(a->elem(i)->snapshot().thDMut, 0.1);
    QCOMPARE(run("analyzer_elems_thdmut 2 0.5"), 1);
    QCOMPARE(a->elem(2)->snapshot().thDMut, 0.5);
}

void TestBodyElements::runGivesTheAmounts()
{
    QCOMPARE(run("analyzer_target_elements Fe Cu"), 1);
    const Analyzer *a = body->analyzer();
    const double eFe = a->elem(0)->target().e0;
    const double eCu = a->elem(1)->target().e0;
    QCOMPARE(run("set_fluo_type 1"), 1);
    int fNo = 0;
    for (int e = 7000; e <= 9200; e += 10, ++fNo) {
        QVector<float> one(W * H, 1.0f), mu(W * H);
        for (int i = 0; i < W * H; ++i)
            mu[i] = float((e > eFe ? fe(i % W, i / W) : 0.0) + (e > eCu ? cu(i % W, i / W) : 0.0));
        const QString name = QStringLiteral("f_%1_0000.tif").arg(e, 5, 10, QLatin1Char('0'));
        body->loadedI0(TiffData::fromSamples(W, H, one.constData(), name), fNo);
        body->loadedI1(TiffData::fromSamples(W, H, mu.constData(), name), fNo);
    }
    for (const char *s : {"set_band_w 0", "set_band_h 0", "analyzer_elems_set_use Fe 1",
                          "analyzer_elems_set_use 1 1", "analyzer_elems_std_ratio Cu 2"})
        QCOMPARE(run(s), 1);

    QSignalSpy done(body.get(), &Body::finishBatchExec);
    body->execCmdSlot(CmdLine("analyzer_exec_elems"), false);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
    QVERIFY(!body->analysisRunning());
    const Analyzed2DRes *cor = a->namedMap(Analyzer::ElemsCorMap);
    const Analyzed2DRes *corTh = a->namedMap(Analyzer::ElemsCorThMap);
    const auto correlation = [](int x, int y) {
        // N = (1, cu / fe) against the standard (1, 2).
        const double n = cu(x, y) / fe(x, y);
        return (1 + 2 * n) / std::sqrt((1 + n * n) * 5);
    };
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            QCOMPARE(a->elem(0)->maps()[0]->value(x, y), fe(x, y));
            QCOMPARE(a->elem(1)->maps()[0]->value(x, y), cu(x, y));
            QCOMPARE(a->elem(1)->maps()[1]->value(x, y), cu(x, y) / fe(x, y));
            QVERIFY(std::fabs(cor->value(x, y) - correlation(x, y)) < 1e-12);
            QCOMPARE(corTh->value(x, y), correlation(x, y) >= 0.9 ? cor->value(x, y) : 0.0);
        }
    // Only the bins with cu = 2 fe correlate fully; a threshold of 0.999
    // keeps just those and the near ones.
    QCOMPARE(run("analyzer_elems_set_corr_th 0.999"), 1);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            QCOMPARE(corTh->value(x, y), correlation(x, y) >= 0.999 ? cor->value(x, y) : 0.0);
    QCOMPARE(corTh->value(0, 0), cor->value(0, 0)); // cu = 2 fe: 1.0
    QCOMPARE(corTh->value(5, 0), 0.0);
}

void TestBodyElements::runThatCannotStartReleasesTheScript()
{
    LogCapture log;
    QCOMPARE(run("analyzer_exec_elems"), 1);
    QVERIFY(log.contains("Element run not started: no I1 frames"));
}

QTEST_MAIN(TestBodyElements)
#include "test_body_elements.moc"
