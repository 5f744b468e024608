#pragma once

#include <QString>

namespace ravik {

// What the browser view's tree shows besides the file's live entries: the keys the
// file has switched off (";extension=mysqli"). Kept in the section "Tree" of the
// settings file ("ShowCommented", 0 or 1), apart from the settings an older Ravik knows.
struct Baumanzeige {
    bool auskommentierteZeigen = true;

    // Never fails: a file that cannot be read, or no such value, gives the default.
    static Baumanzeige lesen(const QString& datei);
    // Written once it was switched off, so that a file that never had it keeps its
    // sections. Raises EIniFileException when the file cannot be written.
    void schreiben(const QString& datei) const;
};

} // namespace ravik
