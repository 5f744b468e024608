#include "EditorTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QShortcut>
#include <QSignalSpy>
#include <QVBoxLayout>

using namespace ravik;
using namespace ravik::test;

// Which keys raise the typed-character event, and what each key command of the
// editor does, driven by real key events.
class SynMemoKeysTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void typedCharacterEvent_data();
    void typedCharacterEvent();
    void unboundControlKeysInsertNothing();
    void pasteAndDropRaiseNoEvent();
    void copyAndCut();
    void tabAndShiftTabMoveTheFocus();
    void tabNeverReachesTheTabCommand();

    void ctrlNBreaksTheLineWithoutMovingTheCaret();
    void ctrlMAndEnterBreakTheLineWithAutoIndent();
    void deletionKeys_data();
    void deletionKeys();
    void undoAndRedoKeys();
    void blockIndentIsOneUndoStep();
    void matchingBracket();
    void pageTopAndBottom();
    void bookmarks();
    void bookmarkKeysThroughTheShortcutPath();
    void columnSelectionMode();
    void typingOverAColumnSelection_data();
    void typingOverAColumnSelection();
    void mouseFollowsTheSelectionMode();
    void lineSelectionMode();
    void homeGoesToColumnOne();
    void insertTogglesOverwrite();
    void overtypingIsOneUndoStepPerRun();
    void userEditsRaiseTextEdited_data();
    void userEditsRaiseTextEdited();
    void loadsClearsAndAppendsAfterASavePoint();
    void wordCharacters();
    void keysThatAreNoLongerBound_data();
    void keysThatAreNoLongerBound();

private:
    QTemporaryDir dir_;
    SynMemo* memo_ = nullptr;
    QSignalSpy* typed_ = nullptr;
};

void SynMemoKeysTest::init() {
    QVERIFY(dir_.isValid());
    memo_ = new SynMemo;
    typed_ = new QSignalSpy(memo_, &SynMemo::characterTyped);
}

void SynMemoKeysTest::cleanup() {
    delete typed_;
    delete memo_;
}

void SynMemoKeysTest::typedCharacterEvent_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("character"); // -1: no event
    QTest::addColumn<QString>("text");  // the text a real keyboard attaches, if QTest's differs
    auto row = [](const char* name, int key, Qt::KeyboardModifiers modifiers, int character,
                  const QString& text = QString()) {
        QTest::newRow(name) << key << int(modifiers) << character << text;
    };
    const auto none = Qt::NoModifier;
    const auto ctrl = Qt::ControlModifier;
    const auto shift = Qt::ShiftModifier;
    row("a", Qt::Key_A, none, 'a');
    row("Shift+A", Qt::Key_A, shift, 'A', QStringLiteral("A"));
    row("Ctrl+S as X11 sends it", Qt::Key_S, ctrl, 19, QStringLiteral("\x13"));
    row("AltGr+Q", Qt::Key_At, Qt::GroupSwitchModifier, '@', QStringLiteral("@"));
    row("5", Qt::Key_5, none, '5');
    row("space", Qt::Key_Space, none, ' ');
    row("Esc", Qt::Key_Escape, none, 27);
    row("Ctrl+S", Qt::Key_S, ctrl, 19);
    row("Ctrl+K", Qt::Key_K, ctrl, 11);
    row("Ctrl+Shift+K", Qt::Key_K, ctrl | shift, 11);
    row("Enter", Qt::Key_Return, none, -1);
    row("keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, -1);
    row("Backspace", Qt::Key_Backspace, none, -1);
    row("Delete", Qt::Key_Delete, none, -1);
    row("Left", Qt::Key_Left, none, -1);
    row("Home", Qt::Key_Home, none, -1);
    row("Insert", Qt::Key_Insert, none, -1);
    row("F1", Qt::Key_F1, none, -1);
    row("F5", Qt::Key_F5, none, -1);
    row("Ctrl+Z", Qt::Key_Z, ctrl, -1);
    row("Ctrl+Y", Qt::Key_Y, ctrl, -1);
    row("Ctrl+N", Qt::Key_N, ctrl, -1);
    row("Ctrl+M", Qt::Key_M, ctrl, -1);
    row("Ctrl+A", Qt::Key_A, ctrl, -1);
    row("Ctrl+C", Qt::Key_C, ctrl, -1);
    row("Ctrl+V", Qt::Key_V, ctrl, -1);
    row("Ctrl+T", Qt::Key_T, ctrl, -1);
    row("Ctrl+Shift+Y", Qt::Key_Y, ctrl | shift, -1);
    row("Ctrl+Shift+B", Qt::Key_B, ctrl | shift, -1);
    row("Ctrl+1", Qt::Key_1, ctrl, -1);
    row("Ctrl+Shift+1", Qt::Key_1, ctrl | shift, -1);
    row("Ctrl+Shift+N", Qt::Key_N, ctrl | shift, -1);
    row("Alt+X", Qt::Key_X, Qt::AltModifier, -1);
    row("Shift alone", Qt::Key_Shift, shift, -1);
    row("Ctrl alone", Qt::Key_Control, ctrl, -1);
}

