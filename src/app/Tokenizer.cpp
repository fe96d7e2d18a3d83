#include "app/Tokenizer.h"

#include <QDebug>

#include <QFile>
#include <QFileInfo>

namespace {

// White space as the items are split: blank, tab, line feed, vertical tab,
// form feed and carriage return; no other character separates items.
bool isItemSpace(QChar c)
{
    const ushort u = c.unicode();
    return u == ' ' || (u >= '\t' && u <= '\r');
}

void warnUnbalanced(const QString &line, bool openedByQuote)
{
    const QString text =
        openedByQuote
            ? QStringLiteral("In a line [%1] item is started from quote but not ended by quote")
            : QStringLiteral("In a line [%1] item is started from not quote but ended by quote");
    qDebug().noquote() << text.arg(line);
}

} // namespace

int nextItemAt(const QString &line, int from, QString &item)
{
    const int n = line.size();
    int s = qMax(from, 0);
    while (s < n && isItemSpace(line.at(s)))
        ++s;
    if (s >= n) {
        item.clear();
        return n;
    }
    const QChar quote(QLatin1Char('"'));
    if (line.at(s) == quote) {
        const int e = line.indexOf(quote, s + 1);
        if (e >= 0) {
            item = line.mid(s + 1, e - s - 1);
            return e + 1;
        }
        warnUnbalanced(line.mid(from), true);
        item = line.mid(s + 1);
        return n;
    }
    int e = s;
    while (e < n && !isItemSpace(line.at(e)))
        ++e;
    if (e < n) {
        if (line.at(e - 1) == quote)
            warnUnbalanced(line.mid(from), false);
        item = line.mid(s, e - s);
        return e;
    }
    if (line.endsWith(quote))
        warnUnbalanced(line.mid(from), false);
    item = line.mid(s);
    return n;
}

QString nextItem(const QString &line, QString &item)
{
    return line.mid(nextItemAt(line, 0, item));
}

QString stripComment(const QString &line)
{
    const int hash = line.indexOf(QLatin1Char('#'));
    return hash < 0 ? line : line.left(hash);
}

bool isBlankLine(const QString &line)
{
    return stripComment(line).simplified().isEmpty();
}

bool cutContinuation(QString &line)
{
    int last = line.size() - 1;
    while (last >= 0 && line.at(last).isSpace())
        --last;
    if (last < 0 || line.at(last) != QLatin1Char('\\'))
        return false;
    line.truncate(last);
    return true;
}

TextLineReader::OpenResult TextLineReader::open(const QString &fileName, qint64 maxBytes)
{
    tooLong = false;
    file.setFileName(fileName);
    const QFileInfo info(fileName);
    if (info.exists() && !info.isFile()) {
        qDebug().noquote() << "Not a regular file" << fileName;
        return NotRegular;
    }
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return CannotOpen;
    // Checked again on the open file: the name may have been replaced by a
    // device in between.
    if (file.isSequential()) {
        file.close();
        qDebug().noquote() << "Not a regular file" << fileName;
        return NotRegular;
    }
    if (file.size() > maxBytes) {
        file.close();
        return TooLarge;
    }
    in.setDevice(&file);
    return Opened;
}

bool TextLineReader::readLine(QString &line)
{
    if (tooLong || !in.device())
        return false;
    // One character more than allowed tells a line that is too long from
    // one that just fits.
    if (!in.readLineInto(&line, MaxLineLength + 1))
        return false;
    if (line.size() > MaxLineLength) {
        qDebug().noquote() << "Line too long in" << file.fileName();
        tooLong = true;
        line.clear();
        return false;
    }
    return true;
}
