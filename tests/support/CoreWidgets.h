#pragma once

#include "batch/CmdLine.h"
#include "core/gui/Body.h"
#include "input/TiffData.h"

#include "TestFiles.h"

#include <QSignalSpy>
#include <QtTest>

#include <functional>

// Helpers of the window tests: a control found by its name, frame files, and
// batch statements handed to the main window as the interpreter hands them.
template <typename T>
T *child(QObject *o, const char *name)
{
    T *w = o->findChild<T *>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

// A 16-bit frame file of w x h samples value(x, y).
inline bool writeFrameFile(const QString &path, int w, int h,
                           const std::function<int(int, int)> &value)
{
    QVector<quint16> px(w * h);
    for (int i = 0; i < w * h; ++i)
        px[i] = quint16(value(i % w, i / w));
    return writeTiff16(path, w, h, px.constData());
}

// n files of 4 x 3 frames of samples k + x + 7 y, named tag_E_0000.tif for
// E = 7000 + step k eV.
inline QStringList writeFrames(const QString &dir, const QString &tag, int n, int step = 1)
{
    QStringList files;
    for (int k = 0; k < n; ++k) {
        files << QStringLiteral("%1/%2_%3_0000.tif").arg(dir, tag).arg(7000 + step * k);
        writeFrameFile(files.last(), 4, 3, [k](int x, int y) { return k + x + 7 * y; });
    }
    return files;
}

// Runs one statement (a remark line if `remark`); the number of answers it gave at once.
inline int runStatement(Body &body, const QString &statement, bool remark = false)
{
    QSignalSpy done(&body, &Body::finishBatchExec);
    body.execCmdSlot(CmdLine(statement), remark);
    return done.count();
}

// Runs a statement answered when its work in another thread ends; true when
// answered exactly once.
inline bool runAndWait(Body &body, const QString &statement)
{
    QSignalSpy done(&body, &Body::finishBatchExec);
    body.execCmdSlot(CmdLine(statement), false);
    return QTest::qWaitFor([&done] { return done.count() > 0; }, 20000) && done.count() == 1;
}

// Runs statements, one a line, that must each answer once at once; the first
// that does not, else an empty text.
inline QString runLines(Body &body, const QString &lines)
{
    for (const QString &s : lines.split('\n'))
        if (runStatement(body, s) != 1)
            return s;
    return QString();
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
