// The highlighter's tokenizer under random lines.
#include "fuzz/checks/CheckReport.h"
#include "fuzz/checks/FuzzChecks.h"

#include "core/editor/IniTokenizer.h"

namespace ravik::fuzz {
namespace {

bool isSpaceByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 1 && b <= 32 && b != '\n' && b != '\r';
}

// The kind a token must have, from its first character and whether it starts the line.
IniTokenKind kindByFirstCharacter(char c, bool firstColumn) {
    switch (c) {
    case '[':
        return firstColumn ? IniTokenKind::Section : IniTokenKind::Text;
    case ';':
        return firstColumn ? IniTokenKind::Comment : IniTokenKind::Text;
    case '=':
        return IniTokenKind::Symbol;
    case '"':
    case '\'':
        return IniTokenKind::String;
    case '\n':
    case '\r':
        return IniTokenKind::Space;
    default:
        break;
    }
    if (isSpaceByte(c))
        return IniTokenKind::Space;
    if (firstColumn)
        return IniTokenKind::Key;
    // After the first column a digit starts a number, which turns into text when a
    // letter follows; anything else is text.
    return IniTokenKind::Text;
}

void checkLine(QByteArrayView line) {
    const std::vector<IniToken> tokens = tokenizeIniLine(line);
    const auto where = [&] { return " in " + shown(line); };
    FUZZ_EXPECT(!tokens.empty(), "no tokens" + where());
    const qsizetype nul = line.indexOf('\0');
    const qsizetype end = nul < 0 ? line.size() : nul;
    qsizetype pos = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const IniToken& t = tokens[i];
        const auto at = [&] { return " (token " + std::to_string(i) + ")" + where(); };
        FUZZ_EXPECT(t.start == pos, "gap or overlap" + at());
        if (i + 1 == tokens.size()) {
            FUZZ_EXPECT(t.kind == IniTokenKind::EndOfLine && t.length == 0,
                        "last token not the end" + at());
            FUZZ_EXPECT(t.start == end, "the end token is not at the end or the first NUL" + at());
            return;
        }
        FUZZ_EXPECT(t.kind != IniTokenKind::EndOfLine, "end token before the end" + at());
        FUZZ_EXPECT(t.length > 0 && t.start + t.length <= end,
                    "token empty or past the end" + at());
        const QByteArrayView text = line.sliced(t.start, t.length);
        const char first = text[0];
        const IniTokenKind expected = kindByFirstCharacter(first, t.start == 0);
        const bool number = expected == IniTokenKind::Text && first >= '0' && first <= '9';
        FUZZ_EXPECT(t.kind == expected || (number && t.kind == IniTokenKind::Number),
                    "wrong kind " + std::to_string(int(t.kind)) + at());
        if (first == '\r' || first == '\n')
            FUZZ_EXPECT(text == "\r" || text == "\n" || text == "\r\n",
                        "a line break token holds more" + at());
        else
            FUZZ_EXPECT(!text.contains('\r') && !text.contains('\n'),
                        "a token runs over a line break" + at());
        if (t.kind == IniTokenKind::Space && first != '\r' && first != '\n') {
            for (char c : text)
                FUZZ_EXPECT(isSpaceByte(c), "a space token holds a non-space" + at());
            FUZZ_EXPECT(t.start + t.length == end || !isSpaceByte(line[t.start + t.length]),
                        "a space token stops early" + at());
        }
        if (t.kind == IniTokenKind::Symbol)
            FUZZ_EXPECT(t.length == 1, "a symbol token is longer than '='" + at());
        pos = t.start + t.length;
    }
    fail("tokens do not reach the end" + where());
}

// The editor's style bytes: one per byte, each a token kind.
void checkStyles(QByteArrayView text) {
    const QByteArray styles = iniStyleBytes(text);
    FUZZ_EXPECT(styles.size() == text.size(), "style bytes do not match the text's length");
    for (char s : styles)
        FUZZ_EXPECT(s >= 0 && s <= 8, "style byte out of range");
}

} // namespace

std::string checkTokenizer(QByteArrayView input) {
    return runCheck([&] {
        checkLine(input);
        // Each line of the input on its own, as the editor hands them over.
        qsizetype start = 0;
        for (qsizetype i = 0; i <= input.size(); ++i) {
            if (i == input.size() || input[i] == '\n') {
                checkLine(input.sliced(start, i - start));
                start = i + 1;
            }
        }
        checkStyles(input);
    });
}

} // namespace ravik::fuzz
