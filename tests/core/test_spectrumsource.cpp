#include "core/ImageStacks.h"
#include "core/SpectrumSource.h"
#include "input/TiffData.h"

#include "FrameMaker.h"

#include <QtTest>

#include <climits>
#include <cmath>

class TestSpectrumSource : public QObject
{
    Q_OBJECT
private slots:
    void windowsOfTheStacks_data();
    void windowsOfTheStacks();
    void profilesOfHugeHalfSizes();
};

// 6 x 5 frames: I1 frame k holds 200 + 3x + 7y + 11k, I0 frame k 5000 + xy + 13k,
// the dark frame 20 + x.
static const int W = 6, H = 5;
static const double i1E[] = {50, 150, 250, 350};
static const double i0E[] = {100, 200, 300, 300};
using Samples = std::function<int(int, int)>;
static Samples i1(int k) { return [k](int x, int y) { return 200 + 3 * x + 7 * y + 11 * k; }; }
static Samples i0(int k) { return [k](int x, int y) { return 5000 + x * y + 13 * k; }; }

// The window sum from the samples: the block around (x, y) read through the
// shift s (x + s, y - s), positions outside the frame counting 0.
static double sumOf(const Samples &v, int x, int y, int hw, int hh, int s = 0)
{
    const qint64 aw = std::abs(qint64(hw)), ah = std::abs(qint64(hh));
    const qint64 r1 = std::min<qint64>(y + ah + s, H - 1), c1 = std::min<qint64>(x + aw - s, W - 1);
    double sum = 0;
    for (qint64 r = std::max<qint64>(y - ah + s, 0); r <= r1; ++r)
        for (qint64 c = std::max<qint64>(x - aw - s, 0); c <= c1; ++c)
            sum += v(int(c), int(r));
    return sum;
}

void TestSpectrumSource::windowsOfTheStacks_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QPoint>("half");
    QTest::addColumn<bool>("fluo");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<int>("shift");  // of I1 frame 1
    QTest::newRow("pixel") << QPoint(2, 1) << QPoint(0, 0) << false << false << 0;
    QTest::newRow("corner, dark") << QPoint(0, 0) << QPoint(2, 1) << false << true << 0;
    QTest::newRow("negative, fluo") << QPoint(5, 4) << QPoint(-1, -2) << true << true << 0;
    QTest::newRow("shifted frame") << QPoint(3, 2) << QPoint(1, 1) << false << true << 2;
    QTest::newRow("huge") << QPoint(3, 2) << QPoint(INT_MAX, INT_MIN) << false << true << 1;
}

// Every I1 frame gives (energy, ln(b / a)) or (energy, a / b): a its window
// sum, b the I0 on the line through the two bracketing I0 frames (the two
// outermost beyond the ends, their mean at equal energies), both less the dark.
void TestSpectrumSource::windowsOfTheStacks()
{
    QFETCH(QPoint, at);
    QFETCH(QPoint, half);
    QFETCH(bool, fluo);
    QFETCH(bool, dark);
    QFETCH(int, shift);
    const int x = at.x(), y = at.y(), hw = half.x(), hh = half.y();
    ImageStacks s;
    for (int k = 0; k < 4; ++k) {
        s.appendI1(makeFrame(W, H, i1E[k], i1(k)));
        s.appendI0(makeFrame(W, H, i0E[k], i0(k)));
    }
    s.i1()[1]->shiftX = shift;
    s.i1()[1]->shiftY = -shift;
    QTemporaryDir dir;
    QVector<quint16> darkSamples;
    for (int i = 0; i < W * H; ++i)
        darkSamples.append(quint16(20 + i % W));
    QVERIFY(writeTiff16(dir.filePath("d.tif"), W, H, darkSamples.constData()));
    QVERIFY(!dark || s.loadDark(dir.filePath("d.tif")));
    s.setFluorescence(fluo);

    const double d = dark ? sumOf([](int c, int) { return 20 + c; }, x, y, hw, hh) : 0.0;
    double S[4];
    for (int k = 0; k < 4; ++k)
        S[k] = sumOf(i0(k), x, y, hw, hh);
    const double b[] = {S[0] + (S[1] - S[0]) / 100 * (50 - 100) - d,
                        S[0] + (S[1] - S[0]) / 100 * (150 - 100) - d,
                        S[1] + (S[2] - S[1]) / 100 * (250 - 200) - d, (S[2] + S[3]) / 2 - d};
    const SpectrumSource::Spectrum got = s.source().spectrum(x, y, hw, hh, 2.5, true);
    QCOMPARE(got.spectrum.raw().size(), 4);
    QCOMPARE(got.rawI1.size(), 4);
    QCOMPARE(got.spectrum.energyShift(), 2.5);
    QVERIFY(got.spectrum.isVictoreen());
    for (int k = 0; k < 4; ++k) {
        const double a = sumOf(i1(k), x, y, hw, hh, k == 1 ? shift : 0);
        QCOMPARE(got.spectrum.raw().x(k), i1E[k]);
        QCOMPARE(got.spectrum.raw().y(k), fluo ? (a - d) / b[k] : std::log(b[k] / (a - d)));
        QCOMPARE(got.rawI1.x(k), i1E[k]);
        QCOMPARE(got.rawI1.y(k), a);
    }
    QCOMPARE(s.source().rawI1(x, y, hw, hh).points(), got.rawI1.points());
    QVERIFY(s.source().points(W, 0, hw, hh).absorption.isEmpty());
    QVERIFY(s.source().points(0, -1, hw, hh).rawI1.isEmpty());
}

// Profiles of any half size sum the whole frame along or across, with no loop
// or allocation the size of the window.
void TestSpectrumSource::profilesOfHugeHalfSizes()
{
    ImageStacks s;
    s.appendI1(makeFrame(W, H, 150, i1(0)));
    s.appendI0(makeFrame(W, H, 100, i0(0)));
    const SpectrumPoints row = s.rowProfile(ImageStacks::I0, 0, 2, INT_MIN, 1);
    const SpectrumPoints col = s.columnProfile(ImageStacks::I1, 0, 4, 0, INT_MAX);
    QCOMPARE(row.size(), W);
    QCOMPARE(col.size(), H);
    for (int c = 0; c < W; ++c)
        QCOMPARE(row.y(c), sumOf(i0(0), 0, 2, W, 1));
    for (int r = 0; r < H; ++r)
        QCOMPARE(col.y(r), std::log(sumOf(i0(0), 4, 0, 0, H) / sumOf(i1(0), 4, 0, 0, H)));
    QCOMPARE(ImageStacks::boundedHalfSize(INT_MIN, 640), 640);
    QCOMPARE(ImageStacks::boundedHalfSize(INT_MIN), INT_MAX);
}

QTEST_GUILESS_MAIN(TestSpectrumSource)
#include "test_spectrumsource.moc"
