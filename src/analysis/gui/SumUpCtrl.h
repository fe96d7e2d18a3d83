#pragma once

#include "analysis/MapTools.h"

#include <QWidget>

class QLineEdit;
class QListWidget;

// The frame ranges of the sum-up: two fields for the first frame and the
// frame after the last, "Add" and "Del", and the list of ranges in the order
// added, each shown as "from-to".
class SumUpCtrl : public QWidget
{
    Q_OBJECT
public:
    explicit SumUpCtrl(QWidget *parent = nullptr);

    const SumUpRanges &ranges() const { return list; }

public slots:
    // Appends the range of the two fields.
    void add();
    // Removes the current range; the one before it becomes current. Nothing
    // happens without a current range.
    void del();
    // The same for a script: the range from-to, and the range at an index.
    void addRange(int from, int to);
    void delRange(int index);
    void clear();

private:
    SumUpRanges list;
    QLineEdit *from = nullptr;
    QLineEdit *to = nullptr;
    QListWidget *items = nullptr;
};
