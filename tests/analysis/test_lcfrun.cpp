#include "analysis/LcfRun.h"

#include "AnalHelpers.h"
#include "FrameMaker.h"
#include "LogCapture.h"

#include <QtTest>

#include <cstring>
#include <functional>

// Two references on 6000 .. 8190 eV in 10 eV steps: A rises at 7100, B at 7120. Their straight
// backgrounds are 0 and 1, so every normalized curve is mu itself (double-normalized: mu - 1), and
// so is that of any mix whose weights sum to 1 (edge jump 1).
static const auto refA = [](double e) { return unitStep(e, 7100); };
static const auto refB = [](double e) { return unitStep(e, 7120); };

// mu measured at e + shift, a bin whose energies the energy-shift map moves back by shift.
static XafsSpectrum spectrumOf(const std::function<double(double)> &mu, double first = 6000,
                               double last = 8190, double shift = 0)
{
    SpectrumPoints p;
    for (double e = first; e <= last; e += 10)
        p.append(e + shift, mu(e));
    return XafsSpectrum(p, false, shift);
}

static LcfReferenceSnapshot ref(double (*mu)(double), bool use = true, double last = 8190)
{
    return LcfReferenceSnapshot::of(spectrumOf(mu, 6000, last), 0.0, use, false);
}

using Refs = QVector<LcfReferenceSnapshot>;
Q_DECLARE_METATYPE(Refs)

// Weight of reference A at pixel (x, y) of the 4 x 3 area: 1 / 32 .. 12 / 32, exact in float. Kept
// below one half, so that every mix crosses half height between the same two energies and its
// background windows are those of B.
static const auto weightA = [](int x, int y) { return (x + 4 * y + 1) / 32.0; };

class TestLcf : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void lcfOfMix_data();
    void lcfOfMix();
    void mlcfClipsAndRescales();
    void residualOfMisfit();
    void shortSamples();
    void dEAppliedOnce();
    void binNormalization_data();
    void binNormalization();
    void wholeRun_data();
    void wholeRun();
    void stopThenRestart();
    void sameAsPlainFits_data();
    void sameAsPlainFits();

private:
    LcfRun::Setup setup(int w, int h, const Refs &refs, bool mlcf);

    // Fluorescence stacks of a 5 x 4 image: I0 1.0 everywhere, I1 the mix of A and B with weightA,
    // so the absorption of a one-pixel bin is the mix.
    OwnedFrames i1, i0;
    QThread thread;
    AnalyzeProc *proc = nullptr;
    QVector<Analyzed2DRes *> maps; // 6 reference maps, then the residual map
};

void TestLcf::initTestCase()
{
    for (double e = 6000; e <= 8190; e += 10) {
        QVector<float> one(20, 1.0f), mix(20);
        for (int i = 0; i < 20; ++i)
            mix[i] = float(weightA(i % 5, i / 5) * refA(e) + (1 - weightA(i % 5, i / 5)) * refB(e));
        i0.append(TiffData::fromSamples(5, 4, one.constData()));
        i1.append(TiffData::fromSamples(5, 4, mix.constData()));
        i0.last()->energy = i1.last()->energy = e;
    }
    proc = new AnalyzeProc;
    proc->moveToThread(&thread);
    connect(&thread, &QThread::finished, proc, &QObject::deleteLater);
    thread.start();
    for (int i = 0; i < 7; ++i)
        maps.append(new Analyzed2DRes(this));
}

void TestLcf::cleanupTestCase()
{
    thread.quit();
    thread.wait();
}

void TestLcf::lcfOfMix_data()
{
    QTest::addColumn<Refs>("refs");
    QTest::addColumn<XafsSpectrum>("sample");
    // The residual: the fit is exact, but the 109 sample values of 0 (6010 .. 7090 eV) count 1
    // each, over the 218 inner points in the window (210 up to 8100 eV), divided by the 220 sample
    // points.
    QTest::addColumn<double>("z");
    QTest::addColumn<double>("jump"); // of the sample: the changes of mu are the weights times it
    const XafsSpectrum exact = spectrumOf([](double e) { return 0.3 * refA(e) + 0.7 * refB(e); });
    const auto mix = [](double e) { return e >= 8120 ? 0.9 : 0.3 * refA(e) + 0.7 * refB(e); };
    const double z = 109.0 / 218 / 220;
    const XafsSpectrum doubled = spectrumOf([](double e) { return 0.6 * refA(e) + 1.4 * refB(e); });
    QTest::newRow("two rows") << Refs{ref(refA), ref(refB)} << exact << z << 1.0;
    QTest::newRow("jump 2") << Refs{ref(refA), ref(refB)} << doubled << z << 2.0;
    QTest::newRow("unused row") << Refs{ref(refA), ref(refB, false), ref(refB)} << exact << z
                                << 1.0;
    QTest::newRow("row without points")
        << Refs{ref(refA), LcfReferenceSnapshot::of(XafsSpectrum(), 0.0, true, false), ref(refB)}
        << exact << z << 1.0;
    // B ends at 8100 and the sample leaves the mix above that (outside its own background windows):
    // the fit must keep to B's range.
    QTest::newRow("partial reference")
        << Refs{ref(refA), ref(refB, true, 8100)} << spectrumOf(mix) << 109.0 / 210 / 220 << 1.0;
}

