#include "TestBytes.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/ini/IniDocument.h"
#include "core/platform/ini/TIniFile.h"

#include <QTest>

using namespace ravik;
using testbytes::raw;
using testbytes::refusalOf;

namespace {

const QByteArray kFile("; head\r\n[A]\r\nk=v\r\n");

} // namespace

class IniValidationTest : public QObject {
    Q_OBJECT

private slots:
    // "reason" is a word the German message must contain; empty when the name is fine.
    void sectionNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("plain") << "Allgemein"
                               << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("blanks and punctuation") << " a;b=c[d "
                                                << "";
        QTest::newRow("umlauts") << "Größe"
                                 << "";
        QTest::newRow("closing bracket") << "a]b"
                                         << "„]“";
        QTest::newRow("CR") << "a\rb"
                            << "Zeilenumbruch";
        QTest::newRow("LF") << "a\nb"
                            << "Zeilenumbruch";
        QTest::newRow("NUL") << QString("a") + QChar(0) + "b"
                             << "Nullzeichen";
    }
    void sectionNames() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const QString message = TIniFile::validateSectionName(name);
        QCOMPARE(message.isEmpty(), reason.isEmpty());
        QVERIFY2(message.contains(reason), qPrintable(message));
        if (!reason.isEmpty())
            QVERIFY(message.startsWith("Der Sektionsname"));
    }

    void keyNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("plain") << "Farbe"
                               << "";
        QTest::newRow("hash, brackets inside") << "#a[b]"
                                               << "";
        QTest::newRow("semicolon inside") << "a;b"
                                          << "";
        QTest::newRow("empty") << ""
                               << "leer";
        QTest::newRow("only blanks") << " \t"
                                     << "leer";
        QTest::newRow("starts with ';'") << ";a"
                                         << "„;“";
        QTest::newRow("';' after blanks") << "  ;a"
                                          << "„;“";
        QTest::newRow("starts with '['") << "[a"
                                         << "„[“";
        QTest::newRow("contains '='") << "a=b"
                                      << "„=“";
        QTest::newRow("CR") << "a\r"
                            << "Zeilenumbruch";
        QTest::newRow("LF") << "\na"
                            << "Zeilenumbruch";
        QTest::newRow("NUL") << QString(QChar(0)) << "Nullzeichen";
    }
    void keyNames() {
        QFETCH(QString, name);
        QFETCH(QString, reason);
        const QString message = TIniFile::validateKeyName(name);
        QCOMPARE(message.isEmpty(), reason.isEmpty());
        QVERIFY2(message.contains(reason), qPrintable(message));
    }

    void values_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("reason");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("everything else") << " ;=[]\"' \t#"
                                         << "";
        QTest::newRow("CR LF") << "a\r\nb"
                               << "Zeilenumbruch";
        QTest::newRow("NUL") << QString("a") + QChar(0) << "Nullzeichen";
    }
    void values() {
        QFETCH(QString, value);
        QFETCH(QString, reason);
        const QString message = TIniFile::validateValue(value);
        QCOMPARE(message.isEmpty(), reason.isEmpty());
        QVERIFY2(message.contains(reason), qPrintable(message));
        if (!reason.isEmpty())
            QVERIFY(message.startsWith("Der Wert"));
    }

    // Each refused edit raises the validator's message and leaves every byte as it was.
    void refusedEditsChangeNothing_data() {
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("new section with ']'") << "write"
                                              << "B]"
                                              << "k"
                                              << "v" << TIniFile::validateSectionName("B]");
        QTest::newRow("new key with '='") << "write"
                                          << "A"
                                          << "a=b"
                                          << "v" << TIniFile::validateKeyName("a=b");
        QTest::newRow("new key starting with ';'") << "write"
                                                   << "A"
                                                   << ";x"
                                                   << "v" << TIniFile::validateKeyName(";x");
        QTest::newRow("new key in new section, empty name") << "write"
                                                            << "B"
                                                            << ""
                                                            << "v" << TIniFile::validateKeyName("");
        QTest::newRow("changed value with LF") << "write"
                                               << "A"
                                               << "k"
                                               << "v\nw" << TIniFile::validateValue("v\nw");
        QTest::newRow("new key, value with NUL")
            << "write"
            << "A"
            << "n" << QString(QChar(0)) << TIniFile::validateValue(QString(QChar(0)));
        QTest::newRow("create section with CR") << "create"
                                                << "B\r"
                                                << ""
                                                << "" << TIniFile::validateSectionName("B\r");
    }
    void refusedEditsChangeNothing() {
        QFETCH(QString, operation);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        QVERIFY(!expected.isEmpty());
        IniDocument document(kFile);
        const QString message = refusalOf([&] {
            if (operation == "write")
                document.setValue(section, key, value);
            else
                document.createSection(section);
        });
        QCOMPARE(message, expected);
        QVERIFY(!document.isModified());
        QCOMPARE(document.toBytes(), kFile);
    }

    // Writing back what the file already holds writes nothing, so nothing is refused:
    // otherwise saving a file with a NUL in some value would fail on a key nobody touched.
    void valuesAlreadyInTheFileAreNotRefused() {
        const QByteArray withNul = raw("[A\0]\r\nk\0=a\0b\r\n");
        IniDocument document(withNul);
        const QString section = QString("A") + QChar(0);
        const QString key = QString("k") + QChar(0);
        const QString value = QString("a") + QChar(0) + "b";
        QCOMPARE(document.value(section, key).value_or("<missing>"), value);
        QCOMPARE(refusalOf([&] { document.setValue(section, key, value); }), QString());
        QCOMPARE(refusalOf([&] { document.createSection(section); }), QString());
        QVERIFY(!document.isModified());
        // A new, clean value for that key is written; a NUL in a new value is not.
        document.setValue(section, key, "c");
        QCOMPARE(document.toBytes(), raw("[A\0]\r\nk\0=c\r\n"));
        QVERIFY(!refusalOf([&] { document.setValue(section, key, value); }).isEmpty());
    }

    void throughTIniFile() {
        TIniFile ini(QStringLiteral("/nonexistent-dir-for-ravik-tests/x.ini"));
        QCOMPARE(refusalOf([&] { ini.WriteValue("A", "k=", "v"); }),
                 TIniFile::validateKeyName("k="));
        QCOMPARE(refusalOf([&] { ini.CreateSection("]"); }), TIniFile::validateSectionName("]"));
        QCOMPARE(refusalOf([&] { ini.WriteNumber("A]", "k", 1); }),
                 TIniFile::validateSectionName("A]"));
        QVERIFY(!ini.isModified());
    }
};

QTEST_GUILESS_MAIN(IniValidationTest)
#include "IniValidationTest.moc"
