#pragma once

#include "analysis/AnalyzeCond.h"
#include "analysis/LcfRun.h"
#include "batch/CmdLine.h"
#include "batch/CommandRegistry.h"
#include "calibration/EmpFile.h"
#include "core/ExportWriters.h"
#include "core/ImageStacks.h"
#include "spectrum/XafsSpectrum.h"

#include <QHash>
#include <QMainWindow>
#include <QRect>
#include <QStringList>

class BatchCtrl;
class BatchDispatcher;
class CalibCtrl;
class FrameHandle;
class LoadTiff;
class QButtonGroup;
class QFileDialog;
class QPainter;
class QTextStream;
class QThread;
class SelectDataFiles;
class TiffData;
class XafsView;
class SaveDataCfg;
class Analyzed2DRes;
class Analyzer;
struct EMPHeader;
class Analyzer2;
class ImgProc;
class QPushButton;
class QLabel;
class QProgressBar;
class LcfRun;
struct AnalyzeCond;

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
    Analyzer *analyzer() const { return analyzerWindow; }
    // True while a 2D run fills maps.
    bool analysisRunning() const;
    SelectDataFiles *i1Panel() const;
    SelectDataFiles *i0Panel() const;
    // The batch window; start-up hands it the script of "-b" and "-x".
    BatchCtrl *batchCtrl() const { return batchWindow; }

    // Where the main window and the spectrum window go on a screen whose
    // free area is `avail`: each rectangle is the outer top left (frame
    // included) and the inner size. Neither covers the other: the spectrum
    // window at the right of the main window, or under it over the whole
    // width, whichever leaves the larger square for the image. `frame` is
    // what a window manager adds around a window.
    struct Placement
    {
        QRect main;
        QRect spectrum;
    };
    static Placement placeWindows(const QRect &avail, const QSize &frame, const QSize &mainMin,
                                  const QSize &spectrumWanted, const QSize &spectrumMin);

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

    // The energy calibration (BodyCalibration.cpp): its window, the
    // energy-shift map, the walk of the last calibration or loaded map, and
    // the current image size: the frames', else the size a map file gave
    // while no frame was loaded; -1 x -1 without either.
    CalibCtrl *calibCtrl() const { return calibWindow; }
    const Analyzed2DRes *energyShiftMap() const { return shiftMap; }
    const AnalyzeCond &calibrationWalk() const { return calibWalk; }
    int imageWidth() const;
    int imageHeight() const;
    // The header of a map file, read from an open stream.
    EMPHeader loadMapHeader(QTextStream &in) const;
    // Reads a map file into map (the energy-shift map or another) with its
    // header; only the energy-shift map sets the calibration's walk.
    bool loadMap(const QString &fname, Analyzed2DRes &map, EMPHeader &empH);

signals:
    // Asks the application to close every window (the batch command "quit").
    void finishing();
    // Load requests to the loaders; `request` tells the frames of one
    // request from those of another.
    void loadI1Files(const QStringList &files, int skip, int cutFirst, int cutLast,
                     quint64 request);
    void loadI0Files(const QStringList &files, int skip, int cutFirst, int cutLast,
                     quint64 request);
    // The batch statement in progress is complete (for a load: the loader
    // ended the request that statement started); the script goes on.
    void finishBatchExec();
    // A load of stack `s` (an ImageStacks::Stack) has ended and its frames
    // are stored; not sent for a request that a "New" load replaced.
    void stackLoaded(int s);

