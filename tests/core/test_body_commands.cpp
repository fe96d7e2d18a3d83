#include "batch/gui/BatchCtrl.h"
#include "input/gui/EOFSetup.h"
#include "input/gui/SelectDataFiles.h"
#include "spectrum/gui/XafsView.h"
#include "widgets/gui/ColorBar.h"
#include "widgets/gui/ImgDispA.h"

#include "CoreWidgets.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

class TestBodyCommands : public QObject
{
    Q_OBJECT
private slots:
    void answersAndErrors();
    void commandsWriteControls();
    void loadsCompleteWhenTheLoaderEnds();
    void newLoadReplacesTheOneInFlight();
    void handStartedLoadLeavesTheScriptWaiting();
    void destroyedDuringALoad();
    void movePositionReachesEveryPixel();
    void failuresAreLogged();
    void energySetupCloses();
    void scriptSavesPicturesSpectraAndFrames();
};

static QString logText(Body &body)
{
    return child<QPlainTextEdit>(body.batchCtrl(), "ProgressLog")->toPlainText();
}

static std::function<int(int, int)> ramp(int base)
{
    return [base](int x, int y) { return base + x + 7 * y; };
}

static QStringList namesOf(const QVector<TiffData *> &stack)
{
    QStringList names;
    for (const TiffData *f : stack)
        names << f->fileName;
    return names;
}

// Every statement is answered once, except "quit"; unknown words go to the batch log.
void TestBodyCommands::answersAndErrors()
{
    Body body;
    QSignalSpy finishing(&body, &Body::finishing);
    QCOMPARE(runStatement(body, "quit", true), 1);
    QCOMPARE(runStatement(body, QString(), true), 1);
    QCOMPARE(finishing.count(), 0);
    QCOMPARE(runLines(body, ":for L i 1 3\n:NEXT L\n:echo hello"), QString());
    QCOMPARE(logText(body), QString());
    // Unknown words: the comment-free line; a line of blanks has an empty word.
    QCOMPARE(runLines(body, "frobnicate  1 \"a b\" # why\n   "), QString());
    QCOMPARE(logText(body), QStringLiteral("Err: frobnicate  1 \"a b\" \nErr:    \n"));
    QCOMPARE(runStatement(body, "QuIt"), 0);
    QCOMPARE(finishing.count(), 1);
}

// What a control shows: a field's text, "on"/"off" for a button, a list's entry.
static QString shown(QObject *owner, const char *name)
{
    QWidget *w = child<QWidget>(owner, name);
    if (auto *e = qobject_cast<QLineEdit *>(w))
        return e->text();
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return QString::fromLatin1(b->isChecked() ? "on" : "off");
    if (auto *c = qobject_cast<QComboBox *>(w))
        return c->currentText();
    return QStringLiteral("<unknown control>");
}

