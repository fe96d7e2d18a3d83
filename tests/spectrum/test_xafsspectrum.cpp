#include "spectrum/LinearSolver.h"
#include "spectrum/XafsSpectrum.h"
#include "LogCapture.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <functional>

class TestXafsSpectrum : public QObject
{
    Q_OBJECT
private slots:
    void solver();
    void lineNormalization();
    void victoreenNormalization();
    void shiftedPoints();
    void smallAndOddSpectra();
    void preWindowWithOnePoint();
    void edgeBetweenSlopingMiddle();
    void scanFile();
    void twoColumnFile();
    void saveFile();
    void hostileFiles();
    void describedEdgeKept();
};

static const double hc = 12398.424360387684;

static bool near(double a, double b, double tol)
{
    return std::fabs(a - b) <= tol * std::max(1.0, std::fabs(b));
}

static void writeFile(const QString &name, const QByteArray &text)
{
    QFile f(name);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text);
}

static QByteArray readFile(const QString &name)
{
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

void TestXafsSpectrum::solver()
{
    // Needs a row exchange: the first pivot is 0. Solution (1, 2, 3).
    double a[9] = {0, 2, 1, 1, 1, 1, 2, 1, 3};
    double b[3] = {7, 6, 13};
    solveLinearSystem(a, b, 3);
    QVERIFY(near(b[0], 1.0, 1e-14));
    QVERIFY(near(b[1], 2.0, 1e-14));
    QVERIFY(near(b[2], 3.0, 1e-14));

    // A singular system: the zero pivot counts as 1. [[1,2],[2,4]] with
    // (3, 6): after the exchange the second pivot is 0, so x1 = 0, x0 = 3.
    double s[4] = {1, 2, 2, 4};
    double r[2] = {3, 6};
    solveLinearSystem(s, r, 2);
    QCOMPARE(r[0], 3.0);
    QCOMPARE(r[1], 0.0);

    // All zero: both pivots count as 1 and b comes back.
    double z[4] = {0, 0, 0, 0};
    double zb[2] = {3, 4};
    solveLinearSystem(z, zb, 2);
    QCOMPARE(zb[0], 3.0);
    QCOMPARE(zb[1], 4.0);

    // A 1 by 1 system and an empty one.
    double one[1] = {4};
    double oneB[1] = {2};
    solveLinearSystem(one, oneB, 1);
    QCOMPARE(oneB[0], 0.5);
    solveLinearSystem(nullptr, nullptr, 0);
}

// Points at E = 6005, 6015, ..., 7995: pre(E) below 7000, post(E) above.
static SpectrumPoints stepSpectrum(const std::function<double(double)> &pre,
                                   const std::function<double(double)> &post)
{
    SpectrumPoints p;
    for (int i = 0; i < 200; ++i) {
        const double e = 6005.0 + 10.0 * i;
        p.append(e, e < 7000.0 ? pre(e) : post(e));
    }
    return p;
}

void TestXafsSpectrum::lineNormalization()
{
    // pre = 1 + 1e-4 (E - 7000), post = 3 - 2e-4 (E - 7000).
    auto pre = [](double e) { return 1.0 + 1e-4 * (e - 7000.0); };
    auto post = [](double e) { return 3.0 - 2e-4 * (e - 7000.0); };
    const SpectrumPoints p = stepSpectrum(pre, post);
    XafsSpectrum s(p, false, 0.0);
    QVERIFY(!s.isVictoreen());
    QCOMPARE(s.isTwoColumn(), 1);

    // The y range is pre(6005) = 0.9005 to post(7005) = 2.999; half of it,
    // 1.94975, is crossed between 6995 (0.9995) and 7005 (2.999).
    const double h = 6995.0 + (1.94975 - 0.9995) / (2.999 - 0.9995) * 10.0;
    QVERIFY(near(s.raw().crossingX(0.5, SpectrumPoints::Rising), h, 1e-12));
    // Both windows hold only points of their own line, so the fits are exact.
    QVERIFY(near(s.pre().c3, 1e-4, 1e-7));
    QVERIFY(near(s.pre().c0, 1.0 - 0.7, 1e-9));
    QVERIFY(near(s.post().c3, -2e-4, 1e-7));
    QVERIFY(near(s.post().c0, 3.0 + 1.4, 1e-9));
    QCOMPARE(s.pre().curve.size(), 200);
    QVERIFY(near(s.pre().curve.y(199), pre(7995.0), 1e-9));
    QVERIFY(near(s.post().curve.y(0), post(6005.0), 1e-9));
    QVERIFY(!s.pre().isVictoreen);

    // e0: at 6995 the middle of the lines is (0.9995 + 3.001) / 2 = 2.00025,
    // crossed on the way to 2.999; no other segment crosses its middle.
    const double e0 = 6995.0 + (2.00025 - 0.9995) / (2.999 - 0.9995) * 10.0;
    QVERIFY(near(s.e0(), e0, 1e-9));
    const double jump = post(e0) - pre(e0);
    QVERIFY(near(s.jump(), jump, 1e-9));
    // The largest mu among the points visited (all but the last) is at 7005.
    QCOMPARE(s.maxE(), 7005.0);
    QCOMPARE(s.maxMu(), post(7005.0));
    QVERIFY(near(s.maxMuOverPost(), 0.0, 1e-9));

    QCOMPARE(s.normalized().size(), 200);
    QCOMPARE(s.doubleNormalizedPreBase().size(), 200);
    for (int i : {0, 50, 99, 100, 150, 199}) {
        const double e = 6005.0 + 10.0 * i;
        const double mu = e < 7000.0 ? pre(e) : post(e);
        QCOMPARE(s.normalized().x(i), e);
        QVERIFY(near(s.normalized().y(i), (mu - post(e)) / jump + 1.0, 1e-8));
        QVERIFY(near(s.postBaseNormalized().y(i), (mu - post(e)) / jump, 1e-8));
        QVERIFY(near(s.doubleNormalizedPreBase().y(i), e < 7000.0 ? 0.0 : 1.0, 1e-8));
        QVERIFY(near(s.doubleNormalized().y(i), e < 7000.0 ? -1.0 : 0.0, 1e-8));
    }
    // The pre-base curve read at any energy between two post points is 1.
    QVERIFY(near(s.doubleNormalizedPreBase(7500.0), 1.0, 1e-8));
    QVERIFY(near(s.doubleNormalizedPreBase(6500.0), 0.0, 1e-8));
    // Half way between 6995 (0) and 7005 (1).
    QVERIFY(near(s.doubleNormalizedPreBase(7000.0), 0.5, 1e-8));

    // Normalizing again gives the same; switching the form changes it.
    XafsSpectrum t = s;
    t.normalize(false);
    QCOMPARE(t.e0(), s.e0());
    t.normalize(true);
    QVERIFY(t.isVictoreen());
    QVERIFY(t.pre().isVictoreen);
}

void TestXafsSpectrum::victoreenNormalization()
{
    auto lambda = [](double e) { return hc / e; };
    auto pre = [&](double e) {
        const double l = lambda(e);
        return 0.5 + 0.02 * l * l * l + 0.01 * l * l * l * l;
    };
    auto post = [&](double e) {
        const double l = lambda(e);
        return 2.5 + 0.05 * l * l * l - 0.01 * l * l * l * l;
    };
    const SpectrumPoints p = stepSpectrum(pre, post);
    XafsSpectrum s(p, true, 0.0);
    QVERIFY(s.isVictoreen());
    QVERIFY(near(s.pre().c0, 0.5, 1e-5));
    QVERIFY(near(s.pre().c1, 0.02, 1e-5));
    QVERIFY(near(s.pre().c2, 0.01, 1e-5));
    QVERIFY(near(s.post().c0, 2.5, 1e-5));
    QVERIFY(near(s.post().c1, 0.05, 1e-5));
    QVERIFY(near(s.post().c2, -0.01, 1e-5));
    for (int i : {0, 80, 120, 199}) {
        const double e = 6005.0 + 10.0 * i;
        QVERIFY(near(s.pre().curve.y(i), pre(e), 1e-8));
        QVERIFY(near(s.post().curve.y(i), post(e), 1e-8));
    }

    // pre falls and post falls with energy: the y range is pre(6995) to
    // post(7005), and e0 uses the middle of both curves at 6995.
    const double lo = pre(6995.0), hi = post(7005.0);
    const double h = 6995.0 + ((lo + hi) / 2 - lo) / (hi - lo) * 10.0;
    QVERIFY(near(s.raw().crossingX(0.5, SpectrumPoints::Rising), h, 1e-12));
    const double level = (pre(6995.0) + post(6995.0)) / 2;
    const double e0 = 6995.0 + (level - lo) / (hi - lo) * 10.0;
    QVERIFY(near(s.e0(), e0, 1e-8));
    // The jump reads both curves between their points at 6995 and 7005.
    const double t = (e0 - 6995.0) / 10.0;
    const double jump = (post(6995.0) + t * (post(7005.0) - post(6995.0)))
                        - (pre(6995.0) + t * (pre(7005.0) - pre(6995.0)));
    QVERIFY(near(s.jump(), jump, 1e-8));
    QVERIFY(near(s.doubleNormalizedPreBase().y(10), 0.0, 1e-6));
    QVERIFY(near(s.doubleNormalizedPreBase().y(150), 1.0, 1e-6));
}

void TestXafsSpectrum::shiftedPoints()
{
    // The same step spectrum read through a shift of 12.5 eV: every energy of
    // the spectrum is 12.5 lower, the shape is unchanged.
    auto pre = [](double e) { return 1.0 + 1e-4 * (e - 7000.0); };
    auto post = [](double e) { return 3.0 - 2e-4 * (e - 7000.0); };
    SpectrumPoints p = stepSpectrum(pre, post);
    p.setShift(12.5);
    p.enableShift(true);
    XafsSpectrum s(p, false, 3.25);
    QCOMPARE(s.energyShift(), 3.25);
    QCOMPARE(s.dE(), 12.5);
    QVERIFY(!s.dEEnabled());
    QCOMPARE(s.raw().storedX(0), 6005.0 - 12.5);
    QCOMPARE(s.raw().maxX(), 7995.0 - 12.5);
    const double e0 = 6995.0 + (2.00025 - 0.9995) / (2.999 - 0.9995) * 10.0 - 12.5;
    QVERIFY(near(s.e0(), e0, 1e-9));
    QCOMPARE(s.doubleNormalizedPreBase().x(0), 6005.0 - 12.5);
    // The pre slope is unchanged, the intercept moves along with the energies.
    QVERIFY(near(s.pre().c3, 1e-4, 1e-7));
    QVERIFY(near(s.pre().c0, 1.0 - 1e-4 * (7000.0 - 12.5), 1e-9));

    // With dE switched on the curve is read at E + dE.
    s.enableDE(true);
    QVERIFY(near(s.doubleNormalizedPreBase(7000.0 - 25.0), 0.5, 1e-8));
    s.enableDE(false);
    QVERIFY(near(s.doubleNormalizedPreBase(7000.0 - 12.5), 0.5, 1e-8));

    LogCapture log;
    const double v = s.doubleNormalizedPreBase(std::nan(""));
    QVERIFY(std::isnan(v));
    QCOMPARE(log.lines(), QStringList({"nan EeV in XafsSpectrum::doubleNormalizedPreBase"}));
}

void TestXafsSpectrum::smallAndOddSpectra()
{
    // One point: the half-height energy is its x, nothing is fitted, e0 and
    // the jump are 0 and the derived values use 0 for both backgrounds.
    SpectrumPoints one;
    one.append(7100.0, 2.0);
    XafsSpectrum s1(one, false, 0.0);
    QCOMPARE(s1.raw().crossingX(0.5, SpectrumPoints::Rising), 7100.0);
    QCOMPARE(s1.e0(), 0.0);
    QCOMPARE(s1.jump(), 0.0);
    QCOMPARE(s1.pre().curve.size(), 0);
    QCOMPARE(s1.post().curve.size(), 0);
    QCOMPARE(s1.maxMu(), -1e300);
    QCOMPARE(s1.maxE(), 0.0);
    QCOMPARE(s1.normalized().size(), 1);
    QVERIFY(std::isinf(s1.normalized().y(0)));
    QVERIFY(std::isinf(s1.doubleNormalizedPreBase().y(0)));
    QVERIFY(std::isinf(s1.postBaseNormalized().y(0)));

    // An empty spectrum: nothing happens.
    XafsSpectrum empty(SpectrumPoints(), true, 0.0);
    QCOMPARE(empty.normalized().size(), 0);
    empty.normalize(false);
    QVERIFY(empty.isVictoreen()); // the form of a spectrum without points stays
    QCOMPARE(empty.e0(), 0.0);
    QCOMPARE(empty.maxMu(), 0.0);

    // Three points with the Victoreen form: too few, the backgrounds keep the
    // curves of the previous normalization (here of seven points).
    SpectrumPoints seven;
    const double mu7[] = {1, 1, 1, 2, 3, 3, 3};
    for (int i = 0; i < 7; ++i)
        seven.append(1000.0 + 100.0 * i, mu7[i]);
    XafsSpectrum s3(seven, false, 0.0);
    QCOMPARE(s3.pre().curve.size(), 7);
    const SpectrumPoints oldPre = s3.pre().curve;
    s3.raw().clear();
    s3.raw().append(1000.0, 1.0);
    s3.raw().append(1100.0, 1.5);
    s3.raw().append(1200.0, 3.0);
    s3.normalize(true);
    QCOMPARE(s3.pre().curve.size(), 7);
    QCOMPARE(s3.pre().curve.points(), oldPre.points());
    QCOMPARE(s3.normalized().size(), 3);
    // The line form fits three points: h = 1100 + 0.5 / 1.5 * 100, and the pre
    // window [h - 1000, h - 100) holds 1000 (1.0) only.
    s3.normalize(false);
    QCOMPARE(s3.pre().curve.size(), 3);
    QCOMPARE(s3.pre().c0, 1.0);
    QCOMPARE(s3.pre().c3, 0.0);

    // A falling spectrum has no rising crossing: the half-height energy is
    // the first energy, 8000. The pre window [7000, 7900) is empty (slope and
    // intercept 0); the post window [8010, 9000) holds 8100 .. 8900.
    SpectrumPoints down;
    for (int i = 0; i < 20; ++i)
        down.append(8000.0 + 100.0 * i, 5.0 - 0.1 * i);
    XafsSpectrum sd(down, false, 0.0);
    QCOMPARE(sd.raw().crossingX(0.5, SpectrumPoints::Rising), 8000.0);
    QCOMPARE(sd.pre().c0, 0.0);
    QCOMPARE(sd.pre().c3, 0.0);
    QVERIFY(near(sd.post().c3, -0.001, 1e-9));
    QVERIFY(near(sd.post().c0, 13.0, 1e-9));
    // The edge search (7900, 8010) holds 8000, where mu (5) and the next point
    // (4.9) lie above the middle (2.5 + 0.5 * 5): no crossing, e0 = 0.
    QCOMPARE(sd.e0(), 0.0);
    QVERIFY(near(sd.jump(), 13.0, 1e-9));
    QCOMPARE(sd.maxE(), 8000.0);
    QCOMPARE(sd.maxMu(), 5.0);
}

void TestXafsSpectrum::preWindowWithOnePoint()
{
    // Points 5100 (0.4), 5950 (0.5), 6010 (0.6), 6020 (2.0), 6100 (2.6), 6500 (2.5).
    // Range 0.4 .. 2.6, level 1.5, crossed between 6010 and 6020 at
    // h = 6010 + 0.9 / 1.4 * 10; the pre window [h - 1000, h - 100) ends below
    // 5950 and starts below 5100: it holds 5100 only.
    SpectrumPoints p;
    const double e[] = {5100, 5950, 6010, 6020, 6100, 6500};
    const double mu[] = {0.4, 0.5, 0.6, 2.0, 2.6, 2.5};
    for (int i = 0; i < 6; ++i)
        p.append(e[i], mu[i]);
    XafsSpectrum s(p, false, 0.0);
    const double h = 6010.0 + 0.9 / 1.4 * 10.0;
    QVERIFY(near(s.raw().crossingX(0.5, SpectrumPoints::Rising), h, 1e-12));
    QCOMPARE(s.pre().c0, 0.4);
    QCOMPARE(s.pre().c3, 0.0);
    for (int i = 0; i < 6; ++i)
        QCOMPARE(s.pre().curve.y(i), 0.4);
    // The post window [h + 10, h + 1000) holds 6100 and 6500: the line through
    // them, slope -0.1 / 400.
    QVERIFY(near(s.post().c3, -0.00025, 1e-9));
    QVERIFY(near(s.post().c0, 2.6 + 0.00025 * 6100.0, 1e-9));
}

void TestXafsSpectrum::edgeBetweenSlopingMiddle()
{
    // pre = 1 - 1e-4 (E - 6000), post = pre + 1, so the middle line
    // 1.5 - 1e-4 (E - 6000) falls by 5e-4 from 7000 to 7005. The point at 7005
    // sits 1e-4 above the middle there but below the middle at 7000: mu
    // crosses the middle inside the segment 7000..7005 although both points
    // lie below the middle's value at 7000.
    auto pre = [](double e) { return 1.0 - 1e-4 * (e - 6000.0); };
    SpectrumPoints p;
    for (double e = 6000.0; e <= 7000.0; e += 10.0)
        p.append(e, pre(e));
    p.append(7005.0, pre(7005.0) + 0.5 + 1e-4);
    for (double e = 7010.0; e <= 8100.0; e += 10.0)
        p.append(e, pre(e) + 1.0);
    XafsSpectrum s(p, false, 0.0);
    // At 7000: mu - middle = -0.5; at 7005: +1e-4.
    const double e0 = 7000.0 + 0.5 / (0.5 + 1e-4) * 5.0;
    QVERIFY(near(s.e0(), e0, 1e-6));
    QVERIFY(near(s.jump(), 1.0, 1e-9));
}

void TestXafsSpectrum::scanFile()
{
    QTemporaryDir dir;
    const QString name = dir.filePath("scan.dat");
    // The header sets d = 3.0; the line "Offset" starts the data; the data
    // lines give angle, I0 and I in items 1, 3 and 4. A line of four items is
    // no data; I0 = 0 gives mu = 1.0.
    writeFile(name, "  9809   KEK-PF  BL-9A\n"
                    "Mono : Si(111)   D=   3.0  A\n"
                    "Offset     0   0   0\n"
                    "1  12.0  0  1000  500\n"
                    "2  11.5  0  0  500\n"
                    "3  11.0  0  800\n"
                    "4  \t11.0   0   800    200  9\n");
    XafsSpectrum s;
    QVERIFY(s.load(name));
    QCOMPARE(s.isTwoColumn(), 0);
    QCOMPARE(s.raw().size(), 3);
    const double rad = 3.1415926535 / 180.0;
    const double angle[] = {12.0, 11.5, 11.0}, mu[] = {std::log(2.0), 1.0, std::log(4.0)};
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(s.raw().x(i), hc / (2.0 * 3.0 * std::sin(angle[i] * rad)));
        QCOMPARE(s.raw().y(i), mu[i]);
    }
    // Loading does not normalize.
    QCOMPARE(s.normalized().size(), 0);

    // Without "D=" the spacing is 3.13553; a "D=" without a number after it
    // (the last item) or with a non-number changes nothing.
    writeFile(name, "9809\n"
                    "x D= abc\n"
                    "Angle D=\n"
                    "Offset\n"
                    "1 10.0 0 100 10\n");
    QVERIFY(s.load(name));
    QCOMPARE(s.raw().size(), 1);
    QCOMPARE(s.raw().x(0), hc / (2.0 * 3.13553 * std::sin(10.0 * rad)));
    QCOMPARE(s.raw().y(0), std::log(10.0));

    // No "Offset": all lines are header lines; a file without points does
    // not load.
    writeFile(name, "9809\n1 10.0 0 100 10\n");
    QVERIFY(!s.load(name));
    QCOMPARE(s.raw().size(), 0);
    QCOMPARE(s.isTwoColumn(), 0);

    // "9809" must begin the first line: "980" or a lower line make a
    // two-column file.
    writeFile(name, "980 9\n1 10.0 0 100 10\n");
    QVERIFY(s.load(name));
    QCOMPARE(s.isTwoColumn(), 1);
    QCOMPARE(s.raw().size(), 2);
    QCOMPARE(s.raw().x(0), 980.0);
}

