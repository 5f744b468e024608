#include "core/platform/files/PrivilegedFile.h"

#include "core/platform/errors/RavikError.h"
#include "helper/Exitcodes.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace ravik::PrivilegedFile {
namespace {

namespace code = systemdatei;

QString pkexec() {
    const QString found = QStandardPaths::findExecutable(QStringLiteral("pkexec"));
    return found.isEmpty() ? QStringLiteral("/usr/bin/pkexec") : found;
}

// The helper's last status line: "ravik-systemdatei: fehler CODE ERRNO DETAIL".
int errorNumber(const QByteArray& errors) {
    const QList<QByteArray> lines = errors.trimmed().split('\n');
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        if (!line->startsWith("ravik-systemdatei: fehler "))
            continue;
        const QList<QByteArray> parts = line->split(' ');
        return parts.size() > 3 ? parts[3].toInt() : 0;
    }
    return 0;
}

QByteArray okHash(const QByteArray& errors) {
    const QList<QByteArray> lines = errors.trimmed().split('\n');
    return !lines.isEmpty() && lines.last().startsWith("ravik-systemdatei: ok ")
               ? lines.last().mid(21).trimmed()
               : QByteArray();
}

QString reasonFor(int exitCode, int error, qint64 limit) {
    switch (exitCode) {
    case 127:
        return QStringLiteral("Nicht autorisiert: Die Administratorrechte wurden nicht erteilt.");
    case code::Usage:
        return QStringLiteral("Das Hilfsprogramm ravik-systemdatei wurde falsch aufgerufen.");
    case code::NotViaPkexec:
        return QStringLiteral("Das Hilfsprogramm ravik-systemdatei läuft nur über pkexec.");
    case code::LinkOnPath:
        return QStringLiteral("Auf dem Weg zur Datei liegt eine symbolische Verknüpfung; mit "
                              "Administratorrechten wird keiner gefolgt.");
    case code::NotRegular:
        return QStringLiteral("Das ist keine gewöhnliche Datei.");
    case code::CallerMayWrite:
        return QStringLiteral("Den Ordner der Datei dürfen Sie selbst beschreiben; dort arbeitet "
                              "Ravik nicht mit Administratorrechten.");
    case code::Changed:
        return QStringLiteral("Die Datei wurde außerhalb von Ravik geändert; es wurde nichts "
                              "geschrieben.");
    case code::TooLarge:
        return QStringLiteral("Die Datei ist größer als %1 MB.").arg(limit / (1024 * 1024));
    case code::ReadFailed:
        return QStringLiteral("Lesen: %1").arg(systemReason(error));
    case code::WriteFailed:
        return QStringLiteral("Schreiben: %1").arg(systemReason(error));
    case code::BackupFailed:
        return QStringLiteral("Sicherheitskopie: %1").arg(systemReason(error));
    default:
        return QStringLiteral("Das Hilfsprogramm ravik-systemdatei endete mit %1.").arg(exitCode);
    }
}

// pkexec is started as a child of this process and waited for: it refuses to serve a
// parent that has gone. Its own text agent is kept out: without the desktop's agent it
// would wait on the terminal for a password the user cannot see.
Outcome run(const QStringList& arguments, const QByteArray& input, qint64 limit) {
    QProcess process;
    process.setProgram(pkexec());
    process.setArguments(QStringList{QStringLiteral("--disable-internal-agent")} + arguments);
    process.start();
    Outcome outcome;
    if (!process.waitForStarted(-1)) {
        outcome.reason = QStringLiteral("pkexec kann nicht gestartet werden (%1).").arg(process.errorString());
        return outcome;
    }
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(-1);
    const QByteArray errors = process.readAllStandardError();
    if (process.exitStatus() != QProcess::NormalExit) {
        outcome.reason = QStringLiteral("Das Hilfsprogramm ravik-systemdatei ist abgebrochen.");
        return outcome;
    }
    const int exitCode = process.exitCode();
    if (exitCode == 126) {
        outcome.status = Outcome::Status::Cancelled;
        return outcome;
    }
    if (exitCode != code::Ok) {
        outcome.reason = reasonFor(exitCode, errorNumber(errors), limit);
        return outcome;
    }
    outcome.status = Outcome::Status::Done;
    outcome.bytes = process.readAllStandardOutput();
    outcome.hash = okHash(errors);
    return outcome;
}

QStringList limitArguments(const Options& options) {
    return {QStringLiteral("--grenze"), QString::number(options.limit)};
}

} // namespace

QString helperPath() {
    const QString name = QStringLiteral("ravik-systemdatei");
    const QString programDir = QCoreApplication::applicationDirPath();
    for (const QString& candidate : {programDir + QLatin1Char('/') + name,
                                     programDir + QStringLiteral("/../libexec/ravik/") + name}) {
        if (QFileInfo(candidate).isExecutable())
            return QFileInfo(candidate).absoluteFilePath();
    }
    return QStringLiteral("/usr/libexec/ravik/") + name;
}

QByteArray hashOf(QByteArrayView bytes) {
    ContentHash hash;
    hash.add(bytes);
    return hash.result();
}

QByteArray hashOfFile(const QString& path) {
    ContentHash hash;
    try {
        FileIO::readInBlocks(path, qsizetype(1) << 16, [&](QByteArrayView block) { hash.add(block); });
    } catch (const std::exception&) {
        return {};
    }
    return hash.result();
}

QString helperTarget(const QString& path) {
    const QString written = FileIO::writtenFile(path);
    return written.isEmpty() ? QFileInfo(path).absoluteFilePath() : written;
}

Outcome read(const QString& path, const Options& options) {
    const QString helper = options.helper.isEmpty() ? helperPath() : options.helper;
    Outcome outcome = run(QStringList{helper, QStringLiteral("lesen"), helperTarget(path)} +
                              limitArguments(options),
                          {}, options.limit);
    if (outcome.status == Outcome::Status::Done && outcome.hash != hashOf(outcome.bytes)) {
        outcome.status = Outcome::Status::Failed;
        outcome.reason = QStringLiteral("Die Datei kam unvollständig an.");
    }
    return outcome;
}

Outcome write(const QString& path, const QByteArray& expectedHash, bool backup,
              const FileIO::ContentProducer& produce, const Options& options) {
    const QString helper = options.helper.isEmpty() ? helperPath() : options.helper;
    QByteArray content;
    produce([&](QByteArrayView piece) { content.append(piece); });
    QStringList arguments{helper, QStringLiteral("schreiben"), helperTarget(path),
                          QString::fromLatin1(expectedHash)};
    if (backup)
        arguments << QStringLiteral("--sicherung");
    Outcome outcome = run(arguments + limitArguments(options), content, options.limit);
    if (outcome.status == Outcome::Status::Done && outcome.hash != hashOf(content)) {
        outcome.status = Outcome::Status::Failed;
        outcome.reason = QStringLiteral("Die Datei wurde nicht vollständig übergeben.");
    }
    outcome.bytes = content;
    return outcome;
}

} // namespace ravik::PrivilegedFile
