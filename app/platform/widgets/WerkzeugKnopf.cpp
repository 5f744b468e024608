#include "app/platform/widgets/WerkzeugKnopf.h"

#include "app/platform/widgets/Bilder.h"

#include <QAction>
#include <QEvent>

namespace ravik {

WerkzeugKnopf::WerkzeugKnopf(const QString& name, const QString& hinweis, int bildIndex,
                             QWidget* parent)
    : QToolButton(parent) {
    setObjectName(name);
    setToolTip(hinweis);
    setAccessibleName(hinweis);
    setAutoRaise(true); // flat
    setFixedSize(31, 31);
    setIconSize(QSize(24, 24));
    setFocusPolicy(Qt::NoFocus);
    setBildIndex(bildIndex);
}

// A button showing a command's action changes the action: the button shows whatever
// the action carries and would otherwise fall back at its next change.
void WerkzeugKnopf::setBildIndex(int index) {
    if (index == bildIndex_)
        return;
    bildIndex_ = index;
    setIcon(Bilder::werkzeugBild(index));
    if (QAction* a = defaultAction())
        a->setIcon(icon());
}

void WerkzeugKnopf::setHinweis(const QString& text) {
    setToolTip(text);
    if (QAction* a = defaultAction())
        a->setToolTip(text);
}

// Enabled or disabled on its own, the button takes its command along, so that the
// button, the key and the menu item never disagree.
void WerkzeugKnopf::changeEvent(QEvent* event) {
    QToolButton::changeEvent(event);
    QAction* a = defaultAction();
    const bool frei = !testAttribute(Qt::WA_ForceDisabled);
    if (event->type() == QEvent::EnabledChange && a && a->isEnabled() != frei)
        a->setEnabled(frei);
}

} // namespace ravik
