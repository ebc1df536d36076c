#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <chrono>

#include "AlarmStore.h"
#include "ChildProcess.h"
#include "DailyReport.h"
#include "RecordDatabase.h"
#include "SimProcess.h"
#include "StationConfig.h"
#include "TempDir.h"

namespace orsan {
namespace {

using namespace std::chrono_literals;

const QDate kDay(2024, 5, 1);
// Local midnights in the tests' zone (UTC+8).
const qint64 kStartMs = 1714492800000;  // 2024-05-01 00:00
const qint64 kEndMs = kStartMs + 86400000;

// One row of sensor 1: its time, freshness, temperature and the three velocities.
struct Reading {
    qint64 ms;
    bool fresh;
    float temperature;
    float vx, vy, vz;
};

// Class 2R: A up to 1.4, B up to 2.8, C up to 4.5 mm/s. The rows next to
// midnight share their stretches with the day; the stale 9.9 between two B
// readings neither splits their stretch nor counts; the stretch from +4 s to
// the evening is far beyond the gap rule (3 s from the 1 s spacing).
const Reading kRows[] = {
    {kStartMs - 2000, true, 90, 9, 9, 9},     // before the day: only a neighbour
    {kStartMs - 1000, true, 80, 6, 1, 1},     // D: 1 s of its 2 s stretch is the day's
    {kStartMs + 1000, true, 20, 1.0f, 0.5f, 0.2f},  // A
    {kStartMs + 2000, true, 21, 0.1f, 2.0f, 0.2f},  // B
    {kStartMs + 3000, false, 99, 9.9f, 9.9f, 9.9f},
    {kStartMs + 4000, true, 22, 0.1f, 0.2f, 2.5f},  // B
    {kEndMs - 2000, true, 23, 3.5f, 0.1f, 0.1f},    // C
    {kEndMs - 1000, true, 24, 0.1f, 4.0f, 0.1f},    // C: 1 s to midnight
    {kEndMs + 1000, true, 70, 8, 8, 8},       // after the day: only a neighbour
};

// Stretches at their limits, on a day of 100 s with a 2 s gap rule:
// readings of zone A (0.5 mm/s) unless a case says otherwise.
TEST(DayTallyTest, StretchesCountUpToTheGapOnceEachAndOnlyForGradedReadings) {
    const float nan = std::nanf("");
    struct Row {
        qint64 ms;
        float velocity;
    };
    struct Case {
        const char* name;
        std::vector<Row> rows;
        double a;
    };
    const Case cases[] = {
        {"a stretch as long as the gap counts", {{10000, 0.5f}, {12000, 0.5f}}, 2.0},
        {"one millisecond longer does not", {{10000, 0.5f}, {12001, 0.5f}}, 0.0},
        {"a row stamped earlier counts no time twice",
         {{10000, 0.5f}, {11000, 0.5f}, {10500, 0.5f}, {12000, 0.5f}}, 2.0},
        {"a reading without any velocity is none", {{10000, 0.5f}, {11000, nan}, {13000, 0.5f}},
         0.0},
        {"the last reading of the day has no end", {{99000, 0.5f}}, 0.0},
    };
    for (const Case& c : cases) {
        DayTally tally(0, 100000, ZoneThresholds({1, 2, 3}));
        for (const Row& r : c.rows) tally.Add(r.ms, true, {20, 0, 0, 0, r.velocity, nan, nan});
        const DayStatistics stats = tally.Result(2.0);
        EXPECT_EQ(stats.zoneSeconds[0], c.a) << c.name;
        EXPECT_EQ(stats.ZonedSeconds(), c.a) << c.name;
    }
}

class DailyReportTest : public ::testing::Test {
protected:
    test::TempDir dir{"orsan-report"};
    QString folder = QString::fromStdString(dir.Path().string());

