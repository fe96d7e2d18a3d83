// The batch commands of the analyzer's further map tools: the residual
// absorption, the sum-up ranges and run, Map 1 and Map 2 and their
// processing, the value dump and the Fourier survey. Every one of them runs
// to its end before it returns, so each statement is complete at once; one
// that makes nothing is reported as a failure.

#include "core/gui/Body.h"

#include "analysis/gui/Analyzer.h"
#include "analysis/gui/SumUpCtrl.h"
#include "batch/BatchCommands.h"

void Body::registerMapToolsCommands()
{
    using namespace BatchCmd;
    Analyzer *a = analyzerWindow;
    SumUpCtrl *sumUp = a->sumUpCtrl();
    const auto act = [this](Id id, std::function<void(const CmdLine &)> f) {
        commands.addAction(id, std::move(f));
    };
    // Work that can fail: a failure is reported with the reason it logged.
    const auto check = [this](Id id, std::function<bool(const CmdLine &)> f) {
        commands.addCheck(id, std::move(f));
    };

    act(AnalyzerSetRaEnergy, [a](const CmdLine &c) { a->setRaEnergy(c.realArg(0)); });
    act(AnalyzerSetRaFactor, [a](const CmdLine &c) { a->setRaFactor(c.realArg(0)); });
    check(AnalyzerExecRa, [this](const CmdLine &) { return startRA2DAnalysis(); });

    act(AnalyzerSumupAdd, [sumUp](const CmdLine &c) { sumUp->addRange(c.intArg(0), c.intArg(1)); });
    act(AnalyzerSumupDel, [sumUp](const CmdLine &c) { sumUp->delRange(c.intArg(0)); });
    act(AnalyzerSumupClear, [sumUp](const CmdLine &) { sumUp->clear(); });
    check(AnalyzerExecSumup, [this](const CmdLine &) { return doSumUp(); });

    check(AnalyzerCaptureMap, [a](const CmdLine &c) { return a->captureAsMap(c.intArg(0)); });
    check(AnalyzerLoadMap, [a](const CmdLine &c) { return a->loadMapFile(c.intArg(0), c.arg(1)); });
    act(AnalyzerProcType, [a](const CmdLine &c) { a->selectProcType(c.intArg(0)); });
    act(AnalyzerProcShow, [a](const CmdLine &c) { a->selectProcShow(c.intArg(0)); });
    check(AnalyzerExecProcMaps, [a](const CmdLine &) { return a->processMaps(); });

    check(AnalyzerShowVals, [this](const CmdLine &) { return showAnalyzedVals(); });
    check(ExecFourierSurvey, [this](const CmdLine &) { return execFourierA(); });
}
