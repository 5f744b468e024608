#pragma once

#include <functional>

class QsciScintilla;

namespace ravik {

// Persistent selection modes (Ctrl+Shift+N / C / L). QScintilla only knows a
// selection type per selection, so the mode is kept here and each extending key
// rebuilds the selection: rectangular in column mode, whole lines in line mode.
class SelectionModes {
public:
    enum class Mode { Normal, Column, Line };

    explicit SelectionModes(QsciScintilla* editor);

    Mode mode() const { return mode_; }
    void setMode(Mode mode);

    // Extends the selection by a caret movement; move() moves the caret as the key
    // would without Shift.
    void extend(const std::function<void()>& move);

    // Drops the remembered line-mode caret (after the text was replaced).
    void forget();

private:
    void selectLines(long anchor, long caret);

    QsciScintilla* editor_;
    Mode mode_ = Mode::Normal;
    // In line mode the visible caret sits at a line edge; the caret that movement
    // keys continue from is remembered while the selection stays as it was set.
    long lineAnchor_ = -1;
    long lineCaret_ = -1;
    long setAnchor_ = -1;
    long setCaret_ = -1;
};

} // namespace ravik
