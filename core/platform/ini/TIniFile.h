#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace ravik {

class IniDocument;
class SafeDirectory;

// An INI file bound to one path. Binding touches no file; the file is read once,
// when first needed, and written by Flush() only if something changed, atomically
// (temporary file in the same directory, then rename; permissions kept, a symbolic
// link followed). Every line that no operation changes is written back byte for byte.
//
// Names match without regard to case; duplicates are read and written at their first
// occurrence. Reads of a file that exists but cannot be read raise EFOpenError; a
// missing file is an empty document. Writes that would corrupt the file (see
// validateSectionName / validateKeyName / validateValue) raise EIniFileException.
class TIniFile {
public:
    explicit TIniFile(QString path);
    // Bound to the file `name` in a folder opened safely (see SafeDirectory): the file
    // is read and replaced through the folder's descriptor and never followed when it
    // is a link; a refused folder or file reads as an error and is never written.
    TIniFile(std::shared_ptr<const SafeDirectory> folder, const QString& name);
    ~TIniFile(); // does not write: call Flush()
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const QString& path() const { return path_; }

    // Lines of the file (reading it if needed): at most this many entries.
    qsizetype LineCount();

    // Lists are cleared first; each name once, in order of first appearance.
    void ListSections(QStringList& list);
    void ListKeys(const QString& section, QStringList& list);
    bool SectionHasKeys(const QString& section);
    bool SectionExists(const QString& section);

    // The section's keys (as ListKeys) with the value ReadValue gives for each, read
    // in one pass: loading a document reads every value.
    void ReadSection(const QString& section, QStringList& keys, QStringList& values);
    // ReadSection as UTF-8 bytes for a UTF-8 file (false for any other: use
    // ReadSection then). The bytes are valid until the next change.
    bool ReadSectionUtf8(const QString& section,
                         const std::function<void(QByteArrayView key, QByteArrayView value)>& sink);

    // The trimmed value with one outer pair of matching quotes removed.
    QString ReadValue(const QString& section, const QString& key, const QString& defaultValue);
    void WriteValue(const QString& section, const QString& key, const QString& value);
    // WriteValue with UTF-8 text, for writing back many keys that mostly have their
    // value already.
    void WriteValueUtf8(QByteArrayView section, QByteArrayView key, QByteArrayView value);
    void RemoveKey(const QString& section, const QString& key);
    void RemoveSection(const QString& section);
    // Appends a section header without keys when the section is missing.
    void CreateSection(const QString& section);

    // Room for about this many new lines and bytes of text before writing many keys.
    void Reserve(qsizetype lines, qsizetype bytes);

    // Decimal text; on read also "0x"/"$" hexadecimal; anything else gives the default.
    int ReadNumber(const QString& section, const QString& key, int defaultValue);
    void WriteNumber(const QString& section, const QString& key, int value);

    // Writes pending changes to the file (only when something changed).
    // createIfMissing: also create the file, empty, when it does not exist.
    void Flush(bool createIfMissing = false);
    bool isModified() const;

    // The whole file as it would be written (for tests and fuzzing).
    QByteArray contents();

    // Refusals of names and values that would corrupt an INI file; empty when fine,
    // otherwise the German reason. The program checks names where they are typed.
    static QString validateSectionName(const QString& name);
    static QString validateKeyName(const QString& name);
    static QString validateValue(const QString& value);

private:
    IniDocument& document();

    QString path_;
    std::shared_ptr<const SafeDirectory> folder_; // null: the path as it is
    QString name_;                                 // within folder_
    std::unique_ptr<IniDocument> document_;
};

} // namespace ravik
