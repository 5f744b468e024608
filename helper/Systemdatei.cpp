#include "helper/Systemdatei.h"
#include "core/platform/files/FileContentCopy.h"

#include <nettle/sha2.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <grp.h>
#include <linux/magic.h>
#include <pwd.h>
#include <sys/acl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace ravik::systemdatei {

Fd& Fd::operator=(Fd&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

Fd::~Fd() {
    if (fd_ >= 0)
        ::close(fd_);
}

namespace {

[[noreturn]] void fail(Exit code, int error, const std::string& detail) {
    throw Failure{code, error, detail};
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The kernel's file systems show files as regular that are none: reading may never end.
bool onKernelFileSystem(int fd) {
    struct statfs fs {};
    if (::fstatfs(fd, &fs) != 0)
        return true;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case PROC_SUPER_MAGIC: case SYSFS_MAGIC: case DEBUGFS_MAGIC: case TRACEFS_MAGIC:
    case SECURITYFS_MAGIC: case SELINUX_MAGIC: case SMACK_MAGIC: case CGROUP_SUPER_MAGIC:
    case CGROUP2_SUPER_MAGIC: case PSTOREFS_MAGIC: case EFIVARFS_MAGIC: case BPF_FS_MAGIC:
    case BINFMTFS_MAGIC: case RDTGROUP_SUPER_MAGIC:
        return true;
    default:
        return false;
    }
}

class Sha256 {
public:
    Sha256() { sha256_init(&context_); }
    void add(const char* data, size_t size) {
        sha256_update(&context_, size, reinterpret_cast<const uint8_t*>(data));
    }
    std::string hex() {
        uint8_t digest[SHA256_DIGEST_SIZE];
        sha256_digest(&context_, sizeof digest, digest);
        static const char digits[] = "0123456789abcdef";
        std::string out;
        for (uint8_t b : digest) {
            out += digits[b >> 4];
            out += digits[b & 15];
        }
        return out;
    }

private:
    sha256_ctx context_;
};

int writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        data += n;
        size -= size_t(n);
    }
    return 0;
}

using ravik::FileContentCopy::copyContent;

