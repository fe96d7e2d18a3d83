#include "analysis/gui/Analyzer.h"
#include "analysis/gui/ElemCtrl.h"
#include "analysis/gui/LCFReference.h"

#include "CoreWidgets.h"
#include "AnalHelpers.h"
#include "LogCapture.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

// The 2D LCF run and the element analysis as a user and a script drive them through the main
// window. The LCF stacks are fluorescence frames whose I1 is an exact mix of two references with a
// weight known per pixel, so every map value is known beforehand.
class TestBodyAnalysis : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void scriptedRunGivesTheMixture();
    void runsThatCannotStartReleaseTheScript();
    void stopRestartAndPanelSwitch();
    void victoreenChoice();
    void spectrumUnderTheMouseIsFitted();
    void elementRowsFromNames();
    void elementRunGivesTheAmounts();

private:
    int run(const QString &statement) { return runStatement(*body, statement); }
    void runAll(const QStringList &l) { QCOMPARE(runLines(*body, l.join('\n')), QString()); }
    void loadMixes(int w, int h);
    void setThreeRows();

    QTemporaryDir dir;
    std::unique_ptr<Body> body;
};

namespace {

const auto refA = [](double e) { return unitStep(e, 7100); };
const auto refB = [](double e) { return unitStep(e, 7120); };
// Below one half, so every mix crosses half height where B does.
const auto weightA = [](int x, int y) { return (x + 4 * y + 1) / 128.0; };

} // namespace

void TestBodyAnalysis::init()
{
    body.reset(new Body);
    QByteArray a, b;
    for (int e = 6000; e <= 8190; e += 10) {
        a += QByteArray::number(e) + ' ' + QByteArray::number(refA(e)) + '\n';
        b += QByteArray::number(e) + ' ' + QByteArray::number(refB(e)) + '\n';
    }
    QVERIFY(writeFile(dir.filePath("a.dat"), a) && writeFile(dir.filePath("b.dat"), b));
}

void TestBodyAnalysis::loadMixes(int w, int h)
{
    runAll({"set_fluo_type 1", "set_band_w 0", "set_band_h 0"});
    loadStacks(*body, w, h, 220, 6000, 10, 1.0f, [](int k, int x, int y) {
        const double a = weightA(x % 8, y % 8), e = 6000 + 10 * k;
        return a * refA(e) + (1 - a) * refB(e);
    });
}

// Row 0 is A, row 1 a reference that is not used, row 2 is B.
void TestBodyAnalysis::setThreeRows()
{
    const QString a = dir.filePath("a.dat"), b = dir.filePath("b.dat");
    runAll({"analyzer_set_LCF_std 0 1 0 " + a + " 0", "analyzer_set_LCF_std 1 0 0 " + a + " 0",
            "analyzer_set_LCF_std 2 1 0 " + b + " 0"});
    QCOMPARE(body->analyzer()->referenceCount(), 3);
}

void TestBodyAnalysis::scriptedRunGivesTheMixture()
{
    loadMixes(8, 8);
    setThreeRows();
    LogCapture log;
    QVERIFY(runAndWait(*body, "analyzer_exec_LCF"));
    QVERIFY(log.contains("2da 3:"));
    QCOMPARE(body->analyzer()->progressText(), QStringLiteral("100.00"));

    // The jump of every mix is 1: dmut is the weight. The 109 inner points below both edges have
    // y = 0 and count 1.0 each; the fit is exact elsewhere.
    const Analyzer *a = body->analyzer();
    QVERIFY(near({a->reference(2)->maps()[Analyzer::DMutKind]->value(5, 6),
                  a->reference(1)->maps()[Analyzer::RatioKind]->value(5, 6)},
                 {1 - weightA(5, 6), 0}, 1e-6));
    QVERIFY(std::fabs(a->namedMap(Analyzer::ZansaMap)->value(5, 6) - 109.0 / 218 / 220) < 1e-9);

    // The Ratio map of row 0 on show: the value under the mouse, then saved.
    runAll({"analyzer_select_image 0", "analyzer_select_image_type 1", "select_disp_image 3",
            "move_position 3 1", "saveDataCfg_save_as_text", "saveDataCfg_text_as_xyz",
            "saveDataCfg_text_as_csv"});
    QCOMPARE(body->findChild<QLabel *>("Value")->text(), QStringLiteral("0.06"));
    runAll({"save_data " + dir.filePath("ratio")});
    const QStringList lines =
        QString::fromLatin1(readFile(dir.filePath("ratio-0.dat"))).split('\n', Qt::SkipEmptyParts);
    QVERIFY(lines.size() == 64 && lines[8 + 3] == "3,1,0.0625");

    // Every map of the run as a script saves it: DMut (type 0) and Ratio (type 1) of the two used
    // rows, then Zansa (-2).
    const struct
    {
        int id, type;
        double value;
    } maps[] = {{0, 0, weightA(3, 1)},
                {2, 0, 1 - weightA(3, 1)},
                {2, 1, 1 - weightA(3, 1)},
                {-2, 0, 109.0 / 218 / 220}};
    for (const auto &m : maps) {
        const QString name = dir.filePath(QString("map%1%2").arg(m.id + 2).arg(m.type));
        runAll({QString("analyzer_select_image %1").arg(m.id),
                QString("analyzer_select_image_type %1").arg(m.type), "save_data " + name});
        const QStringList l =
            QString::fromLatin1(readFile(name + "-0.dat")).split('\n', Qt::SkipEmptyParts);
        QVERIFY2(l.size() == 64 && std::fabs(l[11].section(',', 2).toDouble() - m.value) < 1e-6,
                 qPrintable(name));
    }
}

