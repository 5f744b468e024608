// The promotional rotation and its shared counter; the help and terms texts.
#include "core/help/Werbetexte.h"
#include "app/browser/IniBaum.h"
#include "tests/support/Umgebung.h"

#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>

using namespace ravik;
using namespace ravik::test;

class WerbungHilfeTest : public QObject {
    Q_OBJECT

    static void refresh(Umgebung& u, int mal) {
        for (int i = 0; i < mal; ++i)
            emit u.w<IniBaum>("iniAnzeige")->geklickt();
    }
    static QString werbung(Umgebung& u) { return u.w<QLabel>("WerbetextAnzeige")->text(); }

private slots:
    void startUpShowsTextZero() {
        Umgebung u;
        TForm1& f = u.starten();
        QCOMPARE(werbung(u), werbetexte()[0]);
        QCOMPARE(u.w<QLabel>("WerbetextAnzeige2")->text(), werbetexte()[0]);
        QCOMPARE(f.werbeindex(), 1);
        QCOMPARE(f.klickzaehler(), 0);
    }

    void everyEighthRefreshShowsTheNextText() {
        Umgebung u;
        u.starten();
        u.klick("BitBtn3");
        refresh(u, 7);
        QCOMPARE(werbung(u), werbetexte()[0]);
        refresh(u, 1);
        QCOMPARE(werbung(u), werbetexte()[1]);
        refresh(u, 8);
        QCOMPARE(werbung(u), werbetexte()[2]);
    }

    void theFifteenthChangeWrapsToTextZero() {
        Umgebung u;
        TForm1& f = u.starten();
        for (int i = 0; i < 14; ++i)
            f.Warmstart(Ansicht::Start);
        QCOMPARE(werbung(u), werbetexte()[14]);
        f.Warmstart(Ansicht::Start);
        QCOMPARE(werbung(u), werbetexte()[0]);
    }

    void aClickOnThePromotionOpensTheWebSite() {
        Umgebung u;
        u.starten();
        u.klick("BitBtn3");
        u.zeigen();
        QTest::mouseClick(u.w("WerbetextAnzeige"), Qt::LeftButton);
        QCOMPARE(u.desktop.opened.size(), 1);
        QCOMPARE(u.desktop.opened[0].toString(), herstellerWebseite());
        QTest::mouseClick(u.w("WerbungHinweis"), Qt::LeftButton); // the note does not react
        QCOMPARE(u.desktop.opened.size(), 1);
    }

    void helpIsReadOnceAndToggledWithTheTerms() {
        Umgebung u;
        u.starten();
        u.klick("BitBtn2");
        u.klick("tbtnHilfe");
        auto* hilfe = u.w<QTextBrowser>("HilfeMemo");
        auto* nutzung = u.w<QPushButton>("btnNutzung");
        QCOMPARE(u.sichtbareAnsicht(), QString("hilfe"));
        QVERIFY(hilfe->toPlainText().contains("Browseransicht"));
        QCOMPARE(nutzung->text(), QString("Nutzungsbedingungen"));
        u.klick("btnNutzung");
        QCOMPARE(nutzung->text(), QString("Hilfe"));
        QVERIFY(hilfe->toPlainText().startsWith("Nutzungsbedingungen"));
        u.klick("btnNutzung");
        QCOMPARE(nutzung->text(), QString("Nutzungsbedingungen"));
        QVERIFY(hilfe->toPlainText().contains("Browseransicht"));
        QVERIFY(u.dialoge.shown.isEmpty());
    }

    void leavingHelpWithTheTermsShownReadsTheHelpAgain() {
        Umgebung u;
        u.starten();
        u.klick("BitBtn3");
        u.klick("tbtnHilfe");
        u.klick("btnNutzung");
        u.klick("btnZurueck");
        QCOMPARE(u.sichtbareAnsicht(), QString("browser"));
        u.klick("tbtnHilfe");
        QVERIFY(u.w<QTextBrowser>("HilfeMemo")->toPlainText().contains("Browseransicht"));
        QCOMPARE(u.w<QPushButton>("btnNutzung")->text(), QString("Nutzungsbedingungen"));
    }

    void missingHelpFileShowsThePanelThenTheMessage() {
        Umgebung u;
        u.starten();
        u.klick("BitBtn3");
        QFile::remove(u.programmverzeichnis.filePath("ravik_h.tpx"));
        u.klick("tbtnHilfe");
        QCOMPARE(u.sichtbareAnsicht(), QString("hilfe"));
        QCOMPARE(u.dialoge.messageTexts(), QStringList{"Die Hilfedatei konnte nicht gefunden werden"});
        QCOMPARE(u.dialoge.shown[0].kind, MessageKind::Plain);
        QCOMPARE(u.dialoge.shown[0].caption, QString("Ravik"));
        QVERIFY(u.w<QTextBrowser>("HilfeMemo")->document()->isEmpty());
        QCOMPARE(u.w<QPushButton>("btnNutzung")->text(), QString("Nutzungsbedingungen"));
        u.klick("btnNutzung"); // the terms are still there
        QVERIFY(!u.w<QTextBrowser>("HilfeMemo")->document()->isEmpty());
        u.klick("btnNutzung"); // the help is not
        QCOMPARE(u.dialoge.messageTexts().last(), QString("Die Datei konnte nicht gefunden werden"));
        QCOMPARE(u.w<QPushButton>("btnNutzung")->text(), QString("Nutzungsbedingungen"));
    }

    void richTextIsShownFormattedPlainTextAsIs() {
        Umgebung u;
        u.starten();
        u.klick("BitBtn3");
        QFile h(u.programmverzeichnis.filePath("ravik_h.tpx"));
        QVERIFY(h.open(QIODevice::WriteOnly | QIODevice::Truncate));
        h.write("Zeile <b>eins</b> ohne Auszeichnung\n");
        h.close();
        u.klick("tbtnHilfe");
        QCOMPARE(u.w<QTextBrowser>("HilfeMemo")->toPlainText(), QString("Zeile <b>eins</b> ohne Auszeichnung\n"));
        QVERIFY(h.open(QIODevice::WriteOnly | QIODevice::Truncate));
        h.write("<html><body><h1>Titel</h1><p>Zeile <b>eins</b></p></body></html>");
        h.close();
        u.klick("btnNutzung");
        u.klick("btnNutzung");
        QCOMPARE(u.w<QTextBrowser>("HilfeMemo")->toPlainText(), QString("Titel\nZeile eins"));
    }
};

QTEST_MAIN(WerbungHilfeTest)
#include "WerbungHilfeTest.moc"
