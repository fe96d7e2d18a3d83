#include "batch/gui/BatchCtrl.h"

#include "app/Settings.h"
#include "app/Tokenizer.h"
#include "batch/BatchDispatcher.h"

#include "ui_BatchCtrl.h"

#include <QDebug>
#include <QFile>
#include <QFileDialog>
#include <QTextStream>

#include <cstdio>

namespace {

// No script comes near this; a larger file is not a script and would only
// choke the editor.
const qint64 maxScriptBytes = 16 * 1024 * 1024;

} // namespace

BatchCtrl::BatchCtrl(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::BatchCtrl)
{
    ui->setupUi(this);
    connect(ui->LoadB, &QPushButton::clicked, this, &BatchCtrl::loadFromDialog);
    connect(ui->SaveB, &QPushButton::clicked, this, &BatchCtrl::saveFromDialog);
    connect(ui->ClearB, &QPushButton::clicked, this, &BatchCtrl::clear);
    connect(ui->ClearLogB, &QPushButton::clicked, this, &BatchCtrl::clearLog);
    connect(ui->ExecB, &QPushButton::clicked, this, &BatchCtrl::execCmdsSlot);
    connect(ui->StopB, &QPushButton::clicked, this, &BatchCtrl::batchStop);
}

BatchCtrl::~BatchCtrl()
{
    delete ui;
}

void BatchCtrl::setDispatcher(BatchDispatcher *dispatcher)
{
    connect(ui->StopB, &QPushButton::clicked, dispatcher, &BatchDispatcher::batchStopSlot);
    connect(this, &BatchCtrl::doDispatchCmds, dispatcher, &BatchDispatcher::doDispatchCmds);
    connect(dispatcher, &BatchDispatcher::Log, this, &BatchCtrl::Log);
}

void BatchCtrl::execCmdsSlot()
{
    // Empty parts are kept, so a line's index is its line number in the editor.
    const QStringList lines = ui->BatchCmds->toPlainText().split(QLatin1Char('\n'));
    emit doDispatchCmds(lines);
}

void BatchCtrl::execBatchSlot()
{
    execCmdsSlot();
}

void BatchCtrl::clear()
{
    ui->BatchCmds->clear();
}

void BatchCtrl::clearLog()
{
    ui->ProgressLog->clear();
}

void BatchCtrl::Log(QString LogMsg)
{
    // Always at the end, even when the user has clicked somewhere in the log.
    ui->ProgressLog->moveCursor(QTextCursor::End);
    ui->ProgressLog->insertPlainText(LogMsg);
    ui->ProgressLog->moveCursor(QTextCursor::End);
    if (echo) {
        // Flushed at once: a reader of a pipe sees each line as it comes.
        std::fputs(LogMsg.toLocal8Bit().constData(), stdout);
        std::fflush(stdout);
    }
}

bool BatchCtrl::save(QString fname)
{
    QFile f(fname);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text)) {
        qDebug().noquote() << "Can't write batch file :" << fname << ":" << f.errorString();
        return false;
    }
    QTextStream out(&f);
    out.setCodec("UTF-8");
    out << ui->BatchCmds->toPlainText();
    out.flush();
    // A full disk shows only here, when the text reaches the file.
    if (out.status() != QTextStream::Ok || !f.flush()) {
        qDebug().noquote() << "Can't write batch file :" << fname << ":" << f.errorString();
        return false;
    }
    return true;
}

bool BatchCtrl::load(QString fname)
{
    TextLineReader in;
    switch (in.open(fname, maxScriptBytes)) {
    case TextLineReader::Opened:
        break;
    case TextLineReader::CannotOpen:
        qDebug().noquote() << "Can't open batch file :" << fname;
        return false;
    case TextLineReader::TooLarge:
        qDebug().noquote() << "Batch file too large :" << fname;
        return false;
    case TextLineReader::NotRegular:
        return false;
    }
    in.setCodec("UTF-8");
    QString text;
    QString line;
    while (in.readLine(line))
        text += line + QLatin1Char('\n');
    // A script cut short by a line too long is not loaded: the editor keeps
    // what it held.
    if (in.failed())
        return false;
    ui->BatchCmds->clear();
    ui->BatchCmds->insertPlainText(text);
    return true;
}

bool BatchCtrl::setBatchFile(QString fname)
{
    return load(fname);
}

void BatchCtrl::showCmdErr(CmdLine)
{
}

void BatchCtrl::loadFromDialog()
{
    const QString fname = askFileName(false);
    if (!fname.isEmpty())
        load(fname);
}

void BatchCtrl::saveFromDialog()
{
    const QString fname = askFileName(true);
    if (!fname.isEmpty())
        save(fname);
}

QString BatchCtrl::askFileName(bool forSaving)
{
    QFileDialog dialog(this, forSaving ? tr("Save Batch File") : tr("Load Batch File"),
                       settings().batchRoot);
    dialog.setObjectName(QStringLiteral("BatchFileDialog"));
    dialog.setNameFilters({tr("Batch File (*.bat)"), tr("Any Files (* *.*)")});
    dialog.setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(forSaving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
