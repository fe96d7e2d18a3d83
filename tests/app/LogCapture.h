#pragma once

#include <QStringList>
#include <QtGlobal>

// Collects the debug log while it lives, so a test can check the exact
// messages an operation writes.
class LogCapture
{
public:
    LogCapture() { current() = this; previous = qInstallMessageHandler(&LogCapture::handler); }
    ~LogCapture() { qInstallMessageHandler(previous); current() = nullptr; }
    QStringList lines;
    bool contains(const QString &text) const
    {
        for (const QString &l : lines)
            if (l.contains(text))
                return true;
        return false;
    }

private:
    static LogCapture *&current() { static LogCapture *c = nullptr; return c; }
    static void handler(QtMsgType, const QMessageLogContext &, const QString &msg)
    {
        if (current())
            current()->lines << msg;
    }
    QtMessageHandler previous;
};
