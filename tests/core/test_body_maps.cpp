#include "alignment/gui/ImgProc.h"
#include "analysis/gui/Analyzer.h"
#include "analysis/gui/Analyzer2.h"
#include "analysis/gui/LCFReference.h"
#include "app/Settings.h"
#include "calibration/EmpFile.h"

#include "CoreWidgets.h"
#include "AnalHelpers.h"
#include "LogCapture.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

// The map tools, frame alignment, quality survey and energy calibration as a script and a user
// drive them through the main window.
class TestBodyMaps : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void residualAbsorption();
    void sumUpRanges();
    void processTwoMaps();
    void loadMapFile();
    void noFramesStopWithALine();
    void scriptAlignsADisplacedStack();
    void shiftChangesTheSpectrumAtOnce();
    void shiftGoesToI1WhileI0IsShown();
    void compareByHand();
    void collectQInfo();
    void calibrateSaveClearLoad();
    void refusalsAndImageSize();
    void normalizeAndDeglitch();
    void shiftReachesLcf();

private:
    int run(const QString &statement) { return runStatement(*body, statement); }
    void runAll(const QStringList &l) { QCOMPARE(runLines(*body, l.join('\n')), QString()); }
    QString field(const char *n)
    {
        return body->findChild<QWidget *>(n)->property("text").toString();
    }
    // The map on show saved by "save_data" as values.
    Reals saved(const QString &name);
    void loadEdgeStacks();
    void loadShiftedBlocks();
    // Frames k at 7000 + 10 k eV, I0 1000, I1 from i1(k, x, y).
    void loadCone(int w, int h, int n, const std::function<double(int, int, int)> &i1)
    {
        loadStacks(*body, w, h, n, 7000, 10, 1000.0f, i1);
    }

    QTemporaryDir dir;
    std::unique_ptr<Body> body;
};

namespace {

// Pixel i of the I1 frames of the map tools counts (1 + i) mu(E) over I0 = 1, 7000 to 9000 eV
// in 10 eV steps, mu on a line below the edge at 8000 eV and on a flatter one above:
// pre(E) = 0.25 + (E - 7000) / 4096, post(E) = 1.5 + (E - 7000) / 8192.
const int W = 4, H = 2;

double mu(double e)
{
    return e < 8000 ? 0.25 + (e - 7000) / 4096 : 1.5 + (e - 7000) / 8192;
}
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

// A cone of radius 12 on a low floor: its edge image is as strong all over the cone, so the binary
// image is a filled disk whose overlap with a displaced copy grows steadily toward the
// displacement.
double cone(double x, double y)
{
    const double r = std::hypot(x - 24.0, y - 21.0);
    return 10.0 + (r < 12.0 ? 1200.0 * (1.0 - r / 12.0) : 0.0);
}

const QPoint displacement[] = {{0, 0}, {3, -2}, {-5, 4}, {2, 5}, {-1, -3}, {5, 0}};

// Shifts of the 4 x 2 blocks of 3 x 3 pixels of a 12 x 6 image: min -1.5, max 2.0, mean 0.25,
// population sigma sqrt(1.375 - 0.0625).
const double blockShift[8] = {-1.5, -0.5, 0.0, 0.5, 1.0, 1.5, 2.0, -1.0};
double shiftOf(int x, int y)
{
    return blockShift[y / 3 * 4 + x / 3];
}
// mu: 0.2 below the edge, 1.2 above, a straight rise over 6 eV; half height (0.7) at the edge
// itself.
double ramp(double e, double edge)
{
    return 0.2 + std::min(1.0, std::max(0.0, (e - edge + 3.0) / 6.0));
}
// The Bragg angle in degrees, from lambda = 2 d sin(theta).
double theta(double e, double d)
{
    return std::asin(12398.424360387684 / e / (2 * d)) / 3.1415926535 * 180;
}
const double si311 = 1.637478;

} // namespace

void TestBodyMaps::init()
{
    body.reset(new Body);
    QDir::setCurrent(dir.path());
}

