#include "widgets/gui/ColorBar.h"

#include <QPainter>

#include <algorithm>

static ColorBar *programBar = nullptr;

ColorBar::ColorBar(QWidget *parent)
    : DispA(parent)
    , bar(BarWidth, BarHeight, QImage::Format_RGB32)
{
    if (!programBar)
        programBar = this;
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    setWhatsThis(tr("Drag the handle nearer to the mouse to stretch the grey scale; "
                    "dragging one handle past the other inverts it."));
    setToolTip(tr("Drag a handle to stretch the grey scale; double-click for the full range"));
    connect(this, &DispA::drawImage1, this, &ColorBar::draw1);
    connect(this, &DispA::mousePressed0, this, &ColorBar::onMousePressed);
    connect(this, &DispA::mouseMoved0, this, &ColorBar::onMouseMoved);
    connect(this, &DispA::mouseReleased0, this, &ColorBar::onMouseReleased);
    connect(this, &DispA::mouseDoubleClicked0, this, &ColorBar::onMouseDoubleClicked);
    paintCBar();
}

ColorBar::~ColorBar()
{
    if (programBar == this)
        programBar = nullptr;
}

ColorBar *ColorBar::instance()
{
    return programBar;
}

void ColorBar::setHandles(double lower, double upper)
{
    scale.lower = lower;
    scale.upper = upper;
    scale.bump();
    paintCBar();
    update();
}

void ColorBar::setRange(double min, double max)
{
    if (min == labelMin && max == labelMax)
        return;
    labelMin = min;
    labelMax = max;
    paintCBar();
    update();
}

int ColorBar::colorOfH(int h)
{
    double t = double(h) / BarHeight;
    if (t < 0.0)
        t = 0.0;
    if (t > 1.0)
        t = 1.0;
    return scale.grey(t);
}

void ColorBar::paintCBar()
{
    for (int y = 0; y < BarHeight; y++) {
        const int g = colorOfH(BarHeight - 1 - y);
        QRgb *line = reinterpret_cast<QRgb *>(bar.scanLine(y));
        const QRgb c = qRgb(g, g, g);
        for (int x = 0; x < BarWidth; x++)
            line[x] = c;
    }
    QPainter p(&bar);
    p.setPen(QColor(0, 192, 255));
    for (double hnd : {scale.lower, scale.upper}) {
        int y = int((1.0 - hnd) * BarHeight);
        if (y < 0)
            y = 0;
        if (y > BarHeight - 1)
            y = BarHeight - 1;
        p.drawLine(0, y, BarWidth - 1, y);
    }

    QFont f = p.font();
    f.setPointSize(10);
    p.setFont(f);
    p.setPen(QColor(0, 255, 192));
    // Text runs up the bar: rotated so that its baseline lies along the bar.
    p.translate(0, BarHeight);
    p.rotate(-90);
    // In the rotated frame x runs from the bottom (0) to the top (BarHeight)
    // and y across the bar.
    const QRect along(4, 0, BarHeight - 8, BarWidth);
    p.drawText(along, Qt::AlignLeft | Qt::AlignVCenter, QString::number(labelMin, 'g', 6));
    p.drawText(along, Qt::AlignRight | Qt::AlignVCenter, QString::number(labelMax, 'g', 6));
    if (dragging) {
        const double h = active == UpperHandle ? scale.upper : scale.lower;
        const double v = valueAt(h);
        p.drawText(along, Qt::AlignHCenter | Qt::AlignVCenter, QString::number(v, 'g', 6));
    }
}

void ColorBar::draw1(QPainter *p)
{
    p->drawImage(QRectF(0, 0, width(), height()), bar);
    // The handle values, small and running up the bar beside each line: the
    // lower one just above its line, the upper one just below, so the two
    // stay apart while the handles are in their usual order.
    p->save();
    QFont f = p->font();
    f.setPointSizeF(std::max(6.0, f.pointSizeF() * 0.8));
    p->setFont(f);
    const QFontMetrics fm(f);
    p->setPen(QColor(255, 200, 0));
    const int n = height();
    for (const double h : {scale.lower, scale.upper}) {
        // A handle at an end of the bar has its value written there by the
        // picture already.
        if (h <= 0.0 || h >= 1.0)
            continue;
        const QString t = QString::number(valueAt(h), 'g', 4);
        const double y = (1.0 - std::max(0.0, std::min(1.0, h))) * n;
        const int len = fm.horizontalAdvance(t);
        const bool above = (h == scale.lower) == (scale.lower <= scale.upper);
        // The text's start (its bottom end when turned) kept on the widget.
        double start = above ? y - 3 : y + 3 + len;
        start = std::max(double(len + 1), std::min(double(n - 1), start));
        p->save();
        p->translate((width() + fm.ascent() - fm.descent()) / 2.0, start);
        p->rotate(-90);
        p->drawText(QPointF(0, 0), t);
        p->restore();
    }
    p->restore();
}

void ColorBar::resetHandles()
{
    dragging = false;
    active = NoHandle;
    setHandles(0.0, 1.0);
    emit cBarUpdated();
}

void ColorBar::onMouseDoubleClicked()
{
    resetHandles();
}

double ColorBar::heightFraction() const
{
    const double n = height() > 0 ? height() : 1;
    return (n - mouse().pos().y()) / n;
}

void ColorBar::onMousePressed()
{
    const double p = heightFraction();
    const double dl = qAbs(scale.lower - p);
    const double du = qAbs(scale.upper - p);
    // A press on the pixel midway is a tie even when the two distances
    // differ in their last bits.
    const double tie = 1e-9;
    if (dl > du + tie) {
        active = UpperHandle;
        dragging = true;
    } else if (du > dl + tie) {
        active = LowerHandle;
        dragging = true;
    }
    paintCBar();
    update();
}

void ColorBar::onMouseMoved()
{
    if (!mouse().isPressed() || !dragging)
        return;
    double p = heightFraction();
    // The mouse keeps its grab outside the widget; a handle stays on the bar.
    if (p < 0.0)
        p = 0.0;
    if (p > 1.0)
        p = 1.0;
    if (active == UpperHandle)
        scale.upper = p;
    else
        scale.lower = p;
    scale.bump();
    paintCBar();
    update();
    emit cBarUpdating();
}

void ColorBar::onMouseReleased()
{
    if (dragging) {
        dragging = false;
        paintCBar();
        update();
        emit cBarUpdated();
    }
}
