#include "input/gui/EOFSetup.h"

#include "app/TextNumbers.h"
#include "app/Settings.h"

#include "ui_EOFSetup.h"

#include <QFileDialog>
#include <QKeyEvent>

namespace {

double fieldDouble(const QLineEdit *e)
{
    return realOfText(e->text());
}

int fieldInt(const QLineEdit *e)
{
    return intOfText(e->text());
}

QString sixDigits(double v)
{
    return QString::number(v, 'g', 6);
}

} // namespace

EOFSetup::EOFSetup(QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::EOFSetup)
{
    ui->setupUi(this);
    ui->PatternList->addItems(EnergyRule::patterns());
    ui->Pattern->setText(EnergyRule::patterns().first());

    connect(ui->Start, &QLineEdit::editingFinished, this, &EOFSetup::newStart);
    connect(ui->Delta, &QLineEdit::editingFinished, this, &EOFSetup::newDelta);
    connect(ui->End, &QLineEdit::editingFinished, this, &EOFSetup::newEnd);
    connect(ui->NumOfPoints, &QLineEdit::editingFinished, this, &EOFSetup::newNumOfPoints);
    connect(ui->Pattern, &QLineEdit::editingFinished, this, &EOFSetup::newPattern);
    connect(ui->PatternList, QOverload<int>::of(&QComboBox::activated), this,
            [this](int i) { newPatternSelected(ui->PatternList->itemText(i)); });
    connect(ui->SelRefFile, &QPushButton::clicked, this, [this] {
        const QString f = chooseRefFile();
        if (!f.isEmpty())
            refFileSelected(f);
    });
    // The window is closed like a dialog; the fields keep what they hold.
    connect(ui->CloseB, &QPushButton::clicked, this, &QWidget::close);
}

void EOFSetup::keyPressEvent(QKeyEvent *event)
{
    // Escape reaches here from any field that has no use for it, as in a
    // dialog.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

EOFSetup::~EOFSetup()
{
    // The controls die after this object; the signals they send on the way
    // out (editing finished on focus loss, index changes) must not reach it.
    for (QObject *c : findChildren<QObject *>())
        disconnect(c, nullptr, this, nullptr);
    delete ui;
}

QString EOFSetup::chooseRefFile()
{
    return QFileDialog::getOpenFileName(this, tr("Reference File"), settings().dataRoot,
                                        tr("XAFS Data File (*.dat)") + QStringLiteral(";;")
                                            + tr("Any Files (* *.*)"));
}

void EOFSetup::readFields()
{
    if (ui->FromFileName->isChecked())
        energyRule.mode = EnergyRule::FromFileName;
    else if (ui->FromRefFile->isChecked() && !ui->FromFileNum->isChecked())
        energyRule.mode = EnergyRule::FromRefFile;
    else
        energyRule.mode = EnergyRule::FromFileNum;
    energyRule.pattern = ui->Pattern->text();
    energyRule.factor = fieldDouble(ui->Factor);
    energyRule.unit = ui->DisplayUnit->currentIndex();
    energyRule.evenInAngle = !ui->EvenInEnergy->isChecked();
    energyRule.start = fieldDouble(ui->Start);
    energyRule.end = fieldDouble(ui->End);
    energyRule.delta = fieldDouble(ui->Delta);
    energyRule.numOfPoints = fieldInt(ui->NumOfPoints);
}

const EnergyRule &EOFSetup::rule()
{
    readFields();
    return energyRule;
}

double EOFSetup::energyOf(const QString &path, int fNo)
{
    readFields();
    return energyRule.energyOf(path, fNo);
}

void EOFSetup::recomputeEnd()
{
    const double end = EnergyRule::endOf(fieldDouble(ui->Start), fieldInt(ui->NumOfPoints),
                                         fieldDouble(ui->Delta));
    ui->End->setText(sixDigits(end));
}

void EOFSetup::recomputeDelta()
{
    double delta = fieldDouble(ui->Delta);
    if (EnergyRule::deltaOf(fieldDouble(ui->Start), fieldDouble(ui->End), fieldInt(ui->NumOfPoints),
                            delta))
        ui->Delta->setText(sixDigits(delta));
}

void EOFSetup::newStart()
{
    recomputeEnd();
}
void EOFSetup::newDelta()
{
    recomputeEnd();
}
void EOFSetup::newEnd()
{
    recomputeDelta();
}
void EOFSetup::newNumOfPoints()
{
    recomputeDelta();
}

void EOFSetup::newPattern()
{
    ui->Factor->setText(EnergyRule::factorForPattern(ui->Pattern->text()));
}

void EOFSetup::newPatternSelected(const QString &pattern)
{
    ui->Pattern->setText(pattern);
    newPattern();
}

void EOFSetup::refFileSelected(const QString &fname)
{
    // The path is shown only for a file that could be opened; otherwise the
    // list and the field stay as they were.
    if (energyRule.readRefFile(fname))
        ui->RefFilePath->setText(fname);
}

void EOFSetup::setByName(bool on)
{
    ui->FromFileName->setChecked(on);
}
void EOFSetup::setByCalc(bool on)
{
    ui->FromFileNum->setChecked(on);
}

void EOFSetup::setStart(double v)
{
    ui->Start->setText(sixDigits(v));
    newStart();
}

void EOFSetup::setDelta(double v)
{
    ui->Delta->setText(sixDigits(v));
    newDelta();
}

void EOFSetup::setEnd(double v)
{
    ui->End->setText(sixDigits(v));
    newEnd();
}

void EOFSetup::setNum(int n)
{
    ui->NumOfPoints->setText(QString::number(n));
    newNumOfPoints();
}

void EOFSetup::setEvenInEnergy(bool on)
{
    ui->EvenInEnergy->setChecked(on);
}
void EOFSetup::setEvenInAngle(bool on)
{
    ui->EvenInAngle->setChecked(on);
}

void EOFSetup::setDisplayUnit(int idx)
{
    if (idx >= 0 && idx < ui->DisplayUnit->count())
        ui->DisplayUnit->setCurrentIndex(idx);
}

void EOFSetup::setPattern(const QString &p)
{
    ui->Pattern->setText(p);
}
void EOFSetup::setFactor(double f)
{
    ui->Factor->setText(sixDigits(f));
}

void EOFSetup::setRefFile(const QString &fname)
{
    if (fname.isEmpty()) {
        ui->RefFilePath->setText(fname);
        return;
    }
    ui->FromRefFile->setChecked(true);
    ui->RefFilePath->setText(fname);
    refFileSelected(fname);
}
