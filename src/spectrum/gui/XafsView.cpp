#include "spectrum/gui/XafsView.h"

#include "app/Settings.h"
#include "spectrum/EdgeTable.h"
#include "widgets/gui/DispA.h"

#include "ui_XafsView.h"

#include <QDebug>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {

// Consecutive energies further apart than this belong to separate scans: the
// curve is not joined across the gap.
constexpr double GapEV = 50.0;

// Room around the plot area for the labels, in pixels.
constexpr double LeftRoom = 64.0;
constexpr double RightRoom = 26.0;
constexpr double TopRoom = 12.0;
constexpr double BottomRoom = 30.0;
// Curves keep this fraction of the y range clear of the frame lines.
constexpr double YPad = 0.04;

// Screen positions far outside the widget are pulled in, so a wild value
// draws an edge-to-edge line rather than overflowing the painter.
double clampScreen(double v)
{
    return std::max(-1e6, std::min(1e6, v));
}

void flush(QPainter *p, QPolygonF &poly)
{
    if (poly.size() >= 2)
        p->drawPolyline(poly);
    else if (poly.size() == 1)
        p->drawPoint(poly[0]);
    poly.clear();
}

// The curve's points joined by lines, at x less xOffset. Points with a value
// that is not finite are left out (the line breaks there), and with
// breakGaps set so are joins across energy gaps.
void drawCurve(QPainter *p, const ChCoord &c, const SpectrumPoints &pts, double xOffset,
               bool breakGaps)
{
    QPolygonF poly;
    poly.reserve(pts.size());
    double previous = 0.0;
    for (int i = 0; i < pts.size(); ++i) {
        const double x = pts.x(i) - xOffset;
        const double y = pts.y(i);
        if (!std::isfinite(x) || !std::isfinite(y)) {
            flush(p, poly);
            continue;
        }
        if (breakGaps && !poly.isEmpty() && std::fabs(x - previous) > GapEV)
            flush(p, poly);
        poly << QPointF(clampScreen(c.r2sx(x)), clampScreen(c.r2sy(y)));
        previous = x;
    }
    flush(p, poly);
}

// The y bounds of a curve for its plot range; bounds that are not finite
// (a zero jump makes infinite normalized values) are looked for among the
// finite values instead.
bool finiteYRange(const SpectrumPoints &pts, double *lo, double *hi)
{
    if (pts.isEmpty())
        return false;
    if (std::isfinite(pts.minY()) && std::isfinite(pts.maxY())) {
        *lo = pts.minY();
        *hi = pts.maxY();
        return true;
    }
    bool any = false;
    for (int i = 0; i < pts.size(); ++i) {
        const double y = pts.y(i);
        if (!std::isfinite(y))
            continue;
        if (!any || y < *lo)
            *lo = y;
        if (!any || y > *hi)
            *hi = y;
        any = true;
    }
    return any;
}

// A range of zero width (or an upside-down one) cannot be drawn: it is
// widened around its value.
void openRange(double *lo, double *hi)
{
    if (!std::isfinite(*lo) || !std::isfinite(*hi)) {
        *lo = 0.0;
        *hi = 1.0;
        return;
    }
    if (*hi < *lo)
        std::swap(*lo, *hi);
    if (*hi - *lo <= std::fabs(*hi) * 1e-12) {
        const double half = *lo == 0.0 ? 0.5 : std::fabs(*lo) * 0.05;
        *lo -= half;
        *hi += half;
    }
}

QString tickLabel(double v, double step)
{
    const int decimals = std::max(0, int(-std::floor(std::log10(step) + 1e-9)));
    if (std::fabs(v) < step * 1e-6)
        v = 0.0;
    return QString::number(v, 'f', std::min(decimals, 12));
}

// Room for the axes around the plot area: the left one as wide as the
// longest y label of the range needs.
void setPlotMargins(QPainter *p, ChCoord &c, double yLo, double yHi)
{
    const double w = std::max(c.screenX1() - c.screenX0(), 1);
    const double h = std::max(c.screenY1() - c.screenY0(), 1);
    const QFontMetrics fm = p->fontMetrics();
    double left = LeftRoom;
    double step = 0.0, first = 0.0, last = 0.0;
    if (ChCoord::roundedRange(yLo, yHi, &step, &first, &last)) {
        const int labels = std::max(fm.horizontalAdvance(tickLabel(first, step)),
                                    fm.horizontalAdvance(tickLabel(last, step)));
        left = std::max(40.0, labels + 14.0);
    }
    // One line more on three sides: the y title up the left, the x title
    // under the labels, the plot's title above.
    const double line = fm.height() + 2.0;
    c.setMargins(std::min(0.4, (left + line) / w), std::min(0.2, RightRoom / w),
                 std::min(0.25, (TopRoom + line) / h), std::min(0.35, (BottomRoom + line) / h));
}

