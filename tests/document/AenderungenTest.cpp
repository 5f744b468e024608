// What a save would change, compared with the file on disk: the list of changes in the
// user's terms, the unified diff of the bytes, and taking one change back.
#include "core/document/Aenderungen.h"

#include <QRandomGenerator>
#include <QTest>

using namespace ravik;

namespace {

QStringList zeilen(const Aenderungsvergleich& v) {
    QStringList out;
    for (const Aenderung& a : v.aenderungen())
        out << QStringList{a.artText(), a.sektion, a.schluessel, a.alt, a.neu}.join('|');
    return out;
}

QStringList hunkKoepfe(const QByteArray& diff) {
    QStringList out;
    for (const QByteArray& z : diff.split('\n'))
        if (z.startsWith("@@"))
            out << QString::fromLatin1(z);
    return out;
}

// Applies a unified diff as patch does: lines end at LF (a CR before it is text), and
// "\ No newline at end of file" takes the LF from the line before it.
QByteArray anwenden(const QByteArray& alt, const QByteArray& diff) {
    QByteArrayList altZeilen;
    for (qsizetype p = 0; p < alt.size();) {
        const qsizetype lf = alt.indexOf('\n', p);
        const qsizetype ende = lf < 0 ? alt.size() : lf + 1;
        altZeilen << alt.mid(p, ende - p);
        p = ende;
    }
    QByteArrayList d = diff.split('\n');
    QByteArray out;
    qsizetype naechste = 0; // next line of alt not yet copied
    QByteArray* letzte = nullptr;
    QByteArray verworfen;
    for (qsizetype k = 2; k < d.size(); ++k) {
        const QByteArray& z = d[k];
        if (z.startsWith("@@")) {
            // "@@ -a,b +c,d @@": the hunk starts after line a-1 of alt (after line a when b is 0)
            const QList<QByteArray> teile = z.mid(4, z.indexOf(' ', 4) - 4).split(',');
            const qsizetype start = teile[0].toLongLong();
            const qsizetype bis = teile[1].toLongLong() ? start - 1 : start;
            while (naechste < bis)
                out += altZeilen[naechste++];
            continue;
        }
        if (z.startsWith('\\')) {
            if (letzte && letzte->endsWith('\n'))
                letzte->chop(1);
            continue;
        }
        if (z.isEmpty())
            continue;
        const QByteArray text = z.mid(1) + '\n';
        if (z[0] == '-') {
            if (altZeilen.value(naechste) != text && altZeilen.value(naechste) != z.mid(1))
                return "patch: Zeile " + QByteArray::number(naechste + 1) + " passt nicht";
            verworfen = altZeilen[naechste++];
            letzte = &verworfen;
            continue;
        }
        if (z[0] == ' ')
            ++naechste;
        out += text;
        letzte = nullptr;
        // The LF just added is taken back by a marker on the next line.
        if (k + 1 < d.size() && d[k + 1].startsWith('\\'))
            out.chop(1), ++k;
    }
    while (naechste < altZeilen.size())
        out += altZeilen[naechste++];
    return out;
}

QByteArray zufallsIni(QRandomGenerator& r) {
    QByteArray t;
    const char* enden[] = {"\n", "\r\n"};
    const char* ende = enden[r.bounded(2)];
    for (int s = 0, n = r.bounded(1, 8); s < n; ++s) {
        t += "[s" + QByteArray::number(r.bounded(5)) + "]" + ende;
        for (int k = 0, m = r.bounded(0, 6); k < m; ++k) {
            switch (r.bounded(5)) {
            case 0:
                t += "; Kommentar " + QByteArray::number(k) + ende;
                break;
            case 1:
                t += ende;
                break;
            default:
                t += "k" + QByteArray::number(r.bounded(4)) + " = " +
                     QByteArray::number(r.bounded(100)) + ende;
            }
        }
    }
    return t;
}

QByteArray zufallsBearbeitung(QByteArray t, QRandomGenerator& r) {
    QByteArrayList z = t.split('\n');
    for (int e = 0, n = r.bounded(1, 6); e < n; ++e) {
        const int i = r.bounded(int(z.size()));
        switch (r.bounded(6)) {
        case 0:
            z[i] = "k" + QByteArray::number(r.bounded(4)) + "=neu" +
                   QByteArray::number(r.bounded(100)) + "\r";
            break;
        case 1:
            z.removeAt(i);
            break;
        case 2:
            z.insert(i, "[neu" + QByteArray::number(r.bounded(3)) + "]");
            break;
        case 3:
            z[i] = z[i].endsWith('\r') ? z[i].chopped(1) : z[i] + '\r';
            break;
        default:
            z.insert(i, "x" + QByteArray::number(r.bounded(9)) + "=1");
        }
        if (z.isEmpty())
            z << QByteArray();
    }
    t = z.join('\n');
    if (r.bounded(4) == 0)
        t = t.endsWith('\n') ? t.chopped(1) : t + '\n';
    if (r.bounded(6) == 0)
        t = t.startsWith("\xEF\xBB\xBF") ? t.mid(3) : "\xEF\xBB\xBF" + t;
    return t;
}

} // namespace

