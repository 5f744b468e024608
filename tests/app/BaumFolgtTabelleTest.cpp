// The tree shows the entry table and follows it: every command edits the table, and
// the tree shows the live entries in their order (a new or recovered entry last, a
// renamed one where it stood), also for sections whose keys were never shown before,
// and a search finds keys of sections never expanded.
#include "app/browser/IniBaum.h"
#include "tests/support/Umgebung.h"

#include <QLineEdit>
#include <QScrollBar>

using namespace ravik;
using namespace ravik::test;

using Befehl = std::function<void(Umgebung&)>;
Q_DECLARE_METATYPE(Befehl)

namespace {

const QByteArray kDatei = "[A]\na=1\nb=2\nc=3\n[B]\nx=1\n[C]\n";

// The table's live entries as the tree names them ("A", "A/k"), in the table's order
// of sections; a key once even when several live rows carry it.
QStringList lebendeEintraege(Umgebung& u) {
    QStringList eintraege;
    for (const QString& zeile : u.tabelle()) {
        const QStringList z = zeile.split('|');
        if (z[3] == "delete")
            continue;
        const QString eintrag = z[1].isEmpty() ? z[0] : z[0] + '/' + z[1];
        if (!eintraege.contains(eintrag))
            eintraege << eintrag;
    }
    return eintraege;
}

void bestaetigen(Umgebung& u, const char* feld, const QString& text) {
    u.w<QLineEdit>(feld)->setText(text);
    u.klick("btnOK");
}

} // namespace

class BaumFolgtTabelleTest : public QObject {
    Q_OBJECT
private slots:
    void everyCommandEditsTheTableAndTheTreeFollows_data() {
        QTest::addColumn<Befehl>("befehl");
        QTest::addColumn<QStringList>("baum");
        QTest::addColumn<QString>("auswahl");
        const auto neu = [](const char* auswahl, QString name, QString wert = {}) {
            return Befehl([=](Umgebung& u) {
                u.auswaehlen(auswahl);
                u.dialoge.type(name);
                if (!wert.isNull())
                    u.dialoge.type(wert);
                u.klick(wert.isNull() ? "tbtnNeueSektion" : "tbtnNeuerWert");
            });
        };
        const auto loeschen = [](const char* auswahl) {
            return Befehl([=](Umgebung& u) {
                u.auswaehlen(auswahl);
                u.dialoge.answer(Answer::Ok);
                u.klick("tbtnDelete");
            });
        };
        // The sections' keys are not shown before the command: B and C stay collapsed.
        QTest::newRow("new key in a collapsed section")
            << neu("B", "y", "2") << QStringList{"A", "A/a", "A/b", "A/c", "B", "B/x", "B/y", "C"} << "B/y";
        QTest::newRow("new section") << neu("C", "D") << QStringList{"A", "A/a", "A/b", "A/c", "B", "B/x", "C", "D"} << "D";
        QTest::newRow("delete key: the next one is selected")
            << loeschen("A/b") << QStringList{"A", "A/a", "A/c", "B", "B/x", "C"} << "A/c";
        QTest::newRow("delete section: the next one is selected")
            << loeschen("A") << QStringList{"B", "B/x", "C"} << "B";
        QTest::newRow("rename key in place")
            << Befehl([](Umgebung& u) {
                   u.auswaehlen("A/a");
                   bestaetigen(u, "SchluesselAnzeige", "z");
               })
            << QStringList{"A", "A/z", "A/b", "A/c", "B", "B/x", "C"} << "A/z";
        QTest::newRow("rename section in place, keys kept")
            << Befehl([](Umgebung& u) {
                   u.auswaehlen("A");
                   bestaetigen(u, "SektionAnzeige", "Z");
               })
            << QStringList{"Z", "Z/a", "Z/b", "Z/c", "B", "B/x", "C"} << "Z";
        // A key deleted and added again comes back from its deleted row, as the last.
        QTest::newRow("recovered key goes last")
            << Befehl([=](Umgebung& u) {
                   loeschen("A/a")(u);
                   u.auswaehlen("A");
                   u.dialoge.type("a");
                   u.klick("tbtnNeuerWert");
               })
            << QStringList{"A", "A/b", "A/c", "A/a", "B", "B/x", "C"} << "A/a";
    }

    void everyCommandEditsTheTableAndTheTreeFollows() {
        QFETCH(Befehl, befehl);
        QFETCH(QStringList, baum);
        QFETCH(QString, auswahl);
        Umgebung u;
        u.starten({u.schreiben("a.ini", kDatei)});
        befehl(u);
        QCOMPARE(u.baumTexte(), baum);
        QCOMPARE(u.ausgewaehlt(), auswahl);
        QStringList tabelle = lebendeEintraege(u);
        tabelle.sort();
        baum.sort();
        QCOMPARE(tabelle, baum);
        QVERIFY(u.dialoge.unexpected.isEmpty());
    }

