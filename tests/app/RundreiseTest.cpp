// Round trips through the real window over the collection in tests/data/roundtrip:
// saving without changes keeps every byte in both views, each edit in the browser
// view changes exactly the lines it must, and switching views keeps every byte that
// no edit touched.
#include "tests/app/IniZeilen.h"
#include "tests/support/Umgebung.h"

#include "app/editor/SynMemo.h"

#include "core/platform/ini/IniDocument.h"
#include "core/platform/text/TextCodec.h"

#include <QDir>
#include <QLineEdit>

#include <Qsci/qsciscintilla.h>
#include <algorithm>

using namespace ravik;
using namespace ravik::test;

namespace {

const QString kSammlung = QStringLiteral(RAVIK_SOURCE_DIR "/tests/data/roundtrip");
// Every file of the collection has a section with this key.
const QString kSchluessel = QStringLiteral("Wert");
const QString kNeuerWert = QStringLiteral("geändert 42");

QByteArray original(const QString& name) {
    return Umgebung::lesen(QDir(kSammlung).filePath(name));
}

void speichernAls(Umgebung& u, const QString& pfad) {
    u.dialoge.chooseFile(pfad);
    u.klick("tbtnDateispeichern");
}

// The saved file and its backup as they must be, with nothing shown but the dialog.
void gespeichert(Umgebung& u, const QString& pfad, const QByteArray& vorher,
                 const QByteArray& erwartet) {
    QCOMPARE(u.dialoge.messageTexts(), QStringList());
    QVERIFY(u.dialoge.unexpected.isEmpty());
    QCOMPARE(Umgebung::lesen(pfad), erwartet);
    QCOMPARE(Umgebung::lesen(pfad + ".bak"), vorher);
    QCOMPARE(u.form().dateistatus(), QString("gespeichert"));
}

// The section that holds the key the edits work on, as the table names it.
QString wertSektion(Umgebung& u) {
    const WerteTabelle& t = u.form().werteTabelle();
    for (int r = 0; r < t.RowCount(); ++r)
        if (t.schluessel(r) == kSchluessel)
            return t.sektion(r);
    return {};
}

// What the browser view lists: "section", "section/key=value", in order.
QStringList eintraege(const IniDocument& doc) {
    QStringList liste;
    for (const QString& s : doc.sectionNames()) {
        liste << s;
        for (const QString& k : doc.keyNames(s))
            liste << s + QLatin1Char('/') + k + QLatin1Char('=') + doc.value(s, k).value_or("?");
    }
    return liste;
}

QStringList eintraegeDerTabelle(Umgebung& u) {
    const WerteTabelle& t = u.form().werteTabelle();
    QStringList liste;
    for (int r = 0; r < t.RowCount(); ++r)
        liste << (t.schluessel(r).isEmpty() ? t.sektion(r)
                                            : t.sektion(r) + QLatin1Char('/') + t.schluessel(r) +
                                                  QLatin1Char('=') + t.wert(r));
    return liste;
}

QsciScintilla* memo(Umgebung& u) {
    return u.w<QsciScintilla>("SynMemo1");
}

// Opens the file in the editor view through the open dialog.
void imEditorOeffnen(Umgebung& u, const QString& pfad) {
    u.starten();
    u.klick("BitBtn2");
    u.dialoge.chooseFile(pfad);
    u.klick("tbtnDateiladen");
}

} // namespace

class RundreiseTest : public QObject {
    Q_OBJECT

    void dateien() {
        QTest::addColumn<QString>("name");
        const QStringList namen = QDir(kSammlung).entryList({"*.ini"}, QDir::Files, QDir::Name);
        QVERIFY2(namen.size() >= 20, "the round-trip collection is missing");
        for (const QString& name : namen)
            QTest::newRow(qPrintable(name)) << name;
    }

private slots:
    void browserSaveWithoutChangesKeepsEveryByte_data() { dateien(); }
    void browserSaveWithoutChangesKeepsEveryByte() {
        QFETCH(QString, name);
        Umgebung u;
        const QByteArray vorher = original(name);
        const QString pfad = u.schreiben(name, vorher);
        TForm1& f = u.starten({pfad});
        QCOMPARE(u.sichtbareAnsicht(), QString("browser"));
        u.klick("btnOK"); // confirms the first section unchanged; saving is possible now
        QVERIFY(u.aktiv("tbtnDateispeichern"));
        speichernAls(u, pfad);
        gespeichert(u, pfad, vorher, vorher);
        QCOMPARE(f.dateiname(), pfad);
        // A second save makes the same calls again and still changes nothing.
        speichernAls(u, pfad);
        gespeichert(u, pfad, vorher, vorher);
    }

