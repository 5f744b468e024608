#include "core/settings/ZuletztGeoeffnet.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/ini/TIniFile.h"
#include "core/settings/Einstellungsdatei.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

namespace ravik {
namespace {

const QString kSektion = QStringLiteral("Zuletzt");

QString schluessel(int nummer) {
    return QStringLiteral("Datei%1").arg(nummer);
}

} // namespace

ZuletztGeoeffnet::ZuletztGeoeffnet(QString einstellungsdatei)
    : einstellungsdatei_(std::move(einstellungsdatei)) {}

QString ZuletztGeoeffnet::normalisiert(const QString& datei) {
    return QDir::cleanPath(QFileInfo(datei).absoluteFilePath());
}

QStringList ZuletztGeoeffnet::dateien() const {
    QStringList liste;
    try {
        TIniFile ini = einstellungsdateiBinden(einstellungsdatei_, false);
        for (int i = 1; i <= kAnzahl; ++i) {
            const QString datei = ini.ReadValue(kSektion, schluessel(i), QString());
            if (!datei.isEmpty() && !liste.contains(datei))
                liste.append(datei);
        }
    } catch (const RavikError&) {
        // An unreadable settings file remembers nothing, as a missing one.
    }
    return liste;
}

void ZuletztGeoeffnet::merken(const QString& datei) {
    const QString pfad = normalisiert(datei);
    // A name the settings file cannot hold (a line break in it) is not remembered.
    if (!TIniFile::validateValue(pfad).isEmpty())
        return;
    QStringList liste = dateien();
    liste.removeAll(pfad);
    liste.prepend(pfad);
    schreiben(liste.mid(0, kAnzahl));
}

void ZuletztGeoeffnet::vergessen(const QString& datei) {
    QStringList liste = dateien();
    if (liste.removeAll(datei) > 0)
        schreiben(liste);
}

void ZuletztGeoeffnet::schreiben(const QStringList& liste) const {
    TIniFile ini = einstellungsdateiBinden(einstellungsdatei_, true);
    if (liste.isEmpty()) {
        ini.RemoveSection(kSektion);
    } else {
        for (int i = 1; i <= kAnzahl; ++i) {
            if (i <= liste.size())
                ini.WriteValue(kSektion, schluessel(i), liste[i - 1]);
            else
                ini.RemoveKey(kSektion, schluessel(i));
        }
    }
    ini.Flush();
}

QStringList ZuletztGeoeffnet::menuetexte(const QStringList& dateien) {
    QHash<QString, int> anzahl;
    for (const QString& datei : dateien)
        ++anzahl[QFileInfo(datei).fileName()];
    QStringList texte;
    for (const QString& datei : dateien) {
        const QFileInfo info(datei);
        QString text = info.fileName();
        if (anzahl.value(text) > 1)
            text += QStringLiteral(" (%1)").arg(QDir::toNativeSeparators(info.path()));
        texte.append(text);
    }
    return texte;
}

} // namespace ravik
