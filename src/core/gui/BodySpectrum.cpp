// The interactive loop of the main window: the spectrum of the window around
// the position under the mouse, the pixel values and cross sections there,
// and browsing through the frames of the displayed stack.
#include "core/gui/Body.h"

#include "analysis/Analyzed2DRes.h"
#include "analysis/gui/Analyzer.h"
#include "app/TextNumbers.h"
#include "calibration/gui/CalibCtrl.h"
#include "input/gui/SelectDataFiles.h"
#include "input/TiffData.h"
#include "spectrum/XafsSpectrum.h"
#include "spectrum/gui/XafsView.h"
#include "widgets/gui/CrossSView.h"
#include "widgets/gui/ImgDispA.h"

#include "ui_Body.h"

#include <QPainter>

#include <cmath>
#include <utility>

// A field read as a base-10 integer; text that does not parse counts as 0.
static int intField(const QLineEdit *e)
{
    return intOfText(e->text());
}

int Body::halfWidth() const
{
    return intField(ui->HWidth);
}

int Body::halfHeight() const
{
    return intField(ui->VWidth);
}

double Body::energyShiftAt(int x, int y) const
{
    // 0.0 outside the map and while it is empty.
    return shiftMap ? shiftMap->value(x, y) : 0.0;
}

bool Body::targetBackgroundVictoreen() const
{
    return calibWindow && calibWindow->targetBGVictoreen();
}

TiffData *Body::currentFrame() const
{
    return data.frame(displayedStack(), displayedPanel()->currentIndex());
}

void Body::updateSpectrumMarker()
{
    const TiffData *f = currentFrame();
    markerEnergy = f ? f->energy : -1.0;
    spectrumView->update();
}

void Body::showXafsSpectrum(double x, double y)
{
    posX = int(x);
    posY = int(y);
    showXafsSpectrum();
}

void Body::showXafsSpectrum()
{
    updateSpectrumMarker();
    const double shift = energyShiftAt(posX, posY);
    SpectrumSource::Spectrum at = data.source().spectrum(posX, posY, halfWidth(), halfHeight(),
                                                         shift, targetBackgroundVictoreen());
    positionSpectrum = std::move(at.spectrum);
    spectrumView->setPlace(posX, posY, halfWidth(), halfHeight());
    double fromStd = spectrumView->setXafsSpectrum(positionSpectrum);
    // Without a standard there is nothing to be shifted against; the
    // window's difference would be the spectrum's own edge energy.
    if (spectrumView->standard().raw().isEmpty())
        fromStd = 0.0;
    // Outside runs the analyzer fits the same spectrum; during a run the
    // worker belongs to the run.
    if (!analysisRunning())
        analyzerWindow->analyzeAndShowSpectrum(positionSpectrum);
    ui->Position->setText(QString::asprintf("(% 4d, % 4d)", posX, posY));
    ui->EShiftOnTbl->setText(QString::asprintf("%5.2f", shift));
    ui->EShiftFromStd->setText(QString::asprintf("%5.2f", fromStd));
    positionTrace = std::move(at.rawI1);
    spectrumView->setTrace(positionTrace);
}

void Body::onMouseMovedInDispA()
{
    const QPointF real = ui->dispA->realMousePos();
    const int x = int(real.x());
    const int y = int(real.y());
    const ImageStacks::Stack s = displayedStack();
    const int index = displayedPanel()->currentIndex();
    // The row profile sums a band as high as the spectrum window, the column
    // profile one as wide as it, each three pixels along the profile.
    const QRectF view = ui->dispA->viewWindow();
    ui->HCross->setPositionRange(view.left(), view.right());
    const int hh = ImageStacks::boundedHalfSize(halfHeight());
    const int hw = ImageStacks::boundedHalfSize(halfWidth());
    ui->HCross->setProfile(data.rowProfile(s, index, y, 1, hh).points());
    ui->HCross->setMarker(x);
    ui->VCross->setPositionRange(view.top(), view.bottom());
    ui->VCross->setProfile(data.columnProfile(s, index, x, hw, 1).points());
    ui->VCross->setMarker(y);

    if (ui->ShowResAnalysis->isChecked()) {
        if (const Analyzed2DRes *map = currentResultMap()) {
            const double v = map->showsProcessed() ? map->processedValue(x, y) : map->value(x, y);
            ui->Value->setText(pixelValueText(v));
        }
    } else if (const TiffData *f = data.frame(s, index)) {
        const double v = ImageStacks::sampleAt(f, x, y);
        ui->Value->setText(pixelValueText(v));
    }
    if (data.hasDark()) {
        const double d = ImageStacks::sampleAt(data.dark(), x, y);
        ui->DarkValue->setText(darkValueText(d));
    }
}

