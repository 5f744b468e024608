#pragma once

#include <QObject>

class QsciScintilla;

namespace ravik {

// Removes the trailing spaces and tabs of a line the user edited once the caret has
// left it. Lines read from a file, appended by the program or restored by undo keep
// theirs. Edited lines carry an invisible marker, so they follow later edits.
class EditedLineTrimmer : public QObject {
    Q_OBJECT
public:
    EditedLineTrimmer(QsciScintilla* editor, int markerNumber);

    // While suspended, changes are not the user's and mark nothing.
    void setSuspended(bool suspended) { suspended_ = suspended; }
    bool isSuspended() const { return suspended_; }

    // Forgets every mark (the text was replaced or cleared).
    void forget();

    // Trims every marked line except the caret's; call after anything that may have
    // moved the caret.
    void trimLinesLeft();

    bool isMarked(int line) const;

private:
    void noteModification(int position, int type, int linesAdded);
    void trimLine(long line);

    QsciScintilla* editor_;
    int marker_;
    bool suspended_ = false;
    bool anyMarked_ = false;
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
