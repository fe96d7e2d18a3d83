#include "analysis/gui/EShiftMapDialog.h"

EShiftMapDialog::EShiftMapDialog(QWidget *parent)
    : QFileDialog(parent)
{
    setWindowTitle(tr("Energy Distribution Map File"));
    setAcceptMode(QFileDialog::AcceptOpen);
    setFileMode(QFileDialog::ExistingFile);
    setNameFilters({tr("Energy Distribution Map File (*.emp)"), tr("Any Files (* *.*)")});
    // The directory of the file last chosen is where the next choice starts.
    connect(this, &QFileDialog::fileSelected, this,
            [this](const QString &f) { setDirectory(QFileInfo(f).absolutePath()); });
}
