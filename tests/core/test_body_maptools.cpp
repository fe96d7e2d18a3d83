#include "analysis/gui/Analyzer.h"
#include "analysis/Analyzed2DRes.h"
#include "batch/CmdLine.h"
#include "calibration/EmpFile.h"
#include "core/gui/Body.h"
#include "input/TiffData.h"

#include "LogCapture.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

using Reals = QVector<double>;

// The residual absorption, sum-up, map processing, value dump and Fourier
// survey as a script and a user drive them through the main window. The I1
// frames are fluorescence counts s(x, y) * mu(E) over I0 = 1, 7000 to 9000 eV
// in 10 eV steps, with mu on a line below the edge at 8000 eV and on a
// flatter one above it: pre(E) = 0.25 + (E - 7000) / 4096 and
// post(E) = 1.5 + (E - 7000) / 8192, both exact in binary.
class TestBodyMapTools : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void residualTwice();
    void sumUpRanges();
    void processTwoMaps_data();
    void processTwoMaps();
    void fourierSurvey();
    void loadMapFile();
    void noFramesStopWithALine_data();
    void noFramesStopWithALine();

private:
    void run(const QStringList &statements);
    void loadStacks();
    // The map saved by "save_data" as rows of values.
    Reals saved(const QString &name);

    QTemporaryDir dir;
    std::unique_ptr<Body> body;
};

namespace {

const int W = 4;
const int H = 2;

double mu(double e)
{
    return e < 8000 ? 0.25 + (e - 7000) / 4096 : 1.5 + (e - 7000) / 8192;
}
// Pixel i of frame f.
float count(int i, int f)
{
    return float((1 + i) * mu(7000 + 10 * f));
}

} // namespace

void TestBodyMapTools::init()
{
    body.reset(new Body);
    QDir::setCurrent(dir.path());
}

void TestBodyMapTools::run(const QStringList &statements)
{
    for (const QString &statement : statements) {
        QSignalSpy done(body.get(), &Body::finishBatchExec);
        body->execCmdSlot(CmdLine(statement), false);
        QCOMPARE(done.count(), 1);
    }
}

Reals TestBodyMapTools::saved(const QString &name)
{
    run({"save_data " + dir.filePath(name)});
    QFile f(dir.filePath(name + "-0.dat"));
    Reals v;
    if (f.open(QIODevice::ReadOnly))
        for (const QString &s :
             QString::fromLatin1(f.readAll()).split(QRegExp("\\s+"), Qt::SkipEmptyParts))
            v.append(s.toDouble());
    return v;
}

void TestBodyMapTools::loadStacks()
{
    for (int fNo = 0; fNo <= 200; ++fNo) {
        QVector<float> one(W * H, 1.0f), i1(W * H);
        for (int i = 0; i < W * H; ++i)
            i1[i] = count(i, fNo);
        const QString name =
            QStringLiteral("f_%1_0000.tif").arg(7000 + 10 * fNo, 5, 10, QChar('0'));
        body->loadedI0(TiffData::fromSamples(W, H, one.constData(), name), fNo);
        body->loadedI1(TiffData::fromSamples(W, H, i1.constData(), name), fNo);
    }
    run({"set_fluo_type 1", "set_band_w 0", "set_band_h 0", "saveDataCfg_save_as_text",
         "saveDataCfg_text_as_ssv", "saveDataCfg_text_as_vals"});
}

static bool near(const Reals &got, const Reals &want)
{
    if (got.size() != want.size())
        return false;
    for (int i = 0; i < got.size(); ++i)
        if (!(std::abs(got[i] - want[i]) <= 2e-5 * std::max(1.0, std::abs(want[i]))))
            return false;
    return true;
}

