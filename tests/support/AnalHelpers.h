#pragma once

#include "analysis/Analyzed2DRes.h"
#include "input/TiffData.h"

#include <QtTest>

#include <cmath>

using Reals = QVector<double>;

// A map over the whole w x h image in bins of (2 half + 1) pixels a side,
// filled with one value per bin in walk order.
inline void fillMap(Analyzed2DRes &map, int w, int h, int half, const Reals &bins)
{
    AnalyzeCond walk;
    walk.setup(w, h, half, half, 0, 0, w, h);
    QVERIFY(map.prepare(walk));
    for (double v : bins) {
        map.setData(walk.cx, walk.cy, walk.hx, walk.hy, v);
        walk.advance();
    }
}

// Every value within tol of the expected one; the two lists in the log if not.
inline bool near(const Reals &seen, const Reals &expected, double tol)
{
    bool ok = seen.size() == expected.size();
    for (int i = 0; ok && i < seen.size(); ++i)
        ok = std::abs(seen[i] - expected[i]) <= tol;
    if (!ok)
        qWarning() << seen << "expected" << expected;
    return ok;
}

// mu of a unit step on a 10 eV grid: 0 below `at`, 0.5 at it, 1 above. With
// straight backgrounds its normalized curve is mu itself, and so is that of
// any mix of such steps whose weights sum to 1.
inline double unitStep(double e, double at)
{
    return e < at ? 0.0 : e == at ? 0.5 : 1.0;
}

// Frames made for a test and deleted with it.
struct OwnedFrames : QVector<TiffData *>
{
    OwnedFrames() = default;
    Q_DISABLE_COPY(OwnedFrames)
    ~OwnedFrames() { qDeleteAll(*this); }
};
