#pragma once

#include <QFile>
#include <QString>
#include <QTextStream>

// The one way every line-oriented text of the program (configuration file,
// batch scripts, KVMX text frames, calibration files) is split into items.
// Items are separated by white space; a pair of double quotes holds an item
// that contains blanks. Callers walk a line with
//     line = nextItem(line, item);
// until the returned rest is empty.

// Takes the next item off `line` into `item` and returns the rest of the line.
QString nextItem(const QString &line, QString &item);

// The same walk by index, for lines too long to copy their rest at every
// item: takes the next item at or after `from` and returns the index where
// the rest begins (the line's length when nothing is left), so
//     pos = nextItemAt(line, pos, item);
// gives the items of nextItem in linear time, with the same warnings.
int nextItemAt(const QString &line, int from, QString &item);

// The line up to (not including) its first "#"; the whole line when there is none.
QString stripComment(const QString &line);

// True when the line holds nothing but white space and a comment.
bool isBlankLine(const QString &line);

// True when the last non-blank character is a backslash; the line is then cut
// just before it so the caller can join it with the next line.
bool cutContinuation(QString &line);

// Reads a line-oriented text file (reference angles, spectra, configuration,
// batch scripts) that may be hostile: only a regular file is opened (a device
// such as /dev/zero or a pipe never ends), its size is checked before reading,
// and no line may be longer than MaxLineLength characters, so no read grows
// without bound.
class TextLineReader
{
public:
    enum OpenResult { Opened, CannotOpen, NotRegular, TooLarge };
    static constexpr int MaxLineLength = 1024 * 1024;

    // Opens `fileName` as text. A file that is not a regular one is refused
    // with a log line; one that cannot be opened or is larger than maxBytes
    // is left to the caller to report.
    OpenResult open(const QString &fileName, qint64 maxBytes);
    void setCodec(const char *codec) { in.setCodec(codec); }

    // The next line, without its end, into `line`; false at the end of the
    // file and for a line that is too long (logged, and failed() is set).
    bool readLine(QString &line);
    bool failed() const { return tooLong; }

private:
    QFile file;
    QTextStream in;
    bool tooLong = false;
};
