#include "input/TiffData.h"

#include "app/TextNumbers.h"
#include "app/Tokenizer.h"
#include "input/GreyScale.h"

#include <QDebug>
#include <QFile>
#include <QTextStream>
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
        qDebug().noquote() << kind << QString::fromLocal8Bit(module) << QString::fromLocal8Bit(text);
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

void freeRow(void *row, int pixelType)
{
    switch (pixelType) {
    case TiffData::TiffRows: _TIFFfree(row); break;
    case TiffData::UShortRows: delete[] static_cast<quint16 *>(row); break;
    case TiffData::UIntRows: delete[] static_cast<quint32 *>(row); break;
    case TiffData::FloatRows: delete[] static_cast<float *>(row); break;
    default: break;
    }
}

void freeRows(QVector<void *> &rows, int pixelType)
{
    for (void *r : rows)
        freeRow(r, pixelType);
    rows.clear();
}

bool frameSizeAcceptable(qint64 w, qint64 h, const QString &fileName)
{
    if (w < 0 || h < 0 || w * h > TiffData::maxFrameSamples) {
        qDebug().noquote() << "Frame size out of range:" << w << h << fileName;
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
    case SAMPLEFORMAT_UINT: fmt = QStringLiteral("unsigned"); break;
    case SAMPLEFORMAT_INT: fmt = QStringLiteral("signed"); break;
    case SAMPLEFORMAT_IEEEFP: fmt = QStringLiteral("float"); break;
    default: fmt = QStringLiteral("sample format %1").arg(format); break;
    }
    QString kind;
    switch (photometric) {
    case PHOTOMETRIC_MINISWHITE:
    case PHOTOMETRIC_MINISBLACK: kind = QStringLiteral("grey"); break;
    case PHOTOMETRIC_RGB: kind = QStringLiteral("RGB"); break;
    case PHOTOMETRIC_PALETTE: kind = QStringLiteral("palette"); break;
    case PHOTOMETRIC_SEPARATED: kind = QStringLiteral("CMYK"); break;
    case PHOTOMETRIC_YCBCR: kind = QStringLiteral("YCbCr"); break;
    default: kind = QStringLiteral("photometric %1").arg(photometric); break;
    }
    return QStringLiteral("%1-bit %2 %3, %4 sample(s) per pixel").arg(bits).arg(fmt, kind).arg(samples);
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

void TiffData::freePicture()
{
    delete picture;
    picture = nullptr;
    if (!pictureInBlock)
        std::free(pictureBuffer);
    pictureBuffer = nullptr;
    pictureInBlock = false;
    pictureCapacity = 0;
}

bool TiffData::allocFrame(qint64 rowBytes)
{
    const qint64 bpl = (qint64(width) + 3) / 4 * 4;
    const qint64 sampleBytes = rowBytes * height;
    const qint64 total = sampleBytes + bpl * height;
    if (rowBytes < 1 || height < 1 || total > (qint64(1) << 40))
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
    block = p;
    auto *bytes = static_cast<uchar *>(p);
    rows.resize(height);
    for (int r = 0; r < height; ++r)
        rows[r] = bytes + rowBytes * r;
    freePicture();
    pictureBuffer = bytes + sampleBytes;
    pictureInBlock = true;
    pictureCapacity = bpl * height;
    return true;
}

void TiffData::release()
{
    freePicture();
    if (block) {
        std::free(block);
        block = nullptr;
        rows.clear();
    } else {
        freeRows(rows, pixelType);
    }
    pictureFormat = QImage::Format_Grayscale8;
    fileName.clear();
    bytesPerPixel = 2;
    width = 0;
    height = 0;
    scanlineBytes = 0;
    resetRange();
    energy = 0.0;
    shiftX = 0;
    shiftY = 0;
    pixelType = NoPixels;
}

namespace {
template <typename T>
TiffData *frameOfSamples(int width, int height, const T *samples, int pixelType,
                         const QString &fileName)
{
    if (width < 1 || height < 1 || !frameSizeAcceptable(width, height, fileName) || !samples)
        return nullptr;
    auto *f = new TiffData;
    f->width = width;
    f->height = height;
    f->fileName = fileName;
    f->pixelType = pixelType;
    f->bytesPerPixel = qint16(sizeof(T));
    for (int r = 0; r < height; ++r) {
        auto *row = new (std::nothrow) T[size_t(width)];
        if (!row) {
            outOfMemory(width, height, fileName);
            delete f;
            return nullptr;
        }
        std::copy(samples + qint64(r) * width, samples + qint64(r + 1) * width, row);
        rowRange(row, width, f->minimum, f->maximum);
        f->rows.append(row);
    }
    return f;
}
} // namespace

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
    minimum = rangeMinStart;
    maximum = rangeMaxStart;
}

