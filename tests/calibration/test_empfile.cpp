#include "analysis/Analyzed2DRes.h"
#include "calibration/EmpFile.h"
#include "spectrum/SpectrumPoints.h"

#include "LogCapture.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const double si111 = 3.1355316;

// A header for a w x h map at 7112 eV on Si(111) with `extra` lines before
// the separator, then `data`.
QByteArray empText(const QByteArray &magic, int w, int h, const QByteArray &extra,
                   const QByteArray &data)
{
    return magic + "\nStd Edge Energy [eV]    : 7112\nWidth [pix]             : "
           + QByteArray::number(w) + "\nHeight [pix]            : " + QByteArray::number(h)
           + "\n" + extra + "##-----------------\n" + data;
}

const QByteArray spacing = "Spacing [nm]            : 3.1355316\n";

} // namespace

class TestEmpFile : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip();
    void readAtEdge_data();
    void readAtEdge();
    void hostile_data();
    void hostile();
    void shortData();
    void sizes();
    void refusals();

private:
    QTemporaryDir dir;
    QString write(const QByteArray &text)
    {
        const QString name = dir.filePath(QStringLiteral("m.emp"));
        QFile f(name);
        f.open(QIODevice::WriteOnly);
        f.write(text);
        return name;
    }
};

// A 3 x 1 map written into a walk of 4 x 2: the header byte for byte, the
// angle offsets of the shifts (-1 less the reference angle for 1 eV, which
// has no Bragg angle; a fourth pixel and a second row of 0), and the shifts
// back within the 6 digits of the angles.
void TestEmpFile::roundTrip()
{
    AnalyzeCond walk;
    walk.setup(3, 1, 0, 0, 0, 0, 3, 1);
    Analyzed2DRes map;
    QVERIFY(map.prepare(walk));
    map.setData(0, 0, 0, 0, 1.5);
    map.setData(1, 0, 0, 0, -2.25);
    map.setData(2, 0, 0, 0, 7111.0);
    EMPSaveInfo info;
    info.edgeEnergy = 7112.0;
    info.spacing = si111;
    info.walk.setup(4, 2, 1, 2, 0, 0, 4, 2);
    info.stdFileName = QStringLiteral("fe.dat");
    QVERIFY(writeEmpFile(dir.filePath(QStringLiteral("rt")), map, info));
    QFile f(dir.filePath(QStringLiteral("rt.emp")));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    QVERIFY(QRegularExpression(QStringLiteral("^Record Date             : "
                                              "\\d\\d/\\d\\d/\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3}$"))
                .match(QString::fromLatin1(lines[1])).hasMatch());
    QCOMPARE(lines.mid(2).join('\n'),
             QByteArray("Std Edge Energy [eV]    : 7112\nSpacing [nm]            : 3.13553\n"
                        "Width [pix]             : 4\nHeight [pix]            : 2\n"
                        "Bin Half Width [pix]    : 1\nBin Half Height [pix]   : 2\n"
                        "Area X0                 : 0\nArea X1                 : 4\n"
                        "Area Y0                 : 0\nArea Y1                 : 2\n"
                        "Std File Name           : fe.dat\nMap Height              : 1\n"
                        "Map Width               : 0 3\n##-----------------\n"
                        "0.00349797 -0.00524407 -17.1404 0 \n0 0 0 0 \n"));
    EMPLoadTarget target;
    EMPHeader header;
    Analyzed2DRes back;
    QVERIFY(readEmpFile(f.fileName(), target, back, header));
    QCOMPARE(target.imageWidth, 4);
    QCOMPARE(back.walk().hy, 2);
    QVERIFY(qAbs(back.value(0, 0) - 1.5) < 1e-4);
    QVERIFY(qAbs(back.value(1, 0) + 2.25) < 1e-4);
    QVERIFY(qAbs(back.value(3, 1)) < 1e-9);
}

void TestEmpFile::readAtEdge_data()
{
    QTest::addColumn<QByteArray>("magic");
    QTest::addColumn<double>("edgeField");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("right");
    // E - hc / (2 d sin(theta(E) + a)) for a = 0.01 and -0.02 degrees.
    QTest::newRow("header's edge") << QByteArray("###Lumenograf::LMGF") << 0.0
                                   << 4.286449471183005 << -8.58907922076014;
    QTest::newRow("short magic, 8979 eV")
        << QByteArray("###LMGF") << 8979.0 << 6.937003603366975 << -13.907061167117718;
}

