// Applying the entry table to the document's text, all or nothing: random edits,
// refused edits and applies checked against a plain model of the file the user
// means, and the cases that once lost or doubled what nobody touched.
#include "core/document/Bearbeitung.h"
#include "core/document/Dokument.h"
#include "core/platform/errors/RavikError.h"
#include "core/platform/ini/IniDocument.h"
#include "core/platform/ini/IniSyntax.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>
#include <algorithm>
#include <functional>

using namespace ravik;
using Bearbeitung::Detailtexte;
using Schritte = std::function<void(WerteTabelle&)>;
Q_DECLARE_METATYPE(Schritte)

namespace {

QByteArray bytes(const Dokument& d) {
    QByteArray out;
    d.text().writeTo([&](QByteArrayView piece) { out.append(piece); });
    return out;
}

// Everything of the table an apply may change: rows, marks, origins, what is pending.
QStringList zustand(const WerteTabelle& t) {
    QStringList liste;
    for (int r = 0; r < t.RowCount(); ++r) {
        const auto h = t.herkunft(r);
        liste << QStringList{t.sektion(r), t.schluessel(r), t.wert(r), aktionsmarkeText(t.marke(r)),
                             h ? h->sektion + '/' + h->schluessel : "-",
                             t.seitAbgleichGeaendert(r) ? "*" : ""}
                     .join('|');
    }
    return liste;
}

// A file as its readers find it: each section (in order) with its keys ("name=value",
// in order, values unquoted).
using Lesart = std::vector<std::pair<QString, QStringList>>;
Lesart gelesen(const IniDocument& doc) {
    Lesart lesart;
    QStringList k;
    QStringList v;
    for (const QString& s : doc.sectionNames()) {
        doc.keysWithValues(s, k, v);
        QStringList zeilen;
        for (qsizetype i = 0; i < k.size(); ++i)
            zeilen << k[i] + '=' + v[i];
        lesart.emplace_back(s, zeilen);
    }
    return lesart;
}

// The file the user means. Entries the text has keep their order (a renamed one its
// place); new ones follow them, in an order the user does not choose (new sections at
// the end, new keys after a section's last key), so they are compared sorted. A
// deleted entry stays until an apply takes it out of the text, since bringing it back
// before then restores it in its place.
struct Modell {
    struct Eintrag {
        QString name;
        QString wert; // as read
        bool lebt = true;
        bool imText = true;
    };
    struct Sektion {
        Eintrag kopf;
        std::vector<Eintrag> schluessel;
    };
    std::vector<Sektion> sektionen;

    explicit Modell(const IniDocument& text) {
        for (const auto& [name, zeilen] : gelesen(text)) {
            sektionen.push_back({{name, {}}, {}});
            for (const QString& zeile : zeilen) {
                const qsizetype gleich = zeile.indexOf('=');
                sektionen.back().schluessel.push_back({zeile.left(gleich), zeile.mid(gleich + 1)});
            }
        }
    }

    Sektion& sektion(const QString& name) {
        for (Sektion& s : sektionen)
            if (s.kopf.lebt && s.kopf.name == name)
                return s;
        qFatal("no live section %s in the model", qPrintable(name));
    }
    Eintrag& schluessel(const QString& s, const QString& k) {
        for (Eintrag& e : sektion(s).schluessel)
            if (e.lebt && e.name == k)
                return e;
        qFatal("no live key %s in the model", qPrintable(k));
    }

    // What the table brought back stands where the first deleted entry of the name
    // that the text still has stood (the others of the name are one with it);
    // anything else is new.
    template <typename Liste, typename Kopf>
    static Eintrag* zurueckholen(Liste& liste, const QString& name, Kopf&& kopf) {
        Eintrag* zurueck = nullptr;
        for (auto& e : liste) {
            Eintrag& x = kopf(e);
            if (!x.lebt && x.imText && x.name == name) {
                if (zurueck)
                    x.imText = false; // never seen again
                else
                    zurueck = &x;
            }
        }
        if (zurueck)
            zurueck->lebt = true;
        return zurueck;
    }
    void neueSektion(const QString& name, bool zurueckGeholt) {
        if (!zurueckGeholt || !zurueckholen(sektionen, name, [](Sektion& s) -> Eintrag& { return s.kopf; }))
            sektionen.push_back({{name, {}, true, false}, {}});
    }
    // A key brought back has an empty value; a new one the value asked for.
    void neuerSchluessel(const QString& s, const QString& k, bool zurueckGeholt, const QString& wert) {
        auto& liste = sektion(s).schluessel;
        if (!zurueckGeholt) {
            liste.push_back({k, wert, true, false});
            return;
        }
        if (Eintrag* e = zurueckholen(liste, k, [](Eintrag& e) -> Eintrag& { return e; }))
            e->wert.clear();
        else
            liste.push_back({k, {}, true, false});
    }
    // Deleted keys stay under the old name: a key of that name brought back later is
    // a new one.
    void sektionUmbenennen(const QString& alt, const QString& neu) {
        Sektion& s = sektion(alt);
        s.kopf.name = neu;
        for (Eintrag& e : s.schluessel)
            if (!e.lebt)
                e.imText = false;
    }
    void sektionLoeschen(const QString& name) {
        Sektion& s = sektion(name);
        s.kopf.lebt = false;
        for (Eintrag& e : s.schluessel)
            e.lebt = false;
    }

