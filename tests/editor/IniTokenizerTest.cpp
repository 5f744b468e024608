#include "core/editor/IniTokenizer.h"

#include <QRandomGenerator>
#include <QTest>

using namespace ravik;

namespace {

using K = IniTokenKind;

struct Piece {
    K kind;
    QByteArray text;
};
using Pieces = std::vector<Piece>;

// The tokens the pieces describe, laid end to end, closed by the end of line.
std::vector<IniToken> tokensOf(const Pieces& pieces) {
    std::vector<IniToken> tokens;
    int start = 0;
    for (const Piece& piece : pieces) {
        tokens.push_back({start, int(piece.text.size()), piece.kind});
        start += int(piece.text.size());
    }
    tokens.push_back({start, 0, K::EndOfLine});
    return tokens;
}

const char* kindName(K kind) {
    static const char* names[] = {"comment", "text",  "section", "key",   "eol",
                                  "number",  "space", "string",  "symbol"};
    return names[int(kind)];
}

QByteArray describe(const std::vector<IniToken>& tokens, QByteArrayView line) {
    QByteArray out;
    for (const IniToken& token : tokens) {
        out += kindName(token.kind);
        out += '(';
        if (token.start + token.length <= line.size())
            out += line.sliced(token.start, token.length).toByteArray().toPercentEncoding();
        out += ") ";
    }
    return out;
}

} // namespace

Q_DECLARE_METATYPE(Pieces)

class IniTokenizerTest : public QObject {
    Q_OBJECT
private slots:
    void tokens_data();
    void tokens();
    void tokensAlwaysCoverTheLineUpToTheEnd();
    void styleBytesSplitLinesLikeTheEditor();
    void styleBytesAfterNulAreEndOfLine();
};

