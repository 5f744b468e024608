#include "app/editor/EditedLineTrimmer.h"

#include <Qsci/qsciscintilla.h>

namespace ravik {
namespace {
using Sci = QsciScintillaBase;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
} // namespace

EditedLineTrimmer::EditedLineTrimmer(QsciScintilla* editor, int markerNumber)
    : QObject(editor), editor_(editor), marker_(markerNumber) {
    editor_->markerDefine(QsciScintilla::Invisible, marker_);
    connect(editor_, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char*, int, int linesAdded, int, int, int, int,
                   int) { noteModification(position, type, linesAdded); });
}

void EditedLineTrimmer::forget() {
    editor_->SendScintilla(Sci::SCI_MARKERDELETEALL, marker_);
    anyMarked_ = false;
}

bool EditedLineTrimmer::isMarked(int line) const {
    return (editor_->SendScintilla(Sci::SCI_MARKERGET, line) & (1L << marker_)) != 0;
}

void EditedLineTrimmer::noteModification(int position, int type, int linesAdded) {
    if (suspended_ || !(type & Sci::SC_PERFORMED_USER) ||
        !(type & (Sci::SC_MOD_INSERTTEXT | Sci::SC_MOD_DELETETEXT)))
        return;
    const long first = editor_->SendScintilla(Sci::SCI_LINEFROMPOSITION, position);
    const long last = first + ((type & Sci::SC_MOD_INSERTTEXT) ? qMax(linesAdded, 0) : 0);
    for (long line = first; line <= last; ++line)
        if (!isMarked(int(line)))
            editor_->SendScintilla(Sci::SCI_MARKERADD, line, marker_);
    anyMarked_ = true;
}

void EditedLineTrimmer::trimLinesLeft() {
    if (!anyMarked_)
        return;
    const long caretLine = editor_->SendScintilla(Sci::SCI_LINEFROMPOSITION,
                                                  editor_->SendScintilla(Sci::SCI_GETCURRENTPOS));
    const long mask = 1L << marker_;
    bool grouped = false;
    bool caretLineMarked = false;
    for (long line = editor_->SendScintilla(Sci::SCI_MARKERNEXT, 0, mask); line >= 0;
         line = editor_->SendScintilla(Sci::SCI_MARKERNEXT, line + 1, mask)) {
        if (line == caretLine) {
            caretLineMarked = true;
            continue;
        }
        if (!grouped) {
            // The trim is an undo step of its own, never merged into typing.
            editor_->SendScintilla(Sci::SCI_BEGINUNDOACTION);
            grouped = true;
        }
        trimLine(line);
        editor_->SendScintilla(Sci::SCI_MARKERDELETE, line, marker_);
    }
    if (grouped)
        editor_->SendScintilla(Sci::SCI_ENDUNDOACTION);
    anyMarked_ = caretLineMarked;
}

void EditedLineTrimmer::trimLine(long line) {
    const long start = editor_->SendScintilla(Sci::SCI_POSITIONFROMLINE, line);
    const long end = editor_->SendScintilla(Sci::SCI_GETLINEENDPOSITION, line);
    long keep = end;
    while (keep > start && isBlank(char(editor_->SendScintilla(Sci::SCI_GETCHARAT, keep - 1))))
        --keep;
    if (keep == end)
        return;
    const bool was = suspended_;
    suspended_ = true;
    editor_->SendScintilla(Sci::SCI_DELETERANGE, keep, end - keep);
    suspended_ = was;
}

} // namespace ravik
