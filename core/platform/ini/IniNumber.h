#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// Integers stored as INI values: written as decimal text; read also as hexadecimal.
namespace ravik::IniNumber {

// The whole text must be the number: optional leading spaces, an optional sign, then
// decimal digits, or hexadecimal ones after "$", "x", "X", "0x" or "0X". Hexadecimal
// digits give a 32-bit pattern ("$FFFFFFFF" is -1). nullopt for anything else,
// for an empty text and for a number beyond 32 bits.
std::optional<int> parse(QStringView text);

QString format(int value);

} // namespace ravik::IniNumber
