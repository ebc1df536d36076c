#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "DataFolder.h"

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

}  // namespace
}  // namespace orsan
