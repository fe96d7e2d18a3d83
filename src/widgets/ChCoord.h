#pragma once

// Converts between a screen rectangle (widget pixels) and a real rectangle
// (image pixels, or energies and absorbances on a plot).
//
// Each axis pairs the screen edge 0 with the real edge 0 and the screen edge
// 1 with the real edge 1, so an axis is flipped by giving its real edges in
// the other order (a plot whose values grow upwards sets realY0 = top value).
// The conversions use the inner screen rectangle: the screen rectangle less
// the four margins (fractions of the width or height, each truncated to
// whole pixels), which leaves room for axes and labels around a plot.
//
// Besides the conversions it finds tick steps for axes (tickStepX/Y) and a
// rounded set of label values over a range (roundedRange).
class ChCoord
{
public:
    ChCoord() = default;

    // Screen rectangle from (x0, y0) to (x1, y1); y0 is the top edge.
    void setScreenArea(int x0, int y0, int x1, int y1);
    // Real rectangle: realX0 shows at the inner screen's x0, realY0 at its y0.
    void setRealArea(double x0, double y0, double x1, double y1);
    // Margins as fractions of the screen width (left, right) and height
    // (top, bottom). All 0 by default.
    void setMargins(double left, double right, double top, double bottom);
    // Hit tolerances as fractions of the inner width and height (nearX/Y).
    void setTolerance(double tx, double ty);

    int screenX0() const { return sx0; }
    int screenX1() const { return sx1; }
    int screenY0() const { return sy0; }
    int screenY1() const { return sy1; }
    int innerX0() const { return ix0; }
    int innerX1() const { return ix1; }
    int innerY0() const { return iy0; }
    int innerY1() const { return iy1; }
    double realX0() const { return rx0; }
    double realX1() const { return rx1; }
    double realY0() const { return ry0; }
    double realY1() const { return ry1; }

    // Real position to screen position (not rounded). A degenerate real
    // axis (r1 == r0) maps everything to the screen edge 0.
    double r2sx(double x) const;
    double r2sy(double y) const;
    // Real length to screen length (signed, by the same ratio, no offset).
    double r2sLx(double l) const;
    double r2sLy(double l) const;
    // Screen position to real position; a degenerate screen axis maps to
    // the real edge 0.
    double s2rx(double x) const;
    double s2ry(double y) const;
    // The same, limited to the real range of the axis.
    double s2rxLimit(double x) const;
    double s2ryLimit(double y) const;
    // Screen length to real length.
    double s2rLx(double l) const;
    double s2rLy(double l) const;

    // A screen position is near an edge of the inner rectangle when it lies
    // within tolerance x |inner width| (or height) of it.
    bool nearLowX(double x) const;
    bool nearHighX(double x) const;
    bool nearLowY(double y) const;
    bool nearHighY(double y) const;

    // Tick step along an axis: the first of base x 10^k x 1, 2, 5 (k = 0 to
    // 7) whose screen length exceeds minSpacing pixels. Gives the largest
    // candidate when none does, and 0 for a base that is not a positive
    // number or a degenerate axis.
    double tickStepX(double base, double minSpacing) const;
    double tickStepY(double base, double minSpacing) const;

    // Label values over [min, max]: step = 10^floor(log10(max - min)) x f,
    // f = 0.2, 0.2, 0.5, 0.5, 1, 1, 1, 2, 2 for the leading digit 1 to 9 of
    // the range; first = ceil(min / step) x step, last = floor(max / step) x
    // step. False (and nothing written) when max <= min or either is not a
    // finite number.
    static bool roundedRange(double min, double max, double *step, double *first, double *last);

private:
    void updateInner();
    static double tickStep(double base, double minSpacing, double ratio);

    int sx0 = 0, sy0 = 0, sx1 = 1, sy1 = 1;
    int ix0 = 0, iy0 = 0, ix1 = 1, iy1 = 1;
    double rx0 = 0.0, ry0 = 0.0, rx1 = 1.0, ry1 = 1.0;
    double marginL = 0.0, marginR = 0.0, marginT = 0.0, marginB = 0.0;
    double tolX = 0.0, tolY = 0.0;
};
