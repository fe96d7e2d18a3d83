#include "analysis/Analyzed2DRes.h"
#include "calibration/EdgeShiftCalib.h"

#include "FrameMaker.h"
#include "LogCapture.h"

#include <QtTest>

#include <cmath>

namespace {

// Shifts of the 4 x 2 blocks of 3 x 3 pixels, row by row: min -1.5, max
// 2.0, mean 0.25, population sigma sqrt(11 / 8 - 0.0625).
const double blockShift[8] = {-1.5, -0.5, 0.0, 0.5, 1.0, 1.5, 2.0, -1.0};

// mu of an edge at `edge`: 0.2 below, 1.2 above, a straight rise over 6 eV.
double ramp(double e, double edge)
{
    return 0.2 + std::min(1.0, std::max(0.0, (e - edge + 3.0) / 6.0));
}

// A 12 x 6 image of 41 energies from 7090 eV whose blocks have their edges
// at 7110 eV plus their shift; I0 50000 at energies 0.5 eV higher, dark 100.
struct Stacks
{
    QVector<TiffData *> i1, i0;
    TiffData *dark = constantFrame(12, 6, 0.0, 100);
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
    ~Stacks()
    {
        qDeleteAll(i1 + i0);
        delete dark;
    }
};

SpectrumPoints standard()
{
    SpectrumPoints s;
    for (int k = 0; k < 41; ++k)
        s.append(7090.0 + k, ramp(7090.0 + k, 7110.0));
    return s;
}

AnalyzeCond walkOver(int half, double x, double y, double w, double h, int width = 12)
{
    AnalyzeCond walk;
    walk.setup(width, 6, half, half, x, y, w, h);
    return walk;
}

// A 5 x 6 map of one-pixel bins holding x + y, with `spike` at (sx, sy).
void spiked(Analyzed2DRes &map, int sx, int sy, double spike)
{
    AnalyzeCond walk = walkOver(0, 0, 0, 5, 6, 5);
    map.prepare(walk);
    do {
        const bool at = walk.cx == sx && walk.cy == sy;
        map.setData(walk.cx, walk.cy, 0, 0, at ? spike : walk.cx + walk.cy);
    } while (walk.advance());
}

} // namespace

class TestCalibration : public QObject
{
    Q_OBJECT
private slots:
    void blockShifts_data();
    void blockShifts();
    void ownStackGivesZeros();
    void rowsMatchSpectra_data();
    void rowsMatchSpectra();
    void singleBins();
    void refused();
    void normalizeShift_data();
    void normalizeShift();
    void deglitchMap();
};

void TestCalibration::blockShifts_data()
{
    QTest::addColumn<bool>("fluo");
    QTest::addColumn<int>("half");
    QTest::newRow("transmission, 3 x 3 bins") << false << 1;
    QTest::newRow("transmission, pixels") << false << 0;
    QTest::newRow("fluorescence, 3 x 3 bins") << true << 1;
}

// Every pixel takes its block's shift; the statistics are the blocks' (each
// block has as many bins as the others).
void TestCalibration::blockShifts()
{
    QFETCH(bool, fluo);
    QFETCH(int, half);
    Stacks s(fluo);
    Analyzed2DRes map;
    EdgeShiftStats st;
    QVERIFY(EdgeShiftCalib(s.i1, s.i0, s.dark, 12, 6, fluo)
                .run(walkOver(half, 0, 0, 12, 6), standard(), map, st));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 12; ++x)
            QVERIFY(qAbs(map.value(x, y) - blockShift[y / 3 * 4 + x / 3]) < 0.15);
    QCOMPARE(st.bins, half ? 8 : 72);
    QVERIFY(qAbs(st.min + 1.5) < 0.01 && qAbs(st.max - 2.0) < 0.01);
    QVERIFY(qAbs(st.mean - 0.25) < 0.01 && qAbs(st.sigma - std::sqrt(1.3125)) < 0.01);
}

