#pragma once

#include "core/platform/text/LineEnds.h"
#include "core/platform/text/TextCodec.h"

#include <QWidget>

class QLabel;

namespace ravik {

class SynMemo;

// The status line below the editor (`Statuszeile`): where the caret stands ("Zeile %d,
// Spalte %d", the column in characters), insert or overwrite mode ("EINF", "ÜB"), and
// the document's encoding and line-break style ("UTF-8 · CR LF"). It follows the
// editor by itself; the format is the document's and is told to it.
class Statuszeile : public QWidget {
    Q_OBJECT
public:
    Statuszeile(SynMemo& editor, QWidget* parent);

    void formatSetzen(TextEncoding kodierung, EolStyle zeilenende);

    static QString zeilenendeName(EolStyle zeilenende);

private:
    void aktualisieren();

    SynMemo& editor_;
    QLabel* position_;
    QLabel* modus_;
    QLabel* format_;
};

} // namespace ravik
