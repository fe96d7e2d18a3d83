#include "app/OptionTable.h"
#include "app/Settings.h"
#include "app/Tokenizer.h"
#include "LogCapture.h"
#include "TestFiles.h"

#include <QtTest>

class TestOptions : public QObject
{
    Q_OBJECT
private slots:
    void commandLine();
    void configFile();
    void settle();
    void items_data();
    void items();
    void commentsAndContinuation();

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

void TestOptions::commandLine()
{
    // An option takes the next word unless it is an option; of keys alike
    // the first wins, case counts; reading a value marks it used.
    OptionTable t;
    readCommandLine(t, {"lumenograf", "stray", "-d", "-x", "-b", "run.bat", "-e", "ignored", "-b",
                        "other.bat", "-B", "upper"});
    QCOMPARE(t.allKeys, QStringList({"-d", "-x", "-b", "-e", "-b", "-B"}));
    QCOMPARE(t.allValues, QStringList({"", "", "run.bat", "ignored", "other.bat", "upper"}));
    QCOMPARE(t.keys, QStringList({"-d", "-x", "-b", "-e", "-B"}));
    QCOMPARE(t.upperKeys, QStringList({"-D", "-X", "-B", "-E"}));
    QCOMPARE(t.value("-b"), QStringLiteral("run.bat"));
    QCOMPARE(t.value("-B"), QStringLiteral("upper"));
    QCOMPARE(t.value("-y", "none"), QStringLiteral("none"));
    QCOMPARE(t.usedFlags, QByteArray("\0\0\1\0\0\1", 6));
}

void TestOptions::configFile()
{
    const QString cfg =
        writeFile("quoted.cfg", "# a remark line\n\n   \t \n"
                                "DataRoot \"D:/my data\" # where frames live\n"
                                "DataRoot E:/second\nBatchRoot /scripts extra words\n");
    OptionTable t;
    QVERIFY(readConfigFile(t, cfg));
    QCOMPARE(t.allKeys, QStringList({"DataRoot", "DataRoot", "BatchRoot"}));
    QCOMPARE(t.allValues, QStringList({"D:/my data", "E:/second", "/scripts"}));
    QCOMPARE(t.allExtras, QStringList({" \"D:/my data\" ", " E:/second", " /scripts extra words"}));

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
    QCOMPARE(QStringList({s.configFile, s.batchFile}), QStringList({a, "run.bat"}));
    QVERIFY(s.runBatch && !s.translate);
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

void TestOptions::items_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("log");
    QTest::newRow("quoted") << "load_I0_files \"C:/a b/x.tif\" 3"
                            << QStringList({"load_I0_files", "C:/a b/x.tif", "3"}) << QStringList();
    QTest::newRow("empty quotes") << "x \"\" y" << QStringList({"x", "", "y"}) << QStringList();
    QTest::newRow("tabs") << "\tone\t two  " << QStringList({"one", "two", ""}) << QStringList();
    // A quote inside an unquoted item is part of it.
    QTest::newRow("inner quote") << "a\"b c" << QStringList({"a\"b", "c"}) << QStringList();
    QTest::newRow("open quote")
        << "cmd \"open end" << QStringList({"cmd", "open end"})
        << QStringList{"In a line [ \"open end] item is started from quote but not ended by quote"};
    const QString late = "item is started from not quote but ended by quote";
    QTest::newRow("closing quote") << "abc\" next" << QStringList({"abc\"", "next"})
                                   << QStringList{"In a line [abc\" next] " + late};
    QTest::newRow("closing quote last")
        << "x abc\"" << QStringList({"x", "abc\""}) << QStringList{"In a line [ abc\"] " + late};
}

void TestOptions::items()
{
    QFETCH(QString, line);
    LogCapture log;
    QStringList items;
    QString item;
    do {
        line = nextItem(line, item);
        items << item;
    } while (!line.isEmpty());
    QTEST(items, "items");
    QTEST(log.lines(), "log");
    // The rest after an item keeps what follows it, blanks included.
    QCOMPARE(nextItem(QStringLiteral("a \"b c\" 3"), item), QStringLiteral(" \"b c\" 3"));
    QCOMPARE(nextItem(QStringLiteral(" \"b c\" 3"), item), QStringLiteral(" 3"));
}

void TestOptions::commentsAndContinuation()
{
    QCOMPARE(stripComment(QStringLiteral("load \"a#b\" # note")), QStringLiteral("load \"a"));
    QCOMPARE(stripComment(QStringLiteral("#all")), QString());
    QVERIFY(isBlankLine(QString()) && isBlankLine(QStringLiteral(" \t ")));
    QVERIFY(isBlankLine(QStringLiteral("   # only a remark")));
    QVERIFY(!isBlankLine(QStringLiteral(" x # remark")));
    const struct
    {
        const char *line, *cut;
        bool continued;
    } rows[] = {{"load_I1_files a.tif \\  ", "load_I1_files a.tif ", true},
                {"a\\b", "a\\b", false},
                {"\\", "", true},
                {"   ", "   ", false}};
    for (const auto &r : rows) {
        QString line = QString::fromLatin1(r.line);
        QCOMPARE(cutContinuation(line), r.continued);
        QCOMPARE(line, QString::fromLatin1(r.cut));
    }
}

QTEST_APPLESS_MAIN(TestOptions)
#include "test_options.moc"
