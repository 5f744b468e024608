#include "cli/Fensterargumente.h"

#include <cstring>

namespace ravik::cli {

Fensterargumente fensterargumenteLesen(const QStringList& argumente) {
    Fensterargumente ergebnis;
    bool optionenVorbei = false;
    for (const QString& a : argumente) {
        if (!optionenVorbei && a == u"--") {
            optionenVorbei = true;
        } else if (!optionenVorbei && a.startsWith(u'-') && a.size() > 1) {
            ergebnis.fehler = QStringLiteral("Unbekannte Option „%1“.").arg(a);
            return ergebnis;
        } else {
            ergebnis.dateien << a;
        }
    }
    if (ergebnis.dateien.size() > 1)
        ergebnis.fehler = QStringLiteral("Nur eine Datei auf einmal: „%1“ ist zu viel.").arg(ergebnis.dateien[1]);
    return ergebnis;
}

int qtArgumentanzahl(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--") == 0)
            return i;
    return argc;
}

} // namespace ravik::cli
