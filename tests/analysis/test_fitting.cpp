#include "analysis/LcfFit.h"

#include "LogCapture.h"

#include <QtTest>

#include <cmath>
#include <cstring>
#include <functional>

// Two references on 6000 .. 8190 eV in 10 eV steps, 0 below their edge and 1
// above it with one point half-way: A rises at 7100, B at 7120. Their
// straight backgrounds are 0 and 1, so every normalized curve is mu itself
// (double-normalized: mu - 1), and so is that of any mix whose weights sum
// to 1.
static const auto refA = [](double e) { return e <= 7090 ? 0.0 : e == 7100 ? 0.5 : 1.0; };
static const auto refB = [](double e) { return e <= 7110 ? 0.0 : e == 7120 ? 0.5 : 1.0; };

// mu measured at e + shift, a bin whose energies the energy-shift map moves
// back by shift.
static XafsSpectrum spectrumOf(const std::function<double(double)> &mu, double first = 6000,
                               double last = 8190, double shift = 0)
{
    SpectrumPoints p;
    for (double e = first; e <= last; e += 10)
        p.append(e + shift, mu(e));
    return XafsSpectrum(p, false, shift);
}

static LcfReferenceSnapshot ref(const std::function<double(double)> &mu, bool use = true,
                                double last = 8190)
{
    return LcfReferenceSnapshot::of(spectrumOf(mu, 6000, last), 0.0, use, false);
}

using Refs = QVector<LcfReferenceSnapshot>;
Q_DECLARE_METATYPE(Refs)

static bool near(const QVector<double> &seen, const QVector<double> &expected, double tol)
{
    bool ok = seen.size() == expected.size();
    for (int i = 0; ok && i < seen.size(); ++i)
        ok = std::abs(seen[i] - expected[i]) < tol;
    return ok;
}

class TestFitting : public QObject
{
    Q_OBJECT
private slots:
    void lcfOfMix_data();
    void lcfOfMix();
    void mlcfClipsAndRescales();
    void residualOfMisfit();
    void shortSamples_data();
    void shortSamples();
    void dEAppliedOnce();
    void preparedEqualsPlain_data();
    void preparedEqualsPlain();
    void binNormalization_data();
    void binNormalization();
};

void TestFitting::lcfOfMix_data()
{
    QTest::addColumn<Refs>("refs");
    const auto mix = [](double e) { return e >= 8120 ? 0.9 : 0.3 * refA(e) + 0.7 * refB(e); };
    QTest::addColumn<XafsSpectrum>("sample");
    // The residual: the fit is exact, but the 109 sample values of 0 (6010
    // .. 7090 eV) count 1 each, over the 218 inner points in the window
    // (210 up to 8100 eV), divided by the 220 sample points.
    QTest::addColumn<double>("z");
    const XafsSpectrum exact = spectrumOf([](double e) { return 0.3 * refA(e) + 0.7 * refB(e); });
    const double z = 109.0 / 218 / 220;
    QTest::newRow("two rows") << Refs{ref(refA), ref(refB)} << exact << z;
    QTest::newRow("unused row") << Refs{ref(refA), ref(refB, false), ref(refB)} << exact << z;
    QTest::newRow("row without points")
        << Refs{ref(refA), LcfReferenceSnapshot::of(XafsSpectrum(), 0.0, true, false), ref(refB)}
        << exact << z;
    // B ends at 8100 and the sample leaves the mix above that (outside its
    // own background windows): the fit must keep to B's range.
    QTest::newRow("partial reference")
        << Refs{ref(refA), ref(refB, true, 8100)} << spectrumOf(mix) << 109.0 / 210 / 220;
}

void TestFitting::lcfOfMix()
{
    QFETCH(Refs, refs);
    QFETCH(XafsSpectrum, sample);
    QFETCH(double, z);
    LcfResult r;
    QVERIFY(fitLcfSpectrum(sample, refs, false, 0, 30000, r));
    // The sample's jump is 1: the weights are the changes of mu too.
    QVERIFY(near(r.ratio, {0.3, 0.7}, 1e-9) && near(r.dmut, {0.3, 0.7}, 1e-9));
    QVERIFY(std::abs(r.z - z) < 1e-12);
}

void TestFitting::mlcfClipsAndRescales()
{
    // mu = 0.2 + 1e-4 E + 0.9 (A - 1) - 0.3 (B - 1): weights 0.9 and -0.3,
    // sum 0.6; B is clipped to 0, A rescaled to 0.9 / 0.6.
    const XafsSpectrum sample = spectrumOf(
        [](double e) { return 0.2 + 1e-4 * e + 0.9 * (refA(e) - 1) - 0.3 * (refB(e) - 1); });
    LcfResult r;
    QVERIFY(fitLcfSpectrum(sample, Refs{ref(refA), ref(refB)}, true, 0, 30000, r));
    QVERIFY(near(r.dmut, {0.9, 0}, 1e-6) && r.dmut[1] == 0.0);
    QVERIFY(near(r.ratio, {1.5, 0}, 1e-6) && r.ratio[1] == 0.0);
}

