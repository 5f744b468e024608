#include "core/settings/ZuletztGeoeffnet.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ravik;

namespace {

QByteArray lesen(const QString& pfad) {
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}

void schreiben(const QString& pfad, const QByteArray& inhalt) {
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(inhalt);
}

} // namespace

// The recent files in the settings file: newest first, each once, at most ten, in a
// section of their own that leaves the program's other settings as they are.
class ZuletztGeoeffnetTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString datei(const QString& name) const { return dir.filePath(name); }

private slots:
    void keepsTheNewestTenOnce() {
        const QString ini = datei("a/ravik.ini"); // the folder is made when needed
        ZuletztGeoeffnet liste(ini);
        QCOMPARE(liste.dateien(), QStringList());
        for (int i = 1; i <= 12; ++i)
            liste.merken(QStringLiteral("/etc/f%1.ini").arg(i));
        liste.merken("/etc/f5.ini");
        QStringList erwartet{"/etc/f5.ini"};
        for (int i = 12; i >= 3; --i)
            if (i != 5)
                erwartet << QStringLiteral("/etc/f%1.ini").arg(i);
        QCOMPARE(liste.dateien(), erwartet);
        liste.vergessen("/etc/f12.ini");
        erwartet.removeAll("/etc/f12.ini");
        QCOMPARE(ZuletztGeoeffnet(ini).dateien(), erwartet);
    }

    void leavesTheOtherSettingsAsTheyAre() {
        const QString ini = datei("ravik.ini");
        const QByteArray vorher = "[General]\r\nView=1\r\n[Color]\r\nSections=255\r\nKeys="
                                  "16711680\r\nActive=12320767\r\n";
        schreiben(ini, vorher);
        ZuletztGeoeffnet liste(ini);
        liste.merken("/home/u/a b.ini");
        liste.merken("/home/u/x "); // a blank at the end survives
        QCOMPARE(lesen(ini),
                 vorher + "[Zuletzt]\r\nDatei1=\"/home/u/x \"\r\nDatei2=/home/u/a b.ini\r\n");
        QCOMPARE(liste.dateien(), (QStringList{"/home/u/x ", "/home/u/a b.ini"}));
        liste.vergessen("/home/u/a b.ini");
        liste.vergessen("/home/u/x ");
        QCOMPARE(lesen(ini), vorher);
    }

    // Edited by hand: gaps and repeats are skipped, relative names made whole.
    void readsAHandEditedList() {
        const QString ini = datei("hand.ini");
        schreiben(ini, "[Zuletzt]\nDatei2=/b.ini\nDatei1=/a.ini\nDatei4=/a.ini\nDatei11=/z.ini\n");
        ZuletztGeoeffnet liste(ini);
        QCOMPARE(liste.dateien(), (QStringList{"/a.ini", "/b.ini"}));
        liste.merken("x/../c.ini");
        QCOMPARE(liste.dateien().first(), QDir::currentPath() + "/c.ini");
        liste.merken("/bad\nname.ini"); // a name the file cannot hold is not kept
        QCOMPARE(liste.dateien().size(), 3);
    }
};

QTEST_GUILESS_MAIN(ZuletztGeoeffnetTest)
#include "ZuletztGeoeffnetTest.moc"
