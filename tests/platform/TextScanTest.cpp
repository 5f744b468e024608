#include "core/platform/text/TextScan.h"

#include <QRandomGenerator>
#include <QTest>

using namespace ravik;

// A file fed in blocks of any size gives the same verdict as the whole file at once.
class TextScanTest : public QObject {
    Q_OBJECT

    static TextScan scanInBlocks(const QByteArray& bytes, QRandomGenerator& zufall) {
        TextScan scan;
        qsizetype pos = 0;
        while (pos < bytes.size()) {
            const qsizetype n = qMin<qsizetype>(1 + zufall.bounded(7), bytes.size() - pos);
            scan.feed(QByteArrayView(bytes).sliced(pos, n));
            pos += n;
        }
        scan.finish();
        return scan;
    }

private slots:
    void agreesWithTheWholeFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("ascii lf") << QByteArray("a\nbb\nccc");
        QTest::newRow("umlauts crlf") << QByteArray("[Größe]\r\nMaß=1\r\n");
        QTest::newRow("four-byte sequence") << QByteArray("x=\xF0\x9F\x98\x80\ny");
        QTest::newRow("windows-1252") << QByteArray("Gr\xF6\xDF" "e=1\r");
        QTest::newRow("cut sequence at the end") << QByteArray("abc\xC3");
        QTest::newRow("stray continuation") << QByteArray("a\x80" "b");
        QTest::newRow("lone cr") << QByteArray("a\rb\rc");
        QTest::newRow("nul") << QByteArray("a\0b\n", 4);
    }
    void agreesWithTheWholeFile() {
        QFETCH(QByteArray, bytes);
        QRandomGenerator zufall(7);
        for (int runde = 0; runde < 50; ++runde) {
            const TextScan scan = scanInBlocks(bytes, zufall);
            QCOMPARE(scan.validUtf8(), TextCodec::isValidUtf8(bytes));
            QCOMPARE(scan.eol(), LineText::detectEol(bytes));
            QCOMPARE(scan.longestLine(), LineText::longestLine(bytes));
        }
    }

    void randomBytesAgreeToo() {
        QRandomGenerator zufall(99);
        const char alphabet[] = "ab\r\n\xC3\xA4\xE2\x82\xAC\xF0\x9F\x80\x80\xFF";
        for (int runde = 0; runde < 2000; ++runde) {
            QByteArray bytes;
            const int laenge = zufall.bounded(40);
            for (int i = 0; i < laenge; ++i)
                bytes.append(alphabet[zufall.bounded(int(sizeof alphabet) - 1)]);
            const TextScan scan = scanInBlocks(bytes, zufall);
            QCOMPARE(scan.validUtf8(), TextCodec::isValidUtf8(bytes));
            QCOMPARE(scan.eol(), LineText::detectEol(bytes));
            QCOMPARE(scan.longestLine(), LineText::longestLine(bytes));
        }
    }
};

QTEST_GUILESS_MAIN(TextScanTest)
#include "TextScanTest.moc"
