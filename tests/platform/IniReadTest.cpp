#include "TestBytes.h"

#include "core/platform/ini/IniDocument.h"

#include <QTest>

using namespace ravik;
using testbytes::raw;

namespace {

const QString kMissing = QStringLiteral("<missing>");

QString read(const IniDocument& document, const QString& section, const QString& key) {
    return document.value(section, key).value_or(kMissing);
}

} // namespace

// How a file reads: which lines are sections and keys, what a value is, which names
// match, and what the lists show.
class IniReadTest : public QObject {
    Q_OBJECT

private slots:
    void readsValues_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << QByteArray("[A]\r\nk=v\r\n") << "A"
                               << "k"
                               << "v";
        QTest::newRow("no final line end") << QByteArray("[A]\r\nk=v") << "A"
                                           << "k"
                                           << "v";
        QTest::newRow("LF") << QByteArray("[A]\nk=v\n") << "A"
                            << "k"
                            << "v";
        QTest::newRow("CR") << QByteArray("[A]\rk=v\r") << "A"
                            << "k"
                            << "v";
        QTest::newRow("trimmed") << QByteArray("[A]\n \t k \v= \f v w \t\n") << "A"
                                 << "k"
                                 << "v w";
        QTest::newRow("split at the first '='") << QByteArray("[A]\nk=a=b\n") << "A"
                                                << "k"
                                                << "a=b";
        QTest::newRow("no inline comments") << QByteArray("[A]\nk=a ;b\n") << "A"
                                            << "k"
                                            << "a ;b";
        QTest::newRow("empty value") << QByteArray("[A]\nk=\n") << "A"
                                     << "k"
                                     << "";
        QTest::newRow("double quotes removed") << QByteArray("[A]\nk=\"  a  \"\n") << "A"
                                               << "k"
                                               << "  a  ";
        QTest::newRow("single quotes removed") << QByteArray("[A]\nk='a'\n") << "A"
                                               << "k"
                                               << "a";
        QTest::newRow("one pair only") << QByteArray("[A]\nk=\"\"a\"\"\n") << "A"
                                       << "k"
                                       << "\"a\"";
        QTest::newRow("mismatched quotes stay") << QByteArray("[A]\nk=\"a'\n") << "A"
                                                << "k"
                                                << "\"a'";
        QTest::newRow("lone quote stays") << QByteArray("[A]\nk=\"\n") << "A"
                                          << "k"
                                          << "\"";
        QTest::newRow("value keeps its case") << QByteArray("[A]\nk=MiXeD\n") << "a"
                                              << "K"
                                              << "MiXeD";
        QTest::newRow("'#' is an ordinary character") << QByteArray("[A]\n#k=v\n") << "A"
                                                      << "#k"
                                                      << "v";
        QTest::newRow("comment is no key") << QByteArray("[A]\n;k=v\n") << "A"
                                           << "k" << kMissing;
        QTest::newRow("indented comment is no key") << QByteArray("[A]\n \t;k=v\n") << "A"
                                                    << "k" << kMissing;
        QTest::newRow("';' inside a name") << QByteArray("[A]\nk;x=v\n") << "A"
                                           << "k;x"
                                           << "v";
        QTest::newRow("line without '=' is no key") << QByteArray("[A]\nk\n") << "A"
                                                    << "k" << kMissing;
        QTest::newRow("header trimmed, text after ']' ignored")
            << QByteArray("[ \tA B ] x=1\nk=v\n") << "A B"
            << "k"
            << "v";
        QTest::newRow("header without ']'") << QByteArray("[A\nk=v\n") << "A"
                                            << "k"
                                            << "v";
        QTest::newRow("indented header") << QByteArray("  [A]\nk=v\n") << "A"
                                         << "k"
                                         << "v";
        QTest::newRow("empty section name") << QByteArray("[]\nk=v\n") << ""
                                            << "k"
                                            << "v";
        QTest::newRow("blank section name") << QByteArray("[  ]\nk=v\n") << ""
                                            << "k"
                                            << "v";
        QTest::newRow("names given with blanks") << QByteArray("[A]\nk=v\n") << " A\t"
                                                 << " k "
                                                 << "v";
        QTest::newRow("before the first header") << QByteArray("k=v\n[A]\n") << ""
                                                 << "k" << kMissing;
        QTest::newRow("key of the next section") << QByteArray("[A]\n[B]\nk=v\n") << "A"
                                                 << "k" << kMissing;
        QTest::newRow("missing section") << QByteArray("[A]\nk=v\n") << "B"
                                         << "k" << kMissing;
        QTest::newRow("empty file") << QByteArray() << "A"
                                    << "k" << kMissing;
        QTest::newRow("duplicate key: first wins") << QByteArray("[A]\nk=1\nK=2\n") << "A"
                                                   << "k"
                                                   << "1";
        QTest::newRow("duplicate section: first wins")
            << QByteArray("[A]\nk=1\n[a]\nk=2\nj=3\n") << "A"
            << "k"
            << "1";
        QTest::newRow("key only in a repeated section is out of reach")
            << QByteArray("[A]\nk=1\n[a]\nj=3\n") << "A"
            << "j" << kMissing;
        QTest::newRow("NUL bytes") << raw("[A]\nk=a\0b\n") << "A"
                                   << "k" << QString("a") + QChar(0) + "b";
        QTest::newRow("UTF-8") << QStringLiteral("[Größe]\nSchlüssel=Wert ä\n").toUtf8() << "Größe"
                               << "Schlüssel"
                               << "Wert ä";
        QTest::newRow("Windows-1252") << QByteArray("[Gr\xF6\xDF"
                                                    "e]\nk=\x80\n")
                                      << "Größe"
                                      << "k"
                                      << "€";
    }
    void readsValues() {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        const IniDocument document(file);
        QCOMPARE(read(document, section, key), value);
    }

    void readsAMegabyteValueWhole() {
        const QByteArray big(1 << 20, 'v');
        const IniDocument document("[A]\r\nk=" + big + "\r\nj=1\r\n");
        QCOMPARE(read(document, "A", "k"), QString::fromLatin1(big));
        QCOMPARE(read(document, "A", "j"), QString("1"));
    }

    void matchesNamesWithoutRegardToCase_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("found");
        const QByteArray utf8 = QStringLiteral("[Ärger]\nÖl=1\n").toUtf8();
        const QByteArray cp1252("[\xC4rger]\n\xD6l=1\n");
        QTest::newRow("ASCII") << QByteArray("[Farben]\nRot=1\n") << "FARBEN"
                               << "rot" << true;
        QTest::newRow("UTF-8 umlauts") << utf8 << "ÄRGER"
                                       << "öl" << true;
        QTest::newRow("UTF-8 as written") << utf8 << "Ärger"
                                          << "Öl" << true;
        QTest::newRow("UTF-8 different letters") << utf8 << "Arger"
                                                 << "Ol" << false;
        // Only ASCII folds in a Windows-1252 file.
        QTest::newRow("Windows-1252, ASCII part") << cp1252 << "ÄRGER"
                                                  << "Öl" << true;
        QTest::newRow("Windows-1252, umlaut case") << cp1252 << "ärger"
                                                   << "Öl" << false;
        // Kelvin sign folds to "k": a non-ASCII name can match an ASCII one.
        QTest::newRow("UTF-8 Kelvin sign") << QStringLiteral("[A]\n\u212A=1\n").toUtf8() << "A"
                                           << "k" << true;
        QTest::newRow("ASCII key, Kelvin sign asked")
            << QByteArray("[A]\nk=1\n") << "a" << QStringLiteral("\u212A") << true;
        QTest::newRow("a name Windows-1252 cannot hold") << cp1252 << "Ärger"
                                                         << "Ω" << false;
    }
    void matchesNamesWithoutRegardToCase() {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(bool, found);
        const IniDocument document(file);
        QCOMPARE(document.value(section, key).has_value(), found);
    }

    void listsEachNameOnceInFileOrder() {
        const IniDocument document("junk\r\nx=0\r\n"
                                   "[B]\r\nk=1\r\nj=2\r\nK=3\r\n; c=4\r\nx\r\n=5\r\n"
                                   "[a]\r\n"
                                   "[b]\r\nz=6\r\nk=7\r\n"
                                   "[A]\r\n"
                                   "[]\r\ne=8\r\n");
        QCOMPARE(document.sectionNames(), (QStringList{"B", "a", ""}));
        QCOMPARE(document.keyNames("b"), (QStringList{"k", "j"}));
        QCOMPARE(document.keyNames("A"), QStringList());
        QCOMPARE(document.keyNames(""), QStringList{"e"});
        QCOMPARE(document.keyNames("missing"), QStringList());
    }

    void sectionHasKeys_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<bool>("exists");
        QTest::addColumn<bool>("hasKeys");
        QTest::newRow("with keys") << "A" << true << true;
        QTest::newRow("comments and text only") << "B" << true << false;
        QTest::newRow("empty") << "C" << true << false;
        QTest::newRow("keys only in its repetition") << "D" << true << false;
        QTest::newRow("missing") << "Z" << false << false;
    }
    void sectionHasKeys() {
        QFETCH(QString, section);
        QFETCH(bool, exists);
        QFETCH(bool, hasKeys);
        const IniDocument document("[A]\nk=1\n[B]\n;k=1\ntext\n=x\n[C]\n[D]\n[d]\nk=1\n");
        QCOMPARE(document.hasSection(section), exists);
        QCOMPARE(document.sectionHasKeys(section), hasKeys);
        QCOMPARE(!document.keyNames(section).isEmpty(), hasKeys);
    }

    void manySectionsAndKeysAllListed() {
        QByteArray file;
        for (int s = 0; s < 3000; ++s) {
            file += "[S" + QByteArray::number(s) + "]\n";
            for (int k = 0; k < 5; ++k)
                file += "k" + QByteArray::number(k) + "=" + QByteArray::number(s * 10 + k) + "\n";
        }
        const IniDocument document(file);
        const QStringList sections = document.sectionNames();
        QCOMPARE(sections.size(), 3000);
        QCOMPARE(sections.last(), QString("S2999"));
        QCOMPARE(document.keyNames("s1234").size(), 5);
        QCOMPARE(read(document, "S1234", "K4"), QString("12344"));
    }

    // The comment that explains a key or section: the run of ';' and '#' lines right
    // above it, as php.ini, smb.conf and systemd units write them.
    void commentAbove_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("comment");
        const QByteArray php = "; About this file\r\n[PHP]\r\n\r\n;;;;;;;;;;;;;;;;;;;\r\n"
                               "; Resource Limits ;\r\n;;;;;;;;;;;;;;;;;;;\r\n\r\n"
                               "; Maximum execution time of each script, in seconds\r\n"
                               "; https://php.net/max-execution-time\r\nmax_execution_time = 30\r\n"
                               ";   Default Value: Off\r\n;;  Development Value: On\r\n"
                               "display_errors = Off\r\nlog_errors = On\r\n";
        QTest::newRow("key, two lines") << php << "PHP"
                                        << "max_execution_time"
                                        << "Maximum execution time of each script, in seconds\n"
                                           "https://php.net/max-execution-time";
        QTest::newRow("indentation after one blank kept")
            << php << "php"
            << "DISPLAY_ERRORS"
            << "  Default Value: Off\n Development Value: On";
        QTest::newRow("a key right above") << php << "PHP"
                                           << "log_errors"
                                           << "";
        QTest::newRow("section header") << php << "PHP"
                                        << ""
                                        << "About this file";
        QTest::newRow("banner above a section")
            << QByteArray(";;;;;;\n; Resource Limits ;\n;;;;;;\n[A]\n") << "A"
            << ""
            << "Resource Limits";
        QTest::newRow("a blank line breaks the run")
            << QByteArray("[A]\n; far\n\n; near\nk=1\n") << "A"
            << "k"
            << "near";
        QTest::newRow("hash comments")
            << QByteArray(
                   "[Service]\n#### Start ####\n# Restart when it fails\nRestart=on-failure\n")
            << "Service"
            << "Restart"
            << "Start\nRestart when it fails";
        QTest::newRow("a hash line with '=' is a key")
            << QByteArray("[Journal]\n# Where\n#Storage=auto\nCompress=yes\n") << "Journal"
            << "Compress"
            << "";
        QTest::newRow("other lines break the run") << QByteArray("[A]\n; a\nnote\nk=1\n") << "A"
                                                   << "k"
                                                   << "";
        QTest::newRow("first occurrence") << QByteArray("[A]\n; one\nk=1\n[A]\n; two\nk=2\n") << "A"
                                          << "k"
                                          << "one";
        QTest::newRow("missing key") << php << "PHP"
                                     << "nope"
                                     << "";
        QTest::newRow("UTF-8") << QByteArray("[A]\n; Größe in Zoll\nk=1\n") << "A"
                               << "k"
                               << "Größe in Zoll";
        QTest::newRow("Windows-1252") << QByteArray("[A]\n; Gr\xF6\xDF"
                                                    "e\nk=1\n")
                                      << "A"
                                      << "k"
                                      << "Größe";
    }
    void commentAbove() {
        QFETCH(QByteArray, file);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, comment);
        QCOMPARE(IniDocument(file).commentAbove(section, key), comment);
    }

    void aLongCommentKeepsTheLinesNearestTheKey() {
        QByteArray file = "[A]\n";
        for (int i = 1; i <= 5000; ++i)
            file += "; line " + QByteArray::number(i) + "\n";
        file += "k=1\n";
        const QStringList lines = IniDocument(file).commentAbove("A", "k").split('\n');
        QCOMPARE(lines.size(), 100);
        QCOMPARE(lines.first(), QString("line 4901"));
        QCOMPARE(lines.last(), QString("line 5000"));
    }

    void anEditedTextShowsItsOwnComments() {
        IniDocument document(QByteArray("[A]\n; old\nk=1\n"));
        document.renameKeys("A", {{"k", "m"}});
        document.setValue("A", "n", "2");
        QCOMPARE(document.commentAbove("A", "m"), QString("old"));
        QCOMPARE(document.commentAbove("A", "n"), QString());
    }
};

QTEST_GUILESS_MAIN(IniReadTest)
#include "IniReadTest.moc"
