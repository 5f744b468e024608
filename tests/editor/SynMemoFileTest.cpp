#include "EditorTestSupport.h"

#include "core/platform/errors/RavikError.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QStringEncoder>
#include <csignal>
#include <sys/resource.h>

using namespace ravik;
using namespace ravik::test;

namespace {

QByteArray utf16(const QString& text, QStringEncoder::Encoding encoding, const char* mark) {
    QStringEncoder encoder(encoding, QStringEncoder::Flag::Stateless);
    return QByteArray(mark, 2) + QByteArray(encoder.encode(text));
}

QString errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RavikError& error) {
        return error.message();
    }
    return QStringLiteral("<no error>");
}

} // namespace

// Lines read from and written to files: every byte survives a load and a save, the
// line rules, the line operations the program calls, and the errors.
class SynMemoFileTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void roundTripIsByteIdentical_data();
    void roundTripIsByteIdentical();
    void linesAsTheProgramSeesThem_data();
    void linesAsTheProgramSeesThem();
    void newBreaksFollowTheLoadedStyle();
    void loadResetsCaretUndoAndModified();
    void clearAllKeepsStyleAndEncoding();
    void appendLine();
    void appendLineAfterAFinalBreakLeavesABlankLine();
    void missingFileRaisesGermanOpenErrorAndKeepsTheText();
    void directoryAndDeviceAreRefused();
    void largeFilesReportProgress();
    void overlongLineIsRefused();
    void saveErrors();
    void failedWriteRaisesStreamWriteErrorAndKeepsTheFile();
    void textTheEncodingCannotHoldIsRefused();
    void invalidUtf8IsNeverWrittenAsUtf16();

private:
    QTemporaryDir dir_;
    SynMemo* memo_ = nullptr;
};

void SynMemoFileTest::init() {
    QVERIFY(dir_.isValid());
    memo_ = new SynMemo;
}

void SynMemoFileTest::cleanup() {
    delete memo_;
}

void SynMemoFileTest::roundTripIsByteIdentical_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    const int utf8 = int(TextEncoding::Utf8);
    const int cp1252 = int(TextEncoding::Windows1252);
    QTest::newRow("CR LF") << QByteArray("[S]\r\nk=v\r\n") << utf8;
    QTest::newRow("LF") << QByteArray("[S]\nk=v\n") << utf8;
    QTest::newRow("CR") << QByteArray("[S]\rk=v\r") << utf8;
    QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd\n\re") << utf8;
    QTest::newRow("no final break") << QByteArray("a\r\nb") << utf8;
    QTest::newRow("only breaks") << QByteArray("\r\n\r\n\n") << utf8;
    QTest::newRow("empty") << QByteArray() << utf8;
    QTest::newRow("UTF-8") << QByteArray("k=\xc3\xa4\xe2\x82\xac\r\n") << utf8;
    QTest::newRow("UTF-8 BOM") << QByteArray("\xef\xbb\xbfk=\xc3\xa4\r\n")
                               << int(TextEncoding::Utf8Bom);
    QTest::newRow("UTF-16 LE") << utf16(QStringLiteral("[Ä]\r\nk=€\r\n"), QStringEncoder::Utf16LE,
                                        "\xff\xfe")
                               << int(TextEncoding::Utf16LE);
    QTest::newRow("UTF-16 BE") << utf16(QStringLiteral("[Ä]\nk=€"), QStringEncoder::Utf16BE,
                                        "\xfe\xff")
                               << int(TextEncoding::Utf16BE);
    QTest::newRow("Windows-1252") << QByteArray("[\xc4]\r\nk=\x80\xe4\x81\x9f\r\n") << cp1252;
    QTest::newRow("NUL bytes") << QByteArray("a\0b\r\n\0\0\r\nc\0", 12) << utf8;
    QTest::newRow("invalid UTF-8") << QByteArray("k=\xc3\x28\r\nx=\xff\xfe\xfd") << cp1252;
    QTest::newRow("lone UTF-8 BOM") << QByteArray("\xef\xbb\xbf") << int(TextEncoding::Utf8Bom);
    QTest::newRow("trailing blanks") << QByteArray("k=v  \r\n\t\r\n") << utf8;
    QByteArray binary(4096, Qt::Uninitialized);
    QRandomGenerator random(7);
    for (char& byte : binary)
        byte = char(random.bounded(256));
    QTest::newRow("binary") << binary << cp1252;
}

