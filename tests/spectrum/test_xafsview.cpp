#include "LogCapture.h"
#include "MouseEvents.h"
#include "TestFiles.h"
#include "spectrum/gui/XafsView.h"
#include "widgets/gui/DispA.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QPushButton>
#include <QtTest>

#include <cmath>
#include <complex>

// A step at 7000 eV over 6800 .. 7400 eV in 5 eV steps.
static SpectrumPoints stepPoints()
{
    SpectrumPoints p;
    for (double e = 6800.0; e <= 7400.0; e += 5.0)
        p.append(e, e < 7000.0 ? 0.2 + 1e-4 * (e - 6800.0) : 1.5 - 2e-4 * (e - 7000.0));
    return p;
}

// The data x at a screen x, worked out from the inner rectangle.
static double dataX(const ChCoord &c, double lo, double hi, double sx)
{ return lo + (hi - lo) * (sx - c.innerX0()) / (c.innerX1() - c.innerX0()); }

static void showView(XafsView &v)
{
    v.resize(640, 420);
    v.show();
    QVERIFY(QTest::qWaitForWindowExposed(&v));
    v.graph()->repaint();
}

static void clickBox(XafsView &v, const QString &name)
{
    auto *b = v.findChild<QCheckBox *>(name);
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, b->height() / 2));
    v.graph()->repaint();
}

// The text of a line edit or label.
static QString text(XafsView &v, const char *name)
{ return v.findChild<QWidget *>(name)->property("text").toString(); }

class TestXafsView : public QObject
{
    Q_OBJECT
private slots:
    void spectrumAndRanges()
    {
        XafsView v;
        QSignalSpy spy(&v, &XafsView::updated);
        // Target 0, 0, 1, 1 at 1 .. 4 (half height 2.5); standard one eV higher (3.5).
        SpectrumPoints t, s;
        for (int i = 0; i < 4; ++i)
            t.append(1.0 + i, i / 2), s.append(2.0 + i, i / 2);
        QCOMPARE(v.setXafsSpectrum(XafsSpectrum(t, false, 0.0)), 2.5);
        QCOMPARE(QVector<double>({double(spy.count()), v.xMin(), v.xMax(), v.fullMax()}),
                 QVector<double>({1, 1, 4, 4}));
        v.setStandard(XafsSpectrum(s, false, 0.0));
        QCOMPARE(v.setXafsSpectrum(XafsSpectrum(t, false, 0.0)), -1.0);
        // The range follows the energies with the shift baked in.
        SpectrumPoints sp = stepPoints();
        sp.setShift(20.0);
        sp.enableShift(true);
        v.setXafsSpectrum(XafsSpectrum(sp, true, 0.0));
        QCOMPARE(QVector<double>({v.xMin(), v.xMax()}), QVector<double>({6780, 7380}));
        // An empty spectrum has no extent; without autoRange the ranges stay.
        v.setXafsSpectrum(XafsSpectrum());
        v.setAutoRange(false);
        v.setXafsSpectrum(XafsSpectrum(stepPoints(), true, 0.0));
        QCOMPARE(QVector<double>({v.xMin(), v.fullMax()}), QVector<double>({6780, 7380}));
    }

