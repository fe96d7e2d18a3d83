#pragma once

#include "analysis/ElemAnalysis.h"
#include "analysis/LcfFit.h"
#include "spectrum/SpectrumPoints.h"

#include <QMetaType>
#include <QObject>
#include <QVector>

#include <atomic>
#include <memory>

// One row of bins of a 2D LCF run on its way to the worker: the absorption
// values of every bin (one per frame energy, bin after bin, in walk order),
// whether the bin lies inside the data (a bin outside has an empty spectrum
// and no values) and its energy shift; the frame energies and the fit set up
// once for the run (shared, never changed after the start).
struct LcfRowWork
{
    quint64 run = 0;
    int row = 0;
    QVector<double> mu;
    QVector<quint8> inside;
    QVector<double> shifts;
    QVector<double> energies;
    bool isVictoreen = false;
    std::shared_ptr<const LcfSetup> setup;
    // A row of an element run carries the element analysis (used by the
    // worker alone, one row after another) and the correlation instead of a
    // fit set-up.
    std::shared_ptr<ElemAnalysis> elems;
    std::shared_ptr<const ElemCorrelation> correlation;
};

// The fitted row coming back: per bin, usedCount values of ratio and of dmut
// (bin after bin) and one residual.
struct LcfRowResult
{
    quint64 run = 0;
    int row = 0;
    int usedCount = 0;
    QVector<double> ratio;
    QVector<double> dmut;
    QVector<double> z;
    // An element run's row: per bin the values of every element row kind by
    // kind (dmut of all rows, then N, mu+, mu-, DE, ROI, NROI), and the
    // bin's correlation with the standard composition (0 where there is
    // none).
    QVector<double> elemValues;
    QVector<double> cor;
};

// One spectrum to fit outside a run (the spectrum under the mouse), with the
// reference rows as they were when it was sent.
struct LcfSpectrumWork
{
    quint64 request = 0;
    XafsSpectrum sample;
    QVector<LcfReferenceSnapshot> refs;
    bool isMLCF = false;
    double sE0 = 0.0;
    double eE0 = 30000.0;
};

// One spectrum for the element analysis outside a run, with the rows and
// background values as they were when it was sent.
struct ElemSpectrumWork
{
    quint64 request = 0;
    XafsSpectrum sample;
    QVector<ElemRowSnapshot> rows;
    int mainTarget = 0;
    ElemBackground bg;
};

Q_DECLARE_METATYPE(LcfRowWork)
Q_DECLARE_METATYPE(ElemSpectrumWork)
Q_DECLARE_METATYPE(ElemResults)
Q_DECLARE_METATYPE(LcfRowResult)
Q_DECLARE_METATYPE(LcfSpectrumWork)
Q_DECLARE_METATYPE(LcfResult)

// The fitting worker of the 2D runs; lives in a thread of its own. Usage:
//     auto *thread = new QThread;  auto *proc = new AnalyzeProc;
//     proc->moveToThread(thread);  thread->start();
// Rows arrive as queued calls of fitRow and run in turn; each fitted row
// goes back by rowFitted, tagged with its run, so the receiver can drop the
// rows of a run it has given up. cancelBelow(id), callable from any thread,
// drops every run below id: the row being fitted stops before its next bin
// and queued rows end without fitting, neither sending anything.
class AnalyzeProc : public QObject
{
    Q_OBJECT
public:
    explicit AnalyzeProc(QObject *parent = nullptr);

    // Drops every run whose id is below `id`; safe from any thread. A lower
    // id than before changes nothing.
    void cancelBelow(quint64 id);
    // A fresh run id, above every id handed out before, so that whoever
    // drives the worker never reuses an id a cancel has covered.
    quint64 newRunId() { return ++lastRun; }

    // Continuous access: set while a 2D run goes, when the fits must leave
    // the reference rows' displays alone. Written by the GUI thread.
    bool contAccess() const { return continuous.load(); }

public slots:
    void setContAccess(bool f) { continuous.store(f); }
    // Fits each bin of the row with the row's set-up, as the bin's spectrum
    // (its values at the frame energies, its shift, normalized with the
    // row's background form) is fitted, and sends the results by rowFitted.
    void fitRow(const LcfRowWork &work);
    // Fits one spectrum with its fitted curve normalized for drawing; the
    // answer always comes, by spectrumFitted with the work's request (ok
    // false when the work had fewer than two reference rows).
    void analyzeSpectrum0(const LcfSpectrumWork &work);
    // The element analysis of one spectrum; the answer always comes, by
    // elemsAnalyzed with the work's request.
    void analyzeSpectrumElems0(const ElemSpectrumWork &work);

signals:
    void rowFitted(const LcfRowResult &result);
    void spectrumFitted(quint64 request, bool ok, const LcfResult &result);
    void elemsAnalyzed(quint64 request, const ElemResults &result);

private:
    void analyzeElemsRow(const LcfRowWork &work);
    bool cancelled(quint64 run) const { return run < cancelledBelow.load(); }

    std::atomic<quint64> cancelledBelow{0};
    std::atomic<bool> continuous{false};
    std::atomic<quint64> lastRun{0};
};
