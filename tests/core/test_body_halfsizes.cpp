#include "core/gui/Body.h"
#include "widgets/gui/ImgDispA.h"

#include "FrameMaker.h"

#include <QLineEdit>
#include <QPainter>
#include <QtTest>

#include <cmath>

class TestBodyHalfSizes : public QObject
{
    Q_OBJECT
private slots:
    // "set_band_w 2147483647" and the most negative half height: the spectrum
    // sums whole frames, and the window is drawn over the data, no further.
    void hugeHalfSizesCoverTheData();
};

void TestBodyHalfSizes::hugeHalfSizesCoverTheData()
{
    Body b;
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    for (int k = 0; k < 2; ++k) {
        b.loadedI0(constantFrame(8, 6, 0, 1000), k);
        b.loadedI1(makeFrame(8, 6, 0, [](int x, int y) { return 10 + x + 10 * y; }), k);
    }
    b.findChild<QLineEdit *>(QStringLiteral("HWidth"))->setText(QStringLiteral("2147483647"));
    b.findChild<QLineEdit *>(QStringLiteral("VWidth"))->setText(QStringLiteral("-2147483648"));
    ImgDispA *disp = b.findChild<ImgDispA *>(QStringLiteral("dispA"));
    disp->setRealMousePos(3, 2);
    // 48 samples: 480 + 6 * (0 + ... + 7) + 8 * 10 * (0 + ... + 5).
    QCOMPARE(b.traceAtPosition().y(1), 1848.0);
    QCOMPARE(b.spectrumAtPosition().raw().y(0), std::log(48000.0 / 1848.0));

    QImage img(disp->size(), QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    b.draw(&p);
    p.end();
    QRect red;  // the 2-pixel pen straddles the window's edges
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            red |= img.pixel(x, y) == qRgb(255, 0, 0) ? QRect(x, y, 1, 1) : QRect();
    const ChCoord &c = disp->coord();
    const QRectF data = QRectF(QPointF(c.r2sx(0), c.r2sy(0)), QPointF(c.r2sx(8), c.r2sy(6)));
    QVERIFY(!red.isEmpty());
    QVERIFY(QRectF(red).adjusted(-2, -2, 2, 2).contains(data.normalized()));
    QVERIFY(data.normalized().adjusted(-2, -2, 2, 2).contains(QRectF(red)));
}

QTEST_MAIN(TestBodyHalfSizes)
#include "test_body_halfsizes.moc"
