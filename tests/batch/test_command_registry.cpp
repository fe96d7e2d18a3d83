#include "LogCapture.h"
#include "batch/CommandRegistry.h"

#include <QtTest>

// The command registry: which statements complete when, checked without
// windows.
class TestCommandRegistry : public QObject
{
    Q_OBJECT
private slots:
    void idsStandBesideTheirWords();
    void tokens_data();
    void tokens();
    void handlersAreRegisteredOnce();
};

// Every id's name is its word without the "_" (case aside), so an id and a
// word can never be paired by position alone.
void TestCommandRegistry::idsStandBesideTheirWords()
{
    for (int id = 0; id < BatchCmd::Count; ++id) {
        const QString word = batchCommandWord(id);
        QCOMPARE(QString(word).remove(QLatin1Char('_')).toUpper(), batchCommandIdName(id).toUpper());
        QCOMPARE(batchCommandId(word), id);
    }
    QCOMPARE(batchCommandIdName(BatchCmd::LoadI0FilesOfPattern), QStringLiteral("LoadI0FilesOfPattern"));
    QCOMPARE(batchCommandIdName(BatchCmd::NotFound), QString());
}

// Steps: "issue" makes the next token (a, b, c ...); "wait X" runs a
// statement that waits for token X; "end X" ends the work of X; "done" runs
// a statement that completes at once. Answers: the number of completions
// after each step. (Remarks, unknown words, keywords, words without a handler
// and "quit" are answered through the main window's test.)
void TestCommandRegistry::tokens_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("answers");
    QTest::newRow("waits for its token") << "issue;wait a;end a" << "0 0 1";
    QTest::newRow("other work ends") << "issue;issue;wait a;end b;end a" << "0 0 0 0 1";
    QTest::newRow("hand-started work") << "issue;wait a;end 0;end a" << "0 0 0 1";
    QTest::newRow("ended before the wait") << "issue;end a;wait a" << "0 0 1";
    QTest::newRow("never issued") << "wait c" << "1";
    QTest::newRow("ends once") << "issue;wait a;end a;end a" << "0 0 1 1";
    QTest::newRow("next statement drops the wait") << "issue;wait a;done;end a" << "0 0 1 1";
}

void TestCommandRegistry::tokens()
{
    QFETCH(QString, steps);
    QFETCH(QString, answers);
    CommandRegistry r;
    int finished = 0;
    r.setFinisher([&] { ++finished; });
    QVector<CompletionToken> issued;
    CompletionToken waitOn = 0;
    const auto token = [&](const QString &name) {
        const int i = name.at(0).unicode() - 'a';
        return name == "0" ? CompletionToken(0) : i < issued.size() ? issued[i] : 99;
    };
    r.add(BatchCmd::LoadI1Files, [&](const CmdLine &) { return CmdOutcome::waitFor(waitOn); });
    r.add(BatchCmd::SetBandW, [](const CmdLine &) { return CmdOutcome::done(); });
    QStringList got;
    for (const QString &step : steps.split(';')) {
        const QString arg = step.section(' ', 1);
        if (step == "issue")
            issued << r.issue();
        else if (step.startsWith("wait")) {
            waitOn = token(arg);
            r.dispatch(CmdLine("load_I1_files NEW x"), false);
        } else if (step.startsWith("end"))
            r.complete(token(arg));
        else
            r.dispatch(CmdLine("set_band_w 3"), false);
        got << QString::number(finished);
    }
    QCOMPARE(got.join(' '), answers);
}

void TestCommandRegistry::handlersAreRegisteredOnce()
{
    CommandRegistry r;
    LogCapture log;
    const auto done = [](const CmdLine &) { return CmdOutcome::done(); };
    QVERIFY(r.add(BatchCmd::Quit, done));
    QVERIFY(!r.add(BatchCmd::Quit, done));
    QVERIFY(!r.add(BatchCmd::NotFound, done));
    QVERIFY(!r.add(-1, done));
    QVERIFY(r.has(BatchCmd::Quit));
    QVERIFY(!r.has(BatchCmd::SeekImage));
    QCOMPARE(log.lines(), QStringList({"Batch command quit has a handler already",
                                       "Batch command id 112 cannot take a handler",
                                       "Batch command id -1 cannot take a handler"}));
}

QTEST_GUILESS_MAIN(TestCommandRegistry)
#include "test_command_registry.moc"
