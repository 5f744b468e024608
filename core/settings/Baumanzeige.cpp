#include "core/settings/Baumanzeige.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/ini/IniNumber.h"
#include "core/platform/ini/TIniFile.h"
#include "core/settings/Einstellungsdatei.h"

namespace ravik {
namespace {

const QString kBaum = QStringLiteral("Tree");
const QString kAuskommentierte = QStringLiteral("ShowCommented");

} // namespace

Baumanzeige Baumanzeige::lesen(const QString& datei) {
    Baumanzeige anzeige;
    try {
        TIniFile ini = einstellungsdateiBinden(datei, false);
        if (const auto zeigen = IniNumber::parse(ini.ReadValue(kBaum, kAuskommentierte, QString())))
            anzeige.auskommentierteZeigen = *zeigen != 0;
    } catch (const RavikError&) {
        return Baumanzeige();
    }
    return anzeige;
}

void Baumanzeige::schreiben(const QString& datei) const {
    TIniFile ini = einstellungsdateiBinden(datei, true);
    try {
        // The default is not written to a file that never had the section.
        if (auskommentierteZeigen && !ini.SectionExists(kBaum))
            return;
        ini.WriteNumber(kBaum, kAuskommentierte, auskommentierteZeigen ? 1 : 0);
    } catch (const EFOpenError&) {
        throw EIniFileException::cannotWrite(datei);
    }
    ini.Flush();
}

} // namespace ravik
