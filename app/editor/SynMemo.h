#pragma once

#include "platform/text/LineText.h"

#include <Qsci/qsciscintilla.h>

namespace ravik {

class SynIniSyn;

// The editor view's text editor: QScintilla configured as the program requires
// (font, no gutter, active line, edge line, auto indent, grouped undo, scroll hint,
// smart tab delete, tabs as spaces, trimming of edited lines, the key table), holding
// the file's text losslessly (encoding and line breaks are remembered).
class SynMemo : public QsciScintilla {
    Q_OBJECT
public:
    explicit SynMemo(QWidget* parent = nullptr);
    ~SynMemo() override;

    SynIniSyn* highlighter() const;

    // Removes every line, bookmark and the undo history; clears the modified flag.
    // The line-break style and the encoding stay.
    void clearAll();

    // Replaces the text with the file's lines; caret to the start, view to the top,
    // undo history emptied. Raises EFOpenError; the text stays as it was then.
    void loadLinesFromFile(const QString& path);

    // Writes the text back in the remembered encoding and line breaks. Raises
    // EFCreateError / EWriteError, or RavikError when the encoding cannot hold the text.
    void saveLinesToFile(const QString& path);

    // The text is empty: no line, or one empty line.
    bool isTextEmpty() const;
    int lineCount() const;                 // 0 for an empty text
    QString lineAt(int index) const;       // without its line break

    // Adds a new last line (a line break first when the text is not empty);
    // the caret does not move; undoable.
    void appendLine(const QString& line);

    void setActiveLineColor(const QColor& color);
    QColor activeLineColor() const;

    EolStyle eolStyle() const;
    TextEncoding encoding() const;

signals:
    // A typed character that the editor does not carry out as a command of its own.
    void characterTyped(QChar character);
};

} // namespace ravik
