#include "batch/gui/BatchCtrl.h"
#include "input/gui/SelectDataFiles.h"
#include "spectrum/gui/XafsView.h"
#include "widgets/gui/ColorBar.h"
#include "widgets/gui/CrossSView.h"
#include "widgets/gui/ImgDispA.h"

#include "CoreWidgets.h"
#include "FrameMaker.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
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
    void buttonsOpenWindows();
    void halfSizes();
    void seekBarDrivesTheFrame_data();
    void seekBarDrivesTheFrame();
    void readOutsFollowLoadsAndCommands();
    void loadRequestsAndAppending();
    void readOutLabels();
    void colourBarRerenders();
    void mouseOverTheDisplay();
    void windowPlacement();
    void abbreviationsHaveTips();
};

// Frames as the I1 loader delivers them; the default pattern reads 7000 + 10 k eV from the names.
static void feedI1(Body &b, int n, int w, int h, const std::function<int(int, int, int)> &v)
{
    for (int k = 0; k < n; ++k)
        b.loadedI1(makeFrame(
                       w, h, 0, [&](int x, int y) { return v(k, x, y); },
                       QStringLiteral("/data/f_%1_0000.tif").arg(7000 + 10 * k)),
                   k);
}

static void feedI0(Body &b, int n, int w, int h, int v)
{
    for (int k = 0; k < n; ++k)
        b.loadedI0(constantFrame(w, h, 0, v), k);
}

static void setHalfSizes(Body &b, const char *w, const char *h)
{
    child<QLineEdit>(&b, "HWidth")->setText(w);
    child<QLineEdit>(&b, "VWidth")->setText(h);
}

void TestBody::buttonsOpenWindows()
{
    Body b;
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    QVERIFY(b.xafsView()->isVisible() && !b.batchCtrl()->isVisible());
    QTest::mouseClick(child<QAbstractButton>(&b, "BatchCtrlB"), Qt::LeftButton);
    QVERIFY(b.batchCtrl()->isVisible());
    b.xafsView()->hide();
    QTest::mouseClick(child<QAbstractButton>(&b, "ShowXafsView"), Qt::LeftButton);
    QVERIFY(b.xafsView()->isVisible());
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
    ImgDispA *disp = child<ImgDispA>(&b, "dispA");
    setHalfSizes(b, "0", "0");
    disp->setRealMousePos(3.7, 2.2);
    QCOMPARE(QPoint(b.positionX(), b.positionY()), QPoint(3, 2));
    QCOMPARE(child<QLabel>(&b, "Position")->text(), QStringLiteral("(   3,    2)"));
    QCOMPARE(b.xafsView()->trace().points(),
             QVector<QPointF>({{7000, 33}, {7010, 33}, {7020, 33}}));
    QCOMPARE(b.xafsView()->target().raw().y(2), std::log(1000.0 / 33.0));

    // At (3, 2): 3 x 3 sums x 2..4, y 1..3; "junk" is 0; the largest sizes sum all 48 samples.
    const char *const windows[][4] = {{"1", "1", "297", "9000"},
                                      {"-1", "-1", "297", "9000"},
                                      {"-1", "junk", "99", "3000"},
                                      {"2147483647", "-2147483648", "1848", "48000"}};
    for (const auto &w : windows) {
        setHalfSizes(b, w[0], w[1]);
        disp->setRealMousePos(3, 2);
        QCOMPARE(b.traceAtPosition().y(0), atof(w[2]));
        QCOMPARE(b.spectrumAtPosition().raw().y(0), std::log(atof(w[3]) / atof(w[2])));
    }
    // That window is drawn over the data, no further (the 2-pixel pen straddles its edges).
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    QImage img(disp->size(), QImage::Format_RGB32);
    img.fill(Qt::black);
    QPainter p(&img);
    b.draw(&p);
    p.end();
    QRect red;
    for (int i = 0; i < img.width() * img.height(); ++i)
        if (img.pixel(i % img.width(), i / img.width()) == qRgb(255, 0, 0))
            red |= QRect(i % img.width(), i / img.width(), 1, 1);
    const ChCoord &c = disp->coord();
    const QRectF data =
        QRectF(QPointF(c.r2sx(0), c.r2sy(0)), QPointF(c.r2sx(8), c.r2sy(6))).normalized();
    QVERIFY(!red.isEmpty() && QRectF(red).adjusted(-2, -2, 2, 2).contains(data)
            && data.adjusted(-2, -2, 2, 2).contains(QRectF(red)));

    disp->setRealMousePos(20, 2);
    QVERIFY(b.traceAtPosition().isEmpty() && b.spectrumAtPosition().raw().isEmpty());
    QCOMPARE(child<QLabel>(&b, "Position")->text(), QStringLiteral("(  20,    2)"));
}

