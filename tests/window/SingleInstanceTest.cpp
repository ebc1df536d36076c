#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ChildProcess.h"
#include "DatabaseLogDlg.h"
#include "MessageHook.h"
#include "OrsanSensorMonitor.h"
#include "OrsanSensorMonitorDlg.h"
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
        // The pid is written only once the lock is held: a file that merely
        // exists may still be up for grabs.
        EXPECT_TRUE(
            QTest::qWaitFor([] { return QFileInfo(InstanceLockPath()).size() > 0; }, 20000));
        return first;
    }

    // Runs the start-up sequence in this process; closes its window as soon
    // as one shows, after `look` saw it. Returns the exit code and whether a
    // window appeared.
    std::pair<int, bool> RunHere(const QString& data = QString(),
                                 const std::function<void(QWidget*)>& look = {}) {
        bool windowShown = false;
        QTimer closer;
        QObject::connect(&closer, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                windowShown = true;
                if (look) look(modal);
                modal->close();
            }
        });
        closer.start(50);
        const int code =
            RunStationWindow(StationPaths{data.isEmpty() ? dataDir.path() : data, dataDir.path()});
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

// The window refuses a data folder another recorder holds, and a lock that
// cannot be made is named as such, never as "already running".
TEST_F(SingleInstanceTest, RefusesAFolderItCannotHold) {
    test::ChildProcess recorder(test::StationPath(), {"--headless", "--record", "--data-dir",
                                                      dataDir.path().toStdString()});
    ASSERT_TRUE(recorder.ReadLine(std::chrono::seconds(20)).has_value());  // folder taken
    QTemporaryDir blocked;
    // A folder where the lock file belongs.
    ASSERT_TRUE(QDir(blocked.path()).mkdir(QStringLiteral("KelvaroExt.lock")));
    const struct {
        QString runtimeDir, dataDir, message;
    } cases[] = {
        {runtimeDir.path(), dataDir.path(),
         QString::fromUtf8("数据文件夹%1正由另一个记录程序（进程%2）使用")
             .arg(dataDir.path(), QString::number(recorder.Pid()))},
        {blocked.path(), dataDir.path(),
         QString::fromUtf8("无法创建锁文件") + blocked.path() + "/KelvaroExt.lock："},
    };
    for (const auto& c : cases) {
        qputenv("XDG_RUNTIME_DIR", c.runtimeDir.toUtf8());
        ScopedMessageHook hook;
        const auto [code, shown] = RunHere(c.dataDir);
        EXPECT_EQ(code, 1) << c.message.toStdString();
        EXPECT_FALSE(shown);
        ASSERT_EQ(hook.Messages().size(), 1);
        EXPECT_TRUE(hook.Messages().front().startsWith(c.message))
            << hook.Messages().front().toStdString();
    }
}

// A data folder the user cannot write opens the window as a viewer. Root
// writes anywhere, so as root the test runs itself as nobody on root's folder.
TEST_F(SingleInstanceTest, UnwritableFolderOpensTheWindowAsAViewer) {
    const QString folder = qEnvironmentVariable("ORSAN_TEST_UNWRITABLE", dataDir.path());
    QFile::setPermissions(dataDir.path(),
                          QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    if (::geteuid() == 0) {
        const auto self = test::AsUnprivileged(
            QCoreApplication::applicationFilePath().toStdString(),
            {"--gtest_filter=SingleInstanceTest.UnwritableFolderOpensTheWindowAsAViewer"});
        if (!self) GTEST_SKIP() << "root without runuser";
        qputenv("ORSAN_TEST_UNWRITABLE", folder.toUtf8());
        test::ChildProcess child(self->program, self->args);
        qunsetenv("ORSAN_TEST_UNWRITABLE");
        std::string output;
        while (auto line = child.ReadLine(std::chrono::seconds(60))) output += *line + '\n';
        EXPECT_EQ(child.WaitExit(std::chrono::seconds(10)), std::optional<int>(0)) << output;
        return;
    }
    const QString notice =
        QString::fromUtf8("数据文件夹 %1 无法写入（没有写入权限），本次只监视和报警，不记录数据。")
            .arg(folder);
    ScopedMessageHook hook;
    bool viewer = false;
    const auto [code, shown] = RunHere(folder, [&](QWidget* modal) {
        DatabaseLogDlg* page = qobject_cast<OrsanSensorMonitorDlg*>(modal)->RecordPage();
        viewer = !page->IsRecording() && page->StatusText() == notice &&
                 !page->findChild<QWidget*>("id1076")->isEnabled();
    });
    QFile::setPermissions(dataDir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(std::tuple(code, shown, viewer), std::tuple(0, true, true));
    EXPECT_EQ(hook.Messages(), QStringList{notice});
}

}  // namespace
}  // namespace orsan
