// Saving when the disk or the file system says no: a full disk, a directory or file
// without write permission, a directory where the file or its backup should be. Each
// shows its German error, keeps the old file and any earlier backup, and leaves the
// document in the window unsaved. Also: links are saved through, permissions kept.
//
// Permission bits bind every user but root, so those cases press the save button in a
// child process that runs as an unprivileged user (see runUnprivileged).
#include "tests/platform/TestFiles.h"
#include "tests/support/Umgebung.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <Qsci/qsciscintilla.h>

#include <sys/stat.h>

using namespace ravik;
using namespace ravik::test;
using namespace testfiles;

namespace {

// Larger than the file-size limit of the full-disk cases.
const QByteArray kInhalt =
    "[Allgemein]\r\nWert=1\r\n; " + QByteArray(3000, 'x') + "\r\n\r\n[Zweite]\r\nk=v\r\n";
const QByteArray kAlteSicherung = "alte Sicherung\r\n";
constexpr rlim_t kPlatzAufDerPlatte = 1024;

enum class Fehler {
    PlatteVoll,
    ZielIstVerzeichnis,
    SicherungIstVerzeichnis,
    VerzeichnisGeschuetzt,
    DateiGeschuetzt,
    SicherungGeschuetzt,
};

// Which error the user must see.
enum class Meldung {
    KannNichtSchreiben,
    StreamFehler,
    KannZielNichtErstellen,
    KannSicherungNichtErstellen
};

bool braeuchteRechte(Fehler f) {
    return f == Fehler::VerzeichnisGeschuetzt || f == Fehler::DateiGeschuetzt ||
           f == Fehler::SicherungGeschuetzt;
}

// The window's state after the save, as lines; the same for both processes.
QByteArray zustand(Umgebung& u) {
    QStringList zeilen{u.form().dateistatus(), u.form().dateiname(), u.form().windowTitle(),
                       u.form().anwendungstitel()};
    zeilen << u.dialoge.messageTexts();
    return zeilen.join(QChar(0x1f)).toUtf8();
}

void imEditorOeffnen(Umgebung& u, const QString& pfad) {
    u.starten();
    u.klick("BitBtn2");
    u.dialoge.chooseFile(pfad);
    u.klick("tbtnDateiladen");
}

// Opens the file in the view and makes one change: a value in the browser view, an
// "x" typed at the start of the text in the editor view.
void oeffnenUndAendern(Umgebung& u, const QString& ansicht, const QString& pfad) {
    if (ansicht == "browser") {
        u.starten({pfad});
        u.auswaehlen("Allgemein/Wert");
        u.w<QLineEdit>("WertAnzeige")->setText("neu");
        u.klick("btnOK");
    } else {
        imEditorOeffnen(u, pfad);
        QTest::keyClicks(u.w<QsciScintilla>("SynMemo1"), "x");
    }
}

QByteArray geaenderterInhalt(const QString& ansicht) {
    if (ansicht == "editor")
        return "x" + kInhalt;
    QByteArray neu = kInhalt;
    return neu.replace("Wert=1", "Wert=neu");
}

void sicherungSetzen(Umgebung& u, bool an) {
    u.w<QCheckBox>("CheckBox1")->setChecked(an);
    u.dialoge.clear(); // the warning when it is cleared
}

struct Ordnerstand {
    QStringList eintraege;
    QByteArray datei, sicherung;
};

Ordnerstand stand(const QString& ordner) {
    return {entries(ordner), readFile(ordner + "/a.ini"), readFile(ordner + "/a.ini.bak")};
}

} // namespace

Q_DECLARE_METATYPE(Fehler)
Q_DECLARE_METATYPE(Meldung)

