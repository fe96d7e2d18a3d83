#include "analysis/gui/Analyzer2.h"

#include "analysis/AnalyzeCond.h"

#include <QDebug>
#include <QPushButton>
#include <QVBoxLayout>

Analyzer2::Analyzer2(QWidget *parent)
    : QFrame(parent)
{
    setWindowTitle(tr("Analyzer2"));
    auto *collect = new QPushButton(tr("Collect Q Info"), this);
    collect->setObjectName(QStringLiteral("CollectQInfo"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(collect);
    layout->addStretch(1);
    connect(collect, &QPushButton::clicked, this, &Analyzer2::startCollectQInfo);
}

void Analyzer2::doCollectQInfo(const AnalyzeCond &)
{
    qDebug().noquote() << "do collect Q Info";
}
