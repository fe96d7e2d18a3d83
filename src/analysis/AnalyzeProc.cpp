#include "analysis/AnalyzeProc.h"

#include <QDebug>

AnalyzeProc::AnalyzeProc(QObject *parent)
    : QObject(parent)
{
    static const int work = qRegisterMetaType<LcfRowWork>("LcfRowWork");
    static const int result = qRegisterMetaType<LcfRowResult>("LcfRowResult");
    Q_UNUSED(work);
    Q_UNUSED(result);
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