    // The model with the new entries sorted: what the text must read as, once the
    // text's new entries are sorted too (gelesenWieModell).
    QString text() const {
        QString out;
        QStringList neue;
        for (const Sektion& s : sektionen) {
            if (!s.kopf.lebt)
                continue;
            const QString teil = '[' + s.kopf.name + "]\n" + schluesselText(s);
            if (s.kopf.imText)
                out += teil;
            else
                neue << teil;
        }
        neue.sort();
        return out + neue.join(QString());
    }
    static QString schluesselText(const Sektion& s) {
        QString out;
        QStringList neue;
        for (const Eintrag& e : s.schluessel) {
            if (e.lebt)
                (e.imText ? out : neue.emplaceBack()) += e.name + '=' + e.wert + '\n';
        }
        neue.sort();
        return out + "--\n" + neue.join(QString());
    }

    // The text read the same way, its entries beyond those the model has in the text
    // taken as the new ones.
    QString gelesenWieModell(const Lesart& text) const {
        std::vector<const Sektion*> alte;
        for (const Sektion& s : sektionen)
            if (s.kopf.lebt && s.kopf.imText)
                alte.push_back(&s);
        QString out;
        QStringList neue;
        for (size_t i = 0; i < text.size(); ++i) {
            const auto& [name, zeilen] = text[i];
            qsizetype alteSchluessel = 0;
            if (i < alte.size())
                for (const Eintrag& e : alte[i]->schluessel)
                    alteSchluessel += e.lebt && e.imText;
            QStringList neueZeilen = zeilen.mid(alteSchluessel);
            neueZeilen.sort();
            QString teil = '[' + name + "]\n";
            for (const QString& z : zeilen.first(qMin(alteSchluessel, zeilen.size())))
                teil += z + '\n';
            teil += "--\n";
            for (const QString& z : neueZeilen)
                teil += z + '\n';
            if (i < alte.size())
                out += teil;
            else
                neue << teil;
        }
        neue.sort();
        return out + neue.join(QString());
    }
};

// A typed value as the file's readers will read it: quotes typed around it are the
// file's quoting.
QString alsGelesen(const QString& getippt) {
    const QByteArray utf8 = getippt.toUtf8();
    return QString::fromUtf8(IniSyntax::unquote(utf8));
}

void laden(Dokument& d, const QByteArray& datei) {
    d.textUebernehmen(std::make_unique<IniDocument>(datei));
}

// A refused apply changes nothing, and says which entry it refused.
void abgelehnt(Dokument& d, const QString& meldung) {
    const QByteArray vorher = bytes(d);
    const QStringList tabelle = zustand(d.tabelle());
    try {
        d.anwenden();
        QFAIL("the apply was not refused");
    } catch (const EIniFileException& e) {
        if (!meldung.isEmpty())
            QCOMPARE(e.message(), meldung);
    }
    QCOMPARE(bytes(d), vorher);
    QCOMPARE(zustand(d.tabelle()), tabelle);
}

} // namespace