void SynMemoKeysTest::typedCharacterEvent() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, character);
    QFETCH(QString, text);
    loadText(*memo_, dir_, "abc\r\ndef");
    if (text.isEmpty())
        QTest::keyClick(memo_, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    else
        QTest::sendKeyEvent(QTest::Click, memo_, Qt::Key(key), text,
                            Qt::KeyboardModifiers(modifiers));
    if (character < 0) {
        QCOMPARE(typed_->count(), 0);
    } else {
        QCOMPARE(typed_->count(), 1);
        QCOMPARE(typed_->at(0).at(0).value<QChar>(), QChar(character));
    }
}

void SynMemoKeysTest::unboundControlKeysInsertNothing() {
    loadText(*memo_, dir_, "abc");
    const QByteArray before = bufferBytes(*memo_);
    QTest::keyClick(memo_, Qt::Key_S, Qt::ControlModifier);
    QTest::keyClick(memo_, Qt::Key_K, Qt::ControlModifier);
    QTest::keyClick(memo_, Qt::Key_Escape);
    QTest::keyClick(memo_, Qt::Key_F5);
    QTest::keyClick(memo_, Qt::Key_Q, Qt::AltModifier);
    QCOMPARE(bufferBytes(*memo_), before);
    QVERIFY(!memo_->isModified());
    QCOMPARE(typed_->count(), 3); // Ctrl+S, Ctrl+K, Esc
    // A plain letter is typed and reported.
    QTest::keyClick(memo_, Qt::Key_X);
    QCOMPARE(bufferBytes(*memo_), QByteArray("xabc"));
    QCOMPARE(typed_->count(), 4);
}

void SynMemoKeysTest::pasteAndDropRaiseNoEvent() {
    loadText(*memo_, dir_, "abc");
    QApplication::clipboard()->setText(QStringLiteral("XY"));
    QTest::keyClick(memo_, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray("XYabc"));
    memo_->paste(); // as the context menu does
    QCOMPARE(bufferBytes(*memo_), QByteArray("XYXYabc"));
    QTest::keyClick(memo_, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray("XYXYXYabc"));

    QMimeData mime;
    mime.setText(QStringLiteral("D"));
    const QPoint at(2, memo_->textHeight(0) / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(memo_->viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(memo_->viewport(), &move);
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(memo_->viewport(), &drop);
    QVERIFY(bufferBytes(*memo_).contains('D'));
    QCOMPARE(typed_->count(), 0);
}

void SynMemoKeysTest::copyAndCut() {
    loadText(*memo_, dir_, "alpha beta");
    QApplication::clipboard()->setText(QStringLiteral("before"));
    memo_->copy(); // nothing selected: the clipboard stays
    memo_->cut();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("before"));
    QCOMPARE(bufferBytes(*memo_), QByteArray("alpha beta"));
    memo_->setSelection(0, 0, 0, 5);
    memo_->copy();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("alpha"));
    memo_->setSelection(0, 5, 0, 10);
    memo_->cut();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral(" beta"));
    QCOMPARE(bufferBytes(*memo_), QByteArray("alpha"));
    memo_->setSelection(0, 0, 0, 1);
    QTest::keyClick(memo_, Qt::Key_Delete, Qt::ShiftModifier); // cut
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("a"));
    QTest::keyClick(memo_, Qt::Key_End);
    QTest::keyClick(memo_, Qt::Key_Insert, Qt::ShiftModifier); // paste
    QCOMPARE(bufferBytes(*memo_), QByteArray("lphaa"));
    memo_->undo(); // a paste is one undo step
    QCOMPARE(bufferBytes(*memo_), QByteArray("lpha"));
    QCOMPARE(typed_->count(), 0);
}

void SynMemoKeysTest::tabAndShiftTabMoveTheFocus() {
    QWidget window;
    auto* before = new QLineEdit(&window);
    auto* memo = new SynMemo(&window);
    auto* after = new QLineEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(before);
    layout->addWidget(memo);
    layout->addWidget(after);
    QVERIFY(activate(window, *memo));
    QTest::keyClick(memo, Qt::Key_Tab);
    QTRY_VERIFY(after->hasFocus());
    memo->setFocus();
    QTRY_VERIFY(memo->hasFocus());
    QTest::keyClick(memo, Qt::Key_Backtab, Qt::ShiftModifier);
    QTRY_VERIFY(before->hasFocus());
    QVERIFY(memo->isTextEmpty()); // no tab typed
}

