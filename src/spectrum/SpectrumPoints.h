#pragma once

#include <QMetaType>
#include <QPointF>
#include <QVector>

// Linear interpolation y1 + (y2 - y1) / (x2 - x1) * (x - x1) on the line
// through (x1, y1) and (x2, y2); for x1 == x2 the mean of y1 and y2.
inline double interpolate(double x, double x1, double y1, double x2, double y2)
{
    if (x2 == x1)
        return (y1 + y2) / 2.0;
    return y1 + (y2 - y1) / (x2 - x1) * (x - x1);
}

// The two points a linear reading at arg interpolates between, on n >= 2
// ascending x values read through xAt(i): the first two below the first x,
// the last two from the last x on, else the two around arg. Every curve of
// the program is read through this one search, so two readings of the same
// values give the same bits.
template <typename XAt>
void segmentOf(int n, double arg, const XAt &xAt, int &a, int &b)
{
    if (arg <= xAt(0)) {
        a = 0;
        b = 1;
        return;
    }
    if (arg >= xAt(n - 1)) {
        a = n - 2;
        b = n - 1;
        return;
    }
    int lo = 0;
    int hi = n - 1;
    while (hi - 1 > lo) {
        const int mid = (lo + hi) / 2;
        if (xAt(mid) > arg)
            hi = mid;
        else
            lo = mid;
    }
    a = lo;
    b = hi;
}

// An ordered list of (x, y) points, as every spectrum, trace and profile of
// the program is. It keeps running bounds over the stored values while points
// are appended, an in-use flag (a reference can be switched off without being
// removed) and an energy shift that, when enabled, is subtracted from every x
// read through x(), valueAt() and crossingX().
class SpectrumPoints
{
public:
    // Index values of a list without points.
    static constexpr int NoMinYIndex = -1879048193;
    static constexpr int NoMaxYIndex = 1879048193;
    static constexpr double StartMin = 1e300;
    static constexpr double StartMax = -1e300;

    // Directions of crossingX.
    enum Crossing { Rising = 0, Falling = 1, Either = 2 };

    SpectrumPoints() = default;

    // Appends one point and updates the bounds. Strict comparisons: a value
    // that only ties an extreme keeps the earlier index.
    void append(double x, double y)
    {
        if (x < xMin)
            xMin = x;
        if (x > xMax)
            xMax = x;
        if (y < yMin) {
            yMin = y;
            yMinIndex = pts.size();
        }
        if (y > yMax) {
            yMax = y;
            yMaxIndex = pts.size();
        }
        pts.append(QPointF(x, y));
    }
    // Removes all points and resets the bounds; the shift and its flag stay.
    void clear();
    void reserve(int n) { pts.reserve(n); }

    // Bulk building for the hot paths: fillBuffer(n) empties the list and
    // returns room for n points to be written in order; finishFill() then
    // sets the bounds exactly as appending the points one by one would.
    QPointF *fillBuffer(int n);
    void finishFill();
    // The same when the x bounds are known (the points share the x values of
    // another list): only the y bounds are looked for.
    void finishFill(double knownMinX, double knownMaxX);

    int size() const { return pts.size(); }
    bool isEmpty() const { return pts.isEmpty(); }

    // x as read through the shift (stored x minus shift when enabled).
    double x(int i) const { return shiftOn ? pts[i].x() - dE : pts[i].x(); }
    double storedX(int i) const { return pts[i].x(); }
    double y(int i) const { return pts[i].y(); }
    const QVector<QPointF> &points() const { return pts; }

    // Bounds over the stored values.
    double minX() const { return xMin; }
    double maxX() const { return xMax; }
    double minY() const { return yMin; }
    double maxY() const { return yMax; }
    int minYIndex() const { return yMinIndex; }
    int maxYIndex() const { return yMaxIndex; }

    bool inUse() const { return used; }
    void setInUse(bool f) { used = f; }
    bool shiftEnabled() const { return shiftOn; }
    void enableShift(bool f) { shiftOn = f; }
    double shift() const { return dE; }
    void setShift(double s) { dE = s; }

    // The y at x by linear interpolation between neighbouring points (shifted
    // x, ascending). Outside the list the line through the two outermost
    // points at that end is extended. Empty: 0; one point: its y.
    double valueAt(double x) const;

    // The index of the point whose (shifted, ascending) x is nearest to x,
    // the later one at a tie; -1 when empty.
    int indexNear(double x) const;

    // The x where the curve first crosses smallest y + fraction * (y range)
    // in the given direction (a Crossing value). No crossing: the first
    // point's x; empty: 0.
    double crossingX(double fraction, int direction) const;

    // A copy whose stored x values are the shifted ones: x and the x bounds
    // lose the shift (when enabled), the shift value is kept (0 when it was
    // disabled) and the flag is off, so the shift does not apply twice.
    SpectrumPoints withShiftBakedIn() const;

private:
    bool used = true;
    QVector<QPointF> pts;
    double xMin = StartMin;
    double yMin = StartMin;
    double xMax = StartMax;
    double yMax = StartMax;
    int yMinIndex = NoMinYIndex;
    int yMaxIndex = NoMaxYIndex;
    bool shiftOn = false;
    double dE = 0.0;
};

Q_DECLARE_METATYPE(SpectrumPoints)
