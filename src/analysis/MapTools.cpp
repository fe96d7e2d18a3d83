#include "analysis/MapTools.h"

#include "analysis/Analyzed2DRes.h"
#include "core/ExportWriters.h"
#include "input/TiffData.h"
#include "spectrum/XafsSpectrum.h"

#include <QDebug>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

// A walk over no image: its set-up failed (no I1 frame, no area) or never ran.
bool walkUsable(const AnalyzeCond &walk, const char *tool)
{
    if (walk.width >= 1 && walk.height >= 1)
        return true;
    qDebug().noquote() << tool << "not run: no area to walk";
    return false;
}

} // namespace

ResidualValues residualAt(const XafsSpectrum &spectrum, double e, double factor)
{
    ResidualValues r;
    r.dmut = spectrum.post().curve.valueAt(e) - spectrum.pre().curve.valueAt(e);
    r.rest = spectrum.raw().valueAt(e) - factor * r.dmut;
    return r;
}

bool runResidualAbsorption(const ResidualSetup &setup)
{
    const char *tool = "Residual absorption";
    if (setup.source.i1Count() < 1) {
        qDebug().noquote() << tool << "not run: no I1 frames";
        return false;
    }
    if (!setup.dmut || !setup.rest || !setup.ratio) {
        qDebug().noquote() << tool << "not run: no maps";
        return false;
    }
    if (!walkUsable(setup.walk, tool))
        return false;
    for (Analyzed2DRes *m : {setup.dmut, setup.rest, setup.ratio}) {
        if (!m->prepare(setup.walk))
            return false;
        m->setNo(-1);
    }

    AnalyzeCond w = setup.walk;
    w.reset();
    do {
        // The bin's spectrum on its own energy scale: the calibrated energy E
        // lies at E + shift there.
        const double shift = setup.shiftAt ? setup.shiftAt(w.cx, w.cy) : 0.0;
        const XafsSpectrum s(setup.source.absorption(w.cx, w.cy, w.hx, w.hy), setup.isVictoreen,
                             shift);
        const ResidualValues r = residualAt(s, setup.energy + shift, setup.factor);
        setup.dmut->setData(w.cx, w.cy, w.hx, w.hy, r.dmut);
        setup.rest->setData(w.cx, w.cy, w.hx, w.hy, r.rest);
        bool newRow = false;
        if (!w.advance(newRow))
            break;
        if (newRow)
            qDebug().noquote() << w.cy;
    } while (true);
    return residualRatio(*setup.dmut, *setup.rest, *setup.ratio);
}

bool residualRatio(Analyzed2DRes &dmut, Analyzed2DRes &rest, Analyzed2DRes &ratio)
{
    const double *r = rest.data();
    if (!r) {
        qDebug().noquote() << "Residual ratio not made: no rest values";
        return false;
    }
    const int w = rest.width();
    const int h = rest.height();
    const qint64 n = qint64(w) * h;
    // A rest that is no number takes no part in the minimum.
    double m = std::numeric_limits<double>::infinity();
    for (qint64 i = 0; i < n; ++i)
        if (r[i] < m)
            m = r[i];
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const double d = dmut.value(x, y);
            const double rr = r[qint64(y) * w + x] - m;
            // Where dmut and the rest over its minimum are both 0 the ratio is
            // no number, and the map keeps it so.
            ratio.setData(x, y, 0, 0, rr / (d + rr));
        }
    }
    dmut.genImg();
    rest.genImg();
    ratio.genImg();
    return true;
}

QString SumUpRange::text() const
{
    return QStringLiteral("%1-%2").arg(from).arg(to);
}

void SumUpRanges::add(int from, int to)
{
    list.append(SumUpRange{from, to, 0});
}

int SumUpRanges::remove(int current)
{
    if (current < 0 || current >= list.size())
        return current;
    list.removeAt(current);
    if (list.isEmpty())
        return -1;
    return std::max(current - 1, 0);
}

QVector<int> SumUpRanges::frameIndices(int frameCount) const
{
    QVector<int> frames;
    for (const SumUpRange &r : list) {
        const int from = std::max(r.from, 0);
        const int to = std::min(r.to, frameCount);
        for (int i = from; i < to; ++i)
            frames.append(i);
    }
    return frames;
}

