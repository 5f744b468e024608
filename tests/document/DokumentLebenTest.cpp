// The document's own life without a window: its status and name and who is told of
// them, and the recovery snapshot, which never changes the document.
#include "core/document/Bearbeitung.h"
#include "core/document/Dokument.h"
#include "core/platform/errors/RavikError.h"
#include "core/platform/ini/IniDocument.h"

#include <QSignalSpy>
#include <QTest>

using namespace ravik;

namespace {

QByteArray text(const Dokument& d) {
    QByteArray out;
    d.editorTextSchreiben([&](QByteArrayView stueck) { out.append(stueck); });
    return out;
}

QByteArray schnappschuss(const Dokument& d) {
    QByteArray out;
    d.schnappschussSchreiben([&](QByteArrayView stueck) { out.append(stueck); });
    return out;
}

// Everything of the table a snapshot could disturb: cells, marks, and what each row
// stands for in the text.
QStringList tabellenstand(const WerteTabelle& t) {
    QStringList liste;
    for (int r = 0; r < t.RowCount(); ++r) {
        const auto h = t.herkunft(r);
        liste << QStringList{t.sektion(r), t.schluessel(r), t.wert(r), aktionsmarkeText(t.marke(r)),
                             t.seitAbgleichGeaendert(r) ? "*" : "",
                             h ? h->sektion + '/' + h->schluessel : "-"}
                     .join('|');
    }
    return liste;
}

const QByteArray kDatei = "; Kopf\r\n[A]\r\n; zu k\r\nk=1\r\nm=2\r\n[B]\r\nx=9\r\n";

} // namespace

class DokumentLebenTest : public QObject {
    Q_OBJECT

private slots:
    // Every edit is announced, not only the first: the recovery copy waits for the
    // next rest after each. Only a new name is announced as one.
    void statusAndNameAreAnnounced() {
        Dokument d;
        QSignalSpy status(&d, &Dokument::statusGesetzt);
        QSignalSpy name(&d, &Dokument::nameGeaendert);
        QCOMPARE(d.status(), Dateistatus::Unbestimmt);
        QVERIFY(!d.gespeichert());
        d.alsGespeichertAnsehen();
        QVERIFY(d.gespeichert());
        d.bearbeitet();
        d.bearbeitet();
        QCOMPARE(d.status(), Dateistatus::Geaendert);
        d.eintragHinzugefuegt();
        QCOMPARE(dateistatusText(d.status()), QString("geaendert2"));
        QVERIFY(!d.gespeichert());
        QCOMPARE(status.size(), 4);
        QCOMPARE(status.at(0).at(0).value<Dateistatus>(), Dateistatus::Gespeichert);
        QCOMPARE(status.at(2).at(0).value<Dateistatus>(), Dateistatus::Geaendert);
        d.setName("/a/b.ini");
        d.setName("/a/b.ini");
        d.setName(QString());
        QCOMPARE(name.size(), 2);
        QCOMPARE(name.at(0).at(0).toString(), QString("/a/b.ini"));
        QVERIFY(d.name().isEmpty());
    }

    // The snapshot holds the edits; the document's text, table and comments are as
    // before, and applying afterwards writes exactly what the snapshot held.
    void snapshotLeavesTheDocumentAlone_data() {
        QTest::addColumn<int>("bearbeitung");
        QTest::addColumn<QByteArray>("erwartet");
        QTest::newRow("nothing edited") << 0 << QByteArray(kDatei);
        QTest::newRow("value") << 1 << QByteArray("; Kopf\r\n[A]\r\n; zu k\r\nk=5\r\nm=2\r\n[B]\r\nx=9\r\n");
        QTest::newRow("rename") << 2 << QByteArray("; Kopf\r\n[A]\r\n; zu k\r\nK2=1\r\nm=2\r\n[B]\r\nx=9\r\n");
        QTest::newRow("delete and new") << 3 << QByteArray("; Kopf\r\n[A]\r\n; zu k\r\nk=1\r\nm=2\r\n[C]\r\nn=3\r\n");
    }
    void snapshotLeavesTheDocumentAlone() {
        QFETCH(int, bearbeitung);
        QFETCH(QByteArray, erwartet);
        Dokument d;
        d.textUebernehmen(std::make_unique<IniDocument>(kDatei));
        WerteTabelle& t = d.tabelle();
        if (bearbeitung == 1)
            Bearbeitung::bestaetigen(t, {"A", "k", "1"}, {"A", "k", "5"});
        if (bearbeitung == 2)
            Bearbeitung::bestaetigen(t, {"A", "k", "1"}, {"A", "K2", "1"});
        if (bearbeitung == 3) {
            Bearbeitung::sektionLoeschen(t, "B");
            Bearbeitung::sektionAnfuegen(t, "C");
            Bearbeitung::schluesselAnfuegen(t, "C", "n", "3");
        }
        const QStringList vorher = tabellenstand(t);
        QSignalSpy status(&d, &Dokument::statusGesetzt);
        QCOMPARE(schnappschuss(d), erwartet);
        QCOMPARE(schnappschuss(d), erwartet); // taken again: the same
        QCOMPARE(text(d), kDatei);
        QCOMPARE(tabellenstand(t), vorher);
        QCOMPARE(d.kommentar("A", bearbeitung == 2 ? "K2" : "k"), QString("zu k"));
        QVERIFY(status.isEmpty());
        d.anwenden();
        QCOMPARE(text(d), erwartet);
    }

    // An edit the file cannot hold refuses the snapshot with the entry's name, and the
    // document is untouched, the edit still waiting in the table.
    void refusedSnapshotLeavesTheDocumentAlone() {
        Dokument d;
        d.textUebernehmen(std::make_unique<IniDocument>(kDatei));
        Bearbeitung::bestaetigen(d.tabelle(), {"A", "m", "2"}, {"A", "m", "zwei\nZeilen"});
        const QStringList vorher = tabellenstand(d.tabelle());
        try {
            schnappschuss(d);
            QFAIL("a value with a line break was taken into the snapshot");
        } catch (const EIniFileException& e) {
            QVERIFY2(e.message().contains("„m“"), qPrintable(e.message()));
        }
        QCOMPARE(text(d), kDatei);
        QCOMPARE(tabellenstand(d.tabelle()), vorher);
    }
};

QTEST_GUILESS_MAIN(DokumentLebenTest)
#include "DokumentLebenTest.moc"
