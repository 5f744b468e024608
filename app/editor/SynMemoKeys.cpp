#include "app/editor/SynMemo.h"

#include "app/editor/EditorCommands.h"
#include "app/editor/OverwriteCaret.h"

#include <Qsci/qscicommandset.h>

// The key table: which keys are editor commands, the commands written by hand, the
// typed-character event and the undo steps of typing runs.

namespace ravik {
namespace {

using EditorKeyMap::HandCommand;

// The character a key types, as the program's handler sees it: Ctrl with a letter
// gives its control character, whatever text the platform attached.
QChar typedCharacter(const QKeyEvent* event) {
    const int key = event->key();
    if ((event->modifiers() & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z)
        return QChar(key - Qt::Key_A + 1);
    return event->text().at(0);
}

bool isControlCharacter(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7f;
}

} // namespace

bool SynMemo::isEditorKey(int combined) const {
    const HandCommand hand = EditorKeyMap::handKey(combined).command;
    if (hand == HandCommand::ContextHelp)
        return false; // F1 belongs to the window
    return hand != HandCommand::None || standardCommands()->boundTo(combined) != nullptr;
}

bool SynMemo::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        const int combined = EditorKeyMap::combinedKey(key);
        if (isEditorKey(combined)) {
            event->accept();
            return true;
        }
        // Unbound Ctrl/Alt combinations stay free for the window's shortcuts.
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
            event->ignore();
            return false;
        }
    }
    return QsciScintilla::event(event);
}

void SynMemo::keyPressEvent(QKeyEvent* event) {
    if (EditorKeyMap::isModifierOnly(event->key())) {
        QsciScintilla::keyPressEvent(event);
        return;
    }
    // Whether the key is an editor command is decided before QScintilla sees it.
    const int combined = EditorKeyMap::combinedKey(event);
    const EditorKeyMap::HandKey hand = EditorKeyMap::handKey(combined);
    if (hand.command != HandCommand::None)
        runHandCommand(hand, event);
    else if (standardCommands()->boundTo(combined))
        runStandardCommand(combined, event);
    else
        typeCharacter(event);
    afterUserAction();
}

void SynMemo::runHandCommand(const EditorKeyMap::HandKey& hand, QKeyEvent* event) {
    using Mode = SelectionModes::Mode;
    event->accept();
    if (hand.command != HandCommand::NewLine && hand.command != HandCommand::DeleteLastChar)
        lastEdit_ = EditKind::None;
    switch (hand.command) {
    case HandCommand::NewLine:
        beginEdit(EditKind::LineBreak);
        SendScintilla(SCI_NEWLINE);
        break;
    case HandCommand::InsertLineBreak:
        SendScintilla(SCI_BEGINUNDOACTION);
        EditorCommands::insertLineBreak(*this, eolBytes(eol_));
        SendScintilla(SCI_ENDUNDOACTION);
        break;
    case HandCommand::IndentLines:
    case HandCommand::UnindentLines:
        EditorCommands::indentLines(*this, hand.command == HandCommand::IndentLines);
        break;
    case HandCommand::MatchingBracket:
        EditorCommands::jumpToMatchingBracket(*this);
        break;
    case HandCommand::PageTop:
    case HandCommand::PageBottom: {
        const auto move = hand.command == HandCommand::PageTop ? EditorCommands::moveToPageTop
                                                               : EditorCommands::moveToPageBottom;
        if (hand.extend)
            selectionModes_.extend([this, move] { move(*this); });
        else
            move(*this);
        break;
    }
    case HandCommand::DeleteLastChar:
        beginEdit(EditKind::DeleteBack);
        if (!EditorCommands::smartDeleteLastChar(*this))
            QsciScintilla::keyPressEvent(event);
        break;
    case HandCommand::ContextHelp:
        event->ignore(); // the window shows the help
        break;
    case HandCommand::FocusMove:
        event->ignore(); // no other control took the focus; the tab command stays unreachable
        break;
    case HandCommand::SetBookmark:
        setBookmark(hand.index);
        break;
    case HandCommand::GotoBookmark:
        gotoBookmark(hand.index);
        break;
    case HandCommand::NormalSelection:
        selectionModes_.setMode(Mode::Normal);
        break;
    case HandCommand::ColumnSelection:
        selectionModes_.setMode(Mode::Column);
        break;
    case HandCommand::LineSelection:
        selectionModes_.setMode(Mode::Line);
        break;
    case HandCommand::None:
        break;
    }
}

void SynMemo::runStandardCommand(int combined, QKeyEvent* event) {
    const bool shift = combined & Qt::SHIFT;
    const int movement = shift ? EditorKeyMap::movementCommand(combined & ~int(Qt::SHIFT)) : 0;
    if (movement && selectionModes_.mode() != SelectionModes::Mode::Normal) {
        lastEdit_ = EditKind::None;
        selectionModes_.extend([this, movement] { SendScintilla(movement); });
        event->accept();
        return;
    }
    if (combined == Qt::Key_Delete)
        beginEdit(EditKind::DeleteForward);
    else if ((combined & ~int(Qt::SHIFT)) == Qt::Key_Return)
        beginEdit(EditKind::LineBreak);
    else
        lastEdit_ = EditKind::None;
    QsciScintilla::keyPressEvent(event);
}

void SynMemo::typeCharacter(QKeyEvent* event) {
    const QString text = event->text();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const bool control = modifiers & Qt::ControlModifier;
    const bool altOrMeta = modifiers & (Qt::AltModifier | Qt::MetaModifier);
    // Alt combinations type no character (menu keys); Ctrl ones report theirs.
    if (!text.isEmpty() && !altOrMeta)
        emit characterTyped(typedCharacter(event));
    if (control || altOrMeta || text.isEmpty() || isControlCharacter(text.at(0))) {
        event->ignore(); // nothing to insert, e.g. Ctrl+S, Esc, F5
        return;
    }
    beginEdit(EditKind::Typing);
    QsciScintilla::keyPressEvent(event);
}

void SynMemo::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty() && !isReadOnly()) {
        emit characterTyped(event->commitString().at(0));
        beginEdit(EditKind::Typing);
    }
    QsciScintilla::inputMethodEvent(event);
    afterUserAction();
}

// Scintilla merges every run of adjacent insertions into one undo step; an empty
// undo action splits the runs where the kind of change differs or the caret moved.
void SynMemo::beginEdit(EditKind kind) {
    if (kind != lastEdit_) {
        SendScintilla(SCI_BEGINUNDOACTION);
        SendScintilla(SCI_ENDUNDOACTION);
    }
    lastEdit_ = kind;
}

void SynMemo::afterUserAction() {
    trimmer_->trimLinesLeft();
    caret_->sync();
    // Hand commands set the caret directly, which QScintilla's selection flag misses.
    const bool selected = SendScintilla(SCI_GETSELECTIONEMPTY) == 0;
    if (selected != hasSelectedText())
        emit QSCN_SELCHANGED(selected);
}

} // namespace ravik
