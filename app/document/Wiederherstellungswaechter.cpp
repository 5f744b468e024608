#include "app/document/Wiederherstellungswaechter.h"

#include "core/platform/errors/RavikError.h"

#include <QDir>

#include <algorithm>

namespace ravik {

Wiederherstellungswaechter::Wiederherstellungswaechter(const QString& verzeichnis,
                                                       int verzoegerungMs, Stand stand,
                                                       Groesse groesse)
    : verzeichnis_(verzeichnis), verzoegerungMs_(verzoegerungMs), stand_(std::move(stand)),
      groesse_(std::move(groesse)),
      datei_(
          verzeichnis,
          [this](const QString& text) {
              // From the writing thread, too: told on this one.
              QMetaObject::invokeMethod(
                  this, [this, text] { ergebnis(text, true); }, Qt::QueuedConnection);
          },
          [this] {
              QMetaObject::invokeMethod(
                  this, [this] { ergebnis(std::nullopt, false); }, Qt::QueuedConnection);
          }) {
    uhr_.setSingleShot(true);
    connect(&uhr_, &QTimer::timeout, this, &Wiederherstellungswaechter::zeitAbgelaufen);
}

Wiederherstellungswaechter::~Wiederherstellungswaechter() = default;

void Wiederherstellungswaechter::aenderung() {
    seitAenderung_.start();
    if (uhr_.isActive() && !wiederholung_)
        return;
    wiederholung_ = false;
    uhr_.start(int(std::max<qint64>(0, verzoegerungMs_ - vorlaufMs())));
}

// The copy's buffer is made ready a little before the copy is due rather than at the
// first change: a document being edited does not hold a second copy of itself for
// longer than that.
qint64 Wiederherstellungswaechter::vorlaufMs() const {
    return std::min(1000, verzoegerungMs_ / 3);
}

void Wiederherstellungswaechter::pufferVorbereiten() {
    datei_.vorbereiten(groesse_());
}

// The timer runs from the first change of a burst; the wait is counted from the last.
void Wiederherstellungswaechter::zeitAbgelaufen() {
    wiederholung_ = false;
    const qint64 rest = verzoegerungMs_ - seitAenderung_.elapsed();
    if (rest > vorlaufMs()) {
        uhr_.start(int(rest - vorlaufMs()));
        return;
    }
    pufferVorbereiten(); // nothing to do when it is ready
    if (rest > 0) {
        uhr_.start(int(rest));
        return;
    }
    jetztSichern();
}

void Wiederherstellungswaechter::statusGesetzt(Dateistatus status) {
    if (status == Dateistatus::Gespeichert)
        entfernen();
    else
        aenderung();
}

void Wiederherstellungswaechter::jetztSichern() {
    uhr_.stop();
    wiederholung_ = false;
    std::optional<Wiederherstellungskopie> kopie;
    try {
        kopie = stand_();
    } catch (const std::exception& e) {
        // Told after what the writer reported before, as it happened after it.
        const QString text =
            QStringLiteral("Die Wiederherstellungskopie %1 kann nicht auf den neuesten Stand "
                           "gebracht werden. %2")
                .arg(QDir::toNativeSeparators(kopiePfad()), errorBoxText(messageOf(e)));
        QMetaObject::invokeMethod(
            this, [this, text] { ergebnis(text, false); }, Qt::QueuedConnection);
        return;
    }
    if (kopie)
        datei_.schreiben(std::move(*kopie));
}

void Wiederherstellungswaechter::ergebnis(const std::optional<QString>& fehlertext,
                                          bool schreibfehler) {
    if (!fehlertext) {
        gemeldet_ = false;
        return;
    }
    // A full disk or a folder set right may need no change of the document: the copy
    // is tried again after a while. A state that cannot be taken waits for a change.
    if (schreibfehler && !uhr_.isActive()) {
        wiederholung_ = true;
        uhr_.start(std::max(verzoegerungMs_ * 10, 1000));
    }
    if (gemeldet_)
        return;
    gemeldet_ = true;
    emit fehler(*fehlertext);
}

void Wiederherstellungswaechter::entfernen() {
    uhr_.stop();
    wiederholung_ = false;
    datei_.entfernen();
}

void Wiederherstellungswaechter::warten() {
    datei_.warten();
}

std::vector<VerwaisteKopie> Wiederherstellungswaechter::verwaisteKopien() const {
    return VerwaisteKopie::finden(verzeichnis_);
}

} // namespace ravik
