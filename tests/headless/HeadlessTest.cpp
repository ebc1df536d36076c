#include <gtest/gtest.h>
#include <signal.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "ChildProcess.h"
#include "FakeModbusPeer.h"
#include "IniFile.h"
#include "ProcessLock.h"
#include "SimProcess.h"
#include "SimStationConfig.h"
#include "StationConfig.h"
#include "TempDir.h"

namespace orsan {
namespace {

using namespace std::chrono_literals;

class HeadlessTest : public ::testing::Test {
protected:
    test::TempDir dataDir{"orsan-headless"};
    test::SimProcess sim{{"--sensor", "127.0.0.1:0", "--sensor", "127.0.0.2:0", "--sensor",
                          "127.0.0.3:0", "--wave-port", "0"}};

    void SetUp() override {
        ASSERT_TRUE(test::WriteSimStationConfig(QString::fromStdString(dataDir.Path().string()),
                                                sim, 3, "1.0"));
    }

    std::unique_ptr<test::ChildProcess> StartStation(std::vector<std::string> extra) {
        std::vector<std::string> args{"--headless", "--data-dir", dataDir.Path().string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return std::make_unique<test::ChildProcess>(test::StationPath(), args);
    }

    static QJsonObject ParseLine(const std::string& line) {
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(line), &error);
        EXPECT_EQ(error.error, QJsonParseError::NoError) << line;
        return doc.object();
    }
};

// The value a JSON number stands for, as the 32-bit float it was printed from.
float AsFloat(const QJsonValue& value) {
    return float(value.toDouble());
}

TEST_F(HeadlessTest, PrintsDecodedValuesOfEverySensorAtTheRecordInterval) {
    // Pinned raw registers of sensor 1, decoded by the register map.
    const std::pair<int, uint16_t> pinned[] = {
        {0, uint16_t(-200)}, {1, 65336}, {4, 981}, {5, 1002}, {6, 77},
        {16, 65535},         {17, 12},   {18, 0},  {43, 5},   {50, 350},
        {53, 123},           {54, 123},  {2, 1},   {3, 29},   {133, 2495},
    };
    for (const auto& [reg, raw] : pinned) sim.SetRegister(1, reg, raw);
    sim.SetFault(2, "exception");

    auto station = StartStation({"--duration", "3.5"});
    std::vector<std::string> lines;
    while (auto line = station->ReadLine(10s)) {
        // Sensor 1's pinned 3.5 mm/s may raise an alarm; its event line is not a data line.
        if (line->rfind("{\"event\"", 0) != 0) lines.push_back(*line);
    }
    ASSERT_EQ(station->WaitExit(10s), std::optional<int>(0));
    ASSERT_GE(lines.size(), 2u);
    ASSERT_LE(lines.size(), 4u);  // one line a second

    const QJsonObject last = ParseLine(lines.back());
    EXPECT_GT(last["time"].toInteger(), 1700000000);
    EXPECT_GE(last["ms"].toInt(), 0);
    EXPECT_LE(last["ms"].toInt(), 999);
    const QJsonArray sensors = last["sensors"].toArray();
    ASSERT_EQ(sensors.size(), 6);

    const QJsonObject s1 = sensors[0].toObject();
    EXPECT_EQ(s1["id"].toInt(), 1);
    EXPECT_TRUE(s1["ok"].toBool());
    EXPECT_EQ(AsFloat(s1["T_Shell"]), float(-200 * 0.01));
    EXPECT_EQ(AsFloat(s1["Vel_X"]), float(65336 * 0.01));
    EXPECT_EQ(AsFloat(s1["Vel_Y"]), float(1 * 0.01));
    EXPECT_EQ(AsFloat(s1["Vel_Z"]), float(29 * 0.01));
    EXPECT_EQ(AsFloat(s1["Acc_X"]), float(981 * 0.01));
    EXPECT_EQ(AsFloat(s1["Acc_Y"]), float(1002 * 0.01));
    EXPECT_EQ(AsFloat(s1["Acc_Z"]), float(77 * 0.01));
    EXPECT_EQ(AsFloat(s1["Disp_X"]), 65535.0f);
    EXPECT_EQ(AsFloat(s1["Disp_Y"]), 12.0f);
    EXPECT_EQ(AsFloat(s1["Disp_Z"]), 0.0f);
    const QJsonArray spectrum = s1["Spectrum_Z"].toArray();
    ASSERT_EQ(spectrum.size(), 8);
    EXPECT_EQ(AsFloat(spectrum[0]), float(5 * 0.01));
    EXPECT_EQ(AsFloat(spectrum[7]), float(350 * 0.01));
    EXPECT_EQ(AsFloat(s1["TopOrderEnergy_Z"]), float(123 * 0.01));
    EXPECT_EQ(AsFloat(s1["TopOrder_Z"]), float(123 * 0.1));
    EXPECT_EQ(AsFloat(s1["RunningSpeed"]), float(2495 * 0.01));

    const QJsonObject s2 = sensors[1].toObject();
    EXPECT_FALSE(s2["ok"].toBool());  // exception replies
    EXPECT_EQ(AsFloat(s2["RunningSpeed"]), 0.0f);
    EXPECT_TRUE(sensors[2].toObject()["ok"].toBool());
    for (int i = 3; i < 6; ++i) {
        const QJsonObject s = sensors[i].toObject();
        EXPECT_EQ(s["id"].toInt(), i + 1);
        EXPECT_FALSE(s["ok"].toBool());  // 0.0.0.0
        EXPECT_EQ(AsFloat(s["T_Shell"]), 0.0f);
    }
}

TEST_F(HeadlessTest, TermSignalEndsItCleanlyEvenWithASilentSensor) {
    sim.SetFault(1, "silent");
    auto station = StartStation({});
    ASSERT_TRUE(station->ReadLine(10s).has_value());
    station->Signal(SIGTERM);
    // The visit in progress (at most about a second) ends first.
    EXPECT_EQ(station->WaitExit(5s), std::optional<int>(0));
}

TEST_F(HeadlessTest, ASilencedSensorIsNotOkAndItsRowsSayTheReadingIsStale) {
    auto station = StartStation({"--record"});
    QJsonArray sensors;
    // Reads lines until sensor 2's "ok" is `ok`; false after 15.
    const auto waitFor = [&](bool ok) {
        for (int read = 0; read < 15; ++read) {
            const auto line = station->ReadLine(10s);
            if (!line) return false;
            if (line->rfind("{\"event\"", 0) == 0) continue;
            sensors = ParseLine(*line)["sensors"].toArray();
            if (sensors[1].toObject()["ok"].toBool() == ok) return true;
        }
        return false;
    };
    ASSERT_TRUE(waitFor(true));
    sim.SetFault(2, "silent");
    ASSERT_TRUE(waitFor(false));
    station->Signal(SIGTERM);
    ASSERT_EQ(station->WaitExit(10s), std::optional<int>(0));
    EXPECT_FALSE(sensors[3].toObject()["ok"].toBool());  // 0.0.0.0 is never a reading
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "ok-check");
        db.setDatabaseName(QString::fromStdString(dataDir.File("DataRecord.db")));
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec("SELECT Ok2 || Ok4 FROM data ORDER BY rowid DESC LIMIT 1"));
        ASSERT_TRUE(query.next());
        EXPECT_EQ(query.value(0).toString(), "00");
    }
    QSqlDatabase::removeDatabase("ok-check");
    // Sensor 4 has no address: its text export would be rows of zeros, so none is written;
    // the CSV, whose stale values are empty, and an answering sensor's text still are.
    const auto exportCode = [&](std::vector<std::string> args) {
        args.insert(args.end(), {"--out", "-", "--data-dir", dataDir.Path().string()});
        test::ChildProcess child(test::StationPath(), args, test::ChildProcess::Options{true});
        while (child.ReadLine(10s)) {
        }
        return child.WaitExit(10s);
    };
    EXPECT_EQ(exportCode({"--export-sensor", "4"}), std::optional<int>(3));
    EXPECT_EQ(exportCode({"--export-sensor", "4", "--format", "csv"}), std::optional<int>(0));
    EXPECT_EQ(exportCode({"--export-sensor", "2"}), std::optional<int>(0));
}