// Each word writes its own control only, as the argument reads (a word as 0, a flag on for 1).
void TestBodyCommands::commandsWriteControls()
{
    Body body;
    EOFSetup *s1 = body.i1Panel()->energySetup(), *s0 = body.i0Panel()->energySetup();
    QObject *i1 = body.i1Panel(), *i0 = body.i0Panel(), *v = body.xafsView(), *m = &body;
    QTemporaryDir dir;
    const QString ref = dir.filePath("angles.dat");
    QVERIFY(writeFile(ref, "angle\n14.0\n13.9\n"));
    const QVector<std::tuple<QString, QObject *, const char *, QString>> steps = {
        {"cut_f_i0 007", i0, "CutFirst", "7"},
        {"cut_f_i0 007", i1, "CutFirst", "0"},
        {"skip_i1 three", i1, "Skip", "0"},
        {"show_latest_i1 0", i1, "ShowLatest", "off"},
        {"show_latest_i0 2", i0, "ShowLatest", "off"},
        {"set_band_w 007", m, "HWidth", "7"},
        {"set_band_h wide", m, "VWidth", "0"},
        {"set_band_h -3", m, "VWidth", "-3"},
        {"set_fluo_type 1", m, "FluoType", "on"},
        {"set_fluo_type yes", m, "FluoType", "off"},
        {"eng_calc_base_i1 8100", s1, "Start", "8100"},
        {"eng_calc_base_i1 8100", s1, "End", "9100"},
        {"eng_calc_end_i1 9600", s1, "Delta", "1.5"},
        {"eng_calc_num_i1 500", s1, "Delta", "3"},
        {"eng_calc_delta_i1 0.25", s1, "End", "8225"},
        {"eng_calc_base_i0 8979.123456", s0, "Start", "8979.12"},
        {"eng_by_calc_i0 1", s0, "FromFileNum", "on"},
        {"eng_calc_even_in_deg_i1 1", s1, "EvenInAngle", "on"},
        {"eng_calc_disp_unit_i1 1", s1, "DisplayUnit", "keV"},
        {"eng_calc_disp_unit_i1 3", s1, "DisplayUnit", "keV"},
        {"eng_calc_disp_unit_i1 -1", s1, "DisplayUnit", "keV"},
        {"set_i0_energy_pattern \\d_\\d\\d\\d\\d\\d\\dKeV", s0, "Pattern",
         "\\d_\\d\\d\\d\\d\\d\\dKeV"},
        {"eng_by_name_reg_exp_i1 \"a b\"", s0, "Factor", "1"},
        {"eng_by_name_reg_exp_i1 \"a b\"", s1, "Pattern", "a b"},
        {"eng_by_name_factor_i1 1000.0000001", s1, "Factor", "1000"},
        {"eng_by_ref_i1 " + ref, s1, "FromRefFile", "on"},
        {"eng_by_ref_i1 " + ref, s1, "RefFilePath", ref},
        {"eng_by_calc_i1 1", s1, "FromFileNum", "on"},
        // A display outside 0 and 1 keeps the choice; without frames "Img. No." stays 0.
        {"select_disp_image 1", m, "ShowI0", "on"},
        {"select_disp_image 9", m, "ShowI0", "on"},
        {"select_disp_image 0", m, "ShowData", "on"},
        {"seek_image 4", m, "ImgNo", "0"},
        {"seek_image last", m, "ImgNo", "0"},
        {"xafs_view_enerugy_correction 1", v, "ECorrect", "on"}};
    for (const auto &[statement, owner, control, expected] : steps) {
        QCOMPARE(runStatement(body, statement), 1);
        QVERIFY2(shown(owner, control) == expected,
                 qPrintable(statement + ": " + control + " shows " + shown(owner, control)));
        QCOMPARE(body.stacks().fluorescence(), statement == "set_fluo_type 1");
    }
    const double e1 = 12398.424360387684 / (2 * 3.13553 * std::sin(13.9 * 3.1415926535 / 180));
    QCOMPARE(runLines(body, "eng_by_ref_i1 " + ref), QString());
    QCOMPARE(s1->energyOf(QStringLiteral("x.tif"), 1), e1);
    // The area is stored as given, a negative width included.
    ImgDispA *disp = child<ImgDispA>(&body, "dispA");
    QCOMPARE(runLines(body, "select_region 10 20 4 30"), QString());
    QVERIFY(disp->hasSelection());
    QCOMPARE(disp->selectedArea(), QRectF(10, 20, -6, 10));
}

// A load holds the script until its loader has read the whole list.
void TestBodyCommands::loadsCompleteWhenTheLoaderEnds()
{
    QTemporaryDir dir;
    const QString d = dir.path() + QLatin1Char('/');
    for (int k : {3, 0, 2, 1})
        QVERIFY(writeFrameFile(d + QStringLiteral("f_%1_0000.tif").arg(7000 + 10 * k), 20, 10,
                               ramp(100 * k)));
    QVERIFY(writeFrameFile(d + "other.tif", 20, 10, ramp(0)));

    Body body;
    QCOMPARE(runLines(body, "load_I1_files NEW"), QString());
    QSignalSpy done(&body, &Body::finishBatchExec);
    body.execCmdSlot(
        CmdLine(QStringLiteral("load_I1_files new %1f_7010_0000.tif %1f_7030_0000.tif").arg(d)),
        false);
    QCOMPARE(done.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, 20000);
    QCOMPARE(body.stacks().i1().size(), 2);
    QCOMPARE(body.stacks().i1().at(1)->energy, 7030.0);

    QVERIFY(runAndWait(body, QStringLiteral("load_I1_files add %1other.tif").arg(d)));
    QCOMPARE(body.stacks().i1().size(), 3);
    QVERIFY(runAndWait(
        body, QStringLiteral("load_I0_files_of_pattern NEW %1 f_70?0_*.tif nothing*.img").arg(d)));
    QStringList names;
    for (int k = 0; k < 4; ++k) {
        names << d + QStringLiteral("f_%1_0000.tif").arg(7000 + 10 * k);
        QCOMPARE(body.stacks().i0().value(k)->energy, 7000.0 + 10 * k);
    }
    QCOMPARE(namesOf(body.stacks().i0()), names);
    QCOMPARE(body.stacks().i1().size(), 3);

    QCOMPARE(runLines(body, "clear_I1_files"), QString());
    QVERIFY(body.stacks().i1().isEmpty() && body.i1Panel()->count() == 0);
}

