#include "app/platform/dialogs/QtDialogService.h"

#include "app/platform/dialogs/InputBox.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace ravik {
namespace {

// A message box that tells a click on its close box apart from a button.
class MessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool closedByCloseBox = false;

protected:
    void closeEvent(QCloseEvent* event) override {
        closedByCloseBox = true;
        QMessageBox::closeEvent(event);
    }
};

QMessageBox::Icon iconFor(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
    case MessageKind::AppError:
        return QMessageBox::Critical;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    case MessageKind::Plain:
        break;
    }
    return QMessageBox::NoIcon;
}

void centreOnScreen(QWidget* dialog) {
    dialog->adjustSize();
    if (QScreen* screen = dialog->screen())
        dialog->move(screen->availableGeometry().center() - dialog->rect().center());
}

QFileDialog* makeFileDialog(QWidget* parent, const FileDialogRequest& request) {
    auto* dialog = new QFileDialog(parent);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setNameFilter(request.filter);
    dialog->setDefaultSuffix(request.defaultSuffix);
    dialog->setSizeGripEnabled(true);
    if (!request.preset.isEmpty())
        dialog->selectFile(request.preset);
    return dialog;
}

} // namespace

Answer QtDialogService::message(MessageKind kind, const QString& text, MessageButtons buttons) {
    MessageBox box(parent_);
    box.setWindowTitle(captionFor(kind));
    box.setIcon(iconFor(kind));
    box.setText(text);
    box.setTextFormat(Qt::PlainText);

    const bool yes = buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ||
                     buttons == MessageButtons::YesNoDefaultNo;
    const bool ok = buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel;
    const bool cancel = buttons == MessageButtons::OkCancel || buttons == MessageButtons::YesNoCancel;
    // One role for all, so the buttons keep this left-to-right order on every desktop.
    QPushButton* yesButton = yes ? box.addButton(QStringLiteral("&Ja"), QMessageBox::ActionRole) : nullptr;
    QPushButton* noButton = yes ? box.addButton(QStringLiteral("&Nein"), QMessageBox::ActionRole) : nullptr;
    QPushButton* okButton = ok ? box.addButton(QStringLiteral("OK"), QMessageBox::ActionRole) : nullptr;
    QPushButton* cancelButton =
        cancel ? box.addButton(QStringLiteral("Abbrechen"), QMessageBox::ActionRole) : nullptr;

    box.setDefaultButton(
        okButton ? okButton : (buttons == MessageButtons::YesNoDefaultNo ? noButton : yesButton));
    box.setEscapeButton(cancelButton ? cancelButton : (noButton ? noButton : okButton));
    centreOnScreen(&box);
    box.exec();

    QAbstractButton* clicked = box.clickedButton();
    if (box.closedByCloseBox || !clicked)
        return Answer::Cancel;
    if (clicked == yesButton)
        return Answer::Yes;
    if (clicked == noButton)
        return Answer::No;
    if (clicked == okButton)
        return Answer::Ok;
    return Answer::Cancel;
}

QString QtDialogService::inputText(const QString& caption, const QString& prompt) {
    InputBox box(caption, prompt, kInputMaxLength, parent_);
    centreOnScreen(&box);
    return box.exec() == QDialog::Accepted ? box.text() : QString();
}

std::optional<QString> QtDialogService::openFileName(const FileDialogRequest& request) {
    std::unique_ptr<QFileDialog> dialog(makeFileDialog(parent_, request));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    // The user may type the name of a file that does not exist yet.
    dialog->setFileMode(QFileDialog::AnyFile);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles().constFirst();
}

std::optional<QString> QtDialogService::saveFileName(const FileDialogRequest& request) {
    std::unique_ptr<QFileDialog> dialog(makeFileDialog(parent_, request));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return std::nullopt;
    return dialog->selectedFiles().constFirst();
}

std::optional<QColor> QtDialogService::chooseColor(const QColor& initial) {
    const QColor chosen = QColorDialog::getColor(initial, parent_);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

} // namespace ravik
