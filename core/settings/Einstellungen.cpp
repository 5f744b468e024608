#include "core/settings/Einstellungen.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/ini/TIniFile.h"
#include "core/settings/Einstellungsdatei.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

namespace ravik {
namespace {

const QString kDateiname = QStringLiteral("ravik.ini");
const QString kAllgemein = QStringLiteral("General");
const QString kFarben = QStringLiteral("Color");
const QString kAnsicht = QStringLiteral("View");
const QString kSektionen = QStringLiteral("Sections");
const QString kSchluessel = QStringLiteral("Keys");
const QString kAktiv = QStringLiteral("Active");
const QString kAenderungen = QStringLiteral("Aenderungen");
const QString kVorDemSpeichern = QStringLiteral("VorDemSpeichern");

// A folder given by its real path, links resolved where it exists.
QString echterPfad(const QString& verzeichnis) {
    const QFileInfo info(verzeichnis);
    const QString echt = info.canonicalFilePath();
    return echt.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : echt;
}

bool liegtIn(const QString& pfad, const QString& baum) {
    return pfad == baum || pfad.startsWith(baum + QLatin1Char('/'));
}

bool systemProgrammverzeichnis(const QString& verzeichnis) {
    const QString pfad = echterPfad(verzeichnis);
    for (const char* baum :
         {"/usr", "/bin", "/sbin", "/lib", "/lib32", "/lib64", "/libx32", "/opt"})
        if (liegtIn(pfad, QLatin1String(baum)))
            return true;
    const QString installiert = QStringLiteral(RAVIK_INSTALL_BINDIR);
    return !installiert.isEmpty() && pfad == echterPfad(installiert);
}

} // namespace

Einstellungen Einstellungen::lesen(const QString& datei) {
    Einstellungen e;
    try {
        TIniFile ini = einstellungsdateiBinden(datei, false);
        e.ansicht = ini.ReadNumber(kAllgemein, kAnsicht, e.ansicht);
        e.farbeSektionen = ini.ReadNumber(kFarben, kSektionen, e.farbeSektionen);
        e.farbeSchluessel = ini.ReadNumber(kFarben, kSchluessel, e.farbeSchluessel);
        e.farbeAktuelleZeile = ini.ReadNumber(kFarben, kAktiv, e.farbeAktuelleZeile);
        e.aenderungenVorDemSpeichern = ini.ReadNumber(kAenderungen, kVorDemSpeichern, 0) != 0;
    } catch (const RavikError&) {
        return Einstellungen(); // a file that cannot be read is as good as none
    }
    return e;
}

void Einstellungen::schreiben(const QString& datei) const {
    TIniFile ini = einstellungsdateiBinden(datei, true);
    try {
        ini.WriteNumber(kAllgemein, kAnsicht, ansicht);
        ini.WriteNumber(kFarben, kSektionen, farbeSektionen);
        ini.WriteNumber(kFarben, kSchluessel, farbeSchluessel);
        ini.WriteNumber(kFarben, kAktiv, farbeAktuelleZeile);
        if (aenderungenVorDemSpeichern || ini.SectionExists(kAenderungen))
            ini.WriteNumber(kAenderungen, kVorDemSpeichern, aenderungenVorDemSpeichern ? 1 : 0);
    } catch (const EFOpenError&) {
        // What is there cannot be read (a folder of that name, no permission): writing
        // over it would lose it, and writing is what failed.
        throw EIniFileException::cannotWrite(datei);
    }
    ini.Flush();
}

QString Einstellungen::datei(const QString& programmverzeichnis) {
    if (portabel(programmverzeichnis))
        return QDir(programmverzeichnis).filePath(kDateiname);
    const QString konfiguration =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return QDir(konfiguration).filePath(QStringLiteral("ravik/") + kDateiname);
}

QString Einstellungen::gesperrt(const QString& datei) {
    return einstellungsdateiGesperrt(datei);
}

// Root running a user's unpacked copy keeps its settings in its own folder, rather
// than leaving a file of root's in the user's.
bool Einstellungen::portabel(const QString& programmverzeichnis) {
    const QFileInfo info(programmverzeichnis);
    struct stat eigentuemer {};
    return info.isDir() && info.isWritable() &&
           ::stat(QFile::encodeName(programmverzeichnis).constData(), &eigentuemer) == 0 &&
           eigentuemer.st_uid == ::geteuid() && !systemProgrammverzeichnis(programmverzeichnis);
}

} // namespace ravik
