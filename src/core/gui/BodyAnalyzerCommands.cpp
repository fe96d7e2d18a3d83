// The batch commands of the analyzer: its reference rows, the fit settings,
// the choice of the map on show and its scale, and the 2D LCF run.

#include "core/gui/Body.h"

#include "analysis/gui/AElemsConds.h"
#include "analysis/gui/Analyzer.h"
#include "analysis/gui/ElemCtrl.h"
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
    commands.addCheck(AnalyzerSetLCFStd, [a](const CmdLine &c) {
        const int no = c.intArg(0);
        if (no < 0 || no >= Analyzer::maxReferences) {
            qDebug().noquote() << "No LCF reference row" << c.arg(0) << "(rows 0 to"
                               << Analyzer::maxReferences - 1 << ")";
            return false;
        }
        // A script has no "Add Ref" button: the rows up to `no` are added
        // as the button would add them.
        a->ensureReferences(no + 1);
        a->reference(no)->setStd(c.flagArg(1), c.realArg(2), c.arg(3), c.arg(4));
        // A file that gave no spectrum leaves the row without one (logged).
        return !a->reference(no)->spectrum().raw().isEmpty();
    });
    act(AnalyzerSetLCFMode, [a](const CmdLine &c) { a->setLCFMode(c.flagArg(0)); });
    act(AnalyzerSetLCFRange, [a](const CmdLine &c) { a->setLCFRange(c.realArg(0), c.realArg(1)); });
    // The run holds the script until its last bin is recorded or it is
    // stopped; a run that cannot start releases it at once, as a failure
    // with the reason it logged.
    commands.add(AnalyzerExecLCF, [this](const CmdLine &) {
        const CompletionToken token = commands.issue();
        if (!startLcfRun(token)) {
            commands.complete(token);
            return CmdOutcome::failed();
        }
        return CmdOutcome::waitFor(token);
    });
    commands.add(AnalyzerExecElems, [this](const CmdLine &) {
        const CompletionToken token = commands.issue();
        if (!startElemsRun(token)) {
            commands.complete(token);
            return CmdOutcome::failed();
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

    // The element panel. A row is named by its name, its element symbol or
    // its index; a command naming no row changes nothing and fails with
    // the reason the lookup logged.
    const auto row = [this](Id id, std::function<void(ElemCtrl *, const CmdLine &)> f) {
        commands.addCheck(id, [this, f](const CmdLine &c) {
            ElemCtrl *e = analyzerWindow->findElem(c.arg(0));
            if (e)
                f(e, c);
            return e != nullptr;
        });
    };
    act(AnalyzerTargetElements,
        [a](const CmdLine &c) { a->setTargetElements(c.arguments.join(QLatin1Char(' '))); });
    for (const Id id : {AnalyzerElemsSelectTarget, AnalyzerElemsSelectShow}) {
        commands.addCheck(id, [this, a, id](const CmdLine &c) {
            const int i = a->elemIndex(c.arg(0));
            if (i < 0)
                return false;
            if (id == AnalyzerElemsSelectTarget)
                a->selectElemTarget(i);
            else
                a->selectElemShow(i);
            showResAnalysis(true);
            return true;
        });
    }
    act(AnalyzerElemsSetDeVs, [a](const CmdLine &c) { a->setElemsDE(c.realArg(0)); });
    act(AnalyzerElemsSetCorrTh, [a](const CmdLine &c) { a->setCorTh(c.realArg(0)); });
    act(AnalyzerElemsSelectDispMode,
        [a](const CmdLine &c) { a->selectElemsDispMode(c.intArg(0)); });
    row(AnalyzerElemsSetUse, [](ElemCtrl *e, const CmdLine &c) { e->setUse(c.flagArg(1)); });
    act(AnalyzerElemsSortByAn, [a](const CmdLine &c) { a->setSortByANo(c.flagArg(0)); });
    row(AnalyzerElemsRoi,
        [](ElemCtrl *e, const CmdLine &c) { e->setROI(c.realArg(1), c.realArg(2)); });
    row(AnalyzerElemsThdmut, [](ElemCtrl *e, const CmdLine &c) { e->setThDMut(c.realArg(1)); });
    row(AnalyzerElemsNoNeg, [](ElemCtrl *e, const CmdLine &c) { e->setNoNeg(c.flagArg(1)); });
    const struct
    {
        Id id;
        AElemsConds::Field field;
    } backgrounds[] = {{AnalyzerElemsBgDMut, AElemsConds::DMut},
                       {AnalyzerElemsBgDMutR, AElemsConds::DMutRatio},
                       {AnalyzerElemsBgDE, AElemsConds::DE},
                       {AnalyzerElemsBgROI, AElemsConds::Roi},
                       {AnalyzerElemsBgNROI, AElemsConds::NRoi}};
    for (const auto &bg : backgrounds) {
        const AElemsConds::Field field = bg.field;
        act(bg.id,
            [a, field](const CmdLine &c) { a->elemsConds()->setValue(field, c.realArg(1)); });
    }
    act(AnalyzerElemsSetStd, [a](const CmdLine &) { a->setElemsStd(); });
    row(AnalyzerElemsStdRatio, [](ElemCtrl *e, const CmdLine &c) { e->setStdRatio(c.realArg(1)); });
    act(AnalyzerElemsRecalcCor, [a](const CmdLine &) { a->recalcCorMap(); });
    row(AnalyzerElemsPrePostDE,
        [](ElemCtrl *e, const CmdLine &c) { e->setPrePostDE(c.realArg(1)); });
    act(AnalyzerElemsDispOnTime, [a](const CmdLine &c) { a->setElemsDispOnTime(c.flagArg(0)); });

    act(AnalyzerViewNormalize,
        [a](const CmdLine &c) { a->xafsView()->setNormalize(c.flagArg(0)); });
    act(AnalyzerViewEnerugyCorrection,
        [a](const CmdLine &c) { a->xafsView()->setEnergyCorrection(c.flagArg(0)); });
}
