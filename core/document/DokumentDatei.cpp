// The document and its file: opening it into the editor, the backup copy, and saving
// from either view. Both views write through the file layer's one save
// (FileIO::save): links kept, owner and permissions kept, atomically or in place.
#include "core/document/Dokument.h"
#include "core/document/Systemdatei.h"
#include "core/document/Textquelle.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/files/FileIO.h"
#include "core/platform/files/MemoryHints.h"
#include "core/platform/files/TextFile.h"
#include "core/platform/ini/IniDocument.h"
#include "core/platform/text/LineText.h"

#include <QFileInfo>
#include <new>

namespace ravik {

// The file is read and checked whole before the editor's text is touched, so a file
// that cannot be opened leaves the document as it was. It is read twice instead of
// held: once to scan and hash it, once into the editor, which keeps its own copy.
void Dokument::imEditorOeffnen(const QString& pfad, Textquelle& editor, const Fortschritt& fortschritt) {
    const QFileInfo info(pfad);
    const QString angezeigt = info.absoluteFilePath();
    if (info.isFile() && info.size() > editor.groessteDatei())
        throw EFOpenError(angezeigt, QStringLiteral("Die Datei ist %1 MB groß; der Editor lädt "
                                                    "höchstens %2 MB.")
                                         .arg(info.size() / (1024 * 1024))
                                         .arg(editor.groessteDatei() / (1024 * 1024)));
    Dateistempel stempel = Dateistempel::vorLesen(pfad);
    // A system file comes whole from the helper.
    std::optional<TextFileContent> ganz;
    TextScan scan;
    qint64 bytes = info.size();
    try {
        if (auto systemdatei = Systemdatei::lesen(pfad)) {
            ganz = TextFile::scan(std::move(*systemdatei), fortschritt);
            stempel.inhaltSetzen(ganz->bytes);
            scan = ganz->scan;
            bytes = ganz->bytes.size();
        } else {
            Systemdatei::Lesehash lesehash(pfad);
            stempel.inhaltSetzen([&](const Dateistempel::Block& hinzu) {
                scan = TextFile::scanFile(pfad, [&](QByteArrayView block) {
                    hinzu(block);
                    lesehash.hinzu(block);
                }, fortschritt);
            });
            lesehash.fertig();
        }
        if (scan.longestLine() > editor.laengsteZeile())
            throw EFOpenError(angezeigt,
                              QStringLiteral("Die Datei enthält eine Zeile mit mehr als %1 Bytes; so "
                                             "lange Zeilen kann der Editor nicht bearbeiten.")
                                  .arg(editor.laengsteZeile()));
        // The editor holds the text and a style byte for each of its bytes, and its
        // lines; what it cannot have is said now, while the document is whole.
        // (UTF-16 becomes up to half as long again in UTF-8.)
        const bool utf16 = scan.encoding() == TextEncoding::Utf16LE || scan.encoding() == TextEncoding::Utf16BE;
        const LineEndCounts zeilen = scan.lineEnds();
        MemoryHints::ensureAvailable(size_t(2 * (utf16 ? bytes * 3 / 2 : bytes) +
                                            8 * (zeilen.crLf + zeilen.lf + zeilen.cr) + kRaumDanach));
    } catch (const std::bad_alloc&) {
        throw EFOpenError(angezeigt, QStringLiteral("Nicht genügend Arbeitsspeicher."));
    }
    // From here on the editor's text is the document: the browser view's text goes
    // (of its table the sections stay, for the hidden tree). A file changed between
    // the two reads is loaded as the second found it; the stamp is of the first, so
    // saving over it asks first.
    textFreigeben();
    editor.textSetzen(
        [&](const Textquelle::Stueck& stueck) {
            if (ganz)
                TextFile::toUtf8Pieces(*ganz, stueck);
            else
                TextFile::fileToUtf8Pieces(pfad, scan.encoding(), stueck);
        },
        bytes);
    kodierung_ = scan.encoding();
    zeilenende_ = scan.lineEnds().editorStyle();
    setDateistempel(std::move(stempel));
}

void Dokument::speicherzielPruefen(const QString& pfad, bool editoransicht) {
    // A file the user may not write is saved through the helper once he agrees.
    if (Systemdatei::speichernUeberHelfer(pfad))
        return;
    const auto fehler = FileIO::checkWritable(pfad);
    if (!fehler)
        return;
    if (!editoransicht)
        throw EIniFileException::cannotWrite(pfad);
    throw EFCreateError(QFileInfo(pfad).absoluteFilePath(), fehler->reason);
}

QString Dokument::sicherheitskopieAnlegen(const QString& dateiname) {
    // A system file's backup is made by the helper, in the same run as the save.
    if (dateiname.isEmpty() || !FileIO::exists(dateiname) || Systemdatei::istSystemdatei(dateiname))
        return {};
    const QString kopie = dateiname + QStringLiteral(".bak");
    if (const auto fehler = FileIO::copyFile(dateiname, kopie))
        throw EFCreateError(kopie, fehler->reason);
    return kopie;
}

void Dokument::editorSpeichern(const QString& pfad, Textquelle& editor, const Fortschritt& fortschritt,
                               const QString& kopieDesOriginals) const {
    const QString angezeigt = QFileInfo(pfad).absoluteFilePath();
    const auto fehler =
        TextFile::write(pfad, editor.aktuellerText(), kodierung_, fortschritt, {kopieDesOriginals});
    if (!fehler)
        return;
    switch (fehler->stage) {
    case FileWriteFailure::Stage::Encoding:
        throw RavikError(QStringLiteral("Die Datei %1 wurde nicht gespeichert: Der Text enthält "
                                        "Zeichen, die in der Kodierung %2 nicht darstellbar "
                                        "sind.")
                             .arg(angezeigt, TextCodec::displayName(kodierung_)));
    case FileWriteFailure::Stage::Create:
        throw EFCreateError(angezeigt, fehler->reason);
    case FileWriteFailure::Stage::Write:
        break;
    }
    throw EWriteError(angezeigt, fehler->reason);
}

void Dokument::speichernUnter(const QString& ziel, bool sicherung, Textquelle* editor,
                              const Fortschritt& fortschritt) {
    speicherzielPruefen(ziel, editor != nullptr);
    if (Systemdatei::istSystemdatei(ziel)) {
        systemdateiSpeichern(ziel, sicherung && ziel == name_, editor, fortschritt);
        return;
    }
    const QString kopie = sicherung ? sicherheitskopieAnlegen(name_) : QString();
    // The backup is a copy of the file written only when it is the same file.
    const QString kopieDesZiels = ziel == name_ ? kopie : QString();
    if (editor) {
        editorSpeichern(ziel, *editor, fortschritt, kopieDesZiels);
    } else {
        anwenden(fortschritt);
        speichern(ziel, fortschritt, kopieDesZiels);
    }
    setDateistempel(Dateistempel::lesen(ziel));
    alsGespeichertAnsehen();
    setName(ziel);
}

// The same save through the helper: the content is produced as for a file of the
// user's, handed to ravik-systemdatei, and the stamp is of the bytes written.
void Dokument::systemdateiSpeichern(const QString& ziel, bool sicherung, Textquelle* editor,
                                    const Fortschritt& fortschritt) {
    const QString angezeigt = QFileInfo(ziel).absoluteFilePath();
    Dateistempel stempel;
    QByteArray geschrieben;
    if (editor) {
        const QByteArrayView text = editor->aktuellerText();
        if (!LineText::fitsEncoding(text, kodierung_))
            throw RavikError(QStringLiteral("Die Datei %1 wurde nicht gespeichert: Der Text enthält "
                                            "Zeichen, die in der Kodierung %2 nicht darstellbar "
                                            "sind.")
                                 .arg(angezeigt, TextCodec::displayName(kodierung_)));
        geschrieben = Systemdatei::schreiben(ziel, sicherung, [&](const FileIO::PieceWriter& schreiben) {
            LineText::toFilePieces(text, kodierung_, schreiben);
        });
    } else {
        anwenden(fortschritt);
        geschrieben = Systemdatei::schreiben(ziel, sicherung, [&](const FileIO::PieceWriter& schreiben) {
            text_->writeTo([&](QByteArrayView stueck) { schreiben(stueck); });
        });
    }
    stempel = Dateistempel::vorLesen(ziel);
    stempel.inhaltSetzen(geschrieben);
    setDateistempel(std::move(stempel));
    alsGespeichertAnsehen();
    setName(ziel);
}

void Dokument::neu() {
    setName(QString());
    leeren();
}

} // namespace ravik
