#include "platform/text/TextCodec.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>

namespace ravik::TextCodec {
namespace {

// Windows-1252 0x80..0x9F; undefined positions keep their C1 control.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool startsWith(QByteArrayView bytes, std::initializer_list<unsigned char> prefix) {
    if (bytes.size() < qsizetype(prefix.size()))
        return false;
    qsizetype i = 0;
    for (unsigned char c : prefix)
        if (static_cast<unsigned char>(bytes[i++]) != c)
            return false;
    return true;
}

std::optional<QString> decodeUtf16Exactly(QByteArrayView body, QStringDecoder::Encoding enc,
                                          QStringEncoder::Encoding back) {
    if (body.size() % 2 != 0)
        return std::nullopt;
    QStringDecoder decoder(enc, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(body);
    if (decoder.hasError())
        return std::nullopt;
    QStringEncoder encoder(back, QStringEncoder::Flag::Stateless);
    QByteArray again = encoder.encode(text);
    if (encoder.hasError() || again != body)
        return std::nullopt;
    return text;
}

} // namespace

bool isValidUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return false;
    // Guard against anything the decoder accepts but would not write back the same.
    return text.toUtf8() == bytes;
}

TextEncoding detect(QByteArrayView bytes) {
    if (startsWith(bytes, {0xFF, 0xFE}) &&
        decodeUtf16Exactly(bytes.sliced(2), QStringDecoder::Utf16LE, QStringEncoder::Utf16LE))
        return TextEncoding::Utf16LE;
    if (startsWith(bytes, {0xFE, 0xFF}) &&
        decodeUtf16Exactly(bytes.sliced(2), QStringDecoder::Utf16BE, QStringEncoder::Utf16BE))
        return TextEncoding::Utf16BE;
    if (startsWith(bytes, {0xEF, 0xBB, 0xBF}))
        return isValidUtf8(bytes.sliced(3)) ? TextEncoding::Utf8Bom : TextEncoding::Windows1252;
    return isValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
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
        return QString::fromUtf8(bytes);
    case TextEncoding::Utf16LE:
        return QStringDecoder(QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless).decode(bytes);
    case TextEncoding::Utf16BE:
        return QStringDecoder(QStringDecoder::Utf16BE, QStringDecoder::Flag::Stateless).decode(bytes);
    case TextEncoding::Windows1252:
        return decodeWindows1252(bytes);
    }
    return {};
}

std::optional<QByteArray> encode(QStringView text, TextEncoding encoding) {
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
