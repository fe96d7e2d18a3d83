#include "widgets/gui/VPushButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

VPushButton::VPushButton(QWidget *parent)
    : QPushButton(parent)
{
}

VPushButton::VPushButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
}

QSize VPushButton::sizeHint() const
{
    return QPushButton::sizeHint().transposed();
}

QSize VPushButton::minimumSizeHint() const
{
    return QPushButton::minimumSizeHint().transposed();
}

void VPushButton::paintEvent(QPaintEvent *)
{
    QStylePainter p(this);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const QString caption = opt.text;
    // The bevel is drawn upright; only the caption is turned.
    opt.text.clear();
    opt.icon = QIcon();
    p.drawControl(QStyle::CE_PushButton, opt);
    p.translate(0, height());
    p.rotate(-90);
    const QRect r(0, 0, height(), width());
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p.drawText(r, Qt::AlignCenter | Qt::TextShowMnemonic, caption);
}
