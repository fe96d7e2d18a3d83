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

// 6 x 5 frames. I1 frame k holds 200 + 3x + 7y + 11k, I0 frame k 5000 + xy +
// 13k, the dark frame 20 + x.
static const int W = 6, H = 5;
static const double i1E[] = {50, 150, 250, 350};
static const double i0E[] = {100, 200, 300, 300};
static int i1Sample(int k, int x, int y) { return 200 + 3 * x + 7 * y + 11 * k; }
static int i0Sample(int k, int x, int y) { return 5000 + x * y + 13 * k; }

// The window sum from the samples: the block around (x, y), read through the
// shift (sx, sy), positions outside the frame counting 0.
static double sumOf(const std::function<int(int, int)> &v, int x, int y, int hw, int hh,
                    int sx = 0, int sy = 0)
{
    const qint64 aw = std::abs(qint64(hw)), ah = std::abs(qint64(hh));
    const qint64 r1 = std::min<qint64>(y + ah - sy, H - 1);
    const qint64 c1 = std::min<qint64>(x + aw - sx, W - 1);
    double s = 0;
    for (qint64 r = std::max<qint64>(y - ah - sy, 0); r <= r1; ++r)
        for (qint64 c = std::max<qint64>(x - aw - sx, 0); c <= c1; ++c)
            s += v(int(c), int(r));
    return s;
}

void TestSpectrumSource::windowsOfTheStacks_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<int>("hw");
    QTest::addColumn<int>("hh");
    QTest::addColumn<bool>("fluo");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<int>("shift");  // of I1 frame 1, in x and -y
    QTest::newRow("pixel") << 2 << 1 << 0 << 0 << false << false << 0;
    QTest::newRow("corner, dark") << 0 << 0 << 2 << 1 << false << true << 0;
    QTest::newRow("negative halves, fluorescence") << 5 << 4 << -1 << -2 << true << true << 0;
    QTest::newRow("shifted frame") << 3 << 2 << 1 << 1 << false << true << 2;
    QTest::newRow("huge halves") << 3 << 2 << INT_MAX << INT_MIN << false << true << 1;
}

// Every I1 frame gives (energy, ln(b / a)) or (energy, a / b): a its window
// sum, b the I0 on the line through the two bracketing I0 frames (the two
// outermost beyond the ends, their mean at equal energies), both less the dark.
void TestSpectrumSource::windowsOfTheStacks()
{
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(int, hw);
    QFETCH(int, hh);
    QFETCH(bool, fluo);
    QFETCH(bool, dark);
    QFETCH(int, shift);
    ImageStacks s;
    for (int k = 0; k < 4; ++k) {
        s.appendI1(makeFrame(W, H, i1E[k], [k](int c, int r) { return i1Sample(k, c, r); }));
        s.appendI0(makeFrame(W, H, i0E[k], [k](int c, int r) { return i0Sample(k, c, r); }));
    }
    s.i1()[1]->shiftX = shift;
    s.i1()[1]->shiftY = -shift;
    QTemporaryDir dir;
    const QString darkFile = dir.filePath(QStringLiteral("dark.tif"));
    QVector<quint16> darkSamples;
    for (int r = 0; r < H; ++r)
        for (int c = 0; c < W; ++c)
            darkSamples.append(quint16(20 + c));
    QVERIFY(writeTiff16(darkFile, W, H, darkSamples.constData()));
    if (dark)
        QVERIFY(s.loadDark(darkFile));
    s.setFluorescence(fluo);

    const double d = dark ? sumOf([](int c, int) { return 20 + c; }, x, y, hw, hh) : 0.0;
    auto i0 = [&](int k) {
        return sumOf([k](int c, int r) { return i0Sample(k, c, r); }, x, y, hw, hh);
    };
    const double b[] = {i0(0) + (i0(1) - i0(0)) / 100 * (50 - 100) - d,
                        i0(0) + (i0(1) - i0(0)) / 100 * (150 - 100) - d,
                        i0(1) + (i0(2) - i0(1)) / 100 * (250 - 200) - d, (i0(2) + i0(3)) / 2 - d};
    const SpectrumSource::Spectrum at = s.source().spectrum(x, y, hw, hh, 2.5, true);
    QCOMPARE(at.spectrum.raw().size(), 4);
    QCOMPARE(at.rawI1.size(), 4);
    QCOMPARE(at.spectrum.energyShift(), 2.5);
    QVERIFY(at.spectrum.isVictoreen());
    for (int k = 0; k < 4; ++k) {
        const int sx = k == 1 ? shift : 0;
        auto v = [k](int c, int r) { return i1Sample(k, c, r); };
        const double i1 = sumOf(v, x, y, hw, hh, sx, -sx);
        const double a = i1 - d;
        QCOMPARE(at.spectrum.raw().x(k), i1E[k]);
        QCOMPARE(at.spectrum.raw().y(k), fluo ? a / b[k] : std::log(b[k] / a));
        QCOMPARE(at.rawI1.x(k), i1E[k]);
        QCOMPARE(at.rawI1.y(k), i1);
    }
    QCOMPARE(s.source().rawI1(x, y, hw, hh).points(), at.rawI1.points());
    // Outside the data nothing, whatever the window.
    QVERIFY(s.source().points(W, 0, hw, hh).absorption.isEmpty());
    QVERIFY(s.source().points(0, -1, hw, hh).rawI1.isEmpty());
}

// Half sizes of any int: the profiles sum the whole frame across or along,
// without overflow and without a loop or allocation the size of the window.
void TestSpectrumSource::profilesOfHugeHalfSizes()
{
    ImageStacks s;
    s.appendI1(makeFrame(W, H, 150, [](int c, int r) { return i1Sample(0, c, r); }));
    s.appendI0(makeFrame(W, H, 100, [](int c, int r) { return i0Sample(0, c, r); }));
    auto i0 = [](int c, int r) { return i0Sample(0, c, r); };
    auto i1 = [](int c, int r) { return i1Sample(0, c, r); };
    const SpectrumPoints row = s.rowProfile(ImageStacks::I0, 0, 2, INT_MIN, 1);
    const SpectrumPoints col = s.columnProfile(ImageStacks::I1, 0, 4, 0, INT_MAX);
    QCOMPARE(row.size(), W);
    QCOMPARE(col.size(), H);
    for (int c = 0; c < W; ++c)
        QCOMPARE(row.y(c), sumOf(i0, 0, 2, W, 1));
    for (int r = 0; r < H; ++r)
        QCOMPARE(col.y(r), std::log(sumOf(i0, 4, 0, 0, H) / sumOf(i1, 4, 0, 0, H)));
    QCOMPARE(ImageStacks::boundedHalfSize(INT_MIN, 640), 640);
    QCOMPARE(ImageStacks::boundedHalfSize(-7, 640), 7);
    QCOMPARE(ImageStacks::boundedHalfSize(INT_MIN), INT_MAX);
}

QTEST_GUILESS_MAIN(TestSpectrumSource)
#include "test_spectrumsource.moc"
