#include "app/document/Wiederherstellungswaechter.h"

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
    uhr_.start(verzoegerungMs_);
    datei_.vorbereiten(groesse_()); // the copy's buffer, while the user goes on
}

// The timer runs from the first change of a burst; the wait is counted from the last.
void Wiederherstellungswaechter::zeitAbgelaufen() {
    const qint64 rest = verzoegerungMs_ - seitAenderung_.elapsed();
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
