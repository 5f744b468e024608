// Builds the main window's widgets: two tool bars above five panels, one visible at
// a time, and the three context menus.
#include "app/browser/DetailFeld.h"
#include "app/browser/IniBaum.h"
#include "app/editor/SynMemo.h"
#include "core/help/Werbetexte.h"
#include "app/settings/Farbfeld.h"
#include "app/shell/Bilder.h"
#include "app/shell/TForm1.h"
#include "app/shell/WerkzeugKnopf.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>

namespace ravik {
namespace {

QLabel* fettesLabel(const QString& text, QWidget* parent, bool unterstrichen = false) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    QFont f = label->font();
    f.setBold(true);
    f.setUnderline(unterstrichen);
    label->setFont(f);
    return label;
}

QLabel* textLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QFrame* senkrechteLinie(QWidget* parent) {
    auto* linie = new QFrame(parent);
    linie->setFrameShape(QFrame::VLine);
    linie->setFrameShadow(QFrame::Sunken);
    linie->setLineWidth(1);
    linie->setFixedWidth(2);
    return linie;
}

QLabel* bildLabel(const QIcon& icon, int groesse, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(icon.pixmap(groesse, groesse));
    label->setFixedSize(groesse, groesse);
    return label;
}

QPushButton* knopf(const QString& name, const QString& text, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

QAction* eintrag(QMenu* menu, const QString& name, const QString& text) {
    QAction* a = menu->addAction(text);
    a->setObjectName(name);
    return a;
}

} // namespace

void TForm1::oberflaecheAufbauen() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Ravik: Der Velmora INI-Editor Version 1.0.0"));
    setWindowIcon(Bilder::programmsymbol());
    setMinimumSize(500, 430);
    resize(630, 443);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(werkzeugleisteAufbauen());
    layout->addWidget(strukturleisteAufbauen());

    panelWillkommen = startseiteAufbauen();
    panelBrowser = browserseiteAufbauen();
    panelEditor = editorseiteAufbauen();
    panelSetup = optionsseiteAufbauen();
    panelHilfe = hilfeseiteAufbauen();
    for (QWidget* panel : {panelWillkommen, panelBrowser, panelEditor, panelSetup, panelHilfe}) {
        layout->addWidget(panel, 1);
        panel->hide();
    }
    ToolBar1->hide();
    ToolBar2->hide();
    menuesAufbauen();
}

QToolBar* TForm1::werkzeugleisteAufbauen() {
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setIconSize(QSize(24, 24));
    tbtnNeu = new WerkzeugKnopf(QStringLiteral("tbtnNeu"), QStringLiteral("Neue INI-Datei erstellen"), 6, ToolBar1);
    tbtnDateiladen = new WerkzeugKnopf(QStringLiteral("tbtnDateiladen"), QStringLiteral("INI-Datei öffnen"), 0, ToolBar1);
    tbtnDateispeichern = new WerkzeugKnopf(QStringLiteral("tbtnDateispeichern"), QStringLiteral("INI-Datei speichern"), 1, ToolBar1);
    tbtnFlip = new WerkzeugKnopf(QStringLiteral("tbtnFlip"),
                                 QStringLiteral("Bearbeitungsmodus wechseln (aktuelle Änderungen gehen verloren)"), 11, ToolBar1);
    tbtnOptionen = new WerkzeugKnopf(QStringLiteral("tbtnOptionen"), QStringLiteral("Optionen"), 12, ToolBar1);
    tbtnHilfe = new WerkzeugKnopf(QStringLiteral("tbtnHilfe"), QStringLiteral("Hilfe anzeigen (F1)"), 9, ToolBar1);
    ToolBar1->addWidget(tbtnNeu);
    ToolBar1->addWidget(tbtnDateiladen);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(tbtnDateispeichern);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(tbtnFlip);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(tbtnOptionen);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(tbtnHilfe);
    tbtnDateispeichern->setEnabled(false);
    return ToolBar1;
}

