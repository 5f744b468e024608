#pragma once

#include <QString>

namespace ravik {

// Whether the document has unsaved changes. Unbestimmt only before start-up has
// finished; Geaendert2 only inside the commands that add a section or key, to tell
// that no deleted entry of the same name came back. Everything but Gespeichert
// counts as unsaved.
enum class Dateistatus : quint8 { Unbestimmt, Gespeichert, Geaendert, Geaendert2 };

// What saving must do with a row of the entry table; only Delete makes a difference
// to the file, the others record how the row came about.
enum class Aktionsmarke : quint8 { Keine, Change, Edit, Neu, Delete };

// The texts these states are known by ("", "gespeichert", "geaendert", "geaendert2";
// "", "change", "edit", "neu", "delete").
const QString& dateistatusText(Dateistatus status);
const QString& aktionsmarkeText(Aktionsmarke marke);

} // namespace ravik
