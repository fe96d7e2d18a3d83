#include "core/ImageStacks.h"
#include "core/RealText.h"
#include "core/ExportWriters.h"
#include "core/SpectrumSource.h"
#include "input/TiffData.h"

#include "FrameMaker.h"
#include "LogCapture.h"
#include "TestFiles.h"

#include <QTemporaryDir>
#include <QtTest>

#include <climits>
#include <cmath>
#include <cstring>

class TestImageStacks : public QObject
{
    Q_OBJECT
private slots:
    void i0AtEnergy();
    void absorptionRule();
    void rawI1AndProfiles();
    void storingAndClearing();
    void textsOfNumbers();
    void windowsOfTheStacks_data();
    void windowsOfTheStacks();
    void profilesOfHugeHalfSizes();
    void rowsOfWindows_data();
    void rowsOfWindows();
    void fileNames();
    void numbersAsTheTextStream();
    void spectraOfEveryBin_data();
    void spectraOfEveryBin();
    void headerAndProgress_data();
    void headerAndProgress();
    void flatAndDark();
};

static void addI0Ramp(ImageStacks &s)
{
    for (int k = 1; k <= 3; ++k)
        s.appendI0(constantFrame(4, 3, 100 * k, k == 1 ? 100 : 100 * k + 100));
}

// The I0 window sum at an energy: 1.0 without frames, one frame at every energy, else the line.
void TestImageStacks::i0AtEnergy()
{
    const QVector<QVector<QPair<int, int>>> stacks = {{},
                                                      {{100, 80}},
                                                      {{100, 100}, {200, 300}, {300, 400}},
                                                      {{100, 100}, {200, 300}, {200, 500}},
                                                      {{200, 300}, {200, 500}}};
    // Stack, energy, x, y, half width, half height, sum.
    const double rows[][7] = {{0, 8000, 0, 0, 10, 10, 1},  {1, 50, 1, 1, 1, 1, 720},
                              {1, 5000, 1, 1, 1, 1, 720},  {1, 100, 0, 0, 1, 1, 320},
                              {1, 100, 0, 0, -1, -1, 320}, {2, 50, 0, 0, 0, 0, 0},
                              {2, 90, 0, 0, 0, 0, 80},     {2, 150, 0, 0, 0, 0, 200},
                              {2, 200, 0, 0, 0, 0, 300},   {2, 250, 0, 0, 0, 0, 350},
                              {2, 300, 0, 0, 0, 0, 400},   {2, 350, 0, 0, 0, 0, 450},
                              {2, 250, 0, 0, 1, 0, 700},   {3, 250, 0, 0, 0, 0, 400},
                              {3, 150, 0, 0, 0, 0, 200},   {4, 100, 0, 0, 0, 0, 400},
                              {4, 300, 0, 0, 0, 0, 400}};
    for (const auto &r : rows) {
        ImageStacks s;
        for (const auto &f : stacks[int(r[0])])
            s.appendI0(constantFrame(4, 3, f.first, f.second));
        QCOMPARE(s.i0At(r[1], int(r[2]), int(r[3]), int(r[4]), int(r[5])), r[6]);
    }
}

// Writes a w x h dark frame of samples v(x, y) and loads it.
static bool loadDark(ImageStacks &s, const QTemporaryDir &dir, int w, int h,
                     const std::function<int(int, int)> &v)
{
    QVector<quint16> px;
    for (int i = 0; i < w * h; ++i)
        px << quint16(v(i % w, i / w));
    return writeTiff16(dir.filePath("dark.tif"), w, h, px.constData())
           && s.loadDark(dir.filePath("dark.tif"));
}
static bool loadDark(ImageStacks &s, const QTemporaryDir &dir, int v)
{
    return loadDark(s, dir, 4, 3, [v](int, int) { return v; });
}

