// Saving on a machine with several users: the backup never follows a link planted
// beside the file, owner, group, ACL and attributes stay, a file size limit is a
// reported failure, and nothing that is not a file on a disk is read.
//
// The cases with other users need root to set them up; the saves then run in a child
// that has dropped to those users (see runAs). As an ordinary user they skip, except
// where the user can play every part.
#include "TestFiles.h"
#include "TestUsers.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/files/FileIO.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/acl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

using namespace ravik;
using namespace testfiles;
using namespace testusers;

namespace {

struct stat statOf(const QString& path) {
    struct stat info {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info;
}

bool own(const QString& path, uid_t uid, gid_t gid, mode_t mode) {
    const QByteArray native = QFile::encodeName(path);
    return ::lchown(native.constData(), uid, gid) == 0 && ::chmod(native.constData(), mode) == 0;
}

const Identity kSaverInShare{kSaver, kSaverGroup, {kSaverGroup, kShareGroup}};

} // namespace

class FileSafetyTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path(const QString& name) const { return dir_->filePath(name); }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        QCOMPARE(::chmod(QFile::encodeName(dir_->path()).constData(), 0755), 0);
    }
    void cleanup() { dir_.reset(); }

    // Someone who may write the folder plants t.ini.bak; the saving user may write
    // what it points at. The backup replaces the name, never what it names.
    void theBackupReplacesItsNameNotWhatItNames_data() {
        QTest::addColumn<QString>("plant"); // "link", "dangling link", "hard link"
        QTest::addColumn<bool>("asAnotherUser");
        for (const char* plant : {"link", "dangling link", "hard link"}) {
            QTest::addRow("%s, saved by this user", plant) << QString(plant) << false;
            QTest::addRow("%s, saved by another user", plant) << QString(plant) << true;
        }
    }
    void theBackupReplacesItsNameNotWhatItNames() {
        QFETCH(QString, plant);
        QFETCH(bool, asAnotherUser);
        if (asAnotherUser && !runningAsRoot())
            QSKIP("only root can save as another user; the case runs as this user");
        const uid_t saver = asAnotherUser ? kSaver : ::geteuid();
        const gid_t group = asAnotherUser ? kSaverGroup : ::getegid();
        QVERIFY(QDir(dir_->path()).mkpath("shared") && QDir(dir_->path()).mkpath("victim"));
        QVERIFY(own(path("shared"), ::geteuid(), ::getegid(), 0777));
        QVERIFY(own(path("victim"), saver, group, 0755));
        QVERIFY(writeFile(path("victim/.bashrc"), "victim"));
        QVERIFY(own(path("victim/.bashrc"), saver, group, 0644));
        QVERIFY(writeFile(path("shared/t.ini"), "[A]\nk=1\n"));
        QVERIFY(own(path("shared/t.ini"), saver, group, 0644));
        const QString backup = path("shared/t.ini.bak");
        if (plant == "link")
            QVERIFY(QFile::link(path("victim/.bashrc"), backup));
        else if (plant == "dangling link")
            QVERIFY(QFile::link(path("victim/made-by-ravik"), backup));
        else
            QCOMPARE(::link(QFile::encodeName(path("victim/.bashrc")).constData(),
                            QFile::encodeName(backup).constData()), 0);

        const auto copy = [&] { return FileIO::copyFile(path("shared/t.ini"), backup) ? 1 : 0; };
        const int result = asAnotherUser ? runAs(kSaverInShare, 20, copy) : copy();
        QCOMPARE(result, 0);
        QCOMPARE(readFile(path("victim/.bashrc")), QByteArray("victim"));
        QCOMPARE(entries(path("victim")), QStringList{".bashrc"});
        const struct stat made = statOf(backup);
        QVERIFY(S_ISREG(made.st_mode));
        QCOMPARE(made.st_nlink, nlink_t(1));
        QCOMPARE(made.st_uid, saver);
        QCOMPARE(readFile(backup), QByteArray("[A]\nk=1\n"));
        QCOMPARE(entries(path("shared")), (QStringList{"t.ini", "t.ini.bak"}));
    }

    // A user saves a file in a shared folder; the file and its backup keep owner,
    // group and bits. Where the new file could not be given them, the file is written
    // in place (same inode).
    void ownerGroupAndBitsStay_data() {
        QTest::addColumn<uint>("folderMode");
        QTest::addColumn<uint>("fileUid");
        QTest::addColumn<uint>("fileGid");
        QTest::addColumn<uint>("fileMode");
        QTest::addColumn<bool>("byRoot");
        QTest::addColumn<bool>("inPlace");
        QTest::addColumn<uint>("backupUid");
        QTest::addColumn<uint>("backupGid");
        QTest::addColumn<uint>("backupMode");
        QTest::newRow("another user's file in a group-writable folder")
            << 0775u << uint(kOther) << uint(kShareGroup) << 0660u << false << true
            << uint(kSaver) << uint(kShareGroup) << 0660u;
        QTest::newRow("own file in a setgid folder")
            << 02775u << uint(kSaver) << uint(kSaverGroup) << 0644u << false << false
            << uint(kSaver) << uint(kSaverGroup) << 0644u;
        QTest::newRow("own file of a group the saver is not in")
            << 0775u << uint(kSaver) << uint(kOtherGroup) << 0640u << false << true
            << uint(kSaver) << uint(kSaverGroup) << 0600u;
        QTest::newRow("root saves a user's file in a setgid folder")
            << 02775u << uint(kOther) << uint(kOtherGroup) << 0640u << true << false
            << uint(kOther) << uint(kOtherGroup) << 0640u;
    }
    void ownerGroupAndBitsStay() {
        QFETCH(uint, folderMode);
        QFETCH(uint, fileUid);
        QFETCH(uint, fileGid);
        QFETCH(uint, fileMode);
        QFETCH(bool, byRoot);
        QFETCH(bool, inPlace);
        QFETCH(uint, backupUid);
        QFETCH(uint, backupGid);
        QFETCH(uint, backupMode);
        if (!runningAsRoot())
            QSKIP("only root can make the files of other users and groups");
        QVERIFY(QDir(dir_->path()).mkdir("shared"));
        QVERIFY(own(path("shared"), 0, kShareGroup, folderMode));
        const QString file = path("shared/t.ini");
        QVERIFY(writeFile(file, "old"));
        QVERIFY(own(file, fileUid, fileGid, fileMode));
        const ino_t inode = statOf(file).st_ino;

        const auto save = [&] {
            if (FileIO::copyFile(file, file + ".bak"))
                return 1;
            return FileIO::replaceAtomically(file, QByteArrayView("new")) ? 2 : 0;
        };
        QCOMPARE(byRoot ? save() : runAs(kSaverInShare, 20, save), 0);
        QCOMPARE(readFile(file), QByteArray("new"));
        QCOMPARE(readFile(file + ".bak"), QByteArray("old"));
        const struct stat saved = statOf(file);
        QCOMPARE(saved.st_uid, uid_t(fileUid));
        QCOMPARE(saved.st_gid, gid_t(fileGid));
        QCOMPARE(saved.st_mode & 07777, mode_t(fileMode));
        QCOMPARE(saved.st_ino == inode, inPlace);
        const struct stat backup = statOf(file + ".bak");
        QCOMPARE(backup.st_uid, uid_t(backupUid));
        QCOMPARE(backup.st_gid, gid_t(backupGid));
        QCOMPARE(backup.st_mode & 07777, mode_t(backupMode));
        QCOMPARE(entries(path("shared")), (QStringList{"t.ini", "t.ini.bak"}));
    }

    // A write in place that fails half-way (here: the file size limit) puts the old
    // content back, from the backup or from a private copy that then goes.
    void aFailedWriteInPlaceIsUndone_data() {
        QTest::addColumn<bool>("withBackup");
        QTest::newRow("private copy") << false;
        QTest::newRow("backup") << true;
    }
    void aFailedWriteInPlaceIsUndone() {
        QFETCH(bool, withBackup);
        if (!runningAsRoot())
            QSKIP("only root can make another user's file for the write in place");
        QVERIFY(QDir(dir_->path()).mkdir("shared"));
        QVERIFY(own(path("shared"), 0, kShareGroup, 0775));
        const QString file = path("shared/t.ini");
        const QByteArray old(3000, 'o');
        QVERIFY(writeFile(file, old));
        QVERIFY(own(file, kOther, kShareGroup, 0660));
        const ino_t inode = statOf(file).st_ino;
        const auto save = [&]() -> int {
            FileIO::SaveOptions options;
            if (withBackup) {
                options.copyOfOriginal = file + ".bak";
                if (FileIO::copyFile(file, options.copyOfOriginal))
                    return 1;
            }
            FileSizeLimit limit(4096);
            const auto failure = FileIO::save(
                file, [](const FileIO::PieceWriter& write) { write(QByteArray(10000, 'n')); },
                options);
            if (!failure || failure->stage != FileWriteFailure::Stage::Write)
                return 2;
            return failure->reason == QStringLiteral("Die Datei ist zu groß") ? 0 : 3;
        };
        QCOMPARE(runAs(kSaverInShare, 20, save), 0);
        QCOMPARE(readFile(file), old);
        QCOMPARE(statOf(file).st_ino, inode);
        const QStringList left = withBackup ? QStringList{"t.ini", "t.ini.bak"} : QStringList{"t.ini"};
        QCOMPARE(entries(path("shared")), left);
    }

    // The file replaced and its backup keep the ACL and the extended attributes.
    void aclAndAttributesStay_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("ACL") << "acl";
        QTest::newRow("user attribute") << "xattr";
    }
    void aclAndAttributesStay() {
        QFETCH(QString, kind);
        const QString file = path("t.ini");
        QVERIFY(writeFile(file, "old"));
        const QByteArray native = QFile::encodeName(file);
        const auto aclText = [](const QString& p) {
            acl_t acl = ::acl_get_file(QFile::encodeName(p).constData(), ACL_TYPE_ACCESS);
            char* text = acl ? ::acl_to_text(acl, nullptr) : nullptr;
            const QByteArray result(text ? text : "<none>");
            ::acl_free(text);
            ::acl_free(acl);
            return result;
        };
        const auto attribute = [](const QString& p) {
            char value[64] = {};
            const ssize_t n =
                ::getxattr(QFile::encodeName(p).constData(), "user.ravik", value, sizeof value);
            return n < 0 ? QByteArray("<none>") : QByteArray(value, n);
        };
        QByteArray expected;
        if (kind == "acl") {
            acl_t acl = ::acl_from_text("u::rw-,u:61003:rw-,g::r--,m::rw-,o::---");
            const int set = ::acl_set_file(native.constData(), ACL_TYPE_ACCESS, acl);
            ::acl_free(acl);
            if (set != 0)
                QSKIP("this file system keeps no ACLs");
            expected = aclText(file);
            QVERIFY(expected.contains("user:61003:rw-"));
        } else {
            if (::setxattr(native.constData(), "user.ravik", "wert", 4, 0) != 0)
                QSKIP("this file system keeps no user attributes");
            expected = "wert";
        }
        const auto read = kind == "acl" ? std::function<QByteArray(const QString&)>(aclText)
                                        : std::function<QByteArray(const QString&)>(attribute);
        QVERIFY(!FileIO::copyFile(file, file + ".bak").has_value());
        QVERIFY(!FileIO::replaceAtomically(file, QByteArrayView("new")).has_value());
        QCOMPARE(readFile(file), QByteArray("new"));
        QCOMPARE(read(file), expected);
        QCOMPARE(read(file + ".bak"), expected);
    }

    // Past the file size limit a write fails with EFBIG, and no temporary file is
    // left: for the file and for its backup. The child starts as the program does,
    // with SIGXFSZ as the system sets it, which would end it.
    void theFileSizeLimitIsAReportedFailure_data() {
        QTest::addColumn<bool>("backup");
        QTest::newRow("save") << false;
        QTest::newRow("backup") << true;
    }
    void theFileSizeLimitIsAReportedFailure() {
        QFETCH(bool, backup);
        const QString file = path("t.ini");
        QVERIFY(writeFile(file, QByteArray(10000, 'x')));
        QVERIFY(writeFile(file + ".bak", "old backup"));
        const int result = runAs(std::nullopt, 20, [&] {
            std::signal(SIGXFSZ, SIG_DFL);
            FileIO::failWritesPastTheSizeLimit();
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 4096;
            ::setrlimit(RLIMIT_FSIZE, &limit);
            const auto failure = backup ? FileIO::copyFile(file, file + ".bak")
                                        : FileIO::replaceAtomically(file, QByteArray(10000, 'y'));
            return failure && failure->reason == QStringLiteral("Die Datei ist zu groß") ? 0 : 1;
        });
        QCOMPARE(result, 0);
        QCOMPARE(readFile(file), QByteArray(10000, 'x'));
        QCOMPARE(readFile(file + ".bak"), QByteArray("old backup"));
        QCOMPARE(entries(dir_->path()), (QStringList{"t.ini", "t.ini.bak"}));
    }
};

QTEST_GUILESS_MAIN(FileSafetyTest)
#include "FileSafetyTest.moc"
