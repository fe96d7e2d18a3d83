#include "input/gui/SelectDataFiles.h"

#include "app/TextNumbers.h"
#include "app/Settings.h"
#include "input/gui/EOFSetup.h"

#include "ui_SelectDataFiles.h"

#include <QFileDialog>

namespace {

int fieldInt(const QLineEdit *e)
{
    return intOfText(e->text());
}

} // namespace

SelectDataFiles::SelectDataFiles(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::SelectDataFiles)
    , setupWindow(new EOFSetup(this))
{
    ui->setupUi(this);
    // A caption and its field share the tip.
    auto tip = [](QWidget *label, QWidget *field, const QString &text) {
        label->setToolTip(text);
        field->setToolTip(text);
    };
    tip(ui->SkipLabel, ui->Skip, tr("Take every n-th file of the list (0 and 1: every file)"));
    tip(ui->CutFirstLabel, ui->CutFirst,
        tr("Cut F. (cut first): files left out at the start of the list"));
    tip(ui->CutLastLabel, ui->CutLast,
        tr("Cut L. (cut last): files left out at the end of the list"));
    ui->LoadNewFiles->setToolTip(tr("The files replace the frames of the stack"));
    ui->AddFiles->setToolTip(tr("The files are appended to the frames of the stack"));
    ui->ShowLatest->setToolTip(tr("While a load runs the display moves to each new frame"));
    ui->EngOfFilesSetup->setToolTip(tr("How the energies of the files are found: from their "
                                       "names, by calculation or from a reference file"));
    ui->Count->setToolTip(tr("Number of frames stored"));
    // A window of its own, destroyed with the panel.
    setupWindow->setWindowFlags(Qt::Window);

    connect(ui->Select, &QPushButton::clicked, this, &SelectDataFiles::selectFiles);
    connect(ui->Clear, &QPushButton::clicked, this, &SelectDataFiles::clear);
    connect(ui->EngOfFilesSetup, &QPushButton::clicked, this, [this] {
        setupWindow->show();
        setupWindow->raise();
    });
    connect(ui->Selected, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &SelectDataFiles::newImageSelected);
}

SelectDataFiles::~SelectDataFiles()
{
    // The controls die after this object; the signals they send on the way
    // out (editing finished on focus loss, index changes) must not reach it.
    for (QObject *c : findChildren<QObject *>())
        disconnect(c, nullptr, this, nullptr);
    delete ui;
}

void SelectDataFiles::setDataName(const QString &name)
{
    ui->Select->setText(name);
    setupWindow->setWindowTitle(name);
}

QStringList SelectDataFiles::chooseFiles()
{
    return QFileDialog::getOpenFileNames(
        this, tr("Select Data Files"), settings().dataRoot,
        tr("KVMX Files, IMG Files, Tiff Files (*.dat *.img *.tif *.tiff)") + QStringLiteral(";;")
            + tr("Any Files (* *.*)"));
}

void SelectDataFiles::selectFiles()
{
    const QStringList files = chooseFiles();
    if (!files.isEmpty())
        emit filesSelected(files, ui->LoadNewFiles->isChecked());
}

double SelectDataFiles::addFile(const QString &path, int fNo)
{
    const double e = setupWindow->energyOf(path, fNo);
    ui->Selected->addItem(path, e);
    ui->Count->setText(QString::number(ui->Selected->count()));
    return e;
}

int SelectDataFiles::skip() const
{
    return fieldInt(ui->Skip);
}
int SelectDataFiles::cutFirst() const
{
    return fieldInt(ui->CutFirst);
}
int SelectDataFiles::cutLast() const
{
    return fieldInt(ui->CutLast);
}
bool SelectDataFiles::showLatest() const
{
    return ui->ShowLatest->isChecked();
}
bool SelectDataFiles::newFiles() const
{
    return ui->LoadNewFiles->isChecked();
}
int SelectDataFiles::count() const
{
    return ui->Selected->count();
}
int SelectDataFiles::currentIndex() const
{
    return ui->Selected->currentIndex();
}
QString SelectDataFiles::fileAt(int i) const
{
    return ui->Selected->itemText(i);
}
double SelectDataFiles::energyAt(int i) const
{
    return ui->Selected->itemData(i).toDouble();
}
QComboBox *SelectDataFiles::selected() const
{
    return ui->Selected;
}

void SelectDataFiles::newImageSelected(int i)
{
    if (ui->ShowLatest->isChecked())
        emit currentIndexChanged(i);
}

void SelectDataFiles::clearFiles()
{
    ui->Selected->clear();
    ui->Count->setText(QStringLiteral("0"));
}

void SelectDataFiles::prev()
{
    const int i = ui->Selected->currentIndex();
    if (i > 0)
        ui->Selected->setCurrentIndex(i - 1);
}

void SelectDataFiles::next()
{
    const int i = ui->Selected->currentIndex();
    if (i < ui->Selected->count() - 1)
        ui->Selected->setCurrentIndex(i + 1);
}

void SelectDataFiles::select(int idx)
{
    if (idx >= 0 && idx < ui->Selected->count())
        ui->Selected->setCurrentIndex(idx);
}

void SelectDataFiles::setSkip(int n)
{
    ui->Skip->setText(QString::number(n));
}
void SelectDataFiles::setCutF(int n)
{
    ui->CutFirst->setText(QString::number(n));
}
void SelectDataFiles::setCutL(int n)
{
    ui->CutLast->setText(QString::number(n));
}
void SelectDataFiles::setShowLatest(bool on)
{
    ui->ShowLatest->setChecked(on);
}
void SelectDataFiles::setEngByName(bool on)
{
    setupWindow->setByName(on);
}
void SelectDataFiles::setEngByCalc(bool on)
{
    setupWindow->setByCalc(on);
}
void SelectDataFiles::setEngCalcStart(double v)
{
    setupWindow->setStart(v);
}
void SelectDataFiles::setEngCalcDelta(double v)
{
    setupWindow->setDelta(v);
}
void SelectDataFiles::setEngCalcEnd(double v)
{
    setupWindow->setEnd(v);
}
void SelectDataFiles::setEngCalcNum(int n)
{
    setupWindow->setNum(n);
}
void SelectDataFiles::setEvenInEng(bool on)
{
    setupWindow->setEvenInEnergy(on);
}
void SelectDataFiles::setEvenInDeg(bool on)
{
    setupWindow->setEvenInAngle(on);
}
void SelectDataFiles::setDispUnit(int idx)
{
    setupWindow->setDisplayUnit(idx);
}
void SelectDataFiles::setEngByNameRegExp(const QString &pattern)
{
    setupWindow->setPattern(pattern);
}
void SelectDataFiles::setEngByNameFactor(double factor)
{
    setupWindow->setFactor(factor);
}
void SelectDataFiles::setEngByRef(const QString &fname)
{
    setupWindow->setRefFile(fname);
}
