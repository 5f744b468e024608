#include "app/shell/Tastenvorschau.h"

#include <QKeyEvent>

namespace ravik {

bool Tastenvorschau::neuerDruck(QWidget* empfaenger, const QKeyEvent* event) {
    const bool weitergereicht = event == event_ && empfaenger_ && empfaenger != empfaenger_ &&
                                empfaenger->isAncestorOf(empfaenger_) && event->key() == taste_ &&
                                event->modifiers() == modifikatoren_;
    event_ = event;
    empfaenger_ = empfaenger;
    taste_ = event->key();
    modifikatoren_ = event->modifiers();
    return !weitergereicht;
}

} // namespace ravik
