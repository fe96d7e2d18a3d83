#include "batch/gui/BatchCtrl.h"
#include "batch/CmdLine.h"
#include "core/gui/Body.h"
#include "input/gui/SelectDataFiles.h"
#include "input/TiffData.h"
#include "spectrum/gui/XafsView.h"
#include "widgets/gui/ColorBar.h"
#include "widgets/gui/CrossSView.h"
#include "widgets/gui/ImgDispA.h"

#include "FrameMaker.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QProgressBar>
#include <QSlider>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

class TestBody : public QObject
{
    Q_OBJECT
private slots:
    void construction();
    void halfSizes();
    void seekBarDrivesTheFrame_data();
    void seekBarDrivesTheFrame();
    void readOutsFollowLoadsAndCommands();
    void pixelAndDarkValues();
    void shiftFromTableWithoutMap();
    void loadRequestsAndAppending();
    void darkFrame();
    void colourBarRerenders();
    void loadAndScreenshots();
    void fitsALaptopScreen();
    void abbreviationsHaveTips();
    void windowPlacement_data();
    void windowPlacement();
};

template <typename T>
static T *child(QObject *o, const char *name)
{
    T *w = o->findChild<T *>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

static QString frameName(int k)
{
    // The panel's default pattern reads 7000.0 + 10 k eV from these names.
    return QStringLiteral("/data/f_%1_0000.tif").arg(7000 + 10 * k);
}

// Stores frames as the I1 loader would deliver them once its list is done.
static void feedI1(Body &b, int n, int w, int h, const std::function<int(int, int, int)> &v)
{
    for (int k = 0; k < n; ++k)
        b.loadedI1(makeFrame(
                       w, h, 0, [&](int x, int y) { return v(k, x, y); }, frameName(k)),
                   k);
}

static void feedI0(Body &b, int n, int w, int h, int v)
{
    for (int k = 0; k < n; ++k)
        b.loadedI0(constantFrame(w, h, 0, v), k);
}

void TestBody::construction()
{
    Body b;
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    QCOMPARE(b.windowTitle(), QStringLiteral("Lumenograf"));
    QVERIFY(b.xafsView());
    QCOMPARE(b.xafsView()->windowTitle(), QStringLiteral("Spectrum at the position"));
    QVERIFY(b.xafsView()->isVisible());
    QVERIFY(b.batchCtrl());
    QVERIFY(!b.batchCtrl()->isVisible());
    QTest::mouseClick(child<QAbstractButton>(&b, "BatchCtrlB"), Qt::LeftButton);
    QVERIFY(b.batchCtrl()->isVisible());
    b.xafsView()->hide();
    QTest::mouseClick(child<QAbstractButton>(&b, "ShowXafsView"), Qt::LeftButton);
    QVERIFY(b.xafsView()->isVisible());

    // The starting values the first spectrum is taken with.
    QCOMPARE(child<QLineEdit>(&b, "HWidth")->text(), QStringLiteral("10"));
    QCOMPARE(child<QLineEdit>(&b, "VWidth")->text(), QStringLiteral("10"));
    QVERIFY(child<QRadioButton>(&b, "ShowData")->isChecked());
    QVERIFY(!child<QCheckBox>(&b, "FluoType")->isChecked());
    // Square pixels until "1:1" is unchecked.
    QVERIFY(child<ImgDispA>(&b, "dispA")->keepsAspect());
    auto *square = child<QCheckBox>(&b, "KeepAspect");
    QTest::mouseClick(square, Qt::LeftButton, Qt::NoModifier, QPoint(8, square->height() / 2));
    QVERIFY(!child<ImgDispA>(&b, "dispA")->keepsAspect());
}

void TestBody::halfSizes()
{
    Body b;
    // I1 sample 10 + x + 10 y in every frame, I0 1000 everywhere.
    feedI1(b, 3, 8, 6, [](int, int x, int y) { return 10 + x + 10 * y; });
    feedI0(b, 3, 8, 6, 1000);
    auto *hw = child<QLineEdit>(&b, "HWidth");
    auto *hh = child<QLineEdit>(&b, "VWidth");
    ImgDispA *disp = child<ImgDispA>(&b, "dispA");

    hw->setText("0");
    hh->setText("0");
    disp->setRealMousePos(3.7, 2.2);
    QCOMPARE(QPoint(b.positionX(), b.positionY()), QPoint(3, 2));
    QCOMPARE(child<QLabel>(&b, "Position")->text(), QStringLiteral("(   3,    2)"));
    const SpectrumPoints &trace = b.traceAtPosition();
    QCOMPARE(trace.size(), 3);
    QCOMPARE(trace.y(0), 33.0);
    QCOMPARE(trace.x(2), 7020.0);
    QCOMPARE(b.spectrumAtPosition().raw().y(1), std::log(1000.0 / 33.0));
    // The spectrum window shows the same spectrum and trace.
    QCOMPARE(b.xafsView()->trace().y(0), 33.0);
    QCOMPARE(b.xafsView()->target().raw().size(), 3);
    QCOMPARE(b.xafsView()->target().raw().y(2), std::log(1000.0 / 33.0));

    // At (3, 2): a 3 x 3 window sums x 2..4 and y 1..3 of 10 + x + 10 y;
    // negative half sizes count by their size; half height "junk" is 0, x 2..4 of row 2.
    // "set_band_w 2147483647" with the most negative half height sums all 48
    // samples: 480 + 6 * (0 + ... + 7) + 8 * 10 * (0 + ... + 5).
    const struct
    {
        const char *hw, *hh;
        double sum, i0;
    } windows[] = {{"1", "1", 297, 9000},
                   {"-1", "-1", 297, 9000},
                   {"-1", "junk", 99, 3000},
                   {"2147483647", "-2147483648", 1848, 48000}};
    for (const auto &w : windows) {
        hw->setText(w.hw);
        hh->setText(w.hh);
        disp->setRealMousePos(3, 2);
        QCOMPARE(b.traceAtPosition().y(0), w.sum);
        QCOMPARE(b.spectrumAtPosition().raw().y(0), std::log(w.i0 / w.sum));
    }
    // That window is drawn over the data, no further (the 2-pixel pen
    // straddles its edges).
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    QImage img(disp->size(), QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    b.draw(&p);
    p.end();
    QRect red;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            red |= img.pixel(x, y) == qRgb(255, 0, 0) ? QRect(x, y, 1, 1) : QRect();
    const ChCoord &c = disp->coord();
    const QRectF data =
        QRectF(QPointF(c.r2sx(0), c.r2sy(0)), QPointF(c.r2sx(8), c.r2sy(6))).normalized();
    QVERIFY(!red.isEmpty());
    QVERIFY(QRectF(red).adjusted(-2, -2, 2, 2).contains(data));
    QVERIFY(data.adjusted(-2, -2, 2, 2).contains(QRectF(red)));

    // Outside the data: empty spectrum, the labels still follow.
    disp->setRealMousePos(20, 2);
    QVERIFY(b.traceAtPosition().isEmpty());
    QVERIFY(b.spectrumAtPosition().raw().isEmpty());
    QCOMPARE(child<QLabel>(&b, "Position")->text(), QStringLiteral("(  20,    2)"));
}

// Every read-out of the current frame agrees on frame k of stack s: the
// picture, "Img. No." and its tool tip, the seek bar, the panel's file box
// and the spectrum marker.
static void checkShown(Body &b, ImageStacks::Stack s, int k)
{
    const TiffData *f = b.stacks().stack(s).at(k);
    auto *no = child<QLineEdit>(&b, "ImgNo");
    auto *seek = child<QSlider>(&b, "SeekBar");
    QCOMPARE(child<ImgDispA>(&b, "dispA")->frame(), f);
    QCOMPARE(no->text(), QString::number(k));
    QCOMPARE(no->toolTip(), f->fileName);
    QCOMPARE(seek->value(), k);
    QCOMPARE(seek->maximum(), b.stacks().stack(s).size() - 1);
    QCOMPARE((s == ImageStacks::I1 ? b.i1Panel() : b.i0Panel())->currentIndex(), k);
    QCOMPARE(b.spectrumMarkerEnergy(), f->energy);
}
#define CHECK_SHOWN(b, s, k)                                                                       \
    do {                                                                                           \
        checkShown(b, s, k);                                                                       \
        if (QTest::currentTestFailed())                                                            \
            QFAIL("read-outs disagree with frame " #k);                                            \
    } while (0)

void TestBody::seekBarDrivesTheFrame_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");      // 0: none
    QTest::addColumn<int>("wheel");    // angle delta, 0: none
    QTest::addColumn<double>("click"); // where in the groove, < 0: none
    QTest::addColumn<int>("shown");
    const int none = 0;
    QTest::newRow("Left") << 3 << int(Qt::Key_Left) << 0 << -1.0 << 2;
    QTest::newRow("Right") << 3 << int(Qt::Key_Right) << 0 << -1.0 << 4;
    QTest::newRow("Home") << 3 << int(Qt::Key_Home) << 0 << -1.0 << 0;
    QTest::newRow("End") << 1 << int(Qt::Key_End) << 0 << -1.0 << 4;
    QTest::newRow("Page Up") << 0 << int(Qt::Key_PageUp) << 0 << -1.0 << 4;
    QTest::newRow("Page Down") << 4 << int(Qt::Key_PageDown) << 0 << -1.0 << 0;
    // Three lines a notch.
    QTest::newRow("wheel away") << 0 << none << 120 << -1.0 << 3;
    QTest::newRow("wheel towards") << 4 << none << -120 << -1.0 << 1;
    QTest::newRow("groove left") << 4 << none << 0 << 0.02 << 0;
    QTest::newRow("groove right") << 0 << none << 0 << 0.98 << 4;
}

void TestBody::seekBarDrivesTheFrame()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, wheel);
    QFETCH(double, click);
    QFETCH(int, shown);
    Body b;
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    feedI1(b, 5, 8, 6, [](int k, int, int) { return k + 1; });
    auto *seek = child<QSlider>(&b, "SeekBar");
    QSignalSpy picked(b.i1Panel()->selected(), SIGNAL(currentIndexChanged(int)));
    QSignalSpy moved(seek, &QSlider::valueChanged);
    // Set by the program: the bar follows without announcing it.
    b.seekImage(start);
    CHECK_SHOWN(b, ImageStacks::I1, start);
    QCOMPARE(picked.count(), start == 4 ? 0 : 1);
    QCOMPARE(moved.count(), 0);
    picked.clear();

    if (key) {
        seek->setFocus();
        QTest::keyClick(seek, Qt::Key(key));
    } else if (wheel) {
        const QPointF at(seek->width() / 2, seek->height() / 2);
        QWheelEvent e(at, seek->mapToGlobal(at.toPoint()), QPoint(), QPoint(0, wheel), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(seek, &e);
    } else {
        QTest::mouseClick(seek, Qt::LeftButton, Qt::NoModifier,
                          QPoint(int(click * seek->width()), seek->height() / 2));
    }
    CHECK_SHOWN(b, ImageStacks::I1, shown);
    // One user action, one change of the frame.
    QCOMPARE(picked.count(), 1);
}

void TestBody::readOutsFollowLoadsAndCommands()
{
    QTemporaryDir dir;
    QStringList files;
    for (int k = 0; k < 8; ++k) {
        const QString name = dir.filePath(QStringLiteral("i_%1_0000.tif").arg(7000 + 10 * k));
        QVector<quint16> px(4 * 3, quint16(100 + k));
        QVERIFY(writeTiff16(name, 4, 3, px.constData()));
        files << name;
    }
    Body b;
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    QSignalSpy done(&b, &Body::stackLoaded);
    auto run = [&b](const char *statement) { b.execCmdSlot(CmdLine(statement), false); };
    b.readI0Files(files.mid(0, 6), true);
    b.readI1Files(files.mid(0, 6), true);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 2, 20000);
    // "Show Latest": the last frame of each stack.
    CHECK_SHOWN(b, ImageStacks::I1, 5);
    run("select_disp_image 0");
    run("seek_image 3");
    CHECK_SHOWN(b, ImageStacks::I1, 3);
    run("select_disp_image 1");
    CHECK_SHOWN(b, ImageStacks::I0, 5);
    run("seek_image 1");
    CHECK_SHOWN(b, ImageStacks::I0, 1);
    run("seek_image 6"); // beyond the stack: nothing moves
    CHECK_SHOWN(b, ImageStacks::I0, 1);
    run("select_disp_image 0");
    CHECK_SHOWN(b, ImageStacks::I1, 3);

    // Appended without "Show Latest": the frame on show stays, the bar grows.
    b.i1Panel()->setShowLatest(false);
    b.readI1Files(files.mid(6, 1), false);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 3, 20000);
    CHECK_SHOWN(b, ImageStacks::I1, 3);
    // The file box, "..." and the arrow keys on the image move the picture too.
    QTest::mouseClick(child<QAbstractButton>(&b, "Prev"), Qt::LeftButton);
    CHECK_SHOWN(b, ImageStacks::I1, 2);
    b.i1Panel()->selected()->setFocus();
    QTest::keyClick(b.i1Panel()->selected(), Qt::Key_Down);
    CHECK_SHOWN(b, ImageStacks::I1, 3);
    ImgDispA *disp = child<ImgDispA>(&b, "dispA");
    disp->setFocus();
    QTest::keyClick(disp, Qt::Key_Right);
    QTest::keyClick(disp, Qt::Key_Right);
    CHECK_SHOWN(b, ImageStacks::I1, 5);
    QTest::keyClick(disp, Qt::Key_Left);
    CHECK_SHOWN(b, ImageStacks::I1, 4);
    // With it the new frame is shown.
    b.i1Panel()->setShowLatest(true);
    b.readI1Files(files.mid(7, 1), false);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 4, 20000);
    CHECK_SHOWN(b, ImageStacks::I1, 7);

    // Emptying the stack on show leaves nothing to disagree with.
    b.clearI1Files();
    QVERIFY(!disp->frame());
    QCOMPARE(child<QLineEdit>(&b, "ImgNo")->text(), QStringLiteral("0"));
    QCOMPARE(child<QSlider>(&b, "SeekBar")->maximum(), 0);
    QCOMPARE(b.spectrumMarkerEnergy(), -1.0);

    // A drag over the image names the area's corners while it goes.
    feedI1(b, 1, 80, 60, [](int, int, int) { return 5; });
    disp->repaint();
    const ChCoord &c = disp->coord();
    auto screen = [&c](double x, double y) { return QPoint(qRound(c.r2sx(x)), qRound(c.r2sy(y))); };
    QTest::mousePress(disp, Qt::LeftButton, Qt::NoModifier, screen(10.5, 20.5));
    QMouseEvent move(QEvent::MouseMove, screen(40.5, 30.5), disp->mapToGlobal(screen(40.5, 30.5)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(disp, &move);
    QCOMPARE(b.statusBar()->currentMessage(),
             QStringLiteral("Area (10, 20) - (40, 30): 30 x 10 pixels"));
    QTest::mouseRelease(disp, Qt::LeftButton, Qt::NoModifier, screen(50.5, 30.5));
    QCOMPARE(b.statusBar()->currentMessage(),
             QStringLiteral("Area (10, 20) - (50, 30): 40 x 10 pixels"));

    QSignalSpy quitting(&b, &Body::finishing);
    QTest::keyClick(&b, Qt::Key_Q, Qt::ControlModifier);
    QCOMPARE(quitting.count(), 1);
}

void TestBody::pixelAndDarkValues()
{
    // The rule for both labels, with the three examples.
    QCOMPARE(pixelValueText(1234567.891), QStringLiteral("1,234,567.89"));
    QCOMPARE(pixelValueText(-123456.7), QStringLiteral("-123,456.70"));
    QCOMPARE(pixelValueText(-123.5), QStringLiteral("-123.50"));
    QCOMPARE(darkValueText(1234.5), QStringLiteral("1,234.5"));
    QCOMPARE(darkValueText(-1234567), QStringLiteral("-1.23457e+06"));

    Body b;
    const float samples[] = {-123456.7f, -123.5f, 1234567.0f};
    b.loadedI1(TiffData::fromSamples(3, 1, samples, QStringLiteral("/data/float_7000_0000.tif")),
               0);
    ImgDispA *disp = child<ImgDispA>(&b, "dispA");
    auto *value = child<QLabel>(&b, "Value");
    auto *dark = child<QLabel>(&b, "DarkValue");
    // Outside the frame: 0.
    const struct
    {
        double x;
        const char *text;
    } at[] = {{0.5, "-123,456.70"}, {1.5, "-123.50"}, {2.5, "1,234,567.00"}, {5, "0.00"}};
    for (const auto &a : at) {
        disp->setRealMousePos(a.x, 0.5);
        QCOMPARE(value->text(), QString::fromLatin1(a.text));
    }
    QCOMPARE(dark->text(), QStringLiteral("0.0")); // no dark frame: untouched

    // A dark frame: its sample with 6 significant digits.
    QTemporaryDir dir;
    const QString name = dir.filePath("dark.tif");
    const quint16 px[3] = {1, 12345, 3};
    QVERIFY(writeTiff16(name, 3, 1, px));
    b.selectedDark(name);
    disp->setRealMousePos(1, 0);
    QCOMPARE(dark->text(), QStringLiteral("12,345"));
}

void TestBody::shiftFromTableWithoutMap()
{
    Body b;
    feedI1(b, 2, 8, 6, [](int, int, int) { return 100; });
    child<ImgDispA>(&b, "dispA")->setRealMousePos(4, 4);
    QCOMPARE(child<QLabel>(&b, "EShiftOnTbl")->text(), QStringLiteral(" 0.00"));
    // No standard spectrum: no shift against it either.
    QCOMPARE(child<QLabel>(&b, "EShiftFromStd")->text(), QStringLiteral(" 0.00"));
    child<ImgDispA>(&b, "dispA")->setRealMousePos(-3, 40);
    QCOMPARE(child<QLabel>(&b, "EShiftOnTbl")->text(), QStringLiteral(" 0.00"));

    // With a standard whose half height lies at 7005 eV the flat spectrum
    // here (its crossing is its first energy, 7000 eV) is 5 eV below it.
    SpectrumPoints std;
    std.append(7000, 0);
    std.append(7010, 1);
    b.xafsView()->setStandard(XafsSpectrum(std, false, 0));
    child<ImgDispA>(&b, "dispA")->setRealMousePos(4, 4);
    QCOMPARE(child<QLabel>(&b, "EShiftFromStd")->text(), QStringLiteral("-5.00"));
}

void TestBody::loadRequestsAndAppending()
{
    QTemporaryDir dir;
    QStringList files;
    for (int k = 0; k < 6; ++k) {
        const QString name = dir.filePath(QStringLiteral("i1_%1_0000.tif").arg(7000 + 10 * k));
        QVector<quint16> px(4 * 3, quint16(100 + k));
        QVERIFY(writeTiff16(name, 4, 3, px.constData()));
        files << name;
    }
    Body b;
    QSignalSpy request(&b, &Body::loadI1Files);
    QSignalSpy done(&b, &Body::stackLoaded);
    // Skip 0 counts as 1 and negative cuts as 0.
    b.i1Panel()->setSkip(0);
    b.i1Panel()->setCutF(-2);
    b.i1Panel()->setCutL(-1);
    b.i1Panel()->setShowLatest(false);
    b.xafsView()->setAutoRange(false);
    b.readI1Files(files.mid(0, 3), true);
    // The status bar counts the frames to come.
    auto *bar = child<QProgressBar>(&b, "Progress");
    QVERIFY(bar->isVisibleTo(&b));
    QCOMPARE(bar->maximum(), 3);
    QCOMPARE(bar->value(), 0);
    // A new data set: the plot range follows its spectra until the load ends.
    QVERIFY(b.xafsView()->autoRange());
    QCOMPARE(request.count(), 1);
    QCOMPARE(request.at(0).mid(1, 3), QVariantList({1, 0, 0}));
    QVERIFY(done.wait(10000));
    // Without "Show Latest" the display steps ran once the load was over.
    QCOMPARE(b.stacks().i1().size(), 3);
    QCOMPARE(b.i1Panel()->count(), 3);
    QCOMPARE(child<QSlider>(&b, "SeekBar")->maximum(), 2);
    QCOMPARE(b.i1Panel()->currentIndex(), 0);
    QCOMPARE(b.stacks().dataWidth(), 4);
    QCOMPARE(b.stacks().i1().at(2)->energy, 7020.0);
    QVERIFY(!b.xafsView()->autoRange());
    QVERIFY(!bar->isVisibleTo(&b));

    // The spectra of all bins, a run in this thread: the bar follows it row
    // by row (three rows of one-pixel bins: 33 and 66 per cent) and goes.
    feedI0(b, 3, 4, 3, 1000);
    child<QLineEdit>(&b, "HWidth")->setText("0");
    child<QLineEdit>(&b, "VWidth")->setText("0");
    QSignalSpy rows(bar, &QProgressBar::valueChanged);
    QVERIFY(b.saveEachRawSpectrum(dir.filePath("each.dat")));
    QCOMPARE(rows.count(), 2);
    QCOMPARE(rows.at(0).at(0).toInt(), 33);
    QCOMPARE(rows.at(1).at(0).toInt(), 66);
    QVERIFY(!bar->isVisibleTo(&b));

    // Appending: the new frames go behind, the seek bar grows.
    b.i1Panel()->setSkip(2);
    b.i1Panel()->setCutF(0);
    b.readI1Files(files.mid(3), false);
    QCOMPARE(request.at(1).at(1).toInt(), 2);
    QVERIFY(done.wait(10000));
    QCOMPARE(b.stacks().i1().size(), 5); // files 3 and 5
    QCOMPARE(b.stacks().i1().at(4)->fileName, files.at(5));
    QCOMPARE(child<QSlider>(&b, "SeekBar")->maximum(), 4);

    // A new list replaces the stack.
    b.i1Panel()->setSkip(1);
    b.readI1Files(files.mid(0, 1), true);
    QCOMPARE(b.stacks().i1().size(), 0);
    QCOMPARE(b.i1Panel()->count(), 0);
    QVERIFY(done.wait(10000));
    QCOMPARE(b.stacks().i1().size(), 1);

    // The I0 loader ends the same way; clearing empties stack and list.
    b.readI0Files(files, true);
    QVERIFY(done.wait(10000));
    QCOMPARE(b.stacks().i0().size(), 6);
    QCOMPARE(b.i0Panel()->count(), 6);
    b.clearI0Files();
    QCOMPARE(b.stacks().i0().size(), 0);
    QCOMPARE(b.i0Panel()->count(), 0);
    b.clearI1Files();
    QVERIFY(!child<ImgDispA>(&b, "dispA")->frame());
    QCOMPARE(b.stacks().i1().size(), 0);
}

void TestBody::darkFrame()
{
    QTemporaryDir dir;
    const QString name = dir.filePath("dark.tif");
    const quint16 px[4] = {5, 5, 5, 5};
    QVERIFY(writeTiff16(name, 2, 2, px));
    const QString junk = dir.filePath("junk.tif");
    {
        QFile f(junk);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("II*");
    }
    Body b;
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    auto *label = child<QLabel>(&b, "DarkFileName");
    b.selectedDark(name);
    QVERIFY(b.stacks().hasDark());
    QCOMPARE(label->text(), name);
    // The dark is subtracted from I1 and I0: (50 - 5) against (95 - 5).
    b.loadedI0(constantFrame(2, 2, 0, 95), 0);
    b.loadedI1(makeFrame(
                   2, 2, 0, [](int, int) { return 50; }, frameName(0)),
               0);
    child<QLineEdit>(&b, "HWidth")->setText("0");
    child<QLineEdit>(&b, "VWidth")->setText("0");
    b.showXafsSpectrum(1, 1);
    QCOMPARE(b.spectrumAtPosition().raw().y(0), std::log(2.0));
    // Fluorescence: the ratio.
    QTest::mouseClick(child<QCheckBox>(&b, "FluoType"), Qt::LeftButton);
    QVERIFY(b.stacks().fluorescence());
    QCOMPARE(b.spectrumAtPosition().raw().y(0), 0.5);

    b.selectedDark(junk);
    QVERIFY(!b.stacks().hasDark());
    QCOMPARE(label->text(), QString());
    b.selectedDark(name);
    QTest::mouseClick(child<QAbstractButton>(&b, "ClearDark"), Qt::LeftButton);
    QVERIFY(!b.stacks().hasDark());
    QCOMPARE(label->text(), QString());
}

// Grey level of column x in the first row of a frame's picture as last built.
static int grey(const TiffData *f, int x)
{
    return f->builtPicture()->constScanLine(0)[x];
}

void TestBody::colourBarRerenders()
{
    Body b;
    // Two frames with samples 0..3 along x; the second is shown.
    feedI1(b, 2, 4, 1, [](int, int x, int) { return x; });
    ColorBar *bar = child<ColorBar>(&b, "CBar");
    ImgDispA *disp = child<ImgDispA>(&b, "dispA");
    TiffData *shown = b.stacks().i1().at(1);
    TiffData *other = b.stacks().i1().at(0);
    QCOMPARE(disp->frame(), shown);
    disp->currentPicture(); // what a paint does
    for (TiffData *f : b.stacks().i1())
        QCOMPARE(f->colorBar, bar->greyScale());
    // Only a frame that has been shown has a picture.
    QVERIFY(!other->builtPicture());
    QCOMPARE(grey(shown, 2), 170); // 2/3 * 256
    // Raise the lower handle to 2/3: everything below is black, the top
    // white. Dragging and the release rebuild only what is painted.
    bar->setHandles(2.0 / 3.0, 1.0);
    emit bar->cBarUpdating();
    QVERIFY(shown->pictureIsStale());
    disp->currentPicture();
    QCOMPARE(grey(shown, 2), 0);
    emit bar->cBarUpdated();
    QVERIFY(!other->builtPicture());
    b.showData(0);
    disp->currentPicture();
    QCOMPARE(grey(other, 2), 0);
    QCOMPARE(grey(other, 3), 255);
    // A picture built under other handles is stale without being told.
    bar->setHandles(0.0, 1.0);
    QVERIFY(other->pictureIsStale());
    disp->currentPicture();
    QCOMPARE(grey(other, 2), 170);
}

// The folder beside the test where it leaves its pictures.
static QString outputDir()
{
    const QString d = QDir(QCoreApplication::applicationDirPath()).filePath("test_body_output");
    QDir().mkpath(d);
    return d;
}

static int distinctColours(const QImage &img)
{
    QSet<QRgb> c;
    const QImage i = img.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < i.height(); y += 2)
        for (int x = 0; x < i.width(); x += 2)
            c.insert(i.pixel(x, y));
    return c.size();
}