class AenderungenTest : public QObject {
    Q_OBJECT

private slots:
    void listsWhatASaveChanges_data() {
        QTest::addColumn<QByteArray>("alt");
        QTest::addColumn<QByteArray>("neu");
        QTest::addColumn<QStringList>("erwartet"); // art|section|key|old|new
        QTest::addColumn<QStringList>("koepfe");
        const QByteArray datei = "; Kopf\n[A]\na=1\nb=2\nc=3\nd=4\ne=5\nf=6\ng=7\nh=8\n[B]\nx=1\n";
        QTest::newRow("equal") << datei << datei << QStringList() << QStringList();
        QTest::newRow("both empty")
            << QByteArray() << QByteArray() << QStringList() << QStringList();
        QTest::newRow("one value")
            << datei << QByteArray(datei).replace("e=5", "e = \"fünf\"")
            << QStringList{"geändert|A|e|5|fünf"} << QStringList{"@@ -4,7 +4,7 @@"};
        QTest::newRow("two values far apart: two hunks")
            << datei << QByteArray(datei).replace("a=1", "a=0").replace("x=1", "x=0")
            << QStringList{"geändert|A|a|1|0", "geändert|B|x|1|0"}
            << QStringList{"@@ -1,6 +1,6 @@", "@@ -9,4 +9,4 @@"};
        QTest::newRow("section added")
            << datei << datei + "[C]\ny=1\nz=2\n"
            << QStringList{"hinzugefügt|C|||2 Schlüssel"} << QStringList{"@@ -10,3 +10,6 @@"};
        QTest::newRow("section removed")
            << datei << QByteArray(datei).replace("[B]\nx=1\n", "")
            << QStringList{"entfernt|B||1 Schlüssel|"} << QStringList{"@@ -8,5 +8,3 @@"};
        QTest::newRow("key added and key removed")
            << datei << QByteArray(datei).replace("c=3\n", "").replace("x=1\n", "x=1\nneu=ja\n")
            << QStringList{"entfernt|A|c|3|", "hinzugefügt|B|neu||ja"}
            << QStringList{"@@ -2,7 +2,6 @@", "@@ -10,3 +9,4 @@"};
        QTest::newRow("section renamed")
            << datei << QByteArray(datei).replace("[B]", "[Neu]")
            << QStringList{"umbenannt|B||B|Neu"} << QStringList{"@@ -8,5 +8,5 @@"};
        QTest::newRow("key renamed")
            << datei << QByteArray(datei).replace("x=1", "y=1") << QStringList{"umbenannt|B|x|x|y"}
            << QStringList{"@@ -9,4 +9,4 @@"};
        QTest::newRow("comment changed")
            << datei << QByteArray(datei).replace("; Kopf", "; Fuß")
            << QStringList{"geändert|||; Kopf|; Fuß"} << QStringList{"@@ -1,4 +1,4 @@"};
        QTest::newRow("line ends only")
            << datei << QByteArray(datei).replace("\n", "\r\n")
            << QStringList{"geändert|(ganze Datei)|Zeilenenden|LF (12 Zeilen)|CR LF (12 Zeilen)"}
            << QStringList{"@@ -1,12 +1,12 @@"};
        QTest::newRow("BOM only")
            << datei << "\xEF\xBB\xBF" + datei
            << QStringList{"hinzugefügt|(ganze Datei)|Byte-Order-Mark (BOM)||UTF-8 mit BOM"}
            << QStringList{"@@ -1,4 +1,4 @@"};
        QTest::newRow("final line end only")
            << datei << datei.chopped(1)
            << QStringList{"entfernt|(ganze Datei)|Zeilenende am Dateiende|LF|"}
            << QStringList{"@@ -9,4 +9,4 @@"};
        const QByteArray php = "[PHP]\nextension=a\nextension=b\nextension=c\n";
        QTest::newRow("repeated key") << php << QByteArray(php).replace("=b", "=bz")
                                      << QStringList{"geändert|PHP|extension (2. Vorkommen)|b|bz"}
                                      << QStringList{"@@ -1,4 +1,4 @@"};
        QTest::newRow("new document: every line added")
            << QByteArray() << QByteArray("[A]\r\nk=v\r\n")
            << QStringList{"hinzugefügt|A|||1 Schlüssel"} << QStringList{"@@ -0,0 +1,2 @@"};
        QTest::newRow("windows-1252 value")
            << QByteArray("[A]\nk=gr\xFC\x6E\n") << QByteArray("[A]\nk=bl\xE4u\n")
            << QStringList{"geändert|A|k|grün|bläu"} << QStringList{"@@ -1,2 +1,2 @@"};
    }
    void listsWhatASaveChanges() {
        QFETCH(QByteArray, alt);
        QFETCH(QByteArray, neu);
        QFETCH(QStringList, erwartet);
        QFETCH(QStringList, koepfe);
        const auto v = Aenderungsvergleich::vergleichen(alt, neu, "a.ini");
        QCOMPARE(zeilen(v), erwartet);
        QCOMPARE(v.gleich(), erwartet.isEmpty());
        QCOMPARE(hunkKoepfe(v.diff()), koepfe);
        QCOMPARE(anwenden(alt, v.diff()), neu);
        // Taking every change back, one after the other, gives the file on disk.
        QByteArray text = neu;
        for (int runde = 0; runde < 20 && text != alt; ++runde)
            text = Aenderungsvergleich::vergleichen(alt, text).zuruecknehmen(alt, text, 0);
        QCOMPARE(text, alt);
    }

