#include "fuzz/checks/CheckReport.h"

#include <cstdio>

namespace ravik::fuzz {

void fail(const std::string& what) {
    throw Broken{what};
}

std::string shown(QByteArrayView bytes) {
    constexpr qsizetype kLimit = 300;
    std::string out = "\"";
    for (qsizetype i = 0; i < bytes.size() && i < kLimit; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += char(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    out += bytes.size() > kLimit ? "\"..." : "\"";
    return out;
}

std::string shown(const QString& text) {
    return shown(QByteArrayView(text.toUtf8()));
}

} // namespace ravik::fuzz
