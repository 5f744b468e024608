#include "core/platform/ini/IniDocument.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/files/MemoryHints.h"
#include "core/platform/ini/IniSyntax.h"
#include "core/platform/ini/IniValidation.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace ravik {

using IniSyntax::LineKind;

namespace {

// A section whose first occurrence has more lines than this gets a hash table of its
// keys; smaller ones are searched line by line, which costs about as much and saves
// the table's memory in files of many small sections. The table is built by the first
// lookup in the section: opening a file and showing it looks nothing up, and a file of
// twenty thousand sections would hold some six megabytes of tables from the start.
constexpr qint32 kSearchedInTurn = 16;

constexpr quint8 kindValue(LineKind kind) {
    return static_cast<quint8>(kind);
}

QByteArrayView eolBytes(quint8 eol) {
    static constexpr std::array<const char*, 4> kBytes = {"", "\r\n", "\n", "\r"};
    return QByteArrayView(kBytes[eol]);
}

const QString& sectionWord() {
    static const QString word = QStringLiteral("Der Sektionsname");
    return word;
}
const QString& keyWord() {
    static const QString word = QStringLiteral("Der Schlüsselname");
    return word;
}
const QString& valueWord() {
    static const QString word = QStringLiteral("Der Wert");
    return word;
}

void refuseIf(const QString& reason) {
    if (!reason.isEmpty())
        throw EIniFileException(reason);
}

// The first CR or LF from here on, or end. Eight bytes at a time, because every
// byte of the file passes through here twice while it loads.
const char* findLineBreak(const char* from, const char* end) {
    constexpr quint64 kOnes = 0x0101010101010101ULL;
    constexpr quint64 kHighBits = 0x8080808080808080ULL;
    while (end - from >= 8) {
        quint64 word;
        std::memcpy(&word, from, sizeof word);
        const quint64 lf = word ^ (kOnes * '\n');
        const quint64 cr = word ^ (kOnes * '\r');
        // A byte of lf or cr is zero where the word holds that character.
        if ((((lf - kOnes) & ~lf) | ((cr - kOnes) & ~cr)) & kHighBits)
            break;
        from += 8;
    }
    while (from < end && *from != '\r' && *from != '\n')
        ++from;
    return from;
}

[[noreturn]] void refuseTooManySections() {
    throw EIniFileException(QStringLiteral(
        "Die Datei ist zu groß: Sie hat mehr als 268.435.453 Sektionen."));
}

[[noreturn]] void refuseTooLarge() {
    throw EIniFileException(QStringLiteral(
        "Die Datei ist zu groß: Sie hat mehr als 2.147.483.646 Zeilen oder eine Zeile "
        "mit mehr als 4 GB."));
}

} // namespace

IniDocument::IniDocument() = default;

IniDocument::IniDocument(QByteArray fileBytes) {
    encoding_ = TextCodec::detect(fileBytes);
    switch (encoding_) {
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
        // Held as UTF-8, which maps to UTF-16 and back exactly (detect made sure the
        // file has no stray surrogates), so the parser sees one kind of bytes.
        const QByteArrayView body = QByteArrayView(fileBytes).sliced(2);
        raw_ = TextCodec::decode(body, encoding_).toUtf8();
        break;
    }
    case TextEncoding::Utf8Bom:
        raw_ = std::move(fileBytes);
        bodyStart_ = 3;
        break;
    case TextEncoding::Utf8:
        raw_ = std::move(fileBytes);
        break;
    case TextEncoding::Windows1252:
        raw_ = std::move(fileBytes);
        if (raw_.startsWith("\xEF\xBB\xBF"))
            bodyStart_ = 3;
        break;
    }
    parse();
}

IniDocument::IniDocument(QByteArray text, TextEncoding encoding) {
    encoding_ = encoding;
    if (encoding == TextEncoding::Utf8Bom) {
        raw_ = QByteArrayLiteral("\xEF\xBB\xBF") + text;
        bodyStart_ = 3;
    } else {
        raw_ = std::move(text);
        if (encoding == TextEncoding::Windows1252 && raw_.startsWith("\xEF\xBB\xBF"))
            bodyStart_ = 3;
    }
    parse();
}

void IniDocument::parse() {
    const bool utf8 = encoding_ != TextEncoding::Windows1252;
    codec_ = IniTextCodec(utf8);
    match_ = IniNameMatch(utf8);
    splitLines();
    indexLines();
}

// ---- Parsing -------------------------------------------------------------------

void IniDocument::splitLines() {
    const char* const begin = raw_.constData();
    const char* const end = begin + raw_.size();

    qsizetype lineCount = 0;
    for (const char* p = begin + bodyStart_; p < end; ++lineCount) {
        p = findLineBreak(p, end);
        if (p < end)
            p += (*p == '\r' && p + 1 < end && p[1] == '\n') ? 2 : 1;
    }
    if (lineCount >= std::numeric_limits<qint32>::max())
        refuseTooLarge();
    lines_.reserve(lineCount);
    MemoryHints::expectLargeFill(lines_.data(), lines_.capacity() * sizeof(Line));

    for (const char* p = begin + bodyStart_; p < end;) {
        const char* const lineEnd = findLineBreak(p, end);
        Eol eol = Eol::None;
        const char* next = lineEnd;
        if (lineEnd < end && *lineEnd == '\n') {
            eol = Eol::Lf;
            next = lineEnd + 1;
        } else if (lineEnd < end) {
            const bool crlf = lineEnd + 1 < end && lineEnd[1] == '\n';
            eol = crlf ? Eol::CrLf : Eol::Cr;
            next = lineEnd + (crlf ? 2 : 1);
        }
        addLine(p - begin, lineEnd - p, eol);
        if (eol == Eol::CrLf)
            ++lineEnds_.crLf;
        else if (eol == Eol::Lf)
            ++lineEnds_.lf;
        else if (eol == Eol::Cr)
            ++lineEnds_.cr;
        p = next;
    }
    switch (lineEnds_.dominantStyle()) {
    case EolStyle::CrLf:
        newEol_ = Eol::CrLf;
        break;
    case EolStyle::Lf:
        newEol_ = Eol::Lf;
        break;
    case EolStyle::Cr:
        newEol_ = Eol::Cr;
        break;
    }
}

