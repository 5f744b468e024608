#pragma once

#include "app/commands/Ansicht.h"

#include <optional>

namespace ravik {

// Which view the window shows, and in which of the two document views the document
// is: it stays there while the options or the help are shown over it. Written each
// time a view is shown, and read instead of asking the panels or a caption.
class Ansichtsstand {
public:
    void zeigen(Ansicht ansicht) {
        aktuell_ = ansicht;
        if (ansicht == Ansicht::Browser || ansicht == Ansicht::Editor)
            dokumentansicht_ = ansicht;
    }
    // Nothing before the first view is shown.
    std::optional<Ansicht> aktuell() const { return aktuell_; }
    bool browserAktiv() const { return aktuell_ == Ansicht::Browser; }
    bool editorAktiv() const { return aktuell_ == Ansicht::Editor; }
    // The editor's text is the document (also under the options or the help).
    bool dokumentImEditor() const { return dokumentansicht_ == Ansicht::Editor; }

private:
    std::optional<Ansicht> aktuell_;
    Ansicht dokumentansicht_ = Ansicht::Browser;
};

} // namespace ravik
