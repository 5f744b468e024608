#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <vector>

namespace ravik {

// Token kinds with their codes; the highlighter paints each with its attribute.
enum class IniTokenKind {
    Comment = 0,
    Text = 1,
    Section = 2,
    Key = 3,
    EndOfLine = 4,
    Number = 5,
    Space = 6,
    String = 7,
    Symbol = 8,
};

struct IniToken {
    int start = 0;  // byte offset in the line
    int length = 0; // 0 only for the end of line
    IniTokenKind kind = IniTokenKind::Text;
    bool operator==(const IniToken& other) const {
        return start == other.start && length == other.length && kind == other.kind;
    }
};

// Splits one line (its bytes, the line break may be included) into tokens. The last
// token is always EndOfLine: at the end of the bytes or at the first NUL byte.
// No state is carried from one line to the next.
// Rules that run "to the end of the line" (comment, section, key, string) stop before
// a CR or LF, so a trailing line break always forms its own space token.
std::vector<IniToken> tokenizeIniLine(QByteArrayView line);

// The same, filling a caller's vector so that styling many lines allocates once.
void tokenizeIniLine(QByteArrayView line, std::vector<IniToken>& tokens);

// Style codes (the token kinds) for a run of whole lines, one byte per input byte.
// Lines end as in the editor: LF, CR LF, or a CR not followed by LF. Bytes after a
// NUL byte get the end-of-line code, which is painted in the default colours.
QByteArray iniStyleBytes(QByteArrayView text);

} // namespace ravik
