#pragma once

#include "core/document/Zustaende.h"
#include "core/platform/ini/IniIdIndex.h"
#include "core/platform/text/TextArena.h"

#include <QHash>
#include <QString>
#include <optional>
#include <vector>

namespace ravik {

// The browser view's document: an ordered list of rows [section, key, value, mark],
// one per section (key empty) and per key. Rows are only appended or overwritten,
// never removed one by one; a deleted entry keeps its row, marked "delete", until the
// table is cleared. The table always has at least one row; the empty table is one
// row of four empty cells.
//
// Names are compared exactly (case-sensitive). Lookups walk a chain of the section's
// rows kept in step with every append and overwrite, so they give the same rows in
// the same order as a scan from the first row to the last. Files with half a million
// keys are common, so a row is a few integers: section names are stored once, and they,
// keys and values lie as UTF-8 in a text arena.
//
// Rows loaded from the document's text know which entry of the text they stand for
// (their origin): a renamed key or section is then renamed in the text in place, and
// a deleted one removed, whatever names the table has given it since.
class WerteTabelle {
public:
    // Who shows the table's entries (the browser's tree) and follows its changes
    // instead of keeping a copy: told after each edit of the edit rules (Bearbeitung)
    // what it means for the entries, and around a whole new table. A section is
    // named by its id (sektionsName), a key by a row that carries it.
    class Beobachter {
    public:
        virtual ~Beobachter() = default;
        virtual void tabelleWirdNeu() = 0;
        virtual void tabelleNeu() = 0;
        virtual void sektionHinzugefuegt(quint32 sektion) = 0;
        virtual void sektionUmbenannt(quint32 alt, quint32 neu) = 0;
        virtual void sektionEntfernt(quint32 sektion) = 0;
        virtual void schluesselHinzugefuegt(int zeile) = 0;
        virtual void schluesselUmbenannt(int zeile) = 0;
        virtual void schluesselEntfernt(quint32 sektion, int zeile) = 0;
    };

    WerteTabelle();
    // The rows of another table (a new document built beside this one, so that a
    // failure leaves this one whole); the observer stays and is told.
    void ersetzenDurch(WerteTabelle&& andere);
    void setBeobachter(Beobachter* beobachter) { beobachter_ = beobachter; }
    Beobachter* beobachter() const { return beobachter_; }

    // Sections by id: every name the table has held since it was last cleared.
    quint32 sektionsId(int row) const { return rows_[row].sektion; }
    QString sektionsName(quint32 id) const { return arena_.text(nameVon(id)); }
    int sektionsIdVon(const QString& name) const { return sektionsIdOderMinus(name); }
    // The live section row of this id that comes first, -1 when none.
    int lebendeSektionsZeile(quint32 id) const;
    // The rows of the section's live keys, first to last, each name once (at its
    // first live row): the keys a tree shows under the section.
    void lebendeSchluessel(quint32 id, std::vector<int>& zeilen) const;
    bool hatLebendenSchluessel(quint32 id) const;

    int RowCount() const { return static_cast<int>(rows_.size()); }
    // Grows with empty rows; shrinking keeps the first rows.
    void setRowCount(int count);

    QString sektion(int row) const { return sektionsName(rows_[row].sektion); }
    QByteArrayView sektionUtf8(int row) const { return arena_.view(nameVon(rows_[row].sektion)); }
    QString schluessel(int row) const { return arena_.text(rows_[row].schluessel); }
    QString wert(int row) const { return arena_.text(wertVon(row)); }
    // Key and value as the UTF-8 bytes the table holds (valid until the row changes).
    QByteArrayView schluesselUtf8(int row) const { return arena_.view(rows_[row].schluessel); }
    QByteArrayView wertUtf8(int row) const { return arena_.view(wertVon(row)); }
    Aktionsmarke marke(int row) const { return rows_[row].marke(); }
    bool istGeloescht(int row) const { return rows_[row].marke() == Aktionsmarke::Delete; }
    bool istSektionsZeile(int row) const { return rows_[row].schluessel.isEmpty(); }

    void setSektion(int row, const QString& text);
    void setSchluessel(int row, const QString& text);
    void setWert(int row, const QString& text) {
        geladenAufloesen();
        rows_[row].wert = arena_.add(text);
        rows_[row].geaendert = true;
    }
    void setMarke(int row, Aktionsmarke marke) {
        geladenAufloesen();
        rows_[row].setMarke(marke);
        rows_[row].geaendert = true;
    }
    void setZeile(int row, const QString& sektion, const QString& schluessel,
                  const QString& wert, Aktionsmarke marke);

