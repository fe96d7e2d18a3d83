#include "analysis/gui/Analyzer.h"

#include "analysis/Analyzed2DRes.h"
#include "analysis/gui/AElemsConds.h"
#include "analysis/MapTools.h"
#include "analysis/gui/EShiftMapDialog.h"
#include "analysis/gui/ElemCtrl.h"
#include "analysis/gui/LCFReference.h"
#include "analysis/gui/SumUpCtrl.h"
#include "analysis/gui/XafsFileSelect.h"
#include "app/TextNumbers.h"
#include "calibration/EmpFile.h"
#include "spectrum/gui/XafsView.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDebug>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStyle>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QLineEdit *field(const char *name, const char *text, QWidget *parent)
{
    auto *e = new QLineEdit(QString::fromLatin1(text), parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaximumWidth(90);
    return e;
}

// A new row of a list in a scroll area keeps its full height (the list
// scrolls rather than squeezing its rows), and the area is as wide as a
// whole row (no sideways scrolling) and high enough for two rows, so a new
// row is seen in full without the window being enlarged by hand. The
// window grows with the area where it was smaller.
void fitRowsArea(QWidget *row)
{
    QWidget *rows = row->parentWidget();
    QScrollArea *area = nullptr;
    for (QWidget *w = rows; w && !area; w = w->parentWidget())
        area = qobject_cast<QScrollArea *>(w);
    if (!area || !rows->layout())
        return;
    const QMargins m = rows->layout()->contentsMargins();
    const int frame = 2 * area->frameWidth();
    const int bar = area->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, area);
    const QSize hint = row->sizeHint();
    row->setMinimumHeight(hint.height());
    const int spacing = std::max(0, rows->layout()->spacing());
    area->setMinimumWidth(
        std::max(area->minimumWidth(), hint.width() + m.left() + m.right() + frame + bar));
    area->setMinimumHeight(std::max(area->minimumHeight(),
                                    2 * hint.height() + spacing + m.top() + m.bottom() + frame));
}

} // namespace

Analyzer::Analyzer(QWidget *parent)
    : QWidget(parent)
{
    setWindowTitle(tr("Analyzer"));

    workerThread = new QThread(this);
    proc = new AnalyzeProc;
    proc->moveToThread(workerThread);
    connect(workerThread, &QThread::finished, proc, &QObject::deleteLater);
    connect(this, &Analyzer::analyzeSpectrum0, proc, &AnalyzeProc::analyzeSpectrum0,
            Qt::QueuedConnection);
    connect(proc, &AnalyzeProc::spectrumFitted, this, &Analyzer::spectrumFitted,
            Qt::QueuedConnection);
    connect(this, &Analyzer::analyzeSpectrumElems0, proc, &AnalyzeProc::analyzeSpectrumElems0,
            Qt::QueuedConnection);
    connect(proc, &AnalyzeProc::elemsAnalyzed, this, &Analyzer::elemsAnalyzed,
            Qt::QueuedConnection);
    connect(this, &Analyzer::setNewCorrelation, this, &Analyzer::setCorrelation);
    workerThread->start();

    view = new XafsView(this);
    view->setWindowFlag(Qt::Window);
    view->setWindowTitle(tr("Analyzer Spectrum"));
    view->resize(640, 480);

    static const char *const mapNames[] = {"a2d Zansa",    "a2d DMut",      "a2d Rest",
                                           "a2d Rati",     "a2d ElemsCor",  "a2d ElemsCorTh",
                                           "Sum Up Img",   "Processed Map", "E-Shift Map 1",
                                           "E-Shift Map 2"};
    for (const char *name : mapNames) {
        auto *map = new Analyzed2DRes(this);
        map->setName(QString::fromLatin1(name));
        maps.append(map);
    }

    auto *top = new QVBoxLayout(this);
    auto *selectors = new QHBoxLayout;
    panelGroup = new QButtonGroup(this);
    panels = new QStackedWidget(this);
    static const char *const panelNames[][2] = {{"SelMLCFA", QT_TR_NOOP("LCF / MLCF Analysis")},
                                                {"SelRAA",
                                                 QT_TR_NOOP("Residual Absorption Analysis")},
                                                {"SelElemA", QT_TR_NOOP("Element Analysis")},
                                                {"SelSumUp", QT_TR_NOOP("Sum Up")},
                                                {"SelProcMaps", QT_TR_NOOP("Process Maps")}};
    for (int i = 0; i < 5; ++i) {
        auto *b = new QRadioButton(tr(panelNames[i][1]), this);
        b->setObjectName(QString::fromLatin1(panelNames[i][0]));
        panelGroup->addButton(b, i);
        selectors->addWidget(b);
        panels->addWidget(new QWidget(panels));
    }
    panelGroup->button(LcfPanel)->setChecked(true);
    top->addLayout(selectors);
    top->addWidget(panels, 1);
    buildLcfPanel(panels->widget(LcfPanel));
    buildElemPanel(panels->widget(ElementPanel));
    buildResidualPanel(panels->widget(ResidualPanel));
    buildSumUpPanel(panels->widget(SumUpPanel));
    buildProcPanel(panels->widget(ProcessPanel));

    connect(panelGroup, &QButtonGroup::idClicked, this, [this](int id) {
        panels->setCurrentIndex(id);
        emit changedSelection();
    });
    addReference()->selectButton()->setChecked(true);
}

Analyzer::~Analyzer()
{
    proc->cancelBelow(proc->newRunId());
    workerThread->quit();
    workerThread->wait();
}

