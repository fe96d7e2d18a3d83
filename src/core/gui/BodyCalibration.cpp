// The energy calibration as the main window drives it: the calibration
// window and its standard, the energy-shift map (calibrated, smoothed,
// cleared, shown, saved and loaded), the shift every spectrum built at a
// position carries, and "de Glitch" on the analyzer's map on show. The
// computation and the file format live in src/calibration.

#include "core/gui/Body.h"

#include "analysis/Analyzed2DRes.h"
#include "analysis/gui/Analyzer.h"
#include "app/TextNumbers.h"
#include "calibration/EdgeShiftCalib.h"
#include "calibration/gui/CalibCtrl.h"
#include "input/TiffData.h"
#include "spectrum/gui/XafsView.h"
#include "widgets/gui/ColorBar.h"
#include "widgets/gui/ImgDispA.h"

#include "ui_Body.h"

#include <QButtonGroup>
#include <QDebug>
#include <QSignalBlocker>

void Body::buildCalibration()
{
    calibWindow = new CalibCtrl(this);
    calibWindow->setWindowFlag(Qt::Window);
    shiftMap = new Analyzed2DRes(this);
    shiftMap->setName(QStringLiteral("Energy Shift"));
    shiftMap->setColorBar(ui->CBar->greyScale());
    imageSelect->addButton(ui->ShowShiftMap, 2);

    connect(ui->OpenCalibCtrl, &QPushButton::clicked, calibWindow, [this] {
        calibWindow->show();
        calibWindow->raise();
    });
    connect(calibWindow, &CalibCtrl::newStdFileLoaded, this, &Body::newStdFile);
    connect(calibWindow, &CalibCtrl::stdRenormalized, this, &Body::newStdFile);
    connect(calibWindow, &CalibCtrl::execCalibration, this, &Body::execCalibration);
    connect(calibWindow, &CalibCtrl::clearMap, this, &Body::clearShiftMap);
    connect(calibWindow, &CalibCtrl::saveEMap, this,
            [this](const QString &fname) { saveEMap(fname); });
    connect(calibWindow, &CalibCtrl::loadEMap, this, &Body::loadEMap);
    // The spectrum at the position is built in the new background form.
    connect(calibWindow, &CalibCtrl::targetBGChanged, this,
            QOverload<>::of(&Body::showXafsSpectrum));
    connect(ui->ShowShiftMap, &QRadioButton::toggled, this, &Body::showShiftMap);
    connect(ui->NormalizeEShift, &QPushButton::clicked, this, &Body::normalizeEShift);
    connect(ui->DeGlitch, &QPushButton::clicked, this, &Body::deglitch);
    connect(ui->ShowProcImg, &QCheckBox::toggled, this, &Body::showProcImg);
    registerCalibCommands();
}

int Body::imageWidth() const
{
    return data.i1().isEmpty() ? mapImageWidth : data.dataWidth();
}

int Body::imageHeight() const
{
    return data.i1().isEmpty() ? mapImageHeight : data.dataHeight();
}

void Body::newStdFile()
{
    calibStandard = calibWindow->standard();
    // "dE from Std." is the spectrum's edge less this standard's.
    spectrumView->setStandard(calibStandard);
    showXafsSpectrum();
}

bool Body::execCalibration()
{
    if (data.i1().isEmpty()) {
        qDebug().noquote() << "Calibration not started: no I1 frames";
        return false;
    }
    AnalyzeCond walk;
    if (!askAnalyzeCond(walk))
        return false;
    // A run reads each bin's shift as it reaches the bin: a map that changes
    // under it would give one area two calibrations.
    if (analysisRunning())
        stop2DAnalysis();
    const EdgeShiftCalib calib(data.i1(), data.i0(), data.dark(), data.dataWidth(),
                               data.dataHeight(), data.fluorescence());
    EdgeShiftStats stats;
    // Refused without a standard: the shifts would be absolute edges.
    bool done = false;
    {
        const GuiRun run(this, tr("Calibration"));
        done = calib.run(walk, calibStandard.raw(), *shiftMap, stats);
    }
    if (done)
        calibWindow->showStats(stats);
    if (shiftMap->hasData())
        calibWalk = shiftMap->walk();
    showShiftMap(true);
    showXafsSpectrum();
    return done;
}

