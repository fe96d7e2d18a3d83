#include "core/ExportWriters.h"
#include "core/ImageStacks.h"
#include "core/RealText.h"
#include "input/TiffData.h"

#include "FrameMaker.h"
#include "LogCapture.h"

#include <QtTest>

#include <cmath>
#include <cstring>

class TestExportWriters : public QObject
{
    Q_OBJECT
private slots:
    void fileNames_data();
    void fileNames();
    void numbersAsTheTextStream();
    void spectraOfEveryBin_data();
    void spectraOfEveryBin();
    void headerAndProgress_data();
    void headerAndProgress();
    void nothingToWriteOrNowhere();
    void flatAndDark();
};

void TestExportWriters::fileNames_data()
{
    QTest::addColumn<QString>("got");
    QTest::addColumn<QString>("want");
    QTest::newRow("tagged") << taggedName("/d/a.png", "cBar") << "/d/a-cBar.png";
    QTest::newRow("tagged, no suffix") << taggedName("/d/out", "cBar") << "/d/out-cBar.";
    QTest::newRow("tagged, two dots") << taggedName("/d/a.b.png", "3") << "/d/a.b-3.png";
    QTest::newRow("numbered") << numberedDataName("/d/a.b.png", -1, "dat") << "/d/a.b--1.dat";
    QTest::newRow("numbered, %") << numberedDataName("/d/m%1%2.tif", 2, "tif") << "/d/m%1%2-2.tif";
    QTest::newRow("default ext") << defaultExtensionName("/d/bins", "dat") << "/d/bins.dat";
    QTest::newRow("own ext kept") << defaultExtensionName("/d/bins.txt", "dat") << "/d/bins.txt";
    QTest::newRow("relative") << defaultExtensionName("bins", "dat")
                              << QDir::current().absoluteFilePath("bins.dat");
}

void TestExportWriters::fileNames()
{
    QFETCH(QString, got);
    QFETCH(QString, want);
    QCOMPARE(got, want);
}

// Every text equals the text stream's, on values of every kind and on exact
// halves, which the stream rounds away from zero.
void TestExportWriters::numbersAsTheTextStream()
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

// 7 x 5 frames of an edge, 12 I1 frames at 6000 + 100k eV holding (40 - 2k or,
// past the edge, 15) plus x + 3y, times 100; three I0 frames 9000 + 10x + 50k;
// a dark frame of 20 + y.
static const int W = 7, H = 5, N = 12;

void TestExportWriters::spectraOfEveryBin_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("dark");
    QTest::addColumn<bool>("fluo");
    QTest::addColumn<bool>("apply");
    QTest::addColumn<bool>("victoreen");
    QTest::addColumn<QRect>("area");
    QTest::newRow("normalized") << 0 << false << false << false << false << QRect(1, 0, 5, 4);
    QTest::newRow("normalized, shifted") << 0 << true << false << true << true << QRect(0, 1, 7, 3);
    QTest::newRow("raw xafs, dark") << 1 << true << false << false << false << QRect(4, 2, 5, 3);
    QTest::newRow("raw xafs, fluo") << 1 << false << true << true << false << QRect(0, 0, 7, 5);
    QTest::newRow("raw, dark") << 2 << true << false << false << false << QRect(2, 1, 6, 4);
}

