#include "core/gui/SaveDataCfg.h"

#include "app/TextNumbers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

SaveDataCfg::SaveDataCfg(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(tr("Save Data Configuration"));
    asTiff = new QRadioButton(tr("Save as Tiff"), this);
    asText = new QRadioButton(tr("Save as Text data"), this);
    asTiff->setObjectName("SaveAsTiff");
    asText->setObjectName("SaveAsText");

    tiffGroup = new QGroupBox(this);
    fixedScale = new QCheckBox(tr("Fixed Scale"), tiffGroup);
    fixedScale->setObjectName("TiffFixedScale");
    scaleMax = new QLineEdit(QStringLiteral("10"), tiffGroup);
    scaleMax->setObjectName("TiffScaleMax");
    scaleMin = new QLineEdit(QStringLiteral("0"), tiffGroup);
    scaleMin->setObjectName("TiffScaleMin");
    asAnalyzed = new QCheckBox(tr("Save as Analyzed Area Size and Resolution"), tiffGroup);
    asAnalyzed->setObjectName("TiffAsAnalyzed");
    auto *tiffLayout = new QGridLayout(tiffGroup);
    tiffLayout->addWidget(fixedScale, 0, 0);
    tiffLayout->addWidget(new QLabel(tr("  Max"), tiffGroup), 0, 1);
    tiffLayout->addWidget(scaleMax, 0, 2);
    tiffLayout->addWidget(new QLabel(tr("Min"), tiffGroup), 0, 3);
    tiffLayout->addWidget(scaleMin, 0, 4);
    tiffLayout->addWidget(asAnalyzed, 1, 0, 1, 5);

    textGroup = new QGroupBox(this);
    comma = new QRadioButton(tr("Comma Separated"), textGroup);
    space = new QRadioButton(tr("Space Separated"), textGroup);
    xyVal = new QRadioButton(tr("X Y Val : 1point/1line"), textGroup);
    valVal = new QRadioButton(tr("Val1 Val2 Val3... : each Y line"), textGroup);
    comma->setObjectName("TextComma");
    space->setObjectName("TextSpace");
    xyVal->setObjectName("TextXYVal");
    valVal->setObjectName("TextValVal");
    // Two exclusive choices in one box: each pair gets a group of its own.
    auto *separators = new QButtonGroup(this);
    separators->addButton(comma);
    separators->addButton(space);
    auto *layouts = new QButtonGroup(this);
    layouts->addButton(xyVal);
    layouts->addButton(valVal);
    auto *textLayout = new QGridLayout(textGroup);
    textLayout->addWidget(comma, 0, 0);
    textLayout->addWidget(space, 0, 1);
    textLayout->addWidget(xyVal, 1, 0);
    textLayout->addWidget(valVal, 1, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(asTiff);
    layout->addWidget(tiffGroup);
    layout->addWidget(asText);
    layout->addWidget(textGroup);

    asTiff->setChecked(true);
    comma->setChecked(true);
    xyVal->setChecked(true);
    toggledSaveAs(true);
    connect(asTiff, &QRadioButton::toggled, this, &SaveDataCfg::toggledSaveAs);
}

bool SaveDataCfg::saveAsTiff() const
{
    return asTiff->isChecked();
}

bool SaveDataCfg::tiffScaleFixed() const
{
    return fixedScale->isChecked();
}

double SaveDataCfg::tiffScaleMin() const
{
    return realOfText(scaleMin->text());
}

double SaveDataCfg::tiffScaleMax() const
{
    return realOfText(scaleMax->text());
}

bool SaveDataCfg::tiffAsAnalyzed() const
{
    return asAnalyzed->isChecked();
}

bool SaveDataCfg::textAsCSV() const
{
    return comma->isChecked();
}

bool SaveDataCfg::textAsXYVal() const
{
    return xyVal->isChecked();
}

void SaveDataCfg::toggledSaveAs(bool tiff)
{
    tiffGroup->setEnabled(tiff);
    textGroup->setEnabled(!tiff);
}

void SaveDataCfg::setSaveAsTiff()
{
    asTiff->setChecked(true);
}

void SaveDataCfg::setSaveAsText()
{
    asText->setChecked(true);
}

void SaveDataCfg::setSaveTiffScaleFixed(bool f)
{
    fixedScale->setChecked(f);
}

void SaveDataCfg::setSaveTiffScaleMin(double v)
{
    scaleMin->setText(QString::number(v, 'g', 6));
}

void SaveDataCfg::setSaveTiffScaleMax(double v)
{
    scaleMax->setText(QString::number(v, 'g', 6));
}

void SaveDataCfg::setSaveTiffAsAnalyzed(bool f)
{
    asAnalyzed->setChecked(f);
}

void SaveDataCfg::setSaveTextAsCSV()
{
    comma->setChecked(true);
}

void SaveDataCfg::setSaveTextAsSSV()
{
    space->setChecked(true);
}

void SaveDataCfg::setSaveTextAsXYVal()
{
    xyVal->setChecked(true);
}

void SaveDataCfg::setSaveTextAsValValVal()
{
    valVal->setChecked(true);
}
