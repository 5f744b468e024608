#pragma once

#include "core/platform/errors/RavikError.h"
#include "core/platform/files/FileIO.h"
#include "core/platform/files/PrivilegedFile.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace ravik {

// The user cancelled the administrator prompt: the action ends without an error box,
// the document stays as it was.
class Abgebrochen : public std::exception {
public:
    const char* what() const noexcept override { return "abgebrochen"; }
};

// Files of the system that the user may not read or write himself: opened and saved
// through ravik-systemdatei (PrivilegedFile) once the user agreed. A file saved or read
// that way stays a system file for the rest of the run: later saves go straight
// through the helper, each checked against the bytes the program last saw. For root,
// nothing of this applies.
class Systemdatei {
public:
    enum class Frage { Lesen, Speichern };
    // The program's question (Ja: true); without one the user is never asked.
    using Fragen = std::function<bool(Frage frage, const QString& pfad)>;
    static void fragenSetzen(Fragen fragen);

    // The bytes of a file the user may not read, through the helper when he agrees;
    // nullopt when the ordinary read is to be used. Raises EFOpenError with the
    // helper's reason, Abgebrochen when the prompt was cancelled.
    static std::optional<QByteArray> lesen(const QString& pfad);

    // The bytes just read the ordinary way: for a file the user may not write, their
    // hash is what a later save through the helper is checked against.
    static void geladen(const QString& pfad, QByteArrayView bytes);
    // The same for a file read in blocks: each block goes to hinzu(), then fertig().
    class Lesehash {
    public:
        explicit Lesehash(const QString& pfad);
        void hinzu(QByteArrayView block);
        void fertig();

    private:
        QString ziel_;
        std::optional<PrivilegedFile::ContentHash> hash_; // only for a file the user may not write
    };

    // Whether pfad is saved through the helper: a system file already, or a file (or
    // its folder) the user may not write and he agrees now.
    static bool speichernUeberHelfer(const QString& pfad);
    static bool istSystemdatei(const QString& pfad);
    // The user chose to overwrite the file although it changed on disk: the next save
    // through the helper is checked against the file as it is now, which the user may
    // read (one he may not read is refused by the helper, with its reason).
    static void ueberschreibenErlauben(const QString& pfad);

    // Saves through the helper, with the backup "<pfad>.bak" when asked for. Gives the
    // bytes written. Raises EFCreateError with the reason, Abgebrochen.
    static QByteArray schreiben(const QString& pfad, bool sicherung, const FileIO::ContentProducer& inhalt);

    // " [Administrator]" for a system file, else nothing: follows the name in the caption.
    static QString titelZusatz(const QString& pfad);
};

} // namespace ravik
