// The five views, the back buttons and the structure buttons.
#include "app/shell/WerkzeugKnopf.h"
#include "tests/support/Umgebung.h"

#include <Qsci/qsciscintilla.h>
#include <QLineEdit>

#include <QPushButton>
#include <QToolBar>

using namespace ravik;
using namespace ravik::test;

class AnsichtenTest : public QObject {
    Q_OBJECT

private slots:
    void anzeigeShowsExactlyOnePanel_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("leisten");
        for (auto [n, l] : {std::pair{"browser", true}, {"editor", true}, {"setup", false}, {"hilfe", false}, {"start", false}})
            QTest::newRow(n) << QString(n) << l;
    }
    void anzeigeShowsExactlyOnePanel() {
        QFETCH(QString, name);
        QFETCH(bool, leisten);
        Umgebung u;
        TForm1& f = u.starten();
        f.Anzeige(name);
        QCOMPARE(u.sichtbareAnsicht(), name);
        QCOMPARE(!u.w<QToolBar>("ToolBar1")->isHidden(), leisten);
        QCOMPARE(!u.w<QToolBar>("ToolBar2")->isHidden(), leisten);
    }

    void unknownOrMiscasedNamesChangeNothing() {
        Umgebung u;
        TForm1& f = u.starten();
        f.Anzeige("editor");
        const QString titel = f.windowTitle();
        f.Anzeige("Browser");
        f.Anzeige("");
        QCOMPARE(u.sichtbareAnsicht(), QString("editor"));
        QCOMPARE(u.w<QPushButton>("btnZurueck2")->text(), QString("Zurück zum Programm"));
        QCOMPARE(u.w<WerkzeugKnopf>("tbtnFlip")->bildIndex(), 10);
        QCOMPARE(f.windowTitle(), titel);
    }

    void flipPicturesTheOtherView() {
        Umgebung u;
        TForm1& f = u.starten();
        f.Anzeige("browser");
        QCOMPARE(u.w<WerkzeugKnopf>("tbtnFlip")->bildIndex(), 11);
        f.Anzeige("editor");
        QCOMPARE(u.w<WerkzeugKnopf>("tbtnFlip")->bildIndex(), 10);
    }

    void backButtonsReturnToTheViewTheyWereOpenedFrom_data() {
        QTest::addColumn<QString>("von");
        QTest::addColumn<QString>("oeffnen");
        QTest::addColumn<QString>("zurueck");
        QTest::addColumn<QString>("beschriftung");
        QTest::newRow("options from browser") << "BitBtn3" << "tbtnOptionen" << "btnZurueck2" << "Zurück";
        QTest::newRow("options from editor") << "BitBtn2" << "tbtnOptionen" << "btnZurueck2" << "Zurück zum Programm";
        QTest::newRow("help from browser") << "BitBtn3" << "tbtnHilfe" << "btnZurueck" << "Zurück";
        QTest::newRow("help from editor") << "BitBtn2" << "tbtnHilfe" << "btnZurueck" << "Zurück zum Programm";
    }
    void backButtonsReturnToTheViewTheyWereOpenedFrom() {
        QFETCH(QString, von);
        QFETCH(QString, oeffnen);
        QFETCH(QString, zurueck);
        QFETCH(QString, beschriftung);
        Umgebung u;
        u.starten();
        u.klick(von);
        const QString ansicht = u.sichtbareAnsicht();
        u.klick(oeffnen);
        QVERIFY(u.sichtbareAnsicht() == "setup" || u.sichtbareAnsicht() == "hilfe");
        QCOMPARE(u.w<QPushButton>(zurueck)->text(), beschriftung);
        u.klick(zurueck);
        QCOMPARE(u.sichtbareAnsicht(), ansicht);
    }

    void buttonsAktivierenFollowsTheTree() {
        Umgebung u;
        const QString datei = u.schreiben("a.ini", "[A]\nk=v\n");
        TForm1& f = u.starten({datei});
        f.ButtonsAktivieren("editor");
        QVERIFY(u.aktiv("tbtnNeueSektion") && u.aktiv("tbtnNeuerWert") && u.aktiv("btnOK") && u.aktiv("btnStop"));
        QVERIFY(!u.aktiv("tbtnDelete")); // even though the tree holds nodes
        QVERIFY(!u.aktiv("tbtnAnsicht"));
        f.ButtonsAktivieren("browser");
        QVERIFY(u.aktiv("tbtnDelete") && u.aktiv("tbtnAnsicht"));
        f.Warmstart("browser");
        f.ButtonsAktivieren("browser");
        QVERIFY(u.aktiv("tbtnNeueSektion"));
        for (const char* aus : {"tbtnNeuerWert", "tbtnDelete", "tbtnAnsicht", "btnOK", "btnStop"})
            QVERIFY2(!u.aktiv(aus), aus);
        QVERIFY(u.aktiv("tbtnFlip")); // never touched
    }

    void warmstartEmptiesOnlyItsOwnView() {
        Umgebung u;
        const QString datei = u.schreiben("a.ini", "[A]\nk=v\n");
        TForm1& f = u.starten({datei});
        auto* memo = u.w<QsciScintilla>("SynMemo1");
        memo->setText("[X]");
        const int werbung = f.werbeindex();
        f.Warmstart("browser");
        QVERIFY(u.baumTexte().isEmpty());
        QVERIFY(f.werteTabelle().istLeer());
        QCOMPARE(memo->text(), QString("[X]"));
        QCOMPARE(f.werbeindex(), (werbung + 1) % 15);
        f.Warmstart("editor");
        QCOMPARE(memo->text(), QString());
        QVERIFY(!memo->isUndoAvailable());
        QCOMPARE(f.werbeindex(), (werbung + 2) % 15);
        f.Warmstart("anything");
        QCOMPARE(f.werbeindex(), (werbung + 3) % 15);
        QCOMPARE(f.dateiname(), datei);
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
    }
};

QTEST_MAIN(AnsichtenTest)
#include "AnsichtenTest.moc"
