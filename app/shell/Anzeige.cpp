// The five views and the structure buttons.
#include "app/browser/BrowserAnsicht.h"
#include "app/help/Hilfeseite.h"
#include "app/help/Startseite.h"
#include "app/settings/Optionsseite.h"
#include "app/editor/EditorAnsicht.h"
#include "app/commands/Aktionen.h"
#include "app/platform/widgets/Bilder.h"
#include "app/shell/TForm1.h"
#include "app/platform/widgets/WerkzeugKnopf.h"

#include <QPushButton>
#include <QToolBar>

namespace ravik {
namespace {
const QString kZurueck = QStringLiteral("Zurück");
const QString kZurueckZumProgramm = QStringLiteral("Zurück zum Programm");
} // namespace

// The panels of a view; which view is shown the document's controller holds.
void TForm1::panelsZeigen(Ansicht ansicht) {
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
        panelHilfe->zurueck().setText(kZurueck);
        panelSetup->zurueck().setText(kZurueck);
        break;
    case Ansicht::Editor:
        panelHilfe->zurueck().setText(kZurueckZumProgramm);
        panelSetup->zurueck().setText(kZurueckZumProgramm);
        break;
    case Ansicht::Hilfe:
        panelHilfe->hilfeAktualisieren();
        break;
    case Ansicht::Start:
        panelWillkommen->nutzungsbedingungenZeigen(panelHilfe->nutzungsbedingungen());
        break;
    case Ansicht::Setup:
        break;
    }
}

// The back buttons' captions tell where they lead.
void TForm1::btnZurueckClick(QPushButton* sender) {
    Anzeige(sender->text() == kZurueck ? Ansicht::Browser : Ansicht::Editor);
}

void TForm1::tbtnHilfeClick() {
    panelHilfe->zurueck().setText(editorAktiv() ? kZurueckZumProgramm : kZurueck);
    Anzeige(Ansicht::Hilfe);
}

} // namespace ravik
