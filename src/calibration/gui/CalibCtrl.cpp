#include "calibration/gui/CalibCtrl.h"

#include "app/Settings.h"
#include "app/TextNumbers.h"
#include "calibration/EdgeShiftCalib.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDebug>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// A pair of background choices, "Simple" checked, in a group of its own so
// the two pairs of the window do not exclude each other.
void backgroundPair(QWidget *parent, QHBoxLayout *row, const QString &label, const QString &name,
                    QRadioButton *&simple, QRadioButton *&victoreen)
{
    row->addWidget(new QLabel(label, parent));
    simple = new QRadioButton(CalibCtrl::tr("Simple"), parent);
    simple->setObjectName(name + QStringLiteral("Simple"));
    simple->setChecked(true);
    victoreen = new QRadioButton(CalibCtrl::tr("Victreen"), parent);
    victoreen->setObjectName(name + QStringLiteral("Victreen"));
    victoreen->setToolTip(CalibCtrl::tr("Backgrounds by the Victoreen formula"));
    QButtonGroup *group = new QButtonGroup(parent);
    group->addButton(simple);
    group->addButton(victoreen);
    row->addWidget(simple);
    row->addWidget(victoreen);
    row->addStretch(1);
}

QLineEdit *statField(QWidget *parent, const QString &name)
{
    QLineEdit *e = new QLineEdit(QStringLiteral("0"), parent);
    e->setObjectName(name);
    e->setReadOnly(true);
    return e;
}

} // namespace

CalibCtrl::CalibCtrl(QWidget *parent)
    : QFrame(parent)
{
    setWindowTitle(tr("Calibration"));
    QVBoxLayout *layout = new QVBoxLayout(this);

    QHBoxLayout *stdRow = new QHBoxLayout;
    selectStd = new QPushButton(tr("Select Std."), this);
    selectStd->setObjectName(QStringLiteral("SelectStd"));
    selectStd->setToolTip(tr("Select the standard spectrum file"));
    stdName = new QLineEdit(this);
    stdName->setObjectName(QStringLiteral("StdFileName"));
    stdName->setReadOnly(true);
    stdRow->addWidget(selectStd);
    stdRow->addWidget(stdName, 1);
    layout->addLayout(stdRow);

    QHBoxLayout *stdBG = new QHBoxLayout;
    backgroundPair(this, stdBG, tr("Std. :"), QStringLiteral("StdBG"), stdSimple, stdVictoreen);
    layout->addLayout(stdBG);
    QHBoxLayout *targetBG = new QHBoxLayout;
    backgroundPair(this, targetBG, tr("Target :"), QStringLiteral("TargetBG"), targetSimple,
                   targetVictoreen);
    layout->addLayout(targetBG);

    QGridLayout *grid = new QGridLayout;
    crystals = new QComboBox(this);
    crystals->setObjectName(QStringLiteral("SelCrystal"));
    for (const CalibCrystal &c : calibCrystals())
        crystals->addItem(c.name, c.spacing);
    edgeE = new QLineEdit(QStringLiteral("0"), this);
    edgeE->setObjectName(QStringLiteral("EdgeEeV"));
    grid->addWidget(new QLabel(tr("Crystal :"), this), 0, 0);
    grid->addWidget(crystals, 0, 1);
    grid->addWidget(new QLabel(tr("Edge Energy [eV] :"), this), 1, 0);
    grid->addWidget(edgeE, 1, 1);
    layout->addLayout(grid);

    QHBoxLayout *buttons = new QHBoxLayout;
    const auto button = [this, buttons](const QString &text, const QString &name) {
        QPushButton *b = new QPushButton(text, this);
        b->setObjectName(name);
        buttons->addWidget(b);
        return b;
    };
    QPushButton *exec = button(tr("Exec Calib."), QStringLiteral("ExecCalib"));
    exec->setToolTip(tr("Execute the calibration: map the energy shift of every position"));
    QPushButton *clear = button(tr("Clear Map"), QStringLiteral("ClearMap"));
    QPushButton *save = button(tr("Save"), QStringLiteral("SaveMap"));
    QPushButton *load = button(tr("Load"), QStringLiteral("LoadMap"));
    layout->addLayout(buttons);

    QGroupBox *stats = new QGroupBox(tr("Delta Energy [eV]"), this);
    QGridLayout *statsGrid = new QGridLayout(stats);
    deAvr = statField(stats, QStringLiteral("DEAvr"));
    deMin = statField(stats, QStringLiteral("DEMin"));
    deMax = statField(stats, QStringLiteral("DEMax"));
    deSigma = statField(stats, QStringLiteral("DESigma"));
    const QString labels[] = {tr("Avr."), tr("Min."), tr("Max."), tr("sigma")};
    QLineEdit *const fields[] = {deAvr, deMin, deMax, deSigma};
    const QString tips[] = {tr("Average"), tr("Minimum"), tr("Maximum"), tr("Standard deviation")};
    for (int i = 0; i < 4; ++i) {
        statsGrid->addWidget(new QLabel(labels[i], stats), 0, i);
        statsGrid->itemAtPosition(0, i)->widget()->setToolTip(tips[i]);
        fields[i]->setToolTip(tips[i]);
        statsGrid->addWidget(fields[i], 1, i);
    }
    layout->addWidget(stats);
    layout->addStretch(1);

    // The dialogs open without blocking and report the file they accept.
    stdDialog = new QFileDialog(this, tr("Select Std."), settings().dataRoot);
    stdDialog->setFileMode(QFileDialog::ExistingFile);
    saveDialog = fileDialog(tr("Save Energy Map"), true);
    loadDialog = fileDialog(tr("Load Energy Map"), false);

    connect(selectStd, &QPushButton::clicked, stdDialog, &QFileDialog::show);
    connect(stdDialog, &QFileDialog::fileSelected, this, &CalibCtrl::newFile);
    connect(stdVictoreen, &QRadioButton::toggled, this, &CalibCtrl::stdBGToggled);
    connect(targetVictoreen, &QRadioButton::toggled, this, &CalibCtrl::targetBGChanged);
    connect(exec, &QPushButton::clicked, this, &CalibCtrl::execCalibration);
    connect(clear, &QPushButton::clicked, this, &CalibCtrl::clearMap);
    connect(save, &QPushButton::clicked, saveDialog, &QFileDialog::show);
    connect(load, &QPushButton::clicked, loadDialog, &QFileDialog::show);
    connect(saveDialog, &QFileDialog::fileSelected, this, &CalibCtrl::saveEMap);
    connect(loadDialog, &QFileDialog::fileSelected, this, &CalibCtrl::loadEShiftMap);
}

