#include "BatchHarness.h"
#include "CoreWidgets.h"
#include "LogCapture.h"
#include "app/Settings.h"
#include "batch/gui/BatchCtrl.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

class TestBatchCtrl : public QObject
{
    Q_OBJECT
private slots:
    void runAndStopFromButtons();
    void saveAndLoadThroughDialogs();
    void loadFailures();
};

static QPushButton *button(BatchCtrl &w, const char *name)
{
    return child<QPushButton>(&w, name);
}
static QPlainTextEdit *editor(BatchCtrl &w, const char *name)
{
    return child<QPlainTextEdit>(&w, name);
}

// Types the lines as a user would, Return between them.
static void type(QPlainTextEdit *e, const QString &text)
{
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(e, Qt::Key_Return);
        QTest::keyClicks(e, lines[i]);
    }
}

// Runs `act` on the next file dialog once it is up. A busy machine can take
// seconds to open a dialog, so it keeps looking for a minute: giving up early
// would leave the modal dialog open and the test hanging.
static void onDialog(std::function<void(QFileDialog *)> act, int tries = 6000)
{
    QTimer::singleShot(10, [=] {
        if (auto *d = qobject_cast<QFileDialog *>(QApplication::activeModalWidget()))
            act(d);
        else if (tries > 0)
            onDialog(act, tries - 1);
    });
}

