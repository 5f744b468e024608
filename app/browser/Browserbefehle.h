#pragma once

#include "app/commands/Befehlsumfeld.h"

#include <QString>
#include <functional>

namespace ravik {

class Aktionen;
class BrowserAnsicht;
class DialogService;
class Dokument;
class EditorAnsicht;
class Werberotation;

// The browser view's commands: the detail panel following the tree's selection and
// confirming or cancelling its edits, new sections and keys (also in the editor view,
// as lines of text), deleting, expanding and collapsing the tree, and the search.
// Every edit goes to the document's table; the tree shows it.
class Browserbefehle {
public:
    Browserbefehle(Dokument& dokument, BrowserAnsicht& browser, EditorAnsicht& editor,
                   Aktionen& aktionen, DialogService& dialoge, Befehlsumfeld& steuerung,
                   Werberotation& werbung);

    void iniAnzeigeClick();
    void btnOKClick();
    void btnStopClick();
    void tbtnNeueSektionClick();
    void tbtnNeuerWertClick();
    void tbtnDeleteClick();
    void tbtnAnsichtClick();
    void sucheBaumChange(const QString& text);
    // Switches the selected key on or off in the file (Schalten.cpp).
    void actSchluesselAktivierenClick();
    // Shows or hides the switched-off keys in the tree.
    void auskommentierteZeigen(bool zeigen);
    // Typing in the value of a switched-off key switches it on first.
    void wertBearbeitungVersucht();

    // The entry the detail panel was loaded with.
    const QString& altSektion() const { return AltSektion; }
    const QString& altSchluessel() const { return AltSchluessel; }
    const QString& altWert() const { return AltWert; }

private:
    bool namenPruefen(const QString& sektion, const QString& schluessel);
    // A typed value that would break the file's line (a line break, a NUL) is
    // refused with the reason; true when it is fine.
    bool wertPruefen(const QString& wert);
    // The value of a new key, asked again while it is refused; empty when cancelled.
    QString neuenWertErfragen();
    // Runs a change that makes the document's table anew, then shows the tree as it
    // was (expanded sections) with this key selected: live or switched off.
    void nachNeuemText(const std::function<void()>& aenderung, const QString& sektion,
                       const QString& schluessel, bool ausgeschaltet);

    bool browserAktiv() const { return steuerung_->browserAktiv(); }
    bool WertVorhanden(const QString& sektion, const QString& schluessel) {
        return steuerung_->WertVorhanden(sektion, schluessel);
    }
    void ButtonsAktivieren(Ansicht ansicht) { steuerung_->ButtonsAktivieren(ansicht); }
    void geaendert() { steuerung_->geaendert(); }

    Dokument& dokument_;
    BrowserAnsicht* browser_;
    EditorAnsicht* editor_;
    Aktionen* aktionen_;
    DialogService& dialoge_;
    Befehlsumfeld* steuerung_;
    Werberotation* werbung_;
    QString AltSektion, AltSchluessel, AltWert;
    bool ausgeschaltetGewaehlt_ = false; // the panel shows a switched-off key
};

} // namespace ravik
