#include "batch/BatchCtrl.h"
#include "batch/CmdLine.h"
#include "core/Body.h"
#include "input/EOFSetup.h"
#include "input/SelectDataFiles.h"
#include "input/TiffData.h"
#include "spectrum/XafsView.h"
#include "widgets/ImgDispA.h"

#include "../app/LogCapture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <vector>

// The main window's batch commands, handed over as the interpreter would
// hand them, checked on the controls they write and on what they answer.
class TestBodyCommands : public QObject
{
    Q_OBJECT
private slots:
    void answersAndErrors();
    void fieldsTakeNormalisedNumbers();
    void energySetup();
    void displayCommands();
    void loadsCompleteWhenTheLoaderEnds();
    void movePositionReachesEveryPixel();
};

namespace {

QString logText(Body &body)
{
    return body.batchCtrl()->findChild<QPlainTextEdit *>(QStringLiteral("ProgressLog"))->toPlainText();
}

template <typename T>
T *child(QObject *o, const char *name)
{
    T *w = o->findChild<T *>(QString::fromLatin1(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

// Runs one statement and tells how many answers it gave.
int run(Body &body, const QString &statement)
{
    QSignalSpy done(&body, &Body::finishBatchExec);
    body.execCmdSlot(CmdLine(statement), false);
    return done.count();
}

// A frame file whose pixel (x, y) holds base + x + 7 y.
void writeFrame(const QString &path, int w, int h, int base)
{
    std::vector<quint16> px(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[size_t(y) * w + size_t(x)] = quint16(base + x + 7 * y);
    QVERIFY(writeTiff16(path, w, h, px.data()));
}

} // namespace

// Every statement is answered exactly once, except "quit", which asks for the
// end instead; unknown words go to the batch log with the statement's text.
void TestBodyCommands::answersAndErrors()
{
    Body body;
    QSignalSpy done(&body, &Body::finishBatchExec);
    QSignalSpy finishing(&body, &Body::finishing);

    // Remark lines and blank lines only need the answer, whatever they say.
    body.execCmdSlot(CmdLine(QStringLiteral("quit")), true);
    body.execCmdSlot(CmdLine(QString()), true);
    QCOMPARE(done.count(), 2);
    QCOMPARE(finishing.count(), 0);

    // The interpreter's own words are not errors.
    body.execCmdSlot(CmdLine(QStringLiteral(":for L i 1 3")), false);
    body.execCmdSlot(CmdLine(QStringLiteral(":NEXT L")), false);
    body.execCmdSlot(CmdLine(QStringLiteral(":echo hello")), false);
    QCOMPARE(done.count(), 5);
    QCOMPARE(logText(body), QString());

    // Unknown words: the comment-free line, then a line feed.
    body.execCmdSlot(CmdLine(QStringLiteral("frobnicate  1 \"a b\" # why")), false);
    QCOMPARE(done.count(), 6);
    QCOMPARE(logText(body), QStringLiteral("Err: frobnicate  1 \"a b\" \n"));
    // A line of blanks is a statement with an empty word.
    body.execCmdSlot(CmdLine(QStringLiteral("   ")), false);
    QCOMPARE(done.count(), 7);
    QCOMPARE(logText(body), QStringLiteral("Err: frobnicate  1 \"a b\" \nErr:    \n"));

    // A word whose work is not in the program yet completes at once and says so.
    {
        LogCapture log;
        body.execCmdSlot(CmdLine(QStringLiteral("calib_exec")), false);
        QCOMPARE(done.count(), 8);
        QVERIFY2(log.lines.contains(QStringLiteral("Batch command calib_exec is not available yet")),
                 qPrintable(log.lines.join('\n')));
    }

    // "quit" in any case ends the program and sends no answer.
    body.execCmdSlot(CmdLine(QStringLiteral("QuIt")), false);
    QCOMPARE(finishing.count(), 1);
    QCOMPARE(done.count(), 8);
}

// What lands in a field is the number the argument reads as, written anew:
// leading zeros go, a word counts as 0.
void TestBodyCommands::fieldsTakeNormalisedNumbers()
{
    Body body;
    SelectDataFiles *i1 = body.i1Panel();
    SelectDataFiles *i0 = body.i0Panel();

    QCOMPARE(run(body, "cut_f_i0 007"), 1);
    QCOMPARE(child<QLineEdit>(i0, "CutFirst")->text(), QStringLiteral("7"));
    QCOMPARE(child<QLineEdit>(i1, "CutFirst")->text(), QStringLiteral("0"));
    QCOMPARE(run(body, "CUT_L_I1 12"), 1);
    QCOMPARE(child<QLineEdit>(i1, "CutLast")->text(), QStringLiteral("12"));
    QCOMPARE(child<QLineEdit>(i0, "CutLast")->text(), QStringLiteral("0"));
    QCOMPARE(run(body, "skip_i1 three"), 1);
    QCOMPARE(child<QLineEdit>(i1, "Skip")->text(), QStringLiteral("0"));
    QCOMPARE(run(body, "skip_i0 2"), 1);
    QCOMPARE(child<QLineEdit>(i0, "Skip")->text(), QStringLiteral("2"));

    // A flag is on only for exactly 1.
    QCOMPARE(run(body, "show_latest_i1 0"), 1);
    QVERIFY(!child<QCheckBox>(i1, "ShowLatest")->isChecked());
    QVERIFY(child<QCheckBox>(i0, "ShowLatest")->isChecked());
    QCOMPARE(run(body, "show_latest_i1 1"), 1);
    QVERIFY(child<QCheckBox>(i1, "ShowLatest")->isChecked());
    QCOMPARE(run(body, "show_latest_i0 2"), 1);
    QVERIFY(!child<QCheckBox>(i0, "ShowLatest")->isChecked());

    QCOMPARE(run(body, "set_band_w 007"), 1);
    QCOMPARE(child<QLineEdit>(&body, "HWidth")->text(), QStringLiteral("7"));
    QCOMPARE(run(body, "set_band_h wide"), 1);
    QCOMPARE(child<QLineEdit>(&body, "VWidth")->text(), QStringLiteral("0"));
    QCOMPARE(run(body, "set_band_h -3"), 1);
    QCOMPARE(child<QLineEdit>(&body, "VWidth")->text(), QStringLiteral("-3"));

    QCOMPARE(run(body, "set_fluo_type 1"), 1);
    QVERIFY(child<QCheckBox>(&body, "FluoType")->isChecked());
    QVERIFY(body.stacks().fluorescence());
    QCOMPARE(run(body, "set_fluo_type yes"), 1);
    QVERIFY(!child<QCheckBox>(&body, "FluoType")->isChecked());
    QVERIFY(!body.stacks().fluorescence());
}

// The energy commands reach each panel's own energy setup, with the same
// recalculations as a hand edit.
void TestBodyCommands::energySetup()
{
    Body body;
    EOFSetup *s1 = body.i1Panel()->energySetup();
    EOFSetup *s0 = body.i0Panel()->energySetup();

    QCOMPARE(run(body, "eng_calc_base_i1 8100"), 1);
    QCOMPARE(child<QLineEdit>(s1, "Start")->text(), QStringLiteral("8100"));
    QCOMPARE(child<QLineEdit>(s1, "End")->text(), QStringLiteral("9100"));
    QCOMPARE(child<QLineEdit>(s0, "End")->text(), QStringLiteral("9000"));
    QCOMPARE(run(body, "eng_calc_end_i1 9600"), 1);
    QCOMPARE(child<QLineEdit>(s1, "Delta")->text(), QStringLiteral("1.5"));
    QCOMPARE(run(body, "eng_calc_num_i1 500"), 1);
    QCOMPARE(child<QLineEdit>(s1, "NumOfPoints")->text(), QStringLiteral("500"));
    QCOMPARE(child<QLineEdit>(s1, "Delta")->text(), QStringLiteral("3"));
    QCOMPARE(run(body, "eng_calc_delta_i1 0.25"), 1);
    QCOMPARE(child<QLineEdit>(s1, "End")->text(), QStringLiteral("8225"));
    QCOMPARE(run(body, "eng_calc_base_i0 8979.123456"), 1);
    QCOMPARE(child<QLineEdit>(s0, "Start")->text(), QStringLiteral("8979.12"));

    QCOMPARE(run(body, "eng_by_calc_i0 1"), 1);
    QVERIFY(child<QRadioButton>(s0, "FromFileNum")->isChecked());
    QVERIFY(child<QRadioButton>(s1, "FromFileName")->isChecked());
    QCOMPARE(run(body, "eng_by_name_i0"), 1);
    QVERIFY(child<QRadioButton>(s0, "FromFileName")->isChecked());
    QCOMPARE(run(body, "eng_calc_even_in_eng_i1 1"), 1);
    QVERIFY(child<QRadioButton>(s1, "EvenInEnergy")->isChecked());
    QCOMPARE(run(body, "eng_calc_even_in_deg_i1 1"), 1);
    QVERIFY(child<QRadioButton>(s1, "EvenInAngle")->isChecked());

    // Units: an index outside the list, negative included, changes nothing.
    QComboBox *unit = child<QComboBox>(s1, "DisplayUnit");
    QCOMPARE(run(body, "eng_calc_disp_unit_i1 1"), 1);
    QCOMPARE(unit->currentText(), QStringLiteral("keV"));
    QCOMPARE(run(body, "eng_calc_disp_unit_i1 3"), 1);
    QCOMPARE(unit->currentText(), QStringLiteral("keV"));
    QCOMPARE(run(body, "eng_calc_disp_unit_i1 -1"), 1);
    QCOMPARE(unit->currentText(), QStringLiteral("keV"));
    QCOMPARE(child<QComboBox>(s0, "DisplayUnit")->currentText(), QStringLiteral("eV"));

    // Both pattern words write the pattern field and leave the factor.
    QCOMPARE(run(body, "set_i0_energy_pattern \\d_\\d\\d\\d\\d\\d\\dKeV"), 1);
    QCOMPARE(child<QLineEdit>(s0, "Pattern")->text(), QStringLiteral("\\d_\\d\\d\\d\\d\\d\\dKeV"));
    QCOMPARE(child<QLineEdit>(s0, "Factor")->text(), QStringLiteral("1"));
    QCOMPARE(run(body, "eng_by_name_reg_exp_i1 \"a b\""), 1);
    QCOMPARE(child<QLineEdit>(s1, "Pattern")->text(), QStringLiteral("a b"));
    QCOMPARE(run(body, "eng_by_name_factor_i1 1000.0000001"), 1);
    QCOMPARE(child<QLineEdit>(s1, "Factor")->text(), QStringLiteral("1000"));

    // A reference file of angles: the choice follows the name.
    QTemporaryDir dir;
    const QString ref = dir.filePath("angles.dat");
    {
        QFile f(ref);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Text));
        f.write("angle\n14.0\n13.9\n");
    }
    QCOMPARE(run(body, "eng_by_ref_i1 " + ref), 1);
    QVERIFY(child<QRadioButton>(s1, "FromRefFile")->isChecked());
    QCOMPARE(child<QLineEdit>(s1, "RefFilePath")->text(), ref);
    QCOMPARE(run(body, "eng_by_calc_i1 1"), 1);
    const double e1 = 12398.424360387684 / (2 * 3.13553 * std::sin(13.9 * 3.1415926535 / 180));
    QCOMPARE(run(body, "eng_by_ref_i1 " + ref), 1);
    QCOMPARE(s1->energyOf(QStringLiteral("x.tif"), 1), e1);
}

void TestBodyCommands::displayCommands()
{
    Body body;
    QCOMPARE(run(body, "select_disp_image 1"), 1);
    QVERIFY(child<QRadioButton>(&body, "ShowI0")->isChecked());
    QCOMPARE(run(body, "select_disp_image 9"), 1);
    QVERIFY(child<QRadioButton>(&body, "ShowI0")->isChecked());
    QCOMPARE(run(body, "select_disp_image -1"), 1);
    QVERIFY(child<QRadioButton>(&body, "ShowI0")->isChecked());
    QCOMPARE(run(body, "select_disp_image 0"), 1);
    QVERIFY(child<QRadioButton>(&body, "ShowData")->isChecked());

    // A word reads as frame 0.
    QCOMPARE(run(body, "seek_image 4"), 1);
    QCOMPARE(child<QLineEdit>(&body, "ImgNo")->text(), QStringLiteral("4"));
    QCOMPARE(run(body, "seek_image last"), 1);
    QCOMPARE(child<QLineEdit>(&body, "ImgNo")->text(), QStringLiteral("0"));

    // The area is stored as given, a negative width included.
    ImgDispA *disp = child<ImgDispA>(&body, "dispA");
    QCOMPARE(run(body, "select_region 10 20 4 30"), 1);
    QVERIFY(disp->hasSelection());
    QCOMPARE(disp->selectedArea(), QRectF(10, 20, -6, 10));

    QCOMPARE(run(body, "xafs_view_normalize 1"), 1);
    QVERIFY(child<QCheckBox>(body.xafsView(), "Normalized")->isChecked());
    QCOMPARE(run(body, "xafs_view_normalize 0"), 1);
    QVERIFY(!child<QCheckBox>(body.xafsView(), "Normalized")->isChecked());
    QCOMPARE(run(body, "xafs_view_enerugy_correction 1"), 1);
    QVERIFY(child<QCheckBox>(body.xafsView(), "ECorrect")->isChecked());
}

// A load holds the script until its loader has read the whole list.
void TestBodyCommands::loadsCompleteWhenTheLoaderEnds()
{
    QTemporaryDir dir;
    const QString d = dir.path() + QLatin1Char('/');
    // Written out of name order, so a bare directory listing may give any order.
    for (int k : {3, 0, 2, 1})
        writeFrame(d + QStringLiteral("f_%1_0000.tif").arg(7000 + 10 * k), 20, 10, 100 * k);
    writeFrame(d + "other.tif", 20, 10, 0);

    Body body;
    QSignalSpy done(&body, &Body::finishBatchExec);
    // Without files nothing is loaded and the answer comes at once.
    body.execCmdSlot(CmdLine(QStringLiteral("load_I1_files NEW")), false);
    QCOMPARE(done.count(), 1);

    body.execCmdSlot(CmdLine(QStringLiteral("load_I1_files new %1f_7010_0000.tif %1f_7030_0000.tif").arg(d)), false);
    QCOMPARE(done.count(), 1);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 2, 20000);
    QCOMPARE(body.stacks().i1().size(), 2);
    QCOMPARE(body.stacks().i1().at(1)->energy, 7030.0);

    // Appending, then a pattern load that replaces the stack.
    body.execCmdSlot(CmdLine(QStringLiteral("load_I1_files add %1other.tif").arg(d)), false);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 3, 20000);
    QCOMPARE(body.stacks().i1().size(), 3);
    body.execCmdSlot(CmdLine(QStringLiteral("load_I0_files_of_pattern NEW %1 f_70?0_*.tif nothing*.img").arg(d)), false);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 4, 20000);
    QCOMPARE(body.stacks().i0().size(), 4);
    for (int k = 0; k < 4; ++k) {
        QCOMPARE(body.stacks().i0().at(k)->energy, 7000.0 + 10 * k);
        QCOMPARE(body.stacks().i0().at(k)->fileName, d + QStringLiteral("f_%1_0000.tif").arg(7000 + 10 * k));
    }
    QCOMPARE(body.stacks().i1().size(), 3);

    // A pattern that matches nothing still completes (and, with NEW, empties).
    body.execCmdSlot(CmdLine(QStringLiteral("load_I0_files_of_pattern NEW %1 *.none").arg(d)), false);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 5, 20000);
    QCOMPARE(body.stacks().i0().size(), 0);

    QCOMPARE(run(body, "clear_I1_files"), 1);
    QCOMPARE(body.stacks().i1().size(), 0);
    QCOMPARE(body.i1Panel()->count(), 0);
}

