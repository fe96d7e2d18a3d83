#include "analysis/LcfRun.h"

#include "analysis/Analyzed2DRes.h"
#include "app/DebugLog.h"

#include <QDebug>

#include <algorithm>

namespace {

// The most absorption values one hand-over to the worker holds (32 MiB).
constexpr qint64 maxRowValues = qint64(1) << 22;

} // namespace

LcfRun::LcfRun(AnalyzeProc *worker, QObject *parent)
    : QObject(parent)
    , worker(worker)
{
    // Queued both ways, also when the worker shares this thread: a row is
    // never fitted inside the call that sends it.
    connect(this, &LcfRun::fitRowSig, worker, &AnalyzeProc::fitRow, Qt::QueuedConnection);
    connect(worker, &AnalyzeProc::rowFitted, this, &LcfRun::rowFitted, Qt::QueuedConnection);
}

QVector<Analyzed2DRes *> LcfRun::runMaps() const
{
    QVector<Analyzed2DRes *> all = cond.maps;
    if (cond.zansa)
        all.append(cond.zansa);
    return all;
}

bool LcfRun::start(const Setup &setup)
{
    const QString what = setup.isElems ? QStringLiteral("Element run") : QStringLiteral("LCF run");
    if (running) {
        qDebug().noquote() << what << "not started: a run is already going";
        return false;
    }
    if (setup.source.i1Count() < 1) {
        qDebug().noquote() << what << "not started: no I1 frames";
        return false;
    }
    if (setup.isElems) {
        const int rows = setup.elemRows.size();
        if (rows < 1) {
            qDebug().noquote() << "Element run not started: no element rows";
            return false;
        }
        if (setup.maps.size() != ElemResults::Kinds * rows + 2 || setup.maps.contains(nullptr)) {
            qDebug().noquote() << "Element run not started: the maps do not match the element rows";
            return false;
        }
        cond = setup;
        cond.walk.reset();
        return startElems();
    }
    const int rows = setup.refs.size();
    if (rows < 2) {
        qDebug().noquote() << "LCF run not started: fewer than two reference rows";
        return false;
    }
    if (setup.maps.size() != 2 * rows || setup.maps.contains(nullptr) || !setup.zansa) {
        qDebug().noquote() << "LCF run not started: the maps do not match the reference rows";
        return false;
    }
    cond = setup;
    cond.walk.reset();
    running = true;
    runId = worker->newRunId();
    worker->setContAccess(true);
    emit progress(QString::asprintf("%5.2f", 0.0));
    timeStampLog("2da 1:");

    for (int k = 0; k < 2; ++k)
        for (int j = 0; j < rows; ++j) {
            Analyzed2DRes *map = cond.maps[k * rows + j];
            if (!map->prepare(cond.walk)) {
                end(false);
                return false;
            }
            map->setNo(k * rows + j);
        }
    if (!cond.zansa->prepare(cond.walk)) {
        end(false);
        return false;
    }
    timeStampLog("2da 2:");

    // The fit is set up for the energies of the first bin; a bin whose
    // energies differ (another shift) is fitted without the preparation,
    // with the same result. Every bin inside the data has the I1 frame
    // energies, less its shift.
    energies = cond.source.energies();
    const double shift = cond.shiftAt ? cond.shiftAt(cond.walk.cx, cond.walk.cy) : 0.0;
    QVector<double> sampleEnergies(energies.size());
    for (int i = 0; i < energies.size(); ++i)
        sampleEnergies[i] = energies[i] - shift;
    fit = std::make_shared<const LcfSetup>(cond.refs, sampleEnergies, cond.isMLCF, cond.sE0,
                                           cond.eE0);

    beginRows();
    return true;
}

bool LcfRun::startElems()
{
    running = true;
    runId = worker->newRunId();
    worker->setContAccess(true);
    emit progress(QString::asprintf("%5.2f", 0.0));
    for (int i = 0; i < cond.maps.size(); ++i) {
        if (!cond.maps[i]->prepare(cond.walk)) {
            end(false);
            return false;
        }
        cond.maps[i]->setNo(i);
    }
    elems = std::make_shared<ElemAnalysis>(cond.elemRows, cond.mainTarget, cond.bg);
    correlation = std::make_shared<const ElemCorrelation>(cond.elemRows);
    energies = cond.source.energies();
    beginRows();
    return true;
}

void LcfRun::beginRows()
{
    building = cond.walk;
    buildingDone = false;
    recording = cond.walk;
    rowsSent = 0;
    rowsRecorded = 0;
    // Two rows in flight: the worker fits one while the next is built.
    sendNextRow();
    sendNextRow();
}

void LcfRun::stop()
{
    if (!running)
        return;
    end(false);
    // The element run keeps no log.
    if (!cond.isElems)
        timeStampLog("2da 4:");
    emit stopped();
}

