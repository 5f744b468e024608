#include "core/platform/ini/IniSyntax.h"

namespace ravik::IniSyntax {
namespace {

bool isQuote(char c) {
    return c == '"' || c == '\'';
}

// One body for bytes and characters: blanks are the same ASCII characters in both.
template <typename View>
View trimmed(View text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

} // namespace

QByteArrayView trimBlanks(QByteArrayView text) {
    return trimmed(text);
}

QStringView trimBlanks(QStringView text) {
    return trimmed(text);
}

LineKind classify(QByteArrayView line) {
    qsizetype first = 0;
    while (first < line.size() && isBlank(line[first]))
        ++first;
    if (first == line.size())
        return LineKind::Blank;
    if (line[first] == ';')
        return LineKind::Comment;
    if (line[first] == '[')
        return LineKind::Section;
    const qsizetype equals = line.indexOf('=');
    if (equals < 0)
        return LineKind::Other;
    return equals > first ? LineKind::Key : LineKind::Other;
}

QByteArrayView sectionName(QByteArrayView headerLine) {
    const qsizetype open = headerLine.indexOf('[');
    const QByteArrayView rest = headerLine.sliced(open + 1);
    const qsizetype close = rest.indexOf(']');
    return trimBlanks(close < 0 ? rest : rest.first(close));
}

QByteArrayView keyName(QByteArrayView keyLine) {
    return trimBlanks(keyLine.first(keyLine.indexOf('=')));
}

KeyParts splitKey(QByteArrayView keyLine) {
    const qsizetype equals = keyLine.indexOf('=');
    KeyParts parts;
    parts.name = trimBlanks(keyLine.first(equals));
    qsizetype valueStart = equals + 1;
    while (valueStart < keyLine.size() && isBlank(keyLine[valueStart]))
        ++valueStart;
    parts.valueStart = valueStart;
    parts.rawValue = trimBlanks(keyLine.sliced(valueStart));
    return parts;
}

char enclosingQuote(QByteArrayView rawValue) {
    if (rawValue.size() >= 2 && isQuote(rawValue.front()) && rawValue.back() == rawValue.front())
        return rawValue.front();
    return 0;
}

QByteArrayView unquote(QByteArrayView rawValue) {
    if (enclosingQuote(rawValue))
        return rawValue.sliced(1, rawValue.size() - 2);
    return rawValue;
}

QByteArray valueText(QByteArrayView value, char keepQuote) {
    // A value given in quotes is written as given: the file's readers take them as
    // quoting, so a second pair would become part of the value.
    if (enclosingQuote(value))
        return value.toByteArray();
    char quote = keepQuote;
    if (!quote && !value.isEmpty() && (isBlank(value.front()) || isBlank(value.back())))
        quote = '"';
    if (!quote)
        return value.toByteArray();
    QByteArray text;
    text.reserve(value.size() + 2);
    text.append(quote).append(value).append(quote);
    return text;
}

QByteArray sectionLine(QByteArrayView name) {
    QByteArray line;
    line.reserve(name.size() + 2);
    line.append('[').append(name).append(']');
    return line;
}

QByteArray keyLine(QByteArrayView name, QByteArrayView valueText) {
    QByteArray line;
    line.reserve(name.size() + 1 + valueText.size());
    line.append(name).append('=').append(valueText);
    return line;
}

namespace {

// The views that sectionName and keyName give point into the line, so where the name
// sits is where the view starts (also for an empty name, as in "[ ]").
QByteArray withNameReplaced(QByteArrayView line, QByteArrayView oldName, QByteArrayView name) {
    const qsizetype start = oldName.data() - line.data();
    QByteArray renamed;
    renamed.reserve(line.size() - oldName.size() + name.size());
    renamed.append(line.first(start)).append(name).append(line.sliced(start + oldName.size()));
    return renamed;
}

} // namespace

QByteArray renamedHeader(QByteArrayView headerLine, QByteArrayView name) {
    return withNameReplaced(headerLine, sectionName(headerLine), name);
}

QByteArray renamedKey(QByteArrayView keyLine, QByteArrayView name) {
    return withNameReplaced(keyLine, keyName(keyLine), name);
}

namespace {

qsizetype leadingBlanks(QByteArrayView line) {
    qsizetype i = 0;
    while (i < line.size() && isBlank(line[i]))
        ++i;
    return i;
}

// A value that is a sentence of prose: "; Off = Do not display errors.", "; Integer =
// Enables the buffer (in bytes)". Three words or more (before a comment after the
// value), ending as sentences and remarks end. A quoted value is a value.
bool readsAsSentence(QByteArrayView value) {
    for (qsizetype i = 1; i < value.size(); ++i) {
        if (value[i] == ';' && isBlank(value[i - 1])) {
            value = trimBlanks(value.first(i));
            break;
        }
    }
    if (value.isEmpty() || enclosingQuote(value))
        return false;
    int words = 1;
    for (qsizetype i = 1; i < value.size(); ++i)
        words += isBlank(value[i]) && !isBlank(value[i - 1]) ? 1 : 0;
    const char last = value.back();
    return words >= 3 && (last == '.' || last == '!' || last == ')' || value.contains(". "));
}

} // namespace

QByteArrayView switchedOffKey(QByteArrayView line) {
    qsizetype i = leadingBlanks(line);
    if (i == line.size() || (line[i] != ';' && line[i] != '#'))
        return {};
    ++i; // one comment character: ";;key=value" is a comment about a key
    while (i < line.size() && isBlank(line[i]))
        ++i;
    const QByteArrayView rest = line.sliced(i);
    if (rest.isEmpty() || classify(rest) != LineKind::Key || rest.front() == '#')
        return {};
    const QByteArrayView name = keyName(rest);
    for (char c : name) {
        if (isBlank(c) || c == ';' || c == '"' || c == '\'')
            return {};
    }
    return readsAsSentence(splitKey(rest).rawValue) ? QByteArrayView() : rest;
}

QByteArray switchedOn(QByteArrayView line) {
    const qsizetype mark = leadingBlanks(line);
    QByteArray on;
    on.reserve(line.size() - 1);
    on.append(line.first(mark)).append(line.sliced(mark + 1));
    return on;
}

QByteArray switchedOff(QByteArrayView keyLine) {
    const qsizetype indent = leadingBlanks(keyLine);
    QByteArray off;
    off.reserve(keyLine.size() + 1);
    off.append(keyLine.first(indent)).append(';').append(keyLine.sliced(indent));
    return off;
}

} // namespace ravik::IniSyntax
