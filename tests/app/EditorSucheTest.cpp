// Find and replace in the editor view and its status line, through the window with
// real key events: what the user sees in the bar, the editor and the status line, and
// what lands in the saved file.
#include "app/editor/SynMemo.h"
#include "tests/support/Umgebung.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRandomGenerator>

using namespace ravik;
using namespace ravik::test;

namespace {

// Text without a key of its own (umlauts) arrives as typed text.
void tippen(QWidget* ziel, const QString& text) {
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, ziel, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// The window shown in the editor view with a file opened in it.
struct Editorfenster {
    Umgebung u;
    SynMemo* memo = nullptr;
    QString datei;

    explicit Editorfenster(const QByteArray& inhalt) {
        u.starten();
        u.zeigen();
        u.klick("BitBtn2");
        memo = u.w<SynMemo>("SynMemo1");
        datei = u.schreiben("a.ini", inhalt);
        u.dialoge.chooseFile(datei);
        u.klick("tbtnDateiladen");
        memo->setFocus();
    }
    QLineEdit* feld(const char* name) { return u.w<QLineEdit>(name); }
    QString text(const char* label) { return u.w<QLabel>(label)->text(); }
    QString position() { return text("statusPosition"); }
    QString meldung() { return text("sucheMeldung"); }
    bool leisteSichtbar() { return !u.w("sucheEditor")->isHidden(); }
    void taste(Qt::Key key, Qt::KeyboardModifiers mod = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, mod);
    }
    // Ctrl+F, the search text and the replacement typed, Escape back to the editor.
    void suchtextSetzen(const QString& suche, const QString& ersetzung = {}) {
        QTest::keyClick(memo, Qt::Key_F, Qt::ControlModifier);
        feld("sucheText")->clear();
        tippen(feld("sucheText"), suche);
        feld("ersetzenText")->clear();
        tippen(feld("ersetzenText"), ersetzung);
        taste(Qt::Key_Escape);
    }
    QByteArray gespeichert() {
        u.dialoge.answer(Answer::Ok); // the backup warning
        u.w<QCheckBox>("CheckBox1")->setChecked(false);
        u.dialoge.chooseFile(datei);
        u.klick("tbtnDateispeichern");
        return Umgebung::lesen(datei);
    }
};

// The caret's line and column as the user counts them, counted by the editor itself.
QString wahrePosition(SynMemo* memo) {
    const long stelle = memo->SendScintilla(SynMemo::SCI_GETCURRENTPOS);
    const long zeile = memo->SendScintilla(SynMemo::SCI_LINEFROMPOSITION, stelle);
    const long anfang = memo->SendScintilla(SynMemo::SCI_POSITIONFROMLINE, zeile);
    return QStringLiteral("Zeile %1, Spalte %2")
        .arg(zeile + 1)
        .arg(memo->SendScintilla(SynMemo::SCI_COUNTCHARACTERS, anfang, stelle) + 1);
}

} // namespace