// The edges of the absorption rule ln(b / a), both window sums less the dark.
void TestImageStacks::absorptionRule()
{
    ImageStacks s;
    addI0Ramp(s);
    s.appendI1(constantFrame(4, 3, 150, 50));
    s.appendI1(constantFrame(4, 3, 250, 100));
    s.appendI1(constantFrame(4, 3, 350, 90));
    QCOMPARE(s.absorption(2, 1, 0, 0).points(),
             QVector<QPointF>({{150, std::log(4.0)}, {250, std::log(3.5)}, {350, std::log(5.0)}}));
    for (QPoint out : {QPoint(-1, 0), QPoint(0, -1), QPoint(4, 0), QPoint(0, 3)})
        QVERIFY(s.absorption(out.x(), out.y(), 0, 0).isEmpty());
    QCOMPARE(s.absorption(3, 2, 0, 0).size(), 3);
    // An I1 frame of zeros: a * b is 0, the point is 1.0.
    s.appendI1(constantFrame(4, 3, 200, 0));
    QCOMPARE(s.absorption(0, 0, 0, 0).y(3), 1.0);

    // A dark brighter than I1 gives 1.0; the fluorescence ratio keeps its sign; raw has no dark.
    QTemporaryDir dir;
    QVERIFY(loadDark(s, dir, 20));
    QCOMPARE(s.absorption(1, 1, 0, 0).y(0), std::log(180.0 / 30.0));
    QVERIFY(loadDark(s, dir, 60));
    QCOMPARE(s.absorption(1, 1, 0, 0).y(0), 1.0);
    QCOMPARE(s.rawI1(1, 1, 0, 0).y(0), 50.0);
    s.setFluorescence(true);
    QCOMPARE(s.absorption(1, 1, 0, 0).y(0), -10.0 / 140.0);
    s.setFluorescence(false);
    s.clearDark();
    QCOMPARE(s.absorption(1, 1, 0, 0).y(0), std::log(4.0));
    // A file that does not read drops the previous dark and leaves none.
    QVERIFY(loadDark(s, dir, 6));
    QCOMPARE(ImageStacks::sampleAt(s.dark(), 3, 2), 6.0);
    QVERIFY(!s.loadDark(dir.filePath(QStringLiteral("missing.tif"))) && !s.hasDark());

    // Fluorescence without incident intensity (I0 at 50 eV is 0): 1.0, not an infinity.
    ImageStacks f;
    addI0Ramp(f);
    f.setFluorescence(true);
    f.appendI1(constantFrame(4, 3, 50, 30));
    QCOMPARE(f.absorption(0, 0, 0, 0).y(0), 1.0);
}

