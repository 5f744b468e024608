// The stamp of a file tells a changed file from a touched or rewritten one with the
// same bytes, and from one that is gone.
#include "core/document/Dateistempel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

using namespace ravik;
using Vergleich = Dateistempel::Vergleich;
Q_DECLARE_METATYPE(ravik::Dateistempel::Vergleich)

namespace {
void schreiben(const QString& pfad, const QByteArray& inhalt) {
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(inhalt) == inhalt.size());
}
} // namespace

class DateistempelTest : public QObject {
    Q_OBJECT

private slots:
    void comparesWithTheFileAsItIsNow_data() {
        QTest::addColumn<QByteArray>("vorher"); // empty: no file
        QTest::addColumn<QString>("wie");
        QTest::addColumn<QByteArray>("nachher");
        QTest::addColumn<Vergleich>("befund");
        // Larger than the blocks a file is read in, and not a multiple of them.
        const QByteArray a = "[A]\n" + QByteArray("; Kommentar\n").repeated(20000) + "k=1\n";
        QTest::newRow("touched") << a << "schreiben" << a << Vergleich::Gleich;
        QTest::newRow("replaced by the same") << a << "ersetzen" << a << Vergleich::Gleich;
        QTest::newRow("same size, other bytes") << a << "schreiben" << QByteArray(a).replace("k=1", "k=2") << Vergleich::Geaendert;
        QTest::newRow("grown") << a << "schreiben" << a + "x" << Vergleich::Geaendert;
        QTest::newRow("removed") << a << "löschen" << QByteArray() << Vergleich::Fehlt;
        QTest::newRow("still missing") << QByteArray() << "" << QByteArray() << Vergleich::Gleich;
        QTest::newRow("created") << QByteArray() << "schreiben" << a << Vergleich::Geaendert;
        // A save would write another file: told whatever the bytes.
        QTest::newRow("replaced by a link") << a << "verknüpfen" << a << Vergleich::Umgelenkt;
        QTest::newRow("folder replaced by a link") << a << "ordner verknüpfen" << a << Vergleich::Umgelenkt;
        QTest::newRow("read through a link, target changed") << a << "über Verknüpfung" << a + "x" << Vergleich::Geaendert;
        QTest::newRow("read through a link, target touched") << a << "über Verknüpfung" << a << Vergleich::Gleich;
    }
    void comparesWithTheFileAsItIsNow() {
        QFETCH(QByteArray, vorher);
        QFETCH(QString, wie);
        QFETCH(QByteArray, nachher);
        QFETCH(Vergleich, befund);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("ordner"));
        const QString pfad = dir.filePath("ordner/a.ini");
        if (wie == "über Verknüpfung")
            QVERIFY(QFile::link(dir.filePath("echt.ini"), pfad));
        if (!vorher.isEmpty())
            schreiben(pfad, vorher);
        Dateistempel stempel = Dateistempel::vorLesen(pfad); // as a load takes it
        if (!vorher.isEmpty())
            stempel.inhaltSetzen(vorher);
        if (wie == "schreiben" || wie == "über Verknüpfung")
            schreiben(pfad, nachher);
        if (wie == "verknüpfen") {
            schreiben(dir.filePath("ziel.ini"), nachher);
            QVERIFY(QFile::remove(pfad) && QFile::link(dir.filePath("ziel.ini"), pfad));
        }
        if (wie == "ordner verknüpfen") {
            QVERIFY(QDir(dir.path()).rename("ordner", "alt") && QDir(dir.path()).mkdir("woanders"));
            schreiben(dir.filePath("woanders/a.ini"), nachher);
            QVERIFY(QFile::link(dir.filePath("woanders"), dir.filePath("ordner")));
        }
        if (wie == "ersetzen") {
            schreiben(dir.filePath("neu"), nachher);
            // QFile::rename never overwrites; an editor saving atomically does.
            QVERIFY(std::rename(QFile::encodeName(dir.filePath("neu")), QFile::encodeName(pfad)) == 0);
        }
        if (wie == "löschen")
            QVERIFY(QFile::remove(pfad));
        QCOMPARE(stempel.vergleichen(), befund);
        QCOMPARE(stempel.vergleichen(), befund); // and so again
    }
};

QTEST_GUILESS_MAIN(DateistempelTest)
#include "DateistempelTest.moc"
