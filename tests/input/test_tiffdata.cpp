#include "input/GreyScale.h"
#include "input/TiffData.h"

#include "TestFiles.h"
#include "LogCapture.h"

#include <QTemporaryDir>
#include <QtTest>

#include <tiffio.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <vector>

namespace {

struct TiffSpec
{
    int width = 4, height = 3, bits = 16, samples = 1;
    int format = SAMPLEFORMAT_UINT, photometric = PHOTOMETRIC_MINISBLACK;
    int compression = COMPRESSION_NONE;
    const char *mode = "w";
    bool tiled = false;
    int pages = 1;
};

// Writes a TIFF with libtiff directly; page p of a 16-bit TIFF holds sample
// value 1000 * p + 10 * r + c (truncated), other layouts hold zeros.
bool makeTiff(const QString &path, const TiffSpec &s)
{
    TIFF *t = TIFFOpen(QFile::encodeName(path).constData(), s.mode);
    if (!t)
        return false;
    const int bytes = s.bits / 8 * s.samples, tile = s.tiled ? 16 : s.width;
    for (int p = 0; p < s.pages; ++p) {
        for (const auto &f : {std::make_pair(TIFFTAG_IMAGEWIDTH, s.width),
                              {TIFFTAG_IMAGELENGTH, s.height},
                              {TIFFTAG_BITSPERSAMPLE, s.bits},
                              {TIFFTAG_SAMPLESPERPIXEL, s.samples},
                              {TIFFTAG_SAMPLEFORMAT, s.format},
                              {TIFFTAG_PHOTOMETRIC, s.photometric},
                              {TIFFTAG_COMPRESSION, s.compression},
                              {TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG}})
            TIFFSetField(t, f.first, f.second);
        if (s.photometric == PHOTOMETRIC_PALETTE) {
            std::vector<uint16_t> map(size_t(1) << s.bits, 0);
            TIFFSetField(t, TIFFTAG_COLORMAP, map.data(), map.data(), map.data());
        }
        // One tile or one line of `tile` samples a row; 16-bit samples numbered.
        std::vector<uint8_t> buf(size_t((s.tiled ? 16 : 1) * tile * bytes), 0);
        auto fill = [&](int y, int x, int rows) {
            for (int r = 0; r < rows; ++r)
                for (int c = 0; s.bits == 16 && c < tile * s.samples; ++c)
                    reinterpret_cast<uint16_t *>(buf.data())[r * tile + c] =
                        uint16_t(1000 * p + 10 * (y + r) + x + c);
        };
        if (s.tiled) {
            TIFFSetField(t, TIFFTAG_TILEWIDTH, 16);
            TIFFSetField(t, TIFFTAG_TILELENGTH, 16);
            for (int y = 0; y < s.height; y += 16)
                for (int x = 0; x < s.width; x += 16) {
                    fill(y, x, 16);
                    TIFFWriteTile(t, buf.data(), uint32_t(x), uint32_t(y), 0, 0);
                }
        } else {
            TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, 2);
            for (int r = 0; r < s.height; ++r) {
                fill(r, 0, 1);
                TIFFWriteScanline(t, buf.data(), uint32_t(r), 0);
            }
        }
        TIFFWriteDirectory(t);
    }
    TIFFClose(t);
    return true;
}

std::unique_ptr<TiffData> frameOf(int w, int h, const std::vector<quint16> &samples)
{
    return std::unique_ptr<TiffData>(TiffData::fromSamples(w, h, samples.data()));
}

// The picture's bytes `first` to `first + n - 1`, the picture built if need be.
using Bytes = QVector<int>;
Bytes pxs(TiffData &d, int first, int n)
{
    Bytes v;
    for (int i = first; i < first + n; ++i)
        v << d.picture().constBits()[i];
    return v;
}

// Sets the value of a one-value SHORT or LONG entry `tag` in the first
// directory of a little-endian TIFF.
bool patchTag(QByteArray &b, quint16 tag, quint32 value)
{
    const quint32 ifd = qFromLittleEndian<quint32>(b.constData() + 4);
    const int n = qFromLittleEndian<quint16>(b.constData() + ifd);
    for (int i = 0; i < n; ++i) {
        char *e = b.data() + ifd + 2 + 12 * i;
        if (qFromLittleEndian<quint16>(e) != tag)
            continue;
        qToLittleEndian<quint16>(4, e + 2); // LONG
        qToLittleEndian<quint32>(value, e + 8);
        return true;
    }
    return false;
}

