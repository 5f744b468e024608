#pragma once

#include "core/document/Wiederherstellung.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace ravik {

// This process's recovery copy. The copy is written by a thread of its own, so that
// whoever hands it over (the user interface) never waits for the disk: a request not
// yet begun gives way to a newer one. The lock that marks the copy as this running
// process's is taken with the first request and held until the object goes.
class Wiederherstellungsdatei {
public:
    // Told why the copy could not be written, in German; called on either thread.
    using Fehlermeldung = std::function<void(const QString& text)>;
    // Told when a copy was written (on the writing thread).
    using Erfolgsmeldung = std::function<void()>;

    Wiederherstellungsdatei(QString verzeichnis, Fehlermeldung meldung,
                            Erfolgsmeldung geschrieben = {});
    // Finishes what was requested, then lets the lock go: a copy still there counts as
    // left behind from then on.
    ~Wiederherstellungsdatei();
    Wiederherstellungsdatei(const Wiederherstellungsdatei&) = delete;
    Wiederherstellungsdatei& operator=(const Wiederherstellungsdatei&) = delete;

    QString pfad() const;

    // The text of a copy is taken while the user waits, and fresh memory costs a fault
    // per page as it is first filled, many times what copying into memory in use
    // costs. So the buffer for the next copy's text is made ready in the background
    // (vorbereiten, a little before the copy is due). puffer() gives an empty buffer with
    // room for `bytes`: the ready one when it is large enough. The buffer goes with the
    // copy, and is let go once the copy is written or removed, so a document at rest
    // does not hold a second copy of itself.
    void vorbereiten(qsizetype bytes);
    QByteArray puffer(qsizetype bytes);

    // Writes the copy in the background: readable by the owner only from the first
    // byte, and atomically (a new file renamed over the old one). A write that fails
    // (a full disk, the file-size limit) leaves the last copy as it was and nothing
    // half-written beside it.
    void schreiben(Wiederherstellungskopie kopie);
    // Removes the copy in the background, after a write under way.
    void entfernen();
    // Makes a copy left behind by another process this process's own (renamed, not
    // copied). False when it could not be taken; it is left where it was then.
    bool uebernehmen(VerwaisteKopie& kopie);
    // Returns once everything requested is done.
    void warten();

private:
    struct Auftrag {
        std::optional<Wiederherstellungskopie> kopie; // none: remove the copy
    };

    bool sperren();
    void melden(const QString& text) const;
    QString name(const QString& endung) const;
    QString datei(const QString& endung) const;
    void auftragGeben(Auftrag auftrag);
    void zurueckgeben(std::optional<Auftrag>& auftrag, QByteArray& freigeben);
    void fadenStarten();
    void arbeiten();
    void auftragAusfuehren(std::unique_lock<std::mutex>& sperre);
    void pufferBereiten(std::unique_lock<std::mutex>& sperre);
    std::optional<QString> kopieSchreiben(const Wiederherstellungskopie& kopie) const;

    const QString verzeichnis_;
    const QString kennung_;
    const Fehlermeldung meldung_;
    const Erfolgsmeldung geschrieben_;
    // Set once, with the lock, before the first request reaches the thread.
    std::shared_ptr<const SafeDirectory> ordner_;
    std::optional<Wiederherstellung::Sperre> sperre_;
    bool angelegt_ = false; // a copy may exist

    std::mutex schutz_;
    std::condition_variable signal_;
    std::optional<Auftrag> wartend_;
    QByteArray frei_;             // the buffer for the next copy's text
    qsizetype vorzubereiten_ = 0; // bytes of a buffer to make ready
    bool arbeitet_ = false;
    bool ende_ = false;
    std::thread faden_;
};

} // namespace ravik
