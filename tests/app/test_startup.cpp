#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// Starts the real program offscreen, as a user would from a shell.
class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void missingConfigFiles();
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

QTEST_GUILESS_MAIN(TestStartup)
#include "test_startup.moc"
