// The settings file: defaults, what is read and written back, the colours and where
// the file lives.
#include "app/editor/SynIniSyn.h"
#include "app/editor/SynMemo.h"
#include "app/settings/Farbfeld.h"
#include "tests/support/Umgebung.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

using namespace ravik;
using namespace ravik::test;

namespace {
void einstellungenSchreiben(Umgebung& u, const QByteArray& inhalt) {
    QFile f(u.programmverzeichnis.filePath("ravik.ini"));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(inhalt);
}
QByteArray einstellungen(Umgebung& u) {
    return Umgebung::lesen(u.programmverzeichnis.filePath("ravik.ini"));
}
void schliessen(TForm1& f) {
    QCloseEvent e;
    QCoreApplication::sendEvent(&f, &e);
}
} // namespace

class EinstellungenTest : public QObject {
    Q_OBJECT

private slots:
    void withoutAFileTheDefaultsApply() {
        Umgebung u;
        u.starten();
        QCOMPARE(u.w<QComboBox>("comboAnsicht")->currentIndex(), 0);
        QCOMPARE(u.w<QComboBox>("comboAnsicht")->currentText(), QString("Browseransicht"));
        QCOMPARE(u.w<Farbfeld>("farbeSektionen")->farbe(), QColor(255, 0, 0));
        QCOMPARE(u.w<Farbfeld>("farbeSchluessel")->farbe(), QColor(0, 0, 255));
        QCOMPARE(u.w<Farbfeld>("farbeAktuelleZeile")->farbe(), QColor(255, 255, 187));
        auto* memo = u.w<SynMemo>("SynMemo1");
        QCOMPARE(memo->highlighter()->sectionColor(), QColor(255, 0, 0));
        QCOMPARE(memo->highlighter()->keyColor(), QColor(0, 0, 255));
        QCOMPARE(memo->activeLineColor(), QColor(255, 255, 187));
    }

    // Settings that are not Ravik's to use (here a link planted for ravik.ini): told
    // once at the start, the defaults apply, and the close writes nothing through it.
    void aLinkedSettingsFileIsToldOnceAndNotWritten() {
        Umgebung u;
        QTemporaryDir aussen;
        const QString ziel = aussen.filePath("fremd.ini");
        QFile f(ziel);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[General]\r\nView=1\r\n");
        f.close();
        const QString link = u.programmverzeichnis.filePath("ravik.ini");
        QVERIFY(QFile::link(ziel, link));
        TForm1& form = u.starten({u.schreiben("a.ini", "[A]\n")});
        QCOMPARE(u.dialoge.messageTexts(),
                 QStringList{"Die Einstellungen werden nicht verwendet. Die Datei " + link +
                             " ist eine symbolische Verknüpfung und wird nicht verwendet.\r\n\r\n"
                             "Ravik beginnt mit den Voreinstellungen und speichert weder "
                             "Einstellungen noch die zuletzt geöffneten Dateien."});
        QCOMPARE(u.sichtbareAnsicht(), QString("browser")); // not the planted editor view
        u.w<QComboBox>("comboAnsicht")->setCurrentIndex(1);
        schliessen(form);
        QCOMPARE(u.dialoge.shown.size(), 1);
        QCOMPARE(Umgebung::lesen(ziel), QByteArray("[General]\r\nView=1\r\n"));
        QVERIFY(QFileInfo(link).isSymLink());
    }

    void anUnknownViewIsKeptAsMinusOne() {
        Umgebung u;
        einstellungenSchreiben(u, "[General]\r\nView=7\r\n");
        TForm1& f = u.starten();
        QCOMPARE(u.w<QComboBox>("comboAnsicht")->currentIndex(), -1);
        schliessen(f);
        QVERIFY(einstellungen(u).contains("View=-1\r\n"));
    }

    void theViewChoiceTakesEffectAtTheNextStart() {
        Umgebung u;
        const QString datei = u.schreiben("a.ini", "[A]\n");
        TForm1& f = u.starten();
        u.w<QComboBox>("comboAnsicht")->setCurrentIndex(1);
        schliessen(f);
        u.starten({datei});
        QCOMPARE(u.sichtbareAnsicht(), QString("editor"));
    }

    void aChangedColourAppliesAtOnceAndSurvivesARestart() {
        Umgebung u;
        TForm1& f = u.starten();
        u.dialoge.pickColor(QColor(0, 128, 0));
        u.klick("Button1");
        QCOMPARE(u.dialoge.shown[0].type, ShownDialog::Type::Color);
        QCOMPARE(u.dialoge.shown[0].initialColor, QColor(255, 0, 0));
        QCOMPARE(u.w<SynMemo>("SynMemo1")->highlighter()->sectionColor(), QColor(0, 128, 0));
        u.dialoge.pickColor(QColor(1, 2, 3));
        u.klick("Button3");
        QCOMPARE(u.w<SynMemo>("SynMemo1")->activeLineColor(), QColor(1, 2, 3));
        schliessen(f);
        QVERIFY(einstellungen(u).startsWith("[General]\r\nView=0\r\n[Color]\r\nSections=32768\r\n"
                                            "Keys=16711680\r\nActive=197121\r\n[Window]\r\n"));
        u.starten();
        QCOMPARE(u.w<Farbfeld>("farbeSektionen")->farbe(), QColor(0, 128, 0));
        QCOMPARE(u.w<SynMemo>("SynMemo1")->highlighter()->sectionColor(), QColor(0, 128, 0));
    }

    void cancellingThePickerChangesNothing() {
        Umgebung u;
        u.starten();
        u.dialoge.cancelColor();
        u.klick("Button2");
        QCOMPARE(u.w<Farbfeld>("farbeSchluessel")->farbe(), QColor(0, 0, 255));
        QCOMPARE(u.w<SynMemo>("SynMemo1")->highlighter()->keyColor(), QColor(0, 0, 255));
    }

    // Without a writable program directory (an installed program) the file lives in
    // the user's configuration directory, and is read from there too.
    void withoutAWritableProgramDirectoryTheUsersConfigurationIsUsed() {
        Umgebung u;
        u.programmverzeichnis.remove();
        TForm1& f = u.starten({u.schreiben("a.ini", "[A]\n")});
        const QString erwartet =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            "/ravik/ravik.ini";
        QCOMPARE(f.einstellungsdatei(), erwartet);
        QFile::remove(erwartet);
        u.w<QComboBox>("comboAnsicht")->setCurrentIndex(1);
        schliessen(f);
        QVERIFY(Umgebung::lesen(erwartet).contains("View=1"));
        Umgebung zweite;
        zweite.programmverzeichnis.remove();
        zweite.starten({zweite.schreiben("a.ini", "[A]\n")});
        QCOMPARE(zweite.sichtbareAnsicht(), QString("editor"));
        QFile::remove(erwartet);
    }

    // A settings file that cannot be written is reported as such, and the window
    // still closes.
    void aFailedWriteIsReportedAndTheWindowCloses() {
        Umgebung u;
        QVERIFY(QDir(u.programmverzeichnis.path()).mkdir("ravik.ini"));
        TForm1& f = u.starten();
        QCloseEvent e;
        QCoreApplication::sendEvent(&f, &e);
        QCOMPARE(u.dialoge.messageTexts(),
                 QStringList{QString("In %1 kann nicht geschrieben werden.")
                                 .arg(u.programmverzeichnis.filePath("ravik.ini"))});
        QVERIFY(e.isAccepted());
    }
};

QTEST_MAIN(EinstellungenTest)
#include "EinstellungenTest.moc"