    // Appends a row at the end; returns its number.
    int anhaengen(const QString& sektion, const QString& schluessel, const QString& wert,
                  Aktionsmarke marke);

    // Loading from the document's text, in its order: a section row (taking the blank
    // row of an empty table), then its keys' rows (given that section row), key and
    // value as UTF-8 bytes.
    int sektionLaden(const QString& sektion);
    // A name given here is one the table does not hold yet, unless it is empty.
    int sektionLadenUtf8(QByteArrayView sektion);
    int schluesselLaden(int sektionsZeile, QByteArrayView schluessel, QByteArrayView wert);
    // Names and values loaded from these bytes are kept where they stand, not copied:
    // the caller keeps the bytes until the table is cleared or replaced.
    void textLeihen(QByteArrayView bytes) { arena_.setGeliehen(bytes); }

    // Where the row's entry stands in the text: the names it has there. None for rows
    // that have not reached the text (new entries, records of old names).
    struct Herkunft {
        QString sektion;
        QString schluessel; // empty for a section
    };
    std::optional<Herkunft> herkunft(int row) const;
    // Another row, not marked "delete", stands for the same entry of the text as this
    // one (a section brought back has a row for each time it was named so): deleting
    // this row must not take that entry out of the text.
    bool anderemLebendenEintragGleich(int row) const;
    // Rows that have been renamed since they were loaded, in table order.
    std::vector<int> umbenannteZeilen() const;
    // A renamed section lives on in the row that carries its new name.
    void herkunftUebertragen(int von, int nach);
    // The row changed since the table and the text last agreed (loading, or
    // herkunftAbgleichen): only such rows have anything to bring to the text.
    bool seitAbgleichGeaendert(int row) const { return rows_[row].geaendert; }
    // The table's changes have reached the text: every live row now stands for its
    // entry under its present names, every deleted one for nothing.
    void herkunftAbgleichen();

    // Back to one row of four empty cells.
    void leeren();
    // Only the live sections stay, each once, in order, as if loaded: what a hidden
    // tree needs while the editor's text is the document (its keys and values are
    // in that text, and the browser view is filled anew from it).
    void nurSektionenBehalten();
    // Exactly the empty table: one row, all cells empty.
    bool istLeer() const;

    // The value of the last row with this section and key, whatever its mark; empty
    // when none matches.
    QString WertAuslesen(const QString& sektion, const QString& schluessel) const;
    // The same for the section with this id (-1: none): what the tree shows is asked
    // without a lookup by name.
    QString WertAuslesen(int sektionsId, const QString& schluessel) const;

    // A row with this section and key that is not marked "delete" exists.
    bool hatLebendeZeile(const QString& sektion, const QString& schluessel) const;
    // The same with names compared as the file holds them, without their outer blanks
    // and without regard to case; row `ausser` does not count (an entry about to be
    // renamed).
    bool hatLebendenNamen(const QString& sektion, const QString& schluessel,
                          int ausser = -1) const;

    // The rows of the section with this id, key rows and its own, first to last.
    template <typename Fn> void zeilenDerSektionDurchlaufen(int id, int limit, Fn&& fn) const;

    // Rows with this section and key (key empty: the section's own rows), first to last,
    // among the rows below `limit` (-1: all rows).
    std::vector<int> zeilenMit(const QString& sektion, const QString& schluessel,
                               int limit = -1) const;
    std::vector<int> zeilenMit(int sektionsId, const QString& schluessel, int limit = -1) const;
    // Every row of this section (its own rows and its key rows), first to last.
    std::vector<int> zeilenDerSektion(const QString& sektion, int limit = -1) const;
    // The rows of this section's keys, first to last, into a vector the caller keeps:
    // a search walks every section.
    void schluesselZeilen(const QString& sektion, std::vector<int>& zeilen) const;

    // Bytes of key and value text held (with what overwrites left behind).
    qsizetype textBytes() const { return arena_.usedBytes(); }

    // Room for about this many rows, so loading a large file never copies the table.
    void reserve(qsizetype rows);

private:
    // Twenty bytes: a file of a million small sections has two million rows.
    struct Zeile {
        Zeile(TextArena::Text k, TextArena::Text w, quint32 s, Aktionsmarke m, bool aus, bool geaendertSeit)
            : schluessel(k), wert(w), sektion(s), markenWert(quint32(m)), ausText(aus), geaendert(geaendertSeit) {}
        Aktionsmarke marke() const { return Aktionsmarke(markenWert); }
        void setMarke(Aktionsmarke m) { markenWert = quint32(m); }

