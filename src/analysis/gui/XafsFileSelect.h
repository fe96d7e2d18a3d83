#pragma once

#include <QFrame>

class QCheckBox;
class QFileDialog;
class QLabel;
class QLineEdit;

// Picks the file of one reference spectrum: the chosen name, "Select" (a file
// dialog), "Clear" and a Use box. It only passes the name on; reading the file
// is its owner's business.
class XafsFileSelect : public QFrame
{
    Q_OBJECT
public:
    explicit XafsFileSelect(QWidget *parent = nullptr);

    // A name was set once (the file may still have failed to load).
    bool isLoaded() const { return loaded; }
    bool useChecked() const;
    QString fileName() const;

signals:
    void changedUse(bool f);
    void newFile(const QString &fname);

public slots:
    // Shows fname, marks the picker as loaded and passes the name on.
    void load(const QString &fname);
    void fileSelected(const QString &fname);
    // Empties the shown name; the loaded mark stays.
    void clear();
    void setUse(bool f);
    void showUse(bool f);

private:
    QLineEdit *name = nullptr;
    QCheckBox *use = nullptr;
    QLabel *selected = nullptr;
    QFileDialog *dialog = nullptr;
    bool loaded = false;
};
