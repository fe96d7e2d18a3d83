#pragma once

#include "batch/BatchDispatcher.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QThread>

// Stands in for the main window: answers every statement at once, one with
// the command word `holdWord` only when answer() is called (a long analysis).
class FakeExecutor : public QObject
{
    Q_OBJECT
public:
    QString log;
    QString holdWord;
    int count = 0;
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
    void execCmdSlot(CmdLine cmd, bool)
    {
        wrongThread |= QThread::currentThread() != thread();
        ++count;
        holding = !holdWord.isEmpty() && cmd.command == holdWord;
        if (!holding)
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
        // Connected first, so a statement is recorded before it is posted.
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

    // Runs until a pass (posted statements handed over, two round trips to the
    // batch thread: the answers, the steps they start) brings no new statement.
    void settle()
    {
        for (int pass = 0, before = -1; pass < 100000 && executor.count != before; ++pass) {
            before = executor.count;
            QCoreApplication::processEvents();
            for (int i = 0; i < 2; ++i)
                QMetaObject::invokeMethod(
                    dispatcher, [] {}, Qt::BlockingQueuedConnection);
            QCoreApplication::processEvents();
        }
    }

    CmdLine at(int i) const { return qvariant_cast<CmdLine>(spy->at(i).at(0)); }
    // Every statement sent as "word|arg|...", one without a word as "[line]".
    QStringList sent() const
    {
        QStringList out;
        for (int i = 0; i < spy->count(); ++i) {
            const CmdLine c = at(i);
            out << (c.command.isEmpty() ? '[' + c.line + ']'
                                        : (QStringList(c.command) + c.arguments).join('|'));
        }
        return out;
    }
    // The first arguments of the statements sent with the given command word.
    QStringList firstArgsOf(const QString &word) const
    {
        QStringList out;
        for (const QString &s : sent())
            if (s.startsWith(word + '|'))
                out << s.section('|', 1, 1);
        return out;
    }
    // The remark flag of every statement sent: 'r' for a remark, '.' else.
    QString flags() const
    {
        QString out;
        for (int i = 0; i < spy->count(); ++i)
            out += spy->at(i).at(1).toBool() ? 'r' : '.';
        return out;
    }

    QThread thread;
    BatchDispatcher *dispatcher;
    FakeExecutor executor;
    QSignalSpy *spy = nullptr;
};
