#pragma once

// Copying a file's bytes over another's through their descriptors. Plain POSIX, no Qt:
// the program's save and the helper ravik-systemdatei (which links no Qt) share it.
#include <cerrno>
#include <sys/types.h>
#include <unistd.h>

namespace ravik::FileContentCopy {

// Copies everything from `from` (at its start) over `to` (from its start), cuts `to`
// there and flushes it to disk. 0, or the errno of the step that failed.
inline int copyContent(int from, int to) {
    char buffer[1 << 16];
    off_t offset = 0;
    for (;;) {
        const ssize_t n = ::pread(from, buffer, sizeof buffer, offset);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        for (ssize_t done = 0; done < n;) {
            const ssize_t w = ::pwrite(to, buffer + done, size_t(n - done), offset + done);
            if (w < 0 && errno == EINTR)
                continue;
            if (w < 0)
                return errno;
            done += w;
        }
        offset += n;
    }
    if (::ftruncate(to, offset) != 0)
        return errno;
    return ::fsync(to) == 0 ? 0 : errno;
}

} // namespace ravik::FileContentCopy
