#include "TestFiles.h"

#include <QtTest>

// Starts the real program offscreen, as a user would from a shell.
class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void quitScriptEndsTheProgram();
};

// A script that only says "quit" ends the program by itself with exit code 0.
// "-b" hands the file to the batch window and "-x" starts it after the main
// window is shown; the word is matched in any case.
void TestStartup::quitScriptEndsTheProgram()
{
    QTemporaryDir dir;
    const QString script = dir.filePath("quit.bat");
    QVERIFY(writeFile(script, "# nothing to do but mistakes\nfrobnicate 1\ncalib_exec\nQUIT\n"));
    QProcess p;
    p.setWorkingDirectory(dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(LUMENOGRAF_EXE, {"-e", "-b", script, "-x"});
    const bool ended = p.waitForFinished(120000);
    if (!ended) {
        p.kill();
        p.waitForFinished(10000);
    }
    const QByteArray err = p.readAllStandardError();
    QVERIFY2(ended && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, err.constData());
    // The words reached the main window, and none was unknown; the batch log
    // shows on standard output as it goes, mistakes included.
    QVERIFY2(!err.contains("not available"), err.constData());
    QCOMPARE(p.readAllStandardOutput(),
             QByteArray("Err: frobnicate 1\ncalib_exec : \n"
                        "Err: calib_exec (Calibration not started: no I1 frames)\nQUIT : \n"));
}

QTEST_GUILESS_MAIN(TestStartup)
#include "test_startup.moc"
