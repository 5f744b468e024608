#pragma once

#include <QWidget>

class QCheckBox;
class QPlainTextEdit;

namespace ravik {

class Detailpanel;
class IniBaum;
class Suchfeld;
class Seitenteiler;
class Werbebereich;

// The browser view (`panelBrowser`): the search field above the tree of sections and
// keys on the left; on the right the detail panel with the comment of the selected
// entry below it, the promotional area and the backup box.
class BrowserAnsicht : public QWidget {
    Q_OBJECT
public:
    explicit BrowserAnsicht(QWidget* parent);

    IniBaum& baum() { return *baum_; }
    Suchfeld& suche() { return *suche_; }
    QPlainTextEdit& kommentar() { return *kommentar_; }
    Detailpanel& detail() { return *detail_; }
    Werbebereich& werbung() { return *werbung_; }
    QCheckBox& sicherheitskopie() { return *sicherheitskopie_; }
    // "Auskommentierte zeigen": the tree shows the keys the file has switched off.
    QCheckBox& auskommentierte() { return *auskommentierte_; }
    // The tree and the detail side, parted where the user dragged the line.
    Seitenteiler& teiler() { return *teiler_; }

    // Filters the tree by the text (IniBaum::filtern); true when the selection moved.
    bool suchen(const QString& text);
    void kommentarZeigen(const QString& text);
    void sucheFokussieren();

private:
    Suchfeld* suche_;
    IniBaum* baum_;
    QPlainTextEdit* kommentar_;
    Detailpanel* detail_;
    Werbebereich* werbung_;
    QCheckBox* sicherheitskopie_;
    QCheckBox* auskommentierte_;
    Seitenteiler* teiler_;
};

} // namespace ravik
