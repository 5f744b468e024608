#include "core/platform/files/FileIO.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/files/MemoryHints.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ravik::FileIO {

namespace {

// Opened without blocking, so that a named pipe cannot stall the program; only
// regular files are read, as a device such as /dev/zero would never end.
int openForReading(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    return ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
}

[[noreturn]] void failOpen(int fd, const QString& path, const QString& reason) {
    if (fd >= 0)
        ::close(fd);
    throw EFOpenError(QFileInfo(path).absoluteFilePath(), reason);
}

// Only a regular file is read; from here on reads may block again. Gives its size,
// and its metadata to `metadata` when asked.
qint64 checkRegularFile(int fd, const QString& path, struct stat* metadata = nullptr) {
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        failOpen(fd, path, systemReason(errno));
    if (S_ISDIR(info.st_mode))
        failOpen(fd, path, systemReason(EISDIR));
    if (!S_ISREG(info.st_mode))
        failOpen(fd, path, QStringLiteral("Das ist keine gewöhnliche Datei."));
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (metadata)
        *metadata = info;
    return qint64(info.st_size);
}

QByteArray readOpenFile(int fd, const QString& path) {
    const qint64 size = checkRegularFile(fd, path);
    // Read straight into a buffer of the file's size. A file that grows meanwhile
    // (or reports no size, as some system files do) is read on to its end.
    QByteArray data(static_cast<qsizetype>(size), Qt::Uninitialized);
    MemoryHints::expectLargeFill(data.data(), size_t(data.size()));
    qsizetype filled = 0;
    char probe[1 << 16];
    for (;;) {
        const bool full = filled == data.size();
        char* target = full ? probe : data.data() + filled;
        const size_t room = full ? sizeof probe : size_t(data.size() - filled);
        const ssize_t n = ::read(fd, target, room);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            failOpen(fd, path, systemReason(errno));
        }
        if (full)
            data.append(probe, n); // grows geometrically
        filled += n;
    }
    data.truncate(filled);
    ::close(fd);
    return data;
}

// Closes the descriptor however the reading ends.
struct ReadingFile {
    explicit ReadingFile(int descriptor) : fd(descriptor) {}
    ReadingFile(const ReadingFile&) = delete;
    ReadingFile& operator=(const ReadingFile&) = delete;
    ~ReadingFile() { ::close(fd); }
    const int fd;
};

ReadingFile openRegularFile(const QString& path, struct stat* metadata = nullptr) {
    const int fd = openForReading(path);
    if (fd < 0)
        failOpen(fd, path, systemReason(errno));
    checkRegularFile(fd, path, metadata); // closes it when it fails
    return ReadingFile(fd);
}

void readBlocks(const ReadingFile& file, const QString& path, qsizetype blockSize,
                const std::function<void(QByteArrayView)>& block) {
    QByteArray puffer(blockSize, Qt::Uninitialized);
    for (;;) {
        const ssize_t n = ::read(file.fd, puffer.data(), size_t(blockSize));
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            failOpen(-1, path, systemReason(errno));
        }
        block(QByteArrayView(puffer.constData(), n));
    }
}

// What the process may not set (another owner, a group it is not in) is left as the
// system made it. Permission bits that were meant for the source's group must then not
// open the file to the group it got instead: that group gets no more than others.
void takeAccess(int fd, const struct stat& from) {
    if (from.st_uid != ::geteuid() || from.st_gid != ::getegid()) {
        if (::fchown(fd, from.st_uid, from.st_gid) != 0)
            (void)::fchown(fd, static_cast<uid_t>(-1), from.st_gid);
    }
    mode_t mode = from.st_mode & 07777;
    struct stat now {};
    if (::fstat(fd, &now) == 0) {
        if (now.st_uid != from.st_uid)
            mode &= ~mode_t(S_ISUID);
        if (now.st_gid != from.st_gid)
            mode = (mode & ~mode_t(S_ISGID | S_IRWXG)) | ((mode & S_IRWXO) << 3);
    }
    (void)::fchmod(fd, mode);
}

std::optional<FileWriteFailure> replaceWith(const QString& path, const ContentProducer& produce,
                                            const struct stat* accessFrom);

} // namespace

void readInBlocks(const QString& path, qsizetype blockSize,
                  const std::function<void(QByteArrayView)>& block) {
    const ReadingFile file = openRegularFile(path);
    readBlocks(file, path, blockSize, block);
}

QByteArray readAll(const QString& path) {
    const int fd = openForReading(path);
    if (fd < 0)
        failOpen(fd, path, systemReason(errno));
    return readOpenFile(fd, path);
}

std::optional<QByteArray> readAllIfExists(const QString& path) {
    const int fd = openForReading(path);
    if (fd < 0) {
        const int error = errno;
        // Only a name that leads nowhere is "missing"; a file we may not read is an error.
        if (error == ENOENT || error == ENOTDIR)
            return std::nullopt;
        failOpen(fd, path, systemReason(error));
    }
    return readOpenFile(fd, path);
}

