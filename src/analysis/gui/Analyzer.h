#pragma once

#include "analysis/AnalyzeProc.h"
#include "analysis/LcfFit.h"
#include "spectrum/XafsSpectrum.h"
#include "spectrum/gui/XafsView.h"

#include <QVector>
#include <QWidget>

class AElemsConds;
class EShiftMapDialog;
class Analyzed2DRes;
class ElemCtrl;
class LCFReference;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QThread;
class QVBoxLayout;
class SumUpCtrl;
struct AnalyzeCond;
struct EMPHeader;
struct GreyScale;

// The analysis control window: the reference rows of the LCF fit with their
// maps, the fit settings, the choice of the map on show and its scale, and
// the fitting worker in its own thread. It fits the spectrum under the mouse
// itself, one spectrum in flight at a time; the 2D runs are driven by the
// main window, which reads the settings and the maps from here.
class Analyzer : public QWidget
{
    Q_OBJECT
public:
    // The analysis panels, in the order of their selectors.
    enum Panel { LcfPanel, ResidualPanel, ElementPanel, SumUpPanel, ProcessPanel };
    // The LCF map kinds of a reference row.
    enum Kind { DMutKind, RatioKind, Kinds };
    // Ids of the non-reference buttons of the image group (the reference
    // rows are 0, 1, 2, ...).
    enum ImageId { ShowZId = -2, ShowDMuTId = -3, ShowRestId = -4, ShowRatioId = -5 };
    // The named maps, in the order they are made.
    enum NamedMap {
        ZansaMap,
        RaDMutMap,
        RaRestMap,
        RaRatioMap,
        ElemsCorMap,
        ElemsCorThMap,
        SumUpMap,
        ProcessedMap,
        EShiftMap1,
        EShiftMap2,
        NamedMaps
    };
    // The element display modes ("Show Map of"), by their ids.
    enum ElemDisplay {
        ShowElemsDMut0,
        ShowElemsDMutN,
        ShowElemsCorr,
        ShowElemsCorrTh,
        ShowElemsMutPlus,
        ShowElemsMutMinus,
        ShowElemsDE,
        ShowElemsROI,
        ShowElemsNROI,
        ElemDisplays
    };
    static constexpr int maxReferences = 32;

    explicit Analyzer(QWidget *parent = nullptr);
    ~Analyzer() override;

    AnalyzeProc *worker() const { return proc; }
    XafsView *xafsView() const { return view; }

    int referenceCount() const { return refs.size(); }
    LCFReference *reference(int i) const { return refs.value(i); }
    // The rows as the fit reads them, in row order (taken once per change).
    QVector<LcfReferenceSnapshot> referenceSnapshots() const;
    // Appends rows until there are n (at most maxReferences).
    void ensureReferences(int n);

    bool isMLCF() const;
    double lcfRangeStart() const;
    double lcfRangeEnd() const;
    bool dispOnTime() const;
    bool inRun() const { return running2D; }

    Analyzed2DRes *namedMap(NamedMap m) const { return maps.value(m); }
    // The maps an LCF run fills: every row's DMut map, then every row's
    // Ratio map.
    QVector<Analyzed2DRes *> lcfRunMaps() const;
    // The map on show (null when none).
    Analyzed2DRes *currentMap() const;
    int analysisPanel() const;

    // The element rows in display order, and the row a command's argument
    // names (its name, else its element symbol, else a whole number taken
    // as the index); null, logged, when none.
    int elemCount() const { return elems.size(); }
    ElemCtrl *elem(int i) const { return elems.value(i); }
    ElemCtrl *findElem(const QString &arg) const;
    int elemIndex(const QString &arg) const;
    AElemsConds *elemsConds() const { return bgValues; }
    // Everything the element computation reads, taken in the GUI thread:
    // the rows, the main target (the first row when none is checked) and
    // the background values.
    QVector<ElemRowSnapshot> elemSnapshots() const;
    int mainTargetRow() const;
    double correlation() const { return lastCorrelation; }
    double corThreshold() const { return threshold; }
    bool elemsDispOnTime() const;
    // The maps an element run fills: kind by kind, every row's map of that
    // kind, then "a2d ElemsCor" and "a2d ElemsCorTh".
    QVector<Analyzed2DRes *> elemRunMaps() const;
    // The rows' edges for the spectrum windows to mark.
    QVector<XafsView::EdgeMark> edgeMarks() const;
    int lcfImageType() const;
    // Index of the first row whose "Show" is on; 0 when none.
    int shownReferenceRow() const;
    // The text of the progress label.
    QString progressText() const;
    // Pictures of every map follow this bar's handles.
    void setColorBar(const GreyScale *bar);