void TestBody::loadAndScreenshots()
{
    // 20 I1 frames of 160 x 120: a disc of sample whose absorption jumps at
    // 7100 eV, in front of a beam that falls off to the right.
    QTemporaryDir dir;
    const int w = 160, h = 120, n = 20;
    QStringList i1Files, i0Files;
    for (int k = 0; k < n; ++k) {
        const double e = 7000 + 10 * k;
        QVector<quint16> i1(w * h), i0(w * h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const double beam = 30000 - 100 * x;
                const bool disc = (x - 70) * (x - 70) + (y - 60) * (y - 60) < 40 * 40;
                const double mu = disc ? (e >= 7100 ? 1.5 : 0.4) + 0.0005 * (e - 7000) : 0.05;
                i0[y * w + x] = quint16(beam);
                i1[y * w + x] = quint16(beam * std::exp(-mu));
            }
        }
        const QString tag = QStringLiteral("%1_0000.tif").arg(int(e));
        i1Files << dir.filePath("i1_" + tag);
        i0Files << dir.filePath("i0_" + tag);
        QVERIFY(writeTiff16(i1Files.last(), w, h, i1.constData()));
        QVERIFY(writeTiff16(i0Files.last(), w, h, i0.constData()));
    }

    Body b;
    b.resize(1280, 700);
    b.show();
    b.xafsView()->resize(600, 450);
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    QSignalSpy done(&b, &Body::stackLoaded);
    b.readI0Files(i0Files, true);
    b.readI1Files(i1Files, true);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 2, 20000);
    QCOMPARE(b.stacks().i1().size(), n);
    QCOMPARE(b.stacks().i0().size(), n);

    // Move the real mouse over the disc's centre (70, 60).
    ImgDispA *disp = child<ImgDispA>(&b, "dispA");
    disp->repaint();
    const QPoint at(int(disp->coord().r2sx(70.5)), int(disp->coord().r2sy(60.5)));
    QTest::mouseMove(disp, at);
    QTRY_COMPARE(b.positionX(), 70);
    QCOMPARE(b.positionY(), 60);
    QCOMPARE(b.spectrumAtPosition().raw().size(), n);
    // ln(I0 / I1) is mu up to the rounding of the samples.
    QVERIFY(std::abs(b.spectrumAtPosition().raw().y(0) - 0.4) < 0.01);
    QVERIFY(std::abs(b.spectrumAtPosition().raw().y(n - 1) - (1.5 + 0.0005 * 190)) < 0.01);
    QCOMPARE(child<CrossSView>(&b, "HCross")->profile().size(), w);
    QCOMPARE(child<CrossSView>(&b, "VCross")->profile().size(), h);
    QVERIFY(child<QLabel>(&b, "Value")->text() != QStringLiteral("0.0"));
    QApplication::processEvents();

    const QImage main = b.grab().toImage();
    QVERIFY(main.save(QDir(outputDir()).filePath("main_window.png")));
    QVERIFY(distinctColours(main) > 20);
    const QImage spectrum = b.xafsView()->grab().toImage();
    QVERIFY(spectrum.save(QDir(outputDir()).filePath("spectrum_window.png")));
    QVERIFY(distinctColours(spectrum) > 3);
    // The display shows the frame: the disc is darker than the beam beside
    // it (both points away from the position marker).
    const QImage shown = disp->grab().toImage().convertToFormat(QImage::Format_RGB32);
    auto screen = [&](double x, double y) {
        return QPoint(int(disp->coord().r2sx(x)), int(disp->coord().r2sy(y)));
    };
    QVERIFY(qGray(shown.pixel(screen(55, 75))) + 50 < qGray(shown.pixel(screen(140, 75))));
}

