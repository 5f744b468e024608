#include "EditorTestSupport.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QToolTip>
#include <QVBoxLayout>

using namespace ravik;
using namespace ravik::test;

namespace {

// Share of pixels in the area that are dark (the inverted background of a block).
double darkShare(const QImage& image, const QRect& area) {
    int dark = 0;
    int all = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            ++all;
            if (pixel.red() < 100 && pixel.green() < 100)
                ++dark;
        }
    return all ? double(dark) / all : 0.0;
}

} // namespace

// What the editor does to the text while the user edits: trimming, smart tab
// delete, undo steps, the active line, the scroll hint and the overwrite caret.
class SynMemoEditingTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void loadedLinesKeepTrailingBlanks();
    void editedLineIsTrimmedWhenTheCaretLeaves();
    void enterTrimsTheLineItLeaves();
    void clickOnAnotherLineTrims();
    void trimIsItsOwnUndoStepAndUndoneBlanksAreTrimmedAgain();
    void enterAndTheTrimItCausesAreOneUndoStep();
    void blanksOnTheCaretLineAreNotSaved();
    void programEditsAreNotTrimmed();
    void smartTabDelete_data();
    void smartTabDelete();
    void undoStepsFollowRunsOfOneKind();
    void freshLoadStaysUnmodifiedByNavigationAndNoOps();
    void activeLineColour();
    void edgeLineAndMargins();
    void noBuiltInContextMenu();
    void scrollHintWhileDraggingTheThumb();
    void overwriteCaretIsABlock();

private:
    QTemporaryDir dir_;
    SynMemo* memo_ = nullptr;
};

void SynMemoEditingTest::init() {
    QVERIFY(dir_.isValid());
    memo_ = new SynMemo;
}

void SynMemoEditingTest::cleanup() {
    delete memo_;
}

