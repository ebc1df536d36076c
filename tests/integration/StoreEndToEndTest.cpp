#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <chrono>
#include <cstdlib>
#include <map>
#include <sstream>
#include <thread>

#include "ChildProcess.h"
#include "IniFile.h"
#include "PgCluster.h"
#include "PgSession.h"
#include "SensorNames.h"
#include "SimProcess.h"
#include "StationConfig.h"
#include "TempDir.h"

namespace orsan {
namespace {

using namespace std::chrono_literals;

// (epoch ms, sensor) -> the ten values as 32-bit floats, in the server's order.
using Readings = std::map<std::pair<int64_t, int>, std::vector<float>>;

// Local slots in the server's column order.
constexpr const char* kStems[] = {"Temp", "Xacc", "Yacc",  "Zacc",  "Xvel",
                                  "Yvel", "Zvel", "Xdisp", "Ydisp", "Zdisp"};

// Slots 1, 2 and 4 hold the three simulated sensors; 3, 5 and 6 stay 0.0.0.0.
constexpr int kConfiguredSlots[3] = {1, 2, 4};

struct StationRun {
    std::vector<std::string> jsonLines;
    std::vector<std::string> errorLines;
    int exitCode = -1;
};

class StoreEndToEnd : public ::testing::Test {
protected:
    test::TempDir dataDir{"orsan-store-e2e"};
    test::SimProcess sim{{"--sensor", "127.0.0.1:0", "--sensor", "127.0.0.2:0", "--sensor",
                          "127.0.0.3:0", "--wave-port", "0"}};
    test::PgCluster cluster;

    void SetUp() override {
        INIFILE config(ConfigPath(DataDir()));
        ASSERT_TRUE(config.WriteString("DAQ", "INTERVAL", "0.5"));
        for (int i = 0; i < 3; ++i) {
            const QStringList octets = QString::fromStdString(sim.Sensor(i + 1).address).split('.');
            for (int k = 1; k <= 4; ++k)
                config.WriteString("SENSOR", OctetKey(kConfiguredSlots[i], k), octets[k - 1]);
            config.WriteInt("SENSOR", PortKey(kConfiguredSlots[i]), sim.Sensor(i + 1).modbusPort);
        }
        ASSERT_TRUE(
            config.WriteString("SERVER", "CONNINFO", QString::fromStdString(cluster.Conninfo())));
        ASSERT_TRUE(config.WriteString("SERVER", "STATION", "line-a"));
        ASSERT_TRUE(config.WriteString("SENSOR", NameKey(kConfiguredSlots[0]), "P-101 给水泵"));
    }

    QString DataDir() const { return QString::fromStdString(dataDir.Path().string()); }

    // Runs the headless recorder for `seconds`; `midRun` is called after the
    // given number of JSON lines.
    StationRun Run(int seconds, int linesBefore = -1, const std::function<void()>& midRun = {}) {
        StationRun run;
        test::ChildProcess station(test::StationPath(),
                                   {"--headless", "--record", "--data-dir", dataDir.Path().string(),
                                    "--duration", std::to_string(seconds)},
                                   {.captureStderr = true});
        while (auto line = station.ReadLine(30s)) {
            run.jsonLines.push_back(*line);
            if (int(run.jsonLines.size()) == linesBefore && midRun) midRun();
        }
        run.exitCode = station.WaitExit(30s).value_or(-1);
        std::istringstream err(station.ReadAllStderr());
        for (std::string line; std::getline(err, line);)
            if (line.find("server: ") != std::string::npos) run.errorLines.push_back(line);
        return run;
    }

    Readings Local() {
        Readings readings;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "e2e");
            db.setDatabaseName(DataDir() + "/DataRecord.db");
            EXPECT_TRUE(db.open());
            QSqlQuery query(db);
            EXPECT_TRUE(query.exec("SELECT * FROM data"));
            while (query.next()) {
                const int64_t ms =
                    query.value("Time").toLongLong() * 1000 + query.value("msTime").toLongLong();
                for (int slot : kConfiguredSlots) {
                    // A stale reading stays local.
                    if (query.value(QString("Ok%1").arg(slot)).toInt() == 0) continue;
                    for (const char* stem : kStems)
                        readings[{ms, slot}].push_back(
                            query.value(QString(stem) + QString::number(slot)).toFloat());
                }
            }
        }
        QSqlDatabase::removeDatabase("e2e");
        return readings;
    }

