#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The process-wide table of options from the command line and the
// configuration file. The first entry of a key is the one that counts; every
// entry is kept as well, in the order added, with a flag telling whether
// start-up read it.
class OptionTable
{
public:
    void add(const QString &key, const QString &value, const QString &extra = QString());
    // Exact, case-sensitive lookup; marks the entry used.
    QString value(const QString &key, const QString &defaultValue = QString());
    bool contains(const QString &key) const { return keys.contains(key); }
    void clear();

    QStringList keys, values, extras;
    QStringList upperKeys, upperValues, upperExtras;
    QStringList allKeys, allUpperKeys, allValues, allExtras;
    QByteArray usedFlags; // one byte per added entry, in the order added
};

// The one instance the program uses.
OptionTable &options();

// Fills the table from the command line (argv[0] is not an option): an
// argument beginning with "-" is a key; the next argument is its value unless
// it is missing or begins with "-" too.
void readCommandLine(OptionTable &table, const QStringList &args);

// Reads a configuration file into the table; false (and a log line) when it
// cannot be opened or is no sane text file (not a regular file, too large, a
// line too long).
bool readConfigFile(OptionTable &table, const QString &fileName);
