// The command line on the sample files: what it prints, its exit code, and the file's
// bytes afterwards (the intended line changed, every other byte as it was).
#include "cli/Befehlszeile.h"
#include "cli/Fensterargumente.h"
#include "cli/UnifiedDiff.h"
#include "core/platform/files/FileIO.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <sys/file.h>

#include <sys/resource.h>

using namespace ravik;

namespace {
const QString kBeispiele = QStringLiteral(RAVIK_SOURCE_DIR "/tests/data/roundtrip/");

QByteArray lesen(const QString& pfad) {
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
}

// Expected text of the samples stored as UTF-16 is written here as UTF-8.
QByteArray inKodierung(const QString& datei, const QByteArray& utf8) {
    if (!datei.startsWith(u"utf16"))
        return utf8;
    const QString text = QString::fromUtf8(utf8);
    QByteArray bytes(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    if (datei.startsWith(u"utf16be"))
        for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
            std::swap(bytes[i], bytes[i + 1]);
    return bytes;
}

struct Lauf {
    int ende;
    QByteArray aus, fehler;
};
Lauf ausfuehren(const QStringList& argumente) {
    Lauf l;
    l.ende = cli::ausfuehren(argumente, l.aus, l.fehler);
    return l;
}
} // namespace

class BefehlszeileTest : public QObject {
    Q_OBJECT
    QTemporaryDir ordner_;

