// Keyboard routes to the commands, the tree's and the detail fields' keys, typing in
// the editor, and the context menus.
#include "app/browser/BrowserAnsicht.h"
#include "app/editor/EditorAnsicht.h"
#include "app/browser/Detailpanel.h"
#include "app/browser/DetailFeld.h"
#include "app/browser/IniBaum.h"
#include "app/editor/SynMemo.h"
#include "app/shell/Aktionen.h"
#include "app/shell/TForm1.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

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
    if (++Klickzaehler == 20)
        Werbetexte();
}

void TForm1::PopupClick(QAction* eintrag) {
    // Help and the tree's structure items are the commands' own.
    if (aktionen_->menueeintragAusloesen(eintrag))
        return;
    const QString name = eintrag->objectName();
    QWidget* fokus = QApplication::focusWidget();
    if (name == QLatin1String("puCopy") || name == QLatin1String("puCut") ||
               name == QLatin1String("puInsert")) {
        // The clipboard items act on the focused control; without a focused editor they
        // act on the editor whose menu this is.
        auto* memo = qobject_cast<SynMemo*>(fokus);
        if (!memo)
            memo = &editor_->editor();
        if (name == QLatin1String("puCopy"))
            memo->copy();
        else if (name == QLatin1String("puCut"))
            memo->cut();
        else
            memo->paste();
    } else if (auto* feld = qobject_cast<QLineEdit*>(fokus)) {
        if (name == QLatin1String("puCopyEdit"))
            feld->copy();
        else if (name == QLatin1String("puCutEdit"))
            feld->cut();
        else if (name == QLatin1String("puPasteEdit"))
            feld->paste();
    }
}

} // namespace ravik
