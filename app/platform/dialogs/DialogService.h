#pragma once

#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>

namespace ravik {

// The kinds of message box. Captions: "Warnung", "Fehler", "Informationen",
// "Bestätigung"; a plain message and the application's error box carry the
// application title.
enum class MessageKind { Warning, Error, Information, Confirmation, Plain, AppError };

// The button sets in use; buttons stand in the order "&Ja", "&Nein", "OK", "Abbrechen".
// YesNoDefaultNo: "&Ja" and "&Nein", with Enter on "&Nein" (for a question whose "&Ja"
// loses data). YesNoEscapeCancels: "&Ja" and "&Nein", where Escape answers cancel, as
// the close box does (for a question whose "&Nein" loses data: only a click on it may).
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, YesNoDefaultNo, YesNoEscapeCancels };

enum class Answer { Yes, No, Ok, Cancel };

// Most INI files on Linux carry no ".ini" (git's config, *.conf, *.desktop, systemd
// units), so the dialogs offer them too, after the INI files.
struct FileDialogRequest {
    QString preset; // file name proposed
    QStringList filters = {
        QStringLiteral("INI-Dateien (*.ini)"),
        QStringLiteral(
            "Konfigurationsdateien (*.ini *.conf *.cnf *.cfg *.inf *.desktop *.service)"),
        QStringLiteral("Alle Dateien (*)")};
    QString defaultSuffix = QStringLiteral("ini");

    // The file the user named: the default suffix goes only to a name typed without
    // any (no dot in it), never to the proposed file nor to one that exists, so that
    // accepting "config" saves to "config".
    QString chosenFile(const QString& named) const;
    // The filter to show at first: the first that lists the proposed file, so that
    // the file is seen among its kind.
    QString filterForPreset() const;
};

// Every modal dialog of the program goes through this interface, so tests can script
// the answers and read what was shown.
class DialogService {
public:
    virtual ~DialogService() = default;

    virtual Answer message(MessageKind kind, const QString& text, MessageButtons buttons) = 0;

    // The input box: a caption, a word-wrapped prompt, a field of at most 255 characters.
    // Returns the typed text, or an empty text when cancelled.
    virtual QString inputText(const QString& caption, const QString& prompt) = 0;

    // Open and save dialogs; nullopt when the user cancels. The name the user gave is
    // completed by request.chosenFile(). The save dialog asks, once, before it returns
    // a file that exists already.
    virtual std::optional<QString> openFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFileName(const FileDialogRequest& request) = 0;

    // The colour dialog; nullopt when the user cancels.
    virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;

    // The application title, the caption of plain messages and of the error box.
    void setApplicationTitle(const QString& title) { applicationTitle_ = title; }
    const QString& applicationTitle() const { return applicationTitle_; }

    QString captionFor(MessageKind kind) const;

    // What Escape answers: "Abbrechen" when the box has it, else "&Nein", else "OK";
    // cancel for YesNoEscapeCancels. The close box always answers cancel.
    static Answer escapeAnswer(MessageButtons buttons);

    static constexpr int kInputMaxLength = 255;

private:
    QString applicationTitle_ = QStringLiteral("Ravik");
};

} // namespace ravik