    // Taking back one change leaves the others: what remains lists one change fewer.
    void takesBackOneChange() {
        const QByteArray alt = "[A]\na=1\nb=2\n[B]\nc=3\n";
        const QByteArray neu = "[A]\na=9\nb=2\nneu=1\n[B]\nc=3";
        const auto v = Aenderungsvergleich::vergleichen(alt, neu);
        QCOMPARE(zeilen(v).size(), 3);
        QCOMPARE(v.zuruecknehmen(alt, neu, 1), QByteArray("[A]\na=9\nb=2\n[B]\nc=3"));
        QCOMPARE(v.zuruecknehmen(alt, neu, 2), QByteArray("[A]\na=9\nb=2\nneu=1\n[B]\nc=3\n"));
    }

    // Random edits: the diff applied to the disk's bytes gives the bytes a save writes,
    // and taking every change back gives the disk's bytes.
    void diffAppliedGivesTheSavedBytes() {
        QRandomGenerator r(4711);
        for (int fall = 0; fall < 400; ++fall) {
            const QByteArray alt = zufallsIni(r);
            const QByteArray neu = zufallsBearbeitung(alt, r);
            const auto v = Aenderungsvergleich::vergleichen(alt, neu);
            QCOMPARE(v.gleich(), alt == neu);
            QCOMPARE(anwenden(alt, v.diff()), neu);
            QByteArray text = neu;
            for (int runde = 0; runde < 100 && text != alt; ++runde) {
                const auto w = Aenderungsvergleich::vergleichen(alt, text);
                text = w.zuruecknehmen(alt, text, r.bounded(int(w.aenderungen().size())));
            }
            QCOMPARE(text, alt);
        }
    }

    // Two wholly different large texts: bounded work, one change for the whole file.
    void whollyDifferentFilesAreChangedThroughout() {
        QByteArray alt, neu;
        for (int i = 0; i < 200000; ++i) {
            alt += "a" + QByteArray::number(i) + "=1\n";
            neu += "b" + QByteArray::number(i) + "=2\n";
        }
        const auto v = Aenderungsvergleich::vergleichen(alt, neu);
        QVERIFY(v.durchgehend());
        QCOMPARE(v.aenderungen().size(), size_t(1));
        QCOMPARE(v.zuruecknehmen(alt, neu, 0), alt);
    }
};

QTEST_GUILESS_MAIN(AenderungenTest)
#include "AenderungenTest.moc"
