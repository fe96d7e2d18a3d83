#pragma once

#include "batch/CmdLine.h"

#include <QMainWindow>

class BatchCtrl;
class BatchDispatcher;
class QThread;

// The main window. It owns the data of one measurement and every other
// window, and wires them together.
class Body : public QMainWindow
{
    Q_OBJECT
public:
    explicit Body(QWidget *parent = nullptr);
    ~Body() override;

    // The batch window; start-up hands it the script named on the command line.
    BatchCtrl *batchCtrl() const { return m_batchCtrl; }

signals:
    // Asks the application to close every window (the batch command "quit").
    void finishing();
    // The batch statement in progress is complete; the script goes on.
    void finishBatchExec();

public slots:
    // Performs one statement of a batch script (BodyCommands.cpp).
    void execCmdSlot(CmdLine cmd, bool inRem);

private:
    QThread *m_batchThread = nullptr;
    BatchDispatcher *m_batchDispatcher = nullptr;
    BatchCtrl *m_batchCtrl = nullptr;
};
