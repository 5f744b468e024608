// The recovery copy without a window: its file, its privacy, and which copies count
// as left behind.
#include "core/document/Wiederherstellungsdatei.h"
#include "tests/platform/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace ravik;

Q_DECLARE_METATYPE(TextEncoding)
Q_DECLARE_METATYPE(EolStyle)

namespace {

int modus(const QString& pfad) {
    struct stat info {};
    if (::stat(QFile::encodeName(pfad).constData(), &info) != 0)
        return -1;
    return int(info.st_mode & 07777);
}

QStringList dateien(const QString& verzeichnis) {
    return QDir(verzeichnis).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

// A copy as a process leaves it behind when it ends without removing it.
QString hinterlassen(const QString& verzeichnis, const QByteArray& text) {
    Wiederherstellungsdatei datei(verzeichnis,
                                  [](const QString& fehler) { QFAIL(qPrintable(fehler)); });
    datei.schreiben({QStringLiteral("/d/a.ini"), TextEncoding::Utf8, EolStyle::Lf, true, text});
    datei.warten();
    return datei.pfad();
}

// A state directory where an attacker would plant it, for a user `ich`: the folder
// itself a link (to a folder of another's, or into nothing), a folder of another user
// open to all, or missing beneath another user's folder (root with a user's HOME).
// Gives the directory the program is pointed at, and the folder that must stay as it is.
struct Falle {
    QString zustand;
    QString unberuehrt;
};
Falle fallen(const QString& basis, const QString& art, uid_t ich, uid_t fremd) {
    auto geben = [](const QString& pfad, uid_t wem, mode_t modus) {
        const QByteArray nativ = QFile::encodeName(pfad);
        if (testfiles::runningAsRoot())
            (void)::lchown(nativ.constData(), wem, wem);
        (void)::chmod(nativ.constData(), modus);
    };
    const QString zustand = basis + "/state/ravik";
    QDir(basis).mkpath("state");
    QDir(basis).mkpath("ziel");
    geben(basis, ::geteuid(), 0755);
    geben(basis + "/state", art == "in fremdem Verzeichnis" ? fremd : ich, 0755);
    geben(basis + "/ziel", fremd, 0755);
    if (art == "Verknüpfung")
        QFile::link(basis + "/ziel", zustand);
    if (art == "Verknüpfung ins Leere")
        QFile::link(basis + "/ziel/neu", zustand);
    if (art == "in fremdem Verzeichnis")
        return {zustand, basis + "/state"};
    if (art == "fremdes Verzeichnis") {
        QDir().mkdir(zustand);
        // A copy planted there is not offered.
        testfiles::writeFile(zustand + "/x.wiederherstellung",
                             "Ravik-Wiederherstellung 1\nname: /a.ini\nkodierung: utf-8\n"
                             "zeilenende: lf\nansicht: editor\nlaenge: 0\n\n");
        geben(zustand, fremd, 0777);
        return {zustand, zustand};
    }
    return {zustand, basis + "/ziel"};
}

// What the writer reports and what a later start would offer, as the user runs it.
QByteArray versuchen(const QString& zustand) {
    QStringList meldungen;
    {
        Wiederherstellungsdatei datei(zustand, [&](const QString& text) { meldungen << text; });
        datei.schreiben({QStringLiteral("/a.ini"), TextEncoding::Utf8, EolStyle::Lf, true, "geheim"});
        datei.warten();
    }
    return (meldungen.join('\n') + QStringLiteral("|%1").arg(VerwaisteKopie::finden(zustand).size()))
        .toUtf8();
}

// Mode and entries of a folder: what must not change.
QString zustandVon(const QString& ordner) {
    return QString::number(modus(ordner), 8) + ':' + testfiles::entries(ordner).join(',');
}

QStringList gefunden(const std::vector<VerwaisteKopie>& kopien) {
    QStringList pfade;
    for (const VerwaisteKopie& k : kopien)
        pfade << k.pfad();
    return pfade;
}

} // namespace

class WiederherstellungTest : public QObject {
    Q_OBJECT

private slots:
    void dieKopieKommtWieGeschriebenZurueck_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<TextEncoding>("kodierung");
        QTest::addColumn<EolStyle>("zeilenende");
        QTest::addColumn<bool>("editor");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("Datei") << "/home/anna/ä ö.ini" << TextEncoding::Windows1252
                               << EolStyle::CrLf << false << QByteArray("[A]\r\nk=ü\r\n");
        QTest::newRow("Namen mit Zeilenumbruch und Doppelpunkt")
            << "/tmp/a\nname: x\n\n.ini" << TextEncoding::Utf16BE << EolStyle::Cr << true
            << QByteArray("[A]\rk=1");
        QTest::newRow("neue Datei, leer")
            << QString() << TextEncoding::Utf8 << EolStyle::Lf << true << QByteArray();
        QTest::newRow("Text mit NUL und Leerzeilen")
            << "/x.ini" << TextEncoding::Utf8Bom << EolStyle::Lf << false
            << QByteArray("\n\n[A]\nk=\0v\n\n", 13);
    }
    void dieKopieKommtWieGeschriebenZurueck() {
        QFETCH(QString, name);
        QFETCH(TextEncoding, kodierung);
        QFETCH(EolStyle, zeilenende);
        QFETCH(bool, editor);
        QFETCH(QByteArray, text);
        QTemporaryDir zustand;
        Wiederherstellungsdatei datei(zustand.path(),
                                      [](const QString& f) { QFAIL(qPrintable(f)); });
        datei.schreiben({name, kodierung, zeilenende, editor, QByteArray("ältere Fassung")});
        datei.schreiben({name, kodierung, zeilenende, editor, text});
        datei.warten();
        const auto kopie = Wiederherstellung::lesen(datei.pfad());
        QVERIFY(kopie);
        QCOMPARE(kopie->name, name);
        QCOMPARE(kopie->kodierung, kodierung);
        QCOMPARE(kopie->zeilenende, zeilenende);
        QCOMPARE(kopie->editoransicht, editor);
        QCOMPARE(kopie->text, text);
        // The copy and its lock; nothing half-written is left.
        QCOMPARE(dateien(zustand.path()).size(), 2);
        datei.entfernen();
        datei.warten();
        QVERIFY(!QFileInfo::exists(datei.pfad()));
    }

