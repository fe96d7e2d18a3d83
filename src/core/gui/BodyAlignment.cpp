// Frame alignment as the main window drives it (the image processor is
// given the I1 frame of the frame selector and hands back its shift), and
// the quality survey of the second analyzer.

#include "core/gui/Body.h"

#include "alignment/FrameShifts.h"
#include "alignment/gui/ImgProc.h"
#include "analysis/AnalyzeCond.h"
#include "analysis/QInfo.h"
#include "analysis/gui/Analyzer2.h"
#include "app/Settings.h"
#include "widgets/gui/ImgDispA.h"

#include "ui_Body.h"

#include <QDebug>
#include <QPushButton>

void Body::buildAlignment()
{
    imgProcWindow = new ImgProc(this);
    imgProcWindow->setWindowFlag(Qt::Window);
    analyzer2Window = new Analyzer2(this);
    analyzer2Window->setWindowFlag(Qt::Window);

    // On the second row of window buttons, before "Batch Ctrl.".
    const int at = 0;
    showImgProcButton = new QPushButton(tr("Show Img. Proc."), ui->controlPanel);
    showImgProcButton->setObjectName(QStringLiteral("ShowImgProc"));
    showAnalyzer2Button = new QPushButton(tr("Show Analyser2"), ui->controlPanel);
    showAnalyzer2Button->setObjectName(QStringLiteral("ShowAnalyzer2"));
    showAnalyzer2Button->setVisible(settings().showAnalyzer2Button);
    showImgProcButton->setToolTip(tr("Show the image processor, which aligns drifting frames "
                                     "(Img. Proc.: image processing)"));
    showAnalyzer2Button->setToolTip(tr("Show the second analyzer: the quality survey of the "
                                       "area"));
    ui->windowsLayout2->insertWidget(at, showImgProcButton);
    ui->windowsLayout2->insertWidget(at + 1, showAnalyzer2Button);

    connect(showImgProcButton, &QPushButton::clicked, imgProcWindow, [this] {
        imgProcWindow->show();
        imgProcWindow->raise();
    });
    connect(showAnalyzer2Button, &QPushButton::clicked, analyzer2Window, [this] {
        analyzer2Window->show();
        analyzer2Window->raise();
    });
    connect(imgProcWindow, &ImgProc::askGiveData, this, &Body::giveProcData);
    connect(imgProcWindow, &ImgProc::askClearAllShifts, this, &Body::clearAllShifts);
    connect(imgProcWindow, &ImgProc::imgShift, this, &Body::setImgShift);
    connect(analyzer2Window, &Analyzer2::startCollectQInfo, this, &Body::startCollectQInfo);
    connect(this, &Body::doCollectQInfo, analyzer2Window, &Analyzer2::doCollectQInfo);
    registerAlignmentCommands();
}

int Body::selectedI1Index() const
{
    return ui->SeekBar->value();
}

void Body::giveProcData()
{
    if (!imgProcWindow)
        return;
    // Shifts belong to I1 frames: with I0 on show the image processor still
    // works on the I1 frame of the same number, where its shift is stored.
    imgProcWindow->giveData(alignmentFrame(data.i1(), selectedI1Index()));
}

void Body::setImgShift(int dx, int dy)
{
    if (!setFrameShift(data.i1(), selectedI1Index(), dx, dy)) {
        qDebug().noquote() << "No I1 frame" << selectedI1Index() << "to shift";
        return;
    }
    showShiftedFrames();
}

void Body::clearAllShifts()
{
    clearFrameShifts(data.i1());
    showShiftedFrames();
}

void Body::showShiftedFrames()
{
    // A frame's picture follows its shift by itself when it is next drawn.
    ui->dispA->update();
    showXafsSpectrum();
    onMouseMovedInDispA();
}

bool Body::startCollectQInfo()
{
    AnalyzeCond walk;
    QInfoRequest request;
    if (askAnalyzeCond(walk))
        request.walk = &walk;
    request.shiftAt = [this](int x, int y) { return energyShiftAt(x, y); };
    request.isVictoreen = targetBackgroundVictoreen();
    const QInfo info = collectQInfo(data.source(), request);
    return writeQInfo(QStringLiteral("qinfo.dat"), info);
}
