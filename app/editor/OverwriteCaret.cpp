#include "app/editor/OverwriteCaret.h"

#include <QPainter>
#include <Qsci/qsciscintilla.h>

namespace ravik {
namespace {
using Sci = QsciScintillaBase;
}

OverwriteCaret::OverwriteCaret(QsciScintilla* editor) : QObject(editor), editor_(editor) {
    connect(&blinkTimer_, &QTimer::timeout, this, &OverwriteCaret::blink);
    editor_->SendScintilla(Sci::SCI_SETCARETSTYLE, Sci::CARETSTYLE_LINE);
}

void OverwriteCaret::sync() {
    const bool overwrite = editor_->overwriteMode();
    if (overwrite != blockMode_) {
        blockMode_ = overwrite;
        editor_->SendScintilla(Sci::SCI_SETCARETSTYLE,
                               overwrite ? Sci::CARETSTYLE_INVISIBLE : Sci::CARETSTYLE_LINE);
    }
    blinkOn_ = true;
    const long period = editor_->SendScintilla(Sci::SCI_GETCARETPERIOD);
    if (blockMode_ && editor_->hasFocus() && period > 0)
        blinkTimer_.start(int(period));
    else
        blinkTimer_.stop();
    editor_->viewport()->update(painted_.united(blockRect()));
}

void OverwriteCaret::blink() {
    if (!blockMode_ || !editor_->hasFocus()) {
        blinkTimer_.stop();
        blinkOn_ = true;
    } else {
        blinkOn_ = !blinkOn_;
    }
    editor_->viewport()->update(painted_.united(blockRect()));
}

QRect OverwriteCaret::blockRect() const {
    if (!blockMode_)
        return {};
    const long caret = editor_->SendScintilla(Sci::SCI_GETCURRENTPOS);
    const long line = editor_->SendScintilla(Sci::SCI_LINEFROMPOSITION, caret);
    const int x = int(editor_->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0, caret));
    const int y = int(editor_->SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0, caret));
    const int height = int(editor_->SendScintilla(Sci::SCI_TEXTHEIGHT, line));
    int width = 0;
    if (caret < editor_->SendScintilla(Sci::SCI_GETLINEENDPOSITION, line)) {
        const long next = editor_->SendScintilla(Sci::SCI_POSITIONAFTER, caret);
        width = int(editor_->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0, next)) - x;
    }
    if (width <= 0) // at the line end: one blank wide
        width = int(editor_->SendScintilla(Sci::SCI_TEXTWIDTH, Sci::STYLE_DEFAULT, " "));
    return QRect(x, y, qMax(width, 1), qMax(height, 1));
}

void OverwriteCaret::paint(QPainter& painter) {
    const QRect block = blockRect();
    if (block != painted_ && !painted_.isNull())
        editor_->viewport()->update(painted_); // the old block still shows there
    painted_ = block;
    if (block.isNull() || !blinkOn_ || !editor_->hasFocus())
        return;
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.fillRect(block, Qt::white);
}

} // namespace ravik