void IniDocument::addLine(qsizetype start, qsizetype length, Eol eol) {
    if (length > std::numeric_limits<quint32>::max())
        refuseTooLarge();
    const auto index = static_cast<qint32>(lines_.size());
    const QByteArrayView content(raw_.constData() + start, length);
    Line line{};
    line.setStart(start);
    line.length = static_cast<quint32>(length);
    line.eol = static_cast<quint8>(eol);
    line.kind = kindValue(IniSyntax::classify(content));
    if (line.kind == kindValue(LineKind::Section))
        ++headerCount_;
    if (tail_ < 0)
        head_ = index;
    tail_ = index;
    lines_.push_back(line); // parsing: the lines follow their records' order
}

void IniDocument::indexLines() {
    sections_.reserve(headerCount_);
    if (headerCount_ > IniIdIndex::kMaxId + 1)
        refuseTooManySections();
    sectionIndex_.reserve(headerCount_, sectionHashes());
    qint32 current = -1; // section whose first occurrence is being read
    IniHashIndex scratch;  // one for all large sections, to find their repeated keys
    auto finishSection = [&] {
        if (current >= 0 && sections_[current].lineCount > kSearchedInTurn)
            sections_[current].duplicateKeys = repeatsKeys(current, scratch);
    };
    for (qint32 i = 0; i < qint32(lines_.size()); ++i) {
        const auto kind = static_cast<LineKind>(lines_[i].kind);
        if (kind != LineKind::Section) {
            if (current >= 0) {
                Section& section = sections_[current];
                roomForLine(section);
                ++section.lineCount;
                if (kind == LineKind::Key)
                    section.lastKey = i;
            }
            continue;
        }
        finishSection();
        const QByteArrayView name = IniSyntax::sectionName(text(i));
        const auto next = static_cast<qint32>(sections_.size());
        current = sectionIndex_.findOrInsert(match_.hash(name), next, [&](qint32 id) {
            return match_.equal(sectionName(id), name);
        }, sectionHashes());
        if (current != next) {
            laterHeaders_[current].push_back(i);
            current = -1;
            continue;
        }
        sections_.emplace_back();
        sections_.back().header = i;
    }
    finishSection();
    // Small sections learn of their repeated keys by comparing them in turn.
    for (qint32 id = 0; id < qint32(sections_.size()); ++id) {
        Section& section = sections_[id];
        if (section.lineCount <= kSearchedInTurn && section.lastKey >= 0)
            section.duplicateKeys = hasRepeatedKey(id);
    }
}

// For a section without a key table: compares its keys in turn.
bool IniDocument::hasRepeatedKey(qint32 sectionId) const {
    bool repeated = false;
    forEachLineOf(sections_[sectionId].header, [&](qint32 line) {
        repeated = isKey(line) && findKey(sectionId, keyName(line)) != line;
        return !repeated;
    });
    return repeated;
}

// Builds the section's key table, or rebuilds it from scratch.
void IniDocument::indexKeys(qint32 sectionId) {
    sections_[sectionId].duplicateKeys = buildKeyTable(sectionId);
}

// Built aside and then put in place: running out of memory half-way leaves no table
// that would miss keys.
bool IniDocument::buildKeyTable(qint32 sectionId) const {
    IniHashIndex keys;
    const bool repeated = repeatsKeys(sectionId, keys);
    keyTables_[sectionId] = std::move(keys);
    return repeated;
}

IniHashIndex* IniDocument::keyTable(qint32 sectionId) const {
    const auto found = keyTables_.find(sectionId);
    return found == keyTables_.end() ? nullptr : &found->second;
}

void IniDocument::roomForLine(const Section& section) {
    if (section.lineCount == Section::kMaxLineCount)
        throw EIniFileException(QStringLiteral(
            "Die Sektion ist zu groß: Sie hat mehr als 1.073.741.823 Zeilen."));
}

// Enters the section's keys into `keys` (emptied first), each name at its first line.
bool IniDocument::repeatsKeys(qint32 sectionId, IniHashIndex& keys) const {
    const Section& section = sections_[sectionId];
    keys.clear();
    keys.reserve(section.lineCount);
    bool repeated = false;
    forEachLineOf(section.header, [&](qint32 line) {
        if (isKey(line)) {
            const QByteArrayView name = keyName(line);
            const qint32 first = keys.findOrInsert(match_.hash(name), line, [&](qint32 known) {
                return match_.equal(keyName(known), name);
            });
            repeated = repeated || first != line;
        }
        return true;
    });
    return repeated;
}

