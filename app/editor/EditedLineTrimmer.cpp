#include "app/editor/EditedLineTrimmer.h"

#include <QHashFunctions>
#include <Qsci/qsciscintilla.h>
#include <algorithm>
#include <vector>

namespace ravik {
namespace {
using Sci = QsciScintillaBase;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

size_t hashOf(const char* text, long length) {
    return qHashBits(text, size_t(length), 0x9e3779b97f4a7c15u);
}
} // namespace

const int EditedLineTrimmer::kModificationEvents =
    Sci::SC_MOD_BEFOREINSERT | Sci::SC_MOD_BEFOREDELETE;

EditedLineTrimmer::EditedLineTrimmer(QsciScintilla* editor, int markerNumber)
    : QObject(editor), editor_(editor), touched_(markerNumber) {
    editor_->markerDefine(QsciScintilla::Invisible, touched_);
    connect(editor_, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int position, int type, const char*, int length, int, int, int, int, int, int) {
                noteModification(position, type, length);
            });
}

void EditedLineTrimmer::forget() {
    pendingPosition_ = -1;
    editor_->SendScintilla(Sci::SCI_MARKERDELETEALL, touched_);
    anyMarked_ = false;
    rememberedLines_.clear();
    remembered_ = false;
}

void EditedLineTrimmer::rememberText() {
    markPendingInsertion();
    if (remembered_)
        return; // nothing changed since
    const auto* text =
        static_cast<const char*>(editor_->SendScintillaPtrResult(Sci::SCI_GETCHARACTERPOINTER));
    const long length = editor_->SendScintilla(Sci::SCI_GETLENGTH);
    // A line the user changed and the trim has not reached yet stays a changed one.
    const long touched = 1L << touched_;
    const auto stillChanged = [&](long line) {
        return anyMarked_ && (editor_->SendScintilla(Sci::SCI_MARKERGET, line) & touched) &&
               !isAsRemembered(line);
    };
    QSet<size_t> remembered; // the lines with blanks at the end
    long line = 0;
    long lineStart = 0;
    // Scintilla's own line ends: CR LF, LF, CR.
    for (long i = 0;; ++i) {
        const bool atEnd = i == length;
        const char c = atEnd ? '\n' : text[i];
        if (c != '\n' && c != '\r')
            continue;
        if (i > lineStart && isBlank(text[i - 1]) && !stillChanged(line))
            remembered.insert(hashOf(text + lineStart, i - lineStart));
        if (atEnd)
            break;
        if (c == '\r' && i + 1 < length && text[i + 1] == '\n')
            ++i;
        ++line;
        lineStart = i + 1;
    }
    rememberedLines_.swap(remembered);
    remembered_ = true;
}

void EditedLineTrimmer::rememberLine(long line) {
    markPendingInsertion();
    const long start = editor_->SendScintilla(Sci::SCI_POSITIONFROMLINE, line);
    const long end = editor_->SendScintilla(Sci::SCI_GETLINEENDPOSITION, line);
    if (trailingBlanksStart(line) < 0)
        return;
    rememberedLines_.insert(lineHash(start, end));
}

bool EditedLineTrimmer::isChanged(int line) const {
    markPendingInsertion();
    return (editor_->SendScintilla(Sci::SCI_MARKERGET, line) & (1L << touched_)) != 0 &&
           !isAsRemembered(line);
}

size_t EditedLineTrimmer::lineHash(long start, long end) const {
    const auto* text = reinterpret_cast<const char*>(editor_->SendScintilla(
        Sci::SCI_GETRANGEPOINTER, static_cast<unsigned long>(start), end - start));
    return hashOf(text, end - start);
}

bool EditedLineTrimmer::isAsRemembered(long line) const {
    if (rememberedLines_.isEmpty())
        return false;
    const long start = editor_->SendScintilla(Sci::SCI_POSITIONFROMLINE, line);
    const long end = editor_->SendScintilla(Sci::SCI_GETLINEENDPOSITION, line);
    return rememberedLines_.contains(lineHash(start, end));
}

void EditedLineTrimmer::mark(long line) const {
    if (!(editor_->SendScintilla(Sci::SCI_MARKERGET, line) & (1L << touched_)))
        editor_->SendScintilla(Sci::SCI_MARKERADD, line, touched_);
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
        // Undo or redo put blanks back at a line's end: whether they stay is judged by
        // the line's text, as for the user's own edits.
        mark(last);
    }
}

void EditedLineTrimmer::noteModification(int position, int type, int length) {
    markPendingInsertion();
    remembered_ = false;
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
    const long mask = 1L << touched_;
    bool grouped = false;
    bool caretLineMarked = false;
    for (long line = editor_->SendScintilla(Sci::SCI_MARKERNEXT, 0, mask); line >= 0;
         line = editor_->SendScintilla(Sci::SCI_MARKERNEXT, line + 1, mask)) {
        if (std::binary_search(caretLines.begin(), caretLines.end(), line)) {
            caretLineMarked = true;
            continue;
        }
        editor_->SendScintilla(Sci::SCI_MARKERDELETE, line, touched_);
        const long blanks = trailingBlanksStart(line);
        if (blanks < 0 || isAsRemembered(line))
            continue;
        if (!grouped) {
            // The trim is an undo step of its own unless the edit that caused it has
            // opened one.
            editor_->SendScintilla(Sci::SCI_BEGINUNDOACTION);
            grouped = true;
        }
        const bool was = suspended_;
        suspended_ = true;
        editor_->SendScintilla(Sci::SCI_DELETERANGE, blanks,
                               editor_->SendScintilla(Sci::SCI_GETLINEENDPOSITION, line) - blanks);
        suspended_ = was;
    }
    if (grouped)
        editor_->SendScintilla(Sci::SCI_ENDUNDOACTION);
    anyMarked_ = caretLineMarked;
}

long EditedLineTrimmer::trailingBlanksStart(long line) const {
    const long start = editor_->SendScintilla(Sci::SCI_POSITIONFROMLINE, line);
    const long end = editor_->SendScintilla(Sci::SCI_GETLINEENDPOSITION, line);
    long keep = end;
    while (keep > start && isBlank(char(editor_->SendScintilla(Sci::SCI_GETCHARAT, keep - 1))))
        --keep;
    return keep == end ? -1 : keep;
}

} // namespace ravik
