// The analyzer's further map tools as the main window runs them: the
// residual absorption, the sum-up over frame ranges, the dump of the map on
// show and the Fourier survey of the area. Each runs to its end in the GUI
// thread over the stacks and the area of this window; the computations are
// MapTools' and FourierSurvey's.

#include "core/gui/Body.h"

#include "analysis/Analyzed2DRes.h"
#include "analysis/FourierSurvey.h"
#include "analysis/MapTools.h"
#include "analysis/gui/Analyzer.h"
#include "analysis/gui/SumUpCtrl.h"
#include "calibration/EmpFile.h"
#include "input/TiffData.h"
#include "spectrum/FourierBuffers.h"
#include "widgets/gui/ImgDispA.h"

#include "ui_Body.h"

#include <QDebug>
#include <QPushButton>
#include <QToolBox>
#include <QVBoxLayout>

void Body::buildMapTools()
{
    Analyzer *a = analyzerWindow;
    connect(a, &Analyzer::askRAAnalyze, this, &Body::startRA2DAnalysis);
    connect(a, &Analyzer::askSumUp, this, &Body::doSumUp);
    // Answered before the signal returns: the analyzer reads the header.
    connect(a, &Analyzer::loadMap, this, &Body::loadAnalyzerMap, Qt::DirectConnection);

    auto *page = new QWidget(ui->saveToolBox);
    page->setObjectName(QStringLiteral("extraPage"));
    auto *layout = new QVBoxLayout(page);
    auto *fourier = new QPushButton(tr("Exec F.A."), page);
    fourier->setObjectName(QStringLiteral("ExecFourierA"));
    auto *vals = new QPushButton(tr("Chk Vals"), page);
    vals->setObjectName(QStringLiteral("CheckVals"));
    fourier->setToolTip(tr("Exec F.A. (Fourier analysis): relate the brightness of each bin of "
                           "the area to the Fourier magnitudes of its I1 trace; the report goes "
                           "to the log"));
    vals->setToolTip(tr("Chk Vals (check values): write every value of the map on show to the "
                        "log"));
    layout->addWidget(fourier);
    layout->addWidget(vals);
    layout->addStretch();
    ui->saveToolBox->addItem(page, tr("Extra"));
    connect(fourier, &QPushButton::clicked, this, &Body::execFourierA);
    connect(vals, &QPushButton::clicked, this, &Body::showAnalyzedVals);

    registerMapToolsCommands();
}

bool Body::startRA2DAnalysis()
{
    if (!askAnalyzeCond(raWalk)) {
        qDebug().noquote() << "Residual absorption not run: no I1 frames";
        return false;
    }
    raEnergy = analyzerWindow->raEnergy();
    raFactor = analyzerWindow->raFactor();
    ResidualSetup setup;
    setup.walk = raWalk;
    setup.source = data.source();
    setup.energy = raEnergy;
    setup.factor = raFactor;
    setup.isVictoreen = targetBackgroundVictoreen();
    setup.shiftAt = [this](int x, int y) { return energyShiftAt(x, y); };
    setup.dmut = analyzerWindow->namedMap(Analyzer::RaDMutMap);
    setup.rest = analyzerWindow->namedMap(Analyzer::RaRestMap);
    setup.ratio = analyzerWindow->namedMap(Analyzer::RaRatioMap);
    // The run makes the ratio and the pictures itself.
    {
        const GuiRun run(this, tr("Residual absorption"));
        if (!runResidualAbsorption(setup))
            return false;
    }
    showResAnalysis(true);
    return true;
}

bool Body::generateRAResImage()
{
    if (!residualRatio(*analyzerWindow->namedMap(Analyzer::RaDMutMap),
                       *analyzerWindow->namedMap(Analyzer::RaRestMap),
                       *analyzerWindow->namedMap(Analyzer::RaRatioMap)))
        return false;
    showResAnalysis(true);
    return true;
}

bool Body::doSumUp()
{
    // Without frames the walk stays over no image and the sum-up says so.
    AnalyzeCond walk;
    askAnalyzeCond(walk);
    const GuiRun run(this, tr("Sum-up"));
    if (!runSumUp(data.i1(), walk, analyzerWindow->sumUpCtrl()->ranges(),
                  *analyzerWindow->namedMap(Analyzer::SumUpMap), QStringLiteral("sumUpImg.png")))
        return false;
    showResAnalysis(true);
    return true;
}

bool Body::showAnalyzedVals()
{
    const Analyzed2DRes *map = currentResultMap();
    if (!map) {
        qDebug().noquote() << "No values to show: no map on show";
        return false;
    }
    return ::showAnalyzedVals(*map);
}

bool Body::execFourierA()
{
    AnalyzeCond walk;
    askAnalyzeCond(walk);
    FourierBuffers fft;
    FourierSurvey survey;
    const GuiRun run(this, tr("Fourier survey"));
    return survey.run(data.i1(), walk, fft);
}

void Body::loadAnalyzerMap(const QString &fname, Analyzed2DRes *map, EMPHeader *empH)
{
    // A map that was not read is not named after the file.
    if (map && empH && !loadMap(fname, *map, *empH))
        empH->valid = false;
}
