#include "app/Tokenizer.h"
#include "LogCapture.h"

#include <QtTest>

class TestTokenizer : public QObject
{
    Q_OBJECT
private slots:
    void items();
    void unbalancedQuotes();
    void comments();
    void continuation();
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
                 QStringList{
                     "In a line [ \"open end] item is started from quote but not ended by quote"});
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
                 QStringList(
                     {"In a line [abc\" next] item is started from not quote but ended by quote",
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

QTEST_APPLESS_MAIN(TestTokenizer)
#include "test_tokenizer.moc"
