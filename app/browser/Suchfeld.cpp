#include "app/browser/Suchfeld.h"

#include <QKeyEvent>

namespace ravik {

Suchfeld::Suchfeld(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("sucheBaum"));
    setPlaceholderText(QStringLiteral("Suchen (Strg+F)"));
    setToolTip(QStringLiteral("Zeigt nur die Sektionen und Schlüssel, deren Titel oder Wert den "
                              "Text enthält (Strg+F; Esc leert das Feld)"));
    setClearButtonEnabled(true);
}

void Suchfeld::setKeineTreffer(bool keine) {
    if (!keine) {
        setPalette(QPalette());
        return;
    }
    QPalette rot = palette();
    rot.setColor(QPalette::Base, QColor(255, 221, 221));
    setPalette(rot);
}

void Suchfeld::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        if (text().isEmpty())
            emit zumBaum();
        else
            clear();
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down:
        emit zumBaum();
        event->accept();
        return;
    default:
        QLineEdit::keyPressEvent(event);
    }
}

} // namespace ravik
