#pragma once

#include "analysis/AnalyzeCond.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <memory>

struct GreyScale;

// One 2D result map: a full-image grid of values that a run fills bin by
// bin (an LCF weight, a residual, an edge jump, a correlation, an energy
// shift), a second grid that the two deglitch filters write, the 8-bit
// picture of either grid, and their conversion to 16-bit data and to text.
//
// Life of a map: empty (constructed or cleared); prepared for a run
// (prepare: the walk set, both grids allocated as zeros); filled by setData;
// pictured by genImg; optionally filtered (deglitch, deglitch2), the
// processed grid shown with selectProcImg(true) and made permanent with
// copyProc2Data. Every operation that needs a grid does nothing when it is
// missing. A read of a grid at a bin centre outside the image gives 0.0.
//
// The picture owns its memory: whatever img() handed out stays valid when
// the map regenerates, clears or is destroyed.
//
// Used in the GUI thread only.
class Analyzed2DRes : public QObject
{
    Q_OBJECT
public:
    explicit Analyzed2DRes(QObject *parent = nullptr);
    ~Analyzed2DRes() override;

    // The largest map: that of the largest frame.
    static const qint64 maxSide;
    static const qint64 maxPixels;

    // Makes the map ready for a run over `walk`: takes the walk, forgets
    // the running bounds (1e300, -1e300), deglitch factor 1.0, shows the
    // values, drops the picture and both grids and allocates them as
    // width x height zeros. Every run prepares its maps through this. When
    // the grids cannot be had (no image size, too large, no memory) it logs
    // why, leaves the map empty and returns false: the run must not start.
    bool prepare(const AnalyzeCond &walk);
    // Makes this map a copy of `src`: every field, both grids and the
    // picture. False (logged, this map left empty) without memory.
    bool copyFrom(const Analyzed2DRes &src);

    QString name() const { return title; }
    void setName(const QString &n) { title = n; }
    const AnalyzeCond &walk() const { return cond; }
    int width() const { return cond.width; }
    int height() const { return cond.height; }
    bool hasData() const { return bool(values); }
    bool hasProcessed() const { return bool(procValues); }
    // Row-major width x height grids; null when missing.
    const double *data() const { return values.get(); }
    const double *processed() const { return procValues.get(); }
    // The value (processed value) at image pixel (x, y); 0.0 outside the
    // image or when the grid is missing.
    double value(int x, int y) const { return gridAt(values.get(), x, y); }
    double processedValue(int x, int y) const { return gridAt(procValues.get(), x, y); }

    double dataMin() const { return dataLo; }
    double dataMax() const { return dataHi; }
    double procMin() const { return procLo; }
    double procMax() const { return procHi; }
    double scaleMin() const { return scaleLo; }
    double scaleMax() const { return scaleHi; }
    bool isFixedScale() const { return fixed; }
    bool showsProcessed() const { return showProc; }
    double deglitchFactor() const { return glitchFactor; }
    double deglitchRange() const { return glitchRange; }
    bool isImageValid() const { return imageValid; }
    QImage::Format pixelFormat() const { return format; }
    // Number of values of the last tiffDataForSave (0 when it gave none).
    int count() const { return produced; }

    // The range the picture is scaled by: the fixed scale when fixed, else
    // the bounds of the grid on show. The colour bar's labels take it.
    double displayMin() const;
    double displayMax() const;

    // The handles every picture is mapped through (not owned; null: the
    // initial handles), as for frames.
    void setColorBar(const GreyScale *bar) { greyScale = bar; }
    const GreyScale *colorBar() const { return greyScale; }

    // Writes the values (not the processed ones) of the bin centres in walk
    // order: with xyz one line "x,y,value" per bin ("x y value" without
    // comma); else one line per row of bins, values joined by "," or " ".
    // Numbers as the text stream writes them (6 significant digits). False,
    // with the reason in the debug log, when the file cannot be written or
    // the map has no values.
    bool writeText(const QString &fileName, bool comma, bool xyz) const;

    // The 16-bit value of v in the range from min to min + span: the
    // integer part of (v - min) / span * 65535, clamped to 0..65535; 0 for
    // a not-a-number and for a range without width.
    static quint16 sixteenBit(double v, double min, double span);

signals:
    // The range the colour bar is to show after a change of scaling (the
    // library holds no widget; the owner passes it on to the bar).
    void colorRangeChanged(double min, double max);

public slots:
    // Back to empty: default walk, running bounds 1e300 / -1e300, processed
    // bounds 0 / 1, no picture and no grids.
    void clear();
    void setNo(int n) { number = n; }
    int no() const { return number; }
    // Writes t into every pixel with |x - ix| <= |xw| and |y - iy| <= |yw|
    // inside the image and takes t into the running bounds (also when no
    // pixel is inside).
    void setData(int ix, int iy, int xw, int yw, double t);
    // Regenerates the picture of the grid on show through the colour bar.
    void genImg();
    // The current picture (null when there is none); a copy that shares
    // the map's memory until either changes.
    QImage img() const { return imageValid ? image : QImage(); }
    // 16-bit data of the grid on show, scaled by [scaleMin, scaleMax] when
    // fixedScale, else by the grid's bounds: one value per bin in walk order
    // (values clamped to the range) with asAnalyzed, else one per pixel.
    // Null when the grid is missing or memory cannot be had; count() tells
    // the number of values.
    std::unique_ptr<quint16[]> tiffDataForSave(bool fixedScale, double scaleMin, double scaleMax,
                                               bool asAnalyzed);
    // Spike removal by second differences across neighbouring bins.
    void deglitch();
    void setDeglitchConds(double f, double r);
    void selectProcImg(bool f);
    // Replaces bins further than `limit` from the mean by the mean of their
    // neighbours that are not.
    void deglitch2(double limit);
    void copyProc2Data();
    void setFixedScale(bool f);
    void setScale(double min, double max);

private:
    double gridAt(const double *grid, int x, int y) const
    {
        if (!grid || x < 0 || y < 0 || x >= cond.width || y >= cond.height)
            return 0.0;
        return grid[qint64(y) * cond.width + x];
    }
    double centre(const double *grid, const AnalyzeCond &w) const
    {
        return gridAt(grid, w.cx, w.cy);
    }
    bool inside(qint64 x, qint64 y) const
    {
        return x >= 0 && y >= 0 && x < cond.width && y < cond.height;
    }
    // The map's name for the debug log ("map" when it has none).
    QString label() const { return title.isEmpty() ? QStringLiteral("map") : title; }
    double secondDifference(const AnalyzeCond &w) const;
    void releaseGrids();
    void emitColorRange();

    int number = 0;
    QString title;
    AnalyzeCond cond;
    bool imageValid = false;
    // The picture; it owns its pixel buffer.
    QImage image;
    std::unique_ptr<double[]> values;
    double dataLo = 1e300, dataHi = -1e300;
    double scaleLo = 0.0, scaleHi = 1.0;
    bool fixed = false;
    QImage::Format format = QImage::Format_Grayscale8;
    int produced = 0;
    double procLo = 0.0, procHi = 1.0;
    std::unique_ptr<double[]> procValues;
    double glitchFactor = 1.0;
    double glitchRange = 0.0;
    bool showProc = false;
    const GreyScale *greyScale = nullptr;
};