    void nurDerEigentuemerKannSieLesen() {
        QTemporaryDir basis;
        const QString zustand = basis.filePath(QStringLiteral("state/ravik"));
        const mode_t vorher = ::umask(0); // nothing of the program's own may rely on it
        {
            Wiederherstellungsdatei datei(zustand, [](const QString& f) { QFAIL(qPrintable(f)); });
            datei.schreiben(
                {QStringLiteral("/a.ini"), TextEncoding::Utf8, EolStyle::Lf, false, "[A]"});
            datei.warten();
            QCOMPARE(modus(datei.pfad()), 0600);
        }
        ::umask(vorher);
        QCOMPARE(modus(basis.filePath(QStringLiteral("state"))), 0700);
        QCOMPARE(modus(zustand), 0700);

        // The user's own directory, opened to others meanwhile, is closed again.
        QVERIFY(QFile::setPermissions(zustand, QFileDevice::Permissions(0x7755)));
        QVERIFY(Wiederherstellung::verzeichnisOeffnen(zustand, true)->usable());
        QCOMPARE(modus(zustand), 0700);
    }

    // Root with a user's HOME (sudo -E), or a shared XDG_STATE_HOME: the directory is
    // not used, nothing in it or behind it changes, the user is told why.
    void einVerzeichnisDasNichtTaugtWirdNichtBenutzt_data() {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("grund");
        QTest::newRow("Verknüpfung") << "Verknüpfung" << "ist eine symbolische Verknüpfung";
        QTest::newRow("Verknüpfung ins Leere")
            << "Verknüpfung ins Leere" << "ist eine symbolische Verknüpfung";
        QTest::newRow("fremdes Verzeichnis, 0777")
            << "fremdes Verzeichnis" << "gehört einem anderen Benutzer und wird nicht verwendet";
        QTest::newRow("in fremdem Verzeichnis")
            << "in fremdem Verzeichnis" << "gehört einem anderen Benutzer; darin legt Ravik nichts an";
    }
    void einVerzeichnisDasNichtTaugtWirdNichtBenutzt() {
        QFETCH(QString, art);
        QFETCH(QString, grund);
        const bool fremd = art.contains("fremd");
        if (fremd && !testfiles::runningAsRoot())
            QSKIP("another user's folder can be made only by root; CI runs this as root");
        auto pruefen = [&](const QByteArray& bericht, const QString& zustand,
                           const QString& unberuehrt, const QString& vorher) {
            const QStringList teile = QString::fromUtf8(bericht).split('|');
            QCOMPARE(teile.size(), 2);
            QVERIFY2(teile[0].startsWith("Die Wiederherstellungskopie ") && teile[0].contains(grund) &&
                         !teile[0].contains('\n'),
                     qPrintable(teile[0]));
            QCOMPARE(teile[1], QString("0")); // nothing offered from there
            QCOMPARE(zustandVon(unberuehrt), vorher);
            QVERIFY(QFileInfo(zustand).isSymLink() == art.startsWith("Verknüpfung"));
        };
        {
            QTemporaryDir basis;
            const Falle f = fallen(basis.path(), art, ::geteuid(), testfiles::kUnprivilegedId);
            const QString vorher = zustandVon(f.unberuehrt);
            pruefen(versuchen(f.zustand), f.zustand, f.unberuehrt, vorher);
        }
        if (!testfiles::runningAsRoot())
            return;
        // An ordinary user, to whom root's folders are another user's.
        QTemporaryDir basis;
        const Falle f =
            fallen(basis.path(), art, testfiles::kUnprivilegedId, testfiles::kUnprivilegedId - 1);
        const QString vorher = zustandVon(f.unberuehrt);
        const auto bericht = testfiles::runUnprivileged([&] { return versuchen(f.zustand); });
        QVERIFY(bericht);
        pruefen(*bericht, f.zustand, f.unberuehrt, vorher);
    }