std::optional<FileWriteFailure> replaceAtomically(const QString& path, QByteArrayView data) {
    return replaceAtomically(path, [data](const PieceWriter& write) { write(data); });
}

std::optional<FileWriteFailure> replaceAtomically(const QString& path,
                                                  const ContentProducer& produce) {
    return replaceWith(path, produce, nullptr);
}

std::optional<FileWriteFailure>
replaceAtomically(const QString& path, const ContentProducer& produce, const QString& accessFrom) {
    struct stat source {};
    if (::stat(QFile::encodeName(accessFrom).constData(), &source) != 0)
        return FileWriteFailure{FileWriteFailure::Stage::Create, systemReason(errno)};
    return replaceWith(path, produce, &source);
}

std::optional<FileWriteFailure> copyFile(const QString& source, const QString& target) {
    struct stat metadata {};
    const ReadingFile file = openRegularFile(source, &metadata);
    return replaceWith(
        target,
        [&](const PieceWriter& write) { readBlocks(file, source, qsizetype(1) << 18, write); },
        &metadata);
}

namespace {

std::optional<FileWriteFailure> replaceWith(const QString& path, const ContentProducer& produce,
                                            const struct stat* accessFrom) {
    using Stage = FileWriteFailure::Stage;
    QFileInfo target(path);
    if (target.isDir())
        return FileWriteFailure{Stage::Create, systemReason(EISDIR)};
    const QByteArray native = QFile::encodeName(path);
    struct stat existing {};
    const bool exists = ::stat(native.constData(), &existing) == 0;
    // Renaming over a file needs only the directory's permission: a file the user made
    // read-only would be replaced all the same. Refuse it, as writing in place would.
    // Root may write anyway, as everywhere else.
    if (exists && ::faccessat(AT_FDCWD, native.constData(), W_OK, AT_EACCESS) != 0)
        return FileWriteFailure{Stage::Create, systemReason(errno)};

    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    // The temporary file starts readable by its owner alone and gets its final access
    // below, before any byte is written: whoever opened it in between would keep the
    // rights it had then, and could read what is meant for fewer eyes, such as the
    // backup of a private file. (Where the file system allows, Qt makes the file
    // without a name until it is complete, so nobody can open it at all.) Files are
    // only ever made on the program's one user-interface thread, so narrowing the
    // process's mask for this moment touches nothing else.
    const mode_t processMask = ::umask(077);
    errno = 0;
    const bool opened = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    const int openError = errno;
    ::umask(processMask);
    if (!opened)
        return FileWriteFailure{Stage::Create,
                                openError ? systemReason(openError) : file.errorString()};
    // The new file is ours: give it the owner and group of the file it stands for, so
    // that root saving a user's file does not take it from the user, and exactly its
    // permissions (QSaveFile adds write permission for the owner, which a read-only file
    // lacks). A file new in every sense gets what the process mask allows.
    if (accessFrom)
        takeAccess(file.handle(), *accessFrom);
    else if (exists)
        takeAccess(file.handle(), existing);
    else
        (void)::fchmod(file.handle(), 0666 & ~processMask);
    std::optional<FileWriteFailure> failure;
    auto writeOut = [&](QByteArrayView data) {
        if (failure || data.isEmpty())
            return;
        errno = 0;
        if (file.write(data.data(), data.size()) != data.size()) {
            const int error = errno;
            failure =
                FileWriteFailure{Stage::Write, error ? systemReason(error) : file.errorString()};
        }
    };
    // Small pieces are gathered here rather than in QFileDevice's buffer: QSaveFile
    // does not notice when flushing that buffer fails at commit (a full disk), and
    // would rename the cut-off file over the original. So the file is unbuffered.
    constexpr qsizetype kChunk = 1 << 16;
    QByteArray pending;
    pending.reserve(kChunk);
    produce([&](QByteArrayView piece) {
        if (pending.size() + piece.size() > kChunk) {
            writeOut(pending);
            pending.clear();
        }
        if (piece.size() >= kChunk)
            writeOut(piece);
        else
            pending.append(piece);
    });
    writeOut(pending);
    if (failure) {
        file.cancelWriting();
        return failure;
    }
    errno = 0;
    if (!file.commit()) {
        const int error = errno;
        return FileWriteFailure{Stage::Write, error ? systemReason(error) : file.errorString()};
    }
    return std::nullopt;
}

} // namespace

QString writtenFile(const QString& path) {
    constexpr int kMostLinks = 40; // as the system follows them
    QFileInfo file(path);
    for (int links = 0; file.isSymLink(); ++links) {
        if (links == kMostLinks)
            return {};
        file.setFile(file.symLinkTarget());
    }
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        return {};
    return folder.endsWith(QLatin1Char('/')) ? folder + file.fileName()
                                             : folder + QLatin1Char('/') + file.fileName();
}

bool exists(const QString& path) {
    QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool removeFile(const QString& path) {
    QFile::remove(path);
    return !QFileInfo::exists(path);
}

QString fileNamePart(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

} // namespace ravik::FileIO
