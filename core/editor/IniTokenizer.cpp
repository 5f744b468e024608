#include "core/editor/IniTokenizer.h"

#include <algorithm>

namespace ravik {
namespace {

// The line's text ends at its end, at a NUL byte or at its line break; the line
// break itself is scanned as space tokens, a NUL ends the scan.
bool endsText(char c) {
    return c == '\0' || c == '\r' || c == '\n';
}

bool isSpaceByte(char c) {
    const auto b = static_cast<unsigned char>(c);
    return b >= 1 && b <= 32 && b != 10 && b != 13;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool isAsciiAlnum(char c) {
    return isDigit(c) || isAsciiLetter(c);
}

class LineScanner {
public:
    explicit LineScanner(QByteArrayView line) : line_(line) {}

    // The character at pos, NUL past the end.
    char at(qsizetype pos) const { return pos < line_.size() ? line_[pos] : '\0'; }

    qsizetype textEnd(qsizetype pos) const {
        while (!endsText(at(pos)))
            ++pos;
        return pos;
    }

    qsizetype sectionEnd(qsizetype pos) const {
        for (++pos; !endsText(at(pos)); ++pos)
            if (at(pos) == ']')
                return pos + 1;
        return pos;
    }

    qsizetype keyEnd(qsizetype pos) const {
        while (!endsText(at(pos)) && at(pos) != '=')
            ++pos;
        return pos;
    }

    qsizetype spaceEnd(qsizetype pos) const {
        while (isSpaceByte(at(pos)))
            ++pos;
        return pos;
    }

    qsizetype alnumRunEnd(qsizetype pos) const {
        while (isAsciiAlnum(at(pos)))
            ++pos;
        return pos;
    }

    // A number that a letter follows becomes text running over letters and digits.
    qsizetype numberEnd(qsizetype pos, IniTokenKind& kind) const {
        ++pos;
        while (isDigit(at(pos)) || at(pos) == '.' || at(pos) == 'E' || at(pos) == 'e')
            ++pos;
        kind = IniTokenKind::Number;
        if (isAsciiLetter(at(pos))) {
            kind = IniTokenKind::Text;
            pos = alnumRunEnd(pos);
        }
        return pos;
    }

    qsizetype stringEnd(qsizetype pos) const {
        const char quote = at(pos);
        if (at(pos + 1) == quote && at(pos + 2) == quote)
            pos += 2;
        for (++pos; !endsText(at(pos)); ++pos)
            if (at(pos) == quote)
                return pos + 1;
        return pos;
    }

private:
    QByteArrayView line_;
};

} // namespace

void tokenizeIniLine(QByteArrayView line, std::vector<IniToken>& tokens) {
    tokens.clear();
    const LineScanner scan(line);
    qsizetype pos = 0;
    for (;;) {
        const char c = scan.at(pos);
        if (c == '\0') {
            tokens.push_back({int(pos), 0, IniTokenKind::EndOfLine});
            return;
        }
        const bool firstColumn = pos == 0;
        IniTokenKind kind = IniTokenKind::Text;
        qsizetype end = pos + 1;
        if (c == '[') {
            if (firstColumn) {
                kind = IniTokenKind::Section;
                end = scan.sectionEnd(pos);
            }
        } else if (c == ';') {
            if (firstColumn) {
                kind = IniTokenKind::Comment;
                end = scan.textEnd(pos);
            }
        } else if (c == '=') {
            kind = IniTokenKind::Symbol;
        } else if (c == '"' || c == '\'') {
            kind = IniTokenKind::String;
            end = scan.stringEnd(pos);
        } else if (c == '\n') {
            kind = IniTokenKind::Space;
        } else if (c == '\r') {
            kind = IniTokenKind::Space;
            if (scan.at(pos + 1) == '\n')
                end = pos + 2;
        } else if (isSpaceByte(c)) {
            kind = IniTokenKind::Space;
            end = scan.spaceEnd(pos);
        } else if (firstColumn) {
            kind = IniTokenKind::Key;
            end = scan.keyEnd(pos);
        } else if (isDigit(c)) {
            end = scan.numberEnd(pos, kind);
        } else {
            end = scan.alnumRunEnd(pos + 1);
        }
        tokens.push_back({int(pos), int(end - pos), kind});
        pos = end;
    }
}

std::vector<IniToken> tokenizeIniLine(QByteArrayView line) {
    std::vector<IniToken> tokens;
    tokenizeIniLine(line, tokens);
    return tokens;
}

QByteArray iniStyleBytes(QByteArrayView text) {
    QByteArray styles(text.size(), char(IniTokenKind::EndOfLine));
    std::vector<IniToken> tokens;
    qsizetype lineStart = 0;
    while (lineStart < text.size()) {
        qsizetype lineEnd = lineStart;
        while (lineEnd < text.size() && text[lineEnd] != '\n' && text[lineEnd] != '\r')
            ++lineEnd;
        if (lineEnd < text.size())
            lineEnd +=
                (text[lineEnd] == '\r' && lineEnd + 1 < text.size() && text[lineEnd + 1] == '\n')
                    ? 2
                    : 1;
        tokenizeIniLine(text.sliced(lineStart, lineEnd - lineStart), tokens);
        char* out = styles.data() + lineStart;
        for (const IniToken& token : tokens)
            std::fill_n(out + token.start, token.length, char(token.kind));
        lineStart = lineEnd;
    }
    return styles;
}

} // namespace ravik