void TestXafsSpectrum::twoColumnFile()
{
    QTemporaryDir dir;
    const QString name = dir.filePath("two.dat");
    LogCapture log;
    writeFile(name, "# energy mu\n#\n   # indented comment\n");
    XafsSpectrum s;
    s.raw().append(1.0, 1.0);
    QVERIFY(!s.load(name));
    QCOMPARE(s.raw().size(), 0);
    QCOMPARE(s.isTwoColumn(), 1);
    QVERIFY(log.contains("No data in spectrum file"));

    writeFile(name, "# E mu\n"
                    "7000  0.5\n"
                    "\n"
                    "7001\n"
                    "Energy Mu\n"
                    "\t7002.5   1.25e-1  extra\n"
                    "7003,5 2\n");
    QVERIFY(s.load(name));
    QCOMPARE(s.raw().points(), QVector<QPointF>({{7000, 0.5}, {7002.5, 0.125}}));

    // A missing file fails and leaves no points; the dE survives.
    s.setDE(4.0);
    s.enableDE(true);
    QVERIFY(!s.load(dir.filePath("none.dat")));
    QCOMPARE(s.raw().size(), 0);
    QCOMPARE(s.dE(), 4.0);
    QVERIFY(s.dEEnabled());

    // Binary garbage: no line holds two numbers, nothing is read.
    QByteArray junk;
    for (int i = 0; i < 5000; ++i)
        junk.append(char((i * 7919 + 13) % 256));
    writeFile(name, junk);
    QVERIFY(!s.load(name));
    QCOMPARE(s.raw().size(), 0);
    writeFile(name, "9809" + junk);
    QVERIFY(!s.load(name));
    QCOMPARE(s.isTwoColumn(), 0);

    // A file written by save reads back with the pre-base curve as mu.
    SpectrumPoints p;
    const double mu[] = {1, 1, 1, 2, 3, 3, 3};
    for (int i = 0; i < 7; ++i)
        p.append(1000.0 + 100.0 * i, mu[i]);
    XafsSpectrum w(p, false, 0.0);
    w.save(name, false);
    XafsSpectrum r;
    QVERIFY(r.load(name));
    QCOMPARE(r.raw().size(), 7);
    QVERIFY(near(r.raw().y(3), 0.5, 1e-6));
    QVERIFY(near(r.raw().y(6), 1.0, 1e-6));
}