// Every control of a window lies inside it and is large enough to show its
// text: buttons their text, check boxes, radio buttons and labels all of
// themselves, the other controls at least their minimum size.
static void checkUnclipped(QWidget *window)
{
    const QRect inner(QPoint(0, 0), window->size());
    const QList<QWidget *> all = window->findChildren<QWidget *>();
    for (QWidget *w : all) {
        if (w->window() != window || !w->isVisibleTo(window))
            continue;
        if (!qobject_cast<QAbstractButton *>(w) && !qobject_cast<QLineEdit *>(w)
            && !qobject_cast<QLabel *>(w) && !qobject_cast<QComboBox *>(w)
            && !qobject_cast<QSlider *>(w))
            continue;
        const QRect r(w->mapTo(window, QPoint(0, 0)), w->size());
        if (!inner.contains(r))
            QFAIL(qPrintable(
                QStringLiteral("%1 of %2 is cut off").arg(w->objectName(), window->objectName())));
        QSize need = w->minimumSizeHint();
        if (auto *b = qobject_cast<QPushButton *>(w))
            need.setWidth(b->fontMetrics().horizontalAdvance(b->text()) + 6);
        else if (qobject_cast<QAbstractButton *>(w))
            need = w->sizeHint();
        else if (qobject_cast<QLabel *>(w))
            need = w->sizePolicy().horizontalPolicy() == QSizePolicy::Ignored
                       ? QSize(0, w->minimumSizeHint().height())
                       : w->sizeHint();
        if (w->width() < need.width() || w->height() < need.height())
            QFAIL(qPrintable(QStringLiteral("%1 of %2 is squeezed to %3 x %4 (needs %5 x %6)")
                                 .arg(w->objectName(), window->objectName())
                                 .arg(w->width())
                                 .arg(w->height())
                                 .arg(need.width())
                                 .arg(need.height())));
    }
}

