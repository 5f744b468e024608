#include "app/editor/EditorKeyMap.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>
#include <Qsci/qsciscintilla.h>

namespace ravik::EditorKeyMap {
namespace {

using Cmd = QsciCommand::Command;
using Sci = QsciScintillaBase;

constexpr int kShift = int(Qt::SHIFT);
constexpr int kCtrl = int(Qt::CTRL);
constexpr int kAlt = int(Qt::ALT);

struct Binding {
    Cmd command;
    int key;
    int alternateKey;
};

// QScintilla allows two keys per command; Ctrl+M, the third key of the line break,
// is a hand command.
const Binding kBindings[] = {
    {Cmd::CharLeft, Qt::Key_Left, 0},
    {Cmd::CharLeftExtend, kShift | Qt::Key_Left, 0},
    {Cmd::CharRight, Qt::Key_Right, 0},
    {Cmd::CharRightExtend, kShift | Qt::Key_Right, 0},
    {Cmd::LineUp, Qt::Key_Up, 0},
    {Cmd::LineUpExtend, kShift | Qt::Key_Up, 0},
    {Cmd::LineDown, Qt::Key_Down, 0},
    {Cmd::LineDownExtend, kShift | Qt::Key_Down, 0},
    {Cmd::WordLeft, kCtrl | Qt::Key_Left, 0},
    {Cmd::WordLeftExtend, kCtrl | kShift | Qt::Key_Left, 0},
    {Cmd::WordRight, kCtrl | Qt::Key_Right, 0},
    {Cmd::WordRightExtend, kCtrl | kShift | Qt::Key_Right, 0},
    {Cmd::LineScrollUp, kCtrl | Qt::Key_Up, 0},
    {Cmd::LineScrollDown, kCtrl | Qt::Key_Down, 0},
    {Cmd::PageUp, Qt::Key_PageUp, 0},
    {Cmd::PageUpExtend, kShift | Qt::Key_PageUp, 0},
    {Cmd::PageDown, Qt::Key_PageDown, 0},
    {Cmd::PageDownExtend, kShift | Qt::Key_PageDown, 0},
    {Cmd::Home, Qt::Key_Home, 0},
    {Cmd::HomeExtend, kShift | Qt::Key_Home, 0},
    {Cmd::LineEnd, Qt::Key_End, 0},
    {Cmd::LineEndExtend, kShift | Qt::Key_End, 0},
    {Cmd::DocumentStart, kCtrl | Qt::Key_Home, 0},
    {Cmd::DocumentStartExtend, kCtrl | kShift | Qt::Key_Home, 0},
    {Cmd::DocumentEnd, kCtrl | Qt::Key_End, 0},
    {Cmd::DocumentEndExtend, kCtrl | kShift | Qt::Key_End, 0},
    {Cmd::EditToggleOvertype, Qt::Key_Insert, 0},
    {Cmd::SelectionCopy, kCtrl | Qt::Key_C, kCtrl | Qt::Key_Insert},
    {Cmd::Paste, kCtrl | Qt::Key_V, kShift | Qt::Key_Insert},
    {Cmd::SelectionCut, kCtrl | Qt::Key_X, kShift | Qt::Key_Delete},
    {Cmd::Delete, Qt::Key_Delete, 0},
    {Cmd::DeleteBack, Qt::Key_Backspace, kShift | Qt::Key_Backspace},
    {Cmd::DeleteWordLeft, kCtrl | Qt::Key_Backspace, 0},
    {Cmd::DeleteWordRightEnd, kCtrl | Qt::Key_T, 0},
    {Cmd::LineDelete, kCtrl | Qt::Key_Y, 0},
    {Cmd::DeleteLineRight, kCtrl | kShift | Qt::Key_Y, 0},
    {Cmd::Undo, kCtrl | Qt::Key_Z, kAlt | Qt::Key_Backspace},
    {Cmd::Redo, kCtrl | kShift | Qt::Key_Z, kShift | kAlt | Qt::Key_Backspace},
    {Cmd::Newline, Qt::Key_Return, kShift | Qt::Key_Return},
    {Cmd::Tab, Qt::Key_Tab, 0},
    {Cmd::Backtab, kShift | Qt::Key_Tab, 0},
    {Cmd::SelectAll, kCtrl | Qt::Key_A, 0},
};

struct Movement {
    int key;
    int command;
};

const Movement kMovements[] = {
    {Qt::Key_Left, Sci::SCI_CHARLEFT},
    {Qt::Key_Right, Sci::SCI_CHARRIGHT},
    {Qt::Key_Up, Sci::SCI_LINEUP},
    {Qt::Key_Down, Sci::SCI_LINEDOWN},
    {kCtrl | Qt::Key_Left, Sci::SCI_WORDLEFT},
    {kCtrl | Qt::Key_Right, Sci::SCI_WORDRIGHT},
    {Qt::Key_PageUp, Sci::SCI_PAGEUP},
    {Qt::Key_PageDown, Sci::SCI_PAGEDOWN},
    {Qt::Key_Home, Sci::SCI_HOME},
    {Qt::Key_End, Sci::SCI_LINEEND},
    {kCtrl | Qt::Key_Home, Sci::SCI_DOCUMENTSTART},
    {kCtrl | Qt::Key_End, Sci::SCI_DOCUMENTEND},
};

} // namespace

void applyStandardBindings(QsciCommandSet* commands) {
    commands->clearKeys();
    commands->clearAlternateKeys();
    for (const Binding& binding : kBindings) {
        QsciCommand* command = commands->find(binding.command);
        command->setKey(binding.key);
        command->setAlternateKey(binding.alternateKey);
    }
}

int combinedKey(const QKeyEvent* event) {
    int key = event->key();
    if (key == Qt::Key_Enter)
        key = Qt::Key_Return;
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    // Shift+Tab arrives as Backtab; the command set knows it as Shift+Tab.
    if (key == Qt::Key_Backtab)
        return int(modifiers | Qt::ShiftModifier) | Qt::Key_Tab;
    return int(modifiers) | key;
}

bool isModifierOnly(int key) {
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
        return true;
    default:
        return false;
    }
}

