#include "app/document/Wiederherstellungswaechter.h"

#include <algorithm>

namespace ravik {

Wiederherstellungswaechter::Wiederherstellungswaechter(const QString& verzeichnis,
                                                       int verzoegerungMs, Stand stand,
                                                       Groesse groesse)
    : verzeichnis_(verzeichnis), verzoegerungMs_(verzoegerungMs), stand_(std::move(stand)),
      groesse_(std::move(groesse)), datei_(verzeichnis, [this](const QString& text) {
          // From the writing thread, too: told on this one.
          QMetaObject::invokeMethod(
              this,
              [this, text] {
                  if (gemeldet_)
                      return;
                  gemeldet_ = true;
                  emit fehler(text);
              },
              Qt::QueuedConnection);
      }) {
    uhr_.setSingleShot(true);
    connect(&uhr_, &QTimer::timeout, this, &Wiederherstellungswaechter::zeitAbgelaufen);
}

Wiederherstellungswaechter::~Wiederherstellungswaechter() = default;

void Wiederherstellungswaechter::aenderung() {
    seitAenderung_.start();
    if (uhr_.isActive())
        return;
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
    if (auto kopie = stand_())
        datei_.schreiben(std::move(*kopie));
}

void Wiederherstellungswaechter::entfernen() {
    uhr_.stop();
    datei_.entfernen();
}

void Wiederherstellungswaechter::warten() {
    datei_.warten();
}

std::vector<VerwaisteKopie> Wiederherstellungswaechter::verwaisteKopien() const {
    return VerwaisteKopie::finden(verzeichnis_);
}

} // namespace ravik
