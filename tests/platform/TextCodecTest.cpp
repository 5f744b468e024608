#include "TestBytes.h"

#include "core/platform/text/TextCodec.h"

#include <QTest>

using namespace ravik;

Q_DECLARE_METATYPE(ravik::TextEncoding)

using testbytes::utf16;

class TextCodecTest : public QObject {
    Q_OBJECT

private slots:
    void detectsEncoding_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TextEncoding>("expected");
        const QByteArray le("\xFF\xFE", 2);
        const QByteArray be("\xFE\xFF", 2);
        const QString umlauts = QStringLiteral("[Ä]\r\nk=ö");
        QTest::newRow("empty") << QByteArray() << TextEncoding::Utf8;
        QTest::newRow("ascii") << QByteArray("[A]\r\nk=v\r\n") << TextEncoding::Utf8;
        QTest::newRow("utf8") << QStringLiteral("k=Größe").toUtf8() << TextEncoding::Utf8;
        QTest::newRow("utf8 mark") << QByteArray("\xEF\xBB\xBFk=\xC3\xA4") << TextEncoding::Utf8Bom;
        QTest::newRow("utf8 mark, then invalid")
            << QByteArray("\xEF\xBB\xBFk=\xE4") << TextEncoding::Windows1252;
        // Once the file's mark is cut off, a second mark is an ordinary character.
        QTest::newRow("utf8 mark twice")
            << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFk=v") << TextEncoding::Utf8Bom;
        QTest::newRow("windows-1252") << QByteArray("k=Gr\xF6\xDF"
                                                    "e")
                                      << TextEncoding::Windows1252;
        QTest::newRow("utf16 le") << le + utf16(umlauts, true) << TextEncoding::Utf16LE;
        QTest::newRow("utf16 be") << be + utf16(umlauts, false) << TextEncoding::Utf16BE;
        QTest::newRow("utf16 le, text starts with U+FEFF")
            << le + utf16(QString(QChar(0xFEFF)) + umlauts, true) << TextEncoding::Utf16LE;
        QTest::newRow("utf16 le, odd length")
            << le + QByteArray("a\0b", 3) << TextEncoding::Windows1252;
        QTest::newRow("utf16 le, stray surrogate")
            << le + utf16(QString(QChar(0xD800)) + QLatin1String("a"), true)
            << TextEncoding::Windows1252;
        QTest::newRow("utf16 be, surrogate pair")
            << be + utf16(QString::fromUcs4(U"a\U0001F600"), false) << TextEncoding::Utf16BE;
    }
    void detectsEncoding() {
        QFETCH(QByteArray, bytes);
        QFETCH(TextEncoding, expected);
        QCOMPARE(TextCodec::detect(bytes), expected);
    }

    void validatesUtf8_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("ascii, long") << QByteArray(1000, 'a') << true;
        QTest::newRow("two bytes") << QByteArray("\xC3\xA4") << true;
        QTest::newRow("three bytes") << QByteArray("\xE2\x82\xAC") << true;
        QTest::newRow("four bytes") << QByteArray("\xF0\x9F\x98\x80") << true;
        QTest::newRow("U+FFFF") << QByteArray("\xEF\xBF\xBF") << true;
        QTest::newRow("U+10FFFF") << QByteArray("\xF4\x8F\xBF\xBF") << true;
        QTest::newRow("U+FEFF first") << QByteArray("\xEF\xBB\xBF"
                                                    "abc")
                                      << true;
        QTest::newRow("after eight ascii bytes") << QByteArray("abcdefgh\xC3\xA4xyz") << true;
        QTest::newRow("NUL") << QByteArray("a\0b", 3) << true;
        QTest::newRow("overlong two") << QByteArray("\xC0\x80") << false;
        QTest::newRow("overlong C1") << QByteArray("\xC1\xBF") << false;
        QTest::newRow("overlong three") << QByteArray("\xE0\x80\x80") << false;
        QTest::newRow("overlong four") << QByteArray("\xF0\x80\x80\x80") << false;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
        QTest::newRow("beyond U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << false;
        QTest::newRow("F5 lead") << QByteArray("\xF5\x80\x80\x80") << false;
        QTest::newRow("lone continuation") << QByteArray("a\x80z") << false;
        QTest::newRow("truncated at end") << QByteArray("abcdefgh\xE2\x82") << false;
        QTest::newRow("latin-1 umlaut") << QByteArray("Gr\xF6\xDF"
                                                      "e")
                                        << false;
        QTest::newRow("bad continuation") << QByteArray("\xC3\x28") << false;
        QTest::newRow("FF") << QByteArray("\xFF") << false;
    }
    void validatesUtf8() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        QCOMPARE(TextCodec::isValidUtf8(bytes), valid);
        if (valid) // what it accepts must decode and encode back unchanged
            QCOMPARE(TextCodec::decode(bytes, TextEncoding::Utf8).toUtf8(), bytes);
    }

    void windows1252RoundTripsEveryByte() {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = TextCodec::decodeWindows1252(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(text[0x80], QChar(0x20AC));
        QCOMPARE(text[0x81], QChar(0x0081));
        QCOMPARE(text[0xE4], QChar(0x00E4));
        const auto back = TextCodec::encodeWindows1252(text);
        QVERIFY(back.has_value());
        QCOMPARE(*back, all);
    }

    void windows1252RefusesWhatItLacks_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("omega") << QStringLiteral("a\u03A9");
        QTest::newRow("C1 control that 1252 redefines") << QStringLiteral("\u0080");
        QTest::newRow("emoji") << QString::fromUcs4(U"\U0001F600");
    }
    void windows1252RefusesWhatItLacks() {
        QFETCH(QString, text);
        QVERIFY(!TextCodec::encodeWindows1252(text).has_value());
        QVERIFY(!TextCodec::encode(text, TextEncoding::Windows1252).has_value());
    }

    void decodeKeepsALeadingU_FEFF_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TextEncoding>("encoding");
        const QString text = QString(QChar(0xFEFF)) + QLatin1String("k=v");
        QTest::newRow("utf8") << text.toUtf8() << TextEncoding::Utf8;
        QTest::newRow("utf16 le") << utf16(text, true) << TextEncoding::Utf16LE;
        QTest::newRow("utf16 be") << utf16(text, false) << TextEncoding::Utf16BE;
    }
    void decodeKeepsALeadingU_FEFF() {
        QFETCH(QByteArray, bytes);
        QFETCH(TextEncoding, encoding);
        const QString decoded = TextCodec::decode(bytes, encoding);
        QCOMPARE(decoded, QString(QChar(0xFEFF)) + QLatin1String("k=v"));
        QCOMPARE(TextCodec::encode(decoded, encoding).value_or(QByteArray()), bytes);
    }

    void decodeFileStripsOnlyTheFilesMark() {
        const QByteArray twice("\xEF\xBB\xBF\xEF\xBB\xBFk=v");
        const DecodedText decoded = TextCodec::decodeFile(twice);
        QCOMPARE(decoded.encoding, TextEncoding::Utf8Bom);
        QCOMPARE(decoded.text, QString(QChar(0xFEFF)) + QLatin1String("k=v"));
    }

    void encodeRefusesUnpairedSurrogates_data() {
        QTest::addColumn<TextEncoding>("encoding");
        QTest::newRow("utf8") << TextEncoding::Utf8;
        QTest::newRow("utf16 le") << TextEncoding::Utf16LE;
        QTest::newRow("utf16 be") << TextEncoding::Utf16BE;
    }
    void encodeRefusesUnpairedSurrogates() {
        QFETCH(TextEncoding, encoding);
        QVERIFY(!TextCodec::encode(QString(QChar(0xDC00)), encoding).has_value());
        const QString pair = QString::fromUcs4(U"\U0001F600");
        QVERIFY(TextCodec::encode(pair, encoding).has_value());
    }

    void byteOrderMarks() {
        QCOMPARE(TextCodec::byteOrderMark(TextEncoding::Utf8), QByteArray());
        QCOMPARE(TextCodec::byteOrderMark(TextEncoding::Windows1252), QByteArray());
        QCOMPARE(TextCodec::byteOrderMark(TextEncoding::Utf8Bom), QByteArray("\xEF\xBB\xBF"));
        QCOMPARE(TextCodec::byteOrderMark(TextEncoding::Utf16LE), QByteArray("\xFF\xFE"));
        QCOMPARE(TextCodec::byteOrderMark(TextEncoding::Utf16BE), QByteArray("\xFE\xFF"));
    }
};

QTEST_GUILESS_MAIN(TextCodecTest)
#include "TextCodecTest.moc"