    // The residual absorption, sum-up and map-processing panels.
    // The residual absorption's energy (eV) and factor of dmut, as typed.
    double raEnergy() const;
    double raFactor() const;
    SumUpCtrl *sumUpCtrl() const { return sumUpC; }
    // The processing type (MapProcType) and the map shown on the panel
    // (0 Map 1, 1 Map 2, 2 the processed map), by the checked buttons.
    int procType() const;
    int procShow() const;
    // The name shown for Map 1 (n = 1) or Map 2 (n = 2).
    QString mapName(int n) const;

signals:
    void askAnalyze();
    // The fit of a single spectrum is in (weights and residual shown).
    void finished();
    void changedSelection();
    // Sets walk up over the main window's area; false when it cannot.
    bool askAnalyzeCond(AnalyzeCond *walk);
    void askRAAnalyze();
    void askSumUp();
    // Reads the map file fname into map, its header into empH, before the
    // signal returns.
    void loadMap(const QString &fname, Analyzed2DRes *map, EMPHeader *empH);
    void analyzeSpectrum0(const LcfSpectrumWork &work);
    void askAnalyzeElems();
    // The element analysis of a single spectrum is in.
    void analyzeElemsFinished();
    void setNewCorrelation(double cor);
    void analyzeSpectrumElems0(const ElemSpectrumWork &work);
    void setElemsProgressSig(const QString &perCent);
    // The element rows were rebuilt.
    void elemsChanged();

public slots:
    void analyzeSpectrum(const XafsSpectrum &s);
    void reAnalyzeSpectrum();
    void analyzeAndShowSpectrum(const XafsSpectrum &s);
    void noticedNewZ(double z);
    void setContAccess(bool f);
    void setLCFMode(bool f);
    void setLCFRange(double from, double to);
    void setProgress(const QString &perCent);
    void show();
    void selectAnalysisPanel(int n);
    void selectImageType(int n);
    // Checks the image button with that id, if there is one, and emits
    // changedSelection().
    void selectImage(int id);
    void setFixedScale(bool f);
    // One bound of a map kind's fixed scale, written into its field and
    // applied.
    void setDMutScaleMin(double v);
    void setDMutScaleMax(double v);
    void setRatioScaleMin(double v);
    void setRatioScaleMax(double v);
    void scalePolicyChanged(bool f);
    void scaleChanged();
    // The element panel.
    void newElems();
    void setTargetElements(const QString &names);
    void setSortByANo(bool f);
    void setElemsStd();
    void calcCorrelation();
    void setCorrelation(double cor);
    void newCorTh();
    void setCorTh(double v);
    void recalcCorMap();
    void setElemsProgress(const QString &perCent);
    void setElemsDispOnTime(bool f);
    void selectElemsDispMode(int n);
    void selectElemTarget(int row);
    void selectElemShow(int row);
    void setElemsDE(double v);
    // "Add Ref": a new row at the end.
    LCFReference *addReference();
    // The residual absorption, sum-up and map-processing panels.
    void setRaEnergy(double e);
    void setRaFactor(double f);
    // Map 1 or Map 2 becomes a copy of the map on show.
    void captureAsMap1();
    void captureAsMap2();
    bool captureAsMap(int n);
    // Reads a map file into Map 1 or Map 2; false when it was not read.
    bool loadMapFile(int n, const QString &fname);
    // Combines Map 1 and Map 2 into the processed map over the main
    // window's area; false when nothing was made.
    bool processMaps();
    // Checks the processing type or the map shown by number; other numbers
    // change nothing.
    void selectProcType(int type);
    void selectProcShow(int n);

private slots:
    void spectrumFitted(quint64 request, bool ok, const LcfResult &result);
    void elemsAnalyzed(quint64 request, const ElemResults &result);

private:
    void buildLcfPanel(QWidget *page);
    void buildElemPanel(QWidget *page);
    void buildResidualPanel(QWidget *page);
    void buildSumUpPanel(QWidget *page);
    void buildProcPanel(QWidget *page);
    Analyzed2DRes *currentResidualMap() const;
    Analyzed2DRes *currentProcMap() const;
    void sendPendingElems();
    Analyzed2DRes *currentElemMap() const;
    void sendPending();
    void referencesChanged();
    void applyScales(bool policyChanged);
    void redrawView();
    void setScaleField(QLineEdit *e, double v);