void TestBody::fitsALaptopScreen()
{
    // 1366 x 768 less a title bar and a task bar.
    const QSize screen(1366, 700);
    Body b;
    QVERIFY(b.minimumSizeHint().width() <= screen.width());
    QVERIFY(b.minimumSizeHint().height() <= screen.height());
    b.resize(screen);
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    checkUnclipped(&b);
    // The display takes the spare room.
    ImgDispA *disp = child<ImgDispA>(&b, "dispA");
    const QSize large = disp->size();
    QVERIFY(large.width() > 550);
    QVERIFY(large.height() > 500);
    b.resize(screen - QSize(200, 100));
    QApplication::processEvents();
    QCOMPARE(disp->width(), large.width() - 200);
    QCOMPARE(disp->height(), large.height() - 100);

    XafsView *v = b.xafsView();
    QVERIFY(v->minimumSizeHint().width() <= screen.width());
    QVERIFY(v->minimumSizeHint().height() <= screen.height());
    v->resize(v->minimumSizeHint().expandedTo(QSize(400, 300)));
    QApplication::processEvents();
    checkUnclipped(v);
}

void TestBody::abbreviationsHaveTips()
{
    // A caption with a full stop inside or at the end of a word, or a short
    // word of capitals or of one letter and "w", is an abbreviation.
    const QRegularExpression abbreviated(
        QStringLiteral("[A-Za-z]\\.|^[A-Z]{2,4}$|^[xy]w$|^de Glitch$"));
    Body b;
    int seen = 0;
    for (QWidget *w : b.findChildren<QWidget *>()) {
        QString text;
        if (auto *l = qobject_cast<QLabel *>(w))
            text = l->text();
        else if (auto *button = qobject_cast<QAbstractButton *>(w))
            text = button->text();
        if (w->window() != &b || !abbreviated.match(text).hasMatch())
            continue;
        ++seen;
        QVERIFY2(!w->toolTip().isEmpty(), qPrintable(w->objectName() + ": " + text));
    }
    QVERIFY(seen >= 15);
}