void IniTokenizerTest::tokens_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<Pieces>("expected");
    auto row = [](const char* name, const QByteArray& line, Pieces expected) {
        QTest::newRow(name) << line << expected;
    };

    row("empty line", "", {});
    row("comment", "; Syntax highlighting", {{K::Comment, "; Syntax highlighting"}});
    row("comment after blank", " ; Syntax highlighting",
        {{K::Space, " "},
         {K::Text, ";"},
         {K::Space, " "},
         {K::Text, "Syntax"},
         {K::Space, " "},
         {K::Text, "highlighting"}});
    row("section", "[Section]", {{K::Section, "[Section]"}});
    row("section without bracket", "[Section x=1", {{K::Section, "[Section x=1"}});
    row("after section", "[Sec]tion ; x",
        {{K::Section, "[Sec]"},
         {K::Text, "tion"},
         {K::Space, " "},
         {K::Text, ";"},
         {K::Space, " "},
         {K::Text, "x"}});
    row("section to first bracket", "[A]]", {{K::Section, "[A]"}, {K::Text, "]"}});
    row("key value", "Key=value", {{K::Key, "Key"}, {K::Symbol, "="}, {K::Text, "value"}});
    row("blanks belong to key", "Key = value",
        {{K::Key, "Key "}, {K::Symbol, "="}, {K::Space, " "}, {K::Text, "value"}});
    row("number", "Number=123456", {{K::Key, "Number"}, {K::Symbol, "="}, {K::Number, "123456"}});
    row("digits then letter", "N=123abc", {{K::Key, "N"}, {K::Symbol, "="}, {K::Text, "123abc"}});
    row("exponent", "N=1.5e3", {{K::Key, "N"}, {K::Symbol, "="}, {K::Number, "1.5e3"}});
    row("capital exponent alone", "N=1E", {{K::Key, "N"}, {K::Symbol, "="}, {K::Number, "1E"}});
    row("exponent then letter", "N=1.5e3x9",
        {{K::Key, "N"}, {K::Symbol, "="}, {K::Text, "1.5e3x9"}});
    row("dots and minus", "N=12.3.4-5",
        {{K::Key, "N"}, {K::Symbol, "="}, {K::Number, "12.3.4"}, {K::Text, "-5"}});
    row("hex is text", "N=0x1F", {{K::Key, "N"}, {K::Symbol, "="}, {K::Text, "0x1F"}});
    row("number then minus", "N=5-",
        {{K::Key, "N"}, {K::Symbol, "="}, {K::Number, "5"}, {K::Text, "-"}});
    row("double quoted", "String=\"Arial\"",
        {{K::Key, "String"}, {K::Symbol, "="}, {K::String, "\"Arial\""}});
    row("unclosed string", "S=\"Arial x",
        {{K::Key, "S"}, {K::Symbol, "="}, {K::String, "\"Arial x"}});
    row("single quoted pair", "S='it''s'",
        {{K::Key, "S"}, {K::Symbol, "="}, {K::String, "'it'"}, {K::String, "'s'"}});
    row("three quotes stepped over", "S=\"\"\"x\"y",
        {{K::Key, "S"}, {K::Symbol, "="}, {K::String, "\"\"\"x\""}, {K::Text, "y"}});
    row("two quotes", "S=\"\"", {{K::Key, "S"}, {K::Symbol, "="}, {K::String, "\"\""}});
    row("four quotes", "S=\"\"\"\"", {{K::Key, "S"}, {K::Symbol, "="}, {K::String, "\"\"\"\""}});
    row("three quotes unclosed", "S=\"\"\"",
        {{K::Key, "S"}, {K::Symbol, "="}, {K::String, "\"\"\""}});
    row("other quote inside", "S=\"it's\"",
        {{K::Key, "S"}, {K::Symbol, "="}, {K::String, "\"it's\""}});
    row("string in column 0", "\"quoted\"=1",
        {{K::String, "\"quoted\""}, {K::Symbol, "="}, {K::Number, "1"}});
    row("digit in column 0 is key", "123=4", {{K::Key, "123"}, {K::Symbol, "="}, {K::Number, "4"}});
    row("symbol in column 0", "=x=", {{K::Symbol, "="}, {K::Text, "x"}, {K::Symbol, "="}});
    row("hash line without equals", "#comment no equals", {{K::Key, "#comment no equals"}});
    row("hash line with equals", "#a=b", {{K::Key, "#a"}, {K::Symbol, "="}, {K::Text, "b"}});
    row("indented by blank", " Key=value",
        {{K::Space, " "}, {K::Text, "Key"}, {K::Symbol, "="}, {K::Text, "value"}});
    row("indented by tab", "\tKey=\"v\"",
        {{K::Space, "\t"}, {K::Text, "Key"}, {K::Symbol, "="}, {K::String, "\"v\""}});
    row("indented section", " [S]",
        {{K::Space, " "}, {K::Text, "["}, {K::Text, "S"}, {K::Text, "]"}});
    row("punctuation takes letters", "k=a.b;c[d",
        {{K::Key, "k"},
         {K::Symbol, "="},
         {K::Text, "a"},
         {K::Text, ".b"},
         {K::Text, ";"},
         {K::Text, "c"},
         {K::Text, "["},
         {K::Text, "d"}});
    row("trailing blanks", "k=v  ",
        {{K::Key, "k"}, {K::Symbol, "="}, {K::Text, "v"}, {K::Space, "  "}});
    row("control bytes are space", QByteArray("k=\x01\x02\x0b\x0c\x0e\x1f x"),
        {{K::Key, "k"}, {K::Symbol, "="}, {K::Space, "\x01\x02\x0b\x0c\x0e\x1f "}, {K::Text, "x"}});
    row("DEL is text", "k=\x7f", {{K::Key, "k"}, {K::Symbol, "="}, {K::Text, "\x7f"}});
    row("CR LF", "a=b\r\n", {{K::Key, "a"}, {K::Symbol, "="}, {K::Text, "b"}, {K::Space, "\r\n"}});
    row("LF", "a=b\n", {{K::Key, "a"}, {K::Symbol, "="}, {K::Text, "b"}, {K::Space, "\n"}});
    row("CR", "a=b\r", {{K::Key, "a"}, {K::Symbol, "="}, {K::Text, "b"}, {K::Space, "\r"}});
    row("LF CR are two", "a\n\r", {{K::Key, "a"}, {K::Space, "\n"}, {K::Space, "\r"}});
    row("blank then CR LF", "k= \r\n",
        {{K::Key, "k"}, {K::Symbol, "="}, {K::Space, " "}, {K::Space, "\r\n"}});
    row("line break in column 0", "\r\n", {{K::Space, "\r\n"}});
    row("key stops at line break", "key \r\n", {{K::Key, "key "}, {K::Space, "\r\n"}});
    row("comment stops at line break", "; c\n", {{K::Comment, "; c"}, {K::Space, "\n"}});
    row("section stops at line break", "[S\r", {{K::Section, "[S"}, {K::Space, "\r"}});
    row("string stops at line break", "k=\"v\n",
        {{K::Key, "k"}, {K::Symbol, "="}, {K::String, "\"v"}, {K::Space, "\n"}});
    row("NUL ends the line", QByteArray("k=ab\0cd", 7),
        {{K::Key, "k"}, {K::Symbol, "="}, {K::Text, "ab"}});
    row("NUL inside key", QByteArray("ke\0y=1", 6), {{K::Key, "ke"}});
    row("NUL in column 0", QByteArray("\0abc", 4), {});
    row("UTF-8 key", "\xc3\xa4\x62=1",
        {{K::Key, "\xc3\xa4\x62"}, {K::Symbol, "="}, {K::Number, "1"}});
    row("UTF-8 value bytes are text", "k=\xc3\xa4\x62",
        {{K::Key, "k"}, {K::Symbol, "="}, {K::Text, "\xc3"}, {K::Text, "\xa4\x62"}});
    row("high byte in column 0", "\xff", {{K::Key, "\xff"}});
}

