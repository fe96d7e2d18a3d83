#include "input/TiffData.h"

#include "app/TextNumbers.h"
#include "app/Tokenizer.h"
#include "input/GreyScale.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <tiffio.h>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include <algorithm>
#include <new>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <mutex>
#include <vector>

namespace {

const double rangeMinStart = 1.7976931348623157e308;
const double rangeMaxStart = 2.2250738585072014e-308;

// libtiff talks through process-wide handlers; these put its words into the
// debug log, one line per message.
void tiffMessage(const char *kind, const char *module, const char *fmt, va_list ap)
{
    char text[1024];
    std::vsnprintf(text, sizeof text, fmt, ap);
    if (module && *module)
        qDebug().noquote() << kind << QString::fromLocal8Bit(module)
                           << QString::fromLocal8Bit(text);
    else
        qDebug().noquote() << kind << QString::fromLocal8Bit(text);
}

void tiffWarning(const char *module, const char *fmt, va_list ap)
{
    tiffMessage("TIFF warning:", module, fmt, ap);
}

void tiffError(const char *module, const char *fmt, va_list ap)
{
    tiffMessage("TIFF error:", module, fmt, ap);
}

QByteArray nativeName(const QString &fileName)
{
    return QFile::encodeName(fileName);
}

template <typename T>
void rowRange(const T *row, int n, double &lo, double &hi)
{
    if (n <= 0)
        return;
    T mn = row[0], mx = row[0];
    for (int c = 1; c < n; ++c) {
        mn = row[c] < mn ? row[c] : mn;
        mx = row[c] > mx ? row[c] : mx;
    }
    if (double(mn) < lo)
        lo = double(mn);
    if (double(mx) > hi)
        hi = double(mx);
}

bool frameSizeAcceptable(qint64 w, qint64 h, const QString &fileName)
{
    // Each side is bounded as well as the total: a frame one sample wide
    // and hundreds of millions long passes the total alone.
    if (w < 0 || h < 0 || w > TiffData::maxFrameSide || h > TiffData::maxFrameSide
        || w * h > TiffData::maxFrameSamples) {
        qDebug().noquote() << "Frame size out of range:" << w << h << fileName;
        return false;
    }
    return true;
}

bool regularFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    if (info.exists() && !info.isFile()) {
        qDebug().noquote() << "Not a regular file:" << fileName;
        return false;
    }
    return true;
}

void outOfMemory(qint64 w, qint64 h, const QString &fileName)
{
    qDebug().noquote() << "Not enough memory for a frame of" << w << h << fileName;
}

QString describeTiff(int bits, int samples, int format, int photometric)
{
    QString fmt;
    switch (format) {
    case SAMPLEFORMAT_UINT:
        fmt = QStringLiteral("unsigned");
        break;
    case SAMPLEFORMAT_INT:
        fmt = QStringLiteral("signed");
        break;
    case SAMPLEFORMAT_IEEEFP:
        fmt = QStringLiteral("float");
        break;
    default:
        fmt = QStringLiteral("sample format %1").arg(format);
        break;
    }
    QString kind;
    switch (photometric) {
    case PHOTOMETRIC_MINISWHITE:
    case PHOTOMETRIC_MINISBLACK:
        kind = QStringLiteral("grey");
        break;
    case PHOTOMETRIC_RGB:
        kind = QStringLiteral("RGB");
        break;
    case PHOTOMETRIC_PALETTE:
        kind = QStringLiteral("palette");
        break;
    case PHOTOMETRIC_SEPARATED:
        kind = QStringLiteral("CMYK");
        break;
    case PHOTOMETRIC_YCBCR:
        kind = QStringLiteral("YCbCr");
        break;
    default:
        kind = QStringLiteral("photometric %1").arg(photometric);
        break;
    }
    return QStringLiteral("%1-bit %2 %3, %4 sample(s) per pixel")
        .arg(bits)
        .arg(fmt, kind)
        .arg(samples);
}

// Value of `key` in an IMG comment: the text after its first occurrence up to
// the next "," (or the end), cut at a zero byte.
QByteArray imgCommentValue(const QByteArray &comment, const char *key, const char *dflt)
{
    const int at = comment.indexOf(key);
    if (at < 0)
        return QByteArray(dflt);
    const int from = at + int(std::strlen(key));
    int to = comment.indexOf(',', from);
    if (to < 0)
        to = comment.size();
    QByteArray v = comment.mid(from, to - from);
    const int zero = v.indexOf('\0');
    if (zero >= 0)
        v.truncate(zero);
    return v;
}

