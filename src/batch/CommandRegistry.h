#pragma once

#include "batch/BatchCommands.h"
#include "batch/CmdLine.h"

#include <QSet>
#include <QtGlobal>

#include <functional>
#include <vector>

// Names one piece of background work that a batch statement waits for (a
// load, an analysis). 0 is no work: what a hand-started job carries.
using CompletionToken = quint64;

// A handler's answer to its statement.
class CmdOutcome
{
public:
    enum Kind { Done, Wait, NoAnswer };

    // The statement is complete; the script goes on at once.
    static CmdOutcome done() { return CmdOutcome(Done, 0); }
    // The statement failed and is complete; the script goes on at once. An
    // empty reason stands for the last debug-log line the handler wrote.
    static CmdOutcome failed(const QString &reason = QString())
    {
        CmdOutcome o(Done, 0);
        o.fail = true;
        o.why = reason;
        return o;
    }
    // The statement is complete when the work of `token` ends.
    static CmdOutcome waitFor(CompletionToken token) { return CmdOutcome(Wait, token); }
    // Nothing follows the statement ("quit": the program ends).
    static CmdOutcome noAnswer() { return CmdOutcome(NoAnswer, 0); }

    Kind kind() const { return k; }
    CompletionToken token() const { return t; }
    bool isFailure() const { return fail; }
    const QString &reason() const { return why; }

private:
    CmdOutcome(Kind kind, CompletionToken token)
        : k(kind)
        , t(token)
    {
    }
    Kind k;
    CompletionToken t;
    bool fail = false;
    QString why;
};

// Routes each batch statement to the handler registered for its command id
// and keeps track of the one statement in progress. Each window registers the
// commands of its own group (the main window's in BodyCommands.cpp), so a new
// group is a new registration, not a change of a common switch.
//
// A handler that starts background work asks for a token, hands it to that
// work and answers waitFor(token). When the work ends for any reason
// (finished, cancelled, superseded, nothing to do) its owner calls
// complete(token). Only the token the statement waits for completes it; the
// end of any other work (a load started by hand, a request of an earlier run)
// leaves the script where it is.
//
// A statement that fails (a file not written, a run that cannot start) is
// reported in the batch log as "Err: <statement> (<reason>)", as an unknown
// word is, and the script goes on. A handler reports it by answering
// CmdOutcome::failed(reason), or by fail(reason) before the work it waits
// for ends. Most handlers call slots that return false and log why; they
// leave the reason empty, and the registry takes the last debug-log line
// the handler wrote in this thread while it ran.
//
// Plain bookkeeping, used in the GUI thread only.
class CommandRegistry
{
public:
    using Handler = std::function<CmdOutcome(const CmdLine &)>;

    CommandRegistry();

    // Registers the handler of `id`. False, with a line in the debug log,
    // when the id is outside the table or already has a handler.
    bool add(int id, Handler handler);
    // Registers a handler that does its work at once: most commands write a
    // control and are complete.
    bool addAction(int id, std::function<void(const CmdLine &)> action);
    // The same for work that tells whether it succeeded: false is a failure
    // whose reason is the last line the work logged.
    bool addCheck(int id, std::function<bool(const CmdLine &)> action);
    bool has(int id) const;

    // Called once for every complete statement (the answer to the script).
    void setFinisher(std::function<void()> f) { finisher = std::move(f); }
    // Called with the "Err:" line of a statement whose word is unknown or
    // that failed, line feed included.
    void setErrorLog(std::function<void(const QString &)> f) { errorLog = std::move(f); }

    // Performs one statement. Remark and blank lines (inRem), the
    // interpreter's own words, unknown words and words without a handler
    // complete at once; the rest as their handler answers.
    void dispatch(const CmdLine &cmd, bool inRem);

    // A fresh token for work a handler is about to start.
    CompletionToken issue();
    // The work of `token` has ended. Completes the statement in progress when
    // it waits for this token; otherwise only notes that the work is over.
    void complete(CompletionToken token);
    // The statement in progress failed for `reason` (empty: the last line
    // its handler logged); reported when it completes.
    void fail(const QString &reason = QString());

private:
    void finish();

    std::vector<Handler> handlers;
    std::function<void()> finisher;
    std::function<void(const QString &)> errorLog;
    CompletionToken lastToken = 0;
    CompletionToken waiting = 0;
    // Issued tokens whose work has not ended yet.
    QSet<CompletionToken> open;
    // The statement in progress: its comment-free line, whether it failed
    // and why, and the last debug-log line its handler wrote.
    QString statement;
    bool failed = false;
    QString failure;
    QString lastLogged;
};
