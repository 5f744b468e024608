#pragma once

#include <QLineEdit>

namespace ravik {

// A field of the detail panel. Enabled and disabled fields carry the window and the
// button-face colour explicitly, so a disabled field never looks editable.
class DetailFeld : public QLineEdit {
    Q_OBJECT
public:
    DetailFeld(const QString& name, bool allesMarkierenBeiFokus, QWidget* parent);

    // Enables or disables the field together with its colour.
    void setFreigegeben(bool freigegeben);

signals:
    // Enter was typed: the window moves the focus on.
    void enterGedrueckt();
    // A key that would change the text was typed while the field is read-only: whoever
    // makes the field editable now lets the key take effect.
    void bearbeitungVersucht();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool allesMarkierenBeiFokus_;
    bool farbeGesetzt_ = false;
};

} // namespace ravik
