// The batch commands of the analyzer: its reference rows, the fit settings,
// the choice of the map on show and its scale, and the 2D LCF run.

#include "core/gui/Body.h"

#include "analysis/gui/Analyzer.h"
#include "analysis/gui/LCFReference.h"
#include "batch/BatchCommands.h"
#include "spectrum/gui/XafsView.h"

#include <QDebug>

void Body::registerAnalyzerCommands()
{
    using namespace BatchCmd;
    Analyzer *a = analyzerWindow;
    const auto act = [this](Id id, std::function<void(const CmdLine &)> f) {
        commands.addAction(id, std::move(f));
    };

    act(AnalyzerShowWindow, [a](const CmdLine &) { a->show(); });
    act(AnalyzerSetLCFStd, [a](const CmdLine &c) {
        const int no = c.intArg(0);
        if (no < 0 || no >= Analyzer::maxReferences) {
            qDebug().noquote() << "No LCF reference row" << c.arg(0) << "(rows 0 to"
                               << Analyzer::maxReferences - 1 << ")";
            return;
        }
        // A script has no "Add Ref" button: the rows up to `no` are added
        // as the button would add them.
        a->ensureReferences(no + 1);
        a->reference(no)->setStd(c.flagArg(1), c.realArg(2), c.arg(3), c.arg(4));
    });
    act(AnalyzerSetLCFMode, [a](const CmdLine &c) { a->setLCFMode(c.flagArg(0)); });
    act(AnalyzerSetLCFRange, [a](const CmdLine &c) { a->setLCFRange(c.realArg(0), c.realArg(1)); });
    // The run holds the script until its last bin is recorded or it is
    // stopped; a run that cannot start releases it at once.
    commands.add(AnalyzerExecLCF, [this](const CmdLine &) {
        const CompletionToken token = commands.issue();
        if (!startLcfRun(token)) {
            commands.complete(token);
            return CmdOutcome::done();
        }
        return CmdOutcome::waitFor(token);
    });
    act(AnalyzerSelectImage, [a](const CmdLine &c) { a->selectImage(c.intArg(0)); });
    act(AnalyzerSelectImageType, [a](const CmdLine &c) { a->selectImageType(c.intArg(0)); });
    act(AnalyzerSelectAnalysisMode, [a](const CmdLine &c) { a->selectAnalysisPanel(c.intArg(0)); });
    act(AnalyzerSetFixedScale, [a](const CmdLine &c) { a->setFixedScale(c.flagArg(0)); });
    // Each bound goes into its field and is applied at once, as an edit of
    // that field would be.
    act(AnalyzerSetScaleMax, [a](const CmdLine &c) {
        a->setDMutScaleMax(c.realArg(0));
        a->setRatioScaleMax(c.realArg(0));
    });
    act(AnalyzerSetScaleMin, [a](const CmdLine &c) {
        a->setDMutScaleMin(c.realArg(0));
        a->setRatioScaleMin(c.realArg(0));
    });
    act(AnalyzerSetDMutScaleMax, [a](const CmdLine &c) { a->setDMutScaleMax(c.realArg(0)); });
    act(AnalyzerSetDMutScaleMin, [a](const CmdLine &c) { a->setDMutScaleMin(c.realArg(0)); });
    act(AnalyzerSetRatioScaleMax, [a](const CmdLine &c) { a->setRatioScaleMax(c.realArg(0)); });
    act(AnalyzerSetRatioScaleMin, [a](const CmdLine &c) { a->setRatioScaleMin(c.realArg(0)); });
    act(AnalyzerViewNormalize,
        [a](const CmdLine &c) { a->xafsView()->setNormalize(c.flagArg(0)); });
    act(AnalyzerViewEnerugyCorrection,
        [a](const CmdLine &c) { a->xafsView()->setEnergyCorrection(c.flagArg(0)); });
}
