#include <gtest/gtest.h>

#include <charconv>
#include <cstring>
#include <string>
#include <tuple>

#include "CommandLine.h"
#include "LiveReport.h"
#include "SensorEndpoint.h"

namespace orsan {
namespace {

bool Parse(const QStringList& args, CommandLine& result, QString* error = nullptr) {
    result = CommandLine{};
    return ParseCommandLine(args, result, error);
}

TEST(CommandLineTest, ModesAndTheirOptions) {
    CommandLine c;
    ASSERT_TRUE(Parse({}, c));
    EXPECT_EQ(c.mode, RunMode::Window);

    ASSERT_TRUE(Parse({"--headless", "--record", "--duration", "2.5", "--data-dir", "d"}, c));
    EXPECT_TRUE(c.language.isEmpty());
    EXPECT_EQ(c.mode, RunMode::Headless);
    EXPECT_TRUE(c.record);
    EXPECT_DOUBLE_EQ(c.durationSeconds, 2.5);
    EXPECT_EQ(c.dataDir, "d");

    ASSERT_TRUE(Parse({"--export-sensor", "4", "--out", "x.txt"}, c));
    EXPECT_EQ(c.mode, RunMode::ExportSensor);
    EXPECT_EQ(c.exportSensor, 4);
    EXPECT_EQ(c.outPath, "x.txt");

    ASSERT_TRUE(Parse({"--export-alarms", "--lang", "en", "--out", "a.csv", "--data-dir", "d"}, c));
    EXPECT_EQ(c.language, "en");
    EXPECT_EQ(c.mode, RunMode::ExportAlarms);
    EXPECT_EQ(c.outPath, "a.csv");
    EXPECT_EQ(c.dataDir, "d");

    ASSERT_TRUE(Parse({"--check-config", "--data-dir", "d", "--lang", "en"}, c));
    EXPECT_EQ(c.mode, RunMode::CheckConfig);
    EXPECT_EQ(c.dataDir, "d");

    ASSERT_TRUE(Parse({"--headless", "--help"}, c));
    EXPECT_EQ(c.mode, RunMode::Help);
    ASSERT_TRUE(Parse({"--version"}, c));
    EXPECT_EQ(c.mode, RunMode::Version);
    EXPECT_TRUE(VersionText().startsWith("orsan-monitor 1.")) << VersionText().toStdString();

    ASSERT_TRUE(Parse({"--capture", "127.0.0.2", "--seconds", "10"}, c));
    EXPECT_EQ(c.mode, RunMode::Capture);
    EXPECT_EQ(c.captureAddress, MakeAddress(127, 0, 0, 2));
    EXPECT_EQ(c.captureSeconds, 10);
    EXPECT_FALSE(c.spectrumGiven);
    ASSERT_TRUE(Parse(
        {"--capture", "127.0.0.2", "--seconds", "1", "--spectrum", "vel", "--segment", "8192"}, c));
    EXPECT_TRUE(c.spectrumGiven);
    EXPECT_EQ(c.spectrum, "vel");
    EXPECT_EQ(c.segmentLength, 8192);

    ASSERT_TRUE(
        Parse({"--analyse", "w.txt", "--spectrum", "env", "--out", "-", "--segment", "4096"}, c));
    EXPECT_EQ(c.mode, RunMode::Analyse);
    EXPECT_EQ(c.analysePath, "w.txt");
    EXPECT_EQ(c.spectrum, "env");
    EXPECT_EQ(c.outPath, "-");
    EXPECT_EQ(c.segmentLength, 4096);
    ASSERT_TRUE(Parse({"--analyse", "w.txt"}, c));
    EXPECT_EQ(c.spectrum, "acc");
    EXPECT_EQ(c.segmentLength, 0);

    // --report with a day, and without one (yesterday, resolved when it runs).
    const std::tuple<QStringList, QDate, QString> reports[] = {
        {{"--report", "2024-05-01", "--out", "r.pdf"}, QDate(2024, 5, 1), "r.pdf"},
        {{"--report", "--out", "r.pdf"}, QDate(), "r.pdf"},
        {{"--out", "r.pdf", "--report"}, QDate(), "r.pdf"},
    };
    for (const auto& [args, day, out] : reports) {
        ASSERT_TRUE(Parse(args, c)) << args.join(' ').toStdString();
        EXPECT_EQ(c.mode, RunMode::Report);
        EXPECT_EQ(c.reportDay, day) << args.join(' ').toStdString();
        EXPECT_EQ(c.outPath, out);
    }
}

TEST(CommandLineTest, BadInputIsRefusedWithAReason) {
    const QStringList bad[] = {
        {"--bogus"},
        {"--headless", "--duration"},
        {"--headless", "--duration", "-1"},
        {"--headless", "--duration", "x"},
        {"--export-sensor", "7"},
        {"--export-sensor", "0"},
        {"--capture", "1.2.3"},
        {"--capture", "1.2.3.256", "--seconds", "1"},
        {"--capture", "127.0.0.1"},
        {"--capture", "127.0.0.1", "--seconds", "11"},
        {"--headless", "--export-sensor", "1"},
        {"--record"},
        {"--seconds", "3"},
        {"--headless", "--out", "f"},
        {"--headless", "--wave-port", "1"},
        {"--headless", "stray"},
        {"--capture", "127.0.0.1", "--seconds", "1", "--export-sensor", "1"},
        {"--export-alarms", "--headless"},
        {"--export-alarms", "--export-sensor", "1"},
        {"--export-alarms", "--record"},
        {"--export-alarms", "--seconds", "1"},
        {"--export-alarms", "yes"},
        {"--analyse", "w.txt", "--spectrum", "power"},
        {"--analyse", "w.txt", "--segment", "1000"},
        {"--analyse", "w.txt", "--segment", "4"},
        {"--export-alarms", "--segment", "1024"},
        {"--analyse", "w.txt", "--headless"},
        {"--report", "-2026-01-01"},
        {"--report", "1969-12-31"},
        {"--capture", "127.0.0.1", "--seconds", "1", "--segment", "1024"},
        {"--headless", "--lang", "fr"},
        {"--lang", "zh"},
        {"--lang"},
        {"--report", "01.05.2024"},
        {"--report", "--headless"},
        {"--check-config", "--headless"},
        {"--check-config", "--out", "f"},
        {"--check-config", "--record"},
    };
    for (const QStringList& args : bad) {
        CommandLine c;
        QString error;
        EXPECT_FALSE(Parse(args, c, &error)) << args.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty()) << args.join(' ').toStdString();
    }
}

TEST(LiveReportTest, FloatsReadBackExactly) {
    const float values[] = {0.0f, 25.3f, -2.0f, 653.36f, 0.01f, 65535.0f, 1.0f / 3.0f, 123456.79f};
    for (float v : values) {
        const std::string text = FormatJsonFloat(v);
        float back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        EXPECT_EQ(std::memcmp(&back, &v, sizeof v), 0) << text;
    }
    EXPECT_EQ(FormatJsonFloat(25.3f), "25.3");
}

TEST(LiveReportTest, LineCarriesEverySensorAndSlot) {
    LiveValues values{};
    for (int r = 0; r < kSensorCount; ++r)
        for (int s = 0; s < kLiveSlots; ++s) values[r][s] = float(r * 100 + s);
    std::array<bool, kSensorCount> ok{true, false, true, false, false, true};
    const std::string line = FormatLiveReport(1714552215, 7, values, ok);
    EXPECT_EQ(
        line.rfind(
            "{\"time\":1714552215,\"ms\":7,\"sensors\":[{\"id\":1,\"name\":null,\"ok\":true,", 0),
        0u);
    EXPECT_NE(
        line.find(
            "{\"id\":2,\"name\":null,\"ok\":false,\"T_Shell\":109,\"Acc_X\":100,\"Acc_Y\":103,"
            "\"Acc_Z\":106,\"Vel_X\":101,\"Vel_Y\":104,\"Vel_Z\":107,\"Disp_X\":102,"
            "\"Disp_Y\":105,\"Disp_Z\":108,\"Spectrum_Z\":[110,111,112,113,114,115,"
            "116,117],\"TopOrder_Z\":118,\"TopOrderEnergy_Z\":119,"
            "\"RunningSpeed\":120,\"Zone\":null}"),
        std::string::npos);
    EXPECT_EQ(line.substr(line.size() - 3), "}]}");
    EXPECT_EQ(line.find('\n'), std::string::npos);

    // Zones: a letter where graded, null where not.
    const std::string zoned = FormatLiveReport(1, 0, values, ok, {'A', 0, 'C', 0, 0, 'D'});
    size_t at = 0;
    for (const char* zone : {"\"A\"", "null", "\"C\"", "null", "null", "\"D\""}) {
        at = zoned.find(std::string("\"RunningSpeed\":"), at);
        ASSERT_NE(at, std::string::npos);
        at = zoned.find(",\"Zone\":", at);
        ASSERT_NE(at, std::string::npos);
        EXPECT_EQ(zoned.substr(at + 8, std::strlen(zone) + 1), std::string(zone) + '}');
    }
    // With a server configured the line ends with the rows not yet forwarded
    // and the readings the server held with other values.
    const std::tuple<int64_t, int64_t, const char*> backlogs[] = {
        {0, 0, "}],\"backlog\":0,\"conflicts\":0}"},
        {1234567, 12, "}],\"backlog\":1234567,\"conflicts\":12}"},
        {-1, 0, "}],\"backlog\":null,\"conflicts\":0}"}};
    for (const auto& [backlog, conflicts, ending] : backlogs) {
        const std::string withBacklog =
            FormatLiveReport(1714552215, 7, values, ok, {}, backlog, {}, conflicts);
        EXPECT_EQ(withBacklog.substr(0, line.size() - 1), line.substr(0, line.size() - 1));
        EXPECT_EQ(withBacklog.substr(line.size() - 3), ending);
    }
}

}  // namespace
}  // namespace orsan
