#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

namespace ravik {

// A file as the program last read or wrote it: where it is, its marks (device, inode,
// size, modification and change time) and a hash of its bytes. Comparing with the
// file as it is now looks at the marks first; only when they differ is the file read
// and hashed, so a file that was touched, or rewritten with the same bytes, counts as
// unchanged. File times are coarse (a few milliseconds, on some file systems seconds):
// a file whose times were still recent when it was stamped may have been changed again
// within the same tick, so its marks are trusted only once they have aged.
//
// The stamp also keeps which file a save to its path would write. When that is now
// another file (the path became a symbolic link, or a link on the way points
// elsewhere), the comparison says so whatever the bytes: a save would not write the
// file that was read.
class Dateistempel {
public:
    enum class Vergleich { Gleich, Geaendert, Fehlt, Umgelenkt };

    Dateistempel() = default; // no file

    // The marks of the file at pfad as it is now (none when it does not exist). Taken
    // before the file is read, so that a change during the read shows next time.
    static Dateistempel vorLesen(const QString& pfad);
    // The bytes that were read complete the stamp.
    void inhaltSetzen(QByteArrayView inhalt);
    // The same for bytes read in blocks: `lesen` hands each to the function it is given.
    using Block = std::function<void(QByteArrayView block)>;
    void inhaltSetzen(const std::function<void(const Block& hinzu)>& lesen);
    // Marks and bytes of the file as it is now, e.g. right after writing it. A file
    // that cannot be read gets a stamp that compares as changed.
    static Dateistempel lesen(const QString& pfad);

    bool leer() const { return pfad_.isEmpty(); }
    const QString& pfad() const { return pfad_; }

    // The file at the stamp's path now: Umgelenkt when a save would write another file
    // than it did (FileIO::writtenFile), Gleich when it holds the same bytes (or is
    // still missing, when it was missing), Fehlt when it is gone. Equal bytes under new
    // marks take the new marks, so the next comparison is cheap again.
    Vergleich vergleichen();

private:
    struct Merkmale {
        bool vorhanden = false;
        bool verborgen = false; // a folder on the way may not be searched (a system file's)
        quint64 geraet = 0;
        quint64 knoten = 0;
        qint64 groesse = -1;
        qint64 geaendertNs = 0;
        qint64 statusNs = 0;
        bool operator==(const Merkmale& o) const;
    };
    static Merkmale merkmaleLesen(const QString& pfad);
    static bool frisch(const Merkmale& m);
    // The hash of the file's bytes; empty when it cannot be read.
    static QByteArray hashLesen(const QString& pfad);

    QString pfad_;
    QString geschrieben_; // the file a save would write, when the stamp was taken
    Merkmale merkmale_;
    QByteArray hash_;
    bool frisch_ = false; // the marks were too recent to be trusted
};

} // namespace ravik