void TestXafsSpectrum::saveFile()
{
    QTemporaryDir dir;
    // 1, 1, 1, 1.5, 3, 3, 3 at 1000 .. 1600 read through a shift of 10: the
    // level 2 is crossed at h = 1290 + 0.5 / 1.5 * 100, pre = 1 over
    // [h - 1000, h - 100) (990 .. 1190), post = 3 over [h + 10, h + 1000)
    // (1390 .. 1590); e0 is where mu crosses 2 = the middle, that is h; the
    // jump is 2 and the pre-base curve (mu - 1) / 2.
    SpectrumPoints p;
    const double mu[] = {1, 1, 1, 1.5, 3, 3, 3};
    for (int i = 0; i < 7; ++i)
        p.append(1000.0 + 100.0 * i, mu[i]);
    p.setShift(10.0);
    p.enableShift(true);
    XafsSpectrum s(p, false, 0.0012345);
    QVERIFY(near(s.e0(), 1290.0 + 100.0 / 3.0, 1e-12));
    QVERIFY(near(s.jump(), 2.0, 1e-12));
    QCOMPARE(s.maxE(), 1390.0);
    QCOMPARE(s.maxMu(), 3.0);

    const QString plain = dir.filePath("plain.dat");
    s.save(plain, false);
    QCOMPARE(readFile(plain), QByteArray("###Lumenograf::XafsSpectrum\n"
                                         "# x  double-normalized-pre-base y pre post\n"
                                         "990\t0\t1\t1\t3\n"
                                         "1090\t0\t1\t1\t3\n"
                                         "1190\t0\t1\t1\t3\n"
                                         "1290\t0.25\t1.5\t1\t3\n"
                                         "1390\t1\t3\t1\t3\n"
                                         "1490\t1\t3\t1\t3\n"
                                         "1590\t1\t3\t1\t3\n"));

    // dE switched on and the energy shift subtracted: x = 990 - 10 - 0.0012345,
    // six significant digits; the y columns stay.
    s.enableDE(true);
    const QString shifted = dir.filePath("shifted.dat");
    s.save(shifted, true);
    QCOMPARE(readFile(shifted), QByteArray("###Lumenograf::XafsSpectrum\n"
                                           "# x  double-normalized-pre-base y pre post\n"
                                           "979.999\t0\t1\t1\t3\n"
                                           "1080\t0\t1\t1\t3\n"
                                           "1180\t0\t1\t1\t3\n"
                                           "1280\t0.25\t1.5\t1\t3\n"
                                           "1380\t1\t3\t1\t3\n"
                                           "1480\t1\t3\t1\t3\n"
                                           "1580\t1\t3\t1\t3\n"));

    // Points without background or derived values write 0 there; an empty
    // spectrum writes the two header lines; an unopenable name writes nothing.
    XafsSpectrum bare;
    bare.raw().append(7000.5, 0.25);
    const QString bareName = dir.filePath("bare.dat");
    bare.save(bareName, true);
    QCOMPARE(readFile(bareName), QByteArray("###Lumenograf::XafsSpectrum\n"
                                            "# x  double-normalized-pre-base y pre post\n"
                                            "7000.5\t0\t0.25\t0\t0\n"));
    XafsSpectrum none;
    const QString emptyName = dir.filePath("empty.dat");
    none.save(emptyName, false);
    QCOMPARE(readFile(emptyName), QByteArray("###Lumenograf::XafsSpectrum\n"
                                             "# x  double-normalized-pre-base y pre post\n"));
    QVERIFY(s.save(plain, false));
    LogCapture log;
    const QString nowhere = dir.filePath("no/such/dir/x.dat");
    QVERIFY(!s.save(nowhere, false));
    QVERIFY(!QFile::exists(nowhere));
    QCOMPARE(log.lines(), QStringList{"Can not write spectrum file " + nowhere
                                      + " : No such file or directory"});
}

