#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

namespace ravik {

// The line-break style new line breaks get.
enum class EolStyle { CrLf, Lf, Cr };

QByteArray eolBytes(EolStyle style);

// How often each line end occurs in a text. A file may mix them; the two parts of the
// program that add line breaks pick a style from these counts by rules of their own.
struct LineEndCounts {
    qsizetype crLf = 0;
    qsizetype lf = 0;
    qsizetype cr = 0;

    // The editor's rule: CR when a CR but no LF ended a line, LF when an LF but no CR
    // did, otherwise (both, or none) CR LF.
    EolStyle editorStyle() const;
    // The INI engine's rule for the lines it inserts: the most frequent line end, CR LF
    // on a tie and for a text without any.
    EolStyle dominantStyle() const;
};

// Counts the line ends (CR LF, LF, CR) and the line lengths of bytes fed block by
// block; a CR LF cut by a block's end counts once.
class LineEndCounter {
public:
    void feed(QByteArrayView block);
    void finish();
    const LineEndCounts& counts() const { return counts_; }
    qsizetype longestLine() const { return qMax(longest_, line_); }

private:
    LineEndCounts counts_;
    qsizetype line_ = 0;
    qsizetype longest_ = 0;
    bool pendingCr_ = false;
};

LineEndCounts countLineEnds(QByteArrayView bytes);

} // namespace ravik
