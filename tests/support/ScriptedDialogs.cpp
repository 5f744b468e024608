#include "tests/support/ScriptedDialogs.h"

namespace ravik::test {

template <typename T> std::optional<T> ScriptedDialogs::take(const QString& what) {
    if (replies.isEmpty() || !std::holds_alternative<T>(replies.head())) {
        unexpected.append(what);
        return std::nullopt;
    }
    return std::get<T>(replies.dequeue());
}

Answer ScriptedDialogs::message(MessageKind kind, const QString& text, MessageButtons buttons) {
    ShownDialog d;
    d.type = ShownDialog::Type::Message;
    d.kind = kind;
    d.buttons = buttons;
    d.caption = captionFor(kind);
    d.text = text;
    shown.append(d);
    if (!replies.isEmpty() && std::holds_alternative<Closed>(replies.head()))
        return std::get<Closed>(replies.dequeue()) == Closed::ByEscape ? escapeAnswer(buttons)
                                                                       : Answer::Cancel;
    // A box with only "OK" needs no script: it can only be acknowledged.
    if (buttons == MessageButtons::Ok &&
        (replies.isEmpty() || !std::holds_alternative<Answer>(replies.head())))
        return Answer::Ok;
    return take<Answer>(QStringLiteral("message: ") + text).value_or(Answer::Cancel);
}

QString ScriptedDialogs::inputText(const QString& caption, const QString& prompt) {
    ShownDialog d;
    d.type = ShownDialog::Type::Input;
    d.caption = caption;
    d.text = prompt;
    shown.append(d);
    // The real box takes at most 255 characters.
    return take<QString>(QStringLiteral("input: ") + caption).value_or(QString()).left(kInputMaxLength);
}

std::optional<QString> ScriptedDialogs::openFileName(const FileDialogRequest& request) {
    ShownDialog d;
    d.type = ShownDialog::Type::Open;
    d.preset = request.preset;
    shown.append(d);
    return take<std::optional<QString>>(QStringLiteral("open dialog")).value_or(std::nullopt);
}

std::optional<QString> ScriptedDialogs::saveFileName(const FileDialogRequest& request) {
    ShownDialog d;
    d.type = ShownDialog::Type::Save;
    d.preset = request.preset;
    shown.append(d);
    return take<std::optional<QString>>(QStringLiteral("save dialog")).value_or(std::nullopt);
}

std::optional<QColor> ScriptedDialogs::chooseColor(const QColor& initial) {
    ShownDialog d;
    d.type = ShownDialog::Type::Color;
    d.initialColor = initial;
    shown.append(d);
    return take<std::optional<QColor>>(QStringLiteral("colour dialog")).value_or(std::nullopt);
}

QStringList ScriptedDialogs::messageTexts() const {
    QStringList texts;
    for (const ShownDialog& d : shown)
        if (d.type == ShownDialog::Type::Message)
            texts.append(d.text);
    return texts;
}

} // namespace ravik::test