void Analyzer::buildLcfPanel(QWidget *page)
{
    auto *layout = new QVBoxLayout(page);

    auto *runRow = new QHBoxLayout;
    auto *analyze = new QPushButton(tr("Analyze"), page);
    analyze->setObjectName(QStringLiteral("AskAnalyze"));
    progress = new QLabel(QStringLiteral("0%"), page);
    progress->setObjectName(QStringLiteral("Progress"));
    dispOnTimeBox = new QCheckBox(tr("Disp. on Time"), page);
    dispOnTimeBox->setObjectName(QStringLiteral("DispOnTime"));
    dispOnTimeBox->setToolTip(tr("Display the result maps while the run goes on, row by row"));
    dispZansa = field("DispZansa", "0.0", page);
    dispZansa->setReadOnly(true);
    dispZansa->setToolTip(tr("Residual (Zansa) of the fit of the spectrum on show"));
    auto *showView = new QPushButton(tr("Show View"), page);
    showView->setObjectName(QStringLiteral("ShowView"));
    runRow->addWidget(analyze);
    runRow->addWidget(progress);
    runRow->addWidget(dispOnTimeBox);
    runRow->addWidget(new QLabel(tr("Zansa"), page));
    runRow->itemAt(runRow->count() - 1)->widget()->setToolTip(dispZansa->toolTip());
    runRow->addWidget(dispZansa);
    runRow->addWidget(showView);
    runRow->addStretch();
    layout->addLayout(runRow);

    auto *fitRow = new QHBoxLayout;
    range1 = field("LCFRange1", "0", page);
    range2 = field("LCFRange2", "30000", page);
    mlcf = new QCheckBox(tr("MLCF"), page);
    mlcf->setObjectName(QStringLiteral("MLCF"));
    mlcf->setToolTip(tr("Modified LCF: fit the raw spectra with a linear background"));
    fitRow->addWidget(new QLabel(tr("Fitting Range: "), page));
    fitRow->addWidget(range1);
    fitRow->addWidget(new QLabel(QStringLiteral("-"), page));
    fitRow->addWidget(range2);
    fitRow->addWidget(new QLabel(tr("[eV]"), page));
    fitRow->addWidget(mlcf);
    fitRow->addStretch();
    layout->addLayout(fitRow);

    auto *imageRow = new QHBoxLayout;
    selDMut = new QRadioButton(tr("DMut"), page);
    selDMut->setObjectName(QStringLiteral("SelDMut"));
    selDMut->setChecked(true);
    selDMut->setToolTip(tr("Show the map of edge jumps (delta mu t) of the selected reference"));
    selRatio = new QRadioButton(tr("Ratio"), page);
    selRatio->setObjectName(QStringLiteral("SelRatio"));
    selRatio->setToolTip(tr("Show the map of fitted ratios of the selected reference"));
    auto *typeGroup = new QButtonGroup(page);
    typeGroup->addButton(selDMut, DMutKind);
    typeGroup->addButton(selRatio, RatioKind);
    showZ = new QPushButton(tr("Zansa"), page);
    showZ->setObjectName(QStringLiteral("ShowZ"));
    showZ->setCheckable(true);
    showZ->setToolTip(tr("Show the map of the residual (Zansa) instead of a reference map"));
    auto *addRef = new QPushButton(tr("Add Ref"), page);
    addRef->setObjectName(QStringLiteral("AddRef"));
    addRef->setToolTip(tr("Add a row for one more reference spectrum"));
    imageRow->addWidget(new QLabel(tr("Image Type:"), page));
    imageRow->addWidget(selDMut);
    imageRow->addWidget(selRatio);
    imageRow->addWidget(showZ);
    imageRow->addWidget(addRef);
    imageRow->addStretch();
    layout->addLayout(imageRow);

    auto *scaleRow = new QGridLayout;
    fixedScale = new QCheckBox(tr("Fixed Scale"), page);
    fixedScale->setObjectName(QStringLiteral("FixedScale"));
    dMutMin = field("DMutScaleMin", "0.0", page);
    dMutMax = field("DMutScaleMax", "1.0", page);
    ratioMin = field("RatioScaleMin", "0.0", page);
    ratioMax = field("RatioScaleMax", "1.0", page);
    scaleRow->addWidget(fixedScale, 0, 0, 2, 1);
    scaleRow->addWidget(new QLabel(tr("DMut"), page), 0, 1);
    scaleRow->addWidget(new QLabel(tr("Min."), page), 0, 2);
    scaleRow->addWidget(dMutMin, 0, 3);
    scaleRow->addWidget(new QLabel(tr("Max."), page), 0, 4);
    scaleRow->addWidget(dMutMax, 0, 5);
    scaleRow->addWidget(new QLabel(tr("Ratio"), page), 1, 1);
    scaleRow->addWidget(new QLabel(tr("Min."), page), 1, 2);
    scaleRow->addWidget(ratioMin, 1, 3);
    scaleRow->addWidget(new QLabel(tr("Max."), page), 1, 4);
    scaleRow->addWidget(ratioMax, 1, 5);
    layout->addLayout(scaleRow);

    auto *scroll = new QScrollArea(page);
    scroll->setWidgetResizable(true);
    auto *rows = new QWidget(scroll);
    rows->setObjectName(QStringLiteral("RefBase"));
    refBase = new QVBoxLayout(rows);
    refBase->addStretch();
    scroll->setWidget(rows);
    layout->addWidget(scroll, 1);

    // The reference rows' buttons join this group with their row index; the
    // residual display joins it with its fixed id.
    imageGroup = new QButtonGroup(this);
    imageGroup->addButton(showZ, ShowZId);

    connect(analyze, &QPushButton::clicked, this, &Analyzer::askAnalyze);
    connect(showView, &QPushButton::clicked, this, [this] {
        view->show();
        view->raise();
    });
    connect(addRef, &QPushButton::clicked, this, &Analyzer::addReference);
    connect(imageGroup, &QButtonGroup::idClicked, this, &Analyzer::changedSelection);
    connect(typeGroup, &QButtonGroup::idClicked, this, &Analyzer::changedSelection);
    connect(fixedScale, &QCheckBox::toggled, this, &Analyzer::scalePolicyChanged);
    for (QLineEdit *e : {dMutMin, dMutMax, ratioMin, ratioMax})
        connect(e, &QLineEdit::editingFinished, this, &Analyzer::scaleChanged);
    // A new setting refits the spectrum on show.
    connect(mlcf, &QCheckBox::toggled, this, &Analyzer::reAnalyzeSpectrum);
    for (QLineEdit *e : {range1, range2})
        connect(e, &QLineEdit::editingFinished, this, &Analyzer::reAnalyzeSpectrum);
}

