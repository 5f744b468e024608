#pragma once

#include "core/document/Dateistempel.h"
#include "core/document/WerteTabelle.h"
#include "core/document/Zustaende.h"
#include "core/platform/ini/IniDocument.h"
#include "core/platform/text/LineText.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace ravik {

class Textquelle;

// The open document, one home for both views: its file name, its status, its
// encoding and line-end style, and its text as a lossless line model (every byte of
// the file, comments and layout included). In the browser view the entry table
// holds the user's edits against that text; anwenden() brings them in, so saving and
// switching to the editor write the text with the edits and leave every other line
// as it was. While the editor view is current, the editor's text is the document;
// switching back makes it the text again.
class Dokument : public QObject {
    Q_OBJECT
public:
    using Fortschritt = std::function<void(qint64 erledigt)>;

    explicit Dokument(QObject* parent = nullptr); // a new document: no name, UTF-8, CR LF, no text
    ~Dokument() override;

    const QString& name() const { return name_; }
    void setName(const QString& name);

    // The status is the document's own: only these operations set it, and each one
    // announces it (statusGesetzt), so the caption's mark, the recovery copy and the
    // editor's saved state follow one signal.
    Dateistatus status() const { return status_; }
    bool gespeichert() const { return status_ == Dateistatus::Gespeichert; }
    // An edit in either view: the document has unsaved changes. Announced at every
    // edit, not only the first, so that the recovery copy waits for the next rest.
    void bearbeitet();
    // A section or key was added in the browser view: Geaendert2 while the command
    // looks for a deleted entry of that name to bring back (which makes it Geaendert);
    // the command ends with bearbeitet().
    void eintragHinzugefuegt();
    // The document as it is now counts as saved: it was opened, written, or the user
    // gave up its changes.
    void alsGespeichertAnsehen();

    TextEncoding kodierung() const { return kodierung_; }
    void setKodierung(TextEncoding kodierung) { kodierung_ = kodierung; }
    // The style the editor gives new line breaks.
    EolStyle zeilenende() const { return zeilenende_; }
    void setZeilenende(EolStyle stil) { zeilenende_ = stil; }

    WerteTabelle& tabelle() { return tabelle_; }
    const WerteTabelle& tabelle() const { return tabelle_; }
    const IniDocument& text() const { return *text_; }

    // The comment lines above the entry in the text (IniDocument::commentAbove), found
    // under the names the entry has there: a renamed entry keeps its comment, one
    // added since the text last took the table's edits has none.
    QString kommentar(const QString& sektion, const QString& schluessel) const;
    QString kommentar(int sektionsId, const QString& schluessel) const; // WerteTabelle's id

    // The file as this document last read or wrote it (empty for a new document), and
    // the state of that file the user was last told about, so that one change of the
    // file is brought up once.
    Dateistempel& dateistempel() { return stempel_; }
    void setDateistempel(Dateistempel stempel) {
        stempel_ = std::move(stempel);
        gemeldet_ = Dateistempel();
    }
    Dateistempel& gemeldeteAenderung() { return gemeldet_; }

    // Back to a new, empty document, without a file (name and status are set by the
    // operation that empties it).
    void leeren();
    // While the editor view is current, its text is the document: the text is let go
    // (name, status, encoding and line ends stay). Of the table only the sections stay,
    // for the hidden tree, until the browser view is filled again.
    void textFreigeben();
    // Hands the text over (to be taken in again by textUebernehmen), leaving an empty one.
    std::unique_ptr<IniDocument> uebernehmeText();

    // The file read for the browser view: a missing file is an empty text. Raises
    // EFOpenError for what cannot be read (and for a file too large to show), before
    // anything of this document changes. The stamp, if asked for, is of what was read.
    static std::unique_ptr<IniDocument> dateiLesen(const QString& pfad,
                                                   Dateistempel* stempel = nullptr);
    // The editor's text (UTF-8) as the document's text, in the document's encoding.
    // Raises RavikError when that encoding cannot hold it.
    std::unique_ptr<IniDocument> textAusEditor(QByteArrayView utf8) const;
    // Makes the text the document's and fills the table from it: a row per section and
    // per key, in the text's order. Running out of memory raises RavikError "Nicht
    // genügend Arbeitsspeicher." and leaves the document as it was.
    void textUebernehmen(std::unique_ptr<IniDocument> text, const Fortschritt& fortschritt = {});

    // Brings the table's edits into the text: removes deleted entries, renames in place,
    // creates new sections, writes every live key's value (an unchanged one changes no
    // byte). Afterwards the table's rows stand for the text as it is now, so applying
    // again changes nothing. All or nothing: a name or value the file cannot hold
    // raises EIniFileException naming the entry, and the text and the table stay
    // exactly as they were.
    void anwenden(const Fortschritt& fortschritt = {});

    // The text as the editor shows it: UTF-8 pieces without a byte-order mark.
    void editorTextSchreiben(const std::function<void(QByteArrayView)>& stueck) const;
    // The same with the table's edits in it, for the recovery copy. The edits are
    // applied to the text first (anwenden(), all or nothing): copying a large text for
    // every copy would cost the user interface several times the few milliseconds the
    // copy may take. Status and name never change. Raises EIniFileException as
    // anwenden() does, leaving text and table as they were.
    void schnappschussSchreiben(const std::function<void(QByteArrayView)>& stueck);

