#include "core/platform/files/FileReplace.h"
#include "core/platform/files/FileContentCopy.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/files/FileAccess.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <unistd.h>

namespace ravik::FileReplace {
namespace {

using Stage = FileWriteFailure::Stage;

FileWriteFailure failed(Stage stage, int error) {
    return FileWriteFailure{stage, systemReason(error)};
}

QString notARegularFile() {
    return QStringLiteral("Das ist keine gewöhnliche Datei.");
}

// The file a path names once symbolic links at its end are followed. The directories
// on the way are the user's own choice and are followed when the directory is opened.
std::optional<QByteArray> resolveLinks(QByteArray path, int* error) {
    for (int hop = 0; hop < 40; ++hop) {
        char target[PATH_MAX];
        const ssize_t n = ::readlink(path.constData(), target, sizeof target);
        if (n < 0)
            return path; // not a link, or not there: this is the file
        if (size_t(n) == sizeof target) {
            *error = ENAMETOOLONG;
            return std::nullopt;
        }
        QByteArray next(target, n);
        if (!next.startsWith('/')) {
            const qsizetype slash = path.lastIndexOf('/');
            next.prepend(slash < 0 ? QByteArray() : path.left(slash + 1));
        }
        path = next;
    }
    *error = ELOOP;
    return std::nullopt;
}

struct Location {
    QByteArray directory;
    QByteArray name;
};

Location split(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return {".", path};
    return {slash == 0 ? QByteArray("/") : path.left(slash), path.mid(slash + 1)};
}

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { reset(); }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void reset(int fd = -1) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = fd;
    }
    // Closes it, giving the error a late write (NFS) may report only here.
    int close() {
        const int fd = fd_;
        fd_ = -1;
        return fd >= 0 && ::close(fd) != 0 && errno != EINTR ? errno : 0;
    }

private:
    int fd_;
};

