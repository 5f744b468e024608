#pragma once

#include <QString>

namespace ravik {
class SynMemo;
}

namespace ravik::bench {

// Median wall times in ms of single keystrokes in the editor, each followed by the
// repaint it causes.
struct EditorTastenZeiten {
    double obenTippen = -1;
    double mitteTippen = -1;
    double endeTippen = -1;
    double endeReturn = -1;
    double endeRuecktaste = -1;
    double endeEntf = -1;
    double endeStrgY = -1;
    double rueckgaengigTippen = -1; // one Ctrl+Z over a run of typed characters
    double wiederholenTippen = -1;
    double rueckgaengigRuecktaste = -1; // over a run of Backspaces
    double wiederholenRuecktaste = -1;
    double strgEnde = -1; // from the top, once the whole text has been styled
};

// The editor holds the generated file and is shown. Prints one line per step; leaves
// the text edited.
EditorTastenZeiten editorTastenMessen(SynMemo& memo);

// The editor is shown and holds a long line as its second line: `tasten` keystrokes
// on the first line (the long one on screen), Enter and Backspace there (moving the
// long line down and up) and three keystrokes in the long line itself. Prints each;
// returns the median of the first.
double langeZeileMessen(SynMemo& memo, const char* name, int tasten);

// The same in an editor of its own on a file of a short line, a line of `bytes`
// bytes and a few hundred more lines.
double langeZeileMessen(const QString& verzeichnis, qint64 bytes, const char* name, int tasten);

} // namespace ravik::bench
