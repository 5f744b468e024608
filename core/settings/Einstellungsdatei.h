#pragma once

#include "core/platform/ini/TIniFile.h"

#include <QString>

namespace ravik {

// The files Ravik keeps for the user (the settings with the recent files, the record
// of the file-type association) are bound to their folder opened once, safely: the
// folder must be a real folder of the user's own, the file a regular file of the
// user's own, and neither is ever followed as a symbolic link (see SafeDirectory).
// One that is refused reads as an error (its readers take the defaults) and is never
// written.
//
// `anlegen`: make the folder (and what is missing above it) when it is missing.
TIniFile einstellungsdateiBinden(const QString& datei, bool anlegen);

// Why such a file is not used: it or its folder is a link or another user's; empty
// when it is used (also when it does not exist yet, or merely cannot be written).
// Makes its folder when it is missing.
QString einstellungsdateiGesperrt(const QString& datei);

// Writes a whole file of that kind atomically; raises EFCreateError with the German
// reason when it cannot, or when the folder or the file is refused.
void einstellungsdateiErsetzen(const QString& datei, const QByteArray& inhalt);

} // namespace ravik
