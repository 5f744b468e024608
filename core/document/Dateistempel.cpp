#include "core/document/Dateistempel.h"

#include "core/platform/files/FileIO.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>
#include <time.h>

namespace ravik {
namespace {

constexpr qsizetype kBlock = qsizetype(1) << 16;

// A 64-bit hash of a byte stream that does not depend on the pieces the stream comes
// in: it is taken over blocks of fixed size, each seeded with the hash so far. Only
// this process compares the hashes, so the fast hash of Qt's hash tables will do (a
// cryptographic one would cost more than reading the file).
class Streuwert {
public:
    void hinzu(QByteArrayView daten) {
        if (!rest_.isEmpty()) {
            const qsizetype n = std::min(kBlock - rest_.size(), daten.size());
            rest_.append(daten.first(n));
            daten = daten.sliced(n);
            if (rest_.size() < kBlock)
                return;
            block(rest_);
            rest_.clear();
        }
        for (; daten.size() >= kBlock; daten = daten.sliced(kBlock))
            block(daten.first(kBlock));
        rest_.append(daten);
    }
    QByteArray ergebnis() {
        block(rest_);
        const quint64 wert = quint64(wert_);
        return QByteArray(reinterpret_cast<const char*>(&wert), sizeof wert);
    }

private:
    void block(QByteArrayView b) { wert_ = qHashBits(b.data(), size_t(b.size()), wert_); }

    size_t wert_ = 0x9e3779b97f4a7c15u;
    QByteArray rest_;
};

// Longer than the coarsest file times in use (two seconds on FAT).
constexpr qint64 kUnsicherNs = qint64(3) * 1000000000;

qint64 nanosekunden(const timespec& t) {
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

} // namespace

bool Dateistempel::Merkmale::operator==(const Merkmale& o) const {
    return vorhanden == o.vorhanden && geraet == o.geraet && knoten == o.knoten &&
           groesse == o.groesse && geaendertNs == o.geaendertNs && statusNs == o.statusNs;
}

Dateistempel::Merkmale Dateistempel::merkmaleLesen(const QString& pfad) {
    struct stat info {};
    Merkmale m;
    if (::stat(QFile::encodeName(pfad).constData(), &info) != 0) {
        m.verborgen = errno == EACCES;
        return m;
    }
    m.vorhanden = true;
    m.geraet = quint64(info.st_dev);
    m.knoten = quint64(info.st_ino);
    m.groesse = qint64(info.st_size);
    m.geaendertNs = nanosekunden(info.st_mtim);
    m.statusNs = nanosekunden(info.st_ctim);
    return m;
}

QByteArray Dateistempel::hashLesen(const QString& pfad) {
    Streuwert hash;
    try {
        FileIO::readInBlocks(pfad, kBlock, [&](QByteArrayView block) { hash.hinzu(block); });
    } catch (const std::exception&) {
        return {};
    }
    return hash.ergebnis();
}

bool Dateistempel::frisch(const Merkmale& m) {
    timespec jetzt{};
    ::clock_gettime(CLOCK_REALTIME, &jetzt);
    return m.vorhanden && nanosekunden(jetzt) - std::max(m.geaendertNs, m.statusNs) < kUnsicherNs;
}

Dateistempel Dateistempel::vorLesen(const QString& pfad) {
    Dateistempel s;
    s.pfad_ = pfad;
    s.geschrieben_ = FileIO::writtenFile(pfad);
    s.merkmale_ = merkmaleLesen(pfad);
    s.frisch_ = frisch(s.merkmale_);
    return s;
}

void Dateistempel::inhaltSetzen(QByteArrayView inhalt) {
    Streuwert hash;
    hash.hinzu(inhalt);
    hash_ = hash.ergebnis();
}

void Dateistempel::inhaltSetzen(const std::function<void(const Block& hinzu)>& lesen) {
    Streuwert hash;
    lesen([&](QByteArrayView block) { hash.hinzu(block); });
    hash_ = hash.ergebnis();
}

Dateistempel Dateistempel::lesen(const QString& pfad) {
    Dateistempel s = vorLesen(pfad);
    if (s.merkmale_.vorhanden)
        s.hash_ = hashLesen(pfad);
    return s;
}

Dateistempel::Vergleich Dateistempel::vergleichen() {
    if (leer())
        return Vergleich::Gleich;
    const QString geschrieben = FileIO::writtenFile(pfad_);
    if (!geschrieben_.isEmpty() && !geschrieben.isEmpty() && geschrieben != geschrieben_)
        return Vergleich::Umgelenkt;
    const Merkmale jetzt = merkmaleLesen(pfad_);
    // A file behind a folder only root may enter (read through the helper) cannot be
    // looked at: it is not reported gone; the helper compares its bytes when it saves.
    if (jetzt.verborgen)
        return Vergleich::Gleich;
    if (!jetzt.vorhanden)
        return merkmale_.vorhanden || !hash_.isEmpty() ? Vergleich::Fehlt : Vergleich::Gleich;
    // Equal marks of a file that could not be read are all there is to compare.
    if (jetzt == merkmale_ && (!frisch_ || hash_.isEmpty()))
        return Vergleich::Gleich;
    // A file that could not be read at the time, or not now, cannot be shown unchanged.
    const QByteArray hash = hash_.isEmpty() ? QByteArray() : hashLesen(pfad_);
    // A file the user may not read (a system file, read through the helper) cannot be
    // hashed: equal marks are all there is; the helper compares the bytes when it saves.
    if (hash.isEmpty() && jetzt == merkmale_)
        return Vergleich::Gleich;
    if (hash.isEmpty() || hash != hash_)
        return Vergleich::Geaendert;
    merkmale_ = jetzt;
    frisch_ = frisch(jetzt);
    return Vergleich::Gleich;
}

} // namespace ravik
