#include "analysis/Analyzed2DRes.h"
#include "calibration/EmpFile.h"
#include "spectrum/SpectrumPoints.h"

#include "LogCapture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray spacing = "Spacing [nm]            : 3.1355316\n";

// A w x h map at 7112 eV with `extra` header lines, then `data`.
QByteArray empText(const QByteArray &magic, int w, int h, const QByteArray &extra,
                   const QByteArray &data)
{
    return magic + "\nStd Edge Energy [eV]    : 7112\nWidth [pix]             : "
           + QByteArray::number(w) + "\nHeight [pix]            : " + QByteArray::number(h) + "\n"
           + extra + "##-----------------\n" + data;
}

} // namespace

class TestEmpFile : public QObject
{
    Q_OBJECT
    QTemporaryDir dir;
    EMPLoadTarget target;
    EMPHeader header;
    Analyzed2DRes map;
    // Reads text as a map file with that edge energy, the image w x h.
    bool load(const QByteArray &text, double edgeField = 0.0, int w = -1, int h = -1)
    {
        QFile f(dir.filePath(QStringLiteral("m.emp")));
        f.open(QIODevice::WriteOnly);
        f.write(text);
        f.close();
        target = EMPLoadTarget{edgeField, w, h};
        map.clear();
        return readEmpFile(f.fileName(), target, map, header);
    }
private slots:
    void roundTrip();
    void readAtEdge();
    void hostile_data();
    void hostile();
    void shortData();
    void sizes();
    void refusals();
};

// A 3 x 1 map in a walk of 4 x 2: the header byte for byte; the angle offsets
// (-1 less the reference angle for 1 eV, which has no Bragg angle; 0 outside
// the map); the shifts back within the 6 digits of the angles.
void TestEmpFile::roundTrip()
{
    AnalyzeCond walk;
    walk.setup(3, 1, 0, 0, 0, 0, 3, 1);
    Analyzed2DRes m;
    QVERIFY(m.prepare(walk));
    m.setData(0, 0, 0, 0, 1.5);
    m.setData(1, 0, 0, 0, -2.25);
    m.setData(2, 0, 0, 0, 7111.0);
    EMPSaveInfo info{7112.0, 3.1355316, AnalyzeCond(), QStringLiteral("fe.dat")};
    info.walk.setup(4, 2, 1, 2, 0, 0, 4, 2);
    QVERIFY(writeEmpFile(dir.filePath(QStringLiteral("rt")), m, info));
    QFile f(dir.filePath(QStringLiteral("rt.emp")));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray text = f.readAll();
    QVERIFY(
        QRegularExpression(QStringLiteral("^###Lumenograf::LMGF\nRecord Date             : "
                                          "\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}\n"))
            .match(QString::fromLatin1(text))
            .hasMatch());
    QCOMPARE(text.mid(text.indexOf("Std Edge")),
             QByteArray("Std Edge Energy [eV]    : 7112\nSpacing [nm]            : 3.13553\n"
                        "Width [pix]             : 4\nHeight [pix]            : 2\n"
                        "Bin Half Width [pix]    : 1\nBin Half Height [pix]   : 2\n"
                        "Area X0                 : 0\nArea X1                 : 4\n"
                        "Area Y0                 : 0\nArea Y1                 : 2\n"
                        "Std File Name           : fe.dat\nMap Height              : 1\n"
                        "Map Width               : 0 3\n##-----------------\n"
                        "0.00349797 -0.00524407 -17.1404 0 \n0 0 0 0 \n"));
    QVERIFY(load(text));
    QCOMPARE(QSize(target.imageWidth, target.imageHeight), QSize(4, 2));
    QCOMPARE(map.walk().hy, 2);
    QVERIFY(qAbs(map.value(0, 0) - 1.5) < 1e-4 && qAbs(map.value(1, 0) + 2.25) < 1e-4);
    QVERIFY(qAbs(map.value(3, 1)) < 1e-9);
}

// Angle offsets 0.01 and -0.02 degrees read at the header's edge (short
// magic) and at 8979 eV: E - hc / (2 d sin(theta(E) + a)).
void TestEmpFile::readAtEdge()
{
    QVERIFY(load(empText("###LMGF", 2, 1, spacing, "0.01\n-0.02"), 0.0, 2, 1));
    QVERIFY(qAbs(map.value(0, 0) - 4.286449471183005) < 1e-9);
    QVERIFY(qAbs(map.value(1, 0) + 8.58907922076014) < 1e-9);
    QVERIFY(load(empText("###Lumenograf::LMGF", 2, 1, spacing, "0.01 -0.02"), 8979.0));
    QVERIFY(qAbs(map.value(0, 0) - 6.937003603366975) < 1e-9);
    QVERIFY(qAbs(map.value(1, 0) + 13.907061167117718) < 1e-9);
}

