#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <barrier>
#include <thread>

#include "DataFolder.h"
#include "ProcessLock.h"

namespace orsan {
namespace {

TEST(DataFolderTest, RequestedFolderWinsAndIsCreated) {
    QTemporaryDir dir;
    const QString wanted = dir.filePath("a/b");
    QString error;
    EXPECT_EQ(ResolveDataFolder(wanted, dir.path(), &error), QDir::cleanPath(wanted));
    EXPECT_TRUE(QDir(wanted).exists());
}

TEST(DataFolderTest, FallsBackToPerUserFolderWhenExecutableFolderIsReadOnly) {
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    QTemporaryDir dir;
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    QString error;
    const QString chosen = ResolveDataFolder({}, dir.path(), &error);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_TRUE(chosen.startsWith(home.path())) << chosen.toStdString();
    EXPECT_TRUE(QDir(chosen).exists());
}

// Exports go to the desktop folder, or to the home folder when there is none.
TEST(DataFolderTest, DesktopFolderOrTheHomeFolderWithoutOne) {
    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    QTemporaryDir home;
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.filePath(".config").toUtf8());  // no user-dirs.dirs
    const QString withoutDesktop = ResolveDesktopFolder();
    ASSERT_TRUE(QDir(home.path()).mkdir("Desktop"));
    const QString withDesktop = ResolveDesktopFolder();
    qputenv("HOME", savedHome);
    if (savedConfig.isNull()) {
        qunsetenv("XDG_CONFIG_HOME");
    } else {
        qputenv("XDG_CONFIG_HOME", savedConfig);
    }
    EXPECT_EQ(withoutDesktop, QDir::cleanPath(home.path()));
    EXPECT_EQ(withDesktop, QDir::cleanPath(home.filePath("Desktop")));
}

TEST(DataFolderTest, InstalledProgramKeepsItsFilesPerUser) {
    // Writable for root, yet never the data folder of an installed station.
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    for (const char* folder : {"/usr/bin", "/usr/local/bin/", "/bin", "/usr/sbin"}) {
        QString error;
        const QString chosen = ResolveDataFolder({}, QString::fromLatin1(folder), &error);
        EXPECT_TRUE(chosen.startsWith(home.path())) << folder << " -> " << chosen.toStdString();
    }
    // A writable folder of its own stays the data folder.
    QTemporaryDir own;
    QString error;
    EXPECT_EQ(ResolveDataFolder({}, own.path(), &error), QDir::cleanPath(own.path()));
}

TEST(DataFolderTest, UncreatableFolderIsAnError) {
    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QString error;
    EXPECT_TRUE(ResolveDataFolder(dir.filePath("file/sub"), dir.path(), &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}

// The kernel lock decides: a file no process holds is taken over whatever it
// says (empty, garbled, a pid now another process's); failures say why.
TEST(ProcessLockTest, FileNoProcessHoldsIsTakenOverAndFailuresSayWhy) {
    QTemporaryDir dir;
    QFile file(dir.filePath("DataRecord.lock"));
    for (const QByteArray left : {"", "\x01garbage", "1\n"}) {
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(left) == left.size());
        file.close();
        ProcessLock lock(file.fileName());
        ASSERT_EQ(lock.TryLock(), ProcessLock::Outcome::Held) << left.toStdString();
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll().startsWith(QByteArray::number(::getpid()) + '\n'));
        file.close();
    }
    ProcessLock lock(dir.filePath("missing/DataRecord.lock"));
    EXPECT_EQ(lock.TryLock(), ProcessLock::Outcome::Failed);
    EXPECT_EQ(RecorderLockRefusal(lock, dir.path()),
              QString::fromUtf8("无法创建锁文件%1：文件夹不存在").arg(lock.Path()));
}

// Two lockers at the same instant: one holds, the other is always told who.
TEST(ProcessLockTest, TwoLockersAtOnceAlwaysNameTheHolder) {
    QTemporaryDir dir;
    const QString expected = QString::fromUtf8(
        "数据文件夹/d正由另一个记录程序（进程%1）使用，同一数据文件夹只能有一个记录程序!");
    for (int round = 0; round < 300; ++round) {
        ProcessLock first(dir.filePath("DataRecord.lock"));
        ProcessLock second(first.Path());
        std::barrier start(2);
        std::thread other([&] { start.arrive_and_wait(), second.TryLock(); });
        start.arrive_and_wait();
        const bool firstHolds = first.TryLock() == ProcessLock::Outcome::Held;
        other.join();
        ASSERT_EQ(RecorderLockRefusal(firstHolds ? second : first, "/d"), expected.arg(::getpid()))
            << "round " << round;
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("DataRecord.lock")));  // released, the file goes
}

}  // namespace
}  // namespace orsan
