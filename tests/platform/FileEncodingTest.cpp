#include "core/platform/files/FileEncoding.h"
#include "core/platform/errors/RavikError.h"
#include "TestFiles.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

using namespace ravik;

// Finding a file's encoding in blocks must agree with looking at the whole file.
class FileEncodingTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    QString write(const QByteArray& bytes) {
        const QString path = dir_.filePath(QStringLiteral("f.ini"));
        testfiles::writeFile(path, bytes);
        return path;
    }

private slots:
    void agreesWithTheWholeFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QDirIterator it(QStringLiteral(RAVIK_SOURCE_DIR "/tests/data/roundtrip"), QDir::Files);
        while (it.hasNext()) {
            const QString path = it.next();
            QTest::newRow(qPrintable(it.fileName())) << testfiles::readFile(path);
        }
        const QByteArray megabyte(1 << 20, 'a');
        // A two-byte sequence cut by the first block's end, and one left unfinished there.
        QTest::newRow("sequence across blocks") << megabyte.first(megabyte.size() - 1) + "\xC3\xA4";
        QTest::newRow("broken across blocks") << megabyte.first(megabyte.size() - 1) + "\xC3" + "a";
        QTest::newRow("mark, then invalid") << QByteArray("\xEF\xBB\xBFk=\xE4");
        QTest::newRow("utf-16 mark, odd length") << QByteArray("\xFF\xFEk\0=", 5);
        QTest::newRow("empty") << QByteArray();
    }
    void agreesWithTheWholeFile() {
        QFETCH(QByteArray, bytes);
        QCOMPARE(detectFileEncoding(write(bytes)), std::optional(TextCodec::detect(bytes)));
    }

    void missingAndUnreadable() {
        QCOMPARE(detectFileEncoding(dir_.filePath(QStringLiteral("fehlt.ini"))), std::nullopt);
        QVERIFY_THROWS_EXCEPTION(EFOpenError, detectFileEncoding(dir_.path()));
    }
};

QTEST_GUILESS_MAIN(FileEncodingTest)
#include "FileEncodingTest.moc"
