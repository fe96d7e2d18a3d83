#include "analysis/ElemAnalysis.h"

#include "analysis/Analyzed2DRes.h"
#include "spectrum/EdgeTable.h"

#include <QDebug>

#include <algorithm>
#include <cmath>
#include <utility>

ElemTarget ElemTarget::of(const QString &symbol, const QString &edgeName)
{
    ElemTarget t;
    t.symbol = symbol;
    t.edgeName = edgeName;
    t.z = elementNumber(symbol);
    t.edge = edgeIndex(edgeName);
    // The table gives eV already; an unknown element has no edge.
    t.e0 = t.z >= 1 ? edgeEnergy(t.z, t.edge) : 0.0;
    return t;
}

QVector<ElemTarget> parseElemTargets(const QString &text, bool sortByZ)
{
    QString names = text;
    names.replace(QLatin1Char(','), QLatin1Char(' '));
    const QStringList tokens = names.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QVector<ElemTarget> targets;
    for (const QString &token : tokens) {
        const int dash = token.indexOf(QLatin1Char('-'));
        const ElemTarget t = dash > 0 ? ElemTarget::of(token.left(dash), token.mid(dash + 1))
                                      : ElemTarget::of(token, QStringLiteral("K"));
        if (t.z >= 1)
            targets.append(t);
    }
    if (!sortByZ)
        return targets;
    QVector<int> z;
    z.reserve(targets.size());
    for (const ElemTarget &t : targets)
        z.append(t.z);
    QVector<ElemTarget> sorted;
    sorted.reserve(targets.size());
    for (int i : elemOrderByZ(z))
        sorted.append(targets[i]);
    return sorted;
}

QVector<int> elemOrderByZ(const QVector<int> &z)
{
    const int n = z.size();
    QVector<int> order(n);
    for (int i = 0; i < n; ++i)
        order[i] = i;
    for (int i = 0; i < n; ++i) {
        int smallest = -1;
        for (int j = i + 1; j < n; ++j)
            if (smallest < 0 || z[order[j]] < z[order[smallest]])
                smallest = j;
        if (smallest >= 0 && z[order[smallest]] < z[order[i]])
            std::swap(order[i], order[smallest]);
    }
    return order;
}

int findElemRow(const QVector<ElemTarget> &rows, const QString &arg)
{
    for (int i = 0; i < rows.size(); ++i)
        if (rows[i].name() == arg)
            return i;
    for (int i = 0; i < rows.size(); ++i)
        if (rows[i].symbol == arg)
            return i;
    bool whole = false;
    const int i = arg.trimmed().toInt(&whole, 10);
    if (whole && i >= 0 && i < rows.size())
        return i;
    qDebug().noquote() << "No element row" << arg << "among" << rows.size() << "rows";
    return -1;
}

const QVector<double> &ElemResults::kind(int k) const
{
    switch (k) {
    case 0:
        return dmut;
    case 1:
        return n;
    case 2:
        return muPlus;
    case 3:
        return muMinus;
    case 4:
        return de;
    case 5:
        return roi;
    default:
        return nroi;
    }
}

double elemEnergyShift(const XafsSpectrum &s)
{
    // The position's shift from the energy-shift map, as the LCF fit takes
    // it: a spectrum built at a position never has its dE switched on, and
    // the map would change nothing there.
    return s.energyShift();
}

ElemAnalysis::ElemAnalysis(const QVector<ElemRowSnapshot> &rows, int mainTarget,
                           const ElemBackground &background)
    : main(mainTarget >= 0 && mainTarget < rows.size() ? mainTarget : 0)
    , bg(background)
{
    rowData.reserve(rows.size());
    for (const ElemRowSnapshot &r : rows)
        rowData.append(Row{r.target.e0, r.target.e0 + r.preDE, r.target.e0 - r.preDE, r.thDMut,
                           r.roiStart, r.roiEnd, r.noNeg});
    windows.resize(rows.size());
}

void ElemAnalysis::analyze(const XafsSpectrum &s, ElemResults &out)
{
    analyze(s.raw(), elemEnergyShift(s), out);
}

// The first index i in from .. n - 2 whose segment midpoint (x(i) + x(i + 1))
// / 2 lies above e, or n - 1 when none does.
static int firstMidpointAbove(const SpectrumPoints &p, int from, double e)
{
    const int n = p.size();
    for (int i = from; i < n - 1; ++i)
        if ((p.x(i) + p.x(i + 1)) / 2 > e)
            return i;
    return n - 1;
}

void ElemAnalysis::findWindows(const SpectrumPoints &p, double shift)
{
    const int n = p.size();
    windowEnergies.resize(n);
    for (int i = 0; i < n; ++i)
        windowEnergies[i] = p.x(i);
    windowShift = shift;
    windowsKnown = true;
    for (int r = 0; r < rowData.size(); ++r) {
        const Row &row = rowData[r];
        Windows &w = windows[r];
        w = Windows{0, 0, 0, 0};
        // Without a segment there is nothing to search.
        if (n < 2)
            continue;
        const double firstMid = (p.x(0) + p.x(1)) / 2;
        w.i0 = firstMidpointAbove(p, 0, row.eMinus + shift);
        w.i1 = firstMid <= row.ePlus + shift ? firstMidpointAbove(p, 1, row.ePlus + shift) : w.i0;
        w.r0 = firstMidpointAbove(p, 0, row.roiStart + shift);
        w.r1 = firstMid <= row.roiEnd + shift ? firstMidpointAbove(p, 1, row.roiEnd + shift) : w.r0;
    }
}

