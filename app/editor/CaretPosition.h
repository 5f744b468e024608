#pragma once

#include <QObject>

class QsciScintillaBase;

namespace ravik {

// The caret's line and column as the user counts them, from 1: the column counts
// characters (a tab and an umlaut are one each), not bytes.
//
// Counting from the line's start on every key would cost a millisecond per megabyte
// of a long line. So the count up to the last position asked for is kept, and only
// what lies between that position and the caret is counted: a step of the caret or a
// typed character or a Backspace costs the same in any line. Changes of the text in
// front of the counted position are learnt from Scintilla's before-change reports.
class CaretPosition : public QObject {
    Q_OBJECT
public:
    struct LineColumn {
        long line = 1;
        long column = 1;
    };

    explicit CaretPosition(QsciScintillaBase* editor);

    LineColumn current();

    // The text is replaced without change reports: nothing counted holds any more.
    void forget() { lineStart_ = -1; }

private:
    void noteModification(long position, int type, long length);
    long countInText(long from, long to) const;

    QsciScintillaBase* editor_;
    long lineStart_ = -1; // -1: no count is kept
    long position_ = 0;
    long characters_ = 0; // in [lineStart_, position_)
};

} // namespace ravik
