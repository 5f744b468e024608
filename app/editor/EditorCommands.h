#pragma once

#include <QByteArray>

class QsciScintilla;

namespace ravik::EditorCommands {

// Backspace inside a line's leading white space: back to the indentation of the
// nearest line above that is indented less (blank lines do not count), or to the
// line start. False when the caret is not inside leading white space; the caller
// then deletes one character as usual.
bool smartDeleteLastChar(QsciScintilla& editor);

// Indents or unindents every line the selection touches (the caret's line without a
// selection) by the indentation width, as one undo step.
void indentLines(QsciScintilla& editor, bool indent);

// Puts the caret on the bracket matching the one at the caret (or, failing that, the
// one just before it). Brackets are ( ) [ ] { } < >. False when there is none.
bool jumpToMatchingBracket(QsciScintilla& editor);

// Caret to the first or last fully visible line, keeping its display column.
void moveToPageTop(QsciScintilla& editor);
void moveToPageBottom(QsciScintilla& editor);

// Inserts a line break at the caret; the caret stays before it.
void insertLineBreak(QsciScintilla& editor, const QByteArray& lineBreak);

} // namespace ravik::EditorCommands
