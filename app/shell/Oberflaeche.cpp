// Builds the main window's widgets: two tool bars above five panels, one visible at
// a time, and the three context menus.
#include "app/browser/BrowserAnsicht.h"
#include "app/editor/EditorAnsicht.h"
#include "app/editor/SynMemo.h"
#include "app/platform/widgets/Bausteine.h"
#include "app/settings/Farbfeld.h"
#include "core/help/Werbetexte.h"
#include "app/shell/Aktionen.h"
#include "app/shell/Bilder.h"
#include "app/shell/TForm1.h"
#include "app/shell/WerkzeugKnopf.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

namespace ravik {
namespace {

using namespace Bausteine;

QAction* eintrag(QMenu* menu, const QString& name, const QString& text) {
    QAction* a = menu->addAction(text);
    a->setObjectName(name);
    return a;
}

} // namespace

void TForm1::oberflaecheAufbauen() {
    setObjectName(QStringLiteral("Form1"));
    fenstertitelSetzen(QStringLiteral("Ravik: Der Velmora INI-Editor Version 1.0.0"));
    setWindowIcon(Bilder::programmsymbol());
    setMinimumSize(500, 430);
    resize(630, 443);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    aktionen_ = new Aktionen(this);
    layout->addWidget(werkzeugleisteAufbauen());
    layout->addWidget(strukturleisteAufbauen());

    panelWillkommen = startseiteAufbauen();
    browser_ = new BrowserAnsicht(this);
    editor_ = new EditorAnsicht(this);
    panelSetup = optionsseiteAufbauen();
    panelHilfe = hilfeseiteAufbauen();
    for (QWidget* panel : {panelWillkommen, static_cast<QWidget*>(browser_), static_cast<QWidget*>(editor_),
                           panelSetup, panelHilfe}) {
        layout->addWidget(panel, 1);
        panel->hide();
    }
    ToolBar1->hide();
    ToolBar2->hide();
    menuesAufbauen();
    zuletztMenueAufbauen();
}

QToolBar* TForm1::werkzeugleisteAufbauen() {
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(24, 24));
    tbtnNeu = aktionen_->knopf(Aktionen::Neu, ToolBar1);
    tbtnDateiladen = aktionen_->knopf(Aktionen::Oeffnen, ToolBar1);
    tbtnDateispeichern = aktionen_->knopf(Aktionen::Speichern, ToolBar1);
    tbtnFlip = aktionen_->knopf(Aktionen::Wechseln, ToolBar1);
    tbtnOptionen = aktionen_->knopf(Aktionen::Optionen, ToolBar1);
    tbtnHilfe = aktionen_->knopf(Aktionen::Hilfe, ToolBar1);
    tbtnAenderungen = aktionen_->knopf(Aktionen::Aenderungen, ToolBar1);
    ToolBar1->addWidget(tbtnNeu);
    ToolBar1->addWidget(tbtnDateiladen);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(tbtnDateispeichern);
    ToolBar1->addWidget(tbtnAenderungen);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(tbtnFlip);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(tbtnOptionen);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(tbtnHilfe);
    return ToolBar1;
}

QToolBar* TForm1::strukturleisteAufbauen() {
    ToolBar2 = new QToolBar(this);
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar2->setMovable(false);
    ToolBar2->setIconSize(QSize(24, 24));
    tbtnNeueSektion = aktionen_->knopf(Aktionen::NeueSektion, ToolBar2);
    tbtnNeuerWert = aktionen_->knopf(Aktionen::NeuerWert, ToolBar2);
    tbtnDelete = aktionen_->knopf(Aktionen::Loeschen, ToolBar2);
    tbtnAnsicht = aktionen_->knopf(Aktionen::Ausklappen, ToolBar2);
    ToolBar2->addWidget(tbtnNeueSektion);
    ToolBar2->addWidget(tbtnNeuerWert);
    ToolBar2->addSeparator();
    ToolBar2->addWidget(tbtnDelete);
    ToolBar2->addSeparator();
    ToolBar2->addWidget(tbtnAnsicht);
    return ToolBar2;
}