Reals TestBodyMaps::saved(const QString &name)
{
    runAll({"save_data " + dir.filePath(name)});
    Reals v;
    for (const QString &s : QString::fromLatin1(readFile(dir.filePath(name + "-0.dat")))
                                .split(QRegExp("\\s+"), Qt::SkipEmptyParts))
        v.append(s.toDouble());
    return v;
}

void TestBodyMaps::loadEdgeStacks()
{
    loadStacks(*body, W, H, 201, 7000, 10, 1.0f,
               [](int k, int x, int y) { return count(y * W + x, k); });
    runAll({"set_fluo_type 1", "set_band_w 0", "set_band_h 0", "saveDataCfg_save_as_text",
            "saveDataCfg_text_as_ssv", "saveDataCfg_text_as_vals"});
}

// Transmission frames of 41 energies from 7090 eV whose blocks have their edges at 7110 eV plus the
// block's shift; the standard's file.
void TestBodyMaps::loadShiftedBlocks()
{
    loadStacks(*body, 12, 6, 41, 7090, 1, 50000.0f, [](int k, int x, int y) {
        return 50000.0 * std::exp(-ramp(7090 + k, 7110 + shiftOf(x, y)));
    });
    QByteArray text;
    for (int e = 7090; e <= 7130; ++e)
        text += QByteArray::number(e) + ' ' + QByteArray::number(ramp(e, 7110)) + '\n';
    QVERIFY(writeFile(dir.filePath("std.dat"), text));
    runAll({"set_band_w 0", "set_band_h 0", "select_region 0 0 12 6"});
}

// Two runs at other energies and factors: dmut = post - pre and the rest mu - factor dmut, mu = pre
// below the edge; the ratio is the rest over its least value against dmut plus that.
void TestBodyMaps::residualAbsorption()
{
    loadEdgeStacks();
    const double runs[2][2] = {{7800, 2}, {7500, 0.5}};
    for (const auto &r : runs) {
        runAll({"analyzer_select_analysis_mode 1", QString("analyzer_set_ra_energy %1").arg(r[0]),
                QString("analyzer_set_ra_factor %1").arg(r[1]), "analyzer_exec_ra"});
        const double pre = 0.25 + (r[0] - 7000) / 4096, dmut = 1.5 + (r[0] - 7000) / 8192 - pre;
        const double rest = pre - r[1] * dmut, least = std::min(rest, W * H * rest);
        Reals want[3];
        for (int i = 1; i <= W * H; ++i) {
            want[0] << i * dmut;
            want[1] << i * rest;
            want[2] << (i * rest - least) / (i * dmut + i * rest - least);
        }
        for (int m = 0; m < 3; ++m) {
            runAll({QString("analyzer_select_image %1").arg(-3 - m)});
            QVERIFY(close(saved(QString("ra%1-%2").arg(r[0]).arg(m)), want[m]));
        }
    }
}

// Ranges that overlap and reach past the stack, then deleted down to none; the first added and a
// deletion with no current item by hand; the dump of the map by "Chk Vals".
void TestBodyMaps::sumUpRanges()
{
    loadEdgeStacks();
    const Analyzer *a = body->analyzer();
    auto *list = a->findChild<QListWidget *>("SumUps");
    a->findChild<QLineEdit *>("SumUpFrom")->setText("0");
    a->findChild<QLineEdit *>("SumUpTo")->setText("2");
    QTest::mouseClick(a->findChild<QPushButton *>("AddSumUp"), Qt::LeftButton);
    list->setCurrentRow(-1);
    QTest::mouseClick(a->findChild<QPushButton *>("DelSumUp"), Qt::LeftButton);
    QVERIFY(list->count() == 1 && list->item(0)->text() == "0-2");
    runAll({"analyzer_sumup_add 1 3", "analyzer_sumup_add 199 300",
            "analyzer_select_analysis_mode 3", "analyzer_exec_sumup"});
    Reals want;
    for (int i = 0; i < W * H; ++i)
        want << double(count(i, 0)) + 2.0 * count(i, 1) + count(i, 2) + count(i, 199)
                    + count(i, 200);
    QVERIFY(close(saved("sum"), want));
    QVERIFY(QImage(dir.filePath("sumUpImg.png")).size() == QSize(W, H));
    LogCapture log;
    QTest::mouseClick(body->findChild<QPushButton *>("CheckVals"), Qt::LeftButton);
    const QStringList lines = log.lines();
    QVERIFY(lines.size() == 1 + W * H && lines[0] == "vals of Sum Up Img");
    QVERIFY(lines[1 + W + 2].startsWith(QString::asprintf("   2    1 %15.6f ", want[W + 2])));

    runAll({"analyzer_sumup_del 3", "analyzer_sumup_del 0", "analyzer_sumup_del 0",
            "analyzer_sumup_del 0", "analyzer_exec_sumup"});
    QCOMPARE(list->count(), 0);
    QVERIFY(close(saved("sum"), Reals(W * H, 0.0)));
}

