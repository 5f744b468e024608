#pragma once

#include <QColor>
#include <QString>
#include <optional>

namespace ravik {

// The kinds of message box. Captions: "Warnung", "Fehler", "Informationen",
// "Bestätigung"; a plain message and the application's error box carry the
// application title.
enum class MessageKind { Warning, Error, Information, Confirmation, Plain, AppError };

// The button sets in use; buttons stand in the order "&Ja", "&Nein", "OK", "Abbrechen".
// YesNoDefaultNo: "&Ja" and "&Nein", with Enter on "&Nein" (for a question whose "&Ja"
// loses data).
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, YesNoDefaultNo };

enum class Answer { Yes, No, Ok, Cancel };

struct FileDialogRequest {
    QString preset;                                    // file name proposed
    QString filter = QStringLiteral("INI-Dateien (*.ini)");
    QString defaultSuffix = QStringLiteral("ini");
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

    // Open and save dialogs; nullopt when the user cancels. The save dialog asks
    // before it returns a file that exists already.
    virtual std::optional<QString> openFileName(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFileName(const FileDialogRequest& request) = 0;

    // The colour dialog; nullopt when the user cancels.
    virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;

    // The application title, the caption of plain messages and of the error box.
    void setApplicationTitle(const QString& title) { applicationTitle_ = title; }
    const QString& applicationTitle() const { return applicationTitle_; }

    QString captionFor(MessageKind kind) const;

    static constexpr int kInputMaxLength = 255;

private:
    QString applicationTitle_ = QStringLiteral("Ravik");
};

} // namespace ravik
