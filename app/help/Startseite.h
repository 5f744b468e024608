#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

namespace ravik {

// The panel the program starts with: the terms of use beside the two buttons that
// start the browser or the editor view.
class Startseite : public QWidget {
    Q_OBJECT
public:
    explicit Startseite(QWidget* parent);

    QPushButton& browserStarten() const { return *BitBtn3; }
    QPushButton& editorStarten() const { return *BitBtn2; }
    void nutzungsbedingungenZeigen(const QString& text);

private:
    QPlainTextEdit* Memo1 = nullptr;
    QPushButton* BitBtn3 = nullptr;
    QPushButton* BitBtn2 = nullptr;
};

} // namespace ravik
