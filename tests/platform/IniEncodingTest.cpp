#include "TestBytes.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/ini/IniDocument.h"

#include <QTest>

using namespace ravik;
using namespace testbytes;

Q_DECLARE_METATYPE(ravik::TextEncoding)

// Each file keeps its encoding: UTF-16 stays UTF-16 with its mark, other files stay
// bytes, and edits are encoded as the file is or refused.
class IniEncodingTest : public QObject {
    Q_OBJECT

private slots:
    void editsUtf16InItsOwnForm_data() {
        QTest::addColumn<bool>("littleEndian");
        QTest::addColumn<TextEncoding>("encoding");
        QTest::newRow("little endian") << true << TextEncoding::Utf16LE;
        QTest::newRow("big endian") << false << TextEncoding::Utf16BE;
    }
    void editsUtf16InItsOwnForm() {
        QFETCH(bool, littleEndian);
        QFETCH(TextEncoding, encoding);
        auto file = [&](const QString& text) {
            return littleEndian ? utf16leFile(text) : utf16beFile(text);
        };
        const QString emoji = QString::fromUcs4(U"\U0001F600");
        IniDocument document(
            file("; Größe\r\n[Äpfel]\r\nSorte = Boskoop\r\nZeichen=" + emoji + "\r\n"));
        QCOMPARE(document.encoding(), encoding);
        QCOMPARE(document.value("äPFEL", "sorte").value_or(""), QString("Boskoop"));
        QCOMPARE(document.value("Äpfel", "Zeichen").value_or(""), emoji);

        document.setValue("Äpfel", "Sorte", "Weißer Klarapfel €");
        document.setValue("Äpfel", "Neu", emoji + "Ω");
        document.setValue("Birnen", "Ω", "1");
        QCOMPARE(document.toBytes(),
                 file("; Größe\r\n[Äpfel]\r\nSorte = Weißer Klarapfel €\r\nZeichen=" + emoji +
                      "\r\nNeu=" + emoji + "Ω\r\n[Birnen]\r\nΩ=1\r\n"));
        QVERIFY(!refusalOf([&] { document.setValue("A", "k", QString(QChar(0xD800))); }).isEmpty());
    }

    void keepsAUtf8Mark() {
        IniDocument document("\xEF\xBB\xBF[A]\r\nk=\xC3\xA4\r\n");
        QCOMPARE(document.encoding(), TextEncoding::Utf8Bom);
        QCOMPARE(document.value("A", "k").value_or(""), QString("ä"));
        document.setValue("A", "k", "ö");
        QCOMPARE(document.toBytes(), QByteArray("\xEF\xBB\xBF[A]\r\nk=\xC3\xB6\r\n"));
        document.removeSection("A");
        QCOMPARE(document.toBytes(), QByteArray("\xEF\xBB\xBF"));
    }

    void utf8FilesTakeAnyCharacter() {
        IniDocument document("[A]\nk=plain ascii\n");
        QCOMPARE(document.encoding(), TextEncoding::Utf8);
        document.setValue("A", "k", "Größe Ω €");
        QCOMPARE(document.toBytes(), QStringLiteral("[A]\nk=Größe Ω €\n").toUtf8());
        QVERIFY(refusalOf([&] {
                    document.setValue("A", "k", QString(QChar(0xDC00)));
                }).contains("U+DC00"));
    }

    void newFilesAreUtf8() {
        IniDocument document;
        document.setValue("Größe", "Schlüssel", "Wert €");
        QCOMPARE(document.toBytes(), QStringLiteral("[Größe]\r\nSchlüssel=Wert €\r\n").toUtf8());
    }

    void windows1252StaysWindows1252() {
        IniDocument document(QByteArray("[Gr\xF6\xDF"
                                        "e]\r\nk=alt \xE4\r\n"));
        QCOMPARE(document.encoding(), TextEncoding::Windows1252);
        QCOMPARE(document.sectionNames(), QStringList{"Größe"});
        QCOMPARE(document.value("Größe", "k").value_or(""), QString("alt ä"));
        document.setValue("Größe", "k", "Maß €");
        document.setValue("Größe", "Schlüssel", "ü");
        QCOMPARE(document.toBytes(), QByteArray("[Gr\xF6\xDF"
                                                "e]\r\nk=Ma\xDF \x80\r\nSchl\xFCssel=\xFC\r\n"));
    }

    void refusesWhatWindows1252CannotHold_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("value") << "A"
                               << "k"
                               << "Ω-Wert"
                               << "Der Wert";
        QTest::newRow("new key") << "A"
                                 << "Ω"
                                 << "1"
                                 << "Der Schlüsselname";
        QTest::newRow("new section") << "Ω"
                                     << "k"
                                     << "1"
                                     << "Der Sektionsname";
        QTest::newRow("emoji") << "A"
                               << "k" << QString::fromUcs4(U"\U0001F600") << "U+1F600";
    }
    void refusesWhatWindows1252CannotHold() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, mentions);
        const QByteArray file("[A]\r\nk=\xE4\r\n");
        IniDocument document(file);
        const QString message = refusalOf([&] { document.setValue(section, key, value); });
        QVERIFY2(message.contains(mentions), qPrintable(message));
        QVERIFY2(message.contains("Windows-1252"), qPrintable(message));
        QVERIFY(!message.contains('?'));
        QVERIFY(!document.isModified());
        QCOMPARE(document.toBytes(), file);
    }

    void refusalNamesTheCharacter() {
        IniDocument document(QByteArray("[A]\r\nk=\xE4\r\n"));
        const QString message = refusalOf([&] { document.setValue("A", "k", "abΩ"); });
        QVERIFY2(message.contains("„Ω“") && message.contains("U+03A9"), qPrintable(message));
    }

    void markBytesOfAWindows1252FileStayAsTheyAre() {
        // A UTF-8 mark before text that is not UTF-8: the bytes are kept and skipped.
        IniDocument document(QByteArray("\xEF\xBB\xBF[A]\r\nk=\xE4\r\n"));
        QCOMPARE(document.encoding(), TextEncoding::Windows1252);
        QCOMPARE(document.sectionNames(), QStringList{"A"});
        document.setValue("A", "j", "ö");
        QCOMPARE(document.toBytes(), QByteArray("\xEF\xBB\xBF[A]\r\nk=\xE4\r\nj=\xF6\r\n"));
    }

    void utf8NamesFoldBeyondAscii() {
        IniDocument document(QStringLiteral("[Übersicht]\nÄnderung=1\n").toUtf8());
        document.setValue("ÜBERSICHT", "änderung", "2");
        QCOMPARE(document.toBytes(), QStringLiteral("[Übersicht]\nÄnderung=2\n").toUtf8());
        QVERIFY(document.removeKey("übersicht", "ÄNDERUNG"));
        QVERIFY(document.removeSection("üBERSICHT"));
        QCOMPARE(document.toBytes(), QByteArray());
    }

    void decodesAllOfTheFileWithOneCodec() {
        // One invalid byte anywhere makes the whole file Windows-1252, so the UTF-8
        // bytes of "ä" elsewhere read as two characters, and write back the same.
        const QByteArray file("[A]\nk=\xC3\xA4\n; \xFF\n");
        IniDocument document(file);
        QCOMPARE(document.value("A", "k").value_or(""), QString("Ã¤"));
        document.setValue("A", "k", "Ã¤");
        QVERIFY(!document.isModified());
        QCOMPARE(document.toBytes(), file);
    }
};

QTEST_GUILESS_MAIN(IniEncodingTest)
#include "IniEncodingTest.moc"
