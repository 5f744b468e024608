// Loading a file into either view, the open command, and the table operations.
#include "app/document/Dokumentsteuerung.h"

#include "app/browser/BrowserAnsicht.h"
#include "app/commands/Aktionen.h"
#include "app/document/Fensterseite.h"
#include "core/document/Dokument.h"
#include "app/editor/EditorAnsicht.h"
#include "app/browser/IniBaum.h"
#include "app/editor/SynMemo.h"
#include "app/platform/dialogs/DialogService.h"
#include "app/platform/widgets/Warteanzeige.h"
#include "core/platform/ini/IniDocument.h"


namespace ravik {

void Dokumentsteuerung::WerteTabelleLoeschen() {
    dokument_.tabelle().leeren();
    browser_->baum().leeren();
}

// Table and tree from the text; the detail panel shows the first section. The text is
// the document now: the hidden editor lets its copy go.
void Dokumentsteuerung::browserFuellen(std::unique_ptr<IniDocument> text, bool ausDatei) {
    Warteanzeige warten(&fenster_, QStringLiteral("Datei wird geladen …"));
    editor_->editor().clearAll();
    if (ausDatei) {
        dokument_.setKodierung(text->encoding());
        dokument_.setZeilenende(text->lineEnds().editorStyle());
    }
    browser_->baum().leeren();
    dokument_.textUebernehmen(std::move(text), [&](qint64 zeilen) { warten.schritt(zeilen); });
    browser_->baum().modell().ausTabelleLaden(dokument_.tabelle());

    if (browser_->baum().knotenAnzahl() == 0) {
        warten.beenden();
        dialoge_.message(MessageKind::Information,
                         QStringLiteral("Es wurden keine verwertbaren Inhalte gefunden.\r\n\r\n"
                                        "Eventuell sollten Sie die Datei im Editormodus bearbeiten."),
                         MessageButtons::Ok);
    } else if (browserAktiv()) {
        browser_->baum().auswaehlen(browser_->baum().erstesSektion());
        seite_.eintragAnzeigen();
    }
}

// The document reads the file into the editor; a file that cannot be opened leaves
// the document as it was. (The tree's names stay, for the expand button that F2
// works in the editor view too.)
void Dokumentsteuerung::editorLaden(const QString& pfad) {
    Warteanzeige warten(&fenster_, QStringLiteral("Datei wird geladen …"));
    const auto fortschritt = warten.folgen(editor_->editor());
    dokument_.imEditorOeffnen(pfad, *editor_, [&](qint64 bytes) { warten.schritt(bytes); });
    editor_->dateiformatSetzen(dokument_.kodierung(), dokument_.zeilenende());
}

// The document's text, with the table's edits applied, becomes the editor's.
void Dokumentsteuerung::editorAusDokument() {
    Warteanzeige warten(&fenster_, QStringLiteral("Datei wird geladen …"));
    const auto fortschritt = warten.folgen(editor_->editor());
    const IniDocument& text = dokument_.text();
    editor_->editor().setTextFrom([&](const SynMemo::PieceSink& stueck) { dokument_.editorTextSchreiben(stueck); },
                          text.textSize());
    editor_->dateiformatSetzen(dokument_.kodierung(), dokument_.zeilenende());
}

void Dokumentsteuerung::DateiLaden(const QString& pfad, Ansicht ansicht) {
    if (ansicht != Ansicht::Browser) {
        editorLaden(pfad);
        ButtonsAktivieren(Ansicht::Browser);
        return;
    }
    Dateistempel stempel;
    browserFuellen(Dokument::dateiLesen(pfad, &stempel), true);
    dokument_.setDateistempel(std::move(stempel));
    ButtonsAktivieren(Ansicht::Browser);
}

// The open dialog; a file becomes the document's name once it was loaded.
std::optional<QString> Dokumentsteuerung::dateiWaehlen() {
    if (vorgewaehlt_)
        return vorgewaehlt_;
    const auto gewaehlt = dialoge_.openFileName({openDialogVorgabe_});
    if (gewaehlt)
        openDialogVorgabe_ = *gewaehlt;
    return gewaehlt;
}

void Dokumentsteuerung::tbtnDateiladenClick() {
    if (browserAktiv()) {
        if (!dokument_.gespeichert()) {
            Sicherheitsabfrage(Folgebefehl::Oeffnen);
            return;
        }
        const auto pfad = dateiWaehlen();
        if (!pfad)
            return;
        DateiLaden(*pfad, Ansicht::Browser);
        dokument_.setName(*pfad);
        titelSetzen(*pfad);
        geladenAnzeigen();
    } else if (editorAktiv()) {
        zeigen(Ansicht::Editor);
        if (!dokument_.gespeichert()) {
            Sicherheitsabfrage(Folgebefehl::Oeffnen);
            return;
        }
        const auto pfad = dateiWaehlen();
        if (!pfad)
            return;
        editorLaden(*pfad);
        dokument_.setName(*pfad);
        titelSetzen(*pfad);
    }
}

// A file loaded into the browser view shows its tree collapsed.
void Dokumentsteuerung::geladenAnzeigen() {
    setBaumAusgeklappt(false);
    browser_->baum().allesEinklappen();
}

bool Dokumentsteuerung::WertVorhanden(const QString& sektion, const QString& schluessel) {
    bool gefunden = false;
    if (browserAktiv()) {
        // As the file reads names: without regard to case.
        gefunden = dokument_.tabelle().hatLebendenNamen(sektion, schluessel);
    } else {
        const QString zeile = QLatin1Char('[') + sektion + QLatin1Char(']');
        const int anzahl = editor_->editor().lineCount();
        for (int i = 0; i < anzahl && !gefunden; ++i)
            gefunden = editor_->editor().lineAt(i) == zeile;
    }
    if (gefunden)
        titelVorhandenMelden();
    return gefunden;
}

void Dokumentsteuerung::titelVorhandenMelden() {
    dialoge_.message(MessageKind::Error,
                     QStringLiteral("Der angegebene Titel ist schon vorhanden.\r\n\r\n"
                                    "Bitte wählen Sie einen neuen Titel."),
                     MessageButtons::Ok);
}

} // namespace ravik
