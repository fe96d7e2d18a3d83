// Construction and teardown of the main window: the windows it creates, the
// worker threads and the objects that live in them, and the connections
// between them.
#include "core/gui/Body.h"

#include "app/Settings.h"
#include "batch/gui/BatchCtrl.h"
#include "batch/BatchDispatcher.h"
#include "batch/CmdLine.h"
#include "input/LoadTiff.h"
#include "input/gui/SelectDataFiles.h"
#include "input/TiffData.h"
#include "spectrum/EdgeTable.h"
#include "spectrum/XafsSpectrum.h"
#include "spectrum/gui/XafsView.h"
#include "widgets/gui/ColorBar.h"
#include "widgets/gui/CrossSView.h"
#include "widgets/gui/ImgDispA.h"

#include "ui_Body.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QThread>
#include <QLabel>
#include <QProgressBar>

#include <atomic>
#include <cstdio>

#include <cmath>

Body::Body(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::Body)
{
    setWindowTitle(tr("Lumenograf"));
    buildDarkDialog();
    imageSelect = new QButtonGroup(this);
    registerQueuedTypes();
    buildWidgets();
    buildBatch();
    buildLoaders();
    connectDisplay();
    buildWindows();
    buildSaveControls();
    buildMapTools();
    buildAlignment();
    buildProgress();
    // The control column keeps to what its controls need, with room for a
    // scroll bar when the window is too low for all of them; the display
    // takes the rest of the window.
    const int columnWidth = ui->controlPanel->minimumSizeHint().width() + 40;
    ui->controlPanel->setMaximumWidth(columnWidth);
    ui->controlScroll->setFixedWidth(columnWidth
                                     + ui->controlScroll->verticalScrollBar()->sizeHint().width());
}

Body::~Body()
{
    // The display must not keep pointers to frames that die with the stacks.
    ui->dispA->clear();
    // A load in flight stops before its next file, so this returns within
    // one file's read time. The threads end before their objects go, so
    // nothing is in flight while the window is torn down; frames sent and
    // not yet delivered are freed with their queued signals.
    for (StackLoader &l : loaders) {
        if (l.loader)
            l.loader->cancelAll();
    }
    for (QThread *t : {loaders[0].thread, loaders[1].thread, batchThread}) {
        if (t) {
            t->quit();
            t->wait();
        }
    }
    for (StackLoader &l : loaders)
        delete l.loader;
    delete batchDispatcher;
    delete ui;
}

void Body::buildDarkDialog()
{
    darkDialog = new QFileDialog(this, tr("Dark Data"), settings().dataRoot);
    darkDialog->setFileMode(QFileDialog::ExistingFile);
    darkDialog->setNameFilters({tr("KVMX Files, IMG Files, Tiff Files (*.dat *.img *.tif *.tiff)"),
                                tr("Any Files (* *.*)")});
}

void Body::registerQueuedTypes()
{
    qRegisterMetaType<XafsSpectrum>("XafsSpectrum");
    qRegisterMetaType<XafsSpectrum *>("XafsSpectrum*");
    registerCmdLineType();
    qRegisterMetaType<FrameHandle>("FrameHandle");
}

void Body::buildWidgets()
{
    ui->setupUi(this);
    // The form's size is a wish: the first show fits the window to the
    // screen unless someone sized it since.
    setAttribute(Qt::WA_Resized, false);
    setWindowTitle(tr("Lumenograf"));
    setToolTips();
    imageSelect->addButton(ui->ShowData, 0);
    imageSelect->addButton(ui->ShowI0, 1);
    imageSelect->addButton(ui->ShowResAnalysis, 3);
    ui->VCross->setOrientation(Qt::Vertical);
    ui->HCross->setOrientation(Qt::Horizontal);
    connect(ui->CBar, &ColorBar::cBarUpdating, this, &Body::cBarUpdating);
    connect(ui->CBar, &ColorBar::cBarUpdated, this, &Body::cBarUpdated);
    connect(ui->FluoType, &QCheckBox::toggled, this, [this](bool f) {
        data.setFluorescence(f);
        showXafsSpectrum();
    });
    // A new half size takes effect at once, not only at the next mouse move.
    for (QLineEdit *e : {ui->HWidth, ui->VWidth}) {
        connect(e, &QLineEdit::editingFinished, this, [this] {
            showXafsSpectrum();
            ui->dispA->update();
        });
    }
}

