#include "app/editor/SynMemo.h"

// Find and replace: the user's steps around the search (TextSearch). A match is
// selected as a click would select it (a typing run ends, the line left behind is
// trimmed); replacements are user edits like paste: their lines count as edited, and
// each command is one undo step together with the trim it causes.

namespace ravik {

void SynMemo::selectMatch(const TextSearch::Match& match) {
    endRun();
    SendScintilla(SCI_SETSEL, static_cast<unsigned long>(match.start), match.end);
    SendScintilla(SCI_SCROLLRANGE, static_cast<unsigned long>(match.start), match.end);
    afterUserAction();
}

FindResult SynMemo::find(const QString& text, const SearchOptions& options, bool forward) {
    const TextSearch search(*this, text, options);
    const long length = SendScintilla(SCI_GETLENGTH);
    const long from = SendScintilla(forward ? SCI_GETSELECTIONEND : SCI_GETSELECTIONSTART);
    TextSearch::Match match = search.inRange(from, forward ? length : 0);
    FindResult result = FindResult::Found;
    if (!match.found()) {
        match = forward ? search.inRange(0, length) : search.inRange(length, 0);
        result = FindResult::FoundAfterWrap;
    }
    if (!match.found())
        return FindResult::NotFound;
    selectMatch(match);
    return result;
}

bool SynMemo::replaceSelection(const QString& text, const QString& replacement,
                               const SearchOptions& options) {
    const long start = SendScintilla(SCI_GETSELECTIONSTART);
    const long end = SendScintilla(SCI_GETSELECTIONEND);
    const TextSearch::Match match = TextSearch(*this, text, options).inRange(start, end);
    if (start == end || match.start != start || match.end != end)
        return false;
    const QByteArray bytes = replacement.toUtf8();
    editAsOneStep([&] {
        SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(start), end);
        SendScintilla(SCI_REPLACETARGET, uintptr_t(bytes.size()), bytes.constData());
        SendScintilla(SCI_SETEMPTYSELECTION, static_cast<unsigned long>(start + bytes.size()));
    });
    afterUserAction();
    return true;
}

int SynMemo::replaceAll(const QString& text, const QString& replacement,
                        const SearchOptions& options) {
    int count = 0;
    editAsOneStep([&] { count = TextSearch(*this, text, options).replaceEach(replacement); });
    afterUserAction();
    return count;
}

} // namespace ravik
