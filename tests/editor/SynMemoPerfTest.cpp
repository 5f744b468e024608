#include "EditorTestSupport.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ravik;
using namespace ravik::test;


// A big file must stay usable: loading it, jumping to its end and typing there may
// take a moment but must not freeze the window. The limits are generous (the test
// machines are shared and slow); the measured times are printed.
class SynMemoPerfTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void bigFileLoadsScrollsAndEdits();
    void accessibilityDoesNotCountCharacters();

private:
    QTemporaryDir dir_;
    QString path_;
    qint64 size_ = 0;
};

void SynMemoPerfTest::initTestCase() {
    QVERIFY(dir_.isValid());
    path_ = dir_.filePath(QStringLiteral("big.ini"));
    QFile file(path_);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QByteArray chunk;
    for (int i = 0; i < 500000; ++i) {
        if (i % 10 == 0)
            chunk += "[Section" + QByteArray::number(i / 10) + "]\r\n";
        else if (i % 10 == 9)
            chunk += "; comment line number " + QByteArray::number(i) + " with some text\r\n";
        else
            chunk += "Key" + QByteArray::number(i) + " = \"value " + QByteArray::number(i * 7) +
                     "\" 12345 text" + QByteArray::number(i) + " abc\r\n";
        if (chunk.size() > (1 << 20)) {
            file.write(chunk);
            chunk.clear();
        }
    }
    file.write(chunk);
    size_ = file.size();
    QVERIFY(size_ > 20'000'000);
}

void SynMemoPerfTest::bigFileLoadsScrollsAndEdits() {
    SynMemo memo;
    memo.resize(900, 700);
    memo.show();
    QVERIFY(QTest::qWaitForWindowExposed(&memo));

    QElapsedTimer timer;
    timer.start();
    loadFile(memo, path_);
    memo.viewport()->repaint();
    const qint64 loadMs = timer.elapsed();
    QCOMPARE(memo.lineCount(), 500001);
    const long styledAtTop = memo.SendScintilla(Sci::SCI_GETENDSTYLED);

    timer.restart();
    QTest::keyClick(&memo, Qt::Key_End, Qt::ControlModifier);
    memo.viewport()->repaint();
    const qint64 endMs = timer.elapsed();
    QCOMPARE(memo.SendScintilla(Sci::SCI_GETCURRENTPOS), memo.SendScintilla(Sci::SCI_GETLENGTH));

    timer.restart();
    QTest::keyClick(&memo, Qt::Key_Up);
    QTest::keyClick(&memo, Qt::Key_End);
    QTest::keyClicks(&memo, QStringLiteral("x"));
    memo.viewport()->repaint();
    const qint64 typeMs = timer.elapsed();
    QVERIFY(memo.lineAt(499999).endsWith(QLatin1Char('x')));

    timer.restart();
    QTest::keyClick(&memo, Qt::Key_Backspace);
    memo.viewport()->repaint();
    const qint64 deleteMs = timer.elapsed();

    timer.restart();
    memo.SendScintilla(Sci::SCI_GOTOLINE, 250000UL);
    memo.viewport()->repaint();
    const qint64 middleMs = timer.elapsed();

    qInfo("file %lld bytes: load+paint %lld ms, Ctrl+End+paint %lld ms, type at end %lld ms, "
          "Backspace at end %lld ms, jump to middle %lld ms; styled after load %ld bytes",
          size_, loadMs, endMs, typeMs, deleteMs, middleMs, styledAtTop);
    // The figures are for reading (the benchmark measures speed); what must hold
    // whatever the machine is that only the visible part was styled.
    QVERIFY2(styledAtTop < 100'000, "only the visible part is styled after loading");
}

void SynMemoPerfTest::accessibilityDoesNotCountCharacters() {
    // QScintilla's own interface counts every character before the caret on each
    // paint; the editor gets a plain one without a text interface.
    SynMemo first;
    SynMemo second;
    for (SynMemo* memo : {&first, &second}) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(memo);
        QVERIFY(accessible);
        QCOMPARE(accessible->role(), QAccessible::EditableText);
        QVERIFY(!accessible->textInterface());
    }
}

QTEST_MAIN(SynMemoPerfTest)
#include "SynMemoPerfTest.moc"