void Body::setToolTips()
{
    // Short captions say what they are at a glance once known; the tips
    // say it in full. A field gets the tip of its caption.
    const QString xw = tr("Half width of the spectrum window in pixels: the spectrum sums "
                          "2 xw + 1 columns around the position");
    const QString yw = tr("Half height of the spectrum window in pixels: the spectrum sums "
                          "2 yw + 1 rows around the position");
    const QString fromTbl = tr("Energy shift of this pixel in the energy-shift map of the "
                               "calibration (eV); 0 without a map");
    const QString fromStd = tr("Energy shift of the spectrum here against the standard spectrum "
                               "of the spectrum window (eV); 0 without a standard");
    const std::initializer_list<std::pair<QWidget *, QString>> tips = {
        {ui->FluoType, tr("Fluorescence: the spectrum is I1 / I0 instead of ln(I0 / I1)")},
        {ui->ImgSelectLabel, tr("What the image shows")},
        {ui->ShowData, tr("The I1 frames (the data)")},
        {ui->ShowI0, tr("The I0 frames (the incident beam)")},
        {ui->ShowShiftMap, tr("The energy-shift map of the calibration")},
        {ui->ShowResAnalysis, tr("The result map chosen in the analyzer (Res.: result)")},
        {ui->HWidthLabel, xw},
        {ui->HWidth, xw},
        {ui->VWidthLabel, yw},
        {ui->VWidth, yw},
        {ui->EShiftOnTblLabel, fromTbl},
        {ui->EShiftOnTbl, fromTbl},
        {ui->EShiftFromStdLabel, fromStd},
        {ui->EShiftFromStd, fromStd},
        {ui->ImgNoLabel, tr("Image number: the frame on show, counted from 0 (the field's tip "
                            "names its file)")},
        {ui->SeekBar, tr("Frame on show: drag, click, wheel, arrow, Home, End and Page keys "
                         "(Left and Right also on the image)")},
        {ui->OpenCalibCtrl, tr("Show the energy calibration window (Cali. Ctrl.: calibration "
                               "control)")},
        {ui->BatchCtrlB, tr("Show the batch window, which runs scripts (Ctrl.: control)")},
        {ui->SaveDataCfgB, tr("Configuration of \"Save Data\": TIFF or text, scale, layout")},
        {ui->SaveFlatDark, tr("Save the flat frame (I0) and the dark frame")},
        {ui->NormalizeEShift, tr("NES (Normalize E-Shift): deglitch the energy-shift map")},
        {ui->DeGlitch, tr("de Glitch: replace spikes in the map selected in the analyzer by the "
                          "mean of their neighbours")},
        {ui->DeGlitchFactor, tr("Spike threshold: a value is a spike when its second difference "
                                "exceeds this factor times the mean one")},
        {ui->DeGlitchRatio, tr("Only values within this fraction of the map's range from its "
                               "minimum or maximum are replaced")},
        {ui->ShowProcImg, tr("Show the processed (deglitched) values of the map (Proc.: "
                             "processed)")},
    };
    for (const auto &t : tips)
        t.first->setToolTip(t.second);
}

void Body::buildBatch()
{
    // The script interpreter runs in a thread of its own; statements come to
    // execCmdSlot and completions go back, both queued across the threads.
    batchThread = new QThread(this);
    batchDispatcher = new BatchDispatcher;
    batchDispatcher->moveToThread(batchThread);
    batchThread->start(QThread::InheritPriority);
    batchWindow = new BatchCtrl(this);
    batchWindow->setWindowFlag(Qt::Window);
    batchWindow->setDispatcher(batchDispatcher);
    connect(ui->BatchCtrlB, &QPushButton::clicked, batchWindow, [this] {
        batchWindow->show();
        batchWindow->raise();
    });
    connect(batchDispatcher, &BatchDispatcher::execCmdSig, this, &Body::execCmdSlot);
    connect(this, &Body::finishBatchExec, batchDispatcher, &BatchDispatcher::finishBatchExec);
    commands.setFinisher([this] { emit finishBatchExec(); });
    commands.setErrorLog([this](const QString &line) { batchWindow->Log(line); });
    registerMainWindowCommands();
}

