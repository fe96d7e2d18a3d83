#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// Starts the real program offscreen, as a user would from a shell.
class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void missingConfigFiles();
    void quitScriptEndsTheProgram();
};

void TestStartup::missingConfigFiles()
{
    QTemporaryDir dir;
    QProcess p;
    p.setWorkingDirectory(dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(LUMENOGRAF_EXE, {"-e", "-config", "a.cfg", "-c", "b.cfg"});
    QVERIFY(p.waitForStarted(10000));
    QByteArray err;
    QElapsedTimer t;
    t.start();
    while (!err.contains("Can't open config file") && t.elapsed() < 30000) {
        p.waitForReadyRead(200);
        err += p.readAllStandardError();
    }
    p.terminate();
    p.waitForFinished(10000);
    err += p.readAllStandardError();
    QVERIFY2(err.contains("Can't open config file : a.cfg\n"), err.constData());
    QVERIFY(!err.contains("b.cfg"));
}

// A script that only says "quit" ends the program by itself with exit code 0.
// "-b" hands the file to the batch window and "-x" starts it after the main
// window is shown; the word is matched in any case.
void TestStartup::quitScriptEndsTheProgram()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString script = dir.filePath("quit.bat");
    {
        QFile f(script);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Text));
        f.write("# nothing to do but mistakes\nfrobnicate 1\ncalib_exec\nQUIT\n");
    }
    QProcess p;
    p.setWorkingDirectory(dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(LUMENOGRAF_EXE, {"-e", "-b", script, "-x"});
    QVERIFY(p.waitForStarted(10000));
    const bool ended = p.waitForFinished(120000);
    if (!ended) {
        p.kill();
        p.waitForFinished(10000);
    }
    const QByteArray err = p.readAllStandardError();
    QVERIFY2(ended, err.constData());
    QCOMPARE(p.exitStatus(), QProcess::NormalExit);
    QVERIFY2(p.exitCode() == 0, err.constData());
    // The words of the script reached the main window, and none was unknown.
    QVERIFY2(!err.contains("not available"), err.constData());
    // A run started by "-x" shows the batch log on standard output, its
    // mistakes included, as it goes.
    QCOMPARE(p.readAllStandardOutput(),
             QByteArray("Err: frobnicate 1\ncalib_exec : \n"
                        "Err: calib_exec (Calibration not started: no I1 frames)\nQUIT : \n"));
}

QTEST_GUILESS_MAIN(TestStartup)
#include "test_startup.moc"