    Readings Server(size_t* rowCount) {
        store::PgSession session(cluster.Conninfo());
        store::PgOutcome outcome;
        const store::PgResultPtr result = session.Query(
            "SELECT (extract(epoch FROM time) * 1000)::bigint, sensor, t_shell, acc_x, acc_y, "
            "acc_z, vel_x, vel_y, vel_z, disp_x, disp_y, disp_z FROM readings "
            "WHERE station = 'line-a'",
            {}, &outcome);
        EXPECT_TRUE(outcome.ok) << outcome.message;
        Readings readings;
        *rowCount = result ? size_t(PQntuples(result.get())) : 0;
        for (int r = 0; r < int(*rowCount); ++r) {
            auto& values = readings[{std::stoll(PQgetvalue(result.get(), r, 0)),
                                     std::atoi(PQgetvalue(result.get(), r, 1))}];
            for (int c = 2; c < 12; ++c)
                values.push_back(std::strtof(PQgetvalue(result.get(), r, c), nullptr));
        }
        return readings;
    }
};

// Every line carries "backlog"; with `waiting`, some line shows rows waiting.
bool CarryBacklog(const std::vector<std::string>& lines, bool waiting = false) {
    bool someWaiting = false;
    for (const std::string& line : lines) {
        if (line.rfind("{\"event\"", 0) == 0) continue;  // an alarm event, not a data line
        const size_t at = line.find("\"backlog\":");
        if (at == std::string::npos) return false;
        someWaiting = someWaiting || line.compare(at + 10, 2, "0}") != 0;
    }
    return !waiting || someWaiting;
}

// An error told again only after a connection in between: once each, not per retry.
void ExpectEachErrorOnce(const std::vector<std::string>& lines) {
    for (size_t i = 1; i < lines.size(); ++i)
        EXPECT_NE(lines[i], lines[i - 1]) << "told twice in a row";
}

TEST_F(StoreEndToEnd, ServerAwayMidRunAndForAWholeRunStillGetsEveryRowOnce) {
    // The server stops for 4 s after the fourth line and comes back.
    const StationRun first = Run(10, 4, [this] {
        cluster.Stop();
        std::this_thread::sleep_for(4s);
        cluster.Start();
    });
    EXPECT_EQ(first.exitCode, 0);
    EXPECT_TRUE(CarryBacklog(first.jsonLines)) << "every line carries the backlog";
    ASSERT_GE(first.errorLines.size(), 3u) << "connected, the outage, connected again";
    EXPECT_NE(first.errorLines.front().find("connected to"), std::string::npos);
    ExpectEachErrorOnce(first.errorLines);

    cluster.Stop();
    const StationRun down = Run(3);
    EXPECT_EQ(down.exitCode, 0) << "a missing server never stops the station";
    EXPECT_TRUE(CarryBacklog(down.jsonLines, true)) << "the rows wait locally";
    ASSERT_FALSE(down.errorLines.empty());
    ExpectEachErrorOnce(down.errorLines);

    cluster.Start();
    const StationRun later = Run(3);
    EXPECT_EQ(later.exitCode, 0);

    const Readings local = Local();
    size_t serverRows = 0;
    const Readings server = Server(&serverRows);
    ASSERT_GT(local.size(), 30u);
    EXPECT_EQ(serverRows, local.size()) << "a server row per fresh local reading, no more";
    EXPECT_EQ(server, local) << "the configured sensors with their recorded values";

    // The machine name from Config.ini reaches the server's sensors table.
    store::PgSession session(cluster.Conninfo());
    store::PgOutcome outcome;
    const store::PgResultPtr names = session.Query(
        "SELECT coalesce(name, '') FROM sensors WHERE station = 'line-a' AND sensor = $1",
        {std::to_string(kConfiguredSlots[0])}, &outcome);
    ASSERT_TRUE(outcome.ok && names && PQntuples(names.get()) == 1) << outcome.message;
    EXPECT_STREQ(PQgetvalue(names.get(), 0, 0), "P-101 给水泵");
}

}  // namespace
}  // namespace orsan