bool TiffData::hasPixels() const
{
    return pixelType >= TiffRows && pixelType <= FloatRows && height > 0 && width > 0
        && rows.size() == height;
}

double TiffData::value(int row, int col) const
{
    if (!hasPixels() || row < 0 || row >= height || col < 0 || col >= width)
        return 0.0;
    const void *r = rows[row];
    switch (pixelType) {
    case TiffRows:
    case UShortRows: return static_cast<const quint16 *>(r)[col];
    case UIntRows: return static_cast<const quint32 *>(r)[col];
    case FloatRows: return static_cast<const float *>(r)[col];
    default: return 0.0;
    }
}

bool TiffData::read(const QString &fName)
{
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
    TIFF *tif = TIFFOpen(nativeName(fName).constData(), "r");
    if (!tif)
        return false;
    fileName = fName;
    resetRange();

    uint32_t w = 0, h = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &h);
    uint16_t bits = 1, spp = 1, format = SAMPLEFORMAT_UINT, photometric = PHOTOMETRIC_MINISBLACK;
    TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &spp);
    TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &format);
    TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);

    // Only one layout is read: one 16-bit unsigned grey sample per pixel.
    // Anything else would be misread as 16-bit samples (and run past the
    // scanline buffer), so it is turned away here.
    if (bits != 16 || spp != 1 || format != SAMPLEFORMAT_UINT
        || (photometric != PHOTOMETRIC_MINISBLACK && photometric != PHOTOMETRIC_MINISWHITE)) {
        qDebug().noquote() << "Unsupported TIFF (only 16-bit unsigned grey is read):" << fName
                           << "is" << describeTiff(bits, spp, format, photometric);
        TIFFClose(tif);
        return false;
    }
    if (!frameSizeAcceptable(w, h, fName) || w > uint32_t(std::numeric_limits<int>::max())) {
        TIFFClose(tif);
        return false;
    }
    width = int(w);
    height = int(h);
    const tmsize_t line = h > 0 ? TIFFScanlineSize(tif) : 0;
    if (h > 0 && (line < tmsize_t(w) * 2 || line > std::numeric_limits<int>::max())) {
        qDebug().noquote() << "Unsupported TIFF (scanline size does not fit the width):" << fName;
        TIFFClose(tif);
        return false;
    }
    scanlineBytes = int(line);

    pixelType = TiffRows;
    if (height > 0 && !allocFrame(line)) {
        outOfMemory(width, height, fName);
        TIFFClose(tif);
        return false;
    }
    const bool ok = TIFFIsTiled(tif) ? readTiles(tif) : readScanlines(tif);
    if (!ok) {
        TIFFClose(tif);
        release();
        return false;
    }
    for (int r = 0; r < height; ++r)
        rowRange(static_cast<const quint16 *>(rows[r]), width, minimum, maximum);
    TIFFClose(tif);
    buildPicture(true);
    return true;
}

