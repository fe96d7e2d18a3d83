#include "analysis/Analyzed2DRes.h"
#include "analysis/LcfRun.h"
#include "input/TiffData.h"

#include "LogCapture.h"

#include <QtTest>

#include <cmath>
#include <functional>
#include <memory>

// Two references on 6000 .. 8190 eV in 10 eV steps, 0 below their edge and
// 1 above it: with straight backgrounds their normalized curves are mu
// itself, and so is that of any mix whose weights sum to 1 (edge jump 1).
static const auto refA = [](double e) { return e <= 7090 ? 0.0 : e == 7100 ? 0.5 : 1.0; };
static const auto refB = [](double e) { return e <= 7110 ? 0.0 : e == 7120 ? 0.5 : 1.0; };

static LcfReferenceSnapshot ref(const std::function<double(double)> &mu, bool use)
{
    SpectrumPoints p;
    for (double e = 6000; e <= 8190; e += 10)
        p.append(e, mu(e));
    return LcfReferenceSnapshot::of(XafsSpectrum(p, false, 0.0), 0.0, use, false);
}

// Weight of reference A at pixel (x, y) of the 4 x 3 area: 1 / 32 .. 12 / 32,
// exact in float. Kept below one half, so that every mix crosses half height
// between the same two energies and its background windows are those of B.
static double weightA(int x, int y)
{
    return (x + 4 * y + 1) / 32.0;
}

// Fluorescence stacks of a 5 x 4 image: I0 1.0 everywhere, I1 the mix of A
// and B with weightA, so the absorption of a one-pixel bin is the mix exactly.
struct Stacks
{
    std::vector<std::unique_ptr<TiffData>> owned;
    QVector<TiffData *> i1, i0;
    Stacks()
    {
        for (double e = 6000; e <= 8190; e += 10) {
            QVector<float> one(20, 1.0f), mix(20);
            for (int i = 0; i < 20; ++i) {
                const double w = weightA(i % 5, i / 5);
                mix[i] = float(w * refA(e) + (1 - w) * refB(e));
            }
            i0.append(TiffData::fromSamples(5, 4, one.constData()));
            i1.append(TiffData::fromSamples(5, 4, mix.constData()));
            i0.last()->energy = i1.last()->energy = e;
            owned.emplace_back(i0.last());
            owned.emplace_back(i1.last());
        }
    }
    SpectrumSource source() const { return SpectrumSource(i1, i0, nullptr, 5, 4, true); }
};

class TestLcfRun : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void wholeRun_data();
    void wholeRun();
    void stopThenRestart();

private:
    LcfRun::Setup setup(int w, int h, const QVector<LcfReferenceSnapshot> &refs, bool mlcf);

    Stacks stacks;
    QThread thread;
    AnalyzeProc *proc = nullptr;
    QVector<Analyzed2DRes *> maps; // 6 reference maps, then the residual map
};

void TestLcfRun::initTestCase()
{
    proc = new AnalyzeProc;
    proc->moveToThread(&thread);
    connect(&thread, &QThread::finished, proc, &QObject::deleteLater);
    thread.start();
    for (int i = 0; i < 7; ++i)
        maps.append(new Analyzed2DRes(this));
}

void TestLcfRun::cleanupTestCase()
{
    thread.quit();
    thread.wait();
}

LcfRun::Setup TestLcfRun::setup(int w, int h, const QVector<LcfReferenceSnapshot> &refs, bool mlcf)
{
    LcfRun::Setup s;
    s.walk.setup(5, 4, 0, 0, 0, 0, w, h);
    s.source = stacks.source();
    s.refs = refs;
    s.isMLCF = mlcf;
    s.maps = maps.mid(0, 2 * refs.size());
    s.zansa = maps.last();
    return s;
}

void TestLcfRun::wholeRun_data()
{
    QTest::addColumn<bool>("mlcf");
    QTest::addColumn<bool>("unusedMiddle");
    QTest::addColumn<QSize>("area");
    QTest::addColumn<QStringList>("shown"); // the progress texts
    const QStringList thirds{" 0.00", "33.33", "66.67", "100.00"};
    QTest::newRow("LCF") << false << false << QSize(4, 3) << thirds;
    QTest::newRow("MLCF") << true << false << QSize(4, 3) << thirds;
    QTest::newRow("LCF, an unused row between") << false << true << QSize(4, 3) << thirds;
    QTest::newRow("single bin") << false << false << QSize(1, 1) << QStringList{" 0.00", "100.00"};
}

