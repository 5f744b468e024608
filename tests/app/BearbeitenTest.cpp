// Editing in the browser view: confirm and cancel, new section and key, delete,
// expand and collapse. Checked through the table rows, marks, tree and status.
#include "app/browser/IniBaum.h"
#include "app/platform/widgets/WerkzeugKnopf.h"
#include "tests/support/Umgebung.h"

#include <Qsci/qsciscintilla.h>
#include <QLineEdit>

using namespace ravik;
using namespace ravik::test;

namespace {
const QByteArray kBeispiel = "[A]\r\nk=1\r\n";

void tippen(Umgebung& u, const QString& feld, const QString& text) {
    u.w<QLineEdit>(feld)->setText(text);
}
} // namespace

class BearbeitenTest : public QObject {
    Q_OBJECT

private slots:
    // The worked example: value and name of a key in one confirm, then a section rename.
    void confirmRecordsValueKeyAndSectionChanges() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", kBeispiel)});
        QCOMPARE(u.tabelle(), (QStringList{"A|||", "A|k|1|"}));
        u.auswaehlen("A/k");
        tippen(u, "WertAnzeige", "2");
        tippen(u, "SchluesselAnzeige", "m");
        u.klick("btnOK");
        QCOMPARE(u.tabelle(), (QStringList{"A|||", "A|m|2|edit", "A|k||delete"}));
        QCOMPARE(u.baumTexte(), (QStringList{"A", "A/m"}));
        QCOMPARE(f.dateistatus(), QString("geaendert"));
        QVERIFY(u.aktiv("tbtnDateispeichern"));
        QCOMPARE(f.altSchluessel(), QString("m"));
        QCOMPARE(f.altWert(), QString("2"));