// Tagged name (name, tag): the complete base name, "-", the tag, ".", the
// suffix, in the folder of name.
QString taggedName(const QString &name, const QString &tag)
{
    const QFileInfo fi(name);
    return fi.absoluteDir().filePath(fi.completeBaseName() + QLatin1Char('-') + tag
                                     + QLatin1Char('.') + fi.suffix());
}

// The name itself, with "." + ext appended when it has no suffix.
QString defaultExtensionName(const QString &name, const QString &ext)
{
    const QFileInfo fi(name);
    if (!fi.suffix().isEmpty())
        return fi.absoluteFilePath();
    QString n = fi.absoluteFilePath();
    if (!n.endsWith(QLatin1Char('.')))
        n += QLatin1Char('.');
    return n + ext;
}

} // namespace

void drawPlotAxes(QPainter *p, const ChCoord &c, const QPen &pen)
{
    const int x0 = c.innerX0(), x1 = c.innerX1(), y0 = c.innerY0(), y1 = c.innerY1();
    p->save();
    p->setPen(pen);
    p->setBrush(Qt::NoBrush);
    p->drawRect(QRectF(x0, y0, x1 - x0, y1 - y0));
    const QFontMetrics fm = p->fontMetrics();
    const int major = 6, minor = 3;

    // x axis, labels under the plot area.
    double lo = std::min(c.realX0(), c.realX1()), hi = std::max(c.realX0(), c.realX1());
    double step = 0.0, first = 0.0, last = 0.0;
    if (ChCoord::roundedRange(lo, hi, &step, &first, &last)) {
        const int labelWidth = std::max(fm.horizontalAdvance(tickLabel(first, step)),
                                        fm.horizontalAdvance(tickLabel(last, step)));
        const double labelled = c.tickStepX(step, labelWidth + 12.0);
        const double ministep = c.tickStepX(labelled / 10.0, 5.0);
        if (labelled > 0.0) {
            if (ministep > 0.0 && ministep < labelled)
                for (double v = std::ceil(lo / ministep - 1e-9) * ministep;
                     v <= hi + ministep * 1e-9; v += ministep) {
                    const double sx = c.r2sx(v);
                    p->drawLine(QPointF(sx, y1), QPointF(sx, y1 - minor));
                }
            for (double v = std::ceil(lo / labelled - 1e-9) * labelled; v <= hi + labelled * 1e-9;
                 v += labelled) {
                const double sx = c.r2sx(v);
                p->drawLine(QPointF(sx, y1), QPointF(sx, y1 - major));
                p->drawLine(QPointF(sx, y0), QPointF(sx, y0 + major));
                const QString t = tickLabel(v, labelled);
                const int w = fm.horizontalAdvance(t);
                p->drawText(QPointF(sx - w / 2.0, y1 + 4 + fm.ascent()), t);
            }
        }
    }

    // y axis, labels left of the plot area.
    lo = std::min(c.realY0(), c.realY1());
    hi = std::max(c.realY0(), c.realY1());
    if (ChCoord::roundedRange(lo, hi, &step, &first, &last)) {
        const double labelled = c.tickStepY(step, fm.height() + 8.0);
        const double ministep = c.tickStepY(labelled / 10.0, 5.0);
        if (labelled > 0.0) {
            if (ministep > 0.0 && ministep < labelled)
                for (double v = std::ceil(lo / ministep - 1e-9) * ministep;
                     v <= hi + ministep * 1e-9; v += ministep) {
                    const double sy = c.r2sy(v);
                    p->drawLine(QPointF(x0, sy), QPointF(x0 + minor, sy));
                }
            for (double v = std::ceil(lo / labelled - 1e-9) * labelled; v <= hi + labelled * 1e-9;
                 v += labelled) {
                const double sy = c.r2sy(v);
                p->drawLine(QPointF(x0, sy), QPointF(x0 + major, sy));
                p->drawLine(QPointF(x1, sy), QPointF(x1 - major, sy));
                const QString t = tickLabel(v, labelled);
                const int w = fm.horizontalAdvance(t);
                p->drawText(QPointF(x0 - 4 - w, sy + fm.ascent() / 2.0 - 1), t);
            }
        }
    }
    p->restore();
}