void SynMemoKeysTest::tabNeverReachesTheTabCommand() {
    // Alone in its window the editor keeps the focus, and still types no tab.
    loadText(*memo_, dir_, "ab");
    placeCaret(*memo_, 0, 1);
    QTest::keyClick(memo_, Qt::Key_Tab);
    QTest::keyClick(memo_, Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray("ab"));
    QCOMPARE(typed_->count(), 0);
}

void SynMemoKeysTest::ctrlNBreaksTheLineWithoutMovingTheCaret() {
    loadText(*memo_, dir_, "abcdef\nx");
    placeCaret(*memo_, 0, 3);
    QTest::keyClick(memo_, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray("abc\ndef\nx")); // the file's LF style
    QCOMPARE(caretOf(*memo_), (Caret{0, 3}));
    memo_->undo();
    QCOMPARE(bufferBytes(*memo_), QByteArray("abcdef\nx"));
}

void SynMemoKeysTest::ctrlMAndEnterBreakTheLineWithAutoIndent() {
    loadText(*memo_, dir_, "[S]\r\n    key=1\r\n");
    placeCaret(*memo_, 1, 9);
    QTest::keyClick(memo_, Qt::Key_M, Qt::ControlModifier);
    QCOMPARE(caretOf(*memo_), (Caret{2, 4}));
    QTest::keyClick(memo_, Qt::Key_Return);
    QCOMPARE(caretOf(*memo_), (Caret{3, 4}));
    QCOMPARE(memo_->lineAt(1), QStringLiteral("    key=1"));
    // Auto indent takes the nearest non-empty line above, across blank ones.
    QCOMPARE(memo_->lineAt(3), QStringLiteral("    "));
    QVERIFY(bufferBytes(*memo_).startsWith("[S]\r\n    key=1\r\n"));
    // Enter on an empty line takes the indentation of the nearest non-empty line above.
    loadText(*memo_, dir_, "  [S]\r\n    key=1\r\n\r\n");
    placeCaret(*memo_, 2, 0);
    QTest::keyClick(memo_, Qt::Key_Return);
    QCOMPARE(caretOf(*memo_), (Caret{3, 4}));
}

void SynMemoKeysTest::deletionKeys_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QByteArray>("expected");
    const int ctrl = Qt::ControlModifier;
    const int shift = Qt::ShiftModifier;
    QTest::newRow("Ctrl+T to word end")
        << QByteArray("alpha beta") << 0 << 2 << int(Qt::Key_T) << ctrl << QByteArray("al beta");
    QTest::newRow("Ctrl+Y deletes the line")
        << QByteArray("a\nbb\nc") << 1 << 1 << int(Qt::Key_Y) << ctrl << QByteArray("a\nc");
    QTest::newRow("Ctrl+Shift+Y to line end") << QByteArray("abcdef\nx") << 0 << 3 << int(Qt::Key_Y)
                                              << (ctrl | shift) << QByteArray("abc\nx");
    QTest::newRow("Ctrl+Backspace word left")
        << QByteArray("alpha beta") << 0 << 10 << int(Qt::Key_Backspace) << ctrl
        << QByteArray("alpha ");
    QTest::newRow("Delete") << QByteArray("abc") << 0 << 1 << int(Qt::Key_Delete) << 0
                            << QByteArray("ac");
    QTest::newRow("Shift+Backspace")
        << QByteArray("abc") << 0 << 2 << int(Qt::Key_Backspace) << shift << QByteArray("ac");
}

void SynMemoKeysTest::deletionKeys() {
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    QFETCH(int, index);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QByteArray, expected);
    loadText(*memo_, dir_, text);
    placeCaret(*memo_, line, index);
    QTest::keyClick(memo_, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(bufferBytes(*memo_), expected);
    QCOMPARE(typed_->count(), 0);
}

