// System files through the real pkexec and polkitd, as an ordinary user: the test user
// is made here, a polkit rule grants him the helper (and refuses it for any path in a
// folder named "verboten"), and the document's open and save run as him. Needs root
// for the setup and the system bus (.ci/run starts it); without them it fails and says
// what to run.
#include "../platform/TestFiles.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using testfiles::readFile;
using testfiles::writeFile;

namespace {

const QString kBenutzer = QStringLiteral("ravik-systemtest");
const QString kRegel = QStringLiteral("/etc/polkit-1/rules.d/49-ravik-systemtest.rules");

struct Lauf {
    int code = -1;
    QString ausgabe;
};

QProcess* starten(const QStringList& argumente) {
    auto* p = new QProcess;
    p->setWorkingDirectory(QStringLiteral("/"));
    p->start(QStringLiteral("runuser"),
             QStringList{"-u", kBenutzer, "--", QStringLiteral(RAVIK_BINARY_DIR "/systemdatei_aufruf")} +
                 argumente);
    p->waitForStarted();
    return p;
}

Lauf alsBenutzer(const QStringList& argumente) {
    std::unique_ptr<QProcess> p(starten(argumente));
    p->closeWriteChannel();
    p->waitForFinished(60000);
    return {p->exitStatus() == QProcess::NormalExit ? p->exitCode() : -1,
            QString::fromUtf8(p->readAllStandardOutput() + p->readAllStandardError())};
}

bool laeuft(const QString& programm, const QStringList& argumente) {
    QProcess p;
    p.start(programm, argumente);
    return p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// A file of root's with these bytes and this mode.
bool rootDatei(const QString& pfad, const QByteArray& inhalt, mode_t modus = 0644) {
    return writeFile(pfad, inhalt) && ::chmod(QFile::encodeName(pfad).constData(), modus) == 0;
}

struct stat info(const QString& pfad) {
    struct stat s {};
    ::lstat(QFile::encodeName(pfad).constData(), &s);
    return s;
}

} // namespace

class SystemdateiPkexecTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        if (!testfiles::runningAsRoot())
            QFAIL("This test makes a user and a polkit rule and needs the system bus: run it as root "
                  "(sudo ctest --test-dir build -R SystemdateiPkexecTest), as .ci/run does.");
        QVERIFY2(QFileInfo(QStringLiteral("/usr/bin/pkexec")).isExecutable(),
                 "pkexec is missing: apt install pkexec polkitd dbus (deps/debian-packages.txt)");
        QVERIFY2(laeuft("dbus-send", {"--system", "--print-reply", "--dest=org.freedesktop.DBus", "/",
                                      "org.freedesktop.DBus.GetId"}),
                 "The system bus does not answer at /run/dbus/system_bus_socket: start it with "
                 "'dbus-daemon --system --fork' as root (.ci/run does so).");
        if (!laeuft("id", {"-u", kBenutzer})) {
            QVERIFY(laeuft("useradd", {"-M", "-d", "/nonexistent", "-s", "/bin/bash", "-u", "61091", kBenutzer}));
            angelegt_ = true;
        }
        QVERIFY2(laeuft("runuser", {"-u", kBenutzer, "--", "test", "-x", RAVIK_BINARY_DIR "/systemdatei_aufruf"}),
                 "The test user cannot reach the build directory: it and the folders above it "
                 "must be readable and searchable by other users.");
        const QByteArray helfer = RAVIK_BINARY_DIR "/ravik-systemdatei";
        QVERIFY(writeFile(kRegel, "polkit.addRule(function(action, subject) {\n"
                                  "    if (subject.user != \"" + kBenutzer.toUtf8() + "\") return polkit.Result.NOT_HANDLED;\n"
                                  "    if (action.id != \"org.freedesktop.policykit.exec\" &&\n"
                                  "        action.id != \"io.github.ravik.Ravik\") return polkit.Result.NOT_HANDLED;\n"
                                  "    if (action.lookup(\"program\") != \"" + helfer + "\") return polkit.Result.NO;\n"
                                  "    return action.lookup(\"command_line\").indexOf(\"/verboten/\") >= 0\n"
                                  "        ? polkit.Result.NO : polkit.Result.YES;\n"
                                  "});\n"));
        ::chmod(QFile::encodeName(kRegel).constData(), 0644);
        QTest::qWait(1000); // polkitd takes new rules up when inotify tells it
        QVERIFY(ordner_.isValid());
        ::chmod(QFile::encodeName(ordner_.path()).constData(), 0755);
    }
    void cleanupTestCase() {
        QFile::remove(kRegel);
        if (angelegt_)
            laeuft("userdel", {kBenutzer});
    }

    void speichern_data() {
        QTest::addColumn<bool>("bakVerknuepfung");
        QTest::newRow("Sicherung") << false;
        QTest::newRow("Verknüpfung als .bak") << true;
    }
    // A root-owned 0644 file in a root-owned folder, saved by the user with backup.
    void speichern() {
        QFETCH(bool, bakVerknuepfung);
        const QString pfad = ordner_.path() + "/php.ini";
        const QString neu = ordner_.path() + "/neu.txt";
        const QString opfer = ordner_.path() + "/opfer";
        QVERIFY(rootDatei(pfad, "[PHP]\nmemory_limit = 128M\n"));
        QVERIFY(rootDatei(neu, "[PHP]\nmemory_limit = 512M\n"));
        QFile::remove(pfad + ".bak");
        if (bakVerknuepfung) {
            QVERIFY(writeFile(opfer, "opfer\n"));
            QVERIFY(QFile::link(opfer, pfad + ".bak"));
        }
        const Lauf lauf = alsBenutzer({"speichern", pfad, neu, "--sicherung"});
        QVERIFY2(lauf.code == 0, qPrintable(lauf.ausgabe));
        QCOMPARE(lauf.ausgabe, QStringLiteral("frage: speichern\n [Administrator]\n"));
        QCOMPARE(readFile(pfad), QByteArray("[PHP]\nmemory_limit = 512M\n"));
        QCOMPARE(info(pfad).st_uid, uid_t(0));
        QCOMPARE(info(pfad).st_mode & 07777, mode_t(0644));
        QCOMPARE(readFile(pfad + ".bak"), QByteArray("[PHP]\nmemory_limit = 128M\n"));
        QVERIFY(S_ISREG(info(pfad + ".bak").st_mode));
        QCOMPARE(info(pfad + ".bak").st_uid, uid_t(0));
        QCOMPARE(info(pfad + ".bak").st_mode & 07777, mode_t(0644));
        if (bakVerknuepfung)
            QCOMPARE(readFile(opfer), QByteArray("opfer\n"));
    }

    void lesen_data() {
        QTest::addColumn<QString>("unterordner");
        QTest::newRow("0600-Datei") << "";
        QTest::newRow("in einem 0700-Ordner") << "system-connections";
    }
    // A root file only root may read is opened after the question; behind a folder the
    // user may not enter, the changed-on-disk check does not call it gone.
    void lesen() {
        QFETCH(QString, unterordner);
        QString ort = ordner_.path();
        if (!unterordner.isEmpty()) {
            ort += "/" + unterordner;
            QVERIFY(QDir().mkpath(ort));
            ::chmod(QFile::encodeName(ort).constData(), 0700);
        }
        const QString pfad = ort + "/geheim.nmconnection";
        QVERIFY(rootDatei(pfad, "[wifi-security]\npsk=geheim\n", 0600));
        const Lauf lauf = alsBenutzer({"lesen", pfad});
        QVERIFY2(lauf.code == 0, qPrintable(lauf.ausgabe));
        QCOMPARE(lauf.ausgabe, QStringLiteral("frage: lesen\n[wifi-security]\npsk=geheim\nstempel: gleich\n"));
    }

    // polkit says no: pkexec's 127 arrives as a German message, nothing is written.
    void nichtAutorisiert() {
        const QString unter = ordner_.path() + "/verboten";
        QVERIFY(QDir(ordner_.path()).mkpath("verboten"));
        ::chmod(QFile::encodeName(unter).constData(), 0755);
        const QString pfad = unter + "/smb.conf";
        QVERIFY(rootDatei(pfad, "[global]\n"));
        QVERIFY(rootDatei(ordner_.path() + "/anders.txt", "[global]\nworkgroup = X\n"));
        const Lauf lauf = alsBenutzer({"speichern", pfad, ordner_.path() + "/anders.txt"});
        QCOMPARE(lauf.code, 2);
        QVERIFY2(lauf.ausgabe.contains("Nicht autorisiert: Die Administratorrechte wurden nicht erteilt."),
                 qPrintable(lauf.ausgabe));
        QCOMPARE(readFile(pfad), QByteArray("[global]\n"));
    }

    // Changed by someone else between loading and saving: nothing is written, unless the
    // user said to overwrite it anyway.
    void zwischendurchGeaendert_data() {
        QTest::addColumn<bool>("trotzdem");
        QTest::newRow("refused") << false;
        QTest::newRow("overwritten anyway") << true;
    }
    void zwischendurchGeaendert() {
        QFETCH(bool, trotzdem);
        const QString pfad = ordner_.path() + "/unit.service";
        const QString neu = ordner_.path() + "/unit.neu";
        QVERIFY(rootDatei(pfad, "[Unit]\nDescription=A\n"));
        QVERIFY(rootDatei(neu, "[Unit]\nDescription=B\n"));
        QStringList argumente{"speichern", pfad, neu, "--warten"};
        if (trotzdem)
            argumente << "--trotzdem";
        std::unique_ptr<QProcess> p(starten(argumente));
        QVERIFY(p->waitForReadyRead(20000));
        QCOMPARE(p->readLine(), QByteArray("geladen\n"));
        QVERIFY(writeFile(pfad, "[Unit]\nDescription=root\n"));
        p->write("weiter\n");
        p->closeWriteChannel();
        QVERIFY(p->waitForFinished(60000));
        const QString ausgabe = QString::fromUtf8(p->readAll());
        QCOMPARE(p->exitCode(), trotzdem ? 0 : 2);
        if (!trotzdem)
            QVERIFY2(ausgabe.contains("wurde außerhalb von Ravik geändert; es wurde nichts geschrieben"),
                     qPrintable(ausgabe));
        QCOMPARE(readFile(pfad), trotzdem ? QByteArray("[Unit]\nDescription=B\n")
                                          : QByteArray("[Unit]\nDescription=root\n"));
    }

    // More than the limit is refused before anything is touched.
    void zuGross() {
        const QString pfad = ordner_.path() + "/gross.ini";
        QVERIFY(rootDatei(pfad, "a=1\n"));
        const Lauf lauf = alsBenutzer({"gross", pfad, QString::number((1 << 20) + 1), QString::number(1 << 20)});
        QCOMPARE(lauf.code, 2);
        QVERIFY2(lauf.ausgabe.contains("Die Datei ist größer als 1 MB."), qPrintable(lauf.ausgabe));
        QCOMPARE(readFile(pfad), QByteArray("a=1\n"));
    }

    // The window, run as the test user (SystemdateiFensterTest).
    void fenster() {
        QTemporaryDir fensterOrdner;
        QVERIFY(fensterOrdner.isValid());
        const QByteArray nativ = QFile::encodeName(fensterOrdner.path());
        ::chmod(nativ.constData(), 0755);
        QVERIFY(rootDatei(fensterOrdner.path() + "/php.ini", "[PHP]\nmemory_limit = 128M\n"));
        QVERIFY(rootDatei(fensterOrdner.path() + "/editor.ini", "[PHP]\nmemory_limit = 128M\n"));
        QVERIFY(rootDatei(fensterOrdner.path() + "/geheim.ini", "[wifi-security]\npsk=geheim\n", 0600));
        QProcess p;
        p.setWorkingDirectory(QStringLiteral("/"));
        p.start(QStringLiteral("runuser"),
                {"-u", kBenutzer, "--", "env", "QT_QPA_PLATFORM=offscreen",
                 "RAVIK_SYSTEMTEST_ORDNER=" + fensterOrdner.path(),
                 QStringLiteral(RAVIK_BINARY_DIR "/SystemdateiFensterTest")});
        QVERIFY(p.waitForFinished(120000));
        const QByteArray ausgabe = p.readAllStandardOutput() + p.readAllStandardError();
        QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, ausgabe.constData());
        QCOMPARE(info(fensterOrdner.path() + "/php.ini").st_uid, uid_t(0));
        QCOMPARE(info(fensterOrdner.path() + "/php.ini").st_mode & 07777, mode_t(0644));
    }

private:
    QTemporaryDir ordner_;
    bool angelegt_ = false;
};

QTEST_GUILESS_MAIN(SystemdateiPkexecTest)
#include "SystemdateiPkexecTest.moc"
