// The file-type association against a temporary home.
#include "core/settings/Dateityp.h"
#include "core/platform/ini/TIniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace ravik;

namespace {
QByteArray lesen(const QString& pfad) {
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}
DateitypOrte orteIn(const QTemporaryDir& home) {
    DateitypOrte o;
    o.eintraege = home.filePath("config/ravik/dateitypen.ini");
    o.anwendungen = home.filePath("data/applications");
    o.mimeVerzeichnis = home.filePath("data/mime");
    o.mimeapps = home.filePath("config/mimeapps.list");
    return o;
}
} // namespace

class DateitypTest : public QObject {
    Q_OBJECT

private slots:
    void recordsTheFourEntriesInOrder() {
        QTemporaryDir home;
        const DateitypOrte orte = orteIn(home);
        const QString fehler = DateitypRegistrieren(".ini", "INI-Datei", "Ravik Velmora INI-Editor",
                                                    "/opt/Mein Ravik/ravik", "%1", 0, orte);
        QCOMPARE(fehler, QString());
        QCOMPARE(lesen(orte.eintraege),
                 QByteArray("[.ini]\r\n@=INI-Datei\r\n"
                            "[INI-Datei]\r\n@=Ravik Velmora INI-Editor\r\n"
                            "[INI-Datei\\DefaultIcon]\r\n@=/opt/Mein Ravik/ravik,0\r\n"
                            "[INI-Datei\\Shell\\Open\\Command]\r\n@=\"\"/opt/Mein Ravik/ravik\" \"%1\"\"\r\n"));
        // The outer quotes protect the value's own: it reads back exactly.
        TIniFile eintraege(orte.eintraege);
        QCOMPARE(eintraege.ReadValue("INI-Datei\\Shell\\Open\\Command", "@", {}),
                 QString("\"/opt/Mein Ravik/ravik\" \"%1\""));
    }

    void makesTheProgramTheDefaultTheFreedesktopWay() {
        QTemporaryDir home;
        const DateitypOrte orte = orteIn(home);
        QCOMPARE(DateitypRegistrieren("ini", "INI-Datei", "Ravik Velmora INI-Editor",
                                      "/opt/Mein Ravik/ravik", "%1", 0, orte), QString());
        const QByteArray desktop =
            lesen(QDir(orte.anwendungen).filePath("io.github.ravik.Ravik.desktop"));
        QVERIFY(desktop.contains("Exec=\"/opt/Mein Ravik/ravik\" %f\n"));
        QVERIFY(desktop.contains("MimeType=text/x-ini;\n"));
        QVERIFY(desktop.startsWith("[Desktop Entry]\n"));
        const QByteArray mime = lesen(QDir(orte.mimeVerzeichnis).filePath("packages/ravik-ini.xml"));
        QVERIFY(mime.contains("<glob pattern=\"*.ini\"/>"));
        QVERIFY(mime.contains("<sub-class-of type=\"text/plain\"/>"));
        TIniFile mimeapps(orte.mimeapps);
        QCOMPARE(mimeapps.ReadValue("Default Applications", "text/x-ini", {}),
                 QString("io.github.ravik.Ravik.desktop"));
        QCOMPARE(mimeapps.ReadValue("Added Associations", "text/x-ini", {}),
                 QString("io.github.ravik.Ravik.desktop;"));
    }

    void twiceGivesTheSameResultAndKeepsOtherAssociations() {
        QTemporaryDir home;
        const DateitypOrte orte = orteIn(home);
        QDir().mkpath(home.filePath("config"));
        QFile bestehend(orte.mimeapps);
        QVERIFY(bestehend.open(QIODevice::WriteOnly));
        bestehend.write("[Default Applications]\ntext/plain=kate.desktop\n");
        bestehend.close();
        for (int i = 0; i < 2; ++i)
            QCOMPARE(DateitypRegistrieren(".ini", "INI-Datei", "Ravik Velmora INI-Editor", "/usr/bin/ravik", "%1", 0, orte),
                     QString());
        QCOMPARE(lesen(orte.mimeapps), QByteArray("[Default Applications]\ntext/plain=kate.desktop\n"
                                                  "text/x-ini=io.github.ravik.Ravik.desktop\n[Added Associations]\n"
                                                  "text/x-ini=io.github.ravik.Ravik.desktop;\n"));
        const QByteArray einmal = lesen(orte.eintraege);
        QCOMPARE(einmal.count("[.ini]"), 1);
    }

    void anUnwritableHomeIsReported() {
        QTemporaryDir home;
        DateitypOrte orte = orteIn(home);
        QFile blocker(home.filePath("blockiert"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        orte.anwendungen = home.filePath("blockiert/applications"); // below a plain file
        const QString fehler = DateitypRegistrieren(".ini", "INI-Datei", "x", "/usr/bin/ravik", "%1", 0, orte);
        QVERIFY(!fehler.isEmpty());
        QVERIFY(fehler.contains("kann nicht erstellt werden"));
    }

    // A link planted for a file or a folder of the association is not followed: the
    // file it leads to stays as it was, and the user reads why.
    void linksInTheUsersFoldersAreNotFollowed_data() {
        QTest::addColumn<QString>("verknuepft");
        QTest::newRow("mimeapps.list") << "config/mimeapps.list";
        QTest::newRow("Verzeichnis der Anwendungen") << "data/applications";
        QTest::newRow("Aufzeichnung der Einträge") << "config/ravik/dateitypen.ini";
    }
    void linksInTheUsersFoldersAreNotFollowed() {
        QFETCH(QString, verknuepft);
        QTemporaryDir home, fremd;
        const DateitypOrte orte = orteIn(home);
        QFile ziel(fremd.filePath("io.github.ravik.Ravik.desktop"));
        QVERIFY(ziel.open(QIODevice::WriteOnly));
        ziel.write("fremd\n");
        ziel.close();
        QVERIFY(QDir().mkpath(QFileInfo(home.filePath(verknuepft)).path()));
        QVERIFY(QFile::link(verknuepft.endsWith("applications") ? fremd.path() : ziel.fileName(),
                            home.filePath(verknuepft)));
        const QString fehler = DateitypRegistrieren(".ini", "INI-Datei", "x", "/usr/bin/ravik", "%1", 0, orte);
        QVERIFY2(fehler.contains("ist eine symbolische Verknüpfung und wird nicht verwendet."),
                 qPrintable(fehler));
        QCOMPARE(lesen(ziel.fileName()), QByteArray("fremd\n"));
        QCOMPARE(QDir(fremd.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void anEmptyExtensionRegistersNothing() {
        QTemporaryDir home;
        const DateitypOrte orte = orteIn(home);
        QVERIFY(!DateitypRegistrieren("", "INI-Datei", "x", "/usr/bin/ravik", "%1", 0, orte).isEmpty());
        QVERIFY(!QFile::exists(orte.eintraege));
    }
};

QTEST_GUILESS_MAIN(DateitypTest)
#include "DateitypTest.moc"
