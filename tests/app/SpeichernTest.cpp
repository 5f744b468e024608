// Saving in both views: the save dialog, the backup copy, the passes through the INI
// engine, the exact bytes that reach the file, and failures that leave everything
// as it was.
#include "app/browser/IniBaum.h"
#include "tests/support/Umgebung.h"

#include <Qsci/qsciscintilla.h>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>

using namespace ravik;
using namespace ravik::test;

namespace {
const QByteArray kDatei =
    "; Einstellungen\r\n[Allgemein]\r\nName = Beispiel\r\nZahl=1\r\n\r\n[Leer]\r\n; Ende\r\n";

void speichernAls(Umgebung& u, const QString& pfad) {
    u.dialoge.chooseFile(pfad);
    u.klick("tbtnDateispeichern");
}
} // namespace

class SpeichernTest : public QObject {
    Q_OBJECT

private slots:
    void anUnchangedDocumentSavesByteIdentical() {
        Umgebung u;
        const QString datei = u.schreiben("a.ini", kDatei);
        TForm1& f = u.starten({datei});
        u.klick("btnOK"); // enables the save button
        speichernAls(u, datei);
        QCOMPARE(u.dialoge.shown[0].type, ShownDialog::Type::Save);
        QCOMPARE(u.dialoge.shown[0].preset, datei);
        QCOMPARE(Umgebung::lesen(datei), kDatei);
        QCOMPARE(Umgebung::lesen(datei + ".bak"), kDatei);
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
    }

    void oneChangedValueChangesExactlyThatLine() {
        Umgebung u;
        const QString datei = u.schreiben("a.ini", kDatei);
        TForm1& f = u.starten({datei});
        u.auswaehlen("Allgemein/Zahl");
        u.w<QLineEdit>("WertAnzeige")->setText("2");
        u.klick("btnOK");
        speichernAls(u, datei);
        QByteArray erwartet = kDatei;
        erwartet.replace("Zahl=1", "Zahl=2");
        QCOMPARE(Umgebung::lesen(datei), erwartet);
        QCOMPARE(Umgebung::lesen(datei + ".bak"), kDatei);
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
        // Reopening shows the same tree and values.
        Umgebung wieder;
        wieder.starten({datei});
        QCOMPARE(wieder.tabelle(), u.tabelle().replaceInStrings("|change", "|"));
    }

    void renamesDeletesAndNewEntriesReachTheFile() {
        Umgebung u;
        const QString datei = u.schreiben("a.ini", "[A]\r\nk=1\r\nm=2\r\n[B]\r\nx=9\r\n");
        u.starten({datei});
        u.auswaehlen("A/k");
        u.w<QLineEdit>("SchluesselAnzeige")->setText("k2");
        u.klick("btnOK");
        u.auswaehlen("B");
        u.dialoge.answer(Answer::Ok);
        u.klick("tbtnDelete");
        u.dialoge.type("C");
        u.klick("tbtnNeueSektion");
        u.dialoge.type("neu");
        u.dialoge.type("wert");
        u.klick("tbtnNeuerWert");
        speichernAls(u, datei);
        // The renamed key keeps its line.
        QCOMPARE(Umgebung::lesen(datei), QByteArray("[A]\r\nk2=1\r\nm=2\r\n[C]\r\nneu=wert\r\n"));
    }

    // A renamed section keeps its place, its comments and blank lines; a rename that
    // only changes case is written too.
    void renamedSectionsStayInPlace_data() {
        QTest::addColumn<QString>("neuerName");
        QTest::newRow("other name") << "Netz";
        QTest::newRow("only case") << "netzwerk";
    }
    void renamedSectionsStayInPlace() {
        QFETCH(QString, neuerName);
        Umgebung u;
        const QByteArray inhalt = "; Kopf\n[Netzwerk] ; Kommentar\n; host erklärt\nhost = a\n\n[Ende]\nx=1\n";
        const QString datei = u.schreiben("a.ini", inhalt);
        u.starten({datei});
        u.auswaehlen("Netzwerk");
        u.w<QLineEdit>("SektionAnzeige")->setText(neuerName);
        u.klick("btnOK");
        speichernAls(u, datei);
        QByteArray erwartet = inhalt;
        erwartet.replace("[Netzwerk]", "[" + neuerName.toUtf8() + "]");
        QCOMPARE(Umgebung::lesen(datei), erwartet);
        // Saved once more, nothing moves.
        u.klick("btnOK");
        speichernAls(u, datei);
        QCOMPARE(Umgebung::lesen(datei), erwartet);
    }

