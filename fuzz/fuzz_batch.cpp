// Fuzz target: batch scripts. The input is the batch window's text, one
// editor line per line; the interpreter walks it as in the program, and the
// stand-in for the main window answers every statement at once, as it does
// for a command that completes immediately. No window is needed.

#include "FuzzInput.h"

#include "batch/BatchCommands.h"
#include "batch/BatchDispatcher.h"
#include "batch/CmdLine.h"

#include <QCoreApplication>
#include <QEvent>
#include <QStringList>

namespace {

// A script may loop as long as it likes (":for i 1 2000000000" is a valid
// script, only a slow one); the fuzzer looks for faults, not for long loops,
// so a run is stopped after this many statements.
const int MaxStatements = 4000;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::silenceLog();
    // Kept for the life of the process: the queued hand-over between the
    // interpreter's steps needs an application object.
    static QCoreApplication *app = new QCoreApplication(*argc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), int(size));
    const QStringList lines = text.split(QLatin1Char('\n'));

    BatchDispatcher dispatcher;
    int statements = 0;
    volatile qint64 sink = 0;
    volatile double realSink = 0.0;
    QObject::connect(&dispatcher, &BatchDispatcher::execCmdSig, [&](CmdLine cmd, bool inRem) {
        ++statements;
        if (!inRem) {
            // What the main window reads of a statement before it acts.
            sink = sink + batchCommandId(cmd.command) + cmd.intArg(0) + cmd.flagArg(2)
                   + cmd.arg(3).size();
            realSink = realSink + cmd.realArg(1);
        }
        if (statements >= MaxStatements)
            dispatcher.batchStopSlot();
        dispatcher.finishBatchExec();
    });
    QObject::connect(&dispatcher, &BatchDispatcher::Log,
                     [&](QString line) { sink = sink + line.size(); });

    dispatcher.doDispatchCmds(lines);
    // Each step of the interpreter is a queued call to itself; deliver them
    // until a round brings no new statement (the script ended or stopped).
    int before;
    do {
        before = statements;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    } while (statements != before);
    return 0;
}