void SynMemoKeysTest::undoAndRedoKeys() {
    loadText(*memo_, dir_, "");
    QTest::keyClicks(memo_, QStringLiteral("abc"));
    QTest::keyClick(memo_, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray());
    QTest::keyClick(memo_, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray("abc"));
    QTest::keyClick(memo_, Qt::Key_Backspace, Qt::AltModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray());
    QTest::keyClick(memo_, Qt::Key_Backspace, Qt::AltModifier | Qt::ShiftModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray("abc"));
    // Ctrl+Y is no longer redo: it deletes the (empty) line and redoes nothing.
    QTest::keyClick(memo_, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(memo_, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray());
    QVERIFY(memo_->isRedoAvailable());
}

void SynMemoKeysTest::blockIndentIsOneUndoStep() {
    loadText(*memo_, dir_, "a=1\nb=2\nc=3\n");
    memo_->setSelection(0, 1, 1, 2);
    QTest::keyClick(memo_, Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray("        a=1\n        b=2\nc=3\n"));
    QTest::keyClick(memo_, Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray("a=1\nb=2\nc=3\n"));
    QTest::keyClick(memo_, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray("        a=1\n        b=2\nc=3\n"));
    QTest::keyClick(memo_, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray("a=1\nb=2\nc=3\n"));
    // Without a selection the caret's line is indented; a selection ending at a line
    // start leaves that line alone.
    placeCaret(*memo_, 2, 1);
    QTest::keyClick(memo_, Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(memo_->lineAt(2), QStringLiteral("        c=3"));
    memo_->setSelection(0, 0, 1, 0);
    QTest::keyClick(memo_, Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(memo_->lineAt(0), QStringLiteral("        a=1"));
    QCOMPARE(memo_->lineAt(1), QStringLiteral("b=2"));
}

void SynMemoKeysTest::matchingBracket() {
    loadText(*memo_, dir_, "k=(a[b]c) x");
    const auto jump = [this] {
        QTest::keyClick(memo_, Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
        return caretOf(*memo_).index;
    };
    placeCaret(*memo_, 0, 2);
    QCOMPARE(jump(), 8);
    QCOMPARE(jump(), 2);
    placeCaret(*memo_, 0, 4); // on '['
    QCOMPARE(jump(), 6);
    placeCaret(*memo_, 0, 9); // just after ')'
    QCOMPARE(jump(), 2);
    placeCaret(*memo_, 0, 10); // no bracket here
    QCOMPARE(jump(), 10);
    loadText(*memo_, dir_, "(a");
    QCOMPARE(jump(), 0); // unmatched
}

void SynMemoKeysTest::pageTopAndBottom() {
    QByteArray text;
    for (int i = 0; i < 200; ++i)
        text += "line" + QByteArray::number(i) + "\n";
    loadText(*memo_, dir_, text);
    memo_->resize(400, 300);
    memo_->show();
    QVERIFY(QTest::qWaitForWindowExposed(memo_));
    memo_->SendScintilla(Sci::SCI_SETFIRSTVISIBLELINE, 50UL);
    placeCaret(*memo_, 55, 3);
    const int top = memo_->firstVisibleLine();
    const int onScreen = int(memo_->SendScintilla(Sci::SCI_LINESONSCREEN));
    QVERIFY(onScreen > 3);
    QTest::keyClick(memo_, Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(caretOf(*memo_), (Caret{top + onScreen - 1, 3}));
    QCOMPARE(memo_->firstVisibleLine(), top); // no scrolling
    QTest::keyClick(memo_, Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(caretOf(*memo_), (Caret{top, 3}));
    QVERIFY(!memo_->hasSelectedText());
    QTest::keyClick(memo_, Qt::Key_PageDown, Qt::ControlModifier | Qt::ShiftModifier);
    int lineFrom, indexFrom, lineTo, indexTo;
    memo_->getSelection(&lineFrom, &indexFrom, &lineTo, &indexTo);
    QCOMPARE(lineFrom, top);
    QCOMPARE(lineTo, top + onScreen - 1);
}

void SynMemoKeysTest::bookmarks() {
    loadText(*memo_, dir_, "zero\none\ntwo\nthree long\nfour\n");
    placeCaret(*memo_, 3, 6);
    QTest::keyClick(memo_, Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(memo_->bookmarkLine(3), 3);
    placeCaret(*memo_, 1, 1);
    QTest::keyClick(memo_, Qt::Key_5, Qt::ControlModifier | Qt::ShiftModifier);
    placeCaret(*memo_, 0, 0);
    QTest::keyClick(memo_, Qt::Key_3, Qt::ControlModifier);
    QCOMPARE(caretOf(*memo_), (Caret{3, 6}));
    // The bookmark follows lines inserted above it.
    placeCaret(*memo_, 0, 0);
    memo_->insert(QStringLiteral("new\nnew\n"));
    QCOMPARE(memo_->bookmarkLine(3), 5);
    QTest::keyClick(memo_, Qt::Key_3, Qt::ControlModifier);
    QCOMPARE(caretOf(*memo_), (Caret{5, 6}));
    QTest::keyClick(memo_, Qt::Key_5, Qt::ControlModifier);
    QCOMPARE(caretOf(*memo_), (Caret{3, 1}));
    // Setting again moves it; an unset bookmark leaves the caret alone.
    placeCaret(*memo_, 6, 2);
    QTest::keyClick(memo_, Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(memo_->bookmarkLine(3), 6);
    QTest::keyClick(memo_, Qt::Key_7, Qt::ControlModifier);
    QCOMPARE(caretOf(*memo_), (Caret{6, 2}));
    QCOMPARE(memo_->bookmarkLine(7), -1);
    // The column is clamped on a shorter line (no virtual space).
    placeCaret(*memo_, 5, 9);
    QTest::keyClick(memo_, Qt::Key_0, Qt::ControlModifier | Qt::ShiftModifier);
    placeCaret(*memo_, 5, 0);
    memo_->SendScintilla(Sci::SCI_DELETERANGE, memo_->positionFromLineIndex(5, 2), 8L);
    QTest::keyClick(memo_, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(caretOf(*memo_), (Caret{5, 2}));
    // Clearing removes them.
    memo_->clearAll();
    QCOMPARE(memo_->bookmarkLine(3), -1);
    QCOMPARE(typed_->count(), 0);
}

void SynMemoKeysTest::bookmarkKeysThroughTheShortcutPath() {
    // In a shown, active window the key goes through the shortcut override first.
    QWidget window;
    auto* memo = new SynMemo(&window);
    (new QVBoxLayout(&window))->addWidget(memo);
    QSignalSpy typed(memo, &SynMemo::characterTyped);
    loadText(*memo, dir_, "a\nb\nc\n");
    QVERIFY(activate(window, *memo));
    placeCaret(*memo, 2, 1);
    QTest::keyClick(memo, Qt::Key_9, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(memo->bookmarkLine(9), 2);
    placeCaret(*memo, 0, 0);
    QTest::keyClick(memo, Qt::Key_9, Qt::ControlModifier);
    QCOMPARE(caretOf(*memo), (Caret{2, 1}));
    QCOMPARE(typed.count(), 0);
    QCOMPARE(bufferBytes(*memo), QByteArray("a\nb\nc\n"));

    // On a real keyboard the shifted digit may arrive as a symbol ('§', '#'); the
    // window's shortcut map then matches the editor's shortcuts by the unshifted key.
    int wired = 0;
    for (QShortcut* shortcut : memo->findChildren<QShortcut*>()) {
        const QKeyCombination combination = shortcut->key()[0];
        const int digit = combination.key() - Qt::Key_0;
        QVERIFY(digit >= 0 && digit <= 9);
        QCOMPARE(shortcut->context(), Qt::WidgetWithChildrenShortcut);
        if (combination.keyboardModifiers() == (Qt::ControlModifier | Qt::ShiftModifier)) {
            placeCaret(*memo, digit % 3, 0);
            emit shortcut->activated();
            QCOMPARE(memo->bookmarkLine(digit), digit % 3);
        } else {
            QCOMPARE(combination.keyboardModifiers(), Qt::ControlModifier);
            placeCaret(*memo, 3, 0);
            emit shortcut->activated();
            if (memo->bookmarkLine(digit) >= 0)
                QCOMPARE(caretOf(*memo).line, memo->bookmarkLine(digit));
        }
        ++wired;
    }
    QCOMPARE(wired, 20);
}

void SynMemoKeysTest::columnSelectionMode() {
    loadText(*memo_, dir_, "abcdef\nghijkl\nmnopqr\n");
    placeCaret(*memo_, 0, 1);
    QTest::keyClick(memo_, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(memo_->selectionMode(), SynMemo::SelectionMode::Column);
    QTest::keyClick(memo_, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(memo_, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(memo_, Qt::Key_Right, Qt::ShiftModifier);
    QVERIFY(memo_->SendScintilla(Sci::SCI_SELECTIONISRECTANGLE));
    QCOMPARE(memo_->SendScintilla(Sci::SCI_GETSELECTIONS), 2L);
    memo_->copy();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("bc\nhi\n"));
    // The mode stays after a plain move.
    QTest::keyClick(memo_, Qt::Key_Left);
    QVERIFY(!memo_->hasSelectedText());
    QTest::keyClick(memo_, Qt::Key_Down, Qt::ShiftModifier);
    QVERIFY(memo_->SendScintilla(Sci::SCI_SELECTIONISRECTANGLE));
    // Word-wise extension is rectangular too.
    QTest::keyClick(memo_, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(memo_->SendScintilla(Sci::SCI_SELECTIONISRECTANGLE));
    // Back to normal selection.
    QTest::keyClick(memo_, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(memo_->selectionMode(), SynMemo::SelectionMode::Normal);
    placeCaret(*memo_, 0, 1);
    QTest::keyClick(memo_, Qt::Key_Down, Qt::ShiftModifier);
    QVERIFY(!memo_->SendScintilla(Sci::SCI_SELECTIONISRECTANGLE));
    QCOMPARE(memo_->selectedText(), QStringLiteral("bcdef\ng"));
    QCOMPARE(typed_->count(), 0);
}

void SynMemoKeysTest::typingOverAColumnSelection_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("a character") << int(Qt::Key_X) << QByteArray("xcdef\nxijkl\nxopqr\n");
    QTest::newRow("Delete") << int(Qt::Key_Delete) << QByteArray("cdef\nijkl\nopqr\n");
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << QByteArray("cdef\nijkl\nopqr\n");
}

// Typing over a block replaces it on every line, as Delete and Backspace do, in one
// undo step.
void SynMemoKeysTest::typingOverAColumnSelection() {
    QFETCH(int, key);
    QFETCH(QByteArray, expected);
    const QByteArray text("abcdef\nghijkl\nmnopqr\n");
    loadText(*memo_, dir_, text);
    QTest::keyClick(memo_, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    for (Qt::Key move : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down})
        QTest::keyClick(memo_, move, Qt::ShiftModifier);
    QTest::keyClick(memo_, Qt::Key(key));
    QCOMPARE(bufferBytes(*memo_), expected);
    QTest::keyClick(memo_, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(bufferBytes(*memo_), text);
}

void SynMemoKeysTest::lineSelectionMode() {
    loadText(*memo_, dir_, "abcdef\nghijkl\nmnopqr\nstu");
    placeCaret(*memo_, 1, 3);
    QTest::keyClick(memo_, Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(memo_->selectionMode(), SynMemo::SelectionMode::Line);
    QTest::keyClick(memo_, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(memo_->selectedText(), QStringLiteral("ghijkl\n"));
    QTest::keyClick(memo_, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(memo_->selectedText(), QStringLiteral("ghijkl\nmnopqr\n"));
    QTest::keyClick(memo_, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(memo_->selectedText(), QStringLiteral("ghijkl\nmnopqr\nstu"));
    QTest::keyClick(memo_, Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(memo_, Qt::Key_Up, Qt::ShiftModifier);
    QTest::keyClick(memo_, Qt::Key_Up, Qt::ShiftModifier);
    QCOMPARE(memo_->selectedText(), QStringLiteral("abcdef\nghijkl\n"));
    // A plain move ends the selection; the mode stays.
    QTest::keyClick(memo_, Qt::Key_Down);
    QVERIFY(!memo_->hasSelectedText());
    QTest::keyClick(memo_, Qt::Key_Down, Qt::ShiftModifier);
    QCOMPARE(memo_->selectionMode(), SynMemo::SelectionMode::Line);
    QVERIFY(memo_->selectedText().endsWith(QLatin1Char('\n')));
}

// A point inside the viewport at the given line and column.
static QPoint pointAt(SynMemo& memo, int line, int index) {
    const long pos = memo.positionFromLineIndex(line, index);
    const int x = int(memo.SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, pos));
    const int y = int(memo.SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL, pos));
    return {x + 1, y + int(memo.SendScintilla(Sci::SCI_TEXTHEIGHT, 0UL)) / 2};
}

static void drag(SynMemo& memo, QPoint from, QPoint to) {
    QTest::mousePress(memo.viewport(), Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, to, memo.viewport()->mapToGlobal(to), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(memo.viewport(), &move);
    QTest::mouseRelease(memo.viewport(), Qt::LeftButton, Qt::NoModifier, to);
}

void SynMemoKeysTest::mouseFollowsTheSelectionMode() {
    memo_->resize(400, 300);
    memo_->show();
    QVERIFY(QTest::qWaitForWindowExposed(memo_));
    loadText(*memo_, dir_, "abcdef\nghijkl\nmnopqr\nstu");

    // Normal mode: a stream from press to release.
    drag(*memo_, pointAt(*memo_, 0, 1), pointAt(*memo_, 1, 3));
    QVERIFY(!memo_->SendScintilla(Sci::SCI_SELECTIONISRECTANGLE));
    QCOMPARE(memo_->selectedText(), QStringLiteral("bcdef\nghi"));

    // Column mode: a rectangle, also when the drag starts inside the old selection
    // (no drag and drop there). Each press is on another line than the one before:
    // two presses close together would make a double click.
    QTest::keyClick(memo_, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    drag(*memo_, pointAt(*memo_, 1, 2), pointAt(*memo_, 2, 4));
    QVERIFY(memo_->SendScintilla(Sci::SCI_SELECTIONISRECTANGLE));
    memo_->copy();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("ij\nop\n"));
    drag(*memo_, pointAt(*memo_, 0, 3), pointAt(*memo_, 1, 5));
    memo_->copy();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("de\njk\n"));
    QCOMPARE(memo_->text(), QStringLiteral("abcdef\nghijkl\nmnopqr\nstu"));

    // Line mode: whole lines, downwards and upwards, and a click takes its line.
    QTest::keyClick(memo_, Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    drag(*memo_, pointAt(*memo_, 1, 3), pointAt(*memo_, 2, 1));
    QCOMPARE(memo_->selectedText(), QStringLiteral("ghijkl\nmnopqr\n"));
    drag(*memo_, pointAt(*memo_, 2, 4), pointAt(*memo_, 0, 2));
    QCOMPARE(memo_->selectedText(), QStringLiteral("abcdef\nghijkl\nmnopqr\n"));
    QTest::mouseClick(memo_->viewport(), Qt::LeftButton, Qt::NoModifier, pointAt(*memo_, 3, 1));
    QCOMPARE(memo_->selectedText(), QStringLiteral("stu"));
    QCOMPARE(memo_->text(), QStringLiteral("abcdef\nghijkl\nmnopqr\nstu"));
    QCOMPARE(typed_->count(), 0);
}

void SynMemoKeysTest::homeGoesToColumnOne() {
    loadText(*memo_, dir_, "    key=1");
    placeCaret(*memo_, 0, 7);
    QTest::keyClick(memo_, Qt::Key_Home);
    QCOMPARE(caretOf(*memo_), (Caret{0, 0}));
    QTest::keyClick(memo_, Qt::Key_End);
    QCOMPARE(caretOf(*memo_), (Caret{0, 9}));
}

void SynMemoKeysTest::insertTogglesOverwrite() {
    loadText(*memo_, dir_, "abcd");
    QVERIFY(!memo_->overwriteMode());
    QTest::keyClick(memo_, Qt::Key_Insert);
    QVERIFY(memo_->overwriteMode());
    QTest::keyClicks(memo_, QStringLiteral("XY"));
    QCOMPARE(bufferBytes(*memo_), QByteArray("XYcd"));
    QTest::keyClick(memo_, Qt::Key_Insert);
    QVERIFY(!memo_->overwriteMode());
    QTest::keyClicks(memo_, QStringLiteral("Z"));
    QCOMPARE(bufferBytes(*memo_), QByteArray("XYZcd"));
}

void SynMemoKeysTest::overtypingIsOneUndoStepPerRun() {
    loadText(*memo_, dir_, "abcdefgh");
    QTest::keyClick(memo_, Qt::Key_Insert);
    QTest::keyClicks(memo_, QStringLiteral("XYZ"));
    QTest::keyClick(memo_, Qt::Key_Right);
    QTest::keyClicks(memo_, QStringLiteral("QR"));
    QCOMPARE(bufferBytes(*memo_), QByteArray("XYZdQRgh"));
    QTest::keyClick(memo_, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray("XYZdefgh"));
    QTest::keyClick(memo_, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray("abcdefgh"));
    QTest::keyClick(memo_, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray("XYZdefgh"));
}

void SynMemoKeysTest::userEditsRaiseTextEdited_data() {
    // Keys are separated by ';'; "prepare" runs before the save point is set.
    QTest::addColumn<QString>("prepare");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QByteArray>("expected");
    auto row = [](const char* name, const char* prepare, const char* action, const char* expected) {
        QTest::newRow(name) << QString::fromLatin1(prepare) << QString::fromLatin1(action)
                            << QByteArray(expected);
    };
    row("typed character", "", "X", "xab cd\nef");
    row("Enter", "", "Return", "\nab cd\nef");
    row("Backspace", "Right", "Backspace", "b cd\nef");
    row("Delete", "", "Delete", "b cd\nef");
    row("Ctrl+Y", "", "Ctrl+Y", "ef");
    row("Ctrl+Shift+Y", "", "Ctrl+Shift+Y", "\nef");
    row("Ctrl+T", "", "Ctrl+T", " cd\nef");
    row("Ctrl+N", "", "Ctrl+N", "\nab cd\nef");
    row("Ctrl+V", "", "Ctrl+V", "<>ab cd\nef");
    row("Ctrl+X", "Shift+Right", "Ctrl+X", "b cd\nef");
    row("menu paste", "", "paste()", "<>ab cd\nef");
    row("menu cut", "Shift+Right", "cut()", "b cd\nef");
    row("drop", "", "drop", "Dab cd\nef");
    row("Ctrl+Z", "X", "Ctrl+Z", "ab cd\nef");
    row("Ctrl+Shift+Z", "X;Ctrl+Z", "Ctrl+Shift+Z", "xab cd\nef");
    row("Ctrl+Shift+I", "", "Ctrl+Shift+I", "        ab cd\nef");
    row("Ctrl+Shift+U", "Ctrl+Shift+I", "Ctrl+Shift+U", "ab cd\nef");
    row("the trim", "End;Space", "Down", "ab cd\nef");
    row("trimEditedLines()", "End;Space", "trimEditedLines()", "ab cd\nef");
}

// Every change the user makes to the text is reported once the text differs from the
// save point, whatever the route; the typed-character event stays with typed keys.
void SynMemoKeysTest::userEditsRaiseTextEdited() {
    QFETCH(QString, prepare);
    QFETCH(QString, action);
    QFETCH(QByteArray, expected);
    auto run = [this](const QString& step) {
        if (step == QLatin1String("paste()")) {
            memo_->paste();
        } else if (step == QLatin1String("cut()")) {
            memo_->cut();
        } else if (step == QLatin1String("trimEditedLines()")) {
            memo_->trimEditedLines();
        } else if (step == QLatin1String("drop")) {
            QMimeData mime;
            mime.setText(QStringLiteral("D"));
            const QPoint at(1, memo_->textHeight(0) / 2);
            QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(memo_->viewport(), &enter);
            QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(memo_->viewport(), &drop);
        } else {
            const QKeyCombination key = QKeySequence(step)[0];
            QTest::keyClick(memo_, key.key(), key.keyboardModifiers());
        }
    };
    loadText(*memo_, dir_, "ab cd\nef");
    QSignalSpy edited(memo_, &SynMemo::textEdited);
    QApplication::clipboard()->setText(QStringLiteral("<>"));
    for (const QString& step : prepare.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        run(step);
    memo_->markSaved();
    edited.clear();
    run(action);
    QCOMPARE(bufferBytes(*memo_), expected);
    QCOMPARE(edited.count(), 1);
    QVERIFY(memo_->isModified());
    // Further changes while the text differs are not reported again.
    QTest::keyClick(memo_, Qt::Key_End);
    QTest::keyClick(memo_, Qt::Key_Q);
    QCOMPARE(edited.count(), 1);
}

void SynMemoKeysTest::loadsClearsAndAppendsAfterASavePoint() {
    QSignalSpy edited(memo_, &SynMemo::textEdited);
    loadText(*memo_, dir_, "a");
    QTest::keyClick(memo_, Qt::Key_X);
    QCOMPARE(edited.count(), 1);
    loadText(*memo_, dir_, "b"); // over an edited text
    memo_->clearAll();
    QCOMPARE(edited.count(), 1);
    QVERIFY(!memo_->isModified());
    // A save sets the save point; a line the program appends changes the text as well.
    QTest::keyClick(memo_, Qt::Key_Y);
    memo_->markSaved();
    memo_->appendLine(QStringLiteral("[Neu]"));
    QCOMPARE(edited.count(), 3);
}

void SynMemoKeysTest::wordCharacters() {
    loadText(*memo_, dir_, "ab_1 cd.ef ghi");
    QTest::keyClick(memo_, Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(caretOf(*memo_).index, 5);
    QTest::keyClick(memo_, Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(caretOf(*memo_).index, 7); // '.' is no word character
    QTest::keyClick(memo_, Qt::Key_Backspace, Qt::ControlModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray("ab_1 .ef ghi"));
}

void SynMemoKeysTest::keysThatAreNoLongerBound_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    const int ctrl = Qt::ControlModifier;
    const int shift = Qt::ShiftModifier;
    QTest::newRow("Ctrl+U lower case") << int(Qt::Key_U) << ctrl;
    QTest::newRow("Ctrl+L line cut") << int(Qt::Key_L) << ctrl;
    QTest::newRow("Ctrl+D duplicate") << int(Qt::Key_D) << ctrl;
    QTest::newRow("Ctrl+Shift+T line copy") << int(Qt::Key_T) << (ctrl | shift);
    QTest::newRow("Ctrl+Shift+Backspace") << int(Qt::Key_Backspace) << (ctrl | shift);
    QTest::newRow("Ctrl+Shift+Delete") << int(Qt::Key_Delete) << (ctrl | shift);
    QTest::newRow("Ctrl+Delete") << int(Qt::Key_Delete) << ctrl;
    QTest::newRow("Ctrl+]") << int(Qt::Key_BracketRight) << ctrl;
    QTest::newRow("Ctrl+/") << int(Qt::Key_Slash) << ctrl;
    QTest::newRow("Ctrl++ zoom") << int(Qt::Key_Plus) << ctrl;
    QTest::newRow("Ctrl+- zoom") << int(Qt::Key_Minus) << ctrl;
    QTest::newRow("Alt+Home") << int(Qt::Key_Home) << int(Qt::AltModifier);
    QTest::newRow("Alt+Shift+Down") << int(Qt::Key_Down) << (int(Qt::AltModifier) | shift);
}

void SynMemoKeysTest::keysThatAreNoLongerBound() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    loadText(*memo_, dir_, "Abc def\nGhi\n");
    memo_->setSelection(0, 1, 0, 5);
    const int zoom = int(memo_->SendScintilla(Sci::SCI_GETZOOM));
    QTest::keyClick(memo_, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(bufferBytes(*memo_), QByteArray("Abc def\nGhi\n"));
    QCOMPARE(memo_->selectedText(), QStringLiteral("bc d"));
    QCOMPARE(int(memo_->SendScintilla(Sci::SCI_GETZOOM)), zoom);
}

QTEST_MAIN(SynMemoKeysTest)
#include "SynMemoKeysTest.moc"