void TestImageStacks::rawI1AndProfiles()
{
    ImageStacks s;
    addI0Ramp(s);
    s.appendI1(makeFrame(4, 3, 150, [](int, int y) { return 10 * (y + 1); }));
    s.appendI1(constantFrame(4, 3, 250, 7));
    QCOMPARE(s.rawI1(0, 0, 1, 0).points(), QVector<QPointF>({{150, 20}, {250, 14}}));
    SpectrumPoints col = s.columnProfile(ImageStacks::I1, 0, 0, 0, 0);
    QCOMPARE(col.points(), QVector<QPointF>({{0, std::log(200.0 / 10.0)},
                                             {1, std::log(200.0 / 20.0)},
                                             {2, std::log(200.0 / 30.0)}}));
    // Half-height 1: row 0 sums rows 0..1 (30 against 400), row 1 all three (60 against 600).
    col = s.columnProfile(ImageStacks::I1, 0, 3, 0, 1);
    QCOMPARE(col.y(0), std::log(400.0 / 30.0));
    QCOMPARE(col.y(1), std::log(600.0 / 60.0));
    // Row 1 of I0 frame 1 (300 everywhere), half-width 1: sums of 2, 3, 3 and 2 samples.
    QCOMPARE(s.rowProfile(ImageStacks::I0, 1, 1, 1, 0).points(),
             QVector<QPointF>({{0, 600}, {1, 900}, {2, 900}, {3, 600}}));
    QCOMPARE(s.rowProfile(ImageStacks::I1, 1, 2, 0, 0).y(1), std::log(350.0 / 7.0));

    // A window across and along the line, on a frame of x + 10 y.
    s.appendI0(makeFrame(4, 3, 400, [](int x, int y) { return x + 10 * y; }));
    SpectrumPoints row = s.rowProfile(ImageStacks::I0, 3, 1, 1, 1);
    QCOMPARE(QVector<double>({row.y(0), row.y(1), row.y(3)}), QVector<double>({63, 99, 75}));
    col = s.columnProfile(ImageStacks::I0, 3, 0, 1, 1);
    QCOMPARE(QVector<double>({col.y(0), col.y(2)}), QVector<double>({22, 2 * 1 + 2 * 10 * 3}));
    // Through the frame's shift: image column c is frame column c - 1.
    s.frame(ImageStacks::I0, 3)->shiftX = 1;
    row = s.rowProfile(ImageStacks::I0, 3, 1, 1, 1);
    QCOMPARE(QVector<double>({row.y(0), row.y(3)}),
             QVector<double>({30, 3 * (1 + 2 + 3) + 3 * 30}));

    QVERIFY(s.columnProfile(ImageStacks::I1, 2, 0, 0, 0).isEmpty()
            && s.columnProfile(ImageStacks::I0, -1, 0, 0, 0).isEmpty()
            && s.columnProfile(ImageStacks::I1, 0, 4, 0, 0).isEmpty()
            && s.rowProfile(ImageStacks::I1, 0, 3, 0, 0).isEmpty()
            && s.rowProfile(ImageStacks::I1, 0, -1, 0, 0).isEmpty());
    s.appendI1(constantFrame(4, 3, 250, 0));
    QCOMPARE(s.columnProfile(ImageStacks::I1, 2, 0, 0, 0).y(0), 1.0);

    // The sample under the mouse, read through the frame's shift.
    TiffData *f = s.frame(ImageStacks::I1, 0);
    f->shiftY = 1;
    QCOMPARE(QVector<double>({ImageStacks::sampleAt(f, 1, 2), ImageStacks::sampleAt(f, 1, 0),
                              ImageStacks::sampleAt(f, 4, 1),
                              ImageStacks::sampleAt(nullptr, 0, 0)}),
             QVector<double>({20, 0, 0, 0}));
}

// Null frames are not stored; a stack's first frame sets the size, also after clearing.
void TestImageStacks::storingAndClearing()
{
    ImageStacks s;
    s.appendI1(nullptr);
    s.appendI0(nullptr);
    QVERIFY(s.i1().isEmpty() && s.i0().isEmpty() && s.absorption(0, 0, 0, 0).isEmpty()
            && s.rawI1(0, 0, 0, 0).isEmpty());
    QVERIFY(s.columnProfile(ImageStacks::I1, 0, 0, 1, 1).isEmpty()
            && s.rowProfile(ImageStacks::I0, 0, 0, 1, 1).isEmpty());
    s.appendI1(constantFrame(5, 2, 100, 1));
    s.appendI1(constantFrame(7, 9, 200, 1));
    s.appendI0(constantFrame(5, 2, 100, 1));
    QCOMPARE(QSize(s.dataWidth(), s.dataHeight()), QSize(5, 2));
    QVERIFY(s.frame(ImageStacks::I1, 1)->width() == 7 && !s.frame(ImageStacks::I1, 2));
    s.clearI1();
    QVERIFY(s.i1().isEmpty() && s.i0().size() == 1);
    s.appendI1(constantFrame(3, 4, 100, 1));
    QCOMPARE(QSize(s.dataWidth(), s.dataHeight()), QSize(3, 4));
    s.clearI0();
    QVERIFY(s.i0().isEmpty());
    // I1 frames but no I0 frame: I0 is 1.0, so the absorption is ln(1 / a).
    s.appendI1(constantFrame(3, 4, 150, 50));
    QCOMPARE(s.absorption(1, 1, 0, 0).y(1), std::log(1.0 / 50.0));
}

