#include "core/platform/ini/IniNumber.h"
#include "core/platform/ini/TIniFile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace ravik;

class IniNumberTest : public QObject {
    Q_OBJECT

private slots:
    // -1 in "number" with valid false means: the text is no number, the default wins.
    void parses_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("number");
        QTest::newRow("zero") << "0" << true << 0;
        QTest::newRow("decimal") << "12345" << true << 12345;
        QTest::newRow("leading zeros") << "007" << true << 7;
        QTest::newRow("minus") << "-42" << true << -42;
        QTest::newRow("plus") << "+42" << true << 42;
        QTest::newRow("leading spaces") << "   42" << true << 42;
        QTest::newRow("spaces then sign") << "  -5" << true << -5;
        QTest::newRow("largest") << "2147483647" << true << 2147483647;
        QTest::newRow("smallest") << "-2147483648" << true << int(0x80000000u);
        QTest::newRow("dollar hex") << "$1F" << true << 31;
        QTest::newRow("dollar hex, lower case") << "$ff" << true << 255;
        QTest::newRow("0x") << "0x1F" << true << 31;
        QTest::newRow("0X") << "0X1f" << true << 31;
        QTest::newRow("x") << "x10" << true << 16;
        QTest::newRow("X") << "X10" << true << 16;
        QTest::newRow("signed dollar") << "-$10" << true << -16;
        QTest::newRow("signed 0x") << "-0x10" << true << -16;
        QTest::newRow("plus x") << "+x10" << true << 16;
        QTest::newRow("spaces before hex") << "  $A" << true << 10;
        QTest::newRow("hex 32-bit pattern") << "$FFFFFFFF" << true << -1;
        QTest::newRow("hex largest positive") << "0x7FFFFFFF" << true << 2147483647;
        QTest::newRow("hex with leading zeros") << "$000000001" << true << 1;
        QTest::newRow("colour") << "$00FF8000" << true << 0x00FF8000;

        QTest::newRow("empty") << "" << false << -1;
        QTest::newRow("only spaces") << "   " << false << -1;
        QTest::newRow("trailing garbage") << "12abc" << false << -1;
        QTest::newRow("trailing space") << "12 " << false << -1;
        QTest::newRow("space inside") << "1 2" << false << -1;
        QTest::newRow("space after sign") << "- 5" << false << -1;
        QTest::newRow("tab is no space") << "\t5" << false << -1;
        QTest::newRow("two signs") << "--5" << false << -1;
        QTest::newRow("only a sign") << "-" << false << -1;
        QTest::newRow("exponent") << "1e3" << false << -1;
        QTest::newRow("decimal point") << "1.5" << false << -1;
        QTest::newRow("overflow") << "2147483648" << false << -1;
        QTest::newRow("underflow") << "-2147483649" << false << -1;
        QTest::newRow("far overflow") << "99999999999999999999999" << false << -1;
        QTest::newRow("hex overflow") << "$100000000" << false << -1;
        QTest::newRow("0x alone") << "0x" << false << -1;
        QTest::newRow("dollar alone") << "$" << false << -1;
        QTest::newRow("bad hex digit") << "$1G" << false << -1;
        QTest::newRow("0x twice") << "0x0x10" << false << -1;
        QTest::newRow("hex digits without prefix") << "1F" << false << -1;
        QTest::newRow("arabic-indic digit") << QString(QChar(0x0663)) << false << -1;
        QTest::newRow("fullwidth digit") << QString(QChar(0xFF11)) << false << -1;
    }
    void parses() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, number);
        const std::optional<int> parsed = IniNumber::parse(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, number);
    }

    void formatsDecimal_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0 << "0";
        QTest::newRow("negative") << -17 << "-17";
        QTest::newRow("colour") << 16711680 << "16711680";
        QTest::newRow("smallest") << int(0x80000000u) << "-2147483648";
    }
    void formatsDecimal() {
        QFETCH(int, number);
        QFETCH(QString, text);
        QCOMPARE(IniNumber::format(number), text);
        QCOMPARE(IniNumber::parse(text).value_or(number + 1), number);
    }

    void readNumberThroughTheFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("ravik.ini");
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[Color]\r\nSections=$FF\r\nKeys=\" 12\"\r\nBad=12px\r\nEmpty=\r\n");
        }
        TIniFile ini(path);
        QCOMPARE(ini.ReadNumber("Color", "Sections", 7), 255);
        QCOMPARE(ini.ReadNumber("color", "KEYS", 7), 12); // quotes removed, then spaces skipped
        QCOMPARE(ini.ReadNumber("Color", "Bad", 7), 7);
        QCOMPARE(ini.ReadNumber("Color", "Empty", 7), 7);
        QCOMPARE(ini.ReadNumber("Color", "Missing", 16711680), 16711680);
        QCOMPARE(ini.ReadNumber("General", "View", 0), 0);

        ini.WriteNumber("General", "View", 1);
        ini.WriteNumber("Color", "Sections", -255);
        QCOMPARE(ini.ReadValue("General", "View", "?"), QString("1"));
        QCOMPARE(ini.ReadNumber("Color", "Sections", 0), -255);
        QVERIFY(ini.contents().contains("Sections=-255\r\n"));
    }
};

QTEST_GUILESS_MAIN(IniNumberTest)
#include "IniNumberTest.moc"
