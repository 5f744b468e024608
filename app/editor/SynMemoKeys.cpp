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
    bool trim = true;
    if (hand.command != HandCommand::None)
        trim = runHandCommand(hand, event);
    else if (standardCommands()->boundTo(combined))
        trim = runStandardCommand(combined, event);
    else
        typeCharacter(event);
    afterUserAction(trim);
}

bool SynMemo::runHandCommand(const EditorKeyMap::HandKey& hand, QKeyEvent* event) {
    using Mode = SelectionModes::Mode;
    event->accept();
    if (hand.command != HandCommand::NewLine && hand.command != HandCommand::DeleteLastChar)
        endRun();
    switch (hand.command) {
    case HandCommand::NewLine:
        breakLine([this] { SendScintilla(SCI_NEWLINE); });
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
    return true;
}

bool SynMemo::runStandardCommand(int combined, QKeyEvent* event) {
    const bool shift = combined & Qt::SHIFT;
    const int movement = shift ? EditorKeyMap::movementCommand(combined & ~int(Qt::SHIFT)) : 0;
    if (movement && selectionModes_.mode() != SelectionModes::Mode::Normal) {
        endRun();
        selectionModes_.extend([this, movement] { SendScintilla(movement); });
        event->accept();
        return true;
    }
    switch (standardCommands()->boundTo(combined)->command()) {
    case QsciCommand::Delete:
        beginEdit(EditKind::DeleteForward);
        break;
    case QsciCommand::Newline:
        breakLine([this, event] { QsciScintilla::keyPressEvent(event); });
        return true;
    case QsciCommand::Undo:
    case QsciCommand::Redo:
        endRun();
        QsciScintilla::keyPressEvent(event);
        return false;
    case QsciCommand::Paste:
    case QsciCommand::SelectionCut:
        editAsOneStep([this, event] { QsciScintilla::keyPressEvent(event); });
        return true;
    default:
        endRun();
        break;
    }
    QsciScintilla::keyPressEvent(event);
    return true;
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
    beginEdit(typingKind());
    QsciScintilla::keyPressEvent(event);
}

SynMemo::EditKind SynMemo::typingKind() const {
    const bool replacesSelection = SendScintilla(SCI_GETSELECTIONEMPTY) == 0;
    return overwriteMode() && !replacesSelection ? EditKind::Overwriting : EditKind::Typing;
}

void SynMemo::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty() && !isReadOnly()) {
        emit characterTyped(event->commitString().at(0));
        beginEdit(typingKind());
    }
    QsciScintilla::inputMethodEvent(event);
    afterUserAction();
}

// Scintilla merges every run of adjacent insertions into one undo step; an empty
// undo action splits the runs where the kind of change differs or the caret moved.
void SynMemo::beginEdit(EditKind kind) {
    if (kind == lastEdit_)
        return;
    endRun();
    SendScintilla(SCI_BEGINUNDOACTION);
    SendScintilla(SCI_ENDUNDOACTION);
    if (kind == EditKind::Overwriting) {
        SendScintilla(SCI_BEGINUNDOACTION);
        overwriteStepOpen_ = true;
    }
    lastEdit_ = kind;
}

void SynMemo::endRun() {
    if (overwriteStepOpen_) {
        overwriteStepOpen_ = false;
        SendScintilla(SCI_ENDUNDOACTION);
    }
    lastEdit_ = EditKind::None;
}

// An edit that leaves lines behind is one undo step together with their trim, so
// that Ctrl+Z brings back the text as it was before the edit, not the blanks alone.
void SynMemo::editAsOneStep(const std::function<void()>& edit) {
    endRun();
    SendScintilla(SCI_BEGINUNDOACTION);
    edit();
    trimmer_->trimLinesLeft();
    SendScintilla(SCI_ENDUNDOACTION);
}

// A line break leaves the first part of the line behind: when that part ends in blanks
// the trim follows at once and joins the break's undo step. Other breaks form runs.
void SynMemo::breakLine(const std::function<void()>& run) {
    const long start = SendScintilla(SCI_GETSELECTIONSTART);
    const long lineStart =
        SendScintilla(SCI_POSITIONFROMLINE, SendScintilla(SCI_LINEFROMPOSITION, start));
    const char before = start > lineStart ? char(SendScintilla(SCI_GETCHARAT, start - 1)) : '\0';
    if (before == ' ' || before == '\t') {
        editAsOneStep(run);
    } else {
        beginEdit(EditKind::LineBreak);
        run();
    }
}

void SynMemo::undo() {
    endRun();
    QsciScintilla::undo();
    afterUserAction(false);
}

void SynMemo::redo() {
    endRun();
    QsciScintilla::redo();
    afterUserAction(false);
}

void SynMemo::cut() {
    editAsOneStep([this] { QsciScintilla::cut(); });
    afterUserAction();
}

void SynMemo::paste() {
    editAsOneStep([this] { QsciScintilla::paste(); });
    afterUserAction();
}

void SynMemo::trimEditedLines() {
    endRun();
    trimmer_->trimAll();
}

void SynMemo::markSaved() {
    endRun();
    SendScintilla(SCI_SETSAVEPOINT);
    trimmer_->rememberText();
}

void SynMemo::afterUserAction(bool trim) {
    if (trim)
        trimmer_->trimLinesLeft();
    caret_->sync();
    // Hand commands set the caret directly, which QScintilla's selection flag misses.
    const bool selected = SendScintilla(SCI_GETSELECTIONEMPTY) == 0;
    if (selected != hasSelectedText())
        emit QSCN_SELCHANGED(selected);
    emit caretUpdated();
}

} // namespace ravik
