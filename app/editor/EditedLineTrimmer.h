#pragma once

#include <QObject>
#include <QSet>

class QsciScintilla;

namespace ravik {

// Removes the trailing spaces and tabs of a line the user changed once the caret has
// left it, and of every changed line when the text is stored. A line counts as
// changed by its text, not by where the caret went: lines the user's edits touched
// carry an invisible marker, and a touched line whose text is one the text had when it
// was loaded or saved keeps its blanks. So deleting the line above, breaking a line
// before its first character, moving a line elsewhere, or typing and undoing leaves a
// line as it was; a line typed anew, or really changed, loses them (unless its text is
// exactly that of a line the file had, which then keeps them too).
//
// Only the lines that ended in blanks then are remembered (no other line can be
// unchanged and still end in blanks), by the hash of their text.
//
// Changes are learnt from Scintilla's reports made *before* each insertion or deletion
// (kModificationEvents): QScintilla answers every report made *after* a change by
// counting the characters from the start of the text, milliseconds per megabyte, so
// the editor does not ask for those.
class EditedLineTrimmer : public QObject {
    Q_OBJECT
public:
    EditedLineTrimmer(QsciScintilla* editor, int markerNumber);

    // The modification events the trimmer needs, for SCI_SETMODEVENTMASK.
    static const int kModificationEvents;

    // While suspended, changes are not the user's and mark nothing.
    void setSuspended(bool suspended) { suspended_ = suspended; }
    bool isSuspended() const { return suspended_; }

    // Forgets every mark and what lines were (a new text was taken in or cleared).
    void forget();
    // The text as it is now is the one changes are measured against (a new text, a
    // save); a line the user changed and the trim has not reached yet stays changed.
    void rememberText();
    // The program added this line: its blanks are not the user's either.
    void rememberLine(long line);

    // Trims every changed line that holds no caret; call after anything that may have
    // moved the caret.
    void trimLinesLeft();
    // Trims every changed line, the caret's included, and forgets the marks.
    void trimAll();

    // The line was touched and its text differs from what it was: it will lose its
    // trailing blanks.
    bool isChanged(int line) const;

private:
    void noteModification(int position, int type, int length);
    // The text of the insertion announced last is in place once the next change is
    // announced or the marks are read: then its lines are marked.
    void markPendingInsertion() const;
    void mark(long line) const;
    void trimMarked(bool keepCaretLines);
    // The line's end holds blanks: their start, or -1.
    long trailingBlanksStart(long line) const;
    bool isAsRemembered(long line) const;
    size_t lineHash(long start, long end) const;

    QsciScintilla* editor_;
    int touched_;
    bool suspended_ = false;
    mutable bool anyMarked_ = false;
    mutable long pendingPosition_ = -1;
    mutable long pendingLength_ = 0;
    mutable bool pendingByUser_ = false;
    // The texts of the lines that ended in blanks when the text was loaded or saved.
    QSet<size_t> rememberedLines_;
    // The text has not changed since it was remembered.
    bool remembered_ = false;
};

// Suspends marking for a scope (program edits).
class TrimmerSuspension {
public:
    explicit TrimmerSuspension(EditedLineTrimmer& trimmer)
        : trimmer_(trimmer), was_(trimmer.isSuspended()) {
        trimmer_.setSuspended(true);
    }
    ~TrimmerSuspension() { trimmer_.setSuspended(was_); }
    TrimmerSuspension(const TrimmerSuspension&) = delete;
    TrimmerSuspension& operator=(const TrimmerSuspension&) = delete;

private:
    EditedLineTrimmer& trimmer_;
    bool was_;
};

} // namespace ravik