LCFReference *Analyzer::addReference()
{
    if (refs.size() >= maxReferences)
        return nullptr;
    const int index = refs.size();
    auto *row = new LCFReference(index + 1, this);
    refBase->insertWidget(index, row);
    fitRowsArea(row);
    imageGroup->addButton(row->selectButton(), index);
    for (Analyzed2DRes *map : row->maps())
        map->setColorBar(greyScale);
    refs.append(row);
    connect(row, &LCFReference::changed, this, &Analyzer::referencesChanged);
    referencesChanged();
    return row;
}

void Analyzer::ensureReferences(int n)
{
    while (refs.size() < qMin(n, int(maxReferences)))
        addReference();
}

void Analyzer::referencesChanged()
{
    snapshotsStale = true;
    drawn.clear();
    view->setOthers({});
    reAnalyzeSpectrum();
}

QVector<LcfReferenceSnapshot> Analyzer::referenceSnapshots() const
{
    if (snapshotsStale) {
        snapshots.clear();
        for (const LCFReference *row : refs)
            snapshots.append(row->snapshot());
        snapshotsStale = false;
    }
    return snapshots;
}

bool Analyzer::isMLCF() const
{
    return mlcf->isChecked();
}

double Analyzer::lcfRangeStart() const
{
    return realOfText(range1->text());
}

double Analyzer::lcfRangeEnd() const
{
    return realOfText(range2->text());
}

bool Analyzer::dispOnTime() const
{
    return dispOnTimeBox->isChecked();
}

QString Analyzer::progressText() const
{
    return progress->text();
}

void Analyzer::setColorBar(const GreyScale *bar)
{
    greyScale = bar;
    for (Analyzed2DRes *map : maps)
        map->setColorBar(bar);
    for (LCFReference *row : refs)
        for (Analyzed2DRes *map : row->maps())
            map->setColorBar(bar);
}

QVector<Analyzed2DRes *> Analyzer::lcfRunMaps() const
{
    QVector<Analyzed2DRes *> list;
    for (int k = 0; k < Kinds; ++k)
        for (const LCFReference *row : refs)
            list.append(row->maps().value(k, row->maps().first()));
    return list;
}

int Analyzer::analysisPanel() const
{
    return panelGroup->checkedId();
}

int Analyzer::lcfImageType() const
{
    return selRatio->isChecked() && !selDMut->isChecked() ? RatioKind : DMutKind;
}

Analyzed2DRes *Analyzer::currentMap() const
{
    switch (analysisPanel()) {
    case LcfPanel: {
        if (showZ->isChecked())
            return maps[ZansaMap];
        const int j = imageGroup->checkedId();
        if (j < 0 || j >= refs.size())
            return nullptr;
        const QVector<Analyzed2DRes *> &rowMaps = refs[j]->maps();
        return rowMaps.value(lcfImageType(), rowMaps.first());
    }
    case ElementPanel:
        return currentElemMap();
    case ResidualPanel:
        return currentResidualMap();
    case SumUpPanel:
        return maps[SumUpMap];
    case ProcessPanel:
        return currentProcMap();
    default:
        return nullptr;
    }
}

int Analyzer::shownReferenceRow() const
{
    for (int i = 0; i < refs.size(); ++i)
        if (refs[i]->showChecked())
            return i;
    return 0;
}

void Analyzer::analyzeAndShowSpectrum(const XafsSpectrum &s)
{
    lastSpectrum = s;
    view->setXafsSpectrum(lastSpectrum);
    analyzeSpectrum(lastSpectrum);
}

void Analyzer::reAnalyzeSpectrum()
{
    if (!lastSpectrum.raw().isEmpty())
        analyzeSpectrum(lastSpectrum);
}

void Analyzer::analyzeSpectrum(const XafsSpectrum &s)
{
    // A run owns the worker; with fewer than two rows there is no fit.
    if (running2D)
        return;
    if (panelGroup->checkedId() == LcfPanel && refs.size() >= 2) {
        pending = s;
        hasPending = true;
        sendPending();
    }
    if (panelGroup->checkedId() == ElementPanel && !elems.isEmpty()) {
        pendingElems = s;
        hasPendingElems = true;
        sendPendingElems();
    }
}

