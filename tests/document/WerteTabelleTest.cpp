#include "core/document/WerteTabelle.h"

#include <QRandomGenerator>
#include <QTest>

using ravik::Aktionsmarke;
using ravik::WerteTabelle;

// The entry table against a plain row-by-row scan: the index must give the same
// rows, in the same order, after any mix of appends and overwrites.
class WerteTabelleTest : public QObject {
    Q_OBJECT

private slots:
    void startsAsOneEmptyRow() {
        WerteTabelle t;
        QCOMPARE(t.RowCount(), 1);
        QVERIFY(t.istLeer());
        QCOMPARE(t.WertAuslesen(QString(), QString()), QString());
        t.anhaengen("A", "k", "1", Aktionsmarke::Keine);
        t.leeren();
        QCOMPARE(t.RowCount(), 1);
        QVERIFY(t.istLeer());
        QCOMPARE(t.WertAuslesen("A", "k"), QString());
    }

    void lookupGivesLastMatchingRowWhateverItsMark() {
        WerteTabelle t;
        t.setZeile(0, "A", {}, {}, Aktionsmarke::Keine);
        t.anhaengen("A", "k", "erst", Aktionsmarke::Keine);
        t.anhaengen("B", "k", "andere", Aktionsmarke::Keine);
        t.anhaengen("A", "k", "", Aktionsmarke::Delete);
        QCOMPARE(t.WertAuslesen("A", "k"), QString());
        t.anhaengen("A", "k", "zuletzt", Aktionsmarke::Edit);
        QCOMPARE(t.WertAuslesen("A", "k"), QString("zuletzt"));
        QCOMPARE(t.WertAuslesen("a", "k"), QString()); // names are case-sensitive
        QCOMPARE(t.WertAuslesen("A", "K"), QString());
    }

    void liveRowTestSkipsDeletedRows() {
        WerteTabelle t;
        t.setZeile(0, "Net", {}, {}, Aktionsmarke::Delete);
        t.anhaengen("Net", "host", "x", Aktionsmarke::Delete);
        QVERIFY(!t.hatLebendeZeile("Net", {}));
        QVERIFY(!t.hatLebendeZeile("Net", "host"));
        t.anhaengen("Net", "port", "1", Aktionsmarke::Keine);
        QVERIFY(t.hatLebendeZeile("Net", "port"));
        QVERIFY(!t.hatLebendeZeile("net", "port"));
    }

    void overwrittenNamesMoveBetweenLookups() {
        WerteTabelle t;
        t.setZeile(0, "A", {}, {}, Aktionsmarke::Keine);
        const int k = t.anhaengen("A", "k", "1", Aktionsmarke::Keine);
        t.anhaengen("A", "m", "2", Aktionsmarke::Keine);
        t.setSchluessel(k, "m");
        QCOMPARE(t.zeilenMit("A", "m"), (std::vector<int>{1, 2}));
        QCOMPARE(t.zeilenMit("A", "k"), std::vector<int>{});
        QCOMPARE(t.WertAuslesen("A", "m"), QString("2"));
        t.setSektion(2, "B");
        QCOMPARE(t.zeilenDerSektion("A"), (std::vector<int>{0, 1}));
        QCOMPARE(t.zeilenDerSektion("B"), std::vector<int>{2});
    }

    void limitExcludesRowsAppendedAfterTheScanBegan() {
        WerteTabelle t;
        t.setZeile(0, "A", "k", "1", Aktionsmarke::Keine);
        const int limit = t.RowCount();
        t.anhaengen("A", "k", "2", Aktionsmarke::Keine);
        QCOMPARE(t.zeilenMit("A", "k", limit), std::vector<int>{0});
        QCOMPARE(t.zeilenMit("A", "k"), (std::vector<int>{0, 1}));
    }

    void setRowCountGrowsWithEmptyRowsAndShrinksFromTheEnd() {
        WerteTabelle t;
        t.setRowCount(3);
        QCOMPARE(t.RowCount(), 3);
        QCOMPARE(t.zeilenMit({}, {}), (std::vector<int>{0, 1, 2}));
        t.setZeile(2, "A", "k", "v", Aktionsmarke::Keine);
        t.setRowCount(2);
        QCOMPARE(t.zeilenMit("A", "k"), std::vector<int>{});
        t.setRowCount(0);
        QCOMPARE(t.RowCount(), 1); // never less than one row
    }

