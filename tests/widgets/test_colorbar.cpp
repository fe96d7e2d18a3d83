#include "widgets/gui/ColorBar.h"

#include <QtTest>

// The colour bar's handle values on screen and its way back to the full range.
class TestColorBar : public QObject
{
    Q_OBJECT
private slots:
    void handleValuesAndDoubleClick();
};

void TestColorBar::handleValuesAndDoubleClick()
{
    ColorBar bar;
    bar.setFixedSize(30, 400);
    bar.setRange(100.0, 300.0);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QVERIFY(bar.toolTip().contains(QStringLiteral("double-click")));
    // The upper handle dragged from the top to row 100 (0.75), the lower one
    // from the bottom to row 300 (0.25).
    for (const QPoint &from_to : {QPoint(3, 100), QPoint(397, 300)}) {
        QTest::mousePress(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(15, from_to.x()));
        QMouseEvent move(QEvent::MouseMove, QPointF(15, from_to.y()), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&bar, &move);
        QTest::mouseRelease(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(15, from_to.y()));
        QTest::qWait(QApplication::doubleClickInterval() + 50);
    }
    QCOMPARE(QPointF(bar.lower(), bar.upper()), QPointF(0.25, 0.75));
    // The values (150 and 250) in amber just inside the two lines, nothing
    // between 150 and 250 or beyond the lines.
    const QImage shot = bar.grab().toImage();
    int nearLower = 0, nearUpper = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            if (c.red() < 200 || c.green() < 120 || c.green() > 230 || c.blue() > 80)
                continue;
            QVERIFY2(y > 100 && y < 300 && (y < 150 || y > 250), qPrintable(QString::number(y)));
            nearLower += y > 290;
            nearUpper += y < 110;
        }
    QVERIFY(nearLower > 0 && nearUpper > 0);

    // A double click: both handles at the ends, announced like a drag's end.
    QSignalSpy updated(&bar, &ColorBar::cBarUpdated);
    const quint64 generation = bar.greyScale()->generation;
    QTest::mouseDClick(&bar, Qt::LeftButton, Qt::NoModifier, QPoint(15, 200));
    QCOMPARE(QPointF(bar.lower(), bar.upper()), QPointF(0.0, 1.0));
    QVERIFY(!updated.isEmpty() && !bar.isDragging());
    QVERIFY(bar.greyScale()->generation != generation);
    QCOMPARE(bar.greyScale()->grey(0.375), quint8(96));
}

QTEST_MAIN(TestColorBar)
#include "test_colorbar.moc"
