#include "core/platform/files/FileIO.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/files/FileReplace.h"
#include "core/platform/files/MemoryHints.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace ravik::FileIO {

namespace {

QString notARegularFile() {
    return QStringLiteral("Das ist keine gewöhnliche Datei.");
}

// The kernel's own file systems show files as regular that are not files on a disk:
// a read may wait for ever (/proc/kmsg waits for the kernel's next message, a trace
// pipe for the next event) or take something from whoever else reads it.
bool onKernelFileSystem(const struct statfs& fs) {
    switch (static_cast<unsigned long>(fs.f_type)) {
    case PROC_SUPER_MAGIC:
    case SYSFS_MAGIC:
    case DEBUGFS_MAGIC:
    case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC:
    case SELINUX_MAGIC:
    case SMACK_MAGIC:
    case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC:
    case PSTOREFS_MAGIC:
    case EFIVARFS_MAGIC:
    case BPF_FS_MAGIC:
    case BINFMTFS_MAGIC:
    case RDTGROUP_SUPER_MAGIC:
        return true;
    default:
        return false;
    }
}

[[noreturn]] void failOpen(int fd, const QString& path, const QString& reason) {
    if (fd >= 0)
        ::close(fd);
    throw EFOpenError(QFileInfo(path).absoluteFilePath(), reason);
}

// Only a regular file on a disk is read. Devices, pipes and sockets are refused before
// they are opened (opening some devices already does something), and again once open,
// where nothing can have been swapped in.
void refuseSpecialFile(const struct stat& info, const struct statfs& fs, int fd,
                       const QString& path) {
    if (S_ISDIR(info.st_mode))
        failOpen(fd, path, systemReason(EISDIR));
    if (!S_ISREG(info.st_mode) || onKernelFileSystem(fs))
        failOpen(fd, path, notARegularFile());
}

// Opened without blocking, so that a named pipe cannot stall the program. A name that
// cannot be looked at is left to open() to report.
int openForReading(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    struct statfs fs {};
    if (::stat(native.constData(), &info) == 0 && ::statfs(native.constData(), &fs) == 0)
        refuseSpecialFile(info, fs, -1, path);
    return ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
}

// From here on reads may block again. Gives its size, and its metadata to `metadata`
// when asked.
qint64 checkRegularFile(int fd, const QString& path, struct stat* metadata = nullptr) {
    struct stat info {};
    struct statfs fs {};
    if (::fstat(fd, &info) != 0 || ::fstatfs(fd, &fs) != 0)
        failOpen(fd, path, systemReason(errno));
    refuseSpecialFile(info, fs, fd, path);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (metadata)
        *metadata = info;
    return qint64(info.st_size);
}

QByteArray readOpenFile(int fd, const QString& path) {
    const qint64 size = checkRegularFile(fd, path);
    // Read straight into a buffer of the file's size. A file that grows meanwhile is
    // read on to its end.
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
    return FileReplace::replace(path, produce, {});
}

std::optional<FileWriteFailure> save(const QString& path, const ContentProducer& produce,
                                     const SaveOptions& options) {
    FileReplace::Request request;
    request.undoCopy = options.copyOfOriginal;
    return FileReplace::replace(path, produce, request);
}

std::optional<FileWriteFailure> checkWritable(const QString& path) {
    return FileReplace::checkWritable(path);
}

std::optional<FileWriteFailure> replaceEntry(const QString& path, const ContentProducer& produce) {
    FileReplace::Request request;
    request.followLink = false;
    request.mayWriteInPlace = false;
    return FileReplace::replace(path, produce, request);
}

std::optional<FileWriteFailure>
replaceAtomically(const QString& path, const ContentProducer& produce, const QString& accessFrom) {
    const QByteArray native = QFile::encodeName(accessFrom);
    struct stat source {};
    if (::stat(native.constData(), &source) != 0)
        return FileWriteFailure{FileWriteFailure::Stage::Create, systemReason(errno)};
    // Opened for its ACL and attributes only; a file that cannot be read gives its
    // owner, group and bits alone.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    FileReplace::Request request;
    request.accessFrom = &source;
    request.accessFromFd = fd;
    request.mayWriteInPlace = false;
    const auto failure = FileReplace::replace(path, produce, request);
    if (fd >= 0)
        ::close(fd);
    return failure;
}

std::optional<FileWriteFailure> copyFile(const QString& source, const QString& target) {
    struct stat metadata {};
    const ReadingFile file = openRegularFile(source, &metadata);
    FileReplace::Request request;
    request.followLink = false;
    request.accessFrom = &metadata;
    request.accessFromFd = file.fd;
    request.mayWriteInPlace = false;
    return FileReplace::replace(
        target,
        [&](const PieceWriter& write) { readBlocks(file, source, qsizetype(1) << 18, write); },
        request);
}

void failWritesPastTheSizeLimit() {
    std::signal(SIGXFSZ, SIG_IGN);
}

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
