#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <QDirIterator>

#include <csignal>
#include <cstdio>
#include <functional>
#include <grp.h>
#include <optional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Small helpers for tests that work on real files in a temporary directory.
namespace testfiles {

inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArrayLiteral("<unreadable>");
    return file.readAll();
}

// Root ignores permission bits, so tests that rely on them cannot run as root.
inline bool runningAsRoot() {
    return ::geteuid() == 0;
}

// The user and group that permission tests run as when the tests run as root.
constexpr uid_t kUnprivilegedId = 65534; // "nobody" / "nogroup"

// Gives a path and everything below it to that user, so that it can work there; as
// any other user the files are already one's own.
inline bool handOver(const QString& path) {
    if (!runningAsRoot())
        return true;
    auto give = [](const QString& p) {
        return ::lchown(QFile::encodeName(p).constData(), kUnprivilegedId, kUnprivilegedId) == 0;
    };
    bool ok = give(path);
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        ok = give(it.next()) && ok;
    return ok;
}

// Runs body in a forked child process that first drops to the unprivileged user when
// this process is root, so that permission bits count as they do for every user.
// Gives what body returns (at most 64 KB), or nullopt when the child could not drop
// its privileges or did not end normally. Body must not use QTest's checks.
inline std::optional<QByteArray> runUnprivileged(const std::function<QByteArray()>& body) {
    int channel[2];
    if (::pipe(channel) != 0)
        return std::nullopt;
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        if (runningAsRoot() && (::setgroups(0, nullptr) != 0 || ::setgid(kUnprivilegedId) != 0 ||
                                ::setuid(kUnprivilegedId) != 0 || ::geteuid() == 0))
            ::_exit(3);
        const QByteArray report = body().left(64 * 1024);
        const bool sent = ::write(channel[1], report.constData(), size_t(report.size())) ==
                          ssize_t(report.size());
        ::_exit(sent ? 0 : 4);
    }
    ::close(channel[1]);
    QByteArray report;
    char buffer[4096];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        report.append(buffer, n);
    }
    ::close(channel[0]);
    int status = 0;
    while (child > 0 && ::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (child < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return report;
}

// Everything in a directory except . and .., to spot temporary files left behind.
inline QStringList entries(const QString& dir) {
    return QDir(dir).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// While alive, no file may grow beyond maxBytes: writes past it fail with EFBIG
// (SIGXFSZ is ignored). Unlike permission bits this holds for root too, so it makes
// a file write fail half-way on any machine.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t maxBytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = maxBytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

} // namespace testfiles
