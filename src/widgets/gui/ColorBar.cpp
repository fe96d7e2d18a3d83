#include "widgets/gui/ColorBar.h"

#include <QPainter>

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
    connect(this, &DispA::drawImage1, this, &ColorBar::draw1);
    connect(this, &DispA::mousePressed0, this, &ColorBar::onMousePressed);
    connect(this, &DispA::mouseMoved0, this, &ColorBar::onMouseMoved);
    connect(this, &DispA::mouseReleased0, this, &ColorBar::onMouseReleased);
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
        const double v = labelMin + (labelMax - labelMin) * h;
        p.drawText(along, Qt::AlignHCenter | Qt::AlignVCenter, QString::number(v, 'g', 6));
    }
}

void ColorBar::draw1(QPainter *p)
{
    p->drawImage(QRectF(0, 0, width(), height()), bar);
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
