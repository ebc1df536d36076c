#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "OutputFile.h"
#include "TempDir.h"

namespace orsan {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// More than one buffer's worth, so the streaming path is exercised too.
std::string LongText() {
    std::string text;
    for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i) + "\r\n";
    return text;
}

TEST(OutputFile, RegularFilesAreReplacedWholeKeepingModeAndLeavingNothingElse) {
    test::TempDir dir;
    const std::string path = dir.File("out.txt");
    const std::string text = LongText();
    struct Step {
        const char* what;
        bool commit;
        std::string expected;
    };
    { std::ofstream(path) << "older"; }
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    const Step steps[] = {
        {"abandoned", false, "older"},
        {"committed", true, text},
    };
    for (const Step& step : steps) {
        OutputFile file;
        ASSERT_TRUE(file.Open(path)) << file.Error();
        EXPECT_FALSE(file.InPlace());
        ASSERT_TRUE(file.Write(text.substr(0, 10)));
        ASSERT_TRUE(file.Write(text.substr(10)));
        if (step.commit) {
            ASSERT_TRUE(file.Commit()) << file.Error();
        }
        file.Cancel();
        EXPECT_EQ(test::ReadWholeFile(path), step.expected) << step.what;
        EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"out.txt"}) << step.what;
    }
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST(OutputFile, ALinkStaysALinkAndItsTargetGetsTheText) {
    test::TempDir dir;
    const std::string target = dir.File("target.txt");
    const std::string link = dir.File("link.txt");
    std::ofstream(target) << "older";
    fs::create_symlink(target, link);
    std::string error;
    ASSERT_TRUE(WriteOutputFile(link, "new", error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::ReadWholeFile(target), "new");
}

TEST(OutputFile, DevicesAndFifosAreWrittenInPlaceAndStayWhatTheyWere) {
    test::TempDir dir;
    const std::string fifo = dir.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string text = LongText();
    std::string received;
    std::thread reader([&] { received = test::ReadWholeFile(fifo); });
    struct Case {
        std::string path;
        bool (*kind)(mode_t);
    };
    const Case cases[] = {
        {"/dev/null", [](mode_t m) { return S_ISCHR(m); }},
        {fifo, [](mode_t m) { return S_ISFIFO(m); }},
    };
    for (const Case& c : cases) {
        struct stat before {
        }, after{};
        ASSERT_EQ(::stat(c.path.c_str(), &before), 0);
        OutputFile file;
        ASSERT_TRUE(file.Open(c.path)) << c.path << ": " << file.Error();
        EXPECT_TRUE(file.InPlace());
        ASSERT_TRUE(file.Write(text));
        ASSERT_TRUE(file.Commit()) << file.Error();
        ASSERT_EQ(::stat(c.path.c_str(), &after), 0);
        EXPECT_TRUE(c.kind(after.st_mode)) << c.path;
        EXPECT_EQ(after.st_ino, before.st_ino) << c.path;
        EXPECT_EQ(after.st_rdev, before.st_rdev) << c.path;
    }
    reader.join();
    EXPECT_EQ(received, text);
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"pipe"});
}

// A directory where the file should go cannot be bypassed even by root.
TEST(OutputFile, ADirectoryInTheWayFailsWithAReasonAndIsLeftAlone) {
    test::TempDir dir;
    const std::string path = dir.File("out.txt");
    fs::create_directory(path);
    std::string error;
    EXPECT_FALSE(WriteOutputFile(path, "text", error));
    EXPECT_EQ(error, std::strerror(EISDIR));
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(Entries(dir.Path()), std::vector<std::string>{"out.txt"});
    EXPECT_FALSE(WriteOutputFile(dir.File("missing/out.txt"), "text", error));
    EXPECT_EQ(error, std::strerror(ENOENT));
}

TEST(OutputFile, DashIsStandardOutputOnlyWhenAsked) {
    test::TempDir dir;
    const std::string captured = dir.File("stdout.txt");
    const int saved = ::dup(STDOUT_FILENO);
    const int sink = ::open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(sink, 0);
    std::fflush(stdout);
    ::dup2(sink, STDOUT_FILENO);
    std::string error;
    const bool written =
        WriteOutputFile("-", "to stdout\n", error, OutputFile::Dash::StandardOutput);
    const bool stillOpen = ::fcntl(STDOUT_FILENO, F_GETFD) != -1;
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    ::close(sink);
    EXPECT_TRUE(written) << error;
    EXPECT_TRUE(stillOpen);  // written to, never closed
    EXPECT_EQ(test::ReadWholeFile(captured), "to stdout\n");

    // Without the flag "-" is an ordinary file name.
    const fs::path cwd = fs::current_path();
    fs::current_path(dir.Path());
    EXPECT_TRUE(WriteOutputFile("-", "a file", error)) << error;
    fs::current_path(cwd);
    EXPECT_EQ(test::ReadWholeFile(dir.File("-")), "a file");
}

}  // namespace
}  // namespace orsan
