#include "app/Tokenizer.h"

#include <QDebug>
#include <QRegularExpression>

namespace {

const QRegularExpression &nonSpace()
{
    static const QRegularExpression re(QStringLiteral("\\S"));
    return re;
}

const QRegularExpression &space()
{
    static const QRegularExpression re(QStringLiteral("\\s"));
    return re;
}

void warnUnbalanced(const QString &line, bool openedByQuote)
{
    const QString text = openedByQuote
        ? QStringLiteral("In a line [%1] item is started from quote but not ended by quote")
        : QStringLiteral("In a line [%1] item is started from not quote but ended by quote");
    qDebug().noquote() << text.arg(line);
}

} // namespace

QString nextItem(const QString &line, QString &item)
{
    const int s = line.indexOf(nonSpace());
    if (s < 0) {
        item.clear();
        return QString();
    }
    const QChar quote(QLatin1Char('"'));
    if (line.at(s) == quote) {
        const int e = line.indexOf(quote, s + 1);
        if (e >= 0) {
            item = line.mid(s + 1, e - s - 1);
            return line.mid(e + 1);
        }
        warnUnbalanced(line, true);
        item = line.mid(s + 1);
        return QString();
    }
    const int e = line.indexOf(space(), s);
    if (e >= 0) {
        if (line.at(e - 1) == quote)
            warnUnbalanced(line, false);
        item = line.mid(s, e - s);
        return line.mid(e);
    }
    if (line.endsWith(quote))
        warnUnbalanced(line, false);
    item = line.mid(s);
    return QString();
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
