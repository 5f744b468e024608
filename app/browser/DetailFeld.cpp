#include "app/browser/DetailFeld.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <limits>

namespace ravik {

DetailFeld::DetailFeld(const QString& name, bool allesMarkierenBeiFokus, QWidget* parent)
    : QLineEdit(parent), allesMarkierenBeiFokus_(allesMarkierenBeiFokus) {
    setObjectName(name);
    // Names and values of any length pass through unchanged (Qt would cut them at
    // 32,767 characters).
    setMaxLength(std::numeric_limits<int>::max());
    setFreigegeben(false);
}

void DetailFeld::setFreigegeben(bool freigegeben) {
    if (freigegeben == isEnabled() && farbeGesetzt_)
        return;
    farbeGesetzt_ = true;
    setEnabled(freigegeben);
    QPalette p = palette();
    const QColor farbe = QApplication::palette().color(freigegeben ? QPalette::Base : QPalette::Button);
    for (auto gruppe : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(gruppe, QPalette::Base, farbe);
    setPalette(p);
}

void DetailFeld::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (allesMarkierenBeiFokus_)
        selectAll();
    else
        deselect();
}

void DetailFeld::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept(); // consumed: no beep, no insertion
        emit enterGedrueckt();
        return;
    }
    if (isReadOnly() && (!event->text().isEmpty() || event->key() == Qt::Key_Backspace ||
                         event->key() == Qt::Key_Delete)) {
        const bool zeichen = event->text().isEmpty() || event->text().front().isPrint();
        if (zeichen && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            emit bearbeitungVersucht();
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace ravik
