// The search above the tree: typing filters the tree; the detail panel follows the
// selection when the search moved it.
#include "app/browser/BrowserAnsicht.h"
#include "app/shell/TForm1.h"

namespace ravik {

void TForm1::sucheBaumChange(const QString& text) {
    if (browser_->suchen(text))
        iniAnzeigeClick();
}

} // namespace ravik