// Every read-out of the current frame agrees on frame k of stack s.
static void checkShown(Body &b, ImageStacks::Stack s, int k)
{
    const TiffData *f = b.stacks().stack(s).at(k);
    auto *no = child<QLineEdit>(&b, "ImgNo");
    auto *seek = child<QSlider>(&b, "SeekBar");
    QVERIFY(child<ImgDispA>(&b, "dispA")->frame() == f && no->toolTip() == f->fileName);
    QCOMPARE(no->text(), QString::number(k));
    QCOMPARE(QPoint(seek->value(), seek->maximum()), QPoint(k, b.stacks().stack(s).size() - 1));
    QCOMPARE((s == ImageStacks::I1 ? b.i1Panel() : b.i0Panel())->currentIndex(), k);
    QCOMPARE(b.spectrumMarkerEnergy(), f->energy);
}
#define CHECK_SHOWN(b, s, k) \
    do { \
        checkShown(b, s, k); \
        if (QTest::currentTestFailed()) \
            QFAIL("read-outs disagree with frame " #k); \
    } while (0)

// A key, a wheel notch (three lines) or a click in the groove moves the frame.
void TestBody::seekBarDrivesTheFrame_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("shown");
    QTest::newRow("Left") << 3 << QString("key %1").arg(Qt::Key_Left) << 2;
    QTest::newRow("End") << 1 << QString("key %1").arg(Qt::Key_End) << 4;
    QTest::newRow("Page Up") << 0 << QString("key %1").arg(Qt::Key_PageUp) << 4;
    QTest::newRow("wheel away") << 0 << "wheel 120" << 3;
    QTest::newRow("groove left") << 4 << "click 0.02" << 0;
}

void TestBody::seekBarDrivesTheFrame()
{
    QFETCH(int, start);
    QFETCH(QString, action);
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
    QCOMPARE(QPoint(picked.count(), moved.count()), QPoint(start == 4 ? 0 : 1, 0));
    picked.clear();
    const QPoint mid(seek->width() / 2, seek->height() / 2);
    const double arg = action.section(' ', 1).toDouble();
    seek->setFocus();
    if (action.startsWith("key")) {
        QTest::keyClick(seek, Qt::Key(int(arg)));
    } else if (action.startsWith("wheel")) {
        QWheelEvent e(mid, seek->mapToGlobal(mid), QPoint(), QPoint(0, int(arg)), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(seek, &e);
    } else {
        QTest::mouseClick(seek, Qt::LeftButton, Qt::NoModifier,
                          QPoint(arg * seek->width(), mid.y()));
    }
    CHECK_SHOWN(b, ImageStacks::I1, shown);
    QCOMPARE(picked.count(), 1);
}

void TestBody::readOutsFollowLoadsAndCommands()
{
    QTemporaryDir dir;
    const QStringList files = writeFrames(dir.path(), "i", 8, 10);
    Body b;
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    QSignalSpy done(&b, &Body::stackLoaded);
    b.readI0Files(files.mid(0, 6), true);
    b.readI1Files(files.mid(0, 6), true);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 2, 20000);
    CHECK_SHOWN(b, ImageStacks::I1, 5);
    // Statements, and the stack and frame then shown ("seek_image 6" is beyond the stack).
    const QVector<std::tuple<const char *, ImageStacks::Stack, int>> steps = {
        {"seek_image 3", ImageStacks::I1, 3},
        {"select_disp_image 1", ImageStacks::I0, 5},
        {"seek_image 1", ImageStacks::I0, 1},
        {"seek_image 6", ImageStacks::I0, 1},
        {"select_disp_image 0", ImageStacks::I1, 3}};
    for (const auto &[statement, stack, k] : steps) {
        runStatement(b, statement);
        CHECK_SHOWN(b, stack, k);
    }

    // Appended without "Show Latest": the frame on show stays, the bar grows.
    b.i1Panel()->setShowLatest(false);
    b.readI1Files(files.mid(6, 1), false);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 3, 20000);
    CHECK_SHOWN(b, ImageStacks::I1, 3);
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
    b.i1Panel()->setShowLatest(true);
    b.readI1Files(files.mid(7, 1), false);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 4, 20000);
    CHECK_SHOWN(b, ImageStacks::I1, 7);

    b.clearI0Files();
    b.clearI1Files();
    QVERIFY(!disp->frame() && b.stacks().i0().size() + b.i0Panel()->count() == 0);
    QCOMPARE(child<QLineEdit>(&b, "ImgNo")->text(), QStringLiteral("0"));
    QCOMPARE(QVector<double>(
                 {double(child<QSlider>(&b, "SeekBar")->maximum()), b.spectrumMarkerEnergy()}),
             QVector<double>({0, -1}));

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

