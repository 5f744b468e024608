#pragma once

#include <QString>

namespace ravik {

// Where the association of a file type is recorded on this desktop. All paths follow
// the XDG base directories, so tests can point them at a temporary home.
struct DateitypOrte {
    QString eintraege;      // our record of the four entries (an INI file)
    QString anwendungen;    // the user's applications directory
    QString mimeVerzeichnis; // the user's MIME database directory
    QString mimeapps;       // the user's mimeapps.list

    static DateitypOrte fuerBenutzer();
};

// Makes the program the user's application for a file type. The four entries a
// Windows registry would hold (extension → type name, type name → description,
// DefaultIcon → "program,index", Shell\Open\Command → "\"program\" \"parameter\"")
// are recorded in that order in our own store; then the freedesktop way: a desktop
// entry for this program file, a MIME type for the extension, and the default in
// mimeapps.list. Doing it twice gives the same result.
//
// Returns an empty text on success, otherwise the German reason it failed.
QString DateitypRegistrieren(const QString& endung, const QString& typname,
                             const QString& beschreibung, const QString& programmpfad,
                             const QString& parameter, int symbolIndex,
                             const DateitypOrte& orte = DateitypOrte::fuerBenutzer());

// The MIME type the program gives INI files.
inline constexpr const char* kIniMimeTyp = "text/x-ini";
// The desktop entry written for the program file: the name of the installed one, so
// the user's entry takes its place instead of standing beside it.
inline constexpr const char* kDesktopEintrag = "io.github.ravik.Ravik.desktop";

} // namespace ravik
