#include "core/platform/ini/TIniFile.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/files/FileIO.h"
#include "core/platform/files/SafeDirectory.h"
#include "core/platform/ini/IniDocument.h"
#include "core/platform/ini/IniNumber.h"
#include "core/platform/ini/IniValidation.h"

#include <QFileInfo>

namespace ravik {

TIniFile::TIniFile(QString path) : path_(std::move(path)) {}

TIniFile::TIniFile(std::shared_ptr<const SafeDirectory> folder, const QString& name)
    : path_(folder->filePath(name)), folder_(std::move(folder)), name_(name) {}

TIniFile::~TIniFile() = default;

IniDocument& TIniFile::document() {
    if (!document_) {
        std::optional<QByteArray> bytes;
        if (folder_) {
            QString failure;
            bytes = folder_->readFile(name_, &failure);
            if (!failure.isEmpty())
                throw EFOpenError(path_, failure);
        } else {
            bytes = FileIO::readAllIfExists(path_);
        }
        if (!bytes) {
            document_ = std::make_unique<IniDocument>();
        } else {
            try {
                document_ = std::make_unique<IniDocument>(std::move(*bytes));
            } catch (const EIniFileException& tooLarge) {
                throw EFOpenError(QFileInfo(path_).absoluteFilePath(), tooLarge.message());
            }
        }
    }
    return *document_;
}

void TIniFile::ListSections(QStringList& list) {
    list.clear();
    list = document().sectionNames();
}

void TIniFile::Reserve(qsizetype lines, qsizetype bytes) {
    document().reserve(lines, bytes);
}

qsizetype TIniFile::LineCount() {
    return document().lineCount();
}

void TIniFile::ListKeys(const QString& section, QStringList& list) {
    list.clear();
    list = document().keyNames(section);
}

void TIniFile::ReadSection(const QString& section, QStringList& keys, QStringList& values) {
    document().keysWithValues(section, keys, values);
}

bool TIniFile::ReadSectionUtf8(const QString& section,
                               const std::function<void(QByteArrayView, QByteArrayView)>& sink) {
    return document().keysWithValuesUtf8(section, sink);
}

bool TIniFile::SectionHasKeys(const QString& section) {
    return document().sectionHasKeys(section);
}

bool TIniFile::SectionExists(const QString& section) {
    return document().hasSection(section);
}

QString TIniFile::ReadValue(const QString& section, const QString& key,
                            const QString& defaultValue) {
    return document().value(section, key).value_or(defaultValue);
}

void TIniFile::WriteValueUtf8(QByteArrayView section, QByteArrayView key, QByteArrayView value) {
    document().setValueUtf8(section, key, value);
}

void TIniFile::WriteValue(const QString& section, const QString& key, const QString& value) {
    document().setValue(section, key, value);
}

void TIniFile::RemoveKey(const QString& section, const QString& key) {
    document().removeKey(section, key);
}

void TIniFile::RemoveSection(const QString& section) {
    document().removeSection(section);
}

void TIniFile::CreateSection(const QString& section) {
    document().createSection(section);
}

int TIniFile::ReadNumber(const QString& section, const QString& key, int defaultValue) {
    return IniNumber::parse(ReadValue(section, key, QString())).value_or(defaultValue);
}

void TIniFile::WriteNumber(const QString& section, const QString& key, int value) {
    WriteValue(section, key, IniNumber::format(value));
}

void TIniFile::Flush(bool createIfMissing) {
    const bool modified = document_ && document_->isModified();
    const bool missing = folder_ ? !folder_->entry(name_) : !FileIO::exists(path_);
    if (!modified && !(createIfMissing && missing))
        return;
    const auto produce = [this](const FileIO::PieceWriter& write) {
        if (document_)
            document_->writeTo(write);
    };
    const bool failed = folder_ ? folder_->replaceFile(name_, produce).has_value()
                                : FileIO::replaceAtomically(path_, produce).has_value();
    if (failed)
        throw EIniFileException::cannotWrite(path_);
    if (document_)
        document_->markSaved();
}

bool TIniFile::isModified() const {
    return document_ && document_->isModified();
}

QByteArray TIniFile::contents() {
    return document().toBytes();
}

QString TIniFile::validateSectionName(const QString& name) {
    return IniValidation::checkSectionName(name);
}

QString TIniFile::validateKeyName(const QString& name) {
    return IniValidation::checkKeyName(name);
}

QString TIniFile::validateValue(const QString& value) {
    return IniValidation::checkValue(value);
}

} // namespace ravik