// Third item of a KVMX data line as a double; 0 when missing or not a number.
double kvmxValue(const QString &line)
{
    QString item;
    QString rest = nextItem(line, item);
    rest = nextItem(rest, item);
    nextItem(rest, item);
    bool ok = false;
    const double v = item.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

// One value of a KVMX range key, truncated to an integer; text that does
// not parse counts as 0. False for a value no frame could have.
bool kvmxRangeValue(const QString &text, qint64 &out)
{
    bool ok = false;
    const double v = text.toDouble(&ok);
    out = 0;
    if (!ok)
        return true;
    if (!std::isfinite(v) || std::fabs(v) > 1e9)
        return false;
    out = qint64(v);
    return true;
}

// Pixels a KVMX frame may declare per byte of its file.
const qint64 kvmxPixelsPerByte = 16;

// The lines of a text file, each at most maxLine bytes. A longer line (a
// file with no line breaks at all) ends the reading with a log line rather
// than being gathered in memory whole.
class BoundedLines
{
public:
    static constexpr int maxLine = 65536;
    explicit BoundedLines(QFile &f)
        : file(f)
        , buf(maxLine + 2, '\0')
    {
    }
    // The next line without its line end; false at the end of the file and
    // at a line over the bound.
    bool next(QString &line)
    {
        if (overlong)
            return false;
        const qint64 n = file.readLine(buf.data(), buf.size());
        if (n <= 0)
            return false;
        qint64 len = n;
        if (buf[int(len - 1)] == '\n') {
            --len;
            if (len > 0 && buf[int(len - 1)] == '\r')
                --len;
        } else if (!file.atEnd()) {
            overlong = true;
            qDebug().noquote() << "Line longer than" << maxLine << "bytes in" << file.fileName();
            return false;
        }
        line = QString::fromUtf8(buf.constData(), int(len));
        return true;
    }
    bool tooLong() const { return overlong; }

private:
    QFile &file;
    QByteArray buf;
    bool overlong = false;
};

} // namespace

void installTiffLogHandlers()
{
    static std::once_flag once;
    std::call_once(once, [] {
        TIFFSetWarningHandler(&tiffWarning);
        TIFFSetErrorHandler(&tiffError);
    });
}

TiffData::TiffData() = default;

TiffData::~TiffData()
{
    release();
}

bool TiffData::allocSamples(qint64 rowBytes)
{
    const qint64 total = rowBytes * lines;
    if (rowBytes < 1 || lines < 1 || total > (qint64(1) << 40))
        return false;
    // A frame is a few megabytes of fresh memory. Faulting it in page by page
    // costs more than reading the file, so large frames ask for huge pages.
    const size_t huge = size_t(2) << 20;
    void *p = nullptr;
    if (size_t(total) >= huge) {
        if (posix_memalign(&p, huge, size_t(total)) != 0)
            p = nullptr;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
        if (p) {
            const size_t whole = size_t(total) / huge * huge;
            madvise(p, whole, MADV_HUGEPAGE);
#if defined(MADV_POPULATE_WRITE)
            // The rest is in small pages: have them mapped in one call
            // rather than one fault each (older kernels just refuse).
            const size_t page = 4096;
            const size_t tail = whole / page * page;
            if (size_t(total) > tail)
                madvise(static_cast<char *>(p) + tail, size_t(total) - tail, MADV_POPULATE_WRITE);
#endif
        }
#endif
    } else {
        p = std::malloc(size_t(total));
    }
    if (!p)
        return false;
    std::free(block);
    block = p;
    return true;
}

void TiffData::release()
{
    pic = QImage();
    hasPicture = false;
    staleMark = false;
    picBar = nullptr;
    std::free(block);
    block = nullptr;
    fileName.clear();
    sampleBytes = 2;
    cols = 0;
    lines = 0;
    resetRange();
    energy = 0.0;
    shiftX = 0;
    shiftY = 0;
    type = NoPixels;
}

qint64 TiffData::sampleMemory() const
{
    return block ? qint64(cols) * lines * sampleBytes : 0;
}

template <typename T>
void TiffData::takeRange()
{
    for (int r = 0; r < lines; ++r)
        rowRange(static_cast<const T *>(rowAt(r)), cols, lo, hi);
}