void Analyzer::sendPending()
{
    // One spectrum in flight: the latest one waits for the reply.
    if (inFlight != 0 || !hasPending || running2D)
        return;
    LcfSpectrumWork work;
    work.request = ++lastRequest;
    work.sample = pending;
    work.refs = referenceSnapshots();
    work.isMLCF = isMLCF();
    work.sE0 = lcfRangeStart();
    work.eE0 = lcfRangeEnd();
    hasPending = false;
    pending = XafsSpectrum();
    inFlight = work.request;
    inFlightRows.clear();
    for (int i = 0; i < work.refs.size(); ++i)
        if (work.refs[i].used)
            inFlightRows.append(i);
    emit analyzeSpectrum0(work);
}

void Analyzer::spectrumFitted(quint64 request, bool ok, const LcfResult &result)
{
    if (request != inFlight)
        return;
    inFlight = 0;
    if (ok && !running2D) {
        for (int k = 0; k < inFlightRows.size() && k < result.ratio.size(); ++k) {
            if (LCFReference *row = refs.value(inFlightRows[k])) {
                row->setWeight(result.ratio[k]);
                row->setAmount(result.dmut.value(k));
            }
        }
        noticedNewZ(result.z);
        drawn.clear();
        drawn.append(result.res);
        for (const LcfReferenceSnapshot &ref : referenceSnapshots())
            if (ref.used)
                drawn.append(ref.spectrum);
        redrawView();
    }
    emit finished();
    sendPending();
}

void Analyzer::redrawView()
{
    QVector<XafsSpectrum *> others;
    for (XafsSpectrum &s : drawn)
        others.append(&s);
    view->setOthers(others);
    view->update();
}

void Analyzer::noticedNewZ(double z)
{
    dispZansa->setText(QString::number(z, 'g', 6));
}

void Analyzer::setContAccess(bool f)
{
    running2D = f;
    proc->setContAccess(f);
    if (!f) {
        sendPending();
        sendPendingElems();
    }
}

void Analyzer::setLCFMode(bool f)
{
    mlcf->setChecked(f);
}

void Analyzer::setLCFRange(double from, double to)
{
    range1->setText(QString::number(from, 'g', 10));
    range2->setText(QString::number(to, 'g', 10));
    reAnalyzeSpectrum();
}

void Analyzer::setProgress(const QString &perCent)
{
    progress->setText(perCent);
}

void Analyzer::show()
{
    QWidget::show();
    raise();
    view->show();
}

void Analyzer::selectAnalysisPanel(int n)
{
    if (QAbstractButton *b = panelGroup->button(n)) {
        b->setChecked(true);
        panels->setCurrentIndex(n);
        emit changedSelection();
    }
}

void Analyzer::selectImageType(int n)
{
    if (n != DMutKind && n != RatioKind)
        return;
    (n == DMutKind ? selDMut : selRatio)->setChecked(true);
    emit changedSelection();
}

void Analyzer::selectImage(int id)
{
    if (QAbstractButton *b = imageGroup->button(id))
        b->setChecked(true);
    emit changedSelection();
}

void Analyzer::setFixedScale(bool f)
{
    fixedScale->setChecked(f);
}

void Analyzer::setScaleField(QLineEdit *e, double v)
{
    e->setText(QString::number(v, 'g', 10));
    scaleChanged();
}

void Analyzer::setDMutScaleMin(double v)
{
    setScaleField(dMutMin, v);
}

void Analyzer::setDMutScaleMax(double v)
{
    setScaleField(dMutMax, v);
}

void Analyzer::setRatioScaleMin(double v)
{
    setScaleField(ratioMin, v);
}

void Analyzer::setRatioScaleMax(double v)
{
    setScaleField(ratioMax, v);
}

void Analyzer::scalePolicyChanged(bool)
{
    applyScales(true);
}

void Analyzer::scaleChanged()
{
    applyScales(false);
}

void Analyzer::applyScales(bool policyChanged)
{
    const bool fixed = fixedScale->isChecked();
    const auto apply = [&](Analyzed2DRes *map, const QLineEdit *lo, const QLineEdit *hi) {
        if (policyChanged)
            map->setFixedScale(fixed);
        map->setScale(realOfText(lo->text()), realOfText(hi->text()));
    };
    for (LCFReference *row : refs) {
        apply(row->maps().value(DMutKind), dMutMin, dMutMax);
        apply(row->maps().value(RatioKind), ratioMin, ratioMax);
    }
    for (NamedMap m : {ZansaMap, RaDMutMap, RaRestMap})
        apply(maps[m], dMutMin, dMutMax);
    apply(maps[RaRatioMap], ratioMin, ratioMax);
    for (ElemCtrl *row : elems)
        for (Analyzed2DRes *map : row->maps())
            apply(map, dMutMin, dMutMax);
    emit changedSelection();
}