void TestEmpFile::hostile_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("why");
    QTest::newRow("no magic") << QByteArray("#LMGF\n") << "Not a emp file.";
    QTest::newRow("no spacing")
        << empText("###LMGF", 2, 1, "", "0 0")
        << "EMP header lacks the width, height, edge energy or spacing line";
    QTest::newRow("no separator") << QByteArray("###LMGF\nWidth [pix]             : 2\n")
                                  << "EMP header ends without its separator line";
    QTest::newRow("width 0") << empText("###LMGF", 0, 1, spacing, "")
                             << "EMP header size out of range : 0 x 1";
    QTest::newRow("huge") << empText("###LMGF", 2147483647, 100000, spacing, "")
                          << "EMP header size out of range : 2147483647 x 100000";
    QTest::newRow("above a frame") << empText("###LMGF", 16384, 16385, spacing, "")
                                   << "EMP header size out of range : 16384 x 16385";
    QTest::newRow("negative half")
        << empText("###LMGF", 2, 1, spacing + "Bin Half Height [pix]   : -1\n", "")
        << "EMP header bin half size negative : 0 -1";
    QTest::newRow("spacing 0") << empText("###LMGF", 2, 1, "Spacing [nm]            : 0\n", "")
                               << "EMP header spacing not positive : 0";
    QTest::newRow("angle out of range")
        << empText("###LMGF", 2, 1, "Spacing [nm]            : 0.5\n", "0 0")
        << "EMP file reference angle out of range : edge energy 7112 eV, spacing 0.5 :";
}

// Rejected with the reason in the log; map and image size stay as they were.
void TestEmpFile::hostile()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, why);
    LogCapture log;
    QVERIFY(!load(text));
    QVERIFY(!map.hasData() && target.imageWidth == -1);
    QVERIFY(log.lines().join('\n').contains(why));
}

// Five numbers for 3 x 3 pixels: "run out!" for each short row, then the
// count; the missing pixels and the angle "nan" have no shift.
void TestEmpFile::shortData()
{
    LogCapture log;
    QVERIFY(load(empText("###LMGF", 3, 3, spacing, "0.01 0 nan\n0.01 0.01")));
    const QString name = dir.filePath("m.emp");
    QCOMPARE(log.lines().filter(QStringLiteral("run out!")),
             QStringList({"run out!", "run out!", "run out! 4 numbers missing in " + name}));
    QVERIFY(log.contains("EMP file: 1 angles without an energy read as shift 0 in " + name));
    QVERIFY(qAbs(map.value(1, 1) - 4.286449471183005) < 1e-9 && qAbs(map.value(2, 2)) < 1e-9);
    QCOMPARE(map.value(2, 0), 0.0);
}

// An image of another size refuses the map; a missing file is logged, a
// device is no map.
void TestEmpFile::sizes()
{
    LogCapture log;
    QVERIFY(!load(empText("###LMGF", 3, 2, spacing, "0 0 0 0 0 0"), 0.0, 4, 4));
    QVERIFY(log.contains(QStringLiteral("Loading Energy Map size : 3 x 2 : is not matched to the "
                                        "current image size : 4 x 4")));
    QVERIFY(!map.hasData());
    QVERIFY(!readEmpFile(dir.filePath("none.emp"), target, map, header));
    QVERIFY(log.contains("Can not open " + dir.filePath("none.emp")));
    QVERIFY(!readEmpFile(QStringLiteral("/dev/zero"), target, map, header));
    QVERIFY(log.contains(QStringLiteral("Not a regular file /dev/zero")));
}

// The edge energy a map is saved at; no save without one or without a file.
void TestEmpFile::refusals()
{
    SpectrumPoints standard;
    standard.append(7100.0, 0.0);
    standard.append(7120.0, 1.0);
    const EMPHeader loaded{true, 2, 2, 0, 0, 0, 2, 0, 2, 8979.0, 3.0};
    QCOMPARE(empSaveEdgeEnergy(standard, 9000.0, loaded), 7110.0);
    QCOMPARE(empSaveEdgeEnergy(SpectrumPoints(), 9000.0, loaded), 9000.0);
    QCOMPARE(empSaveEdgeEnergy(SpectrumPoints(), 0.0, loaded), 8979.0);
    QCOMPARE(empSaveEdgeEnergy(SpectrumPoints(), 0.0, EMPHeader()), 0.0);
    LogCapture log;
    EMPSaveInfo info{0.0, 3.1355316, AnalyzeCond(), QString()};
    info.walk.setup(2, 2, 0, 0, 0, 0, 2, 2);
    QVERIFY(!writeEmpFile(dir.filePath("z"), map, info) && !QFile::exists(dir.filePath("z.emp")));
    info.edgeEnergy = 7112.0;
    QVERIFY(!writeEmpFile(dir.filePath("no/dir/z.emp"), map, info));
    QCOMPARE(log.lines().size(), 2);
    QVERIFY(log.lines()[0].startsWith("EMap not saved, no edge energy"));
    QVERIFY(log.lines()[1].startsWith("Can not open " + dir.filePath("no/dir/z.emp")));
}

QTEST_GUILESS_MAIN(TestEmpFile)
#include "test_empfile.moc"
