// The image stacks of the main window: load requests, storing the frames the
// loaders deliver, clearing, the dark frame and re-rendering after a change
// of the colour bar.
#include "core/gui/Body.h"

#include "input/LoadTiff.h"
#include "input/gui/SelectDataFiles.h"
#include "input/TiffData.h"
#include "spectrum/gui/XafsView.h"
#include "widgets/gui/ColorBar.h"
#include "widgets/gui/ImgDispA.h"

#include "ui_Body.h"

void Body::readI1Files(const QStringList &files, bool newFile)
{
    if (newFile) {
        clearI1Files();
        // The plot range follows the spectra of the new data set.
        spectrumView->setAutoRange(true);
    }
    const ImageStacks::LoadRequest r =
        ImageStacks::loadRequest(i1Panel()->skip(), i1Panel()->cutFirst(), i1Panel()->cutLast());
    emit loadI1Files(files, r.skip, r.cutFirst, r.cutLast);
}

void Body::readI0Files(const QStringList &files, bool newFile)
{
    if (newFile)
        clearI0Files();
    const ImageStacks::LoadRequest r =
        ImageStacks::loadRequest(i0Panel()->skip(), i0Panel()->cutFirst(), i0Panel()->cutLast());
    emit loadI0Files(files, r.skip, r.cutFirst, r.cutLast);
}

void Body::loadedI1(TiffData *frame, int fNo)
{
    if (!frame)
        return;
    frame->colorBar = ui->CBar->greyScale();
    frame->energy = i1Panel()->addFile(frame->fileName, fNo);
    data.appendI1(frame);
    // While a load runs without "Show Latest" only the stack and the list
    // grow; the display catches up when the load ends.
    if (i1Loader->isBusy() && !i1Panel()->showLatest()) {
        i1DisplayPending = true;
        return;
    }
    showStoredI1();
}

void Body::showStoredI1()
{
    i1DisplayPending = false;
    showXafsSpectrum();
    const int count = data.i1().size();
    ui->SeekBar->setMaximum(qMax(count - 1, 0));
    if (i1Panel()->showLatest())
        showData(count - 1);
    i1Panel()->select(count - 1);
}

void Body::loadedI0(TiffData *frame, int fNo)
{
    if (!frame)
        return;
    frame->colorBar = ui->CBar->greyScale();
    frame->energy = i0Panel()->addFile(frame->fileName, fNo);
    data.appendI0(frame);
    if (i0Loader->isBusy() && !i0Panel()->showLatest()) {
        i0DisplayPending = true;
        return;
    }
    i0DisplayPending = false;
    showXafsSpectrum();
}

void Body::finishedLoadI1Files()
{
    spectrumView->setAutoRange(false);
    // Frames delivered while the loader was still busy skipped the display
    // steps; when the loader finished before the last of them was stored,
    // none ran them, so they run once now.
    if (i1DisplayPending)
        showStoredI1();
}

void Body::finishedLoadI0Files()
{
    if (i0DisplayPending) {
        i0DisplayPending = false;
        showXafsSpectrum();
    }
}

void Body::clearI1Files()
{
    ui->dispA->clear();
    i1Panel()->clearFiles();
    data.clearI1();
    i1DisplayPending = false;
    ui->SeekBar->setMaximum(0);
}

void Body::clearI0Files()
{
    ui->dispA->clear();
    i0Panel()->clearFiles();
    data.clearI0();
    i0DisplayPending = false;
}

void Body::selectedDark(const QString &fname)
{
    // A file that cannot be read leaves no dark frame, so the label must not
    // keep naming the one that was dropped.
    ui->DarkFileName->setText(data.loadDark(fname) ? fname : QString());
}

void Body::clearDark()
{
    data.clearDark();
    ui->DarkFileName->setText(QString());
}

void Body::rerenderDisplayed(bool all)
{
    const ImageStacks::Stack s = displayedStack();
    const int index = displayedPanel()->currentIndex();
    // Pictures are only marked here: the shown one is rebuilt by the repaint
    // below, the others when they are next shown.
    if (index >= 0 && index < data.stack(s).size()) {
        if (all) {
            for (TiffData *f : data.stack(s))
                f->markPictureStale();
        } else {
            data.stack(s)[index]->markPictureStale();
        }
    }
    ui->dispA->update();
}

void Body::cBarUpdating()
{
    rerenderDisplayed(false);
}

void Body::cBarUpdated()
{
    rerenderDisplayed(true);
}
