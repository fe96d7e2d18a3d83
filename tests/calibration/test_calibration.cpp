#include "analysis/Analyzed2DRes.h"
#include "calibration/EdgeShiftCalib.h"
#include "calibration/EmpFile.h"

#include "AnalHelpers.h"
#include "FrameMaker.h"
#include "LogCapture.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <numeric>

namespace {

// Shifts of the 4 x 2 blocks of 3 x 3 pixels, row by row: min -1.5, max 2.0, mean 0.25, population
// sigma sqrt(11 / 8 - 0.0625).
const double blockShift[8] = {-1.5, -0.5, 0.0, 0.5, 1.0, 1.5, 2.0, -1.0};

// mu of an edge at `edge`: 0.2 below, 1.2 above, a straight rise over 6 eV.
const auto ramp = [](double e, double edge) {
    return 0.2 + std::min(1.0, std::max(0.0, (e - edge + 3.0) / 6.0));
};

// A 12 x 6 image of 41 energies from 7090 eV whose blocks have their edges at 7110 eV plus their
// shift; I0 50000 at energies 0.5 eV higher, dark 100.
struct Stacks
{
    OwnedFrames i1, i0;
    const std::unique_ptr<TiffData> frame{constantFrame(12, 6, 0.0, 100)};
    TiffData *const dark = frame.get();
    explicit Stacks(bool fluo)
    {
        for (int k = 0; k < 41; ++k) {
            const double e = 7090.0 + k;
            i1.append(makeFrame(12, 6, e, [&](int x, int y) {
                const double mu = ramp(e, 7110.0 + blockShift[y / 3 * 4 + x / 3]);
                return 100 + int(std::lround(49900.0 * (fluo ? 0.5 * mu : std::exp(-mu))));
            }));
            i0.append(constantFrame(12, 6, e + 0.5, 50000));
        }
    }
};

SpectrumPoints standard()
{
    SpectrumPoints s;
    for (int k = 0; k < 41; ++k)
        s.append(7090.0 + k, ramp(7090.0 + k, 7110.0));
    return s;
}

const auto walkOver = [](int half, double x, double y, double w, double h) {
    AnalyzeCond walk;
    walk.setup(12, 6, half, half, x, y, w, h);
    return walk;
};

const QByteArray spacing = "Spacing [nm]            : 3.1355316\n";

// A w x h map at 7112 eV with `extra` header lines, then `data`.
QByteArray empText(int w, int h, const QByteArray &extra, const QByteArray &data,
                   const QByteArray &magic = "###LMGF")
{
    return magic + "\nStd Edge Energy [eV]    : 7112\nWidth [pix]             : "
           + QByteArray::number(w) + "\nHeight [pix]            : " + QByteArray::number(h) + "\n"
           + extra + "##-----------------\n" + data;
}

} // namespace

class TestCalibration : public QObject
{
    Q_OBJECT
private slots:
    void blockShifts_data();
    void blockShifts();
    void rowsMatchSpectra_data();
    void rowsMatchSpectra();
    void refused();
    void normalizeShift_data();
    void normalizeShift();
    void empRoundTrip();
    void empHostile_data();
    void empHostile();
    void empAngles();
    void empRefusals();

private:
    QTemporaryDir dir;
    EMPLoadTarget target;
    EMPHeader header;
    Analyzed2DRes map;
    // Reads text as a map file with that edge energy, the image w x h.
    bool load(const QByteArray &text, double edgeField = 0.0, int w = -1, int h = -1)
    {
        const QString name = dir.filePath(QStringLiteral("m.emp"));
        writeFile(name, text);
        target = EMPLoadTarget{edgeField, w, h};
        map.clear();
        return readEmpFile(name, target, map, header);
    }
};

void TestCalibration::blockShifts_data()
{
    QTest::addColumn<bool>("fluo");
    QTest::addColumn<int>("half");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<Reals>("stats"); // bins, min, max, mean, sigma
    const QRect all(0, 0, 12, 6);
    const double sigma = std::sqrt(1.3125);
    QTest::newRow("transmission, 3 x 3 bins")
        << false << 1 << all << Reals{8, -1.5, 2, 0.25, sigma};
    QTest::newRow("transmission, pixels") << false << 0 << all << Reals{72, -1.5, 2, 0.25, sigma};
    QTest::newRow("fluorescence, 3 x 3 bins") << true << 1 << all << Reals{8, -1.5, 2, 0.25, sigma};
    // One bin; four bins of which only (10, 4) is centred in the image.
    QTest::newRow("one bin") << false << 1 << QRect(3, 0, 3, 3) << Reals{1, -0.5, -0.5, -0.5, 0};
    QTest::newRow("one bin inside") << false << 1 << QRect(9, 3, 6, 6) << Reals{1, -1, -1, -1, 0};
}

