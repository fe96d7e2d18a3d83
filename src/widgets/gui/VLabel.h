#pragma once

#include <QLabel>

// A label whose text runs upwards (rotated a quarter turn to the left), for
// captions beside tall, narrow controls.
class VLabel : public QLabel
{
    Q_OBJECT
public:
    explicit VLabel(QWidget *parent = nullptr);
    explicit VLabel(const QString &text, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *e) override;
};
