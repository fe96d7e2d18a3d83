#pragma once

#include <QByteArray>
#include <QString>

// Numbers typed into fields, written in scripts or read from headers are
// base-10 integers or doubles; text that does not parse counts as 0.
inline int intOfText(const QString &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    return ok ? v : 0;
}

inline int intOfText(const QByteArray &text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok, 10);
    return ok ? v : 0;
}

inline double realOfText(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok ? v : 0.0;
}
