#include "core/document/Wiederherstellungsdatei.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/files/MemoryHints.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace ravik {
namespace {

// Unique among all processes, and among the windows of one process.
QString neueKennung() {
    static std::atomic<int> nummer{0};
    return QStringLiteral("ravik-%1-%2-%3")
        .arg(QCoreApplication::applicationPid())
        .arg(QDateTime::currentMSecsSinceEpoch())
        .arg(nummer++);
}

QString fehlerText(const QString& pfad, QString grund) {
    if (!grund.endsWith(QLatin1Char('.')))
        grund += QLatin1Char('.');
    return QStringLiteral("Die Wiederherstellungskopie %1 kann nicht geschrieben werden. %2")
        .arg(QDir::toNativeSeparators(pfad), grund);
}

} // namespace

Wiederherstellungsdatei::Wiederherstellungsdatei(QString verzeichnis, Fehlermeldung meldung,
                                                 Erfolgsmeldung geschrieben)
    : verzeichnis_(std::move(verzeichnis)), kennung_(neueKennung()), meldung_(std::move(meldung)),
      geschrieben_(std::move(geschrieben)) {}

void Wiederherstellungsdatei::melden(const QString& text) const {
    if (meldung_)
        meldung_(text);
}

Wiederherstellungsdatei::~Wiederherstellungsdatei() {
    {
        const std::lock_guard<std::mutex> sperre(schutz_);
        ende_ = true;
    }
    signal_.notify_all();
    if (faden_.joinable())
        faden_.join();
    if (sperre_)
        sperre_->entfernen();
}

QString Wiederherstellungsdatei::name(const QString& endung) const {
    return kennung_ + endung;
}

QString Wiederherstellungsdatei::datei(const QString& endung) const {
    return QDir(verzeichnis_).filePath(name(endung));
}

QString Wiederherstellungsdatei::pfad() const {
    return datei(Wiederherstellung::kKopieEndung);
}

// The directory is opened (and made) when the first copy is due, and checked again
// at every copy until it can be used: a directory that is a link or another user's is
// never written to.
bool Wiederherstellungsdatei::sperren() {
    if (sperre_)
        return true;
    std::shared_ptr<const SafeDirectory> ordner =
        Wiederherstellung::verzeichnisOeffnen(verzeichnis_, true);
    if (!ordner->usable()) {
        melden(fehlerText(pfad(), ordner->reason()));
        return false;
    }
    std::optional<Wiederherstellung::Sperre> sperre =
        Wiederherstellung::Sperre::anlegen(ordner, name(Wiederherstellung::kSperreEndung));
    if (!sperre) {
        const QString grund = systemReason(errno);
        melden(fehlerText(pfad(), QStringLiteral("Die Sperrdatei kann nicht angelegt werden: %1")
                                      .arg(grund)));
        return false;
    }
    ordner_ = std::move(ordner);
    sperre_ = std::move(sperre);
    return true;
}

void Wiederherstellungsdatei::schreiben(Wiederherstellungskopie kopie) {
    if (!sperren())
        return;
    angelegt_ = true;
    Auftrag auftrag;
    auftrag.kopie = std::move(kopie);
    auftragGeben(std::move(auftrag));
}

void Wiederherstellungsdatei::entfernen() {
    if (angelegt_) {
        auftragGeben(Auftrag{});
        return;
    }
    // No copy was written yet: only a buffer made ready for one may be held.
    QByteArray freigeben;
    {
        const std::lock_guard<std::mutex> sperre(schutz_);
        vorzubereiten_ = 0;
        std::swap(freigeben, frei_);
    }
}

bool Wiederherstellungsdatei::uebernehmen(VerwaisteKopie& kopie) {
    if (!sperren())
        return false;
    warten();
    if (!kopie.ordner().renameInto(kopie.name(), *ordner_, name(Wiederherstellung::kKopieEndung)))
        return false;
    angelegt_ = true;
    kopie.verwerfen(); // its lock; the file is ours now
    return true;
}

void Wiederherstellungsdatei::warten() {
    std::unique_lock<std::mutex> sperre(schutz_);
    signal_.wait(sperre, [this] { return !wartend_ && !arbeitet_; });
}

namespace {

// With room to grow, and backed by huge pages where the system has them.
QByteArray neuerPuffer(qsizetype bytes) {
    QByteArray puffer(bytes + bytes / 8 + (qsizetype(1) << 16), Qt::Uninitialized);
    MemoryHints::expectLargeFill(puffer.data(), std::size_t(puffer.size()));
    return puffer;
}

} // namespace

void Wiederherstellungsdatei::vorbereiten(qsizetype bytes) {
    {
        const std::lock_guard<std::mutex> sperre(schutz_);
        if (frei_.capacity() >= bytes || vorzubereiten_ >= bytes)
            return;
        vorzubereiten_ = bytes;
        fadenStarten();
    }
    signal_.notify_all();
}

