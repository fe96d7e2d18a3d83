#pragma once

#include "alignment/BinImage.h"
#include "alignment/EdgeImage.h"

#include <QWidget>

class ColorBar;
class ProcDispA;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QSlider;
class TiffData;

// The image processor: it turns the I1 frame on show into an edge image,
// thresholds that into a binary image, keeps one binary image as the
// reference, scores a trial shift of the binary image against it, searches
// for the best integer shift by hill climbing and hands the shift to the main
// window, which stores it in the frame.
//
// The frame is not owned: the main window gives it (giveData) whenever the
// display shows another frame, and none when the I1 frames are dropped.
class ImgProc : public QWidget
{
    Q_OBJECT
public:
    explicit ImgProc(QWidget *parent = nullptr);

    const EdgeImage &edgeImage() const { return edges; }
    const BinImage &binImage() const { return bin; }
    const BinImage &refImage() const { return ref; }
    // The score last drawn in compare mode: the bar a new search must beat.
    double lastScore() const { return score; }
    int trialShiftX() const;
    int trialShiftY() const;
    double threshold() const;
    int thresholdPosition() const;
    const TiffData *frame() const { return current; }

    // What a script sets, as the user would in the controls.
    void setEdgeDetect(bool f);
    void setBinary(bool f);
    void setCompare(bool f);
    void setAutoAutoShift(bool f);
    void setAutoSetShift(bool f);
    // Typed into "Th." and applied.
    void typeThreshold(double v);
    void moveThresholdSlider(int position);
    // The trial shift typed into "Shift X:" and "Y:", then drawn.
    void setTrialShift(int sx, int sy);

signals:
    void askGiveData();
    void askClearAllShifts();
    void imgShift(int sx, int sy);

public slots:
    // The entry for a frame from the main window (null: none).
    void giveData(TiffData *frame);
    void movedBinThVSlider();
    void newBinThV();
    void setBinThV();
    void setRefBin();
    void toggledEdgeDetect(bool f);
    void edgeDetect();
    void binarize();
    void drawOnImage();
    void shiftBinImg();
    void autoShiftBinImg();
    // The search without the drawing; false when it could not start.
    bool autoShiftBinImg0();
    void setShift();
    void clearAllShifts();

private:
    void setTrialShiftFields(int sx, int sy);
    QImage edgePicture() const;
    QImage binPicture() const;
    QImage overlay();

    TiffData *current = nullptr;
    int frameW = 0;
    int frameH = 0;
    EdgeImage edges;
    BinImage bin;
    BinImage ref;
    double score = 0.0;

    QCheckBox *edgeDetectBox = nullptr;
    QCheckBox *binaryBox = nullptr;
    QLineEdit *minEdge = nullptr;
    QLineEdit *maxEdge = nullptr;
    QLineEdit *binTh = nullptr;
    QSlider *binThSlider = nullptr;
    QCheckBox *compareBox = nullptr;
    QLineEdit *scoreField = nullptr;
    QLineEdit *shiftXField = nullptr;
    QLineEdit *shiftYField = nullptr;
    QPushButton *shiftL = nullptr;
    QPushButton *shiftR = nullptr;
    QPushButton *shiftU = nullptr;
    QPushButton *shiftD = nullptr;
    QCheckBox *aAutoShiftBox = nullptr;
    QCheckBox *aSetShiftBox = nullptr;
    ProcDispA *disp = nullptr;
    ColorBar *cBar = nullptr;
};
