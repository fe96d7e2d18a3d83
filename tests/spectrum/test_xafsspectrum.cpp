#include "spectrum/LinearSolver.h"
#include "spectrum/XafsSpectrum.h"
#include "LogCapture.h"
#include "TestFiles.h"

#include <QtTest>

#include <cmath>
#include <functional>

static const double hc = 12398.424360387684;

static bool near(double a, double b, double tol)
{ return std::fabs(a - b) <= tol * std::max(1.0, std::fabs(b)); }

static SpectrumPoints points(const QVector<double> &e, const QVector<double> &mu)
{
    SpectrumPoints p;
    for (int i = 0; i < e.size(); ++i)
        p.append(e[i], mu[i]);
    return p;
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

// pre = 1 + 1e-4 (E - 7000), post = 3 - 2e-4 (E - 7000).
static const auto linePre = [](double e) { return 1.0 + 1e-4 * (e - 7000.0); };
static const auto linePost = [](double e) { return 3.0 - 2e-4 * (e - 7000.0); };

// The energy of a Bragg angle for the spacing d.
static double bragg(double a, double d) { return hc / (2 * d * std::sin(a * 3.1415926535 / 180)); }

class TestXafsSpectrum : public QObject
{
    Q_OBJECT
private slots:
    void solver()
    {
        // Needs a row exchange: the first pivot is 0. Solution (1, 2, 3).
        double a[9] = {0, 2, 1, 1, 1, 1, 2, 1, 3}, b[3] = {7, 6, 13};
        solveLinearSystem(a, b, 3);
        QVERIFY(near(b[0], 1.0, 1e-14) && near(b[1], 2.0, 1e-14) && near(b[2], 3.0, 1e-14));
        // A zero pivot counts as 1: x1 = 0, x0 = 3; an empty system does nothing.
        double s[4] = {1, 2, 2, 4}, r[2] = {3, 6};
        solveLinearSystem(s, r, 2);
        QCOMPARE(QVector<double>({r[0], r[1]}), QVector<double>({3, 0}));
        solveLinearSystem(nullptr, nullptr, 0);
        // A background window takes its first energy and stops before its last: y = x on 0, 1, 2.
        EdgeBaseline line;
        fitBackground(line, points({-1, 0, 1, 2, 3}, {9, 0, 1, 2, 10}), 0.0, 3.0, false);
        QVERIFY(near(line.c3, 1.0, 1e-12) && near(line.c0, 0.0, 1e-12));
    }

    void lineNormalization()
    {
        // As read and with every energy read 12.5 lower.
        for (const double shift : {0.0, 12.5}) {
            SpectrumPoints p = stepSpectrum(linePre, linePost);
            p.setShift(shift);
            p.enableShift(true);
            XafsSpectrum s(p, false, 3.25);
            // Both windows hold only their own line's points: exact fits.
            QVERIFY(near(s.pre().c3, 1e-4, 1e-7) && near(s.post().c3, -2e-4, 1e-7));
            QVERIFY(near(s.pre().c0, 1.0 - 1e-4 * (7000.0 - shift), 1e-9)
                    && near(s.post().c0, 3.0 + 2e-4 * (7000.0 - shift), 1e-9));
            QVERIFY(near(s.pre().curve.y(199), linePre(7995.0), 1e-9)
                    && near(s.post().curve.y(0), linePost(6005.0), 1e-9));
            // e0: at 6995 the middle of the lines is (0.9995 + 3.001) / 2 = 2.00025,
            // crossed on the way to 2.999; no other segment crosses its middle.
            const double e0 = 6995.0 + (2.00025 - 0.9995) / (2.999 - 0.9995) * 10.0;
            const double jump = linePost(e0) - linePre(e0);
            QVERIFY(near(s.e0(), e0 - shift, 1e-9) && near(s.jump(), jump, 1e-9));
            // The largest mu among the points visited (all but the last) is at 7005.
            QCOMPARE(QPointF(s.maxE(), s.maxMu()), QPointF(7005.0 - shift, linePost(7005.0)));
            QVERIFY(near(s.maxMuOverPost(), 0.0, 1e-9));
            for (int i : {0, 99, 100, 199}) {
                const double e = 6005.0 + 10.0 * i;
                const double mu = e < 7000.0 ? linePre(e) : linePost(e);
                QCOMPARE(s.normalized().x(i), e - shift);
                QVERIFY(near(s.normalized().y(i), (mu - linePost(e)) / jump + 1.0, 1e-8));
                QVERIFY(near(s.postBaseNormalized().y(i), (mu - linePost(e)) / jump, 1e-8));
                QVERIFY(near(s.doubleNormalizedPreBase().y(i), e < 7000.0 ? 0.0 : 1.0, 1e-8));
                QVERIFY(near(s.doubleNormalized().y(i), e < 7000.0 ? -1.0 : 0.0, 1e-8));
            }
            // Between points: 1 above the edge, 0 below, 0.5 across; dE moves the reading.
            QVERIFY(near(s.doubleNormalizedPreBase(7500.0 - shift), 1.0, 1e-8)
                    && near(s.doubleNormalizedPreBase(6500.0 - shift), 0.0, 1e-8)
                    && near(s.doubleNormalizedPreBase(7000.0 - shift), 0.5, 1e-8));
            s.enableDE(true);
            QVERIFY(near(s.doubleNormalizedPreBase(7000.0 - 2.0 * shift), 0.5, 1e-8));
            QVERIFY(std::isnan(s.doubleNormalizedPreBase(std::nan(""))));
        }
    }

    void victoreenNormalization()
    {
        // mu = c0 + c1 l^3 + c2 l^4 for the wavelength l = hc / E.
        auto pre = [](double e) { return 0.5 + 0.02 * pow(hc / e, 3) + 0.01 * pow(hc / e, 4); };
        auto post = [](double e) { return 2.5 + 0.05 * pow(hc / e, 3) - 0.01 * pow(hc / e, 4); };
        XafsSpectrum s(stepSpectrum(pre, post), true, 0.0);
        QVERIFY(near(s.pre().c0, 0.5, 1e-5) && near(s.pre().c1, 0.02, 1e-5)
                && near(s.pre().c2, 0.01, 1e-5) && near(s.post().c0, 2.5, 1e-5)
                && near(s.post().c1, 0.05, 1e-5) && near(s.post().c2, -0.01, 1e-5));
        for (int i : {0, 120, 199})
            QVERIFY(near(s.pre().curve.y(i), pre(6005.0 + 10.0 * i), 1e-8)
                    && near(s.post().curve.y(i), post(6005.0 + 10.0 * i), 1e-8));
        QVERIFY(near(s.doubleNormalizedPreBase().y(10), 0.0, 1e-6)
                && near(s.doubleNormalizedPreBase().y(150), 1.0, 1e-6));
    }

    void smallAndOddSpectra()
    {
        // One point: the half-height energy is its x, nothing is fitted, e0 and
        // the jump are 0 and the derived values use 0 for both backgrounds.
        XafsSpectrum s1(points({7100}, {2}), false, 0.0);
        QCOMPARE(s1.raw().crossingX(0.5, SpectrumPoints::Rising), 7100.0);
        QCOMPARE(QVector<double>({s1.e0(), s1.jump(), s1.maxMu()}),
                 QVector<double>({0, 0, -1e300}));
        QVERIFY(s1.pre().curve.size() + s1.post().curve.size() == 0
                && std::isinf(s1.normalized().y(0)) && std::isinf(s1.postBaseNormalized().y(0)));

        // Three points are too few for the Victoreen form: the backgrounds keep
        // the curves of the previous normalization (of seven points).
        XafsSpectrum s3(points({1000, 1100, 1200, 1300, 1400, 1500, 1600}, {1, 1, 1, 2, 3, 3, 3}),
                        false, 0.0);
        const SpectrumPoints oldPre = s3.pre().curve;
        s3.raw() = points({1000, 1100, 1200}, {1, 1.5, 3});
        s3.normalize(true);
        QCOMPARE(s3.pre().curve.points(), oldPre.points());
        // The line form fits three points: h = 1100 + 0.5 / 1.5 * 100, and the pre
        // window [h - 1000, h - 100) holds 1000 (1.0) only.
        s3.normalize(false);
        QCOMPARE(QVector<double>({double(s3.pre().curve.size()), s3.pre().c0, s3.pre().c3}),
                 QVector<double>({3, 1, 0}));

        // Falling: half height at the first point, 8000; the pre window [7000,
        // 7900) is empty, the post one holds 8100 .. 8900; no edge crossing, e0 0.
        SpectrumPoints down;
        for (int i = 0; i < 20; ++i)
            down.append(8000.0 + 100.0 * i, 5.0 - 0.1 * i);
        XafsSpectrum sd(down, false, 0.0);
        QCOMPARE(QVector<double>({sd.pre().c0, sd.pre().c3, sd.e0(), sd.maxE(), sd.maxMu()}),
                 QVector<double>({0, 0, 0, 8000, 5}));
        QVERIFY(near(sd.post().c3, -0.001, 1e-9) && near(sd.post().c0, 13.0, 1e-9)
                && near(sd.jump(), 13.0, 1e-9));
    }

    void edgeOfSlopingMiddle_data()
    {
        QTest::addColumn<bool>("dip");
        QTest::addColumn<double>("e0");
        // pre = 1 - 1e-4 (E - 6000), post = pre + 1, the middle falling 5e-4 over
        // 7000..7005: mu (0.5 below it at 7000, 1e-4 above at 7005) crosses it there.
        QTest::newRow("hidden crossing") << false << 7000.0 + 0.5 / (0.5 + 1e-4) * 5.0;
        // A dip to the pre-edge at 7010: crossings in 7005..7010 and 7010..7020, averaged.
        const double a = 7005.0 + 1e-4 / (1e-4 + 0.5 + 5e-4) * 5.0;
        const double b = 7010.0 + 0.5 / (0.5 + 0.5 - 1e-3) * 10.0;
        QTest::newRow("dip after it") << true << (a + b) / 2.0;
    }

    void edgeOfSlopingMiddle()
    {
        QFETCH(bool, dip);
        auto pre = [](double e) { return 1.0 - 1e-4 * (e - 6000.0); };
        SpectrumPoints p;
        for (double e = 6000.0; e <= 7000.0; e += 10.0)
            p.append(e, pre(e));
        p.append(7005.0, pre(7005.0) + 0.5 + 1e-4);
        if (dip)
            p.append(7010.0, pre(7010.0));
        for (double e = dip ? 7020.0 : 7010.0; e <= 8100.0; e += 10.0)
            p.append(e, pre(e) + 1.0);
        XafsSpectrum s(p, false, 0.0);
        QFETCH(double, e0);
        QVERIFY(near(s.e0(), e0, 1e-6) && near(s.jump(), 1.0, 1e-9));
    }

    void load_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("twoColumn");
        QTest::addColumn<QVector<QPointF>>("want");
        QTest::addColumn<QString>("failure");
        const QString noData = "No data in spectrum file",
                      infinite = "Energy not finite at point 1 of spectrum file";
        QByteArray junk;
        for (int i = 0; i < 5000; ++i)
            junk.append(char((i * 7919 + 13) % 256));
        auto row = [](const char *tag, const QByteArray &text, int twoColumn,
                      const QVector<QPointF> &want, const QString &failure = QString()) {
            QTest::newRow(tag) << text << twoColumn << want << failure;
        };
        // Scan: "D=" sets the spacing (else 3.13553), "Offset" starts the data, angle, I0,
        // I in items 1, 3, 4; a line of four items is no data; I0 = 0 gives mu = 1.
        row("scan",
            "  9809   KEK-PF  BL-9A\nMono : Si(111)   D=   3.0  A\nOffset     0   0   0\n1  12.0  "
            "0  1000  500\n2  11.5  0  0  500\n3  11.0  0  800\n4  \t11.0   0   800    200  9\n", 0,
            {{bragg(12, 3), std::log(2.0)}, {bragg(11.5, 3), 1}, {bragg(11, 3), std::log(4.0)}});
        row("scan, no spacing", "9809\nx D= abc\nAngle D=\nOffset\n1 10.0 0 100 10\n", 0,
            {{bragg(10.0, 3.13553), std::log(10.0)}});
        row("scan, 1O.5 no number", "9809\nOffset\n1 10 0 100 10\n2 1O.5 0 100 10\n3 11 0 100 10\n",
            0, {{bragg(10.0, 3.13553), std::log(10.0)}, {bragg(11.0, 3.13553), std::log(10.0)}});
        row("scan, no Offset", "9809\n1 10.0 0 100 10\n", 0, {}, noData);
        row("scan, angle no number", "9809\nOffset\n1 abc 0 100 10\n", 0, {}, noData);
        row("scan, angle 0", "9809\nOffset\n1 10 0 100 10\n2 0 0 100 10\n", 0, {}, infinite);
        // "9809" must begin the first line, else two columns.
        row("980 9", "980 9\n1 10.0 0 100 10\n", 1, {{980, 9}, {1, 10}});
        row("two columns",
            "# E mu\n7000  0.5\n\n7001\nEnergy Mu\n\t7002.5   1.25e-1  extra\n7003,5 2\n", 1,
            {{7000, 0.5}, {7002.5, 0.125}});
        row("comments only", "# energy mu\n#\n   # indented comment\n", 1, {}, noData);
        row("inf", "7000 1\ninf 2\n", 1, {}, infinite);
        row("junk", junk, 1, {}, noData);
        // No file written (twoColumn -1: not checked); a device that never ends.
        row("missing", QByteArray(), -1, {}, "Can not open spectrum file");
        row("/dev/zero", QByteArray(), -1, {}, "Not a regular file");
    }

    void load()
    {
        QFETCH(QByteArray, text);
        QFETCH(QVector<QPointF>, want);
        QFETCH(QString, failure);
        QFETCH(int, twoColumn);
        QTemporaryDir dir;
        const QString tag = QTest::currentDataTag();
        const QString name = tag.startsWith('/') ? tag : dir.filePath("s.dat");
        QVERIFY(text.isNull() || writeFile(name, text));
        XafsSpectrum s;
        s.raw().append(1.0, 1.0);
        s.setDE(4.0);
        s.enableDE(true);
        LogCapture log;
        QCOMPARE(s.load(name), failure.isEmpty());
        QVERIFY(twoColumn < 0 || int(s.isTwoColumn()) == twoColumn);
        QCOMPARE(s.raw().size(), want.size());
        for (int i = 0; i < want.size(); ++i) {
            QCOMPARE(s.raw().storedX(i), want[i].x());
            QCOMPARE(s.raw().y(i), want[i].y());
        }
        QCOMPARE(log.lines(),
                 failure.isEmpty() ? QStringList() : QStringList{failure + " " + name});
        // Loading does not normalize; the dE survives.
        QVERIFY(s.normalized().size() == 0 && s.dEEnabled() && s.dE() == 4.0);
    }

    void saveFile()
    {
        QTemporaryDir dir;
        // Read through a shift of 10: half height h = 1290 + 0.5 / 1.5 * 100 = e0,
        // pre = 1 over 990 .. 1190, post = 3 over 1390 .. 1590, jump 2.
        SpectrumPoints p =
            points({1000, 1100, 1200, 1300, 1400, 1500, 1600}, {1, 1, 1, 1.5, 3, 3, 3});
        p.setShift(10.0);
        p.enableShift(true);
        XafsSpectrum s(p, false, 0.0012345);
        QVERIFY(near(s.e0(), 1290.0 + 100.0 / 3.0, 1e-12) && near(s.jump(), 2.0, 1e-12));
        const QByteArray head(
            "###Lumenograf::XafsSpectrum\n# x  double-normalized-pre-base y pre post\n");
        const QString plain = dir.filePath("plain.dat");
        QVERIFY(s.save(plain, false));
        QCOMPARE(readFile(plain), head
                                      + "990\t0\t1\t1\t3\n1090\t0\t1\t1\t3\n1190\t0\t1\t1\t3\n"
                                        "1290\t0.25\t1.5\t1\t3\n1390\t1\t3\t1\t3\n"
                                        "1490\t1\t3\t1\t3\n1590\t1\t3\t1\t3\n");
        // dE on, the energy shift subtracted: x = 990 - 10 - 0.0012345, six digits.
        s.enableDE(true);
        s.save(dir.filePath("shifted.dat"), true);
        QCOMPARE(readFile(dir.filePath("shifted.dat")), head
                                        + "979.999\t0\t1\t1\t3\n1080\t0\t1\t1\t3\n"
                                          "1180\t0\t1\t1\t3\n1280\t0.25\t1.5\t1\t3\n"
                                          "1380\t1\t3\t1\t3\n1480\t1\t3\t1\t3\n1580\t1\t3\t1\t3\n");
        // A saved file reads back with the pre-base curve as mu.
        XafsSpectrum r;
        QVERIFY(r.load(plain) && r.raw().size() == 7 && near(r.raw().y(3), 0.25, 1e-6)
                && near(r.raw().y(6), 1.0, 1e-6));

        // Points without background or derived values write 0 there; an empty
        // spectrum writes the two header lines; an unopenable name writes nothing.
        XafsSpectrum bare, none;
        bare.raw().append(7000.5, 0.25);
        bare.save(dir.filePath("bare.dat"), true);
        QCOMPARE(readFile(dir.filePath("bare.dat")), head + "7000.5\t0\t0.25\t0\t0\n");
        none.save(dir.filePath("empty.dat"), false);
        QCOMPARE(readFile(dir.filePath("empty.dat")), head);
        LogCapture log;
        const QString nowhere = dir.filePath("no/such/dir/x.dat");
        QVERIFY(!s.save(nowhere, false) && !QFile::exists(nowhere));
        QCOMPARE(log.lines(), QStringList{"Can not write spectrum file " + nowhere
                                          + " : No such file or directory"});
    }
};

QTEST_GUILESS_MAIN(TestXafsSpectrum)
#include "test_xafsspectrum.moc"
