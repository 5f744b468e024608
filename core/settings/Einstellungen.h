#pragma once

#include <QString>

namespace ravik {

// The user's settings: the view a file from the command line opens in, and the three
// colours of the editor view (red in the low byte, then green, then blue). Kept in an
// INI file: "View" under "General", "Sections", "Keys" and "Active" under "Color",
// as decimal numbers. A setting added later gets a section of its own, so that an
// older Ravik reading the file finds these two sections as it knows them.
struct Einstellungen {
    int ansicht = 0;                   // 0 browser view, anything else the editor view
    int farbeSektionen = 255;          // red
    int farbeSchluessel = 16711680;    // blue
    int farbeAktuelleZeile = 12320767; // light yellow
    // Show what a save will change before every save ("VorDemSpeichern" under
    // "Aenderungen", 0 or 1); written once it was switched on, so a file that never
    // had it keeps its two sections.
    bool aenderungenVorDemSpeichern = false;

    // Never fails: a missing or unreadable file, section or key, or a text that is no
    // number (decimal, or hexadecimal after "0x" or "$") gives the default. Values
    // are taken as they are, without a range test. A file that is not used (see
    // gesperrt) gives the defaults too.
    static Einstellungen lesen(const QString& datei);

    // Writes all four values, creating the file and its folder when needed; the rest
    // of a hand-edited file stays as it was. Raises EIniFileException "In %s kann
    // nicht geschrieben werden" when the file cannot be written, or is not used.
    void schreiben(const QString& datei) const;

    // Why the settings file is not used at all, neither read nor written: its folder
    // or the file itself is a symbolic link, or belongs to another user (for root:
    // to anyone but root), or the folder is missing and may not be made there. The
    // German reason; empty when the file is used. Makes the folder when it is missing.
    static QString gesperrt(const QString& datei);

    // Where the settings live. Beside the program ("ravik.ini" in its folder) only in
    // portable use, see portabel(); otherwise $XDG_CONFIG_HOME/ravik/ravik.ini
    // (~/.config/ravik/ravik.ini unless that variable says otherwise).
    static QString datei(const QString& programmverzeichnis);

    // Portable use: the program's folder is writable, belongs to the user running the
    // program and is no folder the system installs programs into. Those are the trees /usr, /bin, /sbin, /lib… and /opt, and
    // the bin folder of the prefix this Ravik was built to be installed under (also a
    // user's own, such as ~/.local/bin). A build tree or a copy unpacked anywhere else
    // is portable.
    static bool portabel(const QString& programmverzeichnis);
};

} // namespace ravik
