// The search above the tree: typing filters the tree; the detail panel follows the
// selection when the search moved it.
#include "app/browser/BrowserAnsicht.h"
#include "app/browser/Browserbefehle.h"
#include "app/help/Werberotation.h"
#include "core/document/Dokument.h"

namespace ravik {

void Browserbefehle::sucheBaumChange(const QString& text) {
    if (browser_->suchen(text))
        iniAnzeigeClick();
}

} // namespace ravik
