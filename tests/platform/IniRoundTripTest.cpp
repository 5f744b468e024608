#include "TestBytes.h"
#include "TestFiles.h"

#include "core/platform/ini/IniDocument.h"
#include "core/platform/ini/TIniFile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace ravik;
using namespace testbytes;

// Whatever a file holds, loading it and writing it back gives the same bytes, and
// writing back every value it holds (as saving from the browser view does) changes
// nothing at all.
class IniRoundTripTest : public QObject {
    Q_OBJECT

private:
    static void addSamples() {
        QTest::addColumn<QByteArray>("file");
        // What a line end added to the file's last line looks like in its encoding.
        QTest::addColumn<QByteArray>("addedEol");
        const QByteArray crlf("\r\n");
        QTest::newRow("empty") << QByteArray() << QByteArray();
        QTest::newRow("CR LF") << QByteArray("; Kommentar\r\n[Allgemein]\r\nName=Wert\r\n\r\n"
                                             "[Farben]\r\nRot = 255\r\n")
                               << QByteArray();
        QTest::newRow("LF") << QByteArray("; Kommentar\n[Allgemein]\nName=Wert\n\n[Farben]\n")
                            << QByteArray();
        QTest::newRow("CR") << QByteArray("[Allgemein]\rName=Wert\r\r") << QByteArray();
        QTest::newRow("mixed") << QByteArray("[A]\r\nk=1\nj=2\r[B]\n\rx=3\r\n") << QByteArray();
        QTest::newRow("LF CR pairs") << QByteArray("[A]\n\rk=1\n\r") << QByteArray();
        QTest::newRow("no final line end") << QByteArray("[A]\r\nk=1") << crlf;
        QTest::newRow("no final line end, LF file")
            << QByteArray("[A]\nk=1\nj=2") << QByteArray("\n");
        QTest::newRow("only blank lines") << QByteArray("\r\n \r\n\t\r\n") << QByteArray();
        QTest::newRow("text before the first section")
            << QByteArray("Vorspann\r\nk=1\r\n[A]\r\nk=2\r\n") << QByteArray();
        QTest::newRow("empty section names")
            << QByteArray("[]\r\nk=1\r\n[ ]\r\nj=2\r\n") << QByteArray();
        QTest::newRow("duplicates")
            << QByteArray("[A]\r\nk=1\r\nK=2\r\n[a]\r\nk=3\r\n[B]\r\n") << QByteArray();
        QTest::newRow("tabs and odd blanks")
            << QByteArray("\t[A]\t\r\n\tk\t=\tv\t\r\n\v\f\r\n") << QByteArray();
        QTest::newRow("quotes and comments")
            << QByteArray("[A]\r\nq=\"  x  \"\r\ns='y'\r\nm=\"z'\r\n;k=1\r\n  ; k=2\r\n#k=3\r\n")
            << QByteArray();
        QTest::newRow("odd lines")
            << QByteArray("=x\r\n[A]\r\n=y\r\nnoequals\r\n[\r\n[B\r\nk=1") << crlf;
        QTest::newRow("NUL bytes") << raw("[A\0B]\r\nk\0=v\0w\r\n\0\r\n") << QByteArray();
        QTest::newRow("UTF-8 mark")
            << QByteArray("\xEF\xBB\xBF[\xC3\x84]\r\nk=\xC3\xB6\r\n") << QByteArray();
        QTest::newRow("UTF-8 mark, Windows-1252 text")
            << QByteArray("\xEF\xBB\xBF[\xC4]\r\nk=\xF6") << crlf;
        QTest::newRow("only a UTF-8 mark") << QByteArray("\xEF\xBB\xBF") << QByteArray();
        QTest::newRow("Windows-1252 umlauts") << QByteArray("[Gr\xF6\xDF"
                                                            "e]\r\nSchl\xFCssel=\x80 \xE4\r\n")
                                              << QByteArray();
        QTest::newRow("UTF-16 LE")
            << utf16leFile(QStringLiteral("[Ä]\r\nk=ö€\r\n")) << QByteArray();
        QTest::newRow("UTF-16 BE, no final line end")
            << utf16beFile(QString::fromUcs4(U"[Ä]\r\nk=ö€\r\n; \U0001F600")) << raw("\0\r\0\n");
        // Not UTF-16 after all, so bytes; the stray surrogate at the start keeps them
        // bytes after any edit.
        QTest::newRow("UTF-16 LE mark, odd length")
            << raw("\xFF\xFE\0\xDC\r\n[AB]\r\nk=1\r\n") << QByteArray();
        QTest::newRow("UTF-16 LE mark, stray surrogate")
            << utf16leFile(QChar(0xD800) + QString("[A]\r\nk=v\r\n")) << QByteArray("\n");
        QByteArray binary;
        for (int i = 0; i < 4096; ++i)
            binary.append(char((i * 37) & 0xFF));
        QTest::newRow("binary") << binary + '\n' << QByteArray();
        const QByteArray mega(1 << 20, 'x');
        QTest::newRow("lines of 1 MB") << "[A]\r\nk=" + mega + "\r\n; " + mega << crlf;
    }

private slots:
    void documentGivesBackItsBytes_data() { addSamples(); }
    void documentGivesBackItsBytes() {
        QFETCH(QByteArray, file);
        const IniDocument document(file);
        QCOMPARE(document.toBytes(), file);
        QByteArray pieces;
        document.writeTo([&](QByteArrayView piece) { pieces.append(piece); });
        QCOMPARE(pieces, file);
        QVERIFY(!document.isModified());
    }

    void writingBackEveryValueChangesNothing_data() { addSamples(); }
    void writingBackEveryValueChangesNothing() {
        QFETCH(QByteArray, file);
        IniDocument document(file);
        int written = 0;
        for (const QString& section : document.sectionNames()) {
            QVERIFY(!document.createSection(section));
            for (const QString& key : document.keyNames(section)) {
                const std::optional<QString> value = document.value(section, key);
                QVERIFY2(value.has_value(), qPrintable(section + "/" + key));
                document.setValue(section, key, *value);
                ++written;
            }
        }
        QVERIFY(!document.isModified());
        QCOMPARE(document.toBytes(), file);
        if (file.contains("k="))
            QVERIFY(written > 0);
    }

    // The whole way through a file: an edit elsewhere streams every untouched line to
    // the new file; taking the edit back leaves the original bytes (plus a line end
    // where the file had none at its end, which the edit needed).
    void flushKeepsUntouchedBytes_data() { addSamples(); }
    void flushKeepsUntouchedBytes() {
        QFETCH(QByteArray, file);
        QFETCH(QByteArray, addedEol);
        QTemporaryDir dir;
        const QString path = dir.filePath("sample.ini");
        QVERIFY(testfiles::writeFile(path, file));
        {
            TIniFile ini(path);
            ini.WriteValue("Ravik-Test", "k", "v");
            ini.Flush();
        }
        QVERIFY(testfiles::readFile(path).size() > file.size());
        {
            TIniFile ini(path);
            QCOMPARE(ini.ReadValue("ravik-test", "K", "<missing>"), QString("v"));
            ini.RemoveSection("Ravik-Test");
            ini.Flush();
        }
        QCOMPARE(testfiles::readFile(path), file + addedEol);
    }
};

QTEST_GUILESS_MAIN(IniRoundTripTest)
#include "IniRoundTripTest.moc"