// A new file beside the target, 0600 and root's until it is given the file's access;
// removed again unless it was renamed into place.
class TemporaryFile {
public:
    TemporaryFile(int directory, const std::string& besides) : directory_(directory) {
        const std::string stem = besides.substr(0, NAME_MAX - 20);
        for (int attempt = 0; attempt < 100 && !fd_.valid(); ++attempt) {
            unsigned long long random = 0;
            if (::getrandom(&random, sizeof random, 0) != sizeof random)
                random = (unsigned long long)::getpid() * 2654435761u + unsigned(attempt);
            char suffix[24];
            std::snprintf(suffix, sizeof suffix, ".ravik-%llx", random & 0xffffffffffffull);
            name_ = stem + suffix;
            fd_ = Fd(::openat(directory, name_.c_str(),
                              O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
            if (!fd_.valid() && errno != EEXIST)
                break;
        }
        error_ = fd_.valid() ? 0 : errno;
    }
    ~TemporaryFile() {
        if (!kept_ && error_ == 0)
            ::unlinkat(directory_, name_.c_str(), 0);
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    int fd() const { return fd_.get(); }
    int error() const { return error_; }
    const std::string& name() const { return name_; }
    // Renamed over `target` in the same folder, which is flushed so the rename lasts.
    int renameTo(const std::string& target) {
        if (::fsync(fd_.get()) != 0)
            return errno;
        if (::renameat(directory_, name_.c_str(), directory_, target.c_str()) != 0)
            return errno;
        kept_ = true;
        (void)::fsync(directory_);
        return 0;
    }

private:
    int directory_;
    std::string name_;
    Fd fd_;
    int error_ = 0;
    bool kept_ = false;
};

std::vector<char> attributeNames(int fd) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t size = ::flistxattr(fd, nullptr, 0);
        if (size <= 0)
            return {};
        std::vector<char> names(static_cast<size_t>(size));
        const ssize_t got = ::flistxattr(fd, names.data(), names.size());
        if (got >= 0) {
            names.resize(size_t(got));
            return names;
        }
        if (errno != ERANGE)
            return {};
    }
    return {};
}

// Owner, group, ACL, extended attributes (the SELinux label among them) and mode of
// `from`, in the order that keeps them: the mode last, as setting an ACL sets the
// group bits, and after the content, as writing drops file capabilities.
int giveAccess(int from, const struct stat& info, int to) {
    if (::fchown(to, info.st_uid, info.st_gid) != 0)
        return errno;
    if (acl_t acl = ::acl_get_fd(from)) {
        (void)::acl_set_fd(to, acl);
        ::acl_free(acl);
    }
    const std::vector<char> names = attributeNames(from);
    for (size_t at = 0; at < names.size(); at += std::strlen(names.data() + at) + 1) {
        const char* name = names.data() + at;
        if (std::strncmp(name, "system.posix_acl_", 17) == 0)
            continue;
        const ssize_t size = ::fgetxattr(from, name, nullptr, 0);
        if (size < 0)
            continue;
        std::vector<char> value(size_t(size) + 1);
        const ssize_t got = ::fgetxattr(from, name, value.data(), value.size());
        if (got >= 0)
            (void)::fsetxattr(to, name, value.data(), size_t(got), 0);
    }
    return ::fchmod(to, info.st_mode & 07777) == 0 ? 0 : errno;
}

// The file in the folder, opened for reading and known to be a regular file on a disk.
struct Opened {
    Fd fd;
    struct stat info {};
};

Opened openRegular(const Target& target, bool mayBeMissing) {
    Opened file;
    struct stat entry {};
    if (::fstatat(target.directory.get(), target.name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno == ENOENT && mayBeMissing)
            return file;
        fail(ReadFailed, errno, "stat");
    }
    if (S_ISLNK(entry.st_mode))
        fail(LinkOnPath, ELOOP, target.name);
    // Devices are refused before they are opened: opening some already does something.
    if (!S_ISREG(entry.st_mode))
        fail(NotRegular, 0, target.name);
    file.fd = Fd(::openat(target.directory.get(), target.name.c_str(),
                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!file.fd.valid())
        fail(errno == ELOOP ? LinkOnPath : ReadFailed, errno, target.name);
    if (::fstat(file.fd.get(), &file.info) != 0)
        fail(ReadFailed, errno, target.name);
    if (!sameFile(entry, file.info) || !S_ISREG(file.info.st_mode) || onKernelFileSystem(file.fd.get()))
        fail(NotRegular, 0, target.name);
    ::fcntl(file.fd.get(), F_SETFL, ::fcntl(file.fd.get(), F_GETFL) & ~O_NONBLOCK);
    return file;
}

// The caller's bytes into the temporary file, hashed on the way. More than the limit
// is refused before the file is touched.
std::string receive(int in, int to, unsigned long long limit) {
    Sha256 hash;
    std::vector<char> buffer(1 << 16);
    unsigned long long total = 0;
    for (;;) {
        const ssize_t n = ::read(in, buffer.data(), buffer.size());
        if (n == 0)
            break;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(ReadFailed, errno, "stdin");
        total += (unsigned long long)n;
        if (total > limit)
            fail(TooLarge, 0, std::to_string(limit));
        hash.add(buffer.data(), size_t(n));
        if (const int error = writeAll(to, buffer.data(), size_t(n)))
            fail(WriteFailed, error, "write");
    }
    return hash.hex();
}

// The backup "<name>.bak" made like the saved file: a new file given the original's
// access, renamed over whatever the name holds (a link there is replaced, never followed).
void makeBackup(const Target& target, const Opened& original) {
    const std::string name = target.name + ".bak";
    TemporaryFile copy(target.directory.get(), name);
    if (copy.error())
        fail(BackupFailed, copy.error(), name);
    int error = copyContent(original.fd.get(), copy.fd());
    if (!error)
        error = giveAccess(original.fd.get(), original.info, copy.fd());
    if (!error)
        error = copy.renameTo(name);
    if (error)
        fail(BackupFailed, error, name);
}

// A file with several hard links is written where it is, so that every name keeps
// seeing it; its old content is put back should the write fail half-way.
void writeInPlace(const Target& target, const Opened& original, int content) {
    Fd file(::openat(target.directory.get(), target.name.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat now {};
    if (!file.valid() || ::fstat(file.get(), &now) != 0)
        fail(WriteFailed, errno, target.name);
    if (!sameFile(now, original.info))
        fail(Changed, 0, target.name);
    TemporaryFile undo(target.directory.get(), target.name);
    if (undo.error())
        fail(WriteFailed, undo.error(), target.name);
    if (const int error = copyContent(original.fd.get(), undo.fd()))
        fail(WriteFailed, error, target.name);
    if (const int error = copyContent(content, file.get())) {
        (void)copyContent(undo.fd(), file.get());
        fail(WriteFailed, error, target.name);
    }
}

} // namespace

uid_t callerFromEnvironment(const char* value) {
    if (!value || !*value)
        fail(NotViaPkexec, 0, "PKEXEC_UID");
    char* end = nullptr;
    errno = 0;
    const unsigned long uid = std::strtoul(value, &end, 10);
    if (errno || *end || *value == '-' || uid >= (unsigned long)(uid_t)-1)
        fail(NotViaPkexec, 0, "PKEXEC_UID");
    return uid_t(uid);
}

Target openTarget(const std::string& absolutePath) {
    if (absolutePath.empty() || absolutePath[0] != '/' || absolutePath.back() == '/')
        fail(Usage, 0, absolutePath);
    std::vector<std::string> parts;
    for (size_t at = 1; at <= absolutePath.size();) {
        const size_t slash = std::min(absolutePath.find('/', at), absolutePath.size());
        const std::string part = absolutePath.substr(at, slash - at);
        if (part == "." || part == "..")
            fail(Usage, 0, absolutePath);
        if (!part.empty())
            parts.push_back(part);
        at = slash + 1;
    }
    if (parts.empty() || parts.back().size() > NAME_MAX - 4)
        fail(Usage, ENAMETOOLONG, absolutePath);
    Target target;
    target.directory = Fd(::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!target.directory.valid())
        fail(ReadFailed, errno, "/");
    for (size_t i = 0; i + 1 < parts.size(); ++i) {
        Fd next(::openat(target.directory.get(), parts[i].c_str(),
                         O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (!next.valid()) {
            const int error = errno;
            struct stat entry {};
            if (::fstatat(target.directory.get(), parts[i].c_str(), &entry, AT_SYMLINK_NOFOLLOW) == 0 &&
                S_ISLNK(entry.st_mode))
                fail(LinkOnPath, ELOOP, parts[i]);
            fail(ReadFailed, error, parts[i]);
        }
        target.directory = std::move(next);
    }
    target.name = parts.back();
    return target;
}

void refuseWhenCallerMayWrite(int directory, uid_t caller) {
    // The kernel answers for the caller: a child takes on his identity (groups
    // included) and asks; the folder's ACL counts as it would for him.
    const pid_t child = ::fork();
    if (child < 0)
        fail(ReadFailed, errno, "fork");
    if (child == 0) {
        const passwd* user = ::getpwuid(caller);
        const gid_t group = user ? user->pw_gid : gid_t(caller);
        const bool already = ::getuid() == caller && ::geteuid() == caller;
        const bool ok = already ||
                        ((user ? ::initgroups(user->pw_name, group) : ::setgroups(0, nullptr)) == 0 &&
                         ::setresgid(group, group, group) == 0 && ::setresuid(caller, caller, caller) == 0);
        if (!ok)
            ::_exit(2);
        ::_exit(::faccessat(directory, ".", W_OK, AT_EACCESS) == 0 ? 1 : 0);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 2)
        fail(ReadFailed, EPERM, "caller");
    if (WEXITSTATUS(status) == 1)
        fail(CallerMayWrite, 0, "folder");
}

std::string sha256Of(int fd) {
    Sha256 hash;
    std::vector<char> buffer(1 << 16);
    off_t offset = 0;
    for (;;) {
        const ssize_t n = ::pread(fd, buffer.data(), buffer.size(), offset);
        if (n == 0)
            break;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(ReadFailed, errno, "read");
        hash.add(buffer.data(), size_t(n));
        offset += n;
    }
    return hash.hex();
}

std::string readFile(const Target& target, int out, unsigned long long limit) {
    const Opened file = openRegular(target, false);
    if ((unsigned long long)file.info.st_size > limit)
        fail(TooLarge, 0, std::to_string(limit));
    Sha256 hash;
    std::vector<char> buffer(1 << 16);
    unsigned long long total = 0;
    for (;;) {
        const ssize_t n = ::read(file.fd.get(), buffer.data(), buffer.size());
        if (n == 0)
            break;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            fail(ReadFailed, errno, target.name);
        // A file that grew while it was read is cut off by the caller's limit too.
        total += (unsigned long long)n;
        if (total > limit)
            fail(TooLarge, 0, std::to_string(limit));
        hash.add(buffer.data(), size_t(n));
        if (const int error = writeAll(out, buffer.data(), size_t(n)))
            fail(WriteFailed, error, "stdout");
    }
    return hash.hex();
}

std::string writeFile(const Target& target, int in, const WriteRequest& request) {
    const bool expectNew = request.expectedHash == "neu";
    const Opened original = openRegular(target, expectNew);
    if (expectNew != !original.fd.valid())
        fail(Changed, 0, target.name);
    if (!expectNew && sha256Of(original.fd.get()) != request.expectedHash)
        fail(Changed, 0, target.name);

    TemporaryFile replacement(target.directory.get(), target.name);
    if (replacement.error())
        fail(WriteFailed, replacement.error(), target.name);
    const std::string hash = receive(in, replacement.fd(), request.limit);

    if (!expectNew && request.backup)
        makeBackup(target, original);
    if (!expectNew && original.info.st_nlink > 1) {
        writeInPlace(target, original, replacement.fd());
        return hash;
    }
    int error = 0;
    if (expectNew)
        error = ::fchmod(replacement.fd(), 0644) == 0 ? 0 : errno;
    else
        error = giveAccess(original.fd.get(), original.info, replacement.fd());
    if (!error)
        error = replacement.renameTo(target.name);
    if (error)
        fail(WriteFailed, error, target.name);
    return hash;
}

} // namespace ravik::systemdatei