// At 8200 eV: dmut = 1.646484375 - 0.54296875, mu = post. At 7800 eV:
// dmut = 1.59765625 - 0.4453125, mu = pre. The rest is mu - factor * dmut,
// the ratio r / (dmut + r) with r the rest over its smallest value.
void TestBodyMapTools::residualTwice()
{
    loadStacks();
    run({"analyzer_select_analysis_mode 1"});
    const double runs[2][4] = {{8200, 0.5, 1.103515625, 1.646484375},
                               {7800, 2.0, 1.15234375, 0.4453125}};
    for (const auto &r : runs) {
        run({QStringLiteral("analyzer_set_ra_energy %1").arg(r[0]),
             QStringLiteral("analyzer_set_ra_factor %1").arg(r[1]), "analyzer_exec_ra"});
        Reals dmut, rest, ratio;
        for (int i = 0; i < W * H; ++i) {
            dmut << (1 + i) * r[2];
            rest << (1 + i) * (r[3] - r[1] * r[2]);
        }
        const double m = *std::min_element(rest.begin(), rest.end());
        for (int i = 0; i < W * H; ++i)
            ratio << (rest[i] - m) / (dmut[i] + rest[i] - m);
        const Reals *want[3] = {&dmut, &rest, &ratio};
        for (int id = -3; id >= -5; --id) {
            run({QStringLiteral("analyzer_select_image %1").arg(id)});
            QVERIFY(near(saved("map"), *want[-3 - id]));
        }
    }
}

// Ranges that overlap and reach past the stack, then deleted down to none;
// the first additions and a deletion with no current item by hand; the dump
// of the map by "Chk Vals".
void TestBodyMapTools::sumUpRanges()
{
    loadStacks();
    auto *from = body->analyzer()->findChild<QLineEdit *>("SumUpFrom");
    auto *list = body->analyzer()->findChild<QListWidget *>("SumUps");
    auto *add = body->analyzer()->findChild<QPushButton *>("AddSumUp");
    from->setText("0");
    body->analyzer()->findChild<QLineEdit *>("SumUpTo")->setText("2");
    QTest::mouseClick(add, Qt::LeftButton);
    list->setCurrentRow(-1);
    QTest::mouseClick(body->analyzer()->findChild<QPushButton *>("DelSumUp"), Qt::LeftButton);
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), QStringLiteral("0-2"));
    run({"analyzer_sumup_add 1 3", "analyzer_sumup_add 199 300", "analyzer_select_analysis_mode 3",
         "analyzer_exec_sumup"});
    Reals want;
    for (int i = 0; i < W * H; ++i)
        want << double(count(i, 0)) + 2.0 * count(i, 1) + count(i, 2) + count(i, 199)
                    + count(i, 200);
    QVERIFY(near(saved("sum"), want));
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
    QVERIFY(near(saved("sum"), Reals(W * H, 0.0)));
}

void TestBodyMapTools::processTwoMaps_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<bool>("zeroMap2");
    QTest::addColumn<double>("perS"); // the value is perS * (1 + i) + plain
    QTest::addColumn<double>("plain");
    const double a = mu(7010), b = mu(7000);
    QTest::newRow("sub") << 0 << false << a - b << 0.0;
    QTest::newRow("div") << 1 << false << 0.0 << a / b;
    QTest::newRow("mask") << 2 << false << a << 0.0;
    QTest::newRow("sub zero") << 0 << true << a << 0.0;
    QTest::newRow("div zero") << 1 << true << 0.0 << 1.0;
    QTest::newRow("mask zero") << 2 << true << 0.0 << 0.0;
}