QWidget* TForm1::startseiteAufbauen() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("panelWillkommen"));

    auto* startbild = new QWidget(panel);
    startbild->setObjectName(QStringLiteral("panelStartbild"));
    startbild->setAutoFillBackground(true);
    QPalette weiss = startbild->palette();
    weiss.setColor(QPalette::Window, Qt::white);
    startbild->setPalette(weiss);
    auto* bild = new QLabel(startbild);
    bild->setObjectName(QStringLiteral("Startbild"));
    bild->setPixmap(Bilder::startbild().pixmap(240, 180));
    bild->setAlignment(Qt::AlignCenter);
    Memo1 = new QPlainTextEdit(startbild);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(9 + 2); // 9 pixels of character height, as Windows counts it
    Memo1->setFont(arial);
    QPalette blau = Memo1->palette();
    blau.setColor(QPalette::Base, QColor(176, 216, 255));
    Memo1->setPalette(blau);
    auto* links = new QVBoxLayout(startbild);
    links->addWidget(bild);
    links->addWidget(textLabel(QStringLiteral("Bitte beachten Sie die Nutzungsbedingungen:"), startbild));
    links->addWidget(Memo1, 1);

    auto* rechts = new QWidget(panel);
    rechts->setFixedWidth(276);
    BitBtn3 = knopf(QStringLiteral("BitBtn3"), QStringLiteral("Ravik im Browsermodus starten"), rechts);
    BitBtn2 = knopf(QStringLiteral("BitBtn2"), QStringLiteral("Ravik im Editormodus starten"), rechts);
    BitBtn3->setIcon(Bilder::werkzeugBild(Bilder::kZumBrowser));
    BitBtn2->setIcon(Bilder::werkzeugBild(Bilder::kZumEditor));
    auto* r = new QVBoxLayout(rechts);
    r->addWidget(fettesLabel(QStringLiteral("Bitte wählen Sie:"), rechts));
    r->addWidget(BitBtn3);
    r->addWidget(BitBtn2);
    r->addWidget(textLabel(QStringLiteral("(mit dem Starten des Programms erkennen Sie die Nutzungsbedingungen an)"), rechts));
    r->addSpacing(12);
    r->addWidget(fettesLabel(QStringLiteral("Wichtiger Hinweis"), rechts));
    r->addWidget(textLabel(haftungsausschluss(), rechts));
    r->addWidget(textLabel(QStringLiteral("Bitte beachten Sie auch die Informationen, die während der Nutzung des Produktes eingeblendet werden."), rechts));
    r->addStretch();

    auto* h = new QHBoxLayout(panel);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(startbild, 1);
    h->addWidget(senkrechteLinie(panel));
    h->addWidget(rechts);
    return panel;
}