template <typename T>
TiffData *TiffData::frameOfSamples(int width, int height, const T *samples, PixelType type,
                                   const QString &fileName)
{
    if (width < 1 || height < 1 || !frameSizeAcceptable(width, height, fileName) || !samples)
        return nullptr;
    auto *f = new (std::nothrow) TiffData;
    if (!f) {
        outOfMemory(width, height, fileName);
        return nullptr;
    }
    f->cols = width;
    f->lines = height;
    f->sampleBytes = int(sizeof(T));
    if (!f->allocSamples(qint64(width) * qint64(sizeof(T)))) {
        outOfMemory(width, height, fileName);
        delete f;
        return nullptr;
    }
    std::memcpy(f->block, samples, size_t(width) * size_t(height) * sizeof(T));
    f->fileName = fileName;
    f->type = type;
    f->takeRange<T>();
    return f;
}

TiffData *TiffData::fromSamples(int width, int height, const quint16 *samples,
                                const QString &fileName)
{
    return frameOfSamples(width, height, samples, UShortRows, fileName);
}

TiffData *TiffData::fromSamples(int width, int height, const quint32 *samples,
                                const QString &fileName)
{
    return frameOfSamples(width, height, samples, UIntRows, fileName);
}

TiffData *TiffData::fromSamples(int width, int height, const float *samples,
                                const QString &fileName)
{
    return frameOfSamples(width, height, samples, FloatRows, fileName);
}

void TiffData::resetRange()
{
    lo = rangeMinStart;
    hi = rangeMaxStart;
}

bool TiffData::hasPixels() const
{
    return block && type >= UShortRows && type <= FloatRows && lines > 0 && cols > 0;
}

double TiffData::value(int row, int col) const
{
    if (!hasPixels() || row < 0 || row >= lines || col < 0 || col >= cols)
        return 0.0;
    const void *r = rowAt(row);
    switch (type) {
    case UShortRows:
        return static_cast<const quint16 *>(r)[col];
    case UIntRows:
        return static_cast<const quint32 *>(r)[col];
    case FloatRows:
        return static_cast<const float *>(r)[col];
    default:
        return 0.0;
    }
}

bool TiffData::read(const QString &fName)
{
    // A device or a pipe has no length to check a header against (and
    // /dev/zero never ends): frames come from regular files only.
    if (!regularFile(fName))
        return false;
    QFile f(fName);
    if (!f.open(QIODevice::ReadOnly)) {
        qDebug().noquote() << "Can not open (1)" << fName;
        return false;
    }
    char magic[15];
    if (f.read(magic, 15) < 15) {
        qDebug().noquote() << "Error on reading file (1)" << fName;
        return false;
    }
    f.close();
    if ((magic[0] == 'I' && magic[1] == 'I') || (magic[0] == 'M' && magic[1] == 'M'))
        return readTiff(fName);
    if (magic[0] == 'I' && magic[1] == 'M')
        return readImg(fName);
    static const char kvmx[] = "#KVMX-CTImg";
    if (qstrnlen(magic, 15) >= 11 && std::memcmp(magic, kvmx, 11) == 0)
        return readKvmxText(fName);
    return false;
}

bool TiffData::readTiff(const QString &fName)
{
    installTiffLogHandlers();
    release();
    // "m": no memory map, so uncompressed strips go from the file straight
    // into the samples; "c": no chopping of one big strip into small reads.
    TIFF *tif = TIFFOpen(nativeName(fName).constData(), "rmc");
    if (!tif)
        return false;
    fileName = fName;
    resetRange();

    uint32_t w = 0, h = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
    uint16_t bits = 1, spp = 1, format = SAMPLEFORMAT_UINT, photometric = PHOTOMETRIC_MINISBLACK;
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &spp);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &format);
    TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);

    // Only one layout is read: one 16-bit unsigned grey sample per pixel.
    // Anything else would be misread as 16-bit samples (and run past the
    // samples), so it is turned away here.
    if (bits != 16 || spp != 1 || format != SAMPLEFORMAT_UINT
        || (photometric != PHOTOMETRIC_MINISBLACK && photometric != PHOTOMETRIC_MINISWHITE)) {
        qDebug().noquote() << "Unsupported TIFF (only 16-bit unsigned grey is read):" << fName
                           << "is" << describeTiff(bits, spp, format, photometric);
        TIFFClose(tif);
        return false;
    }
    if (!frameSizeAcceptable(w, h, fName)) {
        TIFFClose(tif);
        return false;
    }
    cols = int(w);
    lines = int(h);
    const tmsize_t line = h > 0 ? TIFFScanlineSize(tif) : 0;
    if (h > 0 && line != tmsize_t(w) * 2) {
        qDebug().noquote() << "Unsupported TIFF (scanline size does not fit the width):" << fName;
        TIFFClose(tif);
        release();
        return false;
    }
    // Uncompressed samples must all be in the file. (Compressed ones have
    // no such bound: a flat field may shrink to almost nothing. Their
    // memory is only touched as rows decode, and a bad row ends the read.)
    if (compression == COMPRESSION_NONE && qint64(w) * h * 2 > QFileInfo(fName).size()) {
        qDebug().noquote() << "TIFF frame larger than its file:" << w << h << fName;
        TIFFClose(tif);
        release();
        return false;
    }

    type = UShortRows;
    if (lines > 0 && !allocSamples(line)) {
        outOfMemory(cols, lines, fName);
        TIFFClose(tif);
        release();
        return false;
    }
    const bool ok = TIFFIsTiled(tif)                  ? readTiles(tif)
                    : compression == COMPRESSION_NONE ? readStrips(tif)
                                                      : readScanlines(tif);
    TIFFClose(tif);
    if (!ok) {
        release();
        return false;
    }
    takeRange<quint16>();
    return true;
}

