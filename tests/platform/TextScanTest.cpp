#include "core/platform/text/LineText.h"
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

    // The verdict of blocks against the whole file at once, and the UTF-8 check and the
    // line count against independent ones.
    static void agree(const TextScan& scan, const QByteArray& bytes) {
        TextScan whole;
        whole.feed(bytes);
        whole.finish();
        QCOMPARE(scan.encoding(), whole.encoding());
        QCOMPARE(scan.longestLine(), whole.longestLine());
        const LineEndCounts a = scan.lineEnds(), b = whole.lineEnds();
        QCOMPARE(QList<qsizetype>({a.crLf, a.lf, a.cr}), QList<qsizetype>({b.crLf, b.lf, b.cr}));
        if (scan.encoding() == TextEncoding::Utf8)
            QVERIFY(TextCodec::isValidUtf8(bytes));
        if (scan.encoding() == TextEncoding::Utf8 || scan.encoding() == TextEncoding::Windows1252) {
            const qsizetype breaks = a.crLf + a.lf + a.cr;
            QCOMPARE(breaks, qMax<qsizetype>(0, LineText::splitLines(bytes).size() - 1));
        }
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
        QTest::newRow("utf-16 le crlf") << QByteArray("\xFF\xFE" "a\0\r\0\n\0b\0", 10);
        QTest::newRow("utf-16 be lone surrogate") << QByteArray("\xFE\xFF\xD8\0\0a", 6);
        QTest::newRow("utf-8 mark, then invalid") << QByteArray("\xEF\xBB\xBFk=\xE4");
        QTest::newRow("cr lf cut between blocks") << QByteArray("a\r\nb\r");
    }
    void agreesWithTheWholeFile() {
        QFETCH(QByteArray, bytes);
        QRandomGenerator zufall(7);
        for (int runde = 0; runde < 50; ++runde) {
            const TextScan scan = scanInBlocks(bytes, zufall);
            agree(scan, bytes);
        }
    }

    void randomBytesAgreeToo() {
        QRandomGenerator zufall(99);
        const char alphabet[] = "ab\r\n\xC3\xA4\xE2\x82\xAC\xF0\x9F\x80\x80\xFF\xFE\xEF\xBB\xBF";
        for (int runde = 0; runde < 2000; ++runde) {
            QByteArray bytes;
            const int laenge = zufall.bounded(40);
            for (int i = 0; i < laenge; ++i)
                bytes.append(alphabet[zufall.bounded(int(sizeof alphabet) - 1)]);
            const TextScan scan = scanInBlocks(bytes, zufall);
            agree(scan, bytes);
        }
    }
};

QTEST_GUILESS_MAIN(TextScanTest)
#include "TextScanTest.moc"
