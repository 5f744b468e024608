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
// Directories, pipes, sockets, devices and the kernel's files (/proc, /sys and their
// kin) are refused the same way, "Das ist keine gewöhnliche Datei.": only regular
// files on a disk are read, so that nothing can block or never end.
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
// target. A symbolic link is followed and its target replaced, the link stays. The
// new file keeps the owner, group, permission bits, ACL and extended attributes
// (SELinux label included) of the file it replaces, as far as the process may set
// them. Where it may not give the owner or group (another user's file in a shared
// folder, a group the process is not in), the file is written in place instead, so
// that inode, owner, group and hard links stay: its content is first copied aside
// (a private file beside it, removed after success), and a failure half-way puts it
// back. A read-only file is refused. On failure the old file is untouched.
std::optional<FileWriteFailure> replaceAtomically(const QString& path, QByteArrayView data);

// The same, with the content handed over in pieces, so that a large file need not be
// assembled in memory first: produce calls its argument once for each piece, in order.
using PieceWriter = std::function<void(QByteArrayView piece)>;
using ContentProducer = std::function<void(const PieceWriter& write)>;
std::optional<FileWriteFailure> replaceAtomically(const QString& path,
                                                  const ContentProducer& produce);

struct SaveOptions {
    // An exact copy of the file as it is before this save (its backup, just made), to
    // take the old content back from should a write in place fail; none is made then.
    QString copyOfOriginal;
};

// Saving the user's file: replaceAtomically with the options above.
std::optional<FileWriteFailure> save(const QString& path, const ContentProducer& produce,
                                     const SaveOptions& options);

// What saving would be refused at the file itself (a read-only file, a directory, a
// device), found before anything is written; nullopt for a file that may be written
// or is not there yet.
std::optional<FileWriteFailure> checkWritable(const QString& path);

// Like replaceAtomically, but the directory entry itself is replaced: a symbolic link
// there is not followed but replaced by the new file, its target untouched (a
// dangling link creates nothing); never written in place.
std::optional<FileWriteFailure> replaceEntry(const QString& path, const ContentProducer& produce);

// The same as replaceAtomically, but the new file takes the owner, group, permission
// bits, ACL and attributes of the file at accessFrom rather than of the file it
// replaces; the owner and group where the process may set them, and where it may not,
// the bits meant for the source's group go to the new file's group only as far as
// others have them. The temporary file is never more open than that, not even before
// its first byte. Never written in place.
std::optional<FileWriteFailure>
replaceAtomically(const QString& path, const ContentProducer& produce, const QString& accessFrom);

// Copies source to target as private as the source: the copy takes the source's
// access as above. The target's directory entry is replaced (see replaceEntry): a
// link there is never followed. Raises EFOpenError (as readAll) when the source
// cannot be read; a failure to write the copy is returned.
std::optional<FileWriteFailure> copyFile(const QString& source, const QString& target);

// Set once at program start: a write past the file-size limit (ulimit -f) then fails
// with EFBIG, "Die Datei ist zu groß", instead of ending the process by SIGXFSZ.
void failWritesPastTheSizeLimit();

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