bool TiffData::readScanlines(void *handle)
{
    TIFF *tif = static_cast<TIFF *>(handle);
    for (int r = 0; r < height; ++r) {
        if (TIFFReadScanline(tif, rows[r], uint32_t(r), 0) < 0) {
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
    if (tw < 1 || tl < 1 || tileBytes < tileRowBytes * tmsize_t(tl) || tileBytes > (tmsize_t(64) << 20)) {
        qDebug().noquote() << "Unsupported TIFF (tile size does not fit):" << tw << tl << fileName;
        return false;
    }
    auto *tile = static_cast<uchar *>(_TIFFmalloc(tileBytes));
    if (!tile) {
        outOfMemory(width, height, fileName);
        return false;
    }
    for (qint64 y = 0; y < height; y += tl) {
        for (qint64 x = 0; x < width; x += tw) {
            if (TIFFReadTile(tif, tile, uint32_t(x), uint32_t(y), 0, 0) < 0) {
                qDebug().noquote() << "Error on reading TIFF tile" << x << y << fileName;
                _TIFFfree(tile);
                return false;
            }
            const qint64 rowsIn = std::min<qint64>(tl, height - y);
            const size_t bytes = size_t(std::min<qint64>(tw, width - x)) * 2;
            for (qint64 r = 0; r < rowsIn; ++r)
                std::memcpy(static_cast<uchar *>(rows[int(y + r)]) + x * 2, tile + r * tileRowBytes, bytes);
        }
    }
    _TIFFfree(tile);
    return true;
}

int TiffData::readImgHeader(const QString &fName)
{
    release();
    width = 0;
    height = 0;
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
        qDebug().noquote() << "IMG comment runs past the end of the file:" << commentLength << fName;
        return 0;
    }
    const QByteArray comment = f.read(commentLength);
    if (comment.size() < commentLength) {
        qDebug().noquote() << "IMG comment runs past the end of the file:" << commentLength << fName;
        return 0;
    }
    width = intOfText(imgCommentValue(comment, "Prop_ImageWidth=", "0"));
    height = intOfText(imgCommentValue(comment, "Prop_ImageHeight=", "0"));
    bytesPerPixel = qint16(intOfText(imgCommentValue(comment, "BytesPerPixel=", "2")));
    // The binary header decides the size.
    width = headerWidth;
    height = headerHeight;
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
    const bool wide = bytesPerPixel == 4;
    const int sampleBytes = wide ? 4 : 2;
    const char *errorText = wide ? "Error on reading (2)" : "Error on reading (3)";
    auto shortFile = [&] {
        qDebug().noquote() << "invalid file size. expected (h,w) =" << height << width;
        qDebug().noquote() << errorText << fName;
    };
    if (!frameSizeAcceptable(width, height, fName))
        return false;
    // The size is checked against the file before any row is allocated.
    if (f.size() - offset < qint64(width) * height * sampleBytes || !f.seek(offset)) {
        shortFile();
        return false;
    }
    pixelType = wide ? UIntRows : UShortRows;
    const qint64 rowBytes = qint64(width) * sampleBytes;
    if (height > 0 && !allocFrame(rowBytes)) {
        outOfMemory(width, height, fName);
        return false;
    }
    for (int r = 0; r < height; ++r) {
        void *buf = rows[r];
        if (f.read(static_cast<char *>(buf), rowBytes) < rowBytes) {
            shortFile();
            release();
            return false;
        }
        if (wide) {
            auto *p = static_cast<quint32 *>(buf);
#if Q_BYTE_ORDER == Q_BIG_ENDIAN
            for (int c = 0; c < width; ++c)
                p[c] = qFromLittleEndian(p[c]);
#endif
            rowRange(p, width, minimum, maximum);
        } else {
            auto *p = static_cast<quint16 *>(buf);
#if Q_BYTE_ORDER == Q_BIG_ENDIAN
            for (int c = 0; c < width; ++c)
                p[c] = qFromLittleEndian(p[c]);
#endif
            rowRange(p, width, minimum, maximum);
        }
    }
    f.close();
    buildPicture(true);
    return true;
}

int TiffData::scanKvmxHeader(const QString &fName)
{
    release();
    QFile f(fName);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qDebug().noquote() << "Can not open" << fName << QStringLiteral("[%1]").arg(int(f.error()));
        return -1;
    }
    QTextStream in(&f);
    qint64 x0 = 0, x1 = 0, y0 = 0, y1 = 0;
    bool sane = true;
    int lines = 0;
    QString line;
    while (in.readLineInto(&line)) {
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
        ++lines;
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
        qint64 *target = key == QLatin1String("RANGE_X0") ? &x0
            : key == QLatin1String("RANGE_X1")            ? &x1
            : key == QLatin1String("RANGE_Y0")            ? &y0
            : key == QLatin1String("RANGE_Y1")            ? &y1
                                                          : nullptr;
        if (target && !kvmxRangeValue(items[3], *target))
            sane = false;
    }
    f.close();
    const qint64 w = x1 - x0;
    const qint64 h = y1 - y0;
    qDebug().noquote() << "rrr" << x0 << x1 << y0 << y1 << w << h;
    if (!sane || w < 1 || h < 1)
        return -1;
    // KVMX frames may legitimately be shorter than their ranges (the rest
    // reads as 0), so the ranges alone decide the size: bound them.
    if (!frameSizeAcceptable(w, h, fName))
        return -1;
    width = int(w);
    height = int(h);
    pixelType = FloatRows;
    return lines;
}

