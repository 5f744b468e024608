#pragma once
#include <QByteArray>
#include <QStringList>

namespace ravik::cli {

// Exit codes of the command line, for scripts.
enum Ende : int {
    Erledigt = 0,
    NichtGefunden = 1,
    FalscherAufruf = 2,
    NichtLesbar = 3,       // the file cannot be read as INI
    SchreibenFehlgeschlagen = 4,
    Mehrdeutig = 5,        // a repeated key without --all or --index
    Gesperrt = 6,          // locked, or changed during the command
};

// True when the arguments (after the program name) ask for the command line rather
// than the window: an option of two dashes (a command, --help, --version, or one it
// refuses) before any "--".
bool istBefehl(const QStringList& argumente);

// Runs one command: values go to `aus`, German messages to `fehler`, both in the
// terminal's encoding. Returns the exit code.
int ausfuehren(const QStringList& argumente, QByteArray& aus, QByteArray& fehler);

// An argument as the terminal's encoding gives it.
QString argument(const char* text);

// The usage text, shown by --help and after a wrong call (of either command line).
QByteArray aufruf();

} // namespace ravik::cli
