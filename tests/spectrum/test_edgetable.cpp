#include "spectrum/Constants.h"
#include "spectrum/EdgeTable.h"
#include "../app/LogCapture.h"

#include <QTemporaryDir>
#include <QtTest>

class TestEdgeTable : public QObject
{
    Q_OBJECT
private slots:
    void resourceTable();
    void missingAndOddTables();
    void names();
};

void TestEdgeTable::resourceTable()
{
    LogCapture log;
    loadVictoreenTable();
    QVERIFY(log.lines.isEmpty());
    const EdgeTable &t = edgeTable();
    // The title line and H .. U.
    QCOMPARE(t.count(), 93);
    // Record 0 is the title line.
    QCOMPARE(t.record(0).atomicNumber, 0);
    QCOMPARE(edgeEnergy(0, 0), 0.0);
    // Every element line lands on the record of its atomic number.
    for (int z = 1; z <= 92; ++z)
        QCOMPARE(t.record(z).atomicNumber, z);
    // Values of the table's Fe and Au lines.
    QCOMPARE(edgeEnergy(26, 0), 7112.0);
    QCOMPARE(edgeEnergy(26, 1), 846.1);
    QCOMPARE(edgeEnergy(26, 2), 721.1);
    QCOMPARE(edgeEnergy(26, 3), 708.1);
    QCOMPARE(edgeEnergy(79, 0), 80724.9);
    QCOMPARE(edgeEnergy(79, 3), 11918.7);
    QCOMPARE(edgeEnergy(92, 0), 115602.0);
    // Edge 4 reads the M1 wavelength slot: hc / 3.4249 keV for Au, none for Fe.
    QVERIFY(qAbs(edgeEnergy(79, 4) - 12.398424360387684 / 3.4249 * 1000.0) < 1e-5);
    QCOMPARE(edgeEnergy(26, 4), 0.0);
    // H has no edge in the table; Li has its K edge only.
    for (int e = 0; e < 5; ++e)
        QCOMPARE(edgeEnergy(1, e), 0.0);
    QCOMPARE(edgeEnergy(3, 1), 0.0);
    // The coefficient columns are "=" throughout.
    for (int s = 6; s < 16; ++s)
        QCOMPARE(t.record(26).slot[s], 0.0);
    // Outside the filled records and outside the table: 0.
    QCOMPARE(edgeEnergy(93, 0), 0.0);
    QCOMPARE(edgeEnergy(99, 0), 0.0);
    QCOMPARE(edgeEnergy(100, 0), 0.0);
    QCOMPARE(edgeEnergy(-1, 0), 0.0);
    QCOMPARE(edgeEnergy(26, -1), 0.0);
    QCOMPARE(edgeEnergy(26, 5), 0.0);
    QCOMPARE(t.record(500).atomicNumber, 0);

    // The resource's first line: "=" then Japanese captions.
    QFile f(":Victoreen1.txt");
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString title = QString::fromUtf8(f.readLine());
    QVERIFY(title.startsWith(QLatin1Char('=')));
    QVERIFY(title.contains(QStringLiteral("吸収端")));
    const QStringList fe = QString::fromUtf8(f.readAll()).split('\n')[25].simplified().split(' ');
    QCOMPARE(fe.size(), 21);
    QCOMPARE(fe[0], QStringLiteral("Fe"));
    QCOMPARE(fe[3].toDouble(), 1.743310512); // hc / 7.112 keV, ten digits
}