bool runSumUp(const QVector<TiffData *> &i1, const AnalyzeCond &walk, const SumUpRanges &ranges,
              Analyzed2DRes &map, const QString &pictureFile)
{
    const char *tool = "Sum up";
    if (i1.isEmpty()) {
        qDebug().noquote() << tool << "not run: no I1 frames";
        return false;
    }
    if (!walkUsable(walk, tool) || !map.prepare(walk))
        return false;

    // The frames each bin sums, in the order the ranges give them; a frame
    // in two ranges is there twice.
    QVector<const TiffData *> frames;
    for (int i : ranges.frameIndices(i1.size()))
        frames.append(i1[i]);

    AnalyzeCond w = walk;
    w.reset();
    do {
        double sum = 0.0;
        for (const TiffData *f : frames)
            sum += f->windowSum(w.cx, w.cy, w.hx, w.hy);
        map.setData(w.cx, w.cy, w.hx, w.hy, sum);
        bool newRow = false;
        if (!w.advance(newRow))
            break;
        if (newRow) {
            const bool fixed = map.isFixedScale();
            qDebug().noquote() << w.cy << (fixed ? map.scaleMin() : map.dataMin())
                               << (fixed ? map.scaleMax() : map.dataMax());
        }
    } while (true);

    map.genImg();
    if (!pictureFile.isEmpty())
        savePicture(map.img(), pictureFile);
    return true;
}

double binSum(const Analyzed2DRes &map, int cx, int cy, int hx, int hy)
{
    const double *v = map.data();
    if (!v)
        return 0.0;
    const qint64 ax = std::abs(qint64(hx));
    const qint64 ay = std::abs(qint64(hy));
    const qint64 x0 = std::max<qint64>(cx - ax, 0);
    const qint64 x1 = std::min<qint64>(cx + ax, qint64(map.width()) - 1);
    const qint64 y0 = std::max<qint64>(cy - ay, 0);
    const qint64 y1 = std::min<qint64>(cy + ay, qint64(map.height()) - 1);
    double s = 0.0;
    for (qint64 y = y0; y <= y1; ++y) {
        const double *row = v + y * map.width();
        for (qint64 x = x0; x <= x1; ++x)
            s += row[x];
    }
    return s;
}

bool processMaps(const Analyzed2DRes &map1, const Analyzed2DRes &map2, const AnalyzeCond &walk,
                 int type, Analyzed2DRes &out)
{
    if (!map1.isImageValid() || !map2.isImageValid())
        return false;
    if (!walkUsable(walk, "Map processing") || !out.prepare(walk))
        return false;

    AnalyzeCond w = walk;
    w.reset();
    do {
        const double s1 = binSum(map1, w.cx, w.cy, w.hx, w.hy);
        const double s2 = binSum(map2, w.cx, w.cy, w.hx, w.hy);
        double v = s1 - s2;
        if (type == MapProcDiv)
            v = s2 == 0.0 ? 1.0 : s1 / s2;
        else if (type == MapProcMask)
            v = s2 > 0.0 ? s1 : 0.0;
        out.setData(w.cx, w.cy, w.hx, w.hy, v);
        qDebug().noquote() << w.cx << w.cy << v << out.value(w.cx, w.cy) << w.hx << w.hy;
    } while (w.advance());

    out.genImg();
    return true;
}

QString analyzedValLine(int x, int y, double value, double processed)
{
    return QString::asprintf("%4d %4d %15.6f %15.6f", x, y, value, processed);
}

bool showAnalyzedVals(const Analyzed2DRes &map)
{
    if (!map.hasData() || !map.hasProcessed()) {
        qDebug().noquote() << "No values to show in" << map.name();
        return false;
    }
    qDebug().noquote() << "vals of" << map.name();
    const double *v = map.data();
    const double *p = map.processed();
    const int w = map.width();
    for (int y = 0; y < map.height(); ++y)
        for (int x = 0; x < w; ++x) {
            const qint64 i = qint64(y) * w + x;
            qDebug().noquote() << analyzedValLine(x, y, v[i], p[i]);
        }
    return true;
}
