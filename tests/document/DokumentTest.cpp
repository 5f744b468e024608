// The document without a window: the edit rules on the entry table, and applying
// the table to the document's text.
#include "core/document/Bearbeitung.h"
#include "core/document/Dokument.h"
#include "core/platform/errors/RavikError.h"
#include "core/platform/ini/IniDocument.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <map>
#include <set>

using namespace ravik;
using Bearbeitung::Detailtexte;

namespace {

QStringList zeilen(const WerteTabelle& t) {
    QStringList liste;
    for (int r = 0; r < t.RowCount(); ++r)
        liste << QStringList{t.sektion(r), t.schluessel(r), t.wert(r), aktionsmarkeText(t.marke(r))}.join('|');
    return liste;
}

QByteArray bytes(const Dokument& d) {
    QByteArray out;
    d.text().writeTo([&](QByteArrayView piece) { out.append(piece); });
    return out;
}

void laden(Dokument& d, const QByteArray& datei) {
    d.textUebernehmen(std::make_unique<IniDocument>(datei));
}

// Sections with their keys and values, as a reader of the file finds them.
using Inhalt = std::map<QString, std::set<QString>>;
Inhalt inhaltDesTexts(const QByteArray& datei) {
    Inhalt inhalt;
    const IniDocument doc(datei);
    for (const QString& s : doc.sectionNames()) {
        auto& schluessel = inhalt[s.toCaseFolded()];
        for (const QString& k : doc.keyNames(s))
            schluessel.insert(k + '=' + doc.value(s, k).value_or("?"));
    }
    return inhalt;
}
Inhalt inhaltDerTabelle(const WerteTabelle& t) {
    Inhalt inhalt;
    for (int r = 0; r < t.RowCount(); ++r) {
        if (t.istGeloescht(r) || t.istLeer())
            continue;
        auto& schluessel = inhalt[t.sektion(r).toCaseFolded()];
        if (!t.istSektionsZeile(r))
            schluessel.insert(t.schluessel(r) + '=' + t.wert(r));
    }
    return inhalt;
}

} // namespace

class DokumentTest : public QObject {
    Q_OBJECT

private slots:
    // The rows a confirm leaves, step by step.
    void confirmingMarksTheRows() {
        Dokument d;
        laden(d, "[A]\nk=1\n");
        WerteTabelle& t = d.tabelle();
        Bearbeitung::bestaetigen(t, {"A", "k", "1"}, {"A", "m", "2"});
        QCOMPARE(zeilen(t), (QStringList{"A|||", "A|m|2|edit", "A|k||delete"}));
        const auto ergebnis = Bearbeitung::bestaetigen(t, {"A", "", ""}, {"B", "", ""});
        QVERIFY(ergebnis.sektion && !ergebnis.wert && !ergebnis.schluessel);
        QCOMPARE(zeilen(t), (QStringList{"A|||delete", "B|m|2|edit", "A|k||delete", "B|||neu"}));
        QVERIFY(!Bearbeitung::bestaetigen(t, {"B", "m", "2"}, {"B", "m", "2"}).geaendert());
    }

    void namesClashWithoutRegardToCase() {
        Dokument d;
        laden(d, "[A]\nk=1\nm=2\n[B]\n");
        const WerteTabelle& t = d.tabelle();
        QVERIFY(Bearbeitung::namenskonflikt(t, {"A", "m", "2"}, {"A", "K", "2"}));
        QVERIFY(!Bearbeitung::namenskonflikt(t, {"A", "m", "2"}, {"A", "M", "2"}));
        QVERIFY(Bearbeitung::namenskonflikt(t, {"A", "", ""}, {"b", "", ""}));
        QVERIFY(!Bearbeitung::namenskonflikt(t, {"A", "", ""}, {"a", "", ""}));
        // The file holds names without their outer blanks: "k " is k, " B\t" is B.
        QVERIFY(Bearbeitung::namenskonflikt(t, {"A", "m", "2"}, {"A", "k ", "2"}));
        QVERIFY(Bearbeitung::namenskonflikt(t, {"A", "", ""}, {" B\t", "", ""}));
        QVERIFY(t.hatLebendenNamen(" a", " K"));
        QVERIFY(!t.hatLebendenNamen("A", "k2"));
        QCOMPARE(Bearbeitung::nameWieInDatei(" \tx y\f"), QString("x y"));
        QVERIFY(!Bearbeitung::nameWieInDatei("  ").isNull());
        Bearbeitung::sektionLoeschen(d.tabelle(), "B"); // a deleted name is free again
        QVERIFY(!Bearbeitung::namenskonflikt(t, {"A", "", ""}, {"b", "", ""}));
    }

