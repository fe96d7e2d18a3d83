#include "widgets/gui/VLabel.h"

#include <QPainter>

VLabel::VLabel(QWidget *parent)
    : QLabel(parent)
{
}

VLabel::VLabel(const QString &text, QWidget *parent)
    : QLabel(text, parent)
{
}

QSize VLabel::sizeHint() const
{
    return QLabel::sizeHint().transposed();
}

QSize VLabel::minimumSizeHint() const
{
    return QLabel::minimumSizeHint().transposed();
}

void VLabel::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    // Turn the painter so that its x axis runs up the widget.
    p.translate(0, height());
    p.rotate(-90);
    const QRect r(0, 0, height(), width());
    Qt::Alignment a = alignment();
    p.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    p.drawText(r, int(a), text());
}
