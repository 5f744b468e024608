#include "TestFiles.h"
#include "TestUsers.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/files/FileIO.h"
#include "core/platform/files/MemoryHints.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

using namespace ravik;
using namespace testfiles;

class FileIOTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_; // a fresh one for every test
    QString path(const QString& name) const { return dir_->filePath(name); }

    template <typename Read> QString openErrorOf(Read read) {
        try {
            read();
        } catch (const EFOpenError& error) {
            return error.message();
        }
        return QStringLiteral("<no error>");
    }

    // "written", or the failed stage and the reason.
    static QByteArray failureReport(const QString& file, const QByteArray& data) {
        const auto failure = FileIO::replaceAtomically(file, data);
        if (!failure)
            return "written";
        const char* stage = failure->stage == FileWriteFailure::Stage::Create ? "create" : "write";
        return stage + QByteArray(": ") + failure->reason.toUtf8();
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }
    void cleanup() { dir_.reset(); }

    void readsAWholeFile() {
        QByteArray bytes(300 * 1024, '\0');
        for (int i = 0; i < bytes.size(); ++i)
            bytes[i] = char(i * 7);
        QVERIFY(writeFile(path("data.bin"), bytes));
        QCOMPARE(FileIO::readAll(path("data.bin")), bytes);
        QCOMPARE(FileIO::readAllIfExists(path("data.bin")).value_or("<missing>"), bytes);
        QVERIFY(writeFile(path("empty"), QByteArray()));
        QCOMPARE(FileIO::readAll(path("empty")), QByteArray());
    }

    // Nothing that is not a file on a disk is read: a read could wait for ever
    // (/proc/kmsg waits for the kernel's next message, a pipe for a writer) or never
    // end. Each is tried in a child that is stopped after a few seconds.
    void refusesWhatIsNotAFileOnADisk_data() {
        QTest::addColumn<QString>("file"); // in the test's directory, or an absolute path
        QTest::newRow("pipe without a writer") << "pipe";
        QTest::newRow("socket") << "socket";
        QTest::newRow("device") << "/dev/null";
        QTest::newRow("procfs, reported as an empty regular file") << "/proc/self/status";
        QTest::newRow("procfs, blocks") << "/proc/kmsg";
        QTest::newRow("sysfs") << "/sys/devices/system/cpu/online";
    }
    void refusesWhatIsNotAFileOnADisk() {
        QFETCH(QString, file);
        if (file.startsWith('/') && !QFileInfo::exists(file))
            QSKIP("this system has no such file");
        QCOMPARE(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0600), 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray socketPath = QFile::encodeName(path("socket"));
        QVERIFY(socketPath.size() < qsizetype(sizeof address.sun_path));
        std::strcpy(address.sun_path, socketPath.constData());
        const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QCOMPARE(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        const QString name = file.startsWith('/') ? file : path(file);
        const QString expected =
            QStringLiteral("Datei %1 kann nicht geöffnet werden. Das ist keine gewöhnliche Datei.").arg(name);
        const int result = testusers::runAs(std::nullopt, 5, [&] {
            const bool all = openErrorOf([&] { FileIO::readAll(name); }) == expected;
            const bool ifExists = openErrorOf([&] { FileIO::readAllIfExists(name); }) == expected;
            const bool blocks = openErrorOf([&] {
                                    FileIO::readInBlocks(name, 4096, [](QByteArrayView) {});
                                }) == expected;
            return all && ifExists && blocks ? 0 : 1;
        });
        ::close(server);
        QCOMPARE(result, 0);
    }

    void missingFile() {
        const QString missing = path("missing.ini");
        const QString message = openErrorOf([&] { FileIO::readAll(missing); });
        QCOMPARE(message, QStringLiteral("Datei %1 kann nicht geöffnet werden. Datei oder "
                                         "Verzeichnis nicht gefunden")
                              .arg(QFileInfo(missing).absoluteFilePath()));
        QVERIFY(!FileIO::readAllIfExists(missing).has_value());
        QVERIFY(writeFile(path("file"), "x"));
        QVERIFY(!FileIO::readAllIfExists(path("file/below.ini")).has_value());
    }

    void refusesDirectoriesAndSpecialFiles() {
        QVERIFY(QDir(dir_->path()).mkdir("sub"));
        QCOMPARE(openErrorOf([&] { FileIO::readAll(path("sub")); }),
                 QStringLiteral("Datei %1 kann nicht geöffnet werden. Ist ein Verzeichnis")
                     .arg(path("sub")));
        QVERIFY(openErrorOf([&] { FileIO::readAllIfExists(path("sub")); }).contains("sub"));
        // A named pipe without a writer would block a plain open for ever.
        QCOMPARE(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0600), 0);
        QVERIFY(openErrorOf([&] {
                    FileIO::readAll(path("pipe"));
                }).contains(QStringLiteral("keine gewöhnliche Datei")));
    }

    // Reasons read the same whatever the locale (the tests run in C.UTF-8, whose
    // texts are English); those a user rarely meets keep the system's words.
    void reasonsAreGerman() {
        QVERIFY(writeFile(path("file"), "x"));
        QVERIFY(QFile::link(path("loop"), path("loop")));
        const struct {
            const char* name;
            const char* reason;
        } cases[] = {{"file/below.ini", "Ein Teil des Pfades ist kein Verzeichnis"},
                     {"loop", "Zu viele Ebenen symbolischer Verknüpfungen"}};
        for (const auto& c : cases)
            QCOMPARE(openErrorOf([&] { FileIO::readAll(path(c.name)); }),
                     QStringLiteral("Datei %1 kann nicht geöffnet werden. %2")
                         .arg(path(c.name), QString::fromUtf8(c.reason)));
        QCOMPARE(systemReason(EXDEV), QString::fromLocal8Bit(std::strerror(EXDEV)));
    }

    // Permission bits bind every user but root: run as an unprivileged user.
    void unreadableFile() {
        QVERIFY(writeFile(path("secret.ini"), "[A]"));
        QVERIFY(QFile::setPermissions(path("secret.ini"), QFileDevice::WriteOwner));
        QVERIFY(handOver(dir_->path()));
        const auto message = runUnprivileged([&] {
            return openErrorOf([&] { FileIO::readAllIfExists(path("secret.ini")); }).toUtf8();
        });
        QVERIFY(message.has_value());
        QCOMPARE(QString::fromUtf8(*message),
                 QStringLiteral("Datei %1 kann nicht geöffnet werden. Keine Berechtigung")
                     .arg(path("secret.ini")));
    }

    void replacesAtomically() {
        const QString file = path("a.ini");
        QVERIFY(!FileIO::replaceAtomically(file, "first").has_value());
        QCOMPARE(readFile(file), QByteArray("first"));
        QVERIFY(!FileIO::replaceAtomically(file, "second, longer").has_value());
        QCOMPARE(readFile(file), QByteArray("second, longer"));
        QCOMPARE(entries(dir_->path()), QStringList{"a.ini"});
        // The temporary file's name stays legal beside the longest name there can be.
        const QString longest(255, 'l');
        QVERIFY(writeFile(path(longest), "old"));
        QCOMPARE(failureReport(path(longest), "new"), QByteArray("written"));
        QCOMPARE(entries(dir_->path()), (QStringList{"a.ini", longest}));
    }

    void writesContentInPieces() {
        const QString file = path("pieces.ini");
        const auto failure = FileIO::replaceAtomically(file, [](const FileIO::PieceWriter& write) {
            write("[A]\r\n");
            write("");
            write("k=v\r\n");
        });
        QVERIFY(!failure.has_value());
        QCOMPARE(readFile(file), QByteArray("[A]\r\nk=v\r\n"));
    }

    void keepsPermissions() {
        const QString file = path("perm.ini");
        QVERIFY(writeFile(file, "old"));
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0640), 0);
        QVERIFY(!FileIO::replaceAtomically(file, "new").has_value());
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0640));
    }

    void followsSymbolicLinks() {
        QVERIFY(writeFile(path("target.ini"), "old"));
        QVERIFY(QFile::link(path("target.ini"), path("link.ini")));
        QVERIFY(!FileIO::replaceAtomically(path("link.ini"), "new").has_value());
        QVERIFY(QFileInfo(path("link.ini")).isSymLink());
        QCOMPARE(readFile(path("target.ini")), QByteArray("new"));
    }

    void failureLeavesTheOldFile_data() {
        QTest::addColumn<int>("pieces");
        QTest::addColumn<int>("pieceSize");
        // Small writes that only the final flush would reach the disk with, too.
        QTest::newRow("one small piece") << 1 << 6000;
        QTest::newRow("many small pieces") << 300 << 20;
        QTest::newRow("one large piece") << 1 << 64 * 1024;
    }
    void failureLeavesTheOldFile() {
        QFETCH(int, pieces);
        QFETCH(int, pieceSize);
        const QString file = path("keep.ini");
        QVERIFY(writeFile(file, "old content"));
        std::optional<FileWriteFailure> failure;
        {
            FileSizeLimit limit(4096);
            failure = FileIO::replaceAtomically(file, [&](const FileIO::PieceWriter& write) {
                for (int i = 0; i < pieces; ++i)
                    write(QByteArray(pieceSize, 'x'));
            });
        }
        QVERIFY(failure.has_value());
        QCOMPARE(failure->stage, FileWriteFailure::Stage::Write);
        QCOMPARE(failure->reason, QStringLiteral("Die Datei ist zu groß"));
        QCOMPARE(readFile(file), QByteArray("old content"));
        QCOMPARE(entries(dir_->path()), QStringList{"keep.ini"});
    }

    void failureOnADirectoryOrABadPath() {
        QVERIFY(QDir(dir_->path()).mkdir("sub"));
        const auto onDirectory = FileIO::replaceAtomically(path("sub"), "x");
        QVERIFY(onDirectory.has_value());
        QCOMPARE(onDirectory->stage, FileWriteFailure::Stage::Create);
        QVERIFY(writeFile(path("plain"), "x"));
        QVERIFY(FileIO::replaceAtomically(path("plain/below.ini"), "x").has_value());
        QCOMPARE(readFile(path("plain")), QByteArray("x"));
    }

    void failureInAReadOnlyDirectory() {
        QVERIFY(QDir(dir_->path()).mkdir("ro"));
        const QString file = path("ro/a.ini");
        QVERIFY(writeFile(file, "old"));
        QVERIFY(handOver(dir_->path()));
        QVERIFY(QFile::setPermissions(path("ro"), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const auto report = runUnprivileged([&] { return failureReport(file, "new"); });
        QCOMPARE(report, std::optional<QByteArray>("create: Keine Berechtigung"));
        QCOMPARE(readFile(file), QByteArray("old"));
        QCOMPARE(entries(path("ro")), QStringList{"a.ini"});
    }

    // Renaming over a file needs only the directory's permission; a read-only file is
    // refused all the same, as an editor writing in place would find it.
    void aReadOnlyFileIsRefused() {
        const QString file = path("ro.ini");
        QVERIFY(writeFile(file, "old"));
        QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadOther));
        QVERIFY(handOver(dir_->path()));
        const auto report = runUnprivileged([&] { return failureReport(file, "new"); });
        QCOMPARE(report, std::optional<QByteArray>("create: Keine Berechtigung"));
        QCOMPARE(readFile(file), QByteArray("old"));
        QCOMPARE(entries(dir_->path()), QStringList{"ro.ini"});
        // Through a link the link's target counts.
        QVERIFY(QFile::link(file, path("link.ini")));
        QVERIFY(handOver(dir_->path()));
        const auto viaLink =
            runUnprivileged([&] { return failureReport(path("link.ini"), "new"); });
        QCOMPARE(viaLink, report);
        QCOMPARE(readFile(file), QByteArray("old"));
    }

    void rootKeepsItsPowerOverReadOnlyFiles() {
        if (!runningAsRoot())
            QSKIP("only root writes files whatever their permission bits say");
        const QString file = path("ro.ini");
        QVERIFY(writeFile(file, "old"));
        QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner));
        QCOMPARE(failureReport(file, "new"), QByteArray("written"));
        QCOMPARE(readFile(file), QByteArray("new"));
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0400)); // still read-only
    }

    // Root saving a user's file leaves it the user's.
    void keepsOwnerAndGroup() {
        if (!runningAsRoot())
            QSKIP("only root can give a file to another user");
        const QString file = path("owned.ini");
        QVERIFY(writeFile(file, "old"));
        QVERIFY(handOver(file));
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0640), 0);
        QCOMPARE(failureReport(file, "new"), QByteArray("written"));
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &info), 0);
        QCOMPARE(info.st_uid, kUnprivilegedId);
        QCOMPARE(info.st_gid, gid_t(kUnprivilegedId));
        QCOMPARE(info.st_mode & 07777, mode_t(0640));
        QCOMPARE(readFile(file), QByteArray("new"));
    }

    // Whoever opens the temporary file before it is complete keeps that access: so it
    // is never more open than the source, from before its first byte on.
    void theTemporaryFileIsNeverMoreOpenThanTheSource_data() {
        QTest::addColumn<bool>("targetExists");
        QTest::newRow("new copy") << false;
        QTest::newRow("over a copy open to all") << true;
    }
    void theTemporaryFileIsNeverMoreOpenThanTheSource() {
        QFETCH(bool, targetExists);
        const QString source = path("secret.ini");
        const QString target = path("secret.ini.bak");
        QVERIFY(writeFile(source, "geheim"));
        QCOMPARE(::chmod(QFile::encodeName(source).constData(), 0600), 0);
        if (targetExists) {
            QVERIFY(writeFile(target, "old"));
            QCOMPARE(::chmod(QFile::encodeName(target).constData(), 0666), 0);
        }
        QStringList openModes; // the files open under this directory, other than those two
        const auto failure = FileIO::replaceAtomically(
            target,
            [&](const FileIO::PieceWriter& write) {
                QDirIterator fds("/proc/self/fd", QDir::Files | QDir::System);
                while (fds.hasNext()) {
                    const QString fd = fds.next();
                    const QString file = QFile::symLinkTarget(fd);
                    struct stat info {};
                    if (file.startsWith(dir_->path()) && file != source && file != target &&
                        ::stat(QFile::encodeName(fd).constData(), &info) == 0 &&
                        S_ISREG(info.st_mode))
                        openModes << QString::number(info.st_mode & 0777, 8);
                }
                write("geheim");
            },
            source);
        QVERIFY(!failure.has_value());
        QCOMPARE(openModes, QStringList{"600"});
        QCOMPARE(readFile(target), QByteArray("geheim"));
    }

    void existsAndRemove() {
        QVERIFY(QDir(dir_->path()).mkdir("sub"));
        QVERIFY(!FileIO::exists(path("sub")));
        QVERIFY(!FileIO::exists(path("none")));
        QVERIFY(writeFile(path("f"), "x"));
        QVERIFY(FileIO::exists(path("f")));
        QVERIFY(FileIO::removeFile(path("f")));
        QVERIFY(!FileIO::exists(path("f")));
        QVERIFY(FileIO::removeFile(path("never-there")));
    }

    void memoryHintLeavesBuffersIntact() {
        MemoryHints::expectLargeFill(nullptr, 1 << 30);
        QByteArray small(100, 'a');
        MemoryHints::expectLargeFill(small.data(), size_t(small.size()));
        QCOMPARE(small, QByteArray(100, 'a'));
        QByteArray large(9 << 20, Qt::Uninitialized);
        MemoryHints::expectLargeFill(large.data() + 1, size_t(large.size() - 1)); // unaligned
        large.fill('z');
        QCOMPARE(large.count('z'), large.size());
    }

    void fileNamePart_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("absolute") << "/a/b/c.ini"
                                  << "c.ini";
        QTest::newRow("bare") << "c.ini"
                              << "c.ini";
        QTest::newRow("trailing slash") << "/a/b/"
                                        << "";
    }
    void fileNamePart() {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(FileIO::fileNamePart(path), name);
    }
};

QTEST_GUILESS_MAIN(FileIOTest)
#include "FileIOTest.moc"