void Body::buildLoaders()
{
    i1Panel()->setDataName(tr("I1 Data"));
    i0Panel()->setDataName(tr("I0 Data"));
    // Long file paths must not widen the control column at the expense of
    // the display.
    for (SelectDataFiles *panel : {i1Panel(), i0Panel()}) {
        panel->selected()->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        panel->selected()->setMinimumContentsLength(24);
    }

    for (const ImageStacks::Stack s : {ImageStacks::I1, ImageStacks::I0}) {
        StackLoader &l = loaders[s];
        l.thread = new QThread(this);
        l.loader = new LoadTiff;
        l.loader->moveToThread(l.thread);
        l.thread->start(QThread::InheritPriority);
        // Frames and ends come back queued; `this` as context keeps them in
        // the GUI thread.
        connect(l.loader, &LoadTiff::loaded, this,
                [this, s](const FrameHandle &f, int fNo, quint64 request) {
            frameArrived(s, f, fNo, request);
        });
        connect(l.loader, &LoadTiff::finishLoadFiles, this,
                [this, s](quint64 request) { loadEnded(s, request); });
    }
    connect(this, &Body::loadI1Files, loaders[ImageStacks::I1].loader, &LoadTiff::loadTiffs);
    connect(this, &Body::loadI0Files, loaders[ImageStacks::I0].loader, &LoadTiff::loadTiffs);

    connect(i1Panel(), &SelectDataFiles::filesSelected, this, &Body::readI1Files);
    connect(i0Panel(), &SelectDataFiles::filesSelected, this, &Body::readI0Files);
    connect(i1Panel(), &SelectDataFiles::clear, this, &Body::clearI1Files);
    connect(i0Panel(), &SelectDataFiles::clear, this, &Body::clearI0Files);
    // The display follows the current entry of the displayed stack's panel
    // whatever "Show Latest" says: that box only decides whether a load
    // moves the entry to each new frame.
    for (const ImageStacks::Stack s : {ImageStacks::I1, ImageStacks::I0}) {
        connect(panel(s)->selected(), QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                [this, s](int idx) { panelIndexChanged(s, idx); });
    }

    connect(ui->SelectDark, &QPushButton::clicked, darkDialog, &QFileDialog::show);
    connect(darkDialog, &QFileDialog::fileSelected, this, &Body::selectedDark);
    connect(ui->ClearDark, &QPushButton::clicked, this, &Body::clearDark);
}

void Body::connectDisplay()
{
    connect(ui->ShowData, &QRadioButton::toggled, this, &Body::selectedDataI0);
    connect(ui->Prev, &QPushButton::clicked, this, &Body::prev);
    connect(ui->Next, &QPushButton::clicked, this, &Body::next);
    // valueChanged, not sliderMoved: the keys, the wheel and a click in the
    // groove move the bar without a drag. showData sets the bar with its
    // signals blocked, so a programmatic update does not come back here.
    connect(ui->SeekBar, &QSlider::valueChanged, this, &Body::sliderMoved);
    connect(ui->ZoomIn, &QPushButton::clicked, ui->dispA, &ImgDispA::setViewWAsSelectedArea);
    connect(ui->ResetScale, &QPushButton::clicked, ui->dispA, &ImgDispA::resetImageViewWindow);
    // "1:1": one image pixel is as wide as it is high on the screen, so a
    // round sample looks round; off, the picture fills the display.
    auto *square = new QCheckBox(tr("1:1"), ui->controlPanel);
    square->setObjectName(QStringLiteral("KeepAspect"));
    square->setChecked(ui->dispA->keepsAspect());
    square->setToolTip(tr("Square pixels; off: the image is stretched over the whole display"));
    ui->viewLayout->addWidget(square);
    connect(square, &QCheckBox::toggled, ui->dispA, &ImgDispA::setKeepAspect);
    connect(ui->dispA, &ImgDispA::mouseMoved, this,
            QOverload<double, double>::of(&Body::showXafsSpectrum));
    connect(ui->dispA, &ImgDispA::drawImage2, this, &Body::draw);
    connect(ui->dispA, &ImgDispA::mouseMoved0, this, &Body::onMouseMovedInDispA);
    // The area under way, and the one it became, in image pixels.
    connect(ui->dispA, &ImgDispA::mouseDragged, this, [this] {
        if (ui->dispA->isSelecting())
            showAreaText(ui->dispA->selectedArea());
    });
    connect(ui->dispA, &ImgDispA::areaSelected, this, &Body::showAreaText);

    // Left and Right step through the frames while the image has the focus
    // (a click on it gives it); Ctrl+Q ends the program from any window.
    ui->dispA->setFocusPolicy(Qt::StrongFocus);
    auto *back = new QShortcut(QKeySequence(Qt::Key_Left), ui->dispA, nullptr, nullptr,
                               Qt::WidgetShortcut);
    connect(back, &QShortcut::activated, this, [this] { stepFrame(-1); });
    auto *forward = new QShortcut(QKeySequence(Qt::Key_Right), ui->dispA, nullptr, nullptr,
                                  Qt::WidgetShortcut);
    connect(forward, &QShortcut::activated, this, [this] { stepFrame(1); });
    auto *quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this, nullptr, nullptr,
                               Qt::ApplicationShortcut);
    connect(quit, &QShortcut::activated, this, &Body::finishing);
}

