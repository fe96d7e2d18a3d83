#pragma once

#include <QVector>
#include <QtGlobal>

#include <memory>

class EdgeImage;

// A binary image (each pixel 0 or 1), packed 64 pixels to a word, row by row,
// with a spare zero word at the end of every row so that a row can be read
// from any bit offset. Scores of binary images are counts of ones, so they
// are counted here word by word, exactly.
class BinImage
{
public:
    BinImage() = default;
    BinImage(BinImage &&) = default;
    BinImage &operator=(BinImage &&) = default;

    // 1 where threshold < edge value, else 0. Empty (logged) when the edge
    // image is empty or the memory cannot be had.
    static BinImage of(const EdgeImage &edges, double threshold);
    // A row-major image of width x height values, 1 where a value is not 0
    // (for computed images); empty when a size is not positive.
    static BinImage ofValues(int width, int height, const double *values);
    // An independent copy (the reference keeps one).
    BinImage copy() const;

    bool isEmpty() const { return !bits; }
    int width() const { return w; }
    int height() const { return h; }
    // Unchecked: 0 <= x < width(), 0 <= y < height().
    bool at(int x, int y) const { return (rowBits(y)[x >> 6] >> (x & 63)) & 1; }
    qint64 ones() const { return count; }
    // The value range as the image record keeps it: the largest double and
    // the smallest positive one while empty, else the least and the largest
    // pixel value.
    double minimum() const;
    double maximum() const;

    // Words of one row, the spare one included.
    int rowWords() const { return words; }
    const quint64 *rowBits(int y) const { return bits.get() + qint64(y) * words; }

private:
    bool allocate(int width, int height);

    std::unique_ptr<quint64[]> bits;
    int w = 0;
    int h = 0;
    int words = 0;
    qint64 count = 0;
};

// The score of the trial shift (sx, sy) of `img` against the reference:
// over the pixels (x, y) of the reference whose pixel (x - sx, y - sy) lies
// inside img, Sab / sqrt(Saa * Sbb) with a = img(x - sx, y - sy),
// b = ref(x, y) and the sums of a * a, b * b and a * b; 0 when Saa * Sbb is
// 0, when the two do not overlap and when their sizes differ.
double shiftScore(const BinImage &ref, const BinImage &img, qint64 sx, qint64 sy);

// Whether a binary image and a reference can be compared; when not, the
// reason goes to the debug log: "no bin image", "no ref bin image" or
// "size mis-match".
bool comparable(const BinImage &img, const BinImage &ref);

// One trial of a search: the shift tried and its score.
struct ShiftTrial
{
    int sx;
    int sy;
    double score;
};

// The hill-climbing search for the shift of img that best matches the
// reference, from the trial shift (sx, sy) and the score `best` to beat (the
// last score shown). From the current shift the eight neighbours are tried
// in the order (+1, +1), (+1, 0), (+1, -1), (0, -1), (-1, -1), (-1, 0),
// (-1, +1), (0, +1); the first one whose score is strictly greater than best
// is chosen, best takes its score, and the search moves there and repeats.
// It ends where no neighbour beats best, with (sx, sy) that shift and best
// its score. Every trial is appended to `trials` when given. False, logged,
// with nothing changed, when the images are not comparable.
bool autoShift(const BinImage &img, const BinImage &ref, int &sx, int &sy, double &best,
               QVector<ShiftTrial> *trials = nullptr);
