#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QSqlQuery>
#include <algorithm>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <sstream>

#include "AlarmStore.h"
#include "LocalRecordSource.h"
#include "PgCluster.h"
#include "PgSession.h"
#include "RecordDatabase.h"
#include "RowsUpload.h"
#include "ServerProbe.h"
#include "ServerSchema.h"
#include "ServerSummaryViews.h"
#include "StationRegistry.h"
#include "StoreForwarder.h"
#include "StoreTestRows.h"
#include "TempDir.h"

namespace orsan::store {
namespace {

using namespace std::chrono_literals;
constexpr auto kLimit = 60s;

// What the forwarder told: every update (the last one kept), the retries
// counted, and the changes it reported as news.
struct StatusLog {
    std::mutex mutex;
    std::condition_variable changed;
    StoreStatus last;
    int retries = 0;
    std::vector<StoreStatus> changes;
    std::vector<int64_t> delaysMs;  // the back-off chosen after each failed attempt

    bool WaitUntil(const std::function<bool(const StoreStatus&)>& done) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, kLimit, [&] { return done(last); });
    }
    bool WaitForRetries(int count) {
        return WaitUntil([&](const StoreStatus&) { return retries >= count; });
    }
};

class StoreServer : public ::testing::Test {
protected:
    static void SetUpTestSuite() { cluster_ = std::make_unique<test::PgCluster>(); }
    static void TearDownTestSuite() { cluster_.reset(); }

    void SetUp() override {
        if (!cluster_->Running()) cluster_->Start();
        static int counter = 0;
        database_ = "station_test_" + std::to_string(++counter);
        Admin("CREATE DATABASE " + database_);
    }

    static void Admin(const std::string& sql) {
        PgSession admin(cluster_->Conninfo());
        ASSERT_TRUE(admin.Connected()) << admin.Error();
        const PgOutcome outcome = admin.Exec(sql);
        ASSERT_TRUE(outcome.ok) << outcome.message;
    }

    std::string Conninfo() const { return cluster_->Conninfo(database_); }

    // Records the next rows as the station does, waking the forwarder after each.
    void Record(StoreForwarder& forwarder, int rows) {
        if (!recorder_.IsOpen()) {
            ASSERT_TRUE(recorder_.Open(Folder()));
        }
        for (int n = 0; n < rows; ++n) {
            ASSERT_TRUE(recorder_.Insert(test::KnownRow(next_++)));
            forwarder.Wake();
        }
    }
    QString Folder() const { return QString::fromStdString(local_.Path().string()); }

    static void ExecLocal(const test::TempDir& folder, const std::string& sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(folder.File("DataRecord.db").c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK)
            << sqlite3_errmsg(db);
        sqlite3_close(db);
    }

    StoreForwarderOptions Options(SensorMask sensors, StatusLog& log) const {
        StoreForwarderOptions options;
        options.conninfo = Conninfo();
        options.station = "press-7";
        options.databasePath = local_.File("DataRecord.db");
        options.sensors = sensors;
        options.firstRetry = 20ms;
        options.lastRetry = 100ms;
        options.idleCheck = 50ms;
        options.batchRecords = 4;
        options.onChange = [&log](const StoreStatus& s) {
            std::lock_guard lock(log.mutex);
            log.changes.push_back(s);
        };
        options.onProgress = [&log](const StoreStatus& s) {
            std::lock_guard lock(log.mutex);
            log.last = s;
            log.retries += s.state == StoreState::Retrying ? 1 : 0;
            if (s.state == StoreState::Retrying) {  // the last word on an attempt wins
                log.delaysMs.resize(std::max(log.delaysMs.size(), size_t(s.attempts)));
                log.delaysMs[size_t(s.attempts) - 1] = s.retryDelay.count();
            }
            log.changed.notify_all();
        };
        return options;
    }

    // The first column of every row of a query on the test's database.
    std::vector<std::string> Select(const std::string& sql) const {
        PgSession session(Conninfo());
        PgOutcome outcome;
        const PgResultPtr result = session.Query(sql, {}, &outcome);
        EXPECT_TRUE(outcome.ok) << outcome.message;
        std::vector<std::string> rows;
        for (int r = 0; result && r < PQntuples(result.get()); ++r)
            rows.push_back(PQgetvalue(result.get(), r, 0));
        return rows;
    }

    // One text per server row: "sensor|epoch ms|ten values", in time and sensor order.
    std::vector<std::string> ServerRows() const {
        return Select(
            "SELECT concat_ws('|', sensor, (extract(epoch FROM time) * 1000)::bigint, "
            "concat_ws(',', t_shell, acc_x, acc_y, acc_z, vel_x, vel_y, vel_z, disp_x, disp_y, "
            "disp_z)) FROM readings WHERE station = 'press-7' ORDER BY time, sensor");
    }

    static std::vector<std::string> ExpectedRows(int first, int count, SensorMask sensors) {
        std::vector<std::string> rows;
        for (int n = first; n < first + count; ++n)
            for (int s = 1; s <= kStoreSensors; ++s) {
                if (!sensors.test(size_t(s - 1))) continue;
                std::ostringstream row;
                row << s << '|' << test::KnownTimeMs(n) << '|';
                for (int k = 0; k < kStoreValues; ++k)
                    row << (k ? "," : "") << test::KnownValue(n, s, k);
                rows.push_back(row.str());
            }
        return rows;
    }

