#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "OutputFile.h"
#include "SensorEndpoint.h"
#include "TempDir.h"
#include "WaveChartMath.h"
#include "WaveFile.h"
#include "WaveTestData.h"

namespace orsan {
namespace {

namespace fs = std::filesystem;

// The file text built from KnownSamples(n), split into its three columns.
std::string KnownFileText(size_t n) {
    const std::vector<float> xyz = test::KnownSamples(n);
    std::vector<float> x, y, z;
    for (size_t i = 0; i < n; ++i) {
        x.push_back(xyz[3 * i]);
        y.push_back(xyz[3 * i + 1]);
        z.push_back(xyz[3 * i + 2]);
    }
    return BuildWaveFileText(x.data(), y.data(), z.data(), n);
}

TEST(WaveValueText, GeneralNotationWithThreeDigitExponent) {
    for (const auto& [value, text] : test::KnownValueTexts())
        EXPECT_EQ(FormatWaveValue(value), text) << value;
}

TEST(WaveFileText, TwoPacketsGiveHeader232LinesAndEmptyLine) {
    const size_t n = 232;
    const std::string text = KnownFileText(n);
    EXPECT_EQ(text, test::ExpectedWaveFile(n));
    // header + samples + the empty line, every one ended by CR LF
    size_t lines = 0;
    for (size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", p + 2))
        ++lines;
    EXPECT_EQ(lines, n + 2);
    EXPECT_EQ(text.substr(0, 47), "Acc_X(g)       Acc_Y(g)       Acc_Z(g)       \r\n");
    EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
}

TEST(WaveFileText, NoSamplesStillHasHeaderAndEmptyLine) {
    EXPECT_EQ(BuildWaveFileText(nullptr, nullptr, nullptr, 0), test::ExpectedWaveFile(0));
}

// A Qt application takes the user's locale at start-up; one with a decimal
// comma must not change a single byte of the file or a label.
TEST(WaveFileText, SameBytesUnderALocaleWithADecimalComma) {
    test::TempDir folder;
    const fs::path compiled = folder.Path() / "de_DE.UTF-8";
    const std::string build =
        "localedef -i de_DE -f UTF-8 '" + compiled.string() + "' >/dev/null 2>&1";
    [[maybe_unused]] const int built = std::system(build.c_str());
    if (!fs::exists(compiled)) GTEST_SKIP() << "localedef cannot build a de_DE locale here";
    const char* oldPath = std::getenv("LOCPATH");
    const std::string savedPath = oldPath ? oldPath : "";
    ::setenv("LOCPATH", folder.Path().c_str(), 1);
    const bool switched = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    char probe[16];
    std::snprintf(probe, sizeof probe, "%g", 0.5);

    const size_t n = 40;
    const std::string text = KnownFileText(n);
    const std::string rate = FormatWaveRate(512.5f);
    const std::string label = FormatAxisLabel(0.1f, 0.1f);
    const std::string cursor = FormatCursorValue(-0.25f);

    std::setlocale(LC_ALL, "C");
    if (oldPath)
        ::setenv("LOCPATH", savedPath.c_str(), 1);
    else
        ::unsetenv("LOCPATH");
    ASSERT_TRUE(switched);
    ASSERT_EQ(std::string(probe), "0,5");  // the locale really has a decimal comma
    EXPECT_EQ(text, test::ExpectedWaveFile(n));
    EXPECT_EQ(rate, "512.5");
    EXPECT_EQ(label, "0.10");
    EXPECT_EQ(cursor, "-0.25 ");
}

TEST(WaveFileName, HoldsAddressStartTimeAndRate) {
    EXPECT_EQ(
        WaveFileName("/home/op/Desktop", MakeAddress(192, 168, 1, 10), "14时05分09秒", "26667.0"),
        "/home/op/Desktop/传感器[192.168.1.10]时间14时05分09秒采样率26667.0Hz.txt");
    EXPECT_EQ(FormatWaveRate(512.5f), "512.5");
    EXPECT_EQ(FormatWaveRate(26666.96f), "26667.0");
}

TEST(WaveFileName, StartTimeIsLocalHoursMinutesSeconds) {
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    // 2024-03-01 14:05:09 UTC
    EXPECT_EQ(FormatWaveStartTime(1709301909), "14时05分09秒");
    ::setenv("TZ", "Asia/Shanghai", 1);
    ::tzset();
    EXPECT_EQ(FormatWaveStartTime(1709301909), "22时05分09秒");
    if (old)
        ::setenv("TZ", saved.c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

TEST(WaveFileWrite, ReplacesTheFileWholeAndLeavesNoTemporary) {
    test::TempDir folder;
    const fs::path path = folder.Path() / "传感器[127.0.0.1]时间01时02分03秒采样率26667.0Hz.txt";
    { std::ofstream(path) << "an older, longer file that must disappear completely\n"; }
    std::string error;
    ASSERT_TRUE(WriteOutputFile(path.string(), "abc\r\n\r\n", error)) << error;
    EXPECT_EQ(test::ReadWholeFile(path), "abc\r\n\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

TEST(WaveFileWrite, FailureSaysWhyAndCreatesNothing) {
    test::TempDir folder;
    const fs::path path = folder.Path() / "missing-folder" / "wave.txt";
    std::string error;
    EXPECT_FALSE(WriteOutputFile(path.string(), "abc", error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(path));
}

}  // namespace
}  // namespace orsan
