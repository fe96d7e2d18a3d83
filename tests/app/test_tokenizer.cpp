#include "app/Tokenizer.h"
#include "LogCapture.h"

#include <QtTest>

class TestTokenizer : public QObject
{
    Q_OBJECT
private slots:
    void items_data();
    void items();
    void commentsAndContinuation();
};

void TestTokenizer::items_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("log");
    QTest::newRow("quoted") << "load_I0_files \"C:/a b/x.tif\" 3"
                            << QStringList({"load_I0_files", "C:/a b/x.tif", "3"}) << QStringList();
    QTest::newRow("adjacent quotes") << "\"a\"\"b\"" << QStringList({"a", "b"}) << QStringList();
    QTest::newRow("empty quotes") << "x \"\" y" << QStringList({"x", "", "y"}) << QStringList();
    QTest::newRow("tabs") << "\tone\t two  " << QStringList({"one", "two", ""}) << QStringList();
    QTest::newRow("blank") << "    " << QStringList({""}) << QStringList();
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

void TestTokenizer::items()
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

void TestTokenizer::commentsAndContinuation()
{
    QCOMPARE(stripComment(QStringLiteral("load \"a#b\" # note")), QStringLiteral("load \"a"));
    QCOMPARE(stripComment(QStringLiteral("no comment")), QStringLiteral("no comment"));
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

QTEST_APPLESS_MAIN(TestTokenizer)
#include "test_tokenizer.moc"
