#include "core/platform/text/CaselessNeedle.h"

namespace ravik {
namespace {

bool isAscii(QByteArrayView bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

// The lowered needle in an ASCII haystack.
bool asciiContains(QByteArrayView haystack, QByteArrayView lowered) {
    const qsizetype n = lowered.size();
    const char first = lowered.front();
    for (qsizetype i = 0, last = haystack.size() - n; i <= last; ++i) {
        if (asciiLower(haystack[i]) != first)
            continue;
        qsizetype k = 1;
        while (k < n && asciiLower(haystack[i + k]) == lowered[k])
            ++k;
        if (k == n)
            return true;
    }
    return false;
}

} // namespace

CaselessNeedle::CaselessNeedle(const QString& needle)
    : needle_(needle), folded_(needle.toCaseFolded()) {
    bool ascii = true;
    for (QChar c : folded_)
        ascii = ascii && c.unicode() < 0x80;
    if (ascii && !folded_.isEmpty())
        asciiFolded_ = folded_.toLatin1();
}

bool CaselessNeedle::foundIn(QStringView haystack) const {
    return haystack.contains(needle_, Qt::CaseInsensitive);
}

bool CaselessNeedle::foundIn(QByteArrayView utf8) const {
    if (needle_.isEmpty())
        return true;
    if (!isAscii(utf8))
        return foundIn(QString::fromUtf8(utf8));
    // Every ASCII letter folds to ASCII: a needle that does not cannot be in here.
    return !asciiFolded_.isEmpty() && asciiContains(utf8, asciiFolded_);
}

bool CaselessNeedle::narrows(const CaselessNeedle& other) const {
    return folded_.contains(other.folded_);
}

} // namespace ravik
