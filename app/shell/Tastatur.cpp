// Keyboard routes to the commands, the tree's and the detail fields' keys, typing in
// the editor, and the context menus.
#include "app/browser/BrowserAnsicht.h"
#include "app/browser/Detailpanel.h"
#include "app/browser/IniBaum.h"
#include "app/commands/Aktionen.h"
#include "app/shell/TForm1.h"

#include <QAction>
#include <QKeyEvent>

namespace ravik {

// The window's keys are the commands' keys (see Aktionen): each runs its command where
// the command is enabled, and most go on to the focused control as well.
bool TForm1::FormKeyDown(QKeyEvent* event) {
    if (!browserAktiv() && !editorAktiv())
        return false;
    bool eigen = false;
    if (aktionen_->taste(*event, eigen))
        return eigen;
    // The browser view's search; the editor view has its own.
    if (event->key() == Qt::Key_F && (event->modifiers() & Qt::ControlModifier) && browserAktiv())
        browser_->sucheFokussieren();
    return false;
}

void TForm1::iniAnzeigeKeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        aktionen_->ausloesen(Aktionen::Loeschen);
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        const int bild = browser_->baum().bildIndex(browser_->baum().ausgewaehlterKnoten());
        if (bild == IniBaum::kSektionsBild)
            browser_->detail().sektionsfeldFokussieren();
        else if (bild == IniBaum::kSchluesselBild)
            browser_->detail().schluesselfeldFokussieren();
    }
}

void TForm1::iniAnzeigeKeyUp(QKeyEvent*) {
    iniAnzeigeClick();
}

void TForm1::SynMemo1KeyPress(QChar) {
    geaendert();
    werbung_->zaehlen(20);
}

// Every item of the three context menus: what it stands for was registered when the
// menus were built (Oberflaeche.cpp).
void TForm1::PopupClick(QAction* eintrag) {
    aktionen_->menueeintragAusloesen(eintrag);
}

} // namespace ravik
