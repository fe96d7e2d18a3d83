#include "LogCapture.h"
#include "spectrum/EdgeTable.h"
#include "spectrum/gui/XafsView.h"
#include "widgets/gui/DispA.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <complex>

class TestXafsView : public QObject
{
    Q_OBJECT
private slots:
    void spectrumAndRanges();
    void wheelKeepsPointUnderMouse();
    void panMovesBothEnds();
    void readOut();
    void fftMode();
    void saveData();
    void picture();
    void titlesByMode_data();
    void titlesByMode();
    void readOutFollowsTheCurveDrawn();

private:
    void showView(XafsView &v);
};

// A step at 7000 eV over 6800 .. 7400 eV in 5 eV steps, read through shift.
static SpectrumPoints stepPoints(double shift = 0.0)
{
    SpectrumPoints p;
    for (int i = 0; i <= 120; ++i) {
        const double e = 6800.0 + 5.0 * i + shift;
        p.append(e, e < 7000.0 + shift ? 0.2 + 1e-4 * (e - 6800.0 - shift)
                                       : 1.5 - 2e-4 * (e - 7000.0 - shift));
    }
    return p;
}

static void sendMouse(QWidget *w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                      Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

static void sendWheel(QWidget *w, QPoint pos, int delta)
{
    QWheelEvent e(QPointF(pos), QPointF(w->mapToGlobal(pos)), QPoint(), QPoint(0, delta),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

// The data x at a screen x, worked out from the inner rectangle.
static double dataX(const ChCoord &c, double lo, double hi, double sx)
{
    return lo + (hi - lo) * (sx - c.innerX0()) / (c.innerX1() - c.innerX0());
}

void TestXafsView::showView(XafsView &v)
{
    v.resize(640, 420);
    v.show();
    QVERIFY(QTest::qWaitForWindowExposed(&v));
    v.graph()->repaint();
}

void TestXafsView::spectrumAndRanges()
{
    XafsView v;
    QCOMPARE(v.xMin(), 0.0);
    QCOMPARE(v.xMax(), 1.0);
    QVERIFY(v.autoRange());
    QSignalSpy spy(&v, &XafsView::updated);

    // Target: 0, 0, 1, 1 at 1 .. 4 (half height at 2.5); standard: the same
    // one eV higher (3.5).
    SpectrumPoints t, s;
    const double mu[] = {0, 0, 1, 1};
    for (int i = 0; i < 4; ++i) {
        t.append(1.0 + i, mu[i]);
        s.append(2.0 + i, mu[i]);
    }
    QCOMPARE(v.setXafsSpectrum(XafsSpectrum(t, false, 0.0)), 2.5);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(v.xMin(), 1.0);
    QCOMPARE(v.xMax(), 4.0);
    QCOMPARE(v.fullMax(), 4.0);
    v.setStandard(XafsSpectrum(s, false, 0.0));
    QCOMPARE(v.setXafsSpectrum(XafsSpectrum(t, false, 0.0)), -1.0);

    // The range follows the doubleNormalizedPreBase energies, which carry the
    // baked-in shift.
    const XafsSpectrum shifted(stepPoints(), true, 0.0);
    SpectrumPoints sp = stepPoints();
    sp.setShift(20.0);
    sp.enableShift(true);
    v.setXafsSpectrum(XafsSpectrum(sp, true, 0.0));
    QCOMPARE(v.xMin(), 6780.0);
    QCOMPARE(v.xMax(), 7380.0);

    // Without autoRange the ranges stay; "S.R." restores the full range.
    v.setAutoRange(false);
    v.setXafsSpectrum(shifted);
    QCOMPARE(v.xMin(), 6780.0);
    QCOMPARE(v.fullMax(), 7380.0);
    v.setAutoRange(true);
    // An empty spectrum has no extent and leaves the ranges.
    v.setXafsSpectrum(XafsSpectrum());
    QCOMPARE(v.xMin(), 6780.0);
    v.setXafsSpectrum(shifted);
    QCOMPARE(v.xMin(), 6800.0);

    // The boxes and their slots.
    auto *normalized = v.findChild<QCheckBox *>("Normalized");
    auto *eCorrect = v.findChild<QCheckBox *>("ECorrect");
    QVERIFY(normalized && eCorrect);
    v.setNormalize(true);
    QVERIFY(normalized->isChecked());
    QCOMPARE(v.mode(), XafsView::NormalizedMode);
    v.setEnergyCorrection(true);
    QVERIFY(eCorrect->isChecked());
    v.setNormalize(false);
    QCOMPARE(v.mode(), XafsView::AbsorptionMode);
}

void TestXafsView::wheelKeepsPointUnderMouse()
{
    XafsView v;
    v.setXafsSpectrum(XafsSpectrum(stepPoints(), true, 0.0));
    showView(v);
    DispA *g = v.graph();
    const ChCoord &c = g->coord();
    QVERIFY(c.innerX1() - c.innerX0() > 100);

    // One notch away from the user: factor 1 / 1.1, the range shrinks around
    // the energy under the mouse, which stays at the same screen x.
    const QPoint at(c.innerX0() + 150, 120);
    const double x0 = dataX(c, 6800.0, 7400.0, at.x());
    QSignalSpy spy(&v, &XafsView::updated);
    sendWheel(g, at, 120);
    QCOMPARE(spy.count(), 1);
    QVERIFY(std::fabs(v.xMin() - ((6800.0 - x0) / 1.1 + x0)) < 1e-9);
    QVERIFY(std::fabs(v.xMax() - ((7400.0 - x0) / 1.1 + x0)) < 1e-9);
    QCOMPARE(v.findChild<QLineEdit *>("XVal")->text(), QString::number(x0, 'g', 6));
    g->repaint();
    QVERIFY(std::fabs(c.r2sx(x0) - at.x()) < 1e-6);

    // One notch back restores the range.
    sendWheel(g, at, -120);
    g->repaint();
    QVERIFY(std::fabs(v.xMin() - 6800.0) < 1e-9);
    QVERIFY(std::fabs(v.xMax() - 7400.0) < 1e-9);
    QVERIFY(std::fabs(c.r2sx(x0) - at.x()) < 1e-6);

    // Zoomed, then "S.R.".
    sendWheel(g, at, 240);
    QVERIFY(v.xMax() - v.xMin() < 600.0);
    QTest::mouseClick(v.findChild<QPushButton *>("ResetXScale"), Qt::LeftButton);
    QCOMPARE(v.xMin(), 6800.0);
    QCOMPARE(v.xMax(), 7400.0);

    // A disabled wheel does nothing.
    g->setWheelEnabled(false);
    sendWheel(g, at, 120);
    QCOMPARE(v.xMin(), 6800.0);
}

void TestXafsView::panMovesBothEnds()
{
    XafsView v;
    v.setXafsSpectrum(XafsSpectrum(stepPoints(), true, 0.0));
    showView(v);
    DispA *g = v.graph();
    const ChCoord &c = g->coord();
    const double perPixel = 600.0 / (c.innerX1() - c.innerX0());

    const QPoint press(c.innerX0() + 200, 150);
    sendMouse(g, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    sendMouse(g, QEvent::MouseMove, press + QPoint(50, 7), Qt::NoButton, Qt::LeftButton);
    // 50 pixels to the right: the data moves with the mouse, the range
    // 50 pixels' worth to lower energies, both ends alike.
    QVERIFY(std::fabs(v.xMin() - (6800.0 - 50 * perPixel)) < 1e-9);
    QVERIFY(std::fabs(v.xMax() - (7400.0 - 50 * perPixel)) < 1e-9);
    g->repaint();
    // Further in the same drag: the move counts from the press, not from the
    // last step.
    sendMouse(g, QEvent::MouseMove, press + QPoint(80, 0), Qt::NoButton, Qt::LeftButton);
    QVERIFY(std::fabs(v.xMin() - (6800.0 - 80 * perPixel)) < 1e-9);
    QVERIFY(std::fabs(v.xMax() - (7400.0 - 80 * perPixel)) < 1e-9);
    sendMouse(g, QEvent::MouseButtonRelease, press + QPoint(80, 0), Qt::LeftButton, Qt::NoButton);
    const double lo = v.xMin();
    // After the release a move pans nothing.
    sendMouse(g, QEvent::MouseMove, press + QPoint(-100, 0), Qt::NoButton, Qt::NoButton);
    QCOMPARE(v.xMin(), lo);
    // The full range is unchanged.
    QCOMPARE(v.fullMin(), 6800.0);

    // A right drag and a drag with dragging disabled pan nothing.
    g->repaint();
    sendMouse(g, QEvent::MouseButtonPress, press, Qt::RightButton, Qt::RightButton);
    sendMouse(g, QEvent::MouseMove, press + QPoint(40, 0), Qt::NoButton, Qt::RightButton);
    sendMouse(g, QEvent::MouseButtonRelease, press + QPoint(40, 0), Qt::RightButton, Qt::NoButton);
    QCOMPARE(v.xMin(), lo);
    g->setDragEnabled(false);
    sendMouse(g, QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    sendMouse(g, QEvent::MouseMove, press + QPoint(40, 0), Qt::NoButton, Qt::LeftButton);
    sendMouse(g, QEvent::MouseButtonRelease, press + QPoint(40, 0), Qt::LeftButton, Qt::NoButton);
    QCOMPARE(v.xMin(), lo);
}

void TestXafsView::readOut()
{
    XafsView v;
    v.setXafsSpectrum(XafsSpectrum(stepPoints(), true, 0.0));
    showView(v);
    DispA *g = v.graph();
    const ChCoord &c = g->coord();
    // In the absorption mode the y range is the raw mu bounds: 0.2 .. 1.5
    // (the smallest mu at 6800, the largest at 7000).
    QCOMPARE(v.yMin(), 0.2);
    QCOMPARE(v.yMax(), 1.5);

    QSignalSpy spy(&v, &XafsView::updated);
    const QPoint at(c.innerX0() + 123, c.innerY0() + 40);
    sendMouse(g, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    QVERIFY(spy.count() >= 1);
    const double x = dataX(c, 6800.0, 7400.0, at.x());
    // The plot keeps 4 % of the range clear above and below the curves.
    const double top = 1.5 + 0.04 * 1.3, bottom = 0.2 - 0.04 * 1.3;
    const double y =
        top + (bottom - top) * (at.y() - c.innerY0()) / double(c.innerY1() - c.innerY0());
    QCOMPARE(v.findChild<QLineEdit *>("XVal")->text(), QString::number(x, 'f', 1));
    QCOMPARE(v.findChild<QLineEdit *>("YVal")->text(), QString::number(y, 'f', 3));
    // The point index: the first i whose midpoint to the next lies beyond x.
    const int index = int(std::ceil((x - 6800.0 - 2.5) / 5.0));
    QCOMPARE(v.findChild<QLabel *>("Position")->text(), QString::number(index));
    // Beyond the last midpoint: the last index.
    v.setAutoRange(false);
    SpectrumPoints few;
    few.append(6800.0, 0.0);
    few.append(6810.0, 1.0);
    few.append(6820.0, 2.0);
    v.setXafsSpectrum(XafsSpectrum(few, false, 0.0));
    sendMouse(g, QEvent::MouseMove, at + QPoint(1, 0), Qt::NoButton, Qt::NoButton);
    QCOMPARE(v.findChild<QLabel *>("Position")->text(), QStringLiteral("2"));
    // Over an empty spectrum the index shows nothing.
    v.setXafsSpectrum(XafsSpectrum());
    sendMouse(g, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    QCOMPARE(v.findChild<QLabel *>("Position")->text(), QString());
}

void TestXafsView::fftMode()
{
    XafsView v;
    showView(v);
    auto *fftBox = v.findChild<QCheckBox *>("ShowFFT");
    QTest::mouseClick(fftBox, Qt::LeftButton, Qt::NoModifier, QPoint(5, fftBox->height() / 2));
    QVERIFY(fftBox->isChecked());
    QCOMPARE(v.mode(), XafsView::FftMode);

    // Ten points of large values: too few to scale by, the range stays 0 .. 1.
    SpectrumPoints t;
    for (int i = 0; i < 10; ++i)
        t.append(7000.0 + i, 5000.0 + 300.0 * (i % 3));
    v.setTrace(t);
    v.graph()->repaint();
    QCOMPARE(v.yMin(), 0.0);
    QCOMPARE(v.yMax(), 1.0);
    QCOMPARE(v.graph()->coord().realX1(), 10.0);

    // Forty points: the range is the smallest and largest magnitude over the
    // components 1 .. 38, each the modulus of sum y_j exp(-2 pi i j k / 40).
    t.clear();
    for (int i = 0; i < 40; ++i)
        t.append(7000.0 + i, 1000.0 + 50.0 * std::sin(i * 0.7) + 3.0 * i);
    v.setTrace(t);
    v.graph()->repaint();
    double lo = 1e300, hi = -1e300;
    for (int k = 1; k <= 38; ++k) {
        std::complex<double> s = 0;
        for (int j = 0; j < 40; ++j)
            s += t.y(j) * std::polar(1.0, -2.0 * M_PI * j * k / 40.0);
        lo = std::min(lo, std::abs(s));
        hi = std::max(hi, std::abs(s));
    }
    QVERIFY(std::fabs(v.yMin() - lo) < 1e-6 * hi);
    QVERIFY(std::fabs(v.yMax() - hi) < 1e-6 * hi);
    QCOMPARE(v.graph()->coord().realX1(), 40.0);

    // No trace: nothing to transform, no crash.
    v.setTrace(SpectrumPoints());
    v.graph()->repaint();
    QCOMPARE(v.yMax(), 1.0);
}

static QByteArray readFile(const QString &name)
{
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

void TestXafsView::saveData()
{
    QTemporaryDir dir;
    const QByteArray header(
        "###Lumenograf::XafsSpectrum\n# x  double-normalized-pre-base y pre post\n");
    XafsView v;
    // A bare target point (no backgrounds) with an energy shift of 2: the
    // target file subtracts it.
    XafsSpectrum t;
    t.raw().append(7000.5, 0.25);
    t.setEnergyShift(2.0);
    v.setXafsSpectrum(t);
    v.saveData(dir.filePath("a.dat"));
    QCOMPARE(readFile(dir.filePath("a-T.dat")), header + "6998.5\t0\t0.25\t0\t0\n");
    // The standard is empty: its file holds the header lines only.
    QCOMPARE(readFile(dir.filePath("a-std.dat")), header);
    QVERIFY(!QFile::exists(dir.filePath("a-other0.dat")));

    // Further spectra are written with their index, without the shift.
    XafsSpectrum o0, o1;
    o0.raw().append(100.0, 1.0);
    o0.setEnergyShift(5.0);
    o1.raw().append(200.0, 2.0);
    QVector<XafsSpectrum *> others{&o0, nullptr, &o1};
    v.setOthers(others);
    XafsSpectrum s;
    s.raw().append(300.0, 3.0);
    s.setEnergyShift(7.0);
    v.setStandard(s);
    QVERIFY(v.saveData(dir.filePath("b.x.dat")));
    QCOMPARE(readFile(dir.filePath("b.x-T.dat")), header + "6998.5\t0\t0.25\t0\t0\n");
    QCOMPARE(readFile(dir.filePath("b.x-std.dat")), header + "300\t0\t3\t0\t0\n");
    QCOMPARE(readFile(dir.filePath("b.x-other0.dat")), header + "100\t0\t1\t0\t0\n");
    QVERIFY(!QFile::exists(dir.filePath("b.x-other1.dat")));
    QCOMPARE(readFile(dir.filePath("b.x-other2.dat")), header + "200\t0\t2\t0\t0\n");

    // A folder that does not exist: every file is tried, each failure logged.
    LogCapture log;
    QVERIFY(!v.saveData(dir.filePath("none/f.dat")));
    QCOMPARE(log.lines().size(), 4);
    // A name without a suffix gets ".dat".
    v.saveData(dir.filePath("c"));
    QVERIFY(QFile::exists(dir.filePath("c-T.dat")));
    QVERIFY(QFile::exists(dir.filePath("c-std.dat")));
    // The "Save" button opens the save dialog, whose choice writes the files.
    QTest::mouseClick(v.findChild<QPushButton *>("Save"), Qt::LeftButton);
    auto *dialog = v.findChild<QFileDialog *>();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
    QCOMPARE(dialog->nameFilters(), QStringList({"Data File (*.dat)", "Any Files (* *.*)"}));
    emit dialog->fileSelected(dir.filePath("e.dat"));
    QVERIFY(QFile::exists(dir.filePath("e-T.dat")));
    QVERIFY(QFile::exists(dir.filePath("e-std.dat")));
    dialog->hide();
    // Another suffix is kept.
    v.saveData(dir.filePath("d.txt"));
    QVERIFY(QFile::exists(dir.filePath("d-T.txt")));
    QVERIFY(QFile::exists(dir.filePath("d-other2.txt")));
}

void TestXafsView::picture()
{
    // The plot in both energy modes with a standard, a further spectrum and
    // an edge mark, written to the test's folder to be looked at.
    XafsView v;
    XafsSpectrum target(stepPoints(), true, 0.0);
    SpectrumPoints sp = stepPoints(8.0);
    XafsSpectrum other(sp, true, 0.0);
    v.setXafsSpectrum(target);
    v.setOthers({&other});
    v.setEdgeMarks({{26, 0}});
    QSignalSpy spy(&v, &XafsView::updated);
    v.setMarkerEnergy(7250.0);
    QCOMPARE(v.markerEnergy(), 7250.0);
    QCOMPARE(spy.count(), 1);
    v.setMarkerEnergy(7250.0);
    QCOMPARE(spy.count(), 1);
    showView(v);
    // The frame marker is the only thing at its screen column in the plot's
    // upper half, where no curve passes (the spectrum there is near 1.5 only
    // at the top).
    const ChCoord &c = v.graph()->coord();
    const int mx = int(std::lround(c.r2sx(7250.0)));
    const QImage withMark = v.graph()->grab().toImage();
    v.setMarkerEnergy(-1.0);
    v.graph()->repaint();
    const QImage without = v.graph()->grab().toImage();
    const int my = (c.innerY0() + c.innerY1()) / 2;
    bool differs = false;
    for (int x = mx - 1; x <= mx + 1; ++x)
        differs = differs || withMark.pixel(x, my) != without.pixel(x, my);
    QVERIFY(differs);
    QCOMPARE(withMark.pixel(mx - 20, my), without.pixel(mx - 20, my));
    v.setMarkerEnergy(7250.0);
    v.graph()->repaint();
    const QImage abs = v.grab().toImage();
    v.setNormalize(true);
    v.graph()->repaint();
    const QImage norm = v.grab().toImage();
    abs.save(QDir::current().filePath("xafsview-absorption.png"));
    norm.save(QDir::current().filePath("xafsview-normalized.png"));
    // Many colours in the plot area: curves, axes and labels are drawn.
    QSet<QRgb> colours;
    for (int y = 0; y < abs.height(); y += 2)
        for (int x = 0; x < abs.width(); x += 2)
            colours.insert(abs.pixel(x, y));
    QVERIFY(colours.size() > 20);
    QVERIFY(abs != norm);

    // The trace and its Fourier magnitudes.
    SpectrumPoints trace;
    for (int i = 0; i < 121; ++i)
        trace.append(6800.0 + 5.0 * i,
                     40000.0 + 9000.0 * std::exp(-0.01 * i) * (1.0 + 0.2 * std::sin(i * 0.9)));
    v.setTrace(trace);
    v.findChild<QCheckBox *>("ShowRaw")->setChecked(true);
    v.graph()->repaint();
    const QImage raw = v.grab().toImage();
    raw.save(QDir::current().filePath("xafsview-trace.png"));
    QCOMPARE(v.yMin(), trace.minY());
    v.findChild<QCheckBox *>("ShowFFT")->setChecked(true);
    v.graph()->repaint();
    v.grab().toImage().save(QDir::current().filePath("xafsview-fft.png"));
    QVERIFY(v.grab().toImage() != raw);
}

void TestXafsView::titlesByMode_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("xTitle");
    QTest::addColumn<QString>("yTitle");
    const QString e = QStringLiteral("Energy [eV]");
    QTest::newRow("absorption") << QString() << e << QStringLiteral("μt");
    QTest::newRow("normalized") << "Normalized" << e << QStringLiteral("normalized μt");
    QTest::newRow("raw") << "ShowRaw" << e << "I1 [counts]";
    QTest::newRow("fft") << "ShowFFT"
                         << "Frequency [cycles over the I1 trace]"
                         << "|FFT of I1|";
}

static void clickBox(XafsView &v, const QString &name)
{
    auto *b = v.findChild<QCheckBox *>(name);
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(5, b->height() / 2));
    v.graph()->repaint();
}

void TestXafsView::titlesByMode()
{
    QFETCH(QString, box);
    XafsView v;
    v.setXafsSpectrum(XafsSpectrum(stepPoints(), true, 0.0));
    showView(v);
    if (!box.isEmpty())
        clickBox(v, box);
    QTEST(v.xAxisTitle(), "xTitle");
    QTEST(v.yAxisTitle(), "yTitle");
    // The title, once a position is named, is drawn above the plot area.
    QCOMPARE(v.plotTitle(), QString());
    const QImage before = v.graph()->grab().toImage();
    v.setPlace(36, 38, 5, -2);
    QCOMPARE(v.plotTitle(), QStringLiteral("Position (36, 38), window 11 x 5 pixels"));
    v.graph()->repaint();
    const QImage after = v.graph()->grab().toImage();
    const int top = v.graph()->coord().innerY0() - 1;
    QVERIFY(after.copy(0, 0, after.width(), top) != before.copy(0, 0, after.width(), top));
}

void TestXafsView::readOutFollowsTheCurveDrawn()
{
    XafsView v;
    // A spectrum 20 eV off (drawn 20 eV lower with "E. Correct") and a
    // trace of 60 points every 10 eV.
    v.setXafsSpectrum(XafsSpectrum(stepPoints(), true, 20.0));
    SpectrumPoints trace;
    for (int i = 0; i < 60; ++i)
        trace.append(6800.0 + 10.0 * i, 1000.0 + i);
    v.setTrace(trace);
    showView(v);
    const ChCoord &c = v.graph()->coord();
    const QPoint at(c.innerX0() + 123, c.innerY0() + 40);
    // The point index under the mouse: the first whose midpoint to the
    // next lies beyond the energy (plus the drawing shift).
    auto check = [&](double lo, double hi, double offset, double step) {
        sendMouse(v.graph(), QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        const double x = dataX(c, lo, hi, at.x());
        const long want =
            step > 0.0 ? long(std::ceil((x + offset - lo - step / 2) / step)) : std::lround(x);
        QCOMPARE(v.findChild<QLabel *>("Position")->text(), QString::number(want));
        QCOMPARE(v.findChild<QLineEdit *>("XVal")->text(), QString::number(x, 'f', 1));
    };
    check(6800.0, 7400.0, 0.0, 5.0);
    clickBox(v, "ECorrect");
    check(6800.0, 7400.0, 20.0, 5.0);
    clickBox(v, "ShowRaw");
    check(6800.0, 7400.0, 0.0, 10.0);
    // The Fourier view: the component nearest the mouse.
    clickBox(v, "ShowFFT");
    check(0.0, 60.0, 0.0, 0.0);
}

QTEST_MAIN(TestXafsView)
#include "test_xafsview.moc"
