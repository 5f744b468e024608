// Wires every widget event to its action. Each action runs guarded: an error ends it
// and is shown in the error box, and the program goes on.
#include "app/browser/DetailFeld.h"
#include "app/browser/IniBaum.h"
#include "app/editor/SynMemo.h"
#include "app/shell/TForm1.h"
#include "app/shell/WerkzeugKnopf.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>

namespace ravik {

void TForm1::signaleVerbinden() {
    auto klick = [this](QAbstractButton* knopf, void (TForm1::*aktion)()) {
        connect(knopf, &QAbstractButton::clicked, this, [this, aktion] { ausfuehren([=] { (this->*aktion)(); }); });
    };
    klick(tbtnNeu, &TForm1::tbtnNeuClick);
    klick(tbtnDateiladen, &TForm1::tbtnDateiladenClick);
    connect(tbtnDateispeichern, &QAbstractButton::clicked, this,
            [this] { ausfuehren([this] { tbtnDateispeichernClick(); }); });
    klick(tbtnFlip, &TForm1::tbtnFlipClick);
    connect(tbtnOptionen, &QAbstractButton::clicked, this,
            [this] { ausfuehren([this] { Anzeige(Ansicht::Setup); }); });
    klick(tbtnHilfe, &TForm1::tbtnHilfeClick);
    klick(tbtnNeueSektion, &TForm1::tbtnNeueSektionClick);
    klick(tbtnNeuerWert, &TForm1::tbtnNeuerWertClick);
    klick(tbtnDelete, &TForm1::tbtnDeleteClick);
    klick(tbtnAnsicht, &TForm1::tbtnAnsichtClick);

    connect(BitBtn3, &QPushButton::clicked, this,
            [this] { ausfuehren([this] { Anzeige(Ansicht::Browser); }); });
    connect(BitBtn2, &QPushButton::clicked, this,
            [this] { ausfuehren([this] { Anzeige(Ansicht::Editor); }); });
    connect(btnZurueck, &QPushButton::clicked, this,
            [this] { ausfuehren([this] { btnZurueckClick(btnZurueck); }); });
    connect(btnZurueck2, &QPushButton::clicked, this,
            [this] { ausfuehren([this] { btnZurueckClick(btnZurueck2); }); });
    klick(btnNutzung, &TForm1::btnNutzungClick);
    klick(btnOK, &TForm1::btnOKClick);
    klick(btnStop, &TForm1::btnStopClick);
    klick(Button4, &TForm1::Button4Click);
    for (QPushButton* b : {Button1, Button2, Button3})
        connect(b, &QPushButton::clicked, this, [this, b] { ausfuehren([=] { Button1Click(b); }); });

    connect(CheckBox1, &QCheckBox::toggled, this, [this] { ausfuehren([this] { CheckBox1Click(); }); });
    connect(CheckBox2, &QCheckBox::toggled, this, [this] { ausfuehren([this] { CheckBox2Click(); }); });

    connect(iniAnzeige, &IniBaum::geklickt, this, [this] { ausfuehren([this] { iniAnzeigeClick(); }); });
    connect(iniAnzeige, &IniBaum::tasteGedrueckt, this,
            [this](QKeyEvent* e) { ausfuehren([=] { iniAnzeigeKeyDown(e); }); });
    connect(iniAnzeige, &IniBaum::tasteLosgelassen, this,
            [this](QKeyEvent* e) { ausfuehren([=] { iniAnzeigeKeyUp(e); }); });
    for (DetailFeld* feld : {SektionAnzeige, SchluesselAnzeige, WertAnzeige}) {
        connect(feld, &DetailFeld::enterGedrueckt, this, [this] { focusNextChild(); });
        connect(feld, &QWidget::customContextMenuRequested, this,
                [this, feld](const QPoint& p) { PopupEdit->popup(feld->mapToGlobal(p)); });
    }
    connect(SynMemo1, &SynMemo::characterTyped, this,
            [this](QChar c) { ausfuehren([=] { SynMemo1KeyPress(c); }); });

    SynMemo1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(SynMemo1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { PopupMemo->popup(SynMemo1->mapToGlobal(p)); });
    connect(iniAnzeige, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { PopupBaum->popup(iniAnzeige->viewport()->mapToGlobal(p)); });
    for (QMenu* menu : {PopupMemo, PopupBaum, PopupEdit})
        connect(menu, &QMenu::triggered, this, [this](QAction* a) { ausfuehren([=] { PopupClick(a); }); });
}

} // namespace ravik
