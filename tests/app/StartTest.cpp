// Start-up with and without a file, the view switching of the panels and the
// structure buttons.
#include "tests/support/Umgebung.h"

#include <Qsci/qsciscintilla.h>
#include <QLineEdit>

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolBar>

using namespace ravik;
using namespace ravik::test;

namespace {
const QByteArray kZweiSektionen = "[A]\r\nk=1\r\nm=2\r\n[B]\r\n";
}

class StartTest : public QObject {
    Q_OBJECT

private slots:
    void withoutArgumentShowsTheStartPanelWithTheTerms() {
        Umgebung u;
        TForm1& f = u.starten();
        QCOMPARE(u.sichtbareAnsicht(), QString("start"));
        QVERIFY(u.w<QToolBar>("ToolBar1")->isHidden());
        QVERIFY(u.w<QToolBar>("ToolBar2")->isHidden());
        QVERIFY(u.w<QPlainTextEdit>("Memo1")->toPlainText().contains("Nutzungsbedingungen"));
        QCOMPARE(f.windowTitle(), QString("Ravik: Der Velmora INI-Editor Version 1.0.0"));
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
        QCOMPARE(f.dateiname(), QString());
        QVERIFY(!u.aktiv("tbtnDateispeichern"));
        QVERIFY(u.dialoge.shown.isEmpty());
    }

    void startButtonsLeadToAnEmptyViewWithTheStartState_data() {
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<QString>("ansicht");
        QTest::newRow("browser") << "BitBtn3" << "browser";
        QTest::newRow("editor") << "BitBtn2" << "editor";
    }
    void startButtonsLeadToAnEmptyViewWithTheStartState() {
        QFETCH(QString, knopf);
        QFETCH(QString, ansicht);
        Umgebung u;
        u.starten();
        u.klick(knopf);
        QCOMPARE(u.sichtbareAnsicht(), ansicht);
        QVERIFY(!u.w<QToolBar>("ToolBar1")->isHidden());
        QVERIFY(u.baumTexte().isEmpty());
        // Only new section is enabled: the buttons keep their start state.
        QVERIFY(u.aktiv("tbtnNeueSektion"));
        QVERIFY(!u.aktiv("tbtnNeuerWert"));
        QVERIFY(!u.aktiv("tbtnDelete"));
        QVERIFY(!u.aktiv("tbtnAnsicht"));
        QVERIFY(!u.aktiv("btnOK"));
        QCOMPARE(u.form().dateistatus(), QString("gespeichert"));
    }

    void withAFileOpensItInTheBrowserView() {
        Umgebung u;
        const QString datei = u.schreiben("setup.ini", kZweiSektionen);
        TForm1& f = u.starten({datei});
        QCOMPARE(u.sichtbareAnsicht(), QString("browser"));
        QCOMPARE(u.baumTexte(), (QStringList{"A", "A/k", "A/m", "B"}));
        QCOMPARE(u.tabelle(), (QStringList{"A|||", "A|k|1|", "A|m|2|", "B|||"}));
        QCOMPARE(u.ausgewaehlt(), QString("A"));
        QCOMPARE(u.w<QLineEdit>("SektionAnzeige")->text(), QString("A"));
        QCOMPARE(f.windowTitle(), QString("Ravik: Der Velmora INI-Editor (\"setup.ini\")"));
        QCOMPARE(f.anwendungstitel(), QString("Ravik (\"setup.ini\")"));
        QCOMPARE(f.dateiname(), datei);
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
        for (const char* knopf : {"tbtnNeueSektion", "tbtnNeuerWert", "tbtnDelete", "tbtnAnsicht", "btnOK", "btnStop"})
            QVERIFY2(u.aktiv(knopf), knopf);
    }

