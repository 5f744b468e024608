#pragma once

#include "core/platform/ini/IniHashIndex.h"
#include "core/platform/ini/IniIdIndex.h"
#include "core/platform/ini/IniNameMatch.h"
#include "core/platform/ini/IniTextCodec.h"
#include "core/platform/text/LineEnds.h"
#include "core/platform/text/TextCodec.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace ravik {

// An INI file in memory: parsed from bytes, queried, edited and written back to
// bytes, with no file access of its own.
//
// The file stays in one buffer; each physical line is a 20-byte record pointing into
// it. Changed and new lines go to a second buffer, and lines are chained in file
// order so that inserting or removing one never moves another: the hash indexes of
// sections and keys, which hold line numbers, stay valid. Sections of a few lines
// are searched line by line instead, which spares files of many small sections a
// table each. Untouched lines are written back byte for byte, line ends included.
//
// Reading and writing rules: sections start at "[", keys are "name=value" lines,
// ";" starts a comment, names match without regard to case, and a duplicate section
// or key is read and written at its first occurrence. Lines before the first section
// belong to none.
class IniDocument {
public:
    IniDocument(); // a new file: UTF-8, CR LF
    // Throws EIniFileException when the file is too large to index (over 2^31 lines).
    explicit IniDocument(QByteArray fileBytes);
    // A text whose encoding is known already (the editor's text of a document read in
    // that encoding): UTF-8 without a byte-order mark, except for Windows-1252, whose
    // bytes it is. Written back in `encoding`, mark included.
    IniDocument(QByteArray text, TextEncoding encoding);

    // The file's bytes as read (a UTF-16 file's as UTF-8): they never change while the
    // document lives, and the names and values read from an unchanged UTF-8 document
    // lie in them.
    QByteArrayView bytesAsRead() const { return raw_; }

    // UTF-16 files are written back as UTF-16; others keep their bytes.
    TextEncoding encoding() const { return encoding_; }

    // Physical lines of the file as read (a bound for the entries it can hold).
    qsizetype lineCount() const { return static_cast<qsizetype>(lines_.size()); }
    // The line ends of the file as read.
    const LineEndCounts& lineEnds() const { return lineEnds_; }

    // Each name once, in order of first appearance.
    QStringList sectionNames() const;
    // The same one by one, without a list of them all.
    void forEachSectionName(const std::function<void(const QString&)>& visit) const;
    // How many names forEachSectionName gives at most.
    qsizetype sectionCount() const { return qsizetype(sections_.size()); }
    QStringList keyNames(const QString& section) const;
    bool hasSection(const QString& section) const;
    bool sectionHasKeys(const QString& section) const;
    // Trimmed, one outer pair of matching quotes removed; nullopt when missing.
    std::optional<QString> value(const QString& section, const QString& key) const;
    // The comment lines right above a key (of the section's first occurrence) or,
    // with an empty key, above the section's first header: the run of lines starting
    // with ';' or '#' that ends there, broken by any other line (a blank one too).
    // Without the comment characters, one blank after them and decoration at the end
    // ("; Title ;"); the lines joined with '\n'; empty when there are none.
    QString commentAbove(const QString& section, const QString& key) const;
    // Keys switched off in the section (IniSyntax::switchedOffKey), in file order, of
    // its first occurrence. A line is named by its number, valid until the document
    // is made anew; keysBefore counts the section's keys (as keyNames gives them)
    // above it, which places it among them.
    struct SwitchedOffKey {
        qint32 line = -1;
        QString name;
        QString value; // as value() would read it
        int keysBefore = 0;
    };
    std::vector<SwitchedOffKey> switchedOffKeys(const QString& section) const;
    // Whether any line of the file is a switched-off key: one walk, then known (edits
    // never make a comment line), so that a search over a million sections asks each
    // one only when there is something to find.
    bool hasSwitchedOffKeys() const;
    // The line a key is read from (its first occurrence), -1 when there is none.
    qint32 keyLine(const QString& section, const QString& key) const;
    // The comment lines right above a line, as commentAbove gives them; ownRunOnly
    // stops at a switched-off key (a list of them explains only the first).
    QString commentAboveLine(qint32 line, bool ownRunOnly) const;
    // The text with these lines' texts replaced (line ends kept), in the form the
    // constructor from a text and its encoding takes, so that a document made from it
    // writes exactly the other lines' bytes.
    struct LineText {
        qint32 line;
        QByteArray text;
    };
    QByteArray textWithLines(const std::vector<LineText>& replaced) const;
    // A line's text as held (UTF-8, or a Windows-1252 file's bytes).
    QByteArrayView lineText(qint32 line) const { return text(line); }

