#pragma once

#include <functional>
#include <grp.h>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// Users and groups for tests of who may do what with a file. Only root can take on
// another identity; the ids are far from those a system hands out.
namespace testusers {

constexpr uid_t kSaver = 61001;
constexpr uid_t kOther = 61002;
constexpr gid_t kSaverGroup = 61001;
constexpr gid_t kOtherGroup = 61002;
constexpr gid_t kShareGroup = 61010;

struct Identity {
    uid_t uid;
    gid_t gid;
    std::vector<gid_t> groups; // the supplementary groups
};

// Runs body in a forked child, under the identity when one is given (nothing of root
// is kept: setgroups, setresgid, setresuid), and gives its result (0..255), or -1
// when the child could not take the identity, died, or did not finish within
// `seconds` (so a body that blocks fails the test instead of stalling it). Body must
// not use QTest's checks.
inline int runAs(const std::optional<Identity>& who, unsigned seconds,
                 const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(seconds);
        if (who && (::setgroups(who->groups.size(), who->groups.data()) != 0 ||
                    ::setresgid(who->gid, who->gid, who->gid) != 0 ||
                    ::setresuid(who->uid, who->uid, who->uid) != 0))
            ::_exit(255);
        ::_exit(body() & 0xff);
    }
    int status = 0;
    while (child > 0 && ::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (child < 0 || !WIFEXITED(status) || WEXITSTATUS(status) == 255)
        return -1;
    return WEXITSTATUS(status);
}

} // namespace testusers
