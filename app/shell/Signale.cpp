// Wires every widget event to its action. Each action runs guarded: an error ends it
// and is shown in the error box, and the program goes on.
#include "app/browser/BrowserAnsicht.h"
#include "app/browser/Browserbefehle.h"
#include "app/browser/Detailpanel.h"
#include "app/browser/IniBaum.h"
#include "app/browser/Suchfeld.h"
#include "app/editor/EditorAnsicht.h"
#include "app/editor/SynMemo.h"
#include "app/commands/Aktionen.h"
#include "app/shell/DateiAblage.h"
#include "app/help/Hilfeseite.h"
#include "app/help/Startseite.h"
#include "app/settings/Optionsseite.h"
#include "app/shell/TForm1.h"
#include "core/document/Dokument.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

namespace ravik {

void TForm1::signaleVerbinden() {
    // The commands, whether a tool button, a key or a context-menu item runs them.
    auto befehl = [this](Aktionen::Befehl b, std::function<void()> aktion) {
        aktionen_->binden(b, [this, aktion] { ausfuehren(aktion); });
    };
    befehl(Aktionen::Neu, [this] { steuerung_->tbtnNeuClick(); });
    befehl(Aktionen::Oeffnen, [this] { steuerung_->tbtnDateiladenClick(); });
    befehl(Aktionen::Speichern, [this] { steuerung_->tbtnDateispeichernClick(); });
    befehl(Aktionen::Wechseln, [this] { steuerung_->tbtnFlipClick(); });
    aktionen_->binden(Aktionen::Optionen, [this] { ausfuehren([this] { Anzeige(Ansicht::Setup); }); });
    befehl(Aktionen::Hilfe, [this] { tbtnHilfeClick(); });
    befehl(Aktionen::NeueSektion, [this] { tbtnNeueSektionClick(); });
    befehl(Aktionen::NeuerWert, [this] { tbtnNeuerWertClick(); });
    befehl(Aktionen::Loeschen, [this] { tbtnDeleteClick(); });
    befehl(Aktionen::Ausklappen, [this] { tbtnAnsichtClick(); });
    befehl(Aktionen::Aenderungen, [this] { tbtnAenderungenClick(); });
    befehl(Aktionen::SchluesselAktivieren, [this] { befehle_->actSchluesselAktivierenClick(); });
    connect(&panelSetup->aenderungenVorDemSpeichern(), &QCheckBox::toggled, steuerung_,
            &Dokumentsteuerung::setAenderungenVorDemSpeichern);
    steuerung_->setAenderungenVorDemSpeichern(panelSetup->aenderungenVorDemSpeichern().isChecked());

    connect(&panelWillkommen->browserStarten(), &QPushButton::clicked, this,
            [this] { ausfuehren([this] { Anzeige(Ansicht::Browser); }); });
    connect(&panelWillkommen->editorStarten(), &QPushButton::clicked, this,
            [this] { ausfuehren([this] { Anzeige(Ansicht::Editor); }); });
    for (QPushButton* zurueck : {&panelHilfe->zurueck(), &panelSetup->zurueck()})
        connect(zurueck, &QPushButton::clicked, this,
                [this, zurueck] { ausfuehren([=] { btnZurueckClick(zurueck); }); });
    connect(&panelHilfe->nutzung(), &QPushButton::clicked, this,
            [this] { ausfuehren([this] { panelHilfe->btnNutzungClick(); }); });

    connect(&editor_->sicherheitskopie(), &QCheckBox::toggled, this,
            [this] { ausfuehren([this] { steuerung_->CheckBox1Click(); }); });
    connect(&browser_->sicherheitskopie(), &QCheckBox::toggled, this,
            [this] { ausfuehren([this] { steuerung_->CheckBox2Click(); }); });

    // The browser view: tree and detail panel.
    IniBaum* baum = &browser_->baum();
    connect(baum, &IniBaum::geklickt, this, [this] { ausfuehren([this] { iniAnzeigeClick(); }); });
    connect(baum, &IniBaum::tasteGedrueckt, this,
            [this](QKeyEvent* e) { ausfuehren([=] { iniAnzeigeKeyDown(e); }); });
    connect(baum, &IniBaum::tasteLosgelassen, this,
            [this](QKeyEvent* e) { ausfuehren([=] { iniAnzeigeKeyUp(e); }); });
    connect(baum, &QWidget::customContextMenuRequested, this,
            [this, baum](const QPoint& p) { PopupBaum->popup(baum->viewport()->mapToGlobal(p)); });
    Detailpanel* detail = &browser_->detail();
    connect(detail, &Detailpanel::ok, this, [this] { ausfuehren([this] { btnOKClick(); }); });
    connect(detail, &Detailpanel::abbruch, this, [this] { ausfuehren([this] { btnStopClick(); }); });
    connect(detail, &Detailpanel::enterGedrueckt, this, [this] { focusNextChild(); });
    connect(detail, &Detailpanel::wertBearbeitungVersucht, this,
            [this] { ausfuehren([this] { befehle_->wertBearbeitungVersucht(); }); });
    connect(detail, &Detailpanel::kontextmenu, this, [this](const QPoint& p) { PopupEdit->popup(p); });

    // The search above the tree, over the entry table's values.
    baum->setWerte(&dokument_.tabelle());
    baum->modell().setAusgeschalteteQuelle(
        [this](int sektionsZeile) { return dokument_.ausgeschalteteSchluessel(sektionsZeile); });
    connect(&browser_->auskommentierte(), &QCheckBox::toggled, this,
            [this](bool zeigen) { ausfuehren([=] { befehle_->auskommentierteZeigen(zeigen); }); });
    connect(&browser_->suche(), &QLineEdit::textChanged, this,
            [this](const QString& text) { ausfuehren([=] { sucheBaumChange(text); }); });

    // The editor view.
    SynMemo* memo = &editor_->editor();
    connect(memo, &SynMemo::characterTyped, this,
            [this](QChar c) { ausfuehren([=] { SynMemo1KeyPress(c); }); });
    // Every change of the text counts, whatever made it: keys, commands, the clipboard,
    // drag and drop, undo and redo.
    connect(memo, &SynMemo::textEdited, this, [this] { geaendert(); });
    memo->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(memo, &QWidget::customContextMenuRequested, this,
            [this, memo](const QPoint& p) { PopupMemo->popup(memo->mapToGlobal(p)); });
    for (QMenu* menu : {PopupMemo, PopupBaum, PopupEdit})
        connect(menu, &QMenu::triggered, this, [this](QAction* a) { ausfuehren([=] { PopupClick(a); }); });

    // A file dropped onto the browser or editor view is opened there. After the drop
    // has ended: the guard's questions must not hold up the file manager.
    auto* ablage = new DateiAblage(this, [this] { return browserAktiv() || editorAktiv(); });
    connect(
        ablage, &DateiAblage::abgelegt, this,
        [this](const QString& pfad) { ausfuehren([=] { steuerung_->gewaehlteDateiOeffnen(pfad); }); },
        Qt::QueuedConnection);
}

} // namespace ravik
