#pragma once

#include <QString>
#include <QStringList>

namespace ravik {

// The files last opened or saved, newest first, at most ten, kept in the settings
// file in a section of their own ("[Zuletzt]", keys "Datei1" to "Datei10") beside the
// program's other settings. Every change reads the file afresh before writing it, so
// two running copies of the program do not drop each other's entries.
class ZuletztGeoeffnet {
public:
    static constexpr int kAnzahl = 10;

    explicit ZuletztGeoeffnet(QString einstellungsdatei);

    // The list as the file holds it now (a file that cannot be read gives none).
    QStringList dateien() const;
    // Puts the file at the top (once). Raises EIniFileException when the settings
    // file cannot be written.
    void merken(const QString& datei);
    void vergessen(const QString& datei);

    // The texts of a menu of these files: each file's name, and where two share a
    // name, its folder after it.
    static QStringList menuetexte(const QStringList& dateien);
    // A path as the list keeps it: absolute and clean.
    static QString normalisiert(const QString& datei);

private:
    void schreiben(const QStringList& dateien) const;

    QString einstellungsdatei_;
};

} // namespace ravik