    // Writes the text to the file as FileIO::save does (atomically, keeping an existing
    // file's owner, group, permissions, ACL, attributes and links; in place where the
    // owner or group could not be kept). kopieDesOriginals names the backup just made
    // of that file, if any. Raises EIniFileException "In %s kann nicht geschrieben
    // werden".
    void speichern(const QString& pfad, const Fortschritt& fortschritt = {},
                   const QString& kopieDesOriginals = {}) const;

    // --- The file while the editor view is current, and saving (DokumentDatei.cpp) ---
    // A new document without a name or file (the status stays: the caller asked first).
    void neu();
    // Reads the file into the editor, whose text is the document from then on: its
    // encoding, line ends and stamp become the document's. The file is checked whole
    // (the editor's limits, EFOpenError) before anything changes.
    void imEditorOeffnen(const QString& pfad, Textquelle& editor, const Fortschritt& fortschritt = {});
    // A file the save would be refused at (read-only, a directory) is refused before
    // its backup is made, with the error its view gives for it.
    static void speicherzielPruefen(const QString& pfad, bool editoransicht);
    // Copies the file as it is now to "<file>.bak", as private as the file itself; the
    // name "<file>.bak" is replaced whatever it holds, a link is not followed. Nothing
    // to copy (no name, or the file is gone): no backup. Gives the backup's name, or
    // nothing when none was made; raises EFCreateError.
    static QString sicherheitskopieAnlegen(const QString& dateiname);
    // Writes the editor's text in the document's encoding. Raises the German reason:
    // a character the encoding cannot hold (nothing touched), EFCreateError, EWriteError.
    void editorSpeichern(const QString& pfad, Textquelle& editor, const Fortschritt& fortschritt = {},
                         const QString& kopieDesOriginals = {}) const;
    // The save command once the user chose the file: the target checked, the backup
    // of the document's own file (if asked for), the text written from the editor
    // (when given: its view is current) or from the text with the table's edits;
    // then the file's stamp, the saved status and the new name.
    void speichernUnter(const QString& ziel, bool sicherung, Textquelle* editor,
                        const Fortschritt& fortschritt = {});

    // --- What a save would change (DokumentAenderungen.cpp) ---
    // The bytes a save would write now: the text with the table's edits (applied first,
    // all or nothing, as saving does) or, when given, the editor's text in the
    // document's encoding. Raises what saving would raise, before any file is touched.
    // The editor's UTF-8 text is not copied: valid until the document changes.
    QByteArray speicherbytes(Textquelle* editor);
    // The document's file as it is now: empty without a name or when it is gone.
    // `stand` tells whether it changed since it was loaded or saved. When the file
    // holds the very bytes the text was made from, those are given without a copy:
    // valid until the document changes.
    QByteArray dateibytes(Dateistempel::Vergleich* stand = nullptr);
    // These bytes, in the document's encoding, become the editor's text (when given: its
    // view is current) or the document's text with a table made from it. The status
    // follows: saved when they are the file's bytes, changed otherwise.
    void bytesUebernehmen(const QByteArray& bytes, const QByteArray& dateibytes, Textquelle* editor);
    // speichernUnter for a system file: written through ravik-systemdatei.
    void systemdateiSpeichern(const QString& ziel, bool sicherung, Textquelle* editor,
                              const Fortschritt& fortschritt);

    // --- Keys switched off and on (DokumentSchalten.cpp) ---
    // The keys switched off in the section of this table row (IniDocument::
    // switchedOffKeys), found under the name the text gives it; none for a section
    // the text does not hold yet, and none while the editor's text is the document.
    // Their lines are valid until the document's text is made anew.
    std::vector<IniDocument::SwitchedOffKey> ausgeschalteteSchluessel(int sektionsZeile) const;
    // The comment above a switched-off key's line.
    QString kommentarDerZeile(qint32 zeile) const;
    // Switches the key of this line of the section on: its comment character goes, every
    // other byte stays. With `aktivenAusschalten`, the key of that name that is live in
    // the section is switched off in the same step, so that no name is live twice. The
    // table's edits are brought into the text first (anwenden, all or nothing) and the
    // table is made anew from the result. Raises RavikError when the line no longer
    // holds a switched-off key of the section.
    void schluesselEinschalten(const QString& sektion, qint32 zeile, bool aktivenAusschalten);
    // Switches the live key off: ';' before its name on the line it is read from.
    void schluesselAusschalten(const QString& sektion, const QString& schluessel);

    // Larger files are refused: the browser view holds a file several times over.
    static constexpr qint64 kMaxBytes = qint64(512) * 1024 * 1024;

signals:
    // Every setting of the status, also to the one it had.
    void statusGesetzt(ravik::Dateistatus status);
    void nameGeaendert(const QString& name);

private:
    // Room kept free beyond a loaded document for the windows and messages that follow.
    static constexpr qint64 kRaumDanach = qint64(32) << 20;

    void statusSetzen(Dateistatus status);
    void zeilenErsetzen(const std::vector<IniDocument::LineText>& zeilen);

    bool anwendenPruefen() const;
    void tabelleEinbringen(IniDocument& text, const Fortschritt& fortschritt) const;

    QString name_;
    Dateistatus status_ = Dateistatus::Unbestimmt;
    TextEncoding kodierung_ = TextEncoding::Utf8;
    EolStyle zeilenende_ = EolStyle::CrLf;
    std::unique_ptr<IniDocument> text_;
    WerteTabelle tabelle_;
    Dateistempel stempel_;
    Dateistempel gemeldet_;
};

} // namespace ravik
