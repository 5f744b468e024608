// Every command from the keyboard and the context menus, through real key events and
// menu actions.
#include "app/browser/IniBaum.h"
#include "app/platform/widgets/WerkzeugKnopf.h"
#include "tests/support/Umgebung.h"

#include <Qsci/qsciscintilla.h>
#include <QApplication>
#include <QClipboard>
#include <QKeySequence>
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
                                {Qt::Key_A, Qt::ControlModifier}, {Qt::Key_O, Qt::ControlModifier},
                                {Qt::Key_F12, Qt::NoModifier}})
            QTest::keyClick(&f, key, mod);
        QCOMPARE(u.sichtbareAnsicht(), ansichtName(panel));
        QVERIFY(u.dialoge.shown.isEmpty());
        QCOMPARE(u.w<WerkzeugKnopf>("tbtnAnsicht")->bildIndex(), 2);
    }

    // Each press of a window key acts once, also right after another key and when a
    // control passes it on to its parents; the keys still reach the focused control.
    // Every key goes to the control that has the focus at that moment.
    void windowKeysActOncePerPress_data() {
        QTest::addColumn<QString>("ansicht");
        QTest::addColumn<QString>("feld");
        QTest::addColumn<QString>("tasten");
        QTest::addColumn<QString>("erwartet"); // view|expand image|input boxes|status|selection
        QTest::newRow("tree: Down, F2") << "browser" << "iniAnzeige" << "Down, F2" << "browser|3|0|gespeichert|B";
        QTest::newRow("tree: Up, F1") << "browser" << "iniAnzeige" << "Down, Up, F1" << "hilfe|2|0|gespeichert|A";
        QTest::newRow("tree: F2, F2") << "browser" << "iniAnzeige" << "F2, F2" << "browser|2|0|gespeichert|A";
        QTest::newRow("field: F2 travels on") << "browser" << "SektionAnzeige" << "F2" << "browser|3|0|gespeichert|A";
        QTest::newRow("field: Ctrl+S, Ctrl+S") << "browser" << "SektionAnzeige" << "Ctrl+S, Ctrl+S" << "browser|2|2|gespeichert|A";
        QTest::newRow("field: letter, Ctrl+K") << "browser" << "SektionAnzeige" << "X, Ctrl+K" << "browser|2|1|gespeichert|A";
        QTest::newRow("editor: letter, F1") << "editor" << "SynMemo1" << "Q, F1" << "hilfe|2|0|geaendert|";
        QTest::newRow("editor: F2 travels on") << "editor" << "SynMemo1" << "F2" << "editor|3|0|gespeichert|";
        QTest::newRow("editor: Ctrl+A, Ctrl+A") << "editor" << "SynMemo1" << "Ctrl+A, Ctrl+A" << "editor|2|0|gespeichert|";
    }
    void windowKeysActOncePerPress() {
        QFETCH(QString, ansicht);
        QFETCH(QString, feld);
        QFETCH(QString, tasten);
        QFETCH(QString, erwartet);
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", "[A]\nk=1\n[B]\nj=2\n")});
        if (ansicht == "editor")
            u.klick("tbtnFlip");
        u.zeigen();
        u.w(feld)->setFocus();
        QVERIFY(u.w(feld)->hasFocus());
        for (const QString& taste : tasten.split(", ")) {
            const QKeyCombination k = QKeySequence(taste)[0];
            QWidget* fokus = QApplication::focusWidget();
            QTest::keyClick(fokus ? fokus : &f, k.key(), k.keyboardModifiers());
        }
        int eingaben = 0;
        for (const ShownDialog& d : u.dialoge.shown)
            eingaben += d.type == ShownDialog::Type::Input;
        const QString feldText = u.w<QLineEdit>("SektionAnzeige")->text();
        QCOMPARE(QStringList({u.sichtbareAnsicht(),
                              QString::number(u.w<WerkzeugKnopf>("tbtnAnsicht")->bildIndex()),
                              QString::number(eingaben), f.dateistatus(),
                              ansicht == "browser" ? u.ausgewaehlt() : QString()})
                     .join('|'),
                 erwartet);
        if (tasten.startsWith("X"))
            QVERIFY(feldText.endsWith('x')); // the letter reached the field
    }

    // Open and save from the keyboard, in both views, where their buttons are enabled.
    void ctrlOOpensAndF12Saves_data() {
        QTest::addColumn<QString>("feld");
        QTest::newRow("browser") << "iniAnzeige";
        QTest::newRow("editor") << "SynMemo1";
    }
    void ctrlOOpensAndF12Saves() {
        QFETCH(QString, feld);
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", "[A]\nk=1\n")});
        const QString b = u.schreiben("b.ini", "[B]\n");
        if (feld == "SynMemo1")
            u.klick("tbtnFlip");
        u.zeigen();
        u.w(feld)->setFocus();
        QTest::keyClick(u.w(feld), Qt::Key_F12); // nothing to save yet: the button is disabled
        QVERIFY(u.dialoge.shown.isEmpty());
        u.dialoge.type("N");
        QTest::keyClick(u.w(feld), Qt::Key_S, Qt::ControlModifier);
        u.dialoge.chooseFile(u.pfad("a.ini"));
        QTest::keyClick(u.w(feld), Qt::Key_F12);
        QVERIFY(Umgebung::lesen(u.pfad("a.ini")).contains("[N]"));
        u.dialoge.chooseFile(b);
        QTest::keyClick(u.w(feld), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(f.dateiname(), b);
        QCOMPARE(f.dateistatus(), QString("gespeichert")); // the key typed nothing
        QCOMPARE(u.dialoge.shown.size(), 3);
        QVERIFY(u.dialoge.allAnswersUsed());
    }

    // Help and expand take any modifiers, the structure keys and the switch need Ctrl
    // and allow others, open and save want their modifiers exactly.
    void modifiersHeldWithTheWindowKeys_data() {
        QTest::addColumn<QString>("taste");
        QTest::addColumn<QString>("erwartet"); // view|dialogs shown|expand image
        QTest::newRow("Shift+F1") << "Shift+F1" << "hilfe|0|2";
        QTest::newRow("Ctrl+Alt+F2") << "Ctrl+Alt+F2" << "browser|0|3";
        QTest::newRow("Ctrl+Alt+S") << "Ctrl+Alt+S" << "browser|1|2";
        QTest::newRow("Alt+S") << "Alt+S" << "browser|0|2";
        QTest::newRow("Ctrl+O") << "Ctrl+O" << "browser|1|2";
        QTest::newRow("Ctrl+Shift+O") << "Ctrl+Shift+O" << "browser|0|2";
        QTest::newRow("Meta+Ctrl+A") << "Meta+Ctrl+A" << "editor|0|2";
    }
    void modifiersHeldWithTheWindowKeys() {
        QFETCH(QString, taste);
        QFETCH(QString, erwartet);
        Umgebung u;
        u.starten({u.schreiben("a.ini", "[A]\nk=1\n")});
        const QKeyCombination k = QKeySequence(taste)[0];
        QTest::keyClick(u.w("iniAnzeige"), k.key(), k.keyboardModifiers()); // dialogs: Escape
        QCOMPARE(QStringList({u.sichtbareAnsicht(), QString::number(u.dialoge.shown.size()),
                              QString::number(u.w<WerkzeugKnopf>("tbtnAnsicht")->bildIndex())})
                     .join('|'),
                 erwartet);
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