void IniTokenizerTest::tokens() {
    QFETCH(QByteArray, line);
    QFETCH(Pieces, expected);
    const std::vector<IniToken> actual = tokenizeIniLine(line);
    const std::vector<IniToken> wanted = tokensOf(expected);
    QCOMPARE(describe(actual, line), describe(wanted, line));
    QVERIFY(actual == wanted);
}

void IniTokenizerTest::tokensAlwaysCoverTheLineUpToTheEnd() {
    QRandomGenerator random(20240611);
    static const char alphabet[] = "ab1;[]=\"' \t\r\n.eE\x01\x7f\xc3\xa4";
    for (int round = 0; round < 5000; ++round) {
        QByteArray line;
        const int length = random.bounded(24);
        for (int i = 0; i < length; ++i)
            line +=
                random.bounded(40) == 0 ? '\0' : alphabet[random.bounded(int(sizeof alphabet) - 1)];
        const std::vector<IniToken> tokens = tokenizeIniLine(line);
        const qsizetype nul = line.indexOf('\0');
        const int end = int(nul < 0 ? line.size() : nul);
        int position = 0;
        for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
            QVERIFY2(tokens[i].start == position, line.toPercentEncoding().constData());
            QVERIFY(tokens[i].length > 0);
            QVERIFY(tokens[i].kind != K::EndOfLine);
            position += tokens[i].length;
        }
        QCOMPARE(tokens.back().kind, K::EndOfLine);
        QCOMPARE(tokens.back().start, end);
        QCOMPARE(position, end);
    }
}

void IniTokenizerTest::styleBytesSplitLinesLikeTheEditor() {
    // Each line starts again in column 0, whatever break ended the line before.
    const QByteArray text("[S]\r\nk=1\n;c\rx=\"y\"");
    const QByteArray styles = iniStyleBytes(text);
    QCOMPARE(styles.size(), text.size());
    const QByteArray expected = QByteArray(3, char(K::Section)) + QByteArray(2, char(K::Space)) +
                                char(K::Key) + char(K::Symbol) + char(K::Number) + char(K::Space) +
                                QByteArray(2, char(K::Comment)) + char(K::Space) + char(K::Key) +
                                char(K::Symbol) + QByteArray(3, char(K::String));
    QCOMPARE(styles, expected);
}

void IniTokenizerTest::styleBytesAfterNulAreEndOfLine() {
    const QByteArray text("k=v\0zz\n[S]", 10);
    const QByteArray styles = iniStyleBytes(text);
    const QByteArray expected = QByteArray() + char(K::Key) + char(K::Symbol) + char(K::Text) +
                                QByteArray(4, char(K::EndOfLine)) + QByteArray(3, char(K::Section));
    QCOMPARE(styles, expected);
}

QTEST_APPLESS_MAIN(IniTokenizerTest)
#include "IniTokenizerTest.moc"
