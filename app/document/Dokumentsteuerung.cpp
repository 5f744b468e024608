// The controller's own state: the view shown, the captions, and what a change of the
// document's status or the view means for the window.
#include "app/document/Dokumentsteuerung.h"

#include "app/browser/BrowserAnsicht.h"
#include "app/browser/Detailpanel.h"
#include "app/browser/IniBaum.h"
#include "app/commands/Aktionen.h"
#include "app/document/Fensterseite.h"
#include "app/document/Wiederherstellungswaechter.h"
#include "app/editor/EditorAnsicht.h"
#include "app/editor/SynMemo.h"
#include "app/platform/dialogs/DialogService.h"
#include "app/platform/widgets/Bilder.h"
#include "core/document/Dokument.h"
#include "core/document/Systemdatei.h"
#include "core/platform/files/FileIO.h"

#include <QWidget>

namespace ravik {

Dokumentsteuerung::Dokumentsteuerung(Dokument& dokument, BrowserAnsicht& browser,
                                     EditorAnsicht& editor, Aktionen& aktionen,
                                     DialogService& dialoge, Fensterseite& seite,
                                     QWidget& fenster, const Wiederherstellungsort& ort)
    : QObject(&fenster), dokument_(dokument), browser_(&browser), editor_(&editor),
      aktionen_(&aktionen), dialoge_(dialoge), seite_(seite), fenster_(fenster),
      anwendungstitel_(QStringLiteral("Ravik")) {
    setObjectName(QStringLiteral("Dokumentsteuerung"));
    dialoge_.setApplicationTitle(anwendungstitel_);
    // The caption's modified mark follows the document's status; from a saved state
    // on, the editor reports the next change of its text.
    connect(&dokument_, &Dokument::statusGesetzt, this, [this](Dateistatus status) {
        aenderungsmarkeZeigen();
        aktionen_->dokumentGeaendert(status == Dateistatus::Geaendert || status == Dateistatus::Geaendert2);
        if (status == Dateistatus::Gespeichert)
            editor_->editor().markSaved();
    });
    wiederherstellungEinrichten(ort);
}

Dokumentsteuerung::~Dokumentsteuerung() = default;

void Dokumentsteuerung::zeigen(Ansicht ansicht) {
    ansichtsstand_.zeigen(ansicht);
    if (ansicht == Ansicht::Browser)
        aktionen_->bildZeigen(Aktionen::Wechseln, Bilder::kZumEditor);
    else if (ansicht == Ansicht::Editor)
        aktionen_->bildZeigen(Aktionen::Wechseln, Bilder::kZumBrowser);
    seite_.panelsZeigen(ansicht);
}

void Dokumentsteuerung::ButtonsAktivieren(Ansicht ansicht) {
    const bool gefuellt = browser_->baum().knotenAnzahl() > 0;
    aktionen_->strukturFuer(ansicht, gefuellt);
    browser_->detail().knoepfeFreigeben(ansicht != Ansicht::Browser || gefuellt);
}

void Dokumentsteuerung::Warmstart(Ansicht ansicht) {
    if (ansicht == Ansicht::Browser) {
        WerteTabelleLoeschen();
        seite_.eintragAnzeigen();
    }
    if (ansicht == Ansicht::Editor)
        editor_->editor().clearAll();
    seite_.werbetexteZeigen();
}

void Dokumentsteuerung::setBaumAusgeklappt(bool ausgeklappt) {
    baumAusgeklappt_ = ausgeklappt;
    aktionen_->bildZeigen(Aktionen::Ausklappen,
                          ausgeklappt ? Bilder::kBaumAusgeklappt : Bilder::kBaumEingeklappt,
                          ausgeklappt ? QStringLiteral("Alle Schlüssel einklappen (F2)")
                                      : QStringLiteral("Alle Schlüssel ausklappen (F2)"));
}

// A start-up load that fails shows its error; the window then shows an empty,
// unchanged document, which closing does not ask about.
void Dokumentsteuerung::starten(const QString& pfad, Ansicht ansicht) {
    zeigen(ansicht);
    bool geladen = false;
    seite_.ausfuehren([&] {
        DateiLaden(pfad, ansicht);
        if (ansicht == Ansicht::Browser)
            seite_.eintragAnzeigen();
        geladen = true;
    });
    if (geladen) {
        openDialogVorgabe_ = pfad;
        dokument_.setName(pfad);
        titelSetzen(pfad);
    }
}

void Dokumentsteuerung::geaendert() {
    aktionen_->speichernErlauben();
    dokument_.bearbeitet();
}

void Dokumentsteuerung::titelSetzen(const QString& pfad) {
    const QString name = FileIO::fileNamePart(pfad);
    fenstertitelSetzen(QStringLiteral("Ravik: Der Velmora INI-Editor (\"%1\")").arg(name) +
                       Systemdatei::titelZusatz(pfad));
    anwendungstitel_ = QStringLiteral("Ravik (\"%1\")").arg(name);
    dialoge_.setApplicationTitle(anwendungstitel_);
    zuletztMerken(pfad);
}

void Dokumentsteuerung::neueDateiTitel() {
    fenstertitelSetzen(QStringLiteral("Ravik: Der Velmora INI-Editor (Neue Datei)"));
    anwendungstitel_ = QStringLiteral("Ravik");
    dialoge_.setApplicationTitle(anwendungstitel_);
}

void Dokumentsteuerung::fenstertitelSetzen(const QString& text) {
    fenstertitel_ = text;
    aenderungsmarkeZeigen();
}

// Qt shows its mark ("*" after the caption) where the caption holds "[*]" while the
// window counts as modified. A saved document's caption is the text alone; a "[*]" in
// a file's name is written doubled, which Qt shows as it is.
void Dokumentsteuerung::aenderungsmarkeZeigen() {
    const bool ungespeichert = !dokument_.gespeichert();
    QString titel = fenstertitel_;
    titel.replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
    if (ungespeichert)
        titel += QLatin1String("[*]");
    if (ungespeichert == fenster_.isWindowModified() && titel == fenster_.windowTitle())
        return;
    if (ungespeichert) {
        fenster_.setWindowTitle(titel);
        fenster_.setWindowModified(true);
    } else {
        fenster_.setWindowModified(false);
        fenster_.setWindowTitle(titel);
    }
}

} // namespace ravik
