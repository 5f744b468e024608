// Carrying the document from one view to the other through a temporary file: the
// source view's save writes it, the target view's load reads it.
#include "app/browser/IniBaum.h"
#include "app/editor/SynMemo.h"
#include "app/shell/TForm1.h"
#include "app/shell/WerkzeugKnopf.h"
#include "core/platform/errors/RavikError.h"
#include "core/platform/files/FileEncoding.h"
#include "core/platform/files/FileIO.h"
#include "core/platform/text/TextCodec.h"

#include <QDir>
#include <QTemporaryFile>

namespace ravik {
namespace {

// TEMP, else TMPDIR, else the system's temporary directory.
QString tempVerzeichnis(const QString& temppfad) {
    if (!temppfad.isEmpty())
        return temppfad;
    const QString tmpdir = qEnvironmentVariable("TMPDIR");
    return tmpdir.isEmpty() ? QDir::tempPath() : tmpdir;
}

// A file of our own inside the temporary directory, created exclusively, so no other
// user can have planted a file or link under its name.
QString privateTempDatei(const QString& verzeichnis) {
    QTemporaryFile datei(QDir(verzeichnis).filePath(QStringLiteral("raviktemp-XXXXXX.ini")));
    datei.setAutoRemove(false);
    if (!datei.open())
        throw EFCreateError(QDir(verzeichnis).filePath(QStringLiteral("raviktemp.ini")),
                            datei.errorString());
    return datei.fileName();
}

// The encoding of the document's own file; UTF-8 for a document without one.
TextEncoding dateiKodierung(const QString& dateiname) {
    if (dateiname.isEmpty())
        return TextEncoding::Utf8;
    try {
        // Not read whole: the browser's document and the editor's text are both in
        // memory right now.
        if (const auto encoding = detectFileEncoding(dateiname))
            return *encoding;
    } catch (const RavikError&) {
        // Unreadable now: the editor's save will say so if it matters.
    }
    return TextEncoding::Utf8;
}

} // namespace

void TForm1::tempDateiAufraeumen() {
    if (!letzteTempDatei_.isEmpty())
        FileIO::removeFile(letzteTempDatei_);
}

void TForm1::tbtnFlipClick() {
    const bool vomEditor = editorAktiv();
    const QString ziel = vomEditor ? QStringLiteral("browser") : QStringLiteral("editor");
    const QString quelle = vomEditor ? QStringLiteral("editor") : QStringLiteral("browser");

    Warmstart(ziel);
    Anzeige(ziel);
    const bool inhalt = vomEditor ? !SynMemo1->isTextEmpty() : iniAnzeige->knotenAnzahl() > 0;
    if (inhalt) {
        bool textAbgelegt = false;
        try {
            letzteTempDatei_ = privateTempDatei(tempVerzeichnis(Temppfad));
            DateiSpeichern(letzteTempDatei_, quelle);
            if (vomEditor) {
                // The hidden editor is emptied before its next use anyway; emptying it
                // now keeps a large text from being held twice while the tree is built.
                // The temporary file holds it byte for byte until the switch succeeded.
                SynMemo1->clearAll();
                textAbgelegt = true;
            }
            DateiLaden(letzteTempDatei_, ziel);
            // The temporary file is UTF-8; saved from the editor, the document must go
            // back in the encoding of its file (Windows-1252, UTF-16), not turn into
            // UTF-8 that the program reading it would garble.
            if (!vomEditor)
                SynMemo1->setEncoding(dateiKodierung(Dateiname));
        } catch (const std::exception& fehler) {
            // The document is still whole in the source view (or in the temporary
            // file): go back there.
            QString meldung = messageOf(fehler);
            bool dateiBehalten = false;
            if (textAbgelegt) {
                try {
                    SynMemo1->loadLinesFromFile(letzteTempDatei_);
                } catch (const RavikError&) {
                    // Written by the editor a moment ago and now unreadable: the file
                    // stays where it is, and the user learns where.
                    dateiBehalten = true;
                    meldung += QStringLiteral("\r\n\r\nDer Text wurde in %1 gesichert.")
                                   .arg(letzteTempDatei_);
                }
            }
            if (!dateiBehalten)
                tempDateiAufraeumen();
            fehlerAnzeigen(meldung);
            Anzeige(quelle);
            ButtonsAktivieren(quelle);
            return;
        }
        tempDateiAufraeumen();
    }
    ButtonsAktivieren(ziel);
    if (vomEditor) {
        if (tbtnAnsicht->bildIndex() == 2)
            iniAnzeige->allesEinklappen();
        else
            iniAnzeige->allesAusklappen();
    }
}

} // namespace ravik
