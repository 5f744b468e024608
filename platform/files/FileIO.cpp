#include "platform/files/FileIO.h"

#include "platform/errors/RavikError.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ravik::FileIO {

QByteArray readAll(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw EFOpenError(QFileInfo(path).absoluteFilePath(), systemReason(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        throw EFOpenError(QFileInfo(path).absoluteFilePath(), systemReason(error));
    }
    QByteArray data;
    if (S_ISREG(info.st_mode) && info.st_size > 0)
        data.reserve(static_cast<qsizetype>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            throw EFOpenError(QFileInfo(path).absoluteFilePath(), systemReason(error));
        }
        data.append(buffer, n);
    }
    ::close(fd);
    return data;
}

std::optional<FileWriteFailure> replaceAtomically(const QString& path, QByteArrayView data) {
    using Stage = FileWriteFailure::Stage;
    QFileInfo target(path);
    if (target.isDir())
        return FileWriteFailure{Stage::Create, systemReason(EISDIR)};

    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        const int error = errno;
        return FileWriteFailure{Stage::Create, error ? systemReason(error) : file.errorString()};
    }
    errno = 0;
    if (file.write(data.data(), data.size()) != data.size()) {
        const int error = errno;
        const QString reason = error ? systemReason(error) : file.errorString();
        file.cancelWriting();
        return FileWriteFailure{Stage::Write, reason};
    }
    errno = 0;
    if (!file.commit()) {
        const int error = errno;
        return FileWriteFailure{Stage::Write, error ? systemReason(error) : file.errorString()};
    }
    return std::nullopt;
}

bool exists(const QString& path) {
    QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool removeFile(const QString& path) {
    QFile::remove(path);
    return !QFileInfo::exists(path);
}

QString fileNamePart(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

} // namespace ravik::FileIO
