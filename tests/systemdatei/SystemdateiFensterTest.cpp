// The window with system files, run by SystemdateiPkexecTest as its ordinary test user
// through the real pkexec (it is no test of its own: alone it lacks the user and the
// polkit rule). RAVIK_SYSTEMTEST_ORDNER names a folder of root's holding php.ini and
// editor.ini (0644) and geheim.ini (0600).
#include "tests/support/Umgebung.h"

#include <QFile>
#include <QLineEdit>
#include <Qsci/qsciscintilla.h>

#include <unistd.h>

using namespace ravik;
using namespace ravik::test;

namespace {

QString ordner() {
    return qEnvironmentVariable("RAVIK_SYSTEMTEST_ORDNER");
}

bool gezeigt(const Umgebung& u, const QString& text) {
    return u.dialoge.messageTexts().filter(text).size() == 1;
}

} // namespace

class SystemdateiFensterTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY2(::geteuid() != 0 && !ordner().isEmpty(), "run by SystemdateiPkexecTest as its test user");
    }

    // Asked once; saved through the helper; "[Administrator]" in the caption; the next
    // save goes straight through.
    void speichern() {
        const QString datei = ordner() + "/php.ini";
        Umgebung u;
        TForm1& f = u.starten({datei});
        u.auswaehlen("PHP/memory_limit");
        u.w<QLineEdit>("WertAnzeige")->setText("512M");
        u.klick("btnOK");
        u.dialoge.chooseFile(datei);
        u.dialoge.answer(Answer::Yes);
        u.klick("tbtnDateispeichern");
        QVERIFY2(u.dialoge.unexpected.isEmpty(), qPrintable(u.dialoge.unexpected.join('\n')));
        QVERIFY(gezeigt(u, "Die Datei " + datei + " gehört dem System. Mit Administratorrechten speichern?"));
        QCOMPARE(Umgebung::lesen(datei), QByteArray("[PHP]\nmemory_limit = 512M\n"));
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
        QVERIFY2(u.fenstertitel().endsWith("(\"php.ini\") [Administrator]"), qPrintable(u.fenstertitel()));

        u.dialoge.clear();
        u.auswaehlen("PHP/memory_limit");
        u.w<QLineEdit>("WertAnzeige")->setText("1G");
        u.klick("btnOK");
        u.dialoge.chooseFile(datei);
        u.klick("tbtnDateispeichern");
        QCOMPARE(u.dialoge.shown.size(), 1); // the save dialog alone
        QCOMPARE(Umgebung::lesen(datei), QByteArray("[PHP]\nmemory_limit = 1G\n"));
    }

    // Opened in the editor view, the file is read in blocks, not held: the helper
    // checks the save against the hash taken while reading.
    void speichernAusDemEditor() {
        const QString datei = ordner() + "/editor.ini";
        Umgebung u;
        u.starten();
        u.klick("BitBtn2");
        u.dialoge.chooseFile(datei);
        u.klick("tbtnDateiladen");
        auto* memo = u.w<QsciScintilla>("SynMemo1");
        QCOMPARE(memo->text(), QString("[PHP]\nmemory_limit = 128M\n"));
        memo->setText("[PHP]\nmemory_limit = 256M\n");
        u.dialoge.chooseFile(datei);
        u.dialoge.answer(Answer::Yes);
        u.klick("tbtnDateispeichern");
        QVERIFY2(u.dialoge.unexpected.isEmpty(), qPrintable(u.dialoge.unexpected.join('\n')));
        QVERIFY2(gezeigt(u, "Die Datei " + datei + " gehört dem System. Mit Administratorrechten speichern?"),
                 qPrintable(u.dialoge.messageTexts().join('\n')));
        QCOMPARE(Umgebung::lesen(datei), QByteArray("[PHP]\nmemory_limit = 256M\n"));
    }

    // Cancelling the prompt (pkexec's 126, from a stand-in for the dismissed dialog)
    // shows nothing and leaves the document unsaved.
    void abgebrochen() {
        const QString datei = ordner() + "/php.ini";
        const QByteArray vorher = Umgebung::lesen(datei);
        Umgebung u;
        TForm1& f = u.starten({datei});
        u.auswaehlen("PHP/memory_limit");
        u.w<QLineEdit>("WertAnzeige")->setText("2G");
        u.klick("btnOK");
        const QString abbrecher = u.tempverzeichnis.path() + "/pkexec";
        QFile skript(abbrecher);
        QVERIFY(skript.open(QIODevice::WriteOnly));
        skript.write("#!/bin/sh\nexit 126\n");
        skript.close();
        skript.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        const QByteArray pfad = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(u.tempverzeichnis.path()) + ':' + pfad);
        // The file became a system file when it was saved above: no question this time.
        u.dialoge.chooseFile(datei);
        u.klick("tbtnDateispeichern");
        qputenv("PATH", pfad);
        QCOMPARE(u.dialoge.shown.size(), 1); // the save dialog alone, no error box
        QCOMPARE(f.dateistatus(), QString("geaendert"));
        QCOMPARE(Umgebung::lesen(datei), vorher);
    }

    // A file only root may read: Ja opens it through the helper, Nein says why not.
    void oeffnen_data() {
        QTest::addColumn<bool>("ja");
        // "Nein" first: once read through the helper, the file is a system file for
        // the rest of the run and is not asked about again.
        QTest::newRow("Nein") << false;
        QTest::newRow("Ja") << true;
    }
    void oeffnen() {
        QFETCH(bool, ja);
        const QString datei = ordner() + "/geheim.ini";
        Umgebung u;
        u.starten({ordner() + "/php.ini"});
        u.dialoge.chooseFile(datei);
        u.dialoge.answer(ja ? Answer::Yes : Answer::No);
        if (!ja)
            u.dialoge.answer(Answer::Ok);
        u.klick("tbtnDateiladen");
        QVERIFY2(gezeigt(u, "Die Datei " + datei + " kann nur mit Administratorrechten gelesen werden. "
                            "Mit Administratorrechten öffnen?"),
                 qPrintable(u.dialoge.messageTexts().join('\n') + u.dialoge.unexpected.join('\n')));
        if (ja) {
            QCOMPARE(u.baumTexte(), QStringList({"wifi-security", "wifi-security/psk"}));
            QVERIFY2(u.fenstertitel().contains("[Administrator]"), qPrintable(u.fenstertitel()));
        } else {
            QVERIFY2(u.dialoge.messageTexts().last().contains("Keine Berechtigung"),
                     qPrintable(u.dialoge.messageTexts().join('\n')));
        }
    }
};

QTEST_MAIN(SystemdateiFensterTest)
#include "SystemdateiFensterTest.moc"