void TestFitting::residualOfMisfit()
{
    // Sample B against A alone, fitted over 7090 .. 7120: A is 0, .5, 1, 1
    // and B 0, 0, 0, .5 there, so w = .5 / 2.25 = 2/9. Three sample values
    // of 0 count 1 each, the fourth ((2/9 - 1/2) / (1/2))^2 = 25/81; the
    // mean over 4 terms divided by the 220 sample points. A bin moved by
    // the energy-shift map is compared with the fit at the energies the fit
    // was made at, so its residual is the same.
    for (double shift : {0.0, 10.0}) {
        LcfResult r;
        QVERIFY(fitLcfSpectrum(spectrumOf(refB, 6000, 8190, shift),
                               Refs{ref(refA), ref(refB, false)}, false, 7090, 7120, r));
        QVERIFY(near(r.ratio, {2.0 / 9}, 1e-9));
        QVERIFY(std::abs(r.z - (3 + 25.0 / 81) / 4 / 220) < 1e-12);
    }
}

void TestFitting::shortSamples_data()
{
    QTest::addColumn<XafsSpectrum>("sample");
    QTest::newRow("two points") << spectrumOf([](double e) { return e / 1e4; }, 7100, 7110);
    QTest::newRow("empty") << XafsSpectrum();
}

void TestFitting::shortSamples()
{
    QFETCH(XafsSpectrum, sample);
    for (bool mlcf : {false, true}) {
        LcfResult r;
        QVERIFY(fitLcfSpectrum(sample, Refs{ref(refA), ref(refB)}, mlcf, 0, 30000, r));
        QCOMPARE(r.z, 0.0);
    }
    // Fewer than two rows: no fit, and the log says why.
    LogCapture log;
    LcfResult r;
    QVERIFY(!fitLcfSpectrum(sample, Refs{ref(refA)}, false, 0, 30000, r));
    QVERIFY(log.contains(QStringLiteral("LCF needs at least two reference rows, 1 given")));
}

void TestFitting::dEAppliedOnce()
{
    // A with dE 20: its value at 7080 is A's at 7100, 0.5, whether the row
    // was normalized before its dE was set or after (the Victoreen box
    // toggled with the shift on).
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

void TestFitting::preparedEqualsPlain_data()
{
    QTest::addColumn<bool>("mlcf");
    QTest::addColumn<double>("shift");
    // A bin with its own energy shift is not at the prepared energies.
    for (bool mlcf : {false, true})
        for (double shift : {0.0, 5.0})
            QTest::addRow("%s, shift %g", mlcf ? "MLCF" : "LCF", shift) << mlcf << shift;
}

void TestFitting::preparedEqualsPlain()
{
    QFETCH(bool, mlcf);
    QFETCH(double, shift);
    const Refs refs{ref(refA), ref(refB, false), ref(refB, true, 8100)};
    const LcfSetup setup(refs, lcfSampleEnergies(spectrumOf(refA)), mlcf, 6500, 8000);
    for (double wa : {0.2, 0.5, 1.3}) {
        XafsSpectrum s = spectrumOf([wa](double e) { return wa * refA(e) + 0.4 * refB(e); });
        s.setEnergyShift(shift);
        LcfResult plain, prepared, bare;
        QVERIFY(fitLcfSpectrum(s, refs, mlcf, 6500, 8000, plain));
        QVERIFY(setup.fit(s, prepared));
        QVERIFY(setup.fit(s, bare, false));
        for (const LcfResult &o : {prepared, bare})
            QVERIFY(o.ratio == plain.ratio && o.dmut == plain.dmut && o.z == plain.z);
        QVERIFY(prepared.fitted.points() == plain.fitted.points()
                && prepared.res.doubleNormalizedPreBase().points()
                       == plain.res.doubleNormalizedPreBase().points());
    }
}

void TestFitting::binNormalization_data()
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

// The normalization of a 2D run's bins gives the spectrum's double-normalized
// pre-base values and jump to the bit.
void TestFitting::binNormalization()
{
    QFETCH(int, points);
    QFETCH(bool, victoreen);
    QFETCH(int, shape);
    QVector<double> energies, mu;
    SpectrumPoints p;
    for (int i = 0; i < points; ++i) {
        const double e = 7000 + 15 * i;
        const double edge = 0.3 - 1e-5 * e + 1 / (1 + std::exp((7300 - e) / 8));
        const double m = shape == 1 ? 2 - 1e-3 * i : edge + (shape == 2 ? 0.01 * (i % 7) : 0.0);
        energies.append(e);
        mu.append(m);
        p.append(e, m);
    }
    const XafsSpectrum s(p, victoreen, 3.0);
    BinNormalizer normalizer(energies, victoreen);
    QVector<double> dnp(points);
    const double jump[2] = {normalizer.normalize(mu.constData(), dnp.data()), s.jump()};
    QVERIFY(std::memcmp(&jump[0], &jump[1], sizeof(double)) == 0);
    for (int i = 0; i < points; ++i) {
        const double want = s.doubleNormalizedPreBase().y(i);
        QVERIFY(std::memcmp(&dnp[i], &want, sizeof want) == 0);
    }
}

QTEST_GUILESS_MAIN(TestFitting)
#include "test_fitting.moc"
