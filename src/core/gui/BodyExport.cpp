// Saving from the main window: the picture on show with its colour bar, the
// analyzer's result maps as pictures, 16-bit TIFF or text, the spectra of
// every bin of the area, and a flat and a dark frame. The writing itself is
// plain code beside the stacks; this file reads the controls and calls it.
#include "core/gui/Body.h"

#include "analysis/AnalyzeCond.h"
#include "analysis/Analyzed2DRes.h"
#include "core/ExportWriters.h"
#include "core/gui/SaveDataCfg.h"
#include "input/TiffData.h"
#include "widgets/gui/ColorBar.h"
#include "widgets/gui/ImgDispA.h"

#include "ui_Body.h"

#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <memory>

namespace {

QFileDialog *saveDialog(QWidget *parent, const QString &title, const QStringList &filters)
{
    auto *d = new QFileDialog(parent, title);
    d->setAcceptMode(QFileDialog::AcceptSave);
    d->setFileMode(QFileDialog::AnyFile);
    d->setNameFilters(filters);
    return d;
}

} // namespace

void Body::buildSaveControls()
{
    saveDataCfg = new SaveDataCfg(this);
    saveDataCfg->setWindowFlag(Qt::Window);
    imageDialog =
        saveDialog(this, tr("Save Image"), {tr("Image File (*.png)"), tr("Any Files (* *.*)")});
    spectraDialog = saveDialog(this, tr("Save Each Spectrum"),
                               {tr("XAFS Spectra (*.dat)"), tr("Any Files (* *.*)")});
    dataDialog = saveDialog(this, tr("Save Data"), {});
    connect(ui->SaveImage, &QPushButton::clicked, imageDialog, &QFileDialog::show);
    connect(imageDialog, &QFileDialog::fileSelected, this, &Body::saveImage);
    connect(ui->SaveEachSpectrum, &QPushButton::clicked, spectraDialog, &QFileDialog::show);
    connect(spectraDialog, &QFileDialog::fileSelected, this, &Body::saveEachSpectrum);
    connect(ui->SaveData, &QPushButton::clicked, this, &Body::showSaveDataDialog);
    connect(dataDialog, &QFileDialog::fileSelected, this, &Body::saveData);
    connect(ui->SaveFlatDark, &QPushButton::clicked, this, &Body::saveFlatDark);
    connect(ui->SaveDataCfgB, &QPushButton::clicked, saveDataCfg, [this] {
        saveDataCfg->show();
        saveDataCfg->raise();
    });
    registerSaveCommands();
}

void Body::showSaveDataDialog()
{
    if (saveDataCfg->saveAsTiff())
        dataDialog->setNameFilters({tr("Tiff File (*.tif)"), tr("Any Files (* *.*)")});
    else
        dataDialog->setNameFilters({tr("Data File (*.dat)"), tr("Any Files (* *.*)")});
    dataDialog->show();
}

bool Body::saveImage(const QString &fname)
{
    const bool ok = savePicture(ui->dispA->currentPicture(), fname);
    return savePicture(ui->CBar->picture(), taggedName(fname, QStringLiteral("cBar"))) && ok;
}

bool Body::saveImageWNum(const QString &fname, const QString &num)
{
    return saveImage(taggedName(fname, num));
}

bool Body::saveAllImages(const QString &fname)
{
    // Every map of every reference row in use, map j of each row in turn.
    const QVector<QVector<Analyzed2DRes *>> rows = referenceResultMaps();
    int perRow = 0;
    for (const QVector<Analyzed2DRes *> &maps : rows)
        perRow = qMax(perRow, maps.size());
    bool ok = true;
    bool any = false;
    for (int j = 0; j < perRow; ++j) {
        for (int i = 0; i < rows.size(); ++i) {
            const QVector<Analyzed2DRes *> &maps = rows[i];
            if (maps.isEmpty())
                continue;
            const Analyzed2DRes *map = maps.value(j, maps.first());
            if (!map || !map->isImageValid())
                continue;
            any = true;
            ok = savePicture(map->img(), taggedName(fname, QStringLiteral("%1-%2").arg(i).arg(j)))
                 && ok;
        }
    }
    if (!any)
        qDebug().noquote() << "No result map pictures to save as" << fname;
    return any && ok;
}

