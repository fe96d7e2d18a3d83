#include "input/LoadTiff.h"

#include <QMetaMethod>

FrameHandle::FrameHandle(TiffData *frame)
    : holder(std::make_shared<std::unique_ptr<TiffData>>(frame))
{
}

LoadTiff::LoadTiff(QObject *parent)
    : QObject(parent)
{
    static const int registered = qRegisterMetaType<FrameHandle>("FrameHandle");
    Q_UNUSED(registered);
}

void LoadTiff::cancelBelow(quint64 id)
{
    quint64 now = cancelledBelow.load();
    while (now < id && !cancelledBelow.compare_exchange_weak(now, id)) {
    }
}

void LoadTiff::loadTiffs(const QStringList &files, int skip, int cutFirst, int cutLast,
                         quint64 request)
{
    busy = true;
    const int step = skip < 1 ? 1 : skip;
    const int first = cutFirst < 0 ? 0 : cutFirst;
    const qint64 stop = qint64(files.size()) - (cutLast < 0 ? 0 : cutLast);
    static const QMetaMethod loadedSignal = QMetaMethod::fromSignal(&LoadTiff::loaded);
    // The cancel flag is looked at between files, so a dropped request ends
    // within one file's read time.
    for (qint64 i = first; i < stop && !cancelled(request); i += step) {
        std::unique_ptr<TiffData> frame(new TiffData);
        if (!frame->read(files.at(int(i))))
            continue;
        // With nobody to take the frame it would be lost: keep the memory.
        if (!isSignalConnected(loadedSignal))
            continue;
        emit loaded(FrameHandle(frame.release()), int(i), request);
    }
    busy = false;
    emit finishLoadFiles(request);
}
