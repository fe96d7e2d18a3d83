#include "app/OptionTable.h"
#include "app/Settings.h"
#include "LogCapture.h"
#include "SpecFiles.h"

#include <QTemporaryDir>
#include <QtTest>

class TestOptions : public QObject
{
    Q_OBJECT
private slots:
    void table();
    void commandLine();
    void configFile();
    void settle();

private:
    QString writeFile(const QString &name, const QByteArray &text);
    QTemporaryDir dir;
};

QString TestOptions::writeFile(const QString &name, const QByteArray &text)
{
    const QString path = dir.filePath(name);
    ::writeFile(path, text);
    return path;
}

void TestOptions::table()
{
    // The first of keys alike wins; keys are case-sensitive; reading marks used.
    OptionTable t;
    t.add("Key", "first", "x1");
    t.add("key", "lower", "x2");
    t.add("Key", "second", "x3");
    QCOMPARE(t.keys, QStringList({"Key", "key"}));
    QCOMPARE(t.values, QStringList({"first", "lower"}));
    QCOMPARE(t.upperKeys, QStringList({"KEY"}));
    QCOMPARE(t.allValues, QStringList({"first", "lower", "second"}));
    QCOMPARE(t.value("Key", "dflt"), QStringLiteral("first"));
    QCOMPARE(t.value("KEY", "dflt"), QStringLiteral("dflt"));
    QCOMPARE(t.usedFlags, QByteArray("\1\0\0", 3));
}

void TestOptions::commandLine()
{
    OptionTable t;
    readCommandLine(t, {"lumenograf", "stray", "-d", "-x", "-b", "run.bat", "-e", "ignored", "-b",
                        "other.bat"});
    QCOMPARE(t.allKeys, QStringList({"-d", "-x", "-b", "-e", "-b"}));
    QCOMPARE(t.allValues, QStringList({"", "", "run.bat", "ignored", "other.bat"}));
    QCOMPARE(t.value("-b"), QStringLiteral("run.bat"));
    QVERIFY(t.contains("-x"));
    QCOMPARE(t.value("-d", "none"), QString());
}

void TestOptions::configFile()
{
    const QString cfg = writeFile("quoted.cfg", "# a remark line\n"
                                                "\n"
                                                "   \t \n"
                                                "DataRoot \"D:/my data\" # where frames live\n"
                                                "DataRoot E:/second\n"
                                                "BatchRoot /scripts extra words\n");
    OptionTable t;
    QVERIFY(readConfigFile(t, cfg));
    QCOMPARE(t.allKeys, QStringList({"DataRoot", "DataRoot", "BatchRoot"}));
    QCOMPARE(t.value("DataRoot"), QStringLiteral("D:/my data"));
    QCOMPARE(t.value("BatchRoot"), QStringLiteral("/scripts"));
    QCOMPARE(t.allExtras.at(0), QStringLiteral(" \"D:/my data\" "));
    QCOMPARE(t.allExtras.at(2), QStringLiteral(" /scripts extra words"));

    LogCapture log;
    OptionTable empty;
    QVERIFY(!readConfigFile(empty, dir.filePath("missing.cfg")));
    QCOMPARE(log.lines(), QStringList{"Can't open config file : " + dir.filePath("missing.cfg")});
    QVERIFY(empty.allKeys.isEmpty());

    // Neither an endless device nor an endless line holds up the start.
    log.clear();
    QVERIFY(!readConfigFile(empty, QStringLiteral("/dev/zero")));
    const QString endless =
        writeFile("endless.cfg", "DataRoot /d\n" + QByteArray(1024 * 1024 + 1, 'k'));
    QVERIFY(!readConfigFile(empty, endless));
    QCOMPARE(log.lines(),
             QStringList({"Not a regular file /dev/zero", "Line too long in " + endless}));
    QCOMPARE(empty.allKeys, QStringList{"DataRoot"});
}

void TestOptions::settle()
{
    const QString shows =
        writeFile("shows.cfg",
                  "ShowAnalyzer2Button 1\nDataRoot /from/file\nBatchRoot /batch/file\n");
    const QString a = writeFile("a.cfg", "DataRoot /a\n");
    const QString b = writeFile("b.cfg", "DataRoot /b\n");

    struct Case
    {
        QStringList args;
        QString dataRoot, batchRoot;
        bool button;
    };
    const QList<Case> cases = {
        {{"p", "-config", a, "-c", b}, "/a", "/home0", false},
        {{"p", "-c", b}, "/b", "/home0", false},
        {{"p", "-c", shows}, "/from/file", "/batch/file", true},
        {{"p", "-c", shows, "-showA2B"}, "/from/file", "/batch/file", false},
        {{"p", "-c", shows, "-showA2B", "0"}, "/from/file", "/batch/file", false},
        {{"p", "-c", a, "-showA2B", "1"}, "/a", "/home0", true},
        {{"p", "-c", shows, "-d", "/cmd", "-br", "/cmdb"}, "/cmd", "/cmdb", true},
        {{"p", "-c", shows, "-d", "-x"}, "", "/batch/file", true},
    };
    for (const Case &c : cases) {
        OptionTable t;
        readCommandLine(t, c.args);
        Settings s("/home0");
        settleSettings(t, s);
        QCOMPARE(s.dataRoot, c.dataRoot);
        QCOMPARE(s.batchRoot, c.batchRoot);
        QCOMPARE(s.showAnalyzer2Button, c.button);
    }

    OptionTable t;
    readCommandLine(t, {"p", "-c", a, "-b", "run.bat", "-x", "-e", "-unknown", "v"});
    Settings s("/r");
    settleSettings(t, s);
    QCOMPARE(s.configFile, a);
    QCOMPARE(s.batchFile, QStringLiteral("run.bat"));
    QVERIFY(s.runBatch);
    QVERIFY(!s.translate);
    // Every option start-up reads is marked; the unknown one is not.
    const int unknown = t.allKeys.indexOf("-unknown");
    for (int i = 0; i < t.allKeys.size(); ++i)
        QCOMPARE(t.usedFlags.at(i) == 1, i != unknown);

    // "-c" without a file name makes the configuration file "", which cannot be opened.
    LogCapture log;
    OptionTable t2;
    readCommandLine(t2, {"p", "-c"});
    Settings s2("/r");
    settleSettings(t2, s2);
    QCOMPARE(s2.configFile, QString());
    QCOMPARE(s2.dataRoot, QStringLiteral("/r"));
    QVERIFY(log.contains("Can't open config file :"));
}

QTEST_APPLESS_MAIN(TestOptions)
#include "test_options.moc"
