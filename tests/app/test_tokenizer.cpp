#include "app/Tokenizer.h"
#include "LogCapture.h"

#include <QTemporaryDir>
#include <QtTest>

class TestTokenizer : public QObject
{
    Q_OBJECT
private slots:
    void items();
    void unbalancedQuotes();
    void comments();
    void continuation();
    void longLineIsLinear();
    void lineReader_data();
    void lineReader();
};

static QStringList allItems(QString line)
{
    QStringList items;
    QString item;
    do {
        line = nextItem(line, item);
        items << item;
    } while (!line.isEmpty());
    return items;
}

void TestTokenizer::items()
{
    LogCapture log;
    QString item;
    QString rest = nextItem(QStringLiteral("load_I0_files \"C:/a b/x.tif\" 3"), item);
    QCOMPARE(item, QStringLiteral("load_I0_files"));
    QCOMPARE(rest, QStringLiteral(" \"C:/a b/x.tif\" 3"));
    rest = nextItem(rest, item);
    QCOMPARE(item, QStringLiteral("C:/a b/x.tif"));
    QCOMPARE(rest, QStringLiteral(" 3"));
    rest = nextItem(rest, item);
    QCOMPARE(item, QStringLiteral("3"));
    QCOMPARE(rest, QString());
    rest = nextItem(rest, item);
    QCOMPARE(item, QString());

    QCOMPARE(allItems(QStringLiteral("\"a\"\"b\"")), QStringList({"a", "b"}));
    QCOMPARE(allItems(QStringLiteral("x \"\" y")), QStringList({"x", "", "y"}));
    QCOMPARE(allItems(QStringLiteral("\tone\t two  ")), QStringList({"one", "two", ""}));

    rest = nextItem(QStringLiteral("    "), item);
    QCOMPARE(item, QString());
    QCOMPARE(rest, QString());
    // A quote inside an unquoted item is part of it.
    QCOMPARE(allItems(QStringLiteral("a\"b c")), QStringList({"a\"b", "c"}));
    QVERIFY(log.lines().isEmpty());
}

void TestTokenizer::unbalancedQuotes()
{
    {
        LogCapture log;
        QString item;
        const QString rest = nextItem(QStringLiteral("cmd \"open end"), item);
        QCOMPARE(item, QStringLiteral("cmd"));
        QString rest2 = nextItem(rest, item);
        QCOMPARE(item, QStringLiteral("open end"));
        QCOMPARE(rest2, QString());
        QCOMPARE(log.lines(),
                 QStringList{"In a line [ \"open end] item is started from quote but not ended by quote"});
    }
    {
        LogCapture log;
        QString item;
        QString rest = nextItem(QStringLiteral("abc\" next"), item);
        QCOMPARE(item, QStringLiteral("abc\""));
        QCOMPARE(rest, QStringLiteral(" next"));
        rest = nextItem(QStringLiteral("x abc\""), item);
        rest = nextItem(rest, item);
        QCOMPARE(item, QStringLiteral("abc\""));
        QCOMPARE(rest, QString());
        QCOMPARE(log.lines(),
                 QStringList({"In a line [abc\" next] item is started from not quote but ended by quote",
                              "In a line [ abc\"] item is started from not quote but ended by quote"}));
    }
}

void TestTokenizer::comments()
{
    QCOMPARE(stripComment(QStringLiteral("load \"a#b\" # note")), QStringLiteral("load \"a"));
    QCOMPARE(stripComment(QStringLiteral("no comment")), QStringLiteral("no comment"));
    QCOMPARE(stripComment(QStringLiteral("#all")), QString());
    QVERIFY(isBlankLine(QString()));
    QVERIFY(isBlankLine(QStringLiteral(" \t ")));
    QVERIFY(isBlankLine(QStringLiteral("   # only a remark")));
    QVERIFY(!isBlankLine(QStringLiteral(" x # remark")));
}

void TestTokenizer::continuation()
{
    QString line = QStringLiteral("load_I1_files a.tif \\  ");
    QVERIFY(cutContinuation(line));
    QCOMPARE(line, QStringLiteral("load_I1_files a.tif "));
    line = QStringLiteral("a\\b");
    QVERIFY(!cutContinuation(line));
    QCOMPARE(line, QStringLiteral("a\\b"));
    line = QStringLiteral("\\");
    QVERIFY(cutContinuation(line));
    QCOMPARE(line, QString());
    line = QStringLiteral("   ");
    QVERIFY(!cutContinuation(line));
}

void TestTokenizer::longLineIsLinear()
{
    // 80,000 items once took minutes: the rest of the line was copied at
    // every item. The index walk gives the same items as nextItem.
    QString line;
    for (int i = 0; i < 80000; ++i)
        line += QStringLiteral(" i%1").arg(i);
    line += QStringLiteral(" \"last one\"");
    QString item;
    int pos = 0;
    int count = 0;
    while (pos < line.size()) {
        pos = nextItemAt(line, pos, item);
        if (count < 80000)
            QCOMPARE(item, QStringLiteral("i%1").arg(count));
        ++count;
    }
    QCOMPARE(count, 80001);
    QCOMPARE(item, QStringLiteral("last one"));
}

void TestTokenizer::lineReader_data()
{
    const int max = TextLineReader::MaxLineLength;
    QTest::addColumn<QString>("path"); // "" for a file written from `text`
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("opened");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("logged"); // %1 stands for the path
    const int notRegular = TextLineReader::NotRegular;
    QTest::newRow("endless device") << "/dev/zero" << QByteArray() << notRegular << QStringList()
                                    << "Not a regular file %1";
    QTest::newRow("folder") << "." << QByteArray() << notRegular << QStringList()
                            << "Not a regular file %1";
    QTest::newRow("missing") << "/no/such/file" << QByteArray() << int(TextLineReader::CannotOpen)
                             << QStringList() << "";
    QTest::newRow("too large") << "" << QByteArray(3 * max + 1, '\n')
                               << int(TextLineReader::TooLarge) << QStringList() << "";
    QTest::newRow("line too long") << "" << "a\n" + QByteArray(max + 1, 'x') + "\nb\n"
                                   << int(TextLineReader::Opened) << QStringList{"a"}
                                   << "Line too long in %1";
    QTest::newRow("longest line") << "" << QByteArray(max, 'x') + "\r\nb"
                                  << int(TextLineReader::Opened)
                                  << QStringList{QString(max, 'x'), "b"} << "";
}

void TestTokenizer::lineReader()
{
    QFETCH(QString, path);
    QFETCH(QByteArray, text);
    QFETCH(int, opened);
    QFETCH(QStringList, lines);
    QFETCH(QString, logged);
    QTemporaryDir dir;
    if (path.isEmpty()) {
        path = dir.filePath("f.txt");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    LogCapture log;
    TextLineReader in;
    QCOMPARE(int(in.open(path, 3 * TextLineReader::MaxLineLength)), opened);
    QStringList read;
    QString line;
    while (in.readLine(line))
        read << line;
    QCOMPARE(read, lines);
    QCOMPARE(in.failed(), !logged.isEmpty() && opened == TextLineReader::Opened);
    QCOMPARE(log.lines(), logged.isEmpty() ? QStringList() : QStringList{logged.arg(path)});
}

QTEST_APPLESS_MAIN(TestTokenizer)
#include "test_tokenizer.moc"