    // keyNames() and the value() of each, in one walk over the section.
    void keysWithValues(const QString& section, QStringList& keys, QStringList& values) const;
    // The same as UTF-8 bytes, handed over without converting them: only for a UTF-8
    // file (false otherwise, and nothing is handed over). The views are valid until
    // the document changes.
    using KeyValueSink = std::function<void(QByteArrayView key, QByteArrayView value)>;
    bool keysWithValuesUtf8(const QString& section, const KeyValueSink& sink) const;
    // Every section, each name once in order of first appearance, then its keys and
    // values: the same bytes for the whole file in one walk, without a lookup by name
    // (a file may hold a million sections). Only for a UTF-8 file, as above.
    using SectionSink = std::function<void(QByteArrayView section)>;
    bool sectionsWithKeysUtf8(const SectionSink& section, const KeyValueSink& sink) const;

    // Edits throw EIniFileException, changing nothing, when a name or value they would
    // write cannot be held by the file. Writing the value a key already has changes no
    // byte and is never refused.
    void setValue(const QString& section, const QString& key, const QString& value);
    // The same with UTF-8 text. Saving writes every key back, mostly with the value it
    // already has: for a UTF-8 file that case is settled on the bytes, without
    // converting anything.
    void setValueUtf8(QByteArrayView section, QByteArrayView key, QByteArrayView value);
    bool createSection(const QString& section); // true when it was added

    // Why an edit would refuse this text as a section name, a key name or a value (the
    // checks of IniValidation, then the file's encoding); empty when it would not.
    // Names are judged as written, without their outer blanks. Only the text is
    // judged: an edit that writes what the file has already is never refused.
    QString sectionNameRefusal(QStringView name) const;
    QString keyNameRefusal(QStringView name) const;
    QString valueRefusal(QStringView value) const;
    // The same for UTF-8 text, without converting a plain one.
    QString valueRefusalUtf8(QByteArrayView value) const;
    // Room for this many more lines and bytes of new text (many keys about to be
    // written), so the document grows without copying itself.
    void reserve(qsizetype lines, qsizetype bytes);
    // Each removes every occurrence (of the key within the section's first
    // occurrence; of the section in the whole file); true when anything was removed.
    bool removeKey(const QString& section, const QString& key);
    bool removeSection(const QString& section);

    // Renames sections in place, in one step: every header of a named section (a
    // repeated section has several) gets the new name between its brackets; blanks,
    // the text after ']', keys, comments and positions stay. All old names are looked
    // up before any is changed, so one call may swap two names. An old name that is
    // missing, or that names a section already renamed by an earlier pair, is skipped.
    // New names are trimmed and refused as createSection refuses them (only where the
    // header changes), and then nothing changes. A rename to the same name in other
    // letter case is written. Names made equal read as in a file that had them so from
    // the start: the first occurrence wins.
    using Renames = std::vector<std::pair<QString, QString>>;
    void renameSections(const Renames& renames);
    // The same for keys of the section's first occurrence (every occurrence of a
    // repeated key there): blanks, '=' and the value stay. Refused as setValue refuses
    // a new key's name.
    void renameKeys(const QString& section, const Renames& renames);

    QByteArray toBytes() const;
    // The bytes of the file the document was made from, as they were: edits never
    // touch them. Empty for a UTF-16 file, which is held converted.
    QByteArrayView fileBytesAsRead() const {
        return encoding_ == TextEncoding::Utf16LE || encoding_ == TextEncoding::Utf16BE ? QByteArrayView()
                                                                                          : QByteArrayView(raw_);
    }
    // Bytes the text has now (as toBytes(), but without a UTF-16 file's conversion).
    qsizetype textSize() const;
    // The same bytes in pieces, without assembling the whole file in memory.
    using PieceSink = std::function<void(QByteArrayView piece)>;
    void writeTo(const PieceSink& sink) const;
    // The text as UTF-8 without a byte-order mark (a Windows-1252 file decoded), in
    // pieces: what an editor shows of the file.
    void writeText(const PieceSink& sink) const;
    bool isModified() const { return modified_; }
    void markSaved() { modified_ = false; }

private:
    enum class Eol : quint8 { None, CrLf, Lf, Cr };
    // 12 bytes a line. Offsets are split so that the record needs no 8-byte alignment.
    struct Line {
        quint32 startLow;
        quint32 length;      // without the line end
        quint16 startHigh;
        quint8 eol : 2;      // Eol
        quint8 kind : 3;     // IniSyntax::LineKind
        quint8 inEdits : 1;  // text in edits_ rather than raw_
        quint8 eolAdded : 1; // line end not as read (the file ended here, or CR became CR LF)
        qsizetype start() const { return qsizetype(startLow) | (qsizetype(startHigh) << 32); }
        void setStart(qsizetype offset) {
            startLow = quint32(offset);
            startHigh = quint16(quint64(offset) >> 32);
        }
    };
    static_assert(sizeof(Line) == 12, "a line record stays small");
    // A line's neighbours in file order, -1 at either end. Until a line is inserted
    // or removed in the middle they are its record's neighbours, and no links are
    // kept: a file of two million lines opens without sixteen megabytes of them.
    struct Link {
        qint32 next;
        qint32 prev;
    };
    qint32 next(qint32 line) const {
        if (linked_)
            return links_[line].next;
        return line + 1 < qint32(lines_.size()) ? line + 1 : -1;
    }
    qint32 prev(qint32 line) const { return linked_ ? links_[line].prev : line - 1; }
    void link(); // from here on the links are kept
    // Twelve bytes: a file of a million small sections has a million of them. A large
    // section's key table is kept apart (keyTables_).
    struct Section {
        static constexpr qint32 kLastKeyUnknown = -2;
        static constexpr quint32 kMaxLineCount = (1u << 30) - 1;
        qint32 header = -1;   // header line of the first occurrence
        qint32 lastKey = -1;  // last key line of the first occurrence; -1 none
        quint32 lineCount : 30; // lines of the first occurrence after the header
        quint32 duplicateKeys : 1; // a key name occurs twice in the first occurrence
        quint32 removed : 1;
        Section() : lineCount(0), duplicateKeys(0), removed(0) {}
    };
    static_assert(sizeof(Section) == 12, "a section record stays small");
    // Refuses a line more in the section's first occurrence when it holds the most.
    static void roomForLine(const Section& section);
    // The key table of a section over kSearchedInTurn lines, once a lookup built it.
    IniHashIndex* keyTable(qint32 sectionId) const;
    using Bytes = IniTextCodec::Bytes;