QToolBar* TForm1::strukturleisteAufbauen() {
    ToolBar2 = new QToolBar(this);
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar2->setMovable(false);
    ToolBar2->setIconSize(QSize(24, 24));
    tbtnNeueSektion = new WerkzeugKnopf(QStringLiteral("tbtnNeueSektion"), QStringLiteral("Neue Sektion einfügen (STRG-S)"), 5, ToolBar2);
    tbtnNeuerWert = new WerkzeugKnopf(QStringLiteral("tbtnNeuerWert"), QStringLiteral("Neuen Schlüssel einfügen (STRG-K)"), 4, ToolBar2);
    tbtnDelete = new WerkzeugKnopf(QStringLiteral("tbtnDelete"), QStringLiteral("Markierten Eintrag löschen (ENTF)"), 7, ToolBar2);
    tbtnAnsicht = new WerkzeugKnopf(QStringLiteral("tbtnAnsicht"), QStringLiteral("Alle Schlüssel ausklappen (F2)"), 2, ToolBar2);
    ToolBar2->addWidget(tbtnNeueSektion);
    ToolBar2->addWidget(tbtnNeuerWert);
    ToolBar2->addSeparator();
    ToolBar2->addWidget(tbtnDelete);
    ToolBar2->addSeparator();
    ToolBar2->addWidget(tbtnAnsicht);
    tbtnNeuerWert->setEnabled(false);
    tbtnDelete->setEnabled(false);
    tbtnAnsicht->setEnabled(false);
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
    BitBtn3->setIcon(Bilder::werkzeugBild(10));
    BitBtn2->setIcon(Bilder::werkzeugBild(11));
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

QWidget* TForm1::werbebereichAufbauen(QWidget* panel, QLabel* text) {
    auto* bereich = new QWidget(panel);
    auto* kopf = new QHBoxLayout;
    auto* symbol = bildLabel(Bilder::kleinesBild("promo"), 16, bereich);
    auto* werbung = fettesLabel(QStringLiteral("Werbung"), bereich, true);
    auto* hinweis = new QLabel(QStringLiteral("(einfach anklicken)"), bereich);
    hinweis->setObjectName(QStringLiteral("WerbungHinweis"));
    kopf->addWidget(symbol);
    kopf->addWidget(werbung);
    kopf->addWidget(hinweis);
    kopf->addStretch();
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* v = new QVBoxLayout(bereich);
    v->setContentsMargins(0, 0, 0, 0);
    v->addLayout(kopf);
    v->addWidget(text);
    // The area reacts to clicks (heading, icon, text and the free panel around them);
    // the note "(einfach anklicken)" does not.
    for (QWidget* w : {static_cast<QWidget*>(symbol), static_cast<QWidget*>(werbung),
                       static_cast<QWidget*>(text), panel}) {
        w->setCursor(Qt::PointingHandCursor);
        w->setProperty("werbeflaeche", true);
    }
    bereich->setProperty("werbeflaeche", true);
    return bereich;
}

QWidget* TForm1::browserseiteAufbauen() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("panelBrowser"));

    auto* anzeige = new QWidget(panel);
    anzeige->setObjectName(QStringLiteral("panelAnzeige"));
    iniAnzeige = new IniBaum(anzeige);
    auto* a = new QVBoxLayout(anzeige);
    a->setContentsMargins(0, 0, 0, 0);
    a->addWidget(iniAnzeige);

    panelWerte = new QWidget(panel);
    panelWerte->setObjectName(QStringLiteral("panelWerte"));
    panelWerte->setFixedWidth(317);

    auto* detail = new QWidget(panelWerte);
    detail->setObjectName(QStringLiteral("Panel2"));
    SektionAnzeige = new DetailFeld(QStringLiteral("SektionAnzeige"), true, detail);
    SchluesselAnzeige = new DetailFeld(QStringLiteral("SchluesselAnzeige"), true, detail);
    WertAnzeige = new DetailFeld(QStringLiteral("WertAnzeige"), false, detail);
    auto* raster = new QGridLayout(detail);
    raster->setVerticalSpacing(8);
    const struct {
        const char* bild;
        const char* text;
        DetailFeld* feld;
    } zeilen[] = {{"section", "Sektion", SektionAnzeige},
                  {"key", "Schlüssel", SchluesselAnzeige},
                  {"value", "Wert", WertAnzeige}};
    int zeile = 0;
    for (const auto& z : zeilen) {
        z.feld->setMinimumWidth(150); // 207 pixels wide where the font allows
        z.feld->setContextMenuPolicy(Qt::CustomContextMenu);
        raster->addWidget(bildLabel(Bilder::kleinesBild(z.bild), 16, detail), zeile, 0);
        raster->addWidget(fettesLabel(QString::fromUtf8(z.text), detail), zeile, 1);
        raster->addWidget(z.feld, zeile, 2);
        ++zeile;
    }
    btnOK = knopf(QStringLiteral("btnOK"), QStringLiteral("OK"), detail);
    btnStop = knopf(QStringLiteral("btnStop"), QStringLiteral("Abbruch"), detail);
    btnOK->setIcon(Bilder::kleinesBild("ok"));
    btnStop->setIcon(Bilder::kleinesBild("cancel"));
    for (QPushButton* b : {btnOK, btnStop}) {
        b->setFixedSize(100, 25);
        b->setEnabled(false);
        b->setAutoDefault(true); // Enter on the focused button presses it
    }
    auto* knoepfe = new QHBoxLayout;
    knoepfe->addWidget(btnOK);
    knoepfe->addWidget(btnStop);
    knoepfe->addStretch();
    raster->addLayout(knoepfe, zeile, 2);
    setTabOrder(SektionAnzeige, SchluesselAnzeige);
    setTabOrder(SchluesselAnzeige, WertAnzeige);
    setTabOrder(WertAnzeige, btnOK);
    setTabOrder(btnOK, btnStop);

    WerbetextAnzeige = new QLabel(panelWerte);
    WerbetextAnzeige->setObjectName(QStringLiteral("WerbetextAnzeige"));
    WerbetextAnzeige->setMinimumHeight(83);
    CheckBox2 = new QCheckBox(panelWerte);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    CheckBox2->setChecked(true);

    auto* w = new QVBoxLayout(panelWerte);
    w->addWidget(detail);
    w->addSpacing(10);
    w->addWidget(werbebereichAufbauen(panelWerte, WerbetextAnzeige));
    w->addStretch();
    w->addWidget(fettesLabel(QStringLiteral("Sicherheitskopie erstellen (empfohlen)"), panelWerte));
    w->addWidget(CheckBox2);

    auto* h = new QHBoxLayout(panel);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    h->addWidget(anzeige, 1);
    h->addWidget(senkrechteLinie(panel));
    h->addWidget(panelWerte);
    return panel;
}

