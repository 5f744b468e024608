#pragma once

#include "core/document/Wiederherstellungsdatei.h"
#include "core/document/Zustaende.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

namespace ravik {

// Keeps the recovery copy in step with the unsaved document: a change restarts the
// wait, and once the document has rested for the delay its state is taken (on this
// thread, from the views) and written in the background. A saved document needs no
// copy, and neither does a program that ends normally.
//
// A copy that cannot be brought up to date (the document's edits cannot be put into
// its text, the disk is full, the file-size limit is reached, the directory may not
// be used) is reported once, not at every attempt; the next change tries again, and a
// failed write is also tried again after a while by itself. Once a copy is written,
// the next failure is reported anew.
class Wiederherstellungswaechter : public QObject {
    Q_OBJECT
public:
    // The document's state now; nullopt when it has no unsaved changes. Throws a
    // RavikError with the German reason when the state cannot be taken.
    using Stand = std::function<std::optional<Wiederherstellungskopie>()>;
    // The bytes its text takes, about (cheap: asked at the first change after a copy).
    using Groesse = std::function<qsizetype()>;

    Wiederherstellungswaechter(const QString& verzeichnis, int verzoegerungMs, Stand stand,
                               Groesse groesse);
    ~Wiederherstellungswaechter() override;

    // A change of the document. Costs a clock reading: it comes with every keystroke.
    void aenderung();
    void statusGesetzt(Dateistatus status);
    // Has the buffer for the next copy made ready in the background (what happens a
    // little before the delay ends).
    void pufferVorbereiten();
    // Takes the state at once and hands it to the writer (what the delay ends in).
    void jetztSichern();
    // The changes are given up, or the program ends normally.
    void entfernen();
    // Returns once the copy on disk is as requested.
    void warten();

    QString kopiePfad() const { return datei_.pfad(); }
    // For the state's text (see Wiederherstellungsdatei::puffer).
    QByteArray puffer(qsizetype bytes) { return datei_.puffer(bytes); }
    std::vector<VerwaisteKopie> verwaisteKopien() const;
    bool uebernehmen(VerwaisteKopie& kopie) { return datei_.uebernehmen(kopie); }

signals:
    // The copy cannot be written (raised for the first failure after a copy was
    // written, or since the start).
    void fehler(const QString& text);

private:
    void zeitAbgelaufen();
    // Results in the order they happened, on this thread.
    void ergebnis(const std::optional<QString>& fehlertext, bool schreibfehler);
    qint64 vorlaufMs() const;

    const QString verzeichnis_;
    const int verzoegerungMs_;
    const Stand stand_;
    const Groesse groesse_;
    QTimer uhr_;
    QElapsedTimer seitAenderung_;
    bool gemeldet_ = false;     // this run of failures was reported
    bool wiederholung_ = false; // the timer runs to try a failed write again
    Wiederherstellungsdatei datei_; // last: its thread ends before the rest goes
};

} // namespace ravik
