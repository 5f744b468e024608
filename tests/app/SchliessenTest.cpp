// New file, the two-step unsaved-changes question, and closing the window.
#include "tests/support/Umgebung.h"
#include "app/platform/widgets/Seitenteiler.h"

#include <Qsci/qsciscintilla.h>
#include <QCloseEvent>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

using namespace ravik;
using namespace ravik::test;

namespace {
const QString kErsteFrage =
    "Die aktuelle Datei wurde noch nicht gespeichert. Änderungen gehen verloren,\r\n"
    "wenn Sie eine neue Datei öffnen.\r\n\r\nWollen Sie jetzt speichern?";
const QString kZweiteFrage =
    "Sind Sie sicher, dass Sie die aktuellen Änderungen verwerfen wollen?\r\n\r\n"
    "Dieser Vorgang kann nicht rückgängig gemacht werden!";
const QString kSchliessenFrage =
    "Die aktuelle Datei wurde noch nicht gespeichert...\r\n\r\nWollen Sie jetzt speichern?";

// A browser document with one unsaved change.
TForm1& geaendert(Umgebung& u) {
    TForm1& f = u.starten({u.schreiben("a.ini", "[A]\nk=1\n")});
    u.auswaehlen("A/k");
    u.w<QLineEdit>("WertAnzeige")->setText("2");
    u.klick("btnOK");
    return f;
}

bool schliessen(TForm1& f) {
    QCloseEvent e;
    QCoreApplication::sendEvent(&f, &e);
    return e.isAccepted();
}
} // namespace

