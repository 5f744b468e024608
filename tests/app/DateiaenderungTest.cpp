// The document's file changed by another program: saving over it asks first, and the
// window asks once whether to reload it when it becomes active again.
#include "app/editor/SynMemo.h"
#include "tests/support/Umgebung.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>

using namespace ravik;
using namespace ravik::test;

namespace {

const QByteArray kAlt = "[A]\nk=1\n";
const QString kGeaendert = "Die Datei %1 wurde außerhalb von Ravik geändert.\r\n\r\n";

// a.ini in the given view, the window shown and active, with an unsaved new section.
TForm1& starten(Umgebung& u, const QString& ansicht, bool aendern = true) {
    TForm1& f = u.starten({u.schreiben("a.ini", kAlt)});
    if (ansicht == "editor")
        u.klick("tbtnFlip");
    u.zeigen();
    if (aendern) {
        u.dialoge.type("N");
        u.klick("tbtnNeueSektion");
        u.dialoge.clear();
    }
    return f;
}

QString inhalt(Umgebung& u) {
    if (u.sichtbareAnsicht() == "editor")
        return u.w<SynMemo>("SynMemo1")->text();
    return u.baumTexte().join(' ') + " k=" + u.form().werteTabelle().wert(1);
}

// The user works in another window and comes back.
void zurueckkehren(Umgebung& u) {
    QWidget anderes;
    anderes.show();
    anderes.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&anderes));
    u.form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&u.form()));
    QTest::qWait(20); // the window looks at the file once it is idle
}

} // namespace

class DateiaenderungTest : public QObject {
    Q_OBJECT

private slots:
    void savingOverAChangedFileAsksFirst_data() {
        QTest::addColumn<QString>("ansicht");
        QTest::addColumn<bool>("ja");
        for (const char* ansicht : {"browser", "editor"}) {
            QTest::addRow("%s, Nein", ansicht) << QString(ansicht) << false;
            QTest::addRow("%s, Ja", ansicht) << QString(ansicht) << true;
        }
    }
    void savingOverAChangedFileAsksFirst() {
        QFETCH(QString, ansicht);
        QFETCH(bool, ja);
        Umgebung u;
        TForm1& f = starten(u, ansicht);
        const QString pfad = u.schreiben("a.ini", "[A]\nk=2\n"); // same size
        u.dialoge.chooseFile(pfad);
        u.dialoge.answer(ja ? Answer::Yes : Answer::No);
        u.klick("tbtnDateispeichern");
        QCOMPARE(u.dialoge.messageTexts(),
                 QStringList{kGeaendert.arg(pfad) + "Soll sie trotzdem überschrieben werden?"});
        QCOMPARE(u.dialoge.shown.last().kind, MessageKind::Warning);
        QCOMPARE(u.dialoge.shown.last().buttons, MessageButtons::YesNoDefaultNo);
        QCOMPARE(Umgebung::lesen(pfad).contains("[N]"), ja);
        QCOMPARE(Umgebung::lesen(pfad + ".bak"), QByteArray(ja ? "[A]\nk=2\n" : "<fehlt>"));
        QCOMPARE(f.dateistatus(), QString(ja ? "gespeichert" : "geaendert"));
    }

    void comingBackAsksOnceToReload_data() {
        QTest::addColumn<QString>("ansicht");
        QTest::addColumn<QString>("vorher");
        QTest::addColumn<QString>("nachher");
        QTest::newRow("browser") << "browser" << "A A/k k=1" << "A A/k k=3";
        QTest::newRow("editor") << "editor" << QString(kAlt) << "[A]\nk=3\n";
    }
    void comingBackAsksOnceToReload() {
        QFETCH(QString, ansicht);
        QFETCH(QString, vorher);
        QFETCH(QString, nachher);
        Umgebung u;
        TForm1& f = starten(u, ansicht, false);
        const QString pfad = u.schreiben("a.ini", kAlt); // touched, same bytes
        zurueckkehren(u);
        QVERIFY(u.dialoge.shown.isEmpty());
        u.schreiben("a.ini", "[A]\nk=2\n");
        u.dialoge.answer(Answer::No);
        zurueckkehren(u);
        zurueckkehren(u); // the same change is not brought up again
        QCOMPARE(u.dialoge.messageTexts(), QStringList{kGeaendert.arg(pfad) + "Soll sie neu geladen werden?"});
        QCOMPARE(u.dialoge.shown.last().kind, MessageKind::Confirmation);
        QCOMPARE(inhalt(u), vorher);

        u.dialoge.type("N");
        u.klick("tbtnNeueSektion");
        u.dialoge.clear();
        u.schreiben("a.ini", "[A]\nk=3\n");
        u.dialoge.answer(Answer::Yes);
        zurueckkehren(u);
        QCOMPARE(u.dialoge.messageTexts(),
                 QStringList{kGeaendert.arg(pfad) + "Soll sie neu geladen werden?\r\n\r\n"
                                                    "Ihre ungespeicherten Änderungen gehen dabei verloren."});
        QCOMPARE(u.dialoge.shown.last().buttons, MessageButtons::YesNoDefaultNo);
        QCOMPARE(inhalt(u), nachher);
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
    }