    void editorSaveWithoutChangesKeepsEveryByte_data() { dateien(); }
    void editorSaveWithoutChangesKeepsEveryByte() {
        QFETCH(QString, name);
        Umgebung u;
        const QByteArray vorher = original(name);
        const QString pfad = u.schreiben(name, vorher);
        imEditorOeffnen(u, pfad);
        QCOMPARE(u.sichtbareAnsicht(), QString("editor"));
        QCOMPARE(u.form().dateiname(), pfad);
        QVERIFY(memo(u)->length() > 0);
        // Nothing was typed, so the button is still off: the user could save through
        // the unsaved-changes guard only; the test presses it directly.
        u.w<QWidget>("tbtnDateispeichern")->setEnabled(true);
        speichernAls(u, pfad);
        gespeichert(u, pfad, vorher, vorher);
        // Saved under another name, the new file holds the same bytes.
        const QString kopie = u.pfad("kopie.ini");
        speichernAls(u, kopie);
        QCOMPARE(Umgebung::lesen(kopie), vorher);
    }

    void aChangedValueChangesExactlyItsLine_data() { dateien(); }
    void aChangedValueChangesExactlyItsLine() {
        QFETCH(QString, name);
        Umgebung u;
        const QByteArray vorher = original(name);
        const QString pfad = u.schreiben(name, vorher);
        u.starten({pfad});
        const QString sektion = wertSektion(u);
        QVERIFY(!sektion.isEmpty());
        u.auswaehlen(sektion + QLatin1Char('/') + kSchluessel);
        u.w<QLineEdit>("WertAnzeige")->setText(kNeuerWert);
        u.klick("btnOK");
        speichernAls(u, pfad);

        IniZeilen erwartet(vorher);
        const int zeile = erwartet.ersterSchluessel(sektion, kSchluessel);
        QVERIFY(zeile >= 0);
        erwartet.wertErsetzen(zeile, kNeuerWert);
        gespeichert(u, pfad, vorher, erwartet.bytes());
    }

    void anAddedKeyAddsExactlyOneLine_data() { dateien(); }
    void anAddedKeyAddsExactlyOneLine() {
        QFETCH(QString, name);
        Umgebung u;
        const QByteArray vorher = original(name);
        const QString pfad = u.schreiben(name, vorher);
        u.starten({pfad});
        const QString sektion = wertSektion(u);
        u.auswaehlen(sektion);
        u.dialoge.type("Größe");
        u.dialoge.type("7 Meter");
        u.klick("tbtnNeuerWert");
        QCOMPARE(u.ausgewaehlt(), sektion + "/Größe");
        speichernAls(u, pfad);

        IniZeilen erwartet(vorher);
        erwartet.schluesselEinfuegen(sektion, "Größe", "7 Meter");
        gespeichert(u, pfad, vorher, erwartet.bytes());
    }

    void aDeletedKeyRemovesExactlyItsLines_data() { dateien(); }
    void aDeletedKeyRemovesExactlyItsLines() {
        QFETCH(QString, name);
        Umgebung u;
        const QByteArray vorher = original(name);
        const QString pfad = u.schreiben(name, vorher);
        u.starten({pfad});
        const QString sektion = wertSektion(u);
        u.auswaehlen(sektion + QLatin1Char('/') + kSchluessel);
        u.dialoge.answer(Answer::Ok);
        u.klick("tbtnDelete");
        QVERIFY(!u.baumTexte().contains(sektion + QLatin1Char('/') + kSchluessel));
        u.dialoge.clear();
        speichernAls(u, pfad);

        IniZeilen erwartet(vorher);
        QVERIFY(erwartet.schluesselEntfernen(sektion, kSchluessel) > 0);
        gespeichert(u, pfad, vorher, erwartet.bytes());
    }