    QThread *workerThread = nullptr;
    AnalyzeProc *proc = nullptr;
    XafsView *view = nullptr;
    QVector<LCFReference *> refs;
    QVector<Analyzed2DRes *> maps;
    const GreyScale *greyScale = nullptr;

    QButtonGroup *panelGroup = nullptr;
    QStackedWidget *panels = nullptr;
    QButtonGroup *imageGroup = nullptr;
    QVBoxLayout *refBase = nullptr;
    QPushButton *showZ = nullptr;
    QRadioButton *selDMut = nullptr;
    QRadioButton *selRatio = nullptr;
    QCheckBox *mlcf = nullptr;
    QCheckBox *dispOnTimeBox = nullptr;
    QCheckBox *fixedScale = nullptr;
    QLabel *progress = nullptr;
    QLineEdit *dispZansa = nullptr;
    QLineEdit *range1 = nullptr;
    QLineEdit *range2 = nullptr;
    QLineEdit *dMutMin = nullptr;
    QLineEdit *dMutMax = nullptr;
    QLineEdit *ratioMin = nullptr;
    QLineEdit *ratioMax = nullptr;

    QVector<ElemCtrl *> elems;
    QVBoxLayout *elemBase = nullptr;
    QButtonGroup *targetGroup = nullptr;
    QButtonGroup *showGroup = nullptr;
    QButtonGroup *elemDisplay = nullptr;
    AElemsConds *bgValues = nullptr;
    QLineEdit *elemNames = nullptr;
    QCheckBox *sortByANo = nullptr;
    QCheckBox *elemsDispOnTimeBox = nullptr;
    QLabel *elemsProgress = nullptr;
    QLineEdit *elemsCorrelation = nullptr;
    QLineEdit *corTh = nullptr;
    double lastCorrelation = 1.0;
    double threshold = 0.9;
    bool lastAbove = false;
    bool inSetCorrelation = false;
    XafsSpectrum pendingElems;
    bool hasPendingElems = false;
    quint64 elemsInFlight = 0;

    // The residual absorption, sum-up and map-processing panels.
    QLineEdit *raAtEV = nullptr;
    QLineEdit *raFactorField = nullptr;
    QRadioButton *showDMuT = nullptr;
    QRadioButton *showRest = nullptr;
    QRadioButton *showRatio = nullptr;
    SumUpCtrl *sumUpC = nullptr;
    QButtonGroup *procTypeGroup = nullptr;
    QButtonGroup *procShowGroup = nullptr;
    QLabel *mapNames[2] = {};
    EShiftMapDialog *mapDialogs[2] = {};

    bool running2D = false;
    // The references as last taken; rebuilt after any row changed.
    mutable QVector<LcfReferenceSnapshot> snapshots;
    mutable bool snapshotsStale = true;
    // The single-spectrum fit: the last spectrum shown, the one waiting to
    // be sent and the request in flight with the rows it used.
    XafsSpectrum lastSpectrum;
    XafsSpectrum pending;
    bool hasPending = false;
    quint64 lastRequest = 0;
    quint64 inFlight = 0;
    QVector<int> inFlightRows;
    // What the spectrum window draws beside the spectrum: the fitted curve
    // and the references.
    QVector<XafsSpectrum> drawn;
};
