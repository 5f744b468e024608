#pragma once

#include "app/editor/Bookmarks.h"
#include "app/editor/CaretPosition.h"
#include "app/editor/EditedLineTrimmer.h"
#include "app/editor/EditorKeyMap.h"
#include "app/editor/SelectionModes.h"
#include "app/editor/TextSearch.h"
#include "core/platform/text/LineEnds.h"

#include <Qsci/qsciscintilla.h>
#include <functional>

namespace ravik {

class OverwriteCaret;
class ScrollHint;
class SynIniSyn;

// The editor view's text editor: QScintilla configured as the program requires
// (font, no gutter, active line, edge line, auto indent, grouped undo, scroll hint,
// smart tab delete, tabs as spaces, trimming of edited lines, the key table), holding
// the file's text losslessly (encoding and line breaks are remembered).
class SynMemo : public QsciScintilla {
    Q_OBJECT
public:
    explicit SynMemo(QWidget* parent = nullptr);
    ~SynMemo() override;

    SynIniSyn* highlighter() const;

    // Removes every line, bookmark and the undo history; clears the modified flag.
    // The line-break style and the encoding stay.
    void clearAll();

    // The program gives the editor a new text (a file, the other view's document):
    // UTF-8 pieces, handed to the sink in order. Caret to the start, view to the top,
    // undo history emptied, bookmarks gone; no change by the user. `bytes` is what
    // the text is expected to take (room is made for it at once).
    using PieceSink = std::function<void(QByteArrayView piece)>;
    using TextSource = std::function<void(const PieceSink& sink)>;
    void setTextFrom(const TextSource& source, qsizetype bytes);

    // The whole text as UTF-8, straight from the editor's buffer: valid until the text
    // changes.
    QByteArrayView utf8Text() const;

    // Removes the trailing blanks of every line the user changed (its text is no longer
    // the one it had when the text was taken in or saved), the caret's line included,
    // as one undo step. Whatever stores or hands on the text calls it first.
    void trimEditedLines();

    // The text as it is now counts as saved: the next change raises textEdited again,
    // and lines are judged changed against this text.
    void markSaved();

    // The text is empty: no line, or one empty line.
    bool isTextEmpty() const;
    int lineCount() const;           // 0 for an empty text
    QString lineAt(int index) const; // without its line break

    // Adds a new last line (a line break first when the text is not empty);
    // the caret does not move; undoable.
    void appendLine(const QString& line);

    void setActiveLineColor(const QColor& color);
    QColor activeLineColor() const;

    // The line break Enter and the program's own lines insert.
    EolStyle eolStyle() const;
    void setEolStyle(EolStyle style);

    using SelectionMode = SelectionModes::Mode;
    SelectionMode selectionMode() const;
    void setSelectionMode(SelectionMode mode);

    void setBookmark(int index);
    bool gotoBookmark(int index);
    int bookmarkLine(int index) const; // -1 when not set

    // Find and replace in the whole text (SynMemoSearch.cpp). find selects the first
    // match after the selection, or with forward false the last one before it, going
    // on from the other end of the text when there is none.
    FindResult find(const QString& text, const SearchOptions& options, bool forward);
    // When the selection is a match, replaces it (one undo step) and returns true.
    bool replaceSelection(const QString& text, const QString& replacement,
                          const SearchOptions& options);
    // Replaces every match as one undo step; returns how many there were.
    int replaceAll(const QString& text, const QString& replacement, const SearchOptions& options);

    // The caret's line and column, from 1; the column counts characters.
    CaretPosition::LineColumn caretLineColumn() { return caretPosition_->current(); }

    // The scroll hint shown while the thumb is dragged; empty when none is shown.
    QString scrollHintText() const;
    // Where the hand-painted overwrite caret stands (empty in insert mode).
    QRect overwriteCaretRect() const;
    // The line was edited, its text differs from what it was, and it will lose its
    // trailing blanks once the caret leaves it.
    bool isLineEdited(int line) const;

    // Larger files are refused: the editor holds them several times over in memory.
    static constexpr qint64 kMaxFileBytes = qint64(512) * 1024 * 1024;
    // So are longer lines: the editor lays out a whole line for every change on it,
    // about a second per million bytes.
    static constexpr qsizetype kMaxLineBytes = 16000000;
    // From this length on a line's layout is kept once made (see keepLongLineLayouts).
    static constexpr qsizetype kLongLineBytes = 1000000;

signals:
    // A typed character that the editor does not carry out as a command of its own.
    void characterTyped(QChar character);
    // The text has just come to differ from the last save point (a new text, a clear,
    // or markSaved) through any change but a new text or a clear: typing, line breaks,
    // deleting, the clipboard, drag and drop, undo and redo, indenting, the trim, lines
    // appended by the program. Raised once per departure from the save point.
    void textEdited();
    // Raised before each change of the text but a new text or a clear, the program's
    // own included: one signal a change and nothing else, for whoever follows every
    // change (the recovery copy waits for the last one).
    void textChanging();
    // The caret may have moved or the insert mode changed: raised after every key,
    // mouse action, search and edit of the user, and after a new text.
    void caretUpdated();
    // Taking in a new text goes on; longStepAhead when the next step is known to take
    // seconds (laying out a line of megabytes).
    void progress(qint64 bytesDone, bool longStepAhead);

public slots:
    // Undo and redo leave the restored lines as they are; the clipboard edits are one
    // undo step together with the trim they cause.
    void undo() override;
    void redo() override;
    void cut() override;
    void paste() override;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // Kinds of change whose consecutive runs form one undo step.
    enum class EditKind { None, Typing, Overwriting, DeleteBack, DeleteForward, LineBreak };

    void configure();
    void applyPlainStyle(int style);
    void createBookmarkShortcuts();
    // A new text in pieces: begin, append each, end.
    void beginReplacingText();
    void freshDocument();
    void appendRawText(QByteArrayView utf8);
    void endReplacingText();
    void keepLongLineLayouts(qsizetype longestLine);
    bool styleShownLines();
    long modEventMask_ = 0; // while a new text is taken in
    void applyEolMode();
    bool isEditorKey(int combined) const;
    // Both return whether the lines left behind are to be trimmed now.
    bool runHandCommand(const EditorKeyMap::HandKey& hand, QKeyEvent* event);
    bool runStandardCommand(int combined, QKeyEvent* event);
    void typeCharacter(QKeyEvent* event);
    EditKind typingKind() const;
    void beginEdit(EditKind kind);
    void endRun();
    void editAsOneStep(const std::function<void()>& edit);
    void breakLine(const std::function<void()>& run);
    void afterUserAction(bool trim = true);
    void selectMatch(const TextSearch::Match& match);

    SynIniSyn* lexer_ = nullptr;
    EolStyle eol_ = EolStyle::CrLf;
    QColor activeLineColor_;
    EditKind lastEdit_ = EditKind::None;
    // Overtyping deletes and inserts by turns, which Scintilla never merges: a run of
    // it is held in one undo action, open until the run ends.
    bool overwriteStepOpen_ = false;
    bool replacing_ = false; // a new text is taken in
    EditedLineTrimmer* trimmer_ = nullptr;
    CaretPosition* caretPosition_ = nullptr;
    OverwriteCaret* caret_ = nullptr;
    ScrollHint* scrollHint_ = nullptr;
    Bookmarks bookmarks_;
    SelectionModes selectionModes_;
};

} // namespace ravik
