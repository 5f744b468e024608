// Keyboard routes to the commands, the tree's and the detail fields' keys, typing in
// the editor, and the context menus.
#include "app/browser/BrowserAnsicht.h"
#include "app/editor/EditorAnsicht.h"
#include "app/browser/Detailpanel.h"
#include "app/browser/DetailFeld.h"
#include "app/browser/IniBaum.h"
#include "app/editor/SynMemo.h"
#include "app/shell/TForm1.h"
#include "app/shell/WerkzeugKnopf.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

namespace ravik {

bool TForm1::FormKeyDown(QKeyEvent* event) {
    if (!browserAktiv() && !editorAktiv())
        return false;
    const bool strg = event->modifiers() & Qt::ControlModifier;
    const Qt::KeyboardModifiers genau =
        event->modifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    switch (event->key()) {
    // Open and save are the window's alone: the focused control does not get them
    // (the editor would take Ctrl+O for a typed character and mark the document changed).
    case Qt::Key_O:
        if (genau != Qt::ControlModifier)
            break;
        if (tbtnDateiladen->isEnabled())
            tbtnDateiladenClick();
        return true;
    case Qt::Key_F12:
        if (genau != Qt::NoModifier)
            break;
        if (tbtnDateispeichern->isEnabled())
            tbtnDateispeichernClick();
        return true;
    case Qt::Key_F1:
        tbtnHilfeClick();
        break;
    case Qt::Key_F2:
        tbtnAnsichtClick();
        break;
    case Qt::Key_S:
        if (strg && tbtnNeueSektion->isEnabled())
            tbtnNeueSektionClick();
        break;
    case Qt::Key_K:
        if (strg && tbtnNeuerWert->isEnabled())
            tbtnNeuerWertClick();
        break;
    case Qt::Key_A:
        if (strg && tbtnFlip->isEnabled())
            tbtnFlipClick();
        break;
    case Qt::Key_F:
        // The browser view's search; the editor view has its own.
        if (strg && browserAktiv())
            browser_->sucheFokussieren();
        break;
    default:
        break;
    }
    return false;
}

void TForm1::iniAnzeigeKeyDown(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete) {
        if (tbtnDelete->isEnabled())
            tbtnDeleteClick();
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
    const QString name = eintrag->objectName();
    QWidget* fokus = QApplication::focusWidget();
    if (name == QLatin1String("puHelp") || name == QLatin1String("puHelpTree") ||
        name == QLatin1String("puHelpEdit")) {
        tbtnHilfeClick();
    } else if (name == QLatin1String("puDeleteTree")) {
        tbtnDeleteClick();
    } else if (name == QLatin1String("puSectionTree")) {
        if (tbtnNeueSektion->isEnabled())
            tbtnNeueSektionClick();
    } else if (name == QLatin1String("puKeyTree")) {
        if (tbtnNeuerWert->isEnabled())
            tbtnNeuerWertClick();
    } else if (name == QLatin1String("puCopy") || name == QLatin1String("puCut") ||
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