    void parse(); // after raw_ and encoding_ are set
    void splitLines();
    void indexLines();
    void addLine(qsizetype start, qsizetype length, Eol eol);
    void indexKeys(qint32 sectionId);
    void keysOfUtf8(qint32 sectionId, const KeyValueSink& sink) const;
    // (Re)builds the section's key table; gives whether a key name occurs twice.
    bool buildKeyTable(qint32 sectionId) const;
    // Enters the section's keys into `keys`, each name at its first line; the same answer.
    bool repeatsKeys(qint32 sectionId, IniHashIndex& keys) const;
    bool hasRepeatedKey(qint32 sectionId) const;

    QByteArrayView text(qint32 line) const;
    bool isKey(qint32 line) const;
    QByteArrayView keyName(qint32 line) const;
    QByteArrayView sectionName(qint32 sectionId) const;

    qint32 findSection(QByteArrayView name) const;
    qint32 findSection(QStringView name) const;
    qint32 findKey(qint32 sectionId, QByteArrayView name) const;
    qint32 lastKeyLine(qint32 sectionId);
    bool isCommentLine(qint32 line) const;
    template <typename Visit> void forEachLineOf(qint32 header, Visit&& visit) const;

    void refuseIfUnfit(bool fits, QStringView text, const QString& what) const;
    qint32 insertLine(qint32 after, QByteArrayView content, quint8 kind);
    qint32 appendSection(QByteArrayView name);
    void insertKey(qint32 sectionId, QByteArrayView name, QByteArrayView value);
    void replaceText(qint32 line, QByteArrayView content);
    void unlink(qint32 line);
    void keepApart(qint32 line);
    void removeBlock(qint32 header);
    struct LineChange {
        qint32 line;
        QByteArray text;
    };
    void planRename(const std::vector<qint32>& lines, QStringView newName,
                    QString (*check)(QStringView), const QString& what,
                    QByteArray (*renamed)(QByteArrayView, QByteArrayView),
                    std::vector<LineChange>& changes) const;
    void indexRenamedSection(qint32 sectionId);
    void joinSections(qint32 first, qint32 later);
    // From `from` on: 0 writes a UTF-8 byte-order mark, bodyStart_ leaves it out.
    void writeLines(const PieceSink& sink, qsizetype from = 0) const;

    TextEncoding encoding_ = TextEncoding::Utf8;
    QByteArray raw_;          // the file as read (UTF-16 files converted to UTF-8)
    qsizetype bodyStart_ = 0; // lines start after a UTF-8 byte-order mark
    qint32 headerCount_ = 0;  // section header lines found by the parser
    QByteArray edits_;        // text of changed and new lines
    std::vector<Line> lines_;
    std::vector<Link> links_; // once linked_
    bool linked_ = false;
    qint32 head_ = -1;
    qint32 tail_ = -1;
    std::vector<Section> sections_;       // in order of first appearance
    IniIdIndex sectionIndex_;             // folded name -> section
    // The hash sectionIndex_ holds a section under (its name's, as the text has it now).
    auto sectionHashes() const {
        return [this](qint32 id) { return match_.hash(sectionName(id)); };
    }
    mutable std::unordered_map<qint32, IniHashIndex> keyTables_; // per large section: folded name -> first key line
    std::unordered_map<qint32, std::vector<qint32>> laterHeaders_; // repeated sections
    IniTextCodec codec_{true};
    IniNameMatch match_{true};
    Eol newEol_ = Eol::CrLf;
    LineEndCounts lineEnds_;
    bool modified_ = false;
    mutable qint8 switchedOffKeys_ = -1; // hasSwitchedOffKeys(): -1 not yet looked at
};

} // namespace ravik
