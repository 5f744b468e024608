#include "app/shell/WerkzeugKnopf.h"

#include "app/shell/Bilder.h"

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

void WerkzeugKnopf::setBildIndex(int index) {
    if (index == bildIndex_)
        return;
    bildIndex_ = index;
    setIcon(Bilder::werkzeugBild(index));
}

} // namespace ravik
