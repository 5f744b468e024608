// Where the window opens: at its remembered place while that can be grabbed on a
// screen, else centred; never smaller than the window may be.
#include "core/settings/Fensterlage.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace ravik;

class FensterlageTest : public QObject {
    Q_OBJECT
private slots:
    void platzieren_data() {
        QTest::addColumn<QRect>("gemerkt"); // null: nothing remembered
        QTest::addColumn<QList<QRect>>("bildschirme");
        QTest::addColumn<QRect>("erwartet");
        const QRect links(0, 0, 1920, 1080), rechts(1920, 0, 1280, 1024);
        QTest::newRow("first start: centred") << QRect() << QList<QRect>{links} << QRect(645, 318, 630, 443);
        QTest::newRow("remembered") << QRect(40, 50, 700, 480) << QList<QRect>{links} << QRect(40, 50, 700, 480);
        QTest::newRow("on the second screen")
            << QRect(2000, 100, 700, 480) << QList<QRect>{links, rechts} << QRect(2000, 100, 700, 480);
        QTest::newRow("that screen is gone: centred, its size kept")
            << QRect(2000, 100, 700, 480) << QList<QRect>{links} << QRect(610, 300, 700, 480);
        QTest::newRow("caption above the screen")
            << QRect(100, -400, 700, 480) << QList<QRect>{links} << QRect(610, 300, 700, 480);
        QTest::newRow("only the right edge on screen")
            << QRect(-690, 100, 700, 480) << QList<QRect>{links} << QRect(610, 300, 700, 480);
        QTest::newRow("larger than the screen, off it: shrunk to fit")
            << QRect(5000, 0, 4000, 3000) << QList<QRect>{links} << QRect(0, 0, 1920, 1080);
        QTest::newRow("smaller than allowed: enlarged")
            << QRect(40, 50, 100, 100) << QList<QRect>{links} << QRect(40, 50, 500, 430);
        QTest::newRow("no screen at all") << QRect(40, 50, 700, 480) << QList<QRect>{} << QRect(0, 0, 630, 443);
    }
    void platzieren() {
        QFETCH(QRect, gemerkt);
        QFETCH(QList<QRect>, bildschirme);
        QFETCH(QRect, erwartet);
        Fensterlage lage;
        if (!gemerkt.isNull())
            lage.rahmen = gemerkt;
        QCOMPARE(lage.platzieren(bildschirme, QSize(630, 443), QSize(500, 430)), erwartet);
    }

    // Values a hand or another program put there: what is not a number, or not a
    // size, is not remembered.
    void unbrauchbareWerteGeltenNicht() {
        QTemporaryDir dir;
        const QString datei = dir.filePath("ravik.ini");
        QFile f(datei);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Window]\nLeft=10\nTop=x\nWidth=700\nHeight=480\nMaximized=1\nDetailWidth=-5\n"
                "SidePanelWidth=0x100\n");
        f.close();
        const Fensterlage lage = Fensterlage::lesen(datei);
        QVERIFY(!lage.rahmen);
        QVERIFY(lage.maximiert);
        QVERIFY(!lage.detailbreite);
        QCOMPARE(lage.seitenbreite, std::optional<int>(256));
        QVERIFY(!Fensterlage::lesen(dir.filePath("fehlt.ini")).rahmen);
    }
};

QTEST_GUILESS_MAIN(FensterlageTest)
#include "FensterlageTest.moc"
