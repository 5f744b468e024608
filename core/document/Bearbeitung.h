#pragma once

#include "core/document/WerteTabelle.h"

#include <QString>

namespace ravik {

// The browser view's edit rules: how confirming, adding, bringing back and deleting
// entries change the entry table. Nothing here touches the file or a widget; saving
// applies the table to the document's text (Dokument::anwenden).
namespace Bearbeitung {

// The detail panel's three texts: section, key (empty for a section) and value.
struct Detailtexte {
    QString sektion;
    QString schluessel;
    QString wert;
};

// Which of the three passes of a confirm ran.
struct Bestaetigung {
    bool wert = false;
    bool schluessel = false;
    bool sektion = false;
    bool geaendert() const { return wert || schluessel || sektion; }
};

// A name as the file will hold it: without its outer blanks (empty, not null, when it
// was nothing but blanks).
QString nameWieInDatei(const QString& name);
// The detail panel's texts with the names as the file will hold them; the value
// stays as typed.
Detailtexte wieInDatei(const Detailtexte& texte);

// A confirm that would give an entry the name of another live one (compared as the
// file holds names, without outer blanks and without regard to case): the file would
// merge the two.
bool namenskonflikt(const WerteTabelle& tabelle, const Detailtexte& alt, const Detailtexte& neu);

// Confirming the detail panel, in three passes (value, key, section), each over the
// rows that existed when it began. A changed value marks loaded rows "change"; a
// renamed key is marked "edit" and, when its old name is in the file, leaves a
// "delete" record of that name; a renamed section marks its old row "delete", moves
// its live keys to the new name ("edit") and appends a "neu" row for the new name.
Bestaetigung bestaetigen(WerteTabelle& tabelle, const Detailtexte& alt, const Detailtexte& neu);

// New section: a deleted section row of the name comes back, marked "neu" (its keys
// stay deleted); true when one did. Otherwise sektionAnfuegen adds [name, -, -, "neu"],
// in the blank row of an empty table or at the end.
bool sektionZurueckholen(WerteTabelle& tabelle, const QString& name);
void sektionAnfuegen(WerteTabelle& tabelle, const QString& name);

// New key: a deleted key row of the names comes back with an empty value, marked
// "edit"; true when one did. Otherwise schluesselAnfuegen appends it and gives its row.
bool schluesselZurueckholen(WerteTabelle& tabelle, const QString& sektion, const QString& schluessel);
int schluesselAnfuegen(WerteTabelle& tabelle, const QString& sektion, const QString& schluessel,
                        const QString& wert);

// Each edit tells the table's observer what it meant for the entries (a section or
// key added, renamed or removed), so that a tree showing them follows.
//
// Deleting marks rows "delete": every row of the section (values kept), or the key's
// rows (values emptied).
void sektionLoeschen(WerteTabelle& tabelle, const QString& sektion);
void schluesselLoeschen(WerteTabelle& tabelle, const QString& sektion, const QString& schluessel);

} // namespace Bearbeitung
} // namespace ravik