// A frame much wider than the display: the position must not pass through screen pixels.
void TestBodyCommands::movePositionReachesEveryPixel()
{
    QTemporaryDir dir;
    const QString d = dir.path() + QLatin1Char('/');
    const int w = 1500, h = 40;
    QVERIFY(writeFrameFile(d + "f_7000_0000.tif", w, h, ramp(1000)));

    Body body;
    body.resize(400, 300);
    body.show();
    QVERIFY(QTest::qWaitForWindowExposed(&body));
    ImgDispA *disp = child<ImgDispA>(&body, "dispA");
    QVERIFY(runAndWait(body, QStringLiteral("load_I1_files NEW %1f_7000_0000.tif").arg(d)));
    QVERIFY(disp->width() < w / 3 && disp->height() < h * 20);

    for (const QPoint p :
         {QPoint(613, 5), QPoint(614, 5), QPoint(615, 6), QPoint(1499, 39), QPoint(0, 0)}) {
        QCOMPARE(runLines(body, QStringLiteral("move_position %1 %2").arg(p.x()).arg(p.y())),
                 QString());
        QCOMPARE(QPoint(body.positionX(), body.positionY()), p);
        QCOMPARE(child<QLabel>(&body, "Position")->text(),
                 QString::asprintf("(% 4d, % 4d)", p.x(), p.y()));
        const int v = 1000 + p.x() + 7 * p.y();
        QCOMPARE(child<QLabel>(&body, "Value")->text(),
                 QString::number(v).insert(QString::number(v).size() - 3, ',') + ".00");
    }
    QCOMPARE(runLines(body, "select_region 600 0 700 40\nzoom_in"), QString());
    QCOMPARE(disp->viewWindow(), QRectF(600, 0, 100, 40));
    QCOMPARE(runLines(body, "move_position 651 33"), QString());
    QCOMPARE(QPoint(body.positionX(), body.positionY()), QPoint(651, 33));
    QCOMPARE(runLines(body, "scale_reset"), QString());
    QCOMPARE(disp->viewWindow(), QRectF(0, 0, w, h));
}

// A "New" load gives up the one in flight; the statement that waited for it is answered.
void TestBodyCommands::newLoadReplacesTheOneInFlight()
{
    QTemporaryDir dir;
    const QStringList a = writeFrames(dir.path(), "a", 40);
    const QStringList b = writeFrames(dir.path(), "b", 40);
    Body body;
    QSignalSpy loaded(&body, &Body::stackLoaded);
    body.readI1Files(a, true);
    body.readI1Files(b, true);
    QVERIFY(loaded.wait(20000));
    QCOMPARE(namesOf(body.stacks().i1()), b);
    QCOMPARE(body.i1Panel()->count(), 40);

    QSignalSpy done(&body, &Body::finishBatchExec);
    body.execCmdSlot(CmdLine("load_I1_files NEW " + a.join(' ')), false);
    body.readI1Files(b, true);
    QVERIFY(loaded.wait(20000));
    QCOMPARE(QPoint(done.count(), loaded.count()), QPoint(1, 2));
    QCOMPARE(namesOf(body.stacks().i1()), b);
}

// Only the end of the load a statement started answers it.
void TestBodyCommands::handStartedLoadLeavesTheScriptWaiting()
{
    QTemporaryDir dir;
    const QStringList a = writeFrames(dir.path(), "a", 40);
    Body body;
    QStringList events;
    connect(&body, &Body::stackLoaded, this, [&](int s) { events << QString::number(s); });
    connect(&body, &Body::finishBatchExec, this, [&] { events << "answer"; });
    body.execCmdSlot(CmdLine("load_I0_files NEW " + a.join(' ')), false);
    body.readI1Files(a.mid(0, 1), true);
    QTRY_COMPARE_WITH_TIMEOUT(events.size(), 3, 20000);
    QTest::qWait(50);
    // I1 = 0, I0 = 1: the answer follows the I0 load the statement started.
    QCOMPARE(events.count("answer"), 1);
    QCOMPARE(events.indexOf("answer"), events.indexOf("1") + 1);
}

