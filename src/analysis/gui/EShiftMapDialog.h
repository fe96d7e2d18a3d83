#pragma once

#include <QFileDialog>
#include <QFileInfo>

// The open dialog of an energy-shift map file: one existing file, ".emp"
// files first. Each map has its own dialog, which opens where it was last
// used.
class EShiftMapDialog : public QFileDialog
{
    Q_OBJECT
public:
    explicit EShiftMapDialog(QWidget *parent = nullptr);
};
