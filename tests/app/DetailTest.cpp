// The detail panel follows the tree: which fields are enabled, their colours, the
// remembered texts, and the tree's keys.
#include "app/browser/DetailFeld.h"
#include "app/browser/IniBaum.h"
#include "tests/support/Umgebung.h"

#include <QCheckBox>

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace ravik;
using namespace ravik::test;

namespace {
QColor feldfarbe(Umgebung& u, const char* name) {
    return u.w<QLineEdit>(name)->palette().color(QPalette::Base);
}
} // namespace

class DetailTest : public QObject {
    Q_OBJECT

    QColor kFenster, kKnopf; // the system colours for window backgrounds and button faces

private slots:
    void initTestCase() {
        kFenster = QApplication::palette().color(QPalette::Base);
        kKnopf = QApplication::palette().color(QPalette::Button);
        QVERIFY(kFenster != kKnopf);
    }

    void aSelectedKeyEnablesKeyAndValue() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", "[Net]\r\nhost = \"example.org\"\r\nport=80\r\n")});
        u.auswaehlen("Net/host");
        QCOMPARE(u.w<QLineEdit>("SektionAnzeige")->text(), QString("Net"));
        QCOMPARE(u.w<QLineEdit>("SchluesselAnzeige")->text(), QString("host"));
        QCOMPARE(u.w<QLineEdit>("WertAnzeige")->text(), QString("example.org"));
        QVERIFY(!u.aktiv("SektionAnzeige"));
        QVERIFY(u.aktiv("SchluesselAnzeige") && u.aktiv("WertAnzeige"));
        QCOMPARE(feldfarbe(u, "SektionAnzeige"), kKnopf);
        QCOMPARE(feldfarbe(u, "SchluesselAnzeige"), kFenster);
        QCOMPARE(feldfarbe(u, "WertAnzeige"), kFenster);
        QCOMPARE(f.altSektion(), QString("Net"));
        QCOMPARE(f.altSchluessel(), QString("host"));
        QCOMPARE(f.altWert(), QString("example.org"));
        QVERIFY(u.aktiv("btnOK") && u.aktiv("btnStop"));
    }

    void aSelectedSectionEnablesOnlyTheSectionField() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", "[Net]\nport=80\n[Leer]\n")});
        u.auswaehlen("Net/port");
        u.auswaehlen("Leer");
        QVERIFY(u.aktiv("SektionAnzeige"));
        QVERIFY(!u.aktiv("SchluesselAnzeige") && !u.aktiv("WertAnzeige"));
        QCOMPARE(u.w<QLineEdit>("SchluesselAnzeige")->text(), QString());
        QCOMPARE(u.w<QLineEdit>("WertAnzeige")->text(), QString());
        QCOMPARE(feldfarbe(u, "SektionAnzeige"), kFenster);
        QCOMPARE(feldfarbe(u, "WertAnzeige"), kKnopf);
        QCOMPARE(f.altSektion(), QString("Leer"));
        QCOMPARE(f.altSchluessel(), QString());
        QCOMPARE(f.altWert(), QString());
    }

    void anEmptyTreeClearsTheFieldsAndKeepsTheButtons() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", "[Net]\nport=80\n")});
        u.auswaehlen("Net/port");
        auto* baum = u.w<IniBaum>("iniAnzeige");
        baum->selectionModel()->clear();
        const int zaehler = f.klickzaehler();
        emit baum->geklickt();
        QCOMPARE(f.klickzaehler(), (zaehler + 1) % 8);
        for (const char* feld : {"SektionAnzeige", "SchluesselAnzeige", "WertAnzeige"}) {
            QVERIFY(!u.aktiv(feld));
            QCOMPARE(u.w<QLineEdit>(feld)->text(), QString());
        }
        QCOMPARE(f.altSektion(), QString());
        QVERIFY(u.aktiv("btnOK")); // left as it was
    }

    void aRefreshThrowsAwayUnconfirmedTyping() {
        Umgebung u;
        u.starten({u.schreiben("a.ini", "[Net]\nport=80\n")});
        u.auswaehlen("Net/port");
        u.w<QLineEdit>("WertAnzeige")->setText("8080");
        u.auswaehlen("Net/port");
        QCOMPARE(u.w<QLineEdit>("WertAnzeige")->text(), QString("80"));
    }

    void theLookupGivesTheLastRowsValue() {
        Umgebung u;
        // A duplicate key: the file's first occurrence is what the table holds.
        u.starten({u.schreiben("a.ini", "[A]\nk=erst\nk=zweit\n")});
        QCOMPARE(u.baumTexte(), (QStringList{"A", "A/k"}));
        u.auswaehlen("A/k");
        QCOMPARE(u.w<QLineEdit>("WertAnzeige")->text(), QString("erst"));
    }

    void arrowKeysInTheTreeRefreshThePanel() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", "[A]\nk=1\n[B]\nm=2\n")});
        u.zeigen();
        auto* baum = u.w<IniBaum>("iniAnzeige");
        baum->setFocus();
        u.auswaehlen("A");
        const int vorher = f.klickzaehler();
        QTest::keyClick(baum, Qt::Key_Down); // collapsed: goes to B
        QCOMPARE(u.ausgewaehlt(), QString("B"));
        QCOMPARE(u.w<QLineEdit>("SektionAnzeige")->text(), QString("B"));
        QCOMPARE(f.klickzaehler(), (vorher + 1) % 8);
    }

    void enterInTheTreeMovesIntoTheFittingField() {
        Umgebung u;
        u.starten({u.schreiben("a.ini", "[A]\nk=1\n")});
        u.zeigen();
        auto* baum = u.w<IniBaum>("iniAnzeige");
        baum->expandAll();
        baum->setFocus();
        u.auswaehlen("A/k");
        QTest::keyClick(baum, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), u.w("SchluesselAnzeige"));
        baum->setFocus();
        u.auswaehlen("A");
        QTest::keyClick(baum, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), u.w("SektionAnzeige"));
        // Enter in the section field of a section skips the disabled fields.
        QTest::keyClick(u.w("SektionAnzeige"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), u.w("btnOK"));
    }

    void enterInTheFieldsWalksTheTabOrderToOk() {
        Umgebung u;
        u.starten({u.schreiben("a.ini", "[A]\nk=1\n")});
        u.zeigen();
        u.auswaehlen("A/k");
        u.w("SchluesselAnzeige")->setFocus();
        QTest::keyClick(u.w("SchluesselAnzeige"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), u.w("WertAnzeige"));
        QCOMPARE(u.w<QLineEdit>("SchluesselAnzeige")->text(), QString("k")); // nothing inserted
        QCOMPARE(u.w<QLineEdit>("WertAnzeige")->selectedText(), QString()); // no select-all here
        QTest::keyClick(u.w("WertAnzeige"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), u.w("btnOK"));
    }

    // A value of any length passes the detail field unchanged: confirmed as it is, the
    // file keeps it; one character typed at its end reaches the file with all the rest.
    void valuesOfAnyLengthPassWhole() {
        Umgebung u;
        const QByteArray lang(40000, 'w');
        const QString datei = u.schreiben("a.ini", "[A]\nk=" + lang + "\n");
        u.starten({datei});
        u.w<QCheckBox>("CheckBox2")->setChecked(false);
        u.dialoge.clear();
        u.auswaehlen("A/k");
        auto* wert = u.w<QLineEdit>("WertAnzeige");
        QCOMPARE(wert->text().size(), lang.size());
        u.klick("btnOK");
        u.dialoge.chooseFile(datei);
        u.klick("tbtnDateispeichern");
        QCOMPARE(Umgebung::lesen(datei), "[A]\nk=" + lang + "\n");
        wert->end(false);
        QTest::keyClick(wert, Qt::Key_X);
        u.klick("btnOK");
        u.dialoge.chooseFile(datei);
        u.klick("tbtnDateispeichern");
        QCOMPARE(Umgebung::lesen(datei), "[A]\nk=" + lang + "x\n");
    }

    // Below the fields: the comment lines above the entry in the file. A renamed entry
    // keeps its comment; a new one has none until it is saved.
    void theEntrysCommentIsShownBelow() {
        Umgebung u;
        const QString pfad =
            u.schreiben("a.ini", "; Datei\r\n[PHP]\r\n; Maximum amount of memory\r\n"
                                 ";   a script may consume\r\nmemory_limit = 128M\r\n"
                                 "max_execution_time = 30\r\n\r\n[Service]\r\n"
                                 "# Restart when it fails\r\nRestart=on-failure\r\n"
                                 "[core]\r\n\t# Ohne Arbeitsverzeichnis\r\n\tbare = false\r\n"
                                 "\t#filemode = true\r\n\tsymlinks = true\r\n");
        u.starten({pfad});
        auto* kommentar = u.w<QPlainTextEdit>("KommentarAnzeige");
        QVERIFY(kommentar->isReadOnly());
        QCOMPARE(kommentar->toPlainText(),
                 QString("Datei")); // the first section, selected on loading
        const struct {
            const char* knoten;
            const char* text;
        } faelle[] = {{"PHP/memory_limit", "Maximum amount of memory\n  a script may consume"},
                      {"PHP/max_execution_time", ""},
                      {"Service/Restart", "Restart when it fails"},
                      {"Service", ""},
                      {"core/bare", "Ohne Arbeitsverzeichnis"},
                      {"core/symlinks", ""}};
        for (const auto& fall : faelle) {
            u.auswaehlen(fall.knoten);
            QCOMPARE(kommentar->toPlainText(), QString::fromUtf8(fall.text));
        }

        u.auswaehlen("PHP/memory_limit");
        u.w<QLineEdit>("SchluesselAnzeige")->setText("mem");
        u.klick("btnOK");
        u.auswaehlen("PHP");
        u.w<QLineEdit>("SektionAnzeige")->setText("Zend");
        u.klick("btnOK");
        u.auswaehlen("Zend/mem");
        QCOMPARE(kommentar->toPlainText(),
                 QString("Maximum amount of memory\n  a script may consume"));
        u.auswaehlen("Zend");
        QCOMPARE(kommentar->toPlainText(), QString("Datei"));
        u.dialoge.type("neu");
        u.dialoge.type("1");
        u.klick("tbtnNeuerWert");
        QCOMPARE(u.ausgewaehlt(), QString("Zend/neu"));
        QCOMPARE(kommentar->toPlainText(), QString());

        u.dialoge.chooseFile(pfad);
        u.klick("tbtnDateispeichern");
        u.auswaehlen("Zend/mem");
        QCOMPARE(kommentar->toPlainText(),
                 QString("Maximum amount of memory\n  a script may consume"));
        u.klick("tbtnFlip"); // and back: the comments come from the editor's text
        u.klick("tbtnFlip");
        u.auswaehlen("Service/Restart");
        QCOMPARE(kommentar->toPlainText(), QString("Restart when it fails"));
    }
};

QTEST_MAIN(DetailTest)
#include "DetailTest.moc"
