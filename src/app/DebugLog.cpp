#include "app/DebugLog.h"

#include <QDateTime>
#include <QDebug>

void timeStampLog(const QString &message)
{
    qDebug().noquote() << message
                       << QDateTime::currentDateTime().toString(
                              QStringLiteral("yyMMdd hh:mm:ss.zzz"));
}