// Map 1 the sum-up of frame 1, Map 2 that of frame 0: their ratio is mu(7010) / mu(7000).
void TestBodyMaps::processTwoMaps()
{
    loadEdgeStacks();
    runAll({"analyzer_select_analysis_mode 3", "analyzer_sumup_add 1 2", "analyzer_exec_sumup",
            "analyzer_capture_map 1", "analyzer_sumup_clear", "analyzer_sumup_add 0 1",
            "analyzer_exec_sumup", "analyzer_capture_map 2", "analyzer_select_analysis_mode 4"});
    // Sub., Div. and Mask of frame 1 (Map 1) by frame 0 (Map 2, above 0 everywhere).
    for (int type = 0; type < 3; ++type) {
        runAll({QString("analyzer_proc_type %1").arg(type), "analyzer_exec_proc_maps",
                "analyzer_proc_show 2"});
        Reals want;
        for (int i = 0; i < W * H; ++i)
            want << (type == 0   ? double(count(i, 1)) - count(i, 0)
                     : type == 1 ? mu(7010) / mu(7000)
                                 : count(i, 1));
        QVERIFY(close(saved(QString("proc%1").arg(type)), want));
    }

    // The Fourier survey of the same frames: at k = 0 the magnitude of a pixel is the sum of its
    // trace, v its first value.
    double svv = 0, saa = 0, sva = 0;
    for (int i = 0; i < W * H; ++i) {
        double a = 0;
        for (int j = 0; j < 201; ++j)
            a += count(i, j);
        svv += count(i, 0) * count(i, 0), saa += a * a, sva += count(i, 0) * a;
    }
    LogCapture log;
    runAll({"exec_fourier_survey"});
    const QStringList res = log.lines().filter(QRegExp("^Res "));
    const QStringList f = res.value(0).split(' ');
    QVERIFY(res.size() == 201 && f.size() == 6 && f[1] == "0");
    QVERIFY(close({f[2].toDouble(), f[3].toDouble(), f[4].toDouble()}, {svv, saa, sva}));
}

// A map file of shifts of 0 eV read into Map 2 and shown; without frames; of another size.
void TestBodyMaps::loadMapFile()
{
    Analyzed2DRes map;
    fillMap(map, W, H, 0, {});
    const EMPSaveInfo info{8000, 3.13553, AnalyzeCond(), QString()};
    const QString file = dir.filePath("zero.emp");
    QVERIFY(writeEmpFile(file, map, info));
    runAll(
        {"analyzer_select_analysis_mode 4", "analyzer_load_map 2 " + file, "analyzer_proc_show 1"});
    QCOMPARE(body->analyzer()->mapName(2), file);
    const Analyzed2DRes *shown = body->analyzer()->currentMap();
    QVERIFY(shown == body->analyzer()->namedMap(Analyzer::EShiftMap2) && shown->isImageValid()
            && std::abs(shown->value(W - 1, H - 1)) < 1e-3);
    LogCapture log;
    runAll({"analyzer_load_map 1 " + file, "analyzer_exec_proc_maps"});
    QVERIFY(log.contains("Map processing not run: no area to walk"));

    // A file whose size is not the frames' does not name Map 1: that map was not read.
    loadEdgeStacks();
    fillMap(map, W + 1, H, 0, {});
    QVERIFY(writeEmpFile(dir.filePath("wide.emp"), map, info));
    runAll({"analyzer_load_map 1 " + dir.filePath("wide.emp")});
    QCOMPARE(body->analyzer()->mapName(1), file);
}