void SynMemoEditingTest::loadedLinesKeepTrailingBlanks() {
    const QByteArray text("a  \r\n\tb\t\r\nc \r\n");
    loadText(*memo_, dir_, text);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(memo_, Qt::Key_Down);
    QTest::keyClick(memo_, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(memo_, Qt::Key_End);
    QTest::keyClick(memo_, Qt::Key_Down);
    QCOMPARE(bufferBytes(*memo_), text);
}

void SynMemoEditingTest::editedLineIsTrimmedWhenTheCaretLeaves() {
    loadText(*memo_, dir_, "a  \nb  \nc");
    QTest::keyClick(memo_, Qt::Key_End);
    QTest::keyClicks(memo_, QStringLiteral("x "));
    memo_->insert(QStringLiteral("\t ")); // the keyboard's Tab moves the focus instead
    QCOMPARE(memo_->lineAt(0), QStringLiteral("a  x \t ")); // kept while the caret is there
    QVERIFY(memo_->isLineEdited(0));
    QTest::keyClick(memo_, Qt::Key_End);
    QTest::keyClick(memo_, Qt::Key_Left);
    QCOMPARE(memo_->lineAt(0), QStringLiteral("a  x \t "));
    QTest::keyClick(memo_, Qt::Key_Down);
    QCOMPARE(memo_->lineAt(0), QStringLiteral("a  x"));
    QCOMPARE(memo_->lineAt(1), QStringLiteral("b  ")); // not edited
    QVERIFY(!memo_->isLineEdited(0));
    // A deletion counts as an edit too.
    QTest::keyClick(memo_, Qt::Key_Home);
    QTest::keyClick(memo_, Qt::Key_Delete);
    QTest::keyClick(memo_, Qt::Key_Up);
    QCOMPARE(memo_->lineAt(1), QStringLiteral(""));
    QCOMPARE(bufferBytes(*memo_), QByteArray("a  x\n\nc"));
}

void SynMemoEditingTest::enterTrimsTheLineItLeaves() {
    loadText(*memo_, dir_, "");
    QTest::keyClicks(memo_, QStringLiteral("    k=v  "));
    QTest::keyClick(memo_, Qt::Key_Return);
    QCOMPARE(memo_->lineAt(0), QStringLiteral("    k=v"));
    QCOMPARE(memo_->lineAt(1), QStringLiteral("    ")); // auto indent, caret still here
    QTest::keyClick(memo_, Qt::Key_Up);
    QCOMPARE(memo_->lineAt(1), QStringLiteral("")); // the indentation alone is trimmed
    QCOMPARE(bufferBytes(*memo_), QByteArray("    k=v\r\n"));
}

void SynMemoEditingTest::clickOnAnotherLineTrims() {
    loadText(*memo_, dir_, "first\nsecond\n");
    memo_->resize(300, 200);
    memo_->show();
    QVERIFY(QTest::qWaitForWindowExposed(memo_));
    QTest::keyClick(memo_, Qt::Key_End);
    QTest::keyClicks(memo_, QStringLiteral("  "));
    const int y = int(memo_->SendScintilla(Sci::SCI_POINTYFROMPOSITION, 0UL,
                                           memo_->positionFromLineIndex(1, 2))) +
                  memo_->textHeight(1) / 2;
    QTest::mouseClick(memo_->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(20, y));
    QCOMPARE(caretOf(*memo_).line, 1);
    QCOMPARE(memo_->lineAt(0), QStringLiteral("first"));
}

void SynMemoEditingTest::trimIsItsOwnUndoStepAndUndoneBlanksAreTrimmedAgain() {
    loadText(*memo_, dir_, "k\nnext");
    QTest::keyClick(memo_, Qt::Key_End);
    QTest::keyClicks(memo_, QStringLiteral("=v  "));
    QTest::keyClick(memo_, Qt::Key_Down);
    QCOMPARE(bufferBytes(*memo_), QByteArray("k=v\nnext"));
    QTest::keyClick(memo_, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray("k=v  \nnext"));
    QCOMPARE(caretOf(*memo_).line, 0);
    // The blanks came back, but the line is still an edited one.
    QVERIFY(memo_->isLineEdited(0));
    QTest::keyClick(memo_, Qt::Key_Down);
    QCOMPARE(bufferBytes(*memo_), QByteArray("k=v\nnext"));
    QTest::keyClick(memo_, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(memo_, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray("k\nnext"));
}

void SynMemoEditingTest::enterAndTheTrimItCausesAreOneUndoStep() {
    loadText(*memo_, dir_, "");
    QTest::keyClicks(memo_, QStringLiteral("k=1  "));
    QTest::keyClick(memo_, Qt::Key_Return);
    QCOMPARE(bufferBytes(*memo_), QByteArray("k=1\r\n"));
    QTest::keyClick(memo_, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray("k=1  "));
    QCOMPARE(caretOf(*memo_), (Caret{0, 5}));
    QTest::keyClick(memo_, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray("k=1\r\n"));
    QTest::keyClick(memo_, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(memo_, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray());
    // A pasted line left behind goes with the paste.
    QApplication::clipboard()->setText(QStringLiteral("a  \nb"));
    QTest::keyClick(memo_, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray("a\r\nb"));
    QTest::keyClick(memo_, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray());
}

// What saves or hands on the text trims every edited line first, the one holding the
// caret too (through the window: tests/app/EditorDateiTest).
void SynMemoEditingTest::blanksOnTheCaretLineAreNotSaved() {
    loadText(*memo_, dir_, "a  \r\n");
    QTest::keyClick(memo_, Qt::Key_Down);
    QTest::keyClicks(memo_, QStringLiteral("[S]  "));
    memo_->insert(QStringLiteral("\t")); // the keyboard's Tab moves the focus instead
    memo_->trimEditedLines();
    memo_->markSaved();
    QCOMPARE(bufferBytes(*memo_), QByteArray("a  \r\n[S]"));
    QVERIFY(!memo_->isLineEdited(1));
    QVERIFY(!memo_->isModified());
    // The trim is one undo step of its own.
    QTest::keyClick(memo_, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(bufferBytes(*memo_), QByteArray("a  \r\n[S]  \t"));
}

void SynMemoEditingTest::programEditsAreNotTrimmed() {
    loadText(*memo_, dir_, "a\n");
    memo_->appendLine(QStringLiteral("key=value  "));
    QTest::keyClick(memo_, Qt::Key_Down);
    QTest::keyClick(memo_, Qt::Key_Down);
    QTest::keyClick(memo_, Qt::Key_Up);
    QCOMPARE(memo_->lineAt(2), QStringLiteral("key=value  "));
}

void SynMemoEditingTest::smartTabDelete_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("caretIndex");
    QTest::newRow("back to the less indented line") << QByteArray("[S]\n    k=1\n        x") << 2
                                                    << 8 << QByteArray("[S]\n    k=1\n    x") << 4;
    QTest::newRow("then to column 1")
        << QByteArray("[S]\n    k=1\n    x") << 2 << 4 << QByteArray("[S]\n    k=1\nx") << 0;
    QTest::newRow("blank lines do not count")
        << QByteArray("  a\n\n      \n      x") << 3 << 6 << QByteArray("  a\n\n      \n  x") << 2;
    QTest::newRow("caret inside the blanks")
        << QByteArray("  a\n      x") << 1 << 5 << QByteArray("  a\n   x") << 2;
    QTest::newRow("tab replaced by spaces")
        << QByteArray("  a\n\tx") << 1 << 1 << QByteArray("  a\n  x") << 2;
    QTest::newRow("outside leading blanks: one character")
        << QByteArray("    a\n    bc") << 1 << 5 << QByteArray("    a\n    c") << 4;
    QTest::newRow("column 1: joins lines") << QByteArray("a\nb") << 1 << 0 << QByteArray("ab") << 1;
}

void SynMemoEditingTest::smartTabDelete() {
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    QFETCH(int, index);
    QFETCH(QByteArray, expected);
    QFETCH(int, caretIndex);
    loadText(*memo_, dir_, text);
    placeCaret(*memo_, line, index);
    QTest::keyClick(memo_, Qt::Key_Backspace);
    QCOMPARE(bufferBytes(*memo_), expected);
    QCOMPARE(caretOf(*memo_).index, caretIndex);
    memo_->undo();
    QCOMPARE(bufferBytes(*memo_), text);
}

void SynMemoEditingTest::undoStepsFollowRunsOfOneKind() {
    loadText(*memo_, dir_, "");
    QTest::keyClicks(memo_, QStringLiteral("abc"));
    QTest::keyClick(memo_, Qt::Key_Return);
    QTest::keyClicks(memo_, QStringLiteral("def"));
    QTest::keyClick(memo_, Qt::Key_Left);
    QTest::keyClick(memo_, Qt::Key_Right);
    QTest::keyClicks(memo_, QStringLiteral("gh"));
    QTest::keyClick(memo_, Qt::Key_Backspace);
    QTest::keyClick(memo_, Qt::Key_Backspace);
    QCOMPARE(bufferBytes(*memo_), QByteArray("abc\r\ndef"));
    const QList<QByteArray> steps = {"abc\r\ndefgh", "abc\r\ndef", "abc\r\n", "abc", ""};
    for (const QByteArray& step : steps) {
        memo_->undo();
        QCOMPARE(bufferBytes(*memo_), step);
    }
    QVERIFY(!memo_->isUndoAvailable());
}

void SynMemoEditingTest::freshLoadStaysUnmodifiedByNavigationAndNoOps() {
    loadText(*memo_, dir_, "abc");
    QVERIFY(!memo_->isModified());
    QVERIFY(!memo_->isUndoAvailable());
    QTest::keyClick(memo_, Qt::Key_Backspace); // at the start: nothing to delete
    QTest::keyClick(memo_, Qt::Key_End);
    QTest::keyClick(memo_, Qt::Key_Delete); // at the end: nothing either
    QTest::keyClick(memo_, Qt::Key_U, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(memo_, Qt::Key_Left);
    QVERIFY(!memo_->isModified());
    QVERIFY(!memo_->isUndoAvailable());
    QTest::keyClick(memo_, Qt::Key_X);
    QVERIFY(memo_->isModified());
}

void SynMemoEditingTest::activeLineColour() {
    QVERIFY(memo_->SendScintilla(Sci::SCI_GETCARETLINEVISIBLE));
    QVERIFY(memo_->SendScintilla(Sci::SCI_GETCARETLINEVISIBLEALWAYS)); // also without focus
    QCOMPARE(memo_->activeLineColor(), QColor(255, 255, 187));
    QCOMPARE(memo_->SendScintilla(Sci::SCI_GETCARETLINEBACK), 0xBBFFFFL);
    loadText(*memo_, dir_, "one\ntwo\n");
    memo_->resize(300, 120);
    memo_->show();
    QVERIFY(QTest::qWaitForWindowExposed(memo_));
    const int lineHeight = memo_->textHeight(0);
    const QPoint onLine0(200, lineHeight / 2);
    const QPoint onLine1(200, lineHeight + lineHeight / 2);
    QImage image = memo_->viewport()->grab().toImage();
    QCOMPARE(image.pixelColor(onLine0), QColor(255, 255, 187));
    QCOMPARE(image.pixelColor(onLine1), QColor(Qt::white));
    memo_->setActiveLineColor(QColor(200, 220, 255));
    image = memo_->viewport()->grab().toImage();
    QCOMPARE(image.pixelColor(onLine0), QColor(200, 220, 255));
    QTest::keyClick(memo_, Qt::Key_Down);
    image = memo_->viewport()->grab().toImage();
    QCOMPARE(image.pixelColor(onLine0), QColor(Qt::white));
    QCOMPARE(image.pixelColor(onLine1), QColor(200, 220, 255));
    memo_->setActiveLineColor(QColor()); // none: the plain background
    QVERIFY(!memo_->SendScintilla(Sci::SCI_GETCARETLINEVISIBLE));
}

void SynMemoEditingTest::edgeLineAndMargins() {
    QCOMPARE(memo_->edgeMode(), QsciScintilla::EdgeLine);
    QCOMPARE(memo_->edgeColumn(), 80);
    QCOMPARE(memo_->edgeColor(), QColor(192, 192, 192));
    int margins = 0;
    for (int margin = 0; margin <= 4; ++margin)
        margins += memo_->marginWidth(margin);
    QCOMPARE(margins, 0);
    QCOMPARE(memo_->tabWidth(), 8);
    QVERIFY(!memo_->indentationsUseTabs());
    QVERIFY(memo_->autoIndent());
    QVERIFY(memo_->isUtf8());
    QCOMPARE(memo_->SendScintilla(Sci::SCI_GETVIRTUALSPACEOPTIONS), 0L);
    QCOMPARE(memo_->objectName(), QStringLiteral("SynMemo1"));
}

void SynMemoEditingTest::noBuiltInContextMenu() {
    memo_->resize(300, 200);
    memo_->show();
    QVERIFY(QTest::qWaitForWindowExposed(memo_));
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                            memo_->viewport()->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(memo_->viewport(), &event);
    QTest::qWait(50);
    QVERIFY(!QApplication::activePopupWidget());
}

void SynMemoEditingTest::scrollHintWhileDraggingTheThumb() {
    QByteArray text;
    for (int i = 0; i < 300; ++i)
        text += "k" + QByteArray::number(i) + "=1\n";
    loadText(*memo_, dir_, text);
    memo_->resize(300, 200);
    memo_->show();
    QVERIFY(QTest::qWaitForWindowExposed(memo_));
    QScrollBar* bar = memo_->verticalScrollBar();
    QVERIFY(bar->maximum() > 100);
    QVERIFY(memo_->scrollHintText().isEmpty());
    bar->setSliderDown(true);
    bar->setSliderPosition(41);
    QCOMPARE(memo_->firstVisibleLine(), 41);
    QCOMPARE(memo_->scrollHintText(), QStringLiteral("Top Line: 42"));
    QCOMPARE(QToolTip::text(), QStringLiteral("Top Line: 42"));
    bar->setSliderPosition(100);
    QCOMPARE(memo_->scrollHintText(), QStringLiteral("Top Line: 101"));
    bar->setSliderDown(false);
    QVERIFY(memo_->scrollHintText().isEmpty());
    QTRY_VERIFY(!QToolTip::isVisible());
    // Scrolling without the thumb shows no hint.
    bar->setValue(10);
    QVERIFY(memo_->scrollHintText().isEmpty());
}

void SynMemoEditingTest::overwriteCaretIsABlock() {
    QWidget window;
    auto* memo = new SynMemo(&window);
    (new QVBoxLayout(&window))->addWidget(memo);
    window.resize(300, 150);
    loadText(*memo, dir_, "abcdef\n");
    memo->SendScintilla(Sci::SCI_SETCARETPERIOD, 0UL); // no blinking
    memo->setActiveLineColor(QColor());
    QVERIFY(activate(window, *memo));
    placeCaret(*memo, 0, 2);
    QVERIFY(memo->overwriteCaretRect().isNull());
    QCOMPARE(memo->SendScintilla(Sci::SCI_GETCARETSTYLE), long(Sci::CARETSTYLE_LINE));

    QTest::keyClick(memo, Qt::Key_Insert);
    const QRect block = memo->overwriteCaretRect();
    QVERIFY(!block.isNull());
    QCOMPARE(memo->SendScintilla(Sci::SCI_GETCARETSTYLE), long(Sci::CARETSTYLE_INVISIBLE));
    const int charWidth =
        int(memo->SendScintilla(Sci::SCI_TEXTWIDTH, uintptr_t(Sci::STYLE_DEFAULT), "c"));
    QVERIFY(qAbs(block.width() - charWidth) <= 1); // glyph positions are fractional
    QCOMPARE(block.height(), memo->textHeight(0));
    QCOMPARE(block.left(), int(memo->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, 2L)));
    const QImage withBlock = memo->viewport()->grab().toImage();
    QVERIFY2(darkShare(withBlock, block) > 0.6, "the block inverts the white background");
    const QRect nextCell = block.translated(block.width() * 2, 0);
    QVERIFY(darkShare(withBlock, nextCell) < 0.4);

    // The block follows the caret.
    QTest::keyClick(memo, Qt::Key_Right);
    const QRect next = memo->overwriteCaretRect();
    QCOMPARE(next.left(), int(memo->SendScintilla(Sci::SCI_POINTXFROMPOSITION, 0UL, 3L)));
    QCOMPARE(next.top(), block.top());
    const QImage moved = memo->viewport()->grab().toImage();
    QVERIFY(darkShare(moved, block.adjusted(0, 0, -2, 0)) < 0.4); // the old block is gone
    QVERIFY(darkShare(moved, next) > 0.6);

    // Back in insert mode: a bar, no block.
    QTest::keyClick(memo, Qt::Key_Insert);
    QVERIFY(memo->overwriteCaretRect().isNull());
    QCOMPARE(memo->SendScintilla(Sci::SCI_GETCARETSTYLE), long(Sci::CARETSTYLE_LINE));
    const QImage bar = memo->viewport()->grab().toImage();
    QVERIFY(darkShare(bar, next) < 0.4);
}

QTEST_MAIN(SynMemoEditingTest)
#include "SynMemoEditingTest.moc"