// ---- Lookups -------------------------------------------------------------------

QByteArrayView IniDocument::text(qint32 line) const {
    const Line& l = lines_[line];
    const QByteArray& buffer = l.inEdits ? edits_ : raw_;
    return QByteArrayView(buffer.constData() + l.start(), l.length);
}

bool IniDocument::isKey(qint32 line) const {
    return lines_[line].kind == kindValue(LineKind::Key);
}

QByteArrayView IniDocument::keyName(qint32 line) const {
    return IniSyntax::keyName(text(line));
}

QByteArrayView IniDocument::sectionName(qint32 sectionId) const {
    return IniSyntax::sectionName(text(sections_[sectionId].header));
}

qint32 IniDocument::findSection(QByteArrayView name) const {
    return sectionIndex_.find(match_.hash(name), [&](qint32 sectionId) {
        return match_.equal(sectionName(sectionId), name);
    });
}

qint32 IniDocument::findSection(QStringView name) const {
    Bytes bytes;
    if (!codec_.encode(IniSyntax::trimBlanks(name), bytes))
        return -1; // the file cannot hold the name, so it is not in it
    return findSection(view(bytes));
}

qint32 IniDocument::findKey(qint32 sectionId, QByteArrayView name) const {
    const Section& section = sections_[sectionId];
    auto matches = [&](qint32 line) { return match_.equal(keyName(line), name); };
    if (!keyTable(sectionId) && section.lineCount > kSearchedInTurn && !section.removed)
        buildKeyTable(sectionId);
    if (const IniHashIndex* keys = keyTable(sectionId))
        return keys->find(match_.hash(name), matches);
    qint32 found = -1;
    forEachLineOf(section.header, [&](qint32 line) {
        if (isKey(line) && matches(line))
            found = line;
        return found < 0;
    });
    return found;
}

// Visits the lines after a header up to the next header; visit returns false to stop
// early. It may unlink the line it is given.
template <typename Visit> void IniDocument::forEachLineOf(qint32 header, Visit&& visit) const {
    for (qint32 i = next(header); i >= 0;) {
        const qint32 following = next(i);
        if (lines_[i].kind == kindValue(LineKind::Section) || !visit(i))
            return;
        i = following;
    }
}

qint32 IniDocument::lastKeyLine(qint32 sectionId) {
    Section& section = sections_[sectionId];
    if (section.lastKey == Section::kLastKeyUnknown) {
        qint32 last = -1;
        forEachLineOf(section.header, [&](qint32 line) {
            if (isKey(line))
                last = line;
            return true;
        });
        section.lastKey = last;
    }
    return section.lastKey;
}

QStringList IniDocument::sectionNames() const {
    QStringList names;
    names.reserve(qsizetype(sections_.size()));
    for (qint32 id = 0; id < qint32(sections_.size()); ++id) {
        if (!sections_[id].removed)
            names.append(codec_.decode(sectionName(id)));
    }
    return names;
}

void IniDocument::forEachSectionName(const std::function<void(const QString&)>& visit) const {
    for (qint32 id = 0; id < qint32(sections_.size()); ++id) {
        if (!sections_[id].removed)
            visit(codec_.decode(sectionName(id)));
    }
}

QStringList IniDocument::keyNames(const QString& section) const {
    QStringList names;
    const qint32 id = findSection(section);
    if (id < 0)
        return names;
    const bool mayRepeat = sections_[id].duplicateKeys;
    forEachLineOf(sections_[id].header, [&](qint32 line) {
        if (isKey(line)) {
            const QByteArrayView name = keyName(line);
            if (!mayRepeat || findKey(id, name) == line)
                names.append(codec_.decode(name));
        }
        return true;
    });
    return names;
}

void IniDocument::keysWithValues(const QString& section, QStringList& keys,
                                 QStringList& values) const {
    keys.clear();
    values.clear();
    const qint32 id = findSection(section);
    if (id < 0)
        return;
    const bool mayRepeat = sections_[id].duplicateKeys;
    forEachLineOf(sections_[id].header, [&](qint32 line) {
        if (isKey(line)) {
            const QByteArrayView name = keyName(line);
            // A repeated key is read where it first occurs, as value() does.
            if (!mayRepeat || findKey(id, name) == line) {
                keys.append(codec_.decode(name));
                values.append(
                    codec_.decode(IniSyntax::unquote(IniSyntax::splitKey(text(line)).rawValue)));
            }
        }
        return true;
    });
}

bool IniDocument::keysWithValuesUtf8(const QString& section, const KeyValueSink& sink) const {
    if (!codec_.isUtf8())
        return false;
    const qint32 id = findSection(section);
    if (id >= 0)
        keysOfUtf8(id, sink);
    return true;
}

bool IniDocument::sectionsWithKeysUtf8(const SectionSink& section, const KeyValueSink& sink) const {
    if (!codec_.isUtf8())
        return false;
    for (qint32 id = 0; id < qint32(sections_.size()); ++id) {
        if (sections_[id].removed)
            continue;
        section(sectionName(id));
        keysOfUtf8(id, sink);
    }
    return true;
}

void IniDocument::keysOfUtf8(qint32 id, const KeyValueSink& sink) const {
    const bool mayRepeat = sections_[id].duplicateKeys;
    forEachLineOf(sections_[id].header, [&](qint32 line) {
        if (isKey(line)) {
            const QByteArrayView name = keyName(line);
            if (!mayRepeat || findKey(id, name) == line)
                sink(name, IniSyntax::unquote(IniSyntax::splitKey(text(line)).rawValue));
        }
        return true;
    });
}

