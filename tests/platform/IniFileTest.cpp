#include "TestFiles.h"

#include "core/platform/errors/RavikError.h"
#include "core/platform/ini/TIniFile.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/stat.h>

using namespace ravik;
using namespace testfiles;

// TIniFile bound to real paths: when it reads, when it writes, and what happens when
// the file system says no.
class IniFileTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    QString path(const QString& name) const { return dir_->filePath(name); }

    template <typename Action> QString errorOf(Action action) {
        try {
            action();
        } catch (const RavikError& error) {
            return error.message();
        }
        return QStringLiteral("<no error>");
    }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
    }
    void cleanup() { dir_.reset(); }

    void bindingTouchesNoFile() {
        const QString file = path("later.ini");
        TIniFile ini(file);
        QCOMPARE(ini.path(), file);
        // Written after binding: the first read sees it, so nothing was read before.
        QVERIFY(writeFile(file, "[A]\r\nk=v\r\n"));
        QCOMPARE(ini.ReadValue("A", "k", "<default>"), QString("v"));
    }

    void missingFileIsEmptyAndStaysMissing() {
        const QString file = path("missing.ini");
        {
            TIniFile ini(file);
            QStringList list{"stale"};
            ini.ListSections(list);
            QVERIFY(list.isEmpty());
            list = QStringList{"stale"};
            ini.ListKeys("A", list);
            QVERIFY(list.isEmpty());
            QCOMPARE(ini.ReadValue("A", "k", "<default>"), QString("<default>"));
            QVERIFY(!ini.SectionExists("A"));
            QVERIFY(!ini.SectionHasKeys("A"));
            ini.RemoveKey("A", "k");
            ini.RemoveSection("A");
            QVERIFY(!ini.isModified());
            ini.Flush();
        }
        QVERIFY(!QFileInfo::exists(file));
        QCOMPARE(entries(dir_->path()), QStringList());
    }

    void flushCreatesAMissingFileOnlyWhenAsked() {
        const QString file = path("created.ini");
        TIniFile ini(file);
        ini.Flush();
        QVERIFY(!QFileInfo::exists(file));
        ini.Flush(true);
        QVERIFY(QFileInfo::exists(file));
        QCOMPARE(readFile(file), QByteArray());
    }

    void flushWritesANewFile() {
        const QString file = path("new.ini");
        TIniFile ini(file);
        ini.WriteValue("General", "View", "1");
        ini.CreateSection("Color");
        QVERIFY(ini.isModified());
        QVERIFY(!QFileInfo::exists(file)); // nothing before Flush
        ini.Flush();
        QVERIFY(!ini.isModified());
        QCOMPARE(readFile(file), QByteArray("[General]\r\nView=1\r\n[Color]\r\n"));
        QCOMPARE(ini.contents(), readFile(file));
    }

    void flushWritesOnlyWhenSomethingChanged() {
        const QString file = path("a.ini");
        QVERIFY(writeFile(file, "[A]\r\nk=1\r\n"));
        TIniFile ini(file);
        ini.WriteValue("A", "k", "1");
        ini.CreateSection("a");
        // Replaced behind the object's back: a Flush that wrote would bring "k=1" back.
        QVERIFY(writeFile(file, "outside"));
        ini.Flush();
        ini.Flush(true);
        QCOMPARE(readFile(file), QByteArray("outside"));

        ini.WriteValue("A", "k", "2");
        ini.Flush();
        QCOMPARE(readFile(file), QByteArray("[A]\r\nk=2\r\n"));
        QVERIFY(writeFile(file, "outside again"));
        ini.Flush(); // the change was written once; nothing is pending
        QCOMPARE(readFile(file), QByteArray("outside again"));
    }

    void destructionWritesNothing() {
        const QString file = path("a.ini");
        QVERIFY(writeFile(file, "[A]\r\nk=1\r\n"));
        {
            TIniFile ini(file);
            ini.WriteValue("A", "k", "2");
        }
        QCOMPARE(readFile(file), QByteArray("[A]\r\nk=1\r\n"));
    }

    void unreadableThingsRaiseOpenErrors_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("directory") << "directory";
        QTest::newRow("named pipe") << "pipe";
        QTest::newRow("unreadable file") << "unreadable";
    }
    void unreadableThingsRaiseOpenErrors() {
        QFETCH(QString, kind);
        const QString target = path("target.ini");
        if (kind == "directory") {
            QVERIFY(QDir(dir_->path()).mkdir("target.ini"));
        } else if (kind == "pipe") {
            QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
        } else {
            QVERIFY(writeFile(target, "[A]\r\nk=v\r\n"));
            QVERIFY(QFile::setPermissions(target, QFileDevice::WriteOwner));
        }
        // Permission bits bind every user but root: run as an unprivileged user.
        QVERIFY(handOver(dir_->path()));
        const auto errors = runUnprivileged([&] {
            TIniFile ini(target);
            QStringList list;
            return QStringList{errorOf([&] { ini.ListSections(list); }),
                               errorOf([&] { ini.ReadValue("A", "k", ""); }),
                               errorOf([&] { ini.WriteValue("A", "k", "x"); }),
                               ini.isModified() ? "modified" : "unmodified"}
                .join('\n')
                .toUtf8();
        });
        QVERIFY(errors.has_value());
        const QStringList texts = QString::fromUtf8(*errors).split('\n');
        const QString expected = QStringLiteral("Datei %1 kann nicht geöffnet werden. ")
                                     .arg(QFileInfo(target).absoluteFilePath());
        QCOMPARE(texts.size(), 4);
        for (int i = 0; i < 3; ++i)
            QVERIFY2(texts[i].startsWith(expected), qPrintable(texts[i]));
        QCOMPARE(texts[3], QString("unmodified"));
    }

    void pathBelowAPlainFileCannotBeWritten() {
        QVERIFY(writeFile(path("plain"), "x"));
        const QString file = path("plain/a.ini");
        TIniFile ini(file);
        QCOMPARE(ini.ReadValue("A", "k", "<default>"), QString("<default>"));
        ini.WriteValue("A", "k", "v");
        QCOMPARE(errorOf([&] { ini.Flush(); }),
                 QStringLiteral("In %1 kann nicht geschrieben werden").arg(file));
        QVERIFY(ini.isModified()); // still pending: nothing was written
        QCOMPARE(errorOf([&] { ini.Flush(true); }),
                 QStringLiteral("In %1 kann nicht geschrieben werden").arg(file));
        QCOMPARE(readFile(path("plain")), QByteArray("x"));
    }

    void failedWriteLeavesTheOldFile() {
        const QString file = path("keep.ini");
        const QByteArray old("[A]\r\nk=old\r\n");
        QVERIFY(writeFile(file, old));
        TIniFile ini(file);
        ini.WriteValue("A", "k", QString(200 * 1024, 'x'));
        QString message;
        {
            FileSizeLimit limit(64 * 1024); // the new file cannot be written whole
            message = errorOf([&] { ini.Flush(); });
        }
        QCOMPARE(message, QStringLiteral("In %1 kann nicht geschrieben werden").arg(file));
        QCOMPARE(readFile(file), old);
        QCOMPARE(entries(dir_->path()), QStringList{"keep.ini"});
        QVERIFY(ini.isModified());
        ini.Flush(); // possible again once the disk has room
        QCOMPARE(readFile(file), "[A]\r\nk=" + QByteArray(200 * 1024, 'x') + "\r\n");
    }

    void readOnlyDirectoryAndReadOnlyFile_data() {
        QTest::addColumn<bool>("readOnlyFile");
        QTest::newRow("directory without write permission") << false;
        QTest::newRow("read-only file") << true;
    }
    // Permission bits bind every user but root: run as an unprivileged user.
    void readOnlyDirectoryAndReadOnlyFile() {
        QFETCH(bool, readOnlyFile);
        QVERIFY(QDir(dir_->path()).mkdir("ro"));
        const QString file = path("ro/a.ini");
        QVERIFY(writeFile(file, "[A]\r\nk=old\r\n"));
        QVERIFY(handOver(dir_->path()));
        QVERIFY(QFile::setPermissions(readOnlyFile ? file : path("ro"),
                                      QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const auto message = runUnprivileged([&] {
            TIniFile ini(file);
            ini.WriteValue("A", "k", "new");
            return errorOf([&] { ini.Flush(); }).toUtf8();
        });
        QCOMPARE(message,
                 std::optional<QByteArray>(
                     QStringLiteral("In %1 kann nicht geschrieben werden").arg(file).toUtf8()));
        QCOMPARE(readFile(file), QByteArray("[A]\r\nk=old\r\n"));
        QCOMPARE(entries(path("ro")), QStringList{"a.ini"});
    }

    void symbolicLinkFollowedAndKept() {
        QVERIFY(QDir(dir_->path()).mkdir("real"));
        const QString target = path("real/settings.ini");
        const QString link = path("link.ini");
        QVERIFY(writeFile(target, "[A]\nk=1\n"));
        QVERIFY(QFile::link(target, link));
        TIniFile ini(link);
        QCOMPARE(ini.ReadValue("A", "k", ""), QString("1"));
        ini.WriteValue("A", "k", "2");
        ini.Flush();
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(QFileInfo(link).symLinkTarget(), target);
        QCOMPARE(readFile(target), QByteArray("[A]\nk=2\n"));
        QCOMPARE(entries(path("real")), QStringList{"settings.ini"});
    }

    void linkToAMissingFileCreatesItsTarget() {
        QVERIFY(QDir(dir_->path()).mkdir("real"));
        const QString target = path("real/new.ini");
        const QString link = path("link.ini");
        QVERIFY(QFile::link(target, link));
        TIniFile ini(link);
        QCOMPARE(ini.ReadValue("A", "k", "<default>"), QString("<default>"));
        ini.WriteValue("A", "k", "v");
        ini.Flush();
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readFile(target), QByteArray("[A]\r\nk=v\r\n"));
    }

    void permissionsKept() {
        const QString file = path("mode.ini");
        QVERIFY(writeFile(file, "[A]\nk=1\n"));
        QCOMPARE(::chmod(QFile::encodeName(file).constData(), 0604), 0);
        TIniFile ini(file);
        ini.WriteValue("A", "k", "2");
        ini.Flush();
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(file).constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0604));
        QCOMPARE(readFile(file), QByteArray("[A]\nk=2\n"));
    }

    void listsAreClearedFirst() {
        const QString file = path("a.ini");
        QVERIFY(writeFile(file, "[A]\nk=1\nj=2\n[B]\n"));
        TIniFile ini(file);
        QStringList list{"old"};
        ini.ListSections(list);
        QCOMPARE(list, (QStringList{"A", "B"}));
        ini.ListKeys("a", list);
        QCOMPARE(list, (QStringList{"k", "j"}));
        ini.ListKeys("B", list);
        QVERIFY(list.isEmpty());
        QVERIFY(ini.SectionExists("B"));
        QVERIFY(!ini.SectionHasKeys("B"));
        QVERIFY(ini.SectionHasKeys("A"));
    }

    void defaultsForMissingEntries() {
        const QString file = path("a.ini");
        QVERIFY(writeFile(file, "[A]\nk=\n"));
        TIniFile ini(file);
        QCOMPARE(ini.ReadValue("A", "k", "<default>"), QString()); // present but empty
        QCOMPARE(ini.ReadValue("A", "j", "<default>"), QString("<default>"));
        QCOMPARE(ini.ReadValue("B", "k", "<default>"), QString("<default>"));
    }
};

QTEST_GUILESS_MAIN(IniFileTest)
#include "IniFileTest.moc"
