#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

// How one physical line of an INI file reads, on its raw bytes. Every text the
// engine writes is built here too, so that what is written reads back the same.
namespace ravik::IniSyntax {

enum class LineKind : quint8 {
    Other,   // kept, never listed
    Blank,   // nothing but blanks
    Comment, // ';' after the leading blanks
    Section, // '[' after the leading blanks
    Key,     // contains '=' and a name before it
};

// Space, TAB, VT and FF; never CR or LF, which end lines.
constexpr bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}
constexpr bool isBlank(QChar c) {
    return c.unicode() < 0x80 && isBlank(static_cast<char>(c.unicode()));
}

QByteArrayView trimBlanks(QByteArrayView text);
QStringView trimBlanks(QStringView text);

// A line holding "=" after nothing but blanks names no key; it is kept as it is.
LineKind classify(QByteArrayView line);

// The trimmed name between '[' and the first ']' (or the line's end).
QByteArrayView sectionName(QByteArrayView headerLine);

// The trimmed name before the first '=' of a key line.
QByteArrayView keyName(QByteArrayView keyLine);

struct KeyParts {
    QByteArrayView name;      // trimmed
    QByteArrayView rawValue;  // trimmed, quotes still on
    qsizetype valueStart = 0; // offset in the line just past '=' and the blanks after it
};
KeyParts splitKey(QByteArrayView keyLine);

// The value as read: one outer pair of matching quotes removed.
QByteArrayView unquote(QByteArrayView rawValue);

// The quote character around a raw value (0 when it is not quoted).
char enclosingQuote(QByteArrayView rawValue);

// The text written for a value: a value in one outer pair of matching quotes as it
// is; otherwise quoted when trimming would change it, and in keepQuote (the quote of
// the value being replaced) when that is not 0.
QByteArray valueText(QByteArrayView value, char keepQuote);

QByteArray sectionLine(QByteArrayView name);
QByteArray keyLine(QByteArrayView name, QByteArrayView valueText);

// The line with its name (as sectionName / keyName find it) replaced and every other
// byte kept: blanks around the name, the brackets, the text after ']', '=' and value.
QByteArray renamedHeader(QByteArrayView headerLine, QByteArrayView name);
QByteArray renamedKey(QByteArrayView keyLine, QByteArrayView name);

// A switched-off key ("commented out"): after the leading blanks one ';' or '#', blanks
// if any, then a key line whose name would be a valid key and holds no blank. Gives
// that key line's part of the line (from the name on), or an empty view for any other
// line. Comment prose ("; Note: foo = bar", "; see below") is no key: its text before
// '=' holds blanks, or it has no '='.
QByteArrayView switchedOffKey(QByteArrayView line);
// The switched-off key line with its comment character removed, every other byte kept.
QByteArray switchedOn(QByteArrayView line);
// A key line switched off: ';' before its name, after its leading blanks.
QByteArray switchedOff(QByteArrayView keyLine);

} // namespace ravik::IniSyntax
