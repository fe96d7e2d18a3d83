// The batch commands of the main window: each statement a script hands over
// is performed here, mostly by writing into the same control a user would
// use and triggering the same recalculation.

#include "core/Body.h"

#include "batch/BatchCommands.h"
#include "batch/BatchCtrl.h"

#include <QDebug>

void Body::execCmdSlot(CmdLine cmd, bool inRem)
{
    // Remark lines, blank lines and pure comments only need an answer.
    if (inRem) {
        emit finishBatchExec();
        return;
    }

    const int id = batchCommandId(cmd.command);
    switch (id) {
    case BatchCmd::Quit:
        // No completion: the windows close and the script ends with them.
        emit finishing();
        return;

    case BatchCmd::NotFound:
        if (batchKeyword(cmd.command) == BatchKeyword::None)
            m_batchCtrl->Log(QStringLiteral("Err: %1\n").arg(cmd.line));
        break;

    default:
        qDebug().noquote() << "Batch command" << batchCommandWord(id) << "is not available yet";
        break;
    }
    emit finishBatchExec();
}
