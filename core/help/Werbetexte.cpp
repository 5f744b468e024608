#include "core/help/Werbetexte.h"

namespace ravik {

// Each text is one or two sentences of 70 to 177 characters, so that it fits the smaller
// of the two promotional labels without being cut.
const QStringList& werbetexte() {
    static const QStringList texte = {
        // 0
        QStringLiteral("Sie möchten mehr über Velmora erfahren? Klicken Sie hier und besuchen Sie uns "
                       "im Internet unter www.example.com/velmora."),
        // 1
        QStringLiteral("Velmora Sicherung legt auf Knopfdruck Sicherungskopien Ihrer wichtigsten Ordner "
                       "an – zuverlässig, platzsparend und ganz ohne Fachwissen."),
        // 2
        QStringLiteral("Ihnen fehlt ein Programm, das genau zu Ihren Abläufen passt? Velmora entwickelt "
                       "Software nach Maß – von der kleinen Hilfe bis zur Firmenlösung."),
        // 3
        QStringLiteral("Mit Velmora Kassenbuch behalten Vereine und kleine Betriebe Einnahmen und "
                       "Ausgaben stets im Blick. Jetzt kostenlos testen!"),
        // 4
        QStringLiteral("Zwei Textdateien, ein Klick: Velmora Vergleich zeigt Ihnen alle Unterschiede "
                       "übersichtlich nebeneinander und farbig markiert."),
        // 5
        QStringLiteral("Gefällt Ihnen Ravik? Auf unserer Webseite finden Sie weitere nützliche "
                       "Werkzeuge von Velmora für Ihren Arbeitsalltag."),
        // 6
        QStringLiteral("Hunderte Dateien in Sekunden umbenennen? Velmora Umbenenner erledigt das nach "
                       "Ihren Regeln, mit Vorschau und Rückgängig-Funktion."),
        // 7
        QStringLiteral("Velmora Protokoll durchsucht auch riesige Logdateien blitzschnell, filtert nach "
                       "Datum und Suchbegriff und hebt Fehlermeldungen farbig hervor."),
        // 8
        QStringLiteral("Anpassungen, Schnittstellen oder eine ganz neue Anwendung: Sprechen Sie mit uns "
                       "über Ihr Vorhaben. Velmora programmiert individuell für Sie."),
        // 9
        QStringLiteral("Velmora Terminplaner erinnert Sie zuverlässig an Termine, Fristen und "
                       "Geburtstage – auf Wunsch auch für Ihr ganzes Team."),
        // 10
        QStringLiteral("Aktuelle Versionen, Tipps und Neuigkeiten zu Ravik und allen anderen "
                       "Velmora-Programmen finden Sie unter www.example.com/velmora."),
        // 11
        QStringLiteral("Sie betreuen viele Rechner mit vielen Konfigurationsdateien? Velmora entwickelt "
                       "für Sie Werkzeuge, die Einstellungen automatisch verteilen."),
        // 12
        QStringLiteral("Velmora Notizen sammelt Ideen, Listen und Textschnipsel an einem Ort – mit "
                       "Volltextsuche und automatischer Sicherung."),
        // 13
        QStringLiteral("Von der ersten Idee bis zur fertigen Anwendung: Velmora begleitet Ihr "
                       "Softwareprojekt mit Erfahrung, Sorgfalt und fairen Preisen."),
        // 14
        QStringLiteral("Schauen Sie doch einmal vorbei: Unter www.example.com/velmora stellen wir Ihnen "
                       "unser gesamtes Programmangebot ausführlich vor."),
    };
    return texte;
}

QString haftungsausschluss() {
    return QStringLiteral("Die Nutzung von Ravik erfolgt auf eigene Gefahr. Velmora übernimmt "
                          "keine Haftung für Schäden, die durch die Verwendung des Programms "
                          "oder durch veränderte Konfigurationsdateien entstehen.");
}

QString herstellerWebseite() {
    return QStringLiteral("https://www.example.com/velmora");
}

} // namespace ravik