void TestBody::loadRequestsAndAppending()
{
    QTemporaryDir dir;
    const QStringList files = writeFrames(dir.path(), "i", 6, 10);
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
    auto *bar = child<QProgressBar>(&b, "Progress");
    QVERIFY(bar->isVisibleTo(&b));
    QCOMPARE(QPoint(bar->value(), bar->maximum()), QPoint(0, 3));
    QVERIFY(b.xafsView()->autoRange());
    QCOMPARE(request.count(), 1);
    QCOMPARE(request.at(0).mid(1, 3), QVariantList({1, 0, 0}));
    QVERIFY(done.wait(10000));
    // Without "Show Latest" the display steps ran once the load was over.
    QCOMPARE(QVector<double>({double(b.stacks().i1().size()), double(b.i1Panel()->count()),
                              double(child<QSlider>(&b, "SeekBar")->maximum()),
                              double(b.i1Panel()->currentIndex()), double(b.stacks().dataWidth()),
                              b.stacks().i1().at(2)->energy}),
             QVector<double>({3, 3, 2, 0, 4, 7020}));
    QVERIFY(!b.xafsView()->autoRange() && !bar->isVisibleTo(&b));

    // The spectra of all bins: the bar follows row by row (33 and 66 per cent) and goes.
    feedI0(b, 3, 4, 3, 1000);
    setHalfSizes(b, "0", "0");
    QSignalSpy rows(bar, &QProgressBar::valueChanged);
    QVERIFY(b.saveEachRawSpectrum(dir.filePath("each.dat")));
    QCOMPARE(rows, QList<QVariantList>({{33}, {66}}));
    QVERIFY(!bar->isVisibleTo(&b));

    b.i1Panel()->setSkip(2);
    b.i1Panel()->setCutF(0);
    b.readI1Files(files.mid(3), false);
    QCOMPARE(request.at(1).at(1).toInt(), 2);
    QVERIFY(done.wait(10000));
    QCOMPARE(b.stacks().i1().size(), 5); // files 3 and 5 behind
    QCOMPARE(b.stacks().i1().at(4)->fileName, files.at(5));
    QCOMPARE(child<QSlider>(&b, "SeekBar")->maximum(), 4);
}

// The labels under the mouse; a dark frame is chosen, refused when it does not read, cleared.
void TestBody::readOutLabels()
{
    QTemporaryDir dir;
    const QString name = dir.filePath("dark.tif"), junk = dir.filePath("junk.tif");
    QVERIFY(writeFrameFile(name, 2, 2, [](int x, int y) { return 5 + 12340 * (x + y > 1); }));
    QVERIFY(writeFile(junk, "II*"));
    Body b;
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    const float samples[] = {-123456.7f, 50, 95, 50};
    b.loadedI1(TiffData::fromSamples(2, 2, samples, QStringLiteral("/data/f_7000_0000.tif")), 0);
    b.loadedI0(constantFrame(2, 2, 0, 95), 0);
    setHalfSizes(b, "0", "0");
    ImgDispA *disp = child<ImgDispA>(&b, "dispA");
    auto *label = child<QLabel>(&b, "DarkFileName");
    const auto text = [&b](const char *name) { return child<QLabel>(&b, name)->text(); };
    disp->setRealMousePos(0.5, 0.5);
    // No dark frame: its label untouched; no standard spectrum: no shift against it.
    QCOMPARE(text("Value") + "|" + text("DarkValue") + "|" + text("EShiftOnTbl")
                 + text("EShiftFromStd"),
             QStringLiteral("-123,456.70|0.0| 0.00 0.00"));
    disp->setRealMousePos(5, 0.5);
    QCOMPARE(text("Value") + text("EShiftOnTbl"), QStringLiteral("0.00 0.00"));

    // The dark is subtracted from I1 and I0: (50 - 5) against (95 - 5).
    b.selectedDark(name);
    QVERIFY(b.stacks().hasDark() && label->text() == name);
    b.showXafsSpectrum(1, 0);
    QCOMPARE(b.spectrumAtPosition().raw().y(0), std::log(2.0));
    disp->setRealMousePos(1, 1);
    QCOMPARE(text("DarkValue"), QStringLiteral("12,345"));
    QTest::mouseClick(child<QCheckBox>(&b, "FluoType"), Qt::LeftButton);
    b.showXafsSpectrum(1, 0);
    QCOMPARE(b.spectrumAtPosition().raw().y(0), 0.5);
    b.selectedDark(junk);
    QVERIFY(!b.stacks().hasDark() && label->text().isEmpty());
    b.selectedDark(name);
    QTest::mouseClick(child<QAbstractButton>(&b, "ClearDark"), Qt::LeftButton);
    QVERIFY(!b.stacks().hasDark() && label->text().isEmpty());

    // A standard crossing half height at 7005 eV: the flat spectrum (7000 eV) is 5 eV below.
    SpectrumPoints std;
    std.append(7000, 0);
    std.append(7010, 1);
    b.xafsView()->setStandard(XafsSpectrum(std, false, 0));
    disp->setRealMousePos(1, 0);
    QCOMPARE(text("EShiftFromStd"), QStringLiteral("-5.00"));
}