// At 0.3 s the first record tick and the first refresh are due together;
// whichever comes first, no row (nor JSON line) may call fresh the zeros
// from before a sensor's first reading, and the summaries' lowest
// temperature is the one the sensors gave.
TEST_F(HeadlessTest, NoStartRecordsValuesAsFreshBeforeTheyWereRead) {
    ASSERT_TRUE(test::WriteSimStationConfig(QString::fromStdString(dataDir.Path().string()), sim, 3,
                                            "0.3"));
    for (int n = 1; n <= 3; ++n) sim.SetRegister(n, 0, 2526);  // 25.26 degC, stored as 25.3
    int freshLines = 0;
    for (int start = 0; start < 20; ++start) {
        auto station = StartStation({"--record", "--duration", "0.7"});
        while (auto line = station->ReadLine(10s)) {
            if (line->rfind("{\"event\"", 0) == 0) continue;
            const QJsonArray sensors = ParseLine(*line)["sensors"].toArray();
            for (int i = 0; i < 3; ++i) {
                const QJsonObject sensor = sensors[i].toObject();
                if (!sensor["ok"].toBool()) continue;
                ++freshLines;
                EXPECT_EQ(AsFloat(sensor["T_Shell"]), 25.26f)
                    << "start " << start << ", sensor " << i + 1;
            }
        }
        ASSERT_EQ(station->WaitExit(10s), std::optional<int>(0)) << "start " << start;
    }
    EXPECT_GT(freshLines, 0);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "first-read-check");
        db.setDatabaseName(QString::fromStdString(dataDir.File("DataRecord.db")));
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(
            "SELECT SUM(Ok1 + Ok2 + Ok3), SUM((Ok1 AND Temp1 <> 25.3) + (Ok2 AND Temp2 <> 25.3) + "
            "(Ok3 AND Temp3 <> 25.3)), (SELECT MIN(Temp_min) || ' ' || MAX(Temp_max) FROM "
            "data_hourly) FROM data"));
        ASSERT_TRUE(query.next());
        EXPECT_GT(query.value(0).toInt(), 0);
        EXPECT_EQ(query.value(1).toInt(), 0) << "fresh rows of values never read";
        EXPECT_EQ(query.value(2).toString(), "25.3 25.3");
    }
    QSqlDatabase::removeDatabase("first-read-check");
}

