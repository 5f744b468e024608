// One value changed in the browser view and saved, and the same change made by
// "ravik --set": the two files are the same bytes.
#include "cli/Befehlszeile.h"
#include "tests/support/Umgebung.h"

#include <QFile>
#include <QLineEdit>

using namespace ravik;
using namespace ravik::test;

class BefehlszeileFensterTest : public QObject {
    Q_OBJECT

private slots:
    void windowAndCommandWriteTheSameBytes_data() {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<QString>("sektion");
        QTest::addColumn<QString>("schluessel");
        QTest::addColumn<QString>("wert");
        QTest::newRow("cp1252") << "windows1252_umlaute.ini" << "Überschrift" << "Text" << "Maß";
        QTest::newRow("utf16") << "utf16le_bom.ini" << "Allgemein" << "Wert" << "klein";
        QTest::newRow("quoted") << "anfuehrungszeichen.ini" << "Texte" << "Wert" << " mit Rand ";
        QTest::newRow("tabs") << "tabs_und_abstaende.ini" << "Allgemein" << "name" << "x";
        QTest::newRow("no final line end") << "ohne_letztes_zeilenende.ini" << "Allgemein" << "Name" << "y";
    }

    void windowAndCommandWriteTheSameBytes() {
        QFETCH(QString, datei);
        QFETCH(QString, sektion);
        QFETCH(QString, schluessel);
        QFETCH(QString, wert);
        const QByteArray original = Umgebung::lesen(RAVIK_SOURCE_DIR "/tests/data/roundtrip/" + datei);
        Umgebung u;
        const QString imFenster = u.schreiben("fenster.ini", original);
        const QString perBefehl = u.schreiben("befehl.ini", original);

        u.starten({imFenster});
        u.auswaehlen(sektion + u'/' + schluessel);
        u.w<QLineEdit>("WertAnzeige")->setText(wert);
        u.klick("btnOK");
        u.dialoge.chooseFile(imFenster);
        u.klick("tbtnDateispeichern");

        QByteArray aus, fehler;
        QCOMPARE(cli::ausfuehren({"--set", perBefehl, sektion, schluessel, wert}, aus, fehler), 0);
        QVERIFY(Umgebung::lesen(perBefehl) != original);
        QCOMPARE(Umgebung::lesen(perBefehl), Umgebung::lesen(imFenster));
    }
};

QTEST_MAIN(BefehlszeileFensterTest)
#include "BefehlszeileFensterTest.moc"