void Body::showAreaText(const QRectF &area)
{
    const QRectF a = area.normalized();
    const int x0 = int(std::floor(a.left()));
    const int y0 = int(std::floor(a.top()));
    const int x1 = int(std::floor(a.right()));
    const int y1 = int(std::floor(a.bottom()));
    statusBar()->showMessage(tr("Area (%1, %2) - (%3, %4): %5 x %6 pixels")
                                 .arg(x0)
                                 .arg(y0)
                                 .arg(x1)
                                 .arg(y1)
                                 .arg(x1 - x0)
                                 .arg(y1 - y0));
}

void Body::buildWindows()
{
    buildCalibration();
    spectrumView = new XafsView(this);
    // A tool window of the main window stays above it, so a click on the
    // image does not bury the spectrum. It opens with the main window.
    spectrumView->setWindowFlags(Qt::Tool);
    spectrumView->setWindowTitle(tr("Spectrum at the position"));
    spectrumView->resize(640, 480);
    connect(spectrumView->graph(), &DispA::drawImage2, this, &Body::drawSpectrumMarker);
    connect(ui->ShowXafsView, &QPushButton::clicked, spectrumView, [this] {
        spectrumView->show();
        spectrumView->raise();
    });
    buildAnalyzer();
}

Body::Placement Body::placeWindows(const QRect &avail, const QSize &frame, const QSize &mainMin,
                                   const QSize &spectrumWanted, const QSize &spectrumMin)
{
    // What the main window needs besides the image (the display's own
    // minimum is 64 x 64); the side of the largest square image decides
    // between the two arrangements.
    const QSize around = mainMin - QSize(64, 64);
    auto imageSide = [&around](const QSize &main) {
        return qMin(main.width() - around.width(), main.height() - around.height());
    };

    // Beside each other: the spectrum at the size it wants at the right.
    Placement beside;
    const int innerH = avail.height() - frame.height();
    const int besideW = avail.width() - 2 * frame.width() - spectrumWanted.width();
    beside.main = QRect(avail.topLeft(), QSize(besideW, innerH));
    beside.spectrum = QRect(QPoint(avail.left() + besideW + frame.width(), avail.top()),
                            spectrumWanted.boundedTo(QSize(spectrumWanted.width(), innerH)));

    // One above the other: the spectrum gets a third of the height over the
    // whole width, the main window (whose control column scrolls) the rest.
    Placement stacked;
    const int width = avail.width() - frame.width();
    const int bothH = avail.height() - 2 * frame.height();
    const int spectrumH = qMax(spectrumMin.height(), bothH / 3);
    const int mainH = qMax(mainMin.height(), bothH - spectrumH);
    stacked.main = QRect(avail.topLeft(), QSize(qMax(width, mainMin.width()), mainH));
    stacked.spectrum = QRect(QPoint(avail.left(), avail.top() + mainH + frame.height()),
                             QSize(qMax(width, spectrumMin.width()), spectrumH));

    const bool besideFits = besideW >= mainMin.width();
    return besideFits && imageSide(beside.main.size()) > imageSide(stacked.main.size()) ? beside
                                                                                          : stacked;
}

void Body::showEvent(QShowEvent *e)
{
    QMainWindow::showEvent(e);
    if (shownOnce)
        return;
    shownOnce = true;
    const QScreen *scr = screen();
    if (scr && !testAttribute(Qt::WA_Resized) && !testAttribute(Qt::WA_Moved)) {
        // A title bar and thin borders, as most window managers draw them.
        const Placement p = placeWindows(scr->availableGeometry(), QSize(8, 36), minimumSizeHint(),
                                         spectrumView->size(),
                                         spectrumView->minimumSizeHint());
        move(p.main.topLeft());
        resize(p.main.size());
        spectrumView->move(p.spectrum.topLeft());
        spectrumView->resize(p.spectrum.size());
    }
    spectrumView->show();
}

