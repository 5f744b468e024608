#include "core/platform/ini/IniTextCodec.h"

#include <algorithm>

namespace ravik {
namespace {

TextEncoding encodingOf(bool utf8) {
    return utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

} // namespace

QString IniTextCodec::decode(QByteArrayView bytes) const {
    return TextCodec::decode(bytes, encodingOf(utf8_));
}

bool IniTextCodec::encode(QStringView text, Bytes& out) const {
    out.resize(text.size());
    char* to = out.data();
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            const auto encoded = TextCodec::encode(text, encodingOf(utf8_));
            if (!encoded)
                return false;
            out.resize(encoded->size());
            std::copy(encoded->cbegin(), encoded->cend(), out.begin());
            return true;
        }
        *to++ = static_cast<char>(c.unicode());
    }
    return true;
}

QString IniTextCodec::refusal(QStringView text, const QString& what) const {
    for (qsizetype i = 0; i < text.size();) {
        const QChar c = text[i];
        const bool pair =
            c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const QStringView character = text.sliced(i, pair ? 2 : 1);
        i += character.size();
        const char32_t codePoint = pair ? QChar::surrogateToUcs4(c, character[1]) : c.unicode();
        const QString number = QStringLiteral("U+%1").arg(uint(codePoint), 4, 16, QLatin1Char('0'));
        if (c.isSurrogate() && !pair)
            return QStringLiteral("%1 enthält ein ungültiges Zeichen (%2, eine halbe "
                                  "UTF-16-Ersatzfolge) und kann nicht gespeichert werden.")
                .arg(what, number.toUpper());
        if (!TextCodec::encode(character, encodingOf(utf8_)))
            return QStringLiteral("%1 enthält das Zeichen „%2“ (%3), das in dieser Datei "
                                  "(Kodierung %4) nicht gespeichert werden kann.")
                .arg(what, character.toString(), number.toUpper(),
                     TextCodec::displayName(encodingOf(utf8_)));
    }
    return QStringLiteral("%1 kann in dieser Datei nicht gespeichert werden.").arg(what);
}

} // namespace ravik
