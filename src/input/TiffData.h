#pragma once

#include <QImage>
#include <QString>
#include <QVector>

struct GreyScale;

// One detector frame: its samples in the sample type of the file it came
// from, its value range, its energy, its shift and its 8-bit picture.
// Whoever receives a frame owns it.
class TiffData
{
public:
    enum PixelType {
        TiffRows = 0,    // 16-bit unsigned rows allocated by libtiff
        UShortRows = 1,  // 16-bit unsigned rows
        UIntRows = 2,    // 32-bit unsigned rows
        FloatRows = 3,   // 32-bit float rows
        NoPixels = 4     // a fresh record
    };

    TiffData();
    ~TiffData();
    TiffData(const TiffData &) = delete;
    TiffData &operator=(const TiffData &) = delete;

    // Frees the rows and the picture; the record is fresh again.
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

    bool read(const QString &fileName);       // by the file's first bytes
    bool readTiff(const QString &fileName);
    int readImgHeader(const QString &fileName); // data offset, 0 on failure
    bool readImg(const QString &fileName);
    int scanKvmxHeader(const QString &fileName); // header lines, -1 when invalid
    bool readKvmxText(const QString &fileName);

    void makeImage();                          // rebuilds the picture
    double windowSum(int x, int y, int hw, int hh) const;
    double value(int row, int col) const;      // 0 for a frame without pixels
                                               // and for positions outside it

    // The largest frame any reader accepts, in samples (16384 x 16384, far
    // beyond any detector): sizes from headers are hostile until checked.
    static constexpr qint64 maxFrameSamples = qint64(16384) * 16384;

    int pictureFormat = QImage::Format_Grayscale8;
    QString fileName;
    qint16 bytesPerPixel = 2;
    int width = 0;
    int height = 0;
    int scanlineBytes = 0;
    double minimum = 1.7976931348623157e308;
    double maximum = 2.2250738585072014e-308;
    QVector<void *> rows;                      // height buffers of width samples
    double energy = 0.0;
    const GreyScale *colorBar = nullptr;       // not owned; null: initial handles
    uchar *pictureBuffer = nullptr;            // owned
    QImage *picture = nullptr;                 // owned, wraps pictureBuffer
    int shiftX = 0;
    int shiftY = 0;
    int pixelType = NoPixels;

private:
    bool hasPixels() const;
    void resetRange();
    // One allocation for the rows (rowBytes each) and the picture; false
    // when the memory cannot be had.
    bool allocFrame(qint64 rowBytes);
    void freePicture();
    // The two layouts of TIFF pixel data, into rows already allocated
    // (`tif` is the open libtiff handle).
    bool readScanlines(void *tif);
    bool readTiles(void *tif);
    // makeImage; with `rangeCoversSamples` the readers vouch that minimum
    // and maximum were taken over the samples as they are.
    void buildPicture(bool rangeCoversSamples);

    // The frame's memory when a reader made it: rows and picture point into
    // it. Rows set up by other code keep the allocator of their pixel type.
    void *block = nullptr;
    bool pictureInBlock = false;
    qint64 pictureCapacity = 0;  // bytes at pictureBuffer
};

// Routes libtiff's own warnings and errors to the debug log. Every TIFF
// operation here calls it; code that uses libtiff directly should too.
void installTiffLogHandlers();

// 16-bit grey TIFF writer: samples row-major, width * height of them.
bool writeTiff16(const QString &fileName, int width, int height, const quint16 *samples);
// A width by height image of one value (1 for a flat field, 0 for a dark field).
bool writeConstantTiff16(const QString &fileName, int width, int height, quint16 value);