QWidget* TForm1::optionsseiteAufbauen() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("panelSetup"));

    auto* allgemein = new QGroupBox(QStringLiteral("Allgemeine Einstellungen"), panel);
    QFont fett = allgemein->font();
    fett.setBold(true);
    allgemein->setFont(fett);
    Button4 = knopf(QStringLiteral("Button4"), QStringLiteral("Jetzt verknüpfen"), allgemein);
    comboAnsicht = new QComboBox(allgemein);
    comboAnsicht->setObjectName(QStringLiteral("comboAnsicht"));
    comboAnsicht->addItems({QStringLiteral("Browseransicht"), QStringLiteral("Editoransicht")});
    auto* g = new QGridLayout(allgemein);
    QLabel* verknuepfen = new QLabel(QStringLiteral("INI-Dateien mit Ravik verknüpfen"), allgemein);
    QLabel* oeffnen = new QLabel(QStringLiteral("INI-Dateien direkt öffnen in:"), allgemein);
    for (QWidget* normal : {static_cast<QWidget*>(verknuepfen), static_cast<QWidget*>(oeffnen),
                            static_cast<QWidget*>(Button4), static_cast<QWidget*>(comboAnsicht)}) {
        QFont f = normal->font();
        f.setBold(false);
        normal->setFont(f);
    }
    g->addWidget(verknuepfen, 0, 0);
    g->addWidget(Button4, 0, 1);
    g->addWidget(oeffnen, 1, 0);
    g->addWidget(comboAnsicht, 1, 1);
    chkAenderungenVorDemSpeichern = new QCheckBox(QStringLiteral("Vor dem Speichern Änderungen anzeigen"), allgemein);
    chkAenderungenVorDemSpeichern->setObjectName(QStringLiteral("chkAenderungenVorDemSpeichern"));
    chkAenderungenVorDemSpeichern->setFont(verknuepfen->font());
    g->addWidget(chkAenderungenVorDemSpeichern, 2, 0, 1, 2);

    auto* farben = new QGroupBox(QStringLiteral("Farbeinstellungen der Editoranzeige"), panel);
    farben->setFont(fett);
    farbeSektionen = new Farbfeld(QStringLiteral("farbeSektionen"), farben);
    farbeSchluessel = new Farbfeld(QStringLiteral("farbeSchluessel"), farben);
    farbeAktuelleZeile = new Farbfeld(QStringLiteral("farbeAktuelleZeile"), farben);
    Button1 = knopf(QStringLiteral("Button1"), QStringLiteral("Ändern"), farben);
    Button2 = knopf(QStringLiteral("Button2"), QStringLiteral("Ändern"), farben);
    Button3 = knopf(QStringLiteral("Button3"), QStringLiteral("Ändern"), farben);
    auto* f = new QGridLayout(farben);
    const struct {
        Farbfeld* feld;
        const char* text;
        QPushButton* knopf;
    } reihen[] = {{farbeSektionen, "Farbe Sektionen", Button1},
                  {farbeSchluessel, "Farbe Schlüssel", Button2},
                  {farbeAktuelleZeile, "Farbe Aktuelle Zeile", Button3}};
    int reihe = 0;
    for (const auto& rz : reihen) {
        auto* label = new QLabel(QString::fromUtf8(rz.text), farben);
        for (QWidget* normal : {static_cast<QWidget*>(label), static_cast<QWidget*>(rz.knopf)}) {
            QFont nf = normal->font();
            nf.setBold(false);
            normal->setFont(nf);
        }
        f->addWidget(rz.feld, reihe, 0);
        f->addWidget(label, reihe, 1);
        f->addWidget(rz.knopf, reihe, 2);
        ++reihe;
    }
    f->setColumnStretch(1, 1);

    btnZurueck2 = knopf(QStringLiteral("btnZurueck2"), QStringLiteral("Zurück"), panel);
    auto* v = new QVBoxLayout(panel);
    v->addWidget(allgemein);
    v->addWidget(farben);
    v->addStretch();
    auto* unten = new QHBoxLayout;
    unten->addWidget(btnZurueck2);
    unten->addStretch();
    v->addLayout(unten);
    return panel;
}

QWidget* TForm1::hilfeseiteAufbauen() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("panelHilfe"));
    HilfeMemo = new QTextBrowser(panel);
    HilfeMemo->setObjectName(QStringLiteral("HilfeMemo"));
    HilfeMemo->setOpenExternalLinks(true);
    HilfeMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont arial(QStringLiteral("Arial"));
    arial.setPixelSize(11 + 2); // 11 pixels of character height, as Windows counts it
    HilfeMemo->setFont(arial);
    btnZurueck = knopf(QStringLiteral("btnZurueck"), QStringLiteral("Zurück"), panel);
    btnNutzung = knopf(QStringLiteral("btnNutzung"), QStringLiteral("Nutzungsbedingungen"), panel);
    auto* v = new QVBoxLayout(panel);
    v->addWidget(HilfeMemo, 1);
    auto* unten = new QHBoxLayout;
    unten->addWidget(btnZurueck);
    unten->addStretch();
    unten->addWidget(btnNutzung);
    v->addLayout(unten);
    return panel;
}

