#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <vector>

namespace ravik::fuzz {

// The physical lines of a text, each with its own line end (CR LF, LF, CR or none on
// the last line), so that joining them gives the text back. Written apart from the
// code under test on purpose.
std::vector<QByteArray> physicalLines(QByteArrayView text);

// The line without its line end.
QByteArrayView withoutEol(QByteArrayView line);

} // namespace ravik::fuzz
