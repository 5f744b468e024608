// The INI engine under random files and edit scripts.
//
// Input layout: file bytes, then a script of edits, then one byte n. The script is
// the 4 * (n % 8) bytes before n (fewer edits when the input is shorter); each edit
// is four bytes: kind (what to do, and whether to write with UTF-8 text; 0xC0 to 0xDF
// rename sections or keys), pick (which existing name), name (from the pool of new
// names), value (from the pool of values, or from 0xC0 on a piece of the file).
#include "fuzz/checks/CheckReport.h"
#include "fuzz/checks/FuzzChecks.h"
#include "fuzz/checks/TextLines.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/ini/IniDocument.h"
#include "core/platform/ini/IniNameMatch.h"
#include "core/platform/ini/IniNumber.h"
#include "core/platform/ini/IniSyntax.h"
#include "core/platform/ini/IniValidation.h"
#include "core/platform/text/TextCodec.h"

#include <algorithm>
#include <array>

namespace ravik::fuzz {
namespace {

using IniSyntax::LineKind;
using Lines = std::vector<QByteArray>;

const std::array<const char*, 18> kNames = {"Neu",    "neu", "NEU", "Größe", "GRÖSSE",   "x y",
                                            " rand ", "",    "a]b", "=k",    ";c",       "[b",
                                            "k=v",    "ß",   "ǅ",   "\t",    "Name[de]", "€"};

const std::array<const char*, 18> kValues = {
    "",      "1",   "neu", " vorn", "hinten ",     "\"q\"", "'s'", "\"",   "'x\"",
    "a=b;c", "[x]", "€",   "✓",     "Größe ÄÖÜ ß", "a\tb",  " ",   "\"\"", "x\ny"};

struct Edit {
    quint8 kind, pick, name, value;
};

struct Input {
    QByteArrayView file;
    std::vector<Edit> edits;
};

Input splitInput(QByteArrayView input) {
    Input result{input, {}};
    if (input.isEmpty())
        return result;
    const auto n = static_cast<quint8>(input.back());
    const qsizetype count = qMin<qsizetype>(n % 8, (input.size() - 1) / 4);
    const qsizetype scriptStart = input.size() - 1 - 4 * count;
    for (qsizetype i = 0; i < count; ++i) {
        const auto* b = reinterpret_cast<const quint8*>(input.data() + scriptStart + 4 * i);
        result.edits.push_back({b[0], b[1], b[2], b[3]});
    }
    result.file = input.first(scriptStart);
    return result;
}

bool isUtf16(TextEncoding e) {
    return e == TextEncoding::Utf16LE || e == TextEncoding::Utf16BE;
}

// The document's lines as text, without a byte-order mark (which belongs to no
// line): UTF-16 files compared as UTF-8.
QByteArray textOf(const IniDocument& doc) {
    const QByteArray bytes = doc.toBytes();
    if (isUtf16(doc.encoding()))
        return TextCodec::decode(QByteArrayView(bytes).sliced(2), doc.encoding()).toUtf8();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return bytes.sliced(3);
    return bytes;
}

LineKind kindOf(QByteArrayView line) {
    return IniSyntax::classify(withoutEol(line));
}

QByteArrayView eolOf(QByteArrayView line) {
    return line.sliced(withoutEol(line).size());
}

std::string describe(const Lines& before, const Lines& after) {
    QByteArray a, b;
    for (const auto& l : before)
        a += l;
    for (const auto& l : after)
        b += l;
    return " before " + shown(a) + " after " + shown(b);
}

// The lines that differ: after removing the common first and last lines.
struct Difference {
    size_t at = 0;
    Lines removed, added;
};

Difference difference(const Lines& before, const Lines& after) {
    Difference d;
    while (d.at < before.size() && d.at < after.size() && before[d.at] == after[d.at])
        ++d.at;
    size_t tail = 0;
    while (tail < before.size() - d.at && tail < after.size() - d.at &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    d.removed.assign(before.begin() + d.at, before.end() - tail);
    d.added.assign(after.begin() + d.at, after.end() - tail);
    return d;
}

// A line ending in a lone CR that now stands before an empty line ending in LF must
// have become CR LF, or the two line ends would read as one.
bool keptApart(const QByteArray& before, const Lines& after, size_t at) {
    return before.endsWith('\r') && after[at] == before + '\n' && at + 1 < after.size() &&
           after[at + 1] == "\n";
}

// after is before with some lines left out; gives those lines.
Lines leftOut(const Lines& before, const Lines& after, const std::string& op) {
    Lines gone;
    size_t j = 0;
    for (const QByteArray& line : before) {
        if (j < after.size() && (after[j] == line || keptApart(line, after, j)))
            ++j;
        else
            gone.push_back(line);
    }
    FUZZ_EXPECT(j == after.size(),
                op + ": lines were changed, not only removed" + describe(before, after));
    return gone;
}

// A line that had no line end may have been given one, when a line was added after it.
bool sameOrEolAdded(const QByteArray& before, const QByteArray& after) {
    if (before == after)
        return true;
    return eolOf(before).isEmpty() && after.startsWith(before) && !eolOf(after).isEmpty() &&
           withoutEol(after).size() == before.size();
}

void checkReplacedLine(const Lines& before, const Lines& after, const std::string& op) {
    const Difference d = difference(before, after);
    FUZZ_EXPECT(d.removed.size() <= 1 && d.added.size() == d.removed.size(),
                op + ": more than the key's line changed" + describe(before, after));
    if (d.removed.empty())
        return;
    const QByteArray& old = d.removed[0];
    const QByteArray& now = d.added[0];
    FUZZ_EXPECT(kindOf(old) == LineKind::Key && kindOf(now) == LineKind::Key,
                op + ": the changed line is no key line" + describe(before, after));
    FUZZ_EXPECT(eolOf(old) == eolOf(now), op + ": the line end changed" + describe(before, after));
    FUZZ_EXPECT(now.startsWith(old.first(old.indexOf('=') + 1)),
                op + ": the key's name changed" + describe(before, after));
}

void checkInsertedKey(const Lines& before, const Lines& after, const std::string& op) {
    const Difference d = difference(before, after);
    FUZZ_EXPECT(d.removed.size() <= 1 && d.added.size() == d.removed.size() + 1,
                op + ": not exactly one line added" + describe(before, after));
    if (!d.removed.empty())
        FUZZ_EXPECT(sameOrEolAdded(d.removed[0], d.added[0]),
                    op + ": the line before the new key changed" + describe(before, after));
    const QByteArray& added = d.added.back();
    FUZZ_EXPECT(kindOf(added) == LineKind::Key && !eolOf(added).isEmpty(),
                op + ": the added line is no key line with a line end" + describe(before, after));
    const size_t at = d.at + d.removed.size();
    FUZZ_EXPECT(at > 0 && (kindOf(after[at - 1]) == LineKind::Key ||
                           kindOf(after[at - 1]) == LineKind::Section),
                op + ": the new key does not follow a key or its header" + describe(before, after));
}

void checkAppended(const Lines& before, const Lines& after, std::vector<LineKind> kinds,
                   const std::string& op) {
    FUZZ_EXPECT(after.size() == before.size() + kinds.size(),
                op + ": not exactly the new lines appended" + describe(before, after));
    for (size_t i = 0; i < before.size(); ++i) {
        const bool last = i + 1 == before.size();
        FUZZ_EXPECT(last ? sameOrEolAdded(before[i], after[i]) : before[i] == after[i],
                    op + ": a line before the appended ones changed" + describe(before, after));
    }
    for (size_t i = 0; i < kinds.size(); ++i)
        FUZZ_EXPECT(kindOf(after[before.size() + i]) == kinds[i],
                    op + ": an appended line reads wrong" + describe(before, after));
}

// Names that differ only in the case of ASCII letters name the same entry.
QString asciiFolded(QString name) {
    for (QChar& c : name)
        if (c.unicode() < 0x80)
            c = c.toLower();
    return name;
}

// Listings and reads agree with each other, and numbers parse back.
void checkListings(const IniDocument& doc) {
    const QStringList sections = doc.sectionNames();
    for (qsizetype i = 0; i < sections.size(); ++i) {
        const QString& s = sections[i];
        for (qsizetype j = 0; j < i; ++j)
            FUZZ_EXPECT(asciiFolded(sections[j]) != asciiFolded(s),
                        "section listed twice: " + shown(s));
        FUZZ_EXPECT(doc.hasSection(s), "listed section not found: " + shown(s));
        const QStringList keys = doc.keyNames(s);
        QStringList keysRead, valuesRead;
        doc.keysWithValues(s, keysRead, valuesRead);
        FUZZ_EXPECT(keysRead == keys, "keysWithValues lists other keys of " + shown(s));
        FUZZ_EXPECT(valuesRead.size() == keys.size(), "keysWithValues: keys without values");
        // The byte reading of a UTF-8 file gives the same entries as the decoded one.
        QStringList keysUtf8, valuesUtf8;
        const auto decoded = [](QByteArrayView bytes) {
            return TextCodec::decode(bytes, TextEncoding::Utf8);
        };
        if (doc.keysWithValuesUtf8(s, [&](QByteArrayView k, QByteArrayView v) {
                keysUtf8.append(decoded(k));
                valuesUtf8.append(decoded(v));
            })) {
            FUZZ_EXPECT(keysUtf8 == keysRead, "keysWithValuesUtf8 lists other keys of " + shown(s));
            FUZZ_EXPECT(valuesUtf8 == valuesRead,
                        "keysWithValuesUtf8 reads other values of " + shown(s));
        }
        FUZZ_EXPECT(doc.sectionHasKeys(s) == !keys.isEmpty(),
                    "sectionHasKeys disagrees with the key list of " + shown(s));
        for (qsizetype k = 0; k < keys.size(); ++k) {
            for (qsizetype j = 0; j < k; ++j)
                FUZZ_EXPECT(asciiFolded(keys[j]) != asciiFolded(keys[k]),
                            "key listed twice: " + shown(keys[k]));
            const std::optional<QString> value = doc.value(s, keys[k]);
            FUZZ_EXPECT(value.has_value(), "listed key not readable: " + shown(keys[k]));
            FUZZ_EXPECT(valuesRead[k] == *value,
                        "keysWithValues reads another value of " + shown(keys[k]));
            if (const std::optional<int> n = IniNumber::parse(*value))
                FUZZ_EXPECT(IniNumber::parse(IniNumber::format(*n)) == n,
                            "number does not read back: " + shown(*value));
        }
    }
}

// ---- Renames -------------------------------------------------------------------

using Renames = IniDocument::Renames;

// Names as a document compares them: in its encoding, with the engine's matching.
class NameModel {
public:
    explicit NameModel(const IniDocument& doc)
        : encoding_(doc.encoding() == TextEncoding::Windows1252 ? TextEncoding::Windows1252
                                                                : TextEncoding::Utf8),
          match_(encoding_ == TextEncoding::Utf8) {}

    bool same(const QString& a, const QString& b) const {
        const auto x = TextCodec::encode(IniSyntax::trimBlanks(a), encoding_);
        const auto y = TextCodec::encode(IniSyntax::trimBlanks(b), encoding_);
        return x && y && match_.equal(*x, *y);
    }
    bool fits(QStringView name) const { return TextCodec::encode(name, encoding_).has_value(); }
    QString decode(QByteArrayView bytes) const { return TextCodec::decode(bytes, encoding_); }

private:
    TextEncoding encoding_;
    IniNameMatch match_;
};

// What a listing should become: each listed name renamed by the first pair naming it,
// then names made equal folded onto the first. from gives, for each name of the
// result, the listed entry whose content it must show.
struct RenamedListing {
    QStringList names;
    std::vector<qsizetype> from;
    QStringList newNames;    // of the renames that apply, trimmed
    bool mayRefuse = false;  // a rename that applies has a name the file cannot take
    bool mustRefuse = false; // ... and it certainly changes a line
};

RenamedListing renamedListing(const QStringList& listed, const Renames& renames,
                              const NameModel& model, QString (*check)(QStringView)) {
    RenamedListing result;
    QStringList renamed = listed;
    std::vector<bool> taken(size_t(listed.size()), false);
    for (const auto& [from, to] : renames) {
        for (qsizetype i = 0; i < listed.size(); ++i) {
            if (!model.same(listed[i], from))
                continue;
            if (!taken[size_t(i)]) {
                taken[size_t(i)] = true;
                const QString name = IniSyntax::trimBlanks(to).toString();
                renamed[i] = name;
                result.newNames.append(name);
                const bool unfit = !check(to).isEmpty() || !model.fits(name);
                result.mayRefuse = result.mayRefuse || unfit;
                result.mustRefuse = result.mustRefuse || (unfit && name != listed[i]);
            }
            break;
        }
    }
    for (qsizetype i = 0; i < renamed.size(); ++i) {
        bool repeat = false;
        for (qsizetype j = 0; j < i && !repeat; ++j)
            repeat = model.same(renamed[j], renamed[i]);
        if (!repeat) {
            result.names.append(renamed[i]);
            result.from.push_back(i);
        }
    }
    return result;
}

QByteArrayView nameIn(QByteArrayView line, LineKind kind) {
    return kind == LineKind::Section ? IniSyntax::sectionName(line) : IniSyntax::keyName(line);
}

// Every line that differs is a line of that kind with only its name replaced, by one
// of the new names; gives the numbers of those lines.
std::vector<size_t> checkRenamedLines(const Lines& before, const Lines& after, LineKind kind,
                                      const QStringList& newNames, const NameModel& model,
                                      const std::string& op) {
    FUZZ_EXPECT(before.size() == after.size(),
                op + ": lines added or removed" + describe(before, after));
    std::vector<size_t> changed;
    for (size_t i = 0; i < before.size(); ++i) {
        if (before[i] == after[i])
            continue;
        changed.push_back(i);
        FUZZ_EXPECT(kindOf(before[i]) == kind && kindOf(after[i]) == kind,
                    op + ": changed a line of another kind" + describe(before, after));
        FUZZ_EXPECT(eolOf(before[i]) == eolOf(after[i]),
                    op + ": the line end changed" + describe(before, after));
        const QByteArrayView was = withoutEol(before[i]);
        const QByteArrayView now = withoutEol(after[i]);
        const QByteArrayView oldName = nameIn(was, kind);
        const QByteArrayView newName = nameIn(now, kind);
        // Without their names the lines are the same (an empty name between blanks has
        // no one place, so the two sides are compared joined).
        auto withoutName = [](QByteArrayView line, QByteArrayView name) {
            const qsizetype start = name.data() - line.data();
            return line.first(start).toByteArray().append(line.sliced(start + name.size()));
        };
        FUZZ_EXPECT(withoutName(was, oldName) == withoutName(now, newName),
                    op + ": more than the name changed" + describe(before, after));
        FUZZ_EXPECT(newNames.contains(model.decode(newName)),
                    op + ": a line got a name not asked for" + describe(before, after));
    }
    return changed;
}

// The line numbers of a section's first occurrence, its header included.
std::pair<size_t, size_t> firstOccurrence(const Lines& lines, const QString& section,
                                          const NameModel& model) {
    size_t header = 0;
    while (header < lines.size() &&
           !(kindOf(lines[header]) == LineKind::Section &&
             model.same(model.decode(IniSyntax::sectionName(withoutEol(lines[header]))), section)))
        ++header;
    size_t end = header + 1;
    while (end < lines.size() && kindOf(lines[end]) != LineKind::Section)
        ++end;
    return {header, end};
}

void readBackAgrees(const IniDocument& doc); // defined with checkReread

class EditRun {
public:
    explicit EditRun(QByteArrayView file) : file_(file), doc_(file.toByteArray()) {}
    const IniDocument& doc() const { return doc_; }

    void run(const Edit& e) {
        const QStringList sections = doc_.sectionNames();
        const bool haveSection = !sections.isEmpty();
        const QString existing = haveSection ? sections[e.pick % sections.size()] : QString();
        const QStringList keys = haveSection ? doc_.keyNames(existing) : QStringList();
        const QString key = keys.isEmpty() ? QString() : keys[e.pick % keys.size()];
        const QString newName = QString::fromUtf8(kNames[e.name % kNames.size()]);
        const QString value = valueFor(e);

        utf8Writes_ = (e.kind / 6) % 2 == 1;
        const QByteArray bytesBefore = doc_.toBytes();
        const Lines before = physicalLines(textOf(doc_));
        if ((e.kind & 0xE0) == 0xC0) {
            if (e.kind & 1)
                return renameKeys(before, haveSection ? existing : newName, keys,
                                  renamesFor(e, keys));
            return renameSections(before, sections, renamesFor(e, sections));
        }
        try {
            switch (e.kind % 6) {
            case 0:
                if (!key.isEmpty())
                    return changeValue(before, existing, key, value);
                return insertKey(before, haveSection ? existing : newName, newName, value);
            case 1:
                return insertKey(before, haveSection ? existing : newName, newName, value);
            case 2:
                return insertKey(before, newName, newName, value);
            case 3:
                return removeKey(before, existing, key.isEmpty() ? newName : key);
            case 4:
                return removeSection(before, haveSection ? existing : newName);
            default:
                return createSection(before, e.name & 1 ? newName : existing);
            }
        } catch (const EIniFileException&) {
            FUZZ_EXPECT(doc_.toBytes() == bytesBefore, "a refused edit changed the file");
        }
    }

private:
    QString valueFor(const Edit& e) const {
        if (e.value < 0xC0)
            return QString::fromUtf8(kValues[e.value % kValues.size()]);
        const qsizetype start = qMin<qsizetype>(e.pick, file_.size());
        // Decoded keeping a leading U+FEFF, which QString::fromUtf8 would drop.
        return TextCodec::decode(
            file_.sliced(start).first(qMin<qsizetype>(e.value & 0x3F, file_.size() - start)),
            TextEncoding::Utf8);
    }

    Lines now() const { return physicalLines(textOf(doc_)); }

    // A value written in quotes (as given) reads back without them.
    void readsBack(const QString& s, const QString& k, const QString& v, const std::string& op) {
        const std::optional<QString> read = doc_.value(s, k);
        const QByteArray written = v.toUtf8();
        const QString expected = TextCodec::decode(IniSyntax::unquote(written), TextEncoding::Utf8);
        FUZZ_EXPECT(read == expected, op + ": wrote " + shown(v) + " but reads " +
                                   (read ? shown(*read) : std::string("nothing")));
    }

    // Writes through either entry point; both must behave alike.
    void write(const QString& s, const QString& k, const QString& v) {
        if (utf8Writes_)
            doc_.setValueUtf8(s.toUtf8(), k.toUtf8(), v.toUtf8());
        else
            doc_.setValue(s, k, v);
    }

    void changeValue(const Lines& before, const QString& s, const QString& k, const QString& v) {
        const std::string op = "change " + shown(s) + "/" + shown(k) + "=" + shown(v);
        write(s, k, v);
        checkReplacedLine(before, now(), op);
        readsBack(s, k, v, op);
    }

    void insertKey(const Lines& before, const QString& s, const QString& k, const QString& v) {
        const std::string op = "write " + shown(s) + "/" + shown(k) + "=" + shown(v);
        const bool sectionThere = doc_.hasSection(s);
        const bool keyThere = doc_.value(s, k).has_value();
        write(s, k, v);
        if (keyThere)
            checkReplacedLine(before, now(), op);
        else if (sectionThere)
            checkInsertedKey(before, now(), op);
        else
            checkAppended(before, now(), {LineKind::Section, LineKind::Key}, op);
        readsBack(s, k, v, op);
    }

    void removeKey(const Lines& before, const QString& s, const QString& k) {
        const std::string op = "remove key " + shown(s) + "/" + shown(k);
        const bool removed = doc_.removeKey(s, k);
        const Lines gone = leftOut(before, now(), op);
        FUZZ_EXPECT(removed != gone.empty(), op + ": result disagrees with the file");
        for (const QByteArray& line : gone)
            FUZZ_EXPECT(kindOf(line) == LineKind::Key,
                        op + ": removed a line that is no key: " + shown(line));
        FUZZ_EXPECT(!doc_.value(s, k), op + ": the key still reads");
    }

    void removeSection(const Lines& before, const QString& s) {
        const std::string op = "remove section " + shown(s);
        const bool removed = doc_.removeSection(s);
        const Lines gone = leftOut(before, now(), op);
        FUZZ_EXPECT(removed != gone.empty(), op + ": result disagrees with the file");
        if (removed)
            FUZZ_EXPECT(
                std::any_of(gone.begin(), gone.end(),
                            [](const QByteArray& l) { return kindOf(l) == LineKind::Section; }),
                op + ": no header removed");
        FUZZ_EXPECT(!doc_.hasSection(s), op + ": the section is still there");
    }

    void createSection(const Lines& before, const QString& s) {
        const std::string op = "create section " + shown(s);
        if (doc_.createSection(s))
            checkAppended(before, now(), {LineKind::Section}, op);
        else
            FUZZ_EXPECT(now() == before, op + ": an existing section changed the file");
        FUZZ_EXPECT(doc_.hasSection(s), op + ": the section is not there");
    }

    // Renames of listed names: one, a swap, a change of case, a missing name, two
    // made equal, one made equal to another.
    Renames renamesFor(const Edit& e, const QStringList& listed) const {
        const QString pooled = QString::fromUtf8(kNames[e.name % kNames.size()]);
        if (listed.isEmpty())
            return {{pooled, valueFor(e)}};
        const QString& a = listed[e.pick % listed.size()];
        const QString& b = listed[(e.pick + 1) % listed.size()];
        switch ((e.kind >> 1) % 6) {
        case 0:
            return {{a, pooled}};
        case 1:
            return {{a, b}, {b, a}};
        case 2:
            return {{a, a.toUpper() == a ? a.toLower() : a.toUpper()}};
        case 3:
            return {{pooled, a}, {a, valueFor(e)}};
        case 4:
            return {{a, pooled}, {b, pooled}};
        default:
            return {{a, b}};
        }
    }

    static std::string describeRenames(const Renames& renames) {
        std::string text;
        for (const auto& [from, to] : renames)
            text += " " + shown(from) + "->" + shown(to);
        return text;
    }

    // Runs a rename; false when it was refused (and then changed nothing).
    template <typename Rename>
    bool renamed(const RenamedListing& expected, const std::string& op, Rename&& rename) {
        const QByteArray bytesBefore = doc_.toBytes();
        try {
            rename();
        } catch (const EIniFileException&) {
            FUZZ_EXPECT(doc_.toBytes() == bytesBefore, op + ": a refused rename changed the file");
            FUZZ_EXPECT(expected.mayRefuse, op + ": refused names the file can take");
            return false;
        }
        FUZZ_EXPECT(!expected.mustRefuse, op + ": wrote a name the file cannot take");
        FUZZ_EXPECT(doc_.isModified() || doc_.toBytes() == bytesBefore,
                    op + ": changed the file but does not count as modified");
        return true;
    }

    void renameSections(const Lines& before, const QStringList& listed, const Renames& renames) {
        const std::string op = "rename sections" + describeRenames(renames);
        const NameModel model(doc_);
        const RenamedListing expected =
            renamedListing(listed, renames, model, IniValidation::checkSectionName);
        std::vector<QStringList> keys(size_t(listed.size())), values(size_t(listed.size()));
        for (qsizetype i = 0; i < listed.size(); ++i)
            doc_.keysWithValues(listed[i], keys[size_t(i)], values[size_t(i)]);
        if (!renamed(expected, op, [&] { doc_.renameSections(renames); }))
            return;
        checkRenamedLines(before, now(), LineKind::Section, expected.newNames, model, op);
        FUZZ_EXPECT(doc_.sectionNames() == expected.names,
                    op + ": sections listed as " + shown(doc_.sectionNames().join('|')));
        for (qsizetype i = 0; i < expected.names.size(); ++i) {
            QStringList k, v;
            doc_.keysWithValues(expected.names[i], k, v);
            const size_t from = size_t(expected.from[size_t(i)]);
            FUZZ_EXPECT(k == keys[from] && v == values[from],
                        op + ": other keys under " + shown(expected.names[i]));
        }
        readBackAgrees(doc_);
    }

    void renameKeys(const Lines& before, const QString& s, const QStringList& listed,
                    const Renames& renames) {
        const std::string op = "rename keys of " + shown(s) + describeRenames(renames);
        const NameModel model(doc_);
        const RenamedListing expected =
            renamedListing(listed, renames, model, IniValidation::checkKeyName);
        QStringList keys, values;
        doc_.keysWithValues(s, keys, values);
        if (!renamed(expected, op, [&] { doc_.renameKeys(s, renames); }))
            return;
        const Lines after = now();
        const std::vector<size_t> changed =
            checkRenamedLines(before, after, LineKind::Key, expected.newNames, model, op);
        const auto [header, end] = firstOccurrence(after, s, model);
        for (size_t line : changed)
            FUZZ_EXPECT(line > header && line < end,
                        op + ": changed a line outside the section" + describe(before, after));
        FUZZ_EXPECT(doc_.keyNames(s) == expected.names,
                    op + ": keys listed as " + shown(doc_.keyNames(s).join('|')));
        for (qsizetype i = 0; i < expected.names.size(); ++i)
            FUZZ_EXPECT(doc_.value(s, expected.names[i]) == values[expected.from[size_t(i)]],
                        op + ": other value under " + shown(expected.names[i]));
        readBackAgrees(doc_);
    }

    QByteArrayView file_;
    IniDocument doc_;
    bool utf8Writes_ = false;
};

// What is in memory is what a fresh read of the written bytes finds.
void checkReread(const IniDocument& doc) {
    const QByteArray bytes = doc.toBytes();
    QByteArray pieces;
    doc.writeTo([&](QByteArrayView piece) { pieces.append(piece); });
    FUZZ_EXPECT(pieces == bytes, "written pieces differ from the whole");
    readBackAgrees(doc);
}

void readBackAgrees(const IniDocument& doc) {
    const QByteArray bytes = doc.toBytes();
    const IniDocument again(bytes);
    FUZZ_EXPECT(again.toBytes() == bytes,
                "the written file does not load and write back unchanged");
    if (again.encoding() != doc.encoding())
        return; // names decode differently once the last non-UTF-8 byte has gone
    const QStringList sections = doc.sectionNames();
    FUZZ_EXPECT(again.sectionNames() == sections, "sections differ after reading the file back");
    for (const QString& s : sections) {
        const QStringList keys = doc.keyNames(s);
        FUZZ_EXPECT(again.keyNames(s) == keys,
                    "keys of " + shown(s) + " differ after reading back");
        for (const QString& k : keys)
            FUZZ_EXPECT(again.value(s, k) == doc.value(s, k),
                        "value of " + shown(s) + "/" + shown(k) + " differs after reading back");
    }
}

void checkUnchanged(QByteArrayView bytes) {
    const IniDocument doc(bytes.toByteArray());
    FUZZ_EXPECT(doc.toBytes() == bytes, "load and write without edits changed the bytes: " +
                                            shown(bytes) + " became " + shown(doc.toBytes()));
    FUZZ_EXPECT(!doc.isModified(), "a loaded file counts as modified");
}

} // namespace

std::string checkIniEngine(QByteArrayView input) {
    return runCheck([&] {
        checkUnchanged(input);
        const Input parts = splitInput(input);
        checkUnchanged(parts.file);
        EditRun edits(parts.file);
        checkListings(edits.doc());
        for (const Edit& e : parts.edits) {
            edits.run(e);
            checkListings(edits.doc());
        }
        checkReread(edits.doc());
    });
}

} // namespace ravik::fuzz
