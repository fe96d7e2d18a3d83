#include "analysis/gui/Analyzer.h"
#include "calibration/EmpFile.h"

#include "AnalBody.h"
#include "AnalHelpers.h"
#include "LogCapture.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

// The residual absorption, sum-up, map processing, value dump and Fourier
// survey as a script and a user drive them through the main window. Pixel i
// of the I1 frames counts (1 + i) mu(E) over I0 = 1, 7000 to 9000 eV in 10 eV
// steps, mu on a line below the edge at 8000 eV and on a flatter one above:
// pre(E) = 0.25 + (E - 7000) / 4096, post(E) = 1.5 + (E - 7000) / 8192.
class TestBodyMapTools : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void residualTwice();
    void sumUpRanges();
    void processTwoMaps();
    void fourierSurvey();
    void loadMapFile();
    void noFramesStopWithALine();

private:
    void run(const QStringList &statements);
    void loadAll();
    // The map on show saved by "save_data" as values.
    Reals saved(const QString &name);

    QTemporaryDir dir;
    std::unique_ptr<Body> body;
};

namespace {

const int W = 4, H = 2;

double mu(double e)
{
    return e < 8000 ? 0.25 + (e - 7000) / 4096 : 1.5 + (e - 7000) / 8192;
}
// Pixel i of frame f.
float count(int i, int f)
{
    return float((1 + i) * mu(7000 + 10 * f));
}

bool close(const Reals &got, const Reals &want)
{
    bool ok = got.size() == want.size();
    for (int i = 0; ok && i < got.size(); ++i)
        ok = std::abs(got[i] - want[i]) <= 2e-5 * std::max(1.0, std::abs(want[i]));
    return ok;
}

} // namespace

void TestBodyMapTools::init()
{
    body.reset(new Body);
    QDir::setCurrent(dir.path());
}

void TestBodyMapTools::run(const QStringList &statements)
{
    for (const QString &statement : statements)
        QCOMPARE(runStatement(*body, statement), 1);
}

Reals TestBodyMapTools::saved(const QString &name)
{
    run({"save_data " + dir.filePath(name)});
    Reals v;
    for (const QString &s : QString::fromLatin1(fileBytes(dir.filePath(name + "-0.dat")))
                                .split(QRegExp("\\s+"), Qt::SkipEmptyParts))
        v.append(s.toDouble());
    return v;
}

void TestBodyMapTools::loadAll()
{
    loadStacks(*body, W, H, 201, 7000, 10, 1.0f,
               [](int k, int x, int y) { return count(y * W + x, k); });
    run({"set_fluo_type 1", "set_band_w 0", "set_band_h 0", "saveDataCfg_save_as_text",
         "saveDataCfg_text_as_ssv", "saveDataCfg_text_as_vals"});
}

// At 8200 eV: dmut = 1.646484375 - 0.54296875, mu = post. At 7800 eV:
// dmut = 1.59765625 - 0.4453125, mu = pre. The rest is mu - factor * dmut,
// the ratio r / (dmut + r) with r the rest over its smallest value.
void TestBodyMapTools::residualTwice()
{
    loadAll();
    run({"analyzer_select_analysis_mode 1"});
    const double runs[2][4] = {{8200, 0.5, 1.103515625, 1.646484375},
                               {7800, 2.0, 1.15234375, 0.4453125}};
    for (const auto &r : runs) {
        run({QStringLiteral("analyzer_set_ra_energy %1").arg(r[0]),
             QStringLiteral("analyzer_set_ra_factor %1").arg(r[1]), "analyzer_exec_ra"});
        Reals want[3]; // dmut, rest, ratio
        for (int i = 0; i < W * H; ++i)
            want[0] << (1 + i) * r[2], want[1] << (1 + i) * (r[3] - r[1] * r[2]);
        const double m = *std::min_element(want[1].begin(), want[1].end());
        for (int i = 0; i < W * H; ++i)
            want[2] << (want[1][i] - m) / (want[0][i] + want[1][i] - m);
        for (int k = 0; k < 3; ++k) {
            run({QStringLiteral("analyzer_select_image %1").arg(-3 - k)});
            QVERIFY(close(saved("map"), want[k]));
        }
    }
}