HandKey handKey(int combined) {
    const int key = combined & ~int(Qt::KeyboardModifierMask);
    const int modifiers = combined & int(Qt::KeyboardModifierMask);
    const bool shift = modifiers & kShift;
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        if (modifiers == kCtrl)
            return {HandCommand::GotoBookmark, key - Qt::Key_0};
        if (modifiers == (kCtrl | kShift))
            return {HandCommand::SetBookmark, key - Qt::Key_0};
        return {};
    }
    switch (combined) {
    case kCtrl | Qt::Key_M:
        return {HandCommand::NewLine};
    case kCtrl | Qt::Key_N:
        return {HandCommand::InsertLineBreak};
    case kCtrl | kShift | Qt::Key_I:
        return {HandCommand::IndentLines};
    case kCtrl | kShift | Qt::Key_U:
        return {HandCommand::UnindentLines};
    case kCtrl | kShift | Qt::Key_B:
        return {HandCommand::MatchingBracket};
    case kCtrl | kShift | Qt::Key_N:
        return {HandCommand::NormalSelection};
    case kCtrl | kShift | Qt::Key_C:
        return {HandCommand::ColumnSelection};
    case kCtrl | kShift | Qt::Key_L:
        return {HandCommand::LineSelection};
    case Qt::Key_Backspace:
    case kShift | Qt::Key_Backspace:
        return {HandCommand::DeleteLastChar};
    case Qt::Key_F1:
        return {HandCommand::ContextHelp};
    case Qt::Key_Tab:
    case kShift | Qt::Key_Tab:
        return {HandCommand::FocusMove};
    default:
        break;
    }
    if (key == Qt::Key_PageUp && (modifiers & ~kShift) == kCtrl)
        return {HandCommand::PageTop, 0, shift};
    if (key == Qt::Key_PageDown && (modifiers & ~kShift) == kCtrl)
        return {HandCommand::PageBottom, 0, shift};
    return {};
}

int movementCommand(int combinedWithoutShift) {
    for (const Movement& movement : kMovements)
        if (movement.key == combinedWithoutShift)
            return movement.command;
    return 0;
}

} // namespace ravik::EditorKeyMap
