#include "core/platform/ini/IniSyntax.h"

#include <QTest>

using namespace ravik;
using IniSyntax::LineKind;

Q_DECLARE_METATYPE(ravik::IniSyntax::LineKind)

// The rules for one line, on raw bytes. The document tests show them at work in
// whole files; these pin the edge cases of each rule.
class IniSyntaxTest : public QObject {
    Q_OBJECT

private slots:
    void classifiesLines_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<LineKind>("kind");
        QTest::newRow("empty") << QByteArray() << LineKind::Blank;
        QTest::newRow("all four blanks") << QByteArray(" \t\v\f") << LineKind::Blank;
        QTest::newRow("comment") << QByteArray(";k=v") << LineKind::Comment;
        QTest::newRow("indented comment") << QByteArray(" \t;k=v") << LineKind::Comment;
        QTest::newRow("hash is no comment") << QByteArray("#k=v") << LineKind::Key;
        QTest::newRow("header") << QByteArray("[A]") << LineKind::Section;
        QTest::newRow("indented header") << QByteArray("\f [A]") << LineKind::Section;
        QTest::newRow("header with '='") << QByteArray("[a=b]") << LineKind::Section;
        QTest::newRow("key") << QByteArray("k=v") << LineKind::Key;
        QTest::newRow("key with blanks") << QByteArray("  k =v") << LineKind::Key;
        QTest::newRow("no name before '='") << QByteArray(" \t=v") << LineKind::Other;
        QTest::newRow("text without '='") << QByteArray("just text") << LineKind::Other;
        QTest::newRow("NUL before '='") << QByteArray("\0=v", 3) << LineKind::Key;
        QTest::newRow("CR is no blank") << QByteArray("\r=v") << LineKind::Key;
        QTest::newRow("non-breaking space is no blank")
            << QByteArray("\xC2\xA0=v") << LineKind::Key;
    }
    void classifiesLines() {
        QFETCH(QByteArray, line);
        QFETCH(LineKind, kind);
        QCOMPARE(IniSyntax::classify(line), kind);
    }

    void sectionNames_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("plain") << QByteArray("[A]") << QByteArray("A");
        QTest::newRow("trimmed") << QByteArray(" [ \tA B\v ] ") << QByteArray("A B");
        QTest::newRow("text after ']' ignored") << QByteArray("[A] ; x ] y") << QByteArray("A");
        QTest::newRow("no ']'") << QByteArray("[A B  ") << QByteArray("A B");
        QTest::newRow("empty name") << QByteArray("[]") << QByteArray("");
        QTest::newRow("nested '['") << QByteArray("[[A]]") << QByteArray("[A");
    }
    void sectionNames() {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, name);
        QCOMPARE(IniSyntax::sectionName(line).toByteArray(), name);
    }

    void keyParts_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("rawValue");
        QTest::addColumn<QByteArray>("kept"); // what a new value is appended to
        QTest::newRow("plain") << QByteArray("k=v") << QByteArray("k") << QByteArray("v")
                               << QByteArray("k=");
        QTest::newRow("blanks") << QByteArray(" k \t= \t v w \t") << QByteArray("k")
                                << QByteArray("v w") << QByteArray(" k \t= \t ");
        QTest::newRow("first '=' splits")
            << QByteArray("k=a=b") << QByteArray("k") << QByteArray("a=b") << QByteArray("k=");
        QTest::newRow("no inline comment")
            << QByteArray("k=a ;b") << QByteArray("k") << QByteArray("a ;b") << QByteArray("k=");
        QTest::newRow("empty value")
            << QByteArray("k=  ") << QByteArray("k") << QByteArray() << QByteArray("k=  ");
        QTest::newRow("quotes stay in the raw value")
            << QByteArray("k= \" v \" ") << QByteArray("k") << QByteArray("\" v \"")
            << QByteArray("k= ");
    }
    void keyParts() {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, rawValue);
        QFETCH(QByteArray, kept);
        const IniSyntax::KeyParts parts = IniSyntax::splitKey(line);
        QCOMPARE(parts.name.toByteArray(), name);
        QCOMPARE(IniSyntax::keyName(line).toByteArray(), name);
        QCOMPARE(parts.rawValue.toByteArray(), rawValue);
        QCOMPARE(line.first(parts.valueStart), kept);
    }

    void unquotes_data() {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("double") << QByteArray("\"a b\"") << QByteArray("a b");
        QTest::newRow("single") << QByteArray("'x'") << QByteArray("x");
        QTest::newRow("only one pair") << QByteArray("\"\"x\"\"") << QByteArray("\"x\"");
        QTest::newRow("empty quotes") << QByteArray("\"\"") << QByteArray("");
        QTest::newRow("mismatched") << QByteArray("\"x'") << QByteArray("\"x'");
        QTest::newRow("lone quote") << QByteArray("\"") << QByteArray("\"");
        QTest::newRow("quote inside") << QByteArray("a\"b\"") << QByteArray("a\"b\"");
        QTest::newRow("blanks inside kept") << QByteArray("\" x \"") << QByteArray(" x ");
    }
    void unquotes() {
        QFETCH(QByteArray, raw);
        QFETCH(QByteArray, value);
        QCOMPARE(IniSyntax::unquote(raw).toByteArray(), value);
    }

    // Whatever valueText writes reads back as the value it was given, except that a
    // value given in quotes is written as given and read without them, as the
    // file's other readers take it.
    void quotesOnlyWhereNeeded_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<char>("keepQuote");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("readBack");
        QTest::newRow("plain") << QByteArray("a b") << char(0) << QByteArray("a b") << QByteArray("a b");
        QTest::newRow("empty") << QByteArray() << char(0) << QByteArray() << QByteArray();
        QTest::newRow("leading blank") << QByteArray(" a") << char(0) << QByteArray("\" a\"") << QByteArray(" a");
        QTest::newRow("trailing tab") << QByteArray("a\t") << char(0) << QByteArray("\"a\t\"") << QByteArray("a\t");
        QTest::newRow("given in double quotes")
            << QByteArray("\"a\"") << char(0) << QByteArray("\"a\"") << QByteArray("a");
        QTest::newRow("given in single quotes")
            << QByteArray("'a'") << char(0) << QByteArray("'a'") << QByteArray("a");
        QTest::newRow("given in quotes, old value quoted")
            << QByteArray("\".:/opt\"") << '"' << QByteArray("\".:/opt\"") << QByteArray(".:/opt");
        QTest::newRow("given in other quotes than the old value")
            << QByteArray("'b c'") << '"' << QByteArray("'b c'") << QByteArray("b c");
        QTest::newRow("mismatched quotes") << QByteArray("\"a'") << char(0) << QByteArray("\"a'") << QByteArray("\"a'");
        QTest::newRow("lone quote") << QByteArray("\"") << char(0) << QByteArray("\"") << QByteArray("\"");
        QTest::newRow("kept double quotes") << QByteArray("a") << '"' << QByteArray("\"a\"") << QByteArray("a");
        QTest::newRow("kept double quotes, empty") << QByteArray() << '"' << QByteArray("\"\"") << QByteArray();
        QTest::newRow("kept single quotes") << QByteArray(" a") << '\'' << QByteArray("' a'") << QByteArray(" a");
    }
    void quotesOnlyWhereNeeded() {
        QFETCH(QByteArray, value);
        QFETCH(char, keepQuote);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, readBack);
        const QByteArray written = IniSyntax::valueText(value, keepQuote);
        QCOMPARE(written, text);
        QCOMPARE(IniSyntax::unquote(IniSyntax::trimBlanks(written)).toByteArray(), readBack);
    }

    void buildsLines() {
        QCOMPARE(IniSyntax::sectionLine("A B"), QByteArray("[A B]"));
        QCOMPARE(IniSyntax::sectionLine(""), QByteArray("[]"));
        QCOMPARE(IniSyntax::keyLine("k", "\" v\""), QByteArray("k=\" v\""));
    }
};

QTEST_GUILESS_MAIN(IniSyntaxTest)
#include "IniSyntaxTest.moc"