bool IniDocument::hasSection(const QString& section) const {
    return findSection(section) >= 0;
}

bool IniDocument::sectionHasKeys(const QString& section) const {
    const qint32 id = findSection(section);
    if (id < 0)
        return false;
    bool found = false;
    forEachLineOf(sections_[id].header, [&](qint32 line) {
        found = isKey(line);
        return !found;
    });
    return found;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
    const qint32 id = findSection(section);
    if (id < 0)
        return std::nullopt;
    Bytes name;
    if (!codec_.encode(IniSyntax::trimBlanks(key), name))
        return std::nullopt;
    const qint32 line = findKey(id, view(name));
    if (line < 0)
        return std::nullopt;
    return codec_.decode(IniSyntax::unquote(IniSyntax::splitKey(text(line)).rawValue));
}

// ';' is the engine's comment; '#' serves as one in many files (systemd units,
// smb.conf), and reads as one wherever the line is no key.
bool IniDocument::isCommentLine(qint32 line) const {
    const quint8 kind = lines_[line].kind;
    if (kind == kindValue(LineKind::Comment))
        return true;
    return kind == kindValue(LineKind::Other) && IniSyntax::trimBlanks(text(line)).startsWith('#');
}

namespace {

// Files explain a key in a few lines; a run beyond this many is cut from the top.
constexpr int kMaxCommentLines = 100;

QByteArrayView commentBody(QByteArrayView line) {
    line = IniSyntax::trimBlanks(line);
    const char mark = line.front();
    qsizetype start = 0;
    while (start < line.size() && (line[start] == ';' || line[start] == '#'))
        ++start;
    if (start < line.size() && IniSyntax::isBlank(line[start]))
        ++start;
    line = line.sliced(start);
    // A closing mark set off by blanks is decoration: "; Resource Limits ;".
    qsizetype end = line.size();
    while (end > 0 && line[end - 1] == mark)
        --end;
    if (end < line.size() && end > 0 && IniSyntax::isBlank(line[end - 1]))
        line.truncate(end);
    while (!line.isEmpty() && IniSyntax::isBlank(line.back()))
        line.chop(1);
    return line;
}

} // namespace

QString IniDocument::commentAbove(const QString& section, const QString& key) const {
    const qint32 id = findSection(section);
    if (id < 0)
        return {};
    const qint32 line = key.isEmpty() ? sections_[id].header : keyLine(section, key);
    return line < 0 ? QString() : commentAboveLine(line, false);
}

qint32 IniDocument::keyLine(const QString& section, const QString& key) const {
    const qint32 id = findSection(section);
    Bytes name;
    if (id < 0 || !codec_.encode(IniSyntax::trimBlanks(key), name))
        return -1;
    return findKey(id, view(name));
}

bool IniDocument::hasSwitchedOffKeys() const {
    if (switchedOffKeys_ < 0) {
        switchedOffKeys_ = 0;
        for (qint32 i = head_; i >= 0 && !switchedOffKeys_; i = next(i))
            if (lines_[i].kind == kindValue(LineKind::Comment) && !IniSyntax::switchedOffKey(text(i)).isEmpty())
                switchedOffKeys_ = 1;
    }
    return switchedOffKeys_ > 0;
}

std::vector<IniDocument::SwitchedOffKey> IniDocument::switchedOffKeys(const QString& section) const {
    std::vector<SwitchedOffKey> found;
    if (!hasSwitchedOffKeys())
        return found;
    const qint32 id = findSection(section);
    if (id < 0)
        return found;
    const bool mayRepeat = sections_[id].duplicateKeys;
    int keys = 0;
    forEachLineOf(sections_[id].header, [&](qint32 line) {
        if (isKey(line)) {
            if (!mayRepeat || findKey(id, keyName(line)) == line)
                ++keys;
        } else if (lines_[line].kind == kindValue(LineKind::Comment)) {
            // '#' lines with '=' are keys to the engine, so only ';' lines can hold one.
            const QByteArrayView keyText = IniSyntax::switchedOffKey(text(line));
            if (!keyText.isEmpty()) {
                const IniSyntax::KeyParts parts = IniSyntax::splitKey(keyText);
                found.push_back({line, codec_.decode(parts.name),
                                 codec_.decode(IniSyntax::unquote(parts.rawValue)), keys});
            }
        }
        return true;
    });
    return found;
}

QByteArray IniDocument::textWithLines(const std::vector<LineText>& replaced) const {
    QByteArray out;
    out.reserve(textSize() + 16);
    // The constructor from a text adds a UTF-8 mark itself and finds a Windows-1252
    // file's mark among its bytes.
    if (encoding_ != TextEncoding::Utf8Bom)
        out.append(QByteArrayView(raw_).first(bodyStart_));
    for (qint32 i = head_; i >= 0; i = next(i)) {
        auto it = std::find_if(replaced.begin(), replaced.end(),
                               [i](const LineText& r) { return r.line == i; });
        out.append(it != replaced.end() ? QByteArrayView(it->text) : text(i));
        out.append(eolBytes(lines_[i].eol));
    }
    return out;
}