bool TiffData::readStrips(void *handle)
{
    TIFF *tif = static_cast<TIFF *>(handle);
    uint32_t perStrip = 0;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &perStrip);
    if (perStrip < 1 || perStrip > uint32_t(lines))
        perStrip = uint32_t(lines);
    const tmsize_t line = tmsize_t(cols) * 2;
    for (qint64 first = 0; first < lines; first += perStrip) {
        const qint64 n = std::min<qint64>(perStrip, lines - first);
        const uint32_t strip = TIFFComputeStrip(tif, uint32_t(first), 0);
        if (TIFFReadEncodedStrip(tif, strip, rowAt(int(first)), tmsize_t(n) * line)
            != tmsize_t(n) * line) {
            qDebug().noquote() << "Error on reading TIFF scanline" << first << fileName;
            return false;
        }
    }
    return true;
}

bool TiffData::readScanlines(void *handle)
{
    TIFF *tif = static_cast<TIFF *>(handle);
    for (int r = 0; r < lines; ++r) {
        if (TIFFReadScanline(tif, rowAt(r), uint32_t(r), 0) < 0) {
            qDebug().noquote() << "Error on reading TIFF scanline" << r << fileName;
            return false;
        }
    }
    return true;
}

bool TiffData::readTiles(void *handle)
{
    TIFF *tif = static_cast<TIFF *>(handle);
    uint32_t tw = 0, tl = 0;
    TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tw);
    TIFFGetField(tif, TIFFTAG_TILELENGTH, &tl);
    const tmsize_t tileBytes = TIFFTileSize(tif);
    const tmsize_t tileRowBytes = tmsize_t(tw) * 2;
    // Tile sizes come from the file too: a tile larger than 64 MiB is no
    // tile of a detector frame.
    if (tw < 1 || tl < 1 || tileBytes < tileRowBytes * tmsize_t(tl)
        || tileBytes > (tmsize_t(64) << 20)) {
        qDebug().noquote() << "Unsupported TIFF (tile size does not fit):" << tw << tl << fileName;
        return false;
    }
    auto *tile = static_cast<uchar *>(_TIFFmalloc(tileBytes));
    if (!tile) {
        outOfMemory(cols, lines, fileName);
        return false;
    }
    for (qint64 y = 0; y < lines; y += tl) {
        for (qint64 x = 0; x < cols; x += tw) {
            if (TIFFReadTile(tif, tile, uint32_t(x), uint32_t(y), 0, 0) < 0) {
                qDebug().noquote() << "Error on reading TIFF tile" << x << y << fileName;
                _TIFFfree(tile);
                return false;
            }
            const qint64 rowsIn = std::min<qint64>(tl, lines - y);
            const size_t bytes = size_t(std::min<qint64>(tw, cols - x)) * 2;
            for (qint64 r = 0; r < rowsIn; ++r)
                std::memcpy(static_cast<uchar *>(rowAt(int(y + r))) + x * 2,
                            tile + r * tileRowBytes, bytes);
        }
    }
    _TIFFfree(tile);
    return true;
}