void SynMemoFileTest::roundTripIsByteIdentical() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    loadText(*memo_, dir_, bytes);
    QCOMPARE(int(memo_->encoding()), encoding);
    const QString saved = dir_.filePath(QStringLiteral("saved.ini"));
    memo_->saveLinesToFile(saved);
    QCOMPARE(readFile(saved), bytes);
    // Moving over every line does not touch them either.
    QTest::keyClick(memo_, Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < memo_->lineCount(); ++i) {
        QTest::keyClick(memo_, Qt::Key_End);
        QTest::keyClick(memo_, Qt::Key_Down);
    }
    memo_->saveLinesToFile(saved);
    QCOMPARE(readFile(saved), bytes);
}

void SynMemoFileTest::linesAsTheProgramSeesThem_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("eol");
    const int crlf = int(EolStyle::CrLf);
    const int lf = int(EolStyle::Lf);
    const int cr = int(EolStyle::Cr);
    QTest::newRow("CR LF with final break")
        << QByteArray("a\r\nb\r\n") << QStringList{"a", "b", ""} << crlf;
    QTest::newRow("LF without final break") << QByteArray("a\nb") << QStringList{"a", "b"} << lf;
    QTest::newRow("LF CR is two breaks")
        << QByteArray("a\n\rb") << QStringList{"a", "", "b"} << crlf;
    QTest::newRow("CR") << QByteArray("a\rb\r") << QStringList{"a", "b", ""} << cr;
    QTest::newRow("empty file") << QByteArray() << QStringList{} << crlf;
    QTest::newRow("one break") << QByteArray("\n") << QStringList{"", ""} << lf;
    QTest::newRow("NUL kept in line")
        << QByteArray("a\0b\nc", 5) << QStringList{QString::fromUtf8("a\0b", 3), "c"} << lf;
    QTest::newRow("Windows-1252 decoded")
        << QByteArray("k=\x80\xe4") << QStringList{"k=€ä"} << crlf;
    QTest::newRow("UTF-8 BOM not in the text")
        << QByteArray("\xef\xbb\xbf[S]\r\n") << QStringList{"[S]", ""} << crlf;
}

void SynMemoFileTest::linesAsTheProgramSeesThem() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QFETCH(int, eol);
    loadText(*memo_, dir_, bytes);
    QCOMPARE(memo_->lineCount(), lines.size());
    for (int i = 0; i < lines.size(); ++i)
        QCOMPARE(memo_->lineAt(i), lines[i]);
    QCOMPARE(memo_->lineAt(lines.size()), QString());
    QCOMPARE(memo_->lineAt(-1), QString());
    QCOMPARE(int(memo_->eolStyle()), eol);
    const bool empty = lines.isEmpty() || (lines.size() == 1 && lines[0].isEmpty());
    QCOMPARE(memo_->isTextEmpty(), empty);
}

void SynMemoFileTest::newBreaksFollowTheLoadedStyle() {
    loadText(*memo_, dir_, "a\nb\n");
    memo_->clearAll();
    QTest::keyClicks(memo_, QStringLiteral("x"));
    QTest::keyClick(memo_, Qt::Key_Return);
    QTest::keyClicks(memo_, QStringLiteral("y"));
    const QString saved = dir_.filePath(QStringLiteral("lf.ini"));
    memo_->saveLinesToFile(saved);
    QCOMPARE(readFile(saved), QByteArray("x\ny"));

    loadText(*memo_, dir_, "a\rb");
    QTest::keyClick(memo_, Qt::Key_End);
    QTest::keyClick(memo_, Qt::Key_Return);
    QCOMPARE(bufferBytes(*memo_), QByteArray("a\r\rb"));

    // Before any load, and for an empty file, breaks are CR LF.
    SynMemo fresh;
    QCOMPARE(fresh.eolStyle(), EolStyle::CrLf);
    QTest::keyClicks(&fresh, QStringLiteral("p"));
    QTest::keyClick(&fresh, Qt::Key_Return);
    QCOMPARE(bufferBytes(fresh), QByteArray("p\r\n"));
    loadText(*memo_, dir_, "");
    QCOMPARE(memo_->eolStyle(), EolStyle::CrLf);
}

void SynMemoFileTest::loadResetsCaretUndoAndModified() {
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
    QVERIFY(memo_->firstVisibleLine() > 100);
    QVERIFY(memo_->isModified());
    loadText(*memo_, dir_, text);
    QCOMPARE(caretOf(*memo_), (Caret{0, 0}));
    QCOMPARE(memo_->firstVisibleLine(), 0);
    QVERIFY(!memo_->isModified());
    QVERIFY(!memo_->isUndoAvailable());
    QVERIFY(!memo_->isRedoAvailable());
    // Down goes straight down from column 1, whatever column was used before.
    QTest::keyClick(memo_, Qt::Key_Down);
    QCOMPARE(caretOf(*memo_), (Caret{1, 0}));
}