void Analyzer::buildElemPanel(QWidget *page)
{
    auto *layout = new QVBoxLayout(page);
    auto *namesRow = new QHBoxLayout;
    elemNames = field("AElemNames", "", page);
    elemNames->setMaximumWidth(QWIDGETSIZE_MAX);
    sortByANo = new QCheckBox(tr("Sort by A. No."), page);
    sortByANo->setObjectName(QStringLiteral("SortByANo"));
    sortByANo->setToolTip(tr("Sort the element rows by atomic number"));
    namesRow->addWidget(new QLabel(tr("Target Element Names"), page));
    namesRow->addWidget(elemNames, 1);
    namesRow->addWidget(sortByANo);
    layout->addLayout(namesRow);

    auto *runRow = new QHBoxLayout;
    auto *analyze = new QPushButton(tr("Analyze"), page);
    analyze->setObjectName(QStringLiteral("AskAnalyzeElems"));
    elemsProgress = new QLabel(QStringLiteral("0%"), page);
    elemsProgress->setObjectName(QStringLiteral("ElemsProgress"));
    elemsDispOnTimeBox = new QCheckBox(tr("Disp. on TIme"), page);
    elemsDispOnTimeBox->setObjectName(QStringLiteral("ElemsDispOnTime"));
    elemsDispOnTimeBox->setToolTip(dispOnTimeBox->toolTip());
    runRow->addWidget(analyze);
    runRow->addWidget(elemsProgress);
    runRow->addWidget(elemsDispOnTimeBox);
    runRow->addStretch();
    layout->addLayout(runRow);

    bgValues = new AElemsConds(page);
    layout->addWidget(bgValues);

    auto *corRow = new QHBoxLayout;
    auto *setStd = new QPushButton(tr("Set STD"), page);
    setStd->setObjectName(QStringLiteral("SetSTD"));
    setStd->setToolTip(tr("Take the composition of the spectrum on show as the standard"));
    elemsCorrelation = field("ElemsCorrelation", "1.0", page);
    elemsCorrelation->setReadOnly(true);
    corTh = field("CorTh", "0.9", page);
    corTh->setToolTip(tr("Correlation threshold"));
    auto *reCalc = new QPushButton(tr("ReCalc Cor."), page);
    reCalc->setObjectName(QStringLiteral("ReCalcCor"));
    reCalc->setToolTip(tr("Recalculate the correlation map against the standard"));
    corRow->addWidget(setStd);
    corRow->addWidget(new QLabel(tr("Correlation"), page));
    corRow->addWidget(elemsCorrelation);
    corRow->addWidget(new QLabel(tr("Cor. Th."), page));
    corRow->itemAt(corRow->count() - 1)->widget()->setToolTip(corTh->toolTip());
    corRow->addWidget(corTh);
    corRow->addWidget(reCalc);
    corRow->addStretch();
    layout->addLayout(corRow);

    auto *modeRow = new QGridLayout;
    modeRow->addWidget(new QLabel(tr("Show Map of"), page), 0, 0);
    elemDisplay = new QButtonGroup(page);
    static const char *const modes[ElemDisplays][2] = {{"ShowElemsDMut0",
                                                        QT_TR_NOOP("dMut of The Elem.")},
                                                       {"ShowElemsDMutN",
                                                        QT_TR_NOOP("N. dMut of The Elem.")},
                                                       {"ShowElemsCorr", QT_TR_NOOP("Correlation")},
                                                       {"ShowElemsCorrTh", QT_TR_NOOP("Cor. Th")},
                                                       {"ShowElemsMutPlus", QT_TR_NOOP("Mut+")},
                                                       {"ShowElemsMutMinus", QT_TR_NOOP("Mut-")},
                                                       {"ShowElemsDE", QT_TR_NOOP("dE")},
                                                       {"ShowElemsROI", QT_TR_NOOP("ROI")},
                                                       {"ShowElemsNROI", QT_TR_NOOP("N.ROI")}};
    for (int i = 0; i < ElemDisplays; ++i) {
        auto *b = new QRadioButton(tr(modes[i][1]), page);
        b->setObjectName(QString::fromLatin1(modes[i][0]));
        elemDisplay->addButton(b, i);
        modeRow->addWidget(b, i / 5, 1 + i % 5);
    }
    elemDisplay->button(ShowElemsDMut0)->setChecked(true);
    layout->addLayout(modeRow);

    auto *scroll = new QScrollArea(page);
    scroll->setWidgetResizable(true);
    auto *rows = new QWidget(scroll);
    elemBase = new QVBoxLayout(rows);
    elemBase->addStretch();
    scroll->setWidget(rows);
    layout->addWidget(scroll, 1);

    targetGroup = new QButtonGroup(this);
    showGroup = new QButtonGroup(this);
    connect(showGroup, &QButtonGroup::idClicked, this, &Analyzer::changedSelection);
    connect(elemDisplay, &QButtonGroup::idClicked, this, &Analyzer::changedSelection);
    connect(elemNames, &QLineEdit::editingFinished, this, &Analyzer::newElems);
    connect(analyze, &QPushButton::clicked, this, &Analyzer::askAnalyzeElems);
    connect(setStd, &QPushButton::clicked, this, &Analyzer::setElemsStd);
    connect(corTh, &QLineEdit::editingFinished, this, &Analyzer::newCorTh);
    connect(reCalc, &QPushButton::clicked, this, &Analyzer::recalcCorMap);
    connect(this, &Analyzer::setElemsProgressSig, this, &Analyzer::setElemsProgress);
}

void Analyzer::newElems()
{
    // A run writes into the rows' maps until it ends.
    if (running2D) {
        qDebug().noquote() << "Element rows not rebuilt: a run is going";
        return;
    }
    for (ElemCtrl *row : elems) {
        targetGroup->removeButton(row->mainTargetButton());
        showGroup->removeButton(row->showButton());
        delete row;
    }
    elems.clear();
    // Sorted first, so that the group ids are the rows' positions.
    const QVector<ElemTarget> targets = parseElemTargets(elemNames->text(), sortByANo->isChecked());
    for (const ElemTarget &t : targets) {
        auto *row = new ElemCtrl(t, this);
        const int index = elems.size();
        targetGroup->addButton(row->mainTargetButton(), index);
        showGroup->addButton(row->showButton(), index);
        for (Analyzed2DRes *map : row->maps())
            map->setColorBar(greyScale);
        elemBase->insertWidget(index, row);
        fitRowsArea(row);
        elems.append(row);
    }
    view->setEdgeMarks(edgeMarks());
    view->update();
    emit elemsChanged();
    emit changedSelection();
    reAnalyzeSpectrum();
}

