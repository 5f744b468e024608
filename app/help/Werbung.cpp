// The rotating promotional texts of both side panels.
#include "app/help/Werberotation.h"

#include "app/platform/widgets/Werbebereich.h"
#include "core/help/Werbetexte.h"

namespace ravik {

void Werberotation::Werbetexte() {
    klickzaehler_ = 0;
    const QString& text = werbetexte().at(werbeindex_);
    for (Werbebereich* bereich : bereiche_)
        bereich->setText(text);
    if (++werbeindex_ == werbetexte().size())
        werbeindex_ = 0;
}

void Werberotation::zaehlen(int schwelle) {
    if (++klickzaehler_ == schwelle)
        Werbetexte();
}

} // namespace ravik