// Skip below 1 counts as 1, negative or unreadable cuts as 0; base 10, no fractions.
void TestImageStacks::textsOfNumbers()
{
    const char *const rows[][2] = {{"3|1|2", "3 1 2"},
                                   {"0|-2|-1", "1 0 0"},
                                   {"-5||x", "1 0 0"},
                                   {"010|007|2.5", "10 7 0"}};
    for (const auto &row : rows) {
        const QStringList in = QString(row[0]).split('|');
        const ImageStacks::LoadRequest r = ImageStacks::loadRequest(in[0], in[1], in[2]);
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(r.skip).arg(r.cutFirst).arg(r.cutLast), row[1]);
    }
    // Thousands separated, the pixel value with two decimals, the dark with 6 digits.
    QStringList got;
    for (const QString &t :
         QString("1234567.89 -123456.70 123 1234 -1234 -100 999999.5 0.00").split(' '))
        got << withThousandsSeparators(t);
    QCOMPARE(got.join(' '),
             QString("1,234,567.89 -123,456.70 123 1,234 -1,234 -100 999,999.5 0.00"));
    QCOMPARE(withThousandsSeparators(QString()), QString());
    QCOMPARE(QStringList({pixelValueText(1234567.891), pixelValueText(-123456.7),
                          pixelValueText(-123.5), darkValueText(1234.5), darkValueText(-1234567)}),
             QStringList({"1,234,567.89", "-123,456.70", "-123.50", "1,234.5", "-1.23457e+06"}));
}

// The spectrum source of the stacks over 6 x 5 frames: I1 frame k holds
// 200 + 3x + 7y + 11k, I0 frame k 5000 + xy + 13k, the dark frame 20 + x.
static const int W = 6, H = 5;
static const double i1E[] = {50, 150, 250, 350};
static const double i0E[] = {100, 200, 300, 300};
using Samples = std::function<int(int, int)>;
static Samples i1(int k)
{
    return [k](int x, int y) { return 200 + 3 * x + 7 * y + 11 * k; };
}
static Samples i0(int k)
{
    return [k](int x, int y) { return 5000 + x * y + 13 * k; };
}

// The window sum around (x, y) read through the shift s (x + s, y - s), outside counting 0.
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

void TestImageStacks::windowsOfTheStacks_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QPoint>("half");
    QTest::addColumn<bool>("fluo");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<int>("shift"); // of I1 frame 1
    QTest::newRow("pixel") << QPoint(2, 1) << QPoint(0, 0) << false << false << 0;
    QTest::newRow("corner, dark") << QPoint(0, 0) << QPoint(2, 1) << false << true << 0;
    QTest::newRow("negative, fluo") << QPoint(5, 4) << QPoint(-1, -2) << true << true << 0;
    QTest::newRow("shifted frame") << QPoint(3, 2) << QPoint(1, 1) << false << true << 2;
    QTest::newRow("huge") << QPoint(3, 2) << QPoint(INT_MAX, INT_MIN) << false << true << 1;
}

