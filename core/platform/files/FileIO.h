#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>
#include <optional>

namespace ravik {

// Why replacing a file failed, and at which step, so each caller can raise its own
// German error text.
struct FileWriteFailure {
    enum class Stage { Create, Write, Encoding }; // Encoding: nothing was touched
    Stage stage = Stage::Create;
    QString reason; // the system's text
};

namespace FileIO {

// Reads a whole file; raises EFOpenError (path, system reason) when it cannot.
// Directories, pipes and devices are refused the same way: only regular files are
// read, so that nothing can block or never end.
QByteArray readAll(const QString& path);

// Reads a file block by block, handing each to `block` (never more than `blockSize`
// bytes at a time), so a large file is never held whole. Raises EFOpenError like
// readAll.
void readInBlocks(const QString& path, qsizetype blockSize,
                  const std::function<void(QByteArrayView)>& block);

// Like readAll, but a path that names nothing (no such file, or a component that is
// not a directory) gives nullopt instead of an error.
std::optional<QByteArray> readAllIfExists(const QString& path);

// Replaces (or creates) the file at path with data, atomically: the data goes to a
// temporary file in the same directory, is flushed to disk and renamed over the
// target. A symbolic link is followed and its target replaced; the permissions of an
// existing file are kept. On failure the old file is untouched.
std::optional<FileWriteFailure> replaceAtomically(const QString& path, QByteArrayView data);

// The same, with the content handed over in pieces, so that a large file need not be
// assembled in memory first: produce calls its argument once for each piece, in order.
using PieceWriter = std::function<void(QByteArrayView piece)>;
using ContentProducer = std::function<void(const PieceWriter& write)>;
std::optional<FileWriteFailure> replaceAtomically(const QString& path,
                                                  const ContentProducer& produce);

// The same, but the new file takes the owner, group and permission bits of the file
// at accessFrom rather than of the file it replaces; the owner and group where the
// process may set them, and where it may not, the bits meant for the source's group
// go to the new file's group only as far as others have them. The temporary file is
// never more open than that, not even before its first byte.
std::optional<FileWriteFailure>
replaceAtomically(const QString& path, const ContentProducer& produce, const QString& accessFrom);

// Copies source to target, replacing target atomically, as private as the source:
// the copy takes the source's access as above. Raises EFOpenError (as readAll) when
// the source cannot be read; a failure to write the copy is returned.
std::optional<FileWriteFailure> copyFile(const QString& source, const QString& target);

// The file replaceAtomically writes for path: a symbolic link's last target, in its
// folder with every link on the way resolved. Empty when nothing can be written there
// (the folder does not exist, the links go round in a circle).
QString writtenFile(const QString& path);

bool exists(const QString& path);     // a file (or link to one), not a directory
bool removeFile(const QString& path); // true when it is gone afterwards

// The file name part of a path (after the last separator).
QString fileNamePart(const QString& path);

} // namespace FileIO
} // namespace ravik