public slots:
    // Stacks and the dark frame. A load started here completes no batch
    // statement. newFile replaces the stack and drops the load in flight.
    void readI1Files(const QStringList &files, bool newFile);
    void readI0Files(const QStringList &files, bool newFile);
    // Stores a frame as the loader delivers it; the stack takes `frame`.
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
    // The seek bar's value changed by the user (drag, keys, wheel, a click
    // in its groove): show that frame of the displayed stack.
    void sliderMoved(int idx);
    // Shows the frame `by` entries after (before, when negative) the
    // current one; nothing beyond the ends.
    void stepFrame(int by);
    void selectedDataI0(bool f);
    void draw(QPainter *p);
    // Paints the marker of the current frame's energy over the spectrum
    // window's plot.
    void drawSpectrumMarker(QPainter *p);

    // Saving (BodyExport.cpp). Each returns whether everything it should
    // write was written, and logs why not.
    bool saveImage(const QString &fname);
    bool saveImageWNum(const QString &fname, const QString &num);
    bool saveAllImages(const QString &fname);
    void showSaveDataDialog();
    bool saveData(const QString &fname);
    bool saveDataAsTiff(const QString &fname, int n);
    bool saveDataAsText(const QString &fname, int n);
    bool saveFlatDark();
    bool saveEachSpectrum(const QString &fname);
    bool saveEachNormalizedXafsSpectrum(const QString &fname);
    bool saveEachRawXafsSpectrum(const QString &fname);
    bool saveEachRawSpectrum(const QString &fname);

    // The 2D LCF run and the result display (BodyAnalysis.cpp). "Analyze"
    // starts a run, or stops the one going.
    void startLCF2DAnalysis();
    void stop2DAnalysis();
    // The element run, through the same run: "Analyze" of the element panel
    // starts it, or stops the run going.
    void startElems2DAnalysis();
    void stopElems2DAnalysis();
    void analyzeElemsFinished();
    // The end of a completed run: the display and the waiting script.
    void analyzeASpectrumFinished();
    // Shows the map on show after its pictures were regenerated.
    void generateResImages();
    void setupResAnalysisImage();
    void showResAnalysis(bool f);
    void selectedNewRef();
    void showProcImg(bool f);

    // The energy calibration (BodyCalibration.cpp). The saves and loads
    // return whether the file was written or read, and log why not.
    void newStdFile();
    bool execCalibration();
    void clearShiftMap();
    void normalizeEShift();
    void deglitch();
    void showShiftMap(bool f);
    bool saveEMap(const QString &fname, const Analyzed2DRes &map);
    bool saveEMap(const QString &fname);
    bool loadEMap(const QString &fname);
    // The analyzer's further map tools (BodyMapTools.cpp): the residual
    // absorption, the sum-up, the value dump and the Fourier survey. Each
    // runs to its end here and returns whether it made its maps or report.
    bool startRA2DAnalysis();
    bool generateRAResImage();
    bool doSumUp();
    bool showAnalyzedVals();
    bool execFourierA();

    // Performs one statement of a batch script through the command
    // registry.
    void execCmdSlot(CmdLine cmd, bool inRem);

protected:
    // The first show places the windows on the screen (unless the main
    // window was sized or moved already) and opens the spectrum window.
    void showEvent(QShowEvent *e) override;