    void wheelAndDrag()
    {
        XafsView v;
        v.setXafsSpectrum(XafsSpectrum(stepPoints(), true, 0.0));
        showView(v);
        DispA *g = v.graph();
        const ChCoord &c = g->coord();
        // The frame marker is all there is at its column in the plot's middle height.
        v.setMarkerEnergy(7250.0);
        const int mx = int(std::lround(c.r2sx(7250.0))), my = (c.innerY0() + c.innerY1()) / 2;
        const QImage withMark = g->grab().toImage();
        v.setMarkerEnergy(-1.0);
        g->repaint();
        const QImage without = g->grab().toImage();
        QVERIFY(withMark.copy(mx - 1, my, 3, 1) != without.copy(mx - 1, my, 3, 1));
        QCOMPARE(withMark.pixel(mx - 20, my), without.pixel(mx - 20, my));
        auto near = [](double a, double b) { return std::fabs(a - b) < 1e-9; };
        // One notch away from the user: factor 1 / 1.1 around the energy under the mouse.
        const QPoint at(c.innerX0() + 150, 120);
        const double x0 = dataX(c, 6800.0, 7400.0, at.x());
        QSignalSpy spy(&v, &XafsView::updated);
        sendWheel(g, at, 120);
        QVERIFY(spy.count() == 1 && near(v.xMin(), (6800.0 - x0) / 1.1 + x0)
                && near(v.xMax(), (7400.0 - x0) / 1.1 + x0));
        QCOMPARE(text(v, "XVal"), QString::number(x0, 'g', 6));
        sendWheel(g, at, 240); // zoomed, "S.R." restores the range
        QTest::mouseClick(v.findChild<QPushButton *>("ResetXScale"), Qt::LeftButton);
        QCOMPARE(QVector<double>({v.xMin(), v.xMax()}), QVector<double>({6800, 7400}));
        g->repaint();
        const double perPixel = 600.0 / (c.innerX1() - c.innerX0());
        const QPoint press(c.innerX0() + 200, 150);
        auto drag = [&](Qt::MouseButton b, QVector<int> dx) {
            sendMouse(g, QEvent::MouseButtonPress, press, b, b);
            for (int d : dx)
                sendMouse(g, QEvent::MouseMove, press + QPoint(d, 7), Qt::NoButton, b);
            sendMouse(g, QEvent::MouseButtonRelease, press + QPoint(dx.last(), 0), b, Qt::NoButton);
        };
        // Moved 50 then 80 pixels right: both ends 80 pixels' worth (from the press) lower.
        drag(Qt::LeftButton, {50, 80});
        QVERIFY(near(v.xMin(), 6800.0 - 80 * perPixel) && near(v.xMax(), 7400.0 - 80 * perPixel)
                && v.fullMin() == 6800.0);
        const double lo = v.xMin();
        // No pan by a move after the release, a right drag, a switched-off drag or wheel.
        sendMouse(g, QEvent::MouseMove, press + QPoint(-100, 0), Qt::NoButton, Qt::NoButton);
        drag(Qt::RightButton, {40});
        g->setDragEnabled(false);
        g->setWheelEnabled(false);
        drag(Qt::LeftButton, {40});
        sendWheel(g, at, 120);
        QCOMPARE(v.xMin(), lo);
    }