    // Random appends and overwrites; the rows must equal a plain list of them, and every
    // lookup a naive scan. A table as loaded keeps its sections' names and runs in its
    // rows until the first edit: loaded tables are checked as loaded, then after each
    // of a few edits.
    void indexAgreesWithAScanFromFirstToLastRow_data() {
        QTest::addColumn<bool>("geladen");
        QTest::newRow("from the empty table") << false;
        QTest::newRow("from loaded tables") << true;
    }
    void indexAgreesWithAScanFromFirstToLastRow() {
        QFETCH(bool, geladen);
        QRandomGenerator zufall(4711);
        const QStringList sektionen{"A", "B", "a", "", "C"};
        const QStringList schluessel{"", "k", "K", "m", "n"};
        WerteTabelle t;
        // A plain model of the rows, "section|key|value".
        QStringList modell{"||"};
        auto laden = [&] {
            t.leeren();
            modell.clear();
            for (const char* s : {"A", "B", "a", "C"}) {
                const int zeile = t.sektionLaden(QString::fromLatin1(s));
                modell << QString("%1||").arg(s);
                for (int k = zufall.bounded(4); k > 0; --k) {
                    t.schluesselLaden(zeile, schluessel[k].toUtf8(), s);
                    modell << QString("%1|%2|%1").arg(s, schluessel[k]);
                }
            }
        };
        auto wahl = [&](const QStringList& l) { return l[zufall.bounded(l.size())]; };
        auto zeilen = [&] {
            QStringList z;
            for (int r = 0; r < t.RowCount(); ++r)
                z << t.sektion(r) + '|' + t.schluessel(r) + '|' + t.wert(r);
            return z;
        };
        auto setzen = [&](int r, int teil, const QString& text) {
            QStringList z = modell[r].split('|');
            z[teil] = text;
            modell[r] = z.join('|');
        };
        auto pruefen = [&] {
            for (const QString& s : sektionen) {
                std::vector<int> sektionsZeilen;
                for (int r = 0; r < t.RowCount(); ++r)
                    if (t.sektion(r) == s)
                        sektionsZeilen.push_back(r);
                QCOMPARE(t.zeilenDerSektion(s), sektionsZeilen);
                for (const QString& k : schluessel) {
                    std::vector<int> erwartet;
                    QString letzter;
                    for (int r = 0; r < t.RowCount(); ++r)
                        if (t.sektion(r) == s && t.schluessel(r) == k) {
                            erwartet.push_back(r);
                            letzter = t.wert(r);
                        }
                    QCOMPARE(t.zeilenMit(s, k), erwartet);
                    QCOMPARE(t.WertAuslesen(s, k), letzter);
                }
            }
        };
        for (int schritt = 0; schritt < 3000; ++schritt) {
            if (geladen && schritt % 4 == 0) {
                laden();
                QCOMPARE(zeilen(), modell);
                pruefen();
            }
            const int art = zufall.bounded(4);
            const QString s = wahl(sektionen), k = wahl(schluessel);
            if (art == 0 || t.RowCount() < 2) {
                t.anhaengen(s, k, QString::number(schritt), Aktionsmarke::Keine);
                modell << s + '|' + k + '|' + QString::number(schritt);
            } else {
                const int r = zufall.bounded(t.RowCount());
                if (art == 1) {
                    t.setSektion(r, s);
                    setzen(r, 0, s);
                } else if (art == 2) {
                    t.setSchluessel(r, k);
                    setzen(r, 1, k);
                } else {
                    t.setZeile(r, s, k, QString::number(-schritt), Aktionsmarke::Keine);
                    modell[r] = s + '|' + k + '|' + QString::number(-schritt);
                }
            }
            if (schritt % 97 != 0 && !geladen)
                continue;
            QCOMPARE(zeilen(), modell);
            pruefen();
        }
    }
};

QTEST_GUILESS_MAIN(WerteTabelleTest)
#include "WerteTabelleTest.moc"
