#pragma once

#include "app/editor/UnstyledRanges.h"
#include "core/editor/IniTokenizer.h"

#include <QStringList>
#include <Qsci/qscilexercustom.h>

namespace ravik {

// The INI highlighter: styles each line with the tokens of IniTokenizer.
// Style numbers are the token kind codes (0 comment .. 8 symbol); style 4 (end of
// line, and bytes after a NUL) keeps the editor's default colours.
//
// Scintilla styles a text from its start up to what is shown, so a jump to the end
// of a big file would style all of it first. A line's tokens depend on that line
// alone: such a request styles the lines near the screen, and the lines it skipped
// are styled once they come into view (styleSkipped).
//
// Every change lowers Scintilla's mark of how far the text is styled to where it
// happened, and Scintilla asks again for everything after the mark. So the skipped
// ranges before the mark stand where they were found, and those after it are
// forgotten when Scintilla asks.
class SynIniSyn : public QsciLexerCustom {
    Q_OBJECT
public:
    explicit SynIniSyn(QObject* parent = nullptr);

    const char* language() const override;
    QString description(int style) const override;
    void styleText(int start, int end) override;

    // Styles the lines of [from, to) that a request skipped; the editor calls it for
    // the lines it is about to show. True when anything was styled.
    bool styleSkipped(long from, long to);
    // A new text was taken in: nothing of it was skipped.
    void forgetSkipped();

    // The foregrounds the program sets at start-up and from the options panel.
    void setSectionColor(const QColor& color);
    void setKeyColor(const QColor& color);
    QColor sectionColor() const;
    QColor keyColor() const;

    // The eight attributes in the order they were created; each is style attributeStyle(i).
    static QStringList attributeNames();
    static int attributeStyle(int index);

    // The component's own defaults; the constructor then sets this program's colours.
    QColor defaultColor(int style) const override;
    QFont defaultFont(int style) const override;
    QColor defaultPaper(int style) const override;
    const char* wordCharacters() const override;

    // "Courier New" 10 pt, any monospace font where it is missing.
    static QFont editorFont();

    // Requests for more than this are styled in part.
    static constexpr long kStyleAtOnceBytes = 512 * 1024;

private:
    // Styles the whole lines from the one holding `from` to the one holding `to` - 1.
    void styleLines(long from, long to);
    long lineStartAt(long position) const;

    UnstyledRanges skipped_;
};

} // namespace ravik
