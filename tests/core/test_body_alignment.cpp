#include "alignment/gui/ImgProc.h"
#include "analysis/gui/Analyzer2.h"
#include "app/Settings.h"

#include "AnalBody.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

// Frame alignment and the quality survey as a script and a user drive them
// through the main window.
class TestBodyAlignment : public QObject
{
    Q_OBJECT
private slots:
    void init() { body.reset(new Body); }
    void scriptAlignsADisplacedStack();
    void shiftChangesTheSpectrumAtOnce();
    void shiftGoesToI1WhileI0IsShown();
    void compareByHand();
    void collectQInfo();

private:
    int run(const QString &statement) { return runStatement(*body, statement); }
    // Frames k at 7000 + 10 k eV, I0 1000, I1 from i1(k, x, y).
    void load(int w, int h, int n, const std::function<double(int, int, int)> &i1)
    {
        loadStacks(*body, w, h, n, 7000, 10, 1000.0f, i1);
    }

    std::unique_ptr<Body> body;
};

namespace {

// A cone of radius 12 on a low floor: its edge image is as strong all over
// the cone, so the binary image is a filled disk whose overlap with a
// displaced copy grows steadily toward the displacement.
double cone(double x, double y)
{
    const double r = std::hypot(x - 24.0, y - 21.0);
    return 10.0 + (r < 12.0 ? 1200.0 * (1.0 - r / 12.0) : 0.0);
}

const QPoint displacement[] = {{0, 0}, {3, -2}, {-5, 4}, {2, 5}, {-1, -3}, {5, 0}};

} // namespace

void TestBodyAlignment::scriptAlignsADisplacedStack()
{
    const int n = 6;
    load(48, 48, n, [](int k, int x, int y) {
        return std::exp(-0.1 * k) * cone(x - displacement[k].x(), y - displacement[k].y());
    });
    Body still;
    loadStacks(still, 48, 48, n, 7000, 10, 1000.0f,
               [](int k, int x, int y) { return std::exp(-0.1 * k) * cone(x, y); });

    // "A. Set Shift" stores each shift as its search ends.
    for (const char *s : {"imgproc_edge_detect 1", "imgproc_binary 1",
                             "imgproc_threshold_slider 300", "seek_image 0", "imgproc_set_ref",
                             "imgproc_auto_set_shift 1"})
        QCOMPARE(run(s), 1);
    for (int k = 0; k < n; ++k)
        for (const QString &s : {QString("seek_image %1").arg(k),
                                 QString("imgproc_trial_shift 0 0"), QString("imgproc_auto_shift")})
            QCOMPARE(run(s), 1);
    for (int k = 0; k < n; ++k) {
        const TiffData *f = body->stacks().i1()[k];
        QCOMPARE(QPoint(f->shiftX, f->shiftY), -displacement[k]);
    }

    // Away from the border (5 pixels of shift, a window of 2 around the
    // position) the aligned stack reads as the undisplaced one.
    for (Body *b : {body.get(), &still})
        runStatement(*b, "set_band_w 2"), runStatement(*b, "set_band_h 2");
    for (const QPoint p : {QPoint(8, 8), QPoint(24, 21), QPoint(30, 14), QPoint(39, 39)}) {
        for (Body *b : {body.get(), &still})
            runStatement(*b, QString("move_position %1 %2").arg(p.x()).arg(p.y()));
        QCOMPARE(body->spectrumAtPosition().raw().points(),
                 still.spectrumAtPosition().raw().points());
    }
}

void TestBodyAlignment::shiftChangesTheSpectrumAtOnce()
{
    // A ramp along x: the pixel of column x holds 100 + x + 10 k.
    load(20, 10, 3, [](int k, int x, int) { return 100.0 + x + 10 * k; });
    for (const char *s : {"set_band_w 0", "set_band_h 0", "move_position 10 5", "seek_image 1",
                          "imgproc_trial_shift 2 0", "imgproc_set_shift"})
        QCOMPARE(run(s), 1);
    // Frame 1 now shows column 8 at column 10; the others are as they were.
    const auto trace = [this] {
        QVector<double> v;
        for (const QPointF &p : body->traceAtPosition().points())
            v << p.y();
        return v;
    };
    QCOMPARE(trace(), QVector<double>({110, 118, 130}));
    QCOMPARE(body->spectrumAtPosition().raw().points().value(1).y(), std::log(1000.0 / 118));
    QCOMPARE(run("imgproc_clear_all_shifts"), 1);
    QCOMPARE(trace(), QVector<double>({110, 120, 130}));
    QCOMPARE(body->stacks().i1()[1]->shiftX, 0);
}

void TestBodyAlignment::shiftGoesToI1WhileI0IsShown()
{
    load(20, 10, 3, [](int, int x, int) { return 100.0 + x; });
    for (const char *s : {"imgproc_edge_detect 1", "select_disp_image 1", "seek_image 2"})
        QCOMPARE(run(s), 1);
    QCOMPARE(body->imgProc()->frame(), body->stacks().i1()[2]);
    QCOMPARE(run("imgproc_trial_shift -1 3"), 1);
    QCOMPARE(run("imgproc_set_shift"), 1);
    const TiffData *i1 = body->stacks().i1()[2];
    QCOMPARE(QPoint(i1->shiftX, i1->shiftY), QPoint(-1, 3));
    for (const TiffData *f : body->stacks().i0())
        QCOMPARE(QPoint(f->shiftX, f->shiftY), QPoint(0, 0));
    // Clearing the I1 files takes the frame away from the image processor.
    body->clearI1Files();
    QCOMPARE(body->imgProc()->frame(), nullptr);
}

