#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <cmath>
#include <vector>

// Small files the tests write and read back (empty when unreadable), and
// the energy of a monochromator angle worked out on its own.

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// An IMG file: 64-byte header (magic, comment length, width, height), the
// comment, then the samples little-endian, `bytesPerSample` bytes each.
inline QByteArray imgFile(int width, int height, const QByteArray &comment, int bytesPerSample,
                          const std::vector<quint32> &samples)
{
    QByteArray b(64, '\0');
    b[0] = 'I';
    b[1] = 'M';
    qToLittleEndian<quint16>(quint16(comment.size()), b.data() + 2);
    qToLittleEndian<quint16>(quint16(width), b.data() + 4);
    qToLittleEndian<quint16>(quint16(height), b.data() + 6);
    b += comment;
    for (quint32 v : samples) {
        char x[4];
        qToLittleEndian<quint32>(v, x);
        b.append(x, bytesPerSample);
    }
    return b;
}

// E = hc / (2 d sin theta) for the crystal of 2d = 6.27106 Angstrom.
inline double braggEnergy(double degrees)
{
    return 12398.424360387684 / (2 * 3.13553 * std::sin(degrees * M_PI / 180));
}