// Durations are seconds; in milliseconds they outgrow a timer's int period.
// 4294967.5 s is 2^32 ms + 204 ms: a run that must last for weeks, not end
// after a fifth of a second.
TEST_F(HeadlessTest, DurationBeyondOneTimerPeriodIsKept) {
    auto station = StartStation({"--duration", "4294967.5"});
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(station->ReadLine(10s).has_value()) << "line " << i;
    EXPECT_FALSE(station->WaitExit(200ms).has_value());
    station->Signal(SIGTERM);
    EXPECT_EQ(station->WaitExit(5s), std::optional<int>(0));
}

// Qt adopts the user's locale at start-up; under a locale with a decimal
// comma the recorded values must still be numbers with a decimal point.
TEST_F(HeadlessTest, RecordsNumbersUnderALocaleWithADecimalComma) {
    const std::string compiled = dataDir.File("de_DE.UTF-8");
    const std::string build = "localedef -i de_DE -f UTF-8 '" + compiled + "' >/dev/null 2>&1";
    [[maybe_unused]] const int built = std::system(build.c_str());
    if (!std::filesystem::exists(compiled)) GTEST_SKIP() << "no de_DE locale can be built here";
    sim.SetRegister(1, 0, 2526);  // 25.26 degC, stored as 25.3
    sim.SetRegister(1, 4, 1234);  // 12.34 m/ss

    ::setenv("LOCPATH", dataDir.Path().c_str(), 1);
    ::setenv("LC_ALL", "de_DE.UTF-8", 1);
    auto station = StartStation({"--record", "--duration", "2.5"});
    ::unsetenv("LC_ALL");
    ::unsetenv("LOCPATH");
    std::vector<std::string> lines;
    while (auto line = station->ReadLine(10s)) lines.push_back(*line);
    ASSERT_EQ(station->WaitExit(10s), std::optional<int>(0));
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines.back().find("\"T_Shell\":25.26,"), std::string::npos) << lines.back();

    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "locale-check");
        db.setDatabaseName(QString::fromStdString(dataDir.File("DataRecord.db")));
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(
            query.exec("SELECT typeof(Temp1), Temp1, typeof(Xacc1), Xacc1 FROM data "
                       "WHERE Temp1 > 0 ORDER BY Time DESC LIMIT 1"));
        ASSERT_TRUE(query.next());
        EXPECT_EQ(query.value(0).toString(), "real");
        EXPECT_DOUBLE_EQ(query.value(1).toDouble(), 25.3);
        EXPECT_EQ(query.value(2).toString(), "real");
        EXPECT_DOUBLE_EQ(query.value(3).toDouble(), 12.34);
    }
    QSqlDatabase::removeDatabase("locale-check");
}

