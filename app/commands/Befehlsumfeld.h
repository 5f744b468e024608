#pragma once

#include "app/commands/Ansicht.h"

#include <QString>

namespace ravik {

// What a view's commands ask of the document's controller: which view is shown, the
// document's names, and what follows an edit (the save command, the structure
// commands' enabled states, the expand command's state).
class Befehlsumfeld {
public:
    virtual ~Befehlsumfeld() = default;

    virtual bool browserAktiv() const = 0;
    // True (and the user is told) when the section, or the key in it, exists already.
    virtual bool WertVorhanden(const QString& sektion, const QString& schluessel) = 0;
    virtual void titelVorhandenMelden() = 0;
    virtual void ButtonsAktivieren(Ansicht ansicht) = 0;
    // A command changed the document.
    virtual void geaendert() = 0;
    virtual bool baumAusgeklappt() const = 0;
    virtual void setBaumAusgeklappt(bool ausgeklappt) = 0;

protected:
    Befehlsumfeld() = default;
    Befehlsumfeld(const Befehlsumfeld&) = default;
    Befehlsumfeld& operator=(const Befehlsumfeld&) = default;
};

} // namespace ravik
