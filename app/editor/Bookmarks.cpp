#include "app/editor/Bookmarks.h"

#include <Qsci/qsciscintilla.h>

namespace ravik {
namespace {
using Sci = QsciScintillaBase;
}

Bookmarks::Bookmarks(QsciScintilla* editor, int firstMarker)
    : editor_(editor), firstMarker_(firstMarker) {
    handles_.fill(-1);
    for (int i = 0; i < kCount; ++i)
        editor_->markerDefine(QsciScintilla::Invisible, firstMarker_ + i);
}

void Bookmarks::set(int index) {
    if (index < 0 || index >= kCount)
        return;
    const long caret = editor_->SendScintilla(Sci::SCI_GETCURRENTPOS);
    const long line = editor_->SendScintilla(Sci::SCI_LINEFROMPOSITION, caret);
    if (handles_[index] >= 0)
        editor_->markerDeleteHandle(handles_[index]);
    handles_[index] = editor_->markerAdd(int(line), firstMarker_ + index);
    columns_[index] = editor_->SendScintilla(Sci::SCI_GETCOLUMN, caret);
}

bool Bookmarks::go(int index) {
    const int target = line(index);
    if (target < 0)
        return false;
    // The column is a display column; a shorter line puts the caret at its end.
    const long position = editor_->SendScintilla(Sci::SCI_FINDCOLUMN, target, columns_[index]);
    editor_->SendScintilla(Sci::SCI_GOTOPOS, position);
    editor_->SendScintilla(Sci::SCI_CHOOSECARETX);
    return true;
}

int Bookmarks::line(int index) const {
    if (index < 0 || index >= kCount || handles_[index] < 0)
        return -1;
    return editor_->markerLine(handles_[index]);
}

void Bookmarks::clear() {
    for (int i = 0; i < kCount; ++i)
        editor_->SendScintilla(Sci::SCI_MARKERDELETEALL, firstMarker_ + i);
    handles_.fill(-1);
    columns_.fill(0);
}

} // namespace ravik
