#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "SimProcess.h"
#include "TempDir.h"

namespace orsan {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::string Contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Every command that writes a file refuses a --out that is one of the data
// folder's own files, however it is spelled, and leaves that file as it was.
TEST(OwnFilesTest, NoOutputReplacesTheDataFoldersOwnFiles) {
    test::TempDir folder{"orsan-ownfiles"};
    const fs::path dir = folder.Path();
    // A recorder run makes the database; the INI files and the lock are stand-ins.
    ASSERT_EQ(test::ChildProcess(test::StationPath(), {"--headless", "--record", "--duration", "1",
                                                       "--data-dir", dir.string()})
                  .WaitExit(15s),
              std::optional<int>(0));
    for (const char* name : {"Config.ini", "Alarm.ini", "DataRecord.lock"})
        std::ofstream(dir / name) << "[DAQ]\nINTERVAL=1.0\n";
    fs::create_directory(dir / "sub");
    fs::create_symlink(dir / "DataRecord.db", dir / "link.txt");
    const std::string waveFile = (dir / "wave.txt").string();
    std::ofstream(waveFile) << "";

    const std::vector<std::string> targets{
        (dir / "DataRecord.db").string(),     (dir / "sub/../Config.ini").string(),
        (dir / "Alarm.ini").string(),         (dir / "DataRecord.lock").string(),
        (dir / "DataRecord.db-wal").string(), (dir / "link.txt").string()};
    const std::vector<std::vector<std::string>> commands{
        {"--export-sensor", "1"}, {"--export-sensor", "1", "--format", "csv"},
        {"--export-alarms"},      {"--report", "2026-01-01"},
        {"--analyse", waveFile},  {"--capture", "127.0.0.1", "--seconds", "1", "--wave-port", "1"}};
    for (const std::string& target : targets) {
        const fs::path real = fs::weakly_canonical(target);
        const bool existed = fs::exists(real);
        const std::string before = existed ? Contents(real) : std::string();
        for (std::vector<std::string> args : commands) {
            args.insert(args.end(), {"--out", target, "--data-dir", dir.string()});
            test::ChildProcess child(test::StationPath(), args, test::ChildProcess::Options{true});
            EXPECT_EQ(child.WaitExit(15s), std::optional<int>(1)) << args.front() << ' ' << target;
            EXPECT_NE(child.ReadAllStderr().find(target), std::string::npos);
            EXPECT_EQ(fs::exists(real), existed) << target;
            if (existed) {
                EXPECT_EQ(Contents(real), before) << args.front() << " " << target;
            }
        }
    }
    // Another file in the same folder is still a good target.
    const std::string other = (dir / "alarms.csv").string();
    EXPECT_EQ(test::ChildProcess(test::StationPath(),
                                 {"--export-alarms", "--out", other, "--data-dir", dir.string()})
                  .WaitExit(15s),
              std::optional<int>(0));
    EXPECT_TRUE(fs::exists(other));
}

// A lock file that is a link is refused, and what it points at stays as it was.
TEST(OwnFilesTest, ALockThatIsALinkIsRefusedAndItsTargetKept) {
    test::TempDir folder{"orsan-locklink"};
    const fs::path dir = folder.Path();
    std::ofstream(dir / "precious.txt") << "keep me\n";
    fs::create_symlink(dir / "precious.txt", dir / "DataRecord.lock");
    test::ChildProcess station(
        test::StationPath(),
        {"--headless", "--record", "--duration", "1", "--data-dir", dir.string()},
        test::ChildProcess::Options{true});
    EXPECT_EQ(station.WaitExit(15s), std::optional<int>(1));
    EXPECT_NE(station.ReadAllStderr().find("DataRecord.lock"), std::string::npos);
    EXPECT_EQ(Contents(dir / "precious.txt"), "keep me\n");
    EXPECT_TRUE(fs::is_symlink(dir / "DataRecord.lock"));
}

// A run with no sensor to poll names its data folder and says why, with and without Config.ini.
TEST(OwnFilesTest, AFolderWithoutSensorsSaysSo) {
    test::TempDir folder{"orsan-nosensor"};
    const fs::path dir = folder.Path();
    for (const char* says : {"没有 Config.ini", "没有配置任何传感器地址"}) {
        test::ChildProcess station(test::StationPath(),
                                   {"--headless", "--duration", "0.5", "--data-dir", dir.string()},
                                   test::ChildProcess::Options{true});
        EXPECT_EQ(station.WaitExit(15s), std::optional<int>(0));
        const std::string err = station.ReadAllStderr();
        EXPECT_NE(err.find(dir.string()), std::string::npos) << err;
        EXPECT_NE(err.find(says), std::string::npos) << err;
        std::ofstream(dir / "Config.ini") << "[DAQ]\nINTERVAL=1.0\n";
    }
}

// Watching a folder that cannot be written keeps no alarm events and says so
// in one line, not in the database engine's words. Root writes anywhere, so
// root runs the station as nobody.
TEST(OwnFilesTest, AFolderThatCannotBeWrittenSaysSoInOneLine) {
    test::TempDir folder{"orsan-readonly"};
    const fs::path dir = folder.Path();
    std::ofstream(dir / "Config.ini") << "[DAQ]\nINTERVAL=1.0\n";
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                             fs::perms::others_exec);
    const auto run = test::AsUnprivileged(
        test::StationPath(), {"--headless", "--duration", "0.5", "--data-dir", dir.string()});
    if (!run) GTEST_SKIP() << "root without runuser";
    test::ChildProcess station(run->program, run->args, test::ChildProcess::Options{true});
    EXPECT_EQ(station.WaitExit(15s), std::optional<int>(0));
    const std::string err = station.ReadAllStderr();
    fs::permissions(dir, fs::perms::owner_all);
    EXPECT_NE(err.find(dir.string() + "无法写入"), std::string::npos) << err;
    EXPECT_EQ(err.find("错误"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(dir / "DataRecord.db"));
}

}  // namespace
}  // namespace orsan
