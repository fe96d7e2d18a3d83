#include "alignment/gui/ImgProc.h"

#include "app/TextNumbers.h"
#include "input/TiffData.h"
#include "widgets/gui/ColorBar.h"
#include "widgets/gui/ProcDispA.h"

#include <QCheckBox>
#include <QDebug>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>

#include <cmath>

namespace {

QString sixDigits(double v)
{
    return QString::number(v, 'g', 6);
}

QLineEdit *field(const char *name, const QString &text, QWidget *parent)
{
    auto *e = new QLineEdit(text, parent);
    e->setObjectName(QLatin1String(name));
    e->setMaximumWidth(90);
    return e;
}

QCheckBox *checkBox(const char *name, const QString &text, QWidget *parent)
{
    auto *b = new QCheckBox(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QPushButton *button(const char *name, const QString &text, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

} // namespace

ImgProc::ImgProc(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(tr("Image Processor"));

    edgeDetectBox = checkBox("EdgeDetect", tr("Edge Detect"), this);
    binaryBox = checkBox("BinaryImage", tr("Binary"), this);
    minEdge = field("MinEdgeV", QStringLiteral("0"), this);
    maxEdge = field("MaxEdgeV", QStringLiteral("1"), this);
    binTh = field("BinThV", QStringLiteral("0"), this);
    binThSlider = new QSlider(Qt::Horizontal, this);
    binThSlider->setObjectName(QStringLiteral("BinThVSlider"));
    binThSlider->setRange(0, binSliderMax);
    binThSlider->setPageStep(100);
    binThSlider->setValue(100);
    auto *setRef = button("SetRef", tr("Set Ref."), this);
    compareBox = checkBox("Compare", tr("Comp."), this);
    scoreField = field("NormScolarP", QStringLiteral("0"), this);
    scoreField->setReadOnly(true);
    shiftXField = field("ShiftX", QStringLiteral("0"), this);
    shiftYField = field("ShiftY", QStringLiteral("0"), this);
    shiftL = button("ShiftL", QStringLiteral("..."), this);
    shiftR = button("ShiftR", QStringLiteral("..."), this);
    shiftU = button("ShiftU", QStringLiteral("..."), this);
    shiftD = button("ShiftD", QStringLiteral("..."), this);
    compareBox->setToolTip(tr("Compare: show the shifted binary image against the reference, "
                              "with its score"));
    binTh->setToolTip(tr("Threshold of the binary image"));
    scoreField->setToolTip(tr("Score of the comparison (normalized scalar product)"));
    setRef->setToolTip(tr("Set the binary image as the reference"));
    auto *shiftAuto = button("ShiftAuto", tr("Auto Shift"), this);
    aAutoShiftBox = checkBox("AAutoShift", tr("A. A. Shift"), this);
    aSetShiftBox = checkBox("ASetShift", tr("A. Set Shift"), this);
    aAutoShiftBox->setToolTip(tr("Auto shift on every new frame while comparing"));
    aSetShiftBox->setToolTip(tr("Apply the shift found by a search at once"));
    auto *setShiftB = button("SetShift", tr("Set Shift"), this);
    auto *clearAll = button("ClearAllShifts", tr("Clear All Shifts"), this);
    disp = new ProcDispA(this);
    disp->setObjectName(QStringLiteral("DispA"));
    cBar = new ColorBar(this);
    cBar->setObjectName(QStringLiteral("CBar"));

    auto *controls = new QGridLayout;
    int row = 0;
    controls->addWidget(edgeDetectBox, row, 0);
    controls->addWidget(binaryBox, row++, 1);
    controls->addWidget(new QLabel(tr("Min"), this), row, 0);
    controls->addWidget(minEdge, row++, 1);
    controls->addWidget(new QLabel(tr("Max"), this), row, 0);
    controls->addWidget(maxEdge, row++, 1);
    controls->addWidget(new QLabel(tr("Th."), this), row, 0);
    controls->itemAtPosition(row, 0)->widget()->setToolTip(binTh->toolTip());
    controls->addWidget(binTh, row++, 1);
    controls->addWidget(binThSlider, row++, 0, 1, 2);
    controls->addWidget(setRef, row, 0);
    controls->addWidget(compareBox, row++, 1);
    controls->addWidget(new QLabel(tr("S.P."), this), row, 0);
    controls->itemAtPosition(row, 0)->widget()->setToolTip(scoreField->toolTip());
    controls->addWidget(scoreField, row++, 1);
    controls->addWidget(new QLabel(tr("Shift X:"), this), row, 0);
    controls->addWidget(shiftXField, row++, 1);
    controls->addWidget(new QLabel(tr("Y:"), this), row, 0);
    controls->addWidget(shiftYField, row++, 1);
    auto *arrows = new QGridLayout;
    arrows->addWidget(shiftU, 0, 1);
    arrows->addWidget(shiftL, 1, 0);
    arrows->addWidget(shiftR, 1, 2);
    arrows->addWidget(shiftD, 2, 1);
    controls->addLayout(arrows, row++, 0, 1, 2);
    controls->addWidget(shiftAuto, row, 0);
    controls->addWidget(aAutoShiftBox, row++, 1);
    controls->addWidget(aSetShiftBox, row, 0);
    controls->addWidget(setShiftB, row++, 1);
    controls->addWidget(clearAll, row++, 0, 1, 2);
    controls->setRowStretch(row, 1);

    auto *layout = new QHBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(disp, 1);
    layout->addWidget(cBar);

    connect(edgeDetectBox, &QCheckBox::toggled, this, &ImgProc::toggledEdgeDetect);
    connect(binaryBox, &QCheckBox::toggled, this, [this] {
        binarize();
        drawOnImage();
    });
    connect(binThSlider, &QSlider::valueChanged, this, &ImgProc::movedBinThVSlider);
    connect(binTh, &QLineEdit::editingFinished, this, &ImgProc::setBinThV);
    // A range typed in takes effect as the slider's new scale.
    connect(minEdge, &QLineEdit::editingFinished, this, &ImgProc::newBinThV);
    connect(maxEdge, &QLineEdit::editingFinished, this, &ImgProc::newBinThV);
    connect(setRef, &QPushButton::clicked, this, &ImgProc::setRefBin);
    connect(compareBox, &QCheckBox::toggled, this, &ImgProc::drawOnImage);
    connect(shiftXField, &QLineEdit::editingFinished, this, &ImgProc::drawOnImage);
    connect(shiftYField, &QLineEdit::editingFinished, this, &ImgProc::drawOnImage);
    for (QPushButton *b : {shiftL, shiftR, shiftU, shiftD})
        connect(b, &QPushButton::clicked, this, &ImgProc::shiftBinImg);
    connect(shiftAuto, &QPushButton::clicked, this, &ImgProc::autoShiftBinImg);
    connect(setShiftB, &QPushButton::clicked, this, &ImgProc::setShift);
    connect(clearAll, &QPushButton::clicked, this, &ImgProc::clearAllShifts);
    connect(cBar, &ColorBar::cBarUpdating, this, &ImgProc::drawOnImage);
    connect(cBar, &ColorBar::cBarUpdated, this, &ImgProc::drawOnImage);
}

int ImgProc::trialShiftX() const
{
    return intOfText(shiftXField->text());
}

int ImgProc::trialShiftY() const
{
    return intOfText(shiftYField->text());
}

double ImgProc::threshold() const
{
    return realOfText(binTh->text());
}

int ImgProc::thresholdPosition() const
{
    return binThSlider->value();
}

void ImgProc::setEdgeDetect(bool f)
{
    edgeDetectBox->setChecked(f);
}

void ImgProc::setBinary(bool f)
{
    binaryBox->setChecked(f);
}

void ImgProc::setCompare(bool f)
{
    compareBox->setChecked(f);
}

void ImgProc::setAutoAutoShift(bool f)
{
    aAutoShiftBox->setChecked(f);
}

void ImgProc::setAutoSetShift(bool f)
{
    aSetShiftBox->setChecked(f);
}

void ImgProc::typeThreshold(double v)
{
    binTh->setText(sixDigits(v));
    setBinThV();
}

void ImgProc::moveThresholdSlider(int position)
{
    binThSlider->setValue(position);
}

void ImgProc::setTrialShift(int sx, int sy)
{
    setTrialShiftFields(sx, sy);
    drawOnImage();
}

void ImgProc::setTrialShiftFields(int sx, int sy)
{
    shiftXField->setText(QString::number(sx));
    shiftYField->setText(QString::number(sy));
}

void ImgProc::giveData(TiffData *frame)
{
    // A frame that is gone is let go even while nothing is processed, so
    // that no pointer to it outlives it.
    if (!frame) {
        current = nullptr;
        frameW = frameH = 0;
        return;
    }
    if (!edgeDetectBox->isChecked())
        return;
    current = frame;
    frameW = frame->width();
    frameH = frame->height();
    // The edge detection binarizes and draws as it ends; doing both again
    // would run an automatic search twice for one frame.
    edgeDetect();
}

void ImgProc::toggledEdgeDetect(bool f)
{
    if (f)
        emit askGiveData();
}

void ImgProc::edgeDetect()
{
    if (!current)
        return;
    edges = EdgeImage::of(*current);
    if (edges.isEmpty()) {
        // No binary image of an earlier frame may stand for this one.
        bin = BinImage();
        return;
    }
    minEdge->setText(sixDigits(edges.minimum()));
    maxEdge->setText(sixDigits(edges.maximum()));
    newBinThV();
}

void ImgProc::movedBinThVSlider()
{
    newBinThV();
}

void ImgProc::newBinThV()
{
    const double lo = realOfText(minEdge->text());
    const double hi = realOfText(maxEdge->text());
    binTh->setText(sixDigits(binThresholdAt(lo, hi, binThSlider->value())));
    binarize();
    drawOnImage();
}

void ImgProc::setBinThV()
{
    const double lo = realOfText(minEdge->text());
    const double hi = realOfText(maxEdge->text());
    {
        // The typed threshold stays as typed; the slider only follows it.
        const QSignalBlocker quiet(binThSlider);
        binThSlider->setValue(binSliderPosition(lo, hi, threshold()));
    }
    binarize();
    drawOnImage();
}

void ImgProc::binarize()
{
    if (!current || edges.isEmpty())
        return;
    bin = BinImage::of(edges, threshold());
}

void ImgProc::setRefBin()
{
    if (!bin.isEmpty())
        ref = bin.copy();
    drawOnImage();
}

void ImgProc::shiftBinImg()
{
    const QObject *from = sender();
    int sx = trialShiftX();
    int sy = trialShiftY();
    if (from == shiftL)
        --sx;
    else if (from == shiftR)
        ++sx;
    else if (from == shiftU)
        --sy;
    else if (from == shiftD)
        ++sy;
    setTrialShiftFields(sx, sy);
    drawOnImage();
}

bool ImgProc::autoShiftBinImg0()
{
    int sx = trialShiftX();
    int sy = trialShiftY();
    double best = score;
    if (!autoShift(bin, ref, sx, sy, best))
        return false;
    setTrialShiftFields(sx, sy);
    if (aSetShiftBox->isChecked())
        setShift();
    return true;
}

void ImgProc::autoShiftBinImg()
{
    autoShiftBinImg0();
    drawOnImage();
}

void ImgProc::setShift()
{
    emit imgShift(trialShiftX(), trialShiftY());
}

void ImgProc::clearAllShifts()
{
    emit askClearAllShifts();
}

QImage ImgProc::edgePicture() const
{
    const int w = edges.width();
    const int h = edges.height();
    QImage pic(w, h, QImage::Format_Grayscale8);
    const GreyScale *scale = cBar->greyScale();
    const double lo = edges.minimum();
    const double span = edges.maximum() - lo;
    for (int y = 0; y < h; ++y) {
        const double *e = edges.row(y);
        uchar *line = pic.scanLine(y);
        for (int x = 0; x < w; ++x)
            line[x] = scale->grey(span > 0 ? (e[x] - lo) / span : 0.0);
    }
    return pic;
}

// Ones and zeros as the ends of the bar's ramp.
QImage ImgProc::binPicture() const
{
    const int w = bin.width();
    const int h = bin.height();
    QImage pic(w, h, QImage::Format_Grayscale8);
    const uchar levels[2] = {cBar->greyScale()->grey(0.0), cBar->greyScale()->grey(1.0)};
    for (int y = 0; y < h; ++y) {
        uchar *line = pic.scanLine(y);
        for (int x = 0; x < w; ++x)
            line[x] = levels[bin.at(x, y)];
    }
    return pic;
}

// The reference in red, the binary image at the trial shift in green (so
// where they agree it is yellow); the score of the shift is counted as the
// search counts it.
QImage ImgProc::overlay()
{
    const int w = ref.width();
    const int h = ref.height();
    const int sx = trialShiftX();
    const int sy = trialShiftY();
    QImage pic(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto *line = reinterpret_cast<QRgb *>(pic.scanLine(y));
        const qint64 ay = qint64(y) - sy;
        for (int x = 0; x < w; ++x) {
            const qint64 ax = qint64(x) - sx;
            const bool a = ax >= 0 && ax < w && ay >= 0 && ay < h && bin.at(int(ax), int(ay));
            line[x] = qRgb(ref.at(x, y) ? 255 : 0, a ? 255 : 0, 0);
        }
    }
    score = shiftScore(ref, bin, sx, sy);
    scoreField->setText(sixDigits(score).left(6));
    return pic;
}

void ImgProc::drawOnImage()
{
    if (compareBox->isChecked()) {
        if (!comparable(bin, ref))
            return;
        if (aAutoShiftBox->isChecked())
            autoShiftBinImg0();
        disp->setPicture(overlay());
        return;
    }
    if (binaryBox->isChecked()) {
        if (!bin.isEmpty())
            disp->setPicture(binPicture());
        return;
    }
    if (!edges.isEmpty())
        disp->setPicture(edgePicture());
}
