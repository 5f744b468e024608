#include "core/platform/ini/IniDocument.h"

#include <QElapsedTimer>
#include <QTest>

using namespace ravik;

namespace {

// Far above the real cost (well under a second each in a release build), far below
// what quadratic work on these sizes would take; the limits only catch the latter.
constexpr qint64 kLimitMs = 20000;

QByteArray value(int section, int key) {
    return "Wert " + QByteArray::number(section * 31 + key) + "/" + QByteArray::number(key);
}

// 20,000 sections of 25 keys each and a blank line: 540,000 lines, about 13 MB.
QByteArray largeFile() {
    QByteArray file;
    file.reserve(14 << 20);
    for (int s = 0; s < 20000; ++s) {
        file += "[Sektion" + QByteArray::number(s) + "]\r\n";
        for (int k = 0; k < 25; ++k)
            file += "Eintrag" + QByteArray::number(k) + "=" + value(s, k) + "\r\n";
        file += "\r\n";
    }
    return file;
}

} // namespace

class IniScaleTest : public QObject {
    Q_OBJECT

private slots:
    void readsAndWritesBackALargeFile() {
        const QByteArray file = largeFile();
        QElapsedTimer timer;
        timer.start();
        IniDocument document(file);
        const QStringList sections = document.sectionNames();
        QCOMPARE(sections.size(), 20000);
        qint64 keys = 0;
        for (int s = 0; s < sections.size(); s += 1) {
            const QStringList names = document.keyNames(sections[s]);
            QCOMPARE(names.size(), 25);
            for (int k = 0; k < names.size(); ++k) {
                const QString read = document.value(sections[s], names[k]).value_or("");
                if (s % 997 == 0)
                    QCOMPARE(read, QString::fromLatin1(value(s, k)));
                ++keys;
            }
        }
        QCOMPARE(keys, 500000);
        QVERIFY2(timer.elapsed() < kLimitMs, qPrintable(QString::number(timer.elapsed())));

        timer.restart();
        for (int s = 0; s < 20000; ++s) {
            const QString section = "Sektion" + QString::number(s);
            for (int k = 0; k < 25; ++k)
                document.setValue(section, "Eintrag" + QString::number(k),
                                  QString::fromLatin1(value(s, k)));
        }
        QVERIFY(!document.isModified());
        QVERIFY2(timer.elapsed() < kLimitMs, qPrintable(QString::number(timer.elapsed())));

        document.setValue("sektion12345", "EINTRAG7", "neu");
        QByteArray expected = file;
        const QByteArray old = "[Sektion12345]\r\nEintrag0=" + value(12345, 0);
        const qsizetype at =
            expected.indexOf("Eintrag7=" + value(12345, 7) + "\r\n", expected.indexOf(old));
        expected.replace(at, 9 + value(12345, 7).size(), "Eintrag7=neu");
        QCOMPARE(document.toBytes(), expected);
    }

    void manyEditsInOneLargeSection() {
        QByteArray file = "[Gross]\n";
        for (int k = 0; k < 100000; ++k)
            file += "k" + QByteArray::number(k) + "=" + QByteArray::number(k) + "\n";
        file += "; Ende\n";
        IniDocument document(file);
        QElapsedTimer timer;
        timer.start();
        for (int k = 0; k < 50000; ++k)
            document.setValue("Gross", "n" + QString::number(k), QString::number(k));
        for (int k = 0; k < 100000; k += 2)
            document.removeKey("Gross", "k" + QString::number(k));
        for (int k = 50000; k < 60000; ++k)
            document.setValue("Gross", "n" + QString::number(k), "x");
        QVERIFY2(timer.elapsed() < kLimitMs, qPrintable(QString::number(timer.elapsed())));
        const QStringList keys = document.keyNames("Gross");
        QCOMPARE(keys.size(), 50000 + 60000);
        QCOMPARE(keys.first(), QString("k1"));
        QCOMPARE(keys.last(), QString("n59999"));
        QVERIFY(document.toBytes().endsWith("n59999=x\n; Ende\n"));
    }

    void manySectionsAddedAndRemoved() {
        IniDocument document;
        QElapsedTimer timer;
        timer.start();
        for (int s = 0; s < 30000; ++s)
            document.setValue("S" + QString::number(s), "k", "v");
        for (int s = 0; s < 30000; s += 3)
            document.removeSection("s" + QString::number(s));
        for (int s = 0; s < 30000; ++s)
            document.createSection("S" + QString::number(s));
        QVERIFY2(timer.elapsed() < kLimitMs, qPrintable(QString::number(timer.elapsed())));
        const QStringList sections = document.sectionNames();
        QCOMPARE(sections.size(), 30000);
        QCOMPARE(sections[0], QString("S1"));
        QCOMPARE(sections.last(), QString("S29997")); // recreated at the end, in order
        QVERIFY(!document.sectionHasKeys("S29997"));
        QVERIFY(document.sectionHasKeys("S29998"));
    }
};

QTEST_GUILESS_MAIN(IniScaleTest)
#include "IniScaleTest.moc"
