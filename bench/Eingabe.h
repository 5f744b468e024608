#pragma once

#include <QByteArray>

namespace ravik::bench {

// The benchmark's input, the same bytes on every run: 20,000 sections of 25 keys,
// CR LF, a comment line before every seventh section, blank lines between sections,
// numbers, quoted strings, Windows paths and words with umlauts as values.
QByteArray grosseIniDatei(int sektionen = 20000, int schluessel = 25);

// A file of about `bytes` bytes of the same shape.
QByteArray iniDateiMitGroesse(qint64 bytes);

// Many small sections: `sektionen` sections of one key each ("[S17]\nk=v\n"), about 14
// bytes a section.
QByteArray kleineSektionen(int sektionen);

// One section whose only key has a value of `bytes` bytes (one very long line).
QByteArray langeZeile(qint64 bytes);

} // namespace ravik::bench
