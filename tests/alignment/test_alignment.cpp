#include "alignment/BinImage.h"
#include "alignment/EdgeImage.h"
#include "alignment/FrameShifts.h"

#include "FrameMaker.h"
#include "LogCapture.h"

#include <QtTest>

#include <memory>

class TestAlignment : public QObject
{
    Q_OBJECT
private slots:
    void edges_data();
    void edges();
    void thresholds_data();
    void thresholds();
    void constantEdges();
    void scores_data();
    void scores();
    void searchToShift();
    void searchIdentical();
    void searchRefused_data();
    void searchRefused();
    void frameShifts();
};

namespace {

// "r0 c0 ...;r1 ..." -> a 16-bit frame.
TiffData *frameOf(const QString &rows)
{
    const QStringList r = rows.split(';');
    const int w = r[0].split(' ').size();
    return makeFrame(w, r.size(), 0.0, [&](int x, int y) { return r[y].split(' ')[x].toInt(); });
}

QString edgeText(const EdgeImage &e)
{
    QStringList rows;
    for (int y = 0; y < e.height(); ++y) {
        QStringList row;
        for (int x = 0; x < e.width(); ++x)
            row << QString::number(e.at(x, y));
        rows << row.join(' ');
    }
    return rows.join(';');
}

BinImage binOf(int w, int h, const QVector<QRect> &ones)
{
    QVector<double> v(w * h, 0.0);
    for (const QRect &r : ones)
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                v[y * w + x] = 1.0;
    return BinImage::ofValues(w, h, v.constData());
}

} // namespace

void TestAlignment::edges_data()
{
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QPoint>("shift");
    QTest::addColumn<QString>("edges");
    QTest::addColumn<double>("maximum");

    // Column sums right minus left and row sums below minus above, pixels
    // outside counting 0: at the top and bottom rows a column holds only two
    // pixels of the frame.
    const QString step = "0 0 10 10;0 0 10 10;0 0 10 10";
    QTest::newRow("step") << step << QPoint(0, 0)
                          << "0 20 20 20;0 30 30 30;0 20 20 20" << 30.0;
    // Every neighbour of the bright pixel sees it in one outer column or row.
    const QString bright = "0 0 0 0;0 0 0 0;0 0 5 0;0 0 0 0";
    QTest::newRow("bright pixel") << bright << QPoint(0, 0)
                                  << "0 0 0 0;0 5 5 5;0 5 0 5;0 5 5 5" << 5.0;
    QTest::newRow("bright pixel shifted") << bright << QPoint(-1, -2)
                                          << "5 0 5 0;5 5 5 0;0 0 0 0;0 0 0 0" << 5.0;
    QTest::newRow("step shifted out") << step << QPoint(0, 5)
                                      << "0 0 0 0;0 0 0 0;0 0 0 0" << 2.2250738585072014e-308;
}

void TestAlignment::edges()
{
    QFETCH(QString, frame);
    QFETCH(QPoint, shift);
    std::unique_ptr<TiffData> f(frameOf(frame));
    f->shiftX = shift.x();
    f->shiftY = shift.y();
    const EdgeImage e = EdgeImage::of(*f);
    QTEST(edgeText(e), "edges");
    QCOMPARE(e.minimum(), 0.0);
    QTEST(e.maximum(), "maximum");
}

void TestAlignment::thresholds_data()
{
    QTest::addColumn<double>("minEdge");
    QTest::addColumn<double>("maxEdge");
    QTest::addColumn<double>("threshold");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("bothWays"); // the slider at position gives threshold

    QTest::newRow("tenth") << 0.0 << 30.0 << 3.0 << 100 << true;
    QTest::newRow("half") << 2.0 << 4.0 << 3.0 << 500 << true;
    QTest::newRow("quarter") << 2.0 << 4.0 << 2.5 << 250 << true;
    QTest::newRow("integer part") << 0.0 << 30.0 << 3.1 << 103 << false;
    QTest::newRow("below the range") << 0.0 << 30.0 << -5.0 << 0 << false;
    QTest::newRow("above the range") << 0.0 << 30.0 << 100.0 << 999 << false;
    // A constant edge image has a range without width.
    QTest::newRow("constant") << 7.0 << 7.0 << 12.0 << 0 << false;
}