    QString kopie(const QString& datei) {
        const QString ziel = ordner_.filePath(datei);
        QDir leeren(ordner_.path()); // each case on its own file
        for (const QString& alt : leeren.entryList(QDir::Files | QDir::Hidden))
            leeren.remove(alt);
        if (!datei.isEmpty())
            QFile::copy(kBeispiele + datei, ziel);
        QFile::setPermissions(ziel, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        return ziel;
    }

private slots:
    void initTestCase() { FileIO::failWritesPastTheSizeLimit(); }

    void befehle_data() {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<QStringList>("argumente"); // F stands for the file
        QTest::addColumn<int>("ende");
        QTest::addColumn<QByteArray>("aus");
        QTest::addColumn<QByteArray>("alt"); // the bytes that change; empty: none
        QTest::addColumn<QByteArray>("neu");
        const QByteArray nichts;
        const auto zeile = [](const char* name, const char* datei, QStringList a, int ende,
                              QByteArray aus, QByteArray alt = {}, QByteArray neu = {}) {
            QTest::newRow(name) << QString(datei) << a << ende << aus << alt << neu;
        };
        // Reading: names in any case, values as the browser view shows them.
        zeile("get cp1252", "windows1252_umlaute.ini", {"--get", "F", "FENSTERGRÖSSE", "wert"}, 1, nichts);
        zeile("get cp1252 umlaut", "windows1252_umlaute.ini", {"--get", "F", "fenstergröße", "WERT"}, 0, "Höhe\n");
        zeile("get quotes off", "anfuehrungszeichen.ini", {"--get", "F", "texte", "wert"}, 0, "in Anfuehrung\n");
        zeile("get half quote kept", "anfuehrungszeichen.ini", {"--get", "F", "Texte", "halb"}, 0, "\"offen\n");
        zeile("get semicolon in value", "anfuehrungszeichen.ini", {"--get", "F", "Texte", "semikolon"}, 0, "a ;b\n");
        zeile("get utf16", "utf16le_bom.ini", {"--get", "F", "allgemein", "wert"}, 0, "Größe\n");
        zeile("get bom", "utf8_mit_bom.ini", {"--get", "F", "MASSE", "wert"}, 1, nichts);
        zeile("get bom found", "utf8_mit_bom.ini", {"--get", "F", "maße", "wert"}, 0, "Höhe\n");
        zeile("get nul", "nul_bytes.ini", {"--get", "F", "allgemein", "wert"}, 0, QByteArray("a\0b\n", 4));
        zeile("get repeated: last", "doppelte_eintraege.ini", {"--get", "F", "netz", "host"}, 0, "b\n");
        zeile("get repeated: all", "doppelte_eintraege.ini", {"--get", "--all", "F", "netz", "host"}, 0, "a\nb\n");
        zeile("get repeated: index", "doppelte_eintraege.ini", {"--get", "--index", "1", "F", "netz", "host"}, 0, "a\n");
        zeile("get index past", "doppelte_eintraege.ini", {"--get", "--index=3", "F", "netz", "host"}, 1, nichts);
        zeile("get json all", "doppelte_eintraege.ini", {"--get", "--all", "--format=json", "F", "netz", "wert"}, 0,
              "[\"erster\",\"zweiter\"]\n");
        zeile("get json", "git_config.ini", {"--get", "--format=json", "F", "core", "filemode"}, 0, "\"true\"\n");
        zeile("get lines", "git_config.ini", {"--get", "--format=lines", "F", "core", "filemode"}, 0, "filemode=true\n");
        zeile("get no section", "git_config.ini", {"--get", "F", "fehlt", "x"}, 1, nichts);
        zeile("list sections", "doppelte_eintraege.ini", {"--list", "F"}, 0, "Netz\nAnderes\n");
        zeile("list section", "git_config.ini", {"--list", "F", "CORE"}, 0,
              "repositoryformatversion=0\nfilemode=true\nWert=ja\n");
        zeile("list ini", "ohne_letztes_zeilenende.ini", {"--list", "--format=ini", "F", "allgemein"}, 0,
              "[allgemein]\nWert=1\nName=ohne Ende\n");
        zeile("list json", "ohne_letztes_zeilenende.ini", {"--list", "--format", "json", "F", "allgemein"}, 0,
              "{\"Name\":\"ohne Ende\",\"Wert\":\"1\"}\n");
        zeile("exists section", "git_config.ini", {"--exists", "F", "remote \"origin\""}, 0, nichts);
        zeile("exists key", "git_config.ini", {"--exists", "F", "core", "WERT"}, 0, nichts);
        zeile("exists not", "git_config.ini", {"--exists", "F", "core", "nein"}, 1, nichts);
        zeile("exists no file", "", {"--exists", "F", "core"}, 1, nichts);
        // Changing: that line only.
        zeile("set cp1252", "windows1252_umlaute.ini", {"--set", "F", "Überschrift", "text", "Maß"}, 0, nichts,
              "Text=Gr\xfc\xdf" "e", "Text=Ma\xdf");
        zeile("set cp1252 unholdable", "windows1252_umlaute.ini", {"--set", "F", "Überschrift", "text", "€→"}, 2, nichts);
        zeile("set bom", "utf8_mit_bom.ini", {"--set", "F", "MAßE", "breite", "297"}, 0, nichts,
              "Breite=210", "Breite=297");
        zeile("set utf16", "utf16le_bom.ini", {"--set", "F", "allgemein", "wert", "Klein"}, 0, nichts,
              "Wert=Größe", "Wert=Klein");
        zeile("set utf16be", "utf16be_bom.ini", {"--set", "F", "allgemein", "wert", "Klein"}, 0, nichts,
              "Wert=Größe", "Wert=Klein");
        zeile("set no final line end", "ohne_letztes_zeilenende.ini", {"--set", "F", "allgemein", "name", "x"}, 0,
              nichts, "Name=ohne Ende", "Name=x");
        zeile("set new key after last", "ohne_letztes_zeilenende.ini", {"--set", "F", "allgemein", "neu", "1"}, 0,
              nichts, "Name=ohne Ende", "Name=ohne Ende\r\nneu=1\r\n");
        zeile("set tabs", "tabs_und_abstaende.ini", {"--set", "F", "allgemein", "NAME", "neu"}, 0, nichts,
              "name\t=\twert mit tab\n", "name\t=\tneu\n");
        zeile("set keeps quotes", "anfuehrungszeichen.ini", {"--set", "F", "texte", "wert", "neu"}, 0, nichts,
              "Wert=\"in Anfuehrung\"", "Wert=\"neu\"");
        zeile("set same value", "git_config.ini", {"--set", "F", "core", "filemode", "true"}, 0, nichts);
        zeile("set git section", "git_config.ini", {"--set", "F", "remote \"origin\"", "url", "/x"}, 0, nichts,
              "\turl = /srv/git/ravik.git", "\turl = /x");
        zeile("set binary file", "binaerdaten.ini", {"--set", "F", "allgemein", "wert", "2"}, 0, nichts,
              "Wert=1", "Wert=2");
        zeile("set repeated", "doppelte_eintraege.ini", {"--set", "F", "netz", "host", "x"}, 5, nichts);
        zeile("set repeated index", "doppelte_eintraege.ini", {"--set", "--index", "2", "F", "netz", "host", "x"}, 0,
              nichts, "HOST=b", "HOST=x");
        zeile("set repeated all", "doppelte_eintraege.ini", {"--set", "--all", "F", "netz", "host", "x"}, 0, nichts,
              "host=a\r\nHOST=b", "host=x\r\nHOST=x");
        zeile("set dry run", "git_config.ini", {"--set", "--dry-run", "F", "core", "filemode", "false"}, 0, nichts);
        zeile("set bad key", "git_config.ini", {"--set", "F", "core", "a=b", "1"}, 2, nichts);
        zeile("set value with line end", "git_config.ini", {"--set", "F", "core", "a", "1\n2"}, 2, nichts);
        zeile("del key", "git_config.ini", {"--del", "F", "core", "FILEMODE"}, 0, nichts, "\tfilemode = true\n", "");
        zeile("del section", "doppelte_eintraege.ini", {"--del", "F", "anderes"}, 0, nichts, "[Anderes]\r\nx=1\r\n", "");
        zeile("del missing", "git_config.ini", {"--del", "F", "core", "nein"}, 1, nichts);
        zeile("del repeated", "doppelte_eintraege.ini", {"--del", "F", "netz", "host"}, 5, nichts);
        zeile("del repeated all", "doppelte_eintraege.ini", {"--del", "--all", "F", "netz", "host"}, 0, nichts,
              "host=a\r\nHOST=b\r\n", "");
        zeile("del repeated index", "doppelte_eintraege.ini", {"--del", "--index", "1", "F", "netz", "wert"}, 0, nichts,
              "Wert=erster\r\n", "");
        zeile("del dry run", "git_config.ini", {"--del", "--dry-run", "F", "core"}, 0, nichts);
        // Wrong calls and files that cannot be read.
        zeile("no command", "git_config.ini", {"--all", "F"}, 2, nichts);
        zeile("unknown option", "git_config.ini", {"--get", "--bogus", "F", "core", "x"}, 2, nichts);
        zeile("too few", "git_config.ini", {"--set", "F", "core", "x"}, 2, nichts);
        zeile("two commands", "git_config.ini", {"--get", "--del", "F", "core", "x"}, 2, nichts);
        zeile("bad format", "git_config.ini", {"--get", "--format=xml", "F", "core", "x"}, 2, nichts);
        zeile("backup on get", "git_config.ini", {"--get", "--backup", "F", "core", "x"}, 2, nichts);
        zeile("folder", "", {"--get", ".", "core", "x"}, 3, nichts);
        zeile("folder set", "", {"--set", ".", "core", "x", "1"}, 3, nichts);
    }

    void befehle() {
        QFETCH(QString, datei);
        QFETCH(QStringList, argumente);
        QFETCH(int, ende);
        QFETCH(QByteArray, aus);
        QFETCH(QByteArray, alt);
        QFETCH(QByteArray, neu);
        const QString pfad = kopie(datei.isEmpty() ? QStringLiteral("fehlt.ini") : datei);
        argumente.replaceInStrings(QRegularExpression("^F$"), pfad);
        argumente.replaceInStrings(QRegularExpression("^\\.$"), ordner_.path());
        const QByteArray vorher = lesen(pfad);
        const Lauf l = ausfuehren(argumente);
        QCOMPARE(l.ende, ende);
        QCOMPARE(l.aus, aus);
        if (ende != 1) // a German reason for every failure, and none for success
            QCOMPARE(l.fehler.isEmpty(), ende == 0);
        QByteArray erwartet = vorher;
        if (!alt.isEmpty()) {
            const QByteArray a = inKodierung(datei, alt);
            QVERIFY(erwartet.count(a) == 1);
            erwartet.replace(a, inKodierung(datei, neu));
        }
        QCOMPARE(lesen(pfad), erwartet);
        QVERIFY(!QFile::exists(pfad + ".bak"));
        QCOMPARE(QDir(ordner_.path()).entryList(QDir::Files).size(), datei.isEmpty() ? 0 : 1);
    }

    void backupAndDiff() {
        const QString pfad = kopie("git_config.ini");
        const QByteArray vorher = lesen(pfad);
        QCOMPARE(ausfuehren({"--set", "--backup", pfad, "core", "filemode", "false"}).ende, 0);
        QCOMPARE(lesen(pfad + ".bak"), vorher);
        const QByteArray nachher = QByteArray(vorher).replace("filemode = true", "filemode = false");
        QCOMPARE(lesen(pfad), nachher);
        const Lauf l = ausfuehren({"--set", "--dry-run", "--diff", pfad, "core", "filemode", "true"});
        QCOMPARE(lesen(pfad), nachher);
        // The diff comes from the comparison that reviews a save in the window.
        if (!cli::unifiedDiff({}, {}, {})) {
            QCOMPARE(l.ende, 2);
            QSKIP("this build has no diff");
        }
        QCOMPARE(l.ende, 0);
        QVERIFY(l.aus.contains("\n-\tfilemode = false\n+\tfilemode = true\n"));
    }

    void aNewFileIsCreatedByTheFirstSet() {
        const QString pfad = kopie("neu.ini");
        QCOMPARE(ausfuehren({"--set", pfad, "Neu", "k", "v"}).ende, 0);
        QCOMPARE(lesen(pfad), QByteArray("[Neu]\r\nk=v\r\n"));
        QCOMPARE(ausfuehren({"--del", "--dry-run", pfad, "Neu"}).ende, 0);
        QCOMPARE(ausfuehren({"--set", "--dry-run", kopie("nie.ini"), "a", "k", "v"}).ende, 0);
        QVERIFY(!QFile::exists(ordner_.filePath("nie.ini")));
    }

    void aFailedWriteLeavesTheFile() {
        const QString pfad = kopie("lang_kommentiert_lf.ini");
        const QByteArray vorher = lesen(pfad);
        rlimit alt{};
        getrlimit(RLIMIT_FSIZE, &alt);
        rlimit knapp = alt;
        knapp.rlim_cur = 64; // every file this process writes stops after 64 bytes
        setrlimit(RLIMIT_FSIZE, &knapp);
        const Lauf l = ausfuehren({"--set", "--backup", pfad, QString::fromUtf8(ausfuehren({"--list", pfad}).aus).section('\n', 0, 0),
                                   "neu", "1"});
        setrlimit(RLIMIT_FSIZE, &alt);
        QCOMPARE(l.ende, 4);
        QVERIFY2(l.fehler.contains("kann nicht geschrieben werden") || l.fehler.contains(".bak"), l.fehler);
        QCOMPARE(lesen(pfad), vorher);
        QCOMPARE(QDir(ordner_.path()).entryList(QDir::Files | QDir::Hidden).size(), 1 + QFile::exists(pfad + ".bak"));
    }

    // A file another command holds locked is left alone, after a while, with exit 6.
    void aLockedFileIsLeftAlone() {
        const QString pfad = kopie("git_config.ini");
        const QByteArray vorher = lesen(pfad);
        QFile halter(pfad);
        QVERIFY(halter.open(QIODevice::ReadOnly));
        QCOMPARE(::flock(halter.handle(), LOCK_EX | LOCK_NB), 0);
        const Lauf l = ausfuehren({"--set", pfad, "core", "editor", "vi"});
        QCOMPARE(l.ende, 6);
        QVERIFY2(l.fehler.contains("ist gesperrt"), l.fehler);
        QCOMPARE(lesen(pfad), vorher);
        ::flock(halter.handle(), LOCK_UN);
        QCOMPARE(ausfuehren({"--set", pfad, "core", "editor", "vi"}).ende, 0);
    }

    // Two programs each set 200 keys of one section at the same time; every one lands.
    void twoProcessesLoseNoUpdate() {
        const QString pfad = kopie("git_config.ini");
        const QString programm = QStringLiteral(RAVIK_BINARY_DIR "/ravik");
        QList<QProcess*> laeufe;
        for (const char* name : {"a", "b"}) {
            auto* p = new QProcess(this);
            p->start("bash", {"-c", QString("for i in $(seq 200); do \"$0\" --set \"$1\" core %1$i $i || exit 1; done")
                                        .arg(name), programm, pfad});
            laeufe << p;
        }
        for (QProcess* p : laeufe) {
            QVERIFY(p->waitForFinished(120000));
            QCOMPARE(p->exitCode(), 0);
        }
        const QByteArray liste = ausfuehren({"--list", pfad, "core"}).aus;
        for (int i = 1; i <= 200; ++i)
            for (const char* name : {"a", "b"})
                QVERIFY2(liste.contains(QByteArray("\n") + name + QByteArray::number(i) + "=" + QByteArray::number(i) + "\n"),
                         qPrintable(QString("%1%2").arg(name).arg(i)));
        QVERIFY(lesen(pfad).startsWith(lesen(kBeispiele + "git_config.ini").left(60)));
    }

    void windowArguments_data() {
        QTest::addColumn<QStringList>("argumente");
        QTest::addColumn<QStringList>("dateien");
        QTest::addColumn<bool>("fehler");
        QTest::newRow("none") << QStringList{} << QStringList{} << false;
        QTest::newRow("one") << QStringList{"a.ini"} << QStringList{"a.ini"} << false;
        QTest::newRow("dash file after --") << QStringList{"--", "-x.ini"} << QStringList{"-x.ini"} << false;
        QTest::newRow("lone dash is a name") << QStringList{"-"} << QStringList{"-"} << false;
        QTest::newRow("unknown option") << QStringList{"-x.ini"} << QStringList{} << true;
        QTest::newRow("second file") << QStringList{"a.ini", "b.ini"} << QStringList{"a.ini", "b.ini"} << true;
        QTest::newRow("second after --") << QStringList{"a.ini", "--", "b.ini"} << QStringList{"a.ini", "b.ini"} << true;
    }

    void windowArguments() {
        QFETCH(QStringList, argumente);
        QFETCH(QStringList, dateien);
        QFETCH(bool, fehler);
        const auto a = cli::fensterargumenteLesen(argumente);
        QCOMPARE(a.fehler.isEmpty(), !fehler);
        if (!fehler)
            QCOMPARE(a.dateien, dateien);
    }

    // Qt sees only what stands before "--", so it cannot take a file name for its own.
    void qtSeesOnlyWhatStandsBeforeTheSeparator() {
        QByteArray a0 = "ravik", a1 = "-reverse", a2 = "--", a3 = "-style";
        char* argv[] = {a0.data(), a1.data(), a2.data(), a3.data()};
        QCOMPARE(cli::qtArgumentanzahl(4, argv), 2);
        QCOMPARE(cli::qtArgumentanzahl(2, argv), 2);
    }

    // The program's own entry: a command needs no display; a wrong window call ends
    // with the usage text before a window exists.
    void theProgramRunsCommandsWithoutADisplay() {
        const QString pfad = kopie("git_config.ini");
        QProcess p;
        QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            umgebung.remove(name);
        p.setProcessEnvironment(umgebung);
        p.start(RAVIK_BINARY_DIR "/ravik", {"--get", pfad, "core", "wert"});
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.readAllStandardOutput(), QByteArray("ja\n"));
        QCOMPARE(p.exitCode(), 0);
        p.start(RAVIK_BINARY_DIR "/ravik", {"--verbose", pfad});
        QVERIFY(p.waitForFinished());
        QCOMPARE(p.exitCode(), 2);
        QVERIFY(p.readAllStandardError().contains("Aufruf: ravik"));
    }
};

QTEST_GUILESS_MAIN(BefehlszeileTest)
#include "BefehlszeileTest.moc"
