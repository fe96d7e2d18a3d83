#pragma once

#include "input/EnergyRule.h"

#include <QWidget>

namespace Ui {
class EOFSetup;
}

// The energy setup window of one stack: which rule gives each frame its
// energy (file name, file number, reference file) and the fields of each
// rule. The selection panel of the stack owns it and asks it for the energy
// of every frame it stores.
class EOFSetup : public QWidget
{
    Q_OBJECT
public:
    explicit EOFSetup(QWidget *parent = nullptr);
    ~EOFSetup() override;

    // Energy in eV of frame fNo of the selected list, read from `path`.
    double energyOf(const QString &path, int fNo);
    // The rule as the fields describe it now.
    const EnergyRule &rule();

    // Writers used by the batch commands: they set the same controls a user
    // would and call the same recalculations.
    void setByName(bool on);
    void setByCalc(bool on);
    void setStart(double v); // then End is recomputed
    void setDelta(double v); // then End is recomputed
    void setEnd(double v);   // then Delta is recomputed
    void setNum(int n);      // then Delta is recomputed
    void setEvenInEnergy(bool on);
    void setEvenInAngle(bool on);
    void setDisplayUnit(int idx);      // ignored past the last unit
    void setPattern(const QString &p); // the factor stays as it is
    void setFactor(double f);
    void setRefFile(const QString &fname);

    Ui::EOFSetup *form() const { return ui; }

public slots:
    void newStart();
    void newDelta();
    void newEnd();
    void newNumOfPoints();
    void newPattern();
    void newPatternSelected(const QString &pattern);
    void refFileSelected(const QString &fname);

protected:
    // Escape closes the window, as it would a dialog.
    void keyPressEvent(QKeyEvent *event) override;
    // Asks the user for a reference file; empty when cancelled.
    virtual QString chooseRefFile();

private:
    void readFields();
    void recomputeEnd();
    void recomputeDelta();

    Ui::EOFSetup *ui;
    EnergyRule energyRule;
};