// One recorder per data folder: whoever holds the folder first (a headless
// recorder or the station window), a headless recorder started second is
// refused; once the holder is gone, even killed, the folder is free again.
TEST(RecorderLockTest, SecondRecorderOnTheSameFolderIsRefused) {
    test::TempDir dataDir{"orsan-lock"};
    test::TempDir runtimeDir{"orsan-lock-runtime"};
    std::filesystem::permissions(runtimeDir.Path(), std::filesystem::perms::owner_all);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);  // the window needs a display
    ::setenv("XDG_RUNTIME_DIR", runtimeDir.Path().c_str(), 1);
    const auto start = [&](std::vector<std::string> args) {
        args.insert(args.end(), {"--data-dir", dataDir.Path().string()});
        return std::make_unique<test::ChildProcess>(test::StationPath(), args,
                                                    test::ChildProcess::Options{true});
    };
    const std::vector<std::string> recorder{"--headless", "--record", "--duration", "1"};
    for (const auto& holderArgs :
         {std::vector<std::string>{"--headless", "--record"}, std::vector<std::string>{}}) {
        const std::string holder = holderArgs.empty() ? "window" : "headless";
        auto first = start(holderArgs);
        const auto lock = dataDir.Path() / "DataRecord.lock";
        for (int i = 0; i < 400 && !std::filesystem::exists(lock); ++i)
            std::this_thread::sleep_for(50ms);
        ASSERT_TRUE(std::filesystem::exists(lock)) << holder;

        auto second = start(recorder);
        EXPECT_FALSE(second->ReadLine(10s).has_value()) << holder;  // no row, no line
        EXPECT_EQ(second->WaitExit(10s), std::optional<int>(1)) << holder;
        const std::string err = second->ReadAllStderr();
        EXPECT_NE(err.find("正由另一个记录程序（进程" + std::to_string(first->Pid()) + "）使用"),
                  std::string::npos)
            << holder << ": " << err;

        EXPECT_FALSE(first->WaitExit(100ms).has_value()) << holder;
        first->Terminate();
        auto third = start(recorder);
        EXPECT_TRUE(third->ReadLine(10s).has_value()) << holder;
        EXPECT_EQ(third->WaitExit(10s), std::optional<int>(0)) << holder;
    }
}

// A refused recorder ends before its server forwarder would send the
// folder's rows beside the holder's; once the folder is free it does start.
TEST(RecorderLockTest, RefusedRecorderNeverReachesTheServer) {
    test::TempDir dataDir{"orsan-lock-server"};
    const QString dir = QString::fromStdString(dataDir.Path().string());
    test::FakeModbusPeer server;  // any loopback listener: it counts connections
    ASSERT_TRUE(INIFILE(ConfigPath(dir))
                    .WriteString("SERVER", "CONNINFO",
                                 QStringLiteral("host=127.0.0.1 port=%1").arg(server.Port())));
    const std::vector<std::string> args{"--headless", "--record",   "--duration",
                                        "1.5",        "--data-dir", dir.toStdString()};
    {
        ProcessLock holder(RecorderLockPath(dir));
        ASSERT_EQ(holder.TryLock(), ProcessLock::Outcome::Held);
        test::ChildProcess refused(test::StationPath(), args, test::ChildProcess::Options{true});
        EXPECT_EQ(refused.WaitExit(10s), std::optional<int>(1));
        EXPECT_NE(refused.ReadAllStderr().find("（进程" + std::to_string(::getpid()) + "）"),
                  std::string::npos);
        EXPECT_FALSE(server.WaitForAccepts(1, 500ms));
    }
    test::ChildProcess recorder(test::StationPath(), args);
    EXPECT_TRUE(server.WaitForAccepts(1, 10s));
}

