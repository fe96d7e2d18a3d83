#pragma once

#include "input/TiffData.h"

#include <QMetaType>
#include <QObject>
#include <QStringList>

#include <atomic>

// Reads a list of frame files, one after another, in a thread of its own
// (one loader per stack). Usage:
//     auto *thread = new QThread;  auto *loader = new LoadTiff;
//     loader->moveToThread(thread);  thread->start();
//     connect(this, &Body::loadI1Files, loader, &LoadTiff::loadTiffs);
//     connect(loader, &LoadTiff::loaded, this, &Body::loadedI1);
// Requests arrive as queued calls and run in turn; a request that comes
// while one runs waits for it. Each frame goes out by `loaded` as soon as it
// is read and belongs to the receiver from then on.
class LoadTiff : public QObject
{
    Q_OBJECT
public:
    explicit LoadTiff(QObject *parent = nullptr);

    // True while loadTiffs runs; safe to read from any thread.
    bool isBusy() const { return busy.load(); }

    std::atomic<bool> busy{false};

public slots:
    // Reads files[cutFirst], files[cutFirst + skip], ... while the index is
    // below count - cutLast. Unreadable files are skipped (the reader says
    // why in the debug log). Skip below 1 counts as 1, negative cuts as 0.
    void loadTiffs(const QStringList &files, int skip, int cutFirst, int cutLast);

signals:
    // One frame read; fNo is its index in `files`. The receiver owns `data`.
    void loaded(TiffData *data, int fNo);
    void finishLoadFiles();
};

Q_DECLARE_METATYPE(TiffData *)
