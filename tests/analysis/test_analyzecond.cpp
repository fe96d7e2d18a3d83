#include "analysis/AnalyzeCond.h"

#include <QtTest>

#include <limits>

class TestAnalyzeCond : public QObject
{
    Q_OBJECT
private slots:
    void walk_data();
    void walk();
};

void TestAnalyzeCond::walk_data()
{
    QTest::addColumn<int>("hx");
    QTest::addColumn<int>("hy");
    QTest::addColumn<QRectF>("area");
    QTest::addColumn<QString>("centres"); // "x,y" per bin, "|" before each new row
    QTest::addColumn<int>("across");
    QTest::addColumn<int>("down");

    // The image is 20 x 8 pixels.
    const QString tenByOne = QStringLiteral("1,0 4,0 7,0 |");
    QTest::newRow("10 pixels, hx 1") << 1 << 0 << QRectF(0, 0, 10, 1) << tenByOne << 3 << 1;
    QTest::newRow("reversed") << 1 << 0 << QRectF(10, 1, -10, -1) << tenByOne << 3 << 1;
    QTest::newRow("negative half") << -1 << 0 << QRectF(0, 0, 10, 1) << tenByOne << 3 << 1;
    QTest::newRow("hx 2") << 2 << 0 << QRectF(0.9, 0, 10, 1) << "2,0 7,0 |" << 2 << 1;
    QTest::newRow("hx 0") << 0 << 0 << QRectF(3, 0, 10, 1)
                          << "3,0 4,0 5,0 6,0 7,0 8,0 9,0 10,0 11,0 12,0 |" << 10 << 1;
    QTest::newRow("rows") << 0 << -1 << QRectF(17, 2, 2, 5) << "17,3 18,3 |17,6 18,6 |" << 2 << 2;
    // The edge bins reach past the image: (19, 7) and its neighbours.
    QTest::newRow("edge") << 1 << 1 << QRectF(15, 3, 6, 5) << "16,4 19,4 |16,7 19,7 |" << 2 << 2;
    // An area without width still has its one bin (by the written-out
    // formula (x1 - x0 - hx - 1) / step + 1 it would have none).
    QTest::newRow("no width") << 0 << 0 << QRectF(5, 5, 0, 0) << "5,5 |" << 1 << 1;
    // A bin wider than the image keeps its half size.
    QTest::newRow("half past the image") << 25 << 0 << QRectF(0, 0, 10, 1) << "25,0 |" << 1 << 1;
    // Hostile sizes neither hang nor overflow; the bin counts must still
    // be the walk's.
    QTest::newRow("huge half") << std::numeric_limits<int>::max() << std::numeric_limits<int>::min()
                               << QRectF(0, 0, 20, 8) << QString() << 1 << 1;
    QTest::newRow("huge area") << 0 << 0 << QRectF(-1e300, 0, 2e300, 1) << QString() << -1 << 1;
}

void TestAnalyzeCond::walk()
{
    QFETCH(int, hx);
    QFETCH(int, hy);
    QFETCH(QRectF, area);
    QFETCH(QString, centres);
    QFETCH(int, across);
    QFETCH(int, down);

    AnalyzeCond c;
    c.setup(20, 8, hx, hy, area.x(), area.y(), area.width(), area.height());
    QString seen;
    qint64 visits = 0;
    bool newRow = false, more = true;
    while (more) {
        seen += QStringLiteral("%1,%2 ").arg(c.cx).arg(c.cy);
        QVERIFY(++visits <= 1000000);
        more = c.advance(newRow);
        if (newRow)
            seen += QLatin1Char('|');
    }
    if (!centres.isEmpty())
        QCOMPARE(seen, centres);
    if (across >= 0)
        QCOMPARE(c.binsAcross(), across);
    QCOMPARE(c.binsDown(), down);
    QCOMPARE(c.bins(), visits);
}

QTEST_APPLESS_MAIN(TestAnalyzeCond)
#include "test_analyzecond.moc"
