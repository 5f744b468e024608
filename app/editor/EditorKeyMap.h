#pragma once

#include <QKeyEvent>

class QsciCommandSet;

namespace ravik {

// The editor's key table. Keys run either one of QScintilla's own commands (bound in
// its command set) or a command this program implements itself (HandKey). Any other
// key is not an editor command: it types its character, if it has one.
namespace EditorKeyMap {

// Commands written by hand because QScintilla has none that fits.
enum class HandCommand {
    None,
    NewLine,         // Ctrl+M
    InsertLineBreak, // Ctrl+N: break the line, the caret stays
    IndentLines,     // Ctrl+Shift+I
    UnindentLines,   // Ctrl+Shift+U
    MatchingBracket, // Ctrl+Shift+B
    PageTop,         // Ctrl+PgUp, with Shift extending
    PageBottom,      // Ctrl+PgDown, with Shift extending
    DeleteLastChar,  // Backspace, Shift+Backspace (smart tab delete)
    ContextHelp,     // F1: left to the window
    FocusMove,       // Tab, Shift+Tab: the focus moves, the editor types nothing
    SetBookmark,     // Ctrl+Shift+0..9
    GotoBookmark,    // Ctrl+0..9
    NormalSelection, // Ctrl+Shift+N
    ColumnSelection, // Ctrl+Shift+C
    LineSelection,   // Ctrl+Shift+L
};

struct HandKey {
    HandCommand command = HandCommand::None;
    int index = 0;       // bookmark number
    bool extend = false; // Shift held on a movement key
};

// Binds exactly this editor's keys to QScintilla's commands; every other default
// binding of the command set is removed.
void applyStandardBindings(QsciCommandSet* commands);

// The event's key and modifiers as one int (Qt key | modifiers). The keypad flag is
// dropped and keypad Enter counts as Return, as QScintilla itself does.
int combinedKey(const QKeyEvent* event);

bool isModifierOnly(int key);

HandKey handKey(int combined);

// The QScintilla command that moves the caret like a movement key (without Shift),
// or 0; used to build selections by hand in column and line mode.
int movementCommand(int combinedWithoutShift);

} // namespace EditorKeyMap
} // namespace ravik