        TextArena::Text schluessel;
        TextArena::Text wert;
        quint32 sektion : 27;  // index into sektionsNamen_ (kMaxSektionen)
        quint32 markenWert : 3;
        quint32 ausText : 1;   // stands for an entry of the text
        quint32 geaendert : 1; // since the last load or herkunftAbgleichen()
    };
    static_assert(sizeof(Zeile) == 20, "a row stays small");
    // More names than a row can tell apart: a text of this many sections does not fit
    // the largest file the program opens.
    static constexpr quint32 kMaxSektionen = 1u << 27;
    // The names in the text of a row renamed since it was loaded.
    struct AlteNamen {
        quint32 sektion = 0;
        TextArena::Text schluessel;
    };
    int zeileAnhaengen(const Zeile& zeile);
    struct Kette {
        int kopf = -1;
        int ende = -1;
    };
    struct Verweise {
        int naechste = -1;
        int vorige = -1;
    };

    quint32 sektionsId(const QString& name);
    quint32 sektionsIdUtf8(QByteArrayView name);
    int sektionsIdOderMinus(const QString& name) const;
    int gesuchteSektionsId(QByteArrayView name) const;
    quint32 neueSektionsId(QByteArrayView name);
    bool namenIndexieren() const;
    void namenVergessen();
    void einketten(int row);
    void alteNamenMerken(int row);
    void ausketten(int row);
    // A section's neighbours of a row: while the table is as loaded (every section's
    // rows one run), they are its run; links are made at the first edit that breaks a run.
    int naechste(int row) const;
    int vorige(int row) const;
    bool verlaesstLauf(int row) const;
    bool schliesstAnLaufAn(quint32 sektion, int row) const;
    void verketten();

    // A table as loaded (wieGeladen_) keeps neither its sections' names nor their runs
    // apart from the rows: from the second section loaded on, section ids follow the
    // rows, each section's rows are one run starting with its own row, and that row's
    // value field holds the section's name (a file of a million small sections saves
    // sixteen megabytes). The first change writes names and runs down.
    void geladenAufloesen();
    quint32 sektionsAnzahl() const { return quint32(sektionsNamen_.size()) + geladeneSektionen_; }
    bool geladeneId(quint32 id) const { return wieGeladen_ && id >= quint32(sektionsNamen_.size()); }
    bool laufBeginn(int row) const {
        return row == ersteGeladeneZeile_ || rows_[size_t(row) - 1].sektion != rows_[size_t(row)].sektion;
    }
    int kopf(quint32 id) const;
    int ende(quint32 id) const;
    TextArena::Text nameVon(quint32 id) const {
        return geladeneId(id) ? rows_[size_t(kopf(id))].wert : sektionsNamen_[id];
    }
    TextArena::Text wertVon(int row) const {
        return wieGeladen_ && row >= ersteGeladeneZeile_ && laufBeginn(row) ? TextArena::Text{} : rows_[row].wert;
    }

    std::vector<Zeile> rows_;
    // Each row's neighbours among its section's rows, once verkettet_: a file of a
    // million sections loads without them (two million rows, sixteen megabytes).
    std::vector<Verweise> links_;
    bool verkettet_ = false;
    // Section names once each, in the arena, found by their bytes' hash: a file of a
    // million small sections holds a million names.
    std::vector<TextArena::Text> sektionsNamen_;
    std::vector<Kette> ketten_;         // per section id
    bool wieGeladen_ = false;
    quint32 geladeneSektionen_ = 0; // ids from sektionsNamen_.size() on, while wieGeladen_
    int ersteGeladeneZeile_ = 0;
    // Made at the first lookup by name after loading.
    mutable IniIdIndex sektionsIds_;
    auto namensHashes() const;
    mutable bool namenIndexiert_ = true;
    QHash<int, AlteNamen> alteNamen_; // few: only rows renamed since the last load or save
    TextArena arena_;
    Beobachter* beobachter_ = nullptr;
};

template <typename Fn>
void WerteTabelle::zeilenDerSektionDurchlaufen(int id, int limit, Fn&& fn) const {
    if (id < 0)
        return;
    for (int r = kopf(quint32(id)); r >= 0 && r < limit; r = naechste(r))
        fn(r);
}

} // namespace ravik
