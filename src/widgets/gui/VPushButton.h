#pragma once

#include <QPushButton>

// A push button whose caption runs upwards, for the narrow strips beside
// the displays.
class VPushButton : public QPushButton
{
    Q_OBJECT
public:
    explicit VPushButton(QWidget *parent = nullptr);
    explicit VPushButton(const QString &text, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *e) override;
};
