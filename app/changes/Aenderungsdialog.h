#pragma once

#include "core/document/Aenderungen.h"
#include "core/document/Dateistempel.h"

#include <QByteArray>
#include <QDialog>
#include <functional>

class QLabel;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QsciScintilla;

namespace ravik {

class DialogService;

// "Änderungen prüfen": the file on disk against the bytes a save would write now, as a
// list of changes (each one can be given up) and as a unified diff. Before a save it
// asks whether to save ("Speichern") or not ("Abbrechen").
class Aenderungsdialog : public QDialog {
    Q_OBJECT
public:
    // What the dialog works on: the document, reached through the window.
    struct Dokumentzugang {
        std::function<QByteArray()> speicherbytes;
        std::function<QByteArray(Dateistempel::Vergleich*)> dateibytes;
        bool ohneDatei = false; // a new document that was never saved
        QString dateiname;
        // Makes the bytes the document's text in its view; the file's bytes tell the status.
        std::function<void(const QByteArray& bytes, const QByteArray& dateibytes)> uebernehmen;
        // The document holds its file's bytes: it counts as saved.
        std::function<void()> wieDatei;
        // Runs an action of the dialog as the window runs its own: an error is shown.
        std::function<void(const std::function<void()>&)> ausfuehren;
    };
    enum class Zweck { Pruefen, VorDemSpeichern };

    Aenderungsdialog(Dokumentzugang zugang, DialogService& dialoge, Zweck zweck, QWidget* parent);
    ~Aenderungsdialog() override;

    // Compares again and shows the result.
    void aktualisieren();
    // Gives up the change in that row of the list; all of them after asking.
    void verwerfen(int zeile);
    void alleVerwerfen();

    // Rows shown at most; the rest is told in one line.
    static constexpr int kHoechstensZeilen = 2000;

private:
    Dokumentzugang zugang_;
    DialogService& dialoge_;
    QByteArray datei_;
    QByteArray speicher_;
    Aenderungsvergleich vergleich_;

    QLabel* hinweis_ = nullptr;
    QTabWidget* reiter_ = nullptr;
    QTreeWidget* liste_ = nullptr;
    QsciScintilla* diff_ = nullptr;
    QPushButton* alleVerwerfen_ = nullptr;
};

} // namespace ravik
