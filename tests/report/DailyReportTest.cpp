#include <gtest/gtest.h>

#include <QFileInfo>
#include <QProcess>
#include <chrono>
#include <tuple>

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
const qint64 kNoonMs = kStartMs + 43200000;
const QString kLatinName = QStringLiteral("COMPRESSOR-STATION-NORTH-WING-UNIT-00001");
const QString kChineseName = QString(40, QChar(u'压'));

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
    {kStartMs - 2000, true, 90, 9, 9, 9},           // before the day: only a neighbour
    {kStartMs - 1000, true, 80, 6, 1, 1},           // D: 1 s of its 2 s stretch is the day's
    {kStartMs + 1000, true, 20, 1.0f, 0.5f, 0.2f},  // A
    {kStartMs + 2000, true, 21, 0.1f, 2.0f, 0.2f},  // B
    {kStartMs + 3000, false, 99, 9.9f, 9.9f, 9.9f},
    {kStartMs + 4000, true, 22, 0.1f, 0.2f, 2.5f},  // B
    {kEndMs - 2000, true, 23, 3.5f, 0.1f, 0.1f},    // C
    {kEndMs - 1000, true, 24, 0.1f, 4.0f, 0.1f},    // C: 1 s to midnight
    {kEndMs + 1000, true, 70, 8, 8, 8},             // after the day: only a neighbour
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
         {{10000, 0.5f}, {11000, 0.5f}, {10500, 0.5f}, {12000, 0.5f}},
         2.0},
        {"a reading without any velocity is none",
         {{10000, 0.5f}, {11000, nan}, {13000, 0.5f}},
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

// On a day of 100 s with a 2 s gap rule: which instants the rows cover,
// with fresh readings or without, and which nothing covers.
TEST(DayTallyTest, RecordedTimeSplitsIntoFreshNoFreshReadingAndUnrecorded) {
    struct Row {
        qint64 ms;
        bool fresh;
    };
    struct Probe {
        qint64 ms;
        Coverage expected;
    };
    struct Case {
        const char* name;
        std::vector<Row> rows;
        double recorded, zoned;
        std::vector<Probe> probes;
    };
    const auto every = [](qint64 from, qint64 to, bool fresh) {
        std::vector<Row> rows;
        for (qint64 ms = from; ms <= to; ms += 1000) rows.push_back({ms, fresh});
        return rows;
    };
    const Coverage fresh = Coverage::Fresh, none = Coverage::NoFreshReading,
                   unrecorded = Coverage::Unrecorded;
    const Case cases[] = {
        {"fresh rows",
         every(10000, 20000, true),
         10,
         10,
         {{9999, unrecorded}, {10000, fresh}, {15500, fresh}, {20000, fresh}, {20001, unrecorded}}},
        {"rows without a fresh reading",
         every(10000, 20000, false),
         10,
         0,
         {{15500, none}, {25000, unrecorded}}},
        {"a break longer than the gap is unrecorded",
         {{10000, true}, {11000, true}, {14000, true}, {15000, true}},
         2,
         2,
         {{10500, fresh}, {12500, unrecorded}, {14500, fresh}}},
        {"fresh readings too far apart over stale rows",
         {{10000, true}, {11000, false}, {12000, false}, {13000, false}, {14000, true}},
         4,
         0,
         {{10000, none}, {12000, none}, {14000, none}}},
        {"a stretch over midnight counts up to it",
         {{99000, true}, {101000, true}},
         1,
         1,
         {{99500, fresh}}},
        {"a single row covers no time", {{50000, true}}, 0, 0, {{50000, unrecorded}}},
        {"no rows", {}, 0, 0, {{50000, unrecorded}}},
    };
    const float nan = std::nanf("");
    for (const Case& c : cases) {
        DayTally tally(0, 100000, ZoneThresholds({1, 2, 3}));
        for (const Row& r : c.rows) tally.Add(r.ms, r.fresh, {20, 0, 0, 0, 0.5f, nan, nan});
        const DayStatistics stats = tally.Result(2.0);
        EXPECT_EQ(stats.RecordedSeconds(), c.recorded) << c.name;
        EXPECT_EQ(stats.ZonedSeconds(), c.zoned) << c.name;
        EXPECT_EQ(stats.NoFreshSeconds(), c.recorded - c.zoned) << c.name;
        EXPECT_EQ(stats.UnrecordedSeconds(100), 100 - c.recorded) << c.name;
        for (const Probe& p : c.probes)
            EXPECT_EQ(stats.At(p.ms), p.expected) << c.name << " at " << p.ms;
    }
}

class DailyReportTest : public ::testing::Test {
protected:
    test::TempDir dir{"orsan-report"};
    QString folder = QString::fromStdString(dir.Path().string());

    void SetUp() override {
        INIFILE config(ConfigPath(folder));
        ASSERT_TRUE(SaveAddresses(config, {0x0100007f, 0, 0x0300007f, 0, 0, 0}));
        // Names of 40 characters, which the report's tables wrap but never cut.
        ASSERT_TRUE(config.WriteString(QStringLiteral("SENSOR"), NameKey(1), kLatinName));
        ASSERT_TRUE(config.WriteString(QStringLiteral("SENSOR"), NameKey(3), kChineseName));
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
        // Sensor 1 at both edges of the day and beyond them, and a TRIP at
        // noon while nothing was recorded; sensor 3 among its stale rows and
        // at noon.
        const std::tuple<int, qint64, AlarmKind> events[] = {
            {1, kStartMs - 1, AlarmKind::Alarm}, {1, kStartMs, AlarmKind::Alarm},
            {1, kNoonMs, AlarmKind::Trip},       {1, kEndMs - 1, AlarmKind::Alarm},
            {1, kEndMs, AlarmKind::Alarm},       {3, kStartMs + 2500, AlarmKind::Lost},
            {3, kNoonMs, AlarmKind::Alarm}};
        for (const auto& [sensor, ms, kind] : events) {
            const bool reading = kind != AlarmKind::Lost;
            AlarmEvent event{ms,
                             sensor,
                             reading ? 0 : kNoAxis,
                             reading ? 5.0f : 0.0f,
                             reading ? Zone::D : Zone::None,
                             kind};
            if (kind == AlarmKind::Trip) event.value = 8.2f;
            // Sensor 3's noon ALARM is a temperature's: listed and counted as well.
            if (sensor == 3 && kind == AlarmKind::Alarm)
                event = AlarmEvent{ms, sensor, kTemperatureAxis, 92.5f, Zone::None, kind};
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
    EXPECT_EQ(m.name, kLatinName);
    EXPECT_EQ(m.stats.rows, 6);
    EXPECT_EQ(m.stats.freshRows, 5);
    const std::array<double, kZoneCount> zones = {1, 2, 2, 1};
    EXPECT_EQ(m.stats.zoneSeconds, zones);
    // Rows from midnight to +4 s and from 2 s before the next midnight.
    EXPECT_EQ(m.stats.RecordedSeconds(), 6);
    EXPECT_EQ(m.stats.NoFreshSeconds(), 0);
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
    EXPECT_EQ(report.machines[1].stats.NoFreshSeconds(), 6);
    EXPECT_EQ(report.machines[1].stats.UnrecordedSeconds(report.DaySeconds()), 86400 - 6);
    EXPECT_TRUE(std::isnan(report.machines[1].stats.Of(DayQuantity::Overall).Mean()));
}

TEST_F(DailyReportTest, EachMachineListsOnlyItsEventsOfTheDayWithTheirAcknowledgement) {
    DailyReport report;
    ASSERT_TRUE(DailyReportReader::Read(folder, kDay, &report, nullptr));
    const std::vector<AlarmEvent>& first = report.machines[0].events;
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[0].timeMs, kStartMs);
    EXPECT_EQ(first[0].ackBy, QStringLiteral("张工"));
    EXPECT_EQ(first[0].ackTime, (kStartMs + 60000) / 1000);
    EXPECT_EQ(first[2].timeMs, kEndMs - 1);
    EXPECT_FALSE(first[2].acknowledged);
    ASSERT_EQ(report.machines[1].events.size(), 2u);
    EXPECT_EQ(report.machines[1].events[0].sensor, 3);
    EXPECT_EQ(report.machines[0].AlarmCount(), 3);
    EXPECT_EQ(report.machines[1].AlarmCount(), 1);  // LOST is none
    EXPECT_EQ(report.machines[1].events[1].axis, kTemperatureAxis);
    // Each event marked by what the record holds of its instant.
    const std::pair<const MachineDay*, std::vector<Coverage>> marks[] = {
        {&report.machines[0], {Coverage::Fresh, Coverage::Unrecorded, Coverage::Fresh}},
        {&report.machines[1], {Coverage::NoFreshReading, Coverage::Unrecorded}}};
    for (const auto& [machine, expected] : marks) {
        std::vector<Coverage> got;
        for (const AlarmEvent& e : machine->events) got.push_back(machine->EventCoverage(e));
        EXPECT_EQ(got, expected) << machine->sensor;
        EXPECT_EQ(machine->UnrecordedEventCount(), 1) << machine->sensor;
    }
}

// The report's text as pdftotext reads it, the layout kept; NFKC, since
// the font maps some ideographs to their look-alike radicals (⽆ for 无).
std::string PdfText(const std::string& pdf) {
    QProcess text;
    text.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-layout"), QString::fromStdString(pdf), QStringLiteral("-")});
    EXPECT_TRUE(text.waitForFinished(30000));
    return QString::fromUtf8(text.readAllStandardOutput())
        .normalized(QString::NormalizationForm_KC)
        .toStdString();
}

TEST_F(DailyReportTest, ReportCommandWritesOnePagePerMachineAfterTheSummaryAndRefusesBadDays) {
    const std::string pdf = (dir.Path() / "day.pdf").string();
    const std::string yesterday =
        DailyReportFileName(QDate::currentDate().addDays(-1)).toStdString();
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string said;  // on stdout for a report, on stderr for a refusal
    };
    const Case cases[] = {
        {{"2024-05-01", "--out", pdf}, 0, pdf},
        {{"--out", dir.Path().string()}, 0, yesterday},  // no date: yesterday
        {{"2024-02-30"}, 2, "--report"},
        {{"01.05.2024"}, 2, "--report"},
        {{"2999-01-01"}, 2, "还没有开始"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = {"--report"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.insert(args.end(), {"--data-dir", dir.Path().string()});
        test::ChildProcess station(test::StationPath(), args, {.captureStderr = true});
        const std::string line = station.ReadLine(60s).value_or("");
        ASSERT_EQ(station.WaitExit(60s), std::optional<int>(c.code)) << c.args[0];
        const std::string said = c.code == 0 ? line : station.ReadAllStderr();
        EXPECT_NE(said.find(c.said), std::string::npos) << c.args[0] << ": " << said;
    }
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {QString::fromStdString(pdf)});
    ASSERT_TRUE(info.waitForFinished(30000));
    EXPECT_TRUE(info.readAllStandardOutput().contains("Pages:           3"));
}

// The TRIP at noon fell into time without rows: the first page and the
// machine's page say so, in either language.
TEST_F(DailyReportTest, ReportSaysWhatTheRecordDidNotSee) {
    struct Case {
        const char* language;
        std::vector<std::string> words;
    };
    const Case cases[] = {
        {"zh_CN",
         {"未记录", "无有效数据", "其中 1 未记录", "1 个事件发生在未记录的时段", "已记录 0:00:06"}},
        {"en",
         {"Unrecorded", "No fresh data", "1 unrecorded", "1 event(s) while nothing was recorded",
          "Recorded 0:00:06"}},
    };
    for (const Case& c : cases) {
        const std::string pdf = (dir.Path() / (std::string(c.language) + ".pdf")).string();
        test::ChildProcess station(test::StationPath(),
                                   {"--report", "2024-05-01", "--out", pdf, "--lang", c.language,
                                    "--data-dir", dir.Path().string()});
        ASSERT_EQ(station.WaitExit(60s), std::optional<int>(0)) << c.language;
        const std::string text = PdfText(pdf);
        for (const std::string& word : c.words)
            EXPECT_NE(text.find(word), std::string::npos) << c.language << ": " << word;
    }
}

TEST_F(DailyReportTest, HeadlessWritesYesterdaysMissingReportIntoReportDirAndSaysWhere) {
    // Within a minute of midnight the report waits for the first rows of the day.
    if (QTime::currentTime() < QTime(0, 2)) GTEST_SKIP() << "too close to midnight";
    INIFILE(ConfigPath(folder))
        .WriteString(QStringLiteral("DAQ"), QStringLiteral("REPORT_DIR"),
                     QStringLiteral("reports"));
    test::ChildProcess station(test::StationPath(),
                               {"--headless", "--duration", "1", "--data-dir", dir.Path().string()},
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