void TestLcf::lcfOfMix()
{
    QFETCH(Refs, refs);
    QFETCH(XafsSpectrum, sample);
    QFETCH(double, z);
    QFETCH(double, jump);
    LcfResult r;
    QVERIFY(fitLcfSpectrum(sample, refs, false, 0, 30000, r) && std::abs(r.z - z) < 1e-12);
    QVERIFY(near(r.ratio + r.dmut, {0.3, 0.7, 0.3 * jump, 0.7 * jump}, 1e-9));
}

// mu = 0.2 + 1e-4 E + 0.9 (A - 1) - 0.3 (B - 1): weights 0.9 and -0.3, sum 0.6; B is clipped to 0,
// A rescaled to 0.9 / 0.6.
void TestLcf::mlcfClipsAndRescales()
{
    const XafsSpectrum sample = spectrumOf(
        [](double e) { return 0.2 + 1e-4 * e + 0.9 * (refA(e) - 1) - 0.3 * (refB(e) - 1); });
    LcfResult r;
    QVERIFY(fitLcfSpectrum(sample, Refs{ref(refA), ref(refB)}, true, 0, 30000, r));
    QVERIFY(near(r.dmut + r.ratio, {0.9, 0, 1.5, 0}, 1e-6) && r.dmut[1] == 0.0
            && r.ratio[1] == 0.0);
}

// Sample B against A alone, fitted over 7090 .. 7120: A is 0, .5, 1, 1 and B 0, 0, 0, .5 there, so
// w = .5 / 2.25 = 2/9. Three sample values of 0 count 1 each, the fourth ((2/9 - 1/2) / (1/2))^2 =
// 25/81; the mean over 4 terms divided by the 220 sample points. A bin moved by the energy-shift
// map is compared with the fit at the energies the fit was made at: same residual.
void TestLcf::residualOfMisfit()
{
    for (double shift : {0.0, 10.0}) {
        LcfResult r;
        QVERIFY(fitLcfSpectrum(spectrumOf(refB, 6000, 8190, shift),
                               Refs{ref(refA), ref(refB, false)}, false, 7090, 7120, r));
        QVERIFY(near(r.ratio, {2.0 / 9}, 1e-9)
                && std::abs(r.z - (3 + 25.0 / 81) / 4 / 220) < 1e-12);
    }
}

// Samples of two points or none fit to nothing; fewer than two rows: no fit, and the log says why.
void TestLcf::shortSamples()
{
    for (const XafsSpectrum &sample :
         {spectrumOf([](double e) { return e / 1e4; }, 7100, 7110), XafsSpectrum()}) {
        for (bool mlcf : {false, true}) {
            LcfResult r;
            QVERIFY(fitLcfSpectrum(sample, Refs{ref(refA), ref(refB)}, mlcf, 0, 30000, r)
                    && r.z == 0.0);
        }
        LogCapture log;
        LcfResult r;
        QVERIFY(!fitLcfSpectrum(sample, Refs{ref(refA)}, false, 0, 30000, r)
                && log.contains(QStringLiteral("LCF needs at least two reference rows, 1 given")));
    }
}

// A with dE 20: its value at 7080 is A's at 7100, 0.5, whether the row was normalized before its dE
// was set or after (the Victoreen box toggled with the shift on).
void TestLcf::dEAppliedOnce()
{
    XafsSpectrum before = spectrumOf(refA);
    XafsSpectrum after = before;
    after.enableDE(true);
    after.setDE(20);
    after.normalize(true);
    for (const XafsSpectrum &s : {before, after}) {
        const LcfReferenceSnapshot snap = LcfReferenceSnapshot::of(s, 20, true, true);
        QVERIFY(std::abs(snap.spectrum.doubleNormalizedPreBase(7080) - 0.5) < 1e-9);
    }
}

