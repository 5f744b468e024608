#include "TestBytes.h"
#include "core/platform/ini/IniDocument.h"
#include "core/platform/ini/IniSyntax.h"

#include <QTest>

using namespace ravik;

namespace {

// One edit in words, so that rows of the tables read like the behaviour they pin.
void apply(IniDocument& document, const QString& operation, const QString& section,
           const QString& key, const QString& value) {
    if (operation == "write")
        document.setValue(section, key, value);
    else if (operation == "remove key")
        document.removeKey(section, key);
    else if (operation == "remove section")
        document.removeSection(section);
    else if (operation == "create")
        document.createSection(section);
    else
        QFAIL(qPrintable("unknown operation " + operation));
}

// "old", "new", "old", "new", ... as rename pairs.
IniDocument::Renames renamesFrom(const QStringList& names) {
    IniDocument::Renames renames;
    for (qsizetype i = 0; i + 1 < names.size(); i += 2)
        renames.emplace_back(names[i], names[i + 1]);
    return renames;
}

// A section argument of "" renames sections, any other renames keys of that section.
void rename(IniDocument& document, const QString& section, const QStringList& names) {
    if (section.isEmpty())
        document.renameSections(renamesFrom(names));
    else
        document.renameKeys(section, renamesFrom(names));
}

// Lookups after edits find what a fresh read of the written bytes finds.
void readsLikeAFreshRead(const IniDocument& document) {
    const IniDocument fresh(document.toBytes());
    QCOMPARE(document.sectionNames(), fresh.sectionNames());
    for (const QString& section : fresh.sectionNames()) {
        QStringList keys, values, freshKeys, freshValues;
        document.keysWithValues(section, keys, values);
        fresh.keysWithValues(section, freshKeys, freshValues);
        QCOMPARE(keys, freshKeys);
        QCOMPARE(values, freshValues);
        for (const QString& key : keys)
            QCOMPARE(document.value(section, key), fresh.value(section, key));
    }
}

} // namespace

// Each edit changes exactly the bytes it should, and no others.
class IniEditTest : public QObject {
    Q_OBJECT

private:
    static void addColumns() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("operation");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");
    }
    static void runRow() {
        QFETCH(QByteArray, before);
        QFETCH(QString, operation);
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        IniDocument document(before);
        apply(document, operation, section, key, value);
        QCOMPARE(document.toBytes(), after);
        QCOMPARE(document.isModified(), after != before);
        if (operation == "write") { // and it reads back as written, without its quotes
            const QByteArray utf8 = value.toUtf8();
            QCOMPARE(document.value(section, key).value_or("<missing>"),
                     QString::fromUtf8(IniSyntax::unquote(utf8)));
            // Writing the same through the UTF-8 entry gives the same bytes.
            IniDocument viaUtf8(before);
            viaUtf8.setValueUtf8(section.toUtf8(), key.toUtf8(), value.toUtf8());
            QCOMPARE(viaUtf8.toBytes(), after);
            QCOMPARE(viaUtf8.isModified(), after != before);
        }
        if (operation == "remove key")
            QVERIFY(!document.value(section, key).has_value());
        if (operation == "remove section")
            QVERIFY(!document.hasSection(section));
    }

