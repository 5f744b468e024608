#include "core/platform/ini/IniNameMatch.h"

#include "core/platform/text/TextCodec.h"

#include <QString>

namespace ravik {
namespace {

constexpr quint32 kFnvOffset = 2166136261u;
constexpr quint32 kFnvPrime = 16777619u;

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool isAscii(QByteArrayView text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// Hashes UTF-16 units, so an ASCII byte and the same letter decoded hash alike.
quint32 addUnit(quint32 hash, char16_t unit) {
    return (hash ^ unit) * kFnvPrime;
}

QString folded(QByteArrayView utf8) {
    return TextCodec::decode(utf8, TextEncoding::Utf8).toCaseFolded();
}

} // namespace

quint32 IniNameMatch::hash(QByteArrayView name) const {
    quint32 hash = kFnvOffset;
    for (char c : name) {
        // Beyond ASCII a UTF-8 name is hashed on its folded text instead.
        if (utf8_ && static_cast<unsigned char>(c) >= 0x80) {
            hash = kFnvOffset;
            for (QChar unit : folded(name))
                hash = addUnit(hash, unit.unicode());
            return hash;
        }
        hash = addUnit(hash, static_cast<unsigned char>(asciiLower(c)));
    }
    return hash;
}

// Names usually match byte for byte, so that is tried first; folding text is the
// last resort, for a UTF-8 name with other letters than ASCII.
bool IniNameMatch::equal(QByteArrayView a, QByteArrayView b) const {
    if (a.size() == b.size()) {
        qsizetype i = 0;
        for (; i < a.size(); ++i) {
            const char x = a[i];
            const char y = b[i];
            if (x != y && asciiLower(x) != asciiLower(y))
                break;
        }
        if (i == a.size())
            return true;
    }
    if (utf8_ && !(isAscii(a) && isAscii(b)))
        return folded(a) == folded(b);
    return false;
}

} // namespace ravik