void Analyzer::setTargetElements(const QString &names)
{
    elemNames->setText(names);
    newElems();
}

void Analyzer::setSortByANo(bool f)
{
    sortByANo->setChecked(f);
}

int Analyzer::elemIndex(const QString &arg) const
{
    QVector<ElemTarget> targets;
    for (const ElemCtrl *row : elems)
        targets.append(row->target());
    return findElemRow(targets, arg);
}

ElemCtrl *Analyzer::findElem(const QString &arg) const
{
    return elems.value(elemIndex(arg));
}

QVector<ElemRowSnapshot> Analyzer::elemSnapshots() const
{
    QVector<ElemRowSnapshot> rows;
    for (const ElemCtrl *row : elems)
        rows.append(row->snapshot());
    return rows;
}

int Analyzer::mainTargetRow() const
{
    const int id = targetGroup->checkedId();
    return id >= 0 && id < elems.size() ? id : 0;
}

bool Analyzer::elemsDispOnTime() const
{
    return elemsDispOnTimeBox->isChecked();
}

QVector<Analyzed2DRes *> Analyzer::elemRunMaps() const
{
    QVector<Analyzed2DRes *> list;
    for (int k = 0; k < ElemCtrl::Kinds; ++k)
        for (const ElemCtrl *row : elems)
            list.append(row->maps()[k]);
    list << maps[ElemsCorMap] << maps[ElemsCorThMap];
    return list;
}

QVector<XafsView::EdgeMark> Analyzer::edgeMarks() const
{
    QVector<XafsView::EdgeMark> marks;
    for (const ElemCtrl *row : elems)
        marks.append({row->target().z, row->target().edge});
    return marks;
}

Analyzed2DRes *Analyzer::currentElemMap() const
{
    const int mode = elemDisplay->checkedId();
    if (mode == ShowElemsCorrTh)
        return maps[ElemsCorThMap];
    if (mode == ShowElemsCorr)
        return maps[ElemsCorMap];
    // The kinds of a row's maps, by display mode.
    static const int kindOf[ElemDisplays] = {0, 1, -1, -1, 2, 3, 4, 5, 6};
    const ElemCtrl *row = elems.value(showGroup->checkedId());
    if (!row || mode < 0 || kindOf[mode] < 0)
        return nullptr;
    return row->maps()[kindOf[mode]];
}

void Analyzer::sendPendingElems()
{
    if (elemsInFlight != 0 || !hasPendingElems || running2D)
        return;
    ElemSpectrumWork work;
    work.request = ++lastRequest;
    work.sample = pendingElems;
    work.rows = elemSnapshots();
    work.mainTarget = mainTargetRow();
    work.bg = bgValues->background();
    hasPendingElems = false;
    pendingElems = XafsSpectrum();
    elemsInFlight = work.request;
    emit analyzeSpectrumElems0(work);
}

void Analyzer::elemsAnalyzed(quint64 request, const ElemResults &result)
{
    if (request != elemsInFlight)
        return;
    elemsInFlight = 0;
    // Rows rebuilt since the spectrum went out: its values are of others.
    if (!running2D && result.dmut.size() == elems.size()) {
        for (int i = 0; i < elems.size(); ++i)
            elems[i]->showResults(result, i);
        calcCorrelation();
    }
    emit analyzeElemsFinished();
    sendPendingElems();
}

void Analyzer::calcCorrelation()
{
    QVector<bool> use;
    QVector<double> ratio, n;
    for (const ElemCtrl *row : elems) {
        use.append(row->isUsed());
        ratio.append(row->stdRatio());
        n.append(row->lastN());
    }
    double cor = 0.0;
    if (ElemCorrelation(use, ratio).correlation(n, cor))
        emit setNewCorrelation(cor);
}

void Analyzer::setCorrelation(double cor)
{
    if (inSetCorrelation)
        return;
    inSetCorrelation = true;
    lastCorrelation = cor;
    elemsCorrelation->setText(QString::number(cor, 'g', 6));
    const bool above = cor > threshold;
    if (above != lastAbove) {
        elemsCorrelation->setStyleSheet(
            above ? QStringLiteral("background-color: rgb(211, 255, 241);")
                  : QStringLiteral("background-color: rgb(176, 192, 192);"));
        lastAbove = above;
    }
    inSetCorrelation = false;
}

void Analyzer::newCorTh()
{
    threshold = realOfText(corTh->text());
    corTh->setText(QString::number(threshold, 'g', 6));
    recalcCorMap();
}

void Analyzer::setCorTh(double v)
{
    corTh->setText(QString::number(v, 'g', 6));
    newCorTh();
}

void Analyzer::setElemsStd()
{
    for (ElemCtrl *row : elems)
        row->setStdRatio(row->lastN());
    recalcCorMap();
}

void Analyzer::recalcCorMap()
{
    QVector<const Analyzed2DRes *> nMaps;
    for (const ElemCtrl *row : elems)
        nMaps.append(row->maps()[1]);
    const ElemCorrelation corr(elemSnapshots());
    Analyzed2DRes *cor = maps[ElemsCorMap];
    Analyzed2DRes *corThMap = maps[ElemsCorThMap];
    // Before any run the maps have no area: nothing to rebuild.
    if (!cor->hasData())
        return;
    if (!recalcElemCorMaps(nMaps, corr, threshold, *cor, *corThMap, [this](double perCent) {
            setElemsProgress(QString::asprintf("%5.2f", perCent));
        }))
        return;
    cor->genImg();
    corThMap->genImg();
    emit changedSelection();
}