private slots:
    void changesAValue_data() {
        addColumns();
        QTest::newRow("plain") << QByteArray("[A]\r\nk=old\r\nj=1\r\n") << "write"
                               << "A"
                               << "k"
                               << "new" << QByteArray("[A]\r\nk=new\r\nj=1\r\n");
        QTest::newRow("spelling and blanks before the value kept")
            << QByteArray("[A]\n  Key \t=\t old  \n") << "write"
            << "a"
            << "KEY"
            << "new" << QByteArray("[A]\n  Key \t=\t new\n");
        QTest::newRow("line end kept") << QByteArray("[A]\rk=1\r\nj=2\n") << "write"
                                       << "A"
                                       << "k"
                                       << "22" << QByteArray("[A]\rk=22\r\nj=2\n");
        QTest::newRow("last line without line end") << QByteArray("[A]\r\nk=1") << "write"
                                                    << "A"
                                                    << "k"
                                                    << "2" << QByteArray("[A]\r\nk=2");
        QTest::newRow("first of two keys") << QByteArray("[A]\nk=1\nK=2\n") << "write"
                                           << "A"
                                           << "k"
                                           << "3" << QByteArray("[A]\nk=3\nK=2\n");
        QTest::newRow("first of two sections") << QByteArray("[A]\nk=1\n[a]\nk=2\n") << "write"
                                               << "A"
                                               << "k"
                                               << "3" << QByteArray("[A]\nk=3\n[a]\nk=2\n");
        QTest::newRow("empty value") << QByteArray("[A]\nk=1\n") << "write"
                                     << "A"
                                     << "k"
                                     << "" << QByteArray("[A]\nk=\n");
        QTest::newRow("value in '[]'") << QByteArray("[]\nk=1\n") << "write"
                                       << ""
                                       << "k"
                                       << "2" << QByteArray("[]\nk=2\n");
        QTest::newRow("value keeps '=' and ';'") << QByteArray("[A]\nk=1\n") << "write"
                                                 << "A"
                                                 << "k"
                                                 << "a=b ;c" << QByteArray("[A]\nk=a=b ;c\n");
    }
    void changesAValue() { runRow(); }

    void writesTheSameValueWithoutTouchingTheLine_data() {
        addColumns();
        const QByteArray file("[A]\r\nk = v  \r\nq=\"x\"\r\ns=' y '\r\ne=\r\n");
        QTest::newRow("trailing blanks") << file << "write"
                                         << "a"
                                         << "K"
                                         << "v" << file;
        QTest::newRow("quoted") << file << "write"
                                << "A"
                                << "q"
                                << "x" << file;
        QTest::newRow("single-quoted with blanks") << file << "write"
                                                   << "A"
                                                   << "s"
                                                   << " y " << file;
        QTest::newRow("empty") << file << "write"
                               << "A"
                               << "e"
                               << "" << file;
    }
    void writesTheSameValueWithoutTouchingTheLine() { runRow(); }

    void quotesWhatWouldNotReadBack_data() {
        addColumns();
        const QByteArray file("[A]\nk=1\nd=\"1\"\ns='1'\n");
        QTest::newRow("leading blank") << file << "write"
                                       << "A"
                                       << "k"
                                       << " x" << QByteArray("[A]\nk=\" x\"\nd=\"1\"\ns='1'\n");
        QTest::newRow("trailing blank") << file << "write"
                                        << "A"
                                        << "k"
                                        << "x\t" << QByteArray("[A]\nk=\"x\t\"\nd=\"1\"\ns='1'\n");
        // Quotes typed around a value are the file's quoting: written once, as given.
        QTest::newRow("given in quotes")
            << file << "write"
            << "A"
            << "k"
            << "\"x\"" << QByteArray("[A]\nk=\"x\"\nd=\"1\"\ns='1'\n");
        QTest::newRow("given in single quotes")
            << file << "write"
            << "A"
            << "k"
            << "'x'" << QByteArray("[A]\nk='x'\nd=\"1\"\ns='1'\n");
        QTest::newRow("given in quotes, old value quoted")
            << file << "write"
            << "A"
            << "d"
            << "\"b c\"" << QByteArray("[A]\nk=1\nd=\"b c\"\ns='1'\n");
        QTest::newRow("given in quotes, as the file has them")
            << file << "write"
            << "A"
            << "d"
            << "\"1\"" << file;
        QTest::newRow("mismatched quotes as they are")
            << file << "write"
            << "A"
            << "k"
            << "\"x'" << QByteArray("[A]\nk=\"x'\nd=\"1\"\ns='1'\n");
        QTest::newRow("double quoting kept") << file << "write"
                                             << "A"
                                             << "d"
                                             << "2" << QByteArray("[A]\nk=1\nd=\"2\"\ns='1'\n");
        QTest::newRow("double quoting kept, empty")
            << file << "write"
            << "A"
            << "d"
            << "" << QByteArray("[A]\nk=1\nd=\"\"\ns='1'\n");
        QTest::newRow("single quoting kept") << file << "write"
                                             << "A"
                                             << "s"
                                             << "2" << QByteArray("[A]\nk=1\nd=\"1\"\ns='2'\n");
        QTest::newRow("new key, leading blank")
            << file << "write"
            << "A"
            << "n"
            << " x" << QByteArray("[A]\nk=1\nd=\"1\"\ns='1'\nn=\" x\"\n");
    }
    void quotesWhatWouldNotReadBack() { runRow(); }

    void addsAKey_data() {
        addColumns();
        QTest::newRow("after the last key, before closing comments and blank lines")
            << QByteArray("[A]\r\nk=1\r\n; c\r\n\r\n[B]\r\nx=1\r\n") << "write"
            << "A"
            << "j"
            << "2" << QByteArray("[A]\r\nk=1\r\nj=2\r\n; c\r\n\r\n[B]\r\nx=1\r\n");
        QTest::newRow("after a key between comments")
            << QByteArray("[A]\r\n; a\r\nk=1\r\ntext\r\n; b\r\n") << "write"
            << "A"
            << "j"
            << "2" << QByteArray("[A]\r\n; a\r\nk=1\r\nj=2\r\ntext\r\n; b\r\n");
        QTest::newRow("right after a header without keys")
            << QByteArray("[A]\r\n; c\r\n[B]") << "write"
            << "A"
            << "j"
            << "2" << QByteArray("[A]\r\nj=2\r\n; c\r\n[B]");
        QTest::newRow("last line without line end") << QByteArray("[A]\r\nk=1") << "write"
                                                    << "A"
                                                    << "j"
                                                    << "2" << QByteArray("[A]\r\nk=1\r\nj=2\r\n");
        QTest::newRow("header without line end") << QByteArray("[A]") << "write"
                                                 << "A"
                                                 << "j"
                                                 << "2" << QByteArray("[A]\r\nj=2\r\n");
        QTest::newRow("LF file") << QByteArray("[A]\nk=1\n") << "write"
                                 << "A"
                                 << "j"
                                 << "2" << QByteArray("[A]\nk=1\nj=2\n");
        QTest::newRow("CR file") << QByteArray("[A]\rk=1") << "write"
                                 << "A"
                                 << "j"
                                 << "2" << QByteArray("[A]\rk=1\rj=2\r");
        QTest::newRow("mostly LF") << QByteArray("[A]\r\nk=1\nl=2\n") << "write"
                                   << "A"
                                   << "j"
                                   << "2" << QByteArray("[A]\r\nk=1\nl=2\nj=2\n");
        QTest::newRow("tie of CR LF and LF") << QByteArray("[A]\r\nk=1\n") << "write"
                                             << "A"
                                             << "j"
                                             << "2" << QByteArray("[A]\r\nk=1\nj=2\r\n");
        QTest::newRow("into the first occurrence")
            << QByteArray("[A]\nk=1\n[B]\n[a]\nj=0\n") << "write"
            << "A"
            << "j"
            << "2" << QByteArray("[A]\nk=1\nj=2\n[B]\n[a]\nj=0\n");
        QTest::newRow("name as given, trimmed") << QByteArray("[A]\n") << "write"
                                                << "A"
                                                << " Neu Key\t"
                                                << "v" << QByteArray("[A]\nNeu Key=v\n");
        QTest::newRow("not into the text before the first header")
            << QByteArray("k=0\n[A]\n") << "write"
            << "A"
            << "k"
            << "1" << QByteArray("k=0\n[A]\nk=1\n");
    }
    void addsAKey() { runRow(); }

    void addsASection_data() {
        addColumns();
        QTest::newRow("at the end") << QByteArray("[A]\r\nk=1\r\n; end\r\n") << "write"
                                    << "B"
                                    << "x"
                                    << "1" << QByteArray("[A]\r\nk=1\r\n; end\r\n[B]\r\nx=1\r\n");
        QTest::newRow("line end added first") << QByteArray("[A]\nk=1") << "write"
                                              << "B"
                                              << "x"
                                              << "1" << QByteArray("[A]\nk=1\n[B]\nx=1\n");
        QTest::newRow("new file") << QByteArray() << "write"
                                  << "Allgemein"
                                  << "Ansicht"
                                  << "0" << QByteArray("[Allgemein]\r\nAnsicht=0\r\n");
        QTest::newRow("header alone") << QByteArray("[A]\n") << "create"
                                      << "B"
                                      << ""
                                      << "" << QByteArray("[A]\n[B]\n");
        QTest::newRow("header alone, new file") << QByteArray() << "create"
                                                << "B"
                                                << ""
                                                << "" << QByteArray("[B]\r\n");
        QTest::newRow("empty name") << QByteArray() << "create"
                                    << ""
                                    << ""
                                    << "" << QByteArray("[]\r\n");
        QTest::newRow("name trimmed") << QByteArray() << "create"
                                      << " B "
                                      << ""
                                      << "" << QByteArray("[B]\r\n");
        QTest::newRow("existing section untouched") << QByteArray("[A]\n") << "create"
                                                    << "a"
                                                    << ""
                                                    << "" << QByteArray("[A]\n");
        QTest::newRow("after text only") << QByteArray("; nur Kommentar") << "create"
                                         << "A"
                                         << ""
                                         << "" << QByteArray("; nur Kommentar\r\n[A]\r\n");
    }
    void addsASection() { runRow(); }

    void removesKeys_data() {
        addColumns();
        QTest::newRow("every occurrence in the section, header stays")
            << QByteArray("[A]\r\nk=1\r\nj=2\r\nK=3\r\n[B]\r\nk=4\r\n") << "remove key"
            << "a"
            << "K"
            << "" << QByteArray("[A]\r\nj=2\r\n[B]\r\nk=4\r\n");
        QTest::newRow("last line without line end")
            << QByteArray("[A]\r\nj=2\r\nk=1") << "remove key"
            << "A"
            << "k"
            << "" << QByteArray("[A]\r\nj=2\r\n");
        QTest::newRow("only key") << QByteArray("[A]\nk=1\n[B]\n") << "remove key"
                                  << "A"
                                  << "k"
                                  << "" << QByteArray("[A]\n[B]\n");
        QTest::newRow("missing key changes nothing") << QByteArray("[A]\nk=1\n") << "remove key"
                                                     << "A"
                                                     << "j"
                                                     << "" << QByteArray("[A]\nk=1\n");
        QTest::newRow("missing section changes nothing") << QByteArray("[A]\nk=1\n") << "remove key"
                                                         << "B"
                                                         << "k"
                                                         << "" << QByteArray("[A]\nk=1\n");
        QTest::newRow("comment that looks like the key stays")
            << QByteArray("[A]\n;k=0\nk=1\n") << "remove key"
            << "A"
            << "k"
            << "" << QByteArray("[A]\n;k=0\n");
    }
    void removesKeys() { runRow(); }

    void removesSections_data() {
        addColumns();
        QTest::newRow("every occurrence, header to next header")
            << QByteArray("pre\r\n[A]\r\nk=1\r\n; c\r\n\r\ntext\r\n[B]\r\nx=1\r\n[a]\r\nz=1\r\n")
            << "remove section"
            << "A"
            << ""
            << "" << QByteArray("pre\r\n[B]\r\nx=1\r\n");
        QTest::newRow("last section") << QByteArray("[A]\nk=1\n[B]\nx=1") << "remove section"
                                      << "b"
                                      << ""
                                      << "" << QByteArray("[A]\nk=1\n");
        QTest::newRow("empty section") << QByteArray("[A]\n[B]\n") << "remove section"
                                       << "A"
                                       << ""
                                       << "" << QByteArray("[B]\n");
        QTest::newRow("section with empty name") << QByteArray("[A]\n[]\nk=1\n") << "remove section"
                                                 << ""
                                                 << ""
                                                 << "" << QByteArray("[A]\n");
        QTest::newRow("missing section changes nothing")
            << QByteArray("[A]\nk=1\n") << "remove section"
            << "C"
            << ""
            << "" << QByteArray("[A]\nk=1\n");
        QTest::newRow("text before the first header is no section")
            << QByteArray("k=1\n[A]\n") << "remove section"
            << ""
            << ""
            << "" << QByteArray("k=1\n[A]\n");
    }
    void removesSections() { runRow(); }

    // Edits in a row, each building on the last.
    void newKeysStayInOrder() {
        IniDocument document("[A]\r\nk=1\r\n; Ende A\r\n[B]\r\n");
        document.setValue("A", "x", "1");
        document.setValue("A", "y", "2");
        document.setValue("C", "p", "3");
        document.setValue("C", "q", "4");
        document.setValue("A", "z", "5");
        QCOMPARE(document.toBytes(), QByteArray("[A]\r\nk=1\r\nx=1\r\ny=2\r\nz=5\r\n; Ende A\r\n"
                                                "[B]\r\n[C]\r\np=3\r\nq=4\r\n"));
    }

    void newKeyAfterTheLastKeyWasRemoved() {
        IniDocument document("[A]\nk=1\n; mitte\nj=2\n; c\n");
        document.removeKey("A", "j");
        document.setValue("A", "n", "3");
        QCOMPARE(document.toBytes(), QByteArray("[A]\nk=1\nn=3\n; mitte\n; c\n"));
        document.removeKey("A", "k");
        document.removeKey("A", "n");
        document.setValue("A", "m", "4");
        QCOMPARE(document.toBytes(), QByteArray("[A]\nm=4\n; mitte\n; c\n"));
    }

    // Large sections keep a hash table of their keys, small ones are searched line by
    // line; both must behave the same.
    void largeSectionWithARepeatedKey() {
        QByteArray file = "[A]\n";
        for (int i = 0; i < 30; ++i)
            file += "k" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\n";
        const QByteArray tail = "K3=wieder\n; Ende\n[B]\nk3=b\n";
        IniDocument document(file + tail);
        QCOMPARE(document.value("a", "K3").value_or(""), QString("3"));
        QCOMPARE(document.keyNames("A").size(), 30);
        QVERIFY(document.removeKey("A", "k3"));
        QVERIFY(!document.value("A", "k3").has_value());
        QCOMPARE(document.value("B", "k3").value_or(""), QString("b"));
        document.setValue("A", "neu", "x");
        document.setValue("A", "k29", "y");
        QByteArray expected = file;
        expected.replace("k3=3\n", "");
        expected.replace("k29=29\n", "k29=y\nneu=x\n");
        QCOMPARE(document.toBytes(), expected + "; Ende\n[B]\nk3=b\n");
        QCOMPARE(document.keyNames("A").size(), 30);
        QCOMPARE(document.keyNames("A").last(), QString("neu"));
    }

    void sectionGrowsPastTheSizeSearchedInTurn() {
        IniDocument document("[A]\r\nk=1\r\nk=2\r\n; c\r\n");
        for (int i = 0; i < 40; ++i)
            document.setValue("A", "n" + QString::number(i), QString::number(i));
        for (int i = 0; i < 40; ++i)
            QCOMPARE(document.value("A", "N" + QString::number(i)).value_or(""),
                     QString::number(i));
        QCOMPARE(document.value("A", "k").value_or(""), QString("1"));
        QCOMPARE(document.keyNames("A").size(), 41);
        QVERIFY(document.removeKey("A", "K"));
        QVERIFY(!document.toBytes().contains("k="));
        QVERIFY(document.toBytes().endsWith("n39=39\r\n; c\r\n"));
    }

    void changedLineChangedAgain() {
        IniDocument document("[A]\nk=\"1\"\n");
        document.setValue("A", "k", "2");
        document.setValue("A", "k", "3");
        document.setValue("A", "k", "3");
        QCOMPARE(document.toBytes(), QByteArray("[A]\nk=\"3\"\n"));
        QCOMPARE(document.value("A", "k").value_or(""), QString("3"));
    }

    void sectionRemovedThenWrittenAgain() {
        IniDocument document("[A]\nk=1\n[B]\nx=1\n");
        document.removeSection("A");
        QVERIFY(!document.value("A", "k").has_value());
        document.setValue("a", "k", "2");
        QCOMPARE(document.toBytes(), QByteArray("[B]\nx=1\n[a]\nk=2\n"));
        QCOMPARE(document.sectionNames(), (QStringList{"B", "a"}));
        QCOMPARE(document.keyNames("A"), QStringList{"k"});
    }

    void lastSectionRemovedThenAnotherAppended() {
        IniDocument document("[A]\nk=1\n[B]\nx=1\n");
        document.removeSection("B");
        document.setValue("C", "y", "2");
        QCOMPARE(document.toBytes(), QByteArray("[A]\nk=1\n[C]\ny=2\n"));
    }

    void lineAfterANewKeyRemoved() {
        IniDocument document("[A]\nk=1\n[B]\n");
        document.setValue("A", "j", "2");
        document.removeSection("B");
        QCOMPARE(document.toBytes(), QByteArray("[A]\nk=1\nj=2\n"));
        document.setValue("A", "i", "3");
        document.removeKey("A", "j");
        QCOMPARE(document.toBytes(), QByteArray("[A]\nk=1\ni=3\n"));
    }

    void removingTheNextSectionExtendsTheBlockCorrectly() {
        IniDocument document("[A]\nk=1\n[B]\nx=1\n[C]\ny=1\n");
        document.removeSection("B");
        document.setValue("A", "j", "2");
        QCOMPARE(document.keyNames("A"), (QStringList{"k", "j"}));
        QCOMPARE(document.keyNames("C"), QStringList{"y"});
        QCOMPARE(document.toBytes(), QByteArray("[A]\nk=1\nj=2\n[C]\ny=1\n"));
    }

    void emptySectionCreatedThenFilled() {
        IniDocument document;
        QVERIFY(document.createSection("A"));
        QVERIFY(!document.createSection("a"));
        QVERIFY(!document.sectionHasKeys("A"));
        document.setValue("A", "k", "1");
        QVERIFY(document.sectionHasKeys("A"));
        QCOMPARE(document.toBytes(), QByteArray("[A]\r\nk=1\r\n"));
    }

    // In a file that mixes lone CRs with LFs, an edit can bring a line that ends in CR
    // next to an empty line that ends in LF; read back, the two would be one CR LF and
    // the empty line gone. That CR becomes CR LF instead.
    void aLoneCrNeverMeetsAnEmptyLfLine_data() {
        addColumns();
        QTest::newRow("new key before an empty LF line")
            << QByteArray("[A]\rx=1\r\r[B]\n\n") << "write"
            << "B"
            << "k"
            << "v" << QByteArray("[A]\rx=1\r\r[B]\nk=v\r\n\n");
        QTest::newRow("removed key between CR and an empty LF line")
            << QByteArray("[A]\rk=1\n\nm=2\r") << "remove key"
            << "A"
            << "k"
            << "" << QByteArray("[A]\r\n\nm=2\r");
        // A removed section takes its empty lines along: the next line is a header.
        QTest::newRow("removed section after a lone CR")
            << QByteArray("x=0\r[A]\rk=1\r[B]\n\n") << "remove section"
            << "A"
            << ""
            << "" << QByteArray("x=0\r[B]\n\n");
    }
    void aLoneCrNeverMeetsAnEmptyLfLine() { runRow(); }

    // A U+FEFF inside the file (from files joined together) is text like any other.
    void utf8WritesKeepALeadingByteOrderMark() {
        IniDocument document(QByteArray("[A]\n\xEF\xBB\xBFk=1\n"));
        document.setValueUtf8("A", "\xEF\xBB\xBFk", "2");
        document.setValueUtf8("A", "m", "\xEF\xBB\xBFv");
        QCOMPARE(document.toBytes(), QByteArray("[A]\n\xEF\xBB\xBFk=2\nm=\xEF\xBB\xBFv\n"));
        QCOMPARE(document.value("A", "m"), std::optional<QString>(QString(QChar(0xFEFF)) + "v"));
    }

    // Renames change the name in place and keep every other byte; a batch is resolved
    // before anything changes.
    void renamesInPlace_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section"); // "" renames sections
        QTest::addColumn<QStringList>("renames");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("header: blanks, comment after ']', line end stay")
            << QByteArray("; oben\r\n  [ Alt ]  ; Kommentar\r\nk=1\r\n\r\n[B]\r\n") << ""
            << QStringList{"alt", " Neu "}
            << QByteArray("; oben\r\n  [ Neu ]  ; Kommentar\r\nk=1\r\n\r\n[B]\r\n");
        QTest::newRow("every header of a repeated section")
            << QByteArray("[A]\nk=1\n[B]\n[a] ;2\nk=2") << "" << QStringList{"A", "C"}
            << QByteArray("[C]\nk=1\n[B]\n[C] ;2\nk=2");
        QTest::newRow("case only") << QByteArray("[abc]\nk=1\n") << "" << QStringList{"abc", "ABC"}
                                   << QByteArray("[ABC]\nk=1\n");
        QTest::newRow("swap in one batch")
            << QByteArray("[A]\nk=1\n[B]\nk=2\n") << "" << QStringList{"A", "B", "b", "a"}
            << QByteArray("[B]\nk=1\n[a]\nk=2\n");
        QTest::newRow("missing and repeated old names skipped")
            << QByteArray("[A]\n") << "" << QStringList{"X", "Y", "A", "C", "a", "D"}
            << QByteArray("[C]\n");
        QTest::newRow("header without ']'")
            << QByteArray("[A \n") << "" << QStringList{"A", "B"} << QByteArray("[B \n");
        QTest::newRow("made equal to a later section: the first wins")
            << QByteArray("[A]\nk=1\n[B]\nk=2\nj=3\n") << "" << QStringList{"A", "B"}
            << QByteArray("[B]\nk=1\n[B]\nk=2\nj=3\n");
        QTest::newRow("made equal to an earlier section")
            << QByteArray("[A]\nk=1\n[B]\nk=2\nj=3\n") << "" << QStringList{"B", "a"}
            << QByteArray("[A]\nk=1\n[a]\nk=2\nj=3\n");
        QTest::newRow("key: blanks, '=' and quoted value stay")
            << QByteArray("[S]\r\n  alt \t= \"v \" \r\n") << "s" << QStringList{"ALT", "neu"}
            << QByteArray("[S]\r\n  neu \t= \"v \" \r\n");
        QTest::newRow("every occurrence of a repeated key, first section only")
            << QByteArray("[S]\nk=1\nj=2\nK=3\n[T]\nk=4\n[s]\nk=5\n") << "S"
            << QStringList{"k", "m"} << QByteArray("[S]\nm=1\nj=2\nm=3\n[T]\nk=4\n[s]\nk=5\n");
        QTest::newRow("keys swapped, case only, missing skipped")
            << QByteArray("[S]\na=1\nb=2\nc=3\n") << "S"
            << QStringList{"a", "b", "b", "a", "c", "C", "x", "y"}
            << QByteArray("[S]\nb=1\na=2\nC=3\n");
        QTest::newRow("key made equal to a later key: the first wins")
            << QByteArray("[S]\na=1\nb=2\n") << "S" << QStringList{"a", "b"}
            << QByteArray("[S]\nb=1\nb=2\n");
        QTest::newRow("same spelling changes nothing")
            << QByteArray("[S]\na=1\n") << "S" << QStringList{"a", "a"} << QByteArray("[S]\na=1\n");
        QTest::newRow("UTF-8 with byte-order mark")
            << QByteArray("\xEF\xBB\xBF[A]\nä=1\n") << "" << QStringList{"A", "Größe"}
            << QByteArray("\xEF\xBB\xBF[Größe]\nä=1\n");
        QTest::newRow("Windows-1252 section")
            << QByteArray("[Gr\xF6\xDF"
                          "e]\n\xC4=1\n")
            << "" << QStringList{"Größe", "Maß"} << QByteArray("[Ma\xDF]\n\xC4=1\n");
        QTest::newRow("Windows-1252 key") << QByteArray("[Gr\xF6\xDF"
                                                        "e]\n\xC4=1\n")
                                          << "Größe" << QStringList{"Ä", "Über"}
                                          << QByteArray("[Gr\xF6\xDF"
                                                        "e]\n\xDC"
                                                        "ber=1\n");
        QTest::newRow("UTF-16 LE section")
            << testbytes::utf16leFile("[A]\r\nk=1\r\n") << "" << QStringList{"A", "Größe"}
            << testbytes::utf16leFile("[Größe]\r\nk=1\r\n");
        QTest::newRow("UTF-16 BE key")
            << testbytes::utf16beFile("[A]\r\nk=1\r\n") << "A" << QStringList{"k", "€"}
            << testbytes::utf16beFile("[A]\r\n€=1\r\n");
    }
    void renamesInPlace() {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QStringList, renames);
        QFETCH(QByteArray, after);
        IniDocument document(before);
        rename(document, section, renames);
        QCOMPARE(document.toBytes(), after);
        QCOMPARE(document.isModified(), after != before);
        readsLikeAFreshRead(document);
    }

    // A refused name changes nothing, not even the renames before it in the batch, and
    // is refused with the message a new section or key gets.
    void refusedRenamesChangeNothing_data() {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("name");
        const QByteArray file("[A]\nk=1\n[B]\nj=2\n");
        QTest::newRow("']' in a section") << file << ""
                                          << "x]y";
        QTest::newRow("CR in a section") << file << ""
                                         << "x\ry";
        QTest::newRow("NUL in a section") << file << "" << QString("x") + QChar(0) + "y";
        QTest::newRow("'=' in a key") << file << "A"
                                      << "x=y";
        QTest::newRow("empty key") << file << "A"
                                   << " ";
        QTest::newRow("key starting with ';'") << file << "A"
                                               << ";x";
        QTest::newRow("key starting with '['") << file << "A"
                                               << "[x";
        QTest::newRow("LF in a key") << file << "A"
                                     << "x\n";
        const QByteArray legacy = "; \xC4\n" + file;
        QTest::newRow("not in Windows-1252, section") << legacy << ""
                                                      << "✓";
        QTest::newRow("not in Windows-1252, key") << legacy << "A"
                                                  << "✓";
        QTest::newRow("half a surrogate pair") << file << "" << QString(QChar(0xD800));
    }
    void refusedRenamesChangeNothing() {
        QFETCH(QByteArray, before);
        QFETCH(QString, section);
        QFETCH(QString, name);
        IniDocument document(before);
        const QString first = section.isEmpty() ? "B" : "j"; // a fine rename, refused along
        const QString second = section.isEmpty() ? "A" : "k";
        const QString refusal = testbytes::refusalOf([&] {
            rename(document, section, {first, "Neu", second, name});
        });
        QVERIFY(!refusal.isEmpty());
        QCOMPARE(document.toBytes(), before);
        QVERIFY(!document.isModified());
        IniDocument fresh(before);
        const QString expected = testbytes::refusalOf([&] {
            if (section.isEmpty())
                fresh.createSection(name);
            else
                fresh.setValue(section, name, "1");
        });
        QCOMPARE(refusal, expected);
    }

    // Sections of more than a few lines look their keys up in a table, which renames
    // keep up to date.
    void renamedLargeSectionStaysEditable() {
        QByteArray keys;
        for (int i = 0; i < 20; ++i)
            keys += "k" + QByteArray::number(i) + "=" + QByteArray::number(i) + "\n";
        IniDocument document("[A] ; groß\n" + keys + "[B]\nx=1\n[a]\nk1=wieder\n");
        document.renameSections({{"a", "Neu"}});
        document.renameKeys("NEU", {{"k1", "eins"}, {"k2", "k3"}, {"k19", "k0"}});
        QVERIFY(!document.hasSection("A"));
        QCOMPARE(document.value("Neu", "eins").value_or(""), QString("1"));
        QVERIFY(!document.value("Neu", "k1").has_value());
        QCOMPARE(document.value("Neu", "k3").value_or(""), QString("2")); // first wins
        QCOMPARE(document.value("Neu", "k0").value_or(""), QString("0"));
        readsLikeAFreshRead(document);
        document.setValue("neu", "eins", "E");
        document.setValue("neu", "k3", "D");
        QVERIFY(document.removeKey("neu", "K0"));
        document.setValue("neu", "zwei", "Z");
        QByteArray expected = keys;
        expected.replace("k0=0\n", "").replace("k1=1\n", "eins=E\n").replace("k2=2\n", "k3=D\n");
        expected.replace("k19=19\n", "zwei=Z\n"); // both k0 lines removed
        QCOMPARE(document.toBytes(), "[Neu] ; groß\n" + expected + "[B]\nx=1\n[Neu]\nk1=wieder\n");
        QVERIFY(document.removeSection("NEU"));
        QCOMPARE(document.toBytes(), QByteArray("[B]\nx=1\n"));
    }

    // Sections made equal by a rename are removed together, as repeats are.
    void sectionsMadeEqualAreOneSection() {
        IniDocument document("[A]\nk=1\n[B]\nj=2\n[b]\ni=3\n[C]\n");
        document.renameSections({{"C", "a"}, {"B", "A"}});
        QCOMPARE(document.sectionNames(), QStringList{"A"});
        QCOMPARE(document.keyNames("a"), QStringList{"k"});
        QVERIFY(document.removeSection("A"));
        QCOMPARE(document.toBytes(), QByteArray());
    }

    void markSavedClearsModified() {
        IniDocument document("[A]\nk=1\n");
        document.setValue("A", "k", "2");
        QVERIFY(document.isModified());
        document.markSaved();
        QVERIFY(!document.isModified());
        document.setValue("A", "k", "2");
        QVERIFY(!document.isModified());
        QVERIFY(!document.removeKey("A", "missing"));
        QVERIFY(!document.removeSection("missing"));
        QVERIFY(!document.isModified());
    }
};

QTEST_GUILESS_MAIN(IniEditTest)
#include "IniEditTest.moc"
