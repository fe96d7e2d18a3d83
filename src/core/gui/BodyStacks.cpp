// The image stacks of the main window: load requests, storing the frames the
// loaders deliver, clearing, the dark frame and re-rendering after a change
// of the colour bar.
#include "core/gui/Body.h"

#include "analysis/Analyzed2DRes.h"
#include "analysis/gui/Analyzer.h"
#include "input/LoadTiff.h"
#include "input/gui/SelectDataFiles.h"
#include "input/TiffData.h"
#include "spectrum/gui/XafsView.h"
#include "widgets/gui/ColorBar.h"
#include "widgets/gui/ImgDispA.h"

#include "ui_Body.h"

void Body::readI1Files(const QStringList &files, bool newFile)
{
    readFiles(ImageStacks::I1, files, newFile, 0);
}

void Body::readI0Files(const QStringList &files, bool newFile)
{
    readFiles(ImageStacks::I0, files, newFile, 0);
}

void Body::readFiles(ImageStacks::Stack s, const QStringList &files, bool newFile,
                     CompletionToken token)
{
    StackLoader &l = loaders[s];
    if (newFile) {
        // A new list replaces the stack, so the load in flight and those
        // queued behind it are given up: they stop, and what they still
        // deliver is dropped.
        l.liveFrom = l.nextRequest;
        l.loader->cancelBelow(l.liveFrom);
        l.expected = 0;
        l.arrived = 0;
        clearFiles(s);
        // The plot range follows the spectra of the new data set.
        if (s == ImageStacks::I1)
            spectrumView->setAutoRange(true);
    }
    const quint64 request = l.nextRequest++;
    l.inFlight.insert(request, token);
    const ImageStacks::LoadRequest r =
        ImageStacks::loadRequest(panel(s)->skip(), panel(s)->cutFirst(), panel(s)->cutLast());
    // What the loader will try: every skip-th file between the cuts (a file
    // that cannot be read still counts, so the bar may end short of full).
    const qint64 span = qint64(files.size()) - r.cutFirst - r.cutLast;
    if (span > 0)
        l.expected += int((span + r.skip - 1) / r.skip);
    showLoadProgress();
    if (s == ImageStacks::I1)
        emit loadI1Files(files, r.skip, r.cutFirst, r.cutLast, request);
    else
        emit loadI0Files(files, r.skip, r.cutFirst, r.cutLast, request);
}

void Body::frameArrived(ImageStacks::Stack s, const FrameHandle &frame, int fNo, quint64 request)
{
    // The frame of a replaced request is freed with its handle.
    if (request < loaders[s].liveFrom || !loaders[s].inFlight.contains(request))
        return;
    ++loaders[s].arrived;
    showLoadProgress();
    if (s == ImageStacks::I1)
        loadedI1(frame.take(), fNo);
    else
        loadedI0(frame.take(), fNo);
}

void Body::loadEnded(ImageStacks::Stack s, quint64 request)
{
    StackLoader &l = loaders[s];
    if (!l.inFlight.contains(request))
        return;
    const CompletionToken token = l.inFlight.take(request);
    if (request >= l.liveFrom) {
        if (s == ImageStacks::I1)
            finishedLoadI1Files();
        else
            finishedLoadI0Files();
        emit stackLoaded(s);
    }
    if (!loading(s)) {
        l.expected = 0;
        l.arrived = 0;
    }
    showLoadProgress();
    // Also for a replaced request: the statement that started it is over.
    commands.complete(token);
}

bool Body::loading(ImageStacks::Stack s) const
{
    const StackLoader &l = loaders[s];
    for (auto it = l.inFlight.cbegin(); it != l.inFlight.cend(); ++it) {
        if (it.key() >= l.liveFrom)
            return true;
    }
    return false;
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
    if (loading(ImageStacks::I1) && !i1Panel()->showLatest()) {
        loaders[ImageStacks::I1].displayPending = true;
        return;
    }
    showStoredI1();
}