QString IniDocument::commentAboveLine(qint32 line, bool ownRunOnly) const {
    std::vector<qint32> run;
    for (qint32 i = prev(line); i >= 0 && isCommentLine(i); i = prev(i)) {
        if (int(run.size()) == kMaxCommentLines)
            break;
        if (ownRunOnly && !IniSyntax::switchedOffKey(text(i)).isEmpty())
            break;
        run.push_back(i);
    }
    QStringList texts;
    for (auto it = run.rbegin(); it != run.rend(); ++it)
        texts.append(codec_.decode(commentBody(text(*it))));
    while (!texts.isEmpty() && texts.constFirst().isEmpty())
        texts.removeFirst();
    while (!texts.isEmpty() && texts.constLast().isEmpty())
        texts.removeLast();
    return texts.join(QLatin1Char('\n'));
}

// ---- Edits ---------------------------------------------------------------------

void IniDocument::refuseIfUnfit(bool fits, QStringView text, const QString& what) const {
    if (!fits)
        throw EIniFileException(codec_.refusal(text, what));
}

// Refusals apply to the text actually written: a value or name that is already in
// the file (a NUL in it, say) may be written back unchanged, or saving such a file
// would fail on a key nobody touched.
void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    const QStringView sectionText = IniSyntax::trimBlanks(section);
    const QStringView keyText = IniSyntax::trimBlanks(key);
    Bytes sectionBytes;
    Bytes keyBytes;
    Bytes valueBytes;
    const bool sectionFits = codec_.encode(sectionText, sectionBytes);
    const bool keyFits = codec_.encode(keyText, keyBytes);
    const bool valueFits = codec_.encode(value, valueBytes);

    qint32 id = sectionFits ? findSection(view(sectionBytes)) : -1;
    const qint32 line = id >= 0 && keyFits ? findKey(id, view(keyBytes)) : -1;
    IniSyntax::KeyParts parts;
    if (line >= 0) {
        parts = IniSyntax::splitKey(text(line));
        if (valueFits && (IniSyntax::unquote(parts.rawValue) == view(valueBytes) ||
                          parts.rawValue == view(valueBytes)))
            return;
    }

    if (id < 0) {
        refuseIf(IniValidation::checkSectionName(section));
        refuseIfUnfit(sectionFits, sectionText, sectionWord());
    }
    if (line < 0) {
        refuseIf(IniValidation::checkKeyName(key));
        refuseIfUnfit(keyFits, keyText, keyWord());
    }
    refuseIf(IniValidation::checkValue(value));
    refuseIfUnfit(valueFits, value, valueWord());

    if (id < 0)
        id = appendSection(view(sectionBytes));
    if (line < 0) {
        insertKey(id, view(keyBytes), view(valueBytes));
        return;
    }
    // Name, '=' and the blanks after it stay as the file has them.
    QByteArray changed = text(line).first(parts.valueStart).toByteArray();
    changed.append(
        IniSyntax::valueText(view(valueBytes), IniSyntax::enclosingQuote(parts.rawValue)));
    replaceText(line, changed);
}

namespace {

// The refusals of IniValidation, on UTF-8 bytes: every character they look for is
// ASCII, which never occurs inside a multi-byte sequence. Only a refused text needs
// the slower checks, for their message.
bool plainText(QByteArrayView bytes) {
    for (char c : bytes)
        if (c == '\r' || c == '\n' || c == '\0')
            return false;
    return true;
}

bool fitsSectionName(QByteArrayView name) {
    return plainText(name) && !name.contains(']');
}

bool fitsKeyName(QByteArrayView name) {
    const QByteArrayView trimmed = IniSyntax::trimBlanks(name);
    return plainText(name) && !trimmed.isEmpty() && trimmed.front() != ';' &&
           trimmed.front() != '[' && !trimmed.contains('=');
}

// Not QString::fromUtf8, which drops a leading U+FEFF: a name that starts with one
// would miss its key and be written as another.
QString utf8Text(QByteArrayView utf8) {
    return TextCodec::decode(utf8, TextEncoding::Utf8);
}

} // namespace

void IniDocument::setValueUtf8(QByteArrayView section, QByteArrayView key, QByteArrayView value) {
    if (!codec_.isUtf8() || !TextCodec::isValidUtf8(section) || !TextCodec::isValidUtf8(key) ||
        !TextCodec::isValidUtf8(value)) {
        setValue(utf8Text(section), utf8Text(key), utf8Text(value));
        return;
    }
    // In a UTF-8 file the bytes are the text: the same steps as setValue, without
    // converting anything (saving writes every key, a new file all of them).
    const QByteArrayView sectionName = IniSyntax::trimBlanks(section);
    const QByteArrayView keyName = IniSyntax::trimBlanks(key);
    qint32 id = findSection(sectionName);
    const qint32 line = id >= 0 ? findKey(id, keyName) : -1;
    IniSyntax::KeyParts parts;
    if (line >= 0) {
        parts = IniSyntax::splitKey(text(line));
        if (IniSyntax::unquote(parts.rawValue) == value || parts.rawValue == value)
            return;
    }
    if ((id < 0 && !fitsSectionName(section)) || (line < 0 && !fitsKeyName(key)) || !plainText(value)) {
        setValue(utf8Text(section), utf8Text(key), utf8Text(value));
        return; // refused there, with the reason
    }
    if (id < 0)
        id = appendSection(sectionName);
    if (line < 0) {
        insertKey(id, keyName, value);
        return;
    }
    QByteArray changed = text(line).first(parts.valueStart).toByteArray();
    changed.append(IniSyntax::valueText(value, IniSyntax::enclosingQuote(parts.rawValue)));
    replaceText(line, changed);
}

