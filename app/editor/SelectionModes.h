#pragma once

#include <QPoint>

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

    // A mouse drag follows the mode too: after each step of the editor's own (stream)
    // drag, its selection becomes the rectangle or the whole lines from the press to
    // the mouse. Dragging a selection away belongs to the normal mode only.
    bool dragsSelectionAway() const { return mode_ == Mode::Normal; }
    void mousePressed();
    void mouseDragged(QPoint at);
    void mouseReleased(QPoint at);

private:
    void selectLines(long anchor, long caret);
    void selectFromMouseAnchor(long caret);

    QsciScintilla* editor_;
    Mode mode_ = Mode::Normal;
    // In line mode the visible caret sits at a line edge; the caret that movement
    // keys continue from is remembered while the selection stays as it was set.
    long lineAnchor_ = -1;
    long lineCaret_ = -1;
    long setAnchor_ = -1;
    long setCaret_ = -1;
    long mouseAnchor_ = -1; // where a column or line drag began
};

} // namespace ravik
