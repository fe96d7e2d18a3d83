#include "input/LoadTiff.h"

#include <QMetaMethod>

LoadTiff::LoadTiff(QObject *parent) : QObject(parent)
{
    static const int registered = qRegisterMetaType<TiffData *>("TiffData*");
    Q_UNUSED(registered);
}

void LoadTiff::loadTiffs(const QStringList &files, int skip, int cutFirst, int cutLast)
{
    busy = true;
    const int step = skip < 1 ? 1 : skip;
    const int first = cutFirst < 0 ? 0 : cutFirst;
    const qint64 stop = qint64(files.size()) - (cutLast < 0 ? 0 : cutLast);
    static const QMetaMethod loadedSignal = QMetaMethod::fromSignal(&LoadTiff::loaded);
    for (qint64 i = first; i < stop; i += step) {
        auto *frame = new TiffData;
        if (!frame->read(files.at(int(i)))) {
            delete frame;
            continue;
        }
        // With nobody to take the frame it would be lost: keep the memory.
        if (!isSignalConnected(loadedSignal)) {
            delete frame;
            continue;
        }
        emit loaded(frame, int(i));
    }
    busy = false;
    emit finishLoadFiles();
}