// Every pixel holds the standard's own spectrum: a map of exact zeros.
void TestCalibration::ownStackGivesZeros()
{
    const int mu[9] = {900, 870, 950, 600, 300, 310, 120, 400, 90};
    QVector<TiffData *> i1;
    for (int k = 0; k < 9; ++k)
        i1.append(constantFrame(12, 6, 7100.0 + 3 * k, mu[k]));
    QVector<TiffData *> i0{constantFrame(12, 6, 7090.0, 1000), constantFrame(12, 6, 7130.0, 1100)};
    EdgeShiftCalib calib(i1, i0, nullptr, 12, 6, false);
    Analyzed2DRes map;
    EdgeShiftStats st;
    QVERIFY(calib.run(walkOver(0, 0, 0, 12, 6), calib.source().absorption(3, 2, 0, 0), map, st));
    QVERIFY(st.bins == 72 && map.dataMin() == 0.0 && map.dataMax() == 0.0 && st.sigma == 0.0);
    qDeleteAll(i1 + i0);
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

// Noise with shifted frames, a dark frame brighter than some samples and
// four I0 frames: each bin of a row, inside the image or not, has the
// half-height energy of its spectrum to the last bit.
void TestCalibration::rowsMatchSpectra()
{
    QFETCH(bool, fluo);
    QFETCH(int, hx);
    QFETCH(int, hy);
    quint32 seed = 12345;
    auto noise = [&seed](int, int) { return int((seed = seed * 1103515245u + 12345u) >> 20); };
    QVector<TiffData *> i1, i0;
    for (int k = 0; k < 30; ++k) {
        i1.append(makeFrame(17, 9, 7000.0 + 2 * k, noise));
        i1.last()->shiftX = k % 3 - 1;
        i1.last()->shiftY = k % 5 - 2;
    }
    for (int k = 0; k < 4; ++k)
        i0.append(makeFrame(17, 9, 7005.0 + 15 * k, noise));
    TiffData *dark = makeFrame(17, 9, 0.0, [&](int x, int y) { return noise(x, y) / 2; });
    EdgeShiftCalib calib(i1, i0, dark, 17, 9, fluo);
    QVector<int> cxs;
    for (int x = -1; x <= 18; ++x)
        cxs.append(x);
    QVector<double> edges;
    for (int y = -1; y <= 9; ++y) {
        QVERIFY(calib.rowEdges(cxs, y, hx, hy, edges));
        for (int j = 0; j < cxs.size(); ++j)
            QVERIFY(edges[j] == calib.edgeAt(cxs[j], y, hx, hy));
    }
    qDeleteAll(i1 + i0);
    delete dark;
}

// An area of one bin, and one of four bins of which only (10, 4) is centred
// in the image: min = max = mean = the bin's shift, sigma 0.
void TestCalibration::singleBins()
{
    Stacks s(false);
    EdgeShiftCalib calib(s.i1, s.i0, s.dark, 12, 6, false);
    const AnalyzeCond walks[2] = {walkOver(1, 3, 0, 3, 3), walkOver(1, 9, 3, 6, 6)};
    const double shifts[2] = {-0.5, -1.0};
    for (int i = 0; i < 2; ++i) {
        Analyzed2DRes map;
        EdgeShiftStats st;
        QVERIFY(calib.run(walks[i], standard(), map, st));
        QVERIFY(st.bins == 1 && qAbs(st.mean - shifts[i]) < 0.01 && map.dataMax() == st.mean);
        QVERIFY(st.min == st.mean && st.max == st.mean && st.sigma == 0.0);
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
                 .run(walkOver(1, 0, 0, 12, 6), standard(), map, st));
    QCOMPARE(log.lines(), QStringList({"Calibration refused: no standard spectrum loaded",
                                       "Calibration refused: no I1 frames"}));
    QVERIFY(!map.hasData());
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

// "NES" replaces a spike by its neighbours and keeps the rest.
void TestCalibration::normalizeShift()
{
    QFETCH(QPoint, at);
    QFETCH(double, spike);
    QFETCH(double, mended);
    Analyzed2DRes map;
    spiked(map, at.x(), at.y(), spike);
    LogCapture log;
    normalizeEnergyShift(map);
    QVERIFY(map.value(at.x(), at.y()) == mended && map.value(4, 5) == 9.0 && map.isImageValid());
    QVERIFY(log.lines().first().startsWith("Start Normalize E Shift "));
    QVERIFY(log.lines().last().startsWith("End Normalize E Shift   "));
}

// "de Glitch" shows the processed values, the spike replaced by the mean of
// its four neighbours (3 + 5 + 3 + 5) / 4.
void TestCalibration::deglitchMap()
{
    Analyzed2DRes map;
    spiked(map, 2, 2, 100.0);
    deglitchResultMap(map, 2.0, 0.1);
    QVERIFY(map.showsProcessed() && map.deglitchFactor() == 2.0);
    QCOMPARE(map.processedValue(2, 2), 4.0);
}

QTEST_GUILESS_MAIN(TestCalibration)
#include "test_calibration.moc"