// Destroyed while loading: every frame, also those not delivered, is freed (leak check).
void TestBodyCommands::destroyedDuringALoad()
{
    QTemporaryDir dir;
    const QStringList a = writeFrames(dir.path(), "a", 300);
    auto *body = new Body;
    body->readI1Files(a, true);
    body->readI0Files(a, true);
    QTRY_VERIFY_WITH_TIMEOUT(!body->stacks().i1().isEmpty(), 20000);
    delete body;
}

// A statement that cannot do its work is marked in the batch log with the reason it logged.
void TestBodyCommands::failuresAreLogged()
{
    QTemporaryDir dir;
    const QString d = dir.path() + QLatin1Char('/');
    writeFrames(dir.path(), "f", 2);
    Body body;
    QString expected;
    for (QString f : {"analyzer_exec_LCF (LCF run not started: no I1 frames)",
                      "analyzer_exec_elems (Element run not started: no I1 frames)",
                      "analyzer_exec_ra (Residual absorption not run: no I1 frames)",
                      "calib_exec (Calibration not started: no I1 frames)",
                      "analyzer_set_LCF_std 1 1 0 %1n.dat (LCF reference %1n.dat gave no spectrum)",
                      "calib_load_std %1n.dat (Standard spectrum not loaded : %1n.dat)",
                      "calib_load_map %1n.emp (Can not open %1n.emp)",
                      "analyzer_load_map 1 %1n.emp (Can not open %1n.emp)",
                      "load_dark_file %1n.tif (Can not open (1) %1n.tif)"}) {
        f.replace("%1", d);
        expected += "Err: " + f + "\n";
        QCOMPARE(runStatement(body, f.section(" (", 0, 0)), 1);
    }
    QVERIFY(runAndWait(body, "load_I1_files_of_pattern NEW " + d + " f_*.tif"));
    QVERIFY(runAndWait(body, "load_I1_files_of_pattern ADD " + d + " g_*.tif x_*.tif"));
    QCOMPARE(body.stacks().i1().size(), 2);
    QVERIFY(runAndWait(body, "load_I0_files NEW " + d + "f_7001_0000.tif"));
    QVERIFY(runAndWait(body, "load_I0_files_of_pattern NEW " + d + "n/ *.tif"));
    QCOMPARE(body.stacks().i0().size(), 0);
    expected += QStringLiteral("Err: load_I1_files_of_pattern ADD %1 g_*.tif x_*.tif (no file in "
                               "%1 matches g_*.tif x_*.tif; nothing loaded)\nErr: "
                               "load_I0_files_of_pattern NEW %1n/ *.tif (no folder %1n/; the I0 "
                               "stack is now empty)\n")
                    .arg(d);
    QCOMPARE(logText(body), expected);

    QVERIFY(runAndWait(body, "load_I0_files NEW " + d + "f_7001_0000.tif"));
    QCOMPARE(runLines(body, "seek_image 0\nmove_position 1 1\nselect_region 0 0 4 3"), QString());
    const QStringList saves = {"save_image %1p.png",        "save_image_w_num %1p.png 3",
                               "save_spectra %1s.dat",      "save_each_spectrum %1e.dat",
                               "save_all_images %1m.png",   "save_data %1m.dat",
                               "save_data_as_tiff %1m.tif", "calib_save_map %1m.emp"};
    for (const QString &save : saves) {
        QCOMPARE(runStatement(body, save.arg(d + "n/")), 1);
        const QString last = logText(body).section('\n', -2);
        QVERIFY(last.startsWith("Err: " + save.arg(d + "n/") + " (") && last.endsWith(")\n"));
    }
    const QString log = logText(body);
    for (const QString &save : saves.mid(0, 4))
        QCOMPARE(runStatement(body, save.arg(d)), 1);
    QCOMPARE(logText(body), log);
    QVERIFY(QFile::exists(d + "p.png") && QFile::exists(d + "e.dat"));
}

// The energy setup of a panel closes by its Close button and by Escape.
void TestBodyCommands::energySetupCloses()
{
    Body body;
    auto *open = child<QAbstractButton>(body.i1Panel(), "EngOfFilesSetup");
    EOFSetup *setup = body.i1Panel()->findChild<EOFSetup *>();
    QTest::mouseClick(open, Qt::LeftButton);
    QTest::mouseClick(child<QAbstractButton>(setup, "CloseB"), Qt::LeftButton);
    QVERIFY(!setup->isVisible());
    QTest::mouseClick(open, Qt::LeftButton);
    QVERIFY(setup->isVisible());
    QTest::keyClick(child<QLineEdit>(setup, "Start"), Qt::Key_Escape);
    QVERIFY(!setup->isVisible());
}

