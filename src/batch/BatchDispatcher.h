#pragma once

#include "batch/BatchCommands.h"
#include "batch/CmdLine.h"

#include <QObject>
#include <QStringList>
#include <QVector>

// One ":for" of a running script. Every value is kept as the script wrote it
// and read as a base-10 integer when the loop advances (text that is not a
// number counts as 0), so the counter keeps the zero padding of its start.
struct BatchLoop
{
    QString label;    // names the loop for ":next"
    int forLine = 0;  // index of the (last physical) line of the ":for"
    QString variable; // the text replaced in later arguments
    QString start;
    QString end;
    QString current; // the value the body runs with
    QString step;    // may be empty (step 1)
};

// The script interpreter. It lives in a thread of its own, walks the script
// line by line, handles the structural keywords itself and hands every
// statement to the main window with execCmdSig; the next line is read only
// when finishBatchExec comes back, so a script runs one command at a time.
class BatchDispatcher : public QObject
{
    Q_OBJECT
public:
    explicit BatchDispatcher(QObject *parent = nullptr);

signals:
    void execNextLineSig();
    // `inRem` is set for statements the main window only has to answer:
    // lines inside a remark block, empty lines and pure comments.
    void execCmdSig(CmdLine cmd, bool inRem);
    void Log(QString Log);

public slots:
    void execNextLineSlot();
    // Starts a run of `cmdList` (one entry per editor line) from its first line.
    void doDispatchCmds(QStringList cmdList);
    // The statement in progress completes; the run ends after it.
    void batchStopSlot();
    // The main window has completed the last statement.
    void finishBatchExec();

private:
    void declareLoop(const CmdLine &cmd);
    void nextOfLoop(const CmdLine &cmd);
    // Puts the loops' values into the arguments; false, leaving them half
    // done, when that would make the statement too long.
    bool substitute(CmdLine &cmd) const;
    // Logs the refusal of a statement too long with its loop values and
    // goes on with the next line.
    void refuseExpanded(const CmdLine &cmd);

    bool running = false;
    bool inRemark = false;
    QStringList lines;
    int currentLine = 0;
    QVector<BatchLoop> loops;
};

// Moves `loop` to its next value. Returns false, leaving the loop as it is,
// when the value would pass the end. A loop counts down when its start is at
// least its end; a step of 0 or none is a step of 1.
bool advanceBatchLoop(BatchLoop &loop);

// The text of counter value `n` for a loop that started at `start`: a start
// like "001" or "08" pads shorter values with zeros to its own length.
QString formatBatchCounter(qint64 n, const QString &start);