void Body::showData(int no)
{
    // Every read-out of the current frame (the picture, "Img. No.", the seek
    // bar, the panel's file box and the spectrum marker) is set here and
    // only here, so they cannot part. The panel's index change that
    // selecting the entry sends comes back while this runs and is ignored.
    if (showingFrame)
        return;
    const ImageStacks::Stack s = displayedStack();
    const int count = data.stack(s).size();
    TiffData *f = data.frame(s, no);
    if (!f && count > 0)
        return; // outside the stack: everything stays as it is
    showingFrame = true;
    {
        const QSignalBlocker block(ui->SeekBar);
        ui->SeekBar->setMaximum(qMax(count - 1, 0));
        ui->SeekBar->setValue(f ? no : 0);
    }
    if (f) {
        displayedPanel()->select(no);
        ui->ImgNo->setText(QString::number(no));
        ui->ImgNo->setToolTip(f->fileName);
        ui->dispA->setFrame(f);
    } else {
        ui->ImgNo->setText(QStringLiteral("0"));
        ui->ImgNo->setToolTip(QString());
        ui->dispA->setFrame(nullptr);
    }
    ui->dispA->update();
    updateSpectrumMarker();
    giveProcData();
    showingFrame = false;
}

void Body::panelIndexChanged(ImageStacks::Stack s, int idx)
{
    // The entry picked in the file box (or by "..." ) is the frame on show;
    // the other stack's panel only keeps its index for later.
    if (s == displayedStack())
        showData(idx);
}

void Body::seekImage(int imgNo)
{
    showData(imgNo);
}

void Body::prev()
{
    displayedPanel()->prev();
}

void Body::next()
{
    displayedPanel()->next();
}

void Body::sliderMoved(int idx)
{
    showData(idx);
}

void Body::stepFrame(int by)
{
    showData(displayedPanel()->currentIndex() + by);
}

void Body::drawSpectrumMarker(QPainter *p)
{
    // The Fourier display has no energy axis.
    if (markerEnergy < 0 || spectrumView->mode() == XafsView::FftMode)
        return;
    const ChCoord &c = spectrumView->graph()->coord();
    const double x = c.r2sx(markerEnergy);
    if (x < c.innerX0() || x > c.innerX1())
        return;
    p->save();
    p->setPen(QPen(QColor(255, 128, 0), 1, Qt::DashLine));
    p->drawLine(QPointF(x, c.innerY0()), QPointF(x, c.innerY1()));
    p->restore();
}

void Body::selectedDataI0(bool)
{
    showData(qMax(displayedPanel()->currentIndex(), 0));
}

void Body::draw(QPainter *p)
{
    const ChCoord &c = ui->dispA->coord();
    const int w = data.dataWidth();
    const int h = data.dataHeight();
    const bool haveData = w > 0 && h > 0;
    const int hw = haveData ? ImageStacks::boundedHalfSize(halfWidth(), w)
                            : ImageStacks::boundedHalfSize(halfWidth());
    const int hh = haveData ? ImageStacks::boundedHalfSize(halfHeight(), h)
                            : ImageStacks::boundedHalfSize(halfHeight());

    // The window of the spectrum. Along a direction in which it spans the
    // whole data it is drawn as the data, since nothing outside is summed.
    p->setPen(QPen(QColor(255, 0, 0), 2));
    double left = double(posX) - hw;
    double top = double(posY) - hh;
    double right = double(posX) + hw + 1;
    double bottom = double(posY) + hh + 1;
    if (haveData && left <= 0 && right >= w) {
        left = 0;
        right = w;
    }
    if (haveData && top <= 0 && bottom >= h) {
        top = 0;
        bottom = h;
    }
    p->drawRect(QRectF(QPointF(c.r2sx(left), c.r2sy(top)), QPointF(c.r2sx(right), c.r2sy(bottom))));

    p->setPen(QPen(QColor(192, 192, 0), 1));
    p->drawLine(QPointF(c.r2sx(posX), c.r2sy(data.dataHeight())), QPointF(c.r2sx(posX), c.r2sy(0)));
    p->drawLine(QPointF(c.r2sx(0), c.r2sy(posY)), QPointF(c.r2sx(data.dataWidth()), c.r2sy(posY)));

    // The area being dragged shows as well as the one already selected.
    if (ui->dispA->hasSelection() || ui->dispA->isSelecting()) {
        const QRectF a = ui->dispA->selectedArea().normalized();
        p->setPen(QPen(QColor(192, 192, 255), 1));
        const QRectF r(QPointF(c.r2sx(a.left()), c.r2sy(a.top())),
                       QPointF(c.r2sx(a.right()), c.r2sy(a.bottom())));
        p->drawRect(r);
        // While it is dragged the area names its corners beside it.
        if (ui->dispA->isSelecting()) {
            const QString corners =
                QStringLiteral("(%1, %2) - (%3, %4)")
                    .arg(int(std::floor(a.left())))
                    .arg(int(std::floor(a.top())))
                    .arg(int(std::floor(a.right())))
                    .arg(int(std::floor(a.bottom())));
            const QRectF text = p->fontMetrics().boundingRect(corners);
            const double y = r.normalized().top() > text.height() + 2
                                 ? r.normalized().top() - 4
                                 : r.normalized().bottom() + text.height();
            p->drawText(QPointF(r.normalized().left(), y), corners);
        }
    }
}
