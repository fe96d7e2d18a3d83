#pragma once

#include <QFrame>

struct AnalyzeCond;

// The second analysis window: it starts the quality survey of the selected
// area ("Collect Q Info"), which the main window runs.
class Analyzer2 : public QFrame
{
    Q_OBJECT
public:
    explicit Analyzer2(QWidget *parent = nullptr);

signals:
    void startCollectQInfo();

public slots:
    void doCollectQInfo(const AnalyzeCond &ac);
};
