// The 2D LCF run as the main window drives it, and the display of the
// analyzer's result maps. The run itself (walk, hand-over to the worker,
// recording) is LcfRun's; this file hands it the settings, the area and the
// maps, and shows what comes back.

#include "core/gui/Body.h"

#include "analysis/AnalyzeCond.h"
#include "analysis/Analyzed2DRes.h"
#include "analysis/LcfRun.h"
#include "analysis/gui/AElemsConds.h"
#include "analysis/gui/Analyzer.h"
#include "analysis/gui/LCFReference.h"
#include "analysis/gui/XafsFileSelect.h"
#include "input/TiffData.h"
#include "spectrum/gui/XafsView.h"
#include "widgets/gui/ColorBar.h"
#include "widgets/gui/ImgDispA.h"

#include "ui_Body.h"

#include <QDebug>

void Body::buildAnalyzer()
{
    analyzerWindow = new Analyzer(this);
    analyzerWindow->setWindowFlag(Qt::Window);
    analyzerWindow->setColorBar(ui->CBar->greyScale());
    lcfRun = new LcfRun(analyzerWindow->worker(), this);

    connect(ui->ShowAnalyzer, &QPushButton::clicked, analyzerWindow, &Analyzer::show);
    connect(analyzerWindow, &Analyzer::askAnalyze, this, &Body::startLCF2DAnalysis);
    connect(analyzerWindow, &Analyzer::changedSelection, this, &Body::selectedNewRef);
    connect(analyzerWindow, &Analyzer::askAnalyzeCond, this,
            [this](AnalyzeCond *walk) { return walk && askAnalyzeCond(*walk); });
    connect(analyzerWindow, &Analyzer::askAnalyzeElems, this, &Body::startElems2DAnalysis);
    // One run at a time, LCF or element: each reports in its own panel.
    connect(lcfRun, &LcfRun::progress, this, [this](const QString &perCent) {
        if (lcfRun->isElemsRun())
            analyzerWindow->setElemsProgress(perCent);
        else
            analyzerWindow->setProgress(perCent);
    });
    connect(lcfRun, &LcfRun::imagesGenerated, this, &Body::generateResImages);
    connect(lcfRun, &LcfRun::finished, this, [this] {
        if (lcfRun->isElemsRun())
            analyzeElemsFinished();
        else
            analyzeASpectrumFinished();
    });
    connect(analyzerWindow, &Analyzer::elemsChanged, this, [this] {
        spectrumView->setEdgeMarks(analyzerWindow->edgeMarks());
        spectrumView->update();
    });
    connect(lcfRun, &LcfRun::stopped, this, &Body::lcfRunEnded);
    connect(ui->ShowResAnalysis, &QRadioButton::toggled, this, &Body::showResAnalysis);
    registerAnalyzerCommands();
}

bool Body::analysisRunning() const
{
    return lcfRun && lcfRun->isRunning();
}

bool Body::askAnalyzeCond(AnalyzeCond &walk) const
{
    if (data.i1().isEmpty())
        return false;
    const QRectF area =
        ui->dispA->hasSelection() ? ui->dispA->selectedArea() : ui->dispA->viewWindow();
    const TiffData *first = data.i1().first();
    walk.setup(first->width(), first->height(), halfWidth(), halfHeight(), area.x(), area.y(),
               area.width(), area.height());
    return true;
}

void Body::startLCF2DAnalysis()
{
    // The button toggles: a second press stops the run going.
    if (analysisRunning()) {
        stop2DAnalysis();
        return;
    }
    startLcfRun(0);
}

bool Body::startLcfRun(CompletionToken token)
{
    if (!analysisRunning() && !data.i1().isEmpty() && analyzerWindow->referenceCount() < 2) {
        qDebug().noquote() << "LCF run not started: fewer than two reference rows";
        return false;
    }
    LcfRun::Setup setup;
    setup.refs = analyzerWindow->referenceSnapshots();
    setup.isMLCF = analyzerWindow->isMLCF();
    setup.sE0 = analyzerWindow->lcfRangeStart();
    setup.eE0 = analyzerWindow->lcfRangeEnd();
    setup.maps = analyzerWindow->lcfRunMaps();
    setup.zansa = analyzerWindow->namedMap(Analyzer::ZansaMap);
    return startRun(setup, analyzerWindow->dispOnTime(), token);
}