    static std::unique_ptr<test::PgCluster> cluster_;
    std::string database_;
    test::TempDir local_;
    RecordDatabase recorder_;
    int next_ = 0;
};

std::unique_ptr<test::PgCluster> StoreServer::cluster_;

const SensorMask kSensors135("010101");  // sensors 1, 3 and 5

TEST_F(StoreServer, ForwardsConfiguredSensorsWithTheirValuesAndTimesAndKeepsNoSecret) {
    test::WriteKnownRows(Folder(), 0, 10);
    StatusLog log;
    StoreForwarderOptions options = Options(kSensors135, log);
    options.conninfo += " sslpassword=hunter3";  // unused without a client key
    StoreForwarder forwarder(options);
    ASSERT_TRUE(log.WaitUntil([](const StoreStatus& s) { return s.forwardedRows == 30; }));
    forwarder.Stop();
    EXPECT_EQ(forwarder.Status().backlog, 0);
    EXPECT_EQ(ServerRows(), ExpectedRows(0, 10, kSensors135));
    EXPECT_EQ(log.changes.at(0).state, StoreState::Connected);

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(local_.File("DataRecord.db").c_str(), &db), SQLITE_OK);
    std::string targets;
    sqlite3_exec(
        db, "SELECT target FROM store_position",
        [](void* out, int, char** v, char**) {
            return *static_cast<std::string*>(out) += std::string(v[0]) + "\n", 0;
        },
        &targets, nullptr);
    sqlite3_close(db);
    EXPECT_EQ(std::count(targets.begin(), targets.end(), '\n'), 1) << targets;
    EXPECT_EQ(targets.find("hunter3"), std::string::npos) << targets;
}

TEST_F(StoreServer, StaleReadingsNeverReachTheServerWhileTheRowsFreshOnesDo) {
    test::WriteKnownRows(Folder(), 0, 6);
    {
        // Sensor 3 silent in records 1 and 2, every sensor in record 4.
        RecordDatabase database;
        ASSERT_TRUE(database.Open(Folder()));
        ASSERT_TRUE(QSqlQuery(database.Connection())
                        .exec("UPDATE data SET Ok3 = 0 WHERE rowid IN (2, 3, 5)"));
        ASSERT_TRUE(QSqlQuery(database.Connection())
                        .exec("UPDATE data SET Ok1 = 0, Ok5 = 0 WHERE rowid = 5"));
    }
    std::vector<std::string> expected = ExpectedRows(0, 6, kSensors135);
    for (const size_t at : {14, 13, 12, 7, 4}) expected.erase(expected.begin() + ptrdiff_t(at));
    StatusLog log;
    StoreForwarder forwarder(Options(kSensors135, log));
    ASSERT_TRUE(log.WaitUntil([](const StoreStatus& s) { return s.backlog == 0; }));
    forwarder.Stop();
    EXPECT_EQ(forwarder.Status().forwardedRows, 13);
    EXPECT_EQ(ServerRows(), expected);
}

TEST_F(StoreServer, ABatchSentAgainNeverDoublesARow) {
    // The server committed, but its answer was lost: the station still holds
    // the old position and sends the same rows again, with new ones behind.
    test::WriteKnownRows(Folder(), 0, 6);
    LocalRecordSource source(local_.File("DataRecord.db"));
    ASSERT_TRUE(source.Open());
    auto copyText = [&](int records) {
        ForwardPosition start;
        std::vector<LocalRecord> read;
        EXPECT_TRUE(source.ReadAfter(start, records, &read));
        std::string text;
        AppendReadingsCopyText(read, kSensors135, "press-7", text);
        return text;
    };
    const std::string firstFour = copyText(4), allSix = copyText(6);

    PgSession session(Conninfo());
    ASSERT_TRUE(session.Connected());
    ASSERT_EQ(EnsureTable(session, ReadingsTable()), "");
    struct Step {
        const std::string& text;
        int rowsAfter;
    } const steps[] = {{firstFour, 12}, {firstFour, 12}, {allSix, 18}, {allSix, 18}};
    for (const Step& step : steps) {
        const PgOutcome outcome = UploadRows(session, ReadingsTable(), step.text);
        ASSERT_TRUE(outcome.ok) << outcome.message;
        EXPECT_EQ(ServerRows().size(), size_t(step.rowsAfter));
    }
    EXPECT_EQ(ServerRows(), ExpectedRows(0, 6, kSensors135));
}

TEST_F(StoreServer, BacklogShowsWhileTheServerIsAwayAndDrainsAfterTheStationRestarts) {
    const SensorMask all("111111");
    test::WriteKnownRows(Folder(), 0, 5);
    cluster_->Stop();
    {
        StatusLog log;
        StoreForwarder serverDown(Options(all, log));
        ASSERT_TRUE(log.WaitUntil([](const StoreStatus& s) {
            return s.state == StoreState::Retrying && s.backlog == 30;
        }));
    }
    cluster_->Start();
    {
        StatusLog log;
        StoreForwarder restarted(Options(all, log));
        ASSERT_TRUE(log.WaitUntil([](const StoreStatus& s) { return s.forwardedRows == 30; }));
    }
    EXPECT_EQ(ServerRows(), ExpectedRows(0, 5, all));
}

