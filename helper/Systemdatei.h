#pragma once

#include "helper/Exitcodes.h"

#include <string>
#include <sys/types.h>

// What ravik-systemdatei does as root for a user who may not read or write a file
// himself. It trusts nothing the caller says: the path is walked folder by folder
// from "/" without following any link, the file must be a regular file on a disk in
// a folder the caller may not write, and a file is replaced only while it still holds
// the bytes the caller loaded.
namespace ravik::systemdatei {

// Thrown for every refusal: the exit code, the system's error number where there is
// one, and a short text for the status line.
struct Failure {
    Exit code;
    int error = 0;
    std::string detail;
};

// An open descriptor, closed when it goes.
class Fd {
public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    Fd& operator=(Fd&& other) noexcept;
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd();
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_;
};

// The folder of a file, opened by walking from "/", and the file's name in it.
struct Target {
    Fd directory;
    std::string name;
};

// The calling user as pkexec names it (PKEXEC_UID); throws NotViaPkexec.
uid_t callerFromEnvironment(const char* value);

// Opens the folder of an absolute path, each step with O_NOFOLLOW: a link anywhere
// throws LinkOnPath, "." and ".." or a relative path throw Usage.
Target openTarget(const std::string& absolutePath);

// Throws CallerMayWrite when the user `caller` (with his groups, ACLs counted) may
// write the folder: he can save there without help, or swap what root then writes.
void refuseWhenCallerMayWrite(int directory, uid_t caller);

// The lowercase hex SHA-256 of everything the descriptor gives from its start.
std::string sha256Of(int fd);

// Copies the file to `out`, at most `limit` bytes (TooLarge before anything is sent),
// and gives the hash of what was sent.
std::string readFile(const Target& target, int out, unsigned long long limit);

struct WriteRequest {
    // The hash the caller saw when it loaded the file, or "neu": the file must not exist.
    std::string expectedHash;
    bool backup = false; // "<name>.bak" as the program names its backups
    unsigned long long limit = kMaxBytes;
};

// Replaces the file with the bytes read from `in`, keeping owner, group, mode, ACL and
// attributes (atomic rename; written in place for a file with several hard links), after
// the backup where asked for. Gives the hash of the new content.
std::string writeFile(const Target& target, int in, const WriteRequest& request);

} // namespace ravik::systemdatei
