#pragma once

#include <QString>

// Writes one debug-log line: the message, a blank, and the current local time
// as "yyMMdd hh:mm:ss.zzz". Long runs (analyses, calibration, map files, the
// Fourier survey) mark their start, progress and end with it.
void timeStampLog(const QString &message);
