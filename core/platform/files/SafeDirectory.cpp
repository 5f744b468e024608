#include "core/platform/files/SafeDirectory.h"

#include "core/platform/errors/RavikError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <dirent.h>
#include <utility>
#include <fcntl.h>
#include <unistd.h>

namespace ravik {
namespace {

QByteArray native(const QString& name) {
    return QFile::encodeName(name);
}

QString sentence(const QString& text) {
    return text.endsWith(QLatin1Char('.')) ? text : text + QLatin1Char('.');
}

// Folders are only ever made beneath a folder of the user's own or root's (such as
// /tmp): root must not leave its own folders in a user's home, nor anyone in another
// user's folder.
bool mayMakeFoldersIn(uid_t owner) {
    return owner == ::geteuid() || owner == 0;
}

QString linkedFolder(const QString& path) {
    return QStringLiteral("Das Verzeichnis %1 ist eine symbolische Verknüpfung und wird nicht "
                          "verwendet.")
        .arg(QDir::toNativeSeparators(path));
}

QString foreignFolder(const QString& path) {
    return QStringLiteral("Das Verzeichnis %1 gehört einem anderen Benutzer und wird nicht "
                          "verwendet.")
        .arg(QDir::toNativeSeparators(path));
}

QString foreignParent(const QString& path) {
    return QStringLiteral("Das Verzeichnis %1 gehört einem anderen Benutzer; darin legt Ravik "
                          "nichts an.")
        .arg(QDir::toNativeSeparators(path));
}

QString folderFailure(const QString& path, const char* what, int error) {
    return QStringLiteral("Das Verzeichnis %1 kann nicht %2 werden: %3")
        .arg(QDir::toNativeSeparators(path), QLatin1String(what), sentence(systemReason(error)));
}

// Makes the missing folders down to `path`, after checking whose folder they go into
// (`unsafe` set when it is another user's).
QString makeFolders(const QString& path, mode_t mode, bool& unsafe) {
    QStringList missing;
    QString existing = path;
    struct stat info {};
    while (::stat(native(existing).constData(), &info) != 0) {
        if (errno != ENOENT)
            return folderFailure(existing, "geöffnet", errno);
        missing.prepend(existing);
        const QString above = QFileInfo(existing).path();
        if (above == existing)
            return folderFailure(existing, "geöffnet", ENOENT);
        existing = above;
    }
    if (!S_ISDIR(info.st_mode))
        return folderFailure(existing, "geöffnet", ENOTDIR);
    if (!missing.isEmpty() && !mayMakeFoldersIn(info.st_uid)) {
        unsafe = true;
        return foreignParent(existing);
    }
    for (const QString& folder : missing)
        if (::mkdir(native(folder).constData(), mode) != 0 && errno != EEXIST)
            return folderFailure(folder, "angelegt", errno);
    return {};
}

struct Descriptor {
    explicit Descriptor(int d) : fd(d) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
    int fd;
};

} // namespace

bool writeFully(int fd, QByteArrayView data) {
    const char* next = data.data();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, next, size_t(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        next += n;
        left -= n;
    }
    return true;
}

SafeDirectory SafeDirectory::refused(const QString& path, const QString& reason, bool unsafe) {
    SafeDirectory dir(path);
    dir.reason_ = reason;
    dir.unsafe_ = unsafe;
    return dir;
}

SafeDirectory SafeDirectory::open(const QString& given, Create create, mode_t mode) {
    const QString path = QDir::cleanPath(QDir(given).absolutePath());
    const QString parent = QFileInfo(path).path();
    const QString name = QFileInfo(path).fileName();
    if (name.isEmpty() || parent == path)
        return refused(path, folderFailure(path, "verwendet", EINVAL));

    int parentFd = ::open(native(parent).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parentFd < 0 && errno == ENOENT && create == Create::Yes) {
        bool unsafe = false;
        const QString failure = makeFolders(parent, mode, unsafe);
        if (!failure.isEmpty())
            return refused(path, failure, unsafe);
        parentFd = ::open(native(parent).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    }
    if (parentFd < 0) {
        const int error = errno;
        SafeDirectory dir = refused(path, folderFailure(parent, "geöffnet", error));
        dir.missing_ = error == ENOENT;
        return dir;
    }
    const Descriptor above(parentFd);
    const QByteArray leaf = native(name);
    const int flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    int fd = ::openat(parentFd, leaf.constData(), flags);
    if (fd < 0 && errno == ENOENT && create == Create::Yes) {
        struct stat info {};
        if (::fstat(parentFd, &info) != 0)
            return refused(path, folderFailure(parent, "geöffnet", errno));
        if (!mayMakeFoldersIn(info.st_uid))
            return refused(path, foreignParent(parent), true);
        if (::mkdirat(parentFd, leaf.constData(), mode) != 0 && errno != EEXIST)
            return refused(path, folderFailure(path, "angelegt", errno));
        fd = ::openat(parentFd, leaf.constData(), flags);
    }
    if (fd < 0) {
        const int error = errno;
        struct stat info {};
        if (::fstatat(parentFd, leaf.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISLNK(info.st_mode))
            return refused(path, linkedFolder(path), true);
        SafeDirectory dir = refused(path, folderFailure(path, "geöffnet", error));
        dir.missing_ = error == ENOENT;
        return dir;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_uid != ::geteuid()) {
        ::close(fd);
        return refused(path, foreignFolder(path), true);
    }
    SafeDirectory dir(path);
    dir.fd_ = fd;
    return dir;
}

SafeDirectory::SafeDirectory(SafeDirectory&& other) noexcept
    : path_(std::move(other.path_)), reason_(std::move(other.reason_)), missing_(other.missing_),
      unsafe_(other.unsafe_), fd_(std::exchange(other.fd_, -1)) {}

SafeDirectory& SafeDirectory::operator=(SafeDirectory&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        path_ = std::move(other.path_);
        reason_ = std::move(other.reason_);
        missing_ = other.missing_;
        unsafe_ = other.unsafe_;
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

SafeDirectory::~SafeDirectory() {
    if (fd_ >= 0)
        ::close(fd_);
}

QString SafeDirectory::filePath(const QString& name) const {
    return path_ + QLatin1Char('/') + name;
}

void SafeDirectory::restrictToOwner() const {
    struct stat info {};
    if (fd_ >= 0 && ::fstat(fd_, &info) == 0 && (info.st_mode & 077))
        (void)::fchmod(fd_, info.st_mode & 07700);
}

int SafeDirectory::openFile(const QString& name, int flags, mode_t mode) const {
    if (fd_ < 0) {
        errno = EBADF;
        return -1;
    }
    return ::openat(fd_, native(name).constData(), flags | O_NOFOLLOW | O_CLOEXEC, mode);
}

std::optional<struct stat> SafeDirectory::entry(const QString& name) const {
    struct stat info {};
    if (fd_ < 0 || ::fstatat(fd_, native(name).constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return std::nullopt;
    return info;
}

QStringList SafeDirectory::entries() const {
    QStringList names;
    const int copy = fd_ < 0 ? -1 : ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (copy < 0)
        return names;
    DIR* listing = ::fdopendir(copy);
    if (!listing) {
        ::close(copy);
        return names;
    }
    while (const dirent* e = ::readdir(listing)) {
        const QString name = QFile::decodeName(e->d_name);
        if (name != QLatin1String(".") && name != QLatin1String(".."))
            names << name;
    }
    ::closedir(listing);
    return names;
}

bool SafeDirectory::remove(const QString& name) const {
    if (fd_ < 0)
        return false;
    return ::unlinkat(fd_, native(name).constData(), 0) == 0 || errno == ENOENT;
}

bool SafeDirectory::rename(const QString& from, const QString& to) const {
    return renameInto(from, *this, to);
}

bool SafeDirectory::renameInto(const QString& from, const SafeDirectory& target,
                               const QString& to) const {
    if (fd_ < 0 || target.fd_ < 0) {
        errno = EBADF;
        return false;
    }
    return ::renameat(fd_, native(from).constData(), target.fd_, native(to).constData()) == 0;
}

QString SafeDirectory::refusal(const QString& name, bool* unsafe) const {
    const std::optional<struct stat> info = entry(name);
    if (!info)
        return {};
    const QString path = QDir::toNativeSeparators(filePath(name));
    if (unsafe)
        *unsafe = S_ISLNK(info->st_mode) || info->st_uid != ::geteuid();
    if (S_ISLNK(info->st_mode))
        return QStringLiteral("Die Datei %1 ist eine symbolische Verknüpfung und wird nicht "
                              "verwendet.")
            .arg(path);
    if (!S_ISREG(info->st_mode))
        return QStringLiteral("%1 ist keine gewöhnliche Datei.").arg(path);
    if (info->st_uid != ::geteuid())
        return QStringLiteral("Die Datei %1 gehört einem anderen Benutzer und wird nicht "
                              "verwendet.")
            .arg(path);
    return {};
}

std::optional<QByteArray> SafeDirectory::readFile(const QString& name, QString* failure) const {
    auto fail = [&](const QString& why) -> std::optional<QByteArray> {
        if (failure)
            *failure = why;
        return std::nullopt;
    };
    if (fd_ < 0)
        return fail(reason_);
    if (const QString why = refusal(name); !why.isEmpty())
        return fail(why);
    const Descriptor file(openFile(name, O_RDONLY | O_NONBLOCK));
    if (file.fd < 0) {
        if (errno == ENOENT)
            return std::nullopt;
        return fail(sentence(systemReason(errno)));
    }
    // Checked again on what was opened: the entry may have been swapped meanwhile.
    struct stat info {};
    if (::fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid())
        return fail(refusal(name).isEmpty() ? sentence(systemReason(EPERM)) : refusal(name));
    ::fcntl(file.fd, F_SETFL, ::fcntl(file.fd, F_GETFL) & ~O_NONBLOCK);
    QByteArray data;
    char block[1 << 16];
    for (;;) {
        const ssize_t n = ::read(file.fd, block, sizeof block);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fail(sentence(systemReason(errno)));
        }
        data.append(block, n);
    }
    return data;
}

std::optional<QString> SafeDirectory::replaceFile(const QString& name,
                                                  const ContentProducer& produce,
                                                  mode_t newMode) const {
    if (fd_ < 0)
        return reason_;
    if (const QString why = refusal(name); !why.isEmpty())
        return why;
    const std::optional<struct stat> existing = entry(name);
    // A file the user made read-only stays as it is, as a save in place would.
    if (existing && ::faccessat(fd_, native(name).constData(), W_OK,
                                AT_EACCESS | AT_SYMLINK_NOFOLLOW) != 0)
        return sentence(systemReason(errno));
    mode_t mode = newMode;
    if (existing) {
        mode = existing->st_mode & 07777;
    } else {
        const mode_t mask = ::umask(077);
        ::umask(mask);
        mode &= ~mask;
    }
    QString temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = QStringLiteral(".%1.%2").arg(name).arg(QRandomGenerator::global()->generate(), 8,
                                                           16, QLatin1Char('0'));
        fd = openFile(temporary, O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return sentence(systemReason(errno));
    int error = 0;
    try {
        constexpr qsizetype kChunk = 1 << 16;
        QByteArray pending;
        auto flush = [&](QByteArrayView data) {
            if (!error && !writeFully(fd, data))
                error = errno;
        };
        produce([&](QByteArrayView piece) {
            if (pending.size() + piece.size() > kChunk) {
                flush(pending);
                pending.clear();
            }
            if (piece.size() >= kChunk)
                flush(piece);
            else
                pending.append(piece.data(), piece.size());
        });
        flush(pending);
    } catch (...) {
        ::close(fd);
        remove(temporary);
        throw;
    }
    if (!error && (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0))
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    if (!error && !rename(temporary, name))
        error = errno;
    if (error) {
        remove(temporary);
        return sentence(systemReason(error));
    }
    return std::nullopt;
}

} // namespace ravik
