#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

namespace ravik {

// One change between the file on disk and what a save would write, in the user's
// terms: where it is (section, key) and what became of it.
struct Aenderung {
    enum class Art {
        Geaendert, // a value, or a line, now reads otherwise
        Hinzugefuegt,
        Entfernt,
        Umbenannt,
    };
    Art art = Art::Geaendert;
    QString sektion;    // "" before the first section; the whole file for file-wide rows
    QString schluessel; // a repeated key carries its occurrence: "extension (2. Vorkommen)"
    QString alt;        // the old value, name or line; empty for an addition
    QString neu;        // the new one; empty for a removal

    // "geändert", "hinzugefügt", "entfernt", "umbenannt"
    QString artText() const;
};

// Compares the bytes on disk ("alt") with the bytes a save would write ("neu") line by
// line: a unified diff of the bytes (three lines of context) and the list of changes,
// each of which can be taken back on its own. The byte-order mark, the line ends and
// the final line end are compared apart from the lines' text, so a file whose line
// ends all changed is one change, not one per line.
//
// Both texts are walked in step while they agree; where they part, the nearest place
// where they agree again is looked up by hash and the stretch between is compared
// exactly (dtl). A stretch too large to compare exactly is taken as replaced whole;
// when that is most of the file, the file counts as changed throughout, and the work
// stays bounded whatever the files hold.
class Aenderungsvergleich {
public:
    // The whole texts as they are, file bytes (a UTF-16 file is compared as its text).
    static Aenderungsvergleich vergleichen(QByteArrayView alt, QByteArrayView neu,
                                           const QString& dateiname = QString());

    bool gleich() const { return aenderungen_.empty(); }
    // Too different to be told change by change: one change, the whole file.
    bool durchgehend() const { return durchgehend_; }
    const std::vector<Aenderung>& aenderungen() const { return aenderungen_; }
    // "--- a/name", "+++ b/name", then the hunks; empty when equal. A line without a
    // final line end is followed by "\ No newline at end of file", as patch wants it.
    const QByteArray& diff() const { return diff_; }

    // `neu` with the change at `index` taken back: those lines (or that line end, that
    // mark) as `alt` has them, everything else as `neu` has it. `alt` and `neu` are the
    // texts this comparison was made of.
    QByteArray zuruecknehmen(QByteArrayView alt, QByteArrayView neu, int index) const;

    // A stretch of lines: [altVon, altBis) of the old text became [neuVon, neuBis).
    struct Teil {
        qint32 altVon, altBis, neuVon, neuBis;
    };

private:
    std::vector<Aenderung> aenderungen_;
    std::vector<std::vector<Teil>> teile_; // per change, the lines it takes back
    int bomZeile_ = -1;                    // the change of the byte-order mark, if any
    QByteArray diff_;
    bool durchgehend_ = false;
};

} // namespace ravik
