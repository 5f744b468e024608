// Builds the main window's widgets: two tool bars above five panels, one visible at
// a time, and the three context menus.
#include "app/browser/BrowserAnsicht.h"
#include "app/editor/EditorAnsicht.h"
#include "app/editor/SynMemo.h"
#include "app/platform/widgets/Bausteine.h"
#include "app/help/Hilfeseite.h"
#include "app/help/Startseite.h"
#include "app/help/Werberotation.h"
#include "app/settings/Optionsseite.h"
#include "core/help/Werbetexte.h"
#include "app/commands/Aktionen.h"
#include "app/platform/widgets/Bilder.h"
#include "app/shell/TForm1.h"
#include "app/platform/widgets/WerkzeugKnopf.h"

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
    setWindowIcon(Bilder::programmsymbol());
    setMinimumSize(500, 430);
    resize(630, 443);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    aktionen_ = new Aktionen(this);
    layout->addWidget(werkzeugleisteAufbauen());
    layout->addWidget(strukturleisteAufbauen());

    panelWillkommen = new Startseite(this);
    browser_ = new BrowserAnsicht(this);
    editor_ = new EditorAnsicht(this);
    panelSetup = new Optionsseite({einstellungsdatei(), optionen_.programmdatei}, dialoge_, editor_->editor(),
                                  [this](const std::function<void()>& aktion) { ausfuehren(aktion); }, this);
    panelHilfe = new Hilfeseite(Programmpfad, dialoge_, this);
    werbung_ = std::make_unique<Werberotation>(QList<Werbebereich*>{&browser_->werbung(), &editor_->werbung()});
    for (QWidget* panel : std::initializer_list<QWidget*>{panelWillkommen, browser_, editor_, panelSetup, panelHilfe}) {
        layout->addWidget(panel, 1);
        panel->hide();
    }
    ToolBar1->hide();
    ToolBar2->hide();
    steuerung_ = new Dokumentsteuerung(dokument_, *browser_, *editor_, *aktionen_, dialoge_, *this, *this,
                                       {optionen_.zustandspfad, optionen_.sicherungsverzoegerungMs});
    befehle_ = std::make_unique<Browserbefehle>(dokument_, *browser_, *editor_, *aktionen_, dialoge_,
                                                *steuerung_, *werbung_);
    steuerung_->fenstertitelSetzen(QStringLiteral("Ravik: Der Velmora INI-Editor Version 1.0.0"));
    menuesAufbauen();
    steuerung_->zuletztMenueAufbauen(*tbtnDateiladen);
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
    PopupBaum->addAction(aktionen_->aktion(Aktionen::SchluesselAktivieren));
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
