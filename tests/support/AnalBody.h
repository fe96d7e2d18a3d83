#pragma once

#include "batch/CmdLine.h"
#include "core/gui/Body.h"
#include "input/TiffData.h"

#include <QFile>
#include <QSignalSpy>

#include <functional>

// Hands one statement of a script to the main window; returns how often the
// window reported it done (0 while a run started by it goes on).
inline int runStatement(Body &body, const QString &statement)
{
    QSignalSpy done(&body, &Body::finishBatchExec);
    body.execCmdSlot(CmdLine(statement), false);
    return done.count();
}

// Frames k = 0 .. n - 1 at e0 + step k eV handed to the window as the loaders
// hand them, named so that the energy is read from the name: I0 constant,
// I1 from i1(k, x, y).
inline void loadStacks(Body &body, int w, int h, int n, int e0, int step, float i0,
                       const std::function<double(int k, int x, int y)> &i1)
{
    for (int k = 0; k < n; ++k) {
        QVector<float> flat(w * h, i0), t(w * h);
        for (int i = 0; i < w * h; ++i)
            t[i] = float(i1(k, i % w, i / w));
        const QString name =
            QStringLiteral("f_%1_0000.tif").arg(e0 + step * k, 5, 10, QLatin1Char('0'));
        body.loadedI0(TiffData::fromSamples(w, h, flat.constData(), name), k);
        body.loadedI1(TiffData::fromSamples(w, h, t.constData(), name), k);
    }
}

inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("unreadable");
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
