#include "cli/Dateisperre.h"

#include <QElapsedTimer>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace ravik::cli {

Dateisperre::~Dateisperre() {
    if (fd_ >= 0)
        ::close(fd_);
}

Dateisperre::Ergebnis Dateisperre::sperren(const QString& pfad, bool anlegen, int wartezeitMs) {
    pfad_ = pfad;
    const QByteArray name = QFile::encodeName(pfad);
    QElapsedTimer uhr;
    uhr.start();
    for (;;) {
        int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0 && errno == ENOENT && anlegen) {
            fd = ::open(name.constData(), O_RDONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0)
                angelegt_ = true;
            else if (errno == EEXIST)
                continue; // created by another command just now
        }
        if (fd < 0) {
            if (errno == ENOENT)
                return Ergebnis::Fehlt;
            grund_ = QString::fromLocal8Bit(std::strerror(errno));
            return Ergebnis::Fehler;
        }
        while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            if (errno != EWOULDBLOCK && errno != EINTR) {
                grund_ = QString::fromLocal8Bit(std::strerror(errno));
                ::close(fd);
                return Ergebnis::Fehler;
            }
            if (uhr.elapsed() > wartezeitMs) {
                ::close(fd);
                return Ergebnis::Belegt;
            }
            ::usleep(500);
        }
        // Locked; but the file may have been replaced while we waited.
        struct stat offen {}, jetzt {};
        if (::fstat(fd, &offen) == 0 && ::stat(name.constData(), &jetzt) == 0 &&
            offen.st_dev == jetzt.st_dev && offen.st_ino == jetzt.st_ino) {
            fd_ = fd;
            return Ergebnis::Gesperrt;
        }
        ::close(fd);
        angelegt_ = false;
    }
}

void Dateisperre::verwerfen() {
    if (!angelegt_)
        return;
    struct stat st {};
    const QByteArray name = QFile::encodeName(pfad_);
    if (::stat(name.constData(), &st) == 0 && st.st_size == 0)
        ::unlink(name.constData());
    angelegt_ = false;
}

Dateistand Dateistand::von(const QString& pfad) {
    Dateistand stand;
    struct stat st {};
    if (::stat(QFile::encodeName(pfad).constData(), &st) != 0)
        return stand;
    stand.vorhanden = true;
    stand.geraet = st.st_dev;
    stand.inode = st.st_ino;
    stand.groesse = st.st_size;
    stand.geaendert = st.st_mtim;
    return stand;
}

bool Dateistand::operator==(const Dateistand& b) const {
    return vorhanden == b.vorhanden && geraet == b.geraet && inode == b.inode &&
           groesse == b.groesse && geaendert.tv_sec == b.geaendert.tv_sec &&
           geaendert.tv_nsec == b.geaendert.tv_nsec;
}

} // namespace ravik::cli
