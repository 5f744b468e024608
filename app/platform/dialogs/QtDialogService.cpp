#include "app/platform/dialogs/QtDialogService.h"

#include "app/platform/dialogs/InputBox.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

namespace ravik {
namespace {

// A message box that tells a click on its close box apart from a button; with
// escapeCloses, Escape closes it as the close box does. (Qt's box takes Escape and the
// close box only where it has an escape button, which then counts as clicked.)
class MessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool closed = false;
    bool escapeCloses = false;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (escapeCloses && event->matches(QKeySequence::Cancel)) {
            closed = true;
            QDialog::reject();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        closed = true;
        if (escapeCloses)
            QDialog::closeEvent(event);
        else
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

// Qt's own default suffix goes to every name without one, the proposed "config"
// too; ours is given by the request, and before the dialog closes, so that the save
// dialog asks about the file that will really be written.
class FileDialog : public QFileDialog {
public:
    FileDialog(QWidget* parent, const FileDialogRequest& request, AcceptMode mode)
        : QFileDialog(parent), request_(request) {
        setOption(QFileDialog::DontUseNativeDialog);
        setAcceptMode(mode);
        // The user may also name a file that does not exist yet.
        setFileMode(QFileDialog::AnyFile);
        setNameFilters(request.filters);
        // Before the name: in a save dialog a change of filter rewrites its suffix.
        selectNameFilter(request.filterForPreset());
        setSizeGripEnabled(true);
        if (!request.preset.isEmpty())
            selectFile(request.preset);
    }

    std::optional<QString> run() {
        if (exec() != QDialog::Accepted || selectedFiles().isEmpty())
            return std::nullopt;
        return selectedFiles().constFirst();
    }

protected:
    void accept() override {
        const QStringList named = selectedFiles();
        if (!named.isEmpty()) {
            const QString chosen = request_.chosenFile(named.constFirst());
            if (chosen != named.constFirst()) {
                // The name field is completed as the user typed it (selectFile() would
                // leave a field that has the focus alone).
                if (auto* feld = findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
                    feld->setText(feld->text() + chosen.mid(named.constFirst().size()));
                else
                    selectFile(chosen);
            }
        }
        QFileDialog::accept();
    }

private:
    const FileDialogRequest request_;
};

} // namespace

Answer QtDialogService::message(MessageKind kind, const QString& text, MessageButtons buttons) {
    MessageBox box(parent_);
    box.setWindowTitle(captionFor(kind));
    box.setIcon(iconFor(kind));
    box.setText(text);
    box.setTextFormat(Qt::PlainText);

    const bool yes = buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel ||
                     buttons == MessageButtons::YesNoDefaultNo ||
                     buttons == MessageButtons::YesNoEscapeCancels;
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
    box.escapeCloses = escapeAnswer(buttons) == Answer::Cancel && !cancelButton;
    if (!box.escapeCloses)
        box.setEscapeButton(cancelButton ? cancelButton : (noButton ? noButton : okButton));
    centreOnScreen(&box);
    box.exec();

    QAbstractButton* clicked = box.clickedButton();
    if (box.closed || !clicked)
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
    FileDialog dialog(parent_, request, QFileDialog::AcceptOpen);
    return dialog.run();
}

std::optional<QString> QtDialogService::saveFileName(const FileDialogRequest& request) {
    FileDialog dialog(parent_, request, QFileDialog::AcceptSave);
    return dialog.run();
}

std::optional<QColor> QtDialogService::chooseColor(const QColor& initial) {
    const QColor chosen = QColorDialog::getColor(initial, parent_);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

} // namespace ravik
