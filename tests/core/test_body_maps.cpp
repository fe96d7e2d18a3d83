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

// The map tools, frame alignment, quality survey and energy calibration as a
// script and a user drive them through the main window.
class TestBodyMaps : public QObject
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
    void runAll(const QStringList &statements)
    {
        for (const QString &statement : statements)
            QCOMPARE(run(statement), 1);
    }
    QString field(const char *name)
    {
        return body->findChild<QWidget *>(name)->property("text").toString();
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

// Pixel i of the I1 frames of the map tools counts (1 + i) mu(E) over I0 = 1,
// 7000 to 9000 eV in 10 eV steps, mu on a line below the edge at 8000 eV and
// on a flatter one above: pre(E) = 0.25 + (E - 7000) / 4096, post(E) = 1.5 +
// (E - 7000) / 8192.
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

// A cone of radius 12 on a low floor: its edge image is as strong all over
// the cone, so the binary image is a filled disk whose overlap with a
// displaced copy grows steadily toward the displacement.
double cone(double x, double y)
{
    const double r = std::hypot(x - 24.0, y - 21.0);
    return 10.0 + (r < 12.0 ? 1200.0 * (1.0 - r / 12.0) : 0.0);
}

const QPoint displacement[] = {{0, 0}, {3, -2}, {-5, 4}, {2, 5}, {-1, -3}, {5, 0}};

// Shifts of the 4 x 2 blocks of 3 x 3 pixels of a 12 x 6 image: min -1.5,
// max 2.0, mean 0.25, population sigma sqrt(1.375 - 0.0625).
const double blockShift[8] = {-1.5, -0.5, 0.0, 0.5, 1.0, 1.5, 2.0, -1.0};
double shiftOf(int x, int y)
{
    return blockShift[y / 3 * 4 + x / 3];
}
// mu: 0.2 below the edge, 1.2 above, a straight rise over 6 eV; half height
// (0.7) at the edge itself.
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

// Transmission frames of 41 energies from 7090 eV whose blocks have their
// edges at 7110 eV plus the block's shift; the standard's file.
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

// At 8200 eV: dmut = 1.646484375 - 0.54296875, mu = post. At 7800 eV:
// dmut = 1.59765625 - 0.4453125, mu = pre. The rest is mu - factor * dmut,
// the ratio r / (dmut + r) with r the rest over its smallest value.
void TestBodyMaps::residualTwice()
{
    loadEdgeStacks();
    runAll({"analyzer_select_analysis_mode 1"});
    const double runs[2][4] = {{8200, 0.5, 1.103515625, 1.646484375},
                               {7800, 2.0, 1.15234375, 0.4453125}};
    for (const auto &r : runs) {
        runAll({QStringLiteral("analyzer_set_ra_energy %1").arg(r[0]),
                QStringLiteral("analyzer_set_ra_factor %1").arg(r[1]), "analyzer_exec_ra"});
        Reals want[3]; // dmut, rest, ratio
        for (int i = 0; i < W * H; ++i)
            want[0] << (1 + i) * r[2], want[1] << (1 + i) * (r[3] - r[1] * r[2]);
        const double m = *std::min_element(want[1].begin(), want[1].end());
        for (int i = 0; i < W * H; ++i)
            want[2] << (want[1][i] - m) / (want[0][i] + want[1][i] - m);
        for (int k = 0; k < 3; ++k) {
            runAll({QStringLiteral("analyzer_select_image %1").arg(-3 - k)});
            QVERIFY(close(saved("map"), want[k]));
        }
    }
}

// Ranges that overlap and reach past the stack, then deleted down to none;
// the first additions and a deletion with no current item by hand; the dump
// of the map by "Chk Vals".
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
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), QStringLiteral("0-2"));
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
    QCOMPARE(lines.size(), 1 + W * H);
    QCOMPARE(lines[0], QStringLiteral("vals of Sum Up Img"));
    QVERIFY(lines[1 + W + 2].startsWith(QString::asprintf("   2    1 %15.6f ", want[W + 2])));

    runAll({"analyzer_sumup_del 3"});
    QCOMPARE(list->count(), 3);
    runAll({"analyzer_sumup_del 0", "analyzer_sumup_del 0", "analyzer_sumup_del 0"});
    QCOMPARE(list->count(), 0);
    runAll({"analyzer_exec_sumup"});
    QVERIFY(close(saved("sum"), Reals(W * H, 0.0)));
}