    // With SIGXFSZ ignored a copy beyond the file-size limit fails with EFBIG: the
    // reason is told, the last whole copy stays, nothing half-written is left, and the
    // next copy within the limit is written.
    void einZuGrosserKopieversuchHinterlaesstNichts() {
        QTemporaryDir zustand;
        QStringList meldungen;
        Wiederherstellungsdatei datei(zustand.path(), [&](const QString& text) { meldungen << text; });
        const Wiederherstellungskopie klein{"/a.ini", TextEncoding::Utf8, EolStyle::Lf, true, "[A]"};
        datei.schreiben(klein);
        datei.warten();
        {
            const testfiles::FileSizeLimit grenze(4096);
            datei.schreiben({"/a.ini", TextEncoding::Utf8, EolStyle::Lf, true, QByteArray(8192, 'x')});
            datei.warten();
        }
        QCOMPARE(meldungen.size(), 1);
        QVERIFY2(meldungen[0].endsWith("kann nicht geschrieben werden. Die Datei ist zu groß."),
                 qPrintable(meldungen[0]));
        QCOMPARE(testfiles::entries(zustand.path()).size(), 2); // the copy and its lock
        QCOMPARE(Wiederherstellung::lesen(datei.pfad())->text, QByteArray("[A]"));
        datei.schreiben({"/a.ini", TextEncoding::Utf8, EolStyle::Lf, true, "[B]"});
        datei.warten();
        QCOMPARE(meldungen.size(), 1);
        QCOMPARE(Wiederherstellung::lesen(datei.pfad())->text, QByteArray("[B]"));
    }

    void wasNichtGeschriebenWerdenKannWirdGemeldet() {
        QTemporaryDir basis;
        QFile(basis.filePath(QStringLiteral("datei"))).open(QIODevice::WriteOnly);
        QStringList meldungen;
        Wiederherstellungsdatei datei(basis.filePath(QStringLiteral("datei/ravik")),
                                      [&](const QString& text) { meldungen << text; });
        datei.schreiben({});
        datei.warten();
        QCOMPARE(meldungen.size(), 1);
        QVERIFY(meldungen[0].startsWith(QStringLiteral("Die Wiederherstellungskopie ")));
        QVERIFY(meldungen[0].contains(QStringLiteral("kann nicht geschrieben werden.")));
    }

