#include "analysis/Analyzed2DRes.h"
#include "analysis/LcfRun.h"
#include "input/TiffData.h"

#include "FrameMaker.h"
#include "LogCapture.h"

#include <QtTest>

#include <cmath>
#include <cstring>
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
    void sameAsPlainFits_data();
    void sameAsPlainFits();

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

void TestLcfRun::sameAsPlainFits_data()
{
    QTest::addColumn<bool>("victoreen");
    QTest::addColumn<bool>("mlcf");
    QTest::addColumn<int>("half");
    QTest::newRow("LCF, lines") << false << false << 0;
    QTest::newRow("LCF, Victoreen") << true << false << 0;
    QTest::newRow("MLCF, Victoreen, 3 x 3") << true << true << 1;
    QTest::newRow("MLCF, lines, 3 x 3") << false << true << 1;
}

// A whole run against the bins built and fitted one by one, map by map to the
// bit: 16-bit frames with a dark frame and an I1 frame shifted, I0 at other
// energies than I1, bins past the right and bottom edges, and a shift map
// that gives runs of equal and of different shifts.
void TestLcfRun::sameAsPlainFits()
{
    QFETCH(bool, victoreen);
    QFETCH(bool, mlcf);
    QFETCH(int, half);
    std::vector<std::unique_ptr<TiffData>> owned;
    QVector<TiffData *> i1, i0;
    for (int k = 0; k < 60; ++k) {
        const double e = 6500 + 20 * k;
        i1.append(makeFrame(7, 5, e, [e, k](int x, int y) {
            const double mu = 0.2 + (1 + 0.1 * x) / (1 + std::exp((7090 + 9 * y - e) / 6.0));
            return int(30000 * std::exp(-mu)) + (x * 7 + y * 13 + k * 5) % 17;
        }));
        owned.emplace_back(i1.last());
        if (k % 3 == 0) {
            i0.append(makeFrame(7, 5, e + 7, [k](int x, int y) { return 40000 + x * y + k; }));
            owned.emplace_back(i0.last());
        }
    }
    i1[10]->shiftX = 1;
    owned.emplace_back(constantFrame(7, 5, 0, 90));
    const auto edge = [](double e0) {
        SpectrumPoints p;
        for (double e = 6400; e < 7800; e += 15)
            p.append(e, 0.1 + 1 / (1 + std::exp((e0 - e) / 5.0)));
        return LcfReferenceSnapshot::of(XafsSpectrum(p, true, 0.0), 3.0, true, true);
    };
    const auto shift = [](int x, int y) { return x < 3 ? 0.0 : 0.5 * (x + y); };

    LcfRun run(proc);
    QSignalSpy finished(&run, &LcfRun::finished);
    LcfRun::Setup s;
    s.walk.setup(7, 5, half, half, 0, 0, 7, 5);
    s.source = SpectrumSource(i1, i0, owned.back().get(), 7, 5, false);
    s.refs = {edge(7090), ref(refA, false), edge(7110)};
    s.isMLCF = mlcf;
    s.sE0 = 6600;
    s.eE0 = 7500;
    s.isVictoreen = victoreen;
    s.shiftAt = shift;
    s.maps = maps.mid(0, 6);
    s.zansa = maps.last();
    QVERIFY(run.start(s));
    QVERIFY(finished.wait(5000));

    QVector<Analyzed2DRes *> plain;
    for (int m = 0; m < 7; ++m) {
        plain.append(new Analyzed2DRes(this));
        QVERIFY(plain[m]->prepare(s.walk));
    }
    AnalyzeCond w = s.walk;
    do {
        const XafsSpectrum sample(s.source.absorption(w.cx, w.cy, w.hx, w.hy), victoreen,
                                  shift(w.cx, w.cy));
        LcfResult r;
        QVERIFY(fitLcfSpectrum(sample, s.refs, mlcf, s.sE0, s.eE0, r, false));
        for (int j = 0; j < 2; ++j) {
            plain[2 * j]->setData(w.cx, w.cy, w.hx, w.hy, r.dmut[j]);
            plain[3 + 2 * j]->setData(w.cx, w.cy, w.hx, w.hy, r.ratio[j]);
        }
        plain[6]->setData(w.cx, w.cy, w.hx, w.hy, r.z);
    } while (w.advance());
    for (int m = 0; m < 7; ++m)
        QVERIFY(std::memcmp(plain[m]->data(), maps[m]->data(), 35 * sizeof(double)) == 0);
    qDeleteAll(plain);
}

QTEST_GUILESS_MAIN(TestLcfRun)
#include "test_lcfrun.moc"
