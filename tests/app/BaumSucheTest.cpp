// The search above the tree: what it shows, how it ends, and that every command
// still acts on the whole document while it is shown.
#include "app/browser/IniBaum.h"
#include "app/editor/SynMemo.h"
#include "app/platform/widgets/WerkzeugKnopf.h"
#include "tests/support/Umgebung.h"

#include <QApplication>
#include <QLineEdit>

using namespace ravik;
using namespace ravik::test;

namespace {

const QByteArray kPhp = "[PHP]\r\n"
                        "; Maximum amount of memory a script may consume\r\n"
                        "memory_limit = 128M\r\n"
                        "max_execution_time = 30\r\n"
                        "display_errors = Off\r\n"
                        "[Session]\r\n"
                        "session.save_handler = files\r\n"
                        "session.gc_maxlifetime = 1440\r\n"
                        "[Mail]\r\n"
                        "SMTP = localhost\r\n"
                        "[Date]\r\n"
                        "date.timezone = Europe/Berlin\r\n"
                        "Bezeichnung = Übersicht\r\n";

QStringList aufgeklappt(Umgebung& u) {
    auto* baum = u.w<IniBaum>("iniAnzeige");
    QStringList namen;
    for (int s = 0; s < baum->model()->rowCount(); ++s) {
        const QModelIndex sektion = baum->model()->index(s, 0);
        if (baum->isExpanded(sektion))
            namen << sektion.data().toString();
    }
    return namen;
}

void suchen(Umgebung& u, const QString& text) {
    u.w<QLineEdit>("sucheBaum")->setText(text);
}

QString feld(Umgebung& u, const char* name) {
    return u.w<QLineEdit>(name)->text();
}

} // namespace

