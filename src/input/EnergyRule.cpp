#include "input/EnergyRule.h"

#include "app/Tokenizer.h"
#include "spectrum/Constants.h"

#include <QDebug>

#include <cmath>

namespace {

// A reference holds one angle per frame, a few thousand lines; anything far
// larger is no reference file.
constexpr qint64 MaxRefFileBytes = 16ll * 1024 * 1024;

} // namespace

const QStringList &EnergyRule::patterns()
{
    static const QStringList list{
        QStringLiteral("(\\d|)\\d\\d\\d\\d_\\d\\d\\d\\d"),
        QStringLiteral("\\d\\d\\d\\d_\\d\\d\\d\\d"),
        QStringLiteral("\\d\\d\\d\\d_\\d\\d"),
        QStringLiteral("\\d\\d\\d\\d_\\d\\deV"),
        QStringLiteral("\\d\\d\\d\\d\\.\\d\\d\\d\\d"),
        QStringLiteral("\\d\\d\\d\\d\\.\\d\\d"),
        QStringLiteral("\\d\\d\\d\\d\\.\\d\\deV"),
        QStringLiteral("\\d\\d_\\d\\d\\d\\d\\d\\dKeV"),
        QStringLiteral("\\d_\\d\\d\\d\\d\\d\\dKeV"),
    };
    return list;
}

QString EnergyRule::factorForPattern(const QString &pattern)
{
    return pattern.toUpper().contains(QLatin1String("KEV")) ? QStringLiteral("1000")
                                                            : QStringLiteral("1");
}

bool EnergyRule::deltaOf(double start, double end, int n, double &delta)
{
    if (n == 0)
        return false;
    delta = (end - start) / n;
    return true;
}

double EnergyRule::energyOf(const QString &path, int fNo) const
{
    if (mode == FromFileName)
        return energyFromName(path, fNo);
    if (mode == FromRefFile)
        return energyFromRef(fNo);
    return energyByCalc(fNo);
}

double EnergyRule::energyFromName(const QString &path, int fNo) const
{
    if (compiled.pattern() != pattern)
        compiled.setPattern(pattern);
    double value = fNo;
    const QRegularExpressionMatch m = compiled.match(path);
    if (m.hasMatch()) {
        QString s = m.captured(0).toUpper();
        s.replace(QLatin1Char('_'), QLatin1Char('.'));
        s.remove(QLatin1String("KEV"));
        s.remove(QLatin1String("EV"));
        bool ok = false;
        value = s.toDouble(&ok);
        if (!ok)
            value = 0.0;
    }
    if (factor > 0)
        value *= factor;
    return value;
}

double EnergyRule::energyFromRef(int fNo) const
{
    if (refEnergies.isEmpty())
        return fNo + 8000.0;
    if (fNo < 0)
        return refEnergies.first();
    if (fNo >= refEnergies.size())
        return refEnergies.last();
    return refEnergies.at(fNo);
}

double EnergyRule::energyOfAngle(double degrees)
{
    return Constants::hc
           / (2.0 * Constants::defaultDSpacing * std::sin(degrees * Constants::pi / 180.0));
}

double EnergyRule::angleOfEnergy(double eV)
{
    const double a = Constants::hc / eV / (2.0 * Constants::defaultDSpacing);
    if (!(std::fabs(a) <= 1.0))
        return -1.0;
    return std::asin(a) * 180.0 / Constants::pi;
}

double EnergyRule::energyByCalc(int fNo) const
{
    const double x = start + delta * fNo;
    if (unit == UnitDeg)
        return energyOfAngle(x);
    const double scale = unit == UnitKeV ? 1000.0 : 1.0;
    if (!evenInAngle)
        return x * scale;
    const double ts = angleOfEnergy(start * scale);
    const double te = angleOfEnergy(end * scale);
    // With no steps (N = 0) the series stays at its start.
    const double theta = numOfPoints != 0 ? ts + (te - ts) / numOfPoints * fNo : ts;
    return energyOfAngle(theta);
}

bool EnergyRule::readRefFile(const QString &fileName)
{
    TextLineReader in;
    switch (in.open(fileName, MaxRefFileBytes)) {
    case TextLineReader::Opened:
        break;
    case TextLineReader::CannotOpen:
        qDebug().noquote() << "Can't open ref file" << fileName;
        return false;
    case TextLineReader::TooLarge:
        qDebug().noquote() << "Ref file too large" << fileName;
        return false;
    case TextLineReader::NotRegular:
        return false;
    }
    QString line;
    in.readLine(line);
    const QString firstWord = line.simplified().section(QLatin1Char(' '), 0, 0);
    int column = 0;
    QVector<double> energies;
    if (firstWord == QLatin1String("9809")) {
        // The angles follow the line that starts with "Offset".
        while (in.readLine(line))
            if (line.simplified().startsWith(QLatin1String("Offset")))
                break;
        column = 1;
    } else if (!in.failed()) {
        qDebug().noquote() << "reading simple";
    }
    while (in.readLine(line)) {
        const QStringList items = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (items.isEmpty() || items.first().startsWith(QLatin1Char('#')) || items.size() <= column)
            continue;
        bool ok = false;
        const double angle = items.at(column).toDouble(&ok);
        if (!ok)
            continue;
        // A word where the angle belongs is no angle, and an angle of 0,
        // "nan", "inf" or one too small for its sine gives no energy: every
        // energy must be finite and positive.
        const double energy = energyOfAngle(angle);
        if (!(std::isfinite(energy) && energy > 0.0))
            continue;
        energies.append(energy);
    }
    // A file cut short by a line too long is no reference: the list stays.
    if (in.failed())
        return false;
    refEnergies = energies;
    return true;
}
