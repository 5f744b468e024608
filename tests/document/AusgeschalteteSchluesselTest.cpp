// Keys a file has switched off (";extension=mysqli"): which comment lines are such keys,
// in every file of the round-trip collection, and switching them on and off in the
// document with every other byte kept.
#include "core/document/Bearbeitung.h"
#include "core/document/Dokument.h"
#include "core/platform/errors/RavikError.h"
#include "core/platform/ini/IniDocument.h"
#include "core/platform/ini/IniSyntax.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace ravik;

namespace {

QByteArray datei(const QString& name) {
    QFile f(QStringLiteral(RAVIK_SOURCE_DIR "/tests/data/roundtrip/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every switched-off key of the text: "section/name=value", in file order.
QStringList ausgeschaltete(const IniDocument& text) {
    QStringList liste;
    for (const QString& sektion : text.sectionNames())
        for (const auto& k : text.switchedOffKeys(sektion))
            liste << sektion + '/' + k.name + '=' + k.value;
    return liste;
}

void laden(Dokument& d, const QByteArray& bytes) {
    d.textUebernehmen(std::make_unique<IniDocument>(bytes));
}

int sektionsZeile(const Dokument& d, const QString& sektion) {
    return d.tabelle().lebendeSektionsZeile(quint32(d.tabelle().sektionsIdVon(sektion)));
}

qint32 zeileVon(const Dokument& d, const QString& sektion, const QString& name) {
    for (const auto& k : d.ausgeschalteteSchluessel(sektionsZeile(d, sektion)))
        if (k.name == name)
            return k.line;
    return -1;
}

} // namespace

class AusgeschalteteSchluesselTest : public QObject {
    Q_OBJECT
private slots:
    void regel_data() {
        QTest::addColumn<QByteArray>("zeile");
        QTest::addColumn<QByteArray>("schluessel"); // the key line part, empty for none
        QTest::newRow("semicolon") << QByteArray(";extension=mysqli") << QByteArray("extension=mysqli");
        QTest::newRow("hash") << QByteArray("#name=value") << QByteArray("name=value");
        QTest::newRow("blanks after mark") << QByteArray("; max_input_vars = 1000") << QByteArray("max_input_vars = 1000");
        QTest::newRow("indented") << QByteArray("\t;session.name = X") << QByteArray("session.name = X");
        QTest::newRow("empty value") << QByteArray(";date.timezone =") << QByteArray("date.timezone =");
        QTest::newRow("two marks") << QByteArray(";;extension=oci8") << QByteArray();
        QTest::newRow("mixed marks") << QByteArray(";#a=1") << QByteArray();
        QTest::newRow("prose with =") << QByteArray("; Note: a = b") << QByteArray();
        QTest::newRow("blank in name") << QByteArray(";foo bar=1") << QByteArray();
        QTest::newRow("no =") << QByteArray("; Default Value: On") << QByteArray();
        QTest::newRow("no name") << QByteArray(";= 1") << QByteArray();
        QTest::newRow("section") << QByteArray(";[s]=1") << QByteArray();
        QTest::newRow("quoted name") << QByteArray(";\"a b\"=1") << QByteArray();
        QTest::newRow("sentence as value") << QByteArray(";   Integer = Enables the buffer in bytes.") << QByteArray();
        QTest::newRow("remark as value") << QByteArray("; stderr = Display errors (CLI only)") << QByteArray();
        QTest::newRow("words, no sentence") << QByteArray(";error_reporting = E_ALL & ~E_NOTICE")
                                            << QByteArray("error_reporting = E_ALL & ~E_NOTICE");
        QTest::newRow("inline comment") << QByteArray(";extension=exif ; after mbstring.")
                                        << QByteArray("extension=exif ; after mbstring.");
        QTest::newRow("quoted sentence") << QByteArray(";from=\"a b c.\"") << QByteArray("from=\"a b c.\"");
        QTest::newRow("live key") << QByteArray("a=1") << QByteArray();
        QTest::newRow("blank line") << QByteArray("  ") << QByteArray();
    }
    void regel() {
        QFETCH(QByteArray, zeile);
        QFETCH(QByteArray, schluessel);
        QCOMPARE(IniSyntax::switchedOffKey(zeile).toByteArray(), schluessel);
        if (!schluessel.isEmpty()) // on and off again gives the line back
            QCOMPARE(IniSyntax::switchedOff(IniSyntax::switchedOn(zeile)).size(), zeile.size());
    }

    // What real files switch off, and that no prose line of them is taken for a key.
    void echteDateien_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("erwartet");
        const QStringList php{
            "PHP/display_startup_errors=On", "PHP/output_buffering=4096",
            "PHP/zlib.output_compression=Off", "PHP/max_input_vars=1000",
            "PHP/extension=modulename", "PHP/extension=mysqli", "PHP/extension=bz2",
            "PHP/extension=curl", "PHP/extension=gd", "PHP/extension=mysqli", "PHP/extension=pdo_sqlite",
            "Date/date.timezone=", "Date/date.default_latitude=31.7667",
            "Date/date.default_longitude=35.2333", "Session/session.save_path=/var/lib/php/sessions",
            "Session/session.name=PHPSESSID"};
        QTest::newRow("php_ini_art.ini") << "php_ini_art.ini" << php;
        const QStringList mitAusgeschalteten{"php_ini_art.ini"};
        for (const QString& name : QDir(QStringLiteral(RAVIK_SOURCE_DIR "/tests/data/roundtrip")).entryList(QDir::Files))
            if (!mitAusgeschalteten.contains(name))
                QTest::newRow(qPrintable(name)) << name << QStringList();
    }
    void echteDateien() {
        QFETCH(QString, name);
        QFETCH(QStringList, erwartet);
        QCOMPARE(ausgeschaltete(IniDocument(datei(name))), erwartet);
    }

    // Switching on and off through the document: only that line changes, and switching
    // back gives the file's bytes, in each encoding and line end.
    void einUndAus_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("sektion");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("wert");
        QTest::newRow("php.ini") << datei("php_ini_art.ini") << "PHP" << "max_input_vars" << "1000";
        QTest::newRow("indented") << datei("php_ini_art.ini") << "Session" << "session.name" << "PHPSESSID";
        QTest::newRow("CR LF") << QByteArray("[s]\r\na=1\r\n;extension=mysqli\r\n") << "s" << "extension" << "mysqli";
        QTest::newRow("no final line end") << QByteArray("[s]\n;extension=mysqli") << "s" << "extension" << "mysqli";
        QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBF[s]\n;extension=mysqli\n\xC3\xA4=1\n") << "s"
                                    << "extension" << "mysqli";
        QTest::newRow("Windows-1252") << QByteArray("[s]\n\xE4=1\n;k=\xF6\n") << "s" << "k" << "\u00f6";
        QTest::newRow("UTF-16") << QByteArray::fromHex("fffe5b0073005d000a003b006b003d0076000a00") << "s" << "k"
                                << "v";
    }
    void einUndAus() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, sektion);
        QFETCH(QString, name);
        QFETCH(QString, wert);
        Dokument d;
        laden(d, bytes);
        d.alsGespeichertAnsehen();
        d.schluesselEinschalten(sektion, zeileVon(d, sektion, name), false);
        QCOMPARE(d.status(), Dateistatus::Geaendert);
        QCOMPARE(d.tabelle().WertAuslesen(sektion, name), wert);
        QCOMPARE(zeileVon(d, sektion, name), -1);
        const QByteArray an = d.text().toBytes();
        QCOMPARE(an.size(), bytes.size() - (bytes.startsWith("\xff\xfe") ? 2 : 1));
        d.schluesselAusschalten(sektion, name);
        QCOMPARE(d.text().toBytes(), bytes);
        QVERIFY(!d.tabelle().hatLebendeZeile(sektion, name));
    }

    // A live key of the same name is switched off in the same step, never left twice;
    // the table's pending edits reach the text first.
    void zweiterAktiverWirdAusgeschaltet() {
        Dokument d;
        laden(d, "[s]\nextension=gd\n;extension=mysqli\nx=1\n");
        Bearbeitung::bestaetigen(d.tabelle(), {"s", "x", "1"}, {"s", "x", "2"});
        d.schluesselEinschalten("s", zeileVon(d, "s", "extension"), true);
        QCOMPARE(d.text().toBytes(), QByteArray("[s]\n;extension=gd\nextension=mysqli\nx=2\n"));
        QCOMPARE(d.tabelle().WertAuslesen("s", "extension"), "mysqli");
        // A line that no longer holds the key is refused, nothing changed.
        QVERIFY_THROWS_EXCEPTION(RavikError, d.schluesselEinschalten("s", 3, false));
        QCOMPARE(d.text().toBytes(), QByteArray("[s]\n;extension=gd\nextension=mysqli\nx=2\n"));
    }
};

QTEST_GUILESS_MAIN(AusgeschalteteSchluesselTest)
#include "AusgeschalteteSchluesselTest.moc"
