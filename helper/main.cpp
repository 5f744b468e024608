// ravik-systemdatei: reads or replaces one system file for Ravik, run as root by pkexec.
//
//   ravik-systemdatei lesen PFAD [--grenze BYTES]
//       the file's bytes on stdout
//   ravik-systemdatei schreiben PFAD HASH [--sicherung] [--grenze BYTES]
//       the new bytes on stdin; HASH is the SHA-256 (hex) of the file as the caller
//       loaded it, or "neu" for a file that must not exist yet
//
// The last line on stderr is the status: "ravik-systemdatei: ok HASH" (the SHA-256 of
// the bytes read or written) or "ravik-systemdatei: fehler CODE ERRNO DETAIL"; the exit
// code is CODE (see Exitcodes.h). --grenze can only lower the built-in limit.
#include "helper/Systemdatei.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using namespace ravik::systemdatei;

namespace {

int finish(const Failure& failure) {
    std::fprintf(stderr, "ravik-systemdatei: fehler %d %d %s\n", int(failure.code), failure.error,
                 failure.detail.c_str());
    return failure.code;
}

unsigned long long parseLimit(const char* text) {
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (errno || *end || *text == '-' || !*text)
        throw Failure{Usage, 0, "--grenze"};
    return value < kMaxBytes ? value : kMaxBytes;
}

} // namespace

int main(int argc, char** argv) {
    // A caller that goes away gives a write error, not a silent end.
    std::signal(SIGPIPE, SIG_IGN);
    ::umask(077);
    try {
        const uid_t caller = callerFromEnvironment(std::getenv("PKEXEC_UID"));
        if (argc < 3)
            throw Failure{Usage, 0, "argumente"};
        const std::string command = argv[1];
        const bool writing = command == "schreiben";
        if (!writing && command != "lesen")
            throw Failure{Usage, 0, command};
        WriteRequest request;
        int next = 3;
        if (writing) {
            if (argc < 4)
                throw Failure{Usage, 0, "hash"};
            request.expectedHash = argv[3];
            next = 4;
        }
        for (; next < argc; ++next) {
            if (writing && std::strcmp(argv[next], "--sicherung") == 0)
                request.backup = true;
            else if (std::strcmp(argv[next], "--grenze") == 0 && next + 1 < argc)
                request.limit = parseLimit(argv[++next]);
            else
                throw Failure{Usage, 0, argv[next]};
        }
        const Target target = openTarget(argv[2]);
        refuseWhenCallerMayWrite(target.directory.get(), caller);
        const std::string hash = writing ? writeFile(target, STDIN_FILENO, request)
                                         : readFile(target, STDOUT_FILENO, request.limit);
        if (!writing && std::fflush(stdout) != 0)
            throw Failure{WriteFailed, errno, "stdout"};
        std::fprintf(stderr, "ravik-systemdatei: ok %s\n", hash.c_str());
        return Ok;
    } catch (const Failure& failure) {
        return finish(failure);
    }
}