bool TiffData::readKvmxText(const QString &fName)
{
    const int headerLines = scanKvmxHeader(fName);
    if (headerLines < 0)
        return false;
    fileName = fName;
    resetRange();
    QFile f(fName);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qDebug().noquote() << "Can not open (2)" << fName;
        return false;
    }
    QTextStream in(&f);
    QString line;
    for (int i = 0; i < headerLines; ++i)
        in.readLineInto(&line);
    if (!allocFrame(qint64(width) * qint64(sizeof(float)))) {
        outOfMemory(width, height, fName);
        return false;
    }
    bool ended = false;
    for (int r = 0; r < height; ++r) {
        float *row = static_cast<float *>(rows[r]);
        int c = 0;
        for (; c < width && !ended; ++c) {
            if (!in.readLineInto(&line)) {
                ended = true;
                break;
            }
            const double v = 500.0 * kvmxValue(line);
            row[c] = v < 0 ? 0.0f : float(v);
        }
        // Past the end of the file every pixel reads as an empty line: 0.
        if (c < width)
            std::fill(row + c, row + width, 0.0f);
        rowRange(row, width, minimum, maximum);
    }
    f.close();
    pixelType = FloatRows;
    buildPicture(true);
    return true;
}

namespace {

// Sum of a clipped block of typed rows; integer samples are summed exactly
// in 64 bits, which is also what the double sum would give.
template <typename T, typename Acc>
double blockSum(const QVector<void *> &rows, int r0, int r1, int c0, int c1)
{
    Acc total = 0;
    for (int r = r0; r <= r1; ++r) {
        const T *p = static_cast<const T *>(rows[r]) + c0;
        const int n = c1 - c0 + 1;
        Acc s = 0;
        for (int i = 0; i < n; ++i)
            s += p[i];
        total += s;
    }
    return double(total);
}

} // namespace