QFileDialog *CalibCtrl::fileDialog(const QString &title, bool save)
{
    QFileDialog *d = new QFileDialog(this, title, settings().dataRoot);
    d->setNameFilters({tr("Energy Distribution Map File (*.emp)"), tr("Any Files (* *.*)")});
    if (save) {
        d->setAcceptMode(QFileDialog::AcceptSave);
        d->setFileMode(QFileDialog::AnyFile);
    } else {
        d->setObjectName(QStringLiteral("EShiftMapDialog"));
        d->setFileMode(QFileDialog::ExistingFile);
    }
    return d;
}

QString CalibCtrl::stdFileName() const
{
    return stdName->text();
}

QString CalibCtrl::crystal() const
{
    return crystals->currentText();
}

double CalibCtrl::spacing() const
{
    return crystals->currentData().toDouble();
}

double CalibCtrl::edgeEnergy() const
{
    return realOfText(edgeE->text());
}

bool CalibCtrl::stdBGVictoreen() const
{
    return stdVictoreen->isChecked();
}

bool CalibCtrl::targetBGVictoreen() const
{
    return targetVictoreen->isChecked();
}

bool CalibCtrl::selectCrystal(const QString &nameOrIndex)
{
    int i = crystals->findText(nameOrIndex.trimmed(), Qt::MatchFixedString);
    if (i < 0) {
        bool number = false;
        const int n = nameOrIndex.trimmed().toInt(&number);
        if (number && n >= 0 && n < crystals->count())
            i = n;
    }
    if (i < 0) {
        qDebug().noquote() << "No crystal" << nameOrIndex;
        return false;
    }
    crystals->setCurrentIndex(i);
    return true;
}

void CalibCtrl::setStdBGVictoreen(bool f)
{
    (f ? stdVictoreen : stdSimple)->setChecked(true);
}

void CalibCtrl::setTargetBGVictoreen(bool f)
{
    (f ? targetVictoreen : targetSimple)->setChecked(true);
}

void CalibCtrl::showStats(const EdgeShiftStats &stats)
{
    deAvr->setText(QString::number(stats.mean, 'g', 6));
    deMin->setText(QString::number(stats.min, 'g', 6));
    deMax->setText(QString::number(stats.max, 'g', 6));
    deSigma->setText(QString::number(stats.sigma, 'g', 6));
}

void CalibCtrl::newFile(const QString &fname)
{
    stdSpectrum = XafsSpectrum();
    if (!stdSpectrum.load(fname)) {
        qDebug().noquote() << "Standard spectrum not loaded :" << fname;
        stdName->clear();
        return;
    }
    stdName->setText(fname);
    stdSpectrum.normalize(stdVictoreen->isChecked());
    edgeE->setText(QString::number(stdSpectrum.e0(), 'g', 6));
    emit newStdFileLoaded();
}

void CalibCtrl::stdBGToggled(bool)
{
    if (!hasStandard())
        return;
    stdSpectrum.normalize(stdVictoreen->isChecked());
    emit stdRenormalized();
}

void CalibCtrl::loadStd(const QString &fname)
{
    newFile(fname);
}

void CalibCtrl::setEdgeEV(const QString &eV)
{
    edgeE->setText(eV);
}

void CalibCtrl::loadEShiftMap(const QString &fname)
{
    emit loadEMap(fname);
}
