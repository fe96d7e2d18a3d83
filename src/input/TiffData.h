#pragma once

#include <QImage>
#include <QString>
#include <QVector>

#include <type_traits>

struct GreyScale;

// One detector frame: its samples in the sample type of the file it came
// from (one block, row after row), their value range, its energy, its shift
// and, once it has been shown, its 8-bit picture. Whoever receives a frame
// owns it. The samples are fixed when the frame is made: only the readers
// and fromSamples set them, so the range always covers every sample.
class TiffData
{
public:
    enum PixelType {
        UShortRows = 1, // 16-bit unsigned samples
        UIntRows = 2,   // 32-bit unsigned samples
        FloatRows = 3,  // 32-bit float samples
        NoPixels = 4    // a fresh record
    };

    TiffData();
    ~TiffData();
    TiffData(const TiffData &) = delete;
    TiffData &operator=(const TiffData &) = delete;

    // Frees the samples and the picture; the record is fresh again.
    void release();

    // The one way to make a frame in memory (tests, benchmarks, computed
    // frames): width x height samples in row-major order, copied; the value
    // range is taken over them. Null when the size is out of range or the
    // memory cannot be had. The caller owns the frame.
    static TiffData *fromSamples(int width, int height, const quint16 *samples,
                                 const QString &fileName = QString());
    static TiffData *fromSamples(int width, int height, const quint32 *samples,
                                 const QString &fileName = QString());
    static TiffData *fromSamples(int width, int height, const float *samples,
                                 const QString &fileName = QString());

    bool read(const QString &fileName); // by the file's first bytes
    bool readTiff(const QString &fileName);
    int readImgHeader(const QString &fileName); // data offset, 0 on failure
    bool readImg(const QString &fileName);
    int scanKvmxHeader(const QString &fileName); // header lines, -1 when invalid
    bool readKvmxText(const QString &fileName);

    int width() const { return cols; }
    int height() const { return lines; }
    PixelType pixelType() const { return type; }
    // Bytes of one sample (2 or 4; what an IMG header declared after
    // readImgHeader).
    int bytesPerPixel() const { return sampleBytes; }
    // The value range over the samples. They start at the largest double
    // and the smallest positive one, so a frame of zeros keeps the latter
    // as its maximum.
    double minimum() const { return lo; }
    double maximum() const { return hi; }
    // Memory held by the samples, in bytes.
    qint64 sampleMemory() const;

    double value(int row, int col) const; // 0 for a frame without pixels
                                          // and for positions outside it
    // The samples of row r for fast loops; null when T is not the frame's
    // sample type or r is outside the frame.
    template <typename T>
    const T *row(int r) const;
    // The sum over the (2 |hw| + 1) x (2 |hh| + 1) window centred on image
    // pixel (x, y), through the frame's shift; the part outside the frame
    // counts 0. Any half size is safe: the whole frame at most.
    double windowSum(int x, int y, int hw, int hh) const;

    // The picture under `colorBar` and the shift: built here when there is
    // none yet or when it is stale (the bar's handles or the shift moved
    // since it was built, or markPictureStale). Only the GUI thread calls
    // this. A frame without pixels gives a null image.
    const QImage &picture();
    // The picture as last built, without building; null when there is none.
    const QImage *builtPicture() const { return hasPicture ? &pic : nullptr; }
    bool pictureIsStale() const;
    // The next picture() builds afresh; costs nothing now.
    void markPictureStale() { staleMark = true; }

    // The largest frame any reader accepts: 16384 samples a side (far
    // beyond any detector) and 16384 x 16384 in all. Sizes from headers are
    // hostile until checked.
    static constexpr qint64 maxFrameSide = 16384;
    static constexpr qint64 maxFrameSamples = qint64(16384) * 16384;

    QString fileName;
    double energy = 0.0;
    const GreyScale *colorBar = nullptr; // not owned; null: initial handles
    int shiftX = 0;
    int shiftY = 0;

private:
    bool hasPixels() const;
    void resetRange();
    // The block for the samples (rowBytes each row); false when the memory
    // cannot be had.
    bool allocSamples(qint64 rowBytes);
    void *rowAt(int r) const { return static_cast<char *>(block) + qint64(r) * cols * sampleBytes; }
    template <typename T>
    void takeRange();
    template <typename T>
    static TiffData *frameOfSamples(int width, int height, const T *samples, PixelType type,
                                    const QString &fileName);
    // The layouts of TIFF pixel data, into the samples already allocated
    // (`tif` is the open libtiff handle).
    bool readStrips(void *tif);
    bool readScanlines(void *tif);
    bool readTiles(void *tif);
    void buildPicture();

    int cols = 0;
    int lines = 0;
    PixelType type = NoPixels;
    int sampleBytes = 2;
    double lo = 1.7976931348623157e308;
    double hi = 2.2250738585072014e-308;
    void *block = nullptr; // the samples, row after row

    QImage pic;
    bool hasPicture = false;
    bool staleMark = false;
    // What the picture was built under.
    const GreyScale *picBar = nullptr;
    quint64 picGeneration = 0;
    int picShiftX = 0;
    int picShiftY = 0;
};

template <typename T>
const T *TiffData::row(int r) const
{
    const PixelType want = std::is_same<T, quint16>::value   ? UShortRows
                           : std::is_same<T, quint32>::value ? UIntRows
                           : std::is_same<T, float>::value   ? FloatRows
                                                             : NoPixels;
    if (!block || want != type || r < 0 || r >= lines)
        return nullptr;
    return static_cast<const T *>(rowAt(r));
}

// Routes libtiff's own warnings and errors to the debug log. Every TIFF
// operation here calls it; code that uses libtiff directly should too.
void installTiffLogHandlers();

// 16-bit grey TIFF writer: samples row-major, width * height of them.
bool writeTiff16(const QString &fileName, int width, int height, const quint16 *samples);
// A width by height image of one value (1 for a flat field, 0 for a dark field).
bool writeConstantTiff16(const QString &fileName, int width, int height, quint16 value);
