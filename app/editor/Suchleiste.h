#pragma once

#include "app/editor/TextSearch.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ravik {

class SynMemo;

// The find bar at the bottom of the editor view (`sucheEditor`): the search text with
// the options case and whole word, the replacement with "Ersetzen" and "Alle ersetzen",
// and a line that says what the last search found. Hidden until Ctrl+F or F3; Escape
// closes it and returns to the editor. It keeps its texts while hidden, so F3 repeats
// the last search.
class Suchleiste : public QWidget {
    Q_OBJECT
public:
    Suchleiste(SynMemo& editor, QWidget* parent);

    // Ctrl+F: the bar shows with the search field focused and its text selected; a
    // selection within one line of the editor becomes the search text.
    void oeffnen();
    // F3 and Shift+F3: the next or the previous match of the search text. The bar
    // shows (the focus stays where it is); with no search text it opens.
    void weitersuchen(bool vorwaerts);
    // The match selected in the editor is replaced, then the next one selected.
    void ersetzen();
    void alleErsetzen();
    void schliessen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    SearchOptions optionen() const;
    void ergebnisMelden(FindResult ergebnis, bool vorwaerts);
    void melden(const QString& text, bool fehler = false);
    void knoepfeAktivieren();

    SynMemo& editor_;
    QLineEdit* suchtext_;
    QLineEdit* ersetzung_;
    QCheckBox* grossKlein_;
    QCheckBox* ganzesWort_;
    QLabel* meldung_;
    QPushButton* vorige_;
    QPushButton* naechste_;
    QPushButton* ersetzen_;
    QPushButton* alleErsetzen_;
};

} // namespace ravik