class AnwendenTest : public QObject {
    Q_OBJECT

private slots:
    // Random edits as the window makes them (names taken without outer blanks after
    // the clash check saw them padded, values in quotes), refused edits corrected
    // afterwards, and applies: after each apply the text reads as the model.
    void randomEditsAndRefusalsMatchTheIntendedFile_data() {
        QTest::addColumn<QByteArray>("datei");
        for (const char* name : {"lang_kommentiert_crlf.ini", "doppelte_eintraege.ini", "git_config.ini",
                                 "windows1252_umlaute.ini", "utf16le_bom.ini", "anfuehrungszeichen.ini"}) {
            QFile f(QStringLiteral(RAVIK_SOURCE_DIR "/tests/data/roundtrip/") + name);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QTest::newRow(name) << f.readAll();
        }
        QTest::newRow("comment in a section") << QByteArray("[A]\n; Kommentar zu A\na=1\n[B]\nb=2\n");
        QTest::newRow("Windows-1252") << QByteArray("[A]\r\n; \xe4\r\na=\xe4\r\n[B]\r\nb=2\r\n");
    }
    void randomEditsAndRefusalsMatchTheIntendedFile() {
        QFETCH(QByteArray, datei);
        const QStringList namen{"A", "a", "B", "x", " x", "x ", "\tK", "k", "Neu"};
        const QStringList werte{"1", "\"q r\"", "'s'", " p ", "", "\"", "ä"};
        QRandomGenerator zufall(21);
        for (int runde = 0; runde < 40; ++runde) {
            Dokument d;
            laden(d, datei);
            const bool utf8 = d.text().encoding() != TextEncoding::Windows1252;
            Modell m(d.text());
            WerteTabelle& t = d.tabelle();
            for (int schritt = 0; schritt < 50; ++schritt) {
                std::vector<int> lebend;
                for (int r = 0; r < t.RowCount(); ++r)
                    if (!t.istGeloescht(r) && !t.istLeer())
                        lebend.push_back(r);
                const QString getippt = namen[zufall.bounded(namen.size())];
                const QString name = Bearbeitung::nameWieInDatei(getippt);
                const int art = zufall.bounded(9);
                if (art == 0) {
                    if (t.hatLebendenNamen(getippt, {}))
                        continue;
                    const bool zurueck = Bearbeitung::sektionZurueckholen(t, name);
                    if (!zurueck)
                        Bearbeitung::sektionAnfuegen(t, name);
                    m.neueSektion(name, zurueck);
                    continue;
                }
                if (art == 1) {
                    d.anwenden();
                    QCOMPARE(m.gelesenWieModell(gelesen(d.text())), m.text());
                    m = Modell(d.text()); // the text is the file now
                    continue;
                }
                if (lebend.empty())
                    continue;
                const int r = lebend[zufall.bounded(int(lebend.size()))];
                const QString s = t.sektion(r);
                const QString k = t.schluessel(r);
                const Detailtexte alt{s, k, t.WertAuslesen(s, k)};
                switch (art) {
                case 2: { // a value typed
                    if (k.isEmpty())
                        continue;
                    const QString wert = werte[zufall.bounded(werte.size())];
                    Bearbeitung::bestaetigen(t, alt, {s, k, wert});
                    m.schluessel(s, k).wert = alsGelesen(wert);
                    continue;
                }
                case 3: { // a rename, refused when it clashes as typed
                    Detailtexte neu = alt;
                    (k.isEmpty() ? neu.sektion : neu.schluessel) = getippt;
                    if (Bearbeitung::namenskonflikt(t, alt, neu) || name == (k.isEmpty() ? s : k))
                        continue;
                    neu = Bearbeitung::wieInDatei(neu);
                    if (k.isEmpty())
                        m.sektionUmbenennen(s, name);
                    else
                        m.schluessel(s, k).name = name;
                    Bearbeitung::bestaetigen(t, alt, neu);
                    continue;
                }
                case 4:
                    if (k.isEmpty()) {
                        Bearbeitung::sektionLoeschen(t, s);
                        m.sektionLoeschen(s);
                    } else {
                        Bearbeitung::schluesselLoeschen(t, s, k);
                        m.schluessel(s, k).lebt = false;
                    }
                    continue;
                case 5: { // a new key in the entry's section
                    if (t.hatLebendenNamen(s, getippt))
                        continue;
                    const bool zurueck = Bearbeitung::schluesselZurueckholen(t, s, name);
                    if (!zurueck)
                        Bearbeitung::schluesselAnfuegen(t, s, name, "n");
                    m.neuerSchluessel(s, name, zurueck, "n");
                    continue;
                }
                case 6: { // a value the file cannot hold, corrected after the refusal
                    if (k.isEmpty())
                        continue;
                    const QString falsch = utf8 || zufall.bounded(2) ? "a\nb" : "Łódź";
                    Bearbeitung::bestaetigen(t, alt, {s, k, falsch});
                    abgelehnt(d, {});
                    if (QTest::currentTestFailed())
                        return;
                    Bearbeitung::bestaetigen(t, {s, k, falsch}, {s, k, "gut"});
                    m.schluessel(s, k).wert = "gut";
                    continue;
                }
                case 7: { // a new key's name the encoding lacks, renamed after the refusal
                    if (utf8)
                        continue;
                    const QString frei = "frei" + QString::number(schritt);
                    Bearbeitung::schluesselAnfuegen(t, s, "Ł" + frei, "n");
                    abgelehnt(d, {});
                    if (QTest::currentTestFailed())
                        return;
                    Bearbeitung::bestaetigen(t, {s, "Ł" + frei, "n"}, {s, frei, "n"});
                    m.neuerSchluessel(s, frei, false, "n");
                    continue;
                }
                default:
                    continue;
                }
            }
            d.anwenden();
            QCOMPARE(m.gelesenWieModell(gelesen(d.text())), m.text());
            const QByteArray text = bytes(d);
            d.anwenden(); // nothing left to do
            QCOMPARE(bytes(d), text);
        }
    }

