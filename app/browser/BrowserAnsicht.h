#pragma once

#include <QWidget>

class QCheckBox;

namespace ravik {

class Detailpanel;
class IniBaum;
class Werbebereich;

// The browser view (`panelBrowser`): the tree of sections and keys on the left; on the
// right the detail panel, the promotional area and the backup box.
class BrowserAnsicht : public QWidget {
    Q_OBJECT
public:
    explicit BrowserAnsicht(QWidget* parent);

    IniBaum& baum() { return *baum_; }
    Detailpanel& detail() { return *detail_; }
    Werbebereich& werbung() { return *werbung_; }
    QCheckBox& sicherheitskopie() { return *sicherheitskopie_; }

private:
    IniBaum* baum_;
    Detailpanel* detail_;
    Werbebereich* werbung_;
    QCheckBox* sicherheitskopie_;
};

} // namespace ravik
