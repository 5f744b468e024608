// The settings as the core reads and writes them, without a window: defaults, the
// profile rules for numbers, what is written back, failures, and where the file lives.
#include "core/platform/errors/RavikError.h"
#include "core/settings/Einstellungen.h"
#include "tests/platform/TestFiles.h"

#include <QStandardPaths>
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
