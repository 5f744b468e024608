#pragma once

#include "core/document/Textquelle.h"
#include "core/platform/text/LineEnds.h"
#include "core/platform/text/TextCodec.h"

#include <QWidget>

class QCheckBox;

namespace ravik {

class Statuszeile;
class Suchleiste;
class SynMemo;
class Seitenteiler;
class Werbebereich;

// The editor view (`panelEditor`): on the left the text editor with the find bar and
// the status line below it; on the right the promotional area and the backup box.
// Ctrl+F, F3 and Shift+F3 act while the view is shown. Its text is the document's
// while the view is current (Textquelle).
class EditorAnsicht : public QWidget, public Textquelle {
    Q_OBJECT
public:
    explicit EditorAnsicht(QWidget* parent);

    SynMemo& editor() { return *editor_; }
    Werbebereich& werbung() { return *werbung_; }
    QCheckBox& sicherheitskopie() { return *sicherheitskopie_; }
    Suchleiste& suche() { return *suche_; }
    // The text and the side panel, parted where the user dragged the line.
    Seitenteiler& teiler() { return *teiler_; }

    // The document's encoding and line-break style: the editor breaks lines with the
    // style, the status line shows both. The window calls it whenever the document
    // gets them (open, new document, switch to this view).
    void dateiformatSetzen(TextEncoding kodierung, EolStyle zeilenende);

    QByteArrayView aktuellerText() override;
    void textAendern(const QByteArray& utf8) override;
    void textSetzen(const Quelle& quelle, qsizetype bytes) override;
    qint64 groessteDatei() const override;
    qint64 laengsteZeile() const override;

private:
    void tastenkuerzelAnlegen();

    SynMemo* editor_;
    Suchleiste* suche_;
    Statuszeile* statuszeile_;
    Werbebereich* werbung_;
    QCheckBox* sicherheitskopie_;
    Seitenteiler* teiler_;
};

} // namespace ravik