// One line per bin in walk order: the centre, for the absorption kinds the
// shift, then energy and value per point, all worked out from the samples
// (a bin past the image has no points).
void TestExportWriters::spectraOfEveryBin()
{
    QFETCH(int, kind);
    QFETCH(bool, dark);
    QFETCH(bool, fluo);
    QFETCH(bool, apply);
    QFETCH(bool, victoreen);
    QFETCH(QRect, area);
    QTemporaryDir dir;
    ImageStacks s;
    for (int k = 0; k < N; ++k)
        s.appendI1(makeFrame(W, H, 6000 + 100 * k, [k](int x, int y) {
            return 100 * ((k < 6 ? 40 - 2 * k : 15) + x + 3 * y);
        }));
    const double i0E[] = {5990, 6500, 7200};
    for (int k = 0; k < 3; ++k)
        s.appendI0(makeFrame(W, H, i0E[k], [k](int x, int) { return 9000 + 10 * x + 50 * k; }));
    QVector<quint16> darkSamples;
    for (int i = 0; i < W * H; ++i)
        darkSamples << quint16(20 + i / W);
    QVERIFY(writeTiff16(dir.filePath("d.tif"), W, H, darkSamples.constData()));
    QVERIFY(!dark || s.loadDark(dir.filePath("d.tif")));
    s.setFluorescence(fluo);
    EachSpectrumRequest r{
        SpectrumKind(kind), {}, [](int x, int y) { return 0.5 * x - 0.25 * y; }, apply, victoreen};
    r.walk.setup(W, H, 1, 1, area.x(), area.y(), area.width(), area.height());
    QVERIFY(saveEachSpectrum(s, r, dir.filePath("bins")));
    QFile f(dir.filePath("bins.dat"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString(f.readAll()).split('\n');
    QCOMPARE(lines.size(), 7 + r.walk.bins() + 1);

    // The source's points of each bin (their numbers are checked with the stacks).
    for (int line = 7; line < lines.size() - 1; ++line, r.walk.advance()) {
        const QStringList item = lines[line].split(' ');
        const int x = r.walk.cx, y = r.walk.cy, head = kind == 2 ? 2 : 3;
        const double shift = 0.5 * x - 0.25 * y;
        QCOMPARE(item.size(), head + (x < W && y < H ? 2 * N : 0));
        QCOMPARE(item[0] + " " + item[1], QString("%1 %2").arg(x).arg(y));
        QVERIFY(kind == 2 || item[2].toDouble() == shift);
        const SpectrumPoints p =
            kind == 2 ? s.source().rawI1(x, y, 1, 1) : s.source().absorption(x, y, 1, 1);
        SpectrumPoints expected;
        for (int k = 0; x < W && y < H && k < N; ++k)
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

void TestExportWriters::headerAndProgress_data()
{
    QTest::addColumn<QRectF>("area");
    QTest::addColumn<int>("half");
    QTest::addColumn<QStringList>("numbers"); // of header lines 2 to 6
    QTest::addColumn<QStringList>("progress");
    QTest::newRow("hx 1") << QRectF(1, 0, 5, 6) << 1
                          << QStringList{"1 6 2", "0 6 2", "7 5", "1 1", "3 3"}
                          << QStringList{"Save Xafs Spectra : Progress 66.6667"};
    QTest::newRow("reversed, pixels")
        << QRectF(4.5, 3.9, -3.2, -3.9) << 0 << QStringList{"1 4 3", "0 3 3", "7 5", "0 0", "1 1"}
        << QStringList{"Save Xafs Spectra : Progress 33.3333",
                       "Save Xafs Spectra : Progress 66.6667"};
    // The header counts as it always did: no bins across an empty area,
    // though the walk writes the one at its start.
    QTest::newRow("empty area") << QRectF(3, 2, 0, 0) << 0
                                << QStringList{"3 3 0", "2 2 0", "7 5", "0 0", "1 1"}
                                << QStringList();
}

void TestExportWriters::headerAndProgress()
{
    QFETCH(QRectF, area);
    QFETCH(int, half);
    QFETCH(QStringList, numbers);
    QFETCH(QStringList, progress);
    QTemporaryDir dir;
    ImageStacks s;
    s.appendI1(constantFrame(W, H, 7000, 100));
    EachSpectrumRequest r;
    r.walk.setup(W, H, half, -half, area.x(), area.y(), area.width(), area.height());
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
        QFile f(dir.filePath("h.dat"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = f.readAll();
        QVERIFY(text.startsWith(QString("# Lumenograf Save %1 Spectra 1.0\n").arg(titles[kind])
                                + header));
        QCOMPARE(text.count('\n'), 7 + r.walk.bins());
    }
}

void TestExportWriters::nothingToWriteOrNowhere()
{
    QTemporaryDir dir;
    ImageStacks s;
    EachSpectrumRequest r;
    r.walk.setup(W, H, 0, 0, 0, 0, W, H);
    QVERIFY(!saveEachSpectrum(s, r, dir.filePath("none")));
    QVERIFY(!QFile::exists(dir.filePath("none.dat")));
    s.appendI1(constantFrame(W, H, 7000, 100));
    LogCapture log;
    const QString name = dir.filePath("missing/bins.dat");
    QVERIFY(!saveEachSpectrum(s, r, name));
    QVERIFY(log.lines().contains("Can't open " + name));
}

// Both frames read back through the frame reader with every sample 1 and 0.
void TestExportWriters::flatAndDark()
{
    QTemporaryDir dir;
    QVERIFY(saveFlatDark(dir.path(), 9, 4));
    for (const auto &[name, value] :
         {qMakePair(QString("flat.dat"), 1.0), qMakePair(QString("dark.dat"), 0.0)}) {
        TiffData f;
        QVERIFY(f.read(dir.filePath(name)));
        QCOMPARE(QSize(f.width(), f.height()), QSize(9, 4));
        for (int i = 0; i < 9 * 4; ++i)
            QCOMPARE(f.windowSum(i % 9, i / 9, 0, 0), value);
    }
    LogCapture log;
    QVERIFY(!saveFlatDark(dir.filePath("missing"), 9, 4));
    QVERIFY(log.contains("Can't open " + dir.filePath("missing/flat.dat")));
    QVERIFY(!QFile::exists(dir.filePath("missing")));
    QVERIFY(!saveFlatDark(dir.path(), 0, 4));
}

QTEST_GUILESS_MAIN(TestExportWriters)
#include "test_exportwriters.moc"
