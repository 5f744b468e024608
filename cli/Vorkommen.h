#pragma once
#include "core/platform/ini/IniDocument.h"
#include "core/platform/ini/IniNameMatch.h"

#include <QByteArray>
#include <optional>
#include <vector>

namespace ravik::cli {

// The file's lines as text in the engine's terms (a UTF-16 file as UTF-8, any other
// as its bytes without a UTF-8 mark), to find every occurrence of a repeated key: the
// engine reads and writes only the first, a script asks for the last or a given one.
// Keys are looked up in the section's first occurrence, where the engine finds them.
class Vorkommen {
public:
    struct Zeile {
        qsizetype anfang = 0;      // in the lines' text
        qsizetype laenge = 0;      // without the line end
        qsizetype endeLaenge = 0;  // of the line end
        QByteArrayView name;       // as spelled
        QByteArrayView rohwert;    // trimmed, quotes on
        qsizetype wertAnfang = 0;  // past '=' and its blanks, from anfang
    };

    // The encoding found as the engine finds it.
    explicit Vorkommen(const QByteArray& dateibytes);
    TextEncoding kodierung() const { return kodierung_; }

    // Key lines of the section's first occurrence, in file order; an empty key: all.
    // nullopt when the section is missing.
    std::optional<std::vector<Zeile>> schluessel(const QString& sektion, const QString& schluessel) const;

    QString wert(const Zeile& zeile) const;    // as the browser view reads it
    QString name(const Zeile& zeile) const;
    // The line with a new value, written as the engine writes one (its quoting rules);
    // nullopt when the file's encoding cannot hold it.
    std::optional<QByteArray> mitWert(const Zeile& zeile, const QString& wert) const;

    // The file's bytes with lines replaced (or removed, with their line end, for
    // nullopt), everything else as it was; in the file's encoding.
    using Ersetzung = std::pair<Zeile, std::optional<QByteArray>>;
    QByteArray ersetzt(const std::vector<Ersetzung>& ersetzungen) const;

private:
    QString lesen(QByteArrayView bytes) const;
    std::optional<QByteArray> kodieren(QStringView text) const;
    QByteArray datei_;
    QByteArray utf16Text_; // a UTF-16 file as UTF-8
    QByteArrayView praefix_; // a UTF-8 mark, kept apart from the lines
    QByteArrayView text_;
    TextEncoding kodierung_;
    IniNameMatch vergleich_;
};

} // namespace ravik::cli
