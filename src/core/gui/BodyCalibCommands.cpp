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
    // Every one of them is complete when it returns.
    const auto act = [this](Id id, std::function<void(const CmdLine &)> f) {
        commands.addAction(id, std::move(f));
    };
    act(CalibShowWindow, [this](const CmdLine &) {
        calibWindow->show();
        calibWindow->raise();
    });
    act(CalibLoadStd, [this](const CmdLine &c) { calibWindow->loadStd(c.arg(0)); });
    act(CalibSetEdgeEV, [this](const CmdLine &c) { calibWindow->setEdgeEV(c.arg(0)); });
    act(CalibExec, [this](const CmdLine &) { execCalibration(); });
    act(CalibLoadMap, [this](const CmdLine &c) { loadEMap(c.arg(0)); });
    act(CalibClearMap, [this](const CmdLine &) { clearShiftMap(); });
    act(CalibSaveMap, [this](const CmdLine &c) { saveEMap(c.arg(0)); });
    act(CalibSelectCrystal, [this](const CmdLine &c) { calibWindow->selectCrystal(c.arg(0)); });
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