int TiffData::readImgHeader(const QString &fName)
{
    release();
    QFile f(fName);
    if (!f.open(QIODevice::ReadOnly)) {
        qDebug().noquote() << "Can not open" << fName << QStringLiteral("[%1]").arg(int(f.error()));
        return 0;
    }
    uchar head[10];
    if (f.read(reinterpret_cast<char *>(head), 10) < 10) {
        qDebug().noquote() << "Error on reading (4)" << fName;
        return 0;
    }
    const qint64 fileSize = f.size();
    f.close();
    const int commentLength = qFromLittleEndian<quint16>(head + 2);
    const int headerWidth = qFromLittleEndian<quint16>(head + 4);
    const int headerHeight = qFromLittleEndian<quint16>(head + 6);

    // The comment is read as it is stored: a text-mode read would drop the
    // carriage returns of a comment with CR LF line ends and come up short.
    if (!f.open(QIODevice::ReadOnly)) {
        qDebug().noquote() << "Can not open" << fName;
        return 0;
    }
    // The comment length comes from the file: it must fit in the file.
    if (qint64(64) + commentLength > fileSize || !f.seek(64)) {
        qDebug().noquote() << "IMG comment runs past the end of the file:" << commentLength
                           << fName;
        return 0;
    }
    const QByteArray comment = f.read(commentLength);
    if (comment.size() < commentLength) {
        qDebug().noquote() << "IMG comment runs past the end of the file:" << commentLength
                           << fName;
        return 0;
    }
    sampleBytes = qint16(intOfText(imgCommentValue(comment, "BytesPerPixel=", "2")));
    // The binary header decides the size (the comment's sizes are not used).
    cols = headerWidth;
    lines = headerHeight;
    f.close();
    return 64 + commentLength;
}

bool TiffData::readImg(const QString &fName)
{
    const int offset = readImgHeader(fName);
    if (offset < 1)
        return false;
    fileName = fName;
    resetRange();
    QFile f(fName);
    if (!f.open(QIODevice::ReadOnly)) {
        qDebug().noquote() << "Can not open (2)" << fName;
        return false;
    }
    const bool wide = sampleBytes == 4;
    const char *errorText = wide ? "Error on reading (2)" : "Error on reading (3)";
    auto shortFile = [&] {
        qDebug().noquote() << "invalid file size. expected (h,w) =" << lines << cols;
        qDebug().noquote() << errorText << fName;
    };
    if (!frameSizeAcceptable(cols, lines, fName))
        return false;
    sampleBytes = wide ? 4 : 2;
    // The size is checked against the file before any sample is allocated.
    if (f.size() - offset < qint64(cols) * lines * sampleBytes || !f.seek(offset)) {
        shortFile();
        return false;
    }
    type = wide ? UIntRows : UShortRows;
    const qint64 bytes = qint64(cols) * lines * sampleBytes;
    if (lines > 0 && !allocSamples(qint64(cols) * sampleBytes)) {
        outOfMemory(cols, lines, fName);
        release();
        return false;
    }
    // The samples are stored as they lie in memory: one read fills them all.
    if (bytes > 0 && f.read(static_cast<char *>(block), bytes) < bytes) {
        shortFile();
        release();
        return false;
    }
    f.close();
#if Q_BYTE_ORDER == Q_BIG_ENDIAN
    const qint64 n = qint64(cols) * lines;
    if (wide) {
        auto *p = static_cast<quint32 *>(block);
        for (qint64 i = 0; i < n; ++i)
            p[i] = qFromLittleEndian(p[i]);
    } else {
        auto *p = static_cast<quint16 *>(block);
        for (qint64 i = 0; i < n; ++i)
            p[i] = qFromLittleEndian(p[i]);
    }
#endif
    if (wide)
        takeRange<quint32>();
    else
        takeRange<quint16>();
    return true;
}

