#pragma once

#include <QByteArrayView>
#include <string>

// Invariants that must hold for every possible input. The fuzzers feed them random
// inputs; a normal test replays every input that once broke one (fuzz/regressions).
// Each returns an empty text when all hold, else what broke.
namespace ravik::fuzz {

// The input is an INI file followed by a short script of edits (see IniEngineCheck).
// Loading and writing back without edits gives the same bytes; listings and reads
// agree; each edit changes exactly the lines it should and reads back; the result
// parses to the same content.
std::string checkIniEngine(QByteArrayView input);

// File bytes -> editor text -> file bytes is the identity for every file, and text
// the editor writes reads back as the same text.
std::string checkLineText(QByteArrayView input);

// The highlighter's tokens cover a line in order without gaps, the end token last,
// each token of the kind its first character calls for.
std::string checkTokenizer(QByteArrayView input);

} // namespace ravik::fuzz
