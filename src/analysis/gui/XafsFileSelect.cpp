#include "analysis/gui/XafsFileSelect.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

XafsFileSelect::XafsFileSelect(QWidget *parent)
    : QFrame(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    use = new QCheckBox(tr("Use"), this);
    use->setObjectName(QStringLiteral("Use"));
    use->setChecked(true);
    selected = new QLabel(tr("Selected"), this);
    selected->setObjectName(QStringLiteral("Selected"));
    selected->setStyleSheet(QStringLiteral("background-color: rgb(253, 255, 225);"));
    name = new QLineEdit(this);
    name->setObjectName(QStringLiteral("FileName"));
    name->setReadOnly(true);
    auto *select = new QPushButton(tr("Select"), this);
    select->setObjectName(QStringLiteral("Select"));
    auto *clearButton = new QPushButton(tr("Clear"), this);
    clearButton->setObjectName(QStringLiteral("Clear"));
    layout->addWidget(use);
    layout->addWidget(selected);
    layout->addWidget(name, 1);
    layout->addWidget(select);
    layout->addWidget(clearButton);

    dialog = new QFileDialog(this, tr("XAFS File Select"));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilters({tr("XAFS Data File (*.dat)"), tr("Any Files (* *.*)")});

    connect(select, &QPushButton::clicked, dialog, &QFileDialog::show);
    connect(dialog, &QFileDialog::fileSelected, this, &XafsFileSelect::fileSelected);
    connect(clearButton, &QPushButton::clicked, this, &XafsFileSelect::clear);
    connect(use, &QCheckBox::toggled, this, &XafsFileSelect::changedUse);
}

bool XafsFileSelect::useChecked() const
{
    return use->isChecked();
}

QString XafsFileSelect::fileName() const
{
    return name->text();
}

void XafsFileSelect::load(const QString &fname)
{
    loaded = true;
    name->setText(fname);
    emit newFile(fname);
}

void XafsFileSelect::fileSelected(const QString &fname)
{
    load(fname);
}

void XafsFileSelect::clear()
{
    name->clear();
}

void XafsFileSelect::setUse(bool f)
{
    use->setChecked(f);
}

void XafsFileSelect::showUse(bool f)
{
    use->setVisible(f);
}