// Every frame takes the colour bar's scale; a frame shown later is built under the new handles.
void TestBody::colourBarRerenders()
{
    Body b;
    const auto grey = [](const TiffData *f, int x) {
        return f->builtPicture()->constScanLine(0)[x];
    };
    feedI1(b, 2, 4, 1, [](int, int x, int) { return x; });
    ColorBar *bar = child<ColorBar>(&b, "CBar");
    ImgDispA *disp = child<ImgDispA>(&b, "dispA");
    TiffData *shown = b.stacks().i1().at(1), *other = b.stacks().i1().at(0);
    QCOMPARE(disp->frame(), shown);
    disp->currentPicture(); // what a paint does
    for (TiffData *f : b.stacks().i1())
        QCOMPARE(f->colorBar, bar->greyScale());
    QVERIFY(!other->builtPicture());
    QCOMPARE(grey(shown, 2), 170); // 2/3 * 256
    bar->setHandles(2.0 / 3.0, 1.0);
    emit bar->cBarUpdated();
    QVERIFY(!other->builtPicture());
    b.showData(0);
    disp->currentPicture();
    QCOMPARE(QPoint(grey(other, 2), grey(other, 3)), QPoint(0, 255));
}

// The real mouse over the picture: the position, the spectrum and the cross sections follow.
void TestBody::mouseOverTheDisplay()
{
    Body b;
    b.resize(1280, 700);
    b.show();
    QVERIFY(QTest::qWaitForWindowExposed(&b));
    feedI1(b, 2, 160, 120, [](int k, int x, int y) { return 100 + x + y + k; });
    feedI0(b, 2, 160, 120, 1000);
    setHalfSizes(b, "0", "0");
    ImgDispA *disp = child<ImgDispA>(&b, "dispA");
    disp->repaint();
    QTest::mouseMove(disp, QPoint(int(disp->coord().r2sx(70.5)), int(disp->coord().r2sy(60.5))));
    QTRY_COMPARE(QPoint(b.positionX(), b.positionY()), QPoint(70, 60));
    QCOMPARE(b.spectrumAtPosition().raw().y(1), std::log(1000.0 / 231));
    QCOMPARE(QPoint(child<CrossSView>(&b, "HCross")->profile().size(),
                    child<CrossSView>(&b, "VCross")->profile().size()),
             QPoint(160, 120));
}

// Both windows whole on the screen, apart, not too small; side by side where there is room.
void TestBody::windowPlacement()
{
    Body b;
    const QSize frame(8, 36), least = b.minimumSizeHint();
    const QSize spectrumLeast = b.xafsView()->minimumSizeHint();
    for (const QRect avail : {QRect(0, 28, 1366, 740), QRect(0, 0, 1366, 768),
                              QRect(0, 0, 1920, 1050), QRect(0, 0, 2560, 1410)}) {
        const Body::Placement p =
            Body::placeWindows(avail, frame, least, QSize(640, 480), spectrumLeast);
        const QRect main(p.main.topLeft(), p.main.size() + frame);
        const QRect spectrum(p.spectrum.topLeft(), p.spectrum.size() + frame);
        QVERIFY(avail.contains(main) && avail.contains(spectrum) && !main.intersects(spectrum));
        QCOMPARE(p.main.size().expandedTo(least), p.main.size());
        QCOMPARE(p.spectrum.size().expandedTo(spectrumLeast), p.spectrum.size());
        QCOMPARE(p.spectrum.left() > p.main.left(), avail.width() > 2000);
    }
}

// A caption with a full stop inside or at the end of a word, or a short word of capitals or of one
// letter and "w", is an abbreviation: each has a tool tip.
void TestBody::abbreviationsHaveTips()
{
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

QTEST_MAIN(TestBody)
#include "test_body.moc"
