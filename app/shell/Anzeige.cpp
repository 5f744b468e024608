// The five views and the structure buttons.
#include "app/browser/BrowserAnsicht.h"
#include "app/browser/Detailpanel.h"
#include "app/browser/IniBaum.h"
#include "app/editor/EditorAnsicht.h"
#include "app/shell/Aktionen.h"
#include "app/shell/Bilder.h"
#include "app/shell/TForm1.h"
#include "app/shell/WerkzeugKnopf.h"

#include <QPushButton>
#include <QToolBar>

namespace ravik {
namespace {
const QString kZurueck = QStringLiteral("Zurück");
const QString kZurueckZumProgramm = QStringLiteral("Zurück zum Programm");
} // namespace

// The current view is the one Anzeige() showed last, whether the window itself is on
// screen or not.
bool TForm1::browserAktiv() const {
    return ansichtsstand_.browserAktiv();
}

bool TForm1::editorAktiv() const {
    return ansichtsstand_.editorAktiv();
}

void TForm1::Anzeige(Ansicht ansicht) {
    struct Zeile {
        bool leisten, willkommen, hilfe, setup, editor, browser;
    };
    // Indexed by Ansicht: Start, Browser, Editor, Setup, Hilfe.
    static constexpr Zeile kTabelle[] = {
        {false, true, false, false, false, false},
        {true, false, false, false, false, true},
        {true, false, false, false, true, false},
        {false, false, false, true, false, false},
        {false, false, true, false, false, false},
    };
    const Zeile& zeile = kTabelle[static_cast<int>(ansicht)];
    ansichtsstand_.zeigen(ansicht);

    if (zeile.leisten) {
        ToolBar2->show();
        ToolBar1->show();
    } else {
        ToolBar1->hide();
        ToolBar2->hide();
    }
    panelWillkommen->setVisible(zeile.willkommen);
    panelHilfe->setVisible(zeile.hilfe);
    panelSetup->setVisible(zeile.setup);
    editor_->setVisible(zeile.editor);
    browser_->setVisible(zeile.browser);

    switch (ansicht) {
    case Ansicht::Browser:
        btnZurueck->setText(kZurueck);
        btnZurueck2->setText(kZurueck);
        tbtnFlip->setBildIndex(Bilder::kZumEditor);
        break;
    case Ansicht::Editor:
        btnZurueck->setText(kZurueckZumProgramm);
        btnZurueck2->setText(kZurueckZumProgramm);
        tbtnFlip->setBildIndex(Bilder::kZumBrowser);
        break;
    case Ansicht::Hilfe:
        hilfeAktualisieren();
        break;
    case Ansicht::Start:
        nutzungsbedingungenLaden();
        break;
    case Ansicht::Setup:
        break;
    }
}

void TForm1::ButtonsAktivieren(Ansicht ansicht) {
    const bool gefuellt = browser_->baum().knotenAnzahl() > 0;
    aktionen_->strukturFuer(ansicht, gefuellt);
    browser_->detail().knoepfeFreigeben(ansicht != Ansicht::Browser || gefuellt);
}

// The back buttons' captions tell where they lead.
void TForm1::btnZurueckClick(QPushButton* sender) {
    Anzeige(sender->text() == kZurueck ? Ansicht::Browser : Ansicht::Editor);
}

} // namespace ravik
