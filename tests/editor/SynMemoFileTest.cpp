#include "EditorTestSupport.h"

#include <QSignalSpy>

using namespace ravik;
using namespace ravik::test;

// The editor taking in a new text from the program: where caret, view and undo go,
// the lines the program appends, progress and the layout of long lines. (Files in
// and out through the window: tests/app/EditorDateiTest.)
class SynMemoFileTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        memo_ = new SynMemo;
    }
    void cleanup() { delete memo_; }

    void newTextResetsCaretViewUndoAndModified() {
        QByteArray text;
        for (int i = 0; i < 200; ++i)
            text += "k" + QByteArray::number(i) + "=value\n";
        loadText(*memo_, dir_, text);
        memo_->resize(300, 200);
        memo_->show();
        QVERIFY(QTest::qWaitForWindowExposed(memo_));
        QTest::keyClick(memo_, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(memo_, QStringLiteral("typed"));
        placeCaret(*memo_, 150, 4);
        QTest::keyClick(memo_, Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(memo_->firstVisibleLine() > 100);
        QVERIFY(memo_->isModified());
        loadText(*memo_, dir_, text);
        QCOMPARE(caretOf(*memo_), (Caret{0, 0}));
        QCOMPARE(memo_->firstVisibleLine(), 0);
        QVERIFY(!memo_->isModified());
        QVERIFY(!memo_->isUndoAvailable());
        QVERIFY(!memo_->isRedoAvailable());
        QCOMPARE(memo_->bookmarkLine(3), -1);
        // Down goes straight down from column 1, whatever column was used before.
        QTest::keyClick(memo_, Qt::Key_Down);
        QCOMPARE(caretOf(*memo_), (Caret{1, 0}));
    }

    void breaksFollowTheStyleTheProgramSets() {
        SynMemo fresh; // CR LF before anything is loaded
        QTest::keyClicks(&fresh, QStringLiteral("p"));
        QTest::keyClick(&fresh, Qt::Key_Return);
        QCOMPARE(bufferBytes(fresh), QByteArray("p\r\n"));
        loadText(*memo_, dir_, "a\rb");
        QTest::keyClick(memo_, Qt::Key_End);
        QTest::keyClick(memo_, Qt::Key_Return);
        QCOMPARE(bufferBytes(*memo_), QByteArray("a\r\rb"));
        memo_->clearAll(); // the style stays
        memo_->appendLine(QStringLiteral("x"));
        memo_->appendLine(QStringLiteral("y"));
        QCOMPARE(bufferBytes(*memo_), QByteArray("x\ry"));
    }

    void appendLine() {
        loadText(*memo_, dir_, "");
        memo_->appendLine(QStringLiteral("[Neu]"));
        QCOMPARE(bufferBytes(*memo_), QByteArray("[Neu]")); // no break before the first line
        QCOMPARE(memo_->lineCount(), 1);
        memo_->appendLine(QStringLiteral("schlüssel=wert"));
        QCOMPARE(memo_->lineCount(), 2);
        QCOMPARE(memo_->lineAt(1), QStringLiteral("schlüssel=wert"));
        QCOMPARE(bufferBytes(*memo_), QByteArray("[Neu]\r\nschl\xc3\xbcssel=wert"));
        // The caret stays where it was; each append is one undo step.
        placeCaret(*memo_, 0, 2);
        memo_->appendLine(QStringLiteral("x=1"));
        QCOMPARE(caretOf(*memo_), (Caret{0, 2}));
        memo_->undo();
        QCOMPARE(memo_->lineCount(), 2);
        memo_->undo();
        QCOMPARE(memo_->lineCount(), 1);
    }

    void largeTextsReportProgress() {
        QByteArray text;
        for (int i = 0; i < 200000; ++i)
            text += "schluessel" + QByteArray::number(i) + "=wert\r\n";
        QSignalSpy progress(memo_, &SynMemo::progress);
        loadText(*memo_, dir_, text);
        QVERIFY(progress.count() >= int(text.size() >> 20));
        QCOMPARE(progress.last().at(0).toLongLong(), qint64(text.size()));
        QCOMPARE(bufferBytes(*memo_), text);
    }

    // A line of megabytes keeps its layout once made; an ordinary text goes back to
    // laying out the caret line only.
    void longLinesKeepTheirLayout() {
        loadText(*memo_, dir_, "a\r\nk=" + QByteArray(SynMemo::kLongLineBytes, 'x') + "\r\n");
        QCOMPARE(memo_->SendScintilla(Sci::SCI_GETLAYOUTCACHE), long(Sci::SC_CACHE_DOCUMENT));
        loadText(*memo_, dir_, "keep");
        QCOMPARE(memo_->SendScintilla(Sci::SCI_GETLAYOUTCACHE), long(Sci::SC_CACHE_CARET));
    }

private:
    QTemporaryDir dir_;
    SynMemo* memo_ = nullptr;
};

QTEST_MAIN(SynMemoFileTest)
#include "SynMemoFileTest.moc"
