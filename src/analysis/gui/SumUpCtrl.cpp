#include "analysis/gui/SumUpCtrl.h"

#include "app/TextNumbers.h"

#include <QDebug>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

SumUpCtrl::SumUpCtrl(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QGridLayout(this);
    from = new QLineEdit(QStringLiteral("0"), this);
    from->setObjectName(QStringLiteral("SumUpFrom"));
    to = new QLineEdit(QStringLiteral("0"), this);
    to->setObjectName(QStringLiteral("SumUpTo"));
    for (QLineEdit *e : {from, to})
        e->setMaximumWidth(90);
    auto *addButton = new QPushButton(tr("Add"), this);
    addButton->setObjectName(QStringLiteral("AddSumUp"));
    auto *delButton = new QPushButton(tr("Del"), this);
    delButton->setObjectName(QStringLiteral("DelSumUp"));
    items = new QListWidget(this);
    items->setObjectName(QStringLiteral("SumUps"));
    layout->addWidget(new QLabel(tr("From"), this), 0, 0);
    layout->addWidget(from, 0, 1);
    layout->addWidget(new QLabel(tr("To"), this), 0, 2);
    layout->addWidget(to, 0, 3);
    layout->addWidget(addButton, 0, 4);
    layout->addWidget(delButton, 0, 5);
    layout->addWidget(items, 1, 0, 1, 6);
    connect(addButton, &QPushButton::clicked, this, &SumUpCtrl::add);
    connect(delButton, &QPushButton::clicked, this, &SumUpCtrl::del);
}

void SumUpCtrl::add()
{
    addRange(intOfText(from->text()), intOfText(to->text()));
}

void SumUpCtrl::addRange(int f, int t)
{
    list.add(f, t);
    items->addItem(list.at(list.size() - 1).text());
}

void SumUpCtrl::del()
{
    delRange(items->currentRow());
}

void SumUpCtrl::delRange(int index)
{
    if (index < 0 || index >= list.size()) {
        qDebug().noquote() << "No sum-up range" << index << "to delete";
        return;
    }
    const int next = list.remove(index);
    delete items->takeItem(index);
    items->setCurrentRow(next);
}

void SumUpCtrl::clear()
{
    list.clear();
    items->clear();
}