void Analyzer::setElemsProgress(const QString &perCent)
{
    elemsProgress->setText(perCent);
}

void Analyzer::setElemsDispOnTime(bool f)
{
    elemsDispOnTimeBox->setChecked(f);
}

void Analyzer::selectElemsDispMode(int n)
{
    if (QAbstractButton *b = elemDisplay->button(n))
        b->setChecked(true);
    emit changedSelection();
}

void Analyzer::selectElemTarget(int row)
{
    if (ElemCtrl *e = elems.value(row))
        e->mainTargetButton()->setChecked(true);
}

void Analyzer::selectElemShow(int row)
{
    if (ElemCtrl *e = elems.value(row))
        e->showButton()->setChecked(true);
}

void Analyzer::setElemsDE(double v)
{
    for (ElemCtrl *row : elems)
        row->setPrePostDE(v);
}

// The residual absorption, sum-up and map-processing panels. Their runs are
// the main window's (it owns the stacks and the area); the panels hold the
// settings, Map 1 and Map 2 and the choice of the map on show.

void Analyzer::buildResidualPanel(QWidget *page)
{
    auto *layout = new QVBoxLayout(page);
    auto *resRow = new QHBoxLayout;
    raAtEV = field("RAAtEV", "8200", page);
    raFactorField = field("RAFactor", "1.0", page);
    const QString resTip = tr("Residual map: mu t at the energy given, less the edge jump map "
                              "times the factor");
    raAtEV->setToolTip(resTip);
    raFactorField->setToolTip(resTip);
    resRow->addWidget(new QLabel(tr("Res = mut("), page));
    resRow->itemAt(resRow->count() - 1)->widget()->setToolTip(resTip);
    resRow->addWidget(raAtEV);
    resRow->addWidget(new QLabel(tr(" [eV])- dmut x"), page));
    resRow->addWidget(raFactorField);
    resRow->addStretch();
    layout->addLayout(resRow);

    auto *runRow = new QHBoxLayout;
    auto *analyze = new QPushButton(tr("Analyze"), page);
    analyze->setObjectName(QStringLiteral("AskRAAnalyze"));
    runRow->addWidget(analyze);
    runRow->addStretch();
    layout->addLayout(runRow);

    // Members of the image group, beside the reference rows and "Zansa".
    auto *showRow = new QHBoxLayout;
    const struct
    {
        QRadioButton **button;
        const char *name;
        const char *text;
        ImageId id;
    } shows[] = {{&showDMuT, "ShowDMuT", QT_TR_NOOP("Show dmut"), ShowDMuTId},
                 {&showRest, "ShowRest", QT_TR_NOOP("Show the Rest"), ShowRestId},
                 {&showRatio, "ShowRatio", QT_TR_NOOP("Show Ratio"), ShowRatioId}};
    for (const auto &s : shows) {
        *s.button = new QRadioButton(tr(s.text), page);
        (*s.button)->setObjectName(QString::fromLatin1(s.name));
        imageGroup->addButton(*s.button, s.id);
        showRow->addWidget(*s.button);
    }
    showRow->addStretch();
    layout->addLayout(showRow);
    layout->addStretch();

    connect(analyze, &QPushButton::clicked, this, &Analyzer::askRAAnalyze);
}

void Analyzer::buildSumUpPanel(QWidget *page)
{
    auto *layout = new QVBoxLayout(page);
    sumUpC = new SumUpCtrl(page);
    sumUpC->setObjectName(QStringLiteral("SumUpC"));
    layout->addWidget(sumUpC, 1);
    auto *runRow = new QHBoxLayout;
    auto *sumUp = new QPushButton(tr("Sum Up"), page);
    sumUp->setObjectName(QStringLiteral("AskSumUp"));
    runRow->addWidget(sumUp);
    runRow->addStretch();
    layout->addLayout(runRow);
    connect(sumUp, &QPushButton::clicked, this, &Analyzer::askSumUp);
}