// Every I1 frame gives ln(b / a) or a / b against I0 on the line through its neighbours.
void TestImageStacks::windowsOfTheStacks()
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
    QVERIFY(!dark || loadDark(s, dir, W, H, [](int c, int) { return 20 + c; }));
    s.setFluorescence(fluo);

    const double d = dark ? sumOf([](int c, int) { return 20 + c; }, x, y, hw, hh) : 0.0;
    double S[4];
    for (int k = 0; k < 4; ++k)
        S[k] = sumOf(i0(k), x, y, hw, hh);
    const double b[] = {S[0] + (S[1] - S[0]) / 100 * (50 - 100) - d,
                        S[0] + (S[1] - S[0]) / 100 * (150 - 100) - d,
                        S[1] + (S[2] - S[1]) / 100 * (250 - 200) - d, (S[2] + S[3]) / 2 - d};
    const SpectrumSource::Spectrum got = s.source().spectrum(x, y, hw, hh, 2.5, true);
    QVERIFY(got.spectrum.energyShift() == 2.5 && got.spectrum.isVictoreen());
    QVector<QPointF> mu, raw;
    for (int k = 0; k < 4; ++k) {
        const double a = sumOf(i1(k), x, y, hw, hh, k == 1 ? shift : 0);
        mu.append({i1E[k], fluo ? (a - d) / b[k] : std::log(b[k] / (a - d))});
        raw.append({i1E[k], a});
    }
    QCOMPARE(got.spectrum.raw().points(), mu);
    QCOMPARE(got.rawI1.points(), raw);
    QCOMPARE(s.source().rawI1(x, y, hw, hh).points(), raw);
}

// Profiles of any half size sum the whole frame, with no loop or allocation that size.
void TestImageStacks::profilesOfHugeHalfSizes()
{
    ImageStacks s;
    s.appendI1(makeFrame(W, H, 150, i1(0)));
    s.appendI0(makeFrame(W, H, 100, i0(0)));
    const SpectrumPoints row = s.rowProfile(ImageStacks::I0, 0, 2, INT_MIN, 1);
    const SpectrumPoints col = s.columnProfile(ImageStacks::I1, 0, 4, 0, INT_MAX);
    QVector<QPointF> wantRow, wantCol;
    for (int c = 0; c < W; ++c)
        wantRow.append({double(c), sumOf(i0(0), 0, 2, W, 1)});
    for (int r = 0; r < H; ++r)
        wantCol.append({double(r), std::log(sumOf(i0(0), 4, 0, 0, H) / sumOf(i1(0), 4, 0, 0, H))});
    QCOMPARE(row.points(), wantRow);
    QCOMPARE(col.points(), wantCol);
    QCOMPARE(ImageStacks::boundedHalfSize(INT_MIN, 640), 640);
    QCOMPARE(ImageStacks::boundedHalfSize(INT_MIN), INT_MAX);
}

void TestImageStacks::rowsOfWindows_data()
{
    QTest::addColumn<int>("type"); // of the I1 frames: 1 16-bit, 2 32-bit, 3 float
    QTest::addColumn<QPoint>("half");
    QTest::addColumn<bool>("fluo");
    QTest::newRow("16-bit pixels") << 1 << QPoint(0, 0) << false;
    QTest::newRow("32-bit 3 x 5") << 2 << QPoint(1, -2) << false;
    QTest::newRow("float pixels, fluo") << 3 << QPoint(0, 0) << true;
    QTest::newRow("float, huge") << 3 << QPoint(INT_MIN, INT_MAX) << false;
}

