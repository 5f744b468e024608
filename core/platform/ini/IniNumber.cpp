#include "core/platform/ini/IniNumber.h"

#include <limits>

namespace ravik::IniNumber {
namespace {

int digitValue(QChar c, int base) {
    const char16_t u = c.unicode();
    int value = -1;
    if (u >= u'0' && u <= u'9')
        value = u - u'0';
    else if (u >= u'a' && u <= u'f')
        value = u - u'a' + 10;
    else if (u >= u'A' && u <= u'F')
        value = u - u'A' + 10;
    return value < base ? value : -1;
}

// Digits only, at least one; nullopt beyond the limit.
std::optional<quint64> parseDigits(QStringView digits, int base, quint64 limit) {
    if (digits.isEmpty())
        return std::nullopt;
    quint64 value = 0;
    for (QChar c : digits) {
        const int digit = digitValue(c, base);
        if (digit < 0)
            return std::nullopt;
        value = value * base + digit;
        if (value > limit)
            return std::nullopt;
    }
    return value;
}

QStringView hexDigits(QStringView text) {
    for (const char* prefix : {"$", "0x", "0X", "x", "X"}) {
        if (text.startsWith(QLatin1String(prefix)))
            return text.sliced(qstrlen(prefix));
    }
    return {};
}

bool hasHexPrefix(QStringView text) {
    return text.startsWith(u'$') || text.startsWith(u'x') || text.startsWith(u'X') ||
           text.startsWith(u"0x") || text.startsWith(u"0X");
}

} // namespace

std::optional<int> parse(QStringView text) {
    QString normalized = text.toString();
    if (normalized.size() > 2 && (normalized.startsWith(u"0x") || normalized.startsWith(u"0X")))
        normalized.replace(0, 2, u'$');
    QStringView rest(normalized);
    while (rest.startsWith(u' '))
        rest = rest.sliced(1);
    bool negative = false;
    if (rest.startsWith(u'+') || rest.startsWith(u'-')) {
        negative = rest.front() == u'-';
        rest = rest.sliced(1);
    }
    if (hasHexPrefix(rest)) {
        const auto pattern = parseDigits(hexDigits(rest), 16, 0xFFFFFFFFu);
        if (!pattern)
            return std::nullopt;
        const quint32 bits = static_cast<quint32>(*pattern);
        return static_cast<int>(negative ? 0u - bits : bits);
    }
    const quint64 limit = negative ? quint64(std::numeric_limits<int>::max()) + 1
                                   : quint64(std::numeric_limits<int>::max());
    const auto magnitude = parseDigits(rest, 10, limit);
    if (!magnitude)
        return std::nullopt;
    return negative ? static_cast<int>(-static_cast<qint64>(*magnitude))
                    : static_cast<int>(*magnitude);
}

QString format(int value) {
    return QString::number(value);
}

} // namespace ravik::IniNumber
