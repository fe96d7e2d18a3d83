#pragma once

#include "spectrum/XafsSpectrum.h"

#include <QFrame>

class QComboBox;
class QFileDialog;
class QLineEdit;
class QPushButton;
class QRadioButton;
struct EdgeShiftStats;

// The calibration window: the standard spectrum with its background form,
// the background form of the spectra built at a position, the monochromator
// crystal, the edge energy a map file is read at, the buttons that calibrate,
// clear, save and load the energy-shift map, and the statistics of the last
// calibration. It holds the standard; the main window does the work.
class CalibCtrl : public QFrame
{
    Q_OBJECT
public:
    explicit CalibCtrl(QWidget *parent = nullptr);

    // The standard as loaded and normalized; empty raw points until a file
    // loads.
    const XafsSpectrum &standard() const { return stdSpectrum; }
    bool hasStandard() const { return !stdSpectrum.raw().isEmpty(); }
    // The standard's file name as shown.
    QString stdFileName() const;
    // The selected crystal, its name and its lattice spacing d.
    QString crystal() const;
    double spacing() const;
    // The "EdgeEeV" text as a number (0 when it does not parse).
    double edgeEnergy() const;
    bool stdBGVictoreen() const;
    bool targetBGVictoreen() const;

    // Selects the crystal of that item text, or of that index when the text
    // is a whole number; false, nothing changed, when none matches.
    bool selectCrystal(const QString &nameOrIndex);
    void setStdBGVictoreen(bool f);
    void setTargetBGVictoreen(bool f);
    // Shows the statistics of a calibration.
    void showStats(const EdgeShiftStats &stats);

signals:
    // A standard was loaded; the main window copies it.
    void newStdFileLoaded();
    // The standard was normalized again in the other background form.
    void stdRenormalized();
    void execCalibration();
    void saveEMap(const QString &fname);
    void loadEMap(const QString &fname);
    void clearMap();
    // "Target :" changed: the spectra at a position are built anew.
    void targetBGChanged(bool victoreen);

public slots:
    // The standard file picked: loads it in place of the previous one.
    void newFile(const QString &fname);
    void stdBGToggled(bool f);
    // Loads a standard by name, as if picked by hand.
    void loadStd(const QString &fname);
    void setEdgeEV(const QString &eV);
    void loadEShiftMap(const QString &fname);

private:
    QFileDialog *fileDialog(const QString &title, bool save);

    XafsSpectrum stdSpectrum;
    QPushButton *selectStd = nullptr;
    QLineEdit *stdName = nullptr;
    QRadioButton *stdSimple = nullptr;
    QRadioButton *stdVictoreen = nullptr;
    QRadioButton *targetSimple = nullptr;
    QRadioButton *targetVictoreen = nullptr;
    QComboBox *crystals = nullptr;
    QLineEdit *edgeE = nullptr;
    QLineEdit *deAvr = nullptr;
    QLineEdit *deMin = nullptr;
    QLineEdit *deMax = nullptr;
    QLineEdit *deSigma = nullptr;
    QFileDialog *stdDialog = nullptr;
    QFileDialog *saveDialog = nullptr;
    QFileDialog *loadDialog = nullptr;
};
