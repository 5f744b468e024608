#include "core/platform/text/LineText.h"

#include <QStringDecoder>

namespace ravik::LineText {

QByteArrayList splitLines(QByteArrayView bytes) {
    QByteArrayList lines;
    qsizetype pos = 0;
    const qsizetype size = bytes.size();
    while (pos < size) {
        qsizetype end = pos;
        while (end < size && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        lines.append(bytes.sliced(pos, end - pos).toByteArray());
        pos = end;
        if (pos < size && bytes[pos] == '\r')
            ++pos;
        if (pos < size && bytes[pos] == '\n')
            ++pos;
    }
    if (size > 0 && (bytes[size - 1] == '\r' || bytes[size - 1] == '\n'))
        lines.append(QByteArray());
    return lines;
}

EolStyle detectEol(QByteArrayView bytes) {
    return countLineEnds(bytes).editorStyle();
}

QByteArray joinLines(const QByteArrayList& lines, EolStyle style) {
    return lines.join(eolBytes(style));
}

EditorText fromFileBytes(QByteArrayView fileBytes) {
    EditorText result;
    result.encoding = TextCodec::detect(fileBytes);
    const QByteArrayView body = fileBytes.sliced(TextCodec::byteOrderMark(result.encoding).size());
    if (result.encoding == TextEncoding::Utf8 || result.encoding == TextEncoding::Utf8Bom)
        result.utf8 = body.toByteArray();
    else
        result.utf8 = TextCodec::decode(body, result.encoding).toUtf8();
    result.eol = detectEol(result.utf8);
    return result;
}

std::optional<QByteArray> toFileBytes(QByteArrayView utf8, TextEncoding encoding) {
    QByteArray out = TextCodec::byteOrderMark(encoding);
    if (encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf8Bom) {
        out.append(utf8);
        return out;
    }
    // Bytes that are not UTF-8 would silently become U+FFFD: refuse them instead.
    if (!TextCodec::isValidUtf8(utf8))
        return std::nullopt;
    // Not QString::fromUtf8, which would drop a U+FEFF at the start of the text.
    const auto encoded = TextCodec::encode(TextCodec::decode(utf8, TextEncoding::Utf8), encoding);
    if (!encoded)
        return std::nullopt;
    out.append(*encoded);
    return out;
}

namespace {

// Cuts UTF-8 text into pieces of about `size` bytes, each ending before the start of
// a sequence, so no character is split.
template <typename Fn> bool inStuecken(QByteArrayView utf8, qsizetype size, Fn&& fn) {
    qsizetype pos = 0;
    while (pos < utf8.size()) {
        qsizetype ende = qMin(pos + size, utf8.size());
        while (ende < utf8.size() && ende > pos && (static_cast<unsigned char>(utf8[ende]) & 0xC0) == 0x80)
            --ende;
        if (ende == pos) // no sequence start in reach: take the piece as it is
            ende = qMin(pos + size, utf8.size());
        if (!fn(utf8.sliced(pos, ende - pos)))
            return false;
        pos = ende;
    }
    return true;
}

constexpr qsizetype kStueck = qsizetype(1) << 20;

bool istUtf8Kodierung(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf8Bom;
}

} // namespace

bool fitsEncoding(QByteArrayView utf8, TextEncoding encoding) {
    if (istUtf8Kodierung(encoding))
        return true;
    return inStuecken(utf8, kStueck, [&](QByteArrayView stueck) {
        return TextCodec::isValidUtf8(stueck) &&
               TextCodec::encode(TextCodec::decode(stueck, TextEncoding::Utf8), encoding).has_value();
    });
}

bool toFilePieces(QByteArrayView utf8, TextEncoding encoding,
                  const std::function<void(QByteArrayView)>& piece) {
    const QByteArray marke = TextCodec::byteOrderMark(encoding);
    if (!marke.isEmpty())
        piece(marke);
    if (istUtf8Kodierung(encoding)) {
        // The editor's bytes are the file's bytes.
        return inStuecken(utf8, kStueck, [&](QByteArrayView stueck) {
            piece(stueck);
            return true;
        });
    }
    return inStuecken(utf8, kStueck, [&](QByteArrayView stueck) {
        if (!TextCodec::isValidUtf8(stueck))
            return false;
        const auto kodiert = TextCodec::encode(TextCodec::decode(stueck, TextEncoding::Utf8), encoding);
        if (!kodiert)
            return false;
        piece(*kodiert);
        return true;
    });
}

} // namespace ravik::LineText