void TForm1::menuesAufbauen() {
    // The clipboard items act on the focused control; without a focused editor the
    // editor menu's items act on the editor whose menu it is.
    auto imEditor = [this](void (SynMemo::*wirkung)()) {
        return [this, wirkung] {
            auto* memo = qobject_cast<SynMemo*>(QApplication::focusWidget());
            SynMemo* ziel = memo ? memo : &editor_->editor();
            (ziel->*wirkung)();
        };
    };
    auto imFeld = [](std::function<void(QLineEdit&)> wirkung) {
        return [wirkung] {
            if (auto* feld = qobject_cast<QLineEdit*>(QApplication::focusWidget()))
                wirkung(*feld);
        };
    };

    PopupMemo = new QMenu(this);
    PopupMemo->setObjectName(QStringLiteral("PopupMemo"));
    aktionen_->menueeintrag(eintrag(PopupMemo, QStringLiteral("puCopy"), QStringLiteral("Kopieren")),
                            imEditor(&SynMemo::copy));
    aktionen_->menueeintrag(eintrag(PopupMemo, QStringLiteral("puCut"), QStringLiteral("Ausschneiden")),
                            imEditor(&SynMemo::cut));
    aktionen_->menueeintrag(eintrag(PopupMemo, QStringLiteral("puInsert"), QStringLiteral("Einfügen")),
                            imEditor(&SynMemo::paste));
    PopupMemo->addSeparator();
    aktionen_->menueeintrag(eintrag(PopupMemo, QStringLiteral("puHelp"), QStringLiteral("Hilfe")),
                            Aktionen::Hilfe);

    PopupBaum = new QMenu(this);
    PopupBaum->setObjectName(QStringLiteral("PopupBaum"));
    aktionen_->menueeintrag(eintrag(PopupBaum, QStringLiteral("puSectionTree"), QStringLiteral("Neue Sektion")),
                            Aktionen::NeueSektion);
    aktionen_->menueeintrag(eintrag(PopupBaum, QStringLiteral("puKeyTree"), QStringLiteral("Neuer Schlüssel")),
                            Aktionen::NeuerWert);
    PopupBaum->addSeparator();
    // The tree's own item deletes what was right-clicked, whatever the button shows.
    aktionen_->menueeintrag(eintrag(PopupBaum, QStringLiteral("puDeleteTree"), QStringLiteral("Löschen")),
                            Aktionen::Loeschen, true);
    PopupBaum->addSeparator();
    aktionen_->menueeintrag(eintrag(PopupBaum, QStringLiteral("puHelpTree"), QStringLiteral("Hilfe")),
                            Aktionen::Hilfe);

    PopupEdit = new QMenu(this);
    PopupEdit->setObjectName(QStringLiteral("PopupEdit"));
    aktionen_->menueeintrag(eintrag(PopupEdit, QStringLiteral("puCopyEdit"), QStringLiteral("Kopieren")),
                            imFeld([](QLineEdit& f) { f.copy(); }));
    aktionen_->menueeintrag(eintrag(PopupEdit, QStringLiteral("puCutEdit"), QStringLiteral("Ausschneiden")),
                            imFeld([](QLineEdit& f) { f.cut(); }));
    aktionen_->menueeintrag(eintrag(PopupEdit, QStringLiteral("puPasteEdit"), QStringLiteral("Einfügen")),
                            imFeld([](QLineEdit& f) { f.paste(); }));
    PopupEdit->addSeparator();
    aktionen_->menueeintrag(eintrag(PopupEdit, QStringLiteral("puHelpEdit"), QStringLiteral("Hilfe")),
                            Aktionen::Hilfe);
}

} // namespace ravik