// As a user file permissions bind (nobody when root): exports read a folder
// the user cannot write; a recorder refuses a DataRecord.db it may only
// read in one stderr line and exits non-zero.
TEST(ReadOnlyDataTest, ExportsReadItAndARecorderRefusesIt) {
    namespace fs = std::filesystem;
    if (!test::AsUnprivileged("/bin/true", {})) GTEST_SKIP() << "root without runuser";
    test::TempDir folder{"orsan-readonly"};
    const std::string dir = folder.Path().string();
    // One sensor that refuses at once, so the only word on stderr is the refusal.
    std::ofstream(folder.File("Config.ini"))
        << "[SENSOR]\nID1IP1=127\nID1IP2=0\nID1IP3=0\nID1IP4=1\nID1PORT=1\n";
    test::ChildProcess(test::StationPath(),
                       {"--headless", "--record", "--duration", "1.5", "--data-dir", dir})
        .WaitExit(10s);
    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.end(), {"--data-dir", dir});
        const auto as = test::AsUnprivileged(test::StationPath(), args);
        test::ChildProcess child(as->program, as->args, test::ChildProcess::Options{true});
        std::string out;
        while (auto line = child.ReadLine(10s)) out += *line + '\n';
        return std::tuple{child.WaitExit(10s), out.empty(), child.ReadAllStderr()};
    };
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(dir, readOnly | fs::perms::owner_exec | fs::perms::others_exec);
    for (const std::vector<std::string>& exportArgs :
         {std::vector<std::string>{"--export-sensor", "1", "--format", "csv", "--out", "-"},
          std::vector<std::string>{"--export-alarms", "--out", "-"}})
        EXPECT_EQ(run(exportArgs), std::tuple(std::optional<int>(0), false, std::string()));
    fs::permissions(dir, fs::perms::all);
    fs::permissions(folder.File("DataRecord.db"), readOnly);
    const auto [code, noOutput, err] = run({"--headless", "--record", "--duration", "3"});
    EXPECT_EQ(std::tuple(code, noOutput, std::count(err.begin(), err.end(), '\n')),
              std::tuple(std::optional<int>(1), true, 1));
    EXPECT_NE(err.find("只能读取"), std::string::npos) << err;
}

// --lang over Config.ini's language is the language of stderr too.
TEST_F(HeadlessTest, MessagesOnStderrSpeakTheChosenLanguage) {
    INIFILE config(ConfigPath(QString::fromStdString(dataDir.Path().string())));
    ASSERT_TRUE(config.WriteString("UI", "LANG", "zh_CN"));
    ASSERT_TRUE(config.WriteString("DAQ", "KEEP_DAYS", "x"));
    test::ChildProcess station(test::StationPath(),
                               {"--headless", "--data-dir", dataDir.Path().string(), "--record",
                                "--duration", "1", "--lang", "en"},
                               test::ChildProcess::Options{true});
    EXPECT_EQ(station.WaitExit(10s), std::optional<int>(0));
    const std::string err = station.ReadAllStderr();
    EXPECT_NE(err.find("KEEP_DAYS=x refused"), std::string::npos) << err;
}

TEST_F(HeadlessTest, BadCommandLineIsRefused) {
    test::ChildProcess station(test::StationPath(), {"--headless", "--duration", "soon"});
    EXPECT_FALSE(station.ReadLine(5s).has_value());
    EXPECT_EQ(station.WaitExit(5s), std::optional<int>(2));
}

}  // namespace
}  // namespace orsan