QString IniDocument::sectionNameRefusal(QStringView name) const {
    if (QString reason = IniValidation::checkSectionName(name); !reason.isEmpty())
        return reason;
    const QStringView trimmed = IniSyntax::trimBlanks(name);
    Bytes bytes;
    return codec_.encode(trimmed, bytes) ? QString() : codec_.refusal(trimmed, sectionWord());
}

QString IniDocument::keyNameRefusal(QStringView name) const {
    if (QString reason = IniValidation::checkKeyName(name); !reason.isEmpty())
        return reason;
    const QStringView trimmed = IniSyntax::trimBlanks(name);
    Bytes bytes;
    return codec_.encode(trimmed, bytes) ? QString() : codec_.refusal(trimmed, keyWord());
}

QString IniDocument::valueRefusal(QStringView value) const {
    if (QString reason = IniValidation::checkValue(value); !reason.isEmpty())
        return reason;
    Bytes bytes;
    return codec_.encode(value, bytes) ? QString() : codec_.refusal(value, valueWord());
}

QString IniDocument::valueRefusalUtf8(QByteArrayView value) const {
    if (plainText(value)) {
        if (codec_.isUtf8() ? TextCodec::isValidUtf8(value)
                            : std::all_of(value.begin(), value.end(),
                                          [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            return {};
    }
    return valueRefusal(utf8Text(value));
}

void IniDocument::reserve(qsizetype lines, qsizetype bytes) {
    lines_.reserve(lines_.size() + size_t(lines));
    edits_.reserve(edits_.size() + bytes);
    MemoryHints::expectLargeFill(lines_.data(), lines_.capacity() * sizeof(Line));
    MemoryHints::expectLargeFill(edits_.data(), size_t(edits_.capacity()));
}

bool IniDocument::createSection(const QString& section) {
    const QStringView name = IniSyntax::trimBlanks(section);
    Bytes bytes;
    const bool fits = codec_.encode(name, bytes);
    if (fits && findSection(view(bytes)) >= 0)
        return false;
    refuseIf(IniValidation::checkSectionName(section));
    refuseIfUnfit(fits, name, sectionWord());
    appendSection(view(bytes));
    return true;
}

bool IniDocument::removeKey(const QString& section, const QString& key) {
    const qint32 id = findSection(section);
    Bytes name;
    if (id < 0 || !codec_.encode(IniSyntax::trimBlanks(key), name))
        return false;
    const qint32 first = findKey(id, view(name));
    if (first < 0)
        return false;
    Section& found = sections_[id];
    if (IniHashIndex* keys = keyTable(id))
        keys->erase(match_.hash(view(name)), first);
    if (found.duplicateKeys) {
        forEachLineOf(found.header, [&](qint32 line) {
            if (line != first && isKey(line) && match_.equal(keyName(line), view(name))) {
                unlink(line);
                --found.lineCount;
            }
            return true;
        });
    }
    unlink(first);
    --found.lineCount;
    found.lastKey = Section::kLastKeyUnknown;
    return true;
}

bool IniDocument::removeSection(const QString& section) {
    const qint32 id = findSection(section);
    if (id < 0)
        return false;
    Section& found = sections_[id];
    sectionIndex_.erase(match_.hash(sectionName(id)), id);
    removeBlock(found.header);
    if (const auto later = laterHeaders_.find(id); later != laterHeaders_.end()) {
        for (qint32 header : later->second)
            removeBlock(header);
        laterHeaders_.erase(later);
    }
    keyTables_.erase(id);
    found.removed = true;
    return true;
}

// Checks a rename of these lines and adds the lines it changes. A rename that
// changes no byte is never refused (the old name may hold a NUL from the file).
void IniDocument::planRename(const std::vector<qint32>& lines, QStringView newName,
                             QString (*check)(QStringView), const QString& what,
                             QByteArray (*renamed)(QByteArrayView, QByteArrayView),
                             std::vector<LineChange>& changes) const {
    const QStringView name = IniSyntax::trimBlanks(newName);
    Bytes bytes;
    const bool fits = codec_.encode(name, bytes);
    const size_t planned = changes.size();
    if (fits) {
        for (qint32 line : lines) {
            QByteArray text = renamed(this->text(line), view(bytes));
            if (text != this->text(line))
                changes.push_back({line, std::move(text)});
        }
    }
    if (!fits || changes.size() > planned) {
        refuseIf(check(newName));
        refuseIfUnfit(fits, name, what);
    }
}

void IniDocument::renameSections(const Renames& renames) {
    std::vector<qint32> renamed;
    std::vector<LineChange> changes;
    for (const auto& [from, to] : renames) {
        const qint32 id = findSection(from);
        if (id < 0 || std::find(renamed.begin(), renamed.end(), id) != renamed.end())
            continue;
        renamed.push_back(id);
        std::vector<qint32> headers{sections_[id].header};
        if (const auto later = laterHeaders_.find(id); later != laterHeaders_.end())
            headers.insert(headers.end(), later->second.begin(), later->second.end());
        planRename(headers, to, IniValidation::checkSectionName, sectionWord(),
                   IniSyntax::renamedHeader, changes);
    }
    if (changes.empty())
        return;
    for (qint32 id : renamed)
        sectionIndex_.erase(match_.hash(sectionName(id)), id);
    for (const LineChange& change : changes)
        replaceText(change.line, change.text);
    // In file order, so that of two sections now named alike the earlier one wins.
    std::sort(renamed.begin(), renamed.end());
    for (qint32 id : renamed)
        indexRenamedSection(id);
}

void IniDocument::indexRenamedSection(qint32 sectionId) {
    const QByteArrayView name = sectionName(sectionId);
    const quint32 hash = match_.hash(name);
    const qint32 known = sectionIndex_.findOrInsert(
        hash, sectionId, [&](qint32 id) { return match_.equal(sectionName(id), name); }, sectionHashes());
    if (known == sectionId)
        return;
    // Sections are numbered in file order: new ones are appended at the end.
    if (known < sectionId) {
        joinSections(known, sectionId);
        return;
    }
    sectionIndex_.erase(hash, known);
    sectionIndex_.insert(hash, sectionId, sectionHashes());
    joinSections(sectionId, known);
}

// The later section becomes a repeat of the first, as if the file had been read so.
void IniDocument::joinSections(qint32 first, qint32 later) {
    std::vector<qint32>& headers = laterHeaders_[first];
    headers.push_back(sections_[later].header);
    if (const auto repeats = laterHeaders_.find(later); repeats != laterHeaders_.end()) {
        headers.insert(headers.end(), repeats->second.begin(), repeats->second.end());
        laterHeaders_.erase(repeats);
    }
    // Header lines are numbered in file order too (read, or appended at the end).
    std::sort(headers.begin(), headers.end());
    Section& joined = sections_[later];
    keyTables_.erase(later);
    joined.removed = true;
}

void IniDocument::renameKeys(const QString& section, const Renames& renames) {
    const qint32 id = findSection(section);
    if (id < 0)
        return;
    std::vector<qint32> renamed; // first occurrences
    std::vector<LineChange> changes;
    for (const auto& [from, to] : renames) {
        Bytes name;
        if (!codec_.encode(IniSyntax::trimBlanks(from), name))
            continue;
        const qint32 first = findKey(id, view(name));
        if (first < 0 || std::find(renamed.begin(), renamed.end(), first) != renamed.end())
            continue;
        renamed.push_back(first);
        std::vector<qint32> lines{first};
        if (sections_[id].duplicateKeys) {
            forEachLineOf(sections_[id].header, [&](qint32 line) {
                if (line != first && isKey(line) && match_.equal(keyName(line), view(name)))
                    lines.push_back(line);
                return true;
            });
        }
        planRename(lines, to, IniValidation::checkKeyName, keyWord(), IniSyntax::renamedKey,
                   changes);
    }
    if (changes.empty())
        return;
    Section& found = sections_[id];
    IniHashIndex* keys = keyTable(id);
    if (keys) {
        for (qint32 line : renamed)
            keys->erase(match_.hash(keyName(line)), line);
    }
    for (const LineChange& change : changes)
        replaceText(change.line, change.text);
    if (!keys) {
        found.duplicateKeys = hasRepeatedKey(id);
        return;
    }
    // A new name that another key has already: which line comes first in the file
    // decides, so the table is built again.
    for (qint32 line : renamed) {
        const QByteArrayView name = keyName(line);
        const qint32 known =
            keys->findOrInsert(match_.hash(name), line, [&](qint32 other) {
                return match_.equal(keyName(other), name);
            });
        if (known != line) {
            indexKeys(id);
            return;
        }
    }
}

qint32 IniDocument::insertLine(qint32 after, QByteArrayView content, quint8 kind) {
    if (lines_.size() >= size_t(std::numeric_limits<qint32>::max()))
        refuseTooLarge();
    const auto index = static_cast<qint32>(lines_.size());
    // A line after the last one keeps the records' order; any other needs links
    // (made first: running out of memory then leaves the document as it was).
    if (!linked_ && !(after == tail_ && after == index - 1))
        link();
    if (after >= 0 && lines_[after].eol == quint8(Eol::None)) {
        lines_[after].eol = quint8(newEol_);
        lines_[after].eolAdded = 1;
    }
    Line line{};
    line.setStart(edits_.size());
    line.length = static_cast<quint32>(content.size());
    line.eol = quint8(newEol_);
    line.kind = kind;
    line.inEdits = 1;
    if (linked_) {
        Link l{};
        l.prev = after;
        if (after >= 0) {
            l.next = links_[after].next;
            links_[after].next = index;
        } else {
            l.next = head_;
            head_ = index;
        }
        if (l.next >= 0)
            links_[l.next].prev = index;
        else
            tail_ = index;
        links_.push_back(l);
    } else {
        if (head_ < 0)
            head_ = index;
        tail_ = index;
    }
    edits_.append(content);
    lines_.push_back(line);
    keepApart(index);
    modified_ = true;
    return index;
}

qint32 IniDocument::appendSection(QByteArrayView name) {
    const auto id = static_cast<qint32>(sections_.size());
    if (id > IniIdIndex::kMaxId)
        refuseTooManySections();
    sectionIndex_.roomForOneMore(sectionHashes());
    Section section;
    section.header = insertLine(tail_, IniSyntax::sectionLine(name), kindValue(LineKind::Section));
    sections_.push_back(std::move(section));
    sectionIndex_.insert(match_.hash(name), id, sectionHashes());
    return id;
}

// After the last key of the section's first occurrence, so comments and blank lines
// that close the section stay below its keys.
void IniDocument::insertKey(qint32 sectionId, QByteArrayView name, QByteArrayView value) {
    roomForLine(sections_[sectionId]); // before anything changes
    const qint32 lastKey = lastKeyLine(sectionId);
    const qint32 after = lastKey >= 0 ? lastKey : sections_[sectionId].header;
    const QByteArray content = IniSyntax::keyLine(name, IniSyntax::valueText(value, 0));
    const qint32 line = insertLine(after, content, kindValue(LineKind::Key));
    Section& section = sections_[sectionId];
    section.lastKey = line;
    ++section.lineCount;
    if (IniHashIndex* keys = keyTable(sectionId)) // else the next lookup builds it, when the section is large
        keys->insert(match_.hash(name), line);
}

void IniDocument::replaceText(qint32 line, QByteArrayView content) {
    Line& target = lines_[line];
    target.setStart(edits_.size());
    target.length = static_cast<quint32>(content.size());
    target.inEdits = 1;
    edits_.append(content);
    modified_ = true;
}

// Takes a line out of the chain; its record stays, unreachable, so that no other
// line number changes.
void IniDocument::unlink(qint32 line) {
    link();
    const Link target = links_[line];
    if (target.prev >= 0)
        links_[target.prev].next = target.next;
    else
        head_ = target.next;
    if (target.next >= 0)
        links_[target.next].prev = target.prev;
    else
        tail_ = target.prev;
    keepApart(target.prev);
    modified_ = true;
}

void IniDocument::link() {
    if (linked_)
        return;
    links_.resize(lines_.size());
    for (qint32 i = 0; i < qint32(lines_.size()); ++i)
        links_[i] = {i + 1 < qint32(lines_.size()) ? i + 1 : -1, i - 1};
    linked_ = true;
}

// A lone CR followed by an empty line that ends in LF would read back as one CR LF,
// and the empty line would be gone; that CR becomes CR LF. Only files that mix lone
// CRs with LFs can meet this, when an edit brings the two lines together.
void IniDocument::keepApart(qint32 line) {
    if (line < 0 || lines_[line].eol != quint8(Eol::Cr))
        return;
    const qint32 following = next(line);
    if (following >= 0 && lines_[following].length == 0 && lines_[following].eol == quint8(Eol::Lf)) {
        lines_[line].eol = quint8(Eol::CrLf);
        lines_[line].eolAdded = 1;
    }
}

void IniDocument::removeBlock(qint32 header) {
    forEachLineOf(header, [&](qint32 line) {
        unlink(line);
        return true;
    });
    unlink(header);
}

// ---- Writing -------------------------------------------------------------------

void IniDocument::writeTo(const PieceSink& sink) const {
    if (encoding_ == TextEncoding::Utf16LE || encoding_ == TextEncoding::Utf16BE) {
        sink(toBytes());
        return;
    }
    writeLines(sink);
}

void IniDocument::writeText(const PieceSink& sink) const {
    if (encoding_ == TextEncoding::Windows1252) {
        // One byte a character, so every piece decodes on its own.
        writeLines([&](QByteArrayView piece) {
            sink(TextCodec::decodeWindows1252(piece).toUtf8());
        });
        return;
    }
    writeLines(sink, bodyStart_);
}

qsizetype IniDocument::textSize() const {
    qsizetype size = bodyStart_;
    for (qint32 i = head_; i >= 0; i = next(i))
        size += lines_[i].length + eolBytes(lines_[i].eol).size();
    return size;
}

QByteArray IniDocument::toBytes() const {
    const qsizetype size = textSize();
    QByteArray out;
    out.reserve(size);
    MemoryHints::expectLargeFill(out.data(), size_t(size));
    writeLines([&out](QByteArrayView piece) { out.append(piece); });
    if (encoding_ != TextEncoding::Utf16LE && encoding_ != TextEncoding::Utf16BE)
        return out;
    const auto utf16 = TextCodec::encode(TextCodec::decode(out, TextEncoding::Utf8), encoding_);
    if (!utf16) // every edit was checked to be valid text, so this cannot happen
        throw EIniFileException(QStringLiteral("Der Text lässt sich nicht als UTF-16 speichern."));
    return TextCodec::byteOrderMark(encoding_) + *utf16;
}

void IniDocument::writeLines(const PieceSink& sink, qsizetype from) const {
    // Untouched lines that follow each other in the file go out as one piece.
    qsizetype runStart = from;
    qsizetype runEnd = bodyStart_; // a UTF-8 byte-order mark goes out with the first run
    auto flushRun = [&] {
        if (runEnd > runStart)
            sink(QByteArrayView(raw_.constData() + runStart, runEnd - runStart));
        runStart = runEnd = 0;
    };
    for (qint32 i = head_; i >= 0; i = next(i)) {
        const Line& line = lines_[i];
        const QByteArrayView eol = eolBytes(line.eol);
        if (!line.inEdits && !line.eolAdded) {
            const qsizetype start = line.start();
            if (start != runEnd) {
                flushRun();
                runStart = start;
            }
            runEnd = start + line.length + eol.size();
            continue;
        }
        flushRun();
        sink(text(i));
        sink(eol);
    }
    flushRun();
}

} // namespace ravik
