#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "ChildProcess.h"
#include "SimProcess.h"
#include "TempDir.h"

namespace orsan {
namespace {

using namespace std::chrono_literals;

constexpr char kRefusal[] = "is already recorded by another station";

// One recorder per data folder: whoever holds the folder first, a headless
// recorder started second is refused.
class RecorderLockTest : public ::testing::Test {
protected:
    test::TempDir dataDir{"orsan-lock"};
    test::TempDir runtimeDir{"orsan-lock-runtime"};

    void SetUp() override {
        // The window needs a display and a private runtime folder.
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("XDG_RUNTIME_DIR", runtimeDir.Path().c_str(), 1);
        std::filesystem::permissions(runtimeDir.Path(), std::filesystem::perms::owner_all);
    }

    std::unique_ptr<test::ChildProcess> Start(std::vector<std::string> args,
                                              const std::string& folder) {
        args.insert(args.end(), {"--data-dir", folder});
        return std::make_unique<test::ChildProcess>(test::StationPath(), args,
                                                    test::ChildProcess::Options{true});
    }

    // The lock file appears once the holder has taken the folder.
    bool WaitForLockFile() const {
        const auto lock = dataDir.Path() / "DataRecord.lock";
        for (int i = 0; i < 400 && !std::filesystem::exists(lock); ++i)
            std::this_thread::sleep_for(50ms);
        return std::filesystem::exists(lock);
    }
};

TEST_F(RecorderLockTest, SecondRecorderOnTheSameFolderIsRefused) {
    struct Holder {
        const char* name;
        std::vector<std::string> args;
    };
    const Holder holders[] = {
        {"headless recorder", {"--headless", "--record"}},
        {"station window", {}},
    };
    for (const Holder& holder : holders) {
        auto first = Start(holder.args, dataDir.Path().string());
        ASSERT_TRUE(WaitForLockFile()) << holder.name;

        auto second = Start({"--headless", "--record", "--duration", "5"}, dataDir.Path().string());
        EXPECT_FALSE(second->ReadLine(10s).has_value()) << holder.name;  // no row, no line
        EXPECT_EQ(second->WaitExit(10s), std::optional<int>(1)) << holder.name;
        const std::string err = second->ReadAllStderr();
        EXPECT_NE(err.find(kRefusal), std::string::npos) << holder.name << ": " << err;
        EXPECT_NE(err.find("process " + std::to_string(first->Pid())), std::string::npos) << err;

        // The first goes on; once it has ended, however, the folder is free.
        EXPECT_FALSE(first->WaitExit(100ms).has_value()) << holder.name;
        first->Terminate();
        auto third = Start({"--headless", "--record", "--duration", "1"}, dataDir.Path().string());
        EXPECT_TRUE(third->ReadLine(10s).has_value()) << holder.name;
        EXPECT_EQ(third->WaitExit(10s), std::optional<int>(0)) << holder.name;
    }
}

TEST_F(RecorderLockTest, HeadlessWithoutRecordingTakesNoLock) {
    auto watcher = Start({"--headless"}, dataDir.Path().string());
    ASSERT_TRUE(watcher->ReadLine(10s).has_value());
    auto recorder = Start({"--headless", "--record", "--duration", "1"}, dataDir.Path().string());
    EXPECT_TRUE(recorder->ReadLine(10s).has_value());
    EXPECT_EQ(recorder->WaitExit(10s), std::optional<int>(0));
}

// A folder where no lock file can be made (sysfs refuses new files even to
// root) is reported as such, not as another recorder.
TEST_F(RecorderLockTest, LockThatCannotBeMadeSaysWhy) {
    if (!std::filesystem::is_directory("/sys/kernel")) GTEST_SKIP() << "no sysfs";
    auto recorder = Start({"--headless", "--record", "--duration", "1"}, "/sys/kernel");
    EXPECT_EQ(recorder->WaitExit(10s), std::optional<int>(1));
    const std::string err = recorder->ReadAllStderr();
    EXPECT_NE(err.find("cannot create the lock file /sys/kernel/DataRecord.lock: "),
              std::string::npos)
        << err;
    EXPECT_EQ(err.find(kRefusal), std::string::npos) << err;
}

}  // namespace
}  // namespace orsan
