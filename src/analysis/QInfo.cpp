#include "analysis/QInfo.h"

#include "core/SpectrumSource.h"
#include "spectrum/XafsSpectrum.h"

#include <QDebug>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <cmath>

void QInfoStat::add(double v)
{
    values.append(v);
    if (v < minimum)
        minimum = v;
    if (v > maximum)
        maximum = v;
    sum += v;
}

void QInfoStat::finish()
{
    if (values.isEmpty())
        return;
    mean = sum / values.size();
    double squares = 0.0;
    for (double v : values)
        squares += (v - mean) * (v - mean);
    deviation = std::sqrt(squares / values.size());
}

namespace {

void logTime(const std::function<QDateTime()> &now, const QString &pattern)
{
    const QDateTime t = now ? now() : QDateTime::currentDateTime();
    qDebug().noquote() << t.toString(pattern);
}

void logStat(const char *name, const QInfoStat &s)
{
    qDebug().noquote() << name << s.minimum << s.maximum << s.mean << s.deviation;
}

} // namespace

QInfo collectQInfo(const SpectrumSource &source, const QInfoRequest &request)
{
    QInfo info;
    logTime(request.now, QStringLiteral("Start : yy/MM/dd hh:mm:ss.zzz"));
    if (request.walk) {
        AnalyzeCond w = *request.walk;
        w.reset();
        info.records.reserve(int(std::min<qint64>(w.bins(), 1 << 20)));
        bool newRow = true;
        do {
            if (newRow)
                logTime(request.now, QStringLiteral("%1 yy/MM/dd hh:mm:ss.zzz").arg(w.cy));
            const double shift = request.shiftAt ? request.shiftAt(w.cx, w.cy) : 0.0;
            const XafsSpectrum s(source.absorption(w.cx, w.cy, w.hx, w.hy), request.isVictoreen,
                                 shift);
            QInfoRecord r;
            r.x = w.cx;
            r.y = w.cy;
            r.e0 = s.e0();
            r.jump = s.jump();
            r.maxE = s.maxE();
            r.maxMu = s.maxMu();
            r.maxMuOverPost = s.maxMuOverPost();
            info.records.append(r);
            info.maxE.add(r.maxE);
            // A jump of 0 gives an infinity or a not-a-number, which the
            // statistics take as they come.
            info.maxMutJ.add(r.maxMuOverPost / r.jump);
        } while (w.advance(newRow));
    }
    logTime(request.now, QStringLiteral("End : yy/MM/dd hh:mm:ss.zzz"));
    info.maxE.finish();
    info.maxMutJ.finish();
    logStat("maxE", info.maxE);
    logStat("maxMutJ", info.maxMutJ);
    return info;
}

bool writeQInfo(const QString &fileName, const QInfo &info)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        qDebug().noquote() << "Can't open" << fileName;
        return false;
    }
    QTextStream out(&file);
    const auto stat = [&out](const char *name, const QInfoStat &s) {
        out << "# " << name << " " << s.minimum << " " << s.maximum << " " << s.mean << " "
            << s.deviation << "\n";
    };
    stat("maxE", info.maxE);
    stat("maxMutJ", info.maxMutJ);
    for (const QInfoRecord &r : info.records)
        out << r.maxE << "\t" << r.maxMu << "\t" << r.maxMuOverPost << "\t" << r.jump << "\t"
            << r.e0 << "\t" << r.x << "\t" << r.y << "\n";
    out.flush();
    file.close();
    if (out.status() != QTextStream::Ok || file.error() != QFileDevice::NoError) {
        qDebug().noquote() << "Can't write" << fileName;
        return false;
    }
    return true;
}
