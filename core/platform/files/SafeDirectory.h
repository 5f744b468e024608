#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include <sys/stat.h>

namespace ravik {

// A folder of the program's own (state, settings), opened once and then worked on only
// through its descriptor, so that nobody can swap a link in between a check and a use.
// The folder itself must be a real directory (not a symbolic link) owned by the
// effective user; the files in it are never followed when they are links. Folders
// above it are taken as the path names them: they are the user's own layout.
//
// Every failure carries its reason in German, ready to be shown.
class SafeDirectory {
public:
    enum class Create { No, Yes };

    // Opens the folder. With Create::Yes a missing folder is made, and missing folders
    // above it, each with `mode` (0700: readable by the user alone), but only beneath a
    // folder that belongs to the user or to root: nothing is ever made in another
    // user's folder. Never throws; see usable() and reason().
    static SafeDirectory open(const QString& path, Create create, mode_t mode = 0700);

    SafeDirectory() = default;
    SafeDirectory(SafeDirectory&& other) noexcept;
    SafeDirectory& operator=(SafeDirectory&& other) noexcept;
    SafeDirectory(const SafeDirectory&) = delete;
    SafeDirectory& operator=(const SafeDirectory&) = delete;
    ~SafeDirectory();

    bool usable() const { return fd_ >= 0; }
    // Why the folder is not used: a whole German sentence. Empty when it is.
    const QString& reason() const { return reason_; }
    bool missing() const { return missing_; } // not there, and not to be made
    // Refused as a link or as another user's (rather than failed as the system said).
    bool unsafe() const { return unsafe_; }
    const QString& path() const { return path_; }
    QString filePath(const QString& name) const;
    int descriptor() const { return fd_; }

    // Takes the rights of group and others from the folder.
    void restrictToOwner() const;

    // Opens a file in the folder; a link there is never followed (fails with ELOOP).
    // Returns the descriptor, or -1 with errno set.
    int openFile(const QString& name, int flags, mode_t mode = 0600) const;

    // The entry itself (a link is described, not followed); nullopt when there is none.
    std::optional<struct stat> entry(const QString& name) const;
    QStringList entries() const;
    bool remove(const QString& name) const;             // true when it is gone afterwards
    bool rename(const QString& from, const QString& to) const; // errno set when false
    bool renameInto(const QString& from, const SafeDirectory& target, const QString& to) const;

    // Why the entry `name` may not be read or replaced (a link, not a regular file,
    // another user's file); empty when it may, or when there is none. `unsafe` tells
    // whether it is a link or another user's.
    QString refusal(const QString& name, bool* unsafe = nullptr) const;

    // Reads a regular file of the user's own. nullopt when there is none; a refused or
    // unreadable file sets `failure` to the German reason and gives nullopt too.
    std::optional<QByteArray> readFile(const QString& name, QString* failure) const;

    // Replaces (or creates) the file atomically: a new file beside it, written,
    // flushed to disk and renamed over it. It keeps the permission bits of the file it
    // replaces; a new one gets `newMode` as the process mask allows. A link, a foreign
    // or non-regular file in its place is refused. On failure nothing is left behind
    // and the German reason is returned.
    using PieceWriter = std::function<void(QByteArrayView piece)>;
    using ContentProducer = std::function<void(const PieceWriter& write)>;
    std::optional<QString> replaceFile(const QString& name, const ContentProducer& produce,
                                       mode_t newMode = 0666) const;

private:
    explicit SafeDirectory(QString path) : path_(std::move(path)) {}
    static SafeDirectory refused(const QString& path, const QString& reason, bool unsafe = false);

    QString path_;
    QString reason_;
    bool missing_ = false;
    bool unsafe_ = false;
    int fd_ = -1;
};

// Writes all of data to fd, going on after short writes and interruptions. False with
// errno set when it fails (a full disk, EFBIG beyond the file-size limit).
bool writeFully(int fd, QByteArrayView data);

} // namespace ravik