bool Body::startRun(LcfRun::Setup &setup, bool dispOnTime, CompletionToken token)
{
    const QString what = setup.isElems ? QStringLiteral("Element run") : QStringLiteral("LCF run");
    if (analysisRunning()) {
        qDebug().noquote() << what << "not started: a run is already going";
        return false;
    }
    if (data.i1().isEmpty()) {
        qDebug().noquote() << what << "not started: no I1 frames";
        return false;
    }
    // The walk first: a set-up that fails leaves no flag raised.
    if (!askAnalyzeCond(setup.walk)) {
        qDebug().noquote() << what << "not started: no area";
        return false;
    }
    setup.source = data.source();
    setup.isVictoreen = targetBackgroundVictoreen();
    setup.shiftAt = [this](int x, int y) { return energyShiftAt(x, y); };
    lcfRun->setDispOnTime(dispOnTime);
    analyzerWindow->setContAccess(true);
    if (!lcfRun->start(setup)) {
        analyzerWindow->setContAccess(false);
        return false;
    }
    lcfToken = token;
    return true;
}

void Body::stop2DAnalysis()
{
    lcfRun->stop();
}

void Body::startElems2DAnalysis()
{
    // The button toggles, and one run serves both kinds: a press during any
    // run stops it.
    if (analysisRunning()) {
        stopElems2DAnalysis();
        return;
    }
    startElemsRun(0);
}

void Body::stopElems2DAnalysis()
{
    lcfRun->stop();
}

bool Body::startElemsRun(CompletionToken token)
{
    if (!analysisRunning() && !data.i1().isEmpty() && analyzerWindow->elemCount() < 1) {
        qDebug().noquote() << "Element run not started: no element rows";
        return false;
    }
    LcfRun::Setup setup;
    setup.isElems = true;
    setup.elemRows = analyzerWindow->elemSnapshots();
    setup.mainTarget = analyzerWindow->mainTargetRow();
    setup.bg = analyzerWindow->elemsConds()->background();
    setup.corThreshold = analyzerWindow->corThreshold();
    setup.maps = analyzerWindow->elemRunMaps();
    return startRun(setup, analyzerWindow->elemsDispOnTime(), token);
}

void Body::analyzeElemsFinished()
{
    analyzeASpectrumFinished();
}

void Body::lcfRunEnded()
{
    analyzerWindow->setContAccess(false);
    const CompletionToken token = lcfToken;
    lcfToken = 0;
    if (token != 0)
        commands.complete(token);
}

void Body::analyzeASpectrumFinished()
{
    ui->dispA->update();
    lcfRunEnded();
}

void Body::generateResImages()
{
    showResAnalysis(true);
}

void Body::setupResAnalysisImage()
{
    if (Analyzed2DRes *map = currentResultMap())
        map->genImg();
}

void Body::showResAnalysis(bool)
{
    const Analyzed2DRes *map = currentResultMap();
    if (map)
        ui->dispA->setOverlay(map->img(), map->displayMin(), map->displayMax());
    else
        ui->dispA->setOverlay(QImage(), 0.0, 1.0);
    ui->dispA->setShowOverlayer(ui->ShowResAnalysis->isChecked());
    ui->dispA->update();
}

void Body::selectedNewRef()
{
    showResAnalysis(true);
}

void Body::showProcImg(bool f)
{
    if (Analyzed2DRes *map = currentResultMap()) {
        map->selectProcImg(f);
        showResAnalysis(true);
    }
}

Analyzed2DRes *Body::currentResultMap() const
{
    return analyzerWindow ? analyzerWindow->currentMap() : nullptr;
}

QVector<QVector<Analyzed2DRes *>> Body::referenceResultMaps() const
{
    // Rows whose Use box is off have no maps to save.
    QVector<QVector<Analyzed2DRes *>> rows;
    for (int i = 0; analyzerWindow && i < analyzerWindow->referenceCount(); ++i) {
        const LCFReference *row = analyzerWindow->reference(i);
        rows.append(row->picker()->useChecked() ? row->maps() : QVector<Analyzed2DRes *>());
    }
    return rows;
}

int Body::shownReferenceRow() const
{
    return analyzerWindow ? analyzerWindow->shownReferenceRow() : 0;
}
