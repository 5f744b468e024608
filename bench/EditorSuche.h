#pragma once

class QWidget;

namespace ravik::bench {

struct EditorSucheZeiten {
    double alleErsetzen = -1; // ms, replace-all of "Sektion_"
    int ersetzt = 0;          // how many it replaced
};

// Find and replace in the editor view of the shown window, through the find bar (Ctrl+F,
// F3, Shift+F3, "Alle ersetzen", Ctrl+Z), on the generated file just opened. Prints one
// line per step; leaves the text changed.
EditorSucheZeiten editorSucheMessen(QWidget& fenster);

} // namespace ravik::bench
