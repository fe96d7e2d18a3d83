#include "alignment/BinImage.h"
#include "alignment/EdgeImage.h"

#include "FrameMaker.h"
#include "LogCapture.h"

#include <QtTest>

#include <memory>

namespace {

// "r0 c0 ...;r1 ..." -> a 16-bit frame, and an edge image -> the same text.
TiffData *frameOf(const QString &rows)
{
    const QStringList r = rows.split(';');
    return makeFrame(r[0].split(' ').size(), r.size(), 0.0,
                     [&](int x, int y) { return r[y].split(' ')[x].toInt(); });
}

QString edgeText(const EdgeImage &e)
{
    QString t;
    for (int y = 0; y < e.height(); ++y)
        for (int x = 0; x < e.width(); ++x)
            t += (x ? " " : y ? ";" : "") + QString::number(e.at(x, y));
    return t;
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

class TestAlignment : public QObject
{
    Q_OBJECT
private slots:
    void edges_data()
    {
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QPoint>("shift");
        QTest::addColumn<QString>("edges"); // rows, then minimum and maximum

        // Column sums right minus left, row sums below minus above, outside 0:
        // in the top and bottom rows a column holds two pixels of the frame.
        const QString step = "0 0 10 10;0 0 10 10;0 0 10 10";
        QTest::newRow("step") << step << QPoint(0, 0) << "0 20 20 20;0 30 30 30;0 20 20 20|0 30";
        // A step down the frame: the row sums do it.
        QTest::newRow("step down")
            << "0 0 0;0 0 0;9 9 9" << QPoint(0, 0) << "0 0 0;18 27 18;9 0 9|0 27";
        const QString dot = "0 0 0 0;0 0 0 0;0 0 5 0;0 0 0 0";
        QTest::newRow("bright pixel")
            << dot << QPoint(0, 0) << "0 0 0 0;0 5 5 5;0 5 0 5;0 5 5 5|0 5";
        QTest::newRow("bright pixel shifted")
            << dot << QPoint(-1, -2) << "5 0 5 0;5 5 5 0;0 0 0 0;0 0 0 0|0 5";
        // Two equal pixels: each sees the other on one side and 0 on the other.
        QTest::newRow("constant edges") << "7 7" << QPoint(0, 0) << "7 7|7 7";
    }

    void edges()
    {
        QFETCH(QString, frame);
        QFETCH(QPoint, shift);
        std::unique_ptr<TiffData> f(frameOf(frame));
        f->shiftX = shift.x();
        f->shiftY = shift.y();
        const EdgeImage e = EdgeImage::of(*f);
        QTEST(edgeText(e) + QString("|%1 %2").arg(e.minimum()).arg(e.maximum()), "edges");
    }

    void thresholds_data()
    {
        QTest::addColumn<double>("minEdge");
        QTest::addColumn<double>("maxEdge");
        QTest::addColumn<double>("threshold");
        QTest::addColumn<int>("position");
        QTest::addColumn<bool>("bothWays"); // the slider at position gives threshold

        QTest::newRow("tenth") << 0.0 << 30.0 << 3.0 << 100 << true;
        QTest::newRow("quarter") << 2.0 << 4.0 << 2.5 << 250 << true;
        QTest::newRow("integer part") << 0.0 << 30.0 << 3.1 << 103 << false;
        QTest::newRow("below the range") << 0.0 << 30.0 << -5.0 << 0 << false;
        QTest::newRow("above the range") << 0.0 << 30.0 << 100.0 << 999 << false;
        QTest::newRow("constant edges") << 7.0 << 7.0 << 12.0 << 0 << false;
    }

    void thresholds()
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

    // A threshold at the maximum sets no pixel: score 0 at every shift.
    void thresholdAtMaximum()
    {
        std::unique_ptr<TiffData> f(frameOf("0 9 0;0 0 0"));
        const EdgeImage e = EdgeImage::of(*f);
        const BinImage b = BinImage::of(e, e.maximum());
        QVERIFY(b.ones() == 0 && shiftScore(b, b, 0, 0) == 0.0);
        QCOMPARE(BinImage::of(e, e.maximum() - 1).ones(), qint64(5)); // all but the bright one
    }

    void scores_data()
    {
        QTest::addColumn<QRect>("img");
        QTest::addColumn<QRect>("ref");
        QTest::addColumn<QPoint>("shift");
        QTest::addColumn<double>("score");

        // In a 70 x 3 image (two words a row).
        const QRect bar(3, 1, 62, 1);
        QTest::newRow("identical") << bar << bar << QPoint(0, 0) << 1.0;
        QTest::newRow("disjoint") << QRect(0, 0, 35, 3) << QRect(35, 0, 35, 3) << QPoint(0, 0)
                                  << 0.0;
        // Overlap: x 0..6 of img holds its 4 ones, x 63..69 of the reference its 5,
        // 3 in common.
        QTest::newRow("far shift")
            << QRect(1, 0, 4, 1) << QRect(65, 0, 5, 1) << QPoint(63, 0) << 3 / std::sqrt(20.0);
        // Ones at x 0..1 of img and x 1..2 of the reference, one row.
        const QRect a(0, 0, 2, 1), b(1, 0, 2, 1);
        QTest::newRow("half") << a << b << QPoint(0, 0) << 0.5;
        QTest::newRow("matched") << a << b << QPoint(1, 0) << 1.0;
        QTest::newRow("beyond") << a << b << QPoint(2, 0) << 1 / std::sqrt(2.0);
        QTest::newRow("no overlap") << a << b << QPoint(0, 3) << 0.0;
    }

    void scores()
    {
        QFETCH(QRect, img);
        QFETCH(QRect, ref);
        QFETCH(QPoint, shift);
        QTEST(shiftScore(binOf(70, 3, {ref}), binOf(70, 3, {img}), shift.x(), shift.y()), "score");
    }

    void searchToShift()
    {
        // A 20 x 20 square that the reference shows displaced by (3, -2): a trial
        // missing by (ex, ey) scores (20 - |ex|)(20 - |ey|) / 400.
        const BinImage img = binOf(100, 80, {QRect(30, 30, 20, 20)});
        const BinImage ref = binOf(100, 80, {QRect(33, 28, 20, 20)});
        int sx = 0, sy = 0;
        double best = 18.0 * 17 / 400; // the score shown at (0, 0)
        QVector<ShiftTrial> trials;
        QVERIFY(autoShift(img, ref, sx, sy, best, &trials));
        QCOMPARE(QVector<double>({double(sx), double(sy), best}), QVector<double>({3, -2, 1}));
        // Rounds of eight from (0, 0), (1, -1), (2, -2) and (3, -2).
        QCOMPARE(trials.size(), 32);
        const QPoint steps[] = {{1, 1},   {1, 0},  {1, -1}, {0, -1},
                                {-1, -1}, {-1, 0}, {-1, 1}, {0, 1}};
        const int firstScores[] = {18 * 17, 18 * 18, 18 * 19, 17 * 19,
                                   16 * 19, 16 * 18, 16 * 17, 17 * 17};
        const QPoint from[] = {{0, 0}, {1, -1}, {2, -2}, {3, -2}};
        for (int i = 0; i < 32; ++i) {
            QCOMPARE(QPoint(trials[i].sx, trials[i].sy), from[i / 8] + steps[i % 8]);
            QVERIFY(i >= 8 || trials[i].score == firstScores[i] / 400.0);
        }
        // (2, -2) at 20 * 19 beats (2, -1) at 19 * 19; then (3, -2) at 1.
        QCOMPARE(QVector<double>({trials[9].score, trials[10].score, trials[17].score}),
                 QVector<double>({19.0 * 19 / 400, 20.0 * 19 / 400, 1.0}));

        // A search that starts at the match stops at once.
        QVERIFY(autoShift(ref, ref, sx = 0, sy = 0, best = 1.0, &trials));
        QVERIFY(sx == 0 && sy == 0 && trials.size() == 40);
        // Nothing overlaps anywhere near: no neighbour beats the start, which stays.
        const BinImage far = binOf(100, 80, {QRect(0, 0, 5, 5)});
        QVERIFY(autoShift(far, ref, sx = 0, sy = 0, best = 0.0, nullptr));
        QVERIFY(sx == 0 && sy == 0 && best == 0.0);
    }

    // No binary image, no reference, sizes that differ: refused, nothing changed.
    void searchRefused()
    {
        LogCapture log;
        int sx = 2, sy = -1;
        double best = 0.25;
        QVector<ShiftTrial> trials;
        for (const QPoint &w : {QPoint(0, 4), QPoint(4, 0), QPoint(4, 5)})
            QVERIFY(!autoShift(binOf(w.x(), 1, {}), binOf(w.y(), 1, {}), sx, sy, best, &trials));
        QCOMPARE(log.lines(), QStringList({"no bin image", "no ref bin image", "size mis-match"}));
        QVERIFY(sx == 2 && sy == -1 && best == 0.25 && trials.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestAlignment)
#include "test_alignment.moc"
