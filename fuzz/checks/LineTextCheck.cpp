// The editor's file rules under random bytes.
#include "fuzz/checks/CheckReport.h"
#include "fuzz/checks/FuzzChecks.h"
#include "fuzz/checks/TextLines.h"

#include "core/platform/text/LineText.h"

namespace ravik::fuzz {
namespace {

// Written whole or in pieces, the text gives the same bytes, or is refused both ways.
std::optional<QByteArray> writtenBoth(QByteArrayView utf8, TextEncoding encoding) {
    const std::optional<QByteArray> whole = LineText::toFileBytes(utf8, encoding);
    QByteArray pieces;
    const bool fits =
        LineText::toFilePieces(utf8, encoding, [&](QByteArrayView piece) { pieces += piece; });
    FUZZ_EXPECT(fits == whole.has_value(),
                "whole and piecewise writing disagree on " + shown(utf8));
    FUZZ_EXPECT(LineText::fitsEncoding(utf8, encoding) == fits,
                "fitsEncoding disagrees with writing " + shown(utf8));
    if (whole)
        FUZZ_EXPECT(pieces == *whole, "written in pieces differs: " + shown(utf8));
    return whole;
}

// Every file the editor opens is written back byte for byte when nobody edits it.
void checkIdentity(QByteArrayView bytes, const EditorText& text) {
    const std::optional<QByteArray> written = writtenBoth(text.utf8, text.encoding);
    FUZZ_EXPECT(written.has_value(), "an unedited file cannot be written back: " + shown(bytes));
    FUZZ_EXPECT(*written == bytes, "an unedited file is written back changed: " + shown(bytes) +
                                       " became " + shown(*written));
    if (text.encoding != TextEncoding::Windows1252)
        FUZZ_EXPECT(TextCodec::isValidUtf8(text.utf8), "the editor got text that is not UTF-8");
}

// The line list: one more line than line breaks (a final break adds an empty line);
// joined with the file's own break style, a file of one style comes back whole.
void checkLines(QByteArrayView utf8, EolStyle style) {
    const QByteArrayList lines = LineText::splitLines(utf8);
    const std::vector<QByteArray> physical = physicalLines(utf8);
    qsizetype breaks = 0;
    qsizetype longest = 0;
    bool uniform = true;
    for (const QByteArray& line : physical) {
        longest = qMax(longest, withoutEol(line).size());
        const QByteArrayView eol = QByteArrayView(line).sliced(withoutEol(line).size());
        if (eol.isEmpty())
            continue;
        ++breaks;
        uniform = uniform && eol == eolBytes(style);
    }
    FUZZ_EXPECT(utf8.isEmpty() ? lines.isEmpty() : lines.size() == breaks + 1,
                "wrong number of lines for " + shown(utf8));
    for (const QByteArray& line : lines)
        FUZZ_EXPECT(!line.contains('\r') && !line.contains('\n'), "a line holds a line break");
    LineEndCounter counter;
    counter.feed(utf8);
    counter.finish();
    FUZZ_EXPECT(counter.longestLine() == longest, "wrong longest line in " + shown(utf8));
    const LineEndCounts counts = counter.counts();
    FUZZ_EXPECT(counts.crLf + counts.lf + counts.cr == breaks, "wrong line ends in " + shown(utf8));
    if (uniform)
        FUZZ_EXPECT(LineText::joinLines(lines, style) == utf8,
                    "lines joined with the file's style differ: " + shown(utf8));
}

// Text typed into the editor (here: a line appended) is written and read back as the
// same text in the same encoding.
void checkEditedText(const EditorText& text) {
    const QByteArray typed = text.encoding == TextEncoding::Windows1252
                                 ? QByteArray("k=Größe € x")
                                 : QByteArray("k=Größe € ✓ 𝄞");
    const QByteArray edited = text.utf8 + eolBytes(text.eol) + typed;
    const std::optional<QByteArray> written = writtenBoth(edited, text.encoding);
    FUZZ_EXPECT(written.has_value(), "typed text cannot be written in the file's encoding");
    if (text.encoding == TextEncoding::Windows1252) // a character the code page lacks
        FUZZ_EXPECT(!writtenBoth(edited + "✓", text.encoding),
                    "Windows-1252 took a character it cannot hold");
    const EditorText reread = LineText::fromFileBytes(*written);
    // A Windows-1252 file whose only non-UTF-8 bytes were typed ones may read as UTF-8.
    if (reread.encoding != text.encoding)
        return;
    FUZZ_EXPECT(reread.utf8 == edited, "typed text reads back changed: " + shown(edited) +
                                           " became " + shown(reread.utf8));
}

} // namespace

std::string checkLineText(QByteArrayView input) {
    return runCheck([&] {
        const EditorText text = LineText::fromFileBytes(input);
        FUZZ_EXPECT(text.eol == LineText::detectEol(text.utf8), "the style is not the text's");
        checkIdentity(input, text);
        checkLines(text.utf8, text.eol);
        checkEditedText(text);
    });
}

} // namespace ravik::fuzz
