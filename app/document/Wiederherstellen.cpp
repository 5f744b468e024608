// Crash recovery: the copy of the unsaved document that is kept while the program
// runs, and the question at start-up about copies that a program which did not end
// normally left behind.
#include "app/document/Dokumentsteuerung.h"

#include "app/document/Wiederherstellungswaechter.h"
#include "core/document/Dokument.h"
#include "app/editor/EditorAnsicht.h"
#include "app/editor/SynMemo.h"
#include "app/platform/dialogs/DialogService.h"
#include "core/platform/ini/IniDocument.h"

#include <QDir>
#include <QFile>

namespace ravik {

void Dokumentsteuerung::wiederherstellungEinrichten(const Wiederherstellungsort& ort) {
    if (ort.zustandspfad.isEmpty())
        return;
    wiederherstellung_ = std::make_unique<Wiederherstellungswaechter>(
        ort.zustandspfad, ort.verzoegerungMs,
        [this] { return wiederherstellungsStand(); },
        [this] {
            return ansichtsstand_.dokumentImEditor() ? qsizetype(editor_->editor().length())
                                      : dokument_.text().textSize();
        });
    Wiederherstellungswaechter* waechter = wiederherstellung_.get();
    // The browser view's edits all set the status; the editor reports each change.
    connect(&dokument_, &Dokument::statusGesetzt, waechter, &Wiederherstellungswaechter::statusGesetzt);
    connect(&editor_->editor(), &SynMemo::textChanging, waechter,
            &Wiederherstellungswaechter::aenderung);
    connect(waechter, &Wiederherstellungswaechter::fehler, this, [this](const QString& text) {
        dialoge_.message(MessageKind::Warning,
                         text +
                             QStringLiteral("\r\n\r\nBis zum Speichern sind die Änderungen nicht "
                                            "gegen einen Absturz gesichert."),
                         MessageButtons::Ok);
    });
}

// The editor's text, or the browser view's document with the table's edits in it
// (the document itself stays as it is). Throws when the edits cannot be put into the
// text.
std::optional<Wiederherstellungskopie> Dokumentsteuerung::wiederherstellungsStand() {
    if (dokument_.gespeichert())
        return std::nullopt;
    Wiederherstellungskopie kopie;
    kopie.name = dokument_.name();
    kopie.kodierung = dokument_.kodierung();
    kopie.zeilenende = dokument_.zeilenende();
    kopie.editoransicht = ansichtsstand_.dokumentImEditor();
    if (kopie.editoransicht) {
        const QByteArrayView text = editor_->editor().utf8Text();
        kopie.text = wiederherstellung_->puffer(text.size());
        kopie.text.append(text);
        return kopie;
    }
    // An edit the file cannot hold throws: the guard tells the user that the copy
    // stays behind, and tries again at the next change.
    kopie.text = wiederherstellung_->puffer(dokument_.text().textSize());
    dokument_.schnappschussSchreiben([&](QByteArrayView stueck) { kopie.text.append(stueck); });
    return kopie;
}

// Copies are offered newest first; the first one taken becomes the document, and the
// others wait for the next start. Only a click on Nein deletes a copy: Escape and the
// close box keep it, as a copy deleted by mistake is lost for good.
void Dokumentsteuerung::WiederherstellungAnbieten() {
    if (!wiederherstellung_)
        return;
    for (VerwaisteKopie& verwaist : wiederherstellung_->verwaisteKopien()) {
        const std::optional<Wiederherstellungskopie> kopie = verwaist.lesen();
        if (!kopie) {
            // Kept under another name, where it is offered no more.
            QString beiseite = verwaist.beiseitelegen();
            if (beiseite.isEmpty())
                beiseite = verwaist.pfad(); // it could not be renamed: it stays as it is
            dialoge_.message(
                MessageKind::Error,
                QStringLiteral("Eine Wiederherstellungskopie ist beschädigt und kann nicht "
                               "wiederhergestellt werden.\r\n\r\nSie wurde als %1 aufbewahrt.")
                    .arg(QDir::toNativeSeparators(beiseite)),
                MessageButtons::Ok);
            continue;
        }
        const QString name = kopie->name.isEmpty() ? QStringLiteral("Neue Datei")
                                                   : QDir::toNativeSeparators(kopie->name);
        const Answer antwort = dialoge_.message(
            MessageKind::Confirmation,
            QStringLiteral("Ravik wurde nicht ordnungsgemäß beendet.\r\n\r\n"
                           "Soll die ungespeicherte Fassung von %1 wiederhergestellt werden?")
                .arg(name),
            MessageButtons::YesNoEscapeCancels);
        if (antwort == Answer::No)
            verwaist.verwerfen();
        if (antwort != Answer::Yes)
            continue;
        wiederherstellen(*kopie);
        wiederherstellung_->uebernehmen(verwaist);
        return;
    }
}

// Opens the copy in its view, under its file's name, unsaved.
void Dokumentsteuerung::wiederherstellen(const Wiederherstellungskopie& kopie) {
    dokument_.setKodierung(kopie.kodierung);
    dokument_.setZeilenende(kopie.zeilenende);
    SynMemo& memo = editor_->editor();
    if (kopie.editoransicht) {
        zeigen(Ansicht::Editor);
        WerteTabelleLoeschen();
        dokument_.textFreigeben();
        memo.setTextFrom([&](const SynMemo::PieceSink& stueck) { stueck(kopie.text); },
                         kopie.text.size());
        editor_->dateiformatSetzen(kopie.kodierung, kopie.zeilenende);
        ButtonsAktivieren(Ansicht::Editor);
    } else {
        std::unique_ptr<IniDocument> text = dokument_.textAusEditor(kopie.text);
        zeigen(Ansicht::Browser);
        memo.clearAll();
        editor_->dateiformatSetzen(kopie.kodierung, kopie.zeilenende);
        WerteTabelleLoeschen();
        if (text->lineCount() > 0)
            browserFuellen(std::move(text), false);
        else
            dokument_.textUebernehmen(std::move(text));
        ButtonsAktivieren(Ansicht::Browser);
    }
    dokument_.setName(kopie.name);
    if (kopie.name.isEmpty()) {
        neueDateiTitel();
    } else {
        openDialogVorgabe_ = kopie.name;
        titelSetzen(kopie.name);
    }
    geaendert();
}

} // namespace ravik
