#pragma once

#include "analysis/LcfFit.h"
#include "spectrum/XafsSpectrum.h"

#include <QFrame>
#include <QVector>

class Analyzed2DRes;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class XafsFileSelect;

// One reference row of the LCF analysis: its file, its background form
// ("Victreen"), its energy shift dE, the weight and edge-jump product of the
// last single-spectrum fit, and its two result maps (kind 0 "DMut", kind 1
// "Ratio").
class LCFReference : public QFrame
{
    Q_OBJECT
public:
    // `number` counts from 1 and names the row's selection button.
    explicit LCFReference(int number, QWidget *parent = nullptr);

    XafsFileSelect *picker() const { return filePicker; }
    // The row's button in the analyzer's exclusive image group.
    QPushButton *selectButton() const { return selectRef; }
    const XafsSpectrum &spectrum() const { return reference; }
    double deltaE() const { return dE; }
    double weight() const { return shownWeight; }
    bool isVictreen() const;
    bool showChecked() const;
    // Use box on and a file that gave points.
    bool isUsed() const;
    // The row as a fit reads it, taken here in the GUI thread.
    LcfReferenceSnapshot snapshot() const;
    const QVector<Analyzed2DRes *> &maps() const { return resultMaps; }

signals:
    void newFileSelected();
    void newDeltaE();
    // Anything a fit reads changed: file, use, dE or background form.
    void changed();

public slots:
    void newFile(const QString &fname);
    void changedUse(bool f);
    void editedDeltaE();
    void toggledIsVictreen(bool f);
    // The batch form of a row's set-up: the background form from isVic
    // (empty: Victoreen; "VIC" in any case: Victoreen; else an integer
    // above 0), the file, the use state and dE (not renormalized).
    void setStd(bool use, double dE, const QString &fname, const QString &isVic);
    void setWeight(double w);
    void setAmount(double a);

private:
    XafsFileSelect *filePicker = nullptr;
    QPushButton *selectRef = nullptr;
    QCheckBox *victreen = nullptr;
    QCheckBox *show = nullptr;
    QLineEdit *deltaEEdit = nullptr;
    QLabel *weightText = nullptr;
    QLabel *amountText = nullptr;
    QLabel *e0Text = nullptr;
    QLabel *jumpText = nullptr;
    XafsSpectrum reference;
    double dE = 0.0;
    double shownWeight = 0.0;
    QVector<Analyzed2DRes *> resultMaps;
};
