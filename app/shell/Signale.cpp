// Wires every widget event to its action. Each action runs guarded: an error ends it
// and is shown in the error box, and the program goes on.
#include "app/browser/BrowserAnsicht.h"
#include "app/browser/Detailpanel.h"
#include "app/browser/IniBaum.h"
#include "app/browser/Suchfeld.h"
#include "app/editor/EditorAnsicht.h"
#include "app/editor/SynMemo.h"
#include "app/shell/Aktionen.h"
#include "app/shell/DateiAblage.h"
#include "app/shell/TForm1.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

namespace ravik {

void TForm1::signaleVerbinden() {
    auto klick = [this](QAbstractButton* knopf, void (TForm1::*aktion)()) {
        connect(knopf, &QAbstractButton::clicked, this, [this, aktion] { ausfuehren([=] { (this->*aktion)(); }); });
    };
    // The commands, whether a tool button, a key or a context-menu item runs them.
    auto befehl = [this](Aktionen::Befehl b, void (TForm1::*aktion)()) {
        aktionen_->binden(b, [this, aktion] { ausfuehren([=] { (this->*aktion)(); }); });
    };
    befehl(Aktionen::Neu, &TForm1::tbtnNeuClick);
    befehl(Aktionen::Oeffnen, &TForm1::tbtnDateiladenClick);
    aktionen_->binden(Aktionen::Speichern, [this] { ausfuehren([this] { tbtnDateispeichernClick(); }); });
    befehl(Aktionen::Wechseln, &TForm1::tbtnFlipClick);
    aktionen_->binden(Aktionen::Optionen, [this] { ausfuehren([this] { Anzeige(Ansicht::Setup); }); });
    befehl(Aktionen::Hilfe, &TForm1::tbtnHilfeClick);
    befehl(Aktionen::NeueSektion, &TForm1::tbtnNeueSektionClick);
    befehl(Aktionen::NeuerWert, &TForm1::tbtnNeuerWertClick);
    befehl(Aktionen::Loeschen, &TForm1::tbtnDeleteClick);
    befehl(Aktionen::Ausklappen, &TForm1::tbtnAnsichtClick);
    befehl(Aktionen::Aenderungen, &TForm1::tbtnAenderungenClick);

    connect(BitBtn3, &QPushButton::clicked, this,
            [this] { ausfuehren([this] { Anzeige(Ansicht::Browser); }); });
    connect(BitBtn2, &QPushButton::clicked, this,
            [this] { ausfuehren([this] { Anzeige(Ansicht::Editor); }); });
    connect(btnZurueck, &QPushButton::clicked, this,
            [this] { ausfuehren([this] { btnZurueckClick(btnZurueck); }); });
    connect(btnZurueck2, &QPushButton::clicked, this,
            [this] { ausfuehren([this] { btnZurueckClick(btnZurueck2); }); });
    klick(btnNutzung, &TForm1::btnNutzungClick);
    klick(Button4, &TForm1::Button4Click);
    for (QPushButton* b : {Button1, Button2, Button3})
        connect(b, &QPushButton::clicked, this, [this, b] { ausfuehren([=] { Button1Click(b); }); });

    connect(&editor_->sicherheitskopie(), &QCheckBox::toggled, this,
            [this] { ausfuehren([this] { CheckBox1Click(); }); });
    connect(&browser_->sicherheitskopie(), &QCheckBox::toggled, this,
            [this] { ausfuehren([this] { CheckBox2Click(); }); });

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
    connect(detail, &Detailpanel::kontextmenu, this, [this](const QPoint& p) { PopupEdit->popup(p); });

    // The search above the tree, over the entry table's values.
    baum->setWerte(&dokument_.tabelle());
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

    // The caption's modified mark follows the document's status; from a saved state
    // on, the editor reports the next change of its text.
    connect(&dokument_, &Dokument::statusGesetzt, this, [this](Dateistatus status) {
        aenderungsmarkeZeigen();
        aktionen_->dokumentGeaendert(status == Dateistatus::Geaendert || status == Dateistatus::Geaendert2);
        if (status == Dateistatus::Gespeichert)
            editor_->editor().markSaved();
    });
    // A file dropped onto the browser or editor view is opened there. After the drop
    // has ended: the guard's questions must not hold up the file manager.
    auto* ablage = new DateiAblage(this, [this] { return browserAktiv() || editorAktiv(); });
    connect(
        ablage, &DateiAblage::abgelegt, this,
        [this](const QString& pfad) { ausfuehren([=] { gewaehlteDateiOeffnen(pfad); }); },
        Qt::QueuedConnection);
}

} // namespace ravik
