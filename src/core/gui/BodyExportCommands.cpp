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

    // Saves and loads report what they could not do; the work itself logs why.
    const auto check = [this](Id id, std::function<bool(const CmdLine &)> f) {
        commands.addCheck(id, std::move(f));
    };
    check(SaveImage, [this](const CmdLine &c) { return saveImage(c.arg(0)); });
    check(SaveImageWNum, [this](const CmdLine &c) { return saveImageWNum(c.arg(0), c.arg(1)); });
    check(SaveAllImages, [this](const CmdLine &c) { return saveAllImages(c.arg(0)); });
    check(SaveData, [this](const CmdLine &c) { return saveData(c.arg(0)); });
    check(SaveDataAsTiff,
          [this](const CmdLine &c) { return saveDataAsTiff(c.arg(0), shownReferenceRow()); });

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
    check(LoadDarkFile, [this](const CmdLine &c) {
        // A file that does not load leaves no dark frame (its reader logs why).
        selectedDark(c.arg(0));
        return data.hasDark();
    });
    act(ClearDarkFile, [this](const CmdLine &) { clearDark(); });
    check(SaveEachSpectrumKind, [this](const CmdLine &c) {
        QRadioButton *const kinds[] = {ui->SaveAsNormalizedXAFS, ui->SaveAsRawXAFS, ui->SaveAsRaw};
        const int k = c.intArg(0);
        if (k < 0 || k >= 3) {
            qDebug().noquote() << "Batch command" << c.command << "knows kinds 0 to 2, not"
                               << c.arg(0);
            return false;
        }
        kinds[k]->setChecked(true);
        return true;
    });
    check(SaveEachSpectrum, [this](const CmdLine &c) { return saveEachSpectrum(c.arg(0)); });
    check(BatchCmd::SaveFlatDark, [this](const CmdLine &) { return saveFlatDark(); });
}
