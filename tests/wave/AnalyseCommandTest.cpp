#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <sstream>

#include "AnalyseCommand.h"
#include "OutputFile.h"
#include "TempDir.h"
#include "WaveFile.h"

namespace orsan {
namespace {

// The row of the largest value in column `column` (1 = X) of the CSV rows.
double FrequencyOfLargest(const std::string& csv, int column) {
    std::istringstream lines(csv.substr(csv.find("f_Hz,X,Y,Z\n") + 11));
    std::string line;
    double best = -1, bestFrequency = 0;
    while (std::getline(lines, line)) {
        double values[4];
        std::istringstream fields(line);
        char comma;
        fields >> values[0] >> comma >> values[1] >> comma >> values[2] >> comma >> values[3];
        if (values[column] > best) best = values[column], bestFrequency = values[0];
    }
    return bestFrequency;
}

TEST(AnalyseCommand, ExportedWaveformFileGivesTheSpectrumCsvOfEachAxis) {
    constexpr size_t kCount = 26667;
    std::vector<float> x(kCount), y(kCount), z(kCount, 0.25f);
    for (size_t k = 0; k < kCount; ++k) {
        const double t = double(k) / 26667;
        x[k] = float(0.5 * std::sin(2 * std::numbers::pi * 100 * t));
        y[k] = float(0.2 * std::sin(2 * std::numbers::pi * 250 * t));
    }
    test::TempDir folder;
    const std::string wave =
        WaveFileName(folder.Path().string(), 0x0100007f, "14时05分09秒", "26667.0");
    std::string error;
    ASSERT_TRUE(
        WriteOutputFile(wave, BuildWaveFileText(x.data(), y.data(), z.data(), kCount), error));
    struct Case {
        size_t segment;
        const char* averaging;
        double spacing;
    };
    const Case cases[] = {
        {4096, "Welch, 50 % overlap, 12 segments of 4096 samples", 26667.0 / 4096},
        {0, "none, one segment of 26667 samples", 1},
    };
    const std::string csvPath = folder.File("spectrum.csv");
    std::string csv;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.averaging);
        std::ostringstream out, err;
        ASSERT_EQ(RunAnalyseCommand(wave, SpectrumKind::Velocity, c.segment, csvPath, out, err),
                  kAnalyseOk)
            << err.str();
        EXPECT_EQ(out.str(), csvPath + "\n");
        csv = test::ReadWholeFile(csvPath);
        for (const char* header : {"mm/s", "Hann", c.averaging, "26667.0 Hz", "14时05分09秒",
                                   "# vel_rms_10_1000Hz_mm/s,"}) {
            EXPECT_NE(csv.find(header), std::string::npos) << header;
        }
        EXPECT_NEAR(FrequencyOfLargest(csv, 1), 100, c.spacing);
        EXPECT_NEAR(FrequencyOfLargest(csv, 2), 250, c.spacing);
    }
    // The RMS of each sine; Z's constant 0.25 g is an offset, not vibration.
    const size_t rms = csv.find("# acc_rms_g,");
    ASSERT_NE(rms, std::string::npos);
    std::istringstream row(csv.substr(rms + 12, csv.find('\n', rms) - rms - 12));
    double values[3];
    char comma;
    row >> values[0] >> comma >> values[1] >> comma >> values[2];
    EXPECT_NEAR(values[0], 0.5 / std::sqrt(2.0), 1e-4);
    EXPECT_NEAR(values[1], 0.2 / std::sqrt(2.0), 1e-4);
    EXPECT_EQ(values[2], 0);
}

TEST(AnalyseCommand, FilesItCannotUseAreRefusedWithAReason) {
    test::TempDir folder;
    const std::string dir = folder.Path().string();
    const std::string good = "Acc_X(g)\r\n1 2 3\r\n";
    const struct {
        std::string path;
        std::string content;  // nothing written when empty and the file is "missing"
        const char* says;
    } cases[] = {
        {folder.File("missing.txt"), "", "No such file"},
        {folder.File("wave.txt"), good, "采样率"},
        {WaveFileName(dir, 1, "09时05分41秒", "100.0"), good + "1 x 3\r\n", "不是三个数值"},
        {WaveFileName(dir, 2, "09时05分41秒", "100.0"), good + "1e308 2 3\r\n", "超出范围"},
        {WaveFileName(dir, 3, "09时05分41秒", "100.0"), "", "没有数据"},
        {WaveFileName(dir, 4, "09时05分41秒", "1e300"), good, "采样率"},
        {WaveFileName(dir, 5, "99时99分99秒", "100.0"), good, "时间"},
    };
    std::string error;
    for (const auto& c : cases) {
        if (c.path.find("missing") == std::string::npos) {
            ASSERT_TRUE(WriteOutputFile(c.path, c.content, error));
        }
        std::ostringstream out, err;
        EXPECT_EQ(RunAnalyseCommand(c.path, SpectrumKind::Acceleration, 0, "-", out, err),
                  kAnalyseUnreadable)
            << c.path;
        EXPECT_NE(err.str().find(c.path), std::string::npos) << err.str();
        EXPECT_NE(err.str().find(c.says), std::string::npos) << err.str();
        EXPECT_TRUE(out.str().empty());
    }
}

}  // namespace
}  // namespace orsan
