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
    Q_DISABLE_COPY(LogCapture)

    // A copy of the lines logged so far.
    QStringList lines() const;
    bool contains(const QString &text) const;
    void clear();

private:
    QtMessageHandler previous;
};
