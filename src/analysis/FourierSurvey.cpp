#include "analysis/FourierSurvey.h"

#include "app/DebugLog.h"
#include "input/TiffData.h"
#include "spectrum/FourierBuffers.h"

#include <QDebug>

#include <cmath>

double FourierSurvey::correlation(int k) const
{
    return sva[k] / std::sqrt(std::abs(svv[k] * saa[k]));
}

bool FourierSurvey::run(const QVector<TiffData *> &i1, const AnalyzeCond &walk, FourierBuffers &fft)
{
    svv.clear();
    saa.clear();
    sva.clear();
    if (i1.isEmpty()) {
        qDebug().noquote() << "Fourier survey not run: no I1 frames";
        return false;
    }
    if (walk.width < 1 || walk.height < 1) {
        qDebug().noquote() << "Fourier survey not run: no area to walk";
        return false;
    }
    timeStampLog(QStringLiteral("2da FA 1:"));

    const int n = i1.size();
    fft.setSize(n);
    if (fft.size() != n) {
        qDebug().noquote() << "Fourier survey not run: no transform of length" << n;
        return false;
    }
    svv.fill(0.0, n);
    saa.fill(0.0, n);
    sva.fill(0.0, n);
    // The raw trace is that of the data, whose size is the first I1 frame's;
    // a bin centred outside it has an empty trace, all magnitudes 0.
    const TiffData *first = i1.first();
    QVector<double> trace(n, 0.0);

    AnalyzeCond w = walk;
    w.reset();
    do {
        const double v = first->windowSum(w.cx, w.cy, w.hx, w.hy);
        const bool inside =
            w.cx >= 0 && w.cy >= 0 && w.cx < first->width() && w.cy < first->height();
        for (int i = 0; i < n; ++i)
            trace[i] = inside ? i1[i]->windowSum(w.cx, w.cy, w.hx, w.hy) : 0.0;
        fft.forward(trace.constData());
        const double *a = fft.magnitudes();
        if (!a) {
            qDebug().noquote() << "Fourier survey stopped: no transform buffers";
            svv.clear();
            saa.clear();
            sva.clear();
            return false;
        }
        for (int k = 0; k < n; ++k) {
            svv[k] += v * v;
            saa[k] += a[k] * a[k];
            sva[k] += v * a[k];
        }
    } while (w.advance());

    for (int k = 0; k < n; ++k)
        qDebug().noquote() << "Res" << k << svv[k] << saa[k] << sva[k] << correlation(k);
    return true;
}
