#pragma once

#include "batch/CmdLine.h"

#include <QMainWindow>

namespace Ui {
class BatchCtrl;
}
class BatchDispatcher;

// The batch window: an editor for the script, a progress log, and the
// buttons that load, save, clear and run a script or stop it. The script
// itself runs in the BatchDispatcher's thread.
class BatchCtrl : public QMainWindow
{
    Q_OBJECT
public:
    explicit BatchCtrl(QWidget *parent = nullptr);
    ~BatchCtrl() override;

    // Connects the Stop button, the start of a run and the dispatcher's log.
    void setDispatcher(BatchDispatcher *dispatcher);
    // Every log text also goes to standard output, as it is: a script run
    // offscreen ("-x" from a terminal or a scheduled job) shows its progress
    // and its "Err:" lines there.
    void setEchoToStandardOutput(bool on) { echo = on; }
    bool echoesToStandardOutput() const { return echo; }

signals:
    void doDispatchCmds(QStringList cmdLines);
    void batchStop();

public slots:
    // Hands the editor's lines to the dispatcher and starts the run.
    void execCmdsSlot();
    void clear();
    void clearLog();
    // Writes the editor's text; false (and a log line) when it could not.
    bool save(QString fname);
    // Replaces the editor's text by the script in fname; false (and a log
    // line), leaving the editor as it is, when the file is no readable
    // script (missing, not a regular file, too large, a line too long).
    bool load(QString fname);
    // Adds text to the log as it is; the caller supplies any line feed.
    void Log(QString LogMsg);
    // Loads a script into the editor (the file named at start-up).
    bool setBatchFile(QString fname);
    // Starts the script in the editor, as Exec. does.
    void execBatchSlot();
    void showCmdErr(CmdLine cmd);

private:
    void loadFromDialog();
    void saveFromDialog();
    QString askFileName(bool forSaving);

    Ui::BatchCtrl *ui;
    bool echo = false;
};