bool Body::saveData(const QString &fname)
{
    const int n = shownReferenceRow();
    if (saveDataCfg->saveAsTiff()) {
        qDebug().noquote() << "selected tiff";
        const bool ok = saveDataAsTiff(fname, n);
        return savePicture(ui->CBar->picture(), taggedName(taggedName(fname, QString::number(n)),
                                                           QStringLiteral("-cBar")))
               && ok;
    }
    qDebug().noquote() << "selected text";
    return saveDataAsText(fname, n);
}

bool Body::saveDataAsTiff(const QString &fname, int n)
{
    const QString name = numberedDataName(fname, n, QStringLiteral("tif"));
    qDebug().noquote() << "saveDataAsTiff";
    Analyzed2DRes *map = currentResultMap();
    if (!map) {
        qDebug().noquote() << "No result map to save as" << name;
        return false;
    }
    const bool asAnalyzed = saveDataCfg->tiffAsAnalyzed();
    const std::unique_ptr<quint16[]> samples =
        map->tiffDataForSave(saveDataCfg->tiffScaleFixed(), saveDataCfg->tiffScaleMin(),
                             saveDataCfg->tiffScaleMax(), asAnalyzed);
    if (!samples) {
        qDebug().noquote() << "The result map has no values to save as" << name;
        return false;
    }
    const AnalyzeCond &walk = map->walk();
    const int w = asAnalyzed ? walk.binsAcross() : walk.width;
    const int h = asAnalyzed ? walk.binsDown() : walk.height;
    if (!writeTiff16(name, w, h, samples.get())) {
        qDebug().noquote() << "Can't open" << name;
        return false;
    }
    return true;
}

bool Body::saveDataAsText(const QString &fname, int n)
{
    const QString name = numberedDataName(fname, n, QStringLiteral("dat"));
    const Analyzed2DRes *map = currentResultMap();
    if (!map) {
        qDebug().noquote() << "No result map to save as" << name;
        return false;
    }
    return map->writeText(name, saveDataCfg->textAsCSV(), saveDataCfg->textAsXYVal());
}

bool Body::saveFlatDark()
{
    const TiffData *f = currentFrame();
    const int w = f ? f->width() : data.dataWidth();
    const int h = f ? f->height() : data.dataHeight();
    return ::saveFlatDark(QDir::currentPath(), w, h);
}

bool Body::saveEachSpectrum(const QString &fname)
{
    if (ui->SaveAsNormalizedXAFS->isChecked())
        return saveEachNormalizedXafsSpectrum(fname);
    if (ui->SaveAsRawXAFS->isChecked())
        return saveEachRawXafsSpectrum(fname);
    return saveEachRawSpectrum(fname);
}

bool Body::saveEachSpectrumOfKind(const QString &fname, SpectrumKind kind)
{
    AnalyzeCond walk;
    if (!askAnalyzeCond(walk)) {
        qDebug().noquote() << "No I1 frames: no spectra to save as" << fname;
        return false;
    }
    EachSpectrumRequest job;
    job.kind = kind;
    job.walk = walk;
    job.isVictoreen = targetBackgroundVictoreen();
    job.shiftAt = [this](int x, int y) { return energyShiftAt(x, y); };
    // As for the spectrum at the position: the bin's shift goes into the
    // third column, the energies stay as measured.
    job.applyShift = false;
    const GuiRun run(this, tr("Spectra of all bins"));
    return ::saveEachSpectrum(data, job, fname);
}

bool Body::saveEachNormalizedXafsSpectrum(const QString &fname)
{
    return saveEachSpectrumOfKind(fname, SpectrumKind::NormalizedXafs);
}

bool Body::saveEachRawXafsSpectrum(const QString &fname)
{
    return saveEachSpectrumOfKind(fname, SpectrumKind::RawXafs);
}

bool Body::saveEachRawSpectrum(const QString &fname)
{
    return saveEachSpectrumOfKind(fname, SpectrumKind::Raw);
}
