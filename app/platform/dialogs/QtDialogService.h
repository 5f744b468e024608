#pragma once

#include "app/platform/dialogs/DialogService.h"

class QWidget;

namespace ravik {

// The real dialogs: Qt's message box, file and colour dialogs, and our input box.
class QtDialogService : public DialogService {
public:
    explicit QtDialogService(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    Answer message(MessageKind kind, const QString& text, MessageButtons buttons) override;
    QString inputText(const QString& caption, const QString& prompt) override;
    std::optional<QString> openFileName(const FileDialogRequest& request) override;
    std::optional<QString> saveFileName(const FileDialogRequest& request) override;
    std::optional<QColor> chooseColor(const QColor& initial) override;

private:
    QWidget* parent_;
};

} // namespace ravik
