// The batch commands of saving: pictures, result data, the save-data
// settings, the spectra of every bin, the flat and dark frames and the dark
// frame itself.
#include "core/gui/Body.h"

#include "batch/BatchCommands.h"
#include "batch/CommandRegistry.h"
#include "core/gui/SaveDataCfg.h"

#include "ui_Body.h"

#include <QDebug>

void Body::registerSaveCommands()
{
    using namespace BatchCmd;
    const auto act = [this](Id id, std::function<void(const CmdLine &)> f) {
        commands.addAction(id, std::move(f));
    };

    act(SaveImage, [this](const CmdLine &c) { saveImage(c.arg(0)); });
    act(SaveImageWNum, [this](const CmdLine &c) { saveImageWNum(c.arg(0), c.arg(1)); });
    act(SaveAllImages, [this](const CmdLine &c) { saveAllImages(c.arg(0)); });
    act(SaveData, [this](const CmdLine &c) { saveData(c.arg(0)); });
    act(SaveDataAsTiff,
        [this](const CmdLine &c) { saveDataAsTiff(c.arg(0), shownReferenceRow()); });

    SaveDataCfg *const cfg = saveDataCfg;
    act(SaveDataCfgShowWindow, [cfg](const CmdLine &) {
        cfg->show();
        cfg->raise();
    });
    act(SaveDataCfgSaveAsTiff, [cfg](const CmdLine &) {
        qDebug().noquote() << "setting save as tiff";
        cfg->setSaveAsTiff();
    });
    act(SaveDataCfgSaveAsText, [cfg](const CmdLine &) {
        qDebug().noquote() << "setting save as text";
        cfg->setSaveAsText();
    });
    act(SaveDataCfgTiffFixScale,
        [cfg](const CmdLine &c) { cfg->setSaveTiffScaleFixed(c.flagArg(0)); });
    act(SaveDataCfgTiffScaleMin,
        [cfg](const CmdLine &c) { cfg->setSaveTiffScaleMin(c.realArg(0)); });
    act(SaveDataCfgTiffScaleMax,
        [cfg](const CmdLine &c) { cfg->setSaveTiffScaleMax(c.realArg(0)); });
    act(SaveDataCfgTiffAsAnalyzed,
        [cfg](const CmdLine &c) { cfg->setSaveTiffAsAnalyzed(c.flagArg(0)); });
    act(SaveDataCfgTextAsCsv, [cfg](const CmdLine &) { cfg->setSaveTextAsCSV(); });
    act(SaveDataCfgTextAsSsv, [cfg](const CmdLine &) { cfg->setSaveTextAsSSV(); });
    act(SaveDataCfgTextAsXyz, [cfg](const CmdLine &) { cfg->setSaveTextAsXYVal(); });
    act(SaveDataCfgTextAsVals, [cfg](const CmdLine &) { cfg->setSaveTextAsValValVal(); });

    // The actions of the main window that had no command.
    act(LoadDarkFile, [this](const CmdLine &c) { selectedDark(c.arg(0)); });
    act(ClearDarkFile, [this](const CmdLine &) { clearDark(); });
    act(SaveEachSpectrumKind, [this](const CmdLine &c) {
        QRadioButton *const kinds[] = {ui->SaveAsNormalizedXAFS, ui->SaveAsRawXAFS, ui->SaveAsRaw};
        const int k = c.intArg(0);
        if (k >= 0 && k < 3)
            kinds[k]->setChecked(true);
        else
            qDebug().noquote() << "Batch command" << c.command << "knows kinds 0 to 2, not"
                               << c.arg(0);
    });
    act(SaveEachSpectrum, [this](const CmdLine &c) { saveEachSpectrum(c.arg(0)); });
    act(BatchCmd::SaveFlatDark, [this](const CmdLine &) { saveFlatDark(); });
}
