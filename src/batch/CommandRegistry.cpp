#include "batch/CommandRegistry.h"

#include <QDebug>

#include <atomic>
#include <cstdio>

namespace {

// The last debug-log line of the statement being performed in this thread
// (only the last: a value dump logs a line per pixel). Other threads (the
// loaders) log at the same time; their lines are only passed on.
thread_local QString *collected = nullptr;
// The handler that was in place before the first collector: every line still
// reaches it.
std::atomic<QtMessageHandler> passOn{nullptr};

void collectLine(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (collected && (type == QtDebugMsg || type == QtWarningMsg))
        *collected = message;
    if (const QtMessageHandler h = passOn.load()) {
        h(type, context, message);
    } else {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
        std::fflush(stderr);
    }
}

// Keeps the last line logged in this thread while it lives.
class LogCollector
{
public:
    explicit LogCollector(QString &into)
        : outer(collected)
    {
        collected = &into;
        previous = qInstallMessageHandler(collectLine);
        if (previous != collectLine)
            passOn.store(previous);
    }
    ~LogCollector()
    {
        qInstallMessageHandler(previous);
        collected = outer;
    }
    Q_DISABLE_COPY(LogCollector)

private:
    QString *outer;
    QtMessageHandler previous;
};

} // namespace

CommandRegistry::CommandRegistry()
    : handlers(size_t(BatchCmd::Count))
{
}

bool CommandRegistry::add(int id, Handler handler)
{
    if (id < 0 || id >= BatchCmd::Count || !handler) {
        qDebug().noquote() << "Batch command id" << id << "cannot take a handler";
        return false;
    }
    if (handlers[size_t(id)]) {
        qDebug().noquote() << "Batch command" << batchCommandWord(id) << "has a handler already";
        return false;
    }
    handlers[size_t(id)] = std::move(handler);
    return true;
}

bool CommandRegistry::addAction(int id, std::function<void(const CmdLine &)> action)
{
    return add(id, [action](const CmdLine &cmd) {
        action(cmd);
        return CmdOutcome::done();
    });
}

bool CommandRegistry::addCheck(int id, std::function<bool(const CmdLine &)> action)
{
    return add(id, [action](const CmdLine &cmd) {
        return action(cmd) ? CmdOutcome::done() : CmdOutcome::failed();
    });
}

bool CommandRegistry::has(int id) const
{
    return id >= 0 && id < BatchCmd::Count && bool(handlers[size_t(id)]);
}

void CommandRegistry::dispatch(const CmdLine &cmd, bool inRem)
{
    // A new statement ends the wait of the one before (a run stopped and
    // started again): the end of that work must not answer this one.
    waiting = 0;
    statement = cmd.line;
    failed = false;
    failure.clear();
    lastLogged.clear();
    if (inRem) {
        finish();
        return;
    }
    const int id = batchCommandId(cmd.command);
    if (id == BatchCmd::NotFound) {
        if (batchKeyword(cmd.command) == BatchKeyword::None && errorLog)
            errorLog(QStringLiteral("Err: %1\n").arg(cmd.line));
        finish();
        return;
    }
    if (!has(id)) {
        qDebug().noquote() << "Batch command" << batchCommandWord(id) << "is not available yet";
        finish();
        return;
    }
    CmdOutcome outcome = CmdOutcome::done();
    {
        const LogCollector collector(lastLogged);
        outcome = handlers[size_t(id)](cmd);
    }
    if (outcome.isFailure())
        fail(outcome.reason());
    switch (outcome.kind()) {
    case CmdOutcome::Done:
        finish();
        break;
    case CmdOutcome::Wait:
        // Work that has already ended, or a token never issued, would keep
        // the script waiting for ever.
        if (!open.contains(outcome.token())) {
            finish();
            break;
        }
        waiting = outcome.token();
        break;
    case CmdOutcome::NoAnswer:
        break;
    }
}

CompletionToken CommandRegistry::issue()
{
    const CompletionToken t = ++lastToken;
    open.insert(t);
    return t;
}

void CommandRegistry::complete(CompletionToken token)
{
    if (token == 0)
        return;
    open.remove(token);
    if (token == waiting) {
        waiting = 0;
        finish();
    }
}

void CommandRegistry::fail(const QString &reason)
{
    failed = true;
    // Of several lines, the last one says what finally went wrong.
    failure = reason.isEmpty() ? lastLogged.simplified() : reason;
}

void CommandRegistry::finish()
{
    if (failed) {
        failed = false;
        if (errorLog) {
            // One arg() call, so a "%1" in the statement stays as it is.
            errorLog(QStringLiteral("Err: %1 (%2)\n")
                         .arg(statement, failure.isEmpty() ? QStringLiteral("failed") : failure));
        }
    }
    if (finisher)
        finisher();
}
