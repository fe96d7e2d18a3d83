#include "analysis/gui/ElemCtrl.h"

#include "analysis/Analyzed2DRes.h"
#include "app/TextNumbers.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace {

QString general6(double v)
{
    return QString::number(v, 'g', 6);
}

} // namespace

ElemCtrl::ElemCtrl(const ElemTarget &target, QWidget *parent)
    : QFrame(parent)
    , elem(target)
{
    setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 2);
    const auto edit = [this](const char *name, const QString &text, const QString &tip) {
        auto *e = new QLineEdit(text, this);
        e->setObjectName(QString::fromLatin1(name));
        e->setToolTip(tip);
        e->setMaximumWidth(70);
        return e;
    };
    const auto label = [this](const char *name, const QString &text, const QString &tip) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setToolTip(tip);
        l->setMinimumWidth(50);
        return l;
    };
    auto *no = label("No", QString::number(elem.z), QString());
    auto *name = label("Name", elem.name(), QString());
    auto *eng = label("Eng", general6(elem.e0), tr("Expected Absorption Edge."));
    prePostDE =
        edit("PrePostDE", QStringLiteral("20"), tr("dmut is calculated as mu(E0+dE) - mu(E0-dE)."));
    thDMut = edit("ThDMut", QStringLiteral("0.1"),
                  tr("When the dmut is less than the Threshold, most of the values (ROI, "
                     "dmut,...) is set at BG Val."));
    roiStart = edit("ROIs", QStringLiteral("7000"), QString());
    roiEnd = edit("ROIe", QStringLiteral("7005"), QString());
    noNeg = new QCheckBox(tr("No Neg"), this);
    noNeg->setObjectName(QStringLiteral("NoNeg"));
    noNeg->setToolTip(
        tr("When the ROI is negative, the BG value is used instead of the calculated one."));
    use = new QCheckBox(tr("Use"), this);
    use->setObjectName(QStringLiteral("Use"));
    mainTarget = new QRadioButton(tr("Target"), this);
    mainTarget->setObjectName(QStringLiteral("MainTarget"));
    show = new QRadioButton(tr("Show"), this);
    show->setObjectName(QStringLiteral("Show"));
    // Each row's buttons belong to the analyzer's groups, not to the row.
    mainTarget->setAutoExclusive(false);
    show->setAutoExclusive(false);
    dmutText = label("DMuT", QStringLiteral("0.0"), QString());
    ratioText = label("Ratio", QStringLiteral("1.0"),
                      tr("Relative strength of the dmut against the dmut of selecte element as "
                         "Target."));
    stdRatioEdit = edit("StdRatio", QStringLiteral("1.0"), QString());
    deText = label("DE", QStringLiteral("0"),
                   tr("Position of the absorption edge, where the mut is ( mu(E0+dE) + "
                      "mu(E0-dE) ) / 2."));
    roiText = label("ROI", QStringLiteral("0"), tr("ROI Value"));
    nroiText =
        label("NROI", QStringLiteral("0"), tr("Normalized ROI value calculated as ROI / dmut."));

    int c = 0;
    for (QWidget *w : std::initializer_list<QWidget *>{no, name, mainTarget, show, use, eng})
        grid->addWidget(w, 0, c++);
    grid->addWidget(new QLabel(tr("Pre/Post dE"), this), 0, c++);
    grid->addWidget(prePostDE, 0, c++);
    grid->addWidget(new QLabel(tr("Th dmut"), this), 0, c++);
    grid->addWidget(thDMut, 0, c++);
    c = 0;
    grid->addWidget(new QLabel(tr("ROI"), this), 1, c++);
    for (QWidget *w : std::initializer_list<QWidget *>{roiStart, roiEnd, noNeg})
        grid->addWidget(w, 1, c++);
    grid->addWidget(new QLabel(tr("dmut"), this), 1, c++);
    grid->addWidget(dmutText, 1, c++);
    grid->addWidget(new QLabel(tr("Ratio"), this), 1, c++);
    grid->addWidget(ratioText, 1, c++);
    grid->addWidget(new QLabel(tr("Std. Ratio"), this), 1, c++);
    grid->addWidget(stdRatioEdit, 1, c++);
    grid->addWidget(deText, 1, c++);
    grid->addWidget(roiText, 1, c++);
    grid->addWidget(nroiText, 1, c++);

    static const char *const kindNames[Kinds] = {"0", "N", "MP", "MM", "DE", "ROI", "NROI"};
    for (const char *kind : kindNames) {
        auto *map = new Analyzed2DRes(this);
        map->setName(QStringLiteral("%1 Elem Ctrl %2").arg(elem.name(), QLatin1String(kind)));
        resultMaps.append(map);
    }
    connect(stdRatioEdit, &QLineEdit::editingFinished, this, &ElemCtrl::newStdRatio);
}

bool ElemCtrl::isUsed() const
{
    return use->isChecked();
}

ElemRowSnapshot ElemCtrl::snapshot() const
{
    ElemRowSnapshot s;
    s.target = elem;
    s.preDE = realOfText(prePostDE->text());
    s.thDMut = realOfText(thDMut->text());
    s.roiStart = realOfText(roiStart->text());
    s.roiEnd = realOfText(roiEnd->text());
    s.noNeg = noNeg->isChecked();
    s.use = use->isChecked();
    s.stdRatio = standard;
    return s;
}

void ElemCtrl::showResults(const ElemResults &r, int i)
{
    lastNValue = r.n.value(i);
    dmutText->setText(general6(r.dmut.value(i)));
    ratioText->setText(general6(lastNValue));
    deText->setText(general6(r.de.value(i)));
    roiText->setText(general6(r.roi.value(i)).left(5));
    nroiText->setText(general6(r.nroi.value(i)).left(5));
}

void ElemCtrl::newStdRatio()
{
    setStdRatio(realOfText(stdRatioEdit->text()));
}

void ElemCtrl::setStdRatio(double v)
{
    standard = v;
    stdRatioEdit->setText(general6(v));
}

void ElemCtrl::setPrePostDE(double v)
{
    prePostDE->setText(general6(v));
}

void ElemCtrl::setThDMut(double v)
{
    thDMut->setText(general6(v));
}

void ElemCtrl::setROI(double from, double to)
{
    roiStart->setText(general6(from));
    roiEnd->setText(general6(to));
}

void ElemCtrl::setNoNeg(bool f)
{
    noNeg->setChecked(f);
}

void ElemCtrl::setUse(bool f)
{
    use->setChecked(f);
}