void TestBodyCommands::scriptSavesPicturesSpectraAndFrames()
{
    // 6 x 5 frames: I1 k holds 50 + 100 k + x + 7 y, I0 1000, the dark 10.
    const auto fileLines = [](const QString &path) { return QString(readFile(path)).split('\n'); };
    const auto samePicture = [](const QString &path, const QImage &want) {
        return QImage(path).convertToFormat(want.format()) == want;
    };
    QTemporaryDir dir;
    const QString d = dir.path() + QLatin1Char('/');
    for (int k = 0; k < 3; ++k)
        QVERIFY(writeFrameFile(d + QStringLiteral("i1_%1_0000.tif").arg(7000 + 10 * k), 6, 5,
                               [k](int x, int y) { return 50 + 100 * k + x + 7 * y; }));
    for (const char *name : {"i0_7000_0000.tif", "i0_7020_0000.tif", "dark.tif"})
        QVERIFY(writeFrameFile(d + name, 6, 5,
                               [name](int, int) { return name[0] == 'd' ? 10 : 1000; }));
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir.path());
    Body body;
    QVERIFY(runAndWait(body, "load_I0_files_of_pattern NEW " + d + " i0_*.tif"));
    QVERIFY(runAndWait(body, "load_I1_files_of_pattern NEW " + d + " i1_*.tif"));

    // The frame on show, cut to the view window, and the colour bar beside it.
    QCOMPARE(runLines(body,
                      QStringLiteral("seek_image 1\nsave_image %1shot.png\nselect_region 2 1 5 4\n"
                                     "zoom_in\nsave_image_w_num %1shot.png 3\nscale_reset")
                          .arg(d)),
             QString());
    const QImage picture = body.stacks().i1().at(1)->picture();
    QVERIFY(samePicture(d + "shot.png", picture.copy(0, 0, 6, 5)));
    QVERIFY(samePicture(d + "shot-cBar.png", child<ColorBar>(&body, "CBar")->picture()));
    QVERIFY(samePicture(d + "shot-3.png", picture.copy(2, 1, 3, 3)));
    QVERIFY(QFile::exists(d + "shot-3-cBar.png"));

    // One-pixel bins over x 1..4, y 1..3; raw sums at (1, 1) 50 + 100 k + 8 (no dark).
    QCOMPARE(runLines(body,
                      QStringLiteral("load_dark_file %1dark.tif\nselect_region 1 1 5 4\n"
                                     "set_band_w 0\nset_band_h 0\nsave_each_spectrum_kind 2\n"
                                     "save_each_spectrum %1raw\nsave_each_spectrum_kind 1\n"
                                     "save_each_spectrum_kind 7\nsave_each_spectrum %1xafs.dat\n"
                                     "save_each_spectrum_kind 0\nsave_each_spectrum %1norm.dat\n"
                                     "clear_dark_file\nsave_flat_dark")
                          .arg(d)),
             QString());
    const QStringList raw = fileLines(d + "raw.dat");
    QCOMPARE(raw.size(), 7 + 12 + 1);
    QCOMPARE(raw.mid(0, 8),
             QStringList({"# Lumenograf Save Raw Spectra 1.0", "# X-Range (x0, x1), steps : 1 5 4",
                          "# Y-Range (y0, y1), steps : 1 4 3", "# Full Width, Height      : 6 5",
                          "# Bin Half Width, Height  : 0 0", "# Step dX, dY             : 1 1",
                          "# End of Header", "1 1 7000 58 7010 158 7020 258"}));
    QString line = QStringLiteral("2 3 0");
    for (int k = 0; k < 3; ++k) {
        QString v;
        QTextStream(&v) << std::log(990.0 / (50 + 100 * k + 2 + 21 - 10));
        line += QStringLiteral(" %1 %2").arg(7000 + 10 * k).arg(v);
    }
    QCOMPARE(fileLines(d + "xafs.dat").value(7 + 4 * 2 + 1), line);
    QCOMPARE(fileLines(d + "norm.dat").value(0),
             QStringLiteral("# Lumenograf Save Normalized Xafs Spectra 1.0"));
    QVERIFY(!body.stacks().hasDark());
    for (const char *name : {"flat.dat", "dark.dat"}) {
        TiffData t;
        QVERIFY(t.read(d + name) && QSize(t.width(), t.height()) == QSize(6, 5));
    }
    QDir::setCurrent(cwd);
}

QTEST_MAIN(TestBodyCommands)
#include "test_body_commands.moc"
