#include "platform/ini/IniNameMatch.h"

#include "platform/text/TextCodec.h"

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
    if (utf8_ && !isAscii(name)) {
        for (QChar c : folded(name))
            hash = addUnit(hash, c.unicode());
        return hash;
    }
    for (char c : name)
        hash = addUnit(hash, static_cast<unsigned char>(asciiLower(c)));
    return hash;
}

bool IniNameMatch::equal(QByteArrayView a, QByteArrayView b) const {
    if (utf8_ && !(isAscii(a) && isAscii(b)))
        return folded(a) == folded(b);
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    return true;
}

} // namespace ravik