// A new file in the directory, readable and writable by the process's user alone. It
// goes again unless it is kept (renamed into place, or left as the only copy of a
// file's old content).
class TemporaryFile {
public:
    TemporaryFile(int directory, const QByteArray& besides) : directory_(directory) {
        // The target's name keeps the file recognisable; cut so the name stays legal.
        const QByteArray stem = besides.left(NAME_MAX - 20);
        for (int attempt = 0; attempt < 100; ++attempt) {
            name_ = stem + ".ravik-" + QByteArray::number(QRandomGenerator::global()->generate64() & 0xffffffffffffull, 36);
            fd_.reset(::openat(directory_, name_.constData(),
                               O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
            if (fd_.valid() || errno != EEXIST)
                break;
        }
        error_ = fd_.valid() ? 0 : errno;
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        fd_.reset();
        if (!kept_ && !name_.isEmpty() && error_ == 0)
            ::unlinkat(directory_, name_.constData(), 0);
    }
    int fd() const { return fd_.get(); }
    int error() const { return error_; }
    const QByteArray& name() const { return name_; }
    int close() { return fd_.close(); }
    void keep() { kept_ = true; }

private:
    int directory_;
    QByteArray name_;
    Descriptor fd_;
    int error_ = 0;
    bool kept_ = false;
};

int writeAll(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += n;
        size -= n;
    }
    return 0;
}

// Hands the produced content to the file in pieces of about 64 KB and remembers the
// first error; later pieces are dropped.
class ContentWriter {
public:
    explicit ContentWriter(int fd) : fd_(fd) { pending_.reserve(kChunk); }
    void operator()(QByteArrayView piece) {
        if (error_)
            return;
        if (pending_.size() + piece.size() > kChunk)
            flush();
        if (piece.size() >= kChunk)
            out(piece);
        else
            pending_.append(piece);
    }
    int finish() {
        flush();
        return error_;
    }
    qint64 written() const { return written_; }

private:
    static constexpr qsizetype kChunk = 1 << 16;
    void flush() {
        out(pending_);
        pending_.clear();
    }
    void out(QByteArrayView data) {
        if (error_ || data.isEmpty())
            return;
        error_ = writeAll(fd_, data.data(), data.size());
        if (!error_)
            written_ += data.size();
    }
    int fd_;
    int error_ = 0;
    qint64 written_ = 0;
    QByteArray pending_;
};

int produceInto(int fd, const FileIO::ContentProducer& produce) {
    ContentWriter writer(fd);
    produce([&](QByteArrayView piece) { writer(piece); });
    return writer.finish();
}

using FileContentCopy::copyContent;

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// What the directory holds under the name.
struct Existing {
    bool present = false; // a regular file
    struct stat metadata {};
    Descriptor readable;  // the file opened for reading, where the process may
};

std::optional<FileWriteFailure> look(int directory, const QByteArray& name, const Request& request,
                                     Existing& existing) {
    struct stat entry {};
    if (::fstatat(directory, name.constData(), &entry, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? std::nullopt : std::optional(failed(Stage::Create, errno));
    if (S_ISDIR(entry.st_mode))
        return failed(Stage::Create, EISDIR);
    if (!request.followLink && !S_ISREG(entry.st_mode))
        return std::nullopt; // the entry is replaced; what a link names stays untouched
    if (S_ISLNK(entry.st_mode)) // became a link since it was resolved
        return failed(Stage::Create, ELOOP);
    if (!S_ISREG(entry.st_mode))
        return FileWriteFailure{Stage::Create, notARegularFile()};
    // Renaming over a file needs only the directory's permission: a file the user made
    // read-only would be replaced all the same. Refuse it, as writing in place would.
    // Root may write anyway, as everywhere else.
    if (::faccessat(directory, name.constData(), W_OK, AT_EACCESS) != 0)
        return failed(Stage::Create, errno);
    existing.present = true;
    existing.metadata = entry;
    existing.readable.reset(
        ::openat(directory, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat opened {};
    if (existing.readable.valid() &&
        (::fstat(existing.readable.get(), &opened) != 0 || !sameFile(opened, entry)))
        existing.readable.reset();
    return std::nullopt;
}

mode_t processMask() {
    // Read by setting it; the narrower value stands for the blink in between.
    const mode_t mask = ::umask(077);
    ::umask(mask);
    return mask;
}

// The copy the file's old content can be taken back from. Made on the spot unless the
// backup is one (a regular file of the same size).
std::optional<FileWriteFailure> setAside(int file, const struct stat& metadata,
                                         const QString& undoCopy, TemporaryFile& privateCopy,
                                         Descriptor& backup) {
    if (!undoCopy.isEmpty()) {
        backup.reset(::open(QFile::encodeName(undoCopy).constData(),
                            O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat info {};
        if (backup.valid() && ::fstat(backup.get(), &info) == 0 && S_ISREG(info.st_mode) &&
            info.st_size == metadata.st_size)
            return std::nullopt;
        backup.reset();
    }
    if (const int error = copyContent(file, privateCopy.fd()))
        return failed(Stage::Create, error);
    return std::nullopt;
}

// The file is written where it is: its inode, owner, group, ACL, attributes and hard
// links stay. A failure half-way puts the old content back from the copy set aside.
std::optional<FileWriteFailure> writeInPlace(int directory, const QByteArray& directoryPath,
                                             const QByteArray& name,
                                             const struct stat& expected,
                                             const FileIO::ContentProducer& produce,
                                             const QString& undoCopy, TemporaryFile& privateCopy) {
    Descriptor file(::openat(directory, name.constData(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file.valid())
        return failed(Stage::Create, errno);
    struct stat now {};
    if (::fstat(file.get(), &now) != 0)
        return failed(Stage::Create, errno);
    if (!sameFile(now, expected) || !S_ISREG(now.st_mode))
        return FileWriteFailure{Stage::Create,
                                QStringLiteral("Die Datei wurde während des Speicherns ersetzt.")};
    ::fcntl(file.get(), F_SETFL, ::fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);
    Descriptor backup;
    if (auto failure = setAside(file.get(), now, undoCopy, privateCopy, backup))
        return failure;
    const int copy = backup.valid() ? backup.get() : privateCopy.fd();

    int error = 0;
    try {
        ContentWriter writer(file.get());
        produce([&](QByteArrayView piece) { writer(piece); });
        error = writer.finish();
        if (!error && ::ftruncate(file.get(), writer.written()) != 0)
            error = errno;
        if (!error && ::fsync(file.get()) != 0)
            error = errno;
    } catch (...) {
        if (copyContent(copy, file.get()) != 0 && !backup.valid())
            privateCopy.keep();
        throw;
    }
    if (!error)
        return std::nullopt;
    FileWriteFailure failure = failed(Stage::Write, error);
    if (copyContent(copy, file.get()) != 0) {
        // The old content is in the copy: say where, and leave it there.
        if (!backup.valid())
            privateCopy.keep();
        const QString kept = backup.valid() ? undoCopy
                                            : QFile::decodeName(directoryPath + '/' + privateCopy.name());
        failure.reason +=
            QStringLiteral(". Die Datei ist unvollständig; ihr alter Inhalt liegt in %1").arg(kept);
    }
    return failure;
}

} // namespace

std::optional<FileWriteFailure> replace(const QString& path, const FileIO::ContentProducer& produce,
                                        const Request& request) {
    QByteArray target = QFile::encodeName(path);
    if (target.isEmpty())
        return failed(Stage::Create, ENOENT);
    if (request.followLink) {
        int error = 0;
        const auto resolved = resolveLinks(target, &error);
        if (!resolved)
            return failed(Stage::Create, error);
        target = *resolved;
    }
    const Location where = split(target);
    if (where.name.isEmpty() || where.name == "." || where.name == "..")
        return failed(Stage::Create, EISDIR);
    const Descriptor directory(
        ::open(where.directory.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!directory.valid())
        return failed(Stage::Create, errno);

    Existing existing;
    if (auto refused = look(directory.get(), where.name, request, existing))
        return refused;
    const mode_t mask = processMask();
    TemporaryFile temporary(directory.get(), where.name);
    if (temporary.error())
        return failed(Stage::Create, temporary.error());

    // Owner and group first: whether the new file can have them decides how the file
    // is written. The content comes next and the rest of its access after it, as
    // writing takes file capabilities away.
    const struct stat* access = request.accessFrom ? request.accessFrom
                                : existing.present ? &existing.metadata
                                                   : nullptr;
    const int accessFd = request.accessFrom ? request.accessFromFd : existing.readable.get();
    const bool ownerKept = !access || FileAccess::giveOwnerAndGroup(temporary.fd(), *access);
    if (!ownerKept && existing.present && !request.accessFrom && request.mayWriteInPlace)
        return writeInPlace(directory.get(), where.directory, where.name, existing.metadata, produce,
                            request.undoCopy, temporary);

    if (const int error = produceInto(temporary.fd(), produce))
        return failed(Stage::Write, error);
    if (access) {
        if (accessFd >= 0)
            FileAccess::copyAclAndAttributes(accessFd, temporary.fd());
        FileAccess::giveMode(temporary.fd(), *access);
    } else {
        (void)::fchmod(temporary.fd(), 0666 & ~mask);
    }
    if (::fsync(temporary.fd()) != 0)
        return failed(Stage::Write, errno);
    if (const int error = temporary.close())
        return failed(Stage::Write, error);
    if (::renameat(directory.get(), temporary.name().constData(), directory.get(),
                   where.name.constData()) != 0)
        return failed(Stage::Write, errno);
    temporary.keep();
    (void)::fsync(directory.get()); // the rename itself reaches the disk
    return std::nullopt;
}

std::optional<FileWriteFailure> checkWritable(const QString& path) {
    int error = 0;
    const auto target = resolveLinks(QFile::encodeName(path), &error);
    if (!target)
        return failed(Stage::Create, error);
    struct stat info {};
    if (::lstat(target->constData(), &info) != 0)
        return std::nullopt; // nothing there yet: the directory decides, when it is written
    if (S_ISDIR(info.st_mode))
        return failed(Stage::Create, EISDIR);
    if (!S_ISREG(info.st_mode))
        return FileWriteFailure{Stage::Create, notARegularFile()};
    if (::faccessat(AT_FDCWD, target->constData(), W_OK, AT_EACCESS) != 0)
        return failed(Stage::Create, errno);
    return std::nullopt;
}

} // namespace ravik::FileReplace