    void withAFileAndEditorAsDefaultViewOpensTheText_data() {
        QTest::addColumn<QByteArray>("einstellung");
        QTest::newRow("View=1") << QByteArray("[General]\r\nView=1\r\n");
        QTest::newRow("View=7 leaves no selection") << QByteArray("[General]\r\nView=7\r\n");
    }
    void withAFileAndEditorAsDefaultViewOpensTheText() {
        QFETCH(QByteArray, einstellung);
        Umgebung u;
        QFile ini(u.programmverzeichnis.filePath("ravik.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(einstellung);
        ini.close();
        const QString datei = u.schreiben("x.ini", kZweiSektionen);
        u.starten({datei});
        QCOMPARE(u.sichtbareAnsicht(), QString("editor"));
        QCOMPARE(u.w<QsciScintilla>("SynMemo1")->text(), QString::fromLatin1(kZweiSektionen));
        // The load sets the buttons as for the (empty) tree.
        QVERIFY(u.aktiv("tbtnNeueSektion"));
        QVERIFY(!u.aktiv("tbtnNeuerWert"));
        QVERIFY(!u.aktiv("tbtnDelete"));
    }

    void aQuotedPathWithBlanksAndASecondArgument() {
        Umgebung u;
        const QString datei = u.schreiben("mit Leerzeichen.ini", "[S]\nx=1\n");
        u.starten({datei, u.schreiben("zweite.ini", "[Z]\n")});
        QCOMPARE(u.baumTexte(), (QStringList{"S", "S/x"}));
        QCOMPARE(u.form().dateiname(), datei);
    }

    void aFileWithoutSectionsGivesTheInformationMessage() {
        Umgebung u;
        const QString datei = u.schreiben("leer.ini", "; nur ein Kommentar\r\nkey=value\r\n");
        TForm1& f = u.starten({datei});
        QCOMPARE(u.dialoge.shown.size(), 1);
        QCOMPARE(u.dialoge.shown[0].kind, MessageKind::Information);
        QCOMPARE(u.dialoge.shown[0].caption, QString("Informationen"));
        QCOMPARE(u.dialoge.shown[0].text,
                 QString("Es wurden keine verwertbaren Inhalte gefunden.\r\n\r\n"
                         "Eventuell sollten Sie die Datei im Editormodus bearbeiten."));
        QVERIFY(u.baumTexte().isEmpty());
        QVERIFY(u.aktiv("tbtnNeueSektion"));
        QVERIFY(!u.aktiv("tbtnNeuerWert"));
        QCOMPARE(f.dateiname(), datei);
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
    }

    // The error is shown and the window opens on an empty document that closing does
    // not ask about.
    void anUnreadableFileAtStartUpLeavesAnEmptySavedDocument() {
        Umgebung u;
        QFile ini(u.programmverzeichnis.filePath("ravik.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[General]\nView=1\n");
        ini.close();
        TForm1& f = u.starten({u.pfad("fehlt.ini")});
        QCOMPARE(u.dialoge.shown.size(), 1);
        QCOMPARE(u.dialoge.shown[0].kind, MessageKind::AppError);
        QCOMPARE(u.dialoge.shown[0].caption, QString("Ravik"));
        QVERIFY(u.dialoge.shown[0].text.startsWith("Datei " + u.pfad("fehlt.ini") + " kann nicht geöffnet werden. "));
        QVERIFY(u.dialoge.shown[0].text.endsWith('.'));
        QCOMPARE(u.sichtbareAnsicht(), QString("editor"));
        QCOMPARE(f.dateiname(), QString());
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
        QCOMPARE(f.windowTitle(), QString("Ravik: Der Velmora INI-Editor Version 1.0.0"));
        QVERIFY(u.w<QsciScintilla>("SynMemo1")->text().isEmpty());
        u.dialoge.clear();
        f.close();
        QVERIFY(u.dialoge.shown.isEmpty());
    }

    void aMissingFileInTheBrowserViewIsAnEmptyDocumentWithItsName() {
        Umgebung u;
        TForm1& f = u.starten({u.pfad("neu.ini")});
        QCOMPARE(u.dialoge.messageTexts().size(), 1);
        QVERIFY(u.dialoge.messageTexts()[0].startsWith("Es wurden keine verwertbaren Inhalte"));
        QCOMPARE(f.dateiname(), u.pfad("neu.ini"));
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
    }

    void missingTermsOnTheStartPanelAreReportedAndStartUpGoesOn() {
        Umgebung u;
        QFile::remove(u.programmverzeichnis.filePath("ravik_n.tpx"));
        TForm1& f = u.starten();
        QCOMPARE(u.dialoge.shown.size(), 1);
        QCOMPARE(u.dialoge.shown[0].kind, MessageKind::AppError);
        QVERIFY(u.dialoge.shown[0].text.contains("ravik_n.tpx kann nicht geöffnet werden"));
        QCOMPARE(u.sichtbareAnsicht(), QString("start"));
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
    }
};

QTEST_MAIN(StartTest)
#include "StartTest.moc"
