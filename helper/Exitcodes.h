#pragma once

// The exit codes of ravik-systemdatei, known to the program that calls it. pkexec
// passes them through unchanged; 126 and 127 are pkexec's own (prompt dismissed, not
// authorised) and are never used here.
namespace ravik::systemdatei {

enum Exit : int {
    Ok = 0,
    Usage = 2,          // wrong arguments: a relative path, "." or "..", an unknown command
    NotViaPkexec = 3,   // PKEXEC_UID missing or not a number
    LinkOnPath = 4,     // a symbolic link on the way to the file or at the file
    NotRegular = 5,     // a directory, device, pipe, socket or a kernel file
    CallerMayWrite = 6, // the calling user may write the folder: no rights needed
    Changed = 7,        // the file is not the one the caller loaded (nothing written)
    TooLarge = 8,       // more bytes than the limit
    ReadFailed = 9,     // the status line names the system's error number
    WriteFailed = 10,
    BackupFailed = 11,
};

// The largest file read or written, the same as the document's limit.
constexpr unsigned long long kMaxBytes = 512ull * 1024 * 1024;

} // namespace ravik::systemdatei