XafsView::XafsView(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::XafsView)
{
    ui->setupUi(this);

    targetPen = QPen(QColor(255, 255, 255), 2);
    standardPen = QPen(QColor(0, 200, 255), 1);
    backgroundPen = QPen(QColor(120, 220, 120), 1, Qt::DashLine);
    tracePen = QPen(QColor(255, 170, 60), 1);
    fftPen = QPen(QColor(255, 120, 200), 1);
    markPen = QPen(QColor(255, 80, 80), 1, Qt::DotLine);
    framePen = QPen(QColor(90, 160, 255), 1);
    axisPen = QPen(QColor(210, 210, 210), 1);
    for (const QColor &col :
         {QColor(255, 220, 0), QColor(255, 100, 100), QColor(120, 255, 120), QColor(160, 140, 255),
          QColor(255, 160, 0), QColor(0, 255, 200), QColor(255, 0, 255), QColor(180, 180, 180)})
        pens << QPen(col, 1);

    DispA *g = ui->Graph;
    connect(g, &DispA::drawImage1, this, &XafsView::draw);
    connect(g, &DispA::mouseMoved0, this, &XafsView::onMouseMoved);
    connect(g, &DispA::mousePressed0, this, &XafsView::onMousePressed);
    connect(g, &DispA::mouseReleased0, this, &XafsView::onMouseReleased);
    connect(g, &DispA::wheelMoved0, this, &XafsView::onWheelMoved);
    connect(ui->ResetXScale, &QPushButton::clicked, this, &XafsView::resetXScale);
    connect(ui->Save, &QPushButton::clicked, this, &XafsView::showSaveDialog);
    for (QCheckBox *b : {ui->Normalized, ui->ECorrect, ui->ShowRaw, ui->ShowFFT})
        connect(b, &QCheckBox::toggled, this, &XafsView::modeChanged);

    saveDialog = new QFileDialog(this);
    saveDialog->setAcceptMode(QFileDialog::AcceptSave);
    saveDialog->setFileMode(QFileDialog::AnyFile);
    saveDialog->setDirectory(settings().dataRoot);
    saveDialog->setNameFilters({tr("Data File (*.dat)"), tr("Any Files (* *.*)")});
    saveDialog->setWindowTitle(tr("Save Spectra"));
    connect(saveDialog, &QFileDialog::fileSelected, this, &XafsView::saveData);
}

XafsView::~XafsView()
{
    delete ui;
}

DispA *XafsView::graph() const
{
    return ui->Graph;
}

XafsView::Mode XafsView::mode() const
{
    if (ui->ShowFFT->isChecked())
        return FftMode;
    if (ui->ShowRaw->isChecked())
        return TraceMode;
    return ui->Normalized->isChecked() ? NormalizedMode : AbsorptionMode;
}

void XafsView::setPlace(int x, int y, int halfWidth, int halfHeight)
{
    placed = true;
    placeX = x;
    placeY = y;
    placeHalfW = halfWidth;
    placeHalfH = halfHeight;
    update();
}

QString XafsView::plotTitle() const
{
    if (!placed)
        return QString();
    const qint64 w = 2 * std::abs(qint64(placeHalfW)) + 1;
    const qint64 h = 2 * std::abs(qint64(placeHalfH)) + 1;
    return tr("Position (%1, %2), window %3 x %4 pixels").arg(placeX).arg(placeY).arg(w).arg(h);
}

QString XafsView::xAxisTitle() const
{
    if (mode() == FftMode)
        return tr("Frequency [cycles over the I1 trace]");
    return tr("Energy [eV]");
}

QString XafsView::yAxisTitle() const
{
    switch (mode()) {
    case FftMode:
        return tr("|FFT of I1|");
    case TraceMode:
        return tr("I1 [counts]");
    case NormalizedMode:
        return tr("normalized μt");
    default:
        return tr("μt");
    }
}