    // A search over sections whose keys were never shown finds their keys and values,
    // and an edit made while it is shown appears in it.
    void searchFindsKeysOfSectionsNeverExpanded() {
        Umgebung u;
        QByteArray datei;
        for (int s = 0; s < 300; ++s)
            datei += "[S" + QByteArray::number(s) + "]\nk=" + (s == 250 ? "Nadel" : "Heu") + "\n";
        u.starten({u.schreiben("viele.ini", datei)});
        u.w<QLineEdit>("sucheBaum")->setText("nadel");
        QCOMPARE(u.baumTexte(), (QStringList{"S250", "S250/k"}));
        QCOMPARE(u.ausgewaehlt(), QString("S250/k"));
        QCOMPARE(u.w<QLineEdit>("WertAnzeige")->text(), QString("Nadel"));
        u.dialoge.type("nadel2");
        u.dialoge.type("");
        u.klick("tbtnNeuerWert");
        QCOMPARE(u.baumTexte(), (QStringList{"S250", "S250/k", "S250/nadel2"}));
        u.w<QLineEdit>("sucheBaum")->setText(QString());
        QCOMPARE(u.baumTexte().size(), 601);
    }

    // Of a file of more sections than a page the view is given a page; every way to a
    // section further down (keys, the scrollbar, a search, a command) gets there, and
    // the node selected is in sight.
    void aTreeOfManySectionsIsShownAPageAtATime_data() {
        QTest::addColumn<Befehl>("befehl");
        QTest::addColumn<QString>("auswahl");
        QTest::addColumn<QString>("letzteGezeigte");
        QTest::addColumn<int>("gezeigt");
        constexpr int seite = IniBaumModell::kSeite;
        const auto taste = [](Qt::Key key) { return Befehl([=](Umgebung& u) { u.taste("iniAnzeige", key); }); };
        QTest::newRow("opened") << Befehl([](Umgebung&) {}) << "S0" << "S9999" << seite;
        QTest::newRow("End") << taste(Qt::Key_End) << "S10009" << "S10009" << seite + 10;
        QTest::newRow("Down on the last section given") << Befehl([=](Umgebung& u) {
            u.auswaehlen("S9999");
            taste(Qt::Key_Down)(u);
        }) << "S10000" << "S10009" << seite + 10;
        QTest::newRow("scrollbar dragged to the end") << Befehl([](Umgebung& u) {
            QScrollBar* leiste = u.w<IniBaum>("iniAnzeige")->verticalScrollBar();
            leiste->setValue(leiste->maximum());
            u.auswaehlen("S10009");
        }) << "S10009" << "S10009" << seite + 10;
        QTest::newRow("found by a search, the search cleared") << Befehl([](Umgebung& u) {
            u.w<QLineEdit>("sucheBaum")->setText("s10005");
            u.w<QLineEdit>("sucheBaum")->setText(QString());
        }) << "S10005" << "S10009" << seite + 10; // scrolled to the end of what it had
        QTest::newRow("new section") << Befehl([](Umgebung& u) {
            u.dialoge.type("Neu");
            u.klick("tbtnNeueSektion");
        }) << "Neu" << "Neu" << seite + 11;
        QTest::newRow("new section while a search is shown") << Befehl([](Umgebung& u) {
            u.w<QLineEdit>("sucheBaum")->setText("s10009");
            u.dialoge.type("Neu");
            u.klick("tbtnNeueSektion");
            QCOMPARE(u.baumTexte(), (QStringList{"S10009", "Neu"}));
            u.w<QLineEdit>("sucheBaum")->setText(QString());
        }) << "Neu" << "Neu" << seite + 11;
        QTest::newRow("deleted while found by a search") << Befehl([](Umgebung& u) {
            u.w<QLineEdit>("sucheBaum")->setText("s10007");
            u.dialoge.answer(Answer::Ok);
            u.klick("tbtnDelete");
            u.w<QLineEdit>("sucheBaum")->setText(QString());
        }) << "" << "S10006" << 10007;
    }

    void aTreeOfManySectionsIsShownAPageAtATime() {
        QFETCH(Befehl, befehl);
        QFETCH(QString, auswahl);
        QFETCH(QString, letzteGezeigte);
        QFETCH(int, gezeigt);
        QByteArray datei;
        for (int s = 0; s < IniBaumModell::kSeite + 10; ++s)
            datei += "[S" + QByteArray::number(s) + "]\nk=v\n";
        Umgebung u;
        u.starten({u.schreiben("viele.ini", datei)});
        u.zeigen();
        befehl(u);
        auto* baum = u.w<IniBaum>("iniAnzeige");
        QCOMPARE(u.ausgewaehlt(), auswahl);
        QCOMPARE(baum->model()->rowCount(), gezeigt);
        QCOMPARE(baum->text(baum->model()->index(gezeigt - 1, 0)), letzteGezeigte);
        if (!auswahl.isEmpty())
            QVERIFY(baum->viewport()->rect().intersects(baum->visualRect(baum->currentIndex())));
        QVERIFY(u.dialoge.unexpected.isEmpty());
    }
};

QTEST_MAIN(BaumFolgtTabelleTest)
#include "BaumFolgtTabelleTest.moc"
