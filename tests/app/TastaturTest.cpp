// Every command from the keyboard and the context menus, through real key events and
// menu actions.
#include "app/browser/IniBaum.h"
#include "app/shell/WerkzeugKnopf.h"
#include "tests/support/Umgebung.h"

#include <Qsci/qsciscintilla.h>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>

using namespace ravik;
using namespace ravik::test;

Q_DECLARE_METATYPE(ravik::Ansicht)

namespace {
QsciScintilla* memo(Umgebung& u) {
    return u.w<QsciScintilla>("SynMemo1");
}
} // namespace

class TastaturTest : public QObject {
    Q_OBJECT

private slots:
    void shortcutsRunTheirCommands_data() {
        QTest::addColumn<QString>("ansicht");
        QTest::newRow("browser") << "BitBtn3";
        QTest::newRow("editor") << "BitBtn2";
    }
    void shortcutsRunTheirCommands() {
        QFETCH(QString, ansicht);
        Umgebung u;
        u.starten();
        u.klick(ansicht);
        const QString view = u.sichtbareAnsicht();
        QWidget* ziel = view == "editor" ? static_cast<QWidget*>(memo(u)) : u.w("iniAnzeige");

        u.dialoge.type("S1");
        QTest::keyClick(ziel, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(u.dialoge.shown.last().caption, QString("Neue Sektion einfügen"));

        u.dialoge.type("k1");
        u.dialoge.type("v1");
        QTest::keyClick(ziel, Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(u.dialoge.shown.last().caption, QString("Neuen Wert einfügen"));

        QTest::keyClick(ziel, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(u.sichtbareAnsicht(), QString(view == "editor" ? "browser" : "editor"));

        QTest::keyClick(u.w("tbtnNeu"), Qt::Key_F1);
        QCOMPARE(u.sichtbareAnsicht(), QString("hilfe"));
    }

    void keysDoNothingOnTheOtherPanels_data() {
        QTest::addColumn<Ansicht>("panel");
        QTest::newRow("start") << Ansicht::Start;
        QTest::newRow("setup") << Ansicht::Setup;
        QTest::newRow("hilfe") << Ansicht::Hilfe;
    }
    void keysDoNothingOnTheOtherPanels() {
        QFETCH(Ansicht, panel);
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", "[A]\nk=1\n")});
        f.Anzeige(panel);
        for (auto [key, mod] : {std::pair{Qt::Key_F1, Qt::NoModifier}, {Qt::Key_F2, Qt::NoModifier},
                                {Qt::Key_S, Qt::ControlModifier}, {Qt::Key_K, Qt::ControlModifier},
                                {Qt::Key_A, Qt::ControlModifier}})
            QTest::keyClick(&f, key, mod);
        QCOMPARE(u.sichtbareAnsicht(), ansichtName(panel));
        QVERIFY(u.dialoge.shown.isEmpty());
        QCOMPARE(u.w<WerkzeugKnopf>("tbtnAnsicht")->bildIndex(), 2);
    }

    void ctrlKWithTheButtonDisabledRunsNothing() {
        Umgebung u;
        u.starten();
        u.klick("BitBtn3");
        QVERIFY(!u.aktiv("tbtnNeuerWert"));
        QTest::keyClick(u.w("iniAnzeige"), Qt::Key_K, Qt::ControlModifier);
        QVERIFY(u.dialoge.shown.isEmpty());
    }

    void f2TogglesTheTreeAlsoInTheEditorView() {
        Umgebung u;
        u.starten({u.schreiben("a.ini", "[A]\nk=1\n")});
        u.klick("tbtnFlip");
        QVERIFY(!u.aktiv("tbtnAnsicht"));
        QTest::keyClick(memo(u), Qt::Key_F2);
        QCOMPARE(u.w<WerkzeugKnopf>("tbtnAnsicht")->bildIndex(), 3);
    }

    void deleteAndEnterInTheTree() {
        Umgebung u;
        u.starten({u.schreiben("a.ini", "[A]\nk=1\n[B]\n")});
        auto* baum = u.w<IniBaum>("iniAnzeige");
        u.auswaehlen("B");
        u.dialoge.answer(Answer::Ok);
        QTest::keyClick(baum, Qt::Key_Delete);
        QCOMPARE(u.baumTexte(), (QStringList{"A", "A/k"}));
        u.auswaehlen("A");
        u.w("tbtnDelete")->setEnabled(false);
        QTest::keyClick(baum, Qt::Key_Delete);
        QCOMPARE(u.dialoge.shown.size(), 1);
    }

    // Every change of the editor's text marks the document changed and enables saving;
    // only typed characters count towards the promotional texts.
    void everyEditMarksTheDocumentChanged_data() {
        QTest::addColumn<int>("taste");
        QTest::addColumn<int>("modifikatoren");
        QTest::addColumn<QString>("menue");
        QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << QString();
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 0 << QString();
        QTest::newRow("Delete") << int(Qt::Key_Delete) << 0 << QString();
        QTest::newRow("Ctrl+Y") << int(Qt::Key_Y) << int(Qt::ControlModifier) << QString();
        QTest::newRow("Ctrl+V") << int(Qt::Key_V) << int(Qt::ControlModifier) << QString();
        QTest::newRow("Ctrl+X") << int(Qt::Key_X) << int(Qt::ControlModifier) << QString();
        QTest::newRow("Einfügen") << 0 << 0 << QString("puInsert");
        QTest::newRow("Ausschneiden") << 0 << 0 << QString("puCut");
    }
    void everyEditMarksTheDocumentChanged() {
        QFETCH(int, taste);
        QFETCH(int, modifikatoren);
        QFETCH(QString, menue);
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", "[A]\nk=1\n")});
        u.klick("tbtnFlip");
        f.Warmstart(Ansicht::Start); // counter back to 0
        QApplication::clipboard()->setText("x=1");
        memo(u)->setFocus();
        memo(u)->setSelection(1, 0, 1, 3);
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
        if (menue.isEmpty())
            QTest::keyClick(memo(u), Qt::Key(taste), Qt::KeyboardModifiers(modifikatoren));
        else
            u.klick(menue);
        QCOMPARE(f.dateistatus(), QString("geaendert"));
        QVERIFY(u.aktiv("tbtnDateispeichern"));
        QCOMPARE(f.klickzaehler(), 0);
    }

    void undoAndRedoAreChangesToo() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", "[A]\nk=1\n")});
        u.klick("tbtnFlip");
        QTest::keyClick(memo(u), Qt::Key_Q);
        u.dialoge.chooseFile(u.pfad("a.ini"));
        u.klick("tbtnDateispeichern");
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
        QTest::keyClick(memo(u), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.dateistatus(), QString("geaendert"));
    }

    void typingMarksTheDocumentChanged() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", "[A]\nk=1\n")});
        u.klick("tbtnFlip");
        f.Warmstart(Ansicht::Start); // counter back to 0
        QTest::keyClick(memo(u), Qt::Key_Left); // moving changes nothing
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
        QVERIFY(!u.aktiv("tbtnDateispeichern"));
        QTest::keyClick(memo(u), Qt::Key_Q);
        QCOMPARE(f.dateistatus(), QString("geaendert"));
        QVERIFY(u.aktiv("tbtnDateispeichern"));
        QCOMPARE(f.klickzaehler(), 1);
    }

    void twentyTypedCharactersShowTheNextText() {
        Umgebung u;
        TForm1& f = u.starten();
        u.klick("BitBtn2");
        const QString vorher = u.w<QLabel>("WerbetextAnzeige2")->text();
        QTest::keyClicks(memo(u), "abcdefghijklmnopqrs");
        QCOMPARE(u.w<QLabel>("WerbetextAnzeige2")->text(), vorher);
        QTest::keyClick(memo(u), Qt::Key_T);
        QVERIFY(u.w<QLabel>("WerbetextAnzeige2")->text() != vorher);
        QCOMPARE(f.klickzaehler(), 0);
    }

    // Tree refreshes carry the shared counter past 8: typing alone must then reach 20.
    void theSharedCounterMissesThresholds() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", "[A]\nk=1\n")});
        f.Warmstart(Ansicht::Start);
        u.klick("tbtnFlip"); // resets, now in the editor
        QTest::keyClicks(memo(u), "123456789"); // 9
        const QString vorher = u.w<QLabel>("WerbetextAnzeige")->text();
        f.Anzeige(Ansicht::Browser);
        for (int i = 0; i < 10; ++i) // 10..19: passes 8 without a change
            emit u.w<IniBaum>("iniAnzeige")->geklickt();
        QCOMPARE(u.w<QLabel>("WerbetextAnzeige")->text(), vorher);
        emit u.w<IniBaum>("iniAnzeige")->geklickt(); // 20, but from a refresh
        QCOMPARE(u.w<QLabel>("WerbetextAnzeige")->text(), vorher);
        QCOMPARE(f.klickzaehler(), 20);
    }