    void SetUp() override {
        INIFILE config(ConfigPath(folder));
        ASSERT_TRUE(SaveAddresses(config, {0x0100007f, 0, 0x0300007f, 0, 0, 0}));
        ASSERT_TRUE(config.WriteString(QStringLiteral("SENSOR"), NameKey(1), QStringLiteral("P-101")));
        RecordDatabase db;
        ASSERT_TRUE(db.Open(folder));
        for (const Reading& r : kRows) {
            RecordRow row;
            row.time = int32_t(r.ms / 1000);
            row.milliseconds = uint16_t(r.ms % 1000);
            SensorSample& s = row.sensors[0];
            s.T_Shell = r.temperature;
            s.Vel_X = r.vx;
            s.Vel_Y = r.vy;
            s.Vel_Z = r.vz;
            row.fresh[0] = r.fresh;
            row.fresh[2] = false;  // sensor 3 never answered: its zeros are no readings
            ASSERT_TRUE(db.Insert(row));
        }
        AlarmStore store;
        ASSERT_TRUE(store.Open(folder)) << store.LastError().toStdString();
        // Sensor 1 at both edges of the day and beyond them, sensor 3 at noon.
        const std::pair<int, qint64> events[] = {{1, kStartMs - 1}, {1, kStartMs},
                                                 {1, kEndMs - 1},   {1, kEndMs},
                                                 {3, kStartMs + 43200000}};
        for (const auto& [sensor, ms] : events) {
            // Sensor 3's is a temperature TRIP: listed and counted as well.
            AlarmEvent event =
                sensor == 3
                    ? AlarmEvent{ms, sensor, kTemperatureAxis, 92.5f, Zone::None, AlarmKind::Trip}
                    : AlarmEvent{ms, sensor, 0, 5.0f, Zone::D, AlarmKind::Alarm};
            ASSERT_TRUE(store.Insert(&event));
            if (ms == kStartMs) {
                ASSERT_TRUE(store.Acknowledge(event.id, QStringLiteral("张工"), kStartMs + 60000));
            }
        }
    }
};

TEST_F(DailyReportTest, DayStatisticsAndZoneTimesCountOnlyTheDaysFreshReadings) {
    DailyReport report;
    QString error;
    ASSERT_TRUE(DailyReportReader::Read(folder, kDay, &report, &error)) << error.toStdString();
    EXPECT_EQ(report.fromMs, kStartMs);
    EXPECT_EQ(report.toMs, kEndMs);
    ASSERT_EQ(report.machines.size(), 2u);  // the configured sensors 1 and 3
    const MachineDay& m = report.machines[0];
    EXPECT_EQ(m.name, QStringLiteral("P-101"));
    EXPECT_EQ(m.stats.rows, 6);
    EXPECT_EQ(m.stats.freshRows, 5);
    const std::array<double, kZoneCount> zones = {1, 2, 2, 1};
    EXPECT_EQ(m.stats.zoneSeconds, zones);
    struct Expected {
        DayQuantity quantity;
        double min, mean, max;
    };
    const Expected expected[] = {{DayQuantity::Temperature, 20, 22, 24},
                                 {DayQuantity::VelX, 0.1, 0.96, 3.5},
                                 {DayQuantity::Overall, 1.0, 2.6, 4.0}};
    for (const Expected& e : expected) {
        const QuantityStats& s = m.stats.Of(e.quantity);
        EXPECT_EQ(s.count, 5) << int(e.quantity);
        EXPECT_NEAR(s.min, e.min, 1e-6) << int(e.quantity);
        EXPECT_NEAR(s.Mean(), e.mean, 1e-6) << int(e.quantity);
        EXPECT_NEAR(s.max, e.max, 1e-6) << int(e.quantity);
    }
    // A sensor without a fresh reading: nothing counted, no number made up.
    EXPECT_EQ(report.machines[1].stats.rows, 6);
    EXPECT_EQ(report.machines[1].stats.freshRows, 0);
    EXPECT_EQ(report.machines[1].stats.ZonedSeconds(), 0);
    EXPECT_TRUE(std::isnan(report.machines[1].stats.Of(DayQuantity::Overall).Mean()));
}

TEST_F(DailyReportTest, EachMachineListsOnlyItsEventsOfTheDayWithTheirAcknowledgement) {
    DailyReport report;
    ASSERT_TRUE(DailyReportReader::Read(folder, kDay, &report, nullptr));
    const std::vector<AlarmEvent>& first = report.machines[0].events;
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].timeMs, kStartMs);
    EXPECT_EQ(first[0].ackBy, QStringLiteral("张工"));
    EXPECT_EQ(first[0].ackTime, (kStartMs + 60000) / 1000);
    EXPECT_EQ(first[1].timeMs, kEndMs - 1);
    EXPECT_FALSE(first[1].acknowledged);
    ASSERT_EQ(report.machines[1].events.size(), 1u);
    EXPECT_EQ(report.machines[1].events[0].sensor, 3);
    EXPECT_EQ(report.machines[1].events[0].axis, kTemperatureAxis);
    EXPECT_EQ(report.machines[0].AlarmCount(), 2);
    EXPECT_EQ(report.machines[1].AlarmCount(), 1);
}

TEST_F(DailyReportTest, ReportCommandWritesOnePagePerMachineAfterTheSummaryAndRefusesBadDays) {
    const std::string pdf = (dir.Path() / "day.pdf").string();
    struct Case {
        std::string day;
        int code;
        std::string said;  // on stdout for a report, on stderr for a refusal
    };
    const Case cases[] = {
        {"2024-05-01", 0, pdf},
        {"2024-02-30", 2, "--report"},
        {"01.05.2024", 2, "--report"},
        {"2999-01-01", 2, "还没有开始"},
    };
    for (const Case& c : cases) {
        test::ChildProcess station(
            test::StationPath(), {"--report", c.day, "--out", pdf, "--data-dir", dir.Path().string()},
            {.captureStderr = true});
        const std::string line = station.ReadLine(60s).value_or("");
        ASSERT_EQ(station.WaitExit(60s), std::optional<int>(c.code)) << c.day;
        const std::string said = c.code == 0 ? line : station.ReadAllStderr();
        EXPECT_NE(said.find(c.said), std::string::npos) << c.day << ": " << said;
    }
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {QString::fromStdString(pdf)});
    ASSERT_TRUE(info.waitForFinished(30000));
    EXPECT_TRUE(info.readAllStandardOutput().contains("Pages:           3"));
}

TEST_F(DailyReportTest, HeadlessWritesYesterdaysMissingReportIntoReportDirAndSaysWhere) {
    // Within a minute of midnight the report waits for the first rows of the day.
    if (QTime::currentTime() < QTime(0, 2)) GTEST_SKIP() << "too close to midnight";
    INIFILE(ConfigPath(folder)).WriteString(QStringLiteral("DAQ"), QStringLiteral("REPORT_DIR"),
                                            QStringLiteral("reports"));
    test::ChildProcess station(test::StationPath(), {"--headless", "--duration", "1",
                                                     "--data-dir", dir.Path().string()},
                               {.captureStderr = true});
    while (station.ReadLine(30s)) {
    }
    ASSERT_EQ(station.WaitExit(60s), std::optional<int>(0));
    const QString path = folder + QStringLiteral("/reports/") +
                         DailyReportFileName(QDate::currentDate().addDays(-1));
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_NE(station.ReadAllStderr().find(path.toStdString()), std::string::npos);
}

}  // namespace
}  // namespace orsan