void TestXafsSpectrum::hostileFiles()
{
    // A "9809" line whose angle is no number is no point; a file left without
    // points, one with an angle of 0 or an energy "inf", and a device that
    // never ends do not load (-1).
    QTemporaryDir dir;
    const QString name = dir.filePath("hostile.dat");
    const struct
    {
        QByteArray text;
        int points;
    } cases[] = {
        {"9809\nOffset\n1 abc 0 100 10\n", -1},
        {"9809\nOffset\n1 10 0 100 10\n2 1O.5 0 100 10\n3 11 0 100 10\n", 2},
        {"9809\nOffset\n1 10 0 100 10\n2 0 0 100 10\n", -1},
        {"7000 1\ninf 2\n", -1},
    };
    LogCapture log;
    for (const auto &c : cases) {
        writeFile(name, c.text);
        XafsSpectrum s;
        QCOMPARE(s.load(name), c.points > 0);
        QCOMPARE(s.raw().size(), qMax(c.points, 0));
    }
    XafsSpectrum s;
    QVERIFY(!s.load("/dev/zero"));
    const QString infinite = "Energy not finite at point 1 of spectrum file " + name;
    QCOMPARE(log.lines(), QStringList({"No data in spectrum file " + name, infinite, infinite,
                                       "Not a regular file /dev/zero"}));
}