void SynMemoFileTest::clearAllKeepsStyleAndEncoding() {
    loadText(*memo_, dir_, "[\xc4]\nk=\x80\n");
    QCOMPARE(memo_->encoding(), TextEncoding::Windows1252);
    placeCaret(*memo_, 1, 1);
    QTest::keyClick(memo_, Qt::Key_3, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClicks(memo_, QStringLiteral("x"));
    memo_->clearAll();
    QVERIFY(memo_->isTextEmpty());
    QCOMPARE(memo_->lineCount(), 0);
    QVERIFY(!memo_->isModified());
    QVERIFY(!memo_->isUndoAvailable());
    QCOMPARE(memo_->bookmarkLine(3), -1);
    QCOMPARE(memo_->eolStyle(), EolStyle::Lf);
    QCOMPARE(memo_->encoding(), TextEncoding::Windows1252);
    memo_->appendLine(QStringLiteral("[Ü]"));
    memo_->appendLine(QStringLiteral("k=€"));
    const QString saved = dir_.filePath(QStringLiteral("cp.ini"));
    memo_->saveLinesToFile(saved);
    QCOMPARE(readFile(saved), QByteArray("[\xdc]\nk=\x80"));
}

void SynMemoFileTest::appendLine() {
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

void SynMemoFileTest::appendLineAfterAFinalBreakLeavesABlankLine() {
    loadText(*memo_, dir_, "[A]\r\nk=1\r\n");
    memo_->appendLine(QStringLiteral("[B]"));
    const QString saved = dir_.filePath(QStringLiteral("appended.ini"));
    memo_->saveLinesToFile(saved);
    QCOMPARE(readFile(saved), QByteArray("[A]\r\nk=1\r\n\r\n[B]"));
}

void SynMemoFileTest::missingFileRaisesGermanOpenErrorAndKeepsTheText() {
    loadText(*memo_, dir_, "keep=me\n");
    const QString missing = dir_.filePath(QStringLiteral("nicht/da.ini"));
    const QString message = errorOf([&] { memo_->loadLinesFromFile(missing); });
    QVERIFY2(message.startsWith(QStringLiteral("Datei %1 kann nicht geöffnet werden. ")
                                    .arg(QFileInfo(missing).absoluteFilePath())),
             qPrintable(message));
    QVERIFY(message.size() > QStringLiteral("Datei  kann nicht geöffnet werden. ").size() +
                                 missing.size()); // the system's reason follows
    QCOMPARE(bufferBytes(*memo_), QByteArray("keep=me\n"));
    QCOMPARE(memo_->eolStyle(), EolStyle::Lf);
}

void SynMemoFileTest::directoryAndDeviceAreRefused() {
    loadText(*memo_, dir_, "keep");
    QVERIFY(errorOf([&] {
                memo_->loadLinesFromFile(dir_.path());
            }).startsWith(QStringLiteral("Datei %1 kann nicht geöffnet werden.").arg(dir_.path())));
    // A device that never ends must not hang the program.
    if (QFileInfo::exists(QStringLiteral("/dev/zero")))
        QCOMPARE(errorOf([&] { memo_->loadLinesFromFile(QStringLiteral("/dev/zero")); }),
                 QStringLiteral("Datei /dev/zero kann nicht geöffnet werden. Das ist keine "
                                "gewöhnliche Datei."));
    QCOMPARE(bufferBytes(*memo_), QByteArray("keep"));
}

void SynMemoFileTest::largeFilesReportProgress() {
    QByteArray text;
    for (int i = 0; i < 200000; ++i)
        text += "schluessel" + QByteArray::number(i) + "=wert\r\n";
    const QString path = writeFile(dir_, QStringLiteral("gross.ini"), text);
    QSignalSpy progress(memo_, &SynMemo::progress);
    memo_->loadLinesFromFile(path);
    QVERIFY(progress.count() >= 2); // both passes over the file
    QCOMPARE(progress.last().at(0).toLongLong(), 2 * qint64(text.size()));
    progress.clear();
    memo_->saveLinesToFile(path);
    QCOMPARE(progress.count(), int(text.size() >> 20));
    QVERIFY(!progress.last().at(1).toBool());
    QCOMPARE(readFile(path), text);
}

void SynMemoFileTest::overlongLineIsRefused() {
    loadText(*memo_, dir_, "keep");
    const QByteArray longest = "k=" + QByteArray(SynMemo::kMaxLineBytes - 2, 'x');
    const QString fits = writeFile(dir_, QStringLiteral("fits.ini"), "a\r\n" + longest + "\r\n");
    memo_->loadLinesFromFile(fits);
    QCOMPARE(memo_->lineAt(1).size(), SynMemo::kMaxLineBytes);
    // Such a line's layout is kept once made; an ordinary file goes back to the caret line.
    QCOMPARE(memo_->SendScintilla(QsciScintillaBase::SCI_GETLAYOUTCACHE), long(QsciScintillaBase::SC_CACHE_DOCUMENT));
    loadText(*memo_, dir_, "keep");
    QCOMPARE(memo_->SendScintilla(QsciScintillaBase::SCI_GETLAYOUTCACHE), long(QsciScintillaBase::SC_CACHE_CARET));
    const QString tooLong = writeFile(dir_, QStringLiteral("long.ini"), "a\n" + longest + "x");
    QCOMPARE(errorOf([&] { memo_->loadLinesFromFile(tooLong); }),
             QStringLiteral("Datei %1 kann nicht geöffnet werden. Die Datei enthält eine Zeile mit "
                            "mehr als 16000000 Bytes; so lange Zeilen kann der Editor nicht "
                            "bearbeiten.")
                 .arg(QFileInfo(tooLong).absoluteFilePath()));
    QCOMPARE(bufferBytes(*memo_), QByteArray("keep"));
}

void SynMemoFileTest::saveErrors() {
    loadText(*memo_, dir_, "k=v");
    const QString noDirectory = dir_.filePath(QStringLiteral("fehlt/neu.ini"));
    QVERIFY(errorOf([&] { memo_->saveLinesToFile(noDirectory); })
                .startsWith(QStringLiteral("Datei \"%1\" kann nicht erstellt werden. ")
                                .arg(QFileInfo(noDirectory).absoluteFilePath())));
    QVERIFY(
        errorOf([&] {
            memo_->saveLinesToFile(dir_.path());
        }).startsWith(QStringLiteral("Datei \"%1\" kann nicht erstellt werden.").arg(dir_.path())));
    QVERIFY(!QFileInfo::exists(noDirectory));
}

void SynMemoFileTest::failedWriteRaisesStreamWriteErrorAndKeepsTheFile() {
    // A file size limit makes the write itself fail, after the file was created.
    const QString path = writeFile(dir_, QStringLiteral("old.ini"), "old=1\n");
    loadText(*memo_, dir_, QByteArray(64 * 1024, 'x'));
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1024;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const int filesBefore = QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size();
    const QString message = errorOf([&] { memo_->saveLinesToFile(path); });
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    QCOMPARE(message, QStringLiteral("Stream-Schreibfehler"));
    QCOMPARE(readFile(path), QByteArray("old=1\n"));
    QCOMPARE(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(), filesBefore);
}

void SynMemoFileTest::textTheEncodingCannotHoldIsRefused() {
    const QString path = writeFile(dir_, QStringLiteral("cp1252.ini"), "k=\xe4\r\n");
    memo_->loadLinesFromFile(path);
    QCOMPARE(memo_->encoding(), TextEncoding::Windows1252);
    QTest::keyClick(memo_, Qt::Key_End);
    memo_->insert(QStringLiteral("ж"));
    const int filesBefore = QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size();
    const QString message = errorOf([&] { memo_->saveLinesToFile(path); });
    QCOMPARE(message, QStringLiteral("Die Datei %1 wurde nicht gespeichert: Der Text enthält "
                                     "Zeichen, die in der Kodierung Windows-1252 nicht "
                                     "darstellbar sind.")
                          .arg(QFileInfo(path).absoluteFilePath()));
    QCOMPARE(readFile(path), QByteArray("k=\xe4\r\n")); // untouched
    memo_->setEncoding(TextEncoding::Utf8);
    memo_->saveLinesToFile(path);
    QCOMPARE(readFile(path), QByteArray("k=\xc3\xa4\xd0\xb6\r\n"));
}

void SynMemoFileTest::invalidUtf8IsNeverWrittenAsUtf16() {
    // Editor text is UTF-8; bytes that are not must not turn into U+FFFD silently.
    QVERIFY(!LineText::toFileBytes(QByteArrayView("k=\xff"), TextEncoding::Utf16LE));
    QVERIFY(!LineText::toFileBytes(QByteArrayView("k=\xc3"), TextEncoding::Utf16BE));
    QVERIFY(!LineText::toFileBytes(QByteArrayView("k=\xff"), TextEncoding::Windows1252));
    const auto fine = LineText::toFileBytes(QByteArrayView("k=\xc3\xa4"), TextEncoding::Utf16LE);
    QVERIFY(fine);
    QCOMPARE(*fine, QByteArray("\xff\xfek\0=\0\xe4\0", 8));
}

QTEST_MAIN(SynMemoFileTest)
#include "SynMemoFileTest.moc"
