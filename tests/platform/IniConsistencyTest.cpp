#include "TestBytes.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/ini/IniDocument.h"
#include "core/platform/ini/IniSyntax.h"
#include "core/platform/text/TextCodec.h"

#include <QHash>
#include <QRandomGenerator>
#include <QTest>

using namespace ravik;

namespace {

// A deliberately plain reader of the same rules: one pass over the lines, no
// indexes. The engine must answer exactly as it does, after any edits.
struct PlainReading {
    QStringList sections;
    QHash<QString, QStringList> keys;               // folded section -> key names
    QHash<QString, QHash<QString, QString>> values; // folded section -> folded key -> value
};

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

QByteArray trimmed(QByteArray text) {
    while (!text.isEmpty() && isBlank(text.front()))
        text.remove(0, 1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// Names compare by this key: case-folded text in UTF-8 files, ASCII-lowered bytes in
// Windows-1252 files.
QString foldName(const QByteArray& bytes, bool utf8) {
    if (utf8)
        return TextCodec::decode(bytes, TextEncoding::Utf8).toCaseFolded();
    QByteArray lower = bytes;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = char(c + 32);
    return QString::fromLatin1(lower);
}

PlainReading readPlainly(QByteArray file) {
    const TextEncoding encoding = TextCodec::detect(file);
    if (encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE)
        file = TextCodec::decode(file.mid(2), encoding).toUtf8();
    else if (file.startsWith("\xEF\xBB\xBF"))
        file = file.mid(3);
    const bool utf8 = encoding != TextEncoding::Windows1252;
    auto decode = [&](const QByteArray& bytes) {
        return utf8 ? TextCodec::decode(bytes, TextEncoding::Utf8)
                    : TextCodec::decodeWindows1252(bytes);
    };
    auto fold = [&](const QByteArray& bytes) { return foldName(bytes, utf8); };

    PlainReading reading;
    QString current; // folded name of the section being read, if a first occurrence
    bool inFirstOccurrence = false;
    QList<QByteArray> lines;
    QByteArray line;
    for (qsizetype i = 0; i < file.size(); ++i) {
        const char c = file[i];
        if (c == '\r' || c == '\n') {
            lines.append(line);
            line.clear();
            if (c == '\r' && i + 1 < file.size() && file[i + 1] == '\n')
                ++i;
        } else {
            line.append(c);
        }
    }
    lines.append(line);
    for (const QByteArray& raw : lines) {
        const QByteArray text = trimmed(raw);
        if (text.startsWith(';'))
            continue;
        if (text.startsWith('[')) {
            const qsizetype close = text.indexOf(']');
            const QByteArray name = trimmed(close < 0 ? text.mid(1) : text.mid(1, close - 1));
            current = fold(name);
            inFirstOccurrence = !reading.keys.contains(current);
            if (inFirstOccurrence) {
                reading.sections.append(decode(name));
                reading.keys.insert(current, {});
            }
            continue;
        }
        const qsizetype equals = text.indexOf('=');
        if (!inFirstOccurrence || equals <= 0)
            continue;
        const QByteArray name = trimmed(text.left(equals));
        QByteArray value = trimmed(text.mid(equals + 1));
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        if (reading.values[current].contains(fold(name)))
            continue;
        reading.keys[current].append(decode(name));
        reading.values[current].insert(fold(name), decode(value));
    }
    return reading;
}

QString foldedFor(const IniDocument& document, const QString& name) {
    if (document.encoding() != TextEncoding::Windows1252)
        return name.toCaseFolded();
    return foldName(TextCodec::encodeWindows1252(name).value_or(QByteArray()), false);
}

template <typename T> const T& pick(QRandomGenerator& random, const QList<T>& list) {
    return list[random.bounded(int(list.size()))];
}

} // namespace

class IniConsistencyTest : public QObject {
    Q_OBJECT

private:
    // The engine's answers match the plain reading of the bytes it would write.
    static void compareWithPlainReading(const IniDocument& document) {
        const QByteArray bytes = document.toBytes();
        const PlainReading plain = readPlainly(bytes);
        QCOMPARE(document.sectionNames(), plain.sections);
        for (const QString& section : plain.sections) {
            const QString folded = foldedFor(document, section);
            const QStringList keys = document.keyNames(section);
            QCOMPARE(keys, plain.keys.value(folded));
            QCOMPARE(document.sectionHasKeys(section), !keys.isEmpty());
            for (const QString& key : keys)
                QCOMPARE(document.value(section, key).value_or("<missing>"),
                         plain.values.value(folded).value(foldedFor(document, key)));
            // The one-pass read gives the same keys and values.
            QStringList bulkKeys, bulkValues;
            document.keysWithValues(section, bulkKeys, bulkValues);
            QCOMPARE(bulkKeys, keys);
            QCOMPARE(bulkValues.size(), keys.size());
            for (qsizetype i = 0; i < keys.size(); ++i)
                QCOMPARE(bulkValues[i], document.value(section, keys[i]).value_or("<missing>"));
        }
        QByteArray pieces;
        document.writeTo([&](QByteArrayView piece) { pieces.append(piece); });
        QCOMPARE(pieces, bytes);
    }

    static QByteArray randomFile(QRandomGenerator& random, bool windows1252) {
        static const QList<QByteArray> lines = {
            "[A]",  "[a]", "[B] tail", "k=1", " K = 2 ",     "j='x'", ";c",     "",
            "junk", "=x",  "[",        "[]",  "k=\"  q  \"", "x y=3", " [ C ]", "\t;k=9"};
        const QByteArray umlautSection = windows1252 ? "[\xC4]" : "[\xC3\x84]";
        const QByteArray umlautKey = windows1252 ? "\xDF=\xFC" : "\xC3\x9F=\xC3\xBC";
        static const QList<QByteArray> eols = {"\r\n", "\n", "\r"};
        QByteArray file;
        // Short files, and long ones whose sections are large enough to get a hash table.
        const int count = random.bounded(2) ? random.bounded(12) : 20 + random.bounded(60);
        for (int i = 0; i < count; ++i) {
            const int which = random.bounded(int(lines.size()) + 2);
            file += which == lines.size()       ? umlautSection
                    : which == lines.size() + 1 ? umlautKey
                                                : lines[which];
            if (i + 1 < count || random.bounded(2))
                file += pick(random, eols);
        }
        if (windows1252)
            file += "; \xFF"; // makes sure the file is not valid UTF-8
        return file;
    }

private slots:
    // Random bytes, biased to the characters that mean something in an INI file and to
    // byte-order marks: each loads, reads like the plain reader says, and gives back
    // its bytes, also after every value is written back.
    void randomBytesRoundTrip() {
        static const QByteArray alphabet =
            testbytes::raw("[]=;\"' \t\v\r\n\r\naAkK\0\xC3\xA4\xFF\xFE\xEF\xBB\xBF\x80\xD8\xDC");
        QRandomGenerator random(77);
        for (int round = 0; round < 3000; ++round) {
            QByteArray bytes;
            const int length = random.bounded(120);
            for (int i = 0; i < length; ++i)
                bytes.append(alphabet[random.bounded(int(alphabet.size()))]);
            if (round % 4 == 1)
                bytes.prepend(round % 8 == 1 ? "\xFF\xFE" : "\xFE\xFF");
            IniDocument document(bytes);
            QCOMPARE(document.toBytes(), bytes);
            compareWithPlainReading(document);
            for (const QString& section : document.sectionNames())
                for (const QString& key : document.keyNames(section))
                    document.setValue(section, key, document.value(section, key).value_or(""));
            QVERIFY(!document.isModified());
            if (QTest::currentTestFailed())
                QFAIL(qPrintable("input " + bytes.toHex(' ')));
        }
    }

    void randomEditsAgreeWithAPlainReading() {
        // RAVIK_TEST_SEED replays or varies the sequence; the default is fixed.
        const quint32 seed = qEnvironmentVariableIsSet("RAVIK_TEST_SEED")
                                 ? quint32(qEnvironmentVariableIntValue("RAVIK_TEST_SEED"))
                                 : 20240615u;
        QRandomGenerator random(seed);
        const QStringList sections = {"A", "a", "B", "Ä", "ä", "", " C ", "Größe", "x]y", "Ω"};
        const QStringList keys = {"k", "K", "j", "x y", "ß", "Ä", ";c", "=", "", "k\n"};
        const QStringList values = {"",   "v",  " v", "\"q\"", "'s'", "a=b",
                                    ";c", "ä€", "Ω",  "\"",    "x\r", "  "};
        int refusals = 0;
        for (int round = 0; round < 1000; ++round) {
            // Every encoding the engine keeps: Windows-1252, UTF-8, UTF-8 with a mark,
            // UTF-16 in both byte orders.
            const int form = round % 5;
            QByteArray file = randomFile(random, form == 0);
            if (form == 2)
                file.prepend("\xEF\xBB\xBF");
            else if (form == 3)
                file = testbytes::utf16leFile(QString::fromUtf8(file));
            else if (form == 4)
                file = testbytes::utf16beFile(QString::fromUtf8(file));
            IniDocument document(file);
            compareWithPlainReading(document);
            for (int step = 0; step < 40; ++step) {
                const QString section = pick(random, sections);
                // Numbered keys make sections grow past the size that gets a hash table.
                const QString key = random.bounded(3) ? pick(random, keys)
                                                      : "n" + QString::number(random.bounded(40));
                const QString value = pick(random, values);
                const QByteArray before = document.toBytes();
                const bool wasModified = document.isModified();
                const int operation = random.bounded(10);
                try {
                    if (operation < 6) {
                        document.setValue(section, key, value);
                        // A value given in quotes reads back without them.
                        const QByteArray written = value.toUtf8();
                        QCOMPARE(document.value(section, key).value_or("<missing>"),
                                 QString::fromUtf8(IniSyntax::unquote(written)));
                    } else if (operation < 8) {
                        const bool existed = document.value(section, key).has_value();
                        QCOMPARE(document.removeKey(section, key), existed);
                        QVERIFY(!document.value(section, key).has_value());
                    } else if (operation < 9) {
                        const bool existed = document.hasSection(section);
                        QCOMPARE(document.removeSection(section), existed);
                        QVERIFY(!document.hasSection(section));
                    } else {
                        document.createSection(section);
                        QVERIFY(document.hasSection(section));
                    }
                } catch (const EIniFileException&) {
                    ++refusals;
                    QCOMPARE(document.toBytes(), before);
                    QCOMPARE(document.isModified(), wasModified);
                }
                if (document.toBytes() != before)
                    QVERIFY(document.isModified());
                compareWithPlainReading(document);
                if (QTest::currentTestFailed())
                    QFAIL(qPrintable(
                        QStringLiteral("seed %8, round %1, step %2, operation %3 on %4/%5 "
                                       "turned %6 into %7")
                            .arg(round)
                            .arg(step)
                            .arg(operation)
                            .arg(section, key, QString::fromLatin1(before.toHex(' ')),
                                 QString::fromLatin1(document.toBytes().toHex(' ')))
                            .arg(seed)));
            }
            // What was written parses to the same answers.
            compareWithPlainReading(IniDocument(document.toBytes()));
        }
        QVERIFY(refusals > 0); // the pools hold names the file cannot take
    }
};

QTEST_GUILESS_MAIN(IniConsistencyTest)
#include "IniConsistencyTest.moc"