void Body::clearShiftMap()
{
    // A run reads each bin's shift as it reaches the bin: a map that changes
    // under it would give one area two calibrations.
    if (analysisRunning())
        stop2DAnalysis();
    shiftMap->clear();
    calibWalk = AnalyzeCond();
    loadedMapHeader = EMPHeader();
    showShiftMap(true);
    showXafsSpectrum();
}

void Body::normalizeEShift()
{
    // A run reads each bin's shift as it reaches the bin: a map that changes
    // under it would give one area two calibrations.
    if (analysisRunning())
        stop2DAnalysis();
    normalizeEnergyShift(*shiftMap);
    showShiftMap(true);
    showXafsSpectrum();
}

void Body::deglitch()
{
    Analyzed2DRes *map = currentResultMap();
    if (!map) {
        qDebug().noquote() << "de Glitch: no map selected in the analyzer";
        return;
    }
    deglitchResultMap(*map, realOfText(ui->DeGlitchFactor->text()),
                      realOfText(ui->DeGlitchRatio->text()));
    // The picture shows the filtered values, not those before the filter.
    map->genImg();
    // The map now shows its processed values; the box says so.
    const QSignalBlocker quiet(ui->ShowProcImg);
    ui->ShowProcImg->setChecked(true);
    showResAnalysis(true);
    if (ui->ShowShiftMap->isChecked())
        showShiftMap(true);
}

void Body::showShiftMap(bool)
{
    if (ui->ShowShiftMap->isChecked()) {
        if (shiftMap->isImageValid())
            ui->dispA->setOverlay(shiftMap->img(), shiftMap->displayMin(), shiftMap->displayMax());
        else
            ui->dispA->setOverlay(QImage(), 0.0, 1.0);
        ui->dispA->setShowOverlayer(true);
    } else if (!ui->ShowResAnalysis->isChecked()) {
        ui->dispA->setShowOverlayer(false);
    }
    ui->dispA->update();
}

bool Body::saveEMap(const QString &fname, const Analyzed2DRes &map)
{
    EMPSaveInfo info;
    info.edgeEnergy =
        empSaveEdgeEnergy(calibStandard.raw(), calibWindow->edgeEnergy(), loadedMapHeader);
    info.spacing = calibWindow->spacing();
    info.walk = calibWalk;
    info.stdFileName = calibWindow->stdFileName();
    return writeEmpFile(fname, map, info);
}

bool Body::saveEMap(const QString &fname)
{
    return saveEMap(fname, *shiftMap);
}

EMPHeader Body::loadMapHeader(QTextStream &in) const
{
    return readEmpHeader(in);
}

bool Body::loadMap(const QString &fname, Analyzed2DRes &map, EMPHeader &empH)
{
    EMPLoadTarget target;
    target.edgeField = calibWindow->edgeEnergy();
    target.imageWidth = imageWidth();
    target.imageHeight = imageHeight();
    if (!readEmpFile(fname, target, map, empH)) {
        // A map that could not be had is empty, and so is its walk.
        if (&map == shiftMap && !map.hasData())
            calibWalk = AnalyzeCond();
        return false;
    }
    if (data.i1().isEmpty()) {
        mapImageWidth = target.imageWidth;
        mapImageHeight = target.imageHeight;
    }
    // A map of the analyzer keeps its walk to itself.
    if (&map == shiftMap) {
        calibWalk = map.walk();
        loadedMapHeader = empH;
        showShiftMap(true);
        showXafsSpectrum();
    }
    ui->dispA->update();
    return true;
}

bool Body::loadEMap(const QString &fname)
{
    // A run reads each bin's shift as it reaches the bin: a map that changes
    // under it would give one area two calibrations.
    if (analysisRunning())
        stop2DAnalysis();
    EMPHeader header;
    return loadMap(fname, *shiftMap, header);
}
