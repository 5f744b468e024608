#pragma once

#include "app/commands/Ansicht.h"

#include <QString>
#include <functional>

namespace ravik {

// What the document's controller asks of the window it runs in: the window lays out
// the panels and runs the browser's commands; the controller decides when.
class Fensterseite {
public:
    virtual ~Fensterseite() = default;

    // Shows the panels of a view (tool bars, back buttons, the help's text).
    virtual void panelsZeigen(Ansicht ansicht) = 0;
    // The detail panel shows the tree's selected node.
    virtual void eintragAnzeigen() = 0;
    // The new-section command of the browser view (a new document starts with it).
    virtual void neueSektion() = 0;
    // The promotion texts are drawn anew.
    virtual void werbetexteZeigen() = 0;
    // Runs an action as the window runs the user's: an error ends it and is shown.
    virtual void ausfuehren(const std::function<void()>& aktion) = 0;
    // True while an action of the user's runs (a question must wait for its end).
    virtual bool aktionLaeuft() const = 0;
    // Where the program's settings (and the recent files) are kept.
    virtual QString einstellungsdatei() const = 0;

protected:
    Fensterseite() = default;
    Fensterseite(const Fensterseite&) = default;
    Fensterseite& operator=(const Fensterseite&) = default;
};

} // namespace ravik
