#pragma once

#include <QObject>
#include <QRect>
#include <QTimer>

class QPainter;
class QsciScintilla;

namespace ravik {

// The caret is a bar in insert mode and a block in overwrite mode. QScintilla draws
// only a thin bar under the character while overwriting, so there its caret is
// hidden and the block is painted here, inverting the character under it.
class OverwriteCaret : public QObject {
    Q_OBJECT
public:
    explicit OverwriteCaret(QsciScintilla* editor);

    // Follows the overwrite mode and restarts the blink; call after anything that may
    // have toggled the mode or moved the caret.
    void sync();

    // Paints the block after the editor has painted its text.
    void paint(QPainter& painter);

    // Where the block stands (empty in insert mode).
    QRect blockRect() const;

private:
    void blink();

    QsciScintilla* editor_;
    QTimer blinkTimer_;
    bool blockMode_ = false;
    bool blinkOn_ = true;
    QRect painted_;
};

} // namespace ravik
