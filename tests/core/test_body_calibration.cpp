#include "analysis/gui/Analyzer.h"
#include "analysis/gui/LCFReference.h"
#include "calibration/gui/CalibCtrl.h"

#include "AnalBody.h"
#include "AnalHelpers.h"
#include "LogCapture.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

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

class TestBodyCalibration : public QObject
{
    Q_OBJECT
private slots:
    void init() { body.reset(new Body); }
    void calibrateSaveClearLoad();
    void refusalsAndImageSize();
    void normalizeAndDeglitch();
    void windowCommands();
    void shiftReachesLcf();

private:
    int run(const QString &statement) { return runStatement(*body, statement); }
    QString field(const char *name)
    {
        return body->findChild<QWidget *>(name)->property("text").toString();
    }
    // Transmission frames of 41 energies from 7090 eV whose blocks have
    // their edges at 7110 eV plus the block's shift; the standard's file.
    void loadAll()
    {
        loadStacks(*body, 12, 6, 41, 7090, 1, 50000.0f, [](int k, int x, int y) {
            return 50000.0 * std::exp(-ramp(7090 + k, 7110 + shiftOf(x, y)));
        });
        QByteArray text;
        for (int e = 7090; e <= 7130; ++e)
            text += QByteArray::number(e) + ' ' + QByteArray::number(ramp(e, 7110)) + '\n';
        QVERIFY(writeBytes(dir.filePath("std.dat"), text));
        for (const char *s : {"set_band_w 0", "set_band_h 0", "select_region 0 0 12 6"})
            QCOMPARE(run(s), 1);
    }

    QTemporaryDir dir;
    std::unique_ptr<Body> body;
};

// The script of a whole calibration: calibrate, save, clear, load back at
// the same and at another edge energy, save the spectra of all bins.
void TestBodyCalibration::calibrateSaveClearLoad()
{
    loadAll();
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
    const QStringList lines = QString::fromLatin1(fileBytes(dir.filePath("map.emp"))).split('\n');
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
    // The angle offsets as written, 6 significant digits.
    for (int i = 0; i < 72; ++i) {
        const double a = lines[21 + i / 12].split(' ')[i % 12].toDouble();
        const double t = theta(7110 - shifts[i], si311) - theta(7110, si311);
        QVERIFY(qAbs(a - t) <= 5e-6 * qAbs(t) + 1e-12);
    }

    QCOMPARE(run("calib_clear_map"), 1);
    QVERIFY(!map->hasData());
    // Read back at 9000 eV, where the same angle is a larger shift, and at
    // the edge written, where it is the shift calibrated.
    for (double edge : {9000.0, 7110.0}) {
        for (const QString &s : {QString("calib_set_edge_eV %1").arg(edge),
                                 "calib_load_map " + emp + ".emp"})
            QCOMPARE(run(s), 1);
        for (int i = 0; i < 72; ++i) {
            const double a = theta(7110 - shifts[i], si311) - theta(7110, si311);
            const double want = edge - 12398.424360387684
                                           / (2 * si311 * std::sin((a + theta(edge, si311)) / 180
                                                                   * 3.1415926535));
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
    for (const QByteArray &l : fileBytes(dir.filePath("all.dat")).split('\n')) {
        const QList<QByteArray> w = l.split(' ');
        if (l.startsWith('#') || w.size() < 3)
            continue;
        QVERIFY(qAbs(w[2].toDouble() - map->value(w[0].toInt(), w[1].toInt())) < 1e-4);
        ++bins;
    }
    QCOMPARE(bins, 72);
}

void TestBodyCalibration::refusalsAndImageSize()
{
    QCOMPARE(QSize(body->imageWidth(), body->imageHeight()), QSize(-1, -1));
    loadAll();
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
void TestBodyCalibration::normalizeAndDeglitch()
{
    QByteArray text =
        "###LMGF\nStd Edge Energy [eV]    : 7110\nSpacing [nm]            : 1.637478\n"
        "Width [pix]             : 5\nHeight [pix]            : 6\n"
        "Area X1                 : 5\nArea Y1                 : 6\n##-----------------\n";
    for (int i = 0; i < 30; ++i)
        text += i == 12 ? "-0.5 " : "0 ";
    QVERIFY(writeBytes(dir.filePath("spike.emp"), text));
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

// Crystals by index and by name in any case; an index past the list changes
// nothing; the background choice reaches the spectrum on show.
void TestBodyCalibration::windowCommands()
{
    CalibCtrl *c = body->calibCtrl();
    QCOMPARE(run("calib_select_crystal 3"), 1);
    QCOMPARE(c->crystal(), QStringLiteral("Ge(111)"));
    QCOMPARE(run("calib_select_crystal si(333)"), 1);
    QCOMPARE(c->spacing(), 1.0451772);
    QCOMPARE(run("calib_select_crystal 9"), 1);
    QCOMPARE(c->crystal(), QStringLiteral("Si(333)"));
    QCOMPARE(run("calib_target_bg_victoreen 1"), 1);
    QVERIFY(c->targetBGVictoreen() && body->spectrumAtPosition().isVictoreen());
    QCOMPARE(run("calib_target_bg_victoreen 0"), 1);
    QVERIFY(!c->targetBGVictoreen() && !body->spectrumAtPosition().isVictoreen());
    QCOMPARE(run("calib_load_std " + dir.filePath("none.dat")), 1);
    QVERIFY(!c->hasStandard() && c->stdFileName().isEmpty());
}

// Steps from 0 to 1 over 20 eV (on a 10 eV grid), at 7100 eV (A) and 7110 eV (B); the stack
// is A moved up 10 eV, which is B. A map of 10 eV everywhere (written at
// 7000 eV on Si(111)) makes every bin A again for the fit.
void TestBodyCalibration::shiftReachesLcf()
{
    for (const char *name : {"a.dat", "b.dat"}) {
        QByteArray text;
        for (int e = 6000; e <= 8190; e += 10)
            text += QByteArray::number(e) + ' '
                    + QByteArray::number(unitStep(e, name[0] == 'a' ? 7100 : 7110)) + '\n';
        QVERIFY(writeBytes(dir.filePath(name), text));
    }
    QCOMPARE(run("set_fluo_type 1"), 1);
    loadStacks(*body, 4, 4, 220, 6000, 10, 1.0f,
               [](int k, int, int) { return unitStep(5990 + 10 * k, 7100); });
    QByteArray text =
        "###Lumenograf::LMGF\nStd Edge Energy [eV]    : 7000\nSpacing [nm]            : 3.1355316\n"
        "Width [pix]             : 4\nHeight [pix]            : 4\n##-----------------\n";
    for (int i = 0; i < 16; ++i)
        text += QByteArray::number(theta(6990, 3.1355316) - theta(7000, 3.1355316), 'g', 10) + ' ';
    QVERIFY(writeBytes(dir.filePath("ten.emp"), text));
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

QTEST_MAIN(TestBodyCalibration)
#include "test_body_calibration.moc"