void TestAlignment::thresholds()
{
    QFETCH(double, minEdge);
    QFETCH(double, maxEdge);
    QFETCH(double, threshold);
    QFETCH(int, position);
    QFETCH(bool, bothWays);
    if (bothWays)
        QCOMPARE(binThresholdAt(minEdge, maxEdge, position), threshold);
    QCOMPARE(binSliderPosition(minEdge, maxEdge, threshold), position);
}

void TestAlignment::constantEdges()
{
    // Two equal pixels: each sees the other on one side and 0 on the other.
    std::unique_ptr<TiffData> f(frameOf("7 7"));
    const EdgeImage e = EdgeImage::of(*f);
    QCOMPARE(edgeText(e), QString("7 7"));
    QCOMPARE(e.minimum(), 7.0);
    QCOMPARE(e.maximum(), 7.0);
    QCOMPARE(binThresholdAt(e.minimum(), e.maximum(), 100), 7.0);
    QCOMPARE(binSliderPosition(e.minimum(), e.maximum(), 9.0), 0);
    // A threshold at the maximum leaves no pixel set: score 0 everywhere.
    const BinImage b = BinImage::of(e, 7.0);
    QCOMPARE(b.ones(), qint64(0));
    QCOMPARE(b.maximum(), 0.0);
    QCOMPARE(shiftScore(b, b, 0, 0), 0.0);
    QCOMPARE(BinImage::of(e, 6.5).ones(), qint64(2));
}

void TestAlignment::scores_data()
{
    QTest::addColumn<QPoint>("shift");
    QTest::addColumn<double>("score");

    // img ones at x 0..1, reference at x 1..2 of a 4 x 1 image.
    QTest::newRow("(0, 0)") << QPoint(0, 0) << 0.5;
    QTest::newRow("(1, 0)") << QPoint(1, 0) << 1.0;
    // Overlap x 2..3: one common pixel, two ones of img, one of the reference.
    QTest::newRow("(2, 0)") << QPoint(2, 0) << 1 / std::sqrt(2.0);
    QTest::newRow("(-1, 0)") << QPoint(-1, 0) << 0.0;
    QTest::newRow("(0, 1): no overlap") << QPoint(0, 1) << 0.0;
}

void TestAlignment::scores()
{
    QFETCH(QPoint, shift);
    const BinImage img = binOf(4, 1, {QRect(0, 0, 2, 1)});
    const BinImage ref = binOf(4, 1, {QRect(1, 0, 2, 1)});
    QTEST(shiftScore(ref, img, shift.x(), shift.y()), "score");
}

void TestAlignment::searchToShift()
{
    // A 20 x 20 square in a 100 x 80 image; the reference shows it displaced
    // by (3, -2). Away from the borders a trial whose shift misses by
    // (ex, ey) scores (20 - |ex|)(20 - |ey|) / 400.
    const BinImage img = binOf(100, 80, {QRect(30, 30, 20, 20)});
    const BinImage ref = binOf(100, 80, {QRect(33, 28, 20, 20)});
    QCOMPARE(shiftScore(ref, img, 3, -2), 1.0);
    int sx = 0;
    int sy = 0;
    double best = 18.0 * 17 / 400; // the score shown at (0, 0)
    QVector<ShiftTrial> trials;
    QVERIFY(autoShift(img, ref, sx, sy, best, &trials));
    QCOMPARE(QPoint(sx, sy), QPoint(3, -2));
    QCOMPARE(best, 1.0);
    // Four rounds of eight: the moves (+1, -1), (+1, -1), (+1, 0), then none.
    QCOMPARE(trials.size(), 32);
    const QVector<QPoint> firstRound = {{1, 1},   {1, 0},   {1, -1}, {0, -1},
                                        {-1, -1}, {-1, 0}, {-1, 1}, {0, 1}};
    const double firstScores[] = {18 * 17, 18 * 18, 18 * 19, 17 * 19,
                                  16 * 19, 16 * 18, 16 * 17, 17 * 17};
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(QPoint(trials[i].sx, trials[i].sy), firstRound[i]);
        QCOMPARE(trials[i].score, firstScores[i] / 400);
    }
    // Each round starts from the shift the last one chose.
    QCOMPARE(QPoint(trials[8].sx, trials[8].sy), QPoint(2, 0));
    QCOMPARE(QPoint(trials[16].sx, trials[16].sy), QPoint(3, -1));
    QCOMPARE(QPoint(trials[24].sx, trials[24].sy), QPoint(4, -1));
    // The second round chose (2, -2) with 20 * 19 / 400 over (2, -1).
    QCOMPARE(trials[9].score, 19.0 * 19 / 400);
    QCOMPARE(trials[10].score, 20.0 * 19 / 400);
}

