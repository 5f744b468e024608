// New file, the unsaved-changes question, and closing the window.
#include "app/document/Dokumentsteuerung.h"

#include "app/document/Fensterseite.h"
#include "app/document/Wiederherstellungswaechter.h"
#include "core/document/Dokument.h"
#include "app/editor/EditorAnsicht.h"
#include "app/editor/SynMemo.h"
#include "app/platform/dialogs/DialogService.h"
#include "core/platform/errors/RavikError.h"


namespace ravik {

// A new document is UTF-8 with CR LF line breaks in either view, whatever was open.
void Dokumentsteuerung::tbtnNeuClick() {
    const bool ungespeichert = !dokument_.gespeichert();
    if (browserAktiv()) {
        if (ungespeichert) {
            Sicherheitsabfrage(Folgebefehl::Neu);
            return;
        }
        dokument_.neu();
        neueDateiTitel();
        zeigen(Ansicht::Browser);
        WerteTabelleLoeschen();
        editor_->dateiformatSetzen(dokument_.kodierung(), dokument_.zeilenende());
        seite_.eintragAnzeigen();
        seite_.neueSektion();
        return;
    }
    zeigen(Ansicht::Editor);
    if (ungespeichert) {
        Sicherheitsabfrage(Folgebefehl::Neu);
        return;
    }
    dokument_.neu();
    neueDateiTitel();
    editor_->editor().clearAll();
    editor_->dateiformatSetzen(dokument_.kodierung(), dokument_.zeilenende());
}

// The unsaved-changes question before a new or another document: saving ends the
// command (the user starts it again), discarding runs it.
void Dokumentsteuerung::Sicherheitsabfrage(Folgebefehl befehl) {
    const Answer erste = dialoge_.message(
        MessageKind::Warning,
        QStringLiteral("Die aktuelle Datei wurde noch nicht gespeichert. Änderungen gehen verloren,\r\n"
                       "wenn Sie eine neue Datei öffnen.\r\n\r\nWollen Sie jetzt speichern?"),
        MessageButtons::YesNoCancel);
    if (erste == Answer::Yes) {
        tbtnDateispeichernClick();
        return;
    }
    if (erste != Answer::No)
        return;
    const Answer zweite = dialoge_.message(
        MessageKind::Confirmation,
        QStringLiteral("Sind Sie sicher, dass Sie die aktuellen Änderungen verwerfen wollen?\r\n\r\n"
                       "Dieser Vorgang kann nicht rückgängig gemacht werden!"),
        MessageButtons::YesNoCancel);
    if (zweite == Answer::Yes) {
        dokument_.alsGespeichertAnsehen();
        if (befehl == Folgebefehl::Neu)
            tbtnNeuClick();
        else
            tbtnDateiladenClick();
    } else if (zweite == Answer::No) {
        tbtnDateispeichernClick();
    }
}

bool Dokumentsteuerung::schliessenErlaubt() {
    if (dokument_.gespeichert())
        return true;
    const Answer antwort = dialoge_.message(
        MessageKind::Warning,
        QStringLiteral("Die aktuelle Datei wurde noch nicht gespeichert...\r\n\r\n"
                       "Wollen Sie jetzt speichern?"),
        MessageButtons::YesNo);
    if (antwort != Answer::Yes)
        return true;
    // The user asked to keep the changes: unless they reached the file, the window
    // stays open with the document as it was (a failed save throws past this).
    return tbtnDateispeichernClick();
}

void Dokumentsteuerung::beendet() {
    if (wiederherstellung_)
        wiederherstellung_->entfernen();
}

} // namespace ravik