// Without frames, and with no map or range to act on, each stops with a line.
void TestBodyMaps::noFramesStopWithALine()
{
    const char *cases[][2] = {{"analyzer_exec_ra", "Residual absorption not run: no I1"},
                              {"analyzer_exec_sumup", "Sum up not run: no I1"},
                              {"exec_fourier_survey", "Fourier survey not run: no I1"},
                              {"analyzer_show_vals", "No values to show in"},
                              {"analyzer_capture_map 3", "No map 3 to capture into"},
                              {"analyzer_load_map 1 none.emp", "Can not open none.emp"},
                              {"analyzer_sumup_del 0", "No sum-up range 0 to delete"}};
    for (const auto &c : cases) {
        LogCapture log;
        runAll({c[0]});
        QVERIFY2(log.contains(c[1]), qPrintable(log.lines().join('|')));
    }
    QVERIFY(body->analyzer()->mapName(1).isEmpty());
}

void TestBodyMaps::scriptAlignsADisplacedStack()
{
    const int n = 6;
    loadCone(48, 48, n, [](int k, int x, int y) {
        return std::exp(-0.1 * k) * cone(x - displacement[k].x(), y - displacement[k].y());
    });
    Body still;
    loadStacks(still, 48, 48, n, 7000, 10, 1000.0f,
               [](int k, int x, int y) { return std::exp(-0.1 * k) * cone(x, y); });

    // "A. Set Shift" stores each shift as its search ends.
    runAll({"imgproc_edge_detect 1", "imgproc_binary 1", "imgproc_threshold_slider 300",
            "seek_image 0", "imgproc_set_ref", "imgproc_auto_set_shift 1"});
    for (int k = 0; k < n; ++k)
        runAll({QString("seek_image %1").arg(k), "imgproc_trial_shift 0 0", "imgproc_auto_shift"});
    for (int k = 0; k < n; ++k)
        QCOMPARE(QPoint(body->stacks().i1()[k]->shiftX, body->stacks().i1()[k]->shiftY),
                 -displacement[k]);

    // Away from the border (5 pixels of shift, a window of 2 around the position) the aligned stack
    // reads as the undisplaced one.
    for (const QPoint p : {QPoint(8, 8), QPoint(24, 21), QPoint(30, 14), QPoint(39, 39)}) {
        for (Body *b : {body.get(), &still})
            runLines(
                *b,
                QString("set_band_w 2\nset_band_h 2\nmove_position %1 %2").arg(p.x()).arg(p.y()));
        QCOMPARE(body->spectrumAtPosition().raw().points(),
                 still.spectrumAtPosition().raw().points());
    }
}

void TestBodyMaps::shiftChangesTheSpectrumAtOnce()
{
    // A ramp along x: the pixel of column x holds 100 + x + 10 k.
    loadCone(20, 10, 3, [](int k, int x, int) { return 100.0 + x + 10 * k; });
    runAll({"set_band_w 0", "set_band_h 0", "move_position 10 5", "seek_image 1",
            "imgproc_trial_shift 2 0", "imgproc_set_shift"});
    // Frame 1 now shows column 8 at column 10; the others are as they were.
    const auto trace = [this] {
        QVector<double> v;
        for (const QPointF &p : body->traceAtPosition().points())
            v << p.y();
        return v;
    };
    QCOMPARE(trace(), QVector<double>({110, 118, 130}));
    QCOMPARE(body->spectrumAtPosition().raw().points().value(1).y(), std::log(1000.0 / 118));
    QCOMPARE(run("imgproc_clear_all_shifts"), 1);
    QCOMPARE(trace(), QVector<double>({110, 120, 130}));
}

