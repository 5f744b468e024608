#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <csignal>
#include <sys/resource.h>
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
