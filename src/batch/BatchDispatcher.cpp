#include "batch/BatchDispatcher.h"

#include "app/Tokenizer.h"

#include <QDebug>

namespace {

qint64 loopValue(const QString &text)
{
    return text.toInt(nullptr, 10);
}

// No statement needs more; a loop value that holds its own variable doubles
// the text on every loop it passes, and such a statement is refused long
// before it takes the memory and time of a runaway.
constexpr qint64 MaxExpandedLength = 1024 * 1024;

// Occurrences of `what` in `text` as replace() finds them: each search
// resumes after the previous match.
qint64 occurrences(const QString &text, const QString &what)
{
    qint64 n = 0;
    for (int i = text.indexOf(what); i >= 0; i = text.indexOf(what, i + what.size()))
        ++n;
    return n;
}

} // namespace

BatchDispatcher::BatchDispatcher(QObject *parent)
    : QObject(parent)
{
    registerCmdLineType();
    // Queued even within the batch thread: each step starts from the event
    // loop, so a long script never deepens the stack, whoever answers.
    connect(this, &BatchDispatcher::execNextLineSig, this, &BatchDispatcher::execNextLineSlot,
            Qt::QueuedConnection);
}

void BatchDispatcher::doDispatchCmds(QStringList cmdList)
{
    running = true;
    lines = cmdList;
    currentLine = 0;
    loops.clear();
    // A run that ended by ":end" inside a remark block must not leave the
    // next script taken for a remark from its first line on.
    inRemark = false;
    emit execNextLineSig();
}

void BatchDispatcher::batchStopSlot()
{
    running = false;
}

void BatchDispatcher::finishBatchExec()
{
    emit execNextLineSig();
}

void BatchDispatcher::execNextLineSlot()
{
    if (!running || currentLine < 0 || currentLine >= lines.size())
        return;

    QString statement = lines.at(currentLine);
    while (cutContinuation(statement) && currentLine + 1 < lines.size()) {
        ++currentLine;
        statement += lines.at(currentLine);
    }

    CmdLine cmd(statement);
    if (!cmd.line.isEmpty()) {
        const BatchKeyword keyword = batchKeyword(cmd.command);
        // ":end" ends the run even inside a remark block.
        if (keyword == BatchKeyword::End)
            return;
        if (keyword == BatchKeyword::RemEnd)
            inRemark = false;
        if (keyword == BatchKeyword::RemStart) {
            inRemark = true;
        } else if (!inRemark) {
            switch (keyword) {
            case BatchKeyword::For:
                declareLoop(cmd);
                break;
            case BatchKeyword::Next:
                nextOfLoop(cmd);
                break;
            case BatchKeyword::Echo: {
                if (!substitute(cmd)) {
                    refuseExpanded(cmd);
                    return;
                }
                const QString text = QStringLiteral("echo %1").arg(cmd.arg(0));
                qDebug().noquote() << text;
                emit Log(text);
                break;
            }
            default:
                if (batchCommandId(cmd.command) != BatchCmd::NotFound) {
                    if (!substitute(cmd)) {
                        refuseExpanded(cmd);
                        return;
                    }
                    emit Log(QStringLiteral("%1 : %2\n")
                                 .arg(cmd.command, cmd.arguments.join(QLatin1Char(' '))));
                }
                break;
            }
        }
    }

    const bool onlyAnswer = inRemark || cmd.line.isEmpty();
    ++currentLine;
    emit execCmdSig(cmd, onlyAnswer);
}

void BatchDispatcher::declareLoop(const CmdLine &cmd)
{
    QString rest = cmd.arguments.join(QLatin1Char(' '));
    BatchLoop loop;
    rest = nextItem(rest, loop.label);
    rest = nextItem(rest, loop.variable);
    rest = nextItem(rest, loop.start);
    rest = nextItem(rest, loop.end);
    nextItem(rest, loop.step);
    loop.current = loop.start;
    loop.forLine = currentLine;

    // A loop declared again (an inner loop on each pass of an outer one)
    // starts afresh and substitutes after all others.
    for (int i = 0; i < loops.size(); ++i) {
        if (loops.at(i).label == loop.label) {
            loops.remove(i);
            break;
        }
    }
    loops.append(loop);
    emit Log(QStringLiteral("for %1 : %2 = %3\n").arg(loop.label, loop.variable, loop.current));
}

void BatchDispatcher::nextOfLoop(const CmdLine &cmd)
{
    const QString label = cmd.arg(0);
    for (BatchLoop &loop : loops) {
        if (loop.label != label)
            continue;
        if (advanceBatchLoop(loop))
            currentLine = loop.forLine;
        emit Log(
            QStringLiteral("next %1 : %2 = %3\n").arg(loop.label, loop.variable, loop.current));
        return;
    }
    emit Log(QStringLiteral("next %1 : %2 = %3\n").arg(QString(), QString(), QString()));
}

bool BatchDispatcher::substitute(CmdLine &cmd) const
{
    qint64 length = cmd.command.size();
    for (const QString &a : cmd.arguments)
        length += a.size();
    const qint64 bound = qMax(length, MaxExpandedLength);
    for (QString &a : cmd.arguments) {
        for (const BatchLoop &loop : loops) {
            if (loop.variable.isEmpty())
                continue;
            // The growth is worked out before the text is built.
            const qint64 growth = qint64(loop.current.size()) - loop.variable.size();
            if (growth > 0) {
                length += occurrences(a, loop.variable) * growth;
                if (length > bound)
                    return false;
                a.replace(loop.variable, loop.current);
            } else {
                const int before = a.size();
                a.replace(loop.variable, loop.current);
                length += a.size() - before;
            }
        }
    }
    return true;
}

void BatchDispatcher::refuseExpanded(const CmdLine &cmd)
{
    qDebug().noquote() << "Statement longer than" << MaxExpandedLength
                       << "characters with its loop values :" << cmd.line;
    // One arg() call, so a "%2" in the statement stays as it is.
    emit Log(QStringLiteral("Err: %1 (longer than %2 characters with its loop values)\n")
                 .arg(cmd.line, QString::number(MaxExpandedLength)));
    // Nothing goes to the main window, so nothing will answer: the script
    // goes on from here.
    ++currentLine;
    emit execNextLineSig();
}

bool advanceBatchLoop(BatchLoop &loop)
{
    const qint64 s = loopValue(loop.start);
    const qint64 e = loopValue(loop.end);
    qint64 d = loop.step.isEmpty() ? 1 : loopValue(loop.step);
    if (d == 0)
        d = 1;
    // The bounds give the direction; a step written with a sign would
    // otherwise walk away from the end and never finish.
    if (d < 0)
        d = -d;
    const qint64 c = loopValue(loop.current);
    qint64 n;
    if (s >= e) {
        n = c - d;
        if (n < e)
            return false;
    } else {
        n = c + d;
        if (n > e)
            return false;
    }
    loop.current = formatBatchCounter(n, loop.start);
    return true;
}

QString formatBatchCounter(qint64 n, const QString &start)
{
    const QString text = QString::number(n);
    const int width = start.size();
    if (width < 2 || start.at(0) != QLatin1Char('0') || text.size() >= width)
        return text;
    if (n < 0)
        return QLatin1Char('-') + QString::number(-n).rightJustified(width - 1, QLatin1Char('0'));
    return text.rightJustified(width, QLatin1Char('0'));
}