void TestLcf::binNormalization_data()
{
    QTest::addColumn<int>("points"); // from 7000 eV in 15 eV steps
    QTest::addColumn<bool>("victoreen");
    QTest::addColumn<int>("shape"); // 0 an edge at 7300 eV, 1 falling, 2 noisy edge
    QTest::newRow("one point") << 1 << true << 0;
    QTest::newRow("three points, no Victoreen fit") << 3 << true << 0;
    QTest::newRow("three points, lines") << 3 << false << 0;
    QTest::newRow("falling, no half height") << 40 << false << 1;
    QTest::newRow("edge, Victoreen") << 120 << true << 0;
    QTest::newRow("noisy edge, lines") << 120 << false << 2;
    QTest::newRow("noisy edge, Victoreen") << 90 << true << 2;
}

// The normalization of a 2D run's bins gives the spectrum's double-normalized pre-base values and
// jump to the bit.
void TestLcf::binNormalization()
{
    QFETCH(int, points);
    QFETCH(bool, victoreen);
    QFETCH(int, shape);
    QVector<double> energies, mu;
    SpectrumPoints p;
    for (int i = 0; i < points; ++i) {
        const double e = 7000 + 15 * i;
        const double edge = 0.3 - 1e-5 * e + 1 / (1 + std::exp((7300 - e) / 8));
        mu.append(shape == 1 ? 2 - 1e-3 * i : edge + (shape == 2 ? 0.01 * (i % 7) : 0.0));
        energies.append(e);
        p.append(e, mu.last());
    }
    const XafsSpectrum s(p, victoreen, 3.0);
    // The values, then the jump.
    QVector<double> dnp(points + 1), want;
    dnp[points] = BinNormalizer(energies, victoreen).normalize(mu.constData(), dnp.data());
    for (int i = 0; i < points; ++i)
        want << s.doubleNormalizedPreBase().y(i);
    want << s.jump();
    QVERIFY(std::memcmp(dnp.constData(), want.constData(), want.size() * sizeof(double)) == 0);
}

LcfRun::Setup TestLcf::setup(int w, int h, const Refs &refs, bool mlcf)
{
    LcfRun::Setup s;
    s.walk.setup(5, 4, 0, 0, 0, 0, w, h);
    s.source = SpectrumSource(i1, i0, nullptr, 5, 4, true);
    s.refs = refs;
    s.isMLCF = mlcf;
    s.maps = maps.mid(0, 2 * refs.size());
    s.zansa = maps.last();
    return s;
}

void TestLcf::wholeRun_data()
{
    QTest::addColumn<bool>("unusedMiddle");
    QTest::addColumn<QSize>("area");
    QTest::addColumn<QStringList>("shown"); // the progress texts
    const QStringList thirds{" 0.00", "33.33", "66.67", "100.00"};
    QTest::newRow("LCF") << false << QSize(4, 3) << thirds;
    QTest::newRow("LCF, an unused row between") << true << QSize(4, 3) << thirds;
    QTest::newRow("single bin") << false << QSize(1, 1) << QStringList{" 0.00", "100.00"};
}

void TestLcf::wholeRun()
{
    QFETCH(bool, unusedMiddle);
    QFETCH(QSize, area);
    const Refs refs =
        unusedMiddle ? Refs{ref(refA), ref(refA, false), ref(refB)} : Refs{ref(refA), ref(refB)};
    const int n = refs.size();
    LogCapture log;
    LcfRun run(proc);
    QSignalSpy progress(&run, &LcfRun::progress);
    QSignalSpy finished(&run, &LcfRun::finished);
    QVERIFY(run.start(setup(area.width(), area.height(), refs, false)) && finished.wait(5000));
    QStringList seen;
    for (const QList<QVariant> &p : progress)
        seen << p.at(0).toString();
    QTEST(seen, "shown");
    QCOMPARE(log.lines()
                 .filter(QRegularExpression("^2da "))
                 .replaceInStrings(QRegularExpression("^(2da \\d:).*"), "\\1"),
             QStringList({"2da 1:", "2da 2:", "2da 3:"}));

    // The mix weights inside the area, zeros outside: changes of mu, then ratios; the unused row
    // is never written.
    for (int i = 0; i < 20; ++i) {
        const bool in = i % 5 < area.width() && i / 5 < area.height();
        const double w = in ? weightA(i % 5, i / 5) : 0.0;
        for (int k = 0; k < 2 * n; ++k) {
            const bool unused = k % n != 0 && k % n != n - 1;
            const double want = unused || !in ? 0.0 : k % n == 0 ? w : 1 - w;
            QVERIFY(maps[k]->no() == k
                    && std::abs(maps[k]->data()[i] - want) <= (unused ? 0.0 : 1e-9));
        }
    }
    QVERIFY(!maps[0]->img().isNull() && !proc->contAccess());
}

