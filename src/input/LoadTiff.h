#pragma once

#include "input/TiffData.h"

#include <QMetaType>
#include <QObject>
#include <QStringList>

#include <atomic>
#include <memory>

// A frame on its way from a loader to its receiver. Copies share the frame;
// the receiver takes it out with take(), and a frame nobody took is freed
// with the last copy, so a frame whose delivery never happens (its request
// was superseded, or the receiver is gone before the queued signal arrived)
// frees itself.
class FrameHandle
{
public:
    FrameHandle() = default;
    // Takes ownership of `frame`.
    explicit FrameHandle(TiffData *frame);

    // The frame, still owned by the handle; null when empty or taken.
    TiffData *get() const { return holder ? holder->get() : nullptr; }
    // Hands the frame to the caller; every copy is empty afterwards.
    TiffData *take() const { return holder ? holder->release() : nullptr; }

private:
    std::shared_ptr<std::unique_ptr<TiffData>> holder;
};

Q_DECLARE_METATYPE(FrameHandle)

// Reads a list of frame files, one after another, in a thread of its own
// (one loader per stack). Usage:
//     auto *thread = new QThread;  auto *loader = new LoadTiff;
//     loader->moveToThread(thread);  thread->start();
//     connect(this, &Body::loadI1Files, loader, &LoadTiff::loadTiffs);
//     connect(loader, &LoadTiff::loaded, this, ...);
// Every request carries an id chosen by the caller (rising). Requests arrive
// as queued calls and run in turn; a request that comes while one runs
// waits for it. cancelBelow(id), callable from any thread, drops every
// request below id: the one running stops before its next file, queued ones
// end without reading. Each request ends with finishLoadFiles(id), whether
// it read its list, was dropped or had nothing to read, so whoever waits for
// it is never left waiting. Frames go out by `loaded` as soon as they are
// read, tagged with their request's id, so the receiver can drop the frames
// of a request it has given up.
class LoadTiff : public QObject
{
    Q_OBJECT
public:
    explicit LoadTiff(QObject *parent = nullptr);

    // True while loadTiffs runs; safe to read from any thread.
    bool isBusy() const { return busy.load(); }
    // Drops every request whose id is below `id`; safe to call from any
    // thread. A lower id than before changes nothing.
    void cancelBelow(quint64 id);
    // Drops every request, present and future (the loader is going away).
    void cancelAll() { cancelBelow(~quint64(0)); }

    std::atomic<bool> busy{false};

public slots:
    // Reads files[cutFirst], files[cutFirst + skip], ... while the index is
    // below count - cutLast. Unreadable files are skipped (the reader says
    // why in the debug log). Skip below 1 counts as 1, negative cuts as 0.
    void loadTiffs(const QStringList &files, int skip, int cutFirst, int cutLast, quint64 request);

signals:
    // One frame read; fNo is its index in `files`.
    void loaded(FrameHandle frame, int fNo, quint64 request);
    // The request has ended (read, dropped, or nothing to read).
    void finishLoadFiles(quint64 request);

private:
    bool cancelled(quint64 request) const { return request < cancelledBelow.load(); }

    std::atomic<quint64> cancelledBelow{0};
};
