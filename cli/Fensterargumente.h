#pragma once
#include <QString>
#include <QStringList>

namespace ravik::cli {

// The window's command line: at most one file. An argument starting with '-' is an
// option, and this program knows none of its own for the window, so it is refused
// rather than taken as a file name; after "--" every argument is a file name.
struct Fensterargumente {
    QStringList dateien; // zero or one when fehler is empty
    QString fehler;      // German, for stderr with the usage text
};
Fensterargumente fensterargumenteLesen(const QStringList& argumente);

// Qt reads its own options (-reverse, -style X, ...) from every argument it is given;
// it is given only those before "--", so a file named after "--" stays a file name.
int qtArgumentanzahl(int argc, char** argv);

} // namespace ravik::cli
