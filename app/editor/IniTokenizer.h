#pragma once

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
std::vector<IniToken> tokenizeIniLine(QByteArrayView line);

} // namespace ravik