void XafsView::drawTitles(QPainter *p, const ChCoord &c)
{
    p->save();
    p->setPen(axisPen);
    const QFontMetrics fm = p->fontMetrics();
    const int x0 = c.innerX0(), x1 = c.innerX1(), y0 = c.innerY0(), y1 = c.innerY1();
    const QString xt = xAxisTitle();
    p->drawText(QPointF((x0 + x1 - fm.horizontalAdvance(xt)) / 2.0,
                        c.screenY1() - fm.descent() - 1),
                xt);
    const QString title = plotTitle();
    if (!title.isEmpty())
        p->drawText(QPointF((x0 + x1 - fm.horizontalAdvance(title)) / 2.0,
                            c.screenY0() + fm.ascent() + 2),
                    title);
    // The y title runs up the left edge, centred on the plot area.
    const QString yt = yAxisTitle();
    p->translate(c.screenX0() + fm.ascent() + 2, (y0 + y1 + fm.horizontalAdvance(yt)) / 2.0);
    p->rotate(-90);
    p->drawText(QPointF(0, 0), yt);
    p->restore();
}

double XafsView::effectiveDE(const XafsSpectrum &s) const
{
    return s.dEEnabled() ? s.dE() : 0.0;
}

double XafsView::setXafsSpectrum(const XafsSpectrum &s)
{
    targetSpectrum = s;
    const SpectrumPoints &d = targetSpectrum.doubleNormalizedPreBase();
    // An empty spectrum has no extent: the ranges stay.
    if (autoRangeOn && !d.isEmpty()) {
        const double shift = d.shiftEnabled() ? d.shift() : 0.0;
        xLow = fullLow = d.minX() - shift;
        xHigh = fullHigh = d.maxX() - shift;
    }
    update();
    emit updated();
    return targetSpectrum.raw().crossingX(0.5, SpectrumPoints::Rising)
           - standardSpectrum.raw().crossingX(0.5, SpectrumPoints::Rising);
}

void XafsView::setTrace(const SpectrumPoints &points)
{
    traceData = points;
    update();
    emit updated();
}

void XafsView::setStandard(const XafsSpectrum &s)
{
    standardSpectrum = s;
    update();
    emit updated();
}

void XafsView::setOthers(const QVector<XafsSpectrum *> &spectra)
{
    others = spectra;
    update();
    emit updated();
}

void XafsView::setEdgeMarks(const QVector<EdgeMark> &marks)
{
    edgeMarks = marks;
    update();
    emit updated();
}

void XafsView::setMarkerEnergy(double e)
{
    if (e == frameEnergy)
        return;
    frameEnergy = e;
    update();
    emit updated();
}

void XafsView::draw(QPainter *p)
{
    DispA *g = ui->Graph;
    const int w = g->width();
    const int h = g->height();
    ChCoord &c = g->coord();
    c.setScreenArea(0, 0, w, h);
    const Mode m = mode();
    if (m == FftMode) {
        drawFft(p, c);
        return;
    }

    double x0 = xLow, x1 = xHigh;
    openRange(&x0, &x1);
    double y0 = 0.0, y1 = 1.0;
    const bool eCorrect = ui->ECorrect->isChecked();
    const double targetOffset = eCorrect ? targetSpectrum.energyShift() : 0.0;
    switch (m) {
    case TraceMode:
        finiteYRange(traceData, &y0, &y1);
        break;
    case NormalizedMode:
        finiteYRange(targetSpectrum.doubleNormalizedPreBase(), &y0, &y1);
        break;
    default:
        if (!finiteYRange(standardSpectrum.raw(), &y0, &y1))
            finiteYRange(targetSpectrum.raw(), &y0, &y1);
        break;
    }
    openRange(&y0, &y1);
    yLow = y0;
    yHigh = y1;
    const double pad = (y1 - y0) * YPad;
    setPlotMargins(p, c, y0 - pad, y1 + pad);
    c.setRealArea(x0, y1 + pad, x1, y0 - pad);

    drawPlotAxes(p, c, axisPen);
    drawTitles(p, c);
    p->save();
    p->setClipRect(
        QRect(c.innerX0(), c.innerY0(), c.innerX1() - c.innerX0(), c.innerY1() - c.innerY0()));
    p->setRenderHint(QPainter::Antialiasing, true);
    drawEdgeMarks(p, c);
    if (frameEnergy >= 0.0) {
        const double sx = c.r2sx(frameEnergy);
        if (sx >= c.innerX0() && sx <= c.innerX1()) {
            p->setPen(framePen);
            p->drawLine(QPointF(sx, c.innerY0()), QPointF(sx, c.innerY1()));
        }
    }

    if (m == TraceMode) {
        p->setPen(tracePen);
        drawCurve(p, c, traceData, 0.0, true);
    } else if (m == NormalizedMode) {
        p->setPen(standardPen);
        drawCurve(p, c, standardSpectrum.doubleNormalizedPreBase(), effectiveDE(standardSpectrum),
                  true);
        for (int i = 0; i < others.size(); ++i) {
            if (!others[i])
                continue;
            p->setPen(pens[i % pens.size()]);
            drawCurve(p, c, others[i]->doubleNormalizedPreBase(), 0.0, true);
        }
        p->setPen(targetPen);
        drawCurve(p, c, targetSpectrum.doubleNormalizedPreBase(), targetOffset, true);
    } else {
        if (!standardSpectrum.raw().isEmpty()) {
            const double sd = effectiveDE(standardSpectrum);
            p->setPen(backgroundPen);
            drawCurve(p, c, standardSpectrum.pre().curve, sd, true);
            drawCurve(p, c, standardSpectrum.post().curve, sd, true);
            p->setPen(standardPen);
            drawCurve(p, c, standardSpectrum.raw(), 0.0, true);
        }
        p->setPen(targetPen);
        drawCurve(p, c, targetSpectrum.raw(), targetOffset, true);
        p->setPen(backgroundPen);
        drawCurve(p, c, targetSpectrum.pre().curve, targetOffset, true);
        drawCurve(p, c, targetSpectrum.post().curve, targetOffset, true);
        for (int i = 0; i < others.size(); ++i) {
            if (!others[i])
                continue;
            p->setPen(pens[i % pens.size()]);
            drawCurve(p, c, others[i]->raw(), 0.0, true);
        }
    }
    p->restore();
}

