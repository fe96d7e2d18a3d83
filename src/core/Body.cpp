#include "core/Body.h"

#include "batch/BatchCtrl.h"
#include "batch/BatchDispatcher.h"

#include <QThread>

Body::Body(QWidget *parent)
    : QMainWindow(parent)
{
    setWindowTitle(QStringLiteral("Lumenograf"));
    registerCmdLineType();

    // The script interpreter runs in a thread of its own; statements come to
    // execCmdSlot and completions go back, both queued across the threads.
    m_batchThread = new QThread(this);
    m_batchDispatcher = new BatchDispatcher;
    m_batchDispatcher->moveToThread(m_batchThread);
    m_batchThread->start(QThread::InheritPriority);
    m_batchCtrl = new BatchCtrl(this);
    m_batchCtrl->setDispatcher(m_batchDispatcher);
    connect(m_batchDispatcher, &BatchDispatcher::execCmdSig, this, &Body::execCmdSlot);
    connect(this, &Body::finishBatchExec, m_batchDispatcher, &BatchDispatcher::finishBatchExec);
}

Body::~Body()
{
    // The interpreter's thread ends before its object goes, so no statement
    // is in flight while the window is torn down.
    m_batchThread->quit();
    m_batchThread->wait();
    delete m_batchDispatcher;
}
