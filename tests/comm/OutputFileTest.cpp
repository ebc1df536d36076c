#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "OutputFile.h"
#include "TempDir.h"

namespace orsan {
namespace {

namespace fs = std::filesystem;

// Each target as the station meets it; what is there afterwards must be what
// was there before (same kind, same inode for devices and FIFOs), with the
// text in it, and nothing else may appear in the folder.
TEST(OutputFile, RegularFilesReplacedWholeEverythingElseWrittenInPlace) {
    test::TempDir dir;
    const std::string fifo = dir.File("pipe"), older = dir.File("older.txt");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::ofstream(older) << "older, longer text";
    ASSERT_EQ(::chmod(older.c_str(), 0640), 0);
    fs::create_symlink(older, dir.File("link.txt"));
    fs::create_directory(dir.File("folder.txt"));
    std::string text;  // more than one buffer's worth
    for (int i = 0; i < 20000; ++i) text += "line " + std::to_string(i) + "\r\n";
    std::string fromFifo;
    std::thread reader([&] { fromFifo = test::ReadWholeFile(fifo); });
    const struct {
        std::string path;
        bool inPlace;
        const char* error;  // nullptr: written
    } cases[] = {
        {dir.File("new.txt"), false, nullptr},
        {older, false, nullptr},
        {dir.File("link.txt"), false, nullptr},
        {"/dev/null", true, nullptr},
        {fifo, true, nullptr},
        {dir.File("folder.txt"), true, "Is a directory"},
        {dir.File("no/such.txt"), false, "No such file or directory"},
    };
    for (const auto& c : cases) {
        struct stat before {
        }, after{};
        const bool existed = ::stat(c.path.c_str(), &before) == 0;
        OutputFile file;
        const bool written = file.Open(c.path) && file.Write(text.substr(0, 7)) &&
                             file.Write(text.substr(7)) && file.Commit();
        EXPECT_EQ(written, c.error == nullptr) << c.path << ": " << file.Error();
        EXPECT_EQ(file.Error(), c.error ? c.error : "") << c.path;
        EXPECT_TRUE(!written || file.InPlace() == c.inPlace) << c.path;
        if (!existed || ::stat(c.path.c_str(), &after) != 0) continue;
        EXPECT_EQ(after.st_mode, before.st_mode) << c.path;
        EXPECT_TRUE(!c.inPlace || after.st_ino == before.st_ino) << c.path;
    }
    reader.join();
    EXPECT_EQ(fromFifo, text);
    for (const char* name : {"new.txt", "older.txt"})
        EXPECT_EQ(test::ReadWholeFile(dir.File(name)), text);
    EXPECT_TRUE(fs::is_symlink(dir.File("link.txt")));
    size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.Path())) ++entries;
    EXPECT_EQ(entries, 5u);  // pipe, older, link, folder, new: no temporary left
}

}  // namespace
}  // namespace orsan