// Map 1 the sum-up of frame 1, Map 2 that of frame 0 or of no frames.
void TestBodyMapTools::processTwoMaps()
{
    QFETCH(int, type);
    QFETCH(bool, zeroMap2);
    QFETCH(double, perS);
    QFETCH(double, plain);
    loadStacks();
    run({"analyzer_select_analysis_mode 3", "analyzer_sumup_add 1 2", "analyzer_exec_sumup",
         "analyzer_capture_map 1", "analyzer_sumup_clear",
         zeroMap2 ? "analyzer_sumup_clear" : "analyzer_sumup_add 0 1", "analyzer_exec_sumup",
         "analyzer_capture_map 2", "analyzer_select_analysis_mode 4",
         QStringLiteral("analyzer_proc_type %1").arg(type), "analyzer_exec_proc_maps",
         "analyzer_proc_show 2"});
    QCOMPARE(body->analyzer()->mapName(2), QStringLiteral("Sum Up Img"));
    Reals want;
    for (int i = 0; i < W * H; ++i)
        want << perS * (1 + i) + plain;
    QVERIFY(near(saved("proc"), want));
}

// Every "Res" line against sums of a plain discrete Fourier transform of each
// pixel's trace.
void TestBodyMapTools::fourierSurvey()
{
    loadStacks();
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
            svv[k] += v * v;
            saa[k] += a * a;
            sva[k] += v * a;
        }
    }
    LogCapture log;
    run({"exec_fourier_survey"});
    QStringList res = log.lines().filter(QRegExp("^Res "));
    QCOMPARE(res.size(), n);
    for (int k = 0; k < n; ++k) {
        const QStringList f = res[k].split(' ');
        QCOMPARE(f.size(), 6);
        QCOMPARE(f[1].toInt(), k);
        QVERIFY(near({f[2].toDouble(), f[3].toDouble(), f[4].toDouble(), f[5].toDouble()},
                     {svv[k], saa[k], sva[k], sva[k] / std::sqrt(svv[k] * saa[k])}));
    }
}

// A map file of shifts of 0 eV read into Map 2, which the panel then shows;
// both maps without frames to walk; one of another size than the frames.
void TestBodyMapTools::loadMapFile()
{
    Analyzed2DRes map;
    AnalyzeCond walk;
    walk.setup(W, H, 0, 0, 0, 0, W, H);
    QVERIFY(map.prepare(walk));
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

    // Two maps with pictures and no frames to walk: no processing.
    LogCapture log;
    run({"analyzer_load_map 1 " + file, "analyzer_exec_proc_maps"});
    QVERIFY(log.contains("Map processing not run: no area to walk"));

    // A file whose header reads but whose size is not the frames' does not
    // name Map 1: that map was not read.
    loadStacks();
    walk.setup(W + 1, H, 0, 0, 0, 0, W + 1, H);
    QVERIFY(map.prepare(walk) && writeEmpFile(dir.filePath("wide.emp"), map, info));
    run({"analyzer_load_map 1 " + dir.filePath("wide.emp")});
    QCOMPARE(body->analyzer()->mapName(1), file);
}

void TestBodyMapTools::noFramesStopWithALine_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("line");
    // Without frames, and with no map or range to act on.
    QTest::newRow("ra") << "analyzer_exec_ra"
                        << "Residual absorption not run: no I1";
    QTest::newRow("sum up") << "analyzer_exec_sumup"
                            << "Sum up not run: no I1";
    QTest::newRow("fourier") << "exec_fourier_survey"
                             << "Fourier survey not run: no I1";
    QTest::newRow("dump") << "analyzer_show_vals"
                          << "No values to show in";
    QTest::newRow("capture") << "analyzer_capture_map 3"
                             << "No map 3 to capture into";
    QTest::newRow("load") << "analyzer_load_map 1 none.emp"
                          << "Can not open none.emp";
    QTest::newRow("delete") << "analyzer_sumup_del 0"
                            << "No sum-up range 0 to delete";
}

void TestBodyMapTools::noFramesStopWithALine()
{
    QFETCH(QString, command);
    QFETCH(QString, line);
    LogCapture log;
    run({command});
    QVERIFY2(log.contains(line), qPrintable(log.lines().join('|')));
    QVERIFY(body->analyzer()->mapName(1).isEmpty());
}

QTEST_MAIN(TestBodyMapTools)
#include "test_body_maptools.moc"
