#include "widgets/gui/ColorBar.h"

#include <QtTest>

// The colour bar's handle values on screen and its way back to the full range.
class TestColorBar : public QObject
{
    Q_OBJECT
private slots:
    void handleValuesBesideTheirLines();
    void doubleClickRestoresFullRange();
};

// Rows of the on-screen bar that carry the amber of the handle values.
static QVector<int> valueRows(ColorBar &bar)
{
    const QImage shot = bar.grab().toImage();
    QVector<int> rows;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            if (c.red() > 200 && c.green() > 120 && c.green() < 230 && c.blue() < 80) {
                rows << y;
                break;
            }
        }
    return rows;
}

void TestColorBar::handleValuesBesideTheirLines()
{
    ColorBar bar;
    bar.setFixedSize(30, 400);
    bar.setRange(100.0, 300.0);
    bar.setHandles(0.25, 0.75);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    // The lower handle's line is at row 300, the upper one's at row 100: the
    // lower value (150) runs up from just above 300, the upper value (250)
    // down from just below 100; nothing is written between 130 and 270 or
    // beyond the lines.
    const QVector<int> rows = valueRows(bar);
    QVERIFY(!rows.isEmpty());
    bool nearLower = false, nearUpper = false;
    for (int y : rows) {
        QVERIFY2(y > 100 && y < 300, qPrintable(QString::number(y)));
        QVERIFY2(y < 150 || y > 250, qPrintable(QString::number(y)));
        nearLower = nearLower || y > 290;
        nearUpper = nearUpper || y < 110;
    }
    QVERIFY(nearLower && nearUpper);
    // The saved picture stays as it was: the values are drawn on screen only.
    const QImage &pic = bar.picture();
    for (int y = 0; y < pic.height(); ++y)
        for (int x = 0; x < pic.width(); ++x)
            QVERIFY(QColor(pic.pixel(x, y)) != QColor(255, 200, 0));
}

// A move with the left button held.
static void held(QWidget *w, QPoint pos)
{
    QMouseEvent e(QEvent::MouseMove, pos, w->mapToGlobal(pos), Qt::NoButton, Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void TestColorBar::doubleClickRestoresFullRange()
{
    ColorBar bar;
    bar.setFixedSize(30, 600);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QVERIFY(bar.toolTip().contains(QStringLiteral("double-click")));
    QSignalSpy updated(&bar, &ColorBar::cBarUpdated);
    // The upper handle dragged to the middle, the lower one up to 0.25.
    QTest::mousePress(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(15, 5));
    held(&bar, QPoint(15, 300));
    QTest::mouseRelease(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(15, 300));
    // Apart by more than a double click's interval.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mousePress(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(15, 595));
    held(&bar, QPoint(15, 450));
    QTest::mouseRelease(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(15, 450));
    QCOMPARE(QPointF(bar.lower(), bar.upper()), QPointF(0.25, 0.5));
    QCOMPARE(updated.count(), 2);
    const quint64 generation = bar.greyScale()->generation;
    QCOMPARE(bar.greyScale()->grey(0.375), quint8(128));

    // A double click anywhere on the bar: both handles at the ends again,
    // announced like the end of a drag, the scale marked changed.
    QTest::mouseDClick(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(15, 200));
    QCOMPARE(QPointF(bar.lower(), bar.upper()), QPointF(0.0, 1.0));
    QVERIFY(!bar.isDragging());
    QVERIFY(updated.count() >= 3);
    QVERIFY(bar.greyScale()->generation != generation);
    QCOMPARE(bar.greyScale()->grey(0.375), quint8(96));
    QCOMPARE(bar.greyScale()->grey(1.0), quint8(255));
}

QTEST_MAIN(TestColorBar)
#include "test_colorbar.moc"
