#include "core/platform/errors/RavikError.h"
#include "core/platform/files/TextFile.h"
#include "TestFiles.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

using namespace ravik;

// Reading a file for the editor and writing the text back: every byte returns.
class TextFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString write(const QByteArray& bytes) {
        const QString path = dir_.filePath(QStringLiteral("f.ini"));
        testfiles::writeFile(path, bytes);
        return path;
    }
    static QByteArray utf8Of(const TextFileContent& content) {
        QByteArray text;
        TextFile::toUtf8Pieces(content, [&](QByteArrayView piece) { text.append(piece); });
        return text;
    }

private slots:
    void textWrittenBackInItsEncodingIsTheFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QDirIterator it(QStringLiteral(RAVIK_SOURCE_DIR "/tests/data/roundtrip"), QDir::Files);
        while (it.hasNext()) {
            const QString path = it.next();
            QTest::newRow(qPrintable(it.fileName())) << testfiles::readFile(path);
        }
        const QByteArray megabyte(1 << 20, 'a');
        QTest::newRow("sequence across pieces") << megabyte.first(megabyte.size() - 1) + "\xC3\xA4\r\n";
        QTest::newRow("windows-1252 across pieces") << megabyte + "\xE4\xFC";
        QTest::newRow("empty") << QByteArray();
        // A character cut between two blocks of a file read in blocks (256 KiB).
        QByteArray utf16("\xFF\xFE");
        for (int i = 0; i < 131070; ++i)
            utf16.append("a\0", 2);
        QTest::newRow("utf-16 pair across blocks") << utf16 + QByteArray("\x3D\xD8\x00\xDE\r\0\n\0", 8);
        QTest::newRow("utf-16 unit across blocks") << utf16 + QByteArray("\0\xE4\0", 3).mid(1) + "k\0";
    }
    void textWrittenBackInItsEncodingIsTheFile() {
        QFETCH(QByteArray, bytes);
        const TextFileContent content = TextFile::read(write(bytes));
        QCOMPARE(content.scan.encoding(), TextCodec::detect(bytes));
        const QByteArray text = utf8Of(content);
        // Read twice in blocks instead of whole: the same scan, the same text.
        qint64 blocks = 0;
        const TextScan scan = TextFile::scanFile(write(bytes), [&](QByteArrayView b) { blocks += b.size(); });
        QCOMPARE(blocks, bytes.size());
        QCOMPARE(scan.encoding(), content.scan.encoding());
        QCOMPARE(scan.longestLine(), content.scan.longestLine());
        QByteArray streamed;
        TextFile::fileToUtf8Pieces(write(bytes), scan.encoding(), [&](QByteArrayView piece) { streamed.append(piece); });
        QCOMPARE(streamed, text);
        QVERIFY(TextCodec::isValidUtf8(text) || content.scan.encoding() == TextEncoding::Utf8);
        const QString copy = dir_.filePath(QStringLiteral("kopie.ini"));
        QCOMPARE(TextFile::write(copy, text, content.scan.encoding()), std::nullopt);
        QCOMPARE(testfiles::readFile(copy), bytes);
    }

    void decodesWhatIsNotUtf8() {
        QCOMPARE(utf8Of(TextFile::read(write("Gr\xF6\xDF" "e=\x80"))), QByteArray("Größe=€"));
        QCOMPARE(utf8Of(TextFile::read(write(QByteArray("\xFF\xFE" "k\0=\0\xE4\0", 8)))),
                 QByteArray("k=ä"));
        QCOMPARE(utf8Of(TextFile::read(write("\xEF\xBB\xBFk=1"))), QByteArray("k=1"));
    }

    void textTheEncodingCannotHoldLeavesTheFileAlone() {
        const QString path = write("alt");
        const auto failure = TextFile::write(path, "Жук", TextEncoding::Windows1252);
        QVERIFY(failure && failure->stage == FileWriteFailure::Stage::Encoding);
        QCOMPARE(testfiles::readFile(path), QByteArray("alt"));
    }

    void unreadableIsAnOpenError() {
        QVERIFY_THROWS_EXCEPTION(EFOpenError, TextFile::read(dir_.path()));
        QVERIFY_THROWS_EXCEPTION(EFOpenError, TextFile::read(dir_.filePath("fehlt.ini")));
    }
};

QTEST_GUILESS_MAIN(TextFileTest)
#include "TextFileTest.moc"