void TestLcf::stopThenRestart()
{
    LogCapture log;
    LcfRun run(proc);
    QSignalSpy finished(&run, &LcfRun::finished);
    QSignalSpy stopped(&run, &LcfRun::stopped);
    const Refs refs{ref(refA), ref(refB)};
    // Stopped with two rows in flight: nothing more is recorded and no end is reported.
    QVERIFY(run.start(setup(4, 3, refs, false)));
    run.stop();
    QVERIFY(stopped.count() == 1 && log.contains("2da 4:"));
    QVERIFY(!run.start(setup(5, 4, {refs[0]}, false))); // one row: no run
    // The restart with the old rows still on their way ends with its own results only.
    maps[0]->clear();
    QVERIFY(run.start(setup(4, 3, refs, false)) && finished.wait(5000));
    QTest::qWait(50);
    QCOMPARE(finished.count(), 1);
    for (int i = 0; i < 12; ++i)
        QVERIFY(std::abs(maps[0]->data()[i / 4 * 5 + i % 4] - weightA(i % 4, i / 4)) < 1e-9);
}

void TestLcf::sameAsPlainFits_data()
{
    QTest::addColumn<bool>("victoreen");
    QTest::addColumn<bool>("mlcf");
    QTest::addColumn<int>("half");
    QTest::newRow("LCF, lines") << false << false << 0;
    QTest::newRow("LCF, Victoreen") << true << false << 0;
    QTest::newRow("MLCF, Victoreen, 3 x 3") << true << true << 1;
    QTest::newRow("MLCF, lines, 3 x 3") << false << true << 1;
}

// A whole run against the bins built and fitted one by one, map by map to the bit: 16-bit frames
// with a dark frame and an I1 frame shifted, I0 at other energies than I1, bins past the right and
// bottom edges, and a shift map that gives runs of equal and of different shifts.
void TestLcf::sameAsPlainFits()
{
    QFETCH(bool, victoreen);
    QFETCH(bool, mlcf);
    QFETCH(int, half);
    OwnedFrames f1, f0;
    for (int k = 0; k < 60; ++k) {
        const double e = 6500 + 20 * k;
        f1.append(makeFrame(7, 5, e, [e, k](int x, int y) {
            const double mu = 0.2 + (1 + 0.1 * x) / (1 + std::exp((7090 + 9 * y - e) / 6.0));
            return int(30000 * std::exp(-mu)) + (x * 7 + y * 13 + k * 5) % 17;
        }));
        if (k % 3 == 0)
            f0.append(makeFrame(7, 5, e + 7, [k](int x, int y) { return 40000 + x * y + k; }));
    }
    f1[10]->shiftX = 1;
    const std::unique_ptr<TiffData> dark(constantFrame(7, 5, 0, 90));
    const auto edge = [](double e0) {
        SpectrumPoints p;
        for (double e = 6400; e < 7800; e += 15)
            p.append(e, 0.1 + 1 / (1 + std::exp((e0 - e) / 5.0)));
        return LcfReferenceSnapshot::of(XafsSpectrum(p, true, 0.0), 3.0, true, true);
    };
    const auto shift = [](int x, int y) { return x < 3 ? 0.0 : 0.5 * (x + y); };

    LcfRun run(proc);
    QSignalSpy finished(&run, &LcfRun::finished);
    LcfRun::Setup s = setup(7, 5, {edge(7090), ref(refA, false), edge(7110)}, mlcf);
    s.walk.setup(7, 5, half, half, 0, 0, 7, 5);
    s.source = SpectrumSource(f1, f0, dark.get(), 7, 5, false);
    s.sE0 = 6600;
    s.eE0 = 7500;
    s.isVictoreen = victoreen;
    s.shiftAt = shift;
    QVERIFY(run.start(s) && finished.wait(5000));

    Analyzed2DRes plain[7];
    for (Analyzed2DRes &m : plain)
        QVERIFY(m.prepare(s.walk));
    AnalyzeCond w = s.walk;
    do {
        const XafsSpectrum sample(s.source.absorption(w.cx, w.cy, w.hx, w.hy), victoreen,
                                  shift(w.cx, w.cy));
        LcfResult r;
        QVERIFY(fitLcfSpectrum(sample, s.refs, mlcf, s.sE0, s.eE0, r, false));
        // Changes of mu, then ratios, of rows 0 and 2; row 1 is not used.
        const double v[7] = {r.dmut[0], 0, r.dmut[1], r.ratio[0], 0, r.ratio[1], r.z};
        for (int m = 0; m < 7; ++m)
            plain[m].setData(w.cx, w.cy, w.hx, w.hy, v[m]);
    } while (w.advance());
    for (int m = 0; m < 7; ++m)
        QVERIFY(std::memcmp(plain[m].data(), maps[m]->data(), 35 * sizeof(double)) == 0);
}

QTEST_GUILESS_MAIN(TestLcf)
#include "test_lcfrun.moc"
