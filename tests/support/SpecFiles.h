#pragma once

#include <QFile>

// Small text files written and read back whole by the tests.
inline bool writeFile(const QString &name, const QByteArray &text)
{
    QFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

inline QByteArray readFile(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}
