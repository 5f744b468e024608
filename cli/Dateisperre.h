#pragma once
#include <QString>
#include <sys/stat.h>

namespace ravik::cli {

// An advisory lock (flock) on the file a command changes, held from before it is read
// until after it is replaced, so that two commands at once change it one after the
// other and neither loses the other's update. The save replaces the file by a new
// one: a command that waited on the old file finds it replaced and locks the new one.
class Dateisperre {
public:
    enum class Ergebnis { Gesperrt, Fehlt, Belegt, Fehler };
    Dateisperre() = default;
    ~Dateisperre();
    Dateisperre(const Dateisperre&) = delete;
    Dateisperre& operator=(const Dateisperre&) = delete;

    // Waits up to `wartezeitMs` for the lock. `anlegen` creates a missing file, empty,
    // so that even a new file is written under the lock.
    Ergebnis sperren(const QString& pfad, bool anlegen, int wartezeitMs);
    // The file was created by sperren() (and is removed again by verwerfen()).
    bool angelegt() const { return angelegt_; }
    void verwerfen();
    QString grund() const { return grund_; }

private:
    int fd_ = -1;
    bool angelegt_ = false;
    QString pfad_;
    QString grund_;
};

// What a file on disk is now, to tell whether somebody changed it meanwhile.
struct Dateistand {
    bool vorhanden = false;
    dev_t geraet = 0;
    ino_t inode = 0;
    off_t groesse = 0;
    struct timespec geaendert = {};
    static Dateistand von(const QString& pfad);
    bool operator==(const Dateistand& b) const;
};

} // namespace ravik::cli
