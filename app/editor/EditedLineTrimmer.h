#pragma once

#include <QObject>

class QsciScintilla;

namespace ravik {

// Removes the trailing spaces and tabs of a line the user edited once the caret has
// left it, and of every edited line when the text is stored. Lines read from a file or
// appended by the program keep theirs. Edited lines carry an invisible marker, so they
// follow later edits. Undo and redo mark a line where they put back blanks at its end
// (the undo of a trim), so those blanks do not stay for good.
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

    // Forgets every mark (the text was replaced or cleared).
    void forget();

    // Trims every marked line that holds no caret; call after anything that may have
    // moved the caret.
    void trimLinesLeft();
    // Trims every marked line, the caret's included, and forgets the marks.
    void trimAll();

    bool isMarked(int line) const;

private:
    void noteModification(int position, int type, int length);
    // The text of the insertion announced last is in place once the next change is
    // announced or the marks are read: then its lines are marked.
    void markPendingInsertion() const;
    void mark(long line) const;
    void trimMarked(bool keepCaretLines);
    void trimLine(long line);

    QsciScintilla* editor_;
    int marker_;
    bool suspended_ = false;
    mutable bool anyMarked_ = false;
    mutable long pendingPosition_ = -1;
    mutable long pendingLength_ = 0;
    mutable bool pendingByUser_ = false;
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