// Ranges that overlap and reach past the stack, then deleted down to none;
// the first additions and a deletion with no current item by hand; the dump
// of the map by "Chk Vals".
void TestBodyMapTools::sumUpRanges()
{
    loadAll();
    const Analyzer *a = body->analyzer();
    auto *list = a->findChild<QListWidget *>("SumUps");
    a->findChild<QLineEdit *>("SumUpFrom")->setText("0");
    a->findChild<QLineEdit *>("SumUpTo")->setText("2");
    QTest::mouseClick(a->findChild<QPushButton *>("AddSumUp"), Qt::LeftButton);
    list->setCurrentRow(-1);
    QTest::mouseClick(a->findChild<QPushButton *>("DelSumUp"), Qt::LeftButton);
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), QStringLiteral("0-2"));
    run({"analyzer_sumup_add 1 3", "analyzer_sumup_add 199 300", "analyzer_select_analysis_mode 3",
         "analyzer_exec_sumup"});
    Reals want;
    for (int i = 0; i < W * H; ++i)
        want << double(count(i, 0)) + 2.0 * count(i, 1) + count(i, 2) + count(i, 199)
                    + count(i, 200);
    QVERIFY(close(saved("sum"), want));
    QVERIFY(QImage(dir.filePath("sumUpImg.png")).size() == QSize(W, H));
    LogCapture log;
    QTest::mouseClick(body->findChild<QPushButton *>("CheckVals"), Qt::LeftButton);
    const QStringList lines = log.lines();
    QCOMPARE(lines.size(), 1 + W * H);
    QCOMPARE(lines[0], QStringLiteral("vals of Sum Up Img"));
    QVERIFY(lines[1 + W + 2].startsWith(QString::asprintf("   2    1 %15.6f ", want[W + 2])));

    run({"analyzer_sumup_del 3"});
    QCOMPARE(list->count(), 3);
    run({"analyzer_sumup_del 0", "analyzer_sumup_del 0", "analyzer_sumup_del 0"});
    QCOMPARE(list->count(), 0);
    run({"analyzer_exec_sumup"});
    QVERIFY(close(saved("sum"), Reals(W * H, 0.0)));
}

// Map 1 the sum-up of frame 1, Map 2 that of frame 0 or of no frames; the
// result is perS * (1 + i) + plain at pixel i.
void TestBodyMapTools::processTwoMaps()
{
    loadAll();
    const double a = mu(7010), b = mu(7000);
    const double cases[6][4] = {// type, Map 2 empty, perS, plain
                                {0, 0, a - b, 0}, {1, 0, 0, a / b}, {2, 0, a, 0},
                                {0, 1, a, 0},     {1, 1, 0, 1},     {2, 1, 0, 0}};
    for (const auto &c : cases) {
        run({"analyzer_select_analysis_mode 3", "analyzer_sumup_clear", "analyzer_sumup_add 1 2",
             "analyzer_exec_sumup", "analyzer_capture_map 1", "analyzer_sumup_clear",
             c[1] ? "analyzer_sumup_clear" : "analyzer_sumup_add 0 1", "analyzer_exec_sumup",
             "analyzer_capture_map 2", "analyzer_select_analysis_mode 4",
             QStringLiteral("analyzer_proc_type %1").arg(c[0]), "analyzer_exec_proc_maps",
             "analyzer_proc_show 2"});
        QCOMPARE(body->analyzer()->mapName(2), QStringLiteral("Sum Up Img"));
        Reals want;
        for (int i = 0; i < W * H; ++i)
            want << c[2] * (1 + i) + c[3];
        QVERIFY2(close(saved("proc"), want), qPrintable(QString("type %1").arg(c[0])));
    }
}