void XafsView::drawFft(QPainter *p, ChCoord &c)
{
    const int n = traceData.size();
    const double *mags = nullptr;
    if (n > 0) {
        fft.setSize(n);
        fft.forward(traceData);
        mags = fft.magnitudes();
    }
    double y0 = 0.0, y1 = 1.0;
    // The zero-frequency term and the last one would dwarf the rest; with
    // fewer than 30 points there is too little to scale by, and the range
    // stays at 0 .. 1.
    if (mags && n >= 30) {
        y0 = y1 = mags[1];
        for (int i = 1; i <= n - 2; ++i) {
            y0 = std::min(y0, mags[i]);
            y1 = std::max(y1, mags[i]);
        }
    }
    openRange(&y0, &y1);
    yLow = y0;
    yHigh = y1;
    const double pad = (y1 - y0) * YPad;
    setPlotMargins(p, c, y0 - pad, y1 + pad);
    c.setRealArea(0.0, y1 + pad, std::max(n, 1), y0 - pad);
    drawPlotAxes(p, c, axisPen);
    drawTitles(p, c);
    if (!mags)
        return;
    p->save();
    p->setClipRect(
        QRect(c.innerX0(), c.innerY0(), c.innerX1() - c.innerX0(), c.innerY1() - c.innerY0()));
    p->setRenderHint(QPainter::Antialiasing, true);
    p->setPen(fftPen);
    QPolygonF poly;
    poly.reserve(n);
    for (int i = 0; i < n; ++i)
        poly << QPointF(clampScreen(c.r2sx(i)), clampScreen(c.r2sy(mags[i])));
    flush(p, poly);
    p->restore();
}

void XafsView::drawEdgeMarks(QPainter *p, const ChCoord &c)
{
    if (edgeMarks.isEmpty())
        return;
    static const char *const edgeNames[] = {"K", "LI", "LII", "LIII", "M1"};
    p->save();
    p->setPen(markPen);
    const QFontMetrics fm = p->fontMetrics();
    for (const EdgeMark &mark : edgeMarks) {
        const double e = edgeEnergy(mark.element, mark.edge);
        if (!(e > 0.0))
            continue;
        const double sx = c.r2sx(e);
        if (sx < c.innerX0() || sx > c.innerX1())
            continue;
        p->drawLine(QPointF(sx, c.innerY0()), QPointF(sx, c.innerY1()));
        if (mark.element >= 0 && mark.element < ElementTable::Count && mark.edge >= 0
            && mark.edge < 5)
            p->drawText(QPointF(sx + 3, c.innerY0() + fm.ascent() + 2),
                        QString::fromLatin1(ElementTable::entry(mark.element).symbol)
                            + QLatin1Char(' ') + QLatin1String(edgeNames[mark.edge]));
    }
    p->restore();
}

