#include "input/EnergyRule.h"

#include "TestFiles.h"
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

    // Reference files of monochromator angles. A "9809" file has them in the
    // second column after the "Offset" line; any other file one a line after
    // the first. Remarks, blank lines, lines without an angle and angles
    // giving no finite positive energy are skipped. Files that cannot be
    // read leave the list as it was (one angle, 20 degrees).
    void referenceFiles_data()
    {
        QTest::addColumn<QByteArray>("text"); // null: no such file
        QTest::addColumn<QVector<double>>("degrees");
        QTest::addColumn<QStringList>("log"); // "%1" is the path
        QTest::newRow("9809") << QByteArray("9809     KEK-PF  BL-9A\nSample  x\n   Offset 0 0 0\n"
                                            "  1  14.0  100\n  2\n# 3  13.9\n  3  13.5  100\n\n"
                                            "  4  text\n  5  13.0  100\n")
                              << QVector<double>{14, 13.5, 13} << QStringList();
        QTest::newRow("simple") << QByteArray("angle list\n12.5\n# 12.4\n12.0 extra\n")
                                << QVector<double>{12.5, 12} << QStringList{"reading simple"};
        QTest::newRow("odd") << QByteArray("angles\n0\nnan\ninf\n-inf\n1e-320\n-13\n13\n")
                             << QVector<double>{13} << QStringList{"reading simple"};
        QTest::newRow("missing") << QByteArray() << QVector<double>{20}
                                 << QStringList{"Can't open ref file %1"};
        QTest::newRow("/dev/zero")
            << QByteArray() << QVector<double>{20} << QStringList{"Not a regular file %1"};
        QTest::newRow("line too long")
            << "angles\n13\n" + QByteArray(1024 * 1024 + 1, '1') << QVector<double>{20}
            << QStringList{"reading simple", "Line too long in %1"};
    }

    void referenceFiles()
    {
        QFETCH(QByteArray, text);
        QFETCH(QVector<double>, degrees);
        QFETCH(QStringList, log);
        const QString tag = QTest::currentDataTag();
        const QString path = tag.startsWith('/') ? tag : dir.filePath(tag);
        EnergyRule r;
        r.mode = EnergyRule::FromRefFile;
        QCOMPARE(r.energyOf("", 12), 8012.0); // empty list: 8000 + fNo
        r.refEnergies = {braggEnergy(20)};
        QVERIFY(text.isNull() || writeFile(path, text));
        LogCapture capture;
        QCOMPARE(r.readRefFile(path), degrees != QVector<double>{20});
        QCOMPARE(capture.lines(), log.replaceInStrings("%1", path));
        QCOMPARE(r.refEnergies.size(), degrees.size());
        // Frame n has the n-th energy; before the list the first, past it the last.
        for (int n : {-4, -1, 0, 1, 2, 3, 300})
            QVERIFY(
                near(r.energyOf("", n), braggEnergy(degrees[qBound(0, n, degrees.size() - 1)])));
    }
};

QTEST_GUILESS_MAIN(TestEnergyRule)
#include "test_energyrule.moc"
