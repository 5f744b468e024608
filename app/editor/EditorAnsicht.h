#pragma once

#include <QWidget>

class QCheckBox;

namespace ravik {

class SynMemo;
class Werbebereich;

// The editor view (`panelEditor`): the text editor on the left; on the right the
// promotional area and the backup box.
class EditorAnsicht : public QWidget {
    Q_OBJECT
public:
    explicit EditorAnsicht(QWidget* parent);

    SynMemo& editor() { return *editor_; }
    Werbebereich& werbung() { return *werbung_; }
    QCheckBox& sicherheitskopie() { return *sicherheitskopie_; }

private:
    SynMemo* editor_;
    Werbebereich* werbung_;
    QCheckBox* sicherheitskopie_;
};

} // namespace ravik
