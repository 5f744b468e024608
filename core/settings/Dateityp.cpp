#include "core/settings/Dateityp.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/ini/TIniFile.h"
#include "core/settings/Einstellungsdatei.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace ravik {
namespace {

// Quoting of an argument in a desktop entry's Exec key: inside double quotes, the
// characters " ` $ and \ are escaped with a backslash, and a literal % is doubled.
QString execArgument(const QString& text) {
    QString quoted;
    for (QChar c : text) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
            c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            quoted += QLatin1Char('%');
        quoted += c;
    }
    // The desktop entry format itself reads backslashes as escapes once more.
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString desktopEintrag(const QString& programmpfad, const QString& beschreibung,
                       const QString& mimeTyp) {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Ravik\n"
                          "GenericName=INI-Editor\n"
                          "Comment=%1\n"
                          "Exec=%2 %f\n"
                          "Icon=ravik\n"
                          "Terminal=false\n"
                          "Categories=Utility;TextEditor;\n"
                          "MimeType=%3;\n"
                          "NoDisplay=false\n")
        .arg(beschreibung, execArgument(programmpfad), mimeTyp);
}

QString mimePaket(const QString& endung, const QString& mimeTyp) {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
                          "  <mime-type type=\"%1\">\n"
                          "    <comment>INI configuration file</comment>\n"
                          "    <comment xml:lang=\"de\">INI-Konfigurationsdatei</comment>\n"
                          "    <sub-class-of type=\"text/plain\"/>\n"
                          "    <glob pattern=\"*%2\"/>\n"
                          "  </mime-type>\n"
                          "</mime-info>\n")
        .arg(mimeTyp, endung);
}

// The user's own files of the desktop: written through their folder, never through a
// link planted in their place.
void schreiben(const QString& pfad, const QString& inhalt) {
    einstellungsdateiErsetzen(pfad, inhalt.toUtf8());
}

// An INI file of the desktop bound to its folder; a refused folder or file is
// reported with its reason before anything is written.
void pruefen(const QString& pfad) {
    const QString grund = einstellungsdateiGesperrt(pfad);
    if (!grund.isEmpty())
        throw EFCreateError(pfad, grund);
}

} // namespace

DateitypOrte DateitypOrte::fuerBenutzer() {
    DateitypOrte orte;
    const QString konfiguration = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString daten = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    orte.eintraege = QDir(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation))
                         .filePath(QStringLiteral("dateitypen.ini"));
    orte.anwendungen = QDir(daten).filePath(QStringLiteral("applications"));
    orte.mimeVerzeichnis = QDir(daten).filePath(QStringLiteral("mime"));
    orte.mimeapps = QDir(konfiguration).filePath(QStringLiteral("mimeapps.list"));
    return orte;
}

QString DateitypRegistrieren(const QString& endungEingabe, const QString& typname,
                             const QString& beschreibung, const QString& programmpfad,
                             const QString& parameter, int symbolIndex, const DateitypOrte& orte) {
    if (endungEingabe.isEmpty())
        return QStringLiteral("Es wurde keine Dateiendung angegeben.");
    const QString endung = endungEingabe.startsWith(QLatin1Char('.'))
                               ? endungEingabe
                               : QLatin1Char('.') + endungEingabe;
    const QString mimeTyp = QString::fromLatin1(kIniMimeTyp);
    const QString eintrag = QString::fromLatin1(kDesktopEintrag);
    const QString standard = QStringLiteral("@"); // the unnamed (default) value
    try {
        pruefen(orte.eintraege);
        TIniFile eintraege = einstellungsdateiBinden(orte.eintraege, true);
        eintraege.WriteValue(endung, standard, typname);
        eintraege.WriteValue(typname, standard, beschreibung);
        eintraege.WriteValue(typname + QStringLiteral("\\DefaultIcon"), standard,
                             QStringLiteral("%1,%2").arg(programmpfad).arg(symbolIndex));
        // The command starts and ends in quotes of its own; a value given in quotes is
        // written as given and read without them, so one more pair keeps them.
        eintraege.WriteValue(typname + QStringLiteral("\\Shell\\Open\\Command"), standard,
                             QStringLiteral("\"\"%1\" \"%2\"\"").arg(programmpfad, parameter));
        eintraege.Flush();

        schreiben(QDir(orte.anwendungen).filePath(eintrag),
                  desktopEintrag(programmpfad, beschreibung, mimeTyp));
        const QString paket = QDir(orte.mimeVerzeichnis).filePath(QStringLiteral("packages/ravik-ini.xml"));
        schreiben(paket, mimePaket(endung, mimeTyp));
        // Without the tool the type still works once the desktop rebuilds its database.
        const QString werkzeug = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
        if (!werkzeug.isEmpty())
            QProcess::execute(werkzeug, {orte.mimeVerzeichnis});
        const QString datenbank = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
        if (!datenbank.isEmpty())
            QProcess::execute(datenbank, {orte.anwendungen});

        pruefen(orte.mimeapps);
        TIniFile mimeapps = einstellungsdateiBinden(orte.mimeapps, true);
        mimeapps.WriteValue(QStringLiteral("Default Applications"), mimeTyp, eintrag);
        const QString hinzugefuegt = mimeapps.ReadValue(QStringLiteral("Added Associations"), mimeTyp, QString());
        if (!hinzugefuegt.split(QLatin1Char(';'), Qt::SkipEmptyParts).contains(eintrag))
            mimeapps.WriteValue(QStringLiteral("Added Associations"), mimeTyp,
                                eintrag + QLatin1Char(';') + hinzugefuegt);
        mimeapps.Flush();
    } catch (const RavikError& fehler) {
        return fehler.message();
    }
    return {};
}

} // namespace ravik
