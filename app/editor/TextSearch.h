#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

class QsciScintillaBase;

namespace ravik {

struct SearchOptions {
    bool matchCase = false;
    bool wholeWord = false;
};

enum class FindResult {
    NotFound,
    Found,
    FoundAfterWrap, // the search went past one end of the text and on from the other
};

// One search text with its options over the editor's UTF-8 buffer, without a copy of
// the text. Scintilla's own search (the target range) does the work; but it folds the
// case of ASCII letters only, so a search that ignores case and holds a letter beyond
// ASCII (ä, Ö, é) compares case-folded characters itself. Words are Scintilla's in
// both. Undo steps, the caret and the trimming of edited lines are the caller's.
class TextSearch {
public:
    struct Match {
        long start = -1;
        long end = -1;
        bool found() const { return start >= 0; }
    };

    TextSearch(QsciScintillaBase& editor, const QString& text, const SearchOptions& options);

    // The first match within [from, to); with to < from the last one within [to, from).
    Match inRange(long from, long to) const;

    // Replaces every match from the start of the text on, each once (a replacement that
    // contains the text is not searched again). Returns how many were replaced.
    int replaceEach(const QString& replacement) const;

private:
    Match scintillaSearch(long from, long to) const;
    Match foldedSearch(long from, long to) const;
    // The length in bytes of a match of the folded text at `at`, or -1.
    long foldedMatchAt(const char* bytes, long at, long length) const;

    QsciScintillaBase& editor_;
    QByteArray pattern_; // UTF-8
    int flags_ = 0;
    bool wholeWord_ = false;
    std::vector<char32_t> folded_; // empty when Scintilla compares
};

} // namespace ravik