// A row of windows read frame by frame gives each window's points to the bit.
void TestImageStacks::rowsOfWindows()
{
    QFETCH(int, type);
    QFETCH(QPoint, half);
    QFETCH(bool, fluo);
    ImageStacks s;
    for (int k = 0; k < 4; ++k) {
        QVector<quint32> u(W * H);
        QVector<float> f(W * H);
        for (int i = 0; i < W * H; ++i) {
            u[i] = quint32(i1(k)(i % W, i / W)) * (k + 1);
            f[i] = i == 7 ? -0.0f : i == 8 && k == 2 ? INFINITY : float(u[i]) / 3;
        }
        s.appendI1(type == 1   ? makeFrame(W, H, i1E[k], i1(k))
                   : type == 2 ? TiffData::fromSamples(W, H, u.constData())
                               : TiffData::fromSamples(W, H, f.constData()));
        s.i1().last()->energy = i1E[k];
        s.appendI0(makeFrame(W, H, i0E[k], i0(k)));
    }
    s.i1()[1]->shiftX = 1;
    s.i1()[2]->shiftY = -1;
    QTemporaryDir dir;
    QVERIFY(loadDark(s, dir, W, H, [](int, int) { return 3; }));
    s.setFluorescence(fluo);
    const SpectrumSource src = s.source();
    SpectrumSource::RowBuffers buffers;
    for (int y = -1; y <= H; ++y)
        for (int x0 = -2; x0 <= 0; x0 += 2) {
            const int step = x0 < 0 ? 2 : 1;
            QVector<double> mu(4 * 5, 7.0);
            quint8 inside[5];
            src.absorptionRow(x0, step, 5, y, half.x(), half.y(), mu.data(), inside, buffers);
            for (int b = 0; b < 5; ++b) {
                const SpectrumPoints p = src.absorption(x0 + step * b, y, half.x(), half.y());
                QCOMPARE(inside[b] == 1, p.size() == 4);
                for (int k = 0; k < p.size(); ++k) {
                    const double want = p.y(k);
                    QVERIFY(std::memcmp(&mu[b * 4 + k], &want, sizeof want) == 0);
                }
            }
        }
}

// The names the writers of the stacks' files derive.
void TestImageStacks::fileNames()
{
    QCOMPARE(QStringList({taggedName("/d/a.png", "cBar"), taggedName("/d/out", "cBar"),
                          taggedName("/d/a.b.png", "3"), numberedDataName("/d/a.b.png", -1, "dat"),
                          numberedDataName("/d/m%1%2.tif", 2, "tif"),
                          defaultExtensionName("/d/bins", "dat"),
                          defaultExtensionName("/d/bins.txt", "dat"),
                          defaultExtensionName("bins", "dat")}),
             QStringList({"/d/a-cBar.png", "/d/out-cBar.", "/d/a.b-3.png", "/d/a.b--1.dat",
                          "/d/m%1%2-2.tif", "/d/bins.dat", "/d/bins.txt",
                          QDir::current().absoluteFilePath("bins.dat")}));
}

// Every text equals the text stream's, exact halves rounded away from zero included.
void TestImageStacks::numbersAsTheTextStream()
{
    const double inf = qInf(), nan = qQNaN();
    QVector<double> v{0.0, -0.0, nan, -nan, inf, -inf, 1e6, 999999.5, 100000, 123456, -2.5};
    v << 0.1015625 << 1234565 << 1e-5 << 0.0001 << -9.999995e-5 << 4.9e-324 << 1e22 << 1e23
      << 2.2250738585072014e-308 << 1.7976931348623157e308;
    QRandomGenerator rng(3);
    for (int i = 0; i < 100000; ++i) {
        quint64 bits = rng.generate64();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        v << d << double(qint64(rng.bounded(20000001)) - 10000000) / (1 << rng.bounded(30))
          << double(rng.bounded(20000001)) * std::pow(10.0, int(rng.bounded(50)) - 30);
    }
    for (double d : v) {
        QString s;
        QTextStream(&s) << d;
        QCOMPARE(realText(d), s.toLatin1());
    }
}

// 7 x 5 frames of an edge: I1 k at 6000 + 100k eV, I0 9000 + 10x + 50k, dark 20 + y.
static const int EW = 7, EH = 5, EN = 12;

void TestImageStacks::spectraOfEveryBin_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("opts"); // dark, fluorescence, shift applied, victoreen
    QTest::addColumn<QRect>("area");
    QTest::newRow("normalized") << 0 << "" << QRect(1, 0, 5, 4);
    QTest::newRow("normalized, shifted") << 0 << "dav" << QRect(0, 1, 7, 3);
    QTest::newRow("raw xafs, dark") << 1 << "d" << QRect(4, 2, 5, 3);
    QTest::newRow("raw xafs, fluo") << 1 << "fa" << QRect(0, 0, 7, 5);
    QTest::newRow("raw, dark") << 2 << "d" << QRect(2, 1, 6, 4);
}

