#pragma once

#include "core/editor/IniTokenizer.h"

#include <QStringList>
#include <Qsci/qscilexercustom.h>

namespace ravik {

// The INI highlighter: styles each line with the tokens of IniTokenizer.
// Style numbers are the token kind codes (0 comment .. 8 symbol); style 4 (end of
// line, and bytes after a NUL) keeps the editor's default colours.
class SynIniSyn : public QsciLexerCustom {
    Q_OBJECT
public:
    explicit SynIniSyn(QObject* parent = nullptr);

    const char* language() const override;
    QString description(int style) const override;
    void styleText(int start, int end) override;

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
};

} // namespace ravik
