// The batch commands of the image processor and of the quality survey. Each
// writes the control a user would use and triggers what that control
// triggers; all of them complete at once, the searches and the survey
// included, since they run to their end inside the statement.

#include "core/gui/Body.h"

#include "alignment/gui/ImgProc.h"
#include "batch/BatchCommands.h"

void Body::registerAlignmentCommands()
{
    using namespace BatchCmd;
    ImgProc *p = imgProcWindow;
    const auto act = [this](Id id, std::function<void(const CmdLine &)> f) {
        commands.addAction(id, std::move(f));
    };

    act(ImgprocShowWindow, [p](const CmdLine &) {
        p->show();
        p->raise();
    });
    act(ImgprocEdgeDetect, [p](const CmdLine &c) { p->setEdgeDetect(c.flagArg(0)); });
    act(ImgprocBinary, [p](const CmdLine &c) { p->setBinary(c.flagArg(0)); });
    act(ImgprocThreshold, [p](const CmdLine &c) { p->typeThreshold(c.realArg(0)); });
    act(ImgprocThresholdSlider, [p](const CmdLine &c) { p->moveThresholdSlider(c.intArg(0)); });
    act(ImgprocSetRef, [p](const CmdLine &) { p->setRefBin(); });
    act(ImgprocCompare, [p](const CmdLine &c) { p->setCompare(c.flagArg(0)); });
    act(ImgprocTrialShift, [p](const CmdLine &c) { p->setTrialShift(c.intArg(0), c.intArg(1)); });
    act(ImgprocAutoShift, [p](const CmdLine &) { p->autoShiftBinImg(); });
    act(ImgprocAutoAutoShift, [p](const CmdLine &c) { p->setAutoAutoShift(c.flagArg(0)); });
    act(ImgprocAutoSetShift, [p](const CmdLine &c) { p->setAutoSetShift(c.flagArg(0)); });
    act(ImgprocSetShift, [p](const CmdLine &) { p->setShift(); });
    act(ImgprocClearAllShifts, [p](const CmdLine &) { p->clearAllShifts(); });
    // "qinfo.dat" not written is reported (the writer logs why).
    commands.addCheck(CollectQInfo, [this](const CmdLine &) { return startCollectQInfo(); });
}