void XafsView::onMouseMoved()
{
    DispA *g = ui->Graph;
    const ChCoord &c = g->coord();
    const QPoint pos = g->mouse().pos();
    const double x = c.s2rx(pos.x());
    const double y = c.s2ry(pos.y());
    ui->XVal->setText(QStringLiteral("%1").arg(x, 0, 'f', 1));
    ui->YVal->setText(QStringLiteral("%1").arg(y, 0, 'f', 3));

    // The point of the curve drawn under the mouse: the spectrum on show as
    // it is drawn (x less the shift it is drawn with), the trace, or the
    // Fourier component.
    int index = -1;
    switch (mode()) {
    case FftMode:
        if (!traceData.isEmpty())
            index = int(std::lround(std::max(0.0, std::min(x, double(traceData.size() - 1)))));
        break;
    case TraceMode:
        index = traceData.indexNear(x);
        break;
    default:
        index = targetSpectrum.doubleNormalizedPreBase().indexNear(
            x + (ui->ECorrect->isChecked() ? targetSpectrum.energyShift() : 0.0));
        break;
    }
    if (index < 0)
        ui->Position->clear();
    else
        ui->Position->setText(QString::number(index));

    if (panning && g->mouse().isPressed()) {
        const double now = panCoord.s2rx(pos.x());
        const double move = panPressX - now;
        xLow = panXMin + move;
        xHigh = panXMax + move;
        update();
    }
    emit updated();
}

void XafsView::onMousePressed()
{
    DispA *g = ui->Graph;
    // A plain left drag pans the energy range; the range and the converter
    // of the press are kept, so the data point under the press stays under
    // the mouse for the whole drag.
    panning = g->dragEnabled() && g->mouse().pressMode() == 0 && mode() != FftMode;
    if (!panning)
        return;
    panCoord = g->coord();
    panXMin = xLow;
    panXMax = xHigh;
    panPressX = panCoord.s2rx(g->mouse().pressed().pos.x());
}

void XafsView::onMouseReleased()
{
    panning = false;
}

void XafsView::onWheelMoved()
{
    DispA *g = ui->Graph;
    if (!g->wheelEnabled() || mode() == FftMode)
        return;
    const ChCoord &c = g->coord();
    const QPointF at = g->wheelPos();
    const double x0 = c.s2rx(at.x());
    const double y0 = c.s2ry(at.y());
    const double f = g->zoomFactor();
    xLow = (xLow - x0) * f + x0;
    xHigh = (xHigh - x0) * f + x0;
    ui->XVal->setText(QString::number(x0, 'g', 6));
    ui->YVal->setText(QString::number(y0, 'g', 6));
    update();
    emit updated();
}

void XafsView::resetXScale()
{
    xLow = fullLow;
    xHigh = fullHigh;
    update();
    emit updated();
}

void XafsView::update()
{
    ui->Graph->update();
}

bool XafsView::saveData(QString fname)
{
    if (fname.isEmpty()) {
        qDebug().noquote() << "No file name to save spectra";
        return false;
    }
    // A name without a suffix takes ".dat" before it is tagged, so "a" gives
    // "a-T.dat" rather than a name with two dots.
    const QString base = defaultExtensionName(fname, QStringLiteral("dat"));
    const QString dat = QStringLiteral("dat");
    // Every file is tried even when one fails; each failure logs its own line.
    auto nameOf = [&](const QString &tag) {
        return defaultExtensionName(taggedName(base, tag), dat);
    };
    bool ok = targetSpectrum.save(nameOf(QStringLiteral("T")), true);
    ok = standardSpectrum.save(nameOf(QStringLiteral("std")), false) && ok;
    for (int i = 0; i < others.size(); ++i)
        if (others[i])
            ok = others[i]->save(nameOf(QStringLiteral("other%1").arg(i)), false) && ok;
    return ok;
}

void XafsView::setNormalize(bool f)
{
    ui->Normalized->setChecked(f);
}

void XafsView::setEnergyCorrection(bool f)
{
    ui->ECorrect->setChecked(f);
}

void XafsView::showSaveDialog()
{
    saveDialog->show();
}

void XafsView::modeChanged()
{
    update();
    emit updated();
}
