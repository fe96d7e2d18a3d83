// The batch commands of the main window's own group: each statement a
// script hands over is performed here, mostly by writing into the same
// control a user would use and triggering the same recalculation. Other
// windows register their groups in their own files.

#include "core/gui/Body.h"

#include "batch/BatchCommands.h"
#include "batch/CommandRegistry.h"
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
    commands.dispatch(cmd, inRem);
}

void Body::registerMainWindowCommands()
{
    using namespace BatchCmd;
    // Most commands write a control and are complete at once.
    const auto act = [this](Id id, std::function<void(const CmdLine &)> f) {
        commands.addAction(id, std::move(f));
    };
    // A pair of words, one for each stack's panel.
    const auto panels = [this, &act](Id forI0, Id forI1, auto apply) {
        act(forI0, [this, apply](const CmdLine &cmd) { apply(i0Panel(), cmd); });
        act(forI1, [this, apply](const CmdLine &cmd) { apply(i1Panel(), cmd); });
    };
    // A load holds the script until the loader has ended the request it
    // starts, so the next statement sees the whole stack.
    const auto load = [this](Id id, ImageStacks::Stack s, bool ofPattern) {
        commands.add(id, [this, s, ofPattern](const CmdLine &cmd) {
            if (!ofPattern && cmd.arguments.size() < 2) {
                qDebug().noquote() << "Batch command" << cmd.command
                                   << "loads nothing: it needs a mode and at least one file";
                return CmdOutcome::failed();
            }
            const bool newFile = cmd.arg(0).toUpper() == QLatin1String("NEW");
            const QStringList files =
                ofPattern ? filesOfPattern(cmd.arg(1), cmd.arguments.mid(2)) : cmd.arguments.mid(1);
            const CompletionToken token = commands.issue();
            if (ofPattern && files.isEmpty()) {
                // The load still runs: a "New" one empties the stack, as it
                // always has, and the script is told so.
                const QString stack =
                    s == ImageStacks::I1 ? QStringLiteral("I1") : QStringLiteral("I0");
                const QString what =
                    !QDir(cmd.arg(1)).exists()
                        ? QStringLiteral("no folder %1").arg(cmd.arg(1))
                        : QStringLiteral("no file in %1 matches %2")
                              .arg(cmd.arg(1), cmd.arguments.mid(2).join(QLatin1Char(' ')));
                const QString why =
                    what
                    + (newFile ? QStringLiteral("; the %1 stack is now empty").arg(stack)
                               : QStringLiteral("; nothing loaded"));
                qDebug().noquote() << "Batch command" << cmd.command << ":" << why;
                commands.fail(why);
            }
            readFiles(s, files, newFile, token);
            return CmdOutcome::waitFor(token);
        });
    };

    // File lists.
    act(ClearI1Files, [this](const CmdLine &) { clearI1Files(); });
    act(ClearI0Files, [this](const CmdLine &) { clearI0Files(); });
    load(LoadI1Files, ImageStacks::I1, false);
    load(LoadI0Files, ImageStacks::I0, false);
    load(LoadI1FilesOfPattern, ImageStacks::I1, true);
    load(LoadI0FilesOfPattern, ImageStacks::I0, true);
    panels(CutFI0, CutFI1, [](SelectDataFiles *p, const CmdLine &c) { p->setCutF(c.intArg(0)); });
    panels(CutLI0, CutLI1, [](SelectDataFiles *p, const CmdLine &c) { p->setCutL(c.intArg(0)); });
    panels(SkipI0, SkipI1, [](SelectDataFiles *p, const CmdLine &c) { p->setSkip(c.intArg(0)); });
    panels(ShowLatestI0, ShowLatestI1,
           [](SelectDataFiles *p, const CmdLine &c) { p->setShowLatest(c.flagArg(0)); });

    // Energy assignment of the two panels.
    const auto pattern = [](SelectDataFiles *p, const CmdLine &c) {
        p->setEngByNameRegExp(c.arg(0));
    };
    panels(SetI0EnergyPattern, SetI1EnergyPattern, pattern);
    panels(EngByNameRegExpI0, EngByNameRegExpI1, pattern);
    panels(EngByNameI0, EngByNameI1,
           [](SelectDataFiles *p, const CmdLine &) { p->setEngByName(true); });
    panels(EngByNameFactorI0, EngByNameFactorI1,
           [](SelectDataFiles *p, const CmdLine &c) { p->setEngByNameFactor(c.realArg(0)); });
    panels(EngByCalcI0, EngByCalcI1,
           [](SelectDataFiles *p, const CmdLine &c) { p->setEngByCalc(c.flagArg(0)); });
    panels(EngCalcBaseI0, EngCalcBaseI1,
           [](SelectDataFiles *p, const CmdLine &c) { p->setEngCalcStart(c.realArg(0)); });
    panels(EngCalcDeltaI0, EngCalcDeltaI1,
           [](SelectDataFiles *p, const CmdLine &c) { p->setEngCalcDelta(c.realArg(0)); });
    panels(EngCalcEndI0, EngCalcEndI1,
           [](SelectDataFiles *p, const CmdLine &c) { p->setEngCalcEnd(c.realArg(0)); });
    panels(EngCalcNumI0, EngCalcNumI1,
           [](SelectDataFiles *p, const CmdLine &c) { p->setEngCalcNum(c.intArg(0)); });
    panels(EngCalcEvenInEngI0, EngCalcEvenInEngI1,
           [](SelectDataFiles *p, const CmdLine &c) { p->setEvenInEng(c.flagArg(0)); });
    panels(EngCalcEvenInDegI0, EngCalcEvenInDegI1,
           [](SelectDataFiles *p, const CmdLine &c) { p->setEvenInDeg(c.flagArg(0)); });
    panels(EngCalcDispUnitI0, EngCalcDispUnitI1, [](SelectDataFiles *p, const CmdLine &c) {
        // A negative index would leave the unit box with no unit at all.
        if (c.intArg(0) >= 0)
            p->setDispUnit(c.intArg(0));
    });
    panels(EngByRefI0, EngByRefI1,
           [](SelectDataFiles *p, const CmdLine &c) { p->setEngByRef(c.arg(0)); });
    act(SetFluoType, [this](const CmdLine &c) { ui->FluoType->setChecked(c.flagArg(0)); });

    // Display and position.
    for (const Id id : {SetBandW, SetBandH}) {
        act(id, [this, id](const CmdLine &c) {
            QLineEdit *field = id == SetBandW ? ui->HWidth : ui->VWidth;
            field->setText(QString::number(c.intArg(0)));
            // As when the user ends an edit: the spectrum follows the new size.
            emit field->editingFinished();
        });
    }
    act(SelectDispImage, [this](const CmdLine &c) {
        if (QAbstractButton *b = imageSelect->button(c.intArg(0)))
            b->setChecked(true);
    });
    act(SeekImage, [this](const CmdLine &c) { seekImage(c.intArg(0)); });
    // The display keeps the position as given and reports it unrounded, so
    // the spectrum is that of exactly this pixel at any zoom.
    act(MovePosition,
        [this](const CmdLine &c) { ui->dispA->setRealMousePos(c.intArg(0), c.intArg(1)); });
    act(SelectRegion, [this](const CmdLine &c) {
        ui->dispA->setSelectedArea(c.intArg(0), c.intArg(1), c.intArg(2), c.intArg(3));
    });
    act(ScaleReset, [this](const CmdLine &) { ui->dispA->resetImageViewWindow(); });
    act(ZoomIn, [this](const CmdLine &) { ui->dispA->setViewWAsSelectedArea(); });
    act(XafsViewNormalize, [this](const CmdLine &c) { spectrumView->setNormalize(c.flagArg(0)); });
    act(XafsViewEnerugyCorrection,
        [this](const CmdLine &c) { spectrumView->setEnergyCorrection(c.flagArg(0)); });
    commands.addCheck(SaveSpectra,
                      [this](const CmdLine &c) { return spectrumView->saveData(c.arg(0)); });

    // No completion: the windows close and the script ends with them.
    commands.add(Quit, [this](const CmdLine &) {
        emit finishing();
        return CmdOutcome::noAnswer();
    });
}
