#include "analysis/gui/LCFReference.h"

#include "analysis/Analyzed2DRes.h"
#include "analysis/gui/XafsFileSelect.h"
#include "app/TextNumbers.h"

#include <QCheckBox>
#include <QDebug>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

static QString general6(double v)
{
    return QString::number(v, 'g', 6);
}

LCFReference::LCFReference(int number, QWidget *parent)
    : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    selectRef = new QPushButton(tr("Select Ref%1").arg(number), this);
    selectRef->setObjectName(QStringLiteral("SelectRef"));
    selectRef->setCheckable(true);
    filePicker = new XafsFileSelect(this);
    victreen = new QCheckBox(tr("Victreen"), this);
    victreen->setObjectName(QStringLiteral("IsVictreen"));
    show = new QCheckBox(tr("Show"), this);
    show->setObjectName(QStringLiteral("Show"));
    deltaEEdit = new QLineEdit(QStringLiteral("0"), this);
    deltaEEdit->setObjectName(QStringLiteral("DeltaE"));
    deltaEEdit->setMaximumWidth(80);
    weightText = new QLabel(this);
    weightText->setObjectName(QStringLiteral("Weight"));
    amountText = new QLabel(this);
    amountText->setObjectName(QStringLiteral("Amount"));
    e0Text = new QLabel(this);
    e0Text->setObjectName(QStringLiteral("E0"));
    jumpText = new QLabel(this);
    jumpText->setObjectName(QStringLiteral("Jump"));

    grid->addWidget(selectRef, 0, 0);
    grid->addWidget(filePicker, 0, 1, 1, 8);
    grid->addWidget(victreen, 1, 0);
    grid->addWidget(new QLabel(tr("dE [eV]"), this), 1, 1);
    grid->addWidget(deltaEEdit, 1, 2);
    grid->addWidget(weightText, 1, 3);
    grid->addWidget(new QLabel(tr("[%]"), this), 1, 4);
    grid->addWidget(new QLabel(tr("dMut"), this), 1, 5);
    grid->addWidget(amountText, 1, 6);
    grid->addWidget(e0Text, 1, 7);
    grid->addWidget(new QLabel(tr("[eV]"), this), 1, 8);
    grid->addWidget(jumpText, 1, 9);
    grid->addWidget(show, 1, 10);
    victreen->setToolTip(tr("Background of this reference by the Victoreen formula"));
    deltaEEdit->setToolTip(tr("Energy shift of this reference, in eV"));
    grid->itemAtPosition(1, 1)->widget()->setToolTip(deltaEEdit->toolTip());
    weightText->setToolTip(tr("Fitted ratio of this reference, in percent"));
    amountText->setToolTip(tr("Edge jump (delta mu t) of this reference in the fit"));
    grid->itemAtPosition(1, 5)->widget()->setToolTip(amountText->toolTip());
    e0Text->setToolTip(tr("Edge energy of this reference, in eV"));

    static const char *const kindNames[] = {"DMut", "Ratio"};
    for (const char *kind : kindNames) {
        auto *map = new Analyzed2DRes(this);
        map->setName(QString::fromLatin1(kind));
        resultMaps.append(map);
    }

    connect(filePicker, &XafsFileSelect::newFile, this, &LCFReference::newFile);
    connect(filePicker, &XafsFileSelect::changedUse, this, &LCFReference::changedUse);
    connect(deltaEEdit, &QLineEdit::editingFinished, this, &LCFReference::editedDeltaE);
    connect(victreen, &QCheckBox::toggled, this, &LCFReference::toggledIsVictreen);

    reference.enableDE(true);
    editedDeltaE();
    setWeight(0.0);
}

bool LCFReference::isVictreen() const
{
    return victreen->isChecked();
}

bool LCFReference::showChecked() const
{
    return show->isChecked();
}

bool LCFReference::isUsed() const
{
    return filePicker->useChecked() && filePicker->isLoaded() && !reference.raw().isEmpty();
}

LcfReferenceSnapshot LCFReference::snapshot() const
{
    return LcfReferenceSnapshot::of(reference, dE, isUsed(), isVictreen());
}

void LCFReference::newFile(const QString &fname)
{
    if (!reference.load(fname)) {
        qDebug().noquote() << "LCF reference" << fname << "gave no spectrum";
        e0Text->clear();
        jumpText->clear();
    } else {
        reference.normalize(isVictreen());
        e0Text->setText(general6(reference.e0()));
        jumpText->setText(general6(reference.jump()));
    }
    // A fresh load must not lose the row's shift or its use state.
    reference.enableDE(true);
    reference.setDE(dE);
    reference.raw().setInUse(filePicker->useChecked());
    emit newFileSelected();
    emit changed();
}

void LCFReference::changedUse(bool f)
{
    reference.raw().setInUse(f);
    emit changed();
}

void LCFReference::editedDeltaE()
{
    dE = realOfText(deltaEEdit->text());
    reference.setDE(dE);
    emit newDeltaE();
    emit changed();
}

void LCFReference::toggledIsVictreen(bool f)
{
    if (!reference.raw().isEmpty()) {
        reference.normalize(f);
        e0Text->setText(general6(reference.e0()));
        jumpText->setText(general6(reference.jump()));
    }
    emit changed();
}

void LCFReference::setStd(bool use, double newDE, const QString &fname, const QString &isVic)
{
    bool vic = true;
    if (!isVic.isEmpty())
        vic = isVic.toUpper() == QLatin1String("VIC") || intOfText(isVic) > 0;
    victreen->setChecked(vic);
    filePicker->load(fname);
    filePicker->setUse(use);
    reference.raw().setInUse(use);
    dE = newDE;
    reference.setDE(dE);
    deltaEEdit->setText(general6(dE));
    emit changed();
}

void LCFReference::setWeight(double w)
{
    shownWeight = w;
    weightText->setText(QString::asprintf("%5.2f", w * 100));
}

void LCFReference::setAmount(double a)
{
    amountText->setText(general6(a));
}