    void saveAsMakesTheBackupOfTheOldFileAndRenamesTheDocument() {
        Umgebung u;
        const QString alt = u.schreiben("alt.ini", kDatei);
        TForm1& f = u.starten({alt});
        u.klick("btnOK"); // enables saving
        const QString neu = u.pfad("neu.ini");
        speichernAls(u, neu);
        QCOMPARE(Umgebung::lesen(alt + ".bak"), kDatei);
        QVERIFY(!QFileInfo::exists(neu + ".bak"));
        QCOMPARE(f.dateiname(), neu);
        QCOMPARE(f.windowTitle(), QString("Ravik: Der Velmora INI-Editor (\"neu.ini\")"));
        // The document is saved whole, comments and layout included.
        QCOMPARE(Umgebung::lesen(neu), kDatei);
    }

    // Saving over another file writes the document: the other file's content is gone.
    void savingOverAnotherFileReplacesIt() {
        Umgebung u;
        const QString quelle = u.schreiben("q.ini", "[A]\r\nk=1\r\n");
        const QString ziel = u.schreiben("z.ini", "[A]\r\nk=0\r\ntemp=bleibt\r\n[Z]\r\nz=1\r\n");
        u.starten({quelle});
        u.w<QCheckBox>("CheckBox2")->setChecked(false);
        u.dialoge.clear();
        u.klick("btnOK"); // enables saving
        speichernAls(u, ziel);
        QCOMPARE(Umgebung::lesen(ziel), QByteArray("[A]\r\nk=1\r\n"));
    }

    void cancellingTheSaveDialogChangesNothing() {
        Umgebung u;
        const QString datei = u.schreiben("a.ini", kDatei);
        TForm1& f = u.starten({datei});
        u.auswaehlen("Allgemein/Zahl");
        u.w<QLineEdit>("WertAnzeige")->setText("2");
        u.klick("btnOK");
        u.dialoge.cancelFileDialog();
        u.klick("tbtnDateispeichern");
        QCOMPARE(Umgebung::lesen(datei), kDatei);
        QVERIFY(!QFileInfo::exists(datei + ".bak"));
        QCOMPARE(f.dateistatus(), QString("geaendert"));
    }

    // A new document has no file to copy: the backup is skipped and the save goes on.
    void aNewDocumentSavesWithTheBackupBoxChecked() {
        Umgebung u;
        TForm1& f = u.starten();
        u.klick("BitBtn3");
        u.dialoge.type("Neu");
        u.klick("tbtnNeueSektion");
        QVERIFY(u.w<QCheckBox>("CheckBox1")->isChecked());
        speichernAls(u, u.pfad("neu.ini"));
        QCOMPARE(u.dialoge.messageTexts(), QStringList());
        QCOMPARE(Umgebung::lesen(u.pfad("neu.ini")), QByteArray("[Neu]\r\n"));
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
    }

    // Deleting every section and saving removes them from the file.
    void anEmptiedTreeRemovesEverySection() {
        Umgebung u;
        const QString datei = u.schreiben("a.ini", "; Kopf\r\n[A]\r\nk=1\r\n[B]\r\n");
        u.starten({datei});
        for (const char* s : {"A", "B"}) {
            u.auswaehlen(s);
            u.dialoge.answer(Answer::Ok);
            u.klick("tbtnDelete");
        }
        QVERIFY(u.baumTexte().isEmpty());
        speichernAls(u, datei);
        QCOMPARE(Umgebung::lesen(datei), QByteArray("; Kopf\r\n"));
    }

    void anEmptiedTreeSavedUnderANewNameCreatesTheFile() {
        Umgebung u;
        u.starten();
        u.klick("BitBtn3");
        u.w<QCheckBox>("CheckBox2")->setChecked(false);
        u.dialoge.clear();
        u.w<QWidget>("tbtnDateispeichern")->setEnabled(true);
        speichernAls(u, u.pfad("leer.ini"));
        QVERIFY(QFileInfo::exists(u.pfad("leer.ini")));
        QCOMPARE(Umgebung::lesen(u.pfad("leer.ini")), QByteArray());
    }

    // An empty section deleted in the tree leaves the file, renamed ones too.
    void deletedOrRenamedEmptySectionsLeaveTheFile() {
        Umgebung u;
        const QString datei = u.schreiben("a.ini", "[A]\r\nk=1\r\n[Leer]\r\n[Alt]\r\n");
        u.starten({datei});
        u.auswaehlen("Leer");
        u.dialoge.answer(Answer::Ok);
        u.klick("tbtnDelete");
        u.auswaehlen("Alt");
        u.w<QLineEdit>("SektionAnzeige")->setText("Neu");
        u.klick("btnOK");
        speichernAls(u, datei);
        QCOMPARE(Umgebung::lesen(datei), QByteArray("[A]\r\nk=1\r\n[Neu]\r\n"));
    }