// Every pixel takes its block's shift; the statistics are the blocks' (each block has as many bins
// as the others); a single bin has its shift exactly and a spread of 0.
void TestCalibration::blockShifts()
{
    QFETCH(bool, fluo);
    QFETCH(int, half);
    QFETCH(QRect, area);
    QFETCH(Reals, stats);
    Stacks s(fluo);
    Analyzed2DRes map;
    EdgeShiftStats st;
    QVERIFY(EdgeShiftCalib(s.i1, s.i0, s.dark, 12, 6, fluo)
                .run(walkOver(half, area.x(), area.y(), area.width(), area.height()), standard(),
                     map, st));
    for (int y = area.top(); y < std::min(6, area.bottom() + 1); ++y)
        for (int x = area.left(); x < std::min(12, area.right() + 1); ++x)
            QVERIFY(qAbs(map.value(x, y) - blockShift[y / 3 * 4 + x / 3]) < 0.15);
    QVERIFY(st.bins == stats[0] && near({st.min, st.max, st.mean, st.sigma}, stats.mid(1), 0.01));
    QVERIFY(
        st.bins > 1
        || (st.min == st.mean && st.max == st.mean && st.sigma == 0.0 && map.dataMax() == st.mean));
}

void TestCalibration::rowsMatchSpectra_data()
{
    QTest::addColumn<bool>("fluo");
    QTest::addColumn<int>("hx");
    QTest::addColumn<int>("hy");
    QTest::newRow("transmission, pixels") << false << 0 << 0;
    QTest::newRow("transmission, 5 x 3") << false << 2 << 1;
    QTest::newRow("fluorescence, 3 x 7") << true << 1 << 3;
}

// Noise with shifted frames, a dark frame brighter than some samples and four I0 frames: each bin
// of a row, inside the image or not, has the half-height energy of its spectrum to the last bit.
void TestCalibration::rowsMatchSpectra()
{
    QFETCH(bool, fluo);
    QFETCH(int, hx);
    QFETCH(int, hy);
    quint32 seed = 12345;
    auto noise = [&seed](int, int) { return int((seed = seed * 1103515245u + 12345u) >> 20); };
    OwnedFrames i1, i0;
    for (int k = 0; k < 30; ++k) {
        i1.append(makeFrame(17, 9, 7000.0 + 2 * k, noise));
        i1.last()->shiftX = k % 3 - 1, i1.last()->shiftY = k % 5 - 2;
    }
    for (int k = 0; k < 4; ++k)
        i0.append(makeFrame(17, 9, 7005.0 + 15 * k, noise));
    const std::unique_ptr<TiffData> dark(
        makeFrame(17, 9, 0.0, [&](int x, int y) { return noise(x, y) / 2; }));
    EdgeShiftCalib calib(i1, i0, dark.get(), 17, 9, fluo);
    QVector<int> cxs(20);
    std::iota(cxs.begin(), cxs.end(), -1);
    QVector<double> edges;
    for (int y = -1; y <= 9; ++y) {
        QVERIFY(calib.rowEdges(cxs, y, hx, hy, edges));
        for (int j = 0; j < cxs.size(); ++j)
            QVERIFY(edges[j] == calib.edgeAt(cxs[j], y, hx, hy));
    }
}

// Without a standard or without frames nothing is calibrated.
void TestCalibration::refused()
{
    LogCapture log;
    Stacks s(false);
    Analyzed2DRes map;
    EdgeShiftStats st;
    QVERIFY(!EdgeShiftCalib(s.i1, s.i0, s.dark, 12, 6, false)
                 .run(walkOver(1, 0, 0, 12, 6), SpectrumPoints(), map, st));
    QVERIFY(!EdgeShiftCalib({}, s.i0, s.dark, 12, 6, false)
                 .run(walkOver(1, 0, 0, 12, 6), standard(), map, st)
            && !map.hasData());
    QCOMPARE(log.lines(), QStringList({"Calibration refused: no standard spectrum loaded",
                                       "Calibration refused: no I1 frames"}));
}

