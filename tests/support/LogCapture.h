#pragma once

#include <QStringList>
#include <QtGlobal>

// Collects the debug log while it lives, so a test can check the exact
// messages an operation writes. Messages may come from any thread (the
// loaders log from theirs); each is stored whole under a lock.
class LogCapture
{
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture &) = delete;
    LogCapture &operator=(const LogCapture &) = delete;

    // A copy of the lines logged so far.
    QStringList lines() const;
    bool contains(const QString &text) const;
    void clear();

private:
    QtMessageHandler previous;
};