void TestXafsSpectrum::describedEdgeKept()
{
    // edgeBetweenSlopingMiddle with a dip to the pre-edge at 7010: the middle
    // is crossed in 7005..7010 (1e-4 above, 0.5 below) and 7010..7020 (0.5
    // below, 0.5 above); the hidden crossing in 7000..7005 no longer counts.
    auto pre = [](double e) { return 1.0 - 1e-4 * (e - 6000.0); };
    SpectrumPoints p;
    for (double e = 6000.0; e <= 7000.0; e += 10.0)
        p.append(e, pre(e));
    p.append(7005.0, pre(7005.0) + 0.5 + 1e-4);
    p.append(7010.0, pre(7010.0));
    for (double e = 7020.0; e <= 8100.0; e += 10.0)
        p.append(e, pre(e) + 1.0);
    XafsSpectrum s(p, false, 0.0);
    const double a = 7005.0 + 1e-4 / (1e-4 + 0.5 + 5e-4) * 5.0;
    const double b = 7010.0 + 0.5 / (0.5 + 0.5 - 1e-3) * 10.0;
    QVERIFY(near(s.e0(), (a + b) / 2.0, 1e-9));
    QVERIFY(near(s.jump(), 1.0, 1e-9));
}

QTEST_GUILESS_MAIN(TestXafsSpectrum)
#include "test_xafsspectrum.moc"