// Map 1 the sum-up of frame 1, Map 2 that of frame 0 or of no frames; the
// result is perS * (1 + i) + plain at pixel i.
void TestBodyMaps::processTwoMaps()
{
    loadEdgeStacks();
    const double a = mu(7010), b = mu(7000);
    const double cases[6][4] = {// type, Map 2 empty, perS, plain
                                {0, 0, a - b, 0}, {1, 0, 0, a / b}, {2, 0, a, 0},
                                {0, 1, a, 0},     {1, 1, 0, 1},     {2, 1, 0, 0}};
    for (const auto &c : cases) {
        runAll({"analyzer_select_analysis_mode 3", "analyzer_sumup_clear", "analyzer_sumup_add 1 2",
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

// The survey of the frames on show: a "Res" line per k; at k = 0 the
// magnitude of a pixel is the sum of its trace, v its first value.
void TestBodyMaps::fourierSurvey()
{
    loadEdgeStacks();
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
    QCOMPARE(res.size(), 201);
    const QStringList f = res[0].split(' ');
    QCOMPARE(f.size(), 6);
    QVERIFY(f[1] == "0"
            && close({f[2].toDouble(), f[3].toDouble(), f[4].toDouble()}, {svv, saa, sva}));
}

// A map file of shifts of 0 eV read into Map 2, which the panel then shows;
// both maps without frames to walk; one of another size than the frames.
void TestBodyMaps::loadMapFile()
{
    Analyzed2DRes map;
    fillMap(map, W, H, 0, {});
    EMPSaveInfo info;
    info.edgeEnergy = 8000;
    info.spacing = 3.13553;
    const QString file = dir.filePath("zero.emp");
    QVERIFY(writeEmpFile(file, map, info));
    runAll(
        {"analyzer_select_analysis_mode 4", "analyzer_load_map 2 " + file, "analyzer_proc_show 1"});
    QCOMPARE(body->analyzer()->mapName(2), file);
    const Analyzed2DRes *shown = body->analyzer()->currentMap();
    QVERIFY(shown == body->analyzer()->namedMap(Analyzer::EShiftMap2));
    QVERIFY(shown->isImageValid() && std::abs(shown->value(W - 1, H - 1)) < 1e-3);

    LogCapture log;
    runAll({"analyzer_load_map 1 " + file, "analyzer_exec_proc_maps"});
    QVERIFY(log.contains("Map processing not run: no area to walk"));

    // A file whose header reads but whose size is not the frames' does not
    // name Map 1: that map was not read.
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
    for (const char *s :
         {"imgproc_edge_detect 1", "imgproc_binary 1", "imgproc_threshold_slider 300",
          "seek_image 0", "imgproc_set_ref", "imgproc_auto_set_shift 1"})
        QCOMPARE(run(s), 1);
    for (int k = 0; k < n; ++k)
        for (const QString &s : {QString("seek_image %1").arg(k),
                                 QString("imgproc_trial_shift 0 0"), QString("imgproc_auto_shift")})
            QCOMPARE(run(s), 1);
    for (int k = 0; k < n; ++k) {
        const TiffData *f = body->stacks().i1()[k];
        QCOMPARE(QPoint(f->shiftX, f->shiftY), -displacement[k]);
    }

    // Away from the border (5 pixels of shift, a window of 2 around the
    // position) the aligned stack reads as the undisplaced one.
    for (Body *b : {body.get(), &still})
        runStatement(*b, "set_band_w 2"), runStatement(*b, "set_band_h 2");
    for (const QPoint p : {QPoint(8, 8), QPoint(24, 21), QPoint(30, 14), QPoint(39, 39)}) {
        for (Body *b : {body.get(), &still})
            runStatement(*b, QString("move_position %1 %2").arg(p.x()).arg(p.y()));
        QCOMPARE(body->spectrumAtPosition().raw().points(),
                 still.spectrumAtPosition().raw().points());
    }
}

void TestBodyMaps::shiftChangesTheSpectrumAtOnce()
{
    // A ramp along x: the pixel of column x holds 100 + x + 10 k.
    loadCone(20, 10, 3, [](int k, int x, int) { return 100.0 + x + 10 * k; });
    for (const char *s : {"set_band_w 0", "set_band_h 0", "move_position 10 5", "seek_image 1",
                          "imgproc_trial_shift 2 0", "imgproc_set_shift"})
        QCOMPARE(run(s), 1);
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
    QCOMPARE(body->stacks().i1()[1]->shiftX, 0);
}

void TestBodyMaps::shiftGoesToI1WhileI0IsShown()
{
    loadCone(20, 10, 3, [](int, int x, int) { return 100.0 + x; });
    for (const char *s : {"imgproc_edge_detect 1", "select_disp_image 1", "seek_image 2"})
        QCOMPARE(run(s), 1);
    QCOMPARE(body->imgProc()->frame(), body->stacks().i1()[2]);
    QCOMPARE(run("imgproc_trial_shift -1 3"), 1);
    QCOMPARE(run("imgproc_set_shift"), 1);
    const TiffData *i1 = body->stacks().i1()[2];
    QCOMPARE(QPoint(i1->shiftX, i1->shiftY), QPoint(-1, 3));
    for (const TiffData *f : body->stacks().i0())
        QCOMPARE(QPoint(f->shiftX, f->shiftY), QPoint(0, 0));
    // Clearing the I1 files takes the frame away from the image processor.
    body->clearI1Files();
    QCOMPARE(body->imgProc()->frame(), nullptr);
}

void TestBodyMaps::compareByHand()
{
    // One pixel of 100 in the dark: the eight pixels around it have an edge
    // of 100, all others 0.
    loadCone(11, 11, 1, [](int, int x, int y) { return x == 5 && y == 5 ? 100.0 : 0.0; });
    ImgProc *p = body->imgProc();
    const auto click = [p](const char *name) {
        auto *b = p->findChild<QAbstractButton *>(QLatin1String(name));
        QVERIFY(b);
        QTest::mouseClick(b, Qt::LeftButton);
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
    QCOMPARE(text("ShiftX"), QString("1"));
    QCOMPARE(text("NormScolarP"), QString("0.5"));
    // From (1, 0) the search passes (2, 1), (2, 0), (2, -1), (1, -1) and
    // (0, -1), none above 0.5, and takes (0, 0); nothing beats 1 from there.
    click("ShiftAuto");
    QCOMPARE(QStringList({text("ShiftX"), text("ShiftY"), text("NormScolarP")}),
             QStringList({"0", "0", "1"}));
}

// "qinfo.dat" goes to the working folder.
void TestBodyMaps::collectQInfo()
{
    // The survey's window has its button only when the settings ask for it.
    QVERIFY(body->findChild<QPushButton *>("ShowAnalyzer2")->isHidden());
    settings().showAnalyzer2Button = true;
    const Body shown;
    settings().showAnalyzer2Button = false;
    QVERIFY(!shown.findChild<QPushButton *>("ShowAnalyzer2")->isHidden());

    // Transmission frames: a step at 7100 eV and a white line at 7110 + 10 x
    // eV in column x, where the absorption maximum of each bin lies.
    loadCone(3, 1, 30, [](int k, int x, int) {
        const double e = 7000 + 10 * k;
        return 1000.0 * std::exp(-0.3 - (e > 7100 ? 1.0 : 0.0) - (e == 7110 + 10 * x ? 0.6 : 0.0));
    });
    runAll({"set_band_w 0", "set_band_h 0", "select_region 0 0 3 1"});
    QTest::mouseClick(body->analyzer2()->findChild<QPushButton *>("CollectQInfo"), Qt::LeftButton);
    const QList<QByteArray> lines = readFile("qinfo.dat").split('\n');
    // maxE 7110, 7120, 7130: mean 7120, deviation sqrt(200 / 3). In column 0
    // the post-edge line stands flat at 1.3 beyond the white line: 0.6 above
    // it over a jump of 1, the largest ratio of the three.
    QCOMPARE(lines.value(0), QByteArray("# maxE 7110 7130 7120 8.16497"));
    QCOMPARE(lines.value(1).split(' ').value(3).toDouble(), 0.6);
    QCOMPARE(lines.size(), 2 + 3 + 1);
    for (int x = 0; x < 3; ++x) {
        const QList<QByteArray> f = lines.value(2 + x).split('\t');
        // mu at the white line: 0.3 + 1 + 0.6.
        QCOMPARE(QList<QByteArray>({f.value(0), f.value(1), f.value(5), f.value(6)}),
                 QList<QByteArray>(
                     {QByteArray::number(7110 + 10 * x), "1.9", QByteArray::number(x), "0"}));
        QCOMPARE(f.size(), 7);
    }
    QCOMPARE(lines.value(2).split('\t').mid(2, 2), QList<QByteArray>({"0.6", "1"}));
}

// The script of a whole calibration: calibrate, save, clear, load back at
// the same and at another edge energy, save the spectra of all bins.
void TestBodyMaps::calibrateSaveClearLoad()
{
    loadShiftedBlocks();
    const QString emp = dir.filePath("map");
    for (const QString &s : {"calib_load_std " + dir.filePath("std.dat"), QString("calib_exec"),
                             QString("calib_select_crystal Si(311)"), "calib_save_map " + emp})
        QCOMPARE(run(s), 1);
    const Analyzed2DRes *map = body->energyShiftMap();
    for (int i = 0; i < 72; ++i)
        QVERIFY(qAbs(map->value(i % 12, i / 12) - shiftOf(i % 12, i / 12)) < 0.15);
    QVERIFY(near({field("DEMin").toDouble(), field("DEMax").toDouble(), field("DEAvr").toDouble(),
                  field("DESigma").toDouble()},
                 {-1.5, 2, 0.25, std::sqrt(1.3125)}, 0.05));
    Reals shifts;
    for (int i = 0; i < 72; ++i)
        shifts << map->value(i % 12, i / 12);

    // Header and angle offsets as written.
    const QStringList lines = QString::fromLatin1(readFile(dir.filePath("map.emp"))).split('\n');
    QCOMPARE(lines.mid(2, 13).join('\n'),
             "Std Edge Energy [eV]    : 7110\nSpacing [nm]            : 1.63748\n"
             "Width [pix]             : 12\nHeight [pix]            : 6\n"
             "Bin Half Width [pix]    : 0\nBin Half Height [pix]   : 0\n"
             "Area X0                 : 0\nArea X1                 : 12\n"
             "Area Y0                 : 0\nArea Y1                 : 6\n"
             "Std File Name           : "
                 + dir.filePath("std.dat")
                 + "\nMap Height              : 6\nMap Width               : 0 12");
    QCOMPARE(lines[20], QStringLiteral("##-----------------"));

    QCOMPARE(run("calib_clear_map"), 1);
    QVERIFY(!map->hasData());
    // Read back at 9000 eV, where the same angle is a larger shift, and at
    // the edge written, where it is the shift calibrated.
    for (double edge : {9000.0, 7110.0}) {
        for (const QString &s :
             {QString("calib_set_edge_eV %1").arg(edge), "calib_load_map " + emp + ".emp"})
            QCOMPARE(run(s), 1);
        for (int i = 0; i < 72; ++i) {
            const double a = theta(7110 - shifts[i], si311) - theta(7110, si311);
            const double want =
                edge
                - 12398.424360387684
                      / (2 * si311 * std::sin((a + theta(edge, si311)) / 180 * 3.1415926535));
            QVERIFY(qAbs(map->value(i % 12, i / 12) - want) < (edge < 8000 ? 1e-4 : 1e-3));
        }
    }

    // The spectrum at the position and those of all bins carry the shifts.
    QCOMPARE(run("move_position 10 4"), 1);
    QCOMPARE(body->spectrumAtPosition().energyShift(), map->value(10, 4));
    QCOMPARE(field("EShiftOnTbl"), QString::asprintf("%5.2f", map->value(10, 4)));
    // "dE from Std.": the edge there less the standard's.
    QVERIFY(qAbs(field("EShiftFromStd").trimmed().toDouble() - shiftOf(10, 4)) < 0.15);
    for (const QString &s :
         {QString("save_each_spectrum_kind 1"), "save_each_spectrum " + dir.filePath("all.dat")})
        QCOMPARE(run(s), 1);
    int bins = 0;
    for (const QByteArray &l : readFile(dir.filePath("all.dat")).split('\n')) {
        const QList<QByteArray> w = l.split(' ');
        if (l.startsWith('#') || w.size() < 3)
            continue;
        QVERIFY(qAbs(w[2].toDouble() - map->value(w[0].toInt(), w[1].toInt())) < 1e-4);
        ++bins;
    }
    QCOMPARE(bins, 72);
}

void TestBodyMaps::refusalsAndImageSize()
{
    QCOMPARE(QSize(body->imageWidth(), body->imageHeight()), QSize(-1, -1));
    loadShiftedBlocks();
    LogCapture log;
    QCOMPARE(run("calib_exec"), 1);
    QVERIFY(log.contains("Calibration refused: no standard spectrum loaded"));
    QVERIFY(!body->energyShiftMap()->hasData());
    // A map into another map keeps the calibration's walk.
    for (const QString &s : {"calib_load_std " + dir.filePath("std.dat"), QString("set_band_w 1"),
                             QString("calib_exec"), "calib_save_map " + dir.filePath("m.emp")})
        QCOMPARE(run(s), 1);
    QCOMPARE(run("set_band_w 0"), 1);
    Analyzed2DRes other;
    EMPHeader h;
    QVERIFY(body->loadMap(dir.filePath("m.emp"), other, h));
    QCOMPARE(other.walk().hx, 1);
    QCOMPARE(body->calibrationWalk().hx, 1);
    QCOMPARE(run("calib_clear_map"), 1);
    QVERIFY(body->loadMap(dir.filePath("m.emp"), other, h));
    QCOMPARE(body->calibrationWalk().width, 0);
    // Without frames the size is the map's, and -1 again once I1 is cleared.
    QCOMPARE(run("clear_I1_files"), 1);
    QCOMPARE(body->imageWidth(), -1);
    QCOMPARE(run("calib_load_map " + dir.filePath("m.emp")), 1);
    QCOMPARE(QSize(body->imageWidth(), body->imageHeight()), QSize(12, 6));
    QCOMPARE(body->calibrationWalk().hx, 1);
    QCOMPARE(run("clear_I1_files"), 1);
    QCOMPARE(body->imageHeight(), -1);
}

// "NES" on a loaded map of zeros with one spike; "de Glitch" on the
// analyzer's map on show.
void TestBodyMaps::normalizeAndDeglitch()
{
    QByteArray text =
        "###LMGF\nStd Edge Energy [eV]    : 7110\nSpacing [nm]            : 1.637478\n"
        "Width [pix]             : 5\nHeight [pix]            : 6\n"
        "Area X1                 : 5\nArea Y1                 : 6\n##-----------------\n";
    for (int i = 0; i < 30; ++i)
        text += i == 12 ? "-0.5 " : "0 ";
    QVERIFY(writeFile(dir.filePath("spike.emp"), text));
    QCOMPARE(run("calib_load_map " + dir.filePath("spike.emp")), 1);
    const Analyzed2DRes *map = body->energyShiftMap();
    QVERIFY(qAbs(map->value(2, 2)) > 50);
    QCOMPARE(run("calib_normalize_shift"), 1);
    QVERIFY(qAbs(map->value(2, 2)) < 1e-6);

    Analyzed2DRes *z = body->analyzer()->namedMap(Analyzer::ZansaMap);
    Reals bins(30, 1.0);
    bins[12] = 50;
    fillMap(*z, 5, 6, 0, bins);
    for (const char *s : {"analyzer_select_image -2", "deglitch_selected_map 3 0.2"})
        QCOMPARE(run(s), 1);
    QCOMPARE(field("DeGlitchFactor"), QStringLiteral("3"));
    QCOMPARE(field("DeGlitchRatio"), QStringLiteral("0.2"));
    QVERIFY(z->showsProcessed() && z->deglitchFactor() == 3.0);
    QVERIFY(z->processedValue(2, 2) < 50.0);
}

// Steps from 0 to 1 over 20 eV (on a 10 eV grid), at 7100 eV (A) and 7110 eV (B); the stack
// is A moved up 10 eV, which is B. A map of 10 eV everywhere (written at
// 7000 eV on Si(111)) makes every bin A again for the fit.
void TestBodyMaps::shiftReachesLcf()
{
    for (const char *name : {"a.dat", "b.dat"}) {
        QByteArray text;
        for (int e = 6000; e <= 8190; e += 10)
            text += QByteArray::number(e) + ' '
                    + QByteArray::number(unitStep(e, name[0] == 'a' ? 7100 : 7110)) + '\n';
        QVERIFY(writeFile(dir.filePath(name), text));
    }
    QCOMPARE(run("set_fluo_type 1"), 1);
    loadStacks(*body, 4, 4, 220, 6000, 10, 1.0f,
               [](int k, int, int) { return unitStep(5990 + 10 * k, 7100); });
    QByteArray text =
        "###Lumenograf::LMGF\nStd Edge Energy [eV]    : 7000\nSpacing [nm]            : 3.1355316\n"
        "Width [pix]             : 4\nHeight [pix]            : 4\n##-----------------\n";
    for (int i = 0; i < 16; ++i)
        text += QByteArray::number(theta(6990, 3.1355316) - theta(7000, 3.1355316), 'g', 10) + ' ';
    QVERIFY(writeFile(dir.filePath("ten.emp"), text));
    for (const QString &s :
         {"calib_load_map " + dir.filePath("ten.emp"), QString("set_band_w 0"),
          QString("set_band_h 0"), "analyzer_set_LCF_std 0 1 0 " + dir.filePath("a.dat") + " 0",
          "analyzer_set_LCF_std 1 1 0 " + dir.filePath("b.dat") + " 0"})
        QCOMPARE(run(s), 1);
    QVERIFY(qAbs(body->energyShiftMap()->value(3, 3) - 10) < 1e-4);
    QSignalSpy done(body.get(), &Body::finishBatchExec);
    QCOMPARE(run("analyzer_exec_LCF"), 0);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
    const Analyzed2DRes *weightA = body->analyzer()->reference(0)->maps()[Analyzer::RatioKind];
    for (int i = 0; i < 16; ++i)
        QVERIFY(qAbs(weightA->value(i % 4, i / 4) - 1) < 1e-3);
}

QTEST_MAIN(TestBodyMaps)
#include "test_body_maps.moc"