bool LcfRun::sendNextRow()
{
    if (buildingDone)
        return false;
    LcfRowWork work;
    work.run = runId;
    work.row = rowsSent;
    work.isVictoreen = cond.isVictoreen;
    work.setup = fit;
    work.elems = elems;
    work.correlation = correlation;
    work.energies = energies;
    // The bins of one row, from the first not yet built to the row's end, a
    // step apart. A row of very many frames and bins goes in pieces, so
    // that no hand-over holds more than maxRowValues values; the pieces are
    // recorded like rows, the progress still moves at each new row.
    const int x0 = building.cx;
    const int cy = building.cy;
    const qint64 left =
        qint64(building.x1) > x0 ? (qint64(building.x1) - x0 - 1) / building.sx + 1 : 1;
    const qint64 most = std::max<qint64>(1, maxRowValues / std::max(1, energies.size()));
    const int count = int(std::min(left, most));
    work.mu.resize(count * energies.size());
    work.inside.resize(count);
    work.shifts.resize(count);
    cond.source.absorptionRow(x0, building.sx, count, cy, building.hx, building.hy, work.mu.data(),
                              work.inside.data(), rowBuffers);
    for (int b = 0; b < count; ++b) {
        work.shifts[b] = cond.shiftAt ? cond.shiftAt(building.cx, building.cy) : 0.0;
        if (!building.advance()) {
            buildingDone = true;
            break;
        }
    }
    ++rowsSent;
    emit fitRowSig(work);
    return true;
}

void LcfRun::rowFitted(const LcfRowResult &result)
{
    // Rows of a stopped or earlier run: dropped.
    if (!running || result.run != runId)
        return;
    if (result.row != rowsRecorded) {
        qDebug().noquote() << "LCF run: row" << result.row << "came back, row" << rowsRecorded
                           << "expected; run stopped";
        stop();
        return;
    }
    record(result);
}

void LcfRun::record(const LcfRowResult &result)
{
    const int rows = cond.refs.size();
    const int used = result.usedCount;
    const int bins = cond.isElems ? result.cor.size() : result.z.size();
    for (int b = 0; b < bins; ++b) {
        const int cx = recording.cx;
        const int cy = recording.cy;
        const int hx = recording.hx;
        const int hy = recording.hy;
        if (cond.isElems)
            recordElems(result, b);
        else {
            // The engine's values are indexed by used rows only; unused rows
            // keep their zeros.
            int k = 0;
            for (int i = 0; i < rows && k < used; ++i) {
                if (!cond.refs[i].used)
                    continue;
                cond.maps[i]->setData(cx, cy, hx, hy, result.dmut[b * used + k]);
                cond.maps[rows + i]->setData(cx, cy, hx, hy, result.ratio[b * used + k]);
                ++k;
            }
            const double z = result.z[b];
            cond.zansa->setData(cx, cy, hx, hy, z);
            if (z > 1.0)
                qDebug().noquote() << z << cx << cy;
        }

        bool newRow = false;
        if (!recording.advance(newRow)) {
            end(true);
            return;
        }
        if (newRow) {
            if (dispOnTime)
                generateImages();
            const int span = recording.y1 - recording.y0;
            const double perCent = span != 0 ? double(recording.cy - recording.y0) / span * 100 : 0;
            emit progress(QString::asprintf("%5.2f", perCent));
        }
    }
    ++rowsRecorded;
    sendNextRow();
}

void LcfRun::recordElems(const LcfRowResult &result, int bin)
{
    const int cx = recording.cx;
    const int cy = recording.cy;
    const int hx = recording.hx;
    const int hy = recording.hy;
    const int values = cond.maps.size() - 2;
    const double *v = result.elemValues.constData() + qint64(bin) * values;
    for (int i = 0; i < values; ++i)
        cond.maps[i]->setData(cx, cy, hx, hy, v[i]);
    const double c = result.cor[bin];
    cond.maps[values]->setData(cx, cy, hx, hy, c);
    cond.maps[values + 1]->setData(cx, cy, hx, hy, corThValue(c, cond.corThreshold));
}

void LcfRun::generateImages()
{
    for (Analyzed2DRes *map : runMaps())
        map->genImg();
    emit imagesGenerated();
}

void LcfRun::end(bool completed)
{
    if (completed)
        generateImages();
    running = false;
    worker->cancelBelow(runId + 1);
    worker->setContAccess(false);
    fit.reset();
    elems.reset();
    correlation.reset();
    rowBuffers = SpectrumSource::RowBuffers();
    if (completed) {
        emit progress(QString::asprintf("%5.2f", 100.0));
        if (!cond.isElems)
            timeStampLog("2da 3:");
        emit finished();
    }
}
