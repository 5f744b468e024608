#pragma once

#include "core/document/Dateistempel.h"
#include "core/document/WerteTabelle.h"
#include "core/document/Zustaende.h"
#include "core/platform/text/LineText.h"

#include <QString>
#include <functional>
#include <memory>

namespace ravik {

class IniDocument;

// The open document, one home for both views: its file name, its status, its
// encoding and line-end style, and its text as a lossless line model (every byte of
// the file, comments and layout included). In the browser view the entry table
// holds the user's edits against that text; anwenden() brings them in, so saving and
// switching to the editor write the text with the edits and leave every other line
// as it was. While the editor view is current, the editor's text is the document;
// switching back makes it the text again.
class Dokument {
public:
    using Fortschritt = std::function<void(qint64 erledigt)>;

    Dokument(); // a new document: no name, UTF-8, CR LF, no text
    ~Dokument();
    Dokument(const Dokument&) = delete;
    Dokument& operator=(const Dokument&) = delete;

    const QString& name() const { return name_; }
    void setName(const QString& name) { name_ = name; }
    Dateistatus status() const { return status_; }
    void setStatus(Dateistatus status) {
        status_ = status;
        if (statusBeobachter_)
            statusBeobachter_();
        if (statusMelden_)
            statusMelden_(status);
    }
    // Told of every status set (the window's modified mark follows it).
    void setStatusBeobachter(std::function<void()> beobachter) {
        statusBeobachter_ = std::move(beobachter);
    }
    // Told of every status set, so that whoever keeps a copy of unsaved work follows it.
    void setStatusMeldung(std::function<void(Dateistatus)> melden) {
        statusMelden_ = std::move(melden);
    }
    bool gespeichert() const { return status_ == Dateistatus::Gespeichert; }

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

    // The file as this document last read or wrote it (empty for a new document), and
    // the state of that file the user was last told about, so that one change of the
    // file is brought up once.
    Dateistempel& dateistempel() { return stempel_; }
    void setDateistempel(Dateistempel stempel) {
        stempel_ = std::move(stempel);
        gemeldet_ = Dateistempel();
    }
    Dateistempel& gemeldeteAenderung() { return gemeldet_; }

    // Back to a new, empty document, without a file (name and status stay the
    // caller's business).
    void leeren();
    // While the editor view is current, its text is the document: the text and the
    // table are let go (name, status, encoding and line ends stay).
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
    // per key, in the text's order.
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

    // Writes the text to the file as FileIO::save does (atomically, keeping an existing
    // file's owner, group, permissions, ACL, attributes and links; in place where the
    // owner or group could not be kept). kopieDesOriginals names the backup just made
    // of that file, if any. Raises EIniFileException "In %s kann nicht geschrieben
    // werden".
    void speichern(const QString& pfad, const Fortschritt& fortschritt = {},
                   const QString& kopieDesOriginals = {}) const;

    // Larger files are refused: the browser view holds a file several times over.
    static constexpr qint64 kMaxBytes = qint64(512) * 1024 * 1024;

private:
    bool anwendenPruefen() const;
    void tabelleEinbringen(const Fortschritt& fortschritt);

    QString name_;
    Dateistatus status_ = Dateistatus::Unbestimmt;
    std::function<void()> statusBeobachter_;
    TextEncoding kodierung_ = TextEncoding::Utf8;
    EolStyle zeilenende_ = EolStyle::CrLf;
    std::unique_ptr<IniDocument> text_;
    WerteTabelle tabelle_;
    Dateistempel stempel_;
    Dateistempel gemeldet_;
    std::function<void(Dateistatus)> statusMelden_;
};

} // namespace ravik
