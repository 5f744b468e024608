// The settings as the core reads and writes them, without a window: defaults, the
// profile rules for numbers, what is written back, failures, and where the file lives.
#include "core/platform/errors/RavikError.h"
#include "core/settings/Einstellungen.h"
#include "core/settings/ZuletztGeoeffnet.h"
#include "tests/platform/TestFiles.h"

#include <QStandardPaths>
#include <sys/stat.h>
#include <QTemporaryDir>
#include <QTest>

using namespace ravik;
using namespace testfiles;

namespace {
QString schreibfehler(const Einstellungen& e, const QString& datei) {
    try {
        e.schreiben(datei);
    } catch (const EIniFileException& fehler) {
        return fehler.message();
    }
    return QStringLiteral("<geschrieben>");
}

const QByteArray kAussen = "[General]\r\nView=1\r\n";

// The settings file `basis`/cfg/ravik/ravik.ini planted where an attacker would, for
// a user `ich`; the file outside (or another user's) that must stay as it is.
QString pflanzen(const QString& basis, const QString& art, uid_t ich, uid_t fremd) {
    auto geben = [](const QString& pfad, uid_t wem, mode_t modus) {
        const QByteArray nativ = QFile::encodeName(pfad);
        if (runningAsRoot())
            (void)::lchown(nativ.constData(), wem, wem);
        (void)::chmod(nativ.constData(), modus);
    };
    QDir(basis).mkpath("cfg");
    QDir(basis).mkpath("aussen");
    geben(basis, ::geteuid(), 0755);
    geben(basis + "/cfg", ich, 0755);
    const QString ordner = basis + "/cfg/ravik";
    QString aussen = basis + "/aussen/ravik.ini";
    if (art == "Ordner als Verknüpfung") {
        QFile::link(basis + "/aussen", ordner);
    } else {
        QDir().mkdir(ordner);
        geben(ordner, art == "fremder Ordner" ? fremd : ich, art == "fremder Ordner" ? 0777 : 0755);
    }
    if (art == "ravik.ini als Verknüpfung")
        QFile::link(aussen, ordner + "/ravik.ini");
    if (art.startsWith("fremde"))
        aussen = ordner + "/ravik.ini";
    writeFile(aussen, kAussen);
    geben(aussen, fremd, 0666);
    geben(basis + "/aussen", fremd, 0755);
    return aussen;
}

// What the settings and the recent files make of it, as the user runs them.
QByteArray benutzen(const QString& datei) {
    QString merken = QStringLiteral("<gemerkt>");
    try {
        ZuletztGeoeffnet(datei).merken(QStringLiteral("/etc/a.ini"));
    } catch (const RavikError& fehler) {
        merken = fehler.message();
    }
    return QStringList{Einstellungen::gesperrt(datei),
                       QString::number(Einstellungen::lesen(datei).ansicht),
                       schreibfehler(Einstellungen(), datei), merken,
                       QString::number(ZuletztGeoeffnet(datei).dateien().size())}
        .join('|')
        .toUtf8();
}
} // namespace

class EinstellungenDateiTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString pfad(const QString& name) const { return dir_.filePath(name); }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void withoutAFileTheDefaultsApply() {
        for (const QString& datei : {pfad("fehlt.ini"), dir_.path()}) {
            const Einstellungen e = Einstellungen::lesen(datei);
            QCOMPARE(e.ansicht, 0);
            QCOMPARE(e.farbeSektionen, 255);
            QCOMPARE(e.farbeSchluessel, 16711680);
            QCOMPARE(e.farbeAktuelleZeile, 12320767);
        }
    }

    void valuesAreReadByTheProfileRules_data() {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<int>("ansicht");
        QTest::addColumn<int>("sektionen");
        QTest::newRow("editor view") << QByteArray("[General]\r\nView=1\r\n") << 1 << 255;
        QTest::newRow("no such view, kept") << QByteArray("[General]\r\nView=7\r\n") << 7 << 255;
        QTest::newRow("decimal") << QByteArray("[Color]\r\nSections=65280\r\n") << 0 << 65280;
        QTest::newRow("hexadecimal") << QByteArray("[Color]\r\nSections=0x0000FF\r\n") << 0 << 255;
        QTest::newRow("a word gives the default")
            << QByteArray("[Color]\r\nSections=rot\r\n") << 0 << 255;
        QTest::newRow("empty gives the default")
            << QByteArray("[Color]\r\nSections=\r\n") << 0 << 255;
    }
    void valuesAreReadByTheProfileRules() {
        QFETCH(QByteArray, inhalt);
        QFETCH(int, ansicht);
        QFETCH(int, sektionen);
        QVERIFY(writeFile(pfad("ravik.ini"), inhalt));
        const Einstellungen e = Einstellungen::lesen(pfad("ravik.ini"));
        QCOMPARE(e.ansicht, ansicht);
        QCOMPARE(e.farbeSektionen, sektionen);
        QCOMPARE(e.farbeSchluessel, 16711680);
    }

    void whatIsWrittenReadsBack() {
        const QString datei = pfad("neu/ravik.ini"); // the folder is made too
        Einstellungen e;
        e.ansicht = -1; // the view list without a selection
        e.farbeSektionen = 32768;
        e.farbeAktuelleZeile = 197121;
        e.schreiben(datei);
        QCOMPARE(readFile(datei), QByteArray("[General]\r\nView=-1\r\n[Color]\r\nSections=32768\r\n"
                                             "Keys=16711680\r\nActive=197121\r\n"));
        const Einstellungen gelesen = Einstellungen::lesen(datei);
        QCOMPARE(gelesen.ansicht, -1);
        QCOMPARE(gelesen.farbeSektionen, 32768);
        QCOMPARE(gelesen.farbeSchluessel, 16711680);
        QCOMPARE(gelesen.farbeAktuelleZeile, 197121);
    }

    // A hand-edited file keeps its comments and layout; numbers go back as decimals.
    void aHandEditedFileKeepsItsLinesAndGetsDecimals() {
        const QString datei = pfad("hand.ini");
        QVERIFY(writeFile(
            datei, "; meine Farben\r\n[Color]\r\nSections = 0x0000FF\r\n[Eigenes]\r\na=b\r\n"));
        Einstellungen::lesen(datei).schreiben(datei);
        QCOMPARE(readFile(datei),
                 QByteArray("; meine Farben\r\n[Color]\r\nSections = 255\r\n"
                            "Keys=16711680\r\nActive=12320767\r\n[Eigenes]\r\na=b\r\n"
                            "[General]\r\nView=0\r\n"));
    }

    void aFailedWriteSaysSo() {
        QVERIFY(QDir(dir_.path()).mkdir("ordner.ini"));
        QVERIFY(writeFile(pfad("datei"), "x"));
        for (const QString& datei : {pfad("ordner.ini"), pfad("datei/ravik.ini")})
            QCOMPARE(schreibfehler(Einstellungen(), datei),
                     QStringLiteral("In %1 kann nicht geschrieben werden").arg(datei));
        QCOMPARE(readFile(pfad("datei")), QByteArray("x"));
    }

    // Root with a user's HOME (sudo -E), or a folder shared with others: the settings
    // are the defaults, nothing is written, and what the link leads to stays.
    void aLinkedOrForeignSettingsFileIsNotUsed_data() {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("grund");
        QTest::newRow("ravik.ini als Verknüpfung")
            << "ravik.ini als Verknüpfung" << "Die Datei %1 ist eine symbolische Verknüpfung";
        QTest::newRow("Ordner als Verknüpfung")
            << "Ordner als Verknüpfung" << "Das Verzeichnis %2 ist eine symbolische Verknüpfung";
        QTest::newRow("fremder Ordner, 0777")
            << "fremder Ordner" << "Das Verzeichnis %2 gehört einem anderen Benutzer";
        QTest::newRow("fremde Datei") << "fremde Datei" << "Die Datei %1 gehört einem anderen Benutzer";
    }
    void aLinkedOrForeignSettingsFileIsNotUsed() {
        QFETCH(QString, art);
        QFETCH(QString, grund);
        if (art.contains("fremd") && !runningAsRoot())
            QSKIP("another user's file can be made only by root; CI runs this as root");
        auto pruefen = [&](const QString& basis, const QString& aussen, const QByteArray& bericht) {
            const QString datei = basis + "/cfg/ravik/ravik.ini";
            const QStringList teile = QString::fromUtf8(bericht).split('|');
            QCOMPARE(teile.size(), 5);
            const QString erwartet =
                QString(grund).replace("%1", datei).replace("%2", basis + "/cfg/ravik");
            QVERIFY2(teile[0].startsWith(erwartet), qPrintable(teile[0]));
            QCOMPARE(teile[1], QString("0")); // the default view, not the planted one
            QCOMPARE(teile[2], QStringLiteral("In %1 kann nicht geschrieben werden").arg(datei));
            QVERIFY(teile[3] != "<gemerkt>");
            QCOMPARE(teile[4], QString("0"));
            QCOMPARE(readFile(aussen), kAussen);
            QCOMPARE(entries(QFileInfo(aussen).path()), QStringList{"ravik.ini"});
        };
        {
            QTemporaryDir basis;
            const QString aussen = pflanzen(basis.path(), art, ::geteuid(), kUnprivilegedId);
            pruefen(basis.path(), aussen, benutzen(basis.path() + "/cfg/ravik/ravik.ini"));
        }
        if (!runningAsRoot())
            return;
        // An ordinary user, to whom root's and a third user's files are another's.
        QTemporaryDir basis;
        const QString aussen = pflanzen(basis.path(), art, kUnprivilegedId, kUnprivilegedId - 1);
        const auto bericht =
            runUnprivileged([&] { return benutzen(basis.path() + "/cfg/ravik/ravik.ini"); });
        QVERIFY(bericht);
        pruefen(basis.path(), aussen, *bericht);
    }

    void theFileLivesBesideAPortableProgramOnly_data() {
        QTest::addColumn<QString>("programmverzeichnis");
        QTest::addColumn<bool>("portabel");
        QTest::addColumn<bool>("nurAlsRoot"); // the folder is writable for root alone
        QTest::newRow("build tree or unpacked copy") << dir_.path() << true << false;
        QTest::newRow("missing folder") << pfad("fehlt") << false << false;
        QTest::newRow("/usr/bin") << "/usr/bin" << false << true;
        QTest::newRow("/usr/local/bin") << "/usr/local/bin" << false << true;
        QTest::newRow("linked into /usr") << pfad("verweis") << false << true;
    }
    void theFileLivesBesideAPortableProgramOnly() {
        QFETCH(QString, programmverzeichnis);
        QFETCH(bool, portabel);
        QFETCH(bool, nurAlsRoot);
        if (nurAlsRoot && !runningAsRoot())
            QSKIP("only root may write there, so only for root the folder's kind decides");
        QFile::link("/usr/local/bin", pfad("verweis"));
        QCOMPARE(Einstellungen::portabel(programmverzeichnis), portabel);
        const QString erwartet =
            portabel ? programmverzeichnis + "/ravik.ini"
                     : QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           "/ravik/ravik.ini";
        QCOMPARE(Einstellungen::datei(programmverzeichnis), erwartet);
    }
};

QTEST_GUILESS_MAIN(EinstellungenDateiTest)
#include "EinstellungenDateiTest.moc"