// Every "Res" line against sums of a plain discrete Fourier transform of each
// pixel's trace.
void TestBodyMapTools::fourierSurvey()
{
    loadAll();
    const int n = 201;
    Reals svv(n), saa(n), sva(n);
    for (int i = 0; i < W * H; ++i) {
        const double v = count(i, 0);
        for (int k = 0; k < n; ++k) {
            double re = 0, im = 0;
            for (int j = 0; j < n; ++j) {
                re += count(i, j) * std::cos(2 * M_PI * j * k / n);
                im -= count(i, j) * std::sin(2 * M_PI * j * k / n);
            }
            const double a = std::hypot(re, im);
            svv[k] += v * v, saa[k] += a * a, sva[k] += v * a;
        }
    }
    LogCapture log;
    run({"exec_fourier_survey"});
    const QStringList res = log.lines().filter(QRegExp("^Res "));
    QCOMPARE(res.size(), n);
    for (int k = 0; k < n; ++k) {
        const QStringList f = res[k].split(' ');
        QCOMPARE(f.size(), 6);
        QCOMPARE(f[1].toInt(), k);
        QVERIFY(close({f[2].toDouble(), f[3].toDouble(), f[4].toDouble(), f[5].toDouble()},
                      {svv[k], saa[k], sva[k], sva[k] / std::sqrt(svv[k] * saa[k])}));
    }
}

// A map file of shifts of 0 eV read into Map 2, which the panel then shows;
// both maps without frames to walk; one of another size than the frames.
void TestBodyMapTools::loadMapFile()
{
    Analyzed2DRes map;
    fillMap(map, W, H, 0, {});
    EMPSaveInfo info;
    info.edgeEnergy = 8000;
    info.spacing = 3.13553;
    const QString file = dir.filePath("zero.emp");
    QVERIFY(writeEmpFile(file, map, info));
    run({"analyzer_select_analysis_mode 4", "analyzer_load_map 2 " + file, "analyzer_proc_show 1"});
    QCOMPARE(body->analyzer()->mapName(2), file);
    const Analyzed2DRes *shown = body->analyzer()->currentMap();
    QVERIFY(shown == body->analyzer()->namedMap(Analyzer::EShiftMap2));
    QVERIFY(shown->isImageValid() && std::abs(shown->value(W - 1, H - 1)) < 1e-3);

    LogCapture log;
    run({"analyzer_load_map 1 " + file, "analyzer_exec_proc_maps"});
    QVERIFY(log.contains("Map processing not run: no area to walk"));

    // A file whose header reads but whose size is not the frames' does not
    // name Map 1: that map was not read.
    loadAll();
    fillMap(map, W + 1, H, 0, {});
    QVERIFY(writeEmpFile(dir.filePath("wide.emp"), map, info));
    run({"analyzer_load_map 1 " + dir.filePath("wide.emp")});
    QCOMPARE(body->analyzer()->mapName(1), file);
}

// Without frames, and with no map or range to act on, each stops with a line.
void TestBodyMapTools::noFramesStopWithALine()
{
    const char *cases[][2] = {
        {"analyzer_exec_ra", "Residual absorption not run: no I1"},
        {"analyzer_exec_sumup", "Sum up not run: no I1"},
        {"exec_fourier_survey", "Fourier survey not run: no I1"},
        {"analyzer_show_vals", "No values to show in"},
        {"analyzer_capture_map 3", "No map 3 to capture into"},
        {"analyzer_load_map 1 none.emp", "Can not open none.emp"},
        {"analyzer_sumup_del 0", "No sum-up range 0 to delete"}};
    for (const auto &c : cases) {
        LogCapture log;
        run({c[0]});
        QVERIFY2(log.contains(c[1]), qPrintable(log.lines().join('|')));
    }
    QVERIFY(body->analyzer()->mapName(1).isEmpty());
}

QTEST_MAIN(TestBodyMapTools)
#include "test_body_maptools.moc"
