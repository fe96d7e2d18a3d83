#include "widgets/MouseC.h"

#include <cmath>

int MouseC::mode(Qt::MouseButtons button, Qt::KeyboardModifiers modifiers)
{
    int base;
    if (button == Qt::LeftButton)
        base = 0;
    else if (button == Qt::RightButton)
        base = 8;
    else
        return 16;
    const bool shift = modifiers & Qt::ShiftModifier;
    const bool ctrl = modifiers & Qt::ControlModifier;
    const bool alt = modifiers & Qt::AltModifier;
    int code;
    if (shift && ctrl && alt)
        code = 7;
    else if (ctrl && alt)
        code = 6;
    else if (shift && alt)
        code = 5;
    else if (shift && ctrl)
        code = 4;
    else if (alt)
        code = 3;
    else if (ctrl)
        code = 2;
    else if (shift)
        code = 1;
    else
        code = 0;
    return base + code;
}

QPoint MouseC::roundPos(const QPointF &p)
{
    return QPoint(int(std::floor(p.x() + 0.5)), int(std::floor(p.y() + 0.5)));
}

void MouseC::shiftIn(const QPoint &p)
{
    previous_ = current_;
    current_ = p;
}

void MouseC::recordMove(const QPointF &p, Qt::MouseButtons b, Qt::KeyboardModifiers m)
{
    move_ = {roundPos(p), b, m};
    shiftIn(move_.pos);
}

void MouseC::recordPress(const QPointF &p, Qt::MouseButtons b, Qt::KeyboardModifiers m)
{
    press_ = {roundPos(p), b, m};
    shiftIn(press_.pos);
    pressedFlag_ = true;
}

void MouseC::recordRelease(const QPointF &p, Qt::MouseButtons b, Qt::KeyboardModifiers m)
{
    release_ = {roundPos(p), b, m};
    shiftIn(release_.pos);
    pressedFlag_ = false;
}

void MouseC::recordDoubleClick(const QPointF &p, Qt::MouseButtons b, Qt::KeyboardModifiers m)
{
    dclick_ = {roundPos(p), b, m};
    shiftIn(dclick_.pos);
}

void MouseC::setPos(const QPointF &p)
{
    shiftIn(roundPos(p));
}