// Answers the next file dialog the way a user would: checks where it opened,
// types the name and accepts.
static void answerDialog(const QString &fileName, QString *openedIn, bool *saving)
{
    onDialog([=](QFileDialog *d) {
        *openedIn = d->directory().absolutePath();
        *saving = d->acceptMode() == QFileDialog::AcceptSave;
        QCOMPARE(d->nameFilters(), QStringList({"Batch File (*.bat)", "Any Files (* *.*)"}));
        d->selectFile(fileName);
        // selectFile leaves the name field alone while it has the focus, which
        // it may already have when the dialog is up: type the name there.
        if (auto *name = d->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            name->setText(fileName);
        QMetaObject::invokeMethod(d, "accept");
    });
}

void TestBatchCtrl::runAndStopFromButtons()
{
    BatchRig rig;
    BatchCtrl w;
    w.setDispatcher(rig.dispatcher);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QSignalSpy stops(&w, &BatchCtrl::batchStop);
    // Log text goes in as it is, always at the end.
    w.Log("a\n");
    editor(w, "ProgressLog")->moveCursor(QTextCursor::Start);
    w.Log("b");
    w.Log("c\n");
    QCOMPARE(editor(w, "ProgressLog")->toPlainText(), QStringLiteral("a\nbc\n"));
    QTest::mouseClick(button(w, "ClearLogB"), Qt::LeftButton);

    QPlainTextEdit *cmds = editor(w, "BatchCmds");
    cmds->setFocus();
    type(cmds, ":for L i 1 2\nsave_spectra s_i.dat\n\n:next L");
    QTest::mouseClick(button(w, "ExecB"), Qt::LeftButton);
    rig.settle();
    QCOMPARE(rig.sent(), QStringList({":for|L|i|1|2", "save_spectra|s_1.dat", "[]", ":next|L",
                                      "save_spectra|s_2.dat", "[]", ":next|L"}));
    QCOMPARE(editor(w, "ProgressLog")->toPlainText(),
             QStringLiteral(
                 "for L : i = 1\nsave_spectra : s_1.dat\nnext L : i = 2\nsave_spectra : s_2.dat\n"
                 "next L : i = 2\n"));

    // Stop while a long command runs: nothing follows it.
    QTest::mouseClick(button(w, "ClearLogB"), Qt::LeftButton);
    QTest::mouseClick(button(w, "ClearB"), Qt::LeftButton);
    QCOMPARE(cmds->toPlainText(), QString());
    type(cmds, "calib_exec\nsave_image after.png");
    rig.executor.holdWord = QStringLiteral("calib_exec");
    rig.spy->clear();
    QTest::mouseClick(button(w, "ExecB"), Qt::LeftButton);
    rig.settle();
    QCOMPARE(rig.sent(), QStringList({"calib_exec"}));
    QTest::mouseClick(button(w, "StopB"), Qt::LeftButton);
    QCOMPARE(stops.count(), 1);
    rig.settle();
    rig.answer();
    QCOMPARE(rig.sent(), QStringList({"calib_exec"}));
    QCOMPARE(editor(w, "ProgressLog")->toPlainText(), QStringLiteral("calib_exec : \n"));
}

void TestBatchCtrl::saveAndLoadThroughDialogs()
{
    QTemporaryDir dir;
    settings().batchRoot = dir.path();
    BatchCtrl w;
    w.show();
    QPlainTextEdit *cmds = editor(w, "BatchCmds");
    cmds->setPlainText(QStringLiteral("load_I1_files NEW \"a b.tif\"\n\n:end\n# \u00e9nergie"));

    QString openedIn;
    bool saving = false;
    const QString path = dir.filePath("run.bat");
    answerDialog(path, &openedIn, &saving);
    QTest::mouseClick(button(w, "SaveB"), Qt::LeftButton);
    QCOMPARE(openedIn, QDir(dir.path()).absolutePath());
    QVERIFY(saving);
    QCOMPARE(readFile(path), QByteArray("load_I1_files NEW \"a b.tif\"\n\n:end\n# \xc3\xa9nergie"));

    // Loading puts a line feed after every line read.
    cmds->setPlainText(QStringLiteral("something else"));
    QVERIFY(writeFile(dir.filePath("other.bat"), "skip_i0 2\r\n:for L i 1 2\n\n:next L"));
    answerDialog(dir.filePath("other.bat"), &openedIn, &saving);
    QTest::mouseClick(button(w, "LoadB"), Qt::LeftButton);
    QVERIFY(!saving);
    QCOMPARE(openedIn, QDir(dir.path()).absolutePath());
    QCOMPARE(cmds->toPlainText(), QStringLiteral("skip_i0 2\n:for L i 1 2\n\n:next L\n"));

    // The file named at start-up, then run at once.
    BatchRig rig;
    w.setDispatcher(rig.dispatcher);
    w.setBatchFile(path);
    QCOMPARE(cmds->toPlainText(),
             QStringLiteral("load_I1_files NEW \"a b.tif\"\n\n:end\n# \u00e9nergie\n"));
    w.execBatchSlot();
    rig.settle();
    QCOMPARE(rig.sent(), QStringList({"load_I1_files|NEW|a b.tif", "[]"}));
    QCOMPARE(rig.flags(), QStringLiteral(".r"));
}

void TestBatchCtrl::loadFailures()
{
    QTemporaryDir dir;
    BatchCtrl w;
    QPlainTextEdit *cmds = editor(w, "BatchCmds");
    cmds->setPlainText(QStringLiteral("keep me"));
    LogCapture log;
    const QString missing = dir.filePath("missing.bat");
    QVERIFY(!w.load(missing));
    QVERIFY(!w.setBatchFile(missing));
    QCOMPARE(cmds->toPlainText(), QStringLiteral("keep me"));
    // A failed save says so and writes nothing.
    const QString nowhere = dir.filePath("no/such/folder/x.bat");
    QVERIFY(!w.save(nowhere));
    QVERIFY(!QFile::exists(nowhere));

    // A file too large to be a script, an endless device and a line longer
    // than any statement leave the editor alone.
    QFile big(dir.filePath("big.bat"));
    const QString longLine = dir.filePath("long.bat");
    QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(17 * 1024 * 1024));
    QVERIFY(writeFile(longLine, "save_image a\n" + QByteArray(2 * 1024 * 1024, 'x')));
    for (const QString &f : {big.fileName(), QStringLiteral("/dev/zero"), longLine})
        QVERIFY(!w.load(f));
    QCOMPARE(cmds->toPlainText(), QStringLiteral("keep me"));
    QCOMPARE(log.lines(),
             QStringList({"Can't open batch file : " + missing,
                          "Can't open batch file : " + missing,
                          "Can't write batch file : " + nowhere + " : No such file or directory",
                          "Batch file too large : " + big.fileName(),
                          "Not a regular file /dev/zero", "Line too long in " + longLine}));

    // Cancelling the dialog changes nothing.
    onDialog([](QFileDialog *d) { d->reject(); });
    QTest::mouseClick(button(w, "LoadB"), Qt::LeftButton);
    QCOMPARE(cmds->toPlainText(), QStringLiteral("keep me"));
}

QTEST_MAIN(TestBatchCtrl)
#include "test_batch_ctrl.moc"
