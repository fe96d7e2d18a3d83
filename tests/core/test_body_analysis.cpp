#include "analysis/Analyzed2DRes.h"
#include "analysis/gui/Analyzer.h"
#include "analysis/gui/LCFReference.h"
#include "batch/CmdLine.h"
#include "core/gui/Body.h"
#include "input/TiffData.h"

#include "LogCapture.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

#include <cmath>
#include <functional>

// The 2D LCF run as a user and a script drive it through the main window and
// the analyzer. The stacks are fluorescence frames whose I1 is an exact mix
// of two references with a weight known per pixel, so every map value is
// known beforehand.
class TestBodyAnalysis : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void scriptedRunGivesTheMixture();
    void runThatCannotStartReleasesTheScript_data();
    void runThatCannotStartReleasesTheScript();
    void stopRestartAndPanelSwitch();
    void victoreenChoice_data();
    void victoreenChoice();
    void spectrumUnderTheMouseIsFitted();

private:
    int run(const QString &statement);
    void loadStacks(int w, int h);
    void setThreeRows();

    QTemporaryDir dir;
    std::unique_ptr<Body> body;
};

namespace {

// 0 below the edge, 1 above, 0.5 on it: with straight backgrounds the
// normalized curve of such a step, and of a mix whose weights sum to 1, is
// the curve itself.
double refA(double e)
{
    return e <= 7090 ? 0.0 : e == 7100 ? 0.5 : 1.0;
}
double refB(double e)
{
    return e <= 7110 ? 0.0 : e == 7120 ? 0.5 : 1.0;
}
// Below one half, so every mix crosses half height where B does.
double weightA(int x, int y)
{
    return (x + 4 * y + 1) / 128.0;
}

bool writeReference(const QString &path, double (*mu)(double))
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    QTextStream out(&f);
    for (int e = 6000; e <= 8190; e += 10)
        out << e << ' ' << mu(e) << '\n';
    return true;
}

} // namespace

void TestBodyAnalysis::init()
{
    body.reset(new Body);
    QVERIFY(writeReference(dir.filePath("a.dat"), refA));
    QVERIFY(writeReference(dir.filePath("b.dat"), refB));
}

int TestBodyAnalysis::run(const QString &statement)
{
    QSignalSpy done(body.get(), &Body::finishBatchExec);
    body->execCmdSlot(CmdLine(statement), false);
    return done.count();
}

void TestBodyAnalysis::loadStacks(int w, int h)
{
    QCOMPARE(run("set_fluo_type 1"), 1);
    int fNo = 0;
    for (double e = 6000; e <= 8190; e += 10, ++fNo) {
        QVector<float> one(w * h, 1.0f), mix(w * h);
        for (int i = 0; i < w * h; ++i) {
            const double a = weightA(i % w % 8, i / w % 8);
            mix[i] = float(a * refA(e) + (1 - a) * refB(e));
        }
        // The panels take the energies from the names.
        const QString name = QStringLiteral("f_%1_0000.tif").arg(int(e), 5, 10, QLatin1Char('0'));
        TiffData *i0 = TiffData::fromSamples(w, h, one.constData(), name);
        TiffData *i1 = TiffData::fromSamples(w, h, mix.constData(), name);
        body->loadedI0(i0, fNo);
        body->loadedI1(i1, fNo);
    }
    QCOMPARE(run("set_band_w 0"), 1);
    QCOMPARE(run("set_band_h 0"), 1);
}

// Row 0 is A, row 1 a reference that is not used, row 2 is B.
void TestBodyAnalysis::setThreeRows()
{
    QCOMPARE(run("analyzer_set_LCF_std 0 1 0 " + dir.filePath("a.dat") + " 0"), 1);
    QCOMPARE(run("analyzer_set_LCF_std 1 0 0 " + dir.filePath("a.dat") + " 0"), 1);
    QCOMPARE(run("analyzer_set_LCF_std 2 1 0 " + dir.filePath("b.dat") + " 0"), 1);
    QCOMPARE(body->analyzer()->referenceCount(), 3);
}