private:
    // What the main window keeps for each stack's loader.
    struct StackLoader
    {
        QThread *thread = nullptr;
        LoadTiff *loader = nullptr;
        quint64 nextRequest = 1;
        // Requests below this one were replaced by a "New" load; their
        // frames are dropped on arrival.
        quint64 liveFrom = 1;
        // Requests sent and not ended yet, with the token of the batch
        // statement waiting for each (0 for a load started by hand).
        QHash<quint64, CompletionToken> inFlight;
        // A frame was stored without the display steps (see loadedI1).
        bool displayPending = false;
        // Frames the live requests will deliver and those delivered, for
        // the progress bar.
        int expected = 0;
        int arrived = 0;
    };

    // A long run in the GUI thread, for its lifetime: the status bar names
    // it and its bar follows the progress it logs; busyRun is set, so
    // nothing starts a second run meanwhile.
    class GuiRun
    {
    public:
        GuiRun(Body *b, const QString &what);
        ~GuiRun();
        GuiRun(const GuiRun &) = delete;
        GuiRun &operator=(const GuiRun &) = delete;

    private:
        Body *body;
        bool outer = false;
    };
    void buildProgress();
    // The loads in flight on the status bar's bar; hidden without one.
    void showLoadProgress();
    QLabel *progressLabel = nullptr;
    QProgressBar *progressBar = nullptr;

    // The commands of the main window's own group (BodyCommands.cpp).
    void registerMainWindowCommands();
    void registerSaveCommands();
    void registerAnalyzerCommands();
    void buildAnalyzer();
    // Starts an LCF run whose end completes `token` (0 for a run started by
    // hand); false, logged, when it cannot start.
    bool startLcfRun(CompletionToken token);
    bool startElemsRun(CompletionToken token);
    // The part of a start common to both kinds: the checks, the area, the
    // data and the shift of each bin; setup holds the kind's own fields.
    bool startRun(LcfRun::Setup &setup, bool dispOnTime, CompletionToken token);
    // The run ended (completed or stopped): flags down, script released.
    void lcfRunEnded();
    void buildSaveControls();
    // The energy calibration (BodyCalibration.cpp, BodyCalibCommands.cpp).
    void buildCalibration();
    void registerCalibCommands();
    // The map tools' wiring, buttons and batch commands (BodyMapTools*.cpp).
    void buildMapTools();
    void registerMapToolsCommands();
    void loadAnalyzerMap(const QString &fname, Analyzed2DRes *map, EMPHeader *empH);
    // The walk over the selected area (else the view window) in bins of the
    // half sizes of the band fields; false without I1 frames.
    bool askAnalyzeCond(AnalyzeCond &walk) const;
    bool saveEachSpectrumOfKind(const QString &fname, SpectrumKind kind);
    // The analyzer's map on show, its reference rows' maps and the first row
    // whose "Show" is on; none, none and 0 until the analyzer exists.
    Analyzed2DRes *currentResultMap() const;
    QVector<QVector<Analyzed2DRes *>> referenceResultMaps() const;
    int shownReferenceRow() const;
    // Starts a load of stack `s`; `token` is completed when it ends.
    void readFiles(ImageStacks::Stack s, const QStringList &files, bool newFile,
                   CompletionToken token);
    void frameArrived(ImageStacks::Stack s, const FrameHandle &frame, int fNo, quint64 request);
    void loadEnded(ImageStacks::Stack s, quint64 request);
    // True while a load of stack `s` that was not replaced is in flight.
    bool loading(ImageStacks::Stack s) const;
    void clearFiles(ImageStacks::Stack s);
    SelectDataFiles *panel(ImageStacks::Stack s) const;

    void buildDarkDialog();
    void registerQueuedTypes();
    void buildWidgets();
    void setToolTips();
    void buildBatch();
    void buildLoaders();
    void connectDisplay();
    void buildWindows();
    // The corners and size of a selected area in the status bar.
    void showAreaText(const QRectF &area);

    // The steps after a frame was stored that show it.
    void showStoredI1();
    // After frames of stack `s` were stored: its current entry and the
    // display follow the load as "Show Latest" says.
    void followLoad(ImageStacks::Stack s);
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
    // The current entry of stack `s`'s panel changed (file box, "...").
    void panelIndexChanged(ImageStacks::Stack s, int idx);
    // Re-renders the pictures of the displayed stack (all, or the current
    // frame only) and repaints the display.
    void rerenderDisplayed(bool all);
    void redrawForColorBar(bool released);

    Ui::Body *ui = nullptr;
    ImageStacks data;
    QFileDialog *darkDialog = nullptr;
    QFileDialog *imageDialog = nullptr;
    QFileDialog *spectraDialog = nullptr;
    QFileDialog *dataDialog = nullptr;
    SaveDataCfg *saveDataCfg = nullptr;
    QButtonGroup *imageSelect = nullptr;

    QThread *batchThread = nullptr;
    BatchDispatcher *batchDispatcher = nullptr;
    BatchCtrl *batchWindow = nullptr;

    CommandRegistry commands;
    StackLoader loaders[2];

    XafsView *spectrumView = nullptr;
    Analyzer *analyzerWindow = nullptr;
    LcfRun *lcfRun = nullptr;
    CompletionToken lcfToken = 0;
    double markerEnergy = -1.0;
    XafsSpectrum positionSpectrum;
    SpectrumPoints positionTrace;

    int posX = 0;
    int posY = 0;
    // True while showData sets the read-outs of the current frame.
    bool showingFrame = false;
    bool shownOnce = false;

    // The energy calibration. The map's values are eV; an empty map shifts
    // nothing. The header is that of the map file loaded last.
    CalibCtrl *calibWindow = nullptr;
    Analyzed2DRes *shiftMap = nullptr;
    XafsSpectrum calibStandard;
    AnalyzeCond calibWalk;
    EMPHeader loadedMapHeader;
    int mapImageWidth = -1;
    int mapImageHeight = -1;
    // The residual absorption's last walk, energy and factor.
    AnalyzeCond raWalk;
    double raEnergy = 8200.0;
    double raFactor = 1.0;
    // Frame alignment and the quality survey (BodyAlignment.cpp and
    // BodyAlignmentCommands.cpp).
public:
    ImgProc *imgProc() const { return imgProcWindow; }
    Analyzer2 *analyzer2() const { return analyzer2Window; }

signals:
    void doCollectQInfo(const AnalyzeCond &ac);

public slots:
    // Gives the image processor the I1 frame of the frame selector (none
    // when there is no such frame).
    void giveProcData();
    // The shift of the selected I1 frame; what is on show follows at once.
    void setImgShift(int dx, int dy);
    void clearAllShifts();
    // Surveys the bins of the area into "qinfo.dat" in the working folder.
    bool startCollectQInfo();

private:
    void buildAlignment();
    void registerAlignmentCommands();
    // The index of the frame selector (the seek bar), which the display
    // follows for either stack.
    int selectedI1Index() const;
    // Display, profiles and spectrum after a frame's shift changed.
    void showShiftedFrames();

    ImgProc *imgProcWindow = nullptr;
    Analyzer2 *analyzer2Window = nullptr;
    QPushButton *showImgProcButton = nullptr;
    QPushButton *showAnalyzer2Button = nullptr;
};
