#pragma once

#include "spectrum/FourierBuffers.h"
#include "spectrum/SpectrumPoints.h"
#include "spectrum/XafsSpectrum.h"
#include "widgets/ChCoord.h"

#include <QFrame>
#include <QPen>
#include <QVector>

class DispA;
class QFileDialog;
class QPainter;

namespace Ui {
class XafsView;
}

// The spectrum plot window: the spectrum on show (raw with its backgrounds,
// or double-normalized), a standard and further spectra beside it, the raw I1
// trace and its Fourier magnitudes, the read-out of the position under the
// mouse, pan and wheel zoom along the energy axis, and saving of the spectra
// it holds.
class XafsView : public QFrame
{
    Q_OBJECT
public:
    // An edge marked by a vertical line: record (atomic number) and edge
    // number of the edge table.
    struct EdgeMark
    {
        int element = 0;
        int edge = 0;
    };

    // What draw shows, from the boxes: "FFT" wins over "Raw", "Raw" over the
    // two energy modes of the spectrum.
    enum Mode { AbsorptionMode, NormalizedMode, TraceMode, FftMode };

    explicit XafsView(QWidget *parent = nullptr);
    ~XafsView() override;

    // Copies s as the spectrum on show (with autoRange also setting both
    // energy ranges to its extent); returns its half-height energy less the
    // standard's.
    double setXafsSpectrum(const XafsSpectrum &s);
    // Copies the raw I1 trace of the position on show.
    void setTrace(const SpectrumPoints &points);
    void setStandard(const XafsSpectrum &s);
    // Further spectra to draw and save (not owned; null entries are skipped).
    void setOthers(const QVector<XafsSpectrum *> &spectra);
    void setEdgeMarks(const QVector<EdgeMark> &marks);
    // A vertical line at the energy of the frame on show in the main window;
    // a negative energy (no frame) draws none.
    void setMarkerEnergy(double e);
    double markerEnergy() const { return frameEnergy; }
    void setAutoRange(bool f) { autoRangeOn = f; }
    bool autoRange() const { return autoRangeOn; }

    const XafsSpectrum &target() const { return targetSpectrum; }
    const XafsSpectrum &standard() const { return standardSpectrum; }
    const SpectrumPoints &trace() const { return traceData; }
    double xMin() const { return xLow; }
    double xMax() const { return xHigh; }
    double fullMin() const { return fullLow; }
    double fullMax() const { return fullHigh; }
    // The y range of the last drawing.
    double yMin() const { return yLow; }
    double yMax() const { return yHigh; }
    Mode mode() const;
    DispA *graph() const;

    // Names the position the spectrum is taken at and the half sizes of the
    // window summed there; the plot's title shows them (a window of
    // 2 |half| + 1 pixels each way).
    void setPlace(int x, int y, int halfWidth, int halfHeight);
    // The titles the plot carries in the present mode.
    QString plotTitle() const;
    QString xAxisTitle() const;
    QString yAxisTitle() const;

signals:
    void updated();

public slots:
    void draw(QPainter *p);
    void onMouseMoved();
    void onWheelMoved();
    void resetXScale();
    void update();
    // Writes the spectrum on show, the standard and the other spectra to
    // tagged names of fname; false when any of them could not be written.
    bool saveData(QString fname);
    void setNormalize(bool f);
    void setEnergyCorrection(bool f);

private slots:
    void onMousePressed();
    void onMouseReleased();
    void showSaveDialog();
    void modeChanged();

private:
    void drawFft(QPainter *p, ChCoord &c);
    void drawEdgeMarks(QPainter *p, const ChCoord &c);
    double effectiveDE(const XafsSpectrum &s) const;
    void drawTitles(QPainter *p, const ChCoord &c);

    Ui::XafsView *ui;
    SpectrumPoints traceData;
    XafsSpectrum targetSpectrum;
    double xLow = 0.0;
    double xHigh = 1.0;
    double fullLow = 0.0;
    double fullHigh = 1.0;
    bool autoRangeOn = true;
    XafsSpectrum standardSpectrum;
    QVector<XafsSpectrum *> others;
    FourierBuffers fft;
    QVector<EdgeMark> edgeMarks;
    double frameEnergy = -1.0;
    bool placed = false;
    int placeX = 0, placeY = 0, placeHalfW = 0, placeHalfH = 0;
    // Pens by curve kind, then one per further spectrum (by its index).
    QPen targetPen, standardPen, backgroundPen, tracePen, fftPen, markPen, framePen, axisPen;
    QVector<QPen> pens;

    double yLow = 0.0;
    double yHigh = 1.0;
    // The energy range and the converter as they were when a pan began.
    bool panning = false;
    double panXMin = 0.0;
    double panXMax = 1.0;
    double panPressX = 0.0;
    ChCoord panCoord;
    QFileDialog *saveDialog = nullptr;
};

// Draws the frame of c's inner rectangle with tick marks and numbered labels
// on both axes over c's real rectangle. The labelled ticks are the rounded
// label range of each axis, thinned by the converter's tick step until the
// labels keep clear of each other; unlabelled ticks divide them.
void drawPlotAxes(QPainter *p, const ChCoord &c, const QPen &pen);
