// Carrying the document between the views through the temporary file.
#include "app/browser/IniBaum.h"
#include "app/shell/WerkzeugKnopf.h"
#include "tests/support/Umgebung.h"

#include <Qsci/qsciscintilla.h>
#include <QDir>

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
        QCOMPARE(memo(u)->text(), QString("[A]\r\nk=1\r\nneu=2\r\n[B]\r\n"));
        QCOMPARE(u.w<WerkzeugKnopf>("tbtnFlip")->bildIndex(), 10);
        // Structure buttons as for the editor; status and name untouched.
        QVERIFY(u.aktiv("tbtnNeuerWert") && u.aktiv("btnOK"));
        QVERIFY(!u.aktiv("tbtnDelete") && !u.aktiv("tbtnAnsicht"));
        QCOMPARE(f.dateistatus(), QString("geaendert"));
        QCOMPARE(f.dateiname(), u.pfad("a.ini"));
        QCOMPARE(f.werbeindex(), (werbung + 1) % 15);
        // The temporary file lived inside TEMP and is gone again.
        QVERIFY(f.tempDateiPfad().startsWith(u.tempverzeichnis.path() + "/"));
        QVERIFY(tempDateien(u).isEmpty());
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
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
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
        // Back in the editor the (empty) tree is what arrives, never the old text.
        u.klick("tbtnFlip");
        QCOMPARE(memo(u)->text(), QString());
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

    // The temporary file cannot be written: the error is shown and the user is back in
    // the view the document came from, with its content untouched.
    void aFailedSwitchReturnsToTheSourceView() {
        Umgebung u;
        TForm1& f = u.starten({u.schreiben("a.ini", "[A]\nk=1\n")});
        u.tempverzeichnis.remove(); // TEMP names a directory that is gone
        u.klick("tbtnFlip");
        QCOMPARE(u.dialoge.shown.size(), 1);
        QCOMPARE(u.dialoge.shown[0].kind, MessageKind::AppError);
        QVERIFY(u.dialoge.shown[0].text.contains("kann nicht erstellt werden"));
        QCOMPARE(u.sichtbareAnsicht(), QString("browser"));
        QCOMPARE(u.baumTexte(), (QStringList{"A", "A/k"}));
        QVERIFY(u.aktiv("tbtnDelete"));
        QCOMPARE(f.dateistatus(), QString("gespeichert"));

        u.klick("BitBtn2");
        memo(u)->setText("[B]\n");
        u.dialoge.clear();
        u.klick("tbtnFlip");
        QCOMPARE(u.sichtbareAnsicht(), QString("editor"));
        QCOMPARE(memo(u)->text(), QString("[B]\n"));
    }
};

QTEST_MAIN(WechselTest)
#include "WechselTest.moc"