double TiffData::windowSum(int x, int y, int hw, int hh) const
{
    if (!hasPixels())
        return 0.0;
    const qint64 aw = std::abs(qint64(hw));
    const qint64 ah = std::abs(qint64(hh));
    // Window in the frame's own columns and rows, clipped to the frame, so the
    // inner loop runs without bound checks.
    const qint64 c0 = std::max<qint64>(qint64(x) - aw - shiftX, 0);
    const qint64 c1 = std::min<qint64>(qint64(x) + aw - shiftX, width - 1);
    const qint64 r0 = std::max<qint64>(qint64(y) - ah - shiftY, 0);
    const qint64 r1 = std::min<qint64>(qint64(y) + ah - shiftY, height - 1);
    if (c0 > c1 || r0 > r1)
        return 0.0;
    switch (pixelType) {
    case TiffRows:
    case UShortRows: return blockSum<quint16, quint64>(rows, int(r0), int(r1), int(c0), int(c1));
    case UIntRows: return blockSum<quint32, quint64>(rows, int(r0), int(r1), int(c0), int(c1));
    case FloatRows: return blockSum<float, double>(rows, int(r0), int(r1), int(c0), int(c1));
    default: return 0.0;
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
void lutRow(uchar *__restrict out, const quint16 *__restrict src, int n, const quint8 *__restrict lut,
            int lo)
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

void TiffData::makeImage()
{
    buildPicture(false);
}

void TiffData::buildPicture(bool rangeCoversSamples)
{
    delete picture;
    picture = nullptr;

    const int w = std::max(width, 0);
    const int h = std::max(height, 0);
    const qint64 bpl = (qint64(w) + 3) / 4 * 4;
    if (w == 0 || h == 0 || bpl * h > std::numeric_limits<int>::max()) {
        freePicture();
        picture = new QImage;
        return;
    }
    // The buffer of the frame's own block (or of an earlier picture of the
    // same size) is written over; every byte is set below.
    if (pictureCapacity < bpl * h) {
        freePicture();
        pictureBuffer = static_cast<uchar *>(std::malloc(size_t(bpl) * size_t(h)));
        if (!pictureBuffer) {
            outOfMemory(w, h, fileName);
            picture = new QImage;
            return;
        }
        pictureCapacity = bpl * h;
    }
    if (bpl > w)
        for (int r = 0; r < h; ++r)
            std::memset(pictureBuffer + bpl * r + w, 0, size_t(bpl - w));

    const GreyMap map{colorBar};
    const bool pixels = hasPixels();
    // A frame of one value has no range to scale by: every pixel takes the
    // grey of t = 0 instead of a division by zero.
    const bool flat = !(maximum > minimum);
    const double span = maximum - minimum;
    auto tOf = [&](double v) { return flat ? 0.0 : (v - minimum) / span; };
    const quint8 outside = map(tOf(0.0));

    if (!pixels || flat) {
        const quint8 g = pixels ? map(0.0) : outside;
        auto grey = [g](quint8) { return g; };
        const std::vector<quint8> same(size_t(w), 0);
        for (int r = 0; r < h; ++r) {
            const qint64 sr = qint64(r) - shiftY;
            const quint8 *src = pixels && sr >= 0 && sr < h ? same.data() : nullptr;
            pictureRow(pictureBuffer + bpl * r, w, src, shiftX, outside, grey);
        }
    } else if (pixelType == TiffRows || pixelType == UShortRows) {
        // Every 16-bit sample lies in [minimum, maximum]: one table entry per
        // value there, worked out by the same formula, spares the per-pixel
        // division.
        const int lo = int(minimum);
        const int hi = int(maximum);
        std::vector<quint8> table(size_t(hi - lo + 1));
        for (int v = lo; v <= hi; ++v)
            table[size_t(v - lo)] = map(tOf(v));
        const quint8 *lut = table.data();
        auto slowGrey = [&](quint16 v) { return map(tOf(v)); };
        for (int r = 0; r < h; ++r) {
            const qint64 sr = qint64(r) - shiftY;
            uchar *out = pictureBuffer + bpl * r;
            if (sr < 0 || sr >= h) {
                std::memset(out, outside, size_t(w));
                continue;
            }
            const auto *src = static_cast<const quint16 *>(rows[sr]);
            const int c0 = int(std::clamp<qint64>(shiftX, 0, w));
            const int c1 = int(std::clamp<qint64>(qint64(w) + shiftX, 0, w));
            const quint16 *s = src + (c0 - shiftX);
            const int n = c1 - c0;
            // Samples outside the range (rows changed after reading) are
            // worked out directly rather than read past the table. Right
            // after reading, the range is known to cover every sample.
            double rlo = lo, rhi = hi;
            if (!rangeCoversSamples)
                rowRange(s, n, rlo, rhi);
            if (n > 0 && (rlo < lo || rhi > hi)) {
                pictureRow(out, w, src, shiftX, outside, slowGrey);
                continue;
            }
            std::memset(out, outside, size_t(w));
            lutRow(out + c0, s, n, lut, lo);
        }
    } else if (pixelType == UIntRows) {
        auto grey = [&](quint32 v) { return map(tOf(v)); };
        for (int r = 0; r < h; ++r) {
            const qint64 sr = qint64(r) - shiftY;
            const quint32 *src = sr >= 0 && sr < h ? static_cast<const quint32 *>(rows[sr]) : nullptr;
            pictureRow(pictureBuffer + bpl * r, w, src, shiftX, outside, grey);
        }
    } else {
        auto grey = [&](float v) { return map(tOf(v)); };
        for (int r = 0; r < h; ++r) {
            const qint64 sr = qint64(r) - shiftY;
            const float *src = sr >= 0 && sr < h ? static_cast<const float *>(rows[sr]) : nullptr;
            pictureRow(pictureBuffer + bpl * r, w, src, shiftX, outside, grey);
        }
    }
    picture = new QImage(pictureBuffer, w, h, int(bpl), QImage::Format_Grayscale8);
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
                                     tmsize_t(n) * width * 2) < 0) {
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
    return writeStrips(fileName, width, height, [&](int first, int) {
        return samples + qint64(first) * width;
    });
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