void ElemAnalysis::analyze(const SpectrumPoints &p, double shift, ElemResults &out)
{
    const int rows = rowData.size();
    const int n = p.size();
    bool same = windowsKnown && shift == windowShift && n == windowEnergies.size();
    for (int i = 0; same && i < n; ++i)
        same = p.x(i) == windowEnergies[i];
    if (!same)
        findWindows(p, shift);

    for (QVector<double> *v :
         {&out.dmut, &out.n, &out.muPlus, &out.muMinus, &out.de, &out.roi, &out.nroi, &out.rawDmut})
        v->resize(rows);
    for (int r = 0; r < rows; ++r) {
        const Row &row = rowData[r];
        const Windows &w = windows[r];
        const double muPlus = p.valueAt(row.ePlus + shift);
        const double muMinus = p.valueAt(row.eMinus + shift);
        const double dmut = muPlus - muMinus;
        // A dmut that is not a number says as little as a small one: both
        // mean no element here.
        const bool found = dmut > row.th;
        double de = 0.0;
        double roi = bg.roi;
        double nroi = bg.nroi;
        if (found) {
            // Edge position: the mean energy of the segments where mu rises
            // through the middle of the step.
            const double level = (muPlus + muMinus) / 2;
            double sum = 0.0;
            int count = 0;
            for (int i = w.i0; i < w.i1; ++i) {
                if (p.y(i) < level && level <= p.y(i + 1)) {
                    sum += ((p.x(i) - shift) + (p.x(i + 1) - shift)) / 2;
                    ++count;
                }
            }
            if (count > 0)
                de = sum / count - row.e0;
            if (w.r0 < w.r1) {
                double s = 0.0;
                for (int i = w.r0; i < w.r1; ++i)
                    s += p.y(i) - muMinus;
                roi = s / (w.r1 - w.r0);
                nroi = roi / dmut;
                if (row.noNeg && roi < 0) {
                    roi = bg.roi;
                    nroi = bg.nroi;
                }
            } else {
                roi = 0.0;
                nroi = 0.0;
            }
        }
        out.rawDmut[r] = dmut;
        out.dmut[r] = found ? dmut : bg.dmut;
        out.muPlus[r] = found ? muPlus : bg.dmut;
        out.muMinus[r] = found ? muMinus : bg.dmut;
        out.de[r] = found ? de : bg.de;
        out.roi[r] = roi;
        out.nroi[r] = nroi;
    }
    // N against the main target's dmut as recorded (background included);
    // a main target without its element gives what the division gives.
    for (int r = 0; r < rows; ++r)
        out.n[r] = out.dmut[r] / out.dmut[main];
}

void analyzeSpectrumElems(const XafsSpectrum &s, const QVector<ElemRowSnapshot> &rows,
                          int mainTarget, const ElemBackground &bg, ElemResults &out)
{
    ElemAnalysis(rows, mainTarget, bg).analyze(s, out);
}

ElemCorrelation::ElemCorrelation(const QVector<ElemRowSnapshot> &snapshots)
    : rows(snapshots.size())
{
    for (int i = 0; i < rows; ++i) {
        if (!snapshots[i].use)
            continue;
        used.append(i);
        stdUsed.append(snapshots[i].stdRatio);
        sbb += snapshots[i].stdRatio * snapshots[i].stdRatio;
    }
}

ElemCorrelation::ElemCorrelation(const QVector<bool> &use, const QVector<double> &stdRatio)
    : rows(std::min(use.size(), stdRatio.size()))
{
    for (int i = 0; i < rows; ++i) {
        if (!use[i])
            continue;
        used.append(i);
        stdUsed.append(stdRatio[i]);
        sbb += stdRatio[i] * stdRatio[i];
    }
}

bool ElemCorrelation::correlation(const double *n, double &cor) const
{
    double saa = 0.0;
    double sab = 0.0;
    for (int k = 0; k < used.size(); ++k) {
        const double a = n[used[k]];
        saa += a * a;
        sab += a * stdUsed[k];
    }
    if (!(saa > 0 && sbb > 0))
        return false;
    cor = sab / std::sqrt(saa * sbb);
    return true;
}

bool ElemCorrelation::correlation(const QVector<double> &n, double &cor) const
{
    if (n.size() < rows) {
        qDebug().noquote() << "Correlation of" << n.size() << "values for" << rows << "rows";
        return false;
    }
    return correlation(n.constData(), cor);
}

double ElemCorrelation::mapValue(const double *n) const
{
    double cor = 0.0;
    return correlation(n, cor) ? cor : 0.0;
}

bool recalcElemCorMaps(const QVector<const Analyzed2DRes *> &nMaps, const ElemCorrelation &corr,
                       double threshold, Analyzed2DRes &cor, Analyzed2DRes &corTh,
                       const std::function<void(double)> &rowStarted)
{
    if (nMaps.size() != corr.rowCount() || nMaps.contains(nullptr)) {
        qDebug().noquote() << "Correlation maps need one N map for each of" << corr.rowCount()
                           << "rows, not" << nMaps.size();
        return false;
    }
    if (!cor.hasData() || !corTh.hasData()) {
        qDebug().noquote() << "No correlation maps to recalculate";
        return false;
    }
    AnalyzeCond w = cor.walk();
    w.reset();
    if (w.bins() == 0)
        return true;
    QVector<double> n(nMaps.size());
    bool newRow = true;
    do {
        if (newRow && rowStarted)
            rowStarted(w.y1 > w.y0 ? double(w.cy - w.y0) / (w.y1 - w.y0) * 100 : 100.0);
        for (int i = 0; i < nMaps.size(); ++i)
            n[i] = nMaps[i]->value(w.cx, w.cy);
        const double c = corr.mapValue(n.constData());
        cor.setData(w.cx, w.cy, w.hx, w.hy, c);
        corTh.setData(w.cx, w.cy, w.hx, w.hy, corThValue(c, threshold));
    } while (w.advance(newRow));
    return true;
}