QWidget* TForm1::editorseiteAufbauen() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("panelEditor"));
    auto* memo = new QWidget(panel);
    memo->setObjectName(QStringLiteral("panelMemo"));
    SynMemo1 = new SynMemo(memo);
    auto* m = new QVBoxLayout(memo);
    m->setContentsMargins(0, 0, 0, 0);
    m->addWidget(SynMemo1);

    Panel5 = new QWidget(panel);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    Panel5->setFixedWidth(232);
    WerbetextAnzeige2 = new QLabel(Panel5);
    WerbetextAnzeige2->setObjectName(QStringLiteral("WerbetextAnzeige2"));
    WerbetextAnzeige2->setMinimumHeight(131);
    CheckBox1 = new QCheckBox(Panel5);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setChecked(true);
    auto* p = new QVBoxLayout(Panel5);
    p->addWidget(werbebereichAufbauen(Panel5, WerbetextAnzeige2));
    p->addStretch();
    p->addWidget(fettesLabel(QStringLiteral("Sicherheitskopie erstellen (empfohlen)"), Panel5));
    p->addWidget(CheckBox1);

    auto* h = new QHBoxLayout(panel);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(0);
    h->addWidget(memo, 1);
    h->addWidget(senkrechteLinie(panel));
    h->addWidget(Panel5);
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
    PopupMemo = new QMenu(this);
    PopupMemo->setObjectName(QStringLiteral("PopupMemo"));
    eintrag(PopupMemo, QStringLiteral("puCopy"), QStringLiteral("Kopieren"));
    eintrag(PopupMemo, QStringLiteral("puCut"), QStringLiteral("Ausschneiden"));
    eintrag(PopupMemo, QStringLiteral("puInsert"), QStringLiteral("Einfügen"));
    PopupMemo->addSeparator();
    eintrag(PopupMemo, QStringLiteral("puHelp"), QStringLiteral("Hilfe"));

    PopupBaum = new QMenu(this);
    PopupBaum->setObjectName(QStringLiteral("PopupBaum"));
    eintrag(PopupBaum, QStringLiteral("puSectionTree"), QStringLiteral("Neue Sektion"));
    eintrag(PopupBaum, QStringLiteral("puKeyTree"), QStringLiteral("Neuer Schlüssel"));
    PopupBaum->addSeparator();
    eintrag(PopupBaum, QStringLiteral("puDeleteTree"), QStringLiteral("Löschen"));
    PopupBaum->addSeparator();
    eintrag(PopupBaum, QStringLiteral("puHelpTree"), QStringLiteral("Hilfe"));

    PopupEdit = new QMenu(this);
    PopupEdit->setObjectName(QStringLiteral("PopupEdit"));
    eintrag(PopupEdit, QStringLiteral("puCopyEdit"), QStringLiteral("Kopieren"));
    eintrag(PopupEdit, QStringLiteral("puCutEdit"), QStringLiteral("Ausschneiden"));
    eintrag(PopupEdit, QStringLiteral("puPasteEdit"), QStringLiteral("Einfügen"));
    PopupEdit->addSeparator();
    eintrag(PopupEdit, QStringLiteral("puHelpEdit"), QStringLiteral("Hilfe"));
}

} // namespace ravik