void TestAlignment::searchIdentical()
{
    const BinImage img = binOf(70, 10, {QRect(5, 2, 60, 3), QRect(66, 0, 1, 10)});
    const BinImage ref = img.copy();
    QCOMPARE(shiftScore(ref, img, 0, 0), 1.0);
    int sx = 0;
    int sy = 0;
    double best = 1.0;
    QVector<ShiftTrial> trials;
    QVERIFY(autoShift(img, ref, sx, sy, best, &trials));
    QCOMPARE(QPoint(sx, sy), QPoint(0, 0));
    QCOMPARE(trials.size(), 8);
    // The disjoint halves of an image score 0.
    const BinImage left = binOf(70, 10, {QRect(0, 0, 35, 10)});
    const BinImage right = binOf(70, 10, {QRect(35, 0, 35, 10)});
    QCOMPARE(shiftScore(left, right, 0, 0), 0.0);
}

void TestAlignment::searchRefused_data()
{
    QTest::addColumn<int>("imgWidth");
    QTest::addColumn<int>("refWidth");
    QTest::addColumn<QString>("message");

    QTest::newRow("no binary image") << 0 << 4 << "no bin image";
    QTest::newRow("no reference") << 4 << 0 << "no ref bin image";
    QTest::newRow("sizes differ") << 4 << 5 << "size mis-match";
}

void TestAlignment::searchRefused()
{
    QFETCH(int, imgWidth);
    QFETCH(int, refWidth);
    const BinImage img = binOf(imgWidth, 1, {});
    const BinImage ref = binOf(refWidth, 1, {});
    LogCapture log;
    int sx = 2;
    int sy = -1;
    double best = 0.25;
    QVector<ShiftTrial> trials;
    QVERIFY(!autoShift(img, ref, sx, sy, best, &trials));
    QTEST(log.lines().join('|'), "message");
    QCOMPARE(QPoint(sx, sy), QPoint(2, -1));
    QCOMPARE(best, 0.25);
    QVERIFY(trials.isEmpty());
}

void TestAlignment::frameShifts()
{
    QVector<TiffData *> i1 = {constantFrame(2, 2, 7000, 1), constantFrame(2, 2, 7010, 1)};
    QCOMPARE(alignmentFrame(i1, 1), i1[1]);
    QCOMPARE(alignmentFrame(i1, 2), nullptr);
    QVERIFY(!setFrameShift(i1, -1, 1, 1));
    QVERIFY(setFrameShift(i1, 1, 3, -2));
    QCOMPARE(QPoint(i1[0]->shiftX, i1[0]->shiftY), QPoint(0, 0));
    QCOMPARE(QPoint(i1[1]->shiftX, i1[1]->shiftY), QPoint(3, -2));
    // Through the shift only the pixel (1, 0) of the frame is left, at (4, -2).
    QCOMPARE(i1[1]->windowSum(1, 1, 1, 1), 0.0);
    clearFrameShifts(i1);
    QCOMPARE(QPoint(i1[1]->shiftX, i1[1]->shiftY), QPoint(0, 0));
    QCOMPARE(i1[1]->windowSum(1, 1, 1, 1), 4.0);
    qDeleteAll(i1);
}

QTEST_GUILESS_MAIN(TestAlignment)
#include "test_alignment.moc"