TEST_F(StoreServer, ConnectionRefusalsReportedOnceWhileRecordingGoesOn) {
    Admin(
        "DO $$ BEGIN CREATE ROLE watcher NOLOGIN; EXCEPTION WHEN duplicate_object THEN NULL; END "
        "$$");
    struct Case {
        std::string conninfoTail;
        std::string expected;
    } const cases[] = {
        {" dbname=no_such_plant password=hunter2", "\"no_such_plant\" does not exist"},
        {" user=watcher password=hunter2", "\"watcher\" is not permitted to log in"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.conninfoTail);
        StatusLog log;
        StoreForwarderOptions options = Options(kSensors135, log);
        options.conninfo += c.conninfoTail;
        StoreForwarder forwarder(options);
        RecordDatabase recorder;
        ASSERT_TRUE(recorder.Open(Folder()));
        for (int n = 0; n < 3; ++n) {
            ASSERT_TRUE(log.WaitForRetries(2 * (n + 1)));
            EXPECT_TRUE(recorder.Insert(test::KnownRow(n))) << "local recording goes on";
        }
        forwarder.Stop();
        const std::vector<StoreStatus> changes = log.changes;
        ASSERT_EQ(changes.size(), 1u) << "one message per error, not one per retry";
        EXPECT_EQ(changes[0].state, StoreState::Retrying);
        EXPECT_NE(changes[0].lastError.find(c.expected), std::string::npos) << changes[0].lastError;
        EXPECT_EQ(changes[0].lastError.find("hunter2"), std::string::npos);
        EXPECT_EQ(changes[0].lastError.find_first_of("\n\t"), std::string::npos) << "one line";
        EXPECT_EQ(forwarder.Status().forwardedRows, 0);
    }
}

TEST_F(StoreServer, RowsRefusedAfterEachConnectionBackOffUntouchedByNewRowsAndAreToldOnce) {
    // Our table, but a check that no reading passes: every connection
    // succeeds and every COPY fails.
    PgSession owner(Conninfo());
    ASSERT_EQ(EnsureTable(owner, ReadingsTable()), "");
    ASSERT_TRUE(
        owner.Exec("ALTER TABLE readings ADD CONSTRAINT no_reading_fits CHECK (t_shell < 0)").ok);
    test::WriteKnownRows(Folder(), 0, 2);
    next_ = 2;
    // Runs a forwarder until its attempt `attempts` failed, recording
    // meanwhile; the back-off chosen after each attempt.
    auto run = [&](std::chrono::milliseconds first, std::chrono::milliseconds last,
                   int64_t attempts, StoreStatus* final) {
        StatusLog log;
        StoreForwarderOptions options = Options(kSensors135, log);
        options.firstRetry = first;
        options.lastRetry = last;
        StoreForwarder forwarder(options);
        EXPECT_TRUE(log.WaitUntil([&](const StoreStatus& s) {
            return s.state == StoreState::Retrying && s.attempts >= attempts;
        }));
        Record(forwarder, 10);
        forwarder.Stop();
        *final = forwarder.Status();
        EXPECT_EQ(log.changes.size(), 1u) << "one message per error, not one per attempt";
        for (const StoreStatus& change : log.changes)
            EXPECT_NE(change.lastError.find("no_reading_fits"), std::string::npos)
                << change.lastError;
        log.delaysMs.resize(size_t(attempts));
        return log.delaysMs;
    };
    StoreStatus final;
    EXPECT_EQ(run(20ms, 80ms, 5, &final), (std::vector<int64_t>{20, 40, 80, 80, 80}));
    EXPECT_EQ(run(1h, 1h, 1, &final), std::vector<int64_t>{3600000});
    EXPECT_EQ(final.attempts, 1) << "new rows brought an attempt forward";
}

TEST_F(StoreServer, AServerThatStopsAnsweringIsGivenUpCountedPastStoppedAndResumedAfter) {
    const SensorMask all("111111");
    test::WriteKnownRows(Folder(), 0, 2);
    next_ = 2;
    struct Resume {
        test::PgCluster& cluster;
        ~Resume() { cluster.Resume(); }  // also after a failed assertion
    } const resume{*cluster_};
    {
        // Never given up by itself: only the stop ends the wait.
        StatusLog log;
        StoreForwarderOptions options = Options(all, log);
        options.answerLimit = std::chrono::hours(1);
        StoreForwarder forwarder(options);
        ASSERT_TRUE(log.WaitUntil([](const StoreStatus& s) { return s.forwardedRows == 12; }));
        cluster_->Pause();
        Record(forwarder, 1);  // sent into the silence
        Record(forwarder, 2);
        EXPECT_TRUE(log.WaitUntil([](const StoreStatus& s) { return s.backlog == 18; }))
            << "the backlog keeps counting";
        forwarder.Stop(100ms);
        EXPECT_EQ(forwarder.Status().forwardedRows, 12);
    }
    cluster_->Resume();
    {
        // Given up after its answer limit, and again at every connection
        // while paused; forwarding goes on by itself once the server answers.
        StatusLog log;
        StoreForwarderOptions options = Options(all, log);
        options.answerLimit = 200ms;
        options.connectLimit = 200ms;
        StoreForwarder forwarder(options);
        ASSERT_TRUE(log.WaitUntil([](const StoreStatus& s) { return s.forwardedRows == 18; }));
        cluster_->Pause();
        Record(forwarder, 1);
        ASSERT_TRUE(log.WaitUntil([](const StoreStatus& s) {
            return s.state == StoreState::Retrying &&
                   s.lastError.find("秒无应答") != std::string::npos;
        })) << log.last.lastError;
        Record(forwarder, 1);
        cluster_->Resume();
        ASSERT_TRUE(log.WaitUntil([](const StoreStatus& s) { return s.forwardedRows == 30; }));
    }
    EXPECT_EQ(ServerRows(), ExpectedRows(0, next_, all));
}