    void aDeletedSectionRemovesExactlyItsBlocks_data() { dateien(); }
    void aDeletedSectionRemovesExactlyItsBlocks() {
        QFETCH(QString, name);
        Umgebung u;
        const QByteArray vorher = original(name);
        const QString pfad = u.schreiben(name, vorher);
        u.starten({pfad});
        const QString sektion = wertSektion(u);
        u.auswaehlen(sektion);
        u.dialoge.answer(Answer::Ok);
        u.klick("tbtnDelete");
        QVERIFY(!u.baumTexte().contains(sektion));
        u.dialoge.clear();
        speichernAls(u, pfad);

        IniZeilen erwartet(vorher);
        QVERIFY(erwartet.sektionEntfernen(sektion) > 0);
        gespeichert(u, pfad, vorher, erwartet.bytes());
    }

    // Browser to editor: the editor shows the file itself, in its encoding and line
    // ends; saved from there, every byte is back. And back in the browser view every
    // entry is there.
    void browserToEditorShowsTheFileItself_data() { dateien(); }
    void browserToEditorShowsTheFileItself() {
        QFETCH(QString, name);
        Umgebung u;
        const QByteArray vorher = original(name);
        const QString pfad = u.schreiben(name, vorher);
        TForm1& f = u.starten({pfad});
        const QStringList erwartet = eintraege(IniDocument(vorher));
        QCOMPARE(eintraegeDerTabelle(u), erwartet);
        u.klick("tbtnFlip");
        QCOMPARE(u.sichtbareAnsicht(), QString("editor"));
        QCOMPARE(u.dialoge.messageTexts(), QStringList());
        const QString kopie = u.pfad("kopie.ini");
        u.w<QWidget>("tbtnDateispeichern")->setEnabled(true);
        speichernAls(u, kopie);
        QCOMPARE(u.dialoge.messageTexts(), QStringList());
        QCOMPARE(Umgebung::lesen(kopie), vorher);
        u.klick("tbtnFlip");
        QCOMPARE(u.sichtbareAnsicht(), QString("browser"));
        QCOMPARE(eintraegeDerTabelle(u), erwartet);
        QCOMPARE(f.dateiname(), kopie);
        QCOMPARE(Umgebung::lesen(pfad), vorher); // switching writes no file of the user's
    }

    // Editor, browser, editor without an edit in between: the editor's text comes back.
    void editorToBrowserAndBackGivesTheTextBack_data() { dateien(); }
    void editorToBrowserAndBackGivesTheTextBack() {
        QFETCH(QString, name);
        Umgebung u;
        const QString pfad = u.schreiben(name, original(name));
        imEditorOeffnen(u, pfad);
        auto* editor = u.w<SynMemo>("SynMemo1");
        const QByteArray text = editor->utf8Text().toByteArray();
        u.klick("tbtnFlip");
        QCOMPARE(u.sichtbareAnsicht(), QString("browser"));
        u.dialoge.clear(); // a file without sections says so
        u.klick("tbtnFlip");
        QCOMPARE(u.sichtbareAnsicht(), QString("editor"));
        QCOMPARE(u.dialoge.messageTexts(), QStringList());
        QCOMPARE(editor->utf8Text().toByteArray(), text);
    }

    // One edit in the browser view, then to the editor: the text differs in exactly
    // that line.
    void aBrowserEditReachesTheEditorAsExactlyItsLine_data() { dateien(); }
    void aBrowserEditReachesTheEditorAsExactlyItsLine() {
        QFETCH(QString, name);
        Umgebung u;
        const QByteArray vorher = original(name);
        u.starten({u.schreiben(name, vorher)});
        const QString sektion = wertSektion(u);
        u.auswaehlen(sektion + QLatin1Char('/') + kSchluessel);
        u.w<QLineEdit>("WertAnzeige")->setText(kNeuerWert);
        u.klick("btnOK");
        u.klick("tbtnFlip");
        QCOMPARE(u.dialoge.messageTexts(), QStringList());
        const QString kopie = u.pfad("kopie.ini");
        speichernAls(u, kopie);
        IniZeilen erwartet(vorher);
        erwartet.wertErsetzen(erwartet.ersterSchluessel(sektion, kSchluessel), kNeuerWert);
        QCOMPARE(Umgebung::lesen(kopie), erwartet.bytes());
    }
};

QTEST_MAIN(RundreiseTest)
#include "RundreiseTest.moc"