void TestCalibration::normalizeShift_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<double>("spike");
    QTest::addColumn<double>("mended");
    QTest::newRow("middle") << QPoint(2, 2) << 100.0 << 4.0; // its eight neighbours: 32 / 8
    QTest::newRow("corner") << QPoint(0, 0) << -60.0 << 4.0 / 3;
    QTest::newRow("within 40 eV") << QPoint(4, 0) << 30.0 << 30.0;
}

// "NES" on a 5 x 6 map of one-pixel bins holding x + y but a spike: replaced by its neighbours,
// the rest kept.
void TestCalibration::normalizeShift()
{
    QFETCH(QPoint, at);
    QFETCH(double, spike);
    QFETCH(double, mended);
    Reals bins;
    for (int i = 0; i < 30; ++i)
        bins << (i == at.y() * 5 + at.x() ? spike : i % 5 + i / 5);
    Analyzed2DRes map;
    fillMap(map, 5, 6, 0, bins);
    LogCapture log;
    normalizeEnergyShift(map);
    QVERIFY(map.value(at.x(), at.y()) == mended && map.value(4, 5) == 9.0 && map.isImageValid());
    QVERIFY(log.lines().first().startsWith("Start Normalize E Shift ")
            && log.lines().last().startsWith("End Normalize E Shift   "));
}

// A 3 x 1 map in a walk of 4 x 2: the header byte for byte; the angle offsets (-1 less the
// reference angle for 1 eV, which has no Bragg angle; 0 outside the map); the shifts back within
// the 6 digits of the angles.
void TestCalibration::empRoundTrip()
{
    Analyzed2DRes m;
    fillMap(m, 3, 1, 0, {1.5, -2.25, 7111.0});
    EMPSaveInfo info{7112.0, 3.1355316, AnalyzeCond(), QStringLiteral("fe.dat")};
    info.walk.setup(4, 2, 1, 2, 0, 0, 4, 2);
    QVERIFY(writeEmpFile(dir.filePath(QStringLiteral("rt")), m, info));
    const QByteArray text = readFile(dir.filePath(QStringLiteral("rt.emp")));
    QVERIFY(QString::fromLatin1(text).contains(
        QRegularExpression("^###Lumenograf::LMGF\nRecord Date             : \\d\\d/\\d\\d/\\d\\d "
                           "\\d\\d:\\d\\d:\\d\\d\\.\\d{3}\n")));
    QCOMPARE(text.mid(text.indexOf("Std Edge")),
             QByteArray("Std Edge Energy [eV]    : 7112\nSpacing [nm]            : 3.13553\n"
                        "Width [pix]             : 4\nHeight [pix]            : 2\n"
                        "Bin Half Width [pix]    : 1\nBin Half Height [pix]   : 2\n"
                        "Area X0                 : 0\nArea X1                 : 4\n"
                        "Area Y0                 : 0\nArea Y1                 : 2\n"
                        "Std File Name           : fe.dat\nMap Height              : 1\n"
                        "Map Width               : 0 3\n##-----------------\n"
                        "0.00349797 -0.00524407 -17.1404 0 \n0 0 0 0 \n"));
    QVERIFY(load(text));
    QVERIFY(target.imageWidth == 4 && target.imageHeight == 2 && map.walk().hy == 2);
    QVERIFY(qAbs(map.value(0, 0) - 1.5) < 1e-4 && qAbs(map.value(1, 0) + 2.25) < 1e-4
            && qAbs(map.value(3, 1)) < 1e-9);
}

void TestCalibration::empHostile_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("why");
    QTest::newRow("no magic") << QByteArray("#LMGF\n") << "Not a emp file.";
    QTest::newRow("no spacing") << empText(
        2, 1, "", "0 0") << "EMP header lacks the width, height, edge energy or spacing line";
    QTest::newRow("no separator") << QByteArray("###LMGF\nWidth [pix]             : 2\n")
                                  << "EMP header ends without its separator line";
    QTest::newRow("width 0") << empText(0, 1, spacing, "")
                             << "EMP header size out of range : 0 x 1";
    QTest::newRow("huge") << empText(2147483647, 100000, spacing, "")
                          << "EMP header size out of range : 2147483647 x 100000";
    QTest::newRow("above a frame")
        << empText(16384, 16385, spacing, "") << "EMP header size out of range : 16384 x 16385";
    QTest::newRow("negative half") << empText(2, 1, spacing + "Bin Half Height [pix]   : -1\n", "")
                                   << "EMP header bin half size negative : 0 -1";
    QTest::newRow("spacing 0") << empText(2, 1, "Spacing [nm]            : 0\n", "")
                               << "EMP header spacing not positive : 0";
    QTest::newRow("angle out of range")
        << empText(2, 1, "Spacing [nm]            : 0.5\n", "0 0")
        << "EMP file reference angle out of range : edge energy 7112 eV, spacing 0.5 :";
}