TEST_F(StoreServer, ATableMadeBySomeoneElseWithoutOurColumnsOrKeyIsRefused) {
    test::WriteKnownRows(Folder(), 0, 2);
    const std::string withoutKey =
        "station text, time timestamptz, sensor smallint, t_shell real, acc_x real, acc_y real, "
        "acc_z real, vel_x real, vel_y real, vel_z real, disp_x real, disp_y real, disp_z real";
    std::string dated = withoutKey;
    dated.replace(dated.find("t_shell real"), 12, "t_shell date");
    struct Case {
        std::string columns;
        std::string expected;
    } const cases[] = {
        {"station text, time timestamptz, sensor smallint, t_shell real, note text",
         "缺少列: acc_x, acc_y, acc_z, vel_x, vel_y, vel_z, disp_x, disp_y, disp_z"},
        {withoutKey, "缺少唯一键 (station, time, sensor)"},
        {withoutKey + ", unique (station, time)", "缺少唯一键 (station, time, sensor)"},
        // Binary COPY would put a reading's four bytes into a date unnoticed.
        {dated + ", unique (station, time, sensor)", "列类型不符: t_shell 为 date，应为 real"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.columns);
        Admin("DROP DATABASE IF EXISTS " + database_);
        Admin("CREATE DATABASE " + database_);
        {
            PgSession owner(Conninfo());
            ASSERT_TRUE(owner.Exec("CREATE TABLE readings (" + c.columns + ")").ok);
        }
        StatusLog log;
        StoreForwarder forwarder(Options(kSensors135, log));
        ASSERT_TRUE(log.WaitForRetries(2));
        forwarder.Stop();
        const StoreStatus status = forwarder.Status();
        EXPECT_EQ(status.state, StoreState::Retrying);
        EXPECT_NE(status.lastError.find(c.expected), std::string::npos) << status.lastError;
        EXPECT_EQ(Select("SELECT count(*) FROM readings"), std::vector<std::string>{"0"});
    }
}

TEST_F(StoreServer, AlarmEventsOfTheStationGoToTheServerOnceAndTheirAcknowledgementsFollow) {
    test::WriteKnownRows(Folder(), 0, 2);
    {
        // The server table as an earlier version made it.
        PgSession owner(Conninfo());
        ASSERT_TRUE(owner
                        .Exec("CREATE TABLE alarm_events (station text, time timestamptz, "
                              "sensor smallint, axis text, value real, zone text, kind text, "
                              "ack boolean, primary key (station, time, sensor, axis, kind))")
                        .ok);
    }
    {
        // The alarm table as the station keeps it.
        const char* sql =
            "CREATE TABLE alarm (Time INTEGER, msTime INTEGER, Sensor INTEGER, Axis TEXT, "
            "Value REAL, Zone TEXT, Kind TEXT, Ack INTEGER);"
            "INSERT INTO alarm VALUES (1714523415, 250, 2, 'Z', 7.25, 'C', 'ALARM', 0);"
            "INSERT INTO alarm VALUES (1714523416, 0, 2, 'Z', 11.5, 'D', 'TRIP', 1);"
            // The temperature's TRIP at the same moment is an event of its own.
            "INSERT INTO alarm VALUES (1714523416, 0, 2, 'T_Shell', 92.5, '', 'TRIP', 0);"
            "INSERT INTO alarm VALUES (1714523420, 999, 5, 'X\ty', 2.5, 'B', 'CLEAR', NULL);"
            // A lost sensor has no reading: no axis, no value, no zone.
            "INSERT INTO alarm VALUES (1714523421, 0, 4, NULL, NULL, '', 'LOST', 0);"
            "INSERT INTO alarm VALUES (1714523425, 0, 4, 'Vel_Y', 1.5, 'A', 'RESTORED', 0);";
        ExecLocal(local_, sql);
    }
    auto serverEvents = [this] {
        return Select(
            "SELECT concat_ws('|', station, (extract(epoch FROM time) * 1000)::bigint, sensor, "
            "axis, value, zone, kind, coalesce(ack::text, 'null'), ack_by, "
            "floor(extract(epoch FROM ack_time))::bigint) FROM alarm_events ORDER BY time, axis");
    };
    std::vector<std::string> expected = {
        "press-7|1714523415250|2|Z|7.25|C|ALARM|false",
        "press-7|1714523416000|2|T_Shell|92.5||TRIP|false",
        "press-7|1714523416000|2|Z|11.5|D|TRIP|true",
        "press-7|1714523420999|5|X\ty|2.5|B|CLEAR|null",
        "press-7|1714523421000|4|||LOST|false",
        "press-7|1714523425000|4|Vel_Y|1.5|A|RESTORED|false",
    };
    for (int run = 0; run < 3; ++run) {
        if (run == 2) {
            // The station upgrades its table and acknowledges two alarms.
            AlarmStore station;
            ASSERT_TRUE(station.Open(Folder())) << station.LastError().toStdString();
            ASSERT_TRUE(station.AcknowledgeAlarm(2, AlarmKind::Alarm, "张工", 1714530000500));
            ASSERT_TRUE(station.AcknowledgeAlarm(4, AlarmKind::Lost, "li", 1714530060000));
            expected[0] = "press-7|1714523415250|2|Z|7.25|C|ALARM|true|张工|1714530000";
            ASSERT_TRUE(station.AcknowledgeAlarm(2, AlarmKind::Trip, "王", 1714530120000,
                                                 AlarmQuantity::Temperature));
            expected[1] = "press-7|1714523416000|2|T_Shell|92.5||TRIP|true|王|1714530120";
            expected[4] = "press-7|1714523421000|4|||LOST|true|li|1714530060";
        }
        StatusLog log;
        StoreForwarder forwarder(Options(kSensors135, log));
        // Alarm events go before the rows of the same round.
        ASSERT_TRUE(log.WaitUntil([](const StoreStatus& s) {
            return s.state == StoreState::Connected && s.backlog == 0;
        }));
        forwarder.Stop();
        EXPECT_EQ(serverEvents(), expected) << "run " << run;
    }
}

