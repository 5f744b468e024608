#include "core/platform/files/FileAccess.h"

#include <QByteArray>

#include <cerrno>
#include <cstring>
#include <sys/acl.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace ravik::FileAccess {
namespace {

// The names a file's extended attributes have, each ending in a NUL byte.
QByteArray attributeNames(int fd) {
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t size = ::flistxattr(fd, nullptr, 0);
        if (size <= 0)
            return {};
        QByteArray names(size, Qt::Uninitialized);
        const ssize_t got = ::flistxattr(fd, names.data(), size_t(names.size()));
        if (got >= 0)
            return names.left(got);
        if (errno != ERANGE) // grew meanwhile: ask again
            return {};
    }
    return {};
}

QByteArray attributeValue(int fd, const char* name, bool* ok) {
    *ok = false;
    for (int attempt = 0; attempt < 4; ++attempt) {
        const ssize_t size = ::fgetxattr(fd, name, nullptr, 0);
        if (size < 0)
            return {};
        QByteArray value(size, Qt::Uninitialized);
        const ssize_t got = ::fgetxattr(fd, name, value.data(), size_t(value.size()));
        if (got >= 0) {
            *ok = true;
            return value.left(got);
        }
        if (errno != ERANGE)
            return {};
    }
    return {};
}

bool isAclAttribute(const char* name) {
    // The ACL lives in these; libacl carries it over as the ACL it is.
    return std::strncmp(name, "system.posix_acl_", 17) == 0;
}

void copyAcl(int fromFd, int toFd) {
    acl_t acl = ::acl_get_fd(fromFd);
    if (!acl)
        return; // the file system keeps no ACLs
    // Also a plain ACL (owner, group, others alone) is set: it takes away what the
    // directory's default ACL gave the new file.
    (void)::acl_set_fd(toFd, acl);
    ::acl_free(acl);
}

void copyAttributes(int fromFd, int toFd) {
    const QByteArray names = attributeNames(fromFd);
    for (const char* name = names.constData(); name < names.constData() + names.size();
         name += std::strlen(name) + 1) {
        if (isAclAttribute(name))
            continue;
        bool ok = false;
        const QByteArray value = attributeValue(fromFd, name, &ok);
        // Refusals are expected: trusted.* without root, security.* the policy keeps
        // to itself, a file system without user attributes.
        if (ok)
            (void)::fsetxattr(toFd, name, value.constData(), size_t(value.size()), 0);
    }
}

} // namespace

bool giveOwnerAndGroup(int fd, const struct stat& from) {
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        return false;
    if (now.st_uid == from.st_uid && now.st_gid == from.st_gid)
        return true;
    if (::fchown(fd, from.st_uid, from.st_gid) == 0)
        return true;
    if (now.st_gid != from.st_gid)
        (void)::fchown(fd, uid_t(-1), from.st_gid);
    return false;
}

void copyAclAndAttributes(int fromFd, int toFd) {
    copyAcl(fromFd, toFd);
    copyAttributes(fromFd, toFd);
}

void giveMode(int fd, const struct stat& from) {
    mode_t mode = from.st_mode & 07777;
    struct stat now {};
    if (::fstat(fd, &now) != 0)
        now = from;
    if (now.st_uid != from.st_uid)
        mode &= ~mode_t(S_ISUID);
    if (now.st_gid != from.st_gid)
        mode = (mode & ~mode_t(S_ISGID | S_IRWXG)) | ((mode & S_IRWXO) << 3);
    (void)::fchmod(fd, mode);
}

} // namespace ravik::FileAccess
