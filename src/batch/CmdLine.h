#pragma once

#include <QMetaType>
#include <QString>
#include <QStringList>

// One statement of a batch script, split into its command word and
// arguments. It travels by value from the interpreter's thread to the main
// window, so it is registered with the meta-type system as "CmdLine".
class CmdLine
{
public:
    CmdLine() = default;
    explicit CmdLine(const QString &statement) { parse(statement); }

    // Replaces every field with the parts of `statement`.
    void parse(const QString &statement);

    // Argument `i`; empty text when there is no such argument.
    QString arg(int i) const { return arguments.value(i); }
    // Argument `i` as a base-10 integer; 0 when missing or not a number.
    int intArg(int i) const;
    // Argument `i` as a floating-point number; 0 when missing or not a number.
    double realArg(int i) const;
    // True exactly when argument `i` reads as the integer 1.
    bool flagArg(int i) const { return intArg(i) == 1; }

    QString rawLine;        // the statement as given, continued lines joined
    QString line;           // the statement cut at its first "#"
    bool isKeyword = false; // the command word begins with ":"
    QString command;        // the first item
    QStringList arguments;  // the other items, empty ones dropped
};

Q_DECLARE_METATYPE(CmdLine)

// Registers CmdLine for queued connections; safe to call more than once.
void registerCmdLineType();
