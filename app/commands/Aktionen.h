#pragma once

#include "app/commands/Ansicht.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <array>
#include <functional>

class QAction;
class QKeyEvent;
class QWidget;

namespace ravik {

class WerkzeugKnopf;

// The window's commands, one QAction each, carrying the command's key, image, hint
// and enabled state. The tool buttons show the actions, the window's key preview and
// the context menus trigger them, so a command has one route whatever starts it.
class Aktionen : public QObject {
    Q_OBJECT
public:
    enum Befehl {
        Neu, Oeffnen, Speichern, Wechseln, Optionen, Hilfe,
        NeueSektion, NeuerWert, Loeschen, Ausklappen, Aenderungen, SchluesselAktivieren,
        kAnzahl
    };

    explicit Aktionen(QWidget* fenster);

    QAction* aktion(Befehl befehl) const { return aktionen_[befehl]; }
    // The tool button of a command: named after it, showing the action's image and hint.
    WerkzeugKnopf* knopf(Befehl befehl, QWidget* leiste);
    // A command whose image (and hint) tells a state: the view switch's direction, the
    // tree expanded or collapsed. An empty hint keeps the one shown.
    void bildZeigen(Befehl befehl, int bild, const QString& hinweis = QString());
    // What the command does when it runs.
    void binden(Befehl befehl, std::function<void()> ausfuehrung);

    // Runs a command where it is enabled; `auchGesperrt`: also where it is not.
    void ausloesen(Befehl befehl, bool auchGesperrt = false);

    // The window's key preview: runs the command whose key was pressed. True when a
    // command's key it was; `eigen` then tells whether the key goes no further.
    bool taste(const QKeyEvent& taste, bool& eigen);

    // A context-menu item that runs a command. `auchGesperrt`: the item runs it also
    // while the command is disabled.
    void menueeintrag(QAction* eintrag, Befehl befehl, bool auchGesperrt = false);
    // A context-menu item with an effect of its own (the clipboard items).
    void menueeintrag(QAction* eintrag, std::function<void()> wirkung);
    // Runs what a context-menu item stands for; false for an item nobody registered.
    bool menueeintragAusloesen(QAction* eintrag);

    // The facts the enabled states follow. Saving becomes possible with the first
    // change or save and stays so; the structure commands follow the view they were
    // last set for and whether the tree then held nodes.
    void speichernErlauben();
    void strukturFuer(Ansicht ansicht, bool baumGefuellt);
    // Whether the document has changes its file does not have.
    void dokumentGeaendert(bool geaendert);
    // What switching the selected entry on or off would do: its text follows.
    enum class Schalter { Keiner, Aktivieren, Deaktivieren };
    void schalterFuer(Schalter schalter);

private:
    // The one place that sets every command's enabled state.
    void freigabenSetzen();

    std::array<QAction*, kAnzahl> aktionen_{};
    std::array<WerkzeugKnopf*, kAnzahl> knoepfe_{};
    std::array<std::function<void()>, kAnzahl> ausfuehrungen_;
    std::array<bool, kAnzahl> tasteAuchGesperrt_{};
    std::array<bool, kAnzahl> tasteEigen_{};
    QHash<QAction*, std::function<void()>> menueeintraege_;

    bool speichernMoeglich_ = false;
    Ansicht strukturAnsicht_ = Ansicht::Browser;
    bool baumGefuellt_ = false;
    bool dokumentGeaendert_ = false;
    Schalter schalter_ = Schalter::Keiner;
};

} // namespace ravik