// A frame much wider than the display: every image column is more than one
// screen pixel's worth away from the next only in image pixels, so the
// position must not pass through the screen.
void TestBodyCommands::movePositionReachesEveryPixel()
{
    QTemporaryDir dir;
    const QString d = dir.path() + QLatin1Char('/');
    const int w = 1500, h = 40;
    writeFrame(d + "f_7000_0000.tif", w, h, 1000);

    Body body;
    body.resize(400, 300);
    body.show();
    QVERIFY(QTest::qWaitForWindowExposed(&body));
    ImgDispA *disp = child<ImgDispA>(&body, "dispA");
    QSignalSpy done(&body, &Body::finishBatchExec);
    body.execCmdSlot(CmdLine(QStringLiteral("load_I1_files NEW %1f_7000_0000.tif").arg(d)), false);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
    QVERIFY(disp->width() < w / 3);
    QVERIFY(disp->height() < h * 20);

    for (const QPoint p : {QPoint(613, 5), QPoint(614, 5), QPoint(615, 6), QPoint(1499, 39), QPoint(0, 0)}) {
        QCOMPARE(run(body, QStringLiteral("move_position %1 %2").arg(p.x()).arg(p.y())), 1);
        QCOMPARE(body.positionX(), p.x());
        QCOMPARE(body.positionY(), p.y());
        QCOMPARE(child<QLabel>(&body, "Position")->text(), QString::asprintf("(% 4d, % 4d)", p.x(), p.y()));
        // The value under the "mouse" is that pixel's own.
        const int v = 1000 + p.x() + 7 * p.y();
        QCOMPARE(child<QLabel>(&body, "Value")->text(), QString::number(v).insert(QString::number(v).size() - 3, ',') + ".00");
    }
    // The band sizes set the window summed at the position.
    QCOMPARE(run(body, "move_position 613 5"), 1);
    double sum = 0;
    for (int y = 0; y <= 15; ++y)
        for (int x = 603; x <= 623; ++x)
            sum += 1000 + x + 7 * y;
    QCOMPARE(body.traceAtPosition().size(), 1);
    QCOMPARE(body.traceAtPosition().y(0), sum);
    QCOMPARE(run(body, "set_band_w 0"), 1);
    QCOMPARE(run(body, "set_band_h 0"), 1);
    QCOMPARE(run(body, "move_position 613 5"), 1);
    QCOMPARE(body.traceAtPosition().y(0), 1000.0 + 613 + 35);
    QCOMPARE(run(body, "set_band_w 2"), 1);
    QCOMPARE(run(body, "move_position 613 5"), 1);
    QCOMPARE(body.traceAtPosition().y(0), 5 * (1000.0 + 613 + 35));

    // Zoomed in, the same holds.
    QCOMPARE(run(body, "select_region 600 0 700 40"), 1);
    QCOMPARE(run(body, "zoom_in"), 1);
    QCOMPARE(disp->viewWindow(), QRectF(600, 0, 100, 40));
    QCOMPARE(run(body, "move_position 651 33"), 1);
    QCOMPARE(body.positionX(), 651);
    QCOMPARE(body.positionY(), 33);
    QCOMPARE(run(body, "scale_reset"), 1);
    QCOMPARE(disp->viewWindow(), QRectF(0, 0, w, h));
}

QTEST_MAIN(TestBodyCommands)
#include "test_body_commands.moc"
