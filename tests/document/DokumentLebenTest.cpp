// The document's own life without a window: its status and name and who is told of
// them, the recovery snapshot, which never changes the document, and its file:
// opened into the editor, saved from either view with the backup, a new document,
// the way between the views, and a file changed by another program.
#include "core/document/Bearbeitung.h"
#include "core/document/Dokument.h"
#include "core/platform/errors/RavikError.h"
#include "core/platform/ini/IniDocument.h"

#include "core/document/Textquelle.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace ravik;

namespace {

QByteArray text(const Dokument& d) {
    QByteArray out;
    d.editorTextSchreiben([&](QByteArrayView stueck) { out.append(stueck); });
    return out;
}

QByteArray schnappschuss(Dokument& d) {
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

// The editor as a plain buffer, with limits small enough to reach.
class Puffer : public Textquelle {
public:
    QByteArray text = "alt";
    qint64 datei = 1 << 20;
    qint64 zeile = 1 << 10;
    QByteArrayView aktuellerText() override { return text; }
    void textSetzen(const Quelle& quelle, qsizetype) override {
        text.clear();
        quelle([this](QByteArrayView stueck) { text.append(stueck); });
    }
    qint64 groessteDatei() const override { return datei; }
    qint64 laengsteZeile() const override { return zeile; }
};

QByteArray lesen(const QString& pfad) {
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(fehlt)");
}

void schreiben(const QString& pfad, const QByteArray& bytes) {
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
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

    // The snapshot holds the edits, keeps the document's status, name and comments, and
    // a later apply writes exactly what the snapshot held.
    void snapshotKeepsStatusNameAndComments_data() {
        QTest::addColumn<int>("bearbeitung");
        QTest::addColumn<QByteArray>("erwartet");
        QTest::newRow("nothing edited") << 0 << QByteArray(kDatei);
        QTest::newRow("value") << 1 << QByteArray("; Kopf\r\n[A]\r\n; zu k\r\nk=5\r\nm=2\r\n[B]\r\nx=9\r\n");
        QTest::newRow("rename") << 2 << QByteArray("; Kopf\r\n[A]\r\n; zu k\r\nK2=1\r\nm=2\r\n[B]\r\nx=9\r\n");
        QTest::newRow("delete and new") << 3 << QByteArray("; Kopf\r\n[A]\r\n; zu k\r\nk=1\r\nm=2\r\n[C]\r\nn=3\r\n");
    }
    void snapshotKeepsStatusNameAndComments() {
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
        QSignalSpy status(&d, &Dokument::statusGesetzt);
        QSignalSpy name(&d, &Dokument::nameGeaendert);
        QCOMPARE(schnappschuss(d), erwartet);
        QCOMPARE(schnappschuss(d), erwartet); // taken again: the same
        QCOMPARE(d.kommentar("A", bearbeitung == 2 ? "K2" : "k"), QString("zu k"));
        QVERIFY(status.isEmpty());
        QVERIFY(name.isEmpty());
        // What a later save writes is what the copy holds, the edits applied once.
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

    // The file's encoding and line ends become the document's, the editor gets UTF-8.
    void openingIntoTheEditor_data() {
        QTest::addColumn<QByteArray>("datei");
        QTest::addColumn<QByteArray>("imEditor");
        QTest::addColumn<int>("kodierung");
        QTest::addColumn<int>("zeilenende");
        QTest::newRow("UTF-8, CR LF") << QByteArray("[Ä]\r\nk=ö\r\n") << QByteArray("[Ä]\r\nk=ö\r\n")
                                      << int(TextEncoding::Utf8) << int(EolStyle::CrLf);
        QTest::newRow("Windows-1252, LF") << QByteArray("[\xc4]\nk=\xf6\n") << QByteArray("[Ä]\nk=ö\n")
                                          << int(TextEncoding::Windows1252) << int(EolStyle::Lf);
    }
    void openingIntoTheEditor() {
        QFETCH(QByteArray, datei);
        QFETCH(QByteArray, imEditor);
        QTemporaryDir dir;
        const QString pfad = dir.filePath("a.ini");
        schreiben(pfad, datei);
        Dokument d;
        d.textUebernehmen(std::make_unique<IniDocument>(kDatei)); // the browser view's text goes
        Puffer editor;
        d.imEditorOeffnen(pfad, editor);
        QCOMPARE(editor.text, imEditor);
        QTEST(int(d.kodierung()), "kodierung");
        QTEST(int(d.zeilenende()), "zeilenende");
        QCOMPARE(text(d), QByteArray());
        QCOMPARE(d.dateistempel().pfad(), pfad);
        QCOMPARE(d.dateistempel().vergleichen(), Dateistempel::Vergleich::Gleich);
    }

    // A file the editor cannot hold, or cannot be read, is refused before the editor's
    // text or anything of the document changes.
    void openingRefusedChangesNothing_data() {
        QTest::addColumn<QByteArray>("datei"); // "(fehlt)": no file
        QTest::addColumn<qint64>("groesste");
        QTest::addColumn<QString>("grund");
        QTest::newRow("long line") << QByteArray("[A]\nk=123456789\n") << qint64(1 << 20)
                                   << "Die Datei enthält eine Zeile mit mehr als 8 Bytes";
        QTest::newRow("too large") << QByteArray("[A]\nk=1\n") << qint64(4)
                                   << "Die Datei ist 0 MB groß; der Editor lädt höchstens 0 MB.";
        QTest::newRow("missing") << QByteArray("(fehlt)") << qint64(1 << 20) << "";
    }
    void openingRefusedChangesNothing() {
        QFETCH(QByteArray, datei);
        QFETCH(qint64, groesste);
        QFETCH(QString, grund);
        QTemporaryDir dir;
        const QString pfad = dir.filePath("a.ini");
        if (datei != "(fehlt)")
            schreiben(pfad, datei);
        Dokument d;
        d.textUebernehmen(std::make_unique<IniDocument>(QByteArray("[X]\nx=1\n")));
        Puffer editor;
        editor.zeile = 8;
        editor.datei = groesste;
        try {
            d.imEditorOeffnen(pfad, editor);
            QFAIL("the file was opened");
        } catch (const EFOpenError& e) {
            QVERIFY2(e.message().contains(grund), qPrintable(e.message()));
        }
        QCOMPARE(editor.text, QByteArray("alt"));
        QCOMPARE(text(d), QByteArray("[X]\nx=1\n"));
        QVERIFY(d.dateistempel().leer());
    }

    // Saving from either view over the document's own file keeps the file as it was in
    // "<file>.bak"; the document is then saved, named, and stamped with what it wrote,
    // so that only another program's change later counts as a change on disk.
    void savingWithBackup_data() {
        QTest::addColumn<bool>("editoransicht");
        QTest::newRow("editor view") << true;
        QTest::newRow("browser view") << false;
    }
    void savingWithBackup() {
        QFETCH(bool, editoransicht);
        QTemporaryDir dir;
        const QString pfad = dir.filePath("a.ini");
        schreiben(pfad, kDatei);
        Dokument d;
        Puffer editor;
        if (editoransicht) {
            d.imEditorOeffnen(pfad, editor);
            editor.text.replace("k=1", "k=5");
        } else {
            d.textUebernehmen(Dokument::dateiLesen(pfad));
            Bearbeitung::bestaetigen(d.tabelle(), {"A", "k", "1"}, {"A", "k", "5"});
        }
        d.setName(pfad);
        d.bearbeitet();
        d.speichernUnter(pfad, true, editoransicht ? &editor : nullptr);
        QByteArray erwartet = kDatei;
        erwartet.replace("k=1", "k=5");
        QCOMPARE(lesen(pfad), erwartet);
        QCOMPARE(lesen(pfad + ".bak"), kDatei);
        QVERIFY(d.gespeichert());
        QCOMPARE(d.dateistempel().vergleichen(), Dateistempel::Vergleich::Gleich);
        // Saved under another name: the document's own file is backed up, the other
        // file is not, and the document takes the new name.
        const QString anders = dir.filePath("b.ini");
        schreiben(anders, "[B]\n");
        d.speichernUnter(anders, true, editoransicht ? &editor : nullptr);
        QCOMPARE(lesen(anders), erwartet);
        QCOMPARE(lesen(pfad + ".bak"), erwartet);
        QVERIFY(!QFile::exists(anders + ".bak"));
        QCOMPARE(d.name(), anders);
        QTest::qWait(20);
        schreiben(anders, "[fremd]\n");
        QCOMPARE(d.dateistempel().vergleichen(), Dateistempel::Vergleich::Geaendert);
        QFile::remove(anders);
        QCOMPARE(d.dateistempel().vergleichen(), Dateistempel::Vergleich::Fehlt);
    }

    // A save that cannot be made leaves the file, the backup and the document's state
    // as they were: a directory as the target (refused before the backup, with each
    // view's message), a character the file's encoding cannot hold.
    void failedSaveChangesNothing_data() {
        QTest::addColumn<bool>("editoransicht");
        QTest::addColumn<bool>("inVerzeichnis");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("editor view, directory") << true << true << "d.ini";
        QTest::newRow("browser view, directory") << false << true << "In ";
        QTest::newRow("editor view, encoding")
            << true << false << "wurde nicht gespeichert: Der Text enthält Zeichen, die in der Kodierung";
    }
    void failedSaveChangesNothing() {
        QFETCH(bool, editoransicht);
        QFETCH(bool, inVerzeichnis);
        QFETCH(QString, meldung);
        QTemporaryDir dir;
        const QString pfad = dir.filePath("a.ini");
        schreiben(pfad, "[A]\nk=\xe4\n"); // Windows-1252
        Dokument d;
        Puffer editor;
        if (editoransicht)
            d.imEditorOeffnen(pfad, editor);
        else
            d.textUebernehmen(Dokument::dateiLesen(pfad));
        d.setName(pfad);
        d.bearbeitet();
        editor.text = "[A]\nk=\xc5\x82\n"; // ł: not in Windows-1252
        QString ziel = pfad;
        if (inVerzeichnis) {
            ziel = dir.filePath("d.ini");
            QVERIFY(QDir(dir.path()).mkdir("d.ini"));
        }
        try {
            d.speichernUnter(ziel, true, editoransicht ? &editor : nullptr);
            QFAIL("the save was reported as made");
        } catch (const RavikError& e) {
            QVERIFY2(e.message().contains(meldung), qPrintable(e.message()));
        }
        QCOMPARE(lesen(pfad), QByteArray("[A]\nk=\xe4\n"));
        QCOMPARE(QFile::exists(pfad + ".bak"), !inVerzeichnis);
        QCOMPARE(d.status(), Dateistatus::Geaendert);
        QCOMPARE(d.name(), pfad);
    }

    // A new document is UTF-8 with CR LF, without name, file or text, whatever was open.
    void newDocumentForgetsTheFile() {
        QTemporaryDir dir;
        const QString pfad = dir.filePath("a.ini");
        schreiben(pfad, "[A]\nk=\xe4\n");
        Dokument d;
        d.textUebernehmen(Dokument::dateiLesen(pfad, &d.dateistempel()));
        d.setKodierung(TextEncoding::Windows1252);
        d.setZeilenende(EolStyle::Lf);
        d.setName(pfad);
        d.alsGespeichertAnsehen();
        d.neu();
        QVERIFY(d.name().isEmpty());
        QCOMPARE(d.kodierung(), TextEncoding::Utf8);
        QCOMPARE(d.zeilenende(), EolStyle::CrLf);
        QVERIFY(d.dateistempel().leer());
        QCOMPARE(text(d), QByteArray());
        QVERIFY(d.tabelle().istLeer());
        QVERIFY(d.gespeichert());
    }

    // Editor to browser and back: the text in the file's encoding, the table's edits
    // in it, every other byte as it was; a character the encoding cannot hold stays
    // in the editor with the reason.
    void switchingCarriesTheText() {
        Dokument d;
        d.setKodierung(TextEncoding::Windows1252);
        Puffer editor;
        editor.text = "; \xc3\xa4\n[A]\nk=1\n";
        d.textUebernehmen(d.textAusEditor(editor.aktuellerText()));
        QCOMPARE(d.text().encoding(), TextEncoding::Windows1252);
        Bearbeitung::bestaetigen(d.tabelle(), {"A", "k", "1"}, {"A", "k", "\xc3\xb6"});
        d.anwenden();
        QCOMPARE(text(d), QByteArray("; \xc3\xa4\n[A]\nk=\xc3\xb6\n"));
        QVERIFY_THROWS_EXCEPTION(RavikError, d.textAusEditor("k=\xc5\x82\n"));
    }
};

QTEST_GUILESS_MAIN(DokumentLebenTest)
#include "DokumentLebenTest.moc"
