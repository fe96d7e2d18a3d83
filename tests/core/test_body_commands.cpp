#include "batch/BatchCtrl.h"
#include "batch/CmdLine.h"
#include "core/Body.h"

#include "../app/LogCapture.h"

#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QtTest>

// The main window's batch commands, handed over as the interpreter would
// hand them, checked on the controls they write and on what they answer.
class TestBodyCommands : public QObject
{
    Q_OBJECT
private slots:
    void answersAndErrors();
};

namespace {

QString logText(Body &body)
{
    return body.batchCtrl()->findChild<QPlainTextEdit *>(QStringLiteral("ProgressLog"))->toPlainText();
}

} // namespace

// Every statement is answered exactly once, except "quit", which asks for the
// end instead; unknown words go to the batch log with the statement's text.
void TestBodyCommands::answersAndErrors()
{
    Body body;
    QSignalSpy done(&body, &Body::finishBatchExec);
    QSignalSpy finishing(&body, &Body::finishing);

    // Remark lines and blank lines only need the answer, whatever they say.
    body.execCmdSlot(CmdLine(QStringLiteral("quit")), true);
    body.execCmdSlot(CmdLine(QString()), true);
    QCOMPARE(done.count(), 2);
    QCOMPARE(finishing.count(), 0);

    // The interpreter's own words are not errors.
    body.execCmdSlot(CmdLine(QStringLiteral(":for L i 1 3")), false);
    body.execCmdSlot(CmdLine(QStringLiteral(":NEXT L")), false);
    body.execCmdSlot(CmdLine(QStringLiteral(":echo hello")), false);
    QCOMPARE(done.count(), 5);
    QCOMPARE(logText(body), QString());

    // Unknown words: the comment-free line, then a line feed.
    body.execCmdSlot(CmdLine(QStringLiteral("frobnicate  1 \"a b\" # why")), false);
    QCOMPARE(done.count(), 6);
    QCOMPARE(logText(body), QStringLiteral("Err: frobnicate  1 \"a b\" \n"));
    // A line of blanks is a statement with an empty word.
    body.execCmdSlot(CmdLine(QStringLiteral("   ")), false);
    QCOMPARE(done.count(), 7);
    QCOMPARE(logText(body), QStringLiteral("Err: frobnicate  1 \"a b\" \nErr:    \n"));

    // A word whose work is not in the program yet completes at once and says so.
    {
        LogCapture log;
        body.execCmdSlot(CmdLine(QStringLiteral("calib_exec")), false);
        QCOMPARE(done.count(), 8);
        QVERIFY2(log.lines.contains(QStringLiteral("Batch command calib_exec is not available yet")),
                 qPrintable(log.lines.join('\n')));
    }

    // "quit" in any case ends the program and sends no answer.
    body.execCmdSlot(CmdLine(QStringLiteral("QuIt")), false);
    QCOMPARE(finishing.count(), 1);
    QCOMPARE(done.count(), 8);
}

QTEST_MAIN(TestBodyCommands)
#include "test_body_commands.moc"
