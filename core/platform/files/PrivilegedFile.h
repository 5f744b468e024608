#pragma once

#include "core/platform/files/FileIO.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QString>

// Reading and saving a file the user may not read or write, through the program's
// helper ravik-systemdatei, which pkexec runs as root once polkit allows it (the
// desktop's agent asks for the password). Each call is one pkexec run and one prompt.
namespace ravik::PrivilegedFile {

struct Outcome {
    enum class Status { Done, Cancelled, Failed };
    Status status = Status::Failed;
    QString reason;   // German, for Failed
    QByteArray bytes; // the file's bytes, after reading
    QByteArray hash;  // SHA-256 (hex) of the bytes read or written
};

struct Options {
    QString helper;                              // empty: helperPath()
    qint64 limit = qint64(512) * 1024 * 1024;    // the most bytes read or written
};

// The helper beside the running program (a build tree), else where it is installed
// beside the program's prefix (../libexec/ravik), else /usr/libexec/ravik.
QString helperPath();

// The hash the helper compares: SHA-256 in lowercase hex.
QByteArray hashOf(QByteArrayView bytes);
// The same over bytes that arrive in blocks.
class ContentHash {
public:
    void add(QByteArrayView bytes) { hash_.addData(bytes); }
    QByteArray result() const { return hash_.result().toHex(); }

private:
    QCryptographicHash hash_{QCryptographicHash::Sha256};
};
// The same for the file at path as it is now; empty when it cannot be read.
QByteArray hashOfFile(const QString& path);

// The path as the helper takes it: absolute, with the symbolic links the user can see
// resolved (the helper itself follows none).
QString helperTarget(const QString& path);

Outcome read(const QString& path, const Options& options = {});

// Replaces the file with what produce gives, if it still has the hash expectedHash
// ("neu": it must not exist yet), after its backup "<file>.bak" when asked for.
Outcome write(const QString& path, const QByteArray& expectedHash, bool backup,
              const FileIO::ContentProducer& produce, const Options& options = {});

} // namespace ravik::PrivilegedFile