void TestBody::windowPlacement_data()
{
    QTest::addColumn<QRect>("avail");
    QTest::addColumn<bool>("beside");
    QTest::newRow("1366 x 768, panel at the top") << QRect(0, 28, 1366, 740) << false;
    QTest::newRow("1366 x 768, no panel") << QRect(0, 0, 1366, 768) << false;
    QTest::newRow("1920 x 1080") << QRect(0, 0, 1920, 1050) << false;
    QTest::newRow("2560 x 1440") << QRect(0, 0, 2560, 1410) << true;
}

void TestBody::windowPlacement()
{
    QFETCH(QRect, avail);
    QFETCH(bool, beside);
    Body b;
    const QSize frame(8, 36);
    const Body::Placement p =
        Body::placeWindows(avail, frame, b.minimumSizeHint(), QSize(640, 480),
                           b.xafsView()->minimumSizeHint());
    // Whole windows, frames included: on the screen, apart, large enough.
    const QRect mainOuter(p.main.topLeft(), p.main.size() + frame);
    const QRect spectrumOuter(p.spectrum.topLeft(), p.spectrum.size() + frame);
    QVERIFY(avail.contains(mainOuter));
    QVERIFY(avail.contains(spectrumOuter));
    QVERIFY(!mainOuter.intersects(spectrumOuter));
    QVERIFY(p.main.width() >= b.minimumSizeHint().width());
    QVERIFY(p.main.height() >= b.minimumSizeHint().height());
    QVERIFY(p.spectrum.width() >= b.xafsView()->minimumSizeHint().width());
    QVERIFY(p.spectrum.height() >= b.xafsView()->minimumSizeHint().height());
    QCOMPARE(p.spectrum.left() > p.main.left(), beside);
    // Laid out at that size the image still has room.
    b.resize(p.main.size());
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    const QSize image = child<ImgDispA>(&b, "dispA")->size();
    QVERIFY(qMin(image.width(), image.height()) >= 256);
    QCOMPARE(b.xafsView()->windowType(), Qt::Tool);
}

QTEST_MAIN(TestBody)
#include "test_body.moc"
