#pragma once

#include "analysis/AnalyzeCond.h"
#include "analysis/AnalyzeProc.h"
#include "analysis/LcfFit.h"
#include "core/SpectrumSource.h"

#include <QObject>
#include <QString>
#include <QVector>

#include <functional>
#include <memory>

class Analyzed2DRes;

// One 2D LCF (or MLCF) run, or element run, over an area, driven from the GUI thread, with the
// fitting done by an AnalyzeProc in its own thread. The bins go to the worker
// a row at a time: the spectrum of a single bin is cheap next to a queued
// call between threads, so a row is handed over whole (a row of very many
// frames and bins in pieces) and two rows are kept in flight, the next one
// built here, frame by frame, while the worker fits the current one.
// Rows come back in walk order and are recorded bin by bin into the maps
// exactly as bins fitted one at a time would be.
//
// Life: idle -> start() -> running -> (last row recorded: finished()) or
// (stop(): stopped()) -> idle. A row of an earlier run that arrives late is
// dropped. The maps and the frames behind the source must outlive the run.
class LcfRun : public QObject
{
    Q_OBJECT
public:
    // The energy shift of the bin centred at (cx, cy).
    using ShiftAt = std::function<double(int cx, int cy)>;

    struct Setup
    {
        // The walk, already set up over the area.
        AnalyzeCond walk;
        SpectrumSource source;
        // The reference rows in order, used or not.
        QVector<LcfReferenceSnapshot> refs;
        bool isMLCF = false;
        double sE0 = 0.0;
        double eE0 = 30000.0;
        // Background form of the bins' spectra.
        bool isVictoreen = false;
        // Null gives every bin the shift 0.
        ShiftAt shiftAt;
        // The maps of the reference rows: the DMut maps of all rows in row
        // order, then their Ratio maps (2 x rows entries), and the residual
        // map ("a2d Zansa").
        QVector<Analyzed2DRes *> maps;
        Analyzed2DRes *zansa = nullptr;

        // An element run instead of a fit: its rows, main target,
        // background values and correlation threshold. maps then holds the
        // rows' maps kind by kind (7 x rows) and the two correlation maps;
        // the fit fields and zansa are not read.
        bool isElems = false;
        QVector<ElemRowSnapshot> elemRows;
        int mainTarget = 0;
        ElemBackground bg;
        double corThreshold = 0.9;
    };

    // Connects to the worker (queued when it lives in another thread).
    explicit LcfRun(AnalyzeProc *worker, QObject *parent = nullptr);

    bool isRunning() const { return running; }
    // The kind of the current or last run.
    bool isElemsRun() const { return cond.isElems; }
    // Regenerate the pictures of the maps at each new row ("Disp. on Time").
    void setDispOnTime(bool f) { dispOnTime = f; }
    // The maps of the current or last run (the reference maps, then the
    // residual map).
    QVector<Analyzed2DRes *> runMaps() const;

    // Starts a run; false (logged, nothing running, no signal) when it
    // cannot: a run already going, no I1 frame, fewer than two reference
    // rows, a map list that does not fit them, or maps that cannot be
    // prepared.
    bool start(const Setup &setup);
    // Ends the run at once: the rows in flight are dropped, the maps keep
    // what was recorded, stopped() follows. Nothing when idle.
    void stop();

signals:
    // Per-cent done as shown in the progress label ("%5.2f").
    void progress(const QString &text);
    // The pictures of the maps were regenerated (at a new row with
    // dispOnTime, and at the end).
    void imagesGenerated();
    // The last bin is recorded and the pictures generated.
    void finished();
    // The run was stopped.
    void stopped();
    // Internal: a row for the worker.
    void fitRowSig(const LcfRowWork &work);

private slots:
    void rowFitted(const LcfRowResult &result);

private:
    bool sendNextRow();
    void record(const LcfRowResult &result);
    void recordElems(const LcfRowResult &result, int bin);
    bool startElems();
    void beginRows();
    void generateImages();
    // Leaves the running state; a completed run first generates the pictures
    // and then reports 100.00, "2da 3:" and finished().
    void end(bool completed);

    AnalyzeProc *worker;
    bool running = false;
    bool dispOnTime = false;
    quint64 runId = 0;
    Setup cond;
    std::shared_ptr<const LcfSetup> fit;
    std::shared_ptr<ElemAnalysis> elems;
    std::shared_ptr<const ElemCorrelation> correlation;
    // The I1 frame energies, and the working rows of the row being built.
    QVector<double> energies;
    SpectrumSource::RowBuffers rowBuffers;
    // The walk as rows are built and as they are recorded.
    AnalyzeCond building;
    bool buildingDone = true;
    AnalyzeCond recording;
    int rowsSent = 0;
    int rowsRecorded = 0;
};