void TestBodyMaps::shiftGoesToI1WhileI0IsShown()
{
    loadCone(20, 10, 3, [](int, int x, int) { return 100.0 + x; });
    runAll({"imgproc_edge_detect 1", "select_disp_image 1", "seek_image 2"});
    QCOMPARE(body->imgProc()->frame(), body->stacks().i1()[2]);
    runAll({"imgproc_trial_shift -1 3", "imgproc_set_shift"});
    QCOMPARE(QPoint(body->stacks().i1()[2]->shiftX, body->stacks().i1()[2]->shiftY), QPoint(-1, 3));
    for (const TiffData *f : body->stacks().i0())
        QCOMPARE(QPoint(f->shiftX, f->shiftY), QPoint(0, 0));
    // Clearing the I1 files takes the frame away from the image processor.
    body->clearI1Files();
    QCOMPARE(body->imgProc()->frame(), nullptr);
}

void TestBodyMaps::compareByHand()
{
    // One pixel of 100 in the dark: the eight pixels around it have an edge of 100, others 0.
    loadCone(11, 11, 1, [](int, int x, int y) { return x == 5 && y == 5 ? 100.0 : 0.0; });
    ImgProc *p = body->imgProc();
    const auto click = [p](const char *name) {
        QTest::mouseClick(p->findChild<QAbstractButton *>(QLatin1String(name)), Qt::LeftButton);
    };
    const auto text = [p](const char *name) {
        return p->findChild<QLineEdit *>(QLatin1String(name))->text();
    };
    QTest::mouseClick(body->findChild<QPushButton *>("ShowImgProc"), Qt::LeftButton);
    QVERIFY(p->isVisible());
    click("EdgeDetect");
    // The binary image: the ring of eight pixels around the bright one.
    p->findChild<QSlider *>("BinThVSlider")->setValue(250);
    click("SetRef");
    click("Compare");
    QCOMPARE(text("NormScolarP"), QString("1"));
    // One to the right: 4 of the 8 ring pixels meet.
    click("ShiftR");
    QCOMPARE(text("ShiftX") + ' ' + text("NormScolarP"), QString("1 0.5"));
    // From (1, 0) the search passes (2, 1), (2, 0), (2, -1), (1, -1) and (0, -1), none above 0.5,
    // and takes (0, 0); nothing beats 1 from there.
    click("ShiftAuto");
    QCOMPARE(text("ShiftX") + ' ' + text("ShiftY") + ' ' + text("NormScolarP"), QString("0 0 1"));
}

// "qinfo.dat" goes to the working folder; the survey's window has its button only when the settings
// ask for it.
void TestBodyMaps::collectQInfo()
{
    QVERIFY(body->findChild<QPushButton *>("ShowAnalyzer2")->isHidden());
    settings().showAnalyzer2Button = true;
    const Body shown;
    settings().showAnalyzer2Button = false;
    QVERIFY(!shown.findChild<QPushButton *>("ShowAnalyzer2")->isHidden());
    // A step at 7100 eV and a white line at 7110 + 10 x eV in column x.
    loadCone(3, 1, 30, [](int k, int x, int) {
        const double e = 7000 + 10 * k;
        return 1000.0 * std::exp(-0.3 - (e > 7100 ? 1.0 : 0.0) - (e == 7110 + 10 * x ? 0.6 : 0.0));
    });
    runAll({"set_band_w 0", "set_band_h 0", "select_region 0 0 3 1"});
    QTest::mouseClick(body->analyzer2()->findChild<QPushButton *>("CollectQInfo"), Qt::LeftButton);
    // maxE 7110, 7120, 7130: mean 7120, deviation sqrt(200 / 3).
    QCOMPARE(readFile("qinfo.dat").split('\n').value(0),
             QByteArray("# maxE 7110 7130 7120 8.16497"));
    // The script's word writes the same file.
    QVERIFY(QFile::remove("qinfo.dat"));
    runAll({"collect_q_info"});
    QCOMPARE(readFile("qinfo.dat").split('\n').value(0),
             QByteArray("# maxE 7110 7130 7120 8.16497"));
}

