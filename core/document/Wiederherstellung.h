#pragma once

#include "core/platform/files/SafeDirectory.h"
#include "core/platform/text/LineEnds.h"
#include "core/platform/text/TextCodec.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>
#include <vector>


namespace ravik {

// What a recovery copy holds: the unsaved document as the editor would show it, and
// what it takes to open it again as it was.
struct Wiederherstellungskopie {
    QString name; // the document's file; empty for a document that never had one
    TextEncoding kodierung = TextEncoding::Utf8;
    EolStyle zeilenende = EolStyle::CrLf;
    bool editoransicht = false; // the view the document was in
    QByteArray text;            // UTF-8 without a byte-order mark
};

// Recovery copies live in one private directory, one copy per running Ravik, each
// beside a lock file that its process holds while it runs. A copy whose lock nobody
// holds any more was left by a process that did not end normally. The directory is
// opened once and worked on through its descriptor; a directory that is a symbolic
// link or belongs to another user is not used at all.
namespace Wiederherstellung {

// $XDG_STATE_HOME/ravik, else ~/.local/state/ravik.
QString standardVerzeichnis();

// Opens the directory. With `anlegen` it is made when missing (and what is missing
// above it, but never inside another user's folder), readable by its owner only, and
// the rights of others are taken from it when it exists already. See
// SafeDirectory::usable() and reason() for whether it may be used.
std::shared_ptr<const SafeDirectory> verzeichnisOeffnen(const QString& verzeichnis, bool anlegen);

// The file's head: format version, name, encoding, line ends, view and the length of
// the text that follows it.
QByteArray kopf(const Wiederherstellungskopie& kopie);
// A whole copy as written; nullopt when the bytes are cut short or not a copy of this
// format, or when the file is missing.
std::optional<Wiederherstellungskopie> auslesen(const QByteArray& inhalt);
std::optional<Wiederherstellungskopie> lesen(const QString& pfad);

// File names within the directory.
inline const QString kKopieEndung = QStringLiteral(".wiederherstellung");
inline const QString kSperreEndung = QStringLiteral(".sperre");
inline const QString kNeuEndung = QStringLiteral(".wiederherstellung.neu");
inline const QString kBeschaedigtEndung = QStringLiteral(".beschaedigt");

// A lock file held locked (flock) by the process that runs: the system lets the lock
// go when the process ends, however it ends, so a lock nobody holds was left by a
// process that is gone. Two holders in one process exclude each other as well.
class Sperre {
public:
    // A new lock of this process's own; nullopt (errno set) when it cannot be made.
    static std::optional<Sperre> anlegen(std::shared_ptr<const SafeDirectory> ordner,
                                         const QString& name);
    // The lock a process left behind, when nobody holds it (made anew when its file
    // is missing); nullopt while its process runs.
    static std::optional<Sperre> verwaist(std::shared_ptr<const SafeDirectory> ordner,
                                          const QString& name);
    Sperre(Sperre&& andere) noexcept;
    Sperre& operator=(Sperre&& andere) noexcept;
    ~Sperre(); // lets go; the file stays
    // Removes the lock file and lets go.
    void entfernen();

private:
    Sperre(std::shared_ptr<const SafeDirectory> ordner, QString name, int fd);
    std::shared_ptr<const SafeDirectory> ordner_;
    QString name_;
    int fd_ = -1;
};

} // namespace Wiederherstellung

// A copy left behind by a Ravik that is no longer running. While this object lives
// its lock is held, so that no other Ravik offers the same copy meanwhile.
class VerwaisteKopie {
public:
    VerwaisteKopie(std::shared_ptr<const SafeDirectory> ordner, QString kennung,
                   QDateTime geaendert, Wiederherstellung::Sperre sperre);
    VerwaisteKopie(VerwaisteKopie&&) noexcept;
    VerwaisteKopie& operator=(VerwaisteKopie&&) noexcept;
    ~VerwaisteKopie(); // lets the lock go; the copy stays for the next start

    QString pfad() const;
    QString name() const; // within its directory
    const SafeDirectory& ordner() const { return *ordner_; }
    const QDateTime& geaendert() const { return geaendert_; }
    std::optional<Wiederherstellungskopie> lesen() const;
    // Deletes the copy and its lock.
    void verwerfen();
    // Keeps a copy that cannot be read under another name, where it is offered no
    // more; its lock goes. Gives the new path, empty when it could not be renamed.
    QString beiseitelegen();

    // The copies of processes that ended without removing theirs, newest first. Copies
    // of running processes (this one's included) are left out, and so is everything in
    // a directory that may not be used.
    static std::vector<VerwaisteKopie> finden(const QString& verzeichnis);

private:
    std::shared_ptr<const SafeDirectory> ordner_;
    QString kennung_;
    QDateTime geaendert_;
    std::optional<Wiederherstellung::Sperre> sperre_;
};

} // namespace ravik