void TestBodyAlignment::compareByHand()
{
    // One pixel of 100 in the dark: the eight pixels around it have an edge
    // of 100, all others 0.
    load(11, 11, 1, [](int, int x, int y) { return x == 5 && y == 5 ? 100.0 : 0.0; });
    ImgProc *p = body->imgProc();
    const auto click = [p](const char *name) {
        auto *b = p->findChild<QAbstractButton *>(QLatin1String(name));
        QVERIFY(b);
        QTest::mouseClick(b, Qt::LeftButton);
    };
    const auto text = [p](const char *name) {
        return p->findChild<QLineEdit *>(QLatin1String(name))->text();
    };
    QTest::mouseClick(body->findChild<QPushButton *>("ShowImgProc"), Qt::LeftButton);
    QVERIFY(p->isVisible());
    click("EdgeDetect");
    // The binary image: the ring of eight pixels around the bright one.
    p->findChild<QSlider *>("BinThVSlider")->setValue(250);
    click("SetRef");
    click("Compare");
    QCOMPARE(text("NormScolarP"), QString("1"));
    // One to the right: 4 of the 8 ring pixels meet.
    click("ShiftR");
    QCOMPARE(text("ShiftX"), QString("1"));
    QCOMPARE(text("NormScolarP"), QString("0.5"));
    // From (1, 0) the search passes (2, 1), (2, 0), (2, -1), (1, -1) and
    // (0, -1), none above 0.5, and takes (0, 0); nothing beats 1 from there.
    click("ShiftAuto");
    QCOMPARE(QStringList({text("ShiftX"), text("ShiftY"), text("NormScolarP")}),
             QStringList({"0", "0", "1"}));
}

// "qinfo.dat" goes to the working folder: a temporary one, left again however
// the test ends.
void TestBodyAlignment::collectQInfo()
{
    QTemporaryDir dir;
    const struct Back
    {
        QString home = QDir::currentPath();
        ~Back() { QDir::setCurrent(home); }
    } back;
    QDir::setCurrent(dir.path());
    // The survey's window has its button only when the settings ask for it.
    QVERIFY(body->findChild<QPushButton *>("ShowAnalyzer2")->isHidden());
    settings().showAnalyzer2Button = true;
    const Body shown;
    settings().showAnalyzer2Button = false;
    QVERIFY(!shown.findChild<QPushButton *>("ShowAnalyzer2")->isHidden());
    // Without I1 frames only the two statistics lines, of empty lists.
    QTest::mouseClick(body->analyzer2()->findChild<QPushButton *>("CollectQInfo"), Qt::LeftButton);
    QCOMPARE(fileBytes("qinfo.dat"),
             QByteArray("# maxE 1e+300 -1e+300 0 0\n# maxMutJ 1e+300 -1e+300 0 0\n"));

    // Transmission frames: a step at 7100 eV and a white line at 7110 + 10 x
    // eV in column x, where the absorption maximum of each bin lies.
    load(3, 1, 30, [](int k, int x, int) {
        const double e = 7000 + 10 * k;
        return 1000.0 * std::exp(-0.3 - (e > 7100 ? 1.0 : 0.0) - (e == 7110 + 10 * x ? 0.6 : 0.0));
    });
    for (const char *s : {"set_band_w 0", "set_band_h 0", "select_region 0 0 3 1", "collect_q_info"})
        QCOMPARE(run(s), 1);
    const QList<QByteArray> lines = fileBytes("qinfo.dat").split('\n');
    // maxE 7110, 7120, 7130: mean 7120, deviation sqrt(200 / 3). In column 0
    // the post-edge line stands flat at 1.3 beyond the white line: 0.6 above
    // it over a jump of 1, the largest ratio of the three.
    QCOMPARE(lines.value(0), QByteArray("# maxE 7110 7130 7120 8.16497"));
    QCOMPARE(lines.value(1).split(' ').value(3).toDouble(), 0.6);
    QCOMPARE(lines.size(), 2 + 3 + 1);
    for (int x = 0; x < 3; ++x) {
        const QList<QByteArray> f = lines.value(2 + x).split('\t');
        // mu at the white line: 0.3 + 1 + 0.6.
        QCOMPARE(QList<QByteArray>({f.value(0), f.value(1), f.value(5), f.value(6)}),
                 QList<QByteArray>({QByteArray::number(7110 + 10 * x), "1.9",
                                    QByteArray::number(x), "0"}));
        QCOMPARE(f.size(), 7);
    }
    QCOMPARE(lines.value(2).split('\t').mid(2, 2), QList<QByteArray>({"0.6", "1"}));
}

QTEST_MAIN(TestBodyAlignment)
#include "test_body_alignment.moc"