class EditorSucheTest : public QObject {
    Q_OBJECT
private slots:
    // At the window's first size, beside the side panel, no text of the bar is cut.
    void leistePasstInDieErsteFenstergroesse() {
        Editorfenster e("[s]\nk=v\n");
        QTest::keyClick(e.memo, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(e.leisteSichtbar());
        QCOMPARE(e.u.form().size(), QSize(630, 443));
        for (QWidget* w : e.u.w("sucheEditor")->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (w->objectName() == "sucheMeldung" || w->objectName() == "btnSucheSchliessen")
                continue; // a message may be elided; the close box is a narrow "×" by design
            auto* label = qobject_cast<QLabel*>(w);
            if (label || qobject_cast<QAbstractButton*>(w))
                QVERIFY2(w->width() >= w->sizeHint().width(),
                         qPrintable(label ? label->text() : w->objectName()));
        }
    }

private slots:
    // F3 walks through the matches and on from the start, Shift+F3 back from the first
    // to the last one; the bar says when the search went round. Columns count characters.
    void f3FindsTheMatchesWithTheOptions_data() {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<QString>("suche");
        QTest::addColumn<bool>("grossKlein");
        QTest::addColumn<bool>("ganzesWort");
        QTest::addColumn<QStringList>("fundstellen"); // status position after each F3
        QTest::addColumn<QStringList>("treffer");     // the selected text
        const QByteArray aepfel =
            "k=\xc3\x84pfel \xc3\xa4pfel\r\n\xc3\x84PFEL=1\r\n"; // Äpfel äpfel / ÄPFEL
        QTest::newRow("umlauts, any case")
            << aepfel << "äpfel" << false << false
            << QStringList{"Zeile 1, Spalte 8", "Zeile 1, Spalte 14", "Zeile 2, Spalte 6"}
            << QStringList{"Äpfel", "äpfel", "ÄPFEL"};
        QTest::newRow("umlauts, case") << aepfel << "Äpfel" << true << false
                                       << QStringList{"Zeile 1, Spalte 8"} << QStringList{"Äpfel"};
        QTest::newRow("whole word after ß")
            << QByteArray("a=Ma\xc3\x9f Ma\xc3\x9f"
                          "band\r\nb=MASS ma\xc3\x9f")
            << "maß" << false << true << QStringList{"Zeile 1, Spalte 6", "Zeile 2, Spalte 11"}
            << QStringList{"Maß", "maß"};
        QTest::newRow("whole word, ASCII")
            << QByteArray("key keys key_1\tkey") << "key" << false << true
            << QStringList{"Zeile 1, Spalte 4", "Zeile 1, Spalte 19"} << QStringList{"key", "key"};
    }
    void f3FindsTheMatchesWithTheOptions() {
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, suche);
        QFETCH(bool, grossKlein);
        QFETCH(bool, ganzesWort);
        QFETCH(QStringList, fundstellen);
        QFETCH(QStringList, treffer);
        Editorfenster f(inhalt);
        QTest::keyClick(f.memo, Qt::Key_F, Qt::ControlModifier);
        tippen(f.feld("sucheText"), suche);
        f.u.w<QCheckBox>("sucheGrossKlein")->setChecked(grossKlein);
        f.u.w<QCheckBox>("sucheGanzesWort")->setChecked(ganzesWort);
        f.taste(Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), f.memo);
        QVERIFY(!f.leisteSichtbar());

        for (int i = 0; i < fundstellen.size(); ++i) {
            QTest::keyClick(f.memo, Qt::Key_F3);
            QCOMPARE(f.position(), fundstellen[i]);
            QCOMPARE(f.memo->selectedText(), treffer[i]);
            QCOMPARE(f.meldung(), QString());
        }
        QTest::keyClick(f.memo, Qt::Key_F3);
        QCOMPARE(f.position(), fundstellen.first());
        QCOMPARE(f.meldung(), QString("Textende erreicht, weiter am Anfang."));
        QTest::keyClick(f.memo, Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(f.position(), fundstellen.last());
        QCOMPARE(f.meldung(), QString("Textanfang erreicht, weiter am Ende."));
        QVERIFY(f.leisteSichtbar());
        QCOMPARE(QApplication::focusWidget(), f.memo);
        // Searching changes nothing.
        QCOMPARE(f.u.form().dateistatus(), QString("gespeichert"));
        QCOMPARE(f.u.dialoge.messageTexts(), QStringList());
    }

