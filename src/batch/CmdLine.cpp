#include "batch/CmdLine.h"

#include "app/Tokenizer.h"

void CmdLine::parse(const QString &statement)
{
    rawLine = statement;
    line = stripComment(statement);
    isKeyword = false;
    command.clear();
    arguments.clear();
    if (line.isEmpty())
        return;

    // Walked by index: copying the rest of the line at every item would make
    // a line of many items take quadratic time.
    int pos = nextItemAt(line, 0, command);
    QString item;
    while (pos < line.size()) {
        pos = nextItemAt(line, pos, item);
        if (!item.isEmpty())
            arguments << item;
    }
    isKeyword = command.startsWith(QLatin1Char(':'));
}

int CmdLine::intArg(int i) const
{
    return arg(i).toInt(nullptr, 10);
}

double CmdLine::realArg(int i) const
{
    return arg(i).toDouble();
}

void registerCmdLineType()
{
    qRegisterMetaType<CmdLine>("CmdLine");
}