void TestEmpFile::readAtEdge()
{
    QFETCH(QByteArray, magic);
    QFETCH(double, edgeField);
    EMPLoadTarget target{edgeField, 2, 1};
    EMPHeader header;
    Analyzed2DRes map;
    QVERIFY(readEmpFile(write(empText(magic, 2, 1, spacing, "0.01\n-0.02")), target, map,
                        header));
    QCOMPARE(header.spacing, si111);
    QFETCH(double, left);
    QFETCH(double, right);
    QVERIFY(qAbs(map.value(0, 0) - left) < 1e-9);
    QVERIFY(qAbs(map.value(1, 0) - right) < 1e-9);
}

void TestEmpFile::hostile_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("why");
    QTest::newRow("no magic") << QByteArray("#LMGF\n") << "Not a emp file.";
    QTest::newRow("no spacing") << empText("###LMGF", 2, 1, "", "0 0")
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

// Rejected with the reason in the log; the map stays as it was.
void TestEmpFile::hostile()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, why);
    LogCapture log;
    EMPLoadTarget target;
    EMPHeader header;
    Analyzed2DRes map;
    const QString name = write(text);
    QVERIFY(!readEmpFile(name, target, map, header));
    QVERIFY(!map.hasData());
    QVERIFY2(log.lines().join('\n').contains(why), qPrintable(log.lines().join('\n')));
    QCOMPARE(target.imageWidth, -1);
}

// Five numbers for 3 x 3 pixels: "run out!" for the two short rows, then the
// count; the missing pixels have no shift.
void TestEmpFile::shortData()
{
    LogCapture log;
    EMPLoadTarget target;
    EMPHeader header;
    Analyzed2DRes map;
    QVERIFY(readEmpFile(write(empText("###LMGF", 3, 3, spacing, "0.01 0 0\n0.01 0.01")), target,
                        map, header));
    QCOMPARE(log.lines().filter(QStringLiteral("run out!")),
             QStringList({"run out!", "run out!",
                          "run out! 4 numbers missing in " + dir.filePath("m.emp")}));
    QVERIFY(qAbs(map.value(1, 1) - 4.286449471183005) < 1e-9);
    QVERIFY(qAbs(map.value(2, 2)) < 1e-9);
}

// A loaded image of another size refuses the map; without one the image
// size becomes the map's.
void TestEmpFile::sizes()
{
    LogCapture log;
    EMPLoadTarget target{0.0, 4, 4};
    EMPHeader header;
    Analyzed2DRes map;
    const QString name = write(empText("###LMGF", 3, 2, spacing, "0 0 0 0 0 0"));
    QVERIFY(!readEmpFile(name, target, map, header));
    QVERIFY(log.contains(QStringLiteral("Loading Energy Map size : 3 x 2 : is not matched to the "
                                        "current image size : 4 x 4")));
    QVERIFY(!map.hasData());
    target = EMPLoadTarget{0.0, -1, -1};
    QVERIFY(readEmpFile(name, target, map, header));
    QCOMPARE(QSize(target.imageWidth, target.imageHeight), QSize(3, 2));
    QVERIFY(!readEmpFile(dir.filePath("none.emp"), target, map, header));
    QVERIFY(log.contains("Can not open " + dir.filePath("none.emp")));
}

// The edge energy a map is saved at, and the saves refused without one or
// without a file.
void TestEmpFile::refusals()
{
    SpectrumPoints standard;
    standard.append(7100.0, 0.0);
    standard.append(7120.0, 1.0);
    EMPHeader loaded;
    loaded.valid = true;
    loaded.stdEdgeEnergy = 8979.0;
    QCOMPARE(empSaveEdgeEnergy(standard, 9000.0, loaded), 7110.0);
    QCOMPARE(empSaveEdgeEnergy(SpectrumPoints(), 9000.0, loaded), 9000.0);
    QCOMPARE(empSaveEdgeEnergy(SpectrumPoints(), 0.0, loaded), 8979.0);
    QCOMPARE(empSaveEdgeEnergy(SpectrumPoints(), 0.0, EMPHeader()), 0.0);
    LogCapture log;
    Analyzed2DRes map;
    EMPSaveInfo info;
    info.spacing = si111;
    info.walk.setup(2, 2, 0, 0, 0, 0, 2, 2);
    QVERIFY(!writeEmpFile(dir.filePath("z"), map, info));
    QVERIFY(!QFile::exists(dir.filePath("z.emp")));
    info.edgeEnergy = 7112.0;
    QVERIFY(!writeEmpFile(dir.filePath("no/such/dir/z.emp"), map, info));
    QCOMPARE(log.lines().size(), 2);
    QVERIFY(log.lines()[0].startsWith("EMap not saved, no edge energy"));
    QVERIFY(log.lines()[1].startsWith("Can not open " + dir.filePath("no/such/dir/z.emp")));
}

QTEST_GUILESS_MAIN(TestEmpFile)
#include "test_empfile.moc"
