#include "input/LoadTiff.h"

#include "TestFiles.h"
#include "LogCapture.h"

#include <QTemporaryDir>
#include <QThread>
#include <QtTest>

#include <atomic>
#include <memory>

namespace {

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
    QVector<Got> got;
    QVector<quint64> ended;
    bool busyAtFinish = true;
    LoadTiff *loader = nullptr;

public slots:
    void take(const FrameHandle &h, int fNo, quint64 request)
    {
        std::unique_ptr<TiffData> d(h.take());
        got << Got{request, fNo, d->fileName, d->value(0, 0), QThread::currentThread() == thread()};
    }
    void done(quint64 request)
    {
        ended << request;
        busyAtFinish = loader->isBusy();
    }
};

} // namespace

class TestLoadTiff : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    QStringList files; // f0.img .. f9.img, frame i holds 100 i; f4.img is broken
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
        for (int i = 0; i < requests; ++i)
            emit request(list, skip, cutFirst, cutLast, ++lastRequest);
        QTRY_COMPARE_WITH_TIMEOUT(rx.ended.size(), requests, 20000);
    }

private slots:
    void initTestCase()
    {
        for (int i = 0; i < 10; ++i) {
            files << dir.filePath(QStringLiteral("f%1.img").arg(i));
            QVERIFY(writeFile(files.last(), i == 4 ? QByteArray("IM broken")
                                                   : imgFile(2, 1, "", 2, {100u * i, 1})));
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
        auto busy = [this] { busySeenInLoader += loader->isBusy(); };
        connect(loader, &LoadTiff::loaded, loader, busy, Qt::DirectConnection);
    }

    void cleanupTestCase()
    {
        worker.quit();
        worker.wait();
    }

    // Which files a request reads: every skip-th from cutFirst, short of the
    // last cutLast; unreadable files are passed over and logged. The frames
    // arrive in the receiver's thread.
    void thinning_data()
    {
        QTest::addColumn<int>("list"); // 0: all, 1: f5 for the broken f4, 2: f0..f2, 3: none
        QTest::addColumn<QVector<int>>("skipCuts");
        QTest::addColumn<QVector<int>>("fNos");
        using V = QVector<int>;
        QTest::newRow("every one") << 0 << V{1, 0, 0} << V{0, 1, 2, 3, 5, 6, 7, 8, 9};
        QTest::newRow("every third, broken 4") << 0 << V{3, 1, 2} << V{1, 7};
        QTest::newRow("every third") << 1 << V{3, 1, 2} << V{1, 4, 7};
        QTest::newRow("cut beyond the list") << 0 << V{1, 11, 0} << V{};
        QTest::newRow("cuts meet") << 0 << V{1, 5, 5} << V{};
        QTest::newRow("empty list") << 3 << V{1, 0, 0} << V{};
        QTest::newRow("skip 0, negative cuts") << 2 << V{0, -2, -1} << V{0, 1, 2};
    }

    void thinning()
    {
        QFETCH(int, list);
        QFETCH(QVector<int>, skipCuts);
        QFETCH(QVector<int>, fNos);
        QStringList l = list == 3 ? QStringList() : list == 2 ? files.mid(0, 3) : files;
        if (list == 1)
            l[4] = files[5];
        LogCapture log;
        busySeenInLoader = 0;
        run(l, skipCuts[0], skipCuts[1], skipCuts[2]);
        QCOMPARE(rx.got.size(), fNos.size());
        for (int k = 0; k < fNos.size(); ++k) {
            const Receiver::Got &g = rx.got[k];
            QCOMPARE(g.fNo, fNos[k]);
            QCOMPARE(g.file, l[g.fNo]);
            QCOMPARE(g.first, 100.0 * files.indexOf(l[g.fNo]));
            QVERIFY(g.inMyThread);
        }
        QCOMPARE(busySeenInLoader.load(), fNos.size());
        QVERIFY(!rx.busyAtFinish && !loader->isBusy());
        QCOMPARE(log.contains("Error on reading file (1) " + files[4]),
                 list == 0 && !fNos.isEmpty());
    }

    // Two requests sent at once: the second starts after the first ends. A
    // loader without a receiver frees its frames itself.
    void requestsWaitTheirTurn()
    {
        run(files.mid(0, 4), 1, 0, 0, 2);
        QCOMPARE(rx.got.size(), 8);
        for (int i = 0; i < 8; ++i)
            QCOMPARE(rx.got[i].fNo, i % 4);
        LoadTiff lonely;
        QSignalSpy end(&lonely, &LoadTiff::finishLoadFiles);
        lonely.loadTiffs(files.mid(0, 3), 1, 0, 0, 1);
        QVERIFY(end.count() == 1 && !lonely.isBusy());
    }

    void droppedRequestsStopBetweenFrames()
    {
        // Dropped from the loader's own thread as the first frame goes out:
        // the request reads no further file, and the next one runs in full.
        const quint64 first = lastRequest + 1;
        auto drop = [this, first] { loader->cancelBelow(first + 1); };
        auto c = connect(loader, &LoadTiff::loaded, loader, drop, Qt::DirectConnection);
        run(files, 1, 0, 0, 2);
        disconnect(c);
        QCOMPARE(rx.got.size(), 1 + 9);
        QCOMPARE(rx.got[0].request, first);
        QCOMPARE(rx.got[1].request, first + 1);
        QCOMPARE(rx.ended, QVector<quint64>({first, first + 1}));

        // Requests dropped before they start read nothing and still end.
        loader->cancelBelow(lastRequest + 3);
        run(files, 1, 0, 0, 2);
        QVERIFY(rx.got.empty());
        QCOMPARE(rx.ended, QVector<quint64>({first + 2, first + 3}));
        // Frames nobody takes free themselves with their handle.
        FrameHandle h(new TiffData);
        QVERIFY(FrameHandle(h).get());
    }
};

QTEST_GUILESS_MAIN(TestLoadTiff)
#include "test_loadtiff.moc"
