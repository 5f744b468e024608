#include "core/document/Systemdatei.h"

#include "core/platform/files/PrivilegedFile.h"

#include <QFileInfo>
#include <QHash>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace ravik {
namespace {

Systemdatei::Fragen& fragen() {
    static Systemdatei::Fragen f;
    return f;
}

// The system files of this run, by the file the helper writes, with the hash of the
// bytes last read or written: a save is refused when the file no longer has them.
QHash<QString, QByteArray>& bekannte() {
    static QHash<QString, QByteArray> dateien;
    return dateien;
}

// Files loaded the ordinary way that the user may not write: the hash of what he saw.
QHash<QString, QByteArray>& geleseneHashes() {
    static QHash<QString, QByteArray> dateien;
    return dateien;
}

QString schluessel(const QString& pfad) {
    return PrivilegedFile::helperTarget(pfad);
}

bool verweigert(int fehler) {
    return fehler == EACCES || fehler == EPERM;
}

bool fragenDarf() {
    return ::geteuid() != 0 && fragen();
}

// Someone else's: the file (or, for a new one, its folder) belongs to another user, or
// cannot even be looked at. The user's own read-only file is his to change; it is
// refused as ever, never saved with more rights.
bool fremd(const QString& pfad) {
    struct stat info {};
    if (::stat(QFile::encodeName(pfad).constData(), &info) != 0)
        return verweigert(errno);
    return info.st_uid != ::geteuid();
}

// The user may not write the file, or the folder its replacement is made in, and they
// are not his.
bool schreibenVerweigert(const QString& ziel, bool vorhanden) {
    if (!fremd(vorhanden ? ziel : QFileInfo(ziel).absolutePath()))
        return false;
    const QByteArray datei = QFile::encodeName(ziel);
    const QByteArray ordner = QFile::encodeName(QFileInfo(ziel).absolutePath());
    const bool dateiVerweigert = vorhanden && ::access(datei.constData(), W_OK) != 0 && verweigert(errno);
    const bool ordnerVerweigert = ::access(ordner.constData(), W_OK) != 0 && verweigert(errno);
    return dateiVerweigert || ordnerVerweigert;
}

} // namespace

void Systemdatei::fragenSetzen(Fragen f) {
    fragen() = std::move(f);
}

std::optional<QByteArray> Systemdatei::lesen(const QString& pfad) {
    if (!fragenDarf() || ::access(QFile::encodeName(pfad).constData(), R_OK) == 0 || !verweigert(errno) ||
        !fremd(pfad))
        return std::nullopt;
    if (!istSystemdatei(pfad) && !fragen()(Frage::Lesen, pfad))
        return std::nullopt;
    const auto ergebnis = PrivilegedFile::read(pfad);
    if (ergebnis.status == PrivilegedFile::Outcome::Status::Cancelled)
        throw Abgebrochen();
    if (ergebnis.status == PrivilegedFile::Outcome::Status::Failed)
        throw EFOpenError(QFileInfo(pfad).absoluteFilePath(), ergebnis.reason);
    bekannte().insert(schluessel(pfad), ergebnis.hash);
    return ergebnis.bytes;
}

bool Systemdatei::istSystemdatei(const QString& pfad) {
    return ::geteuid() != 0 && bekannte().contains(schluessel(pfad));
}

bool Systemdatei::speichernUeberHelfer(const QString& pfad) {
    if (istSystemdatei(pfad))
        return true;
    if (!fragenDarf())
        return false;
    const QString ziel = schluessel(pfad);
    const bool vorhanden = QFileInfo::exists(ziel);
    if (!schreibenVerweigert(ziel, vorhanden) || !fragen()(Frage::Speichern, pfad))
        return false;
    // The helper compares the file with what the user loaded; a file this run never
    // read (saved under another name) with what it holds now.
    QByteArray hash = geleseneHashes().value(ziel);
    if (hash.isEmpty())
        hash = vorhanden ? PrivilegedFile::hashOfFile(ziel) : QByteArray("neu");
    bekannte().insert(ziel, hash.isEmpty() ? QByteArray("unlesbar") : hash);
    return true;
}

void Systemdatei::ueberschreibenErlauben(const QString& pfad) {
    if (::geteuid() == 0)
        return;
    const QString ziel = schluessel(pfad);
    if (!bekannte().contains(ziel) && !geleseneHashes().contains(ziel))
        return;
    const QByteArray jetzt = PrivilegedFile::hashOfFile(ziel);
    if (jetzt.isEmpty())
        return;
    if (bekannte().contains(ziel))
        bekannte().insert(ziel, jetzt);
    if (geleseneHashes().contains(ziel))
        geleseneHashes().insert(ziel, jetzt);
}

void Systemdatei::geladen(const QString& pfad, QByteArrayView bytes) {
    Lesehash hash(pfad);
    hash.hinzu(bytes);
    hash.fertig();
}

Systemdatei::Lesehash::Lesehash(const QString& pfad) {
    if (!fragenDarf())
        return;
    ziel_ = schluessel(pfad);
    if (schreibenVerweigert(ziel_, true))
        hash_.emplace();
}

void Systemdatei::Lesehash::hinzu(QByteArrayView block) {
    if (hash_)
        hash_->add(block);
}

void Systemdatei::Lesehash::fertig() {
    if (ziel_.isEmpty())
        return;
    if (hash_)
        geleseneHashes().insert(ziel_, hash_->result());
    else
        geleseneHashes().remove(ziel_);
}

QByteArray Systemdatei::schreiben(const QString& pfad, bool sicherung, const FileIO::ContentProducer& inhalt) {
    const QString ziel = schluessel(pfad);
    const auto ergebnis = PrivilegedFile::write(pfad, bekannte().value(ziel), sicherung, inhalt);
    if (ergebnis.status == PrivilegedFile::Outcome::Status::Cancelled)
        throw Abgebrochen();
    if (ergebnis.status == PrivilegedFile::Outcome::Status::Failed)
        throw EFCreateError(QFileInfo(pfad).absoluteFilePath(), ergebnis.reason);
    bekannte().insert(ziel, ergebnis.hash);
    return ergebnis.bytes;
}

QString Systemdatei::titelZusatz(const QString& pfad) {
    return istSystemdatei(pfad) ? QStringLiteral(" [Administrator]") : QString();
}

} // namespace ravik
