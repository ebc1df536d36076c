#include <gtest/gtest.h>
#include <signal.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "ChildProcess.h"
#include "MessageHook.h"
#include "OrsanSensorMonitor.h"
#include "SimProcess.h"

namespace orsan {
namespace {

// Each test gets its own runtime folder, so the lock is private to it.
class SingleInstanceTest : public ::testing::Test {
protected:
    QTemporaryDir runtimeDir;
    QTemporaryDir dataDir;
    QByteArray previousRuntime = qgetenv("XDG_RUNTIME_DIR");

    void SetUp() override {
        QFile::setPermissions(runtimeDir.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toUtf8());
    }
    void TearDown() override { qputenv("XDG_RUNTIME_DIR", previousRuntime); }

    std::unique_ptr<test::ChildProcess> StartFirstInstance() {
        auto first = std::make_unique<test::ChildProcess>(
            test::StationPath(),
            std::vector<std::string>{"--data-dir", dataDir.path().toStdString()});
        EXPECT_TRUE(QTest::qWaitFor([] { return QFileInfo::exists(InstanceLockPath()); }, 20000));
        return first;
    }

    // Runs the start-up sequence in this process; closes its window as soon
    // as one shows. Returns the exit code and whether a window appeared.
    std::pair<int, bool> RunHere() {
        bool windowShown = false;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                windowShown = true;
                modal->close();
            }
        });
        closer.start(50);
        const int code = RunStationWindow(StationPaths{dataDir.path(), dataDir.path()});
        return {code, windowShown};
    }
};

TEST_F(SingleInstanceTest, SecondCopyIsRefusedWhileTheFirstRuns) {
    auto first = StartFirstInstance();
    ScopedMessageHook hook;
    const auto [code, shown] = RunHere();
    EXPECT_EQ(code, 0);
    EXPECT_FALSE(shown);
    EXPECT_EQ(hook.Messages(), QStringList{QString::fromUtf8("程序已经在运行中,请勿重复打开!")});
    // The first copy is untouched.
    EXPECT_FALSE(first->WaitExit(std::chrono::milliseconds(200)).has_value());
}

TEST_F(SingleInstanceTest, LockLeftByACrashDoesNotBlockTheNextStart) {
    auto first = StartFirstInstance();
    first->Signal(SIGKILL);
    ASSERT_TRUE(first->WaitExit(std::chrono::seconds(5)).has_value());
    ASSERT_TRUE(QFileInfo::exists(InstanceLockPath()));  // stale lock still there

    ScopedMessageHook hook;
    const auto [code, shown] = RunHere();
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(shown);
    EXPECT_TRUE(hook.Messages().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(InstanceLockPath()));  // released at shutdown
}

TEST_F(SingleInstanceTest, HeadlessRecorderOnTheDataFolderKeepsTheWindowOut) {
    test::ChildProcess recorder(test::StationPath(), {"--headless", "--record", "--data-dir",
                                                      dataDir.path().toStdString()});
    // Its first line comes after it has taken the folder.
    ASSERT_TRUE(recorder.ReadLine(std::chrono::seconds(20)).has_value());

    ScopedMessageHook hook;
    const auto [code, shown] = RunHere();
    EXPECT_NE(code, 0);
    EXPECT_FALSE(shown);
    ASSERT_EQ(hook.Messages().size(), 1);
    const QString message = hook.Messages().front();
    EXPECT_TRUE(message.contains(QString::fromUtf8("正由另一个记录程序")));
    EXPECT_TRUE(message.contains(QString::number(recorder.Pid()))) << message.toStdString();
    // The window that was refused released its instance lock again.
    EXPECT_FALSE(QFileInfo::exists(InstanceLockPath()));
}

// A lock that cannot be made is not "already running": the message says why.
TEST_F(SingleInstanceTest, LockThatCannotBeMadeIsNamedAsSuch) {
    // A sysfs folder refuses new files even to root.
    if (!QFileInfo(QStringLiteral("/sys/kernel")).isDir()) GTEST_SKIP() << "no sysfs";
    QTemporaryDir blockedRuntime;
    // A folder where the lock file belongs: no lock can be made there.
    ASSERT_TRUE(QDir(blockedRuntime.path()).mkdir(QStringLiteral("KelvaroExt.lock")));
    struct Case {
        const char* name;
        QString runtimeDir;
        QString dataDir;
        QString lockPath;
    };
    const Case cases[] = {
        {"instance lock", blockedRuntime.path(), dataDir.path(),
         blockedRuntime.filePath(QStringLiteral("KelvaroExt.lock"))},
        {"recorder lock", runtimeDir.path(), QStringLiteral("/sys/kernel"),
         QStringLiteral("/sys/kernel/DataRecord.lock")},
    };
    for (const Case& c : cases) {
        qputenv("XDG_RUNTIME_DIR", c.runtimeDir.toUtf8());
        ScopedMessageHook hook;
        const int code = RunStationWindow(StationPaths{c.dataDir, dataDir.path()});
        EXPECT_EQ(code, 1) << c.name;
        ASSERT_EQ(hook.Messages().size(), 1) << c.name;
        const QString message = hook.Messages().front();
        EXPECT_TRUE(message.startsWith(QString::fromUtf8("无法创建锁文件") + c.lockPath))
            << c.name << ": " << message.toStdString();
        EXPECT_FALSE(message.contains(QString::fromUtf8("已经在运行中"))) << c.name;
    }
}

}  // namespace
}  // namespace orsan
