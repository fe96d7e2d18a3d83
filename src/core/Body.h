#pragma once

#include <QMainWindow>

// The main window. It owns the data of one measurement and every other
// window, and wires them together.
class Body : public QMainWindow
{
    Q_OBJECT
public:
    explicit Body(QWidget *parent = nullptr);
    ~Body() override;

signals:
    // Asks the application to close every window (the batch command "quit").
    void finishing();
};
