// The batch commands of the energy calibration: the calibration window's
// standard, crystal, edge energy and background choices, the calibration
// itself, the energy-shift map (load, clear, save, "NES") and "de Glitch" on
// the analyzer's map on show.

#include "core/gui/Body.h"

#include "batch/BatchCommands.h"
#include "calibration/gui/CalibCtrl.h"

#include "ui_Body.h"

void Body::registerCalibCommands()
{
    using namespace BatchCmd;
    // Every one of them is complete when it returns; those that can fail
    // report it with the reason they logged.
    const auto act = [this](Id id, std::function<void(const CmdLine &)> f) {
        commands.addAction(id, std::move(f));
    };
    act(CalibShowWindow, [this](const CmdLine &) {
        calibWindow->show();
        calibWindow->raise();
    });
    // A standard that does not load leaves none (the window logs why).
    commands.addCheck(CalibLoadStd, [this](const CmdLine &c) {
        calibWindow->loadStd(c.arg(0));
        return calibWindow->hasStandard();
    });
    act(CalibSetEdgeEV, [this](const CmdLine &c) { calibWindow->setEdgeEV(c.arg(0)); });
    commands.addCheck(CalibExec, [this](const CmdLine &) { return execCalibration(); });
    commands.addCheck(CalibLoadMap, [this](const CmdLine &c) { return loadEMap(c.arg(0)); });
    act(CalibClearMap, [this](const CmdLine &) { clearShiftMap(); });
    commands.addCheck(CalibSaveMap, [this](const CmdLine &c) { return saveEMap(c.arg(0)); });
    commands.addCheck(CalibSelectCrystal,
                      [this](const CmdLine &c) { return calibWindow->selectCrystal(c.arg(0)); });
    act(CalibStdBgVictoreen,
        [this](const CmdLine &c) { calibWindow->setStdBGVictoreen(c.flagArg(0)); });
    act(CalibTargetBgVictoreen,
        [this](const CmdLine &c) { calibWindow->setTargetBGVictoreen(c.flagArg(0)); });
    act(CalibNormalizeShift, [this](const CmdLine &) { normalizeEShift(); });
    act(DeglitchSelectedMap, [this](const CmdLine &c) {
        ui->DeGlitchFactor->setText(QString::number(c.realArg(0), 'g', 6));
        ui->DeGlitchRatio->setText(QString::number(c.realArg(1), 'g', 6));
        deglitch();
    });
}
