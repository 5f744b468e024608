#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace ravik {

// How a file's bytes are turned into text for display and back, losslessly.
// A file with a UTF-16 byte-order mark is UTF-16 when the rest is whole UTF-16 (an
// even length, no lone surrogate); otherwise it is UTF-8 when all of it is valid
// UTF-8 (a UTF-8 mark is kept), and Windows-1252 when it is not.
enum class TextEncoding { Utf8, Utf8Bom, Utf16LE, Utf16BE, Windows1252 };

struct DecodedText {
    QString text; // without the byte-order mark
    TextEncoding encoding = TextEncoding::Utf8;
};

namespace TextCodec {

// Picks the encoding of a whole file's content.
TextEncoding detect(QByteArrayView bytes);

// The byte-order mark the encoding writes in front of the text (empty for none).
QByteArray byteOrderMark(TextEncoding encoding);

// Decodes a whole file: detects the encoding and strips the byte-order mark.
DecodedText decodeFile(QByteArrayView bytes);

// Decodes bytes that carry no byte-order mark in the given encoding.
QString decode(QByteArrayView bytes, TextEncoding encoding);

// Encodes text without a byte-order mark; nullopt when the encoding cannot hold
// the text exactly (a character Windows-1252 lacks, an unpaired surrogate).
std::optional<QByteArray> encode(QStringView text, TextEncoding encoding);

// True when the bytes are valid UTF-8 that decodes and encodes back unchanged.
bool isValidUtf8(QByteArrayView bytes);

// Windows-1252, byte by byte. The five bytes the code page leaves undefined map to
// the C1 controls of the same number, so every byte round-trips.
QString decodeWindows1252(QByteArrayView bytes);
std::optional<QByteArray> encodeWindows1252(QStringView text);

// A short German name of the encoding, for messages.
QString displayName(TextEncoding encoding);

} // namespace TextCodec
} // namespace ravik
