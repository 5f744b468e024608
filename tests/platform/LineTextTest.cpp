#include "core/platform/text/LineText.h"

#include <QTest>

using namespace ravik;

Q_DECLARE_METATYPE(ravik::EolStyle)
Q_DECLARE_METATYPE(ravik::TextEncoding)

class LineTextTest : public QObject {
    Q_OBJECT

private slots:
    void splitsLines_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArrayList>("lines");
        QTest::addColumn<EolStyle>("eol");
        QTest::newRow("empty") << QByteArray() << QByteArrayList{} << EolStyle::CrLf;
        QTest::newRow("one line, no break")
            << QByteArray("a") << QByteArrayList{"a"} << EolStyle::CrLf;
        QTest::newRow("CR LF with final break")
            << QByteArray("a\r\nb\r\n") << QByteArrayList{"a", "b", ""} << EolStyle::CrLf;
        QTest::newRow("LF without final break")
            << QByteArray("a\nb") << QByteArrayList{"a", "b"} << EolStyle::Lf;
        QTest::newRow("CR only") << QByteArray("a\rb\r") << QByteArrayList{"a", "b", ""}
                                 << EolStyle::Cr;
        QTest::newRow("LF then CR ends two lines")
            << QByteArray("a\n\rb") << QByteArrayList{"a", "", "b"} << EolStyle::CrLf;
        QTest::newRow("CR CR") << QByteArray("a\r\rb") << QByteArrayList{"a", "", "b"}
                               << EolStyle::Cr;
        QTest::newRow("only a break")
            << QByteArray("\r\n") << QByteArrayList{"", ""} << EolStyle::CrLf;
        QTest::newRow("mixed") << QByteArray("a\r\nb\nc") << QByteArrayList{"a", "b", "c"}
                               << EolStyle::CrLf;
        QTest::newRow("NUL kept") << QByteArray("a\0b\nc", 5)
                                  << QByteArrayList{QByteArray("a\0b", 3), "c"} << EolStyle::Lf;
    }
    void splitsLines() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArrayList, lines);
        QFETCH(EolStyle, eol);
        QCOMPARE(LineText::splitLines(bytes), lines);
        QCOMPARE(LineText::detectEol(bytes), eol);
    }

    void joinsWithTheStyle_data() {
        QTest::addColumn<EolStyle>("style");
        QTest::addColumn<QByteArray>("eol");
        QTest::addColumn<QByteArray>("joined");
        QTest::newRow("CR LF") << EolStyle::CrLf << QByteArray("\r\n") << QByteArray("a\r\nb\r\n");
        QTest::newRow("LF") << EolStyle::Lf << QByteArray("\n") << QByteArray("a\nb\n");
        QTest::newRow("CR") << EolStyle::Cr << QByteArray("\r") << QByteArray("a\rb\r");
    }
    void joinsWithTheStyle() {
        QFETCH(EolStyle, style);
        QFETCH(QByteArray, eol);
        QFETCH(QByteArray, joined);
        QCOMPARE(eolBytes(style), eol);
        // A final empty line stands for the final break, so split and join invert.
        QCOMPARE(LineText::joinLines({"a", "b", ""}, style), joined);
        QCOMPARE(LineText::splitLines(joined), (QByteArrayList{"a", "b", ""}));
    }

    void fileBytesRoundTrip_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<TextEncoding>("encoding");
        QTest::addColumn<QString>("text");
        QTest::newRow("utf8") << QStringLiteral("[Ä]\nk=€").toUtf8() << TextEncoding::Utf8
                              << QStringLiteral("[Ä]\nk=€");
        QTest::newRow("utf8 mark") << QByteArray("\xEF\xBB\xBFk=\xC3\xB6") << TextEncoding::Utf8Bom
                                   << QStringLiteral("k=ö");
        QTest::newRow("windows-1252") << QByteArray("k=\x80\xE4\r\n") << TextEncoding::Windows1252
                                      << QStringLiteral("k=€ä\r\n");
        QTest::newRow("utf16 le") << QByteArray("\xFF\xFEk\0=\0\xE4\0", 8) << TextEncoding::Utf16LE
                                  << QStringLiteral("k=ä");
        QTest::newRow("utf16 be, leading U+FEFF")
            << QByteArray("\xFE\xFF\xFE\xFF\0k", 6) << TextEncoding::Utf16BE
            << QString(QChar(0xFEFF)) + QLatin1String("k");
    }
    void fileBytesRoundTrip() {
        QFETCH(QByteArray, file);
        QFETCH(TextEncoding, encoding);
        QFETCH(QString, text);
        const EditorText editor = LineText::fromFileBytes(file);
        QCOMPARE(editor.encoding, encoding);
        QCOMPARE(TextCodec::decode(editor.utf8, TextEncoding::Utf8), text);
        QCOMPARE(LineText::toFileBytes(editor.utf8, editor.encoding).value_or("<refused>"), file);
    }

    void toFileBytesRefusesWhatTheEncodingLacks() {
        const QByteArray omega = QStringLiteral("k=\u03A9").toUtf8();
        QVERIFY(!LineText::toFileBytes(omega, TextEncoding::Windows1252).has_value());
        QCOMPARE(LineText::toFileBytes(omega, TextEncoding::Utf16LE).value_or(""),
                 QByteArray("\xFF\xFEk\0=\0\xA9\x03", 8));
    }

    // Writing in pieces gives exactly the bytes of writing the whole text at once, and
    // refuses what the whole conversion refuses.
    void piecesGiveTheSameBytes_data() {
        QTest::addColumn<int>("encoding");
        for (auto [name, e] : {std::pair{"utf-8", TextEncoding::Utf8}, {"utf-8 bom", TextEncoding::Utf8Bom},
                               {"utf-16le", TextEncoding::Utf16LE}, {"utf-16be", TextEncoding::Utf16BE},
                               {"windows-1252", TextEncoding::Windows1252}})
            QTest::newRow(name) << int(e);
    }
    void piecesGiveTheSameBytes() {
        QFETCH(int, encoding);
        const auto kodierung = TextEncoding(encoding);
        QByteArray text;
        // Over several pieces, with multi-byte characters across every boundary.
        while (text.size() < (3 << 20))
            text += "[Größe]\r\nMaß=\xE2\x82\xAC 12\r\nx=\xF0\x9F\x98\x80\n";
        const auto ganz = LineText::toFileBytes(text, kodierung);
        QByteArray stuecke;
        const bool ok = LineText::toFilePieces(text, kodierung, [&](QByteArrayView p) { stuecke.append(p); });
        QCOMPARE(ok, ganz.has_value());
        QCOMPARE(LineText::fitsEncoding(text, kodierung), ganz.has_value());
        if (ganz)
            QCOMPARE(stuecke, *ganz);

        const QByteArray latin = "a=\xC3\xA4\r\n" + QByteArray(2 << 20, 'x') + "\xE2\x82\xAC";
        const auto ganzLatin = LineText::toFileBytes(latin, kodierung);
        QByteArray stueckeLatin;
        QVERIFY(LineText::toFilePieces(latin, kodierung, [&](QByteArrayView p) { stueckeLatin.append(p); }));
        QCOMPARE(stueckeLatin, ganzLatin.value());
    }

    // Editor text is UTF-8; bytes that are not must not turn into U+FFFD silently.
    void invalidUtf8IsNeverWrittenInAnotherEncoding() {
        QVERIFY(!LineText::toFileBytes(QByteArrayView("k=\xff"), TextEncoding::Utf16LE));
        QVERIFY(!LineText::toFileBytes(QByteArrayView("k=\xc3"), TextEncoding::Utf16BE));
        QVERIFY(!LineText::toFileBytes(QByteArrayView("k=\xff"), TextEncoding::Windows1252));
        const auto fine = LineText::toFileBytes(QByteArrayView("k=\xc3\xa4"), TextEncoding::Utf16LE);
        QVERIFY(fine);
        QCOMPARE(*fine, QByteArray("\xff\xfek\0=\0\xe4\0", 8));
    }
};

QTEST_GUILESS_MAIN(LineTextTest)
#include "LineTextTest.moc"
