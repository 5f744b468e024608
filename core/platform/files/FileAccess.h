#pragma once

#include <sys/stat.h>

// Who may do what with a file, carried over from one open file to another: owner,
// group, permission bits, ACL and extended attributes (an SELinux label among them).
namespace ravik::FileAccess {

// Gives the file the owner and group in `from`. True when it has both afterwards;
// false when the process may not give them (another user's file, a group it is not
// in) — the group is then given alone where it may be.
bool giveOwnerAndGroup(int fd, const struct stat& from);

// Copies the ACL and the extended attributes of the open file `fromFd` to `toFd`, as
// far as the file system and the process's rights allow; what is refused (a file
// system without them, an attribute only the kernel or root may set) is left out.
// Writing to a file drops some of them (file capabilities), so this comes after the
// content is written.
void copyAclAndAttributes(int fromFd, int toFd);

// Sets the permission bits of `from`. Where the file's owner or group is not that of
// `from`, no bit meant for them opens the file to someone else: set-user-ID and
// set-group-ID go, and the group gets no more than others. Last of all, as setting
// an ACL sets the group bits too.
void giveMode(int fd, const struct stat& from);

} // namespace ravik::FileAccess
