#include "spectrum/EdgeTable.h"
#include "LogCapture.h"

#include <QTemporaryDir>
#include <QtTest>

#include <thread>

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
    // Nothing has asked for the table yet: its first use reads it, from
    // another thread here, as an analysis without a main window would.
    double feK = 0.0;
    std::thread first([&feK] { feK = edgeEnergy(26, 0); });
    first.join();
    QCOMPARE(feK, 7112.0);
    QVERIFY(log.lines().isEmpty());
    const EdgeTable &t = edgeTable();
    // The title line and H .. U.
    QCOMPARE(t.count(), 93);
    // Record 0 is the title line.
    QCOMPARE(t.record(0).atomicNumber, 0);
    // Every element line lands on the record of its atomic number.
    for (int z = 1; z <= 92; ++z)
        QCOMPARE(t.record(z).atomicNumber, z);
    // Values of the table's Fe and Au lines.
    // Values of the table's Fe, Au and U lines; Fe has no M1 edge, H no edge
    // at all, Li its K edge only; outside the filled records and the table: 0.
    const double rows[][3] = {
        {26, 0, 7112.0},  {26, 1, 846.1},    {26, 2, 721.1}, {26, 3, 708.1}, {79, 0, 80724.9},
        {79, 3, 11918.7}, {92, 0, 115602.0}, {26, 4, 0},     {1, 0, 0},      {1, 1, 0},
        {1, 2, 0},        {1, 3, 0},         {1, 4, 0},      {3, 1, 0},      {93, 0, 0},
        {99, 0, 0},       {100, 0, 0},       {-1, 0, 0},     {26, -1, 0},    {26, 5, 0},
        {0, 0, 0},
    };
    for (const auto &r : rows)
        QCOMPARE(edgeEnergy(int(r[0]), int(r[1])), r[2]);
    // Edge 4 reads the M1 wavelength slot: hc / 3.4249 keV for Au.
    QVERIFY(qAbs(edgeEnergy(79, 4) - 12.398424360387684 / 3.4249 * 1000.0) < 1e-5);
    // The coefficient columns are "=" throughout.
    for (int s = 6; s < 16; ++s)
        QCOMPARE(t.record(26).slot[s], 0.0);
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
        QCOMPARE(log.lines(), QStringList({"Cannot open [NoSuchTable.txt]"}));
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
    // Slots 1..15: the edges (-0.5 and "abc" read 0), then the coefficients.
    const double want[] = {-2.5, 0, 0, 0.25, 9.5, 1, 3, 5, 7, 10, 2, 4, 6, 8, 11};
    for (int i = 0; i < 15; ++i)
        QCOMPARE(a.slot[i + 1], want[i]);
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
    const QPair<const char *, int> edges[] = {{"K", 0},  {"k", 0},   {"L1", 1}, {"li", 1},
                                              {"L2", 2}, {"LII", 2}, {"l3", 3}, {"liii", 3},
                                              {"M1", 0}, {"", 0}};
    for (const auto &e : edges)
        QCOMPARE(edgeIndex(e.first), e.second);
    const QPair<const char *, int> elements[] = {{"Fe", 26},  {"fe", -1}, {"Xx", -1},
                                                 {"D", 110},  {"H", 1},   {"U", 92},
                                                 {"Mt", 109}, {" ", 0},   {"", -1}};
    for (const auto &e : elements)
        QCOMPARE(elementNumber(e.first), e.second);
    for (int i = 0; i < ElementTable::Count; ++i)
        QCOMPARE(ElementTable::entry(i).number, i);
    QCOMPARE(QString(ElementTable::entry(79).symbol), QStringLiteral("Au"));
    QCOMPARE(QString(ElementTable::entry(108).symbol), QStringLiteral("Hs"));
}

QTEST_GUILESS_MAIN(TestEdgeTable)
#include "test_edgetable.moc"