// The script of a whole calibration: calibrate, save, clear, load back at another edge energy, save
// the spectra of all bins.
void TestBodyMaps::calibrateSaveClearLoad()
{
    loadShiftedBlocks();
    const QString emp = dir.filePath("map");
    runAll({"calib_load_std " + dir.filePath("std.dat"), "calib_exec",
            "calib_select_crystal Si(311)", "calib_save_map " + emp});
    const Analyzed2DRes *map = body->energyShiftMap();
    QVERIFY(near({field("DEMin").toDouble(), field("DEMax").toDouble(), field("DEAvr").toDouble(),
                  field("DESigma").toDouble()},
                 {-1.5, 2, 0.25, std::sqrt(1.3125)}, 0.05));
    Reals shifts;
    for (int i = 0; i < 72; ++i)
        shifts << map->value(i % 12, i / 12);
    const QStringList lines = QString::fromLatin1(readFile(emp + ".emp")).split('\n');
    QCOMPARE(QStringList({lines[3], lines[12]}),
             QStringList({"Spacing [nm]            : 1.63748",
                          "Std File Name           : " + dir.filePath("std.dat")}));
    runAll({"calib_clear_map"});
    QVERIFY(!map->hasData());
    // Read back at 9000 eV, where the same angle is a larger shift.
    QCOMPARE(run("calib_set_edge_eV 9000") + run("calib_load_map " + emp + ".emp"), 2);
    for (int i = 0; i < 72; ++i) {
        const double a = theta(7110 - shifts[i], si311) - theta(7110, si311);
        const double want =
            9000
            - 12398.424360387684
                  / (2 * si311 * std::sin((a + theta(9000, si311)) / 180 * 3.1415926535));
        QVERIFY(qAbs(map->value(i % 12, i / 12) - want) < 1e-3);
    }
    // The spectrum at the position and those of all bins carry the shifts.
    QCOMPARE(run("move_position 10 4"), 1);
    QCOMPARE(body->spectrumAtPosition().energyShift(), map->value(10, 4));
    QCOMPARE(field("EShiftOnTbl"), QString::asprintf("%5.2f", map->value(10, 4)));
    // "dE from Std.": the edge there less the standard's.
    QVERIFY(qAbs(field("EShiftFromStd").trimmed().toDouble() - shiftOf(10, 4)) < 0.15);
    QCOMPARE(run("save_each_spectrum_kind 1")
                 + run("save_each_spectrum " + dir.filePath("all.dat")),
             2);
    int bins = 0;
    for (const QByteArray &l : readFile(dir.filePath("all.dat")).split('\n')) {
        const QList<QByteArray> w = l.split(' ');
        if (!l.startsWith('#') && w.size() >= 3 && ++bins)
            QVERIFY(qAbs(w[2].toDouble() - map->value(w[0].toInt(), w[1].toInt())) < 1e-4);
    }
    QCOMPARE(bins, 72);
}

// A map into another map keeps the calibration's walk; without frames the image size is the map's,
// and -1 again once I1 is cleared.
void TestBodyMaps::refusalsAndImageSize()
{
    QCOMPARE(QSize(body->imageWidth(), body->imageHeight()), QSize(-1, -1));
    loadShiftedBlocks();
    runAll({"calib_load_std " + dir.filePath("std.dat"), "set_band_w 1", "calib_exec",
            "calib_save_map " + dir.filePath("m.emp"), "set_band_w 0"});
    Analyzed2DRes other;
    EMPHeader h;
    QVERIFY(body->loadMap(dir.filePath("m.emp"), other, h));
    QCOMPARE(QList<int>({other.walk().hx, body->calibrationWalk().hx}), QList<int>({1, 1}));
    QCOMPARE(run("calib_clear_map"), 1);
    QVERIFY(body->loadMap(dir.filePath("m.emp"), other, h));
    QCOMPARE(body->calibrationWalk().width, 0);
    QCOMPARE(run("clear_I1_files"), 1);
    QCOMPARE(body->imageWidth(), -1);
    QCOMPARE(run("calib_load_map " + dir.filePath("m.emp")), 1);
    QCOMPARE(QSize(body->imageWidth(), body->imageHeight()), QSize(12, 6));
    QCOMPARE(body->calibrationWalk().hx, 1);
    QCOMPARE(run("clear_I1_files"), 1);
    QCOMPARE(body->imageHeight(), -1);
}

