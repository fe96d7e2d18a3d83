#pragma once

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QVector>

// How a frame gets its energy in eV: from its file name through a regular
// expression, from its number in an evenly spaced series (even in energy or
// in monochromator angle), or from a reference file of monochromator angles.
// The energy setup window keeps one of these filled from its fields.
class EnergyRule
{
public:
    enum Mode { FromFileName, FromFileNum, FromRefFile };
    enum Unit { UnitEV = 0, UnitKeV = 1, UnitDeg = 2 };

    // The nine patterns offered to the user; the first is the default.
    static const QStringList &patterns();

    // "1000" for a pattern naming keV, else "1".
    static QString factorForPattern(const QString &pattern);
    // End = Start + N * Delta.
    static double endOf(double start, int n, double delta) { return start + n * delta; }
    // Delta = (End - Start) / N; with N = 0 there is no step and `delta`
    // stays as it is (false).
    static bool deltaOf(double start, double end, int n, double &delta);

    // Energy of frame fNo read from `path`.
    double energyOf(const QString &path, int fNo) const;
    double energyFromName(const QString &path, int fNo) const;
    double energyFromRef(int fNo) const;
    double energyByCalc(int fNo) const;

    // Reads the angles of a reference file into refEnergies, skipping every
    // line that gives no finite positive energy; false (and a log line, the
    // list unchanged) when the file cannot be opened, is not a regular file,
    // is too large or has a line too long.
    bool readRefFile(const QString &fileName);

    // Energy of a monochromator angle in degrees.
    static double energyOfAngle(double degrees);
    // Angle in degrees for an energy in eV; -1 outside the crystal's range.
    static double angleOfEnergy(double eV);

    Mode mode = FromFileName;
    QString pattern = patterns().first();
    double factor = 1.0; // applied when > 0
    int unit = UnitEV;
    bool evenInAngle = true;
    double start = 8000.0;
    double end = 9000.0;
    double delta = 1.0;
    int numOfPoints = 1000;
    QVector<double> refEnergies;

private:
    // The compiled pattern, kept while the text is the same: the rule is
    // asked once per loaded frame.
    mutable QRegularExpression compiled;
};
