#include "app/editor/CaretPosition.h"

#include <Qsci/qsciscintillabase.h>

namespace ravik {
namespace {
using Sci = QsciScintillaBase;

// The buffer is UTF-8: every byte but a continuation byte starts a character.
long countCharacters(const char* bytes, long length) {
    long count = 0;
    for (long i = 0; i < length; ++i)
        count += (static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80;
    return count;
}
} // namespace

CaretPosition::CaretPosition(QsciScintillaBase* editor) : QObject(editor), editor_(editor) {
    connect(editor_, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char*, int length, int, int, int, int, int, int) {
                noteModification(position, type, length);
            });
}

long CaretPosition::countInText(long from, long to) const {
    if (to <= from)
        return 0;
    // A range in front of the gap of Scintilla's buffer (where the last edit was) is
    // read where it lies; one across the gap moves the gap to its end.
    const auto* bytes = reinterpret_cast<const char*>(editor_->SendScintilla(
        Sci::SCI_GETRANGEPOINTER, static_cast<unsigned long>(from), to - from));
    return bytes ? countCharacters(bytes, to - from) : 0;
}

CaretPosition::LineColumn CaretPosition::current() {
    const long position = editor_->SendScintilla(Sci::SCI_GETCURRENTPOS);
    const long line = editor_->SendScintilla(Sci::SCI_LINEFROMPOSITION, position);
    const long lineStart = editor_->SendScintilla(Sci::SCI_POSITIONFROMLINE, line);
    if (lineStart != lineStart_ ||
        (position < position_ && position_ - position > position - lineStart))
        characters_ = countInText(lineStart, position);
    else if (position >= position_)
        characters_ += countInText(position_, position);
    else
        characters_ -= countInText(position, position_);
    lineStart_ = lineStart;
    position_ = position;
    return {line + 1, characters_ + 1};
}

// Only a deletion inside the counted bytes (Backspace, Ctrl+Backspace) keeps the
// count; any other change in front of the counted position drops it, and current()
// counts again from the line's start.
void CaretPosition::noteModification(long position, int type, long length) {
    if (lineStart_ < 0 || position >= position_)
        return; // the counted bytes stay as they are
    if ((type & Sci::SC_MOD_BEFOREDELETE) && position >= lineStart_ &&
        position + length <= position_) {
        characters_ -= countInText(position, position + length); // still in the text
        position_ -= length;
    } else {
        lineStart_ = -1;
    }
}

} // namespace ravik