// "NES" on a loaded map of zeros with one spike; "de Glitch" on the analyzer's map on show.
void TestBodyMaps::normalizeAndDeglitch()
{
    QByteArray text =
        "###LMGF\nStd Edge Energy [eV]    : 7110\nSpacing [nm]            : 1.637478\n"
        "Width [pix]             : 5\nHeight [pix]            : 6\n##-----------------\n";
    for (int i = 0; i < 30; ++i)
        text += i == 12 ? "-0.5 " : "0 ";
    QVERIFY(writeFile(dir.filePath("spike.emp"), text));
    QCOMPARE(run("calib_load_map " + dir.filePath("spike.emp")), 1);
    QVERIFY(qAbs(body->energyShiftMap()->value(2, 2)) > 50);
    QCOMPARE(run("calib_normalize_shift"), 1);
    QVERIFY(qAbs(body->energyShiftMap()->value(2, 2)) < 1e-6);
    Analyzed2DRes *z = body->analyzer()->namedMap(Analyzer::ZansaMap);
    Reals bins(30, 1.0);
    bins[12] = 50;
    fillMap(*z, 5, 6, 0, bins);
    QCOMPARE(run("analyzer_select_image -2") + run("deglitch_selected_map 3 0.2"), 2);
    QCOMPARE(field("DeGlitchFactor") + ' ' + field("DeGlitchRatio"), QStringLiteral("3 0.2"));
    QVERIFY(z->showsProcessed() && z->processedValue(2, 2) < 50.0);
}

// Steps from 0 to 1 over 20 eV (on a 10 eV grid), at 7100 eV (A) and 7110 eV (B); the stack is A
// moved up 10 eV, which is B. A map of 10 eV everywhere (written at 7000 eV on Si(111)) makes every
// bin A again for the fit.
void TestBodyMaps::shiftReachesLcf()
{
    QByteArray a, b;
    for (int e = 6000; e <= 8190; e += 10)
        a += QByteArray::number(e) + ' ' + QByteArray::number(unitStep(e, 7100)) + '\n',
            b += QByteArray::number(e) + ' ' + QByteArray::number(unitStep(e, 7110)) + '\n';
    QVERIFY(writeFile(dir.filePath("a.dat"), a) && writeFile(dir.filePath("b.dat"), b));
    QCOMPARE(run("set_fluo_type 1"), 1);
    loadStacks(*body, 4, 4, 220, 6000, 10, 1.0f,
               [](int k, int, int) { return unitStep(5990 + 10 * k, 7100); });
    QByteArray text =
        "###Lumenograf::LMGF\nStd Edge Energy [eV]    : 7000\nSpacing [nm]            : 3.1355316\n"
        "Width [pix]             : 4\nHeight [pix]            : 4\n##-----------------\n";
    for (int i = 0; i < 16; ++i)
        text += QByteArray::number(theta(6990, 3.1355316) - theta(7000, 3.1355316), 'g', 10) + ' ';
    QVERIFY(writeFile(dir.filePath("ten.emp"), text));
    runAll({"calib_load_map " + dir.filePath("ten.emp"), "set_band_w 0", "set_band_h 0",
            "analyzer_set_LCF_std 0 1 0 " + dir.filePath("a.dat") + " 0",
            "analyzer_set_LCF_std 1 1 0 " + dir.filePath("b.dat") + " 0"});
    QVERIFY(qAbs(body->energyShiftMap()->value(3, 3) - 10) < 1e-4);
    QVERIFY(runAndWait(*body, "analyzer_exec_LCF"));
    const Analyzed2DRes *weightA = body->analyzer()->reference(0)->maps()[Analyzer::RatioKind];
    for (int i = 0; i < 16; ++i)
        QVERIFY(qAbs(weightA->value(i % 4, i / 4) - 1) < 1e-3);
}

QTEST_MAIN(TestBodyMaps)
#include "test_body_maps.moc"
