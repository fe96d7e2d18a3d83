#pragma once

#include <QtGlobal>

// A walk over a rectangular area of the image in bins: image size, bin half
// sizes, area bounds, steps and the current bin centre, twelve integers.
// Bins go row by row from the top, left to right inside a row. A bin centre
// may lie up to hx (hy) pixels past the area at the far edges; whatever
// writes a bin into a map clips it to the image.
//
// Every 2D run, the calibration and the export of all bins walk their areas
// through one of these; each result map carries a copy.
struct AnalyzeCond
{
    int width = 0;  // image width in pixels
    int height = 0; // image height in pixels
    int hx = 0;     // bin half width
    int hy = 0;     // bin half height
    int x0 = 0;     // left bound (inclusive start)
    int x1 = 0;     // right bound (exclusive limit for the bin centre)
    int sx = 1;     // step between bin centres across
    int y0 = 0;
    int y1 = 0;
    int sy = 1;
    int cx = 0; // the current bin centre
    int cy = 0;

    // Sets the walk up over the area (x, y, w, h) in image pixels: bounds are
    // the integer parts of x, x + w, y, y + h, swapped when reversed; a
    // negative step is 2 * half size + 1, so bins tile the area. Half sizes
    // count by their absolute value; hostile sizes and bounds are cut down
    // so that no step can overflow.
    void setup(int imageWidth, int imageHeight, int halfX, int halfY, double x, double y, double w,
               double h, int stepX = -1, int stepY = -1);
    // Back to the first bin.
    void reset();
    // Moves to the next bin. `newRow` tells whether it starts a row; false
    // when the walk is over.
    bool advance(bool &newRow);
    bool advance()
    {
        bool newRow = false;
        return advance(newRow);
    }

    // Bins across and down, counted by walking (so they always match the
    // number of bins a walk visits).
    int binsAcross() const;
    int binsDown() const;
    qint64 bins() const { return qint64(binsAcross()) * binsDown(); }

    // Whether the current bin centre lies inside the image.
    bool centreInside() const { return cx >= 0 && cy >= 0 && cx < width && cy < height; }

    // Writes v into every pixel of the current bin that lies inside the
    // image, of a row-major width x height grid.
    void fill(double *grid, double v) const;
};

// Writes t into every pixel (x, y) of a row-major width x height grid with
// |x - ix| <= |xw| and |y - iy| <= |yw| that lies inside the grid.
void fillClipped(double *grid, int width, int height, int ix, int iy, int xw, int yw, double t);