SelectDataFiles *Body::i1Panel() const
{
    return ui->SelectI1Files;
}

SelectDataFiles *Body::i0Panel() const
{
    return ui->SelectI0Files;
}

SelectDataFiles *Body::panel(ImageStacks::Stack s) const
{
    return s == ImageStacks::I1 ? i1Panel() : i0Panel();
}

ImageStacks::Stack Body::displayedStack() const
{
    return ui->ShowData->isChecked() ? ImageStacks::I1 : ImageStacks::I0;
}

SelectDataFiles *Body::displayedPanel() const
{
    return panel(displayedStack());
}

// A run in the GUI thread reports its progress only through its debug-log
// lines ("progress 12.5", "... : Progress 12.5"); while one runs, the main
// window listens to that log from the GUI thread and moves its bar. Lines
// of other threads pass untouched.
namespace {

std::atomic<QtMessageHandler> previousLogHandler{nullptr};
// Touched in the GUI thread only.
QProgressBar *runBar = nullptr;

void forwardLog(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (const QtMessageHandler previous = previousLogHandler.load()) {
        previous(type, context, message);
    } else {
        const QByteArray line = qFormatLogMessage(type, context, message).toLocal8Bit();
        std::fprintf(stderr, "%s\n", line.constData());
    }
}

void progressLog(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    forwardLog(type, context, message);
    if (!runBar || QThread::currentThread() != runBar->thread())
        return;
    if (!message.contains(QLatin1String("progress"), Qt::CaseInsensitive))
        return;
    bool ok = false;
    const double percent = message.section(QLatin1Char(' '), -1).toDouble(&ok);
    if (!ok || !(percent >= 0.0 && percent <= 100.0))
        return;
    if (runBar->maximum() != 100)
        runBar->setRange(0, 100);
    runBar->setValue(int(percent));
    // Painted at once: the run holds the event loop, and letting events in
    // here could start a second run or store frames under the running one.
    runBar->repaint();
}

} // namespace

Body::GuiRun::GuiRun(Body *b, const QString &what)
    : body(b)
{
    if (runBar)
        return; // a run inside a run keeps the outer one's bar
    outer = true;
    body->progressBar->setRange(0, 0); // busy until a progress line comes
    body->progressBar->setFormat(what + QStringLiteral(" %p%"));
    body->progressLabel->setText(what);
    body->progressLabel->show();
    body->progressBar->show();
    runBar = body->progressBar;
    previousLogHandler.store(qInstallMessageHandler(progressLog));
    body->statusBar()->repaint();
}

Body::GuiRun::~GuiRun()
{
    if (!outer)
        return;
    qInstallMessageHandler(previousLogHandler.load());
    runBar = nullptr;
    body->progressBar->hide();
    body->progressLabel->hide();
}

void Body::buildProgress()
{
    progressLabel = new QLabel(this);
    progressLabel->setObjectName(QStringLiteral("ProgressLabel"));
    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("Progress"));
    progressBar->setMaximumWidth(240);
    statusBar()->addPermanentWidget(progressLabel);
    statusBar()->addPermanentWidget(progressBar);
    progressLabel->hide();
    progressBar->hide();
}

void Body::showLoadProgress()
{
    // One bar for both loaders: the frames stored of those asked for.
    int asked = 0, stored = 0;
    QStringList names;
    for (const ImageStacks::Stack s : {ImageStacks::I1, ImageStacks::I0}) {
        const StackLoader &l = loaders[s];
        if (!loading(s))
            continue;
        asked += l.expected;
        stored += l.arrived;
        names << (s == ImageStacks::I1 ? tr("I1") : tr("I0"));
    }
    if (runBar)
        return; // a run in the GUI thread owns the bar
    if (names.isEmpty()) {
        progressBar->hide();
        progressLabel->hide();
        return;
    }
    progressLabel->setText(tr("Loading %1").arg(names.join(QStringLiteral(", "))));
    progressBar->setRange(0, qMax(asked, 1));
    progressBar->setValue(qMin(stored, asked));
    progressBar->setFormat(QStringLiteral("%v / %m"));
    progressLabel->show();
    progressBar->show();
}
