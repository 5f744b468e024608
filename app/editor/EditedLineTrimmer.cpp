#include "app/editor/EditedLineTrimmer.h"

#include <Qsci/qsciscintilla.h>
#include <algorithm>
#include <vector>

namespace ravik {
namespace {
using Sci = QsciScintillaBase;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
} // namespace

const int EditedLineTrimmer::kModificationEvents =
    Sci::SC_MOD_BEFOREINSERT | Sci::SC_MOD_BEFOREDELETE;

EditedLineTrimmer::EditedLineTrimmer(QsciScintilla* editor, int markerNumber)
    : QObject(editor), editor_(editor), marker_(markerNumber) {
    editor_->markerDefine(QsciScintilla::Invisible, marker_);
    connect(editor_, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char*, int length, int, int, int, int, int, int) {
                noteModification(position, type, length);
            });
}

void EditedLineTrimmer::forget() {
    pendingPosition_ = -1;
    editor_->SendScintilla(Sci::SCI_MARKERDELETEALL, marker_);
    anyMarked_ = false;
}

bool EditedLineTrimmer::isMarked(int line) const {
    markPendingInsertion();
    return (editor_->SendScintilla(Sci::SCI_MARKERGET, line) & (1L << marker_)) != 0;
}

void EditedLineTrimmer::mark(long line) const {
    if (!(editor_->SendScintilla(Sci::SCI_MARKERGET, line) & (1L << marker_)))
        editor_->SendScintilla(Sci::SCI_MARKERADD, line, marker_);
    anyMarked_ = true;
}

void EditedLineTrimmer::markPendingInsertion() const {
    if (pendingPosition_ < 0)
        return;
    const long end = pendingPosition_ + pendingLength_;
    const long first = editor_->SendScintilla(Sci::SCI_LINEFROMPOSITION, pendingPosition_);
    const long last = editor_->SendScintilla(Sci::SCI_LINEFROMPOSITION, end);
    pendingPosition_ = -1;
    if (pendingByUser_) {
        for (long line = first; line <= last; ++line)
            mark(line);
    } else if (end == editor_->SendScintilla(Sci::SCI_GETLINEENDPOSITION, last) &&
               isBlank(char(editor_->SendScintilla(Sci::SCI_GETCHARAT, end - 1)))) {
        mark(last);
    }
}

void EditedLineTrimmer::noteModification(int position, int type, int length) {
    markPendingInsertion();
    if (suspended_)
        return;
    const bool byUser = type & Sci::SC_PERFORMED_USER;
    if (type & Sci::SC_MOD_BEFOREINSERT) {
        pendingPosition_ = position;
        pendingLength_ = length;
        pendingByUser_ = byUser;
    } else if ((type & Sci::SC_MOD_BEFOREDELETE) && byUser) {
        // What remains of the lines joined by a deletion is the first one's.
        mark(editor_->SendScintilla(Sci::SCI_LINEFROMPOSITION, position));
    }
}

void EditedLineTrimmer::trimLinesLeft() {
    trimMarked(true);
}

void EditedLineTrimmer::trimAll() {
    trimMarked(false);
}

void EditedLineTrimmer::trimMarked(bool keepCaretLines) {
    markPendingInsertion();
    if (!anyMarked_)
        return;
    // Typing over a column selection leaves a caret on each of its lines.
    std::vector<long> caretLines;
    if (keepCaretLines) {
        const long selections = editor_->SendScintilla(Sci::SCI_GETSELECTIONS);
        for (long i = 0; i < selections; ++i)
            caretLines.push_back(editor_->SendScintilla(
                Sci::SCI_LINEFROMPOSITION, editor_->SendScintilla(Sci::SCI_GETSELECTIONNCARET, i)));
        std::sort(caretLines.begin(), caretLines.end());
    }
    const long mask = 1L << marker_;
    bool grouped = false;
    bool caretLineMarked = false;
    for (long line = editor_->SendScintilla(Sci::SCI_MARKERNEXT, 0, mask); line >= 0;
         line = editor_->SendScintilla(Sci::SCI_MARKERNEXT, line + 1, mask)) {
        if (std::binary_search(caretLines.begin(), caretLines.end(), line)) {
            caretLineMarked = true;
            continue;
        }
        if (!grouped) {
            // The trim is an undo step of its own unless the edit that caused it has
            // opened one.
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
