#pragma once

#include <QDialog>

class QLineEdit;

namespace ravik {

// The input box: caption, word-wrapped prompt, one field that starts empty,
// "OK" (Enter) and "Abbrechen" (Escape), fixed size.
class InputBox : public QDialog {
    Q_OBJECT
public:
    InputBox(const QString& caption, const QString& prompt, int maxLength, QWidget* parent = nullptr);
    QString text() const;

private:
    QLineEdit* field_;
};

} // namespace ravik