TEST_F(StoreServer, ANameHeldByAnotherDataFolderIsRefusedNamingTheHolderUntilRenamed) {
    test::TempDir other;
    const QString otherFolder = QString::fromStdString(other.Path().string());
    test::WriteKnownRows(Folder(), 0, 2);
    test::WriteKnownRows(otherFolder, 10, 2);
    auto forward = [&](const test::TempDir& folder, const std::string& station,
                       const std::function<bool(const StoreStatus&)>& until) {
        StatusLog log;
        StoreForwarderOptions options = Options(kSensors135, log);
        options.databasePath = folder.File("DataRecord.db");
        options.station = station;
        StoreForwarder forwarder(options);
        EXPECT_TRUE(log.WaitUntil(until)) << log.last.lastError;
        forwarder.Stop();
        return log.changes;
    };
    auto sent = [](const StoreStatus& s) {
        return s.state == StoreState::Connected && s.backlog == 0;
    };
    forward(local_, "press-7", sent);
    // The second folder: refused while recording on, told once, nothing sent.
    const auto refused = forward(other, "press-7", [](const StoreStatus& s) {
        return s.state == StoreState::Retrying && s.attempts >= 3;
    });
    ASSERT_EQ(refused.size(), 1u);
    const std::string& message = refused[0].lastError;
    EXPECT_NE(message.find("站点名 press-7 已被 主机 " + LocalHostName() + " 上的数据文件夹 " +
                           local_.Path().string()),
              std::string::npos)
        << message;
    EXPECT_NE(message.find("使用"), std::string::npos) << message;
    // The connection test tells the same before anything is sent.
    for (const test::TempDir* folder : {&local_, &other}) {
        const ServerAnswer answer =
            ProbeServer(Conninfo(), "press-7", folder->File("DataRecord.db"));
        EXPECT_EQ(answer.ok, folder == &local_) << answer.text;
        EXPECT_NE(answer.text.find(folder == &local_ ? "已由本数据文件夹登记" : message),
                  std::string::npos)
            << answer.text;
    }
    // The holder comes back under its own name; the other one under a new name.
    forward(local_, "press-7", sent);
    forward(other, "press-8", sent);
    EXPECT_EQ(ServerRows(), ExpectedRows(0, 2, kSensors135));
    EXPECT_EQ(Select("SELECT count(*) FROM readings WHERE station = 'press-8'"),
              std::vector<std::string>{"6"});
    EXPECT_EQ(Select("SELECT name || ' ' || folder_path FROM stations ORDER BY name"),
              (std::vector<std::string>{"press-7 " + local_.Path().string(),
                                        "press-8 " + other.Path().string()}));
}

