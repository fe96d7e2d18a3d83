#include "spectrum/EdgeTable.h"
#include "LogCapture.h"
#include "TestFiles.h"

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
    // The table's first use reads it, from another thread here, as an
    // analysis without a main window would.
    double feK = 0.0;
    std::thread first([&feK] { feK = edgeEnergy(26, 0); });
    first.join();
    QCOMPARE(feK, 7112.0);
    QVERIFY(log.lines().isEmpty());
    // The title line and H .. U, each on the record of its atomic number.
    const EdgeTable &t = edgeTable();
    QCOMPARE(t.count(), 93);
    for (int z = 0; z <= 92; ++z)
        QCOMPARE(t.record(z).atomicNumber, z);
    QCOMPARE(t.record(500).atomicNumber, 0);
    // Values of the table's Fe, Au and U lines; Fe has no M1 edge, H no edge
    // at all, Li its K edge only; outside the filled records and the table: 0.
    const double rows[][3] = {
        {26, 0, 7112.0}, {26, 1, 846.1}, {26, 3, 708.1}, {79, 3, 11918.7}, {92, 0, 115602.0},
        {26, 4, 0},      {1, 0, 0},      {1, 4, 0},      {3, 1, 0},        {93, 0, 0},
        {-1, 0, 0},      {26, -1, 0},    {26, 5, 0},     {0, 0, 0},
    };
    for (const auto &r : rows)
        QCOMPARE(edgeEnergy(int(r[0]), int(r[1])), r[2]);
    // Edge 4 reads the M1 wavelength slot: hc / 3.4249 keV for Au.
    QVERIFY(qAbs(edgeEnergy(79, 4) - 12.398424360387684 / 3.4249 * 1000.0) < 1e-5);
}

void TestEdgeTable::missingAndOddTables()
{
    EdgeTable t;
    {
        LogCapture log;
        QVERIFY(!t.load(":NoSuchTable.txt"));
        QCOMPARE(log.lines(), QStringList({"Cannot open [NoSuchTable.txt]"}));
    }
    QCOMPARE(t.edgeEnergy(26, 0), 0.0);
    // Comments and blank lines hold no record; "=", text and values that are
    // not positive read 0, except the K edge, which is taken as read; short
    // lines leave the rest 0; lines past 100 records are not read.
    QTemporaryDir dir;
    const QString name = dir.filePath("t.txt");
    QVERIFY(writeFile(name, "= title\n# a comment\n\n"
                            "Aa 1 -2.5 x 1 2 -0.5 y 3 4 abc z 5 6 0.25 w 7 8 9.5 10 11\n"
                            "Bb 2 = = = = 0.1\nCc x 3\n"
                                + QByteArray("Zz 50 1\n").repeated(120)));
    QVERIFY(t.load(name));
    QCOMPARE(t.count(), 100);
    // Slots 1..15: the edges (-0.5 and "abc" read 0), then the coefficients.
    const double want[] = {-2.5, 0, 0, 0.25, 9.5, 1, 3, 5, 7, 10, 2, 4, 6, 8, 11};
    for (int i = 0; i < 15; ++i)
        QCOMPARE(t.record(1).slot[i + 1], want[i]);
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
    const QPair<const char *, int> edges[] = {{"K", 0},   {"k", 0},  {"L1", 1},   {"li", 1},
                                              {"LII", 2}, {"l3", 3}, {"liii", 3}, {"M1", 0}};
    for (const auto &e : edges)
        QCOMPARE(edgeIndex(e.first), e.second);
    const QPair<const char *, int> elements[] = {{"Fe", 26}, {"fe", -1}, {"Xx", -1},  {"D", 110},
                                                 {"H", 1},   {"U", 92},  {"Mt", 109}, {"", -1}};
    for (const auto &e : elements)
        QCOMPARE(elementNumber(e.first), e.second);
}

QTEST_GUILESS_MAIN(TestEdgeTable)
#include "test_edgetable.moc"
