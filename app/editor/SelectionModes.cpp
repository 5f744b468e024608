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

void SelectionModes::mousePressed() {
    // A plain press leaves the anchor at the caret, a press with Shift where it was.
    mouseAnchor_ = mode_ == Mode::Normal ? -1 : editor_->SendScintilla(Sci::SCI_GETANCHOR);
    if (mode_ == Mode::Line) // a click takes its line
        selectFromMouseAnchor(editor_->SendScintilla(Sci::SCI_GETCURRENTPOS));
}

void SelectionModes::mouseDragged(QPoint at) {
    if (mode_ == Mode::Normal || mouseAnchor_ < 0)
        return;
    // Where the mouse is, not where the editor's drag has got to: the editor's own
    // drag does not always follow a selection set by hand.
    selectFromMouseAnchor(editor_->SendScintilla(Sci::SCI_POSITIONFROMPOINT, at.x(), at.y()));
}

void SelectionModes::mouseReleased(QPoint at) {
    mouseDragged(at);
    mouseAnchor_ = -1;
}

void SelectionModes::selectFromMouseAnchor(long caret) {
    if (mode_ == Mode::Column) {
        editor_->SendScintilla(Sci::SCI_SETRECTANGULARSELECTIONANCHOR, mouseAnchor_);
        editor_->SendScintilla(Sci::SCI_SETRECTANGULARSELECTIONCARET, caret);
    } else {
        selectLines(mouseAnchor_, caret);
    }
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
