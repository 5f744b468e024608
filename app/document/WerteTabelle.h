#pragma once

#include <QHash>
#include <QString>
#include <vector>

namespace ravik {

// The browser view's document: an ordered list of rows [section, key, value, mark],
// one per section (key empty) and per key. Rows are only appended or overwritten,
// never removed one by one; a deleted entry keeps its row, marked "delete", until the
// table is cleared. The table always has at least one row; the empty table is one
// row of four empty cells.
//
// Names are compared exactly (case-sensitive). Lookups use an index kept in step with
// every append and overwrite, so they give the same rows in the same order as a scan
// from the first row to the last.
class WerteTabelle {
public:
    static inline const QString kChange = QStringLiteral("change");
    static inline const QString kEdit = QStringLiteral("edit");
    static inline const QString kNeu = QStringLiteral("neu");
    static inline const QString kDelete = QStringLiteral("delete");

    WerteTabelle();

    int RowCount() const { return static_cast<int>(rows_.size()); }
    // Grows with empty rows; shrinking keeps the first rows.
    void setRowCount(int count);

    const QString& sektion(int row) const { return rows_[row].sektion; }
    const QString& schluessel(int row) const { return rows_[row].schluessel; }
    const QString& wert(int row) const { return rows_[row].wert; }
    const QString& marke(int row) const { return rows_[row].marke; }
    bool istGeloescht(int row) const { return rows_[row].marke == kDelete; }

    void setSektion(int row, const QString& text);
    void setSchluessel(int row, const QString& text);
    void setWert(int row, const QString& text) { rows_[row].wert = text; }
    void setMarke(int row, const QString& text) { rows_[row].marke = text; }
    void setZeile(int row, const QString& sektion, const QString& schluessel,
                  const QString& wert, const QString& marke);

    // Appends a row at the end; returns its number.
    int anhaengen(const QString& sektion, const QString& schluessel, const QString& wert,
                  const QString& marke);

    // Back to one row of four empty cells.
    void leeren();
    // Exactly the empty table: one row, all cells empty.
    bool istLeer() const;

    // The value of the last row with this section and key, whatever its mark; empty
    // when none matches.
    QString WertAuslesen(const QString& sektion, const QString& schluessel) const;

    // A row with this section and key that is not marked "delete" exists.
    bool hatLebendeZeile(const QString& sektion, const QString& schluessel) const;

    // Rows with this section and key (key empty: the section's own rows), first to last,
    // among the rows below `limit` (-1: all rows).
    std::vector<int> zeilenMit(const QString& sektion, const QString& schluessel,
                               int limit = -1) const;
    // Every row of this section (its own rows and its key rows), first to last.
    std::vector<int> zeilenDerSektion(const QString& sektion, int limit = -1) const;

    // Reserve room for a document of about this many rows (loading).
    void reserve(int rows);

private:
    struct Zeile {
        QString sektion, schluessel, wert, marke;
    };
    // A chain of rows through next/prev arrays, kept in ascending row order.
    struct Kette {
        int kopf = -1;
        int ende = -1;
    };
    struct Verweise {
        int naechste = -1;
        int vorige = -1;
    };

    static quint64 paarSchluessel(const QString& sektion, const QString& schluessel);

    void einketten(QHash<quint64, Kette>& ketten, quint64 id, std::vector<Verweise>& links, int row);
    void ausketten(QHash<quint64, Kette>& ketten, quint64 id, std::vector<Verweise>& links, int row);
    void indexAufnehmen(int row);
    void indexEntfernen(int row);
    void indexNeuAufbauen();

    std::vector<Zeile> rows_;
    QHash<quint64, Kette> paarKetten_;     // (section, key) → rows
    QHash<quint64, Kette> sektionsKetten_; // section → rows
    std::vector<Verweise> paarLinks_;
    std::vector<Verweise> sektionsLinks_;
};

} // namespace ravik