// Without frames, then with one reference row: the script goes on.
void TestBodyAnalysis::runsThatCannotStartReleaseTheScript()
{
    body->analyzer()->ensureReferences(2);
    const QStringList why{"LCF run not started: no I1 frames",
                          "Element run not started: no I1 frames",
                          "LCF run not started: fewer than two reference rows"};
    for (int i = 0; i < 3; ++i) {
        if (i == 2) {
            body.reset(new Body);
            loadMixes(4, 4);
            body->analyzer()->ensureReferences(1);
        }
        LogCapture log;
        QCOMPARE(run(i == 1 ? "analyzer_exec_elems" : "analyzer_exec_LCF"), 1);
        QVERIFY(log.contains(why[i]) && !body->analysisRunning());
    }
}

void TestBodyAnalysis::stopRestartAndPanelSwitch()
{
    loadMixes(64, 64);
    setThreeRows();
    auto *analyze = body->analyzer()->findChild<QPushButton *>("AskAnalyze");
    QSignalSpy done(body.get(), &Body::finishBatchExec);
    LogCapture log;

    // Stopped before any row came back: the script goes on, the progress keeps its value and
    // nothing late is recorded.
    body->execCmdSlot(CmdLine("analyzer_exec_LCF"), false);
    QVERIFY(body->analysisRunning());
    QTest::mouseClick(analyze, Qt::LeftButton);
    QVERIFY(!body->analysisRunning() && done.count() == 1);
    QVERIFY(log.contains("2da 4:"));
    QCOMPARE(body->analyzer()->progressText(), QStringLiteral(" 0.00"));

    // Started by hand, with the panel switched away while it runs: the run fills its own maps and
    // leaves the script where it is.
    QTest::mouseClick(analyze, Qt::LeftButton);
    QVERIFY(body->analysisRunning());
    // A script's run asked for meanwhile is refused at once; the running one goes on.
    QCOMPARE(run("analyzer_exec_elems"), 1);
    QVERIFY(log.contains("Element run not started: a run is already going"));
    body->analyzer()->selectAnalysisPanel(Analyzer::SumUpPanel);
    QTRY_VERIFY_WITH_TIMEOUT(!body->analysisRunning(), 20000);
    QCOMPARE(done.count(), 2);
    const Analyzed2DRes *ratioA = body->analyzer()->reference(0)->maps()[Analyzer::RatioKind];
    QVERIFY(
        near({ratioA->value(63, 63), ratioA->value(9, 2)}, {weightA(7, 7), weightA(1, 2)}, 1e-6));
}

// The background kind of a reference row as a script writes it; a row number past the table adds no
// row.
void TestBodyAnalysis::victoreenChoice()
{
    const QPair<QString, bool> kinds[] = {{"vic", true}, {"0", false}, {"2", true}, {"", true}};
    for (const auto &k : kinds) {
        runAll({QString("analyzer_set_LCF_std 4 1 2.5 %1 %2").arg(dir.filePath("a.dat"), k.first)});
        const LCFReference *row = body->analyzer()->reference(4);
        QVERIFY(row && row->isUsed() && row->isVictreen() == k.second && row->deltaE() == 2.5);
    }
    runAll({"analyzer_set_LCF_std 32 1 0 x"});
    QCOMPARE(body->analyzer()->referenceCount(), 5);
}

void TestBodyAnalysis::spectrumUnderTheMouseIsFitted()
{
    loadMixes(8, 8);
    setThreeRows();
    // Moves faster than the worker answers: only the last one counts. The first position goes out
    // at once, the last one when it is back.
    QSignalSpy fitted(body->analyzer(), &Analyzer::finished);
    for (int x = 0; x < 8; ++x)
        body->showXafsSpectrum(x, 2);
    QTRY_COMPARE_WITH_TIMEOUT(fitted.count(), 2, 10000);
    QCOMPARE(body->analyzer()->reference(0)->weight(), weightA(7, 2));
    QCOMPARE(body->analyzer()->reference(2)->findChild<QLabel *>("Weight")->text(),
             QString::asprintf("%5.2f", (1 - weightA(7, 2)) * 100));
}

