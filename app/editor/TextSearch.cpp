#include "app/editor/TextSearch.h"

#include <QStringView>
#include <Qsci/qsciscintillabase.h>

namespace ravik {
namespace {
using Sci = QsciScintillaBase;

// No character of a search text: stands for a byte that starts no valid UTF-8 sequence.
constexpr char32_t kNoCharacter = 0x110000;

// The code point at bytes[at] and its length in bytes (UTF-8 as Scintilla holds it).
char32_t decodeAt(const char* bytes, long at, long length, int* size) {
    const auto byte = [&](long i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    *size = 1;
    if (lead < 0x80)
        return lead;
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra == 0 || lead > 0xF4 || at + extra >= length)
        return kNoCharacter;
    char32_t c = lead & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return kNoCharacter;
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    *size = extra + 1;
    return c;
}

char32_t fold(char32_t c) {
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
    return c == kNoCharacter ? c : QChar::toCaseFolded(c);
}

// Letters beyond ASCII whose case Scintilla would not fold.
bool foldsBeyondAscii(const QString& text) {
    for (const char32_t c : text.toUcs4())
        if (c >= 0x80 && (QChar::toCaseFolded(c) != c || QChar::toUpper(c) != c))
            return true;
    return false;
}

} // namespace

TextSearch::TextSearch(Sci& editor, const QString& text, const SearchOptions& options)
    : editor_(editor), pattern_(text.toUtf8()), wholeWord_(options.wholeWord) {
    flags_ = (options.matchCase ? Sci::SCFIND_MATCHCASE : 0) |
             (options.wholeWord ? Sci::SCFIND_WHOLEWORD : 0);
    if (!options.matchCase && foldsBeyondAscii(text))
        for (const char32_t c : text.toUcs4())
            folded_.push_back(fold(c));
}

TextSearch::Match TextSearch::inRange(long from, long to) const {
    if (pattern_.isEmpty())
        return {};
    return folded_.empty() ? scintillaSearch(from, to) : foldedSearch(from, to);
}

TextSearch::Match TextSearch::scintillaSearch(long from, long to) const {
    editor_.SendScintilla(Sci::SCI_SETSEARCHFLAGS, flags_);
    editor_.SendScintilla(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(from), to);
    if (editor_.SendScintilla(Sci::SCI_SEARCHINTARGET, uintptr_t(pattern_.size()),
                              pattern_.constData()) < 0)
        return {};
    return {editor_.SendScintilla(Sci::SCI_GETTARGETSTART),
            editor_.SendScintilla(Sci::SCI_GETTARGETEND)};
}

long TextSearch::foldedMatchAt(const char* bytes, long at, long length) const {
    long i = at;
    for (const char32_t wanted : folded_) {
        if (i >= length)
            return -1;
        int size = 1;
        if (fold(decodeAt(bytes, i, length, &size)) != wanted)
            return -1;
        i += size;
    }
    return i - at;
}

// Both directions read the range forwards; backwards the last match is kept.
TextSearch::Match TextSearch::foldedSearch(long from, long to) const {
    const bool forward = from <= to;
    const long start = forward ? from : to;
    const long end = forward ? to : from;
    if (end <= start)
        return {};
    // A range after the gap of Scintilla's buffer (where the last replacement was) is
    // read where it lies.
    const auto* bytes = reinterpret_cast<const char*>(editor_.SendScintilla(
        Sci::SCI_GETRANGEPOINTER, static_cast<unsigned long>(start), end - start));
    Match last;
    for (long at = 0; at < end - start; ++at) {
        if ((static_cast<unsigned char>(bytes[at]) & 0xC0) == 0x80)
            continue; // inside a character
        const long length = foldedMatchAt(bytes, at, end - start);
        if (length <= 0)
            continue;
        const Match match{start + at, start + at + length};
        if (wholeWord_ &&
            !editor_.SendScintilla(Sci::SCI_ISRANGEWORD, static_cast<unsigned long>(match.start),
                                   match.end))
            continue;
        if (forward)
            return match;
        last = match;
    }
    return last;
}

int TextSearch::replaceEach(const QString& replacement) const {
    const QByteArray bytes = replacement.toUtf8();
    int count = 0;
    long from = 0;
    for (Match match = inRange(from, editor_.SendScintilla(Sci::SCI_GETLENGTH)); match.found();
         match = inRange(from, editor_.SendScintilla(Sci::SCI_GETLENGTH))) {
        editor_.SendScintilla(Sci::SCI_SETTARGETRANGE, static_cast<unsigned long>(match.start),
                              match.end);
        editor_.SendScintilla(Sci::SCI_REPLACETARGET, uintptr_t(bytes.size()), bytes.constData());
        from = match.start + bytes.size(); // after the replacement
        ++count;
    }
    return count;
}

} // namespace ravik
