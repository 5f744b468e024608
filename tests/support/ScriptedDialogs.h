#pragma once

#include "app/platform/dialogs/DialogService.h"

#include <QList>
#include <QQueue>
#include <QStringList>
#include <variant>

namespace ravik::test {

// One dialog the program showed, as the user would have seen it.
struct ShownDialog {
    enum class Type { Message, Input, Open, Save, Color };
    Type type = Type::Message;
    MessageKind kind = MessageKind::Plain; // messages only
    MessageButtons buttons = MessageButtons::Ok;
    QString caption;                       // messages and input boxes
    QString text;                          // message text or input prompt
    QString preset;                        // file dialogs: proposed name
    QColor initialColor;                   // colour dialog
};

// A dialog service for tests: answers come from a queue that the test fills, every
// dialog shown is recorded. A dialog without a scripted answer is recorded as
// unexpected and cancelled, so the test can fail on it.
class ScriptedDialogs : public DialogService {
public:
    // A message box closed instead of answered.
    enum class Closed { ByEscape, ByCloseBox };
    using Reply =
        std::variant<Answer, Closed, QString, std::optional<QString>, std::optional<QColor>>;

    void answer(Answer a) { replies.enqueue(a); }
    // Escape answers as the box's buttons say (DialogService::escapeAnswer); the close
    // box answers cancel.
    void pressEscape() { replies.enqueue(Closed::ByEscape); }
    void closeBox() { replies.enqueue(Closed::ByCloseBox); }
    void type(const QString& text) { replies.enqueue(text); }           // input box
    void cancelInput() { replies.enqueue(QString()); }
    void chooseFile(const QString& path) { replies.enqueue(std::optional<QString>(path)); }
    void cancelFileDialog() { replies.enqueue(std::optional<QString>()); }
    void pickColor(const QColor& c) { replies.enqueue(std::optional<QColor>(c)); }
    void cancelColor() { replies.enqueue(std::optional<QColor>()); }

    Answer message(MessageKind kind, const QString& text, MessageButtons buttons) override;
    QString inputText(const QString& caption, const QString& prompt) override;
    std::optional<QString> openFileName(const FileDialogRequest& request) override;
    std::optional<QString> saveFileName(const FileDialogRequest& request) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;

    // Texts of all messages shown, in order.
    QStringList messageTexts() const;
    bool allAnswersUsed() const { return replies.isEmpty(); }
    void clear() { shown.clear(); replies.clear(); unexpected.clear(); }

    QList<ShownDialog> shown;
    QQueue<Reply> replies;
    QStringList unexpected; // dialogs that had no fitting scripted answer

private:
    template <typename T> std::optional<T> take(const QString& what);
};

} // namespace ravik::test