    // A deleted file is told once (the document is then its only copy); a reload that
    // cannot read what took its place keeps the document; saving writes the file anew.
    void aFileThatIsGoneOrUnreadable() {
        Umgebung u;
        TForm1& f = starten(u, "browser");
        const QString pfad = u.pfad("a.ini");
        QVERIFY(QFile::remove(pfad));
        zurueckkehren(u);
        zurueckkehren(u);
        QVERIFY(QDir().mkdir(pfad));
        u.dialoge.answer(Answer::Yes);
        zurueckkehren(u);
        QCOMPARE(u.baumTexte(), (QStringList{"A", "A/k", "N"}));
        QVERIFY(QDir().rmdir(pfad));
        u.dialoge.chooseFile(pfad);
        u.klick("tbtnDateispeichern");
        const QStringList texte = u.dialoge.messageTexts();
        QCOMPARE(texte.size(), 3); // the error of the failed reload last
        QCOMPARE(texte.mid(0, 2),
                 (QStringList{"Die Datei " + pfad + " wurde außerhalb von Ravik gelöscht oder "
                              "umbenannt.\r\n\r\nBeim Speichern wird sie neu angelegt.",
                              kGeaendert.arg(pfad) + "Soll sie neu geladen werden?\r\n\r\nIhre "
                              "ungespeicherten Änderungen gehen dabei verloren."}));
        QVERIFY(Umgebung::lesen(pfad).contains("[N]"));
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
    }

    // A file that became a symbolic link, or whose folder did, with the same bytes:
    // coming back and saving name the file a save would write; Ja writes it.
    void aFileThatNowLeadsElsewhereIsNamed_data() {
        QTest::addColumn<QString>("wie");
        QTest::addColumn<QString>("gesagt");
        QTest::newRow("link") << "verknüpfen" << "Die Datei %1 ist jetzt eine Verknüpfung auf %2.";
        QTest::newRow("folder") << "ordner" << "Der Pfad der Datei %1 führt jetzt zu %2.";
    }
    void aFileThatNowLeadsElsewhereIsNamed() {
        QFETCH(QString, wie);
        QFETCH(QString, gesagt);
        Umgebung u;
        QDir daten(u.datenverzeichnis.path());
        QVERIFY(daten.mkdir("ordner") && daten.mkdir("woanders"));
        const QString pfad = u.schreiben("ordner/a.ini", kAlt);
        TForm1& f = u.starten({pfad});
        u.zeigen();
        u.dialoge.type("N");
        u.klick("tbtnNeueSektion");
        u.dialoge.clear();
        const QString ziel = QFileInfo(u.schreiben("woanders/a.ini", kAlt)).canonicalFilePath();
        if (wie == "verknüpfen")
            QVERIFY(QFile::remove(pfad) && QFile::link(ziel, pfad));
        else
            QVERIFY(daten.rename("ordner", "alt") && QFile::link(u.pfad("woanders"), u.pfad("ordner")));

        u.dialoge.answer(Answer::No);
        zurueckkehren(u);
        u.dialoge.chooseFile(pfad);
        u.dialoge.answer(Answer::No);
        u.klick("tbtnDateispeichern");
        QCOMPARE(Umgebung::lesen(ziel), kAlt);
        u.dialoge.chooseFile(pfad);
        u.dialoge.answer(Answer::Yes);
        u.klick("tbtnDateispeichern");
        const QString kopf = gesagt.arg(pfad, ziel) + "\r\n\r\n";
        const QString speichern = kopf + "Beim Speichern wird " + ziel + " geschrieben.\r\n\r\n"
                                         "Soll sie trotzdem überschrieben werden?";
        QCOMPARE(u.dialoge.messageTexts(),
                 (QStringList{kopf + "Soll sie neu geladen werden?\r\n\r\nIhre ungespeicherten "
                                     "Änderungen gehen dabei verloren.",
                              speichern, speichern}));
        QVERIFY(Umgebung::lesen(ziel).contains("[N]"));
        QCOMPARE(f.dateistatus(), QString("gespeichert"));
    }

    // The save that closing asks for is refused at the question: the window stays.
    void closingKeepsTheWindowWhenTheSaveIsRefused() {
        Umgebung u;
        TForm1& f = starten(u, "editor");
        const QString pfad = u.schreiben("a.ini", "[B]\n");
        u.dialoge.answer(Answer::Yes);
        u.dialoge.chooseFile(pfad);
        u.dialoge.answer(Answer::No);
        QCloseEvent e;
        QCoreApplication::sendEvent(&f, &e);
        QVERIFY(!e.isAccepted());
        QCOMPARE(Umgebung::lesen(pfad), QByteArray("[B]\n"));
    }
};

QTEST_MAIN(DateiaenderungTest)
#include "DateiaenderungTest.moc"
