#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QString>

#include <memory>

class QProgressDialog;
class QWidget;

namespace ravik {

// Shows the wait cursor while long work runs; when the work takes longer than half a
// second, a progress dialog appears instead of a frozen window. The work reports
// progress with schritt(); user input stays blocked until it ends.
class Warteanzeige {
public:
    Warteanzeige(QWidget* fenster, const QString& text);
    ~Warteanzeige();
    Warteanzeige(const Warteanzeige&) = delete;
    Warteanzeige& operator=(const Warteanzeige&) = delete;

    // A step that is known to take long (laying out a line of megabytes, say) shows
    // the dialog at once rather than after the delay.
    void schritt(qint64 erledigt = -1, bool langerSchrittFolgt = false);
    // Follows a source's progress(done, longStepAhead) reports (the editor's) until
    // the returned guard ends.
    template <class Quelle>
    [[nodiscard]] std::unique_ptr<QObject> folgen(Quelle& quelle) {
        // The connection lives as long as its context object: the guard.
        auto guard = std::make_unique<QObject>();
        QObject::connect(&quelle, &Quelle::progress, guard.get(),
                         [this](qint64 erledigt, bool langerSchritt) { schritt(erledigt, langerSchritt); });
        return guard;
    }
    // Ends the display early (before a message box is shown, for example).
    void beenden();

    static constexpr int kVerzoegerungMs = 500;

private:
    QWidget* fenster_;
    QString text_;
    QElapsedTimer uhr_;
    qint64 letzteAktualisierung_ = 0;
    QPointer<QProgressDialog> dialog_;
    bool aktiv_ = true;
};

} // namespace ravik
