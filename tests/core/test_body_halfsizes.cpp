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
    void hugeHalfSizesCoverTheData();
};

// "set_band_w 2147483647" and the most negative half height: the spectrum
// sums whole frames, and the window is drawn over the data and no further.
void TestBodyHalfSizes::hugeHalfSizesCoverTheData()
{
    Body b;
    b.resize(900, 600);
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    // I1 sample 10 + x + 10 y over 8 x 6, I0 1000 everywhere.
    for (int k = 0; k < 2; ++k) {
        b.loadedI0(constantFrame(8, 6, 0, 1000), k);
        b.loadedI1(makeFrame(8, 6, 0, [](int x, int y) { return 10 + x + 10 * y; },
                             QStringLiteral("/data/f_%1_0000.tif").arg(7000 + 10 * k)),
                   k);
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
    {
        QPainter p(&img);
        b.draw(&p);
    }
    QRect red;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) == qRgb(255, 0, 0))
                red |= QRect(x, y, 1, 1);
    const ChCoord &c = disp->coord();
    const QRect data = QRectF(QPointF(c.r2sx(0), c.r2sy(0)), QPointF(c.r2sx(8), c.r2sy(6)))
                           .normalized()
                           .toRect();
    QVERIFY2(!red.isEmpty(), "no window drawn");
    const QString seen = QStringLiteral("window %1,%2 %3x%4 over data %5,%6 %7x%8")
                             .arg(red.x()).arg(red.y()).arg(red.width()).arg(red.height())
                             .arg(data.x()).arg(data.y()).arg(data.width()).arg(data.height());
    for (int d : {red.left() - data.left(), red.top() - data.top(), red.right() - data.right(),
                  red.bottom() - data.bottom()})
        QVERIFY2(std::abs(d) <= 2, qPrintable(seen));
}

QTEST_MAIN(TestBodyHalfSizes)
#include "test_body_halfsizes.moc"