void Body::showStoredI1()
{
    loaders[ImageStacks::I1].displayPending = false;
    showXafsSpectrum();
    followLoad(ImageStacks::I1);
}

void Body::followLoad(ImageStacks::Stack s)
{
    // With "Show Latest" the current entry (and, for the displayed stack,
    // the picture) moves to the newest frame; without it the current entry
    // stays, and the display shows it again, which also brings the seek
    // bar's range up to the stack's size.
    const int count = data.stack(s).size();
    if (panel(s)->showLatest()) {
        if (s == displayedStack())
            showData(count - 1);
        else
            panel(s)->select(count - 1);
    } else if (s == displayedStack()) {
        showData(qMax(panel(s)->currentIndex(), 0));
    }
}

void Body::loadedI0(TiffData *frame, int fNo)
{
    if (!frame)
        return;
    frame->colorBar = ui->CBar->greyScale();
    frame->energy = i0Panel()->addFile(frame->fileName, fNo);
    data.appendI0(frame);
    if (loading(ImageStacks::I0) && !i0Panel()->showLatest()) {
        loaders[ImageStacks::I0].displayPending = true;
        return;
    }
    loaders[ImageStacks::I0].displayPending = false;
    showXafsSpectrum();
    followLoad(ImageStacks::I0);
}

void Body::finishedLoadI1Files()
{
    spectrumView->setAutoRange(false);
    analyzer()->xafsView()->setAutoRange(false);
    // Frames delivered while the loader was still busy skipped the display
    // steps; when the loader finished before the last of them was stored,
    // none ran them, so they run once now.
    if (loaders[ImageStacks::I1].displayPending)
        showStoredI1();
}

void Body::finishedLoadI0Files()
{
    if (loaders[ImageStacks::I0].displayPending) {
        loaders[ImageStacks::I0].displayPending = false;
        showXafsSpectrum();
        followLoad(ImageStacks::I0);
    }
}

void Body::clearI1Files()
{
    clearFiles(ImageStacks::I1);
}

void Body::clearI0Files()
{
    clearFiles(ImageStacks::I0);
}

void Body::clearFiles(ImageStacks::Stack s)
{
    // A run reads these frames while it goes.
    if (analysisRunning())
        stop2DAnalysis();
    ui->dispA->clear();
    panel(s)->clearFiles();
    if (s == ImageStacks::I1) {
        data.clearI1();
        // No frame, no image size: a map file may set it again.
        mapImageWidth = -1;
        mapImageHeight = -1;
        giveProcData();
    } else {
        data.clearI0();
    }
    loaders[s].displayPending = false;
    // The display forgot its picture whichever stack went; the displayed
    // stack's current frame (none, when that was the one emptied) is shown
    // again with its read-outs.
    showData(qMax(displayedPanel()->currentIndex(), 0));
}

void Body::selectedDark(const QString &fname)
{
    if (analysisRunning())
        stop2DAnalysis();
    // A file that cannot be read leaves no dark frame, so the label must not
    // keep naming the one that was dropped.
    ui->DarkFileName->setText(data.loadDark(fname) ? fname : QString());
}

void Body::clearDark()
{
    if (analysisRunning())
        stop2DAnalysis();
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
    redrawForColorBar(false);
}

void Body::cBarUpdated()
{
    redrawForColorBar(true);
}

// A map on show takes the new grey scale at once, whether the handle is
// still moving or was let go; the frames redraw only the one on show while
// it moves, and all of them when it is let go.
void Body::redrawForColorBar(bool released)
{
    if (ui->ShowShiftMap->isChecked()) {
        shiftMap->genImg();
        showShiftMap(true);
        return;
    }
    if (ui->ShowResAnalysis->isChecked()) {
        setupResAnalysisImage();
        showResAnalysis(true);
        return;
    }
    rerenderDisplayed(released);
}