QByteArray Wiederherstellungsdatei::puffer(qsizetype bytes) {
    QByteArray puffer;
    {
        const std::lock_guard<std::mutex> sperre(schutz_);
        std::swap(puffer, frei_);
    }
    if (puffer.capacity() < bytes)
        puffer = neuerPuffer(bytes);
    puffer.truncate(0); // keeps the room
    return puffer;
}

// A written copy's text is let go rather than kept for the next copy: a document at
// rest should not hold a second copy of itself (the next change makes a buffer ready
// again). Removing the copy lets a ready buffer go too.
void Wiederherstellungsdatei::zurueckgeben(std::optional<Auftrag>& auftrag, QByteArray& freigeben) {
    if (!auftrag)
        return;
    if (!auftrag->kopie)
        std::swap(freigeben, frei_);
    else
        std::swap(freigeben, auftrag->kopie->text);
}

void Wiederherstellungsdatei::fadenStarten() {
    if (!faden_.joinable())
        faden_ = std::thread([this] { arbeiten(); });
}

void Wiederherstellungsdatei::auftragGeben(Auftrag auftrag) {
    std::optional<Auftrag> ersetzt; // freed outside the lock
    QByteArray freigeben;
    {
        const std::lock_guard<std::mutex> sperre(schutz_);
        std::swap(ersetzt, wartend_);
        zurueckgeben(ersetzt, freigeben);
        wartend_ = std::move(auftrag);
        fadenStarten();
    }
    signal_.notify_all();
}

void Wiederherstellungsdatei::arbeiten() {
    std::unique_lock<std::mutex> sperre(schutz_);
    for (;;) {
        signal_.wait(sperre, [this] { return wartend_ || vorzubereiten_ > 0 || ende_; });
        if (wartend_)
            auftragAusfuehren(sperre);
        else if (vorzubereiten_ > 0 && !ende_)
            pufferBereiten(sperre);
        else
            return;
    }
}

void Wiederherstellungsdatei::auftragAusfuehren(std::unique_lock<std::mutex>& sperre) {
    std::optional<Auftrag> auftrag;
    std::swap(auftrag, wartend_);
    arbeitet_ = true;
    sperre.unlock();
    if (auftrag->kopie) {
        if (const std::optional<QString> fehler = kopieSchreiben(*auftrag->kopie))
            melden(*fehler);
        else if (geschrieben_)
            geschrieben_();
    } else {
        ordner_->remove(name(Wiederherstellung::kKopieEndung));
        ordner_->remove(name(Wiederherstellung::kNeuEndung));
    }
    QByteArray freigeben;
    sperre.lock();
    zurueckgeben(auftrag, freigeben);
    arbeitet_ = false;
    sperre.unlock();
    signal_.notify_all();
    auftrag.reset();
    freigeben = QByteArray();
    sperre.lock();
}

void Wiederherstellungsdatei::pufferBereiten(std::unique_lock<std::mutex>& sperre) {
    const qsizetype bytes = vorzubereiten_;
    vorzubereiten_ = 0;
    sperre.unlock();
    QByteArray puffer = neuerPuffer(bytes);
    std::memset(puffer.data(), 0, std::size_t(puffer.size())); // every page faulted in now
    puffer.truncate(0);
    sperre.lock();
    if (frei_.capacity() < puffer.capacity())
        std::swap(frei_, puffer);
    sperre.unlock();
    puffer = QByteArray();
    sperre.lock();
}

std::optional<QString>
Wiederherstellungsdatei::kopieSchreiben(const Wiederherstellungskopie& kopie) const {
    const QString neu = name(Wiederherstellung::kNeuEndung);
    ordner_->remove(neu);
    // Created with the owner's rights only: the text is never readable by others,
    // not even for a moment.
    const int fd = ordner_->openFile(neu, O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
        const QString grund = systemReason(errno);
        return fehlerText(pfad(), grund);
    }
    const QByteArray kopf = Wiederherstellung::kopf(kopie);
    bool geschrieben = writeFully(fd, kopf) && writeFully(fd, kopie.text) && ::fsync(fd) == 0;
    int fehler = geschrieben ? 0 : errno;
    if (::close(fd) != 0 && geschrieben) {
        geschrieben = false;
        fehler = errno;
    }
    if (geschrieben && !ordner_->rename(neu, name(Wiederherstellung::kKopieEndung))) {
        geschrieben = false;
        fehler = errno;
    }
    if (!geschrieben) {
        ordner_->remove(neu); // the last whole copy stays
        const QString grund = systemReason(fehler);
        return fehlerText(pfad(), grund);
    }
    return std::nullopt;
}

} // namespace ravik
