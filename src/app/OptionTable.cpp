#include "app/OptionTable.h"

#include "app/Tokenizer.h"

#include <QDebug>
#include <QFile>
#include <QTextStream>

void OptionTable::add(const QString &key, const QString &value, const QString &extra)
{
    const QString upperKey = key.toUpper();
    if (!keys.contains(key)) {
        keys << key;
        values << value;
        extras << extra;
    }
    if (!upperKeys.contains(upperKey)) {
        upperKeys << upperKey;
        upperValues << value;
        upperExtras << extra;
    }
    allKeys << key;
    allUpperKeys << upperKey;
    allValues << value;
    allExtras << extra;
    usedFlags.append(char(0));
}

QString OptionTable::value(const QString &key, const QString &defaultValue)
{
    const int i = keys.indexOf(key);
    if (i < 0)
        return defaultValue;
    // The used flag belongs to the entry that gave the value: the first one
    // added with this key.
    const int entry = allKeys.indexOf(key);
    if (entry >= 0)
        usedFlags[entry] = 1;
    return values.at(i);
}

void OptionTable::clear()
{
    *this = OptionTable();
}

OptionTable &options()
{
    static OptionTable table;
    return table;
}

void readCommandLine(OptionTable &table, const QStringList &args)
{
    for (int i = 1; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (!arg.startsWith(QLatin1Char('-')))
            continue;
        QString value;
        if (i + 1 < args.size() && !args.at(i + 1).startsWith(QLatin1Char('-')))
            value = args.at(++i);
        table.add(arg, value);
    }
}

bool readConfigFile(OptionTable &table, const QString &fileName)
{
    // A configuration file is a few lines; a device, an endless line or a
    // huge file is refused before it can hold up the start.
    TextLineReader in;
    const TextLineReader::OpenResult r = in.open(fileName, 4 * 1024 * 1024);
    if (r == TextLineReader::CannotOpen) {
        qDebug().noquote() << "Can't open config file :" << fileName;
        return false;
    }
    if (r == TextLineReader::TooLarge)
        qDebug().noquote() << "Config file too large :" << fileName;
    if (r != TextLineReader::Opened)
        return false;
    QString raw;
    while (in.readLine(raw)) {
        const QString line = stripComment(raw);
        if (line.simplified().isEmpty())
            continue;
        QString key, value;
        const QString rest = nextItem(line, key);
        nextItem(rest, value);
        table.add(key, value, rest);
    }
    return !in.failed();
}