    void contextMenusRunTheirActions() {
        Umgebung u;
        u.starten({u.schreiben("a.ini", "[A]\nk=1\n")});
        u.dialoge.type("Neu");
        u.klick("puSectionTree");
        QCOMPARE(u.baumTexte().last(), QString("Neu"));
        u.dialoge.type("n");
        u.dialoge.type("1");
        u.klick("puKeyTree");
        QCOMPARE(u.baumTexte().last(), QString("Neu/n"));
        u.dialoge.answer(Answer::Ok);
        u.w("tbtnDelete")->setEnabled(false); // "Löschen" does not ask the button
        u.klick("puDeleteTree");
        QCOMPARE(u.baumTexte().last(), QString("Neu"));
        u.klick("puHelpTree");
        QCOMPARE(u.sichtbareAnsicht(), QString("hilfe"));
    }

    void clipboardItemsActOnTheFocusedControl() {
        Umgebung u;
        u.starten({u.schreiben("a.ini", "[A]\nk=1\n")});
        u.zeigen();
        u.auswaehlen("A/k");
        auto* wert = u.w<QLineEdit>("WertAnzeige");
        wert->setFocus();
        wert->selectAll();
        u.klick("puCopyEdit");
        QCOMPARE(QApplication::clipboard()->text(), QString("1"));
        u.klick("puCutEdit");
        QCOMPARE(wert->text(), QString());
        u.klick("puPasteEdit");
        QCOMPARE(wert->text(), QString("1"));

        u.klick("tbtnFlip");
        memo(u)->setFocus();
        memo(u)->selectAll();
        u.klick("puCopy");
        QCOMPARE(QApplication::clipboard()->text(), memo(u)->text());
        u.klick("puCut");
        QCOMPARE(memo(u)->text(), QString());
        u.klick("puInsert");
        QCOMPARE(memo(u)->text(), QApplication::clipboard()->text());
    }
};

QTEST_MAIN(TastaturTest)
#include "TastaturTest.moc"