void TestBodyAnalysis::scriptedRunGivesTheMixture()
{
    loadStacks(8, 8);
    setThreeRows();
    LogCapture log;
    QSignalSpy done(body.get(), &Body::finishBatchExec);
    body->execCmdSlot(CmdLine("analyzer_exec_LCF"), false);
    QCOMPARE(done.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
    QVERIFY(log.contains("2da 3:"));
    QCOMPARE(body->analyzer()->progressText(), QStringLiteral("100.00"));

    const Analyzer *a = body->analyzer();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const double w = weightA(x, y);
            QVERIFY(std::fabs(a->reference(0)->maps()[Analyzer::RatioKind]->value(x, y) - w)
                    < 1e-6);
            QVERIFY(std::fabs(a->reference(2)->maps()[Analyzer::RatioKind]->value(x, y) - (1 - w))
                    < 1e-6);
            // The jump of every mix is 1: dmut is the weight.
            QVERIFY(std::fabs(a->reference(0)->maps()[Analyzer::DMutKind]->value(x, y) - w) < 1e-6);
            QCOMPARE(a->reference(1)->maps()[Analyzer::RatioKind]->value(x, y), 0.0);
            // The 109 inner points below both edges have y = 0, and each
            // counts 1.0; the fit is exact elsewhere.
            QVERIFY(std::fabs(a->namedMap(Analyzer::ZansaMap)->value(x, y) - 109.0 / 218 / 220)
                    < 1e-9);
        }

    // The Ratio map of row 0 on show: the value under the mouse, then saved.
    for (const char *s : {"analyzer_select_image 0", "analyzer_select_image_type 1",
                          "select_disp_image 3", "move_position 3 1", "saveDataCfg_save_as_text",
                          "saveDataCfg_text_as_xyz", "saveDataCfg_text_as_csv"})
        QCOMPARE(run(s), 1);
    QCOMPARE(body->findChild<QLabel *>("Value")->text(), QStringLiteral("0.06"));
    QCOMPARE(run("save_data " + dir.filePath("ratio")), 1);
    QFile f(dir.filePath("ratio-0.dat"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(f.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 64);
    QCOMPARE(lines[8 + 3], QStringLiteral("3,1,0.0625"));
}

void TestBodyAnalysis::runThatCannotStartReleasesTheScript_data()
{
    QTest::addColumn<bool>("frames");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("why");
    QTest::newRow("no frames") << false << 2 << "LCF run not started: no I1 frames";
    QTest::newRow("one row") << true << 1 << "LCF run not started: fewer than two reference rows";
}

void TestBodyAnalysis::runThatCannotStartReleasesTheScript()
{
    QFETCH(bool, frames);
    QFETCH(int, rows);
    QFETCH(QString, why);
    if (frames)
        loadStacks(4, 4);
    body->analyzer()->ensureReferences(rows);
    LogCapture log;
    QCOMPARE(run("analyzer_exec_LCF"), 1);
    QVERIFY(log.contains(why));
    QVERIFY(!body->analysisRunning());
}

void TestBodyAnalysis::stopRestartAndPanelSwitch()
{
    loadStacks(64, 64);
    setThreeRows();
    auto *analyze = body->analyzer()->findChild<QPushButton *>("AskAnalyze");
    QSignalSpy done(body.get(), &Body::finishBatchExec);
    LogCapture log;

    // Stopped before any row came back: the script goes on, the progress
    // keeps its value and nothing late is recorded.
    body->execCmdSlot(CmdLine("analyzer_exec_LCF"), false);
    QVERIFY(body->analysisRunning());
    QTest::mouseClick(analyze, Qt::LeftButton);
    QVERIFY(!body->analysisRunning());
    QCOMPARE(done.count(), 1);
    QVERIFY(log.contains("2da 4:"));
    QCOMPARE(body->analyzer()->progressText(), QStringLiteral(" 0.00"));

    // Started by hand, with the panel switched away while it runs: the run
    // fills its own maps and leaves the script where it is.
    QTest::mouseClick(analyze, Qt::LeftButton);
    QVERIFY(body->analysisRunning());
    body->analyzer()->selectAnalysisPanel(Analyzer::SumUpPanel);
    QTRY_VERIFY_WITH_TIMEOUT(!body->analysisRunning(), 20000);
    QCOMPARE(done.count(), 1);
    const Analyzed2DRes *ratioA = body->analyzer()->reference(0)->maps()[Analyzer::RatioKind];
    QVERIFY(std::fabs(ratioA->value(63, 63) - weightA(7, 7)) < 1e-6);
    QVERIFY(std::fabs(ratioA->value(9, 2) - weightA(1, 2)) < 1e-6);
}

void TestBodyAnalysis::victoreenChoice_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("victoreen");
    QTest::newRow("vic") << "vic" << true;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("2") << "2" << true;
    QTest::newRow("missing") << "" << true;
}

void TestBodyAnalysis::victoreenChoice()
{
    QFETCH(QString, kind);
    QFETCH(bool, victoreen);
    QCOMPARE(
        run(QStringLiteral("analyzer_set_LCF_std 4 1 2.5 %1 %2").arg(dir.filePath("a.dat"), kind)),
        1);
    const LCFReference *row = body->analyzer()->reference(4);
    QVERIFY(row);
    QCOMPARE(row->isVictreen(), victoreen);
    QCOMPARE(row->deltaE(), 2.5);
    QVERIFY(row->isUsed());
    QCOMPARE(run("analyzer_set_LCF_std 32 1 0 x"), 1);
    QCOMPARE(body->analyzer()->referenceCount(), 5);
}

void TestBodyAnalysis::spectrumUnderTheMouseIsFitted()
{
    loadStacks(8, 8);
    setThreeRows();
    // Moves faster than the worker answers: only the last one counts.
    QSignalSpy fitted(body->analyzer(), &Analyzer::finished);
    for (int x = 0; x < 8; ++x)
        body->showXafsSpectrum(x, 2);
    // The first position goes out at once, the last one when it is back.
    QTRY_COMPARE_WITH_TIMEOUT(fitted.count(), 2, 10000);
    QCOMPARE(body->analyzer()->reference(0)->weight(), weightA(7, 2));
    QCOMPARE(body->analyzer()->reference(2)->findChild<QLabel *>("Weight")->text(),
             QString::asprintf("%5.2f", (1 - weightA(7, 2)) * 100));
}

QTEST_MAIN(TestBodyAnalysis)
#include "test_body_analysis.moc"
