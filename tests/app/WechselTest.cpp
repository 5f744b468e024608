// Carrying the document between the views: the document's own text with the edits
// of the browser view, every other byte as it was.
#include "app/browser/IniBaum.h"
#include "app/platform/widgets/WerkzeugKnopf.h"
#include "tests/support/Umgebung.h"

#include <Qsci/qsciscintilla.h>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>

using namespace ravik;
using namespace ravik::test;

namespace {
QsciScintilla* memo(Umgebung& u) {
    return u.w<QsciScintilla>("SynMemo1");
}
QStringList tempDateien(Umgebung& u) {
    return QDir(u.tempverzeichnis.path()).entryList(QDir::Files);
}
} // namespace

class WechselTest : public QObject {
    Q_OBJECT

private slots:
    void browserToEditorWritesTheTableAsText() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", "; Kommentar\r\n[A]\r\nk=1\r\n\r\n[B]\r\n")});
        u.dialoge.type("neu");
        u.dialoge.type("2");
        u.auswaehlen("A");
        u.klick("tbtnNeuerWert");
        const int werbung = f.werbeindex();
        u.klick("tbtnFlip");
        QCOMPARE(u.sichtbareAnsicht(), QString("editor"));
        // Comments, blank lines and the line ends stay; the new key goes after the last
        // key of its section.
        QCOMPARE(memo(u)->text(), QString("; Kommentar\r\n[A]\r\nk=1\r\nneu=2\r\n\r\n[B]\r\n"));
        QCOMPARE(u.w<WerkzeugKnopf>("tbtnFlip")->bildIndex(), 10);
        // Structure buttons as for the editor; status and name untouched.
        QVERIFY(u.aktiv("tbtnNeuerWert") && u.aktiv("btnOK"));
        QVERIFY(!u.aktiv("tbtnDelete") && !u.aktiv("tbtnAnsicht"));
        QCOMPARE(f.dateistatus(), QString("geaendert"));
        QCOMPARE(f.dateiname(), u.pfad("a.ini"));
        QCOMPARE(f.werbeindex(), (werbung + 1) % 15);
        QVERIFY(tempDateien(u).isEmpty()); // nothing is written on the way
        QVERIFY(u.dialoge.shown.size() == 2);
    }

    void editorToBrowserParsesTheText() {
        Umgebung u;
        TForm1& f = u.starten();
        u.klick("BitBtn2");
        memo(u)->setText("; c\n[Net]\nhost = a\n\n[Leer]\n");
        u.klick("tbtnFlip");
        QCOMPARE(u.sichtbareAnsicht(), QString("browser"));
        QCOMPARE(u.baumTexte(), (QStringList{"Net", "Net/host", "Leer"}));
        QCOMPARE(u.tabelle(), (QStringList{"Net|||", "Net|host|a|", "Leer|||"}));
        QCOMPARE(u.ausgewaehlt(), QString("Net"));
        for (const char* an : {"tbtnNeuerWert", "tbtnDelete", "tbtnAnsicht", "btnOK"})
            QVERIFY2(u.aktiv(an), an);
        auto* baum = u.w<IniBaum>("iniAnzeige");
        QVERIFY(!baum->isExpanded(baum->model()->index(0, 0))); // image 2: collapsed
        QCOMPARE(f.dateistatus(), QString("geaendert")); // the text was written in the editor
        QVERIFY(tempDateien(u).isEmpty());
    }

    void theTreeFollowsTheLastExpandChoice() {
        Umgebung u;
        u.starten({u.schreiben("a.ini", "[A]\nk=1\n")});
        u.klick("tbtnAnsicht"); // expanded
        u.klick("tbtnFlip");
        u.klick("tbtnFlip");
        auto* baum = u.w<IniBaum>("iniAnzeige");
        QVERIFY(baum->isExpanded(baum->model()->index(0, 0)));
    }

    void commentsOnlyGiveTheInformationMessage() {
        Umgebung u;
        u.starten();
        u.klick("BitBtn2");
        memo(u)->setText("; nur\n\n; Kommentare\n");
        u.klick("tbtnFlip");
        QCOMPARE(u.dialoge.messageTexts().size(), 1);
        QVERIFY(u.dialoge.messageTexts()[0].startsWith("Es wurden keine verwertbaren Inhalte gefunden."));
        QVERIFY(u.baumTexte().isEmpty());
        QVERIFY(u.aktiv("tbtnNeueSektion") && !u.aktiv("tbtnNeuerWert"));
        // Back in the editor the text is whole: the browser view had nothing to change.
        u.klick("tbtnFlip");
        QCOMPARE(memo(u)->text(), QString("; nur\n\n; Kommentare\n"));
    }

    void emptyViewsCarryNothing() {
        Umgebung u;
        u.starten();
        u.klick("BitBtn3");
        u.klick("tbtnFlip");
        QCOMPARE(memo(u)->text(), QString());
        QVERIFY(u.aktiv("tbtnNeuerWert")); // as for the editor
        u.klick("tbtnFlip");
        QVERIFY(u.baumTexte().isEmpty());
        QVERIFY(!u.aktiv("tbtnNeuerWert"));
        QVERIFY(u.dialoge.shown.isEmpty());
    }

    void aSectionWithoutKeysBecomesALoneLine() {
        Umgebung u;
        u.starten();
        u.klick("BitBtn3");
        u.dialoge.type("Allein");
        u.klick("tbtnNeueSektion");
        u.klick("tbtnFlip");
        QCOMPARE(memo(u)->text(), QString("[Allein]\r\n"));
    }

    void theNextSwitchBackResetsTheStaleView() {
        Umgebung u;
        u.starten({u.schreiben("a.ini", "[A]\nk=1\n")});
        u.klick("tbtnFlip");
        memo(u)->setText("[Z]\nz=2\n");
        u.klick("tbtnFlip");
        QCOMPARE(u.baumTexte(), (QStringList{"Z", "Z/z"}));
        QCOMPARE(u.tabelle(), (QStringList{"Z|||", "Z|z|2|"}));
    }

    // A switch that cannot be made shows why and leaves the source view as it was: a
    // Windows-1252 document cannot take a character the code page lacks.
    void aFailedSwitchLeavesTheSourceView() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", "[A]\r\nk=\xe4\r\n")});
        u.auswaehlen("A/k");
        u.w<QLineEdit>("WertAnzeige")->setText(QStringLiteral("ж"));
        u.klick("btnOK");
        u.klick("tbtnFlip");
        QCOMPARE(u.dialoge.shown.size(), 1);
        QCOMPARE(u.dialoge.shown[0].kind, MessageKind::AppError);
        QVERIFY2(u.dialoge.shown[0].text.contains("Windows-1252"), qPrintable(u.dialoge.shown[0].text));
        QCOMPARE(u.sichtbareAnsicht(), QString("browser"));
        QCOMPARE(u.baumTexte(), (QStringList{"A", "A/k"}));
        QCOMPARE(f.dateistatus(), QString("geaendert"));

        u.auswaehlen("A/k");
        u.w<QLineEdit>("WertAnzeige")->setText(QStringLiteral("ö"));
        u.klick("btnOK");
        u.dialoge.clear();
        u.klick("tbtnFlip");
        QCOMPARE(u.sichtbareAnsicht(), QString("editor"));
        memo(u)->SendScintilla(QsciScintillaBase::SCI_DOCUMENTEND);
        memo(u)->insert(QStringLiteral("ж"));
        u.klick("tbtnFlip");
        QCOMPARE(u.dialoge.shown.size(), 1);
        QCOMPARE(u.sichtbareAnsicht(), QString("editor"));
        QCOMPARE(memo(u)->text(), QString("[A]\r\nk=ö\r\nж"));
    }

    // What the editor added (a comment, say) is part of the document the browser view
    // saves.
    void aCommentTypedInTheEditorIsSavedFromTheBrowser() {
        Umgebung u;
        const QString datei = u.schreiben("a.ini", "[A]\nk=1\n");
        u.starten({datei});
        u.klick("tbtnFlip");
        memo(u)->setCursorPosition(1, 0);
        QTest::keyClicks(memo(u), "; erklaert k");
        QTest::keyClick(memo(u), Qt::Key_Return);
        u.klick("tbtnFlip");
        u.auswaehlen("A/k");
        u.w<QLineEdit>("WertAnzeige")->setText("2");
        u.klick("btnOK");
        u.w<QCheckBox>("CheckBox2")->setChecked(false);
        u.dialoge.clear();
        u.dialoge.chooseFile(datei);
        u.klick("tbtnDateispeichern");
        QCOMPARE(Umgebung::lesen(datei), QByteArray("[A]\n; erklaert k\nk=2\n"));
    }
};

QTEST_MAIN(WechselTest)
#include "WechselTest.moc"
