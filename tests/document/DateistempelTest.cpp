// The stamp of a file tells a changed file from a touched or rewritten one with the
// same bytes, and from one that is gone.
#include "core/document/Dateistempel.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ravik;
using Vergleich = Dateistempel::Vergleich;
Q_DECLARE_METATYPE(ravik::Dateistempel::Vergleich)

class DateistempelTest : public QObject {
    Q_OBJECT

private slots:
    void comparesWithTheFileAsItIsNow_data() {
        QTest::addColumn<QByteArray>("vorher"); // empty: no file
        QTest::addColumn<QString>("wie");       // how the file changes
        QTest::addColumn<QByteArray>("nachher");
        QTest::addColumn<Vergleich>("befund");
        // Larger than the blocks a file is read in, and not a multiple of them.
        const QByteArray a = "[A]\n" + QByteArray("; Kommentar\n").repeated(20000) + "k=1\n";
        const QByteArray b = QByteArray(a).replace("k=1", "k=2");
        QTest::newRow("touched") << a << "schreiben" << a << Vergleich::Gleich;
        QTest::newRow("replaced by the same") << a << "ersetzen" << a << Vergleich::Gleich;
        QTest::newRow("same size, other bytes") << a << "schreiben" << b << Vergleich::Geaendert;
        QTest::newRow("old time put back") << a << "schreiben, Zeit zurück" << b << Vergleich::Geaendert;
        QTest::newRow("grown") << a << "schreiben" << a + "x" << Vergleich::Geaendert;
        QTest::newRow("removed") << a << "löschen" << QByteArray() << Vergleich::Fehlt;
        QTest::newRow("still missing") << QByteArray() << "" << QByteArray() << Vergleich::Gleich;
        QTest::newRow("created") << QByteArray() << "schreiben" << a << Vergleich::Geaendert;
    }
    void comparesWithTheFileAsItIsNow() {
        QFETCH(QByteArray, vorher);
        QFETCH(QString, wie);
        QFETCH(QByteArray, nachher);
        QFETCH(Vergleich, befund);
        QTemporaryDir dir;
        const QString pfad = dir.filePath("a.ini");
        const auto schreiben = [](const QString& p, const QByteArray& b) {
            QFile f(p);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(b) == b.size());
        };
        const QDateTime alt = QDateTime::currentDateTime().addSecs(-3600);
        const auto zeitSetzen = [&] {
            QFile f(pfad);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.setFileTime(alt, QFileDevice::FileModificationTime));
        };
        if (!vorher.isEmpty()) {
            schreiben(pfad, vorher);
            zeitSetzen();
        }
        Dateistempel stempel = Dateistempel::vorLesen(pfad); // as a load takes it
        if (!vorher.isEmpty())
            stempel.inhaltSetzen(vorher);
        if (wie.startsWith("schreiben"))
            schreiben(pfad, nachher);
        if (wie.endsWith("zurück"))
            zeitSetzen();
        if (wie == "ersetzen") {
            schreiben(dir.filePath("neu"), nachher);
            QVERIFY(QFile::remove(pfad) && QFile::rename(dir.filePath("neu"), pfad));
        }
        if (wie == "löschen")
            QVERIFY(QFile::remove(pfad));
        QCOMPARE(stempel.vergleichen(), befund);
        QCOMPARE(stempel.vergleichen(), befund); // and so again
    }
};

QTEST_GUILESS_MAIN(DateistempelTest)
#include "DateistempelTest.moc"
