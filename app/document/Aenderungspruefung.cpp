// "Änderungen prüfen": the controller's side of the review of what a save will change.
// The dialog compares the document's file with the bytes a save would write; a change
// given up there goes back into the document in the view that is current.
#include "app/document/Dokumentsteuerung.h"

#include "app/browser/BrowserAnsicht.h"
#include "app/browser/IniBaum.h"
#include "app/browser/IniBaumModell.h"
#include "app/changes/Aenderungsdialog.h"
#include "app/document/Fensterseite.h"
#include "app/editor/EditorAnsicht.h"
#include "core/document/Dokument.h"

namespace ravik {

bool Dokumentsteuerung::aenderungenZeigen(bool vorDemSpeichern) {
    const bool imEditor = ansichtsstand_.dokumentImEditor();
    Aenderungsdialog::Dokumentzugang zugang;
    zugang.speicherbytes = [this, imEditor] { return dokument_.speicherbytes(imEditor ? editor_ : nullptr); };
    zugang.dateibytes = [this](Dateistempel::Vergleich* stand) { return dokument_.dateibytes(stand); };
    zugang.ohneDatei = dokument_.name().isEmpty();
    zugang.dateiname = dokument_.name();
    zugang.wieDatei = [this] {
        if (!dokument_.gespeichert())
            dokument_.alsGespeichertAnsehen();
    };
    zugang.ausfuehren = [this](const std::function<void()>& aktion) { seite_.ausfuehren(aktion); };
    zugang.uebernehmen = [this, imEditor](const QByteArray& bytes, const QByteArray& dateibytes) {
        dokument_.bytesUebernehmen(bytes, dateibytes, imEditor ? editor_ : nullptr);
        if (imEditor) {
            editor_->dateiformatSetzen(dokument_.kodierung(), dokument_.zeilenende());
            return;
        }
        // The tree follows the table the document now holds.
        if (baumAusgeklappt_) // the tree as the expand command left it
            browser_->baum().allesAusklappen();
        else
            browser_->baum().allesEinklappen();
        if (browser_->baum().knotenAnzahl() > 0) {
            browser_->baum().auswaehlen(browser_->baum().erstesSektion());
            seite_.eintragAnzeigen();
        }
        ButtonsAktivieren(Ansicht::Browser);
    };
    Aenderungsdialog dialog(std::move(zugang), dialoge_,
                            vorDemSpeichern ? Aenderungsdialog::Zweck::VorDemSpeichern
                                            : Aenderungsdialog::Zweck::Pruefen,
                            &fenster_);
    return dialog.exec() == QDialog::Accepted;
}

void Dokumentsteuerung::tbtnAenderungenClick() {
    aenderungenZeigen(false);
}

} // namespace ravik