class SchliessenTest : public QObject {
    Q_OBJECT

private slots:
    void newFileInTheBrowserAsksForTheFirstSection() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", "[A]\nk=1\n")});
        u.dialoge.cancelInput();
        u.klick("tbtnNeu");
        QCOMPARE(u.dialoge.shown.size(), 1);
        QCOMPARE(u.dialoge.shown[0].caption, QString("Neue Sektion einfügen"));
        QVERIFY(u.baumTexte().isEmpty());
        QVERIFY(f.werteTabelle().istLeer());
        QCOMPARE(f.dateiname(), QString());
        QCOMPARE(f.windowTitle(), QString("Ravik: Der Velmora INI-Editor (Neue Datei)"));
        QCOMPARE(f.anwendungstitel(), QString("Ravik"));
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
        QVERIFY(!u.aktiv("SektionAnzeige"));
    }

    void newFileInTheEditorEmptiesItForGood() {
        Umgebung u;
        TForm1& f = u.starten();
        u.klick("BitBtn2");
        auto* memo = u.w<QsciScintilla>("SynMemo1");
        memo->setText("[A]");
        memo->insertAt("x", 0, 0);
        QVERIFY(memo->isUndoAvailable());
        u.dialoge.answer(Answer::No);  // the changes are thrown away ...
        u.dialoge.answer(Answer::Yes); // ... for sure
        u.klick("tbtnNeu");
        QCOMPARE(memo->text(), QString());
        QVERIFY(!memo->isUndoAvailable());
        QCOMPARE(f.windowTitle(), QString("Ravik: Der Velmora INI-Editor (Neue Datei)"));
        QCOMPARE(u.dialoge.shown.size(), 2); // the two questions of the guard
        QVERIFY(u.dialoge.allAnswersUsed());
    }

    void theGuardFollowsTheAnswers_data() {
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<QList<int>>("antworten"); // Answer values
        QTest::addColumn<bool>("gespeichert");      // the save action ran
        QTest::addColumn<bool>("weiter");           // the new/open action ran
        const int ja = int(Answer::Yes), nein = int(Answer::No), abbr = int(Answer::Cancel);
        for (const char* k : {"tbtnNeu", "tbtnDateiladen"}) {
            QTest::addRow("%s yes", k) << k << QList<int>{ja} << true << false;
            QTest::addRow("%s cancel", k) << k << QList<int>{abbr} << false << false;
            QTest::addRow("%s no, yes", k) << k << QList<int>{nein, ja} << false << true;
            QTest::addRow("%s no, no", k) << k << QList<int>{nein, nein} << true << false;
            QTest::addRow("%s no, cancel", k) << k << QList<int>{nein, abbr} << false << false;
        }
    }
    void theGuardFollowsTheAnswers() {
        QFETCH(QString, knopf);
        QFETCH(QList<int>, antworten);
        QFETCH(bool, gespeichert);
        QFETCH(bool, weiter);
        Umgebung u;
        TForm1& f = geaendert(u);
        for (int a : antworten)
            u.dialoge.answer(Answer(a));
        u.dialoge.cancelFileDialog(); // whichever file dialog comes
        u.dialoge.cancelInput();      // the new file's first section, if asked
        u.klick(knopf);
        QCOMPARE(u.dialoge.shown[0].text, kErsteFrage);
        QCOMPARE(u.dialoge.shown[0].kind, MessageKind::Warning);
        QCOMPARE(u.dialoge.shown[0].buttons, MessageButtons::YesNoCancel);
        if (antworten.size() > 1) {
            QCOMPARE(u.dialoge.shown[1].text, kZweiteFrage);
            QCOMPARE(u.dialoge.shown[1].kind, MessageKind::Confirmation);
        }
        const ShownDialog& danach = u.dialoge.shown.value(antworten.size());
        QCOMPARE(gespeichert, u.dialoge.shown.size() > antworten.size() && danach.type == ShownDialog::Type::Save);
        const bool neuOderOeffnen = u.dialoge.shown.size() > antworten.size() &&
                                    (danach.type == ShownDialog::Type::Open || danach.type == ShownDialog::Type::Input);
        QCOMPARE(neuOderOeffnen, weiter);
        // Only "discard" makes the document count as saved.
        QCOMPARE(f.dateistatus(), QString(weiter ? "gespeichert" : "geaendert"));
    }

    void yesSavesThenTheNextClickStartsANewFile() {
        Umgebung u;
        TForm1& f = geaendert(u);
        u.dialoge.answer(Answer::Yes);
        u.dialoge.chooseFile(u.pfad("a.ini"));
        u.klick("tbtnNeu");
        QCOMPARE(Umgebung::lesen(u.pfad("a.ini")), QByteArray("[A]\nk=2\n"));
        QCOMPARE(u.baumTexte(), (QStringList{"A", "A/k"})); // the old document stays
        u.dialoge.cancelInput();
        u.klick("tbtnNeu");
        QVERIFY(u.baumTexte().isEmpty());
        QCOMPARE(f.dateiname(), QString());
    }

    void closingWritesSettingsAndAsksOnlyWhenUnsaved() {
        Umgebung u;
        TForm1& f = u.starten();
        QVERIFY(schliessen(f));
        QVERIFY(u.dialoge.shown.isEmpty());
        QCOMPARE(Umgebung::lesen(u.programmverzeichnis.filePath("ravik.ini")),
                 QByteArray("[General]\r\nView=0\r\n[Color]\r\nSections=255\r\nKeys=16711680\r\nActive=12320767\r\n"
                            "[Window]\r\nLeft=0\r\nTop=0\r\nWidth=630\r\nHeight=443\r\nMaximized=0\r\n"
                            "DetailWidth=317\r\nSidePanelWidth=232\r\n"));
    }

    // Size, place and the side panels' widths come back at the next start; the older
    // settings stay as they were.
    void theWindowKeepsItsPlaceAndPanelWidths() {
        QByteArray gemerkt;
        {
            Umgebung u;
            TForm1& f = u.starten({u.schreiben("a.ini", "[A]\r\nk=1\r\n")});
            f.lageHerstellen();
            f.setGeometry(40, 50, 700, 480);
            u.zeigen();
            u.w<Seitenteiler>("teilerBrowser")->setSeitenbreite(400);
            QCOMPARE(u.w<QWidget>("panelWerte")->width(), 400);
            u.klick("chkAuskommentierte"); // switched-off keys hidden
            QVERIFY(schliessen(f));
            gemerkt = Umgebung::lesen(u.programmverzeichnis.filePath("ravik.ini"));
            QVERIFY2(gemerkt.contains("[Window]\r\nLeft=40\r\nTop=50\r\nWidth=700\r\nHeight=480\r\n"
                                      "Maximized=0\r\nDetailWidth=400\r\nSidePanelWidth=232\r\n"),
                     gemerkt.constData());
            QVERIFY2(gemerkt.contains("[General]\r\nView=0\r\n[Color]\r\nSections=255\r\n"), gemerkt.constData());
            QVERIFY2(gemerkt.endsWith("[Tree]\r\nShowCommented=0\r\n"), gemerkt.constData());
        }
        Umgebung u;
        QFile einstellungen(u.programmverzeichnis.filePath("ravik.ini"));
        QVERIFY(einstellungen.open(QIODevice::WriteOnly));
        einstellungen.write(gemerkt);
        einstellungen.close();
        TForm1& f = u.starten({u.schreiben("a.ini", "[A]\r\nk=1\r\n")});
        f.lageHerstellen();
        u.zeigen();
        QCOMPARE(f.geometry(), QRect(40, 50, 700, 480));
        QCOMPARE(u.w<QWidget>("panelWerte")->width(), 400);
        QVERIFY(!u.w<QCheckBox>("chkAuskommentierte")->isChecked());
    }

    void closingFromHelpReturnsToTheDocumentsViewFirst() {
        Umgebung u;
        TForm1& f = geaendert(u);
        u.klick("tbtnHilfe");
        u.dialoge.answer(Answer::No);
        QVERIFY(schliessen(f));
        QCOMPARE(u.sichtbareAnsicht(), QString("browser"));
        QCOMPARE(u.dialoge.messageTexts(), QStringList{kSchliessenFrage});
        QCOMPARE(Umgebung::lesen(u.pfad("a.ini")), QByteArray("[A]\nk=1\n")); // No: not saved
    }

    void closingFromOptionsSavesThatViewsContent() {
        Umgebung u;
        TForm1& f = u.starten();
        u.klick("BitBtn2");
        QTest::keyClicks(u.w("SynMemo1"), "x");
        u.klick("tbtnOptionen");
        u.dialoge.answer(Answer::Yes);
        u.dialoge.chooseFile(u.pfad("text.ini"));
        QVERIFY(schliessen(f));
        QCOMPARE(u.sichtbareAnsicht(), QString("editor"));
        QCOMPARE(Umgebung::lesen(u.pfad("text.ini")), QByteArray("x"));
    }

    // The user asked to keep the changes: a cancelled or failed save keeps the window.
    void closingKeepsTheWindowWhenTheSaveDidNotHappen() {
        Umgebung u;
        TForm1& f = geaendert(u);
        u.dialoge.answer(Answer::Yes);
        u.dialoge.cancelFileDialog();
        QVERIFY(!schliessen(f));
        QCOMPARE(f.dateistatus(), QString("geaendert"));
        QCOMPARE(u.tabelle().last(), QString("A|k|2|change"));

        QDir(u.datenverzeichnis.path()).mkdir("ordner.ini");
        u.dialoge.answer(Answer::Yes);
        u.dialoge.chooseFile(u.pfad("ordner.ini"));
        QVERIFY(!schliessen(f));
        QCOMPARE(u.dialoge.shown.last().kind, MessageKind::AppError);

        u.dialoge.answer(Answer::Yes);
        u.dialoge.chooseFile(u.pfad("a.ini"));
        QVERIFY(schliessen(f));
        QCOMPARE(Umgebung::lesen(u.pfad("a.ini")), QByteArray("[A]\nk=2\n"));
    }

    void aSettingsFileThatCannotBeWrittenStillLetsTheWindowClose() {
        Umgebung u;
        TForm1& f = u.starten();
        QDir(u.programmverzeichnis.path()).mkdir("ravik.ini");
        QVERIFY(schliessen(f));
        QCOMPARE(u.dialoge.shown.size(), 1);
        QCOMPARE(u.dialoge.shown[0].kind, MessageKind::AppError);
        QVERIFY(u.dialoge.shown[0].text.contains("ravik.ini"));
    }
};

QTEST_MAIN(SchliessenTest)
#include "SchliessenTest.moc"
