#pragma once

#include <QString>

// The one way every line-oriented text of the program (configuration file,
// batch scripts, KVMX text frames, calibration files) is split into items.
// Items are separated by white space; a pair of double quotes holds an item
// that contains blanks. Callers walk a line with
//     line = nextItem(line, item);
// until the returned rest is empty.

// Takes the next item off `line` into `item` and returns the rest of the line.
QString nextItem(const QString &line, QString &item);

// The line up to (not including) its first "#"; the whole line when there is none.
QString stripComment(const QString &line);

// True when the line holds nothing but white space and a comment.
bool isBlankLine(const QString &line);

// True when the last non-blank character is a backslash; the line is then cut
// just before it so the caller can join it with the next line.
bool cutContinuation(QString &line);