void TestLcfRun::wholeRun()
{
    QFETCH(bool, mlcf);
    QFETCH(bool, unusedMiddle);
    QFETCH(QSize, area);
    QFETCH(QStringList, shown);
    QVector<LcfReferenceSnapshot> refs{ref(refA, true), ref(refB, true)};
    if (unusedMiddle)
        refs.insert(1, ref(refA, false));
    const int n = refs.size();
    const int b = n - 1; // row of reference B

    LogCapture log;
    LcfRun run(proc);
    QSignalSpy progress(&run, &LcfRun::progress);
    QSignalSpy finished(&run, &LcfRun::finished);
    const LcfRun::Setup s = setup(area.width(), area.height(), refs, mlcf);
    QVERIFY(run.start(s));
    QVERIFY(finished.wait(5000));
    QStringList seen, marks;
    for (const QList<QVariant> &p : progress)
        seen << p.at(0).toString();
    QCOMPARE(seen, shown);
    for (const QString &l : log.lines())
        if (l.startsWith("2da "))
            marks << l.left(6);
    QCOMPARE(marks, QStringList({"2da 1:", "2da 2:", "2da 3:"}));

    // The mix weights inside the area, zeros outside.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) {
            const bool in = x < area.width() && y < area.height();
            const double w = in ? weightA(x, y) : 0.0;
            const int i = y * 5 + x;
            // Changes of mu, then ratios; the unused row stays 0.
            for (int k = 0; k < 2 * n; ++k) {
                const double e = k % n == 0 ? w : k % n == b && in ? 1 - w : 0.0;
                if (k % n != 0 && k % n != b)
                    QCOMPARE(maps[k]->data()[i], 0.0); // never written
                else
                    QVERIFY(std::abs(maps[k]->data()[i] - e) < 1e-9);
            }
            if (!in)
                continue;
            // To the last digit what a bin-by-bin plain fit gives.
            LcfResult r;
            QVERIFY(fitLcfSpectrum(s.source.spectrum(x, y, 0, 0, 0.0, false).spectrum, refs, mlcf,
                                   s.sE0, s.eE0, r));
            QCOMPARE(maps[0]->data()[i], r.dmut[0]);
            QCOMPARE(maps[n + b]->data()[i], r.ratio[1]);
            QCOMPARE(maps[6]->data()[i], r.z);
        }
    for (int k = 0; k < 2 * n; ++k)
        QCOMPARE(maps[k]->no(), k);
    QVERIFY(!maps[0]->img().isNull());
    QVERIFY(!proc->contAccess());
}

void TestLcfRun::stopThenRestart()
{
    LogCapture log;
    LcfRun run(proc);
    QSignalSpy finished(&run, &LcfRun::finished);
    QSignalSpy stopped(&run, &LcfRun::stopped);
    const QVector<LcfReferenceSnapshot> refs{ref(refA, true), ref(refB, true)};
    // Stopped with two rows in flight: nothing more is recorded and no end
    // is reported.
    QVERIFY(run.start(setup(4, 3, refs, false)));
    run.stop();
    QCOMPARE(stopped.count(), 1);
    QVERIFY(log.contains("2da 4:"));
    QVERIFY(!run.start(setup(5, 4, {refs[0]}, false))); // one row: no run
    // The restart with the old rows still on their way ends with its own
    // results only.
    maps[0]->clear();
    QVERIFY(run.start(setup(4, 3, refs, false)));
    QVERIFY(finished.wait(5000));
    QTest::qWait(50);
    QCOMPARE(finished.count(), 1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            QVERIFY(std::abs(maps[0]->data()[y * 5 + x] - weightA(x, y)) < 1e-9);
}

QTEST_GUILESS_MAIN(TestLcfRun)
#include "test_lcfrun.moc"