TEST_F(StoreServer, EachStreamFailsAloneIsToldOnceAndRetriedWhileTheRestFlows) {
    Admin(
        "DO $$ BEGIN CREATE ROLE inserter LOGIN; EXCEPTION WHEN duplicate_object THEN NULL; "
        "END $$");
    struct Case {
        std::string name;
        std::string setup;  // on the test database, as its owner
        std::string user;
        std::string problem;  // in streamProblems, or in lastError when readings fail
        bool readingsFlow;
        std::string repair;
    } const cases[] = {
        {"alarm_events with foreign columns", "CREATE TABLE alarm_events (station text, t int)",
         "postgres", "报警事件未发送: 服务器上已有的表 alarm_events 不是本站建立的，缺少列", true,
         "DROP TABLE alarm_events"},
        {"a login that may write readings only", "GRANT SELECT, INSERT ON readings TO inserter",
         "inserter", "报警事件未发送: 服务器上没有表 alarm_events，本站的登录无权建立", true,
         "GRANT CREATE ON SCHEMA public TO inserter"},
        {"readings of a wrong type", "ALTER TABLE readings ALTER t_shell TYPE date USING NULL",
         "postgres", "date", false, "ALTER TABLE readings ALTER t_shell TYPE real USING NULL"},
    };
    test::WriteKnownRows(Folder(), 0, 2);
    ExecLocal(local_,
              "CREATE TABLE alarm (Time INTEGER, msTime INTEGER, Sensor INTEGER, Axis TEXT, "
              "Value REAL, Zone TEXT, Kind TEXT, Ack INTEGER);"
              "INSERT INTO alarm VALUES (1714523415, 250, 2, 'Z', 7.25, 'C', 'ALARM', 0)");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Admin("DROP DATABASE IF EXISTS " + database_);
        Admin("CREATE DATABASE " + database_);
        PgSession owner(Conninfo());
        ASSERT_EQ(EnsureTable(owner, ReadingsTable()), "");
        ASSERT_TRUE(owner.Exec(c.setup).ok);
        ExecLocal(local_, "DROP TABLE IF EXISTS store_position");  // all again to the new database
        StatusLog log;
        StoreForwarderOptions options = Options(kSensors135, log);
        options.conninfo += " user=" + c.user;
        StoreForwarder forwarder(options);
        auto failing = [&](const StoreStatus& s) {
            return (c.readingsFlow ? s.streamProblems : s.lastError).find(c.problem) !=
                   std::string::npos;
        };
        ASSERT_TRUE(log.WaitUntil([&](const StoreStatus& s) {
            return failing(s) && (c.readingsFlow ? s.forwardedRows == 6 : s.attempts >= 3);
        })) << log.last.streamProblems
            << log.last.lastError;
        // The other stream went meanwhile.
        EXPECT_EQ(Select(c.readingsFlow ? "SELECT count(*) FROM readings"
                                        : "SELECT count(*) FROM alarm_events"),
                  std::vector<std::string>{c.readingsFlow ? "6" : "1"});
        ASSERT_TRUE(owner.Exec(c.repair).ok);
        ASSERT_TRUE(log.WaitUntil([](const StoreStatus& s) {
            return s.state == StoreState::Connected && s.streamProblems.empty() && s.backlog == 0;
        })) << log.last.streamProblems;
        forwarder.Stop();
        // Told when it appears (and again with the news of a connection), never per retry.
        EXPECT_LE(std::count_if(log.changes.begin(), log.changes.end(), failing), 2);
        EXPECT_EQ(Select("SELECT count(*) FROM alarm_events"), std::vector<std::string>{"1"});
        EXPECT_EQ(Select("SELECT count(*) FROM readings"), std::vector<std::string>{"6"});
    }
}

TEST_F(StoreServer, SensorNamesOfConfiguredSensorsReachTheServerAndFollowAChange) {
    test::WriteKnownRows(Folder(), 0, 1);
    next_ = 1;
    StatusLog log;
    StoreForwarderOptions options = Options(kSensors135, log);
    options.sensorNames = {"P-101", "P-102", "泵 3", "", "", ""};
    StoreForwarder forwarder(options);
    ASSERT_TRUE(log.WaitUntil([](const StoreStatus& s) { return s.forwardedRows == 3; }));
    const std::string names =
        "SELECT string_agg(concat_ws('=', station, sensor, coalesce(name, 'null')), ' ' ORDER BY "
        "sensor) FROM sensors";
    EXPECT_EQ(Select(names),
              std::vector<std::string>{"press-7=1=P-101 press-7=3=泵 3 press-7=5=null"});
    forwarder.SetSensors(SensorMask("010111"));
    forwarder.SetSensorNames({"P-101", "P-102", "", "", "M-5", ""});
    // Names go before the readings of the same round. A round already under
    // way keeps the selection it began with; the next begins with the new one.
    Record(forwarder, 1);
    ASSERT_TRUE(log.WaitUntil([](const StoreStatus& s) { return s.forwardedRows > 3; }));
    const auto sent = log.last.forwardedRows;
    Record(forwarder, 1);
    ASSERT_TRUE(log.WaitUntil([sent](const StoreStatus& s) { return s.forwardedRows > sent; }));
    EXPECT_EQ(Select(names), std::vector<std::string>{
                                 "press-7=1=P-101 press-7=2=P-102 press-7=3=null press-7=5=M-5"});
}

TEST_F(StoreServer, TheConnectionTestTellsForEveryTableWhetherItIsWritableMissingOrBroken) {
    Admin(
        "DO $$ BEGIN CREATE ROLE inserter LOGIN; EXCEPTION WHEN duplicate_object THEN NULL; "
        "END $$");
    PgSession owner(Conninfo());
    ASSERT_EQ(EnsureTable(owner, ReadingsTable()), "");
    ASSERT_EQ(EnsureTable(owner, SensorsTable()), "");
    ASSERT_TRUE(owner
                    .Exec("CREATE TABLE alarm_events (station text); GRANT SELECT, INSERT ON "
                          "readings, sensors TO inserter")
                    .ok);
    struct Case {
        std::string user;
        std::vector<std::string> fragments;
    } const cases[] = {
        {"inserter",
         {"用户 inserter", "表 readings: 可以写入", "服务器上已有的表 alarm_events 不是本站建立的",
          "表 stations: 尚不存在，本站的登录无权建立", "表 sensors: 本站的登录缺少权限 UPDATE"}},
        {"postgres", {"表 stations: 尚不存在，首次发送时自动建立", "表 sensors: 可以写入"}},
    };
    for (const Case& c : cases) {
        const ServerAnswer answer = ProbeServer(Conninfo() + " user=" + c.user);
        EXPECT_FALSE(answer.ok) << "alarm_events is unusable";
        for (const std::string& fragment : c.fragments)
            EXPECT_NE(answer.text.find(fragment), std::string::npos) << answer.text;
    }
}