// A TIFF whose pixel data (all between the header and the first directory)
// is overwritten with 0xff.
QByteArray spoiled(QByteArray b)
{
    const quint32 ifd = qFromLittleEndian<quint32>(b.constData() + 4);
    for (quint32 i = 8; i < ifd && i < quint32(b.size()); ++i)
        b[int(i)] = char(0xff);
    return b;
}

} // namespace

class TestTiffData : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }
    QByteArray tiffBytes(const TiffSpec &s) const
    {
        return makeTiff(path("made.tif"), s) ? readFile(path("made.tif")) : QByteArray();
    }

private slots:
    // Frames read: 16-bit grey TIFFs (sample 10 r + c), any byte order,
    // compression, strips or tiles, first page of several; IMG frames (size
    // from the binary header, 32 bits if the comment says "BytesPerPixel=4",
    // a value cut at "," or a zero byte); KVMX text (values times 500, those
    // below 0 or missing 0, a blank line right after the header a pixel).
    void frames_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("sampleBytes");
        QTest::addColumn<QVector<double>>("values");
        const int none = COMPRESSION_NONE, deflate = COMPRESSION_ADOBE_DEFLATE;
        const struct
        {
            const char *name, *mode;
            int compression, w, h;
            bool tiled;
            int pages;
        } tiffs[] = {{"little-endian", "wl", none, 5, 3, false, 1},
                     {"big-endian", "wb", none, 5, 3, false, 1},
                     {"deflate", "wl", deflate, 5, 3, false, 1},
                     {"tiled", "wb", none, 20, 20, true, 1},
                     {"three pages", "wl", none, 4, 3, false, 3}};
        for (const auto &t : tiffs) {
            QVector<double> v;
            for (int i = 0; i < t.w * t.h; ++i)
                v << 10 * (i / t.w) + i % t.w;
            const QByteArray b =
                tiffBytes({t.w, t.h, 16, 1, SAMPLEFORMAT_UINT, PHOTOMETRIC_MINISBLACK,
                           t.compression, t.mode, t.tiled, t.pages});
            // The byte order really is the one asked for on disk.
            QCOMPARE(b.left(2), QByteArray(t.mode[1] == 'b' ? "MM" : "II"));
            QTest::newRow(t.name) << b << QSize(t.w, t.h) << 2 << v;
        }
        using V = QVector<double>;
        const QByteArray lf("Memo=a\r\nb\r\n,BytesPerPixel=4\r\n");
        QTest::newRow("IMG 16") << imgFile(3, 2,
                                           "Prop_ImageWidth=3,Prop_ImageHeight=2,BytesPerPixel=2",
                                           2, {7, 65535, 0, 1, 2, 300})
                                << QSize(3, 2) << 2 << V{7, 65535, 0, 1, 2, 300};
        QTest::newRow("IMG 32")
            << imgFile(2, 2, "x=1,BytesPerPixel=4,Prop_ImageWidth=2,Prop_ImageHeight=2", 4,
                       {5, 4000000000u, 70000, 9})
            << QSize(2, 2) << 4 << V{5, 4000000000.0, 70000, 9};
        QTest::newRow("IMG header wins")
            << imgFile(2, 1, "Prop_ImageWidth=5,Prop_ImageHeight=5", 2, {11, 12}) << QSize(2, 1)
            << 2 << V{11, 12};
        QTest::newRow("IMG zero byte")
            << imgFile(1, 1, QByteArray("BytesPerPixel=4\0junk,more", 25), 4, {123456})
            << QSize(1, 1) << 4 << V{123456};
        QTest::newRow("IMG CR LF") << imgFile(1, 1, lf, 4, {77}) << QSize(1, 1) << 4 << V{77};
        QTest::newRow("IMG height 0") << imgFile(4, 0, "", 2, {}) << QSize(4, 0) << 2 << V{};
        QTest::newRow("KVMX") << QByteArray(
            "#KVMX-CTImg\n# range_x0 = 10\n# RANGE_X1 : 13.9\n# RANGE_Y0 = 0\n"
            "# RANGE_Y1 = 2\n10 0 0.01\n11 0 -0.01\n12 0 2.5\n10 1 1e-3\n")
                              << QSize(3, 2) << 4 << V{5, 0, 1250, double(float(0.5)), 0, 0};
        QTest::newRow("KVMX blank line")
            << QByteArray("#KVMX-CTImg\n# RANGE_X1 = 2\n# RANGE_Y1 = 1\n\n0 0 3\n") << QSize(2, 1)
            << 4 << V{0, 1500};
    }

    void frames()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        QFETCH(int, sampleBytes);
        QFETCH(QVector<double>, values);
        const int w = size.width(), h = size.height();
        QVERIFY(writeFile(path("frame"), bytes));
        TiffData d;
        QVERIFY(d.read(path("frame")));
        QCOMPARE(QSize(d.width(), d.height()), size);
        QCOMPARE(d.bytesPerPixel(), sampleBytes);
        QCOMPARE(d.sampleMemory(), qint64(w * h * sampleBytes));
        for (int i = 0; i < w * h; ++i)
            QCOMPARE(d.value(i / w, i % w), values[i]);
        if (!values.isEmpty()) {
            QCOMPARE(d.minimum(), *std::min_element(values.begin(), values.end()));
            QCOMPARE(d.maximum(), *std::max_element(values.begin(), values.end()));
        }
        // Outside the frame every value is 0.
        QVERIFY(d.value(h, 0) == 0 && d.value(-1, 0) == 0 && d.value(0, w) == 0);
        // The picture waits until the frame is shown.
        QVERIFY(!d.builtPicture());
        QCOMPARE(d.picture().size(), h ? size : QSize(0, 0));
    }

    // Files that are no frame, damaged frames and the files found by fuzzing:
    // each is refused with its log lines ("%1" is the path), nothing large is
    // allocated and nothing throws. Without `exact` the one line given starts
    // the last line logged (libtiff and the header scan log their own first).
    void hostileFrames_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // null: no file is written
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("exact");
        using L = QStringList;
        auto row = [](const char *name, const QByteArray &b, const L &lines, bool exact = true) {
            QTest::newRow(name) << b << lines << exact;
        };
        row("missing", QByteArray(), {"Can not open (1) %1"});
        row("/dev/zero", QByteArray(), {"Not a regular file: %1"});
        row("short", QByteArray("II*\0short", 9), {"Error on reading file (1) %1"});
        row("other", "PK\3\4 this is no frame at all", {});
        row("almost KVMX", "#KVMX-CTIm\n# RANGE_X1 = 2\n", {}); // one character short
        // Layouts other than 16-bit unsigned grey.
        const int uint = SAMPLEFORMAT_UINT, grey = PHOTOMETRIC_MINISBLACK;
        const struct
        {
            const char *name;
            int bits, samples, format, photometric;
            const char *what;
        } layouts[] = {
            {"u8", 8, 1, uint, grey, "8-bit unsigned grey, 1"},
            {"u32", 32, 1, uint, grey, "32-bit unsigned grey, 1"},
            {"f32", 32, 1, SAMPLEFORMAT_IEEEFP, grey, "32-bit float grey, 1"},
            {"rgb", 16, 3, uint, PHOTOMETRIC_RGB, "16-bit unsigned RGB, 3"},
            {"palette", 8, 1, uint, PHOTOMETRIC_PALETTE, "8-bit unsigned palette, 1"},
            {"s16", 16, 1, SAMPLEFORMAT_INT, grey, "16-bit signed grey, 1"},
        };
        for (const auto &l : layouts)
            row(l.name, tiffBytes({4, 3, l.bits, l.samples, l.format, l.photometric}),
                {QString("Unsupported TIFF (only 16-bit unsigned grey is read): %1 is %2 sample(s) "
                         "per pixel").arg("%1", l.what)});
        // Garbage behind a TIFF magic; pixel data that does not decode fails the
        // read instead of keeping whatever the buffers held.
        row("TIFF garbage", QByteArray("II*\0\xff\xff\xff\x7f garbage garbage", 24), {"TIFF error:"},
            false);
        const int deflate = COMPRESSION_ADOBE_DEFLATE;
        row("bad deflate strip", spoiled(tiffBytes({64, 64, 16, 1, uint, grey, deflate})),
            {"Error on reading TIFF scanline 0 %1"}, false);
        row("bad deflate tile", spoiled(tiffBytes({20, 20, 16, 1, uint, grey, deflate, "w", true})),
            {"Error on reading TIFF tile 0 0 %1"}, false);
        // 65535 x 70000 refused before any row is allocated; a few hundred bytes
        // declaring 1 x 268,435,456 samples in one strip (nothing for libtiff to
        // object to); 16384 x 16384 uncompressed samples in a small file.
        QByteArray wide = tiffBytes({1, 70000});
        QVERIFY(patchTag(wide, TIFFTAG_IMAGEWIDTH, 65535));
        row("TIFF 65535 x 70000", wide, {"Frame size out of range: 65535 70000 %1"});
        const QByteArray tiff = tiffBytes({1, 64});
        QByteArray tall = tiff, square = tiff;
        QVERIFY(patchTag(tall, TIFFTAG_IMAGELENGTH, 268435456)
                && patchTag(tall, TIFFTAG_ROWSPERSTRIP, 268435456));
        row("TIFF 1 x 268435456", tall, {"Frame size out of range: 1 268435456 %1"}, false);
        for (const quint16 tag : {TIFFTAG_IMAGEWIDTH, TIFFTAG_IMAGELENGTH, TIFFTAG_ROWSPERSTRIP})
            QVERIFY(patchTag(square, tag, 16384));
        row("TIFF 16384 x 16384", square, {"TIFF frame larger than its file: 16384 16384 %1"},
            false);
        // IMG data short by one sample, 16 and 32 bits; sizes far beyond a
        // 100-byte file; a comment running past the end.
        const QString invalid = "invalid file size. expected (h,w) = %1";
        const std::vector<quint32> few(18, 0);
        row("IMG short 16", imgFile(3, 2, "", 2, std::vector<quint32>(5, 1)),
            {invalid.arg("2 3"), "Error on reading (3) %1"});
        row("IMG short 32", imgFile(2, 2, "BytesPerPixel=4", 4, std::vector<quint32>(3, 1)),
            {invalid.arg("2 2"), "Error on reading (2) %1"});
        row("IMG 65535 x 65535", imgFile(65535, 65535, "", 2, few),
            {"Frame size out of range: 65535 65535 %1"});
        row("IMG 16000 x 30", imgFile(16000, 30, "", 2, few),
            {invalid.arg("30 16000"), "Error on reading (3) %1"});
        row("IMG 60000 x 30", imgFile(60000, 30, "", 2, few),
            {"Frame size out of range: 60000 30 %1"});
        QByteArray comment = imgFile(1, 1, "", 2, {1});
        qToLittleEndian<quint16>(60000, comment.data() + 2);
        row("IMG comment past the end", comment,
            {"IMG comment runs past the end of the file: 60000 %1"});
        // KVMX ranges equal, absurd, beyond the bound, far beyond the file (86
        // bytes for 16384 x 16384 pixels); lines without an end.
        const QByteArray kvmx = "#KVMX-CTImg\n";
        row("KVMX equal ranges", kvmx + "# RANGE_X0 = 4\n# RANGE_X1 = 4\n# RANGE_Y1 = 3\n1 1 1\n", {},
            false);
        row("KVMX 1e300", kvmx + "# RANGE_X1 = 1e300\n# RANGE_Y1 = 3\n1 1 1\n", {}, false);
        row("KVMX 20000 x 20000", kvmx + "# RANGE_X1 = 20000\n# RANGE_Y1 = 20000\n",
            {"Frame size out of range: 20000 20000 %1"}, false);
        row("KVMX 1 x 268435456", kvmx + "# RANGE_X1 = 1\n# RANGE_Y1 = 268435456\n",
            {"Frame size out of range: 1 268435456 %1"}, false);
        const QByteArray empty =
            kvmx + "# RANGE_X0 = 0\n# RANGE_X1 = 16384\n# RANGE_Y0 = 0\n# RANGE_Y1 = 16384\n";
        row("KVMX 16384 x 16384, no data", empty,
            {QString("KVMX ranges out of proportion to the file: 16384 16384 %1 bytes %2")
                 .arg(empty.size())
                 .arg("%1")},
            false);
        const QByteArray head = kvmx + "# RANGE_X1 = 2\n# RANGE_Y1 = 1\n";
        const L tooLong{"Line longer than 65536 bytes in %1"};
        row("KVMX header, no line break", head + "# " + QByteArray(70000, 'x'), tooLong, false);
        row("KVMX data, no line break", head + "0 0 1\n" + QByteArray(70000, '7'), tooLong, false);
    }

    void hostileFrames()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QFETCH(bool, exact);
        const QString tag = QTest::currentDataTag();
        const QString at = tag.startsWith('/') ? tag : path(tag);
        if (!bytes.isNull())
            QVERIFY(writeFile(at, bytes));
        LogCapture log;
        TiffData d;
        QVERIFY(!d.read(at));
        lines.replaceInStrings("%1", at);
        if (exact)
            QCOMPARE(log.lines(), lines);
        else
            QVERIFY2(log.lines().value(log.lines().size() - 1).startsWith(lines.value(0)),
                     qPrintable(log.lines().join('|')));
        QCOMPARE(d.sampleMemory(), qint64(0));
        QCOMPARE(d.pixelType(), TiffData::NoPixels);
        QVERIFY(d.value(0, 0) == 0.0 && d.windowSum(0, 0, 3, 3) == 0.0 && d.picture().isNull());
    }

    // Sums over a 4 x 3 frame, value = 10 * r + c (138 in all), at centre
    // (x, y) with half sizes (hw, hh) and the frame shifted by (sx, sy).
    // Half sizes as a script may set them ("set_band_w 2147483647"): any
    // centre and shift, never an overflow.
    void windowSums_data()
    {
        QTest::addColumn<QVector<int>>("args"); // x, y, hw, hh, sx, sy
        QTest::addColumn<double>("sum");
        using V = QVector<int>;
        // Rows 0..2, cols 0..2 = 3 * (0 + 1 + 2) + 3 * (0 + 10 + 20).
        QTest::newRow("centre") << V{1, 1, 1, 1, 0, 0} << 99.0;
        QTest::newRow("negative halves by magnitude") << V{1, 1, -1, -1, 0, 0} << 99.0;
        QTest::newRow("corner") << V{0, 0, 1, 1, 0, 0} << 22.0; // 0 + 1 + 10 + 11
        QTest::newRow("far left") << V{-5, 1, 1, 1, 0, 0} << 0.0;
        QTest::newRow("far below") << V{2, 40, 0, 0, 0, 0} << 0.0;
        QTest::newRow("a sum, not a mean") << V{1, 1, 10, 10, 0, 0} << 138.0;
        // Shift (2, 0): the sum at x reads column x - 2.
        QTest::newRow("shift x") << V{2, 1, 0, 0, 2, 0} << 10.0;
        QTest::newRow("shift x, last column") << V{5, 2, 0, 0, 2, 0} << 23.0;
        QTest::newRow("shift x, uncovered") << V{1, 1, 0, 0, 2, 0} << 0.0;
        QTest::newRow("shift x, window") << V{3, 1, 1, 0, 2, 0} << 33.0;
        QTest::newRow("shift y") << V{0, 0, 0, 0, 0, -1} << 10.0;
        QTest::newRow("shift y, uncovered") << V{0, 2, 0, 0, 0, -1} << 0.0;
        QTest::newRow("huge halves") << V{1, 1, INT_MAX, INT_MAX, 0, 0} << 138.0;
        QTest::newRow("most negative halves") << V{1, 1, INT_MIN, INT_MIN, 0, 0} << 138.0;
        // Column 0 only (0 + 10 + 20): the window ends there.
        QTest::newRow("far centres") << V{INT_MIN, INT_MAX, INT_MIN, INT_MIN, 0, 0} << 30.0;
        // Row 0 only (0 + 1 + 2 + 3) after a shift of INT_MAX.
        QTest::newRow("far shift") << V{INT_MAX, 0, INT_MAX, INT_MAX, INT_MAX, INT_MAX} << 6.0;
        // Row 2 (20 + 21 + 22 + 23).
        QTest::newRow("huge width only") << V{1, 2, INT_MAX, 0, 0, 0} << 86.0;
        QTest::newRow("far, small") << V{INT_MIN, 0, 3, 3, INT_MAX, INT_MAX} << 0.0;
    }

    void windowSums()
    {
        QFETCH(QVector<int>, args);
        QFETCH(double, sum);
        auto d = frameOf(4, 3, {0, 1, 2, 3, 10, 11, 12, 13, 20, 21, 22, 23});
        d->shiftX = args[4];
        d->shiftY = args[5];
        QCOMPARE(d->windowSum(args[0], args[1], args[2], args[3]), sum);
    }

    // Pictures: t = (value - min) / (max - min), grey int(256 t') clamped,
    // t' = (t - lower) / (upper - lower) clamped to 0..1 (the bar's handles);
    // pixels the shift uncovers show value 0. Rows are compared pixel by pixel.
    void pictures_data()
    {
        QTest::addColumn<int>("type"); // 0: 16-bit, 1: 32-bit, 2: float samples
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QVector<double>>("samples");
        QTest::addColumn<QPoint>("shift");
        QTest::addColumn<QPointF>("handles");
        QTest::addColumn<Bytes>("grey");
        using S = QVector<double>;
        const S up{0, 100, 200, 400}, ramp{100, 150, 200, 250, 300, 300, 250, 200, 150, 100};
        const QPointF plain(0, 1);
        QTest::newRow("16") << 0 << QSize(4, 1) << up << QPoint() << plain
                            << Bytes{0, 64, 128, 255};
        QTest::newRow("32") << 1 << QSize(4, 1) << S{1000, 1100, 1200, 1400} << QPoint() << plain
                            << Bytes{0, 64, 128, 255};
        QTest::newRow("float") << 2 << QSize(4, 1) << S{-0.5, 0, 0.5, 1.5} << QPoint() << plain
                               << Bytes{0, 64, 128, 255};
        QTest::newRow("shift right") << 0 << QSize(5, 2) << ramp << QPoint(2, 0) << plain
                                     << Bytes{0, 0, 0, 64, 128, 0, 0, 255, 192, 128};
        QTest::newRow("handles") << 0 << QSize(5, 2) << ramp << QPoint() << QPointF(0.25, 0.75)
                                 << Bytes{0, 0, 128, 255, 255, 255, 255, 128, 0, 0};
        QTest::newRow("inverted, shift down")
            << 0 << QSize(5, 2) << ramp << QPoint(0, 1) << QPointF(1, 0)
            << Bytes{255, 255, 255, 255, 255, 255, 192, 128, 64, 0};
        // No division by zero: every t is 0.
        QTest::newRow("all zero") << 0 << QSize(3, 2) << S(6, 0) << QPoint() << plain
                                  << Bytes(6, 0);
        QTest::newRow("all equal")
            << 0 << QSize(3, 2) << S(6, 7) << QPoint(1, 0) << plain << Bytes(6, 0);
    }

    void pictures()
    {
        QFETCH(int, type);
        QFETCH(QSize, size);
        QFETCH(QVector<double>, samples);
        QFETCH(QPoint, shift);
        QFETCH(QPointF, handles);
        QFETCH(Bytes, grey);
        const int w = size.width(), h = size.height();
        auto made = [&](auto zero) {
            std::vector<decltype(zero)> v;
            for (double x : samples)
                v.push_back(decltype(zero)(x));
            return TiffData::fromSamples(w, h, v.data());
        };
        std::unique_ptr<TiffData> d(type == 0   ? made(quint16())
                                    : type == 1 ? made(quint32())
                                                : made(float()));
        GreyScale bar;
        bar.lower = handles.x();
        bar.upper = handles.y();
        d->colorBar = &bar;
        d->shiftX = shift.x();
        d->shiftY = shift.y();
        QVERIFY(!d->builtPicture());
        Bytes got;
        for (int r = 0; r < h; ++r)
            got += pxs(*d, r * d->picture().bytesPerLine(), w);
        QCOMPARE(got, grey);
    }

    // A built picture is built again when the shift or the bar's handles
    // move, or when marked stale; the samples stay. A frame of zeros keeps
    // its maximum at the start value.
    void pictureFollows()
    {
        auto t = frameOf(4, 2, {0, 100, 200, 400, 0, 0, 0, 0});
        GreyScale bar;
        t->colorBar = &bar;
        QCOMPARE(pxs(*t, 0, 4), Bytes({0, 64, 128, 255}));
        t->shiftX = 1;
        QCOMPARE(pxs(*t, 0, 4), Bytes({0, 0, 64, 128}));
        bar.lower = 1.0;
        bar.upper = 0.0;
        bar.bump();
        QVERIFY(t->pictureIsStale());
        QCOMPARE(pxs(*t, 0, 4), Bytes({255, 255, 192, 128}));
        t->markPictureStale();
        QVERIFY(t->pictureIsStale());
        QCOMPARE(pxs(*t, 0, 4), Bytes({255, 255, 192, 128}));
        QVERIFY(!t->pictureIsStale() && t->value(0, 3) == 400.0);
        t->release();
        QVERIFY(t->pixelType() == TiffData::NoPixels && t->sampleMemory() == 0
                && !t->builtPicture());
        QCOMPARE(frameOf(3, 2, std::vector<quint16>(6, 0))->maximum(), 2.2250738585072014e-308);
    }

    void writer()
    {
        // 10 x 30 (rows per strip = width = 10): three strips.
        std::vector<quint16> s(300);
        for (int i = 0; i < 300; ++i)
            s[size_t(i)] = quint16(i * 211);
        QVERIFY(writeTiff16(path("w.tif"), 10, 30, s.data()));
        TIFF *t = TIFFOpen(QFile::encodeName(path("w.tif")).constData(), "r");
        QVERIFY(t);
        // Width, height, rows per strip, compression, photometric, samples,
        // bits, planar configuration, orientation; the strips.
        QVector<quint32> fields;
        for (const ttag_t tag :
             {TIFFTAG_IMAGEWIDTH, TIFFTAG_IMAGELENGTH, TIFFTAG_ROWSPERSTRIP, TIFFTAG_COMPRESSION,
              TIFFTAG_PHOTOMETRIC, TIFFTAG_SAMPLESPERPIXEL, TIFFTAG_BITSPERSAMPLE,
              TIFFTAG_PLANARCONFIG, TIFFTAG_ORIENTATION}) {
            uint32_t v32 = 0;
            uint16_t v16 = 0;
            const bool wide = fields.size() < 3;
            fields << (TIFFGetField(t, tag, wide ? static_cast<void *>(&v32) : &v16)
                           ? (wide ? v32 : v16)
                           : 0);
        }
        QCOMPARE(fields, QVector<quint32>({10, 30, 10, 1, 1, 1, 16, 1, 1}));
        QCOMPARE(int(TIFFNumberOfStrips(t)), 3);
        uint64_t *offsets = nullptr, *counts = nullptr;
        QVERIFY(TIFFGetField(t, TIFFTAG_STRIPOFFSETS, &offsets)
                && TIFFGetField(t, TIFFTAG_STRIPBYTECOUNTS, &counts));
        std::vector<uint64_t> off(offsets, offsets + 3), cnt(counts, counts + 3);
        TIFFClose(t);

        // Byte by byte: strip k holds rows 10k .. 10k+9 as little-endian samples.
        const QByteArray bytes = readFile(path("w.tif"));
        QCOMPARE(bytes.left(4), QByteArray("II*\0", 4));
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(cnt[size_t(k)], uint64_t(200));
            for (int i = 0; i < 100; ++i)
                QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + off[size_t(k)] + 2 * i),
                         s[size_t(100 * k + i)]);
        }
        // Wider than high: one strip; a flat frame reads back.
        QVERIFY(writeConstantTiff16(path("flat.tif"), 7, 3, 1));
        TiffData flat;
        QVERIFY(flat.read(path("flat.tif")));
        QCOMPARE(flat.windowSum(3, 1, 3, 1), 21.0);
        // Failures give false.
        QVERIFY(!writeTiff16(path("nodir/x.tif"), 2, 2, s.data()));
        QVERIFY(!writeTiff16(path("zero.tif"), 0, 2, s.data()));
    }
};

QTEST_GUILESS_MAIN(TestTiffData)
#include "test_tiffdata.moc"
