#pragma once

#include "core/platform/text/LineEnds.h"
#include "core/platform/text/TextCodec.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QLockFile;

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
// holds any more was left by a process that did not end normally.
namespace Wiederherstellung {

// $XDG_STATE_HOME/ravik, else ~/.local/state/ravik.
QString standardVerzeichnis();

// Creates the directory (and what is missing above it) readable by its owner only,
// and takes the rights of others from it when it exists already. False when it
// cannot be made.
bool verzeichnisAnlegen(const QString& verzeichnis);

// The file's head: format version, name, encoding, line ends, view and the length of
// the text that follows it.
QByteArray kopf(const Wiederherstellungskopie& kopie);
// A whole copy as written; nullopt when the file is missing, cut short or not a
// copy of this format.
std::optional<Wiederherstellungskopie> lesen(const QString& pfad);

// File names within the directory.
inline const QString kKopieEndung = QStringLiteral(".wiederherstellung");
inline const QString kSperreEndung = QStringLiteral(".sperre");
inline const QString kNeuEndung = QStringLiteral(".wiederherstellung.neu");

// The lock files this process holds: none of them is ever taken for a stale one, even
// though each names a running process with this process's pid.
void eigeneSperre(const QString& sperrpfad, bool gehalten);
bool istEigeneSperre(const QString& sperrpfad);

} // namespace Wiederherstellung

// A copy left behind by a Ravik that is no longer running. While this object lives
// its lock is held, so that no other Ravik offers the same copy meanwhile.
class VerwaisteKopie {
public:
    VerwaisteKopie(QString pfad, QDateTime geaendert, std::unique_ptr<QLockFile> sperre);
    VerwaisteKopie(VerwaisteKopie&&) noexcept;
    VerwaisteKopie& operator=(VerwaisteKopie&&) noexcept;
    ~VerwaisteKopie(); // lets the lock go; the copy stays for the next start

    const QString& pfad() const { return pfad_; }
    const QDateTime& geaendert() const { return geaendert_; }
    std::optional<Wiederherstellungskopie> lesen() const;
    // Deletes the copy and its lock.
    void verwerfen();

    // The copies of processes that ended without removing theirs, newest first. Copies
    // of running processes (this one's included) are left out.
    static std::vector<VerwaisteKopie> finden(const QString& verzeichnis);

private:
    QString pfad_;
    QDateTime geaendert_;
    std::unique_ptr<QLockFile> sperre_;
};

} // namespace ravik
