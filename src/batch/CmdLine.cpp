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

    QString rest = nextItem(line, command);
    while (!rest.isEmpty()) {
        QString item;
        rest = nextItem(rest, item);
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