void TestEdgeTable::missingAndOddTables()
{
    EdgeTable t;
    {
        LogCapture log;
        QVERIFY(!t.load(":NoSuchTable.txt"));
        QCOMPARE(log.lines, QStringList({"Cannot open [NoSuchTable.txt]"}));
    }
    QCOMPARE(t.count(), 0);
    QCOMPARE(t.edgeEnergy(26, 0), 0.0);

    // Comments and blank lines hold no record; "=", text and values that are
    // not positive read 0, except the K edge, which is taken as read; short
    // lines leave the rest 0; lines past 100 records are not read.
    QTemporaryDir dir;
    const QString name = dir.filePath("t.txt");
    QFile f(name);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("= title\n"
            "# a comment\n"
            "\n"
            "Aa 1 -2.5 x 1 2 -0.5 y 3 4 abc z 5 6 0.25 w 7 8 9.5 10 11\n"
            "Bb 2 = = = = 0.1\n"
            "Cc x 3\n");
    for (int i = 0; i < 120; ++i)
        f.write("Zz 50 1\n");
    f.close();
    QVERIFY(t.load(name));
    QCOMPARE(t.count(), 100);
    const EdgeRecord &a = t.record(1);
    QCOMPARE(a.atomicNumber, 1);
    QCOMPARE(a.slot[1], -2.5);
    QCOMPARE(a.slot[2], 0.0);   // -0.5
    QCOMPARE(a.slot[3], 0.0);   // abc
    QCOMPARE(a.slot[4], 0.25);
    QCOMPARE(a.slot[5], 9.5);
    QCOMPARE(a.slot[6], 1.0);
    QCOMPARE(a.slot[7], 3.0);
    QCOMPARE(a.slot[8], 5.0);
    QCOMPARE(a.slot[9], 7.0);
    QCOMPARE(a.slot[10], 10.0);
    QCOMPARE(a.slot[11], 2.0);
    QCOMPARE(a.slot[12], 4.0);
    QCOMPARE(a.slot[13], 6.0);
    QCOMPARE(a.slot[14], 8.0);
    QCOMPARE(a.slot[15], 11.0);
    QCOMPARE(t.edgeEnergy(1, 0), -2500.0);
    QCOMPARE(t.edgeEnergy(1, 3), 250.0);
    QCOMPARE(t.edgeEnergy(2, 0), 0.0);
    QCOMPARE(t.edgeEnergy(2, 1), 100.0);
    QCOMPARE(t.record(3).atomicNumber, 0);
    QCOMPARE(t.record(3).slot[1], 3.0);
    QCOMPARE(t.record(99).atomicNumber, 50);
}

void TestEdgeTable::names()
{
    QCOMPARE(edgeIndex("K"), 0);
    QCOMPARE(edgeIndex("k"), 0);
    QCOMPARE(edgeIndex("L1"), 1);
    QCOMPARE(edgeIndex("li"), 1);
    QCOMPARE(edgeIndex("L2"), 2);
    QCOMPARE(edgeIndex("LII"), 2);
    QCOMPARE(edgeIndex("l3"), 3);
    QCOMPARE(edgeIndex("liii"), 3);
    QCOMPARE(edgeIndex("M1"), 0);
    QCOMPARE(edgeIndex(""), 0);

    QCOMPARE(elementNumber("Fe"), 26);
    QCOMPARE(elementNumber("fe"), -1);
    QCOMPARE(elementNumber("Xx"), -1);
    QCOMPARE(elementNumber("D"), 110);
    QCOMPARE(elementNumber("H"), 1);
    QCOMPARE(elementNumber("U"), 92);
    QCOMPARE(elementNumber("Mt"), 109);
    QCOMPARE(elementNumber(" "), 0);
    QCOMPARE(elementNumber(""), -1);
    for (int i = 0; i < ElementTable::Count; ++i)
        QCOMPARE(ElementTable::entry(i).number, i);
    QCOMPARE(QString(ElementTable::entry(79).symbol), QStringLiteral("Au"));
    QCOMPARE(QString(ElementTable::entry(108).symbol), QStringLiteral("Hs"));

    QCOMPARE(Constants::hc, 12398.424360387684);
    QCOMPARE(Constants::defaultDSpacing, 3.13553);
    QCOMPARE(Constants::pi, 3.1415926535);
    QCOMPARE(Constants::keVToEV, 1000.0);
}

QTEST_GUILESS_MAIN(TestEdgeTable)
#include "test_edgetable.moc"
