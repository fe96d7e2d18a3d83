#include "analysis/gui/AElemsConds.h"

#include "app/TextNumbers.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

AElemsConds::AElemsConds(QWidget *parent)
    : QGroupBox(tr("Analyze Elems Conditions"), parent)
{
    setObjectName(QStringLiteral("AElemsCds"));
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(new QLabel(tr("BG Values : "), this));
    static const char *const names[Fields][3] = {{"BGVDMut", QT_TR_NOOP("dmut"), "0"},
                                                 {"BGVDMutR", QT_TR_NOOP("dmut-Ratio"), "0"},
                                                 {"BGVDE", QT_TR_NOOP("dE"), "0"},
                                                 {"BGVROI", QT_TR_NOOP("ROI"), "-1"},
                                                 {"BGVNROI", QT_TR_NOOP("NROI"), "-1"}};
    for (int i = 0; i < Fields; ++i) {
        layout->addWidget(new QLabel(tr(names[i][1]), this));
        fields[i] = new QLineEdit(QString::fromLatin1(names[i][2]), this);
        fields[i]->setObjectName(QString::fromLatin1(names[i][0]));
        fields[i]->setMaximumWidth(60);
        layout->addWidget(fields[i]);
    }
}

ElemBackground AElemsConds::background() const
{
    ElemBackground bg;
    bg.dmut = realOfText(fields[DMut]->text());
    bg.dmutRatio = realOfText(fields[DMutRatio]->text());
    bg.de = realOfText(fields[DE]->text());
    bg.roi = realOfText(fields[Roi]->text());
    bg.nroi = realOfText(fields[NRoi]->text());
    return bg;
}

void AElemsConds::setValue(Field f, double v)
{
    if (f >= 0 && f < Fields)
        fields[f]->setText(QString::number(v, 'g', 6));
}