        u.auswaehlen("A");
        tippen(u, "SektionAnzeige", "B");
        u.klick("btnOK");
        QCOMPARE(u.tabelle(), (QStringList{"A|||delete", "B|m|2|edit", "A|k||delete", "B|||neu"}));
        QCOMPARE(u.baumTexte(), (QStringList{"B", "B/m"}));
        // A second OK without typing changes nothing.
        u.klick("btnOK");
        QCOMPARE(u.tabelle().size(), 4);
    }

    void okWithNothingTypedOnlyEnablesSaving() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", kBeispiel)});
        u.auswaehlen("A/k");
        QVERIFY(!u.aktiv("tbtnDateispeichern"));
        u.klick("btnOK");
        QCOMPARE(u.tabelle(), (QStringList{"A|||", "A|k|1|"}));
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
        QVERIFY(u.aktiv("tbtnDateispeichern"));
    }

    void valueMarksFollowTheRowsHistory() {
        Umgebung u;
        u.starten({u.schreiben("a.ini", kBeispiel)});
        u.auswaehlen("A/k");
        tippen(u, "WertAnzeige", "2");
        u.klick("btnOK");
        tippen(u, "WertAnzeige", "3");
        u.klick("btnOK");
        QCOMPARE(u.tabelle().last(), QString("A|k|3|change"));
        // Renaming a changed key records the old name once.
        tippen(u, "SchluesselAnzeige", "n");
        u.klick("btnOK");
        tippen(u, "SchluesselAnzeige", "o");
        u.klick("btnOK");
        QCOMPARE(u.tabelle(), (QStringList{"A|||", "A|o|3|edit", "A|k||delete"}));
    }

    void cancelRestoresTheFieldsFromTheTable() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", kBeispiel)});
        u.auswaehlen("A/k");
        tippen(u, "WertAnzeige", "99");
        u.klick("btnStop");
        QCOMPARE(u.w<QLineEdit>("WertAnzeige")->text(), QString("1"));
        QCOMPARE(u.tabelle(), (QStringList{"A|||", "A|k|1|"}));
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
    }

    // The file reads names without regard to case: a rename onto another live name
    // would merge two entries, so it is refused; a rename of the case alone is fine.
    void renamesOntoAnotherNameAreRefused_data() {
        QTest::addColumn<QString>("knoten");
        QTest::addColumn<QString>("feld");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("abgelehnt");
        QTest::newRow("key onto key") << "A/m" << "SchluesselAnzeige" << "k" << true;
        QTest::newRow("key onto key, other case") << "A/m" << "SchluesselAnzeige" << "K" << true;
        QTest::newRow("key, case only") << "A/m" << "SchluesselAnzeige" << "M" << false;
        QTest::newRow("section onto section") << "A" << "SektionAnzeige" << "b" << true;
        QTest::newRow("section, case only") << "A" << "SektionAnzeige" << "a" << false;
        // The file holds names without their outer blanks.
        QTest::newRow("key onto key, padded") << "A/m" << "SchluesselAnzeige" << "k " << true;
        QTest::newRow("section onto section, padded") << "A" << "SektionAnzeige" << "\tB " << true;
    }
    void renamesOntoAnotherNameAreRefused() {
        QFETCH(QString, knoten);
        QFETCH(QString, feld);
        QFETCH(QString, name);
        QFETCH(bool, abgelehnt);
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", "[A]\r\nk=1\r\nm=2\r\n[B]\r\n")});
        const QStringList vorher = u.tabelle();
        u.auswaehlen(knoten);
        tippen(u, feld, name);
        u.klick("btnOK");
        if (abgelehnt) {
            QCOMPARE(u.dialoge.messageTexts(),
                     QStringList{"Der angegebene Titel ist schon vorhanden.\r\n\r\nBitte wählen Sie einen neuen Titel."});
            QCOMPARE(u.tabelle(), vorher);
            QCOMPARE(f.dateistatus(), QString("gespeichert"));
        } else {
            QVERIFY(u.dialoge.messageTexts().isEmpty());
            QVERIFY(u.baumTexte().contains(knoten.contains('/') ? "A/" + name : name));
            QCOMPARE(f.dateistatus(), QString("geaendert"));
        }
    }

    void namesThatWouldDamageTheFileAreRefused_data() {
        QTest::addColumn<QString>("feld");
        QTest::addColumn<QString>("knoten");
        QTest::addColumn<QString>("name");
        QTest::newRow("empty key") << "SchluesselAnzeige" << "A/k" << "";
        QTest::newRow("key with =") << "SchluesselAnzeige" << "A/k" << "a=b";
        QTest::newRow("key starting ;") << "SchluesselAnzeige" << "A/k" << ";x";
        QTest::newRow("key starting [") << "SchluesselAnzeige" << "A/k" << "[x";
        QTest::newRow("empty section") << "SektionAnzeige" << "A" << "";
        QTest::newRow("section with ]") << "SektionAnzeige" << "A" << "a]b";
    }
    void namesThatWouldDamageTheFileAreRefused() {
        QFETCH(QString, feld);
        QFETCH(QString, knoten);
        QFETCH(QString, name);
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", kBeispiel)});
        u.auswaehlen(knoten);
        tippen(u, qPrintable(feld), name);
        u.klick("btnOK");
        QCOMPARE(u.dialoge.shown.size(), 1);
        QCOMPARE(u.dialoge.shown[0].kind, MessageKind::Error);
        QCOMPARE(u.dialoge.shown[0].caption, QString("Fehler"));
        QCOMPARE(u.tabelle(), (QStringList{"A|||", "A|k|1|"}));
        QCOMPARE(u.baumTexte(), (QStringList{"A", "A/k"}));
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
    }

    // A value the file cannot hold is refused where it is typed: in the detail field,
    // and in the new key's value box, which then asks again.
    void aValueWithALineBreakIsRefusedWhereItIsTyped() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", kBeispiel)});
        const QString meldung = "Der Wert darf keinen Zeilenumbruch enthalten.";
        u.auswaehlen("A/k");
        tippen(u, "WertAnzeige", "a\nb");
        u.klick("btnOK");
        QCOMPARE(u.dialoge.messageTexts(), QStringList{meldung});
        QCOMPARE(u.dialoge.shown.last().kind, MessageKind::Error);
        QCOMPARE(u.tabelle(), (QStringList{"A|||", "A|k|1|"}));
        QCOMPARE(f.dateistatus(), QString("gespeichert"));

        u.dialoge.clear();
        u.dialoge.type("neu");
        u.dialoge.type("x\r\ny"); // pasted
        u.dialoge.cancelInput();  // asked again, and Escape gives the empty value
        u.klick("tbtnNeuerWert");
        QCOMPARE(u.dialoge.messageTexts(), QStringList{meldung});
        QCOMPARE(u.dialoge.shown.last().caption, QString("Neuen Wert einfügen"));
        QCOMPARE(u.tabelle().last(), QString("A|neu||edit"));
        QVERIFY(u.dialoge.allAnswersUsed());
    }

    void newSectionInAnEmptyDocumentTakesTheBlankRow() {
        Umgebung u;
        TForm1& f = u.starten();
        u.klick("BitBtn3");
        u.dialoge.type("Neu");
        u.klick("tbtnNeueSektion");
        QCOMPARE(u.dialoge.shown[0].caption, QString("Neue Sektion einfügen"));
        QCOMPARE(u.dialoge.shown[0].text, QString("Bitte geben Sie den Titel der neuen Sektion ein:"));
        QCOMPARE(u.tabelle(), QStringList{"Neu|||neu"});
        QCOMPARE(u.baumTexte(), QStringList{"Neu"});
        QCOMPARE(u.ausgewaehlt(), QString("Neu"));
        QCOMPARE(f.dateistatus(), QString("geaendert"));
        for (const char* an : {"tbtnNeuerWert", "tbtnDelete", "tbtnAnsicht", "btnOK", "tbtnDateispeichern"})
            QVERIFY2(u.aktiv(an), an);
    }

    void newSectionRefusesDuplicatesAndBringsBackDeletedRows() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", "[A]\r\nk=1\r\n[B]\r\n")});
        u.dialoge.type("A");
        u.klick("tbtnNeueSektion");
        QCOMPARE(u.dialoge.messageTexts(),
                 QStringList{"Der angegebene Titel ist schon vorhanden.\r\n\r\nBitte wählen Sie einen neuen Titel."});
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
        u.dialoge.type("a"); // nor another case of it: the file would merge the two
        u.klick("tbtnNeueSektion");
        QCOMPARE(u.dialoge.messageTexts().size(), 2);
        QCOMPARE(u.baumTexte().last(), QString("B"));

        u.auswaehlen("A");
        u.dialoge.answer(Answer::Ok);
        u.klick("tbtnDelete");
        u.dialoge.type("A");
        u.klick("tbtnNeueSektion");
        QCOMPARE(u.tabelle(), (QStringList{"A|||neu", "A|k|1|delete", "B|||"}));
        QCOMPARE(u.baumTexte(), (QStringList{"B", "A"}));
    }

    void newSectionCancelledOrBlankNames() {
        Umgebung u;
        u.starten({u.schreiben("a.ini", kBeispiel)});
        u.dialoge.cancelInput();
        u.klick("tbtnNeueSektion");
        QCOMPARE(u.baumTexte(), (QStringList{"A", "A/k"}));
        // The file holds names without their outer blanks: blanks alone are no name.
        u.dialoge.type("  ");
        u.klick("tbtnNeueSektion");
        QCOMPARE(u.dialoge.messageTexts(),
                 QStringList{"Der Titel der Sektion darf nicht leer sein.\r\n\r\nBitte wählen Sie einen anderen Titel."});
        QCOMPARE(u.baumTexte(), (QStringList{"A", "A/k"}));
        u.dialoge.type("x]y");
        u.klick("tbtnNeueSektion");
        QCOMPARE(u.dialoge.shown.last().kind, MessageKind::Error);
        QCOMPARE(u.baumTexte().size(), 2);
    }

    void newKeyGoesToTheSelectedSectionAtTheEndOfTheTable() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", "[A]\r\nk=1\r\n[B]\r\nb=2\r\n")});
        u.auswaehlen("A/k");
        u.dialoge.type("neu");
        u.dialoge.type("wert");
        u.klick("tbtnNeuerWert");
        QCOMPARE(u.dialoge.shown[0].caption, QString("Neuen Schlüssel einfügen"));
        QCOMPARE(u.dialoge.shown[1].caption, QString("Neuen Wert einfügen"));
        QCOMPARE(u.dialoge.shown[1].text, QString("Bitte geben Sie den Wert des neuen Schlüssels ein:"));
        QCOMPARE(u.tabelle().last(), QString("A|neu|wert|edit"));
        QCOMPARE(u.baumTexte(), (QStringList{"A", "A/k", "A/neu", "B", "B/b"}));
        QCOMPARE(u.ausgewaehlt(), QString("A/neu"));
        QCOMPARE(u.w<QLineEdit>("WertAnzeige")->text(), QString("wert"));
        QCOMPARE(f.dateistatus(), QString("geaendert"));

        u.dialoge.type("b"); // the same name in another section is fine
        u.dialoge.cancelInput();
        u.auswaehlen("A");
        u.klick("tbtnNeuerWert");
        QCOMPARE(u.tabelle().last(), QString("A|b||edit"));

        u.dialoge.type("k"); // a duplicate in the same section is not
        u.klick("tbtnNeuerWert");
        QCOMPARE(u.dialoge.messageTexts().size(), 1);
        u.dialoge.type(" K "); // nor one that differs only in blanks and case
        u.klick("tbtnNeuerWert");
        QCOMPARE(u.dialoge.messageTexts().size(), 2);
        QCOMPARE(u.baumTexte().count("A/k"), 1);
        QCOMPARE(u.tabelle().size(), 6);
    }

    void aDeletedKeyComesBackEmptyWithoutAskingForAValue() {
        Umgebung u;
        u.starten({u.schreiben("a.ini", kBeispiel)});
        u.auswaehlen("A/k");
        u.dialoge.answer(Answer::Ok);
        u.klick("tbtnDelete");
        QCOMPARE(u.tabelle(), (QStringList{"A|||", "A|k||delete"}));
        u.auswaehlen("A");
        u.dialoge.type("k");
        u.klick("tbtnNeuerWert");
        QCOMPARE(u.tabelle(), (QStringList{"A|||", "A|k||edit"}));
        QCOMPARE(u.dialoge.shown.last().type, ShownDialog::Type::Input);
        QVERIFY(u.dialoge.allAnswersUsed());
    }

    void newKeyWithoutSelectionShowsNothing() {
        Umgebung u;
        u.starten({u.schreiben("a.ini", kBeispiel)});
        u.w<IniBaum>("iniAnzeige")->selectionModel()->clear();
        u.klick("tbtnNeuerWert");
        QVERIFY(u.dialoge.shown.isEmpty());
    }

    void editorViewAppendsLines() {
        Umgebung u;
        TForm1& f = u.starten();
        u.klick("BitBtn2");
        auto* memo = u.w<QsciScintilla>("SynMemo1");
        memo->setText("[Net]\nhost=a");
        u.dialoge.type("Net");
        u.klick("tbtnNeueSektion");
        QCOMPARE(u.dialoge.messageTexts().size(), 1); // exact line [Net] exists
        u.dialoge.type("net"); // [net] is another line
        u.klick("tbtnNeueSektion");
        u.dialoge.type("port");
        u.dialoge.cancelInput();
        u.klick("tbtnNeuerWert");
        // New lines take the editor's line-break style: CR LF until a file sets another.
        QCOMPARE(memo->text(), QString("[Net]\nhost=a\r\n[net]\r\nport="));
        QCOMPARE(f.dateistatus(), QString("geaendert"));
    }

    void editorNewKeyMarksTheDocumentChangedEvenWhenCancelled() {
        Umgebung u;
        TForm1& f = u.starten();
        u.klick("BitBtn2");
        f.ButtonsAktivieren(Ansicht::Editor);
        u.dialoge.cancelInput();
        u.klick("tbtnNeuerWert");
        QCOMPARE(u.w<QsciScintilla>("SynMemo1")->text(), QString());
        QCOMPARE(f.dateistatus(), QString("geaendert"));
    }

    void deleteAskesAndMarksRows() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", "[A]\r\nk=1\r\nm=2\r\n[B]\r\nb=3\r\n")});
        u.auswaehlen("A/k");
        u.dialoge.answer(Answer::Cancel);
        u.klick("tbtnDelete");
        QCOMPARE(u.dialoge.shown[0].kind, MessageKind::Confirmation);
        QCOMPARE(u.dialoge.shown[0].buttons, MessageButtons::OkCancel);
        QCOMPARE(u.dialoge.shown[0].text, QString("Soll der markierte Schlüssel wirklich gelöscht werden?\r\n\r\n"
                                                  "Dieser Vorgang kann nicht rückgängig gemacht werden!"));
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
        QCOMPARE(u.baumTexte().size(), 5);

        u.dialoge.answer(Answer::Ok);
        u.klick("tbtnDelete");
        QCOMPARE(u.tabelle(), (QStringList{"A|||", "A|k||delete", "A|m|2|", "B|||", "B|b|3|"}));
        QCOMPARE(u.baumTexte(), (QStringList{"A", "A/m", "B", "B/b"}));
        QCOMPARE(f.dateistatus(), QString("geaendert"));

        u.auswaehlen("A");
        u.dialoge.answer(Answer::Ok);
        u.klick("tbtnDelete");
        QVERIFY(u.dialoge.shown.last().text.startsWith("Soll die markierte Sektion wirklich gelöscht werden?\r\n\r\n"
                                                       "Die darin enthaltenen Schlüssel werden ebenfalls gelöscht!"));
        QCOMPARE(u.tabelle(), (QStringList{"A|||delete", "A|k||delete", "A|m|2|delete", "B|||", "B|b|3|"}));
        QCOMPARE(u.baumTexte(), (QStringList{"B", "B/b"}));
        QCOMPARE(u.ausgewaehlt(), QString("B"));

        u.dialoge.answer(Answer::Ok);
        u.klick("tbtnDelete");
        QVERIFY(u.baumTexte().isEmpty());
        for (const char* aus : {"tbtnNeuerWert", "tbtnDelete", "tbtnAnsicht", "btnOK", "btnStop"})
            QVERIFY2(!u.aktiv(aus), aus);
        QVERIFY(u.aktiv("tbtnDateispeichern"));
        QVERIFY(!u.aktiv("SektionAnzeige"));
    }

    void expandAndCollapseToggleTheButton() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", "[A]\r\nk=1\r\n[B]\r\nb=3\r\n")});
        auto* knopf = u.w<WerkzeugKnopf>("tbtnAnsicht");
        auto* baum = u.w<IniBaum>("iniAnzeige");
        baum->expand(baum->model()->index(1, 0)); // one by hand
        u.auswaehlen("A");
        u.klick("tbtnAnsicht");
        QCOMPARE(knopf->bildIndex(), 3);
        QCOMPARE(knopf->toolTip(), QString("Alle Schlüssel einklappen (F2)"));
        QVERIFY(baum->isExpanded(baum->model()->index(0, 0)));
        QVERIFY(baum->isExpanded(baum->model()->index(1, 0)));
        u.auswaehlen("B/b");
        u.klick("tbtnAnsicht");
        QCOMPARE(knopf->bildIndex(), 2);
        QCOMPARE(knopf->toolTip(), QString("Alle Schlüssel ausklappen (F2)"));
        QVERIFY(!baum->isExpanded(baum->model()->index(1, 0)));
        QCOMPARE(u.ausgewaehlt(), QString("B")); // the hidden key hands over to its section
        QCOMPARE(u.w<QLineEdit>("SektionAnzeige")->text(), QString("B"));
        f.Warmstart(Ansicht::Browser);
        u.klick("BitBtn3");
        f.tbtnAnsichtClick(); // an empty tree: nothing changes
        QCOMPARE(knopf->bildIndex(), 2);
    }

    void openingCollapsesTheTreeAndResetsTheHint() {
        Umgebung u;
        u.starten({u.schreiben("a.ini", kBeispiel)});
        u.klick("tbtnAnsicht");
        u.dialoge.chooseFile(u.schreiben("b.ini", "[X]\r\ny=1\r\n"));
        u.klick("tbtnDateiladen");
        QCOMPARE(u.w<WerkzeugKnopf>("tbtnAnsicht")->bildIndex(), 2);
        QCOMPARE(u.w<WerkzeugKnopf>("tbtnAnsicht")->toolTip(), QString("Alle Schlüssel ausklappen (F2)"));
        auto* baum = u.w<IniBaum>("iniAnzeige");
        QVERIFY(!baum->isExpanded(baum->model()->index(0, 0)));
        QCOMPARE(u.tabelle(), (QStringList{"X|||", "X|y|1|"}));
        QCOMPARE(u.form().dateiname(), u.pfad("b.ini"));
        QCOMPARE(u.dialoge.shown[0].preset, u.pfad("a.ini")); // the start-up file is proposed
    }
};

QTEST_MAIN(BearbeitenTest)
#include "BearbeitenTest.moc"
