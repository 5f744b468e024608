#include "core/platform/text/TextCodec.h"

#include "core/platform/text/TextScan.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>
#include <cstring>

namespace ravik::TextCodec {
namespace {

// Windows-1252 0x80..0x9F; undefined positions keep their C1 control.
// clang-format off
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
// clang-format on

// Qt's decoders drop a byte-order mark at the start of their input unless told
// otherwise; once the file's own mark is cut off, a further one is text.
constexpr auto kKeepMarks =
    QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom;

// Qt's UTF-16 codecs pass a lone surrogate through, but no other encoding can hold
// one and UTF-8 would turn it into U+FFFD, so text that has one is not text.
bool hasUnpairedSurrogate(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            ++i;
        else if (text[i].isSurrogate())
            return true;
    }
    return false;
}

} // namespace

// A validator of its own: whole files are checked, and decoding a 13 MB file into a
// QString just to look for errors would triple the memory it needs.
bool isValidUtf8(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        while (end - p >= 8) {
            quint64 chunk;
            std::memcpy(&chunk, p, sizeof chunk);
            if (chunk & 0x8080808080808080ULL)
                break;
            p += 8;
        }
        if (p == end)
            break;
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int continuation = 0;
        char32_t codePoint = 0;
        if (lead >= 0xC2 && lead <= 0xDF) {
            continuation = 1;
            codePoint = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            continuation = 2;
            codePoint = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            continuation = 3;
            codePoint = lead & 0x07;
        } else {
            return false; // continuation byte, overlong C0/C1 lead, or beyond U+10FFFF
        }
        if (end - p <= continuation)
            return false;
        for (int i = 1; i <= continuation; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            codePoint = (codePoint << 6) | (p[i] & 0x3F);
        }
        const bool overlong =
            (continuation == 2 && codePoint < 0x800) || (continuation == 3 && codePoint < 0x10000);
        const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
        if (overlong || surrogate || codePoint > 0x10FFFF)
            return false;
        p += continuation + 1;
    }
    return true;
}

TextEncoding detect(QByteArrayView bytes) {
    TextScan scan;
    scan.feed(bytes);
    scan.finish();
    return scan.encoding();
}

QByteArray byteOrderMark(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF", 3);
    case TextEncoding::Utf16LE:
        return QByteArray("\xFF\xFE", 2);
    case TextEncoding::Utf16BE:
        return QByteArray("\xFE\xFF", 2);
    default:
        return {};
    }
}

DecodedText decodeFile(QByteArrayView bytes) {
    DecodedText result;
    result.encoding = detect(bytes);
    const qsizetype markLength = byteOrderMark(result.encoding).size();
    result.text = decode(bytes.sliced(markLength), result.encoding);
    return result;
}

QString decodeWindows1252(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out[i] = (b >= 0x80 && b < 0xA0) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return text;
}

std::optional<QByteArray> encodeWindows1252(QStringView text) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char* out = bytes.data();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out[i] = static_cast<char>(c);
            continue;
        }
        int found = -1;
        for (int k = 0; k < 32; ++k)
            if (kCp1252High[k] == c)
                found = k;
        if (found < 0)
            return std::nullopt;
        out[i] = static_cast<char>(0x80 + found);
    }
    return bytes;
}

QString decode(QByteArrayView bytes, TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom:
        // QString::fromUtf8 would drop a leading U+FEFF; it is text here.
        if (bytes.startsWith("\xEF\xBB\xBF"))
            return QStringDecoder(QStringDecoder::Utf8, kKeepMarks).decode(bytes);
        return QString::fromUtf8(bytes);
    case TextEncoding::Utf16LE:
        return QStringDecoder(QStringDecoder::Utf16LE, kKeepMarks).decode(bytes);
    case TextEncoding::Utf16BE:
        return QStringDecoder(QStringDecoder::Utf16BE, kKeepMarks).decode(bytes);
    case TextEncoding::Windows1252:
        return decodeWindows1252(bytes);
    }
    return {};
}

std::optional<QByteArray> encode(QStringView text, TextEncoding encoding) {
    if (hasUnpairedSurrogate(text))
        return std::nullopt;
    QStringEncoder::Encoding target = QStringEncoder::Utf8;
    switch (encoding) {
    case TextEncoding::Windows1252:
        return encodeWindows1252(text);
    case TextEncoding::Utf16LE:
        target = QStringEncoder::Utf16LE;
        break;
    case TextEncoding::Utf16BE:
        target = QStringEncoder::Utf16BE;
        break;
    default:
        break;
    }
    QStringEncoder encoder(target, QStringEncoder::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    // Unpaired surrogates are replaced silently by some encoders: refuse them.
    if (decode(bytes, encoding) != text)
        return std::nullopt;
    return bytes;
}

QString displayName(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case TextEncoding::Utf8Bom:
        return QStringLiteral("UTF-8 mit BOM");
    case TextEncoding::Utf16LE:
        return QStringLiteral("UTF-16 LE");
    case TextEncoding::Utf16BE:
        return QStringLiteral("UTF-16 BE");
    case TextEncoding::Windows1252:
        return QStringLiteral("Windows-1252");
    }
    return {};
}

} // namespace ravik::TextCodec
