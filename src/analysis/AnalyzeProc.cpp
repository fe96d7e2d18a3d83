#include "analysis/AnalyzeProc.h"

#include <QDebug>

AnalyzeProc::AnalyzeProc(QObject *parent)
    : QObject(parent)
{
    static const int work = qRegisterMetaType<LcfRowWork>("LcfRowWork");
    static const int result = qRegisterMetaType<LcfRowResult>("LcfRowResult");
    static const int single = qRegisterMetaType<LcfSpectrumWork>("LcfSpectrumWork");
    static const int fitted = qRegisterMetaType<LcfResult>("LcfResult");
    Q_UNUSED(work);
    Q_UNUSED(result);
    static const int elems = qRegisterMetaType<ElemSpectrumWork>("ElemSpectrumWork");
    static const int elemResults = qRegisterMetaType<ElemResults>("ElemResults");
    Q_UNUSED(single);
    Q_UNUSED(fitted);
    Q_UNUSED(elems);
    Q_UNUSED(elemResults);
}

void AnalyzeProc::analyzeSpectrumElems0(const ElemSpectrumWork &work)
{
    ElemResults result;
    analyzeSpectrumElems(work.sample, work.rows, work.mainTarget, work.bg, result);
    emit elemsAnalyzed(work.request, result);
}

void AnalyzeProc::analyzeSpectrum0(const LcfSpectrumWork &work)
{
    LcfResult result;
    const bool ok = fitLcfSpectrum(work.sample, work.refs, work.isMLCF, work.sE0, work.eE0, result);
    emit spectrumFitted(work.request, ok, result);
}

void AnalyzeProc::cancelBelow(quint64 id)
{
    quint64 now = cancelledBelow.load();
    while (now < id && !cancelledBelow.compare_exchange_weak(now, id)) {
    }
}

void AnalyzeProc::fitRow(const LcfRowWork &work)
{
    if (cancelled(work.run))
        return;
    if (work.elems) {
        analyzeElemsRow(work);
        return;
    }
    const int bins = work.inside.size();
    const int n = work.energies.size();
    LcfBinFitter fitter(work.setup, work.energies, work.isVictoreen);
    if (!fitter.isValid() || work.shifts.size() != bins || work.mu.size() != bins * n) {
        qDebug().noquote() << "AnalyzeProc: row" << work.row << "of run" << work.run
                           << "has no usable set-up, not fitted";
        return;
    }
    const int k = fitter.usedCount();
    LcfRowResult out;
    out.run = work.run;
    out.row = work.row;
    out.usedCount = k;
    out.ratio.fill(0.0, bins * k);
    out.dmut.fill(0.0, bins * k);
    out.z.fill(0.0, bins);
    double *ratio = out.ratio.data();
    double *dmut = out.dmut.data();
    double *z = out.z.data();
    const double *mu = work.mu.constData();
    for (int i = 0; i < bins; ++i) {
        if (cancelled(work.run))
            return;
        // The fitted curve is never looked at in a run: it is not made.
        if (work.inside[i])
            fitter.fit(mu + i * n, work.shifts[i], ratio + i * k, dmut + i * k, z[i]);
        else
            fitter.fitEmpty(work.shifts[i], ratio + i * k, dmut + i * k, z[i]);
    }
    emit rowFitted(out);
}

void AnalyzeProc::analyzeElemsRow(const LcfRowWork &work)
{
    const int bins = work.inside.size();
    const int n = work.energies.size();
    const int rows = work.elems->rowCount();
    if (work.shifts.size() != bins || work.mu.size() != bins * n) {
        qDebug().noquote() << "AnalyzeProc: row" << work.row << "of run" << work.run
                           << "does not hold its bins, not analyzed";
        return;
    }
    LcfRowResult out;
    out.run = work.run;
    out.row = work.row;
    out.elemValues.fill(0.0, bins * ElemResults::Kinds * rows);
    out.cor.fill(0.0, bins);
    ElemResults r;
    SpectrumPoints points;
    for (int i = 0; i < bins; ++i) {
        if (cancelled(work.run))
            return;
        // The element analysis reads mu at the frame energies only: the
        // bin's points, no normalization. A bin outside the data has none.
        points.clear();
        if (work.inside[i]) {
            const double *mu = work.mu.constData() + qint64(i) * n;
            for (int e = 0; e < n; ++e)
                points.append(work.energies[e], mu[e]);
        }
        work.elems->analyze(points, work.shifts[i], r);
        double *v = out.elemValues.data() + qint64(i) * ElemResults::Kinds * rows;
        for (int k = 0; k < ElemResults::Kinds; ++k)
            for (int j = 0; j < rows; ++j)
                v[k * rows + j] = r.kind(k).value(j);
        out.cor[i] = work.correlation ? work.correlation->mapValue(r.n.constData()) : 0.0;
    }
    emit rowFitted(out);
}
