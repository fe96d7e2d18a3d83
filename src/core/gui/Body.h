#pragma once

#include "batch/CmdLine.h"
#include "core/ImageStacks.h"
#include "spectrum/XafsSpectrum.h"

#include <QMainWindow>
#include <QStringList>

class BatchCtrl;
class BatchDispatcher;
class LoadTiff;
class QButtonGroup;
class QFileDialog;
class QPainter;
class QThread;
class SelectDataFiles;
class TiffData;
class XafsView;

namespace Ui {
class Body;
}


// The main window. It owns the data of one measurement (the two image stacks
// and the dark frame) and every other window, and wires them together: the
// loaders fill the stacks, the display reports the mouse, and the spectrum
// at the position goes to the spectrum window.
//
// Its slots are public so that the batch command set can call them.
class Body : public QMainWindow
{
    Q_OBJECT
public:
    explicit Body(QWidget *parent = nullptr);
    ~Body() override;

    ImageStacks &stacks() { return data; }
    const ImageStacks &stacks() const { return data; }
    XafsView *xafsView() const { return spectrumView; }
    SelectDataFiles *i1Panel() const;
    SelectDataFiles *i0Panel() const;
    // The batch window; start-up hands it the script of "-b" and "-x".
    BatchCtrl *batchCtrl() const { return m_batchCtrl; }

    // Energy of the current frame as marked in the spectrum window; -1
    // without a current frame.
    double spectrumMarkerEnergy() const { return markerEnergy; }

    // The spectrum of the window at the current position and its raw I1
    // trace, as last handed to the spectrum window.
    const XafsSpectrum &spectrumAtPosition() const { return positionSpectrum; }
    const SpectrumPoints &traceAtPosition() const { return positionTrace; }

    // The current position (the pixel of the last mouse position).
    int positionX() const { return posX; }
    int positionY() const { return posY; }
    // The stack on show: I1 while "Data" is checked, else I0.
    ImageStacks::Stack displayedStack() const;
    SelectDataFiles *displayedPanel() const;
    // The current entry of the displayed stack's panel, null when none.
    TiffData *currentFrame() const;

signals:
    // Asks the application to close every window (the batch command "quit").
    void finishing();
    void loadI1Files(const QStringList &files, int skip, int cutFirst, int cutLast);
    void loadI0Files(const QStringList &files, int skip, int cutFirst, int cutLast);
    // The batch statement in progress is complete (for a load: either loader
    // reached the end of its list); the script goes on.
    void finishBatchExec();

public slots:
    // Stacks and the dark frame.
    void readI1Files(const QStringList &files, bool newFile);
    void readI0Files(const QStringList &files, bool newFile);
    void loadedI1(TiffData *frame, int fNo);
    void loadedI0(TiffData *frame, int fNo);
    void finishedLoadI1Files();
    void finishedLoadI0Files();
    void clearI1Files();
    void clearI0Files();
    void selectedDark(const QString &fname);
    void clearDark();
    void cBarUpdating();
    void cBarUpdated();

    // Spectrum at a position and navigation.
    void showXafsSpectrum(double x, double y);
    void showXafsSpectrum();
    void onMouseMovedInDispA();
    void showData(int no);
    void seekImage(int imgNo);
    void prev();
    void next();
    void sliderMoved(int idx);
    void selectedDataI0(bool f);
    void draw(QPainter *p);
    // Paints the marker of the current frame's energy over the spectrum
    // window's plot.
    void drawSpectrumMarker(QPainter *p);

    // Performs one statement of a batch script (BodyCommands.cpp).
    void execCmdSlot(CmdLine cmd, bool inRem);

private:
    void buildDarkDialog();
    void registerQueuedTypes();
    void buildWidgets();
    void buildBatch();
    void buildLoaders();
    void connectDisplay();
    void buildWindows();

    // The steps after a frame was stored that show it.
    void showStoredI1();
    // Half sizes of the spectrum window as typed (sign kept; the window sum
    // uses their absolute values).
    int halfWidth() const;
    int halfHeight() const;
    // Energy shift of a pixel from the energy-shift map; 0 while there is no
    // map.
    double energyShiftAt(int x, int y) const;
    // Background form of the spectra built at a position: the calibration
    // window's "Target :" choice, "Simple" (a line) until it exists.
    bool targetBackgroundVictoreen() const;
    // Marker energy of the spectrum window: the current frame's energy,
    // -1 without one.
    void updateSpectrumMarker();
    // Re-renders the pictures of the displayed stack (all, or the current
    // frame only) and repaints the display.
    void rerenderDisplayed(bool all);

    Ui::Body *ui = nullptr;
    ImageStacks data;
    QFileDialog *darkDialog = nullptr;
    QButtonGroup *imageSelect = nullptr;

    QThread *m_batchThread = nullptr;
    BatchDispatcher *m_batchDispatcher = nullptr;
    BatchCtrl *m_batchCtrl = nullptr;

    QThread *i1LoaderThread = nullptr;
    QThread *i0LoaderThread = nullptr;
    LoadTiff *i1Loader = nullptr;
    LoadTiff *i0Loader = nullptr;

    XafsView *spectrumView = nullptr;
    double markerEnergy = -1.0;
    XafsSpectrum positionSpectrum;
    SpectrumPoints positionTrace;

    int posX = 0;
    int posY = 0;
    // A frame was stored without the display steps (see loadedI1).
    bool i1DisplayPending = false;
    bool i0DisplayPending = false;
};
