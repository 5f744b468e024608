#include "core/platform/text/TextArena.h"

#include <QTest>

using namespace ravik;

// Texts come back exactly as they went in, however long and whatever they hold.
class TextArenaTest : public QObject {
    Q_OBJECT

private slots:
    void textsComeBackUnchanged_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("ascii") << QString("Schluessel_12");
        QTest::newRow("umlauts") << QString("Größe=Maß");
        QTest::newRow("leading byte-order mark") << QString(QChar(0xFEFF)) + "x";
        QTest::newRow("emoji") << QString::fromUtf8("\xF0\x9F\x98\x80 ok");
        QTest::newRow("nul") << QString(QChar(0)) + "a";
        QTest::newRow("long value, own block") << QString(600000, QChar(0x20AC));
    }
    void textsComeBackUnchanged() {
        QFETCH(QString, text);
        TextArena arena;
        const TextArena::Text kurz = arena.add(QStringLiteral("davor"));
        const TextArena::Text t = arena.add(text);
        const TextArena::Text danach = arena.add(QStringLiteral("danach"));
        QCOMPARE(arena.text(t), text);
        QCOMPARE(arena.view(t), QByteArrayView(text.toUtf8()));
        QVERIFY(arena.equals(t, text.toUtf8()));
        QCOMPARE(arena.text(kurz), QString("davor"));
        QCOMPARE(arena.text(danach), QString("danach"));
        // The same bytes added as UTF-8 read back alike.
        QCOMPARE(arena.text(arena.add(QByteArrayView(arena.view(t)))), text);
    }

    void manyTextsSpanManyBlocks() {
        TextArena arena;
        std::vector<TextArena::Text> texte;
        for (int i = 0; i < 300000; ++i)
            texte.push_back(arena.add(QStringLiteral("Eintrag_%1=Wert").arg(i)));
        for (int i = 0; i < 300000; i += 997)
            QCOMPARE(arena.text(texte[i]), QStringLiteral("Eintrag_%1=Wert").arg(i));
        QVERIFY(arena.usedBytes() > 4 << 20);
        arena.clear();
        QCOMPARE(arena.usedBytes(), 0);
    }
};

QTEST_GUILESS_MAIN(TextArenaTest)
#include "TextArenaTest.moc"