TEST_F(StoreServer, ACleanStopDrainsWhatIsLeftAndAStopWithoutDrainLeavesItForTheNextStart) {
    const SensorMask all("111111");
    struct Case {
        std::chrono::milliseconds drain;
        int64_t forwardedAtStop;
    } const cases[] = {{StoreForwarder::kDrainOnStop, 12}, {0ms, 0}};
    int first = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.drain.count());
        StatusLog log;
        StoreForwarderOptions options = Options(all, log);
        options.idleCheck = std::chrono::hours(1);  // only the stop wakes it
        StoreForwarder forwarder(options);
        ASSERT_TRUE(log.WaitUntil([](const StoreStatus& s) {
            return s.state == StoreState::Connected && s.backlog == 0;
        }));
        test::WriteKnownRows(Folder(), first, 2);
        forwarder.Stop(c.drain);
        EXPECT_EQ(forwarder.Status().forwardedRows, c.forwardedAtStop);
        first += 2;
    }
    EXPECT_EQ(ServerRows().size(), 12u);
    StatusLog log;
    StoreForwarder next(Options(all, log));
    ASSERT_TRUE(log.WaitUntil([](const StoreStatus& s) { return s.forwardedRows == 12; }));
    next.Stop();
    EXPECT_EQ(ServerRows(), ExpectedRows(0, 4, all));
}

TEST_F(StoreServer, EachRowGoesForTheSensorsConfiguredWhenItWasWrittenAlsoAfterAClear) {
    // Rows 0-2 come from before the file kept a history: the selection in
    // force applies. Then sensor 2 is added and sensor 3 set to 0.0.0.0
    // while the server is away.
    const SensorMask s123("000111"), s12("000011");
    test::WriteKnownRows(Folder(), 0, 3);
    ASSERT_TRUE(recorder_.Open(Folder()));
    cluster_->Stop();
    for (const SensorMask sensors : {s123, s12}) {
        ASSERT_TRUE(recorder_.NoteConfiguredSensors(sensors));
        for (int n = 0; n < 3; ++n) ASSERT_TRUE(recorder_.Insert(test::KnownRow(3 + next_++)));
    }
    cluster_->Start();
    auto forwardAll = [&](int64_t rows) {
        StatusLog log;
        StoreForwarder forwarder(Options(kSensors135, log));
        ASSERT_TRUE(log.WaitUntil([&](const StoreStatus& s) { return s.forwardedRows == rows; }));
    };
    forwardAll(9 + 9 + 6);
    std::vector<std::string> expected = ExpectedRows(0, 3, kSensors135);
    for (const auto& rows : {ExpectedRows(3, 3, s123), ExpectedRows(6, 3, s12)})
        expected.insert(expected.end(), rows.begin(), rows.end());
    EXPECT_EQ(ServerRows(), expected);

    // Rowids start again after a clear: the selection in force (1, 2) holds.
    ASSERT_TRUE(recorder_.ClearAll());
    ASSERT_TRUE(recorder_.Insert(test::KnownRow(20)));
    forwardAll(2);
    EXPECT_EQ(ServerRows().size(), expected.size() + 2);
}