// The groups follow the sorted rows: by name, symbol and index; a name that is no row's changes
// nothing.
void TestBodyAnalysis::elementRowsFromNames()
{
    const Analyzer *a = body->analyzer();
    runAll({"analyzer_elems_sort_by_an 1", "analyzer_target_elements Zn, Fe Xx Cu-LIII"});
    QCOMPARE(a->elemCount(), 3);
    QCOMPARE(QStringList({a->elem(0)->name(), a->elem(1)->name(), a->elem(2)->name()}),
             QStringList({"Fe-K", "Cu-LIII", "Zn-K"}));
    runAll({"analyzer_elems_select_target Cu-LIII"});
    QCOMPARE(a->mainTargetRow(), 1);
    runAll({"analyzer_elems_select_show Zn", "analyzer_select_analysis_mode 2",
            "analyzer_elems_select_disp_mode 4"});
    QCOMPARE(a->currentMap(), a->elem(2)->maps()[2]);
    runAll({"analyzer_elems_select_show 0"});
    QCOMPARE(a->currentMap(), a->elem(0)->maps()[2]);
    runAll({"analyzer_elems_thdmut Ni 0.5", "analyzer_elems_thdmut 2 0.5"});
    QCOMPARE(QList<double>({a->elem(0)->snapshot().thDMut, a->elem(1)->snapshot().thDMut,
                            a->elem(2)->snapshot().thDMut}),
             QList<double>({0.1, 0.1, 0.5}));
}

// Steps of mu at the K edges of Fe and Cu whose heights, exact in float, vary across the image; the
// correlation map as the threshold changes.
void TestBodyAnalysis::elementRunGivesTheAmounts()
{
    const auto fe = [](int x) { return 0.25 + 0.125 * x; };
    const auto cu = [](int y) { return 0.5 + 0.25 * y; };
    runAll({"analyzer_target_elements Fe Cu", "set_fluo_type 1"});
    const Analyzer *a = body->analyzer();
    const double eFe = a->elem(0)->target().e0, eCu = a->elem(1)->target().e0;
    loadStacks(*body, 6, 4, 221, 7000, 10, 1.0f, [&](int k, int x, int y) {
        return (7000 + 10 * k > eFe ? fe(x) : 0.0) + (7000 + 10 * k > eCu ? cu(y) : 0.0);
    });
    runAll({"set_band_w 0", "set_band_h 0", "analyzer_elems_set_use Fe 1",
            "analyzer_elems_set_use 1 1", "analyzer_elems_std_ratio Cu 2"});
    QVERIFY(runAndWait(*body, "analyzer_exec_elems"));
    QVERIFY(!body->analysisRunning());
    QCOMPARE(a->elem(1)->maps()[1]->value(3, 2), cu(2) / fe(3));
    // With no row on show there is no map to save. Each display mode saved as a script saves it;
    // the dmut of each element (mode 0, Fe and Cu on show) follows its own amount.
    runAll({"analyzer_select_analysis_mode 2", "select_disp_image 3", "saveDataCfg_save_as_text",
            "saveDataCfg_text_as_xyz", "saveDataCfg_text_as_csv"});
    LogCapture log;
    QCOMPARE(run("save_data " + dir.filePath("none")), 1);
    QVERIFY(log.contains("No result map to save"));
    runAll({"analyzer_elems_select_show Fe"});
    for (int mode = 0; mode < 9; ++mode) {
        const QString name = dir.filePath(QString("mode%1").arg(mode));
        runAll({QString("analyzer_elems_select_disp_mode %1").arg(mode), "save_data " + name});
        QCOMPARE(QString::fromLatin1(readFile(name + "-0.dat")).count('\n'), 24);
    }
    QCOMPARE(QString::fromLatin1(readFile(dir.filePath("mode0-0.dat"))).split('\n')[6 * 2 + 3],
             QString("3,2,%1").arg(fe(3)));
    runAll({"analyzer_elems_select_show Cu", "analyzer_elems_select_disp_mode 0",
            "save_data " + dir.filePath("cu")});
    QCOMPARE(QString::fromLatin1(readFile(dir.filePath("cu-0.dat"))).split('\n')[6 * 2 + 3],
             QString("3,2,%1").arg(cu(2)));
    const Analyzed2DRes *cor = a->namedMap(Analyzer::ElemsCorMap);
    const Analyzed2DRes *corTh = a->namedMap(Analyzer::ElemsCorThMap);
    // N = (1, cu / fe) against the standard (1, 2): at (2, 0) N = (1, 1), 3 / sqrt(10), above 0.9;
    // at (5, 0) 0.832, below it; only (0, 0), where cu = 2 fe, correlates fully.
    QVERIFY(std::fabs(cor->value(2, 0) - 3 / std::sqrt(10.0)) < 1e-12);
    QVERIFY(corTh->value(2, 0) == cor->value(2, 0) && corTh->value(5, 0) == 0.0);
    QCOMPARE(run("analyzer_elems_set_corr_th 0.999"), 1);
    QVERIFY(corTh->value(0, 0) == cor->value(0, 0) && corTh->value(2, 0) == 0.0);
}

QTEST_MAIN(TestBodyAnalysis)
#include "test_body_analysis.moc"
