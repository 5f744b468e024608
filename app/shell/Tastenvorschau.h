#pragma once

#include <QPointer>
#include <QWidget>

class QKeyEvent;

namespace ravik {

// The window's key preview sees a key press at every widget it reaches: a key that a
// control does not take travels on to its parents as the same event. This tells the
// first delivery of a press from those. The event's address alone does not: Qt builds
// key events on the stack, so the next press often lives at the same address.
class Tastenvorschau {
public:
    // True when this delivery of a key press is a new press, not one travelling on
    // from a child of empfaenger.
    bool neuerDruck(QWidget* empfaenger, const QKeyEvent* event);
    // A press is over with its release, and the next one begins with the shortcut
    // test: from either on, a press at the same address is a new one.
    void druckVorbei() { event_ = nullptr; }

private:
    const QKeyEvent* event_ = nullptr;
    QPointer<QWidget> empfaenger_;
    int taste_ = 0;
    Qt::KeyboardModifiers modifikatoren_;
};

} // namespace ravik
