#include "app/editor/SelectionModes.h"

#include <Qsci/qsciscintilla.h>

namespace ravik {
namespace {
using Sci = QsciScintillaBase;
}

SelectionModes::SelectionModes(QsciScintilla* editor) : editor_(editor) {}

void SelectionModes::setMode(Mode mode) {
    mode_ = mode;
    forget();
}

void SelectionModes::forget() {
    lineAnchor_ = lineCaret_ = setAnchor_ = setCaret_ = -1;
}

void SelectionModes::extend(const std::function<void()>& move) {
    const bool rectangular = editor_->SendScintilla(Sci::SCI_SELECTIONISRECTANGLE) != 0;
    long anchor = editor_->SendScintilla(Sci::SCI_GETANCHOR);
    long caret = editor_->SendScintilla(Sci::SCI_GETCURRENTPOS);
    if (rectangular) {
        anchor = editor_->SendScintilla(Sci::SCI_GETRECTANGULARSELECTIONANCHOR);
        caret = editor_->SendScintilla(Sci::SCI_GETRECTANGULARSELECTIONCARET);
    } else if (mode_ == Mode::Line && anchor == setAnchor_ && caret == setCaret_) {
        anchor = lineAnchor_;
        caret = lineCaret_;
    }
    editor_->SendScintilla(Sci::SCI_SETEMPTYSELECTION, caret);
    move();
    const long moved = editor_->SendScintilla(Sci::SCI_GETCURRENTPOS);
    switch (mode_) {
    case Mode::Normal:
        editor_->SendScintilla(Sci::SCI_SETSEL, anchor, moved);
        break;
    case Mode::Column:
        editor_->SendScintilla(Sci::SCI_SETRECTANGULARSELECTIONANCHOR, anchor);
        editor_->SendScintilla(Sci::SCI_SETRECTANGULARSELECTIONCARET, moved);
        break;
    case Mode::Line:
        selectLines(anchor, moved);
        break;
    }
    editor_->SendScintilla(Sci::SCI_SCROLLCARET);
    // QScintilla learns of selections set this way only when told.
    emit editor_->QSCN_SELCHANGED(editor_->SendScintilla(Sci::SCI_GETSELECTIONEMPTY) == 0);
}

// Whole lines from the anchor's line to the caret's, line breaks included; the
// visible caret stands at the edge on the caret's side.
void SelectionModes::selectLines(long anchor, long caret) {
    const long lineCount = editor_->SendScintilla(Sci::SCI_GETLINECOUNT);
    const long anchorLine = editor_->SendScintilla(Sci::SCI_LINEFROMPOSITION, anchor);
    const long caretLine = editor_->SendScintilla(Sci::SCI_LINEFROMPOSITION, caret);
    auto lineStart = [&](long line) {
        return line < lineCount ? editor_->SendScintilla(Sci::SCI_POSITIONFROMLINE, line)
                                : editor_->SendScintilla(Sci::SCI_GETLENGTH);
    };
    const bool down = caretLine >= anchorLine;
    setAnchor_ = down ? lineStart(anchorLine) : lineStart(anchorLine + 1);
    setCaret_ = down ? lineStart(caretLine + 1) : lineStart(caretLine);
    editor_->SendScintilla(Sci::SCI_SETSEL, setAnchor_, setCaret_);
    lineAnchor_ = anchor;
    lineCaret_ = caret;
}

} // namespace ravik