int TiffData::scanKvmxHeader(const QString &fName)
{
    release();
    if (!regularFile(fName))
        return -1;
    QFile f(fName);
    if (!f.open(QIODevice::ReadOnly)) {
        qDebug().noquote() << "Can not open" << fName << QStringLiteral("[%1]").arg(int(f.error()));
        return -1;
    }
    BoundedLines in(f);
    qint64 x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    bool sane = true;
    int headerLines = 0;
    QString line;
    while (in.next(line)) {
        QString items[5];
        QString rest = line;
        int n = 0;
        while (n < 5) {
            rest = nextItem(rest, items[n]);
            if (items[n].isEmpty() && rest.isEmpty())
                break;
            ++n;
        }
        if (n == 0 || !items[0].startsWith(QLatin1Char('#')))
            break;
        ++headerLines;
        QStringList shown;
        for (int i = 1; i < n && i < 4; ++i)
            shown << items[i];
        if (shown.isEmpty())
            qDebug().noquote() << "ksv";
        else
            qDebug().noquote() << "ksv" << shown.join(QLatin1Char(' '));
        if (n != 4)
            continue;
        const QString key = items[1].toUpper();
        qint64 *target = key == QLatin1String("RANGE_X0")   ? &x0
                         : key == QLatin1String("RANGE_X1") ? &x1
                         : key == QLatin1String("RANGE_Y0") ? &y0
                         : key == QLatin1String("RANGE_Y1") ? &y1
                                                            : nullptr;
        if (target && !kvmxRangeValue(items[3], *target))
            sane = false;
    }
    const qint64 fileBytes = f.size();
    f.close();
    if (in.tooLong())
        return -1;
    const qint64 w = x1 - x0;
    const qint64 h = y1 - y0;
    qDebug().noquote() << "rrr" << x0 << x1 << y0 << y1 << w << h;
    if (!sane || w < 1 || h < 1)
        return -1;
    // KVMX frames may legitimately be shorter than their ranges (the rest
    // reads as 0), so the ranges alone decide the size: bound them.
    if (!frameSizeAcceptable(w, h, fName))
        return -1;
    // Yet a few bytes cannot stand for a frame of millions of pixels: a
    // data line takes at least 6 bytes ("0 0 0" and its line end), and a
    // frame may declare at most 16 pixels per byte of its file, so a file
    // holding about 1 % of its pixels still loads while its memory stays
    // within 64 times the file's length.
    if (w * h > kvmxPixelsPerByte * fileBytes) {
        qDebug().noquote() << "KVMX ranges out of proportion to the file:" << w << h << fileBytes
                           << "bytes" << fName;
        return -1;
    }
    cols = int(w);
    lines = int(h);
    type = FloatRows;
    sampleBytes = int(sizeof(float));
    return headerLines;
}

bool TiffData::readKvmxText(const QString &fName)
{
    const int headerLines = scanKvmxHeader(fName);
    if (headerLines < 0)
        return false;
    fileName = fName;
    resetRange();
    QFile f(fName);
    if (!f.open(QIODevice::ReadOnly)) {
        qDebug().noquote() << "Can not open (2)" << fName;
        release();
        return false;
    }
    BoundedLines in(f);
    QString line;
    for (int i = 0; i < headerLines; ++i)
        in.next(line);
    if (!allocSamples(qint64(cols) * qint64(sizeof(float)))) {
        outOfMemory(cols, lines, fName);
        release();
        return false;
    }
    bool ended = false;
    for (int r = 0; r < lines; ++r) {
        float *row = static_cast<float *>(rowAt(r));
        int c = 0;
        for (; c < cols && !ended; ++c) {
            if (!in.next(line)) {
                ended = true;
                break;
            }
            const double v = 500.0 * kvmxValue(line);
            row[c] = v < 0 ? 0.0f : float(v);
        }
        // Past the end of the file every pixel reads as an empty line: 0.
        if (c < cols)
            std::fill(row + c, row + cols, 0.0f);
        rowRange(row, cols, lo, hi);
    }
    f.close();
    if (in.tooLong()) {
        release();
        return false;
    }
    return true;
}

namespace {

// Sum of a clipped block of typed samples; integer samples are summed
// exactly in 64 bits, which is also what the double sum would give.
template <typename T, typename Acc>
double blockSum(const void *block, int width, int r0, int r1, int c0, int c1)
{
    Acc total = 0;
    const int n = c1 - c0 + 1;
    for (int r = r0; r <= r1; ++r) {
        const T *p = static_cast<const T *>(block) + qint64(r) * width + c0;
        Acc s = 0;
        for (int i = 0; i < n; ++i)
            s += p[i];
        total += s;
    }
    return double(total);
}

// A half size as far as it can matter: |half| limited to the frame's extent
// plus the distance of the centre from it. Any larger half size covers the
// same samples, and nothing beyond this bound enters the arithmetic below.
qint64 clampHalf(int half, qint64 centre, int extent)
{
    const qint64 reach = qint64(extent) + (centre < 0 ? -centre : centre);
    const qint64 a = half < 0 ? -qint64(half) : qint64(half);
    return a < reach ? a : reach;
}

} // namespace

