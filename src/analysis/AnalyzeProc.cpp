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
    const int n = work.points.size();
    if (!work.setup || !work.setup->isValid() || work.shifts.size() != n) {
        qDebug().noquote() << "AnalyzeProc: row" << work.row << "of run" << work.run
                           << "has no usable set-up, not fitted";
        return;
    }
    const int k = work.setup->usedCount();
    LcfRowResult out;
    out.run = work.run;
    out.row = work.row;
    out.usedCount = k;
    out.ratio.fill(0.0, n * k);
    out.dmut.fill(0.0, n * k);
    out.z.fill(0.0, n);
    LcfResult r;
    for (int i = 0; i < n; ++i) {
        if (cancelled(work.run))
            return;
        const XafsSpectrum s(work.points[i], work.isVictoreen, work.shifts[i]);
        // The fitted curve is never looked at in a run: no normalization.
        work.setup->fit(s, r, false);
        for (int j = 0; j < k; ++j) {
            out.ratio[i * k + j] = r.ratio.value(j, 0.0);
            out.dmut[i * k + j] = r.dmut.value(j, 0.0);
        }
        out.z[i] = r.z;
    }
    emit rowFitted(out);
}

void AnalyzeProc::analyzeElemsRow(const LcfRowWork &work)
{
    const int n = work.points.size();
    const int rows = work.elems->rowCount();
    LcfRowResult out;
    out.run = work.run;
    out.row = work.row;
    out.elemValues.fill(0.0, n * ElemResults::Kinds * rows);
    out.cor.fill(0.0, n);
    ElemResults r;
    for (int i = 0; i < n; ++i) {
        if (cancelled(work.run))
            return;
        work.elems->analyze(work.points[i], work.shifts.value(i), r);
        double *v = out.elemValues.data() + qint64(i) * ElemResults::Kinds * rows;
        for (int k = 0; k < ElemResults::Kinds; ++k)
            for (int j = 0; j < rows; ++j)
                v[k * rows + j] = r.kind(k).value(j);
        out.cor[i] = work.correlation ? work.correlation->mapValue(r.n.constData()) : 0.0;
    }
    emit rowFitted(out);
}
