#include "LogCapture.h"

#include <QMutex>
#include <QMutexLocker>

namespace {
QMutex mutex;
QStringList captured;
bool active = false;

void handler(QtMsgType, const QMessageLogContext &, const QString &msg)
{
    QMutexLocker lock(&mutex);
    if (active)
        captured << msg;
}
} // namespace

LogCapture::LogCapture()
{
    QMutexLocker lock(&mutex);
    captured.clear();
    active = true;
    previous = qInstallMessageHandler(&handler);
}

LogCapture::~LogCapture()
{
    qInstallMessageHandler(previous);
    QMutexLocker lock(&mutex);
    active = false;
    captured.clear();
}

QStringList LogCapture::lines() const
{
    QMutexLocker lock(&mutex);
    return captured;
}

bool LogCapture::contains(const QString &text) const
{
    return !lines().filter(text).isEmpty();
}

void LogCapture::clear()
{
    QMutexLocker lock(&mutex);
    captured.clear();
}