// One line per bin in walk order: the centre, the shift (absorption kinds), the points.
void TestImageStacks::spectraOfEveryBin()
{
    QFETCH(int, kind);
    QFETCH(QString, opts);
    QFETCH(QRect, area);
    const bool dark = opts.contains('d'), apply = opts.contains('a'),
               victoreen = opts.contains('v');
    QTemporaryDir dir;
    ImageStacks s;
    for (int k = 0; k < EN; ++k)
        s.appendI1(makeFrame(EW, EH, 6000 + 100 * k, [k](int x, int y) {
            return 100 * ((k < 6 ? 40 - 2 * k : 15) + x + 3 * y);
        }));
    const double i0E[] = {5990, 6500, 7200};
    for (int k = 0; k < 3; ++k)
        s.appendI0(makeFrame(EW, EH, i0E[k], [k](int x, int) { return 9000 + 10 * x + 50 * k; }));
    QVERIFY(!dark || loadDark(s, dir, EW, EH, [](int, int y) { return 20 + y; }));
    s.setFluorescence(opts.contains('f'));
    EachSpectrumRequest r{
        SpectrumKind(kind), {}, [](int x, int y) { return 0.5 * x - 0.25 * y; }, apply, victoreen};
    r.walk.setup(EW, EH, 1, 1, area.x(), area.y(), area.width(), area.height());
    QVERIFY(saveEachSpectrum(s, r, dir.filePath("bins")));
    const QStringList lines = QString(readFile(dir.filePath("bins.dat"))).split('\n');
    QCOMPARE(lines.size(), 7 + r.walk.bins() + 1);

    for (int line = 7; line < lines.size() - 1; ++line, r.walk.advance()) {
        const QStringList item = lines[line].split(' ');
        const int x = r.walk.cx, y = r.walk.cy, head = kind == 2 ? 2 : 3;
        const double shift = 0.5 * x - 0.25 * y;
        QCOMPARE(item.size(), head + (x < EW && y < EH ? 2 * EN : 0));
        QCOMPARE(item[0] + " " + item[1], QString("%1 %2").arg(x).arg(y));
        QVERIFY(kind == 2 || item[2].toDouble() == shift);
        const SpectrumPoints p =
            kind == 2 ? s.source().rawI1(x, y, 1, 1) : s.source().absorption(x, y, 1, 1);
        SpectrumPoints expected;
        for (int k = 0; x < EW && y < EH && k < EN; ++k)
            expected.append(kind != 2 && apply ? p.x(k) - shift : p.x(k), p.y(k));
        const XafsSpectrum n(expected, victoreen, shift);
        const SpectrumPoints &v = kind == 0 ? n.normalized() : expected;
        for (int k = 0; k < v.size(); ++k) {
            const double e = item[head + 2 * k].toDouble(), y = item[head + 2 * k + 1].toDouble();
            QVERIFY2(std::fabs(e - v.x(k)) <= 5e-6 * std::fabs(v.x(k)), qPrintable(lines[line]));
            QVERIFY2(std::fabs(y - v.y(k)) <= 5e-6 * std::fabs(v.y(k)), qPrintable(lines[line]));
        }
    }
}

void TestImageStacks::headerAndProgress_data()
{
    QTest::addColumn<QRectF>("area");
    QTest::addColumn<QPoint>("half");         // across and down
    QTest::addColumn<QStringList>("numbers"); // of header lines 2 to 6
    QTest::addColumn<QStringList>("progress");
    QTest::newRow("hx 1") << QRectF(1, 0, 5, 6) << QPoint(1, -1)
                          << QStringList{"1 6 2", "0 6 2", "7 5", "1 1", "3 3"}
                          << QStringList{"Save Xafs Spectra : Progress 66.6667"};
    QTest::newRow("reversed, pixels") << QRectF(4.5, 3.9, -3.2, -3.9) << QPoint(0, 0)
                                      << QStringList{"1 4 3", "0 3 3", "7 5", "0 0", "1 1"}
                                      << QStringList{"Save Xafs Spectra : Progress 33.3333",
                                                     "Save Xafs Spectra : Progress 66.6667"};
    // The header counts as it always did: no bins across an empty area, one down with a half
    // height of 1 (its sum truncates toward 0), one bin written.
    QTest::newRow("empty area") << QRectF(3, 2, 0, 0) << QPoint(0, 1)
                                << QStringList{"3 3 0", "2 2 1", "7 5", "0 1", "1 3"}
                                << QStringList();
}