    void eineBeschaedigteKopieGiltNicht_data() {
        QTest::addColumn<QByteArray>("inhalt");
        const QByteArray kopf = "Ravik-Wiederherstellung 1\nname: /a.ini\nkodierung: utf-8\n"
                                "zeilenende: lf\nansicht: editor\nlaenge: 3\n\n";
        QTest::newRow("vollständig (Gegenprobe)") << kopf + "[A]";
        QTest::newRow("abgeschnitten") << kopf + "[A";
        QTest::newRow("zu lang") << kopf + "[A]]";
        QTest::newRow("ohne Leerzeile") << kopf.left(kopf.size() - 1);
        QTest::newRow("andere Fassung") << QByteArray(kopf).replace("lung 1", "lung 2") + "[A]";
        QTest::newRow("unbekannte Kodierung")
            << QByteArray(kopf).replace("utf-8", "latin-9") + "[A]";
        QTest::newRow("ohne Ansicht") << QByteArray(kopf).replace("ansicht: editor\n", "") + "[A]";
        QTest::newRow("keine Kopie") << QByteArray("[A]\nk=1\n\n");
    }
    void eineBeschaedigteKopieGiltNicht() {
        QFETCH(QByteArray, inhalt);
        QTemporaryDir zustand;
        QFile f(zustand.filePath(QStringLiteral("k.wiederherstellung")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(inhalt);
        f.close();
        const bool gueltig = QByteArray(QTest::currentDataTag()).startsWith("vollständig");
        QCOMPARE(Wiederherstellung::lesen(f.fileName()).has_value(), gueltig);
    }

    void nurKopienBeendeterProzesseSindVerwaist() {
        QTemporaryDir zustand;
        const QString dir = zustand.path();
        {
            // A running writer's copy is its own.
            Wiederherstellungsdatei laufend(dir, {});
            laufend.schreiben({QString(), TextEncoding::Utf8, EolStyle::Lf, true, "läuft"});
            laufend.warten();
            QVERIFY(VerwaisteKopie::finden(dir).empty());
        }
        const QString aelter = QDir(dir).filePath(
            QFileInfo(QDir(dir).entryList({QStringLiteral("*.wiederherstellung")})[0]).fileName());
        // (Qt sets a file's times only through an open file.)
        QFile alt(aelter);
        QVERIFY(alt.open(QIODevice::ReadWrite));
        QVERIFY(alt.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                QFileDevice::FileModificationTime));
        alt.close();

        // A copy whose lock names this process's pid, though no writer here holds it:
        // an earlier process with the same pid left it.
        const QString neuer = hinterlassen(dir, "gleiche pid");
        QFile sperre(QString(neuer).replace(QStringLiteral(".wiederherstellung"),
                                            QStringLiteral(".sperre")));
        QVERIFY(sperre.open(QIODevice::WriteOnly));
        sperre.write(QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                     QFileInfo(QCoreApplication::applicationFilePath()).fileName().toUtf8() + '\n' +
                     QSysInfo::machineHostName().toUtf8() + '\n');
        sperre.close();
        // A process that ended while writing its first copy: its lock and the cut-off
        // write are cleared away.
        QProcess beendet;
        beendet.start(QStringLiteral("true"), {});
        QVERIFY(beendet.waitForStarted());
        const qint64 totePid = beendet.processId();
        QVERIFY(beendet.waitForFinished());
        QFile(QDir(dir).filePath(QStringLiteral("tot.wiederherstellung.neu")))
            .open(QIODevice::WriteOnly);
        QFile tot(QDir(dir).filePath(QStringLiteral("tot.sperre")));
        QVERIFY(tot.open(QIODevice::WriteOnly));
        tot.write(QByteArray::number(totePid) + "\ntrue\n" + QSysInfo::machineHostName().toUtf8() +
                  '\n');
        tot.close();

        std::vector<VerwaisteKopie> kopien = VerwaisteKopie::finden(dir);
        QCOMPARE(gefunden(kopien), (QStringList{neuer, aelter}));
        QVERIFY(
            !QFileInfo::exists(QDir(dir).filePath(QStringLiteral("tot.wiederherstellung.neu"))));
        QVERIFY(!QFileInfo::exists(QDir(dir).filePath(QStringLiteral("tot.sperre"))));
        QCOMPARE(kopien[0].lesen()->text, QByteArray("gleiche pid"));
        // While they are asked about, nobody else finds them.
        QVERIFY(VerwaisteKopie::finden(dir).empty());

        // One taken over becomes the taker's own copy; one given up is gone.
        Wiederherstellungsdatei nachfolger(dir, {});
        QVERIFY(nachfolger.uebernehmen(kopien[0]));
        QCOMPARE(Wiederherstellung::lesen(nachfolger.pfad())->text, QByteArray("gleiche pid"));
        kopien[1].verwerfen();
        kopien.clear();
        QVERIFY(VerwaisteKopie::finden(dir).empty());
        QCOMPARE(dateien(dir).size(), 2); // the taker's copy and lock
    }
};

QTEST_GUILESS_MAIN(WiederherstellungTest)
#include "WiederherstellungTest.moc"
