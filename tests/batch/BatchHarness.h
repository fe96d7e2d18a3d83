#pragma once

#include "batch/BatchDispatcher.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QThread>

// Stands in for the main window: records every statement it is handed in the
// GUI thread and answers with finishBatchExec, at once or when told to.
class FakeExecutor : public QObject
{
    Q_OBJECT
public:
    QList<CmdLine> cmds;
    QList<bool> flags;
    QString log;
    // Statements with this command word are held until answer() is called,
    // as a long analysis would hold the script.
    QString holdWord;
    bool holding = false;
    bool wrongThread = false;

    void answer()
    {
        holding = false;
        emit finishBatchExec();
    }

signals:
    void finishBatchExec();

public slots:
    void execCmdSlot(CmdLine cmd, bool inRem)
    {
        if (QThread::currentThread() != thread())
            wrongThread = true;
        cmds << cmd;
        flags << inRem;
        if (!holdWord.isEmpty() && cmd.command == holdWord)
            holding = true;
        else
            emit finishBatchExec();
    }
    void logSlot(QString text) { log += text; }
};

// The dispatcher in a thread of its own, wired to a FakeExecutor the way
// the main window wires itself to the real one.
class BatchRig
{
public:
    BatchRig()
        : dispatcher(new BatchDispatcher)
    {
        dispatcher->moveToThread(&thread);
        thread.start();
        // The spy is connected first so that its record of a statement is
        // written before the statement is posted to the GUI thread.
        spy = new QSignalSpy(dispatcher, &BatchDispatcher::execCmdSig);
        QObject::connect(dispatcher, &BatchDispatcher::execCmdSig, &executor,
                         &FakeExecutor::execCmdSlot);
        QObject::connect(&executor, &FakeExecutor::finishBatchExec, dispatcher,
                         &BatchDispatcher::finishBatchExec);
        QObject::connect(dispatcher, &BatchDispatcher::Log, &executor, &FakeExecutor::logSlot);
    }
    ~BatchRig()
    {
        thread.quit();
        thread.wait();
        delete spy;
        delete dispatcher;
    }

    void run(const QStringList &lines)
    {
        QMetaObject::invokeMethod(dispatcher, "doDispatchCmds", Qt::QueuedConnection,
                                  Q_ARG(QStringList, lines));
        settle();
    }
    void stop()
    {
        QMetaObject::invokeMethod(dispatcher, "batchStopSlot", Qt::QueuedConnection);
        settle();
    }
    void answer()
    {
        executor.answer();
        settle();
    }

    // Lets the script run until the dispatcher is idle or waits for a held
    // statement. Each pass hands over what the batch thread posted and then
    // makes two round trips to it: one for the answers, one for the steps
    // they start. A pass that brings no new statement means the run rests.
    void settle()
    {
        for (int pass = 0; pass < 100000; ++pass) {
            const int before = executor.cmds.size();
            QCoreApplication::processEvents();
            roundTrip();
            roundTrip();
            QCoreApplication::processEvents();
            if (executor.cmds.size() == before)
                return;
        }
    }

    // The command word and arguments of every statement sent, one text each.
    QStringList sent() const
    {
        QStringList out;
        for (int i = 0; i < spy->count(); ++i) {
            const CmdLine c = qvariant_cast<CmdLine>(spy->at(i).at(0));
            out << (QStringList(c.command) + c.arguments).join(QLatin1Char('|'));
        }
        return out;
    }
    // The statements sent with the given command word, as their first argument.
    QStringList firstArgsOf(const QString &word) const
    {
        QStringList out;
        for (int i = 0; i < spy->count(); ++i) {
            const CmdLine c = qvariant_cast<CmdLine>(spy->at(i).at(0));
            if (c.command == word)
                out << c.arg(0);
        }
        return out;
    }
    QList<bool> sentFlags() const
    {
        QList<bool> out;
        for (int i = 0; i < spy->count(); ++i)
            out << spy->at(i).at(1).toBool();
        return out;
    }

    QThread thread;
    BatchDispatcher *dispatcher;
    FakeExecutor executor;
    QSignalSpy *spy = nullptr;

private:
    void roundTrip()
    {
        QMetaObject::invokeMethod(
            dispatcher, [] {}, Qt::BlockingQueuedConnection);
    }
};