TEST_F(StoreServer, ReadingsThatMeetOtherValuesAreKeptAsConflictsOnceAndResentOnesAreNot) {
    test::WriteKnownRows(Folder(), 0, 4);
    StatusLog log;
    StoreForwarder forwarder(Options(kSensors135, log));
    ASSERT_TRUE(log.WaitUntil([](const StoreStatus& s) { return s.forwardedRows == 12; }));
    // The clock set back to record 1's instant, record 2 again as it was
    // (a row resent), and a new one, in one batch: committed together, so
    // the forwarder cannot meet them apart, and the first count of a
    // conflict is the one after all three.
    RecordRow setBack = test::KnownRow(7);
    setBack.time = test::KnownRow(1).time;
    setBack.milliseconds = test::KnownRow(1).milliseconds;
    ASSERT_TRUE(recorder_.Open(Folder()));
    QSqlDatabase connection = recorder_.Connection();
    ASSERT_TRUE(connection.transaction());
    for (const RecordRow& row : {setBack, test::KnownRow(2), test::KnownRow(4)})
        ASSERT_TRUE(recorder_.Insert(row));
    ASSERT_TRUE(connection.commit());
    forwarder.Wake();
    ASSERT_TRUE(log.WaitUntil([](const StoreStatus& s) { return s.conflicts > 0; }));
    {
        std::lock_guard lock(log.mutex);
        EXPECT_EQ(log.last.conflicts, 3);
        EXPECT_EQ(log.last.forwardedRows, 18) << "the new record's three readings";
    }
    forwarder.Stop();
    const StoreStatus status = forwarder.Status();
    EXPECT_EQ(status.conflicts, 3);
    EXPECT_EQ(status.forwardedRows, 18);
    EXPECT_EQ(std::count_if(log.changes.begin(), log.changes.end(),
                            [](const StoreStatus& s) { return s.conflicts > 0; }),
              1)
        << "told once";
    EXPECT_EQ(ServerRows(), ExpectedRows(0, 5, kSensors135));
    const std::string at = "|5|" + std::to_string(test::KnownTimeMs(1)) + "|";
    const std::vector<std::string> conflicts = {"1" + at + "7100.5", "3" + at + "7300.5",
                                                "5" + at + "7500.5"};
    auto serverConflicts = [this] {
        return Select(
            "SELECT concat_ws('|', sensor, local_row, (extract(epoch FROM time) * 1000)::bigint, "
            "t_shell) FROM readings_conflicts ORDER BY sensor");
    };
    EXPECT_EQ(serverConflicts(), conflicts);

    // Everything sent again from the start: nothing new, nothing counted.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(local_.File("DataRecord.db").c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "DELETE FROM store_position", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    StatusLog again;
    StoreForwarder resent(Options(kSensors135, again));
    ASSERT_TRUE(again.WaitUntil(
        [](const StoreStatus& s) { return s.state == StoreState::Connected && s.backlog == 0; }));
    resent.Stop();
    EXPECT_EQ(resent.Status().conflicts, 0);
    EXPECT_EQ(ServerRows(), ExpectedRows(0, 5, kSensors135));
    EXPECT_EQ(serverConflicts(), conflicts);
}

// Hourly and daily views over the readings equal a GROUP BY written with
// the epoch arithmetic instead; a login that may only write readings is told
// that an administrator has to make them, and its readings go on.
TEST_F(StoreServer, SummaryViewsEqualAGroupByOverReadingsAndALoginWithoutCreateIsOnlyTold) {
    PgSession owner(Conninfo());
    ASSERT_EQ(EnsureTable(owner, ReadingsTable()), "");
    ASSERT_TRUE(owner
                    .Exec("INSERT INTO readings SELECT s, timestamptz '2024-04-30 22:58:59+00' + "
                          "i * interval '7 min 3 s', i % 3 + 1, (i * 7) % 50, i % 11, i % 13, "
                          "i % 17, (i * 3) % 19, i % 23, i % 29, i % 31, i % 37, i % 41 FROM "
                          "generate_series(0, 1200) i, (VALUES ('press-7'), ('mill-2')) v(s)")
                    .ok);
    bool made = false;
    ASSERT_EQ(EnsureSummaryViews(owner, &made), "");
    ASSERT_TRUE(made);
    for (const auto& [view, seconds] :
         {std::pair{"readings_hourly", 3600}, {"readings_daily", 86400}}) {
        std::string columns = "station, sensor, extract(epoch FROM start)::bigint, readings";
        std::string aggregates = "count(*)";
        for (const char* c : kReadingValueColumns) {
            columns +=
                std::string(", ") + c + "_min, round(" + c + "_mean::numeric, 9), " + c + "_max";
            aggregates +=
                std::string(", min(") + c + "), round(avg(" + c + ")::numeric, 9), max(" + c + ")";
        }
        const std::string bucket = "(floor(extract(epoch FROM time) / " + std::to_string(seconds) +
                                   ") * " + std::to_string(seconds) + ")::bigint";
        const std::string kept = "SELECT " + columns + " FROM " + view;
        const std::string reference = "SELECT station, sensor, " + bucket + ", " + aggregates +
                                      " FROM readings GROUP BY station, sensor, " + bucket;
        EXPECT_EQ(Select("SELECT (SELECT count(*) FROM (" + kept + " EXCEPT " + reference +
                         ") a) + (SELECT count(*) FROM (" + reference + " EXCEPT " + kept + ") b)"),
                  std::vector<std::string>{"0"})
            << view;
        EXPECT_EQ(Select(std::string("SELECT count(*) > 12 FROM ") + view),
                  std::vector<std::string>{"t"})
            << view;
    }

    Admin(
        "DO $$ BEGIN CREATE ROLE inserter LOGIN; EXCEPTION WHEN duplicate_object THEN NULL; "
        "END $$");
    ASSERT_TRUE(owner
                    .Exec("DROP VIEW readings_hourly, readings_daily; DELETE FROM readings; GRANT "
                          "SELECT, INSERT ON readings TO inserter")
                    .ok);
    test::WriteKnownRows(Folder(), 0, 2);
    StatusLog log;
    StoreForwarderOptions options = Options(kSensors135, log);
    options.conninfo += " user=inserter";
    StoreForwarder forwarder(options);
    ASSERT_TRUE(log.WaitUntil([](const StoreStatus& s) {
        return s.forwardedRows == 6 &&
               s.streamProblems.find(
                   "汇总视图未建立: 服务器上没有视图 readings_hourly，本站的登录无权"
                   "建立，需由管理员建立") != std::string::npos;
    })) << log.last.streamProblems;
}

}  // namespace
}  // namespace orsan::store
