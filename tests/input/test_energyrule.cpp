#include "input/EnergyRule.h"

#include "InputFiles.h"
#include "LogCapture.h"

#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

bool near(double a, double b, double tol = 1e-6)
{
    return std::fabs(a - b) <= tol;
}

} // namespace

class TestEnergyRule : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    // The whole path is searched, the first match counts; without a match
    // the file number stands in; a factor that is not positive is not applied.
    void fromName_data()
    {
        QTest::addColumn<int>("pattern"); // index into the offered patterns; -1: "(["
        QTest::addColumn<double>("factor");
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("fNo");
        QTest::addColumn<double>("energy");
        QTest::newRow("default") << 0 << 1.0 << "Sample_9000_1234.tif" << 3 << 9000.1234;
        QTest::newRow("directory first")
            << 0 << 1.0 << "/data/run_12345_6789/Sample_9000_1234.tif" << 3 << 12345.6789;
        QTest::newRow("no match") << 0 << 2.0 << "plain.tif" << 7 << 14.0;
        QTest::newRow("negative factor") << 0 << -3.0 << "plain.tif" << 7 << 7.0;
        QTest::newRow("zero factor") << 0 << 0.0 << "Sample_9000_1234.tif" << 0 << 9000.1234;
        QTest::newRow("keV") << 8 << 1000.0 << "/x/scan_8_979000KeV.img" << 0 << 8979.0;
        QTest::newRow("eV") << 3 << 1.0 << "a_8979_50eV.tif" << 0 << 8979.5;
        QTest::newRow("point") << 4 << 1.0 << "b8979.1234.tif" << 0 << 8979.1234;
        QTest::newRow("broken expression") << -1 << 1.0 << "Sample_9000_1234.tif" << 5 << 5.0;
    }

    void fromName()
    {
        QFETCH(int, pattern);
        QFETCH(double, factor);
        QFETCH(QString, path);
        QFETCH(int, fNo);
        QFETCH(double, energy);
        EnergyRule r;
        QCOMPARE(r.mode, EnergyRule::FromFileName);
        r.pattern = pattern < 0 ? QString("([") : EnergyRule::patterns().at(pattern);
        r.factor = factor;
        QCOMPARE(r.energyOf(path, fNo), energy);
    }

    // By number: start + fNo delta in eV, keV or degrees, or even in angle
    // from start to end over N steps (both ends hit, the steps equal in
    // angle, not in energy); an end the crystal cannot reach sits at -1
    // degree; N = 0 stays at the start.
    void byCalculation_data()
    {
        QTest::addColumn<QVector<double>>("rule"); // unit, even in angle, start, end, delta, N
        QTest::addColumn<int>("fNo");
        QTest::addColumn<double>("energy");
        using V = QVector<double>;
        const double hc = 12398.424360387684, twoD = 2 * 3.13553;
        const double ts = std::asin(hc / 8000 / twoD) * 180 / M_PI,
                     te = std::asin(hc / 9000 / twoD) * 180 / M_PI;
        const double eV = EnergyRule::UnitEV, keV = EnergyRule::UnitKeV, deg = EnergyRule::UnitDeg;
        QTest::newRow("eV") << V{eV, 0, 8000, 9000, 1.5, 1000} << 10 << 8015.0;
        QTest::newRow("keV") << V{keV, 0, 8, 9, 0.001, 1000} << 10 << 8010.0;
        QTest::newRow("deg") << V{deg, 0, 14, 9, 0.01, 1000} << 5 << braggEnergy(14.05);
        QTest::newRow("deg, even in angle")
            << V{deg, 1, 14, 9, 0.01, 1000} << 5 << braggEnergy(14.05);
        QTest::newRow("angle, start") << V{eV, 1, 8000, 9000, 1, 1000} << 0 << 8000.0;
        QTest::newRow("angle, end") << V{eV, 1, 8000, 9000, 1, 1000} << 1000 << 9000.0;
        QTest::newRow("angle, half")
            << V{eV, 1, 8000, 9000, 1, 1000} << 500 << braggEnergy((ts + te) / 2);
        QTest::newRow("angle, quarter")
            << V{eV, 1, 8000, 9000, 1, 1000} << 250 << braggEnergy(ts + (te - ts) / 4);
        QTest::newRow("angle, keV end") << V{keV, 1, 8, 9, 1, 1000} << 1000 << 9000.0;
        QTest::newRow("angle, unreachable end")
            << V{eV, 1, 8000, 1000, 1, 1000} << 1000 << braggEnergy(-1);
        QTest::newRow("angle, N = 0") << V{eV, 1, 8000, 9000, 1, 0} << 7 << 8000.0;
    }

    void byCalculation()
    {
        QFETCH(QVector<double>, rule);
        QFETCH(int, fNo);
        QFETCH(double, energy);
        EnergyRule r;
        r.mode = EnergyRule::FromFileNum;
        r.unit = int(rule[0]);
        r.evenInAngle = rule[1] != 0;
        r.start = rule[2];
        r.end = rule[3];
        r.delta = rule[4];
        r.numOfPoints = int(rule[5]);
        QVERIFY2(near(r.energyOf("Sample_9000_1234.tif", fNo), energy, energy < 0 ? 1e-3 : 1e-6),
                 qPrintable(QString::number(r.energyOf("", fNo), 'g', 12)));
        QCOMPARE(EnergyRule::angleOfEnergy(1000), -1.0);
    }

    void referenceFiles()
    {
        EnergyRule r;
        r.mode = EnergyRule::FromRefFile;
        QCOMPARE(r.energyOf("", 12), 8012.0); // empty list: 8000 + fNo

        // A "9809" file: angles in the second column after the "Offset" line;
        // remarks, blank lines and lines without an angle are skipped.
        const QString p9809 = dir.filePath("ref9809.dat");
        QVERIFY(writeFile(p9809, "9809     KEK-PF  BL-9A\nSample  x\n   Offset 0 0 0\n"
                                 "  1  14.0  100\n  2\n# 3  13.9\n  3  13.5  100\n\n"
                                 "  4  text\n  5  13.0  100\n"));
        QVERIFY(r.readRefFile(p9809));
        QCOMPARE(r.refEnergies.size(), 3);
        QVERIFY(near(r.refEnergies[0], braggEnergy(14.0)));
        QVERIFY(near(r.refEnergies[2], braggEnergy(13.0)));
        QVERIFY(near(r.energyOf("", 1), braggEnergy(13.5)));
        QVERIFY(near(r.energyOf("", -4), braggEnergy(14.0)));
        // Past the end the last energy repeats.
        QVERIFY(near(r.energyOf("", 3), braggEnergy(13.0)));
        QVERIFY(near(r.energyOf("", 300), braggEnergy(13.0)));

        // Any other file: one angle a line after the first.
        const QString simple = dir.filePath("simple.dat");
        QVERIFY(writeFile(simple, "angle list\n12.5\n# 12.4\n12.0 extra\n"));
        {
            LogCapture log;
            QVERIFY(r.readRefFile(simple));
            QCOMPARE(log.lines(), QStringList{"reading simple"});
        }
        QCOMPARE(r.refEnergies.size(), 2);
        QVERIFY(near(r.refEnergies[0], braggEnergy(12.5)));
        QVERIFY(near(r.refEnergies[1], braggEnergy(12.0)));

        LogCapture log;
        const QString missing = dir.filePath("none.dat");
        QVERIFY(!r.readRefFile(missing));
        QCOMPARE(log.lines(), QStringList{"Can't open ref file " + missing});
        QCOMPARE(r.refEnergies.size(), 2);
    }

    void hostileReferenceFiles()
    {
        // Only 13 gives an energy; the others would be infinite, not a number
        // or negative.
        const QString odd = dir.filePath("odd.dat");
        QVERIFY(writeFile(odd, "angles\n0\nnan\ninf\n-inf\n1e-320\n-13\n13\n"));
        EnergyRule r;
        QVERIFY(r.readRefFile(odd));
        QCOMPARE(r.refEnergies.size(), 1);
        QVERIFY(near(r.refEnergies[0], braggEnergy(13.0)));
        // An endless device and a line too long are refused; the list stays.
        const QString longLine = dir.filePath("long.dat");
        QVERIFY(writeFile(longLine, "angles\n13\n" + QByteArray(1024 * 1024 + 1, '1')));
        LogCapture log;
        QVERIFY(!r.readRefFile("/dev/zero"));
        QVERIFY(!r.readRefFile(longLine));
        QCOMPARE(r.refEnergies.size(), 1);
        QCOMPARE(log.lines(), QStringList({"Not a regular file /dev/zero", "reading simple",
                                           "Line too long in " + longLine}));
    }
};

QTEST_GUILESS_MAIN(TestEnergyRule)
#include "test_energyrule.moc"