class SpeicherfehlerTest : public QObject {
    Q_OBJECT

private slots:
    void aFailedSaveKeepsFilesAndDocument_data() {
        QTest::addColumn<QString>("ansicht");
        QTest::addColumn<Fehler>("fehler");
        QTest::addColumn<bool>("sicherung");
        QTest::addColumn<Meldung>("meldung");
        QTest::addColumn<QString>("grund"); // the system's reason, in German whatever the locale
        const struct {
            const char* name;
            const char* ansicht;
            Fehler fehler;
            bool sicherung;
            Meldung meldung;
            const char* grund;
        } faelle[] = {
            {"browser, disk full", "browser", Fehler::PlatteVoll, false,
             Meldung::KannNichtSchreiben, ""},
            {"editor, disk full", "editor", Fehler::PlatteVoll, false, Meldung::StreamFehler,
             "Die Datei ist zu groß"},
            {"backup, disk full", "browser", Fehler::PlatteVoll, true,
             Meldung::KannSicherungNichtErstellen, "Die Datei ist zu groß"},
            {"browser, target is a directory", "browser", Fehler::ZielIstVerzeichnis, false,
             Meldung::KannNichtSchreiben, ""},
            {"editor, target is a directory", "editor", Fehler::ZielIstVerzeichnis, false,
             Meldung::KannZielNichtErstellen, "Ist ein Verzeichnis"},
            {"backup is a directory", "editor", Fehler::SicherungIstVerzeichnis, true,
             Meldung::KannSicherungNichtErstellen, "Ist ein Verzeichnis"},
            {"browser, directory read-only", "browser", Fehler::VerzeichnisGeschuetzt, false,
             Meldung::KannNichtSchreiben, ""},
            {"editor, directory read-only", "editor", Fehler::VerzeichnisGeschuetzt, false,
             Meldung::KannZielNichtErstellen, "Keine Berechtigung"},
            {"backup, directory read-only", "browser", Fehler::VerzeichnisGeschuetzt, true,
             Meldung::KannSicherungNichtErstellen, "Keine Berechtigung"},
            {"browser, file read-only", "browser", Fehler::DateiGeschuetzt, false,
             Meldung::KannNichtSchreiben, ""},
            {"editor, file read-only", "editor", Fehler::DateiGeschuetzt, false,
             Meldung::KannZielNichtErstellen, "Keine Berechtigung"},
            // Refused before the backup is made: the earlier backup stays.
            {"browser, file read-only, with backup", "browser", Fehler::DateiGeschuetzt, true,
             Meldung::KannNichtSchreiben, ""},
            {"editor, file read-only, with backup", "editor", Fehler::DateiGeschuetzt, true,
             Meldung::KannZielNichtErstellen, "Keine Berechtigung"},
            {"backup read-only", "editor", Fehler::SicherungGeschuetzt, true,
             Meldung::KannSicherungNichtErstellen, "Keine Berechtigung"},
        };
        for (const auto& f : faelle)
            QTest::newRow(f.name) << QString(f.ansicht) << f.fehler << f.sicherung << f.meldung
                                  << QString::fromUtf8(f.grund);
    }