void TestImageStacks::headerAndProgress()
{
    QFETCH(QRectF, area);
    QFETCH(QPoint, half);
    QFETCH(QStringList, numbers);
    QFETCH(QStringList, progress);
    QTemporaryDir dir;
    ImageStacks s;
    s.appendI1(constantFrame(EW, EH, 7000, 100));
    EachSpectrumRequest r;
    r.walk.setup(EW, EH, half.x(), half.y(), area.x(), area.y(), area.width(), area.height());
    const QString header =
        QString("# X-Range (x0, x1), steps : %1\n# Y-Range (y0, y1), steps : %2\n"
                "# Full Width, Height      : %3\n# Bin Half Width, Height  : %4\n"
                "# Step dX, dY             : %5\n# End of Header\n")
            .arg(numbers[0], numbers[1], numbers[2], numbers[3], numbers[4]);
    const char *titles[] = {"Normalized Xafs", "Raw Xafs", "Raw"};
    for (int kind = 0; kind < 3; ++kind) {
        r.kind = SpectrumKind(kind);
        LogCapture log;
        QVERIFY(saveEachSpectrum(s, r, dir.filePath("h.dat")));
        QCOMPARE(log.lines(), progress);
        const QString text = readFile(dir.filePath("h.dat"));
        QVERIFY(text.startsWith(QString("# Lumenograf Save %1 Spectra 1.0\n").arg(titles[kind])
                                + header));
        QCOMPARE(text.count('\n'), 7 + r.walk.bins());
    }
}

// Flat and dark read back with every sample 1 and 0; no data or no folder: nothing written.
void TestImageStacks::flatAndDark()
{
    QTemporaryDir dir;
    ImageStacks s;
    EachSpectrumRequest r;
    r.walk.setup(EW, EH, 0, 0, 0, 0, EW, EH);
    QVERIFY(!saveEachSpectrum(s, r, dir.filePath("none"))
            && !QFile::exists(dir.filePath("none.dat")));
    s.appendI1(constantFrame(EW, EH, 7000, 100));
    LogCapture log;
    QVERIFY(!saveEachSpectrum(s, r, dir.filePath("missing/bins.dat")));
    QVERIFY(log.lines().contains("Can't open " + dir.filePath("missing/bins.dat")));
    QVERIFY(saveFlatDark(dir.path(), 9, 4));
    for (const auto &[name, value] :
         {qMakePair(QString("flat.dat"), 1.0), qMakePair(QString("dark.dat"), 0.0)}) {
        TiffData f;
        QVERIFY(f.read(dir.filePath(name)));
        QCOMPARE(QSize(f.width(), f.height()), QSize(9, 4));
        for (int i = 0; i < 9 * 4; ++i)
            QCOMPARE(f.windowSum(i % 9, i / 9, 0, 0), value);
    }
    QVERIFY(!saveFlatDark(dir.filePath("missing"), 9, 4));
    QVERIFY(log.contains("Can't open " + dir.filePath("missing/flat.dat")));
    QVERIFY(!QFile::exists(dir.filePath("missing")));
    QVERIFY(!saveFlatDark(dir.path(), 0, 4));
}

QTEST_GUILESS_MAIN(TestImageStacks)
#include "test_imagestacks.moc"
