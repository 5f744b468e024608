#pragma once

#include "core/platform/text/TextCodec.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace ravik::test {

// An INI file as its physical lines, for working out by hand which bytes an edit must
// change. Knows just enough of the syntax to find sections and keys: blanks are space,
// TAB, VT and FF; "[" opens a header, ";" a comment, a key line holds "=" after a
// name. Names match without regard to case. UTF-16 files are held as UTF-8 lines and
// written back as UTF-16.
class IniZeilen {
public:
    explicit IniZeilen(const QByteArray& datei);

    // Line of the key in the first occurrence of the section; -1 when there is none.
    int ersterSchluessel(const QString& sektion, const QString& schluessel) const;
    // Keeps name, "=", the blanks after it, a double-quoted value's quotes and the
    // line end. For values that need no quoting of their own.
    void wertErsetzen(int zeile, const QString& wert);
    // After the last key line of the section's first occurrence, with the file's most
    // frequent line end.
    void schluesselEinfuegen(const QString& sektion, const QString& schluessel,
                             const QString& wert);
    // Every line of the key in the section's first occurrence; gives their number.
    int schluesselEntfernen(const QString& sektion, const QString& schluessel);
    // Every occurrence of the section, header to the next header; gives the lines removed.
    int sektionEntfernen(const QString& sektion);

    QByteArray bytes() const;

private:
    QString text(const QByteArray& bytes) const;
    QByteArray kodiert(const QString& text) const;
    QByteArray haeufigstesZeilenende() const;
    int erstesVorkommen(const QString& sektion) const;
    int blockEnde(int kopf) const; // the next header, or the end

    TextEncoding kodierung_;
    QByteArray bom_;
    std::vector<QByteArray> zeilen_; // each with its own line end
};

} // namespace ravik::test