// Rejected with the reason in the log; map and image size stay as they were.
void TestCalibration::empHostile()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, why);
    LogCapture log;
    QVERIFY(!load(text) && !map.hasData() && target.imageWidth == -1);
    QVERIFY(log.lines().join('\n').contains(why));
}

// Angle offsets 0.01 and -0.02 degrees read at the header's edge (short magic) and at 8979 eV:
// E - hc / (2 d sin(theta(E) + a)). Five numbers for 3 x 3 pixels: "run out!" for each short row,
// then the count; the missing pixels and the angle "nan" have no shift.
void TestCalibration::empAngles()
{
    QVERIFY(load(empText(2, 1, spacing, "0.01\n-0.02"), 0.0, 2, 1));
    QVERIFY(near({map.value(0, 0), map.value(1, 0)}, {4.286449471183005, -8.58907922076014}, 1e-9));
    QVERIFY(load(empText(2, 1, spacing, "0.01 -0.02", "###Lumenograf::LMGF"), 8979.0));
    QVERIFY(
        near({map.value(0, 0), map.value(1, 0)}, {6.937003603366975, -13.907061167117718}, 1e-9));
    LogCapture log;
    QVERIFY(load(empText(3, 3, spacing, "0.01 0 nan\n0.01 0.01")));
    const QString name = dir.filePath("m.emp");
    QCOMPARE(log.lines().filter(QStringLiteral("run out!")),
             QStringList({"run out!", "run out!", "run out! 4 numbers missing in " + name}));
    QVERIFY(log.contains("EMP file: 1 angles without an energy read as shift 0 in " + name));
    QVERIFY(qAbs(map.value(1, 1) - 4.286449471183005) < 1e-9 && qAbs(map.value(2, 2)) < 1e-9
            && map.value(2, 0) == 0.0);
}

// The edge energy a map is saved at; no save without one or without a file; an image of another
// size refuses the map; a missing file is logged, a device is no map.
void TestCalibration::empRefusals()
{
    LogCapture log;
    QVERIFY(!load(empText(3, 2, spacing, "0 0 0 0 0 0"), 0.0, 4, 4) && !map.hasData());
    QVERIFY(log.contains(QStringLiteral("Loading Energy Map size : 3 x 2 : is not matched to the "
                                        "current image size : 4 x 4")));
    QVERIFY(!readEmpFile(dir.filePath("none.emp"), target, map, header)
            && log.contains("Can not open " + dir.filePath("none.emp")));
    QVERIFY(!readEmpFile(QStringLiteral("/dev/zero"), target, map, header)
            && log.contains(QStringLiteral("Not a regular file /dev/zero")));
    log.clear();
    SpectrumPoints standard;
    standard.append(7100.0, 0.0);
    standard.append(7120.0, 1.0);
    const EMPHeader loaded{true, 2, 2, 0, 0, 0, 2, 0, 2, 8979.0, 3.0};
    const SpectrumPoints none;
    QCOMPARE(QList<double>({empSaveEdgeEnergy(standard, 9000.0, loaded),
                            empSaveEdgeEnergy(none, 9000.0, loaded),
                            empSaveEdgeEnergy(none, 0.0, loaded),
                            empSaveEdgeEnergy(none, 0.0, EMPHeader())}),
             QList<double>({7110.0, 9000.0, 8979.0, 0.0}));
    EMPSaveInfo info{0.0, 3.1355316, AnalyzeCond(), QString()};
    info.walk.setup(2, 2, 0, 0, 0, 0, 2, 2);
    QVERIFY(!writeEmpFile(dir.filePath("z"), map, info) && !QFile::exists(dir.filePath("z.emp")));
    info.edgeEnergy = 7112.0;
    QVERIFY(!writeEmpFile(dir.filePath("no/dir/z.emp"), map, info));
    QVERIFY(log.lines().size() == 2 && log.lines()[0].startsWith("EMap not saved, no edge energy")
            && log.lines()[1].startsWith("Can not open " + dir.filePath("no/dir/z.emp")));
}

QTEST_GUILESS_MAIN(TestCalibration)
#include "test_calibration.moc"
