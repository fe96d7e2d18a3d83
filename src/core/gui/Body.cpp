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
#include <QComboBox>
#include <QFileDialog>
#include <QThread>

Body::Body(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::Body)
{
    setWindowTitle(tr("Lumenograf"));
    // Edge energies are looked up by the spectrum window and every analysis.
    loadVictoreenTable();
    buildDarkDialog();
    imageSelect = new QButtonGroup(this);
    registerQueuedTypes();
    buildWidgets();
    buildBatch();
    buildLoaders();
    connectDisplay();
    buildWindows();
    // The control column keeps to what its controls need; the display takes
    // the rest of the window.
    ui->controlPanel->setMaximumWidth(ui->controlPanel->minimumSizeHint().width() + 40);
}

Body::~Body()
{
    // The display must not keep pointers to frames that die with the stacks.
    ui->dispA->clear();
    // The threads end before their objects go, so nothing is in flight
    // while the window is torn down.
    for (QThread *t : {i1LoaderThread, i0LoaderThread, m_batchThread}) {
        if (t) {
            t->quit();
            t->wait();
        }
    }
    delete i1Loader;
    delete i0Loader;
    delete m_batchDispatcher;
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
    qRegisterMetaType<TiffData *>("TiffData*");
}

void Body::buildWidgets()
{
    ui->setupUi(this);
    setWindowTitle(tr("Lumenograf"));
    imageSelect->addButton(ui->ShowData, 0);
    imageSelect->addButton(ui->ShowI0, 1);
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

void Body::buildBatch()
{
    // The script interpreter runs in a thread of its own; statements come to
    // execCmdSlot and completions go back, both queued across the threads.
    m_batchThread = new QThread(this);
    m_batchDispatcher = new BatchDispatcher;
    m_batchDispatcher->moveToThread(m_batchThread);
    m_batchThread->start(QThread::InheritPriority);
    m_batchCtrl = new BatchCtrl(this);
    m_batchCtrl->setWindowFlag(Qt::Window);
    m_batchCtrl->setDispatcher(m_batchDispatcher);
    connect(ui->BatchCtrlB, &QPushButton::clicked, m_batchCtrl, [this] {
        m_batchCtrl->show();
        m_batchCtrl->raise();
    });
    connect(m_batchDispatcher, &BatchDispatcher::execCmdSig, this, &Body::execCmdSlot);
    connect(this, &Body::finishBatchExec, m_batchDispatcher, &BatchDispatcher::finishBatchExec);
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

    i1LoaderThread = new QThread(this);
    i0LoaderThread = new QThread(this);
    i1Loader = new LoadTiff;
    i0Loader = new LoadTiff;
    i1Loader->moveToThread(i1LoaderThread);
    i0Loader->moveToThread(i0LoaderThread);
    i1LoaderThread->start(QThread::InheritPriority);
    i0LoaderThread->start(QThread::InheritPriority);

    connect(this, &Body::loadI1Files, i1Loader, &LoadTiff::loadTiffs);
    connect(i1Loader, &LoadTiff::loaded, this, &Body::loadedI1);
    connect(i1Loader, &LoadTiff::finishLoadFiles, this, &Body::finishBatchExec);
    connect(i1Loader, &LoadTiff::finishLoadFiles, this, &Body::finishedLoadI1Files);
    connect(this, &Body::loadI0Files, i0Loader, &LoadTiff::loadTiffs);
    connect(i0Loader, &LoadTiff::loaded, this, &Body::loadedI0);
    connect(i0Loader, &LoadTiff::finishLoadFiles, this, &Body::finishBatchExec);
    connect(i0Loader, &LoadTiff::finishLoadFiles, this, &Body::finishedLoadI0Files);

    connect(i1Panel(), &SelectDataFiles::filesSelected, this, &Body::readI1Files);
    connect(i0Panel(), &SelectDataFiles::filesSelected, this, &Body::readI0Files);
    connect(i1Panel(), &SelectDataFiles::clear, this, &Body::clearI1Files);
    connect(i0Panel(), &SelectDataFiles::clear, this, &Body::clearI0Files);
    connect(i1Panel(), &SelectDataFiles::currentIndexChanged, this, &Body::showData);

    connect(ui->SelectDark, &QPushButton::clicked, darkDialog, &QFileDialog::show);
    connect(darkDialog, &QFileDialog::fileSelected, this, &Body::selectedDark);
    connect(ui->ClearDark, &QPushButton::clicked, this, &Body::clearDark);
}

void Body::connectDisplay()
{
    connect(ui->ShowData, &QRadioButton::toggled, this, &Body::selectedDataI0);
    connect(ui->Prev, &QPushButton::clicked, this, &Body::prev);
    connect(ui->Next, &QPushButton::clicked, this, &Body::next);
    connect(ui->SeekBar, &QSlider::sliderMoved, this, &Body::sliderMoved);
    connect(ui->ZoomIn, &QPushButton::clicked, ui->dispA, &ImgDispA::setViewWAsSelectedArea);
    connect(ui->ResetScale, &QPushButton::clicked, ui->dispA, &ImgDispA::resetImageViewWindow);
    connect(ui->dispA, &ImgDispA::mouseMoved, this,
            QOverload<double, double>::of(&Body::showXafsSpectrum));
    connect(ui->dispA, &ImgDispA::drawImage2, this, &Body::draw);
    connect(ui->dispA, &ImgDispA::mouseMoved0, this, &Body::onMouseMovedInDispA);
}

void Body::buildWindows()
{
    spectrumView = new XafsView(this);
    spectrumView->setWindowFlag(Qt::Window);
    spectrumView->setWindowTitle(tr("Spectrum at the position"));
    spectrumView->resize(640, 480);
    connect(spectrumView->graph(), &DispA::drawImage2, this, &Body::drawSpectrumMarker);
    spectrumView->show();
    connect(ui->ShowXafsView, &QPushButton::clicked, spectrumView, [this] {
        spectrumView->show();
        spectrumView->raise();
    });
}

SelectDataFiles *Body::i1Panel() const
{
    return ui->SelectI1Files;
}

SelectDataFiles *Body::i0Panel() const
{
    return ui->SelectI0Files;
}

ImageStacks::Stack Body::displayedStack() const
{
    return ui->ShowData->isChecked() ? ImageStacks::I1 : ImageStacks::I0;
}

SelectDataFiles *Body::displayedPanel() const
{
    return displayedStack() == ImageStacks::I1 ? i1Panel() : i0Panel();
}
