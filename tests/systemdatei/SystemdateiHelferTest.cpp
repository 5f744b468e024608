// ravik-systemdatei run directly, as pkexec would run it but without polkit: what it
// refuses, and what a save leaves on disk. As root the helper's saves run; as another
// user only its refusals can be shown (the helper runs as that user then).
#include "../platform/TestFiles.h"
#include "../platform/TestUsers.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <acl/libacl.h>
#include <sys/acl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

using testfiles::readFile;
using testfiles::writeFile;

namespace {

struct Lauf {
    int code = -1;
    QByteArray ausgabe;
    QByteArray status;
};

Lauf helfer(const QStringList& argumente, const QByteArray& eingabe = {}, bool mitUid = true) {
    QProcess p;
    QProcessEnvironment umgebung;
    if (mitUid)
        umgebung.insert(QStringLiteral("PKEXEC_UID"),
                        QString::number(testfiles::runningAsRoot() ? testusers::kSaver : ::getuid()));
    p.setProcessEnvironment(umgebung);
    p.start(QStringLiteral(RAVIK_BINARY_DIR "/ravik-systemdatei"), argumente);
    p.waitForStarted();
    p.write(eingabe);
    p.closeWriteChannel();
    p.waitForFinished(20000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError().trimmed()};
}

QByteArray sha(const QByteArray& b) {
    return QCryptographicHash::hash(b, QCryptographicHash::Sha256).toHex();
}

struct stat info(const QString& pfad) {
    struct stat s {};
    ::lstat(QFile::encodeName(pfad).constData(), &s);
    return s;
}

} // namespace

class SystemdateiHelferTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QVERIFY(ordner_.isValid());
        ::chmod(QFile::encodeName(ordner_.path()).constData(), 0755);
        pfad_ = ordner_.path() + QStringLiteral("/php.ini");
        QVERIFY(writeFile(pfad_, alt_));
        ::chmod(QFile::encodeName(pfad_).constData(), 0640);
    }
    void cleanup() {
        ::chmod(QFile::encodeName(ordner_.path()).constData(), 0755);
        ordner_.remove();
        ordner_ = QTemporaryDir();
    }

    void verweigert_data() {
        QTest::addColumn<QString>("fall");
        QTest::addColumn<int>("code");
        QTest::newRow("ohne PKEXEC_UID") << "ohne-uid" << 3;
        QTest::newRow("relativer Pfad") << "relativ" << 2;
        QTest::newRow("..") << "punktpunkt" << 2;
        QTest::newRow("Verknüpfung als Ordner") << "ordnerlink" << 4;
        QTest::newRow("Verknüpfung als Datei") << "dateilink" << 4;
        QTest::newRow("benannte Pipe") << "fifo" << 5;
        QTest::newRow("Ordner") << "ordner" << 5;
        QTest::newRow("Ordner gehört dem Aufrufer") << "eigener-ordner" << 6;
        QTest::newRow("Ordner beschreibbar per ACL") << "acl-ordner" << 6;
        QTest::newRow("Hash anders") << "hash" << 7;
        QTest::newRow("neu, doch vorhanden") << "neu-vorhanden" << 7;
        QTest::newRow("zu groß") << "gross" << 8;
        QTest::newRow("Lesen zu groß") << "lesen-gross" << 8;
    }
    // Each refusal leaves the file, its folder and any link's target as they were.
    void verweigert() {
        QFETCH(QString, fall);
        QFETCH(int, code);
        const QByteArray neu("x=2\n");
        const QString ziel = ordner_.path() + QStringLiteral("/ziel.ini");
        QVERIFY(writeFile(ziel, "geheim\n"));
        QString pfad = pfad_;
        QStringList extra;
        QByteArray hash = sha(alt_);
        bool mitUid = true;
        QString befehl = QStringLiteral("schreiben");
        const QByteArray nativ = QFile::encodeName(ordner_.path());
        if (fall == "ohne-uid") {
            mitUid = false;
        } else if (fall == "relativ") {
            pfad = QStringLiteral("php.ini");
        } else if (fall == "punktpunkt") {
            pfad = ordner_.path() + QStringLiteral("/../") + QFileInfo(ordner_.path()).fileName() + "/php.ini";
        } else if (fall == "ordnerlink") {
            QVERIFY(QFile::link(ordner_.path(), ordner_.path() + "/umweg"));
            pfad = ordner_.path() + QStringLiteral("/umweg/php.ini");
        } else if (fall == "dateilink") {
            QVERIFY(QFile::remove(pfad_) && QFile::link(ziel, pfad_));
            hash = sha("geheim\n");
        } else if (fall == "fifo") {
            QVERIFY(QFile::remove(pfad_) && ::mkfifo(QFile::encodeName(pfad_).constData(), 0644) == 0);
        } else if (fall == "ordner") {
            pfad = ordner_.path() + QStringLiteral("/unter");
            QVERIFY(QDir(ordner_.path()).mkdir("unter"));
        } else if (fall == "eigener-ordner") {
            if (testfiles::runningAsRoot())
                QCOMPARE(::chown(nativ.constData(), testusers::kSaver, 0), 0);
            else
                QCOMPARE(::chmod(nativ.constData(), 0755), 0);
        } else if (fall == "acl-ordner") {
            if (!testfiles::runningAsRoot())
                QSKIP("an ACL naming another user needs root to be told apart");
            acl_t acl = acl_from_text("u::rwx,g::r-x,o::r-x,u:61001:rwx,m::rwx");
            QCOMPARE(acl_set_file(nativ.constData(), ACL_TYPE_ACCESS, acl), 0);
            acl_free(acl);
        } else if (fall == "hash") {
            hash = sha("anders");
        } else if (fall == "neu-vorhanden") {
            hash = "neu";
        } else if (fall == "gross") {
            extra << "--grenze" << "3";
        } else if (fall == "lesen-gross") {
            befehl = QStringLiteral("lesen");
            extra << "--grenze" << "3";
        }
        // As another user the folder is his own: only refusals found before that show.
        if (!testfiles::runningAsRoot() && code > 5 && fall != "eigener-ordner")
            QSKIP("the helper runs as root; as this user only its earlier refusals show");
        // A folder of one's own that one may not write stands in for root's.
        if (!testfiles::runningAsRoot() && fall != "eigener-ordner")
            QCOMPARE(::chmod(nativ.constData(), 0555), 0);
        QStringList argumente{befehl, pfad};
        if (befehl == "schreiben")
            argumente << QString::fromLatin1(hash);
        const Lauf lauf = helfer(argumente + extra, neu, mitUid);
        QCOMPARE(lauf.code, code);
        QVERIFY2(lauf.status.startsWith("ravik-systemdatei: fehler " + QByteArray::number(code) + ' '),
                 lauf.status.constData());
        QVERIFY(lauf.ausgabe.isEmpty());
        QCOMPARE(readFile(ziel), QByteArray("geheim\n"));
        if (fall != "dateilink" && fall != "fifo" && fall != "ordner")
            QCOMPARE(readFile(pfad_), alt_);
        // Nothing half-made is left beside it.
        const QStringList reste = QDir(ordner_.path()).entryList({"*.ravik-*"}, QDir::AllEntries | QDir::System);
        QVERIFY2(reste.isEmpty(), qPrintable(reste.join(' ')));
        QVERIFY(!QFileInfo::exists(pfad_ + ".bak"));
    }

    void speichern_data() {
        QTest::addColumn<bool>("sicherung");
        QTest::addColumn<bool>("hardlink");
        QTest::addColumn<bool>("bakVerknuepfung");
        QTest::newRow("ohne Sicherung") << false << false << false;
        QTest::newRow("mit Sicherung") << true << false << false;
        QTest::newRow("Verknüpfung als .bak") << true << false << true;
        QTest::newRow("zweiter harter Link") << true << true << false;
    }
    // Owner, group, mode, ACL and attributes stay; the backup is owned and as private
    // as the file; a planted .bak link is replaced, its target untouched; a file with
    // two names keeps both.
    void speichern() {
        if (!testfiles::runningAsRoot())
            QSKIP("the helper saves as root (through pkexec); run the tests as root");
        QFETCH(bool, sicherung);
        QFETCH(bool, hardlink);
        QFETCH(bool, bakVerknuepfung);
        const QByteArray datei = QFile::encodeName(pfad_);
        QCOMPARE(::chown(datei.constData(), 0, testusers::kShareGroup), 0);
        acl_t acl = acl_from_text("u::rw-,g::r--,o::---,u:61002:r--,m::r--");
        QCOMPARE(acl_set_file(datei.constData(), ACL_TYPE_ACCESS, acl), 0);
        acl_free(acl);
        QCOMPARE(::setxattr(datei.constData(), "user.ravik", "wert", 4, 0), 0);
        const QString zweiter = ordner_.path() + "/zweiter.ini";
        if (hardlink)
            QCOMPARE(::link(datei.constData(), QFile::encodeName(zweiter).constData()), 0);
        const QString opfer = ordner_.path() + "/opfer";
        if (bakVerknuepfung) {
            QVERIFY(writeFile(opfer, "opfer\n"));
            QVERIFY(QFile::link(opfer, pfad_ + ".bak"));
        }
        const struct stat vorher = info(pfad_);
        QStringList argumente{"schreiben", pfad_, QString::fromLatin1(sha(alt_))};
        if (sicherung)
            argumente << "--sicherung";
        const QByteArray neu("[PHP]\nmemory_limit = 512M\n");
        const Lauf lauf = helfer(argumente, neu);
        QCOMPARE(lauf.code, 0);
        QCOMPARE(lauf.status, "ravik-systemdatei: ok " + sha(neu));
        QCOMPARE(readFile(pfad_), neu);
        const struct stat nachher = info(pfad_);
        QCOMPARE(nachher.st_uid, uid_t(0));
        QCOMPARE(nachher.st_gid, testusers::kShareGroup);
        QCOMPARE(nachher.st_mode & 07777, vorher.st_mode & 07777);
        QCOMPARE(nachher.st_ino == vorher.st_ino, hardlink);
        char wert[8] = {};
        QCOMPARE(::getxattr(datei.constData(), "user.ravik", wert, sizeof wert), ssize_t(4));
        acl = acl_get_file(datei.constData(), ACL_TYPE_ACCESS);
        char* text = acl_to_any_text(acl, nullptr, ',', TEXT_ABBREVIATE | TEXT_NUMERIC_IDS);
        QCOMPARE(QByteArray(text), QByteArray("u::rw-,u:61002:r--,g::r--,m::r--,o::---"));
        acl_free(text);
        acl_free(acl);
        if (hardlink)
            QCOMPARE(readFile(zweiter), neu);
        if (bakVerknuepfung)
            QCOMPARE(readFile(opfer), QByteArray("opfer\n"));
        const QString bak = pfad_ + ".bak";
        QCOMPARE(QFileInfo(bak).isSymLink(), false);
        QCOMPARE(QFileInfo::exists(bak), sicherung);
        if (sicherung) {
            QCOMPARE(readFile(bak), alt_);
            QCOMPARE(info(bak).st_gid, testusers::kShareGroup);
            QCOMPARE(info(bak).st_mode & 07777, vorher.st_mode & 07777);
            QCOMPARE(::getxattr(QFile::encodeName(bak).constData(), "user.ravik", wert, sizeof wert), ssize_t(4));
        }
        QCOMPARE(QDir(ordner_.path()).entryList({"*.ravik-*"}, QDir::AllEntries).size(), 0);
    }

    // Reading gives the bytes and their hash; a new file is made 0644.
    void lesenUndNeu() {
        if (!testfiles::runningAsRoot())
            QSKIP("the helper reads as root (through pkexec); run the tests as root");
        Lauf lauf = helfer({"lesen", pfad_});
        QCOMPARE(lauf.code, 0);
        QCOMPARE(lauf.ausgabe, alt_);
        QCOMPARE(lauf.status, "ravik-systemdatei: ok " + sha(alt_));
        const QString neuPfad = ordner_.path() + "/neu.conf";
        lauf = helfer({"schreiben", neuPfad, "neu"}, "a=1\n");
        QCOMPARE(lauf.code, 0);
        QCOMPARE(readFile(neuPfad), QByteArray("a=1\n"));
        QCOMPARE(info(neuPfad).st_mode & 07777, mode_t(0644));
    }

private:
    QTemporaryDir ordner_;
    QString pfad_;
    const QByteArray alt_ = QByteArrayLiteral("[PHP]\nmemory_limit = 128M\n");
};

QTEST_GUILESS_MAIN(SystemdateiHelferTest)
#include "SystemdateiHelferTest.moc"
