#include "analysis/gui/Analyzer.h"

#include "analysis/Analyzed2DRes.h"
#include "analysis/gui/LCFReference.h"
#include "analysis/gui/XafsFileSelect.h"
#include "app/TextNumbers.h"
#include "spectrum/gui/XafsView.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QThread>
#include <QVBoxLayout>

namespace {

QLineEdit *field(const char *name, const char *text, QWidget *parent)
{
    auto *e = new QLineEdit(QString::fromLatin1(text), parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaximumWidth(90);
    return e;
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
        // Only the LCF panel has its controls yet.
        b->setVisible(i == LcfPanel);
    }
    panelGroup->button(LcfPanel)->setChecked(true);
    top->addLayout(selectors);
    top->addWidget(panels, 1);
    buildLcfPanel(panels->widget(LcfPanel));

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
    dispZansa = field("DispZansa", "0.0", page);
    dispZansa->setReadOnly(true);
    auto *showView = new QPushButton(tr("Show View"), page);
    showView->setObjectName(QStringLiteral("ShowView"));
    runRow->addWidget(analyze);
    runRow->addWidget(progress);
    runRow->addWidget(dispOnTimeBox);
    runRow->addWidget(new QLabel(tr("Zansa"), page));
    runRow->addWidget(dispZansa);
    runRow->addWidget(showView);
    runRow->addStretch();
    layout->addLayout(runRow);

    auto *fitRow = new QHBoxLayout;
    range1 = field("LCFRange1", "0", page);
    range2 = field("LCFRange2", "30000", page);
    mlcf = new QCheckBox(tr("MLCF"), page);
    mlcf->setObjectName(QStringLiteral("MLCF"));
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
    selRatio = new QRadioButton(tr("Ratio"), page);
    selRatio->setObjectName(QStringLiteral("SelRatio"));
    auto *typeGroup = new QButtonGroup(page);
    typeGroup->addButton(selDMut, DMutKind);
    typeGroup->addButton(selRatio, RatioKind);
    showZ = new QPushButton(tr("Zansa"), page);
    showZ->setObjectName(QStringLiteral("ShowZ"));
    showZ->setCheckable(true);
    auto *addRef = new QPushButton(tr("Add Ref"), page);
    addRef->setObjectName(QStringLiteral("AddRef"));
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
    case SumUpPanel:
        return maps[SumUpMap];
    default:
        // The other panels' displays arrive with their controls.
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
    if (running2D || panelGroup->checkedId() != LcfPanel || refs.size() < 2)
        return;
    pending = s;
    hasPending = true;
    sendPending();
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
    if (!f)
        sendPending();
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
    emit changedSelection();
}
