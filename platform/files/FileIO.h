#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace ravik {

// Why replacing a file failed, and at which step, so each caller can raise its own
// German error text.
struct FileWriteFailure {
    enum class Stage { Create, Write };
    Stage stage = Stage::Create;
    QString reason; // the system's text
};

namespace FileIO {

// Reads a whole file; raises EFOpenError (path, system reason) when it cannot.
// A directory is refused the same way.
QByteArray readAll(const QString& path);

// Replaces (or creates) the file at path with data, atomically: the data goes to a
// temporary file in the same directory, is flushed to disk and renamed over the
// target. A symbolic link is followed and its target replaced; the permissions of an
// existing file are kept. On failure the old file is untouched.
std::optional<FileWriteFailure> replaceAtomically(const QString& path, QByteArrayView data);

bool exists(const QString& path);         // a file (or link to one), not a directory
bool removeFile(const QString& path);     // true when it is gone afterwards

// The file name part of a path (after the last separator).
QString fileNamePart(const QString& path);

} // namespace FileIO
} // namespace ravik
