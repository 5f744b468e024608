#pragma once

#include "core/platform/files/FileIO.h"

#include <sys/stat.h>

// Writing a file whole, through the descriptor of its directory: the directory is
// opened once and every step after that (the temporary file, the look at what is
// there, the rename) works on that descriptor, so nobody can swap a link in between.
namespace ravik::FileReplace {

struct Request {
    // A symbolic link at the path is followed (the file it names is written, the link
    // stays), or the directory entry is replaced whatever it is, a link included,
    // whose target is then not touched.
    bool followLink = true;
    // Owner, group, bits, ACL and attributes come from this file (open, with its
    // metadata) rather than from the file replaced. fd may be -1: then the ACL and
    // attributes stay as the directory gives them.
    int accessFromFd = -1;
    const struct stat* accessFrom = nullptr;
    // Where the new file cannot get the owner and group of the file it replaces, that
    // file is written in place instead (keeping its inode, owner, group and links),
    // after its content was copied aside: to undoCopy when it names an exact copy
    // (the backup), else to a private file beside it that goes after success.
    bool mayWriteInPlace = true;
    QString undoCopy;
};

std::optional<FileWriteFailure> replace(const QString& path, const FileIO::ContentProducer& produce,
                                        const Request& request);

// A refusal the save would meet at the file itself (a read-only file, a directory,
// a device), found before anything is written.
std::optional<FileWriteFailure> checkWritable(const QString& path);

} // namespace ravik::FileReplace
