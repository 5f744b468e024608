// New file, the unsaved-changes question, and closing the window.
#include "app/document/Wiederherstellungswaechter.h"
#include "app/editor/EditorAnsicht.h"
#include "app/editor/SynMemo.h"
#include "app/shell/TForm1.h"
#include "app/shell/WerkzeugKnopf.h"
#include "app/platform/dialogs/DialogService.h"
#include "core/platform/errors/RavikError.h"

#include <QCloseEvent>
#include <QPushButton>

namespace ravik {

// A new document is UTF-8 with CR LF line breaks in either view, whatever was open.
void TForm1::tbtnNeuClick() {
    const bool ungespeichert = !dokument_.gespeichert();
    if (browserAktiv()) {
        if (ungespeichert) {
            Sicherheitsabfrage(tbtnNeu);
            return;
        }
        dokument_.neu();
        neueDateiTitel();
        Anzeige(Ansicht::Browser);
        WerteTabelleLoeschen();
        editor_->dateiformatSetzen(dokument_.kodierung(), dokument_.zeilenende());
        iniAnzeigeClick();
        tbtnNeueSektion->setEnabled(true);
        tbtnNeueSektionClick();
        return;
    }
    Anzeige(Ansicht::Editor);
    if (ungespeichert) {
        Sicherheitsabfrage(tbtnNeu);
        return;
    }
    dokument_.neu();
    neueDateiTitel();
    editor_->editor().clearAll();
    editor_->dateiformatSetzen(dokument_.kodierung(), dokument_.zeilenende());
}

void TForm1::Sicherheitsabfrage(QWidget* knopf) {
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
        if (knopf == tbtnNeu)
            tbtnNeuClick();
        else
            tbtnDateiladenClick();
    } else if (zweite == Answer::No) {
        tbtnDateispeichernClick();
    }
}

void TForm1::FormClose(QCloseEvent* event) {
    // The settings are written on every close. A failure is shown, and the window
    // still closes: the program must always be closable.
    ausfuehren([this] { KonfigurationSpeichern(); });

    bool behalten = false;
    ausfuehren([&] {
        if (!panelHilfe->isHidden())
            btnZurueckClick(btnZurueck);
        else if (!panelSetup->isHidden())
            btnZurueckClick(btnZurueck2);
        if (dokument_.gespeichert())
            return;
        const Answer antwort = dialoge_.message(
            MessageKind::Warning,
            QStringLiteral("Die aktuelle Datei wurde noch nicht gespeichert...\r\n\r\n"
                           "Wollen Sie jetzt speichern?"),
            MessageButtons::YesNo);
        if (antwort != Answer::Yes)
            return;
        // The user asked to keep the changes: unless they reached the file, the
        // window stays open with the document as it was.
        behalten = true;
        behalten = !tbtnDateispeichernClick();
    });
    if (behalten) {
        event->ignore();
        return;
    }
    event->accept();
    if (wiederherstellung_) // the program ends normally: unsaved changes were given up
        wiederherstellung_->entfernen();
}

} // namespace ravik