    void aFailedSaveKeepsFilesAndDocument() {
        QFETCH(QString, ansicht);
        QFETCH(Fehler, fehler);
        QFETCH(bool, sicherung);
        QFETCH(Meldung, meldung);
        QFETCH(QString, grund);

        Umgebung u;
        const QString ordner = u.pfad("d");
        QVERIFY(QDir().mkdir(ordner));
        const QString datei = ordner + "/a.ini";
        QVERIFY(writeFile(datei, kInhalt));
        if (fehler == Fehler::SicherungIstVerzeichnis)
            QVERIFY(QDir().mkdir(datei + ".bak"));
        else
            QVERIFY(writeFile(datei + ".bak", kAlteSicherung));
        QString ziel = datei;
        if (fehler == Fehler::ZielIstVerzeichnis) {
            ziel = ordner + "/ordner.ini";
            QVERIFY(QDir().mkdir(ziel));
        }

        oeffnenUndAendern(u, ansicht, datei);
        sicherungSetzen(u, sicherung);
        QCOMPARE(u.form().dateistatus(), QString("geaendert"));
        const QByteArray vorher = zustand(u);
        const Ordnerstand ordnerVorher = stand(ordner);
        u.dialoge.chooseFile(ziel);

        QByteArray nachher;
        if (braeuchteRechte(fehler)) {
            QVERIFY(handOver(u.datenverzeichnis.path()));
            const char* geschuetzt = fehler == Fehler::VerzeichnisGeschuetzt ? "d"
                                     : fehler == Fehler::DateiGeschuetzt     ? "d/a.ini"
                                                                             : "d/a.ini.bak";
            QCOMPARE(::chmod(QFile::encodeName(u.pfad(geschuetzt)).constData(),
                             fehler == Fehler::VerzeichnisGeschuetzt ? 0555 : 0444),
                     0);
            const auto bericht = runUnprivileged([&] {
                u.klick("tbtnDateispeichern");
                return zustand(u);
            });
            QVERIFY2(bericht.has_value(), "the save in the unprivileged process did not finish");
            nachher = *bericht;
        } else if (fehler == Fehler::PlatteVoll) {
            {
                FileSizeLimit platz(kPlatzAufDerPlatte);
                u.klick("tbtnDateispeichern");
            }
            nachher = zustand(u);
        } else {
            u.klick("tbtnDateispeichern");
            nachher = zustand(u);
        }

        QString erwartet;
        switch (meldung) {
        case Meldung::KannNichtSchreiben:
            erwartet = QString("In %1 kann nicht geschrieben werden.").arg(ziel);
            break;
        case Meldung::StreamFehler:
            erwartet = QString("Stream-Schreibfehler: Datei \"%1\" wurde nicht gespeichert. %2.")
                           .arg(ziel, grund);
            break;
        case Meldung::KannZielNichtErstellen:
            erwartet = QString("Datei \"%1\" kann nicht erstellt werden. %2.").arg(ziel, grund);
            break;
        case Meldung::KannSicherungNichtErstellen:
            erwartet =
                QString("Datei \"%1.bak\" kann nicht erstellt werden. %2.").arg(datei, grund);
            break;
        }
        // Status, name and titles as before, and one error shown.
        QCOMPARE(QString::fromUtf8(nachher).split(QChar(0x1f)),
                 QString::fromUtf8(vorher).split(QChar(0x1f)) << erwartet);
        // The old file, the earlier backup and the directory as they were.
        QVERIFY(QFile::setPermissions(ordner, QFile::permissions(ordner) | QFile::WriteOwner));
        const Ordnerstand ordnerNachher = stand(ordner);
        QCOMPARE(ordnerNachher.eintraege, ordnerVorher.eintraege);
        QCOMPARE(ordnerNachher.datei, kInhalt);
        QCOMPARE(ordnerNachher.sicherung, ordnerVorher.sicherung);

        // The document is still whole in the window: once the fault is gone, it saves.
        if (!braeuchteRechte(fehler)) {
            u.dialoge.clear();
            sicherungSetzen(u, false);
            u.dialoge.chooseFile(datei);
            u.klick("tbtnDateispeichern");
            QCOMPARE(u.dialoge.messageTexts(), QStringList());
            QCOMPARE(readFile(datei), geaenderterInhalt(ansicht));
            QCOMPARE(u.form().dateistatus(), QString("gespeichert"));
        }
    }

    void aLinkedFileIsSavedThroughToItsTarget_data() {
        QTest::addColumn<QString>("ansicht");
        QTest::newRow("browser") << "browser";
        QTest::newRow("editor") << "editor";
    }
    void aLinkedFileIsSavedThroughToItsTarget() {
        QFETCH(QString, ansicht);
        Umgebung u;
        QVERIFY(QDir().mkdir(u.pfad("echt")));
        const QString ziel = u.pfad("echt/ziel.ini");
        QVERIFY(writeFile(ziel, kInhalt));
        const QString verweis = u.pfad("verweis.ini");
        QVERIFY(QFile::link("echt/ziel.ini", verweis)); // relative, as users make them
        oeffnenUndAendern(u, ansicht, verweis);
        u.dialoge.chooseFile(verweis);
        u.klick("tbtnDateispeichern");
        QCOMPARE(u.dialoge.messageTexts(), QStringList());
        QVERIFY(QFileInfo(verweis).isSymLink());
        QCOMPARE(QFile::symLinkTarget(verweis), ziel);
        QCOMPARE(readFile(ziel), geaenderterInhalt(ansicht));
        QCOMPARE(entries(u.pfad("echt")), QStringList{"ziel.ini"});
        // The backup is a copy beside the link, not a second link.
        QVERIFY(!QFileInfo(verweis + ".bak").isSymLink());
        QCOMPARE(readFile(verweis + ".bak"), kInhalt);
        QCOMPARE(u.form().dateiname(), verweis);
    }

