#include "core/document/Wiederherstellungsdatei.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/files/MemoryHints.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

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

QString fehlerText(const QString& pfad, const QString& grund) {
    return QStringLiteral("Die Wiederherstellungskopie %1 kann nicht geschrieben werden. %2")
        .arg(QDir::toNativeSeparators(pfad), grund);
}

} // namespace

Wiederherstellungsdatei::Wiederherstellungsdatei(QString verzeichnis, Fehlermeldung meldung)
    : verzeichnis_(std::move(verzeichnis)), kennung_(neueKennung()), meldung_(std::move(meldung)) {}

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
    if (sperre_) {
        Wiederherstellung::eigeneSperre(sperre_->fileName(), false);
        sperre_->unlock();
    }
}

QString Wiederherstellungsdatei::datei(const QString& endung) const {
    return QDir(verzeichnis_).filePath(kennung_ + endung);
}

QString Wiederherstellungsdatei::pfad() const {
    return datei(Wiederherstellung::kKopieEndung);
}

bool Wiederherstellungsdatei::sperren() {
    if (sperre_)
        return true;
    if (!Wiederherstellung::verzeichnisAnlegen(verzeichnis_)) {
        melden(fehlerText(pfad(), QStringLiteral("Das Verzeichnis %1 kann nicht angelegt werden.")
                                      .arg(QDir::toNativeSeparators(verzeichnis_))));
        return false;
    }
    auto sperre = std::make_unique<QLockFile>(datei(Wiederherstellung::kSperreEndung));
    sperre->setStaleLockTime(0);
    if (!sperre->tryLock(0)) {
        melden(fehlerText(pfad(), QStringLiteral("Die Sperrdatei kann nicht angelegt werden.")));
        return false;
    }
    Wiederherstellung::eigeneSperre(sperre->fileName(), true);
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
    const QByteArray von = QFile::encodeName(kopie.pfad());
    const QByteArray nach = QFile::encodeName(pfad());
    if (::rename(von.constData(), nach.constData()) != 0)
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
    } else {
        QFile::remove(pfad());
        QFile::remove(datei(Wiederherstellung::kNeuEndung));
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
    const QString neu = datei(Wiederherstellung::kNeuEndung);
    QFile::remove(neu);
    QFile f(neu);
    // Created with the owner's rights only: the text is never readable by others,
    // not even for a moment.
    if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFile::ReadOwner | QFile::WriteOwner))
        return fehlerText(pfad(), f.errorString());
    const QByteArray kopf = Wiederherstellung::kopf(kopie);
    errno = 0;
    const bool geschrieben = f.write(kopf) == kopf.size() &&
                             f.write(kopie.text) == kopie.text.size() && f.flush() &&
                             ::fsync(f.handle()) == 0;
    const QString grund = errno ? systemReason(errno) : f.errorString();
    f.close();
    if (!geschrieben) {
        QFile::remove(neu);
        return fehlerText(pfad(), grund);
    }
    const QByteArray von = QFile::encodeName(neu);
    const QByteArray nach = QFile::encodeName(pfad());
    if (::rename(von.constData(), nach.constData()) != 0) {
        const int fehler = errno;
        QFile::remove(neu);
        return fehlerText(pfad(), systemReason(fehler));
    }
    return std::nullopt;
}

} // namespace ravik
