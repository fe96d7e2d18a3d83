#pragma once

#include <QPoint>
#include <QPointF>
#include <Qt>

// The mouse state of a display: for the last move, press, release and
// double click, the position rounded to whole pixels (floor(v + 0.5)), the
// buttons and the keyboard modifiers; the current and the previous position
// (every recorded event shifts the current one into the previous); and
// whether a button is held (set by a press, cleared by a release).
class MouseC
{
public:
    struct Event
    {
        QPoint pos;
        Qt::MouseButtons buttons = Qt::NoButton;
        Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    };

    // The gesture code of a button with modifiers. Left: 0 plain, 1 Shift,
    // 2 Ctrl, 3 Alt, 4 Shift+Ctrl, 5 Shift+Alt, 6 Ctrl+Alt, 7 all three;
    // right: the same plus 8; any other button (or none, or several): 16.
    static int mode(Qt::MouseButtons button, Qt::KeyboardModifiers modifiers);
    static QPoint roundPos(const QPointF &p);

    void recordMove(const QPointF &p, Qt::MouseButtons b, Qt::KeyboardModifiers m);
    void recordPress(const QPointF &p, Qt::MouseButtons b, Qt::KeyboardModifiers m);
    void recordRelease(const QPointF &p, Qt::MouseButtons b, Qt::KeyboardModifiers m);
    void recordDoubleClick(const QPointF &p, Qt::MouseButtons b, Qt::KeyboardModifiers m);
    // A position set by the program (not by an event): only the current
    // and previous positions change.
    void setPos(const QPointF &p);

    const Event &moved() const { return move_; }
    const Event &pressed() const { return press_; }
    const Event &released() const { return release_; }
    const Event &doubleClicked() const { return dclick_; }
    QPoint pos() const { return current_; }
    QPoint previousPos() const { return previous_; }
    bool isPressed() const { return pressedFlag_; }
    // The gesture code of the last press: a drag keeps the meaning it had
    // when it started, whatever keys change under way.
    int pressMode() const { return mode(press_.buttons, press_.modifiers); }

private:
    void shiftIn(const QPoint &p);

    Event move_, press_, release_, dclick_;
    QPoint current_, previous_;
    bool pressedFlag_ = false;
};
