#include "input/LoadTiff.h"

#include "LogCapture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>
#include <QtTest>

#include <atomic>
#include <memory>
#include <vector>

namespace {

// A 2 x 1 16-bit IMG frame whose samples are (n, n + 1).
bool writeImg(const QString &path, quint16 n)
{
    QByteArray b(64, '\0');
    b[0] = 'I';
    b[1] = 'M';
    qToLittleEndian<quint16>(2, b.data() + 4);
    qToLittleEndian<quint16>(1, b.data() + 6);
    char s[4];
    qToLittleEndian<quint16>(n, s);
    qToLittleEndian<quint16>(quint16(n + 1), s + 2);
    b.append(s, 4);
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(b) == b.size();
}

// Lives in the test's thread and takes the frames it is sent.
class Receiver : public QObject
{
    Q_OBJECT
public:
    struct Got
    {
        quint64 request;
        int fNo;
        QString file;
        double first;
        bool inMyThread;
    };
    std::vector<Got> got;
    int finished = 0;
    std::vector<quint64> ended;
    bool busyAtFinish = true;
    LoadTiff *loader = nullptr;

public slots:
    void take(const FrameHandle &h, int fNo, quint64 request)
    {
        std::unique_ptr<TiffData> d(h.take());
        got.push_back(
            {request, fNo, d->fileName, d->value(0, 0), QThread::currentThread() == thread()});
    }
    void done(quint64 request)
    {
        ++finished;
        ended.push_back(request);
        busyAtFinish = loader->isBusy();
    }
};

} // namespace

class TestLoadTiff : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    QStringList files;
    QThread worker;
    LoadTiff *loader = nullptr;
    Receiver rx;
    std::atomic<int> busySeenInLoader{0};

    quint64 lastRequest = 0;

signals:
    void request(const QStringList &files, int skip, int cutFirst, int cutLast, quint64 id);

private:
    void run(const QStringList &list, int skip, int cutFirst, int cutLast, int requests = 1)
    {
        rx.got.clear();
        rx.ended.clear();
        rx.finished = 0;
        for (int i = 0; i < requests; ++i)
            emit request(list, skip, cutFirst, cutLast, ++lastRequest);
        QTRY_COMPARE_WITH_TIMEOUT(rx.finished, requests, 20000);
    }

private slots:
    void initTestCase()
    {
        for (int i = 0; i < 10; ++i) {
            const QString p = dir.filePath(QStringLiteral("f%1.img").arg(i));
            if (i == 4) {
                QFile f(p);
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write("IM broken");
            } else {
                QVERIFY(writeImg(p, quint16(100 * i)));
            }
            files << p;
        }
        loader = new LoadTiff;
        loader->moveToThread(&worker);
        connect(&worker, &QThread::finished, loader, &QObject::deleteLater);
        worker.start();
        rx.loader = loader;
        connect(this, &TestLoadTiff::request, loader, &LoadTiff::loadTiffs);
        connect(loader, &LoadTiff::loaded, &rx, &Receiver::take);
        connect(loader, &LoadTiff::finishLoadFiles, &rx, &Receiver::done);
        // Seen from the loader's own thread, the flag is up while frames go out.
        connect(
            loader, &LoadTiff::loaded, loader,
            [this] {
            if (loader->isBusy())
                ++busySeenInLoader;
            },
            Qt::DirectConnection);
    }

    void cleanupTestCase()
    {
        worker.quit();
        worker.wait();
    }

    void thinning()
    {
        run(files, 3, 1, 2);
        QCOMPARE(int(rx.got.size()), 2); // 1 and 7; 4 is unreadable
        QCOMPARE(rx.got[0].fNo, 1);
        QCOMPARE(rx.got[1].fNo, 7);
        QCOMPARE(rx.got[1].file, files[7]);
        QCOMPARE(rx.got[1].first, 700.0);

        // Without the unreadable file the thinning reads 1, 4, 7.
        QStringList good = files;
        good[4] = files[5];
        run(good, 3, 1, 2);
        QCOMPARE(int(rx.got.size()), 3);
        QCOMPARE(rx.got[0].fNo, 1);
        QCOMPARE(rx.got[1].fNo, 4);
        QCOMPARE(rx.got[1].first, 500.0);
        QCOMPARE(rx.got[2].fNo, 7);
        QVERIFY(!rx.busyAtFinish);
        QVERIFY(!loader->isBusy());
    }

    void unreadableInTheMiddle()
    {
        LogCapture log;
        busySeenInLoader = 0;
        run(files, 1, 0, 0);
        QCOMPARE(int(rx.got.size()), 9);
        int k = 0;
        for (int i = 0; i < 10; ++i) {
            if (i == 4)
                continue;
            QCOMPARE(rx.got[size_t(k)].fNo, i);
            QCOMPARE(rx.got[size_t(k)].first, 100.0 * i);
            QVERIFY(rx.got[size_t(k)].inMyThread);
            ++k;
        }
        QCOMPARE(busySeenInLoader.load(), 9);
        QVERIFY(log.contains("Error on reading file (1) " + files[4]));
    }

    void emptyAndOverCut()
    {
        run(files, 1, 11, 0);
        QVERIFY(rx.got.empty());
        QCOMPARE(rx.finished, 1);
        run(QStringList(), 1, 0, 0);
        QVERIFY(rx.got.empty());
        run(files, 1, 5, 5);
        QVERIFY(rx.got.empty());
        // Skip below 1 and negative cuts are taken as 1 and 0.
        run(files.mid(0, 3), 0, -2, -1);
        QCOMPARE(int(rx.got.size()), 3);
    }

    void requestsWaitTheirTurn()
    {
        // Two requests sent at once: the second starts after the first ends.
        run(files.mid(0, 4), 1, 0, 0, 2);
        QCOMPARE(int(rx.got.size()), 8);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(rx.got[size_t(i)].fNo, i % 4);
    }

    void nobodyListening()
    {
        // A loader without a receiver frees its frames itself.
        LoadTiff lonely;
        QSignalSpy end(&lonely, &LoadTiff::finishLoadFiles);
        lonely.loadTiffs(files.mid(0, 3), 1, 0, 0, 1);
        QCOMPARE(end.count(), 1);
        QVERIFY(!lonely.isBusy());
    }

    void droppedRequestsStopBetweenFrames()
    {
        // Dropped from the loader's own thread as the first frame goes out:
        // the request reads no further file, and the next one runs in full.
        const quint64 first = lastRequest + 1;
        auto c = connect(
            loader, &LoadTiff::loaded, loader, [this, first] { loader->cancelBelow(first + 1); },
            Qt::DirectConnection);
        run(files, 1, 0, 0, 2);
        disconnect(c);
        QCOMPARE(int(rx.got.size()), 1 + 9);
        QCOMPARE(rx.got[0].request, first);
        QCOMPARE(rx.got[1].request, first + 1);
        QCOMPARE(rx.ended, std::vector<quint64>({first, first + 1}));

        // Requests dropped before they start read nothing and still end.
        loader->cancelBelow(lastRequest + 3);
        run(files, 1, 0, 0, 2);
        QVERIFY(rx.got.empty());
        QCOMPARE(rx.ended, std::vector<quint64>({first + 2, first + 3}));
        // Frames nobody takes free themselves with their handle.
        FrameHandle h(new TiffData);
        QVERIFY(FrameHandle(h).get());
    }
};

QTEST_GUILESS_MAIN(TestLoadTiff)
#include "test_loadtiff.moc"
