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
    int format = SAMPLEFORMAT_UINT, photometric = PHOTOMETRIC_MINISBLACK, compression = 1;
    const char *mode = "w";
    bool tiled = false;
    int pages = 1;
};

// A TIFF by libtiff: page p of 16 bits holds 1000 p + 10 r + c (truncated), others zeros.
bool makeTiff(const QString &path, const TiffSpec &s)
{
    TIFF *t = TIFFOpen(QFile::encodeName(path).constData(), s.mode);
    if (!t)
        return false;
    const int bytes = s.bits / 8 * s.samples, tile = s.tiled ? 16 : s.width;
    for (int p = 0; p < s.pages; ++p) {
        for (const auto &f : {std::make_pair(TIFFTAG_IMAGEWIDTH, s.width),
                              {TIFFTAG_IMAGELENGTH, s.height}, {TIFFTAG_BITSPERSAMPLE, s.bits},
                              {TIFFTAG_SAMPLESPERPIXEL, s.samples}, {TIFFTAG_SAMPLEFORMAT, s.format},
                              {TIFFTAG_PHOTOMETRIC, s.photometric},
                              {TIFFTAG_COMPRESSION, s.compression},
                              {TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG}})
            TIFFSetField(t, f.first, f.second);
        if (s.photometric == PHOTOMETRIC_PALETTE) {
            std::vector<uint16_t> map(size_t(1) << s.bits, 0);
            TIFFSetField(t, TIFFTAG_COLORMAP, map.data(), map.data(), map.data());
        }
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

// Sets the one-value entry `tag` (as a LONG) in the first directory of a little-endian TIFF.
bool patchTag(QByteArray &b, quint16 tag, quint32 value)
{
    const quint32 ifd = qFromLittleEndian<quint32>(b.constData() + 4);
    for (int i = 0, n = qFromLittleEndian<quint16>(b.constData() + ifd); i < n; ++i) {
        char *e = b.data() + ifd + 2 + 12 * i;
        if (qFromLittleEndian<quint16>(e) == tag) {
            qToLittleEndian<quint16>(4, e + 2);
            qToLittleEndian<quint32>(value, e + 8);
            return true;
        }
    }
    return false;
}

// A TIFF whose pixel data (between the header and the first directory) is all 0xff.
QByteArray spoiled(QByteArray b)
{
    const int ifd = qMin(int(qFromLittleEndian<quint32>(b.constData() + 4)), b.size());
    return b.replace(8, ifd - 8, QByteArray(ifd - 8, char(0xff)));
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
    // Frames read: 16-bit grey TIFFs (10 r + c) of any byte order, compression, strips or tiles,
    // first page of several; IMG (size from the binary header, 32 bits if "BytesPerPixel=4", a
    // value cut at "," or a zero byte); KVMX (values x 500, < 0 or missing 0, blank line a pixel).
    void frames_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("sampleBytes");
        QTest::addColumn<QVector<double>>("values");
        const int none = COMPRESSION_NONE, deflate = COMPRESSION_ADOBE_DEFLATE;
        const struct { const char *name, *mode; int compression, w, h; bool tiled; int pages; }
            tiffs[] = {{"little-endian", "wl", none, 5, 3, false, 1},
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
            QCOMPARE(b.left(2), QByteArray(t.mode[1] == 'b' ? "MM" : "II")); // as asked for
            QTest::newRow(t.name) << b << QSize(t.w, t.h) << 2 << v;
        }
        using V = QVector<double>;
        auto row = [](const char *name, const QByteArray &b, QSize size, int bytes, const V &v) {
            QTest::newRow(name) << b << size << bytes << v;
        };
        const QByteArray lf("Memo=a\r\nb\r\n,BytesPerPixel=4\r\n");
        row("IMG 16", imgFile(3, 2, "Prop_ImageWidth=3,Prop_ImageHeight=2,BytesPerPixel=2", 2,
                              {7, 65535, 0, 1, 2, 300}), {3, 2}, 2, {7, 65535, 0, 1, 2, 300});
        row("IMG 32", imgFile(2, 2, "x=1,BytesPerPixel=4,Prop_ImageWidth=2,Prop_ImageHeight=2", 4,
                              {5, 4000000000u, 70000, 9}), {2, 2}, 4, {5, 4000000000.0, 70000, 9});
        row("IMG header wins", imgFile(2, 1, "Prop_ImageWidth=5,Prop_ImageHeight=5", 2, {11, 12}),
            {2, 1}, 2, {11, 12});
        row("IMG zero byte", imgFile(1, 1, {"BytesPerPixel=4\0junk,more", 25}, 4, {123456}),
            {1, 1}, 4, {123456});
        row("IMG CR LF", imgFile(1, 1, lf, 4, {77}), {1, 1}, 4, {77});
        row("IMG height 0", imgFile(4, 0, "", 2, {}), {4, 0}, 2, {});
        row("KVMX", "#KVMX-CTImg\n# range_x0 = 10\n# RANGE_X1 : 13.9\n# RANGE_Y0 = 0\n"
                    "# RANGE_Y1 = 2\n10 0 0.01\n11 0 -0.01\n12 0 2.5\n10 1 1e-3\n",
            {3, 2}, 4, {5, 0, 1250, double(float(0.5)), 0, 0});
        row("KVMX blank line", "#KVMX-CTImg\n# RANGE_X1 = 2\n# RANGE_Y1 = 1\n\n0 0 3\n", {2, 1}, 4,
            {0, 1500});
    }

    void frames()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QSize, size);
        QFETCH(int, sampleBytes);
        QFETCH(QVector<double>, values);
        const int w = size.width(), h = size.height();
        TiffData d;
        QVERIFY(writeFile(path("frame"), bytes) && d.read(path("frame")));
        QCOMPARE(QVector<qint64>({d.width(), d.height(), d.bytesPerPixel(), d.sampleMemory()}),
                 QVector<qint64>({w, h, sampleBytes, w * h * sampleBytes}));
        for (int i = 0; i < w * h; ++i)
            QCOMPARE(d.value(i / w, i % w), values[i]);
        QVERIFY(values.isEmpty()
                || (d.minimum() == *std::min_element(values.begin(), values.end())
                    && d.maximum() == *std::max_element(values.begin(), values.end())));
        // Outside the frame every value is 0; the picture waits until the frame is shown.
        QVERIFY(d.value(h, 0) == 0 && d.value(-1, 0) == 0 && d.value(0, w) == 0);
        QVERIFY(!d.builtPicture() && d.picture().size() == (h ? size : QSize(0, 0)));
    }

    // Non-frames, damaged and fuzzed frames: refused with their log lines ("%1": the path),
    // nothing large allocated. Without `exact` the line given starts the last line logged.
    void hostileFrames_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // null: no file is written
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("exact");
        using L = QStringList;
        const QString big = "Frame size out of range: %1 %2"; // %2: the path
        auto row = [](const char *name, const QByteArray &b, const L &lines, bool exact = true) {
            QTest::newRow(name) << b << lines << exact;
        };
        row("missing", QByteArray(), {"Can not open (1) %1"});
        row("/dev/zero", QByteArray(), {"Not a regular file: %1"});
        row("short", QByteArray("II*\0short", 9), {"Error on reading file (1) %1"});
        row("other", "PK\3\4 this is no frame at all", {});
        row("almost KVMX", "#KVMX-CTIm\n# RANGE_X1 = 2\n", {}); // one character short
        const int uint = SAMPLEFORMAT_UINT, grey = PHOTOMETRIC_MINISBLACK;
        // Layouts other than 16-bit unsigned grey.
        const struct { const char *name; int bits, samples, format, photometric; const char *what; }
            layouts[] = {{"u8", 8, 1, uint, grey, "8-bit unsigned grey, 1"},
                         {"u32", 32, 1, uint, grey, "32-bit unsigned grey, 1"},
                         {"f32", 32, 1, SAMPLEFORMAT_IEEEFP, grey, "32-bit float grey, 1"},
                         {"rgb", 16, 3, uint, PHOTOMETRIC_RGB, "16-bit unsigned RGB, 3"},
                         {"palette", 8, 1, uint, PHOTOMETRIC_PALETTE, "8-bit unsigned palette, 1"},
                         {"s16", 16, 1, SAMPLEFORMAT_INT, grey, "16-bit signed grey, 1"}};
        for (const auto &l : layouts)
            row(l.name, tiffBytes({4, 3, l.bits, l.samples, l.format, l.photometric}),
                {QString("Unsupported TIFF (only 16-bit unsigned grey is read): %1 is %2 sample(s) "
                         "per pixel").arg("%1", l.what)});
        // Garbage behind a TIFF magic; pixel data that does not decode fails the read.
        row("TIFF garbage", QByteArray("II*\0\xff\xff\xff\x7f garbage garbage", 24),
            {"TIFF error:"}, false);
        const int deflate = COMPRESSION_ADOBE_DEFLATE;
        row("bad deflate strip", spoiled(tiffBytes({64, 64, 16, 1, uint, grey, deflate})),
            {"Error on reading TIFF scanline 0 %1"}, false);
        row("bad deflate tile", spoiled(tiffBytes({20, 20, 16, 1, uint, grey, deflate, "w", true})),
            {"Error on reading TIFF tile 0 0 %1"}, false);
        // 65535 x 70000 refused before any row is allocated; 1 x 268,435,456 samples in one strip
        // of a few hundred bytes; 16384 x 16384 uncompressed samples in a small file.
        QByteArray wide = tiffBytes({1, 70000});
        QVERIFY(patchTag(wide, TIFFTAG_IMAGEWIDTH, 65535));
        row("TIFF 65535 x 70000", wide, {big.arg("65535 70000", "%1")});
        const QByteArray tiff = tiffBytes({1, 64});
        QByteArray tall = tiff, square = tiff;
        QVERIFY(patchTag(tall, TIFFTAG_IMAGELENGTH, 268435456)
                && patchTag(tall, TIFFTAG_ROWSPERSTRIP, 268435456));
        row("TIFF 1 x 268435456", tall, {big.arg("1 268435456", "%1")}, false);
        for (const quint16 tag : {TIFFTAG_IMAGEWIDTH, TIFFTAG_IMAGELENGTH, TIFFTAG_ROWSPERSTRIP})
            QVERIFY(patchTag(square, tag, 16384));
        row("TIFF 16384 x 16384", square, {"TIFF frame larger than its file: 16384 16384 %1"},
            false);
        // IMG data a sample short (16, 32 bits); sizes far beyond 100 bytes; a comment too long.
        const QString invalid = "invalid file size. expected (h,w) = %1";
        const std::vector<quint32> few(18, 0);
        row("IMG short 16", imgFile(3, 2, "", 2, std::vector<quint32>(5, 1)),
            {invalid.arg("2 3"), "Error on reading (3) %1"});
        row("IMG short 32", imgFile(2, 2, "BytesPerPixel=4", 4, std::vector<quint32>(3, 1)),
            {invalid.arg("2 2"), "Error on reading (2) %1"});
        row("IMG 65535 x 65535", imgFile(65535, 65535, "", 2, few), {big.arg("65535 65535", "%1")});
        row("IMG 16000 x 30", imgFile(16000, 30, "", 2, few),
            {invalid.arg("30 16000"), "Error on reading (3) %1"});
        row("IMG 60000 x 30", imgFile(60000, 30, "", 2, few), {big.arg("60000 30", "%1")});
        QByteArray comment = imgFile(1, 1, "", 2, {1});
        qToLittleEndian<quint16>(60000, comment.data() + 2);
        row("IMG comment past the end", comment,
            {"IMG comment runs past the end of the file: 60000 %1"});
        // KVMX ranges equal, absurd, too large, beyond the file (86 bytes); lines without an end.
        const QByteArray kvmx = "#KVMX-CTImg\n";
        row("KVMX equal ranges", kvmx + "# RANGE_X0 = 4\n# RANGE_X1 = 4\n# RANGE_Y1 = 3\n1 1 1\n",
            {}, false);
        row("KVMX 1e300", kvmx + "# RANGE_X1 = 1e300\n# RANGE_Y1 = 3\n1 1 1\n", {}, false);
        row("KVMX 20000 x 20000", kvmx + "# RANGE_X1 = 20000\n# RANGE_Y1 = 20000\n",
            {big.arg("20000 20000", "%1")}, false);
        row("KVMX 1 x 268435456", kvmx + "# RANGE_X1 = 1\n# RANGE_Y1 = 268435456\n",
            {big.arg("1 268435456", "%1")}, false);
        const QByteArray empty =
            kvmx + "# RANGE_X0 = 0\n# RANGE_X1 = 16384\n# RANGE_Y0 = 0\n# RANGE_Y1 = 16384\n";
        row("KVMX 16384 x 16384, no data", empty, {QString("KVMX ranges out of proportion to the "
            "file: 16384 16384 %1 bytes %2").arg(empty.size()).arg("%1")}, false);
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
        QVERIFY(bytes.isNull() || writeFile(at, bytes));
        LogCapture log;
        TiffData d;
        QVERIFY(!d.read(at));
        lines.replaceInStrings("%1", at);
        if (exact)
            QCOMPARE(log.lines(), lines);
        else
            QVERIFY2(log.lines().value(log.lines().size() - 1).startsWith(lines.value(0)),
                     qPrintable(log.lines().join('|')));
        QVERIFY(d.sampleMemory() == 0 && d.pixelType() == TiffData::NoPixels && d.value(0, 0) == 0.0
                && d.windowSum(0, 0, 3, 3) == 0.0 && d.picture().isNull());
    }

    // Sums over a 4 x 3 frame, value = 10 * r + c (138 in all), at centre (x, y) with half
    // sizes (hw, hh), the frame shifted by (sx, sy). Half sizes as a script may set them
    // ("set_band_w 2147483647"): any centre and shift, never an overflow.
    void windowSums()
    {
        auto d = frameOf(4, 3, {0, 1, 2, 3, 10, 11, 12, 13, 20, 21, 22, 23});
        const struct { int x, y, hw, hh, sx, sy; double sum; } rows[] = {
            // Rows 0..2, cols 0..2: 3 (0 + 1 + 2) + 3 (0 + 10 + 20), also for negative halves;
            // the corner 0 + 1 + 10 + 11; far left, far below; a sum, not a mean.
            {1, 1, 1, 1, 0, 0, 99}, {1, 1, -1, -1, 0, 0, 99}, {0, 0, 1, 1, 0, 0, 22},
            {-5, 1, 1, 1, 0, 0, 0}, {2, 40, 0, 0, 0, 0, 0}, {1, 1, 10, 10, 0, 0, 138},
            // Shift (2, 0): the sum at x reads column x - 2; then uncovered, a window.
            {2, 1, 0, 0, 2, 0, 10},   {5, 2, 0, 0, 2, 0, 23}, {1, 1, 0, 0, 2, 0, 0},
            {3, 1, 1, 0, 2, 0, 33},   {0, 0, 0, 0, 0, -1, 10}, {0, 2, 0, 0, 0, -1, 0}, // shift y
            {1, 1, INT_MAX, INT_MAX, 0, 0, 138}, {1, 1, INT_MIN, INT_MIN, 0, 0, 138},
            {INT_MIN, INT_MAX, INT_MIN, INT_MIN, 0, 0, 30}, // column 0 only: the window ends there
            {INT_MAX, 0, INT_MAX, INT_MAX, INT_MAX, INT_MAX, 6}, // row 0 after a shift of INT_MAX
            {1, 2, INT_MAX, 0, 0, 0, 86}, // row 2: 20 + 21 + 22 + 23
            {INT_MIN, 0, 3, 3, INT_MAX, INT_MAX, 0}};
        for (const auto &r : rows) {
            d->shiftX = r.sx;
            d->shiftY = r.sy;
            QCOMPARE(d->windowSum(r.x, r.y, r.hw, r.hh), r.sum);
        }
    }

    // Pictures: t = (value - min) / (max - min), grey int(256 t') clamped, t' = (t - lower) /
    // (upper - lower) clamped to 0..1 (the bar's handles); pixels uncovered by a shift show 0.
    void pictures_data()
    {
        QTest::addColumn<int>("type"); // 0: 16-bit, 1: 32-bit, 2: float samples
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QVector<double>>("samples");
        QTest::addColumn<QPoint>("shift");
        QTest::addColumn<QPointF>("handles");
        QTest::addColumn<Bytes>("grey");
        using S = QVector<double>;
        auto row = [](const char *name, int type, QSize size, const S &samples, QPoint shift,
                      QPointF handles, const Bytes &grey) {
            QTest::newRow(name) << type << size << samples << shift << handles << grey;
        };
        const S up{0, 100, 200, 400}, ramp{100, 150, 200, 250, 300, 300, 250, 200, 150, 100};
        const QPointF plain(0, 1);
        row("16", 0, {4, 1}, up, {}, plain, {0, 64, 128, 255});
        row("32", 1, {4, 1}, {1000, 1100, 1200, 1400}, {}, plain, {0, 64, 128, 255});
        row("float", 2, {4, 1}, {-0.5, 0, 0.5, 1.5}, {}, plain, {0, 64, 128, 255});
        row("shift right", 0, {5, 2}, ramp, {2, 0}, plain, {0, 0, 0, 64, 128, 0, 0, 255, 192, 128});
        row("handles", 0, {5, 2}, ramp, {}, {0.25, 0.75},
            {0, 0, 128, 255, 255, 255, 255, 128, 0, 0});
        row("inverted, shift down", 0, {5, 2}, ramp, {0, 1}, {1, 0},
            {255, 255, 255, 255, 255, 255, 192, 128, 64, 0});
        // No division by zero: every t is 0.
        row("all zero", 0, {3, 2}, S(6, 0), {}, plain, Bytes(6, 0));
        row("all equal", 0, {3, 2}, S(6, 7), {1, 0}, plain, Bytes(6, 0));
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
            const std::vector<decltype(zero)> v(samples.begin(), samples.end());
            return TiffData::fromSamples(w, h, v.data());
        };
        std::unique_ptr<TiffData> d(type == 0   ? made(quint16())
                                    : type == 1 ? made(quint32()) : made(float()));
        GreyScale bar;
        bar.lower = handles.x();
        bar.upper = handles.y();
        d->colorBar = &bar;
        d->shiftX = shift.x();
        d->shiftY = shift.y();
        Bytes got;
        for (int r = 0; r < h; ++r)
            got += pxs(*d, r * d->picture().bytesPerLine(), w);
        QCOMPARE(got, grey);
    }

    // A built picture is built again when the shift or the bar's handles move or when marked stale.
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
        QCOMPARE(pxs(*t, 0, 4), Bytes({255, 255, 192, 128}));
        t->markPictureStale();
        QCOMPARE(pxs(*t, 0, 4), Bytes({255, 255, 192, 128}));
        QVERIFY(!t->pictureIsStale() && t->value(0, 3) == 400.0);
        t->release();
        QVERIFY(t->pixelType() == TiffData::NoPixels && t->sampleMemory() == 0
                && !t->builtPicture());
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
        // Width, height, rows per strip, compression, photometric, samples, bits, planar, orient.
        QVector<quint32> fields;
        for (const ttag_t tag :
             {TIFFTAG_IMAGEWIDTH, TIFFTAG_IMAGELENGTH, TIFFTAG_ROWSPERSTRIP, TIFFTAG_COMPRESSION,
              TIFFTAG_PHOTOMETRIC, TIFFTAG_SAMPLESPERPIXEL, TIFFTAG_BITSPERSAMPLE,
              TIFFTAG_PLANARCONFIG, TIFFTAG_ORIENTATION}) {
            uint32_t v32 = 0;
            uint16_t v16 = 0;
            const bool wide = fields.size() < 3;
            const bool got = TIFFGetField(t, tag, wide ? static_cast<void *>(&v32) : &v16);
            fields << (got ? (wide ? v32 : v16) : 0);
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
        TiffData flat;
        QVERIFY(writeConstantTiff16(path("flat.tif"), 7, 3, 1) && flat.read(path("flat.tif")));
        QCOMPARE(flat.windowSum(3, 1, 3, 1), 21.0);
        QVERIFY(!writeTiff16(path("nodir/x.tif"), 2, 2, s.data())
                && !writeTiff16(path("zero.tif"), 0, 2, s.data())); // failures give false
    }
};

QTEST_GUILESS_MAIN(TestTiffData)
#include "test_tiffdata.moc"