void Analyzer::buildProcPanel(QWidget *page)
{
    auto *layout = new QGridLayout(page);
    procShowGroup = new QButtonGroup(page);
    for (int i = 0; i < 2; ++i) {
        const QString n = QString::number(i + 1);
        auto *select = new QPushButton(i == 0 ? tr("Select Map 1") : tr("Select Map 2"), page);
        select->setObjectName(QStringLiteral("SelMap") + n);
        auto *capture = new QPushButton(tr("Capture"), page);
        capture->setObjectName(QStringLiteral("CaptureAsMap") + n);
        mapNames[i] = new QLabel(page);
        mapNames[i]->setObjectName(QStringLiteral("Map%1Name").arg(n));
        mapNames[i]->setMinimumWidth(160);
        layout->addWidget(select, i, 0);
        layout->addWidget(capture, i, 1);
        layout->addWidget(mapNames[i], i, 2, 1, 3);

        mapDialogs[i] = new EShiftMapDialog(this);
        connect(select, &QPushButton::clicked, mapDialogs[i], &QDialog::show);
        connect(mapDialogs[i], &QFileDialog::fileSelected, this,
                [this, i](const QString &f) { loadMapFile(i + 1, f); });
        connect(capture, &QPushButton::clicked, this, [this, i] { captureAsMap(i + 1); });
    }

    const char *const showNames[][2] = {{"ShowMap1", QT_TR_NOOP("Map1")},
                                        {"ShowMap2", QT_TR_NOOP("Map2")},
                                        {"ShowProcessedMap", QT_TR_NOOP("Processed")}};
    for (int i = 0; i < 3; ++i) {
        auto *b = new QRadioButton(tr(showNames[i][1]), page);
        b->setObjectName(QString::fromLatin1(showNames[i][0]));
        procShowGroup->addButton(b, i);
        layout->addWidget(b, 2, i);
    }
    procShowGroup->button(0)->setChecked(true);

    // By their ids as MapProcType counts them; shown in the order of the
    // window: "Sub.", "Mask", "Div.".
    procTypeGroup = new QButtonGroup(page);
    const struct
    {
        const char *name;
        const char *text;
        int id;
    } types[] = {{"ProcTypeSub", QT_TR_NOOP("Sub."), MapProcSub},
                 {"ProcTypeMask", QT_TR_NOOP("Mask"), MapProcMask},
                 {"ProcTypeDiv", QT_TR_NOOP("Div."), MapProcDiv}};
    for (int i = 0; i < 3; ++i) {
        auto *b = new QRadioButton(tr(types[i].text), page);
        b->setObjectName(QString::fromLatin1(types[i].name));
        procTypeGroup->addButton(b, types[i].id);
        layout->addWidget(b, 3, i);
    }
    procTypeGroup->button(MapProcSub)->setChecked(true);
    auto *process = new QPushButton(tr("Process"), page);
    process->setObjectName(QStringLiteral("AskProcessMaps"));
    layout->addWidget(process, 3, 3);
    layout->setColumnStretch(4, 1);
    layout->setRowStretch(4, 1);

    connect(procShowGroup, &QButtonGroup::idClicked, this, &Analyzer::changedSelection);
    connect(process, &QPushButton::clicked, this, &Analyzer::processMaps);
}

double Analyzer::raEnergy() const
{
    return realOfText(raAtEV->text());
}

double Analyzer::raFactor() const
{
    return realOfText(raFactorField->text());
}

void Analyzer::setRaEnergy(double e)
{
    raAtEV->setText(QString::number(e, 'g', 10));
}

void Analyzer::setRaFactor(double f)
{
    raFactorField->setText(QString::number(f, 'g', 10));
}

int Analyzer::procType() const
{
    const int id = procTypeGroup->checkedId();
    return id < 0 ? MapProcSub : id;
}

int Analyzer::procShow() const
{
    return procShowGroup->checkedId();
}

QString Analyzer::mapName(int n) const
{
    return n == 1 || n == 2 ? mapNames[n - 1]->text() : QString();
}

void Analyzer::selectProcType(int type)
{
    if (QAbstractButton *b = procTypeGroup->button(type))
        b->setChecked(true);
}

void Analyzer::selectProcShow(int n)
{
    if (QAbstractButton *b = procShowGroup->button(n)) {
        b->setChecked(true);
        emit changedSelection();
    }
}

Analyzed2DRes *Analyzer::currentResidualMap() const
{
    // A map is shown only once a run has made its picture.
    Analyzed2DRes *map = nullptr;
    const struct
    {
        const QRadioButton *button;
        NamedMap map;
    } shows[] = {{showDMuT, RaDMutMap}, {showRest, RaRestMap}, {showRatio, RaRatioMap}};
    for (const auto &s : shows)
        if (s.button->isChecked() && maps[s.map]->isImageValid())
            map = maps[s.map];
    return map;
}

Analyzed2DRes *Analyzer::currentProcMap() const
{
    switch (procShowGroup->checkedId()) {
    case 2:
        return maps[ProcessedMap];
    case 1:
        return maps[EShiftMap2];
    case 0:
        return maps[EShiftMap1];
    default:
        return nullptr;
    }
}

void Analyzer::captureAsMap1()
{
    captureAsMap(1);
}

void Analyzer::captureAsMap2()
{
    captureAsMap(2);
}

bool Analyzer::captureAsMap(int n)
{
    if (n != 1 && n != 2) {
        qDebug().noquote() << "No map" << n << "to capture into (1 or 2)";
        return false;
    }
    const Analyzed2DRes *src = currentMap();
    Analyzed2DRes *target = maps[n == 1 ? EShiftMap1 : EShiftMap2];
    if (!src) {
        qDebug().noquote() << "Nothing captured as map" << n << ": no map on show";
        return false;
    }
    // Map 1 or 2 on show already is its own copy.
    if (src != target && !target->copyFrom(*src))
        return false;
    mapNames[n - 1]->setText(target->name());
    emit changedSelection();
    return true;
}

bool Analyzer::loadMapFile(int n, const QString &fname)
{
    if (n != 1 && n != 2) {
        qDebug().noquote() << "No map" << n << "to load into (1 or 2)";
        return false;
    }
    EMPHeader header;
    emit loadMap(fname, maps[n == 1 ? EShiftMap1 : EShiftMap2], &header);
    if (!header.valid)
        return false;
    mapNames[n - 1]->setText(fname);
    emit changedSelection();
    return true;
}

bool Analyzer::processMaps()
{
    const Analyzed2DRes *map1 = maps[EShiftMap1];
    const Analyzed2DRes *map2 = maps[EShiftMap2];
    // Without both pictures there is nothing to combine, and nothing to say.
    if (!map1->isImageValid() || !map2->isImageValid())
        return false;
    AnalyzeCond walk;
    if (!emit askAnalyzeCond(&walk)) {
        qDebug().noquote() << "Map processing not run: no area to walk";
        return false;
    }
    if (!::processMaps(*map1, *map2, walk, procType(), *maps[ProcessedMap]))
        return false;
    emit changedSelection();
    return true;
}
