#pragma once

#include "analysis/AnalyzeCond.h"

#include <QDateTime>
#include <QString>
#include <QVector>

#include <functional>

class SpectrumSource;

// The quality survey of an area ("Collect Q Info"): for every bin the
// normalized spectrum's edge energy and jump and where its absorption
// maximum lies and how high it stands above the post-edge line, with two
// running statistics, written to "qinfo.dat".

// One bin, in the order of its fields: the bin centre, then what the
// normalization of its spectrum found.
struct QInfoRecord
{
    double x = 0.0;
    double y = 0.0;
    double e0 = 0.0;
    double jump = 0.0;
    double maxE = 0.0;
    double maxMu = 0.0;
    double maxMuOverPost = 0.0;
};

// A list of values with its count, range, sum, mean and population standard
// deviation. The range of an empty list stays at 1e300 and -1e300, its mean
// and deviation at 0.
class QInfoStat
{
public:
    void add(double v);
    // Mean and deviation of the values added so far.
    void finish();

    int count() const { return values.size(); }
    double minimum = 1e300;
    double maximum = -1e300;
    double sum = 0.0;
    double mean = 0.0;
    double deviation = 0.0;

private:
    QVector<double> values;
};

struct QInfo
{
    QVector<QInfoRecord> records; // in walk order
    QInfoStat maxE;               // the maxE of each bin
    QInfoStat maxMutJ;            // maxMuOverPost / jump of each bin
};

struct QInfoRequest
{
    // The walk over the area, set up by the caller and walked from its first
    // bin; null when no walk is possible (no I1 frames): then no bins.
    const AnalyzeCond *walk = nullptr;
    // The energy shift of the bin centred at (x, y); none: 0 everywhere.
    std::function<double(int x, int y)> shiftAt;
    // Background form of the normalization: Victoreen, else a line.
    bool isVictoreen = false;
    // The clock of the progress lines; none: the current local time.
    std::function<QDateTime()> now;
};

// Surveys the bins of the walk in walk order, with the progress in the debug
// log: "Start : yy/MM/dd hh:mm:ss.zzz" first, at each new row of bins the
// pattern "<row's y> yy/MM/dd hh:mm:ss.zzz", "End : yy/MM/dd hh:mm:ss.zzz"
// after the last bin, each a date-time pattern of QDateTime::toString (so
// every letter it knows stands for its field, even in "Start" and "End");
// then "maxE" and "maxMutJ" each with minimum, maximum, mean and deviation.
QInfo collectQInfo(const SpectrumSource &source, const QInfoRequest &request);

// Writes the survey, truncating the file: "# maxE " and "# maxMutJ " each
// followed by minimum, maximum, mean and deviation separated by blanks, then
// one line per bin of maxE, maxMu, maxMuOverPost, jump, e0, x and y separated
// by tabs; numbers in the general format with 6 significant digits. False,
// logged, when the file cannot be opened or written.
bool writeQInfo(const QString &fileName, const QInfo &info);
