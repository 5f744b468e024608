#pragma once

#include <array>

class QsciScintilla;

namespace ravik {

// Bookmarks 0 to 9. The line is held by an invisible marker, so it follows edits
// above it; the column is remembered here.
class Bookmarks {
public:
    static constexpr int kCount = 10;

    // Uses the marker numbers firstMarker .. firstMarker + 9.
    Bookmarks(QsciScintilla* editor, int firstMarker);

    void set(int index); // at the caret; moves the bookmark if it is set elsewhere
    bool go(int index);  // caret to the bookmark; false when it is not set
    void clear();

    int line(int index) const; // -1 when not set

private:
    QsciScintilla* editor_;
    int firstMarker_;
    std::array<int, kCount> handles_{};
    std::array<long, kCount> columns_{};
};

} // namespace ravik
