#pragma once

#include <QList>
#include <QRect>
#include <QString>
#include <optional>

namespace ravik {

// Where the main window was when it was last closed: its frame (position and size of
// the client area), whether it filled the screen, and the widths of the two views'
// side panels. Kept in the section "Window" of the settings file, apart from the
// settings an older Ravik knows; a missing or broken value is simply not there.
struct Fensterlage {
    std::optional<QRect> rahmen;       // the client area in its normal (not maximised) state
    bool maximiert = false;
    std::optional<int> detailbreite;   // the browser view's detail side
    std::optional<int> seitenbreite;   // the editor view's side panel

    // Never fails: a file that cannot be read gives an empty record.
    static Fensterlage lesen(const QString& datei);
    // Raises EIniFileException when the file cannot be written.
    void schreiben(const QString& datei) const;

    // Where a window of `groesse` opens: at the remembered frame when enough of it lies
    // on one of the screens to grab it, else centred on the first screen (the
    // remembered size, shrunk to fit, or `vorgabe` when none is remembered).
    QRect platzieren(const QList<QRect>& bildschirme, const QSize& vorgabe,
                     const QSize& kleinste) const;
};

} // namespace ravik
