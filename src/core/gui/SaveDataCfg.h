#pragma once

#include <QWidget>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;

// The save-data settings window: whether result maps are saved as 16-bit
// TIFF (with a fixed scale or the map's own range, full size or one pixel
// per analyzed bin) or as text (comma or space separated, one point a line
// or one row of bins a line). The main window reads it when it saves.
class SaveDataCfg : public QWidget
{
    Q_OBJECT
public:
    explicit SaveDataCfg(QWidget *parent = nullptr);

    bool saveAsTiff() const;
    bool tiffScaleFixed() const;
    double tiffScaleMin() const;
    double tiffScaleMax() const;
    bool tiffAsAnalyzed() const;
    bool textAsCSV() const;
    bool textAsXYVal() const;

public slots:
    // The TIFF group is usable exactly while TIFF output is chosen, the
    // text group exactly while it is not.
    void toggledSaveAs(bool tiff);
    void setSaveAsTiff();
    void setSaveAsText();
    void setSaveTiffScaleFixed(bool f);
    void setSaveTiffScaleMin(double v);
    void setSaveTiffScaleMax(double v);
    void setSaveTiffAsAnalyzed(bool f);
    void setSaveTextAsCSV();
    void setSaveTextAsSSV();
    void setSaveTextAsXYVal();
    void setSaveTextAsValValVal();

private:
    QRadioButton *asTiff;
    QRadioButton *asText;
    QGroupBox *tiffGroup;
    QCheckBox *fixedScale;
    QLineEdit *scaleMax;
    QLineEdit *scaleMin;
    QCheckBox *asAnalyzed;
    QGroupBox *textGroup;
    QRadioButton *comma;
    QRadioButton *space;
    QRadioButton *xyVal;
    QRadioButton *valVal;
};
