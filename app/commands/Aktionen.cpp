#include "app/commands/Aktionen.h"

#include "app/platform/widgets/Bilder.h"
#include "app/platform/widgets/WerkzeugKnopf.h"

#include <QAction>
#include <QKeyEvent>
#include <QWidget>

namespace ravik {
namespace {

constexpr Qt::KeyboardModifiers kUmschalter =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
constexpr Qt::KeyboardModifiers kAusserStrg = Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier;

struct Beschreibung {
    const char* name;      // the action's objectName
    const char* knopf;     // its tool button's objectName
    const char* hinweis;
    int bild;
    Qt::Key taste;                   // Qt::Key_unknown: none
    Qt::KeyboardModifiers noetig;    // modifiers the key needs
    Qt::KeyboardModifiers beliebig;  // modifiers that may be held as well
    bool fensterweit;  // the window's key preview runs it; else a control's own key
    bool eigen;        // the key goes no further than the window
    bool auchGesperrt; // the key runs the command also while it is disabled
};

// Indexed by Aktionen::Befehl. Open and save are the window's alone: the focused control
// does not get their keys (the editor would take Ctrl+O for a typed character). The
// expand key also works in the editor view, where its button is disabled.
const Beschreibung kBefehle[] = {
    {"aktionNeu", "tbtnNeu", "Neue INI-Datei erstellen", Bilder::kNeueDatei,
     Qt::Key_unknown, {}, {}, false, false, false},
    {"aktionOeffnen", "tbtnDateiladen", "INI-Datei öffnen (STRG-O)", Bilder::kOeffnen,
     Qt::Key_O, Qt::ControlModifier, {}, true, true, false},
    {"aktionSpeichern", "tbtnDateispeichern", "INI-Datei speichern (F12)", Bilder::kSpeichern,
     Qt::Key_F12, {}, {}, true, true, false},
    {"aktionWechseln", "tbtnFlip", "Bearbeitungsmodus wechseln (aktuelle Änderungen gehen verloren)",
     Bilder::kZumEditor, Qt::Key_A, Qt::ControlModifier, kAusserStrg, true, false, false},
    {"aktionOptionen", "tbtnOptionen", "Optionen", Bilder::kOptionen,
     Qt::Key_unknown, {}, {}, false, false, false},
    {"aktionHilfe", "tbtnHilfe", "Hilfe anzeigen (F1)", Bilder::kHilfe,
     Qt::Key_F1, {}, kUmschalter, true, false, false},
    {"aktionNeueSektion", "tbtnNeueSektion", "Neue Sektion einfügen (STRG-S)", Bilder::kNeueSektion,
     Qt::Key_S, Qt::ControlModifier, kAusserStrg, true, false, false},
    {"aktionNeuerWert", "tbtnNeuerWert", "Neuen Schlüssel einfügen (STRG-K)", Bilder::kNeuerSchluessel,
     Qt::Key_K, Qt::ControlModifier, kAusserStrg, true, false, false},
    {"aktionLoeschen", "tbtnDelete", "Markierten Eintrag löschen (ENTF)", Bilder::kLoeschen,
     Qt::Key_Delete, {}, kUmschalter, false, false, false},
    {"aktionAusklappen", "tbtnAnsicht", "Alle Schlüssel ausklappen (F2)", Bilder::kBaumEingeklappt,
     Qt::Key_F2, {}, kUmschalter, true, false, true},
    {"aktionAenderungen", "tbtnAenderungen", "Änderungen prüfen (F7)", Bilder::kAenderungen,
     Qt::Key_F7, {}, {}, true, true, false},
    {"actSchluesselAktivieren", "", "Schlüssel aktivieren (F8)", Bilder::kNeuerSchluessel,
     Qt::Key_F8, {}, {}, true, true, false},
};
static_assert(std::size(kBefehle) == Aktionen::kAnzahl);

// Every combination of the needed modifiers with any of the free ones.
QList<QKeySequence> tastenfolgen(Qt::Key taste, Qt::KeyboardModifiers noetig,
                                 Qt::KeyboardModifiers beliebig) {
    QList<QKeySequence> folgen;
    if (taste == Qt::Key_unknown)
        return folgen;
    const Qt::KeyboardModifier einzeln[] = {Qt::ShiftModifier, Qt::ControlModifier,
                                            Qt::AltModifier, Qt::MetaModifier};
    for (int maske = 0; maske < 16; ++maske) {
        Qt::KeyboardModifiers mod = noetig;
        bool erlaubt = true;
        for (int i = 0; i < 4; ++i) {
            if (!(maske & (1 << i)))
                continue;
            erlaubt = erlaubt && beliebig.testFlag(einzeln[i]);
            mod |= einzeln[i];
        }
        if (erlaubt && !folgen.contains(QKeySequence(QKeyCombination(mod, taste))))
            folgen << QKeySequence(QKeyCombination(mod, taste));
    }
    return folgen;
}

} // namespace

Aktionen::Aktionen(QWidget* fenster) : QObject(fenster) {
    setObjectName(QStringLiteral("Aktionen"));
    for (int b = 0; b < kAnzahl; ++b) {
        const Beschreibung& d = kBefehle[b];
        auto* a = new QAction(this);
        a->setObjectName(QLatin1String(d.name));
        a->setText(QString::fromUtf8(d.hinweis));
        a->setToolTip(QString::fromUtf8(d.hinweis));
        a->setIcon(Bilder::werkzeugBild(d.bild));
        a->setShortcuts(tastenfolgen(d.taste, d.noetig, d.beliebig));
        // The keys are dispatched by the window's key preview, which sees each press once
        // and lets it go on to the focused control; Qt's shortcut map must not fire them a
        // second time. A widget shortcut of a button that never takes the focus does not.
        a->setShortcutContext(Qt::WidgetShortcut);
        connect(a, &QAction::triggered, this, [this, b] {
            if (ausfuehrungen_[b])
                ausfuehrungen_[b]();
        });
        aktionen_[b] = a;
        tasteAuchGesperrt_[b] = d.auchGesperrt;
        tasteEigen_[b] = d.eigen;
    }
    freigabenSetzen();
}

WerkzeugKnopf* Aktionen::knopf(Befehl befehl, QWidget* leiste) {
    const Beschreibung& d = kBefehle[befehl];
    auto* k = new WerkzeugKnopf(QLatin1String(d.knopf), QString::fromUtf8(d.hinweis), d.bild, leiste);
    k->setDefaultAction(aktion(befehl));
    knoepfe_[befehl] = k;
    return k;
}

// Through the button where there is one: it keeps the image's index, and passes image
// and hint on to the action.
void Aktionen::bildZeigen(Befehl befehl, int bild, const QString& hinweis) {
    if (WerkzeugKnopf* k = knoepfe_[befehl]) {
        k->setBildIndex(bild);
        if (!hinweis.isEmpty())
            k->setHinweis(hinweis);
        return;
    }
    aktion(befehl)->setIcon(Bilder::werkzeugBild(bild));
    if (!hinweis.isEmpty())
        aktion(befehl)->setToolTip(hinweis);
}

void Aktionen::binden(Befehl befehl, std::function<void()> ausfuehrung) {
    ausfuehrungen_[befehl] = std::move(ausfuehrung);
}

void Aktionen::ausloesen(Befehl befehl, bool auchGesperrt) {
    QAction* a = aktion(befehl);
    if (a->isEnabled())
        a->trigger();
    else if (auchGesperrt && ausfuehrungen_[befehl])
        ausfuehrungen_[befehl]();
}

bool Aktionen::taste(const QKeyEvent& taste, bool& eigen) {
    const QKeySequence gedrueckt(
        QKeyCombination(taste.modifiers() & kUmschalter, Qt::Key(taste.key())));
    for (int b = 0; b < kAnzahl; ++b) {
        if (!kBefehle[b].fensterweit || !aktionen_[b]->shortcuts().contains(gedrueckt))
            continue;
        eigen = tasteEigen_[b];
        ausloesen(Befehl(b), tasteAuchGesperrt_[b]);
        return true;
    }
    return false;
}

void Aktionen::menueeintrag(QAction* eintrag, Befehl befehl, bool auchGesperrt) {
    menueeintraege_.insert(eintrag, [this, befehl, auchGesperrt] { ausloesen(befehl, auchGesperrt); });
}

void Aktionen::menueeintrag(QAction* eintrag, std::function<void()> wirkung) {
    menueeintraege_.insert(eintrag, std::move(wirkung));
}

bool Aktionen::menueeintragAusloesen(QAction* eintrag) {
    const auto it = menueeintraege_.constFind(eintrag);
    if (it == menueeintraege_.constEnd())
        return false;
    (*it)();
    return true;
}

void Aktionen::speichernErlauben() {
    speichernMoeglich_ = true;
    freigabenSetzen();
}

void Aktionen::strukturFuer(Ansicht ansicht, bool baumGefuellt) {
    strukturAnsicht_ = ansicht;
    baumGefuellt_ = baumGefuellt;
    freigabenSetzen();
}

void Aktionen::dokumentGeaendert(bool geaendert) {
    dokumentGeaendert_ = geaendert;
    freigabenSetzen();
}

void Aktionen::schalterFuer(Schalter schalter) {
    schalter_ = schalter;
    const QString text = schalter == Schalter::Deaktivieren ? QStringLiteral("Schlüssel deaktivieren")
                                                            : QStringLiteral("Schlüssel aktivieren");
    aktion(SchluesselAktivieren)->setText(text);
    aktion(SchluesselAktivieren)->setToolTip(text + QStringLiteral(" (F8)"));
    freigabenSetzen();
}

void Aktionen::freigabenSetzen() {
    // In the browser view the structure commands need a node to act on; in the editor
    // view new entries are text, and deleting and expanding are the tree's alone.
    const bool browser = strukturAnsicht_ == Ansicht::Browser;
    for (Befehl b : {Neu, Oeffnen, Wechseln, Optionen, Hilfe, NeueSektion})
        aktion(b)->setEnabled(true);
    aktion(Speichern)->setEnabled(speichernMoeglich_);
    aktion(NeuerWert)->setEnabled(!browser || baumGefuellt_);
    aktion(Loeschen)->setEnabled(browser && baumGefuellt_);
    aktion(Ausklappen)->setEnabled(browser && baumGefuellt_);
    aktion(Aenderungen)->setEnabled(dokumentGeaendert_);
    aktion(SchluesselAktivieren)->setEnabled(browser && baumGefuellt_ && schalter_ != Schalter::Keiner);
}

} // namespace ravik
