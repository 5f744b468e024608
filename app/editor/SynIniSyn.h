#pragma once

#include "app/editor/IniTokenizer.h"

#include <Qsci/qscilexercustom.h>

namespace ravik {

// The INI highlighter: styles each line with the tokens of IniTokenizer.
// Style numbers are the token kind codes (0 comment .. 8 symbol).
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
};

} // namespace ravik
