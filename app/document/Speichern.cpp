// Saving: the save command with its backup copy, and writing either view's document.
#include "app/browser/BrowserAnsicht.h"
#include "app/editor/EditorAnsicht.h"
#include "app/editor/SynMemo.h"
#include "app/platform/dialogs/DialogService.h"
#include "app/shell/TForm1.h"
#include "app/shell/Aktionen.h"
#include "app/shell/Warteanzeige.h"
#include "app/shell/WerkzeugKnopf.h"
#include "core/platform/errors/RavikError.h"
#include "core/platform/files/FileIO.h"
#include "core/platform/files/TextFile.h"

#include <QCheckBox>
#include <QFileInfo>

namespace ravik {
namespace {

// Copies the file as it is now to "<file>.bak", as private as the file itself; the
// name "<file>.bak" is replaced whatever it holds, a link is not followed. A document
// without a file yet (new, or its file is gone) has nothing to copy, and the save goes
// on without a backup. Gives the backup's name, or nothing when none was made.
QString sicherheitskopieAnlegen(const QString& dateiname) {
    if (dateiname.isEmpty() || !FileIO::exists(dateiname))
        return {};
    const QString kopie = dateiname + QStringLiteral(".bak");
    if (const auto fehler = FileIO::copyFile(dateiname, kopie))
        throw EFCreateError(kopie, fehler->reason);
    return kopie;
}

} // namespace

// A file the save would be refused at (read-only, a directory) is refused before its
// backup is made, with the error its view gives for it.
void TForm1::speicherzielPruefen(const QString& pfad, Ansicht ansicht) {
    const auto fehler = FileIO::checkWritable(pfad);
    if (!fehler)
        return;
    if (ansicht != Ansicht::Editor)
        throw EIniFileException::cannotWrite(pfad);
    throw EFCreateError(QFileInfo(pfad).absoluteFilePath(), fehler->reason);
}

bool TForm1::tbtnDateispeichernClick() {
    const Ansicht ansicht = browserAktiv() ? Ansicht::Browser : Ansicht::Editor;
    const auto gewaehlt = dialoge_.saveFileName({dokument_.name()});
    if (!gewaehlt || !ueberschreibenBestaetigt(*gewaehlt))
        return false;
    speicherzielPruefen(*gewaehlt, ansicht);
    QString sicherung;
    if (editor_->sicherheitskopie().isChecked())
        sicherung = sicherheitskopieAnlegen(dokument_.name());
    // The backup is a copy of the file written only when it is the same file.
    DateiSpeichern(*gewaehlt, ansicht, *gewaehlt == dokument_.name() ? sicherung : QString());
    dokument_.setDateistempel(Dateistempel::lesen(*gewaehlt));
    aktionen_->speichernErlauben();
    statusSetzen(Dateistatus::Gespeichert);
    dokument_.setName(*gewaehlt);
    titelSetzen(*gewaehlt);
    return true;
}

// The browser view writes the document's text with the table's edits; the editor
// view its text. Both in the document's encoding, every untouched byte as it was.
// kopieDesOriginals names a backup of the very file written, made just now.
void TForm1::DateiSpeichern(const QString& pfad, Ansicht ansicht, const QString& kopieDesOriginals) {
    Warteanzeige warten(this, QStringLiteral("Datei wird gespeichert …"));
    const auto fortschritt = [&](qint64 erledigt) { warten.schritt(erledigt); };
    if (ansicht != Ansicht::Editor) {
        dokument_.anwenden(fortschritt);
        dokument_.speichern(pfad, fortschritt, kopieDesOriginals);
        return;
    }
    const QString angezeigt = QFileInfo(pfad).absoluteFilePath();
    editor_->editor().trimEditedLines(); // no blanks left at the end of an edited line
    const auto fehler = TextFile::write(pfad, editor_->editor().utf8Text(), dokument_.kodierung(),
                                        fortschritt, {kopieDesOriginals});
    if (!fehler)
        return;
    switch (fehler->stage) {
    case FileWriteFailure::Stage::Encoding:
        throw RavikError(QStringLiteral("Die Datei %1 wurde nicht gespeichert: Der Text enthält "
                                        "Zeichen, die in der Kodierung %2 nicht darstellbar "
                                        "sind.")
                             .arg(angezeigt, TextCodec::displayName(dokument_.kodierung())));
    case FileWriteFailure::Stage::Create:
        throw EFCreateError(angezeigt, fehler->reason);
    case FileWriteFailure::Stage::Write:
        break;
    }
    throw EWriteError(angezeigt, fehler->reason);
}

void TForm1::CheckBox1Click() {
    if (editor_->sicherheitskopie().isChecked()) {
        editor_->sicherheitskopie().setChecked(true);
        browser_->sicherheitskopie().setChecked(true);
        return;
    }
    dialoge_.message(MessageKind::Warning,
                     QStringLiteral("Änderungen an Konfigurationsdateien können zu unvorhersehbaren\r\n"
                                    "Fehlern und Programmabstürzen führen.\r\n\r\n"
                                    "Wir empfehlen eine Sicherungskopie anzulegen, mit welcher Sie die\r\n"
                                    "vorgenommenen Änderungen rückgängig machen können."),
                     MessageButtons::Ok);
    editor_->sicherheitskopie().setChecked(false);
    browser_->sicherheitskopie().setChecked(false);
}

void TForm1::CheckBox2Click() {
    editor_->sicherheitskopie().setChecked(browser_->sicherheitskopie().isChecked());
}

} // namespace ravik
