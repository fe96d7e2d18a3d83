#pragma once

#include "analysis/ElemAnalysis.h"

#include <QGroupBox>

class QLineEdit;

// The background values of the element analysis ("BG Values : "): what a bin
// judged to hold none of an element shows instead of computed values.
class AElemsConds : public QGroupBox
{
    Q_OBJECT
public:
    enum Field { DMut, DMutRatio, DE, Roi, NRoi, Fields };

    explicit AElemsConds(QWidget *parent = nullptr);

    // The values as the computation reads them.
    ElemBackground background() const;
    void setValue(Field f, double v);

private:
    QLineEdit *fields[Fields] = {};
};
