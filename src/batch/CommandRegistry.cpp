#include "batch/CommandRegistry.h"

#include <QDebug>

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

bool CommandRegistry::has(int id) const
{
    return id >= 0 && id < BatchCmd::Count && bool(handlers[size_t(id)]);
}

void CommandRegistry::dispatch(const CmdLine &cmd, bool inRem)
{
    // A new statement ends the wait of the one before (a run stopped and
    // started again): the end of that work must not answer this one.
    waiting = 0;
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
    const CmdOutcome outcome = handlers[size_t(id)](cmd);
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

void CommandRegistry::finish()
{
    if (finisher)
        finisher();
}