    // The bar's own keys: Ctrl+F takes a selected word, Enter and Shift+Enter search on
    // and back, Escape returns to the editor; nothing found is said in the bar, with
    // the selection left as it was. Ctrl+F and F3 are no typed characters, Escape in
    // the editor still is one. In the browser view the editor's bar stays shut.
    void barKeys() {
        Editorfenster f("eins zwei eins\r\nzwei\r\n");
        QTest::keyClick(f.memo, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyClick(f.memo, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(f.leisteSichtbar());
        QCOMPARE(QApplication::focusWidget(), f.feld("sucheText"));
        QCOMPARE(f.feld("sucheText")->text(), QString("eins "));
        f.feld("sucheText")->setText("zwei");
        f.taste(Qt::Key_Return);
        QCOMPARE(f.position(), QString("Zeile 1, Spalte 10"));
        f.taste(Qt::Key_Return);
        QCOMPARE(f.position(), QString("Zeile 2, Spalte 5"));
        f.taste(Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(f.position(), QString("Zeile 1, Spalte 10"));
        QCOMPARE(QApplication::focusWidget(), f.feld("sucheText"));

        f.feld("sucheText")->setText("drei");
        f.taste(Qt::Key_F3);
        QCOMPARE(f.meldung(), QString("„drei“ wurde nicht gefunden."));
        QCOMPARE(f.memo->selectedText(), QString("zwei"));
        QCOMPARE(f.u.dialoge.messageTexts(), QStringList());
        f.taste(Qt::Key_Escape);
        QVERIFY(!f.leisteSichtbar());
        QCOMPARE(QApplication::focusWidget(), f.memo);
        QCOMPARE(f.u.form().dateistatus(), QString("gespeichert"));

        QTest::keyClick(f.memo, Qt::Key_Escape);
        QCOMPARE(f.u.form().dateistatus(), QString("geaendert"));

        f.u.klick("tbtnFlip");
        QCOMPARE(f.u.sichtbareAnsicht(), QString("browser"));
        f.u.w("iniAnzeige")->setFocus();
        QTest::keyClick(f.u.w("iniAnzeige"), Qt::Key_F, Qt::ControlModifier);
        QTest::keyClick(f.u.w("iniAnzeige"), Qt::Key_F3);
        QVERIFY(!f.leisteSichtbar());
    }

    // One replacement, then all of them as one undo step with the trim it causes;
    // umlauts of any case are found, and in a Windows-1252 file written back in its
    // encoding. Replaced lines count as edited (their trailing blanks go once the caret
    // leaves them), other lines keep theirs. The document is changed.
    void replaceAndReplaceAll() {
        // "[Größe]", "a=groß  ", "b=Groß \t", "c=klein  ", "d=Öl öl"; Windows-1252, LF
        Editorfenster f("[Gr\xf6\xdf"
                        "e]\na=gro\xdf  \nb=Gro\xdf \t\nc=klein  \nd=\xd6l \xf6l\n");
        QCOMPARE(f.text("statusFormat"), QString("Windows-1252 · LF"));
        f.suchtextSetzen("groß", "Maß");
        QTest::keyClick(f.memo, Qt::Key_F, Qt::ControlModifier);
        f.u.klick("btnErsetzen"); // selects the first match
        QCOMPARE(f.position(), QString("Zeile 2, Spalte 7"));
        QCOMPARE(f.u.form().dateistatus(), QString("gespeichert"));
        f.u.klick("btnErsetzen"); // replaces it, selects the next
        QCOMPARE(f.memo->text(1), QString("a=Maß\n"));
        QCOMPARE(f.position(), QString("Zeile 3, Spalte 7"));
        QCOMPARE(f.u.form().dateistatus(), QString("geaendert"));
        QVERIFY(f.u.aktiv("tbtnDateispeichern"));

        f.memo->setCursorPosition(0, 0);
        f.u.klick("btnAlleErsetzen");
        QCOMPARE(f.meldung(), QString("1 Stelle ersetzt."));
        const QString einmal = "[Größe]\na=Maß\nb=Maß\nc=klein  \nd=Öl öl\n";
        QCOMPARE(f.memo->text(), einmal);
        f.suchtextSetzen("ö", "oe");
        QTest::keyClick(f.memo, Qt::Key_F, Qt::ControlModifier);
        f.u.klick("btnAlleErsetzen");
        QCOMPARE(f.meldung(), QString("3 Stellen ersetzt."));
        const QString zweimal = "[Groeße]\na=Maß\nb=Maß\nc=klein  \nd=oel oel\n";
        QCOMPARE(f.memo->text(), zweimal);

        // One undo step takes back each replace-all with its trim, redo makes it again.
        f.memo->setFocus();
        f.taste(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.memo->text(), einmal);
        f.taste(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.memo->text(), QString("[Größe]\na=Maß\nb=Groß \t\nc=klein  \nd=Öl öl\n"));
        f.taste(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        f.taste(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.memo->text(), zweimal);
        f.u.klick("btnAlleErsetzen");
        QCOMPARE(f.meldung(), QString("„ö“ wurde nicht gefunden."));

        QCOMPARE(f.gespeichert(), QByteArray("[Groe\xdf"
                                             "e]\na=Ma\xdf\nb=Ma\xdf\nc=klein  \nd=oel oel\n"));
    }

    // A replacement that holds the search text is not searched again; typing after a
    // replacement is an undo step of its own.
    void typingAfterAReplacementIsAStepOfItsOwn() {
        Editorfenster f("alt alt\r\n");
        f.suchtextSetzen("alt", "uralt");
        QTest::keyClick(f.memo, Qt::Key_F, Qt::ControlModifier);
        f.u.klick("btnAlleErsetzen");
        QCOMPARE(f.meldung(), QString("2 Stellen ersetzt."));
        f.memo->setFocus();
        f.taste(Qt::Key_End);
        tippen(f.memo, "er");
        QCOMPARE(f.memo->text(), QString("uralt uralter\r\n"));
        f.taste(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.memo->text(), QString("uralt uralt\r\n"));
        f.taste(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.memo->text(), QString("alt alt\r\n"));
    }

    // The document's encoding and line breaks, whichever way the editor got it.
    void statusLineShowsTheFormat_data() {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<bool>("ueberBrowser");
        QTest::addColumn<QString>("format");
        QTest::newRow("UTF-8, CR LF")
            << QByteArray("[A]\r\nk=\xc3\xa4\r\n") << false << "UTF-8 · CR LF";
        QTest::newRow("UTF-8 BOM, CR")
            << QByteArray("\xef\xbb\xbf[A]\rk=1\r") << false << "UTF-8 mit BOM · CR";
        QTest::newRow("UTF-16 LE")
            << QByteArray("\xff\xfe[\0A\0]\0\n\0", 10) << false << "UTF-16 LE · LF";
        QTest::newRow("Windows-1252 via browser")
            << QByteArray("[A]\nk=\xe4\n") << true << "Windows-1252 · LF";
    }
    void statusLineShowsTheFormat() {
        QFETCH(QByteArray, inhalt);
        QFETCH(bool, ueberBrowser);
        QFETCH(QString, format);
        Umgebung u;
        u.starten();
        u.klick(ueberBrowser ? "BitBtn3" : "BitBtn2");
        QCOMPARE(u.w<QLabel>("statusFormat")->text(), QString("UTF-8 · CR LF"));
        u.dialoge.chooseFile(u.schreiben("a.ini", inhalt));
        u.klick("tbtnDateiladen");
        if (ueberBrowser)
            u.klick("tbtnFlip");
        QCOMPARE(u.w<QLabel>("statusFormat")->text(), format);
        u.klick("tbtnNeu");
        QCOMPARE(u.w<QLabel>("statusFormat")->text(), QString("UTF-8 · CR LF"));
    }

    // After every key of a long mixed sequence (moves, typing umlauts and tabs, line
    // breaks, deletes, undo and redo, overwriting) the status line names the caret's
    // line and column in characters and the insert mode. The sequence starts with a
    // redo that puts text back just in front of the caret.
    void statusLineFollowsEveryKey() {
        Editorfenster f("[Straße]\r\nschlüssel=wert mit äöü und \t tab\r\n\r\nx=1\r\n");
        QCOMPARE(f.position(), QString("Zeile 1, Spalte 1"));
        QCOMPARE(f.text("statusModus"), QString("EINF"));
        struct Taste {
            Qt::Key key;
            Qt::KeyboardModifiers mod;
            const char* text;
        };
        const Taste strgZ{Qt::Key_Z, Qt::ControlModifier, nullptr};
        const Taste strgUmschaltZ{Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, nullptr};
        const Taste ende{Qt::Key_End, {}, nullptr};
        const Taste rechts{Qt::Key_Right, {}, nullptr};
        const Taste links{Qt::Key_Left, {}, nullptr};
        const Taste auswahl[] = {rechts,
                                 links,
                                 {Qt::Key_Down, {}, nullptr},
                                 {Qt::Key_Up, {}, nullptr},
                                 ende,
                                 {Qt::Key_Home, {}, nullptr},
                                 {Qt::Key_Backspace, {}, nullptr},
                                 {Qt::Key_Delete, {}, nullptr},
                                 {Qt::Key_Return, {}, nullptr},
                                 {Qt::Key_Right, Qt::ControlModifier, nullptr},
                                 strgZ,
                                 strgUmschaltZ,
                                 {Qt::Key_unknown, {}, "ä"},
                                 {Qt::Key_unknown, {}, "x"},
                                 {Qt::Key_unknown, {}, "€"}};
        QList<Taste> tasten = {{Qt::Key_Down, {}, nullptr}, ende,  links, links,
                               {Qt::Key_unknown, {}, "ä"},  strgZ, ende,  strgUmschaltZ};
        QRandomGenerator folge(15);
        while (tasten.size() < 400)
            tasten << auswahl[folge.bounded(int(std::size(auswahl)))];
        for (int i = 0; i < tasten.size(); ++i) {
            const Taste& t = tasten[i];
            if (t.text)
                tippen(f.memo, QString::fromUtf8(t.text));
            else
                QTest::keyClick(f.memo, t.key, t.mod);
            if (i % 97 == 96)
                QTest::keyClick(f.memo, Qt::Key_Insert);
            QVERIFY2(f.position() == wahrePosition(f.memo),
                     qPrintable(QString("Schritt %1: %2 statt %3")
                                    .arg(i)
                                    .arg(f.position(), wahrePosition(f.memo))));
            QCOMPARE(f.text("statusModus"), QString(f.memo->overwriteMode() ? "ÜB" : "EINF"));
        }
    }
};

QTEST_MAIN(EditorSucheTest)
#include "EditorSucheTest.moc"