    // Renames are written where the entries stand; deleted names may be taken anew.
    void applyingEditsTheTextInPlace() {
        Dokument d;
        laden(d, "; Kopf\r\n[A] ; a\r\nk = 1\r\nm=2\r\n\r\n[B]\r\nx=9\r\n");
        WerteTabelle& t = d.tabelle();
        Bearbeitung::sektionLoeschen(t, "B");
        Bearbeitung::bestaetigen(t, {"A", "", ""}, {"B", "", ""});  // onto the deleted name
        Bearbeitung::bestaetigen(t, {"B", "k", "1"}, {"B", "K", "1"}); // case only
        Bearbeitung::schluesselLoeschen(t, "B", "m");
        Bearbeitung::sektionAnfuegen(t, "C");
        Bearbeitung::schluesselAnfuegen(t, "C", "n", "3");
        d.anwenden();
        const QByteArray erwartet = "; Kopf\r\n[B] ; a\r\nK = 1\r\n\r\n[C]\r\nn=3\r\n";
        QCOMPARE(bytes(d), erwartet);
        d.anwenden(); // applied again: nothing more to do
        QCOMPARE(bytes(d), erwartet);
        // After applying, the table stands for the text as it is now.
        Bearbeitung::bestaetigen(t, {"B", "", ""}, {"A", "", ""});
        d.anwenden();
        QCOMPARE(bytes(d), QByteArray("; Kopf\r\n[A] ; a\r\nK = 1\r\n\r\n[C]\r\nn=3\r\n"));
    }

    // Random edits through the rules; whenever the table is applied, the text holds
    // exactly the table's live entries, and applying twice changes nothing.
    void randomEditsKeepTextAndTableInStep_data() {
        QTest::addColumn<QString>("datei");
        for (const char* name : {"lang_kommentiert_crlf.ini", "doppelte_eintraege.ini", "git_config.ini",
                                 "windows1252_umlaute.ini", "utf16le_bom.ini", "leere_sektionen.ini"})
            QTest::newRow(name) << QString(name);
    }
    void randomEditsKeepTextAndTableInStep() {
        QFETCH(QString, datei);
        QFile f(QStringLiteral(RAVIK_SOURCE_DIR "/tests/data/roundtrip/") + datei);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray original = f.readAll();
        const QStringList namen{"A", "a", "B", "core", "Neu", "x", "K", "user"};
        QRandomGenerator zufall(42);
        for (int runde = 0; runde < 30; ++runde) {
            Dokument d;
            laden(d, original);
            WerteTabelle& t = d.tabelle();
            for (int schritt = 0; schritt < 40; ++schritt) {
                std::vector<int> lebend;
                for (int r = 0; r < t.RowCount(); ++r)
                    if (!t.istGeloescht(r) && !t.istLeer())
                        lebend.push_back(r);
                const QString name = namen[zufall.bounded(namen.size())];
                const int art = zufall.bounded(7);
                if (art == 0 && !t.hatLebendenNamen(name, {})) {
                    if (!Bearbeitung::sektionZurueckholen(t, name))
                        Bearbeitung::sektionAnfuegen(t, name);
                    continue;
                }
                if (lebend.empty())
                    continue;
                const int r = lebend[zufall.bounded(int(lebend.size()))];
                const QString s = t.sektion(r);
                const QString k = t.schluessel(r);
                const Detailtexte alt{s, k, t.WertAuslesen(s, k)};
                Detailtexte neu = alt;
                switch (art) {
                case 1:
                    neu.wert = QString::number(schritt);
                    break;
                case 2:
                    (k.isEmpty() ? neu.sektion : neu.schluessel) = name;
                    break;
                case 3:
                    if (k.isEmpty())
                        Bearbeitung::sektionLoeschen(t, s);
                    else
                        Bearbeitung::schluesselLoeschen(t, s, k);
                    continue;
                case 4:
                    if (!t.hatLebendenNamen(s, name) &&
                        !Bearbeitung::schluesselZurueckholen(t, s, name))
                        Bearbeitung::schluesselAnfuegen(t, s, name, "v");
                    continue;
                case 5:
                    d.anwenden();
                    continue;
                default:
                    continue;
                }
                if (!Bearbeitung::namenskonflikt(t, alt, neu))
                    Bearbeitung::bestaetigen(t, alt, neu);
            }
            d.anwenden();
            const QByteArray text = bytes(d);
            QCOMPARE(inhaltDesTexts(text), inhaltDerTabelle(t));
            d.anwenden();
            QCOMPARE(bytes(d), text);
        }
    }

    // The editor's text goes back in the document's encoding, also when it no longer
    // needs it, and text the encoding cannot hold is refused.
    void editorTextKeepsTheEncoding() {
        Dokument d;
        laden(d, "[A]\r\nk=\xe4\r\n");
        d.setKodierung(d.text().encoding());
        QByteArray gezeigt;
        d.editorTextSchreiben([&](QByteArrayView piece) { gezeigt.append(piece); });
        QCOMPARE(gezeigt, QByteArray("[A]\r\nk=\xc3\xa4\r\n"));
        auto text = d.textAusEditor("[A]\r\nk=1\r\n");
        QCOMPARE(text->encoding(), TextEncoding::Windows1252);
        d.textUebernehmen(std::move(text));
        d.tabelle().setWert(1, QStringLiteral("ü"));
        d.tabelle().setMarke(1, Aktionsmarke::Change);
        d.anwenden();
        QCOMPARE(bytes(d), QByteArray("[A]\r\nk=\xfc\r\n"));
        QVERIFY_THROWS_EXCEPTION(RavikError, d.textAusEditor("k=\xd0\xb6"));
    }
};

QTEST_GUILESS_MAIN(DokumentTest)
#include "DokumentTest.moc"