    // The backup holds the old secrets: it is as private as the file, also over an old
    // backup that was open to all. Owner and group go with it where the saving user may
    // give them; where the group cannot be given, it gets no more than others.
    void theBackupIsAsPrivateAsTheFile_data() {
        QTest::addColumn<bool>("fremdeDatei");
        QTest::addColumn<bool>("fremdeGruppe");
        QTest::addColumn<uint>("modus");
        QTest::addColumn<uint>("sicherungsmodus");
        QTest::newRow("own private file") << false << false << 0600u << 0600u;
        QTest::newRow("root saves a user's file") << true << false << 0640u << 0640u;
        QTest::newRow("a group the user is not in") << false << true << 0640u << 0600u;
    }
    void theBackupIsAsPrivateAsTheFile() {
        QFETCH(bool, fremdeDatei);
        QFETCH(bool, fremdeGruppe);
        QFETCH(uint, modus);
        QFETCH(uint, sicherungsmodus);
        if ((fremdeDatei || fremdeGruppe) && !runningAsRoot())
            QSKIP("only root can hand a file to another user or group");
        Umgebung u;
        const QString datei = u.schreiben("a.ini", kInhalt);
        QVERIFY(writeFile(datei + ".bak", kAlteSicherung));
        QCOMPARE(::chmod(QFile::encodeName(datei + ".bak").constData(), 0644), 0);
        if (fremdeDatei || fremdeGruppe)
            QVERIFY(handOver(u.datenverzeichnis.path()));
        if (fremdeGruppe)
            QCOMPARE(::chown(QFile::encodeName(datei).constData(), uid_t(-1), 0), 0);
        QCOMPARE(::chmod(QFile::encodeName(datei).constData(), mode_t(modus)), 0);
        struct stat vorher {};
        QCOMPARE(::stat(QFile::encodeName(datei).constData(), &vorher), 0);

        oeffnenUndAendern(u, "browser", datei);
        QVERIFY(u.w<QCheckBox>("CheckBox1")->isChecked());
        u.dialoge.chooseFile(datei);
        const auto speichern = [&] {
            u.klick("tbtnDateispeichern");
            return zustand(u);
        };
        const auto nachher =
            fremdeGruppe ? runUnprivileged(speichern) : std::optional<QByteArray>(speichern());
        QVERIFY(nachher.has_value());
        QVERIFY2(nachher->startsWith("gespeichert"), nachher->constData());
        QCOMPARE(readFile(datei + ".bak"), kInhalt);
        QCOMPARE(readFile(datei), geaenderterInhalt("browser"));
        struct stat sicherung {};
        QCOMPARE(::stat(QFile::encodeName(datei + ".bak").constData(), &sicherung), 0);
        QCOMPARE(sicherung.st_mode & 07777, mode_t(sicherungsmodus));
        QCOMPARE(sicherung.st_uid, vorher.st_uid);
        if (!fremdeGruppe)
            QCOMPARE(sicherung.st_gid, vorher.st_gid);
        // The file itself keeps its group and bits, also where the saving user is not
        // in that group (it is then written in place).
        struct stat gespeichert {};
        QCOMPARE(::stat(QFile::encodeName(datei).constData(), &gespeichert), 0);
        QCOMPARE(gespeichert.st_gid, vorher.st_gid);
        QCOMPARE(gespeichert.st_mode & 07777, mode_t(modus));
    }

    void permissionsAndOwnerOfTheSavedFileAreKept_data() {
        QTest::addColumn<QString>("ansicht");
        QTest::newRow("browser") << "browser";
        QTest::newRow("editor") << "editor";
    }
    void permissionsAndOwnerOfTheSavedFileAreKept() {
        QFETCH(QString, ansicht);
        Umgebung u;
        const QString datei = u.schreiben("a.ini", kInhalt);
        QVERIFY(handOver(datei)); // as root: a user's file
        QCOMPARE(::chmod(QFile::encodeName(datei).constData(), 0640), 0);
        struct stat vorher {};
        QCOMPARE(::stat(QFile::encodeName(datei).constData(), &vorher), 0);
        oeffnenUndAendern(u, ansicht, datei);
        u.dialoge.chooseFile(datei);
        u.klick("tbtnDateispeichern");
        QCOMPARE(u.dialoge.messageTexts(), QStringList());
        QCOMPARE(readFile(datei), geaenderterInhalt(ansicht));
        struct stat nachher {};
        QCOMPARE(::stat(QFile::encodeName(datei).constData(), &nachher), 0);
        QCOMPARE(nachher.st_mode & 07777, mode_t(0640));
        QCOMPARE(nachher.st_uid, vorher.st_uid);
        QCOMPARE(nachher.st_gid, vorher.st_gid);
    }
};

QTEST_MAIN(SpeicherfehlerTest)
#include "SpeicherfehlerTest.moc"