double TiffData::windowSum(int x, int y, int hw, int hh) const
{
    if (!hasPixels())
        return 0.0;
    // The centre in the frame's own columns and rows, and the window clipped
    // to the frame, so the inner loop runs without bound checks.
    const qint64 cx = qint64(x) - shiftX;
    const qint64 cy = qint64(y) - shiftY;
    const qint64 aw = clampHalf(hw, cx, cols);
    const qint64 ah = clampHalf(hh, cy, lines);
    const qint64 c0 = std::max<qint64>(cx - aw, 0);
    const qint64 c1 = std::min<qint64>(cx + aw, cols - 1);
    const qint64 r0 = std::max<qint64>(cy - ah, 0);
    const qint64 r1 = std::min<qint64>(cy + ah, lines - 1);
    if (c0 > c1 || r0 > r1)
        return 0.0;
    switch (type) {
    case UShortRows:
        return blockSum<quint16, quint64>(block, cols, int(r0), int(r1), int(c0), int(c1));
    case UIntRows:
        return blockSum<quint32, quint64>(block, cols, int(r0), int(r1), int(c0), int(c1));
    case FloatRows:
        return blockSum<float, double>(block, cols, int(r0), int(r1), int(c0), int(c1));
    default:
        return 0.0;
    }
}

namespace {

struct GreyMap
{
    const GreyScale *bar;
    quint8 operator()(double t) const { return bar ? bar->grey(t) : greyLevel(t, 0.0, 1.0); }
};

// Fills one picture row from one frame row (or from nothing when the shifted
// row falls outside the frame). `grey` maps a sample to its pixel.
template <typename T, typename G>
void pictureRow(uchar *out, int width, const T *src, int shiftX, quint8 outside, const G &greyOf)
{
    // A local copy: its state stays in registers while bytes are stored.
    const G grey = greyOf;
    if (!src) {
        std::memset(out, outside, size_t(width));
        return;
    }
    const int c0 = int(std::clamp<qint64>(shiftX, 0, width));
    const int c1 = int(std::clamp<qint64>(qint64(width) + shiftX, 0, width)); // exclusive
    if (c0 >= c1) {
        std::memset(out, outside, size_t(width));
        return;
    }
    std::memset(out, outside, size_t(c0));
    const T *s = src + (c0 - shiftX);
    uchar *__restrict o = out;
    for (int c = c0; c < c1; ++c)
        o[c] = grey(*s++);
    if (c1 < width)
        std::memset(out + c1, outside, size_t(width - c1));
}

// The pixels of samples all known to have a table entry.
void lutRow(uchar *__restrict out, const quint16 *__restrict src, int n,
            const quint8 *__restrict lut, int lo)
{
    // Eight pixels gathered into one 64-bit store: byte stores one by one
    // are what limits this loop otherwise.
    int c = 0;
    for (; c + 8 <= n; c += 8) {
        quint64 eight = 0;
        for (int k = 0; k < 8; ++k)
            eight |= quint64(lut[src[c + k] - lo]) << (8 * k);
        eight = qToLittleEndian(eight);
        std::memcpy(out + c, &eight, 8);
    }
    for (; c < n; ++c)
        out[c] = lut[src[c] - lo];
}

} // namespace

bool TiffData::pictureIsStale() const
{
    if (!hasPicture || staleMark || picBar != colorBar || picShiftX != shiftX
        || picShiftY != shiftY)
        return true;
    return colorBar && colorBar->generation != picGeneration;
}

const QImage &TiffData::picture()
{
    if (pictureIsStale())
        buildPicture();
    return pic;
}