    void readOutFollowsTheCurveDrawn()
    {
        XafsView v;
        // A spectrum 20 eV off (drawn 20 eV lower with "E. Correct"), a trace.
        v.setXafsSpectrum(XafsSpectrum(stepPoints(), true, 20.0));
        SpectrumPoints trace;
        for (int i = 0; i < 60; ++i)
            trace.append(6800.0 + 10.0 * i, 1000.0 + i);
        v.setTrace(trace);
        showView(v);
        const ChCoord &c = v.graph()->coord();
        const QPoint at(c.innerX0() + 123, c.innerY0() + 40);
        // The point under the mouse: the first whose midpoint to the next lies beyond.
        auto check = [&](double lo, double hi, double offset, double step) {
            sendMouse(v.graph(), QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
            const double x = dataX(c, lo, hi, at.x());
            const long want =
                step > 0.0 ? long(std::ceil((x + offset - lo - step / 2) / step)) : std::lround(x);
            QCOMPARE(QStringList({text(v, "Position"), text(v, "XVal")}),
                     QStringList({QString::number(want), QString::number(x, 'f', 1)}));
        };
        check(6800.0, 7400.0, 0.0, 5.0);
        // Absorption: y range the raw mu bounds 0.2 .. 1.5, 4 % of it clear above and below.
        QCOMPARE(QVector<double>({v.yMin(), v.yMax()}), QVector<double>({0.2, 1.5}));
        const double top = 1.5 + 0.04 * 1.3, bottom = 0.2 - 0.04 * 1.3;
        const double y = top + (bottom - top) * 40.0 / double(c.innerY1() - c.innerY0());
        QCOMPARE(text(v, "YVal"), QString::number(y, 'f', 3));
        clickBox(v, "ECorrect");
        check(6800.0, 7400.0, 20.0, 5.0);
        clickBox(v, "Normalized");
        QCOMPARE(v.yAxisTitle(), QStringLiteral("normalized μt"));
        clickBox(v, "ShowRaw");
        check(6800.0, 7400.0, 0.0, 10.0);
        // The Fourier view: the component nearest the mouse; the y range spans the
        // magnitudes |sum y_j exp(-2 pi i j k / 60)| over k = 1 .. 58.
        clickBox(v, "ShowFFT");
        check(0.0, 60.0, 0.0, 0.0);
        QCOMPARE(v.xAxisTitle(), QStringLiteral("Frequency [cycles over the I1 trace]"));
        // The title gives the window in pixels across: twice the half size and the centre.
        v.setPlace(36, 38, 5, -2);
        QCOMPARE(v.plotTitle(), QStringLiteral("Position (36, 38), window 11 x 5 pixels"));
        double lo = 1e300, hi = -1e300;
        for (int k = 1; k <= 58; ++k) {
            std::complex<double> sum = 0;
            for (int j = 0; j < 60; ++j)
                sum += trace.y(j) * std::polar(1.0, -2.0 * M_PI * j * k / 60.0);
            lo = std::min(lo, std::abs(sum)), hi = std::max(hi, std::abs(sum));
        }
        QVERIFY(std::fabs(v.yMin() - lo) < 1e-6 * hi && std::fabs(v.yMax() - hi) < 1e-6 * hi);
        v.setTrace(SpectrumPoints());
        v.graph()->repaint();
        QCOMPARE(v.yMax(), 1.0); // no trace: nothing to transform, the range 0 .. 1
        // Beyond the last midpoint: the last index; over nothing: no index.
        clickBox(v, "ShowFFT");
        clickBox(v, "ShowRaw");
        v.setAutoRange(false);
        SpectrumPoints few;
        for (int i = 0; i < 3; ++i)
            few.append(6800.0 + 10.0 * i, i);
        v.setXafsSpectrum(XafsSpectrum(few, false, 0.0));
        sendMouse(v.graph(), QEvent::MouseMove, at + QPoint(1, 0), Qt::NoButton, Qt::NoButton);
        QCOMPARE(text(v, "Position"), QStringLiteral("2"));
        v.setXafsSpectrum(XafsSpectrum());
        sendMouse(v.graph(), QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        QCOMPARE(text(v, "Position"), QString());
    }

    void saveData()
    {
        QTemporaryDir dir;
        const QByteArray head(
            "###Lumenograf::XafsSpectrum\n# x  double-normalized-pre-base y pre post\n");
        XafsView v;
        auto one = [](double e, double mu, double shift) {
            XafsSpectrum x;
            x.raw().append(e, mu), x.setEnergyShift(shift);
            return x;
        };
        // Only the target's energy shift is subtracted; others go by index.
        XafsSpectrum o0 = one(100, 1, 5), o1 = one(200, 2, 0);
        v.setXafsSpectrum(one(7000.5, 0.25, 2));
        v.setOthers({&o0, nullptr, &o1});
        v.setStandard(one(300, 3, 7));
        QVERIFY(v.saveData(dir.filePath("b.x.dat")));
        QCOMPARE(readFile(dir.filePath("b.x-T.dat")), head + "6998.5\t0\t0.25\t0\t0\n");
        QCOMPARE(readFile(dir.filePath("b.x-std.dat")), head + "300\t0\t3\t0\t0\n");
        QCOMPARE(readFile(dir.filePath("b.x-other0.dat")), head + "100\t0\t1\t0\t0\n");
        QVERIFY(!QFile::exists(dir.filePath("b.x-other1.dat")));
        QCOMPARE(readFile(dir.filePath("b.x-other2.dat")), head + "200\t0\t2\t0\t0\n");
        LogCapture log; // a folder that does not exist: every file tried, each failure logged
        QVERIFY(!v.saveData(dir.filePath("none/f.dat")));
        QCOMPARE(log.lines().size(), 4);
        // A name without a suffix gets ".dat", another suffix is kept.
        v.saveData(dir.filePath("c"));
        v.saveData(dir.filePath("d.txt"));
        QVERIFY(QFile::exists(dir.filePath("c-T.dat"))
                && QFile::exists(dir.filePath("d-other2.txt")));
        // "Save" opens the save dialog, whose choice writes the files.
        QTest::mouseClick(v.findChild<QPushButton *>("Save"), Qt::LeftButton);
        auto *dialog = v.findChild<QFileDialog *>();
        QVERIFY(dialog && dialog->isVisible());
        emit dialog->fileSelected(dir.filePath("e.dat"));
        QVERIFY(QFile::exists(dir.filePath("e-T.dat")) && QFile::exists(dir.filePath("e-std.dat")));
    }
};

QTEST_MAIN(TestXafsView)
#include "test_xafsview.moc"
