// The five views, the back buttons and the structure buttons.
#include "app/platform/widgets/WerkzeugKnopf.h"
#include "tests/support/Umgebung.h"

#include <map>

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
        const std::map<QString, Ansicht> ansichten{{"browser", Ansicht::Browser}, {"editor", Ansicht::Editor},
                                                   {"setup", Ansicht::Setup}, {"hilfe", Ansicht::Hilfe},
                                                   {"start", Ansicht::Start}};
        f.Anzeige(ansichten.at(name));
        QCOMPARE(u.sichtbareAnsicht(), name);
        QCOMPARE(ansichtName(ansichten.at(name)), name);
        QCOMPARE(!u.w<QToolBar>("ToolBar1")->isHidden(), leisten);
        QCOMPARE(!u.w<QToolBar>("ToolBar2")->isHidden(), leisten);
    }

    void flipPicturesTheOtherView() {
        Umgebung u;
        TForm1& f = u.starten();
        f.Anzeige(Ansicht::Browser);
        QCOMPARE(u.w<WerkzeugKnopf>("tbtnFlip")->bildIndex(), 11);
        f.Anzeige(Ansicht::Editor);
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
        f.ButtonsAktivieren(Ansicht::Editor);
        QVERIFY(u.aktiv("tbtnNeueSektion") && u.aktiv("tbtnNeuerWert") && u.aktiv("btnOK") && u.aktiv("btnStop"));
        QVERIFY(!u.aktiv("tbtnDelete")); // even though the tree holds nodes
        QVERIFY(!u.aktiv("tbtnAnsicht"));
        f.ButtonsAktivieren(Ansicht::Browser);
        QVERIFY(u.aktiv("tbtnDelete") && u.aktiv("tbtnAnsicht"));
        f.Warmstart(Ansicht::Browser);
        f.ButtonsAktivieren(Ansicht::Browser);
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
        const QString status = f.dateistatus();
        f.Warmstart(Ansicht::Browser);
        QVERIFY(u.baumTexte().isEmpty());
        QVERIFY(f.werteTabelle().istLeer());
        QCOMPARE(memo->text(), QString("[X]"));
        QCOMPARE(f.werbeindex(), (werbung + 1) % 15);
        f.Warmstart(Ansicht::Editor);
        QCOMPARE(memo->text(), QString());
        QVERIFY(!memo->isUndoAvailable());
        QCOMPARE(f.werbeindex(), (werbung + 2) % 15);
        f.Warmstart(Ansicht::Start);
        QCOMPARE(f.werbeindex(), (werbung + 3) % 15);
        QCOMPARE(f.dateiname(), datei);
        QCOMPARE(f.dateistatus(), status);
    }
};

QTEST_MAIN(AnsichtenTest)
#include "AnsichtenTest.moc"
