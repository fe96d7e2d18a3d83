#pragma once

#include <QFrame>
#include <QStringList>

class EOFSetup;
class QComboBox;

namespace Ui {
class SelectDataFiles;
}

// The file selection panel of one stack (I1 or I0). The user picks frame
// files, says whether they replace or extend the stack and how to thin the
// list; the panel keeps the list of frames actually stored (path as text,
// energy as item data of `Selected`), the stack's index for navigation.
class SelectDataFiles : public QFrame
{
    Q_OBJECT
public:
    explicit SelectDataFiles(QWidget *parent = nullptr);
    ~SelectDataFiles() override;

    // "I1 Data" or "I0 Data": the text of the select button and the title of
    // the energy setup window.
    void setDataName(const QString &name);

    // Asks the energy setup for the energy of (path, fNo), appends the entry
    // to `Selected`, updates `Count` and returns the energy.
    double addFile(const QString &path, int fNo);

    // The thinning fields as base-10 integers (0 when they do not parse).
    int skip() const;
    int cutFirst() const;
    int cutLast() const;
    bool showLatest() const;
    bool newFiles() const; // `LoadNewFiles` checked

    int count() const; // entries in `Selected`
    int currentIndex() const;
    QString fileAt(int i) const;
    double energyAt(int i) const;
    QComboBox *selected() const;
    EOFSetup *energySetup() const { return setupWindow; }
    Ui::SelectDataFiles *form() const { return ui; }

signals:
    void filesSelected(const QStringList &files, bool newFile);
    void clear();
    void currentIndexChanged(int idx);

public slots:
    void newImageSelected(int i);
    void clearFiles();
    void prev();
    void next();
    void select(int idx);
    void setSkip(int n);
    void setCutF(int n);
    void setCutL(int n);
    void setShowLatest(bool on);
    void setEngByName(bool on);
    void setEngByCalc(bool on);
    void setEngCalcStart(double v);
    void setEngCalcDelta(double v);
    void setEngCalcEnd(double v);
    void setEngCalcNum(int n);
    void setEvenInEng(bool on);
    void setEvenInDeg(bool on);
    void setDispUnit(int idx);
    void setEngByNameRegExp(const QString &pattern);
    void setEngByNameFactor(double factor);
    void setEngByRef(const QString &fname);

protected:
    // The file dialog; empty when cancelled.
    virtual QStringList chooseFiles();

private:
    void selectFiles();

    Ui::SelectDataFiles *ui;
    EOFSetup *setupWindow;
};
