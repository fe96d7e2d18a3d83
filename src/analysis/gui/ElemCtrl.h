#pragma once

#include "analysis/ElemAnalysis.h"

#include <QFrame>
#include <QVector>

class Analyzed2DRes;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;

// One target element of the element analysis: its edge, the user's settings
// (Pre/Post dE, threshold, ROI, No Neg, Use, Std. Ratio), the values of the
// last analyzed spectrum and its seven result maps (kinds 0 dmut, 1 N, 2 mu+,
// 3 mu-, 4 DE, 5 ROI, 6 NROI).
class ElemCtrl : public QFrame
{
    Q_OBJECT
public:
    static constexpr int Kinds = ElemResults::Kinds;

    explicit ElemCtrl(const ElemTarget &target, QWidget *parent = nullptr);

    const ElemTarget &target() const { return elem; }
    QString name() const { return elem.name(); }
    QRadioButton *mainTargetButton() const { return mainTarget; }
    QRadioButton *showButton() const { return show; }
    const QVector<Analyzed2DRes *> &maps() const { return resultMaps; }
    bool isUsed() const;
    double stdRatio() const { return standard; }
    double lastN() const { return lastNValue; }
    // The row as the computation reads it, taken in the GUI thread.
    ElemRowSnapshot snapshot() const;

public slots:
    // Shows row i of the results of one spectrum.
    void showResults(const ElemResults &r, int i);
    void newStdRatio();
    void setStdRatio(double v);
    void setPrePostDE(double v);
    void setThDMut(double v);
    void setROI(double from, double to);
    void setNoNeg(bool f);
    void setUse(bool f);

private:
    ElemTarget elem;
    QRadioButton *mainTarget = nullptr;
    QRadioButton *show = nullptr;
    QCheckBox *use = nullptr;
    QCheckBox *noNeg = nullptr;
    QLineEdit *prePostDE = nullptr;
    QLineEdit *thDMut = nullptr;
    QLineEdit *roiStart = nullptr;
    QLineEdit *roiEnd = nullptr;
    QLineEdit *stdRatioEdit = nullptr;
    QLabel *dmutText = nullptr;
    QLabel *ratioText = nullptr;
    QLabel *deText = nullptr;
    QLabel *roiText = nullptr;
    QLabel *nroiText = nullptr;
    double standard = 1.0;
    double lastNValue = 0.0;
    QVector<Analyzed2DRes *> resultMaps;
};
