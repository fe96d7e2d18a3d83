// The batch commands of the main window: each statement a script hands over
// is performed here, mostly by writing into the same control a user would
// use and triggering the same recalculation.

#include "core/gui/Body.h"

#include "batch/BatchCommands.h"
#include "batch/gui/BatchCtrl.h"
#include "input/gui/SelectDataFiles.h"
#include "spectrum/gui/XafsView.h"
#include "widgets/gui/ImgDispA.h"

#include "ui_Body.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDebug>
#include <QDir>
#include <QLineEdit>

namespace {

// The files of a pattern load: the names in `dir` that match any of the
// wildcard patterns, each behind the directory text exactly as the script
// wrote it (so that text has to end in a separator). No pattern, no file.
QStringList filesOfPattern(const QString &dir, const QStringList &patterns)
{
    QStringList files;
    if (patterns.isEmpty())
        return files;
    // In name order: the order of a stack is its energy order for a rule by
    // file number and the order the I0 interpolation relies on, and a bare
    // directory listing has no order at all on many file systems.
    const QStringList names = QDir(dir).entryList(patterns, QDir::Files, QDir::Name);
    for (const QString &name : names)
        files << dir + name;
    return files;
}

} // namespace

void Body::execCmdSlot(CmdLine cmd, bool inRem)
{
    // Remark lines, blank lines and pure comments only need an answer.
    if (inRem) {
        emit finishBatchExec();
        return;
    }

    using namespace BatchCmd;
    SelectDataFiles *const i1 = i1Panel();
    SelectDataFiles *const i0 = i0Panel();
    const int id = batchCommandId(cmd.command);
    switch (id) {
    // File lists.
    case ClearI1Files:
        clearI1Files();
        break;
    case ClearI0Files:
        clearI0Files();
        break;
    case LoadI1Files:
    case LoadI0Files:
    case LoadI1FilesOfPattern:
    case LoadI0FilesOfPattern: {
        const bool newFile = cmd.arg(0).toUpper() == QLatin1String("NEW");
        QStringList files;
        if (id == LoadI1Files || id == LoadI0Files) {
            if (cmd.arguments.size() < 2)
                break;
            files = cmd.arguments.mid(1);
        } else {
            files = filesOfPattern(cmd.arg(1), cmd.arguments.mid(2));
        }
        // The loader's end signal completes the statement, so the next one
        // sees the whole stack.
        if (id == LoadI1Files || id == LoadI1FilesOfPattern)
            readI1Files(files, newFile);
        else
            readI0Files(files, newFile);
        return;
    }
    case CutFI0:
        i0->setCutF(cmd.intArg(0));
        break;
    case CutFI1:
        i1->setCutF(cmd.intArg(0));
        break;
    case CutLI0:
        i0->setCutL(cmd.intArg(0));
        break;
    case CutLI1:
        i1->setCutL(cmd.intArg(0));
        break;
    case SkipI0:
        i0->setSkip(cmd.intArg(0));
        break;
    case SkipI1:
        i1->setSkip(cmd.intArg(0));
        break;
    case ShowLatestI0:
        i0->setShowLatest(cmd.flagArg(0));
        break;
    case ShowLatestI1:
        i1->setShowLatest(cmd.flagArg(0));
        break;

    // Energy assignment of the two panels.
    case SetI1EnergyPattern:
    case EngByNameRegExpI1:
        i1->setEngByNameRegExp(cmd.arg(0));
        break;
    case SetI0EnergyPattern:
    case EngByNameRegExpI0:
        i0->setEngByNameRegExp(cmd.arg(0));
        break;
    case EngByNameI0:
        i0->setEngByName(true);
        break;
    case EngByNameI1:
        i1->setEngByName(true);
        break;
    case EngByNameFactorI0:
        i0->setEngByNameFactor(cmd.realArg(0));
        break;
    case EngByNameFactorI1:
        i1->setEngByNameFactor(cmd.realArg(0));
        break;
    case EngByCalcI0:
        i0->setEngByCalc(cmd.flagArg(0));
        break;
    case EngByCalcI1:
        i1->setEngByCalc(cmd.flagArg(0));
        break;
    case EngCalcBaseI0:
        i0->setEngCalcStart(cmd.realArg(0));
        break;
    case EngCalcBaseI1:
        i1->setEngCalcStart(cmd.realArg(0));
        break;
    case EngCalcDeltaI0:
        i0->setEngCalcDelta(cmd.realArg(0));
        break;
    case EngCalcDeltaI1:
        i1->setEngCalcDelta(cmd.realArg(0));
        break;
    case EngCalcEndI0:
        i0->setEngCalcEnd(cmd.realArg(0));
        break;
    case EngCalcEndI1:
        i1->setEngCalcEnd(cmd.realArg(0));
        break;
    case EngCalcNumI0:
        i0->setEngCalcNum(cmd.intArg(0));
        break;
    case EngCalcNumI1:
        i1->setEngCalcNum(cmd.intArg(0));
        break;
    case EngCalcEvenInEngI0:
        i0->setEvenInEng(cmd.flagArg(0));
        break;
    case EngCalcEvenInEngI1:
        i1->setEvenInEng(cmd.flagArg(0));
        break;
    case EngCalcEvenInDegI0:
        i0->setEvenInDeg(cmd.flagArg(0));
        break;
    case EngCalcEvenInDegI1:
        i1->setEvenInDeg(cmd.flagArg(0));
        break;
    case EngCalcDispUnitI0:
    case EngCalcDispUnitI1:
        // A negative index would leave the unit box with no unit at all.
        if (cmd.intArg(0) >= 0)
            (id == EngCalcDispUnitI0 ? i0 : i1)->setDispUnit(cmd.intArg(0));
        break;
    case EngByRefI0:
        i0->setEngByRef(cmd.arg(0));
        break;
    case EngByRefI1:
        i1->setEngByRef(cmd.arg(0));
        break;
    case SetFluoType:
        ui->FluoType->setChecked(cmd.flagArg(0));
        break;

    // Display and position.
    case SetBandW:
    case SetBandH: {
        QLineEdit *field = id == SetBandW ? ui->HWidth : ui->VWidth;
        field->setText(QString::number(cmd.intArg(0)));
        // As when the user ends an edit: the spectrum follows the new size.
        emit field->editingFinished();
        break;
    }
    case SelectDispImage:
        if (QAbstractButton *b = imageSelect->button(cmd.intArg(0)))
            b->setChecked(true);
        break;
    case SeekImage:
        seekImage(cmd.intArg(0));
        break;
    case MovePosition:
        // The display keeps the position as given and reports it unrounded,
        // so the spectrum is that of exactly this pixel at any zoom.
        ui->dispA->setRealMousePos(cmd.intArg(0), cmd.intArg(1));
        break;
    case SelectRegion:
        ui->dispA->setSelectedArea(cmd.intArg(0), cmd.intArg(1), cmd.intArg(2), cmd.intArg(3));
        break;
    case ScaleReset:
        ui->dispA->resetImageViewWindow();
        break;
    case ZoomIn:
        ui->dispA->setViewWAsSelectedArea();
        break;
    case XafsViewNormalize:
        spectrumView->setNormalize(cmd.flagArg(0));
        break;
    case XafsViewEnerugyCorrection:
        spectrumView->setEnergyCorrection(cmd.flagArg(0));
        break;
    case SaveSpectra:
        spectrumView->saveData(cmd.arg(0));
        break;

    case Quit:
        // No completion: the windows close and the script ends with them.
        emit finishing();
        return;

    case NotFound:
        if (batchKeyword(cmd.command) == BatchKeyword::None)
            m_batchCtrl->Log(QStringLiteral("Err: %1\n").arg(cmd.line));
        break;

    default:
        qDebug().noquote() << "Batch command" << batchCommandWord(id) << "is not available yet";
        break;
    }
    emit finishBatchExec();
}
