#include "input/EnergyRule.h"

#include "LogCapture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

const double hc = 12398.424360387684;
const double twoD = 2 * 3.13553;

// Energy of a Bragg angle given in radians, worked out here on its own.
double braggEnergy(double radians)
{
    return hc / (twoD * std::sin(radians));
}

bool near(double a, double b, double tol = 1e-6)
{
    return std::fabs(a - b) <= tol;
}

bool writeText(const QString &path, const QByteArray &text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

} // namespace

class TestEnergyRule : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void patternsAndFactor()
    {
        const QStringList &p = EnergyRule::patterns();
        QCOMPARE(p.size(), 9);
        QCOMPARE(p.at(0), QStringLiteral("(\\d|)\\d\\d\\d\\d_\\d\\d\\d\\d"));
        QCOMPARE(p.at(6), QStringLiteral("\\d\\d\\d\\d\\.\\d\\deV"));
        QCOMPARE(p.at(8), QStringLiteral("\\d_\\d\\d\\d\\d\\d\\dKeV"));
        QCOMPARE(EnergyRule::factorForPattern(p.at(8)), QStringLiteral("1000"));
        QCOMPARE(EnergyRule::factorForPattern(p.at(7)), QStringLiteral("1000"));
        QCOMPARE(EnergyRule::factorForPattern("\\d+kev"), QStringLiteral("1000"));
        QCOMPARE(EnergyRule::factorForPattern(p.at(3)), QStringLiteral("1"));
        QCOMPARE(EnergyRule::factorForPattern(p.at(0)), QStringLiteral("1"));
    }

    void fromName()
    {
        EnergyRule r;
        QCOMPARE(r.mode, EnergyRule::FromFileName);
        QCOMPARE(r.energyOf("Sample_9000_1234.tif", 3), 9000.1234);
        // The whole path is searched: a directory name can match first.
        QCOMPARE(r.energyOf("/data/run_12345_6789/Sample_9000_1234.tif", 3), 12345.6789);
        // No match: the file number, with the factor.
        r.factor = 2;
        QCOMPARE(r.energyOf("plain.tif", 7), 14.0);
        // A factor that is not positive is not applied.
        r.factor = -3;
        QCOMPARE(r.energyOf("plain.tif", 7), 7.0);
        r.factor = 0;
        QCOMPARE(r.energyOf("Sample_9000_1234.tif", 0), 9000.1234);

        r.pattern = EnergyRule::patterns().at(8);
        r.factor = EnergyRule::factorForPattern(r.pattern).toDouble();
        QCOMPARE(r.energyOf("/x/scan_8_979000KeV.img", 0), 8979.0);
        r.pattern = EnergyRule::patterns().at(3);
        r.factor = 1;
        QCOMPARE(r.energyOf("a_8979_50eV.tif", 0), 8979.5);
        r.pattern = EnergyRule::patterns().at(4);
        QCOMPARE(r.energyOf("b8979.1234.tif", 0), 8979.1234);
        // A broken expression matches nothing.
        r.pattern = "([";
        QCOMPARE(r.energyOf("Sample_9000_1234.tif", 5), 5.0);
    }

    void byCalculation()
    {
        EnergyRule r;
        r.mode = EnergyRule::FromFileNum;
        r.evenInAngle = false;
        r.start = 8000;
        r.delta = 1.5;
        QCOMPARE(r.energyOf("Sample_9000_1234.tif", 10), 8015.0);
        r.unit = EnergyRule::UnitKeV;
        r.start = 8;
        r.delta = 0.001;
        QVERIFY(near(r.energyOf("", 10), 8010.0, 1e-9));
        // Degrees: the energy of the angle, spaced or not.
        r.unit = EnergyRule::UnitDeg;
        r.start = 14;
        r.delta = 0.01;
        const double e = braggEnergy(14.05 * M_PI / 180);
        QVERIFY(near(r.energyOf("", 5), e, 1e-6));
        r.evenInAngle = true;
        QVERIFY(near(r.energyOf("", 5), e, 1e-6));

        // Even in angle from 8000 to 9000 eV over 1000 steps: both ends are
        // hit, and the steps are equal in angle, not in energy.
        r.unit = EnergyRule::UnitEV;
        r.start = 8000;
        r.end = 9000;
        r.delta = 1;
        r.numOfPoints = 1000;
        QVERIFY(near(r.energyOf("", 0), 8000.0));
        QVERIFY(near(r.energyOf("", 1000), 9000.0));
        const double ts = std::asin(hc / 8000 / twoD), te = std::asin(hc / 9000 / twoD);
        QVERIFY(near(r.energyOf("", 500), braggEnergy((ts + te) / 2)));
        QVERIFY(!near(r.energyOf("", 500), 8500.0, 1.0));
        QVERIFY(near(r.energyOf("", 250), braggEnergy(ts + (te - ts) / 4)));
        // keV ends.
        r.unit = EnergyRule::UnitKeV;
        r.start = 8;
        r.end = 9;
        QVERIFY(near(r.energyOf("", 1000), 9000.0));
        // An energy the crystal cannot reach puts that end at -1 degree.
        r.unit = EnergyRule::UnitEV;
        r.start = 8000;
        r.end = 1000; // below hc / 2d
        QCOMPARE(EnergyRule::angleOfEnergy(1000), -1.0);
        QVERIFY(near(r.energyOf("", 1000), braggEnergy(-1 * M_PI / 180), 1e-3));
        // No steps: the series stays at its start instead of dividing by 0.
        r.end = 9000;
        r.numOfPoints = 0;
        QVERIFY(near(r.energyOf("", 7), 8000.0));
    }

    void fieldRecalculations()
    {
        QCOMPARE(EnergyRule::endOf(8100, 1000, 1), 9100.0);
        double d = 1;
        QVERIFY(EnergyRule::deltaOf(8100, 9600, 1000, d));
        QCOMPARE(d, 1.5);
        QVERIFY(EnergyRule::deltaOf(8100, 9600, 500, d));
        QCOMPARE(d, 3.0);
        QVERIFY(!EnergyRule::deltaOf(8100, 9600, 0, d));
        QCOMPARE(d, 3.0);
    }

    void referenceFiles()
    {
        EnergyRule r;
        r.mode = EnergyRule::FromRefFile;
        // Empty list: 8000 + fNo.
        QCOMPARE(r.energyOf("", 12), 8012.0);

        const QString p9809 = dir.filePath("ref9809.dat");
        QVERIFY(writeText(p9809, "9809     KEK-PF  BL-9A\n"
                                 "Sample  x\n"
                                 "   Offset 0 0 0\n"
                                 "  1  14.0  100\n"
                                 "  2\n"
                                 "# 3  13.9\n"
                                 "  3  13.5  100\n"
                                 "\n"
                                 "  4  text\n"
                                 "  5  13.0  100\n"));
        QVERIFY(r.readRefFile(p9809));
        QCOMPARE(r.refEnergies.size(), 3);
        const double e14 = braggEnergy(14.0 * M_PI / 180);
        const double e135 = braggEnergy(13.5 * M_PI / 180);
        const double e13 = braggEnergy(13.0 * M_PI / 180);
        QVERIFY(near(r.refEnergies[0], e14));
        QVERIFY(near(r.refEnergies[1], e135));
        QVERIFY(near(r.refEnergies[2], e13));
        QVERIFY(near(r.energyOf("", 1), e135));
        QVERIFY(near(r.energyOf("", -4), e14));
        // Past the end the last energy repeats.
        QVERIFY(near(r.energyOf("", 3), e13));
        QVERIFY(near(r.energyOf("", 300), e13));

        const QString simple = dir.filePath("simple.dat");
        QVERIFY(writeText(simple, "angle list\n"
                                  "12.5\n"
                                  "# 12.4\n"
                                  "12.0 extra\n"));
        {
            LogCapture log;
            QVERIFY(r.readRefFile(simple));
            QCOMPARE(log.lines(), QStringList{"reading simple"});
        }
        QCOMPARE(r.refEnergies.size(), 2);
        QVERIFY(near(r.refEnergies[0], braggEnergy(12.5 * M_PI / 180)));
        QVERIFY(near(r.refEnergies[1], braggEnergy(12.0 * M_PI / 180)));

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
        QVERIFY(writeText(odd, "angles\n0\nnan\ninf\n-inf\n1e-320\n-13\n13\n"));
        EnergyRule r;
        QVERIFY(r.readRefFile(odd));
        QCOMPARE(r.refEnergies.size(), 1);
        QVERIFY(near(r.refEnergies[0], braggEnergy(13.0 * M_PI / 180)));
        // An endless device and a line too long are refused; the list stays.
        const QString longLine = dir.filePath("long.dat");
        QVERIFY(writeText(longLine, "angles\n13\n" + QByteArray(1024 * 1024 + 1, '1')));
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