    void editorSavesItsTextAndAnEmptyText() {
        Umgebung u;
        QFile ini(u.programmverzeichnis.filePath("ravik.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[General]\nView=1\n");
        ini.close();
        const QString datei = u.schreiben("a.ini", "a\nb");
        TForm1& f = u.starten({datei});
        auto* memo = u.w<QsciScintilla>("SynMemo1");
        QCOMPARE(memo->text(), QString("a\nb"));
        u.w<QWidget>("tbtnDateispeichern")->setEnabled(true);
        speichernAls(u, datei);
        QCOMPARE(Umgebung::lesen(datei), QByteArray("a\nb"));
        memo->selectAll();
        memo->removeSelectedText();
        speichernAls(u, datei);
        QCOMPARE(Umgebung::lesen(datei), QByteArray()); // the user deleted everything
        QCOMPARE(Umgebung::lesen(datei + ".bak"), QByteArray("a\nb"));
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
    }

    void aFailedSaveLeavesFileStatusAndTitles() {
        Umgebung u;
        const QString datei = u.schreiben("a.ini", kDatei);
        TForm1& f = u.starten({datei});
        u.auswaehlen("Allgemein/Zahl");
        u.w<QLineEdit>("WertAnzeige")->setText("2");
        u.klick("btnOK");
        const QString titel = f.windowTitle();
        // The target is a directory: it cannot be written.
        QDir(u.datenverzeichnis.path()).mkdir("ordner.ini");
        speichernAls(u, u.pfad("ordner.ini"));
        QCOMPARE(u.dialoge.shown.last().kind, MessageKind::AppError);
        QCOMPARE(u.dialoge.shown.last().text,
                 QString("In %1 kann nicht geschrieben werden.").arg(u.pfad("ordner.ini")));
        QCOMPARE(f.dateistatus(), QString("geaendert"));
        QCOMPARE(f.dateiname(), datei);
        QCOMPARE(f.windowTitle(), titel);
        QCOMPARE(Umgebung::lesen(datei), kDatei);
    }

    void anUnwritableBackupStopsTheSaveBeforeAnythingIsWritten() {
        Umgebung u;
        const QString datei = u.schreiben("a.ini", kDatei);
        TForm1& f = u.starten({datei});
        QDir(u.datenverzeichnis.path()).mkdir("a.ini.bak"); // the backup cannot be made
        u.auswaehlen("Allgemein/Zahl");
        u.w<QLineEdit>("WertAnzeige")->setText("2");
        u.klick("btnOK");
        speichernAls(u, datei);
        QVERIFY(u.dialoge.shown.last().text.startsWith(QString("Datei \"%1.bak\" kann nicht erstellt werden. ").arg(datei)));
        QCOMPARE(Umgebung::lesen(datei), kDatei);
        QCOMPARE(f.dateistatus(), QString("geaendert"));
    }

    void checkBoxesStayInStepAndWarnOnce() {
        Umgebung u;
        u.starten();
        auto* eins = u.w<QCheckBox>("CheckBox1");
        auto* zwei = u.w<QCheckBox>("CheckBox2");
        zwei->click();
        QVERIFY(!eins->isChecked() && !zwei->isChecked());
        QCOMPARE(u.dialoge.shown.size(), 1);
        QCOMPARE(u.dialoge.shown[0].kind, MessageKind::Warning);
        QVERIFY(u.dialoge.shown[0].text.startsWith("Änderungen an Konfigurationsdateien können zu unvorhersehbaren\r\n"));
        eins->click();
        QVERIFY(eins->isChecked() && zwei->isChecked());
        QCOMPARE(u.dialoge.shown.size(), 1);
        eins->click();
        QVERIFY(!eins->isChecked() && !zwei->isChecked());
        QCOMPARE(u.dialoge.shown.size(), 2);
    }

    // Whatever was open before, a new document is UTF-8 with CR LF line ends.
    void aNewDocumentIsUtf8WithCrLf() {
        Umgebung u;
        u.starten({u.schreiben("alt.ini", "[\xc4]\nk=\x80\n")});
        u.dialoge.type("Größe");
        u.klick("tbtnNeu");
        u.dialoge.type("Maß");
        u.dialoge.type("1 €");
        u.klick("tbtnNeuerWert");
        const QString neu = u.pfad("neu.ini");
        speichernAls(u, neu);
        QCOMPARE(Umgebung::lesen(neu), QStringLiteral("[Größe]\r\nMaß=1 €\r\n").toUtf8());
    }
};

QTEST_MAIN(SpeichernTest)
#include "SpeichernTest.moc"