class BaumSucheTest : public QObject {
    Q_OBJECT

private slots:
    void showsWhatHoldsTheText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("baum");
        QTest::newRow("key name") << "memory" << QStringList{"PHP", "PHP/memory_limit"};
        QTest::newRow("other case") << "MEMORY_L" << QStringList{"PHP", "PHP/memory_limit"};
        QTest::newRow("value") << "FILES" << QStringList{"Session", "Session/session.save_handler"};
        QTest::newRow("section and keys") << "session"
                                          << QStringList{"Session", "Session/session.save_handler",
                                                         "Session/session.gc_maxlifetime"};
        QTest::newRow("section alone") << "mail" << QStringList{"Mail"};
        QTest::newRow("umlaut, other case")
            << "übersicht" << QStringList{"Date", "Date/Bezeichnung"};
        QTest::newRow("across sections")
            << "ti" << QStringList{"PHP",     "PHP/max_execution_time",
                                   "Session", "Session/session.gc_maxlifetime",
                                   "Date",    "Date/date.timezone"};
        QTest::newRow("nothing") << "xyz" << QStringList{};
    }
    void showsWhatHoldsTheText() {
        QFETCH(QString, text);
        QFETCH(QStringList, baum);
        Umgebung u;
        u.starten({u.schreiben("php.ini", kPhp)});
        suchen(u, text);
        QCOMPARE(u.baumTexte(), baum);
        // Sections with keys shown are expanded; a section found by its name alone is not.
        QStringList mitSchluesseln;
        for (const QString& knoten : baum)
            if (knoten.contains('/') && !mitSchluesseln.contains(knoten.section('/', 0, 0)))
                mitSchluesseln << knoten.section('/', 0, 0);
        QCOMPARE(aufgeklappt(u), mitSchluesseln);
        QCOMPARE(u.w<QLineEdit>("sucheBaum")->palette().color(QPalette::Base) ==
                     QColor(255, 221, 221),
                 baum.isEmpty());
    }

    // A text found in more keys than the view should list at once leaves their sections
    // collapsed (but for the selected key's); a narrower text expands them again.
    void aBroadSearchShowsSectionsCollapsed() {
        QByteArray inhalt;
        for (const char* sektion : {"A", "B", "C"}) {
            inhalt += QByteArray("[") + sektion + "]\n";
            for (int k = 0; k < 4000; ++k)
                inhalt += "k" + QByteArray::number(k) + "=v\n";
        }
        Umgebung u;
        u.starten({u.schreiben("breit.ini", inhalt)});
        suchen(u, "k");
        QCOMPARE(u.w<IniBaum>("iniAnzeige")->model()->rowCount(), 3);
        QCOMPARE(aufgeklappt(u), QStringList{});
        suchen(u, "k39");
        QCOMPARE(aufgeklappt(u), (QStringList{"A", "B", "C"}));
        u.auswaehlen("B/k3999");
        suchen(u, "k");
        QCOMPARE(aufgeklappt(u), QStringList{"B"});
        QCOMPARE(u.ausgewaehlt(), QString("B/k3999"));
    }

    // Typing narrows and widens; a selection the search hides goes to the first match,
    // which the panel shows. Escape gives the whole tree back as it was, with the
    // found key in sight.
    void typingFiltersAndEscapeRestores() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("php.ini", kPhp)});
        u.zeigen();
        auto* baum = u.w<IniBaum>("iniAnzeige");
        baum->expand(baum->model()->index(2, 0)); // Mail
        u.auswaehlen("Date");
        QTest::keyClick(baum, Qt::Key_F, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), u.w("sucheBaum"));
        QTest::keyClicks(u.w("sucheBaum"), "me");
        QCOMPARE(u.ausgewaehlt(), QString("Date")); // date.timezone keeps it in sight
        QCOMPARE(u.baumTexte().size(), 7);
        QTest::keyClicks(u.w("sucheBaum"), "mory");
        QCOMPARE(u.baumTexte(), (QStringList{"PHP", "PHP/memory_limit"}));
        QCOMPARE(u.ausgewaehlt(), QString("PHP/memory_limit"));
        QCOMPARE(feld(u, "WertAnzeige"), QString("128M"));
        QCOMPARE(f.altSchluessel(), QString("memory_limit"));
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(u.w("sucheBaum"), Qt::Key_Backspace);
        QCOMPARE(u.baumTexte().size(), 7); // "me" again
        QCOMPARE(u.ausgewaehlt(), QString("PHP/memory_limit"));
        QTest::keyClick(u.w("sucheBaum"), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), baum);

        QTest::keyClick(baum, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClick(u.w("sucheBaum"), Qt::Key_Escape);
        QCOMPARE(feld(u, "sucheBaum"), QString());
        QCOMPARE(u.baumTexte().size(), 12);
        QCOMPARE(aufgeklappt(u), (QStringList{"PHP", "Mail"}));
        QCOMPARE(u.ausgewaehlt(), QString("PHP/memory_limit"));
        QCOMPARE(feld(u, "WertAnzeige"), QString("128M"));
        QTest::keyClick(u.w("sucheBaum"), Qt::Key_Escape); // empty: back to the tree
        QCOMPARE(QApplication::focusWidget(), baum);

        // Nothing found: no selection, the panel cleared.
        suchen(u, "xyz");
        QCOMPARE(u.ausgewaehlt(), QString());
        QCOMPARE(feld(u, "WertAnzeige"), QString());
        QVERIFY(!u.aktiv("WertAnzeige"));

        // In the editor view Ctrl+F is the editor's: the tree's search stays out of it.
        suchen(u, QString());
        u.klick("tbtnFlip");
        u.w("SynMemo1")->setFocus();
        QTest::keyClick(u.w("SynMemo1"), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(QApplication::focusWidget() != u.w("sucheBaum"));
    }

    // New, renamed and deleted entries while the search is shown; the file gets the
    // whole document, hidden entries included.
    void commandsActOnTheWholeDocument() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("php.ini", kPhp)});
        suchen(u, "memory");
        u.auswaehlen("PHP");
        // A new key that does not hold the text stays in sight, selected.
        u.dialoge.type("upload_max_filesize");
        u.dialoge.type("2M");
        u.klick("tbtnNeuerWert");
        QCOMPARE(u.baumTexte(),
                 (QStringList{"PHP", "PHP/memory_limit", "PHP/upload_max_filesize"}));
        QCOMPARE(u.ausgewaehlt(), QString("PHP/upload_max_filesize"));
        QCOMPARE(feld(u, "WertAnzeige"), QString("2M"));
        // So does a key renamed away from the text, and a changed value is in the table.
        u.auswaehlen("PHP/memory_limit");
        u.w<QLineEdit>("SchluesselAnzeige")->setText("mem");
        u.w<QLineEdit>("WertAnzeige")->setText("256M");
        u.klick("btnOK");
        QCOMPARE(u.baumTexte(), (QStringList{"PHP", "PHP/mem", "PHP/upload_max_filesize"}));
        // Deleting the selected key hands the selection to a neighbour that is shown.
        u.auswaehlen("PHP/upload_max_filesize");
        u.dialoge.answer(Answer::Ok);
        u.klick("tbtnDelete");
        QCOMPARE(u.baumTexte(), (QStringList{"PHP", "PHP/mem"}));
        QCOMPARE(u.ausgewaehlt(), QString("PHP/mem"));
        QCOMPARE(feld(u, "WertAnzeige"), QString("256M"));
        // The next search decides afresh, on the values as they are now.
        suchen(u, "256");
        QCOMPARE(u.baumTexte(), (QStringList{"PHP", "PHP/mem"}));
        suchen(u, "30");
        QCOMPARE(u.baumTexte(), (QStringList{"PHP", "PHP/max_execution_time"}));

        u.dialoge.chooseFile(u.pfad("php.ini"));
        u.klick("tbtnDateispeichern");
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
        QCOMPARE(Umgebung::lesen(u.pfad("php.ini")),
                 QByteArray(kPhp).replace("memory_limit = 128M", "mem = 256M"));
        QCOMPARE(u.baumTexte(), (QStringList{"PHP", "PHP/max_execution_time"}));
        suchen(u, QString());
        QCOMPARE(u.baumTexte().size(), 12);
        QVERIFY(u.dialoge.unexpected.isEmpty());
    }

    // A section deleted while its keys are hidden goes with all of them.
    void deletingASectionTakesItsHiddenKeys() {
        Umgebung u;
        u.starten({u.schreiben("php.ini", kPhp)});
        suchen(u, "files");
        u.auswaehlen("Session");
        u.dialoge.answer(Answer::Ok);
        u.klick("tbtnDelete");
        QCOMPARE(u.baumTexte(), QStringList());
        suchen(u, QString());
        QCOMPARE(u.baumTexte(), (QStringList{"PHP", "PHP/memory_limit", "PHP/max_execution_time",
                                             "PHP/display_errors", "Mail", "Mail/SMTP", "Date",
                                             "Date/date.timezone", "Date/Bezeichnung"}));
        u.dialoge.chooseFile(u.pfad("php.ini"));
        u.klick("tbtnDateispeichern");
        QVERIFY(!Umgebung::lesen(u.pfad("php.ini")).contains("session"));
    }

    // F2 during a search decides for the whole tree.
    void expandAllDuringASearchHoldsAfterIt() {
        Umgebung u;
        u.starten({u.schreiben("php.ini", kPhp)});
        suchen(u, "date");
        u.taste("iniAnzeige", Qt::Key_F2);
        QCOMPARE(u.w<WerkzeugKnopf>("tbtnAnsicht")->hinweis(),
                 QString("Alle Schlüssel einklappen (F2)"));
        suchen(u, QString());
        QCOMPARE(aufgeklappt(u), (QStringList{"PHP", "Session", "Mail", "Date"}));
        suchen(u, "date");
        u.taste("iniAnzeige", Qt::Key_F2);
        suchen(u, QString());
        QCOMPARE(aufgeklappt(u), QStringList());
    }

    // A new tree (another file, the way back from the editor) starts without a search;
    // the editor gets the whole document.
    void aNewTreeEndsTheSearch() {
        Umgebung u;
        u.starten({u.schreiben("php.ini", kPhp)});
        suchen(u, "memory");
        u.klick("tbtnFlip");
        QVERIFY(u.w<SynMemo>("SynMemo1")->utf8Text().toByteArray().contains("SMTP = localhost"));
        u.klick("tbtnFlip");
        QCOMPARE(feld(u, "sucheBaum"), QString());
        QCOMPARE(u.baumTexte().size(), 12);

        suchen(u, "memory");
        u.dialoge.chooseFile(u.schreiben("b.ini", "[B]\nk=memory\n"));
        u.klick("tbtnDateiladen");
        QCOMPARE(feld(u, "sucheBaum"), QString());
        QCOMPARE(u.baumTexte(), (QStringList{"B", "B/k"}));
    }
};

QTEST_MAIN(BaumSucheTest)
#include "BaumSucheTest.moc"
