#pragma once

#include "core/platform/errors/RavikError.h"

#include <QByteArray>
#include <QString>

namespace testbytes {

// A byte string literal with its NULs: raw("a\0b") has three bytes.
template <size_t N> QByteArray raw(const char (&text)[N]) {
    return QByteArray(text, N - 1);
}

// UTF-16 code units in the given byte order, without a byte-order mark.
inline QByteArray utf16(const QString& text, bool littleEndian) {
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (QChar c : text) {
        const char high = char(c.unicode() >> 8);
        const char low = char(c.unicode() & 0xFF);
        bytes.append(littleEndian ? low : high).append(littleEndian ? high : low);
    }
    return bytes;
}

inline QByteArray utf16leFile(const QString& text) {
    return QByteArray("\xFF\xFE") + utf16(text, true);
}

inline QByteArray utf16beFile(const QString& text) {
    return QByteArray("\xFE\xFF") + utf16(text, false);
}

// The message an edit is refused with; empty when it is not refused.
template <typename Edit> QString refusalOf(Edit edit) {
    try {
        edit();
    } catch (const ravik::EIniFileException& error) {
        return error.message();
    }
    return {};
}

} // namespace testbytes