void TiffData::buildPicture()
{
    hasPicture = true;
    staleMark = false;
    picBar = colorBar;
    picGeneration = colorBar ? colorBar->generation : 0;
    picShiftX = shiftX;
    picShiftY = shiftY;

    const int w = cols;
    const int h = lines;
    if (!hasPixels()) {
        pic = QImage();
        return;
    }
    // The picture of the same size is written over; every byte is set below.
    if (pic.size() != QSize(w, h) || pic.format() != QImage::Format_Grayscale8) {
        pic = QImage();
        pic = QImage(w, h, QImage::Format_Grayscale8);
        if (pic.isNull()) {
            outOfMemory(w, h, fileName);
            return;
        }
    }
    const qint64 bpl = pic.bytesPerLine();
    uchar *bits = pic.bits();
    if (bpl > w)
        for (int r = 0; r < h; ++r)
            std::memset(bits + bpl * r + w, 0, size_t(bpl - w));

    const GreyMap map{colorBar};
    // A frame of one value has no range to scale by: every pixel takes the
    // grey of t = 0 instead of a division by zero.
    const bool flat = !(hi > lo);
    const double span = hi - lo;
    auto tOf = [&](double v) { return flat ? 0.0 : (v - lo) / span; };
    const quint8 outside = map(tOf(0.0));

    if (flat) {
        const quint8 g = map(0.0);
        auto grey = [g](quint8) { return g; };
        const std::vector<quint8> same(size_t(w), 0);
        for (int r = 0; r < h; ++r) {
            const qint64 sr = qint64(r) - shiftY;
            const quint8 *src = sr >= 0 && sr < h ? same.data() : nullptr;
            pictureRow(bits + bpl * r, w, src, shiftX, outside, grey);
        }
    } else if (type == UShortRows) {
        // Every 16-bit sample lies in [lo, hi] (the samples never change
        // after the range is taken): one table entry per value there,
        // worked out by the same formula, spares the per-pixel division.
        const int first = int(lo);
        const int last = int(hi);
        std::vector<quint8> table(size_t(last - first + 1));
        for (int v = first; v <= last; ++v)
            table[size_t(v - first)] = map(tOf(v));
        const quint8 *lut = table.data();
        const int c0 = int(std::clamp<qint64>(shiftX, 0, w));
        const int c1 = int(std::clamp<qint64>(qint64(w) + shiftX, 0, w));
        for (int r = 0; r < h; ++r) {
            const qint64 sr = qint64(r) - shiftY;
            uchar *out = bits + bpl * r;
            std::memset(out, outside, size_t(w));
            if (sr < 0 || sr >= h || c0 >= c1)
                continue;
            const auto *src = static_cast<const quint16 *>(rowAt(int(sr)));
            lutRow(out + c0, src + (c0 - shiftX), c1 - c0, lut, first);
        }
    } else if (type == UIntRows) {
        auto grey = [&](quint32 v) { return map(tOf(v)); };
        for (int r = 0; r < h; ++r) {
            const qint64 sr = qint64(r) - shiftY;
            const quint32 *src =
                sr >= 0 && sr < h ? static_cast<const quint32 *>(rowAt(int(sr))) : nullptr;
            pictureRow(bits + bpl * r, w, src, shiftX, outside, grey);
        }
    } else {
        auto grey = [&](float v) { return map(tOf(v)); };
        for (int r = 0; r < h; ++r) {
            const qint64 sr = qint64(r) - shiftY;
            const float *src =
                sr >= 0 && sr < h ? static_cast<const float *>(rowAt(int(sr))) : nullptr;
            pictureRow(bits + bpl * r, w, src, shiftX, outside, grey);
        }
    }
}

namespace {

// The strips of a 16-bit grey image; `rowsAt(first, count)` gives the
// samples of `count` rows starting at row `first`.
template <typename RowsAt>
bool writeStrips(const QString &fileName, int width, int height, RowsAt rowsAt)
{
    installTiffLogHandlers();
    if (width < 1 || height < 1) {
        qDebug().noquote() << "Can not write an empty image" << width << height << fileName;
        return false;
    }
    TIFF *tif = TIFFOpen(nativeName(fileName).constData(), "w");
    if (!tif)
        return false;
    const bool tagsSet = TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, uint32_t(width))
                         && TIFFSetField(tif, TIFFTAG_IMAGELENGTH, uint32_t(height))
                         && TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_NONE)
                         && TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK)
                         && TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, uint32_t(width))
                         && TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1)
                         && TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 16)
                         && TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG)
                         && TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    if (!tagsSet) {
        TIFFClose(tif);
        return false;
    }
    uint32_t perStrip = 0;
    TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &perStrip);
    if (perStrip < 1)
        perStrip = 1;
    for (qint64 s = 0; s * perStrip < height; ++s) {
        const qint64 first = s * perStrip;
        const int n = int(std::min<qint64>(perStrip, height - first));
        const quint16 *data = rowsAt(int(first), n);
        if (!data
            || TIFFWriteEncodedStrip(tif, uint32_t(s), const_cast<quint16 *>(data),
                                     tmsize_t(n) * width * 2)
                   < 0) {
            TIFFClose(tif);
            return false;
        }
    }
    TIFFClose(tif);
    return true;
}

} // namespace

bool writeTiff16(const QString &fileName, int width, int height, const quint16 *samples)
{
    if (!samples)
        return false;
    return writeStrips(fileName, width, height,
                       [&](int first, int) { return samples + qint64(first) * width; });
}

bool writeConstantTiff16(const QString &fileName, int width, int height, quint16 value)
{
    // One strip's worth of samples, reused for every strip.
    std::vector<quint16> strip;
    return writeStrips(fileName, width, height, [&](int, int n) -> const quint16 * {
        const size_t need = size_t(n) * size_t(width);
        if (strip.size() < need)
            strip.assign(need, value);
        return strip.data();
    });
}