    // Edits that once went half into the text; quotes typed around a value.
    void refusedAppliesChangeNothingAndCorrectedOnesKeepTheRest_data() {
        QTest::addColumn<QByteArray>("datei");
        QTest::addColumn<Schritte>("bearbeiten");
        QTest::addColumn<QString>("meldung");
        QTest::addColumn<Schritte>("berichtigen");
        QTest::addColumn<Schritte>("danach"); // after the apply, applied in turn
        QTest::addColumn<QByteArray>("erwartet");
        const Schritte nichts = [](WerteTabelle&) {};
        const auto bNachA = [](WerteTabelle& t) {
            Bearbeitung::sektionLoeschen(t, "B");
            Bearbeitung::bestaetigen(t, {"A", "", ""}, {"B", "", ""});
        };
        QTest::newRow("UTF-8, line break in a new key's value")
            << QByteArray("[A]\n; Kommentar zu A\na=1\n[B]\nb=2\n")
            << Schritte([=](WerteTabelle& t) {
                   bNachA(t);
                   Bearbeitung::schluesselAnfuegen(t, "B", "nk", "x\ny");
               })
            << "Sektion „B“, Schlüssel „nk“: Der Wert darf keinen Zeilenumbruch enthalten."
            << Schritte([](WerteTabelle& t) { Bearbeitung::bestaetigen(t, {"B", "nk", "x\ny"}, {"B", "nk", "x"}); })
            << nichts << QByteArray("[B]\n; Kommentar zu A\na=1\nnk=x\n");
        QTest::newRow("Windows-1252, a character the code page lacks")
            << QByteArray("[A]\r\n; Kommentar zu A\r\nkein Schlüssel\r\na=\xe4\r\n[B]\r\nb=2\r\n")
            << Schritte([=](WerteTabelle& t) {
                   bNachA(t);
                   Bearbeitung::bestaetigen(t, {"B", "a", "ä"}, {"B", "a", "Łódź"});
               })
            << "Sektion „B“, Schlüssel „a“: Der Wert enthält das Zeichen „Ł“ (U+0141), das in dieser "
               "Datei (Kodierung Windows-1252) nicht gespeichert werden kann."
            << Schritte([](WerteTabelle& t) { Bearbeitung::bestaetigen(t, {"B", "a", "Łódź"}, {"B", "a", "Lodz"}); })
            << nichts << QByteArray("[B]\r\n; Kommentar zu A\r\nkein Schlüssel\r\na=Lodz\r\n");
        QTest::newRow("Windows-1252, section names swapped")
            << QByteArray("[A]\r\na=\xe4\r\n[B]\r\nb=2\r\n")
            << Schritte([](WerteTabelle& t) {
                   Bearbeitung::bestaetigen(t, {"A", "", ""}, {"X", "", ""});
                   Bearbeitung::bestaetigen(t, {"B", "", ""}, {"A", "", ""});
                   Bearbeitung::bestaetigen(t, {"X", "", ""}, {"B", "", ""});
                   Bearbeitung::bestaetigen(t, {"A", "b", "2"}, {"A", "b", "Ł"});
               })
            << "Sektion „A“, Schlüssel „b“: Der Wert enthält das Zeichen „Ł“ (U+0141), das in dieser "
               "Datei (Kodierung Windows-1252) nicht gespeichert werden kann."
            << Schritte([](WerteTabelle& t) { Bearbeitung::bestaetigen(t, {"A", "b", "Ł"}, {"A", "b", "3"}); })
            << nichts << QByteArray("[B]\r\na=\xe4\r\n[A]\r\nb=3\r\n");
        QTest::newRow("Windows-1252, a new key's name the code page lacks")
            << QByteArray("[A]\r\na=\xe4\r\n")
            << Schritte([](WerteTabelle& t) { Bearbeitung::schluesselAnfuegen(t, "A", "Łk", "1"); })
            << "Sektion „A“, Schlüssel „Łk“: Der Schlüsselname enthält das Zeichen „Ł“ (U+0141), das in "
               "dieser Datei (Kodierung Windows-1252) nicht gespeichert werden kann."
            << Schritte([](WerteTabelle& t) { Bearbeitung::bestaetigen(t, {"A", "Łk", "1"}, {"A", "Lk", "1"}); })
            << nichts << QByteArray("[A]\r\na=\xe4\r\nLk=1\r\n");
        QTest::newRow("quotes typed are written once; read ones stay")
            << QByteArray("[PHP]\ninclude_path = \".:/usr/share/php\"\nplain = a\nkeep = \"q\"\n")
            << Schritte([](WerteTabelle& t) {
                   Bearbeitung::bestaetigen(t, {"PHP", "include_path", ".:/usr/share/php"},
                                            {"PHP", "include_path", "\".:/opt\""});
                   Bearbeitung::bestaetigen(t, {"PHP", "plain", "a"}, {"PHP", "plain", "\"b c\""});
                   Bearbeitung::bestaetigen(t, {"PHP", "keep", "q"}, {"PHP", "kept", "q"});
               })
            << QString() << nichts << nichts
            << QByteArray("[PHP]\ninclude_path = \".:/opt\"\nplain = \"b c\"\nkept = \"q\"\n");
        // Renamed away and back, deleted and brought back: two rows of the table stand
        // for the section, and renaming it after a save must not remove it.
        QTest::newRow("a section brought back, saved and renamed keeps its place")
            << QByteArray("[A]\n; zu A\nk=1\n[B]\n")
            << Schritte([](WerteTabelle& t) {
                   Bearbeitung::bestaetigen(t, {"A", "", ""}, {"C", "", ""});
                   Bearbeitung::bestaetigen(t, {"C", "", ""}, {"A", "", ""});
                   Bearbeitung::sektionLoeschen(t, "A");
                   QVERIFY(Bearbeitung::sektionZurueckholen(t, "A"));
               })
            << QString() << nichts
            << Schritte([](WerteTabelle& t) { Bearbeitung::bestaetigen(t, {"A", "", ""}, {"D", "", ""}); })
            << QByteArray("[D]\n; zu A\n[B]\n");
        // A value no edit may write (a NUL) is written back as the file has it.
        const QString mitNul = QString::fromUtf8("a\0b", 3);
        QTest::newRow("a value from the file that no edit may write, key renamed")
            << QByteArray("[A]\nk=a") + '\0' + QByteArray("b\nm=1\n")
            << Schritte([=](WerteTabelle& t) { Bearbeitung::bestaetigen(t, {"A", "k", mitNul}, {"A", "K", mitNul}); })
            << QString() << nichts << nichts << QByteArray("[A]\nK=a") + '\0' + QByteArray("b\nm=1\n");
    }
    void refusedAppliesChangeNothingAndCorrectedOnesKeepTheRest() {
        QFETCH(QByteArray, datei);
        QFETCH(Schritte, bearbeiten);
        QFETCH(QString, meldung);
        QFETCH(Schritte, berichtigen);
        QFETCH(Schritte, danach);
        QFETCH(QByteArray, erwartet);
        Dokument d;
        laden(d, datei);
        bearbeiten(d.tabelle());
        if (!meldung.isEmpty()) {
            abgelehnt(d, meldung);
            abgelehnt(d, meldung); // and again: nothing was done half the first time
            berichtigen(d.tabelle());
        }
        d.anwenden();
        danach(d.tabelle());
        d.anwenden();
        QCOMPARE(bytes(d), erwartet);
    }
};

QTEST_GUILESS_MAIN(AnwendenTest)
#include "AnwendenTest.moc"
