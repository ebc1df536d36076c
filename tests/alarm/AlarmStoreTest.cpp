#include <gtest/gtest.h>

#include <QFile>
#include <QSqlQuery>
#include <QTextStream>

#include "AlarmExport.h"
#include "AlarmMonitor.h"
#include "AlarmStore.h"
#include "RecordCsvExport.h"
#include "RecordDatabase.h"
#include "RecordTestSupport.h"
#include "StationConfig.h"
#include "TempDir.h"

namespace orsan {
namespace {

AlarmEvent Event(int64_t ms, int sensor, int axis, float value, Zone zone, AlarmKind kind) {
    AlarmEvent e;
    e.timeMs = ms;
    e.sensor = sensor;
    e.axis = axis;
    e.value = value;
    e.zone = zone;
    e.kind = kind;
    return e;
}

class AlarmStoreTest : public ::testing::Test {
protected:
    test::TempDir dir{"orsan-alarm-store"};
    QString folder = QString::fromStdString(dir.Path().string());
    QString file = RecordDatabase::PathIn(folder);

    // 2024-05-01 08:30:15 in the tests' zone (UTC+8) is 00:30:15 UTC.
    static constexpr int64_t kT0 = 1714523415000;

    void StoreThree(AlarmStore& store) {
        AlarmEvent events[] = {
            Event(kT0 + 7, 3, 1, 3.5f, Zone::C, AlarmKind::Alarm),
            Event(kT0 + 1000, 3, 2, 5.25f, Zone::D, AlarmKind::Trip),
            Event(kT0 + 9000, 3, 0, 1.0f, Zone::A, AlarmKind::Clear),
        };
        for (AlarmEvent& e : events)
            ASSERT_TRUE(store.Insert(&e)) << store.LastError().toStdString();
    }
};

TEST_F(AlarmStoreTest, EventsAreListedNewestFirstAndAcknowledged) {
    AlarmStore store;
    ASSERT_TRUE(store.Open(folder)) << store.LastError().toStdString();
    StoreThree(store);
    std::vector<AlarmEvent> events;
    ASSERT_TRUE(store.LoadNewest(10, &events));
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0].kind, AlarmKind::Clear);
    EXPECT_EQ(events[1],
              (AlarmEvent{kT0 + 1000, 3, 2, 5.25f, Zone::D, AlarmKind::Trip, false, events[1].id}));
    EXPECT_EQ(events[2].timeMs, kT0 + 7);
    EXPECT_EQ(events[2].value, 3.5f);
    EXPECT_EQ(store.UnacknowledgedRaisedCount(), 2);  // CLEAR does not count

    ASSERT_TRUE(store.Acknowledge(events[1].id, "张工", kT0 + 60000));
    ASSERT_TRUE(store.LoadNewest(2, &events));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_TRUE(events[1].acknowledged);
    EXPECT_EQ(events[1].ackBy, "张工");
    EXPECT_EQ(events[1].ackTime, kT0 / 1000 + 60);
    EXPECT_EQ(store.UnacknowledgedRaisedCount(), 1);
    // The page's list: the newest, and older events only while they wait.
    ASSERT_TRUE(store.LoadForList(1, &events));
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].kind, AlarmKind::Clear);
    EXPECT_EQ(events[1].kind, AlarmKind::Alarm);
    ASSERT_TRUE(store.AcknowledgeAll("li", kT0 + 90000));
    EXPECT_EQ(store.UnacknowledgedRaisedCount(), 0);

    // Values as the table holds them, read without the store.
    test::WithRawConnection(file, [](QSqlDatabase& db) {
        QSqlQuery q(db);
        ASSERT_TRUE(
            q.exec("SELECT Time, msTime, Sensor, Axis, Value, Zone, Kind, Ack FROM alarm "
                   "ORDER BY rowid LIMIT 1"));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(0).toLongLong(), kT0 / 1000);
        EXPECT_EQ(q.value(1).toInt(), 7);
        EXPECT_EQ(q.value(2).toInt(), 3);
        EXPECT_EQ(q.value(3).toString(), "Vel_Y");
        EXPECT_EQ(q.value(4).toDouble(), 3.5);
        EXPECT_EQ(q.value(5).toString(), "C");
        EXPECT_EQ(q.value(6).toString(), "ALARM");
        EXPECT_EQ(q.value(7).toInt(), 1);
        // Each acknowledgement once in the log, with its own time and name.
        ASSERT_TRUE(q.exec("SELECT a.Kind, a.AckBy, a.AckTime, k.Time, k.msTime, k.AckBy "
                           "FROM alarm_ack k JOIN alarm a ON a.rowid = k.Alarm ORDER BY k.rowid"));
        const QStringList expected[] = {{"TRIP", "张工", "1714523475", "1714523475", "0", "张工"},
                                        {"ALARM", "li", "1714523505", "1714523505", "0", "li"},
                                        {"CLEAR", "li", "1714523505", "1714523505", "0", "li"}};
        for (const QStringList& row : expected) {
            ASSERT_TRUE(q.next()) << row.join(',').toStdString();
            for (int c = 0; c < row.size(); ++c) EXPECT_EQ(q.value(c).toString(), row[c]) << c;
        }
        EXPECT_FALSE(q.next());
    });
}

TEST_F(AlarmStoreTest, AnOlderTableGetsTheAcknowledgementColumnsAndKeepsItsRows) {
    {
        RecordDatabase record;
        ASSERT_TRUE(record.Open(folder));
    }
    test::WithRawConnection(file, [](QSqlDatabase& db) {
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("CREATE TABLE alarm (Time INTEGER, msTime INTEGER, Sensor INTEGER, "
                           "Axis TEXT, Value REAL, Zone TEXT, Kind TEXT, Ack INTEGER)"));
        ASSERT_TRUE(q.exec("INSERT INTO alarm VALUES (1714523415, 0, 2, 'Vel_X', 5, 'D', "
                           "'TRIP', 0)"));
    });
    // An export reads it as it is.
    AlarmStore reader;
    ASSERT_TRUE(reader.Open(folder, AlarmStore::Mode::ExistingOnly))
        << reader.LastError().toStdString();
    std::vector<AlarmEvent> events;
    ASSERT_TRUE(reader.LoadAll(&events));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_TRUE(events[0].ackBy.isEmpty());
    reader.Close();

    // The station upgrades it; the earlier run's TRIP, never cleared, goes on.
    AlarmMonitor monitor([] { return int64_t(0); }, [] { return kT0 + 5000; });
    ASSERT_TRUE(monitor.OpenStore(folder)) << monitor.Store().LastError().toStdString();
    EXPECT_EQ(monitor.States().State(2, AlarmKind::Trip), AlarmState::ActiveUnacknowledged);
    ASSERT_TRUE(monitor.Acknowledge(2, AlarmKind::Trip, "wang"));
    EXPECT_EQ(monitor.States().State(2, AlarmKind::Trip), AlarmState::ActiveAcknowledged);
    ASSERT_TRUE(monitor.Store().LoadAll(&events));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_TRUE(events[0].acknowledged);
    EXPECT_EQ(events[0].ackBy, "wang");
    EXPECT_EQ(events[0].ackTime, kT0 / 1000 + 5);
}

TEST_F(AlarmStoreTest, TableJoinsAnExistingRecordFileWithoutTouchingItsRows) {
    {
        RecordDatabase record;
        ASSERT_TRUE(record.Open(folder));
        for (int i = 0; i < 3; ++i) ASSERT_TRUE(record.Insert(test::PatternRow(1000 + i, 0, i)));
    }
    {
        AlarmStore store;
        ASSERT_TRUE(store.Open(folder)) << store.LastError().toStdString();
        StoreThree(store);
    }
    EXPECT_EQ(test::RawRowCount(file), 3);
    RecordDatabase again;  // still the station's file for the record side
    ASSERT_TRUE(again.Open(folder));
    EXPECT_EQ(again.Count(), std::optional<qint64>(3));

    // A new folder: the file is made with both tables.
    test::TempDir fresh("orsan-alarm-fresh");
    AlarmStore store;
    ASSERT_TRUE(store.Open(QString::fromStdString(fresh.Path().string())));
    RecordDatabase record;
    EXPECT_TRUE(record.Open(QString::fromStdString(fresh.Path().string())))
        << record.LastDiagnostic().toStdString();
}

TEST_F(AlarmStoreTest, ForeignFilesAndTablesAreRefused) {
    AlarmStore store;
    EXPECT_FALSE(store.Open(folder, AlarmStore::Mode::ExistingOnly));
    EXPECT_FALSE(QFile::exists(file));  // an export makes nothing

    {
        RecordDatabase record;
        ASSERT_TRUE(record.Open(folder));
    }
    test::WithRawConnection(file, [](QSqlDatabase& db) {
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("CREATE TABLE alarm (Id INTEGER, Text TEXT)"));
    });
    EXPECT_FALSE(store.Open(folder));
    EXPECT_TRUE(store.LastError().contains("alarm")) << store.LastError().toStdString();
}

TEST_F(AlarmStoreTest, MonitorStoresEventsDatedByTheWallClockDelayedByTheSteadyOne) {
    int64_t steady = 1000;
    int64_t wall = kT0;
    AlarmMonitor monitor([&steady] { return steady; }, [&wall] { return wall; });
    ASSERT_TRUE(monitor.OpenStore(folder));
    // Sensor 2 reads 3.0 mm/s at every refresh; sensor 3 has an address and
    // never answers; sensor 4 answered once and is paused.
    std::array<SensorStatus, kSensorCount> statuses{};
    statuses[1].record.Vel_X = 3.0f;
    statuses[1].record.CommOk = true;
    statuses[3].record.CommOk = true;
    statuses[3].lastGoodReadSteadyMs = 500;
    statuses[3].paused = true;
    const std::array<uint32_t, kSensorCount> addresses = {0, 0x0200007F, 0x0300007F, 0x0400007F};
    const auto update = [&](AlarmMonitor& m) {
        statuses[1].lastGoodReadSteadyMs = steady;
        return m.Update(statuses, addresses, 1.0);
    };
    EXPECT_TRUE(update(monitor).empty());
    EXPECT_EQ(monitor.Zones()[1], Zone::C);
    EXPECT_EQ(monitor.Zones()[3], Zone::None);  // paused: not fresh
    // The wall clock is set back an hour while three steady seconds pass.
    steady += 3000;
    wall -= 3600 * 1000;
    ASSERT_EQ(update(monitor).size(), 2u);
    std::vector<AlarmEvent> stored;
    ASSERT_TRUE(monitor.Store().LoadAll(&stored));
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].sensor, 2);
    EXPECT_EQ(stored[0].kind, AlarmKind::Alarm);
    EXPECT_EQ(stored[0].timeMs, wall);
    EXPECT_EQ(stored[1],
              (AlarmEvent{wall, 3, kNoAxis, 0, Zone::None, AlarmKind::Lost, false, stored[1].id}));
    EXPECT_EQ(monitor.Store().UnacknowledgedRaisedCount(), 2);

    // Sensor 2 is not read again: after 2 s (interval 1 s) it is stale, no zone.
    steady += 2001;
    EXPECT_TRUE(monitor.Update(statuses, addresses, 1.0).empty());
    EXPECT_EQ(monitor.Zones()[1], Zone::None);

    AlarmMonitor unstored([&steady] { return steady; }, [&wall] { return wall; });
    update(unstored);
    steady += 3000;
    EXPECT_EQ(update(unstored).size(), 2u);
    EXPECT_EQ(unstored.StoreFailures(), 2);
}

TEST_F(AlarmStoreTest, ExportWritesRfc4180CsvWithLocalTimesAndOffset) {
    {
        AlarmStore store;
        ASSERT_TRUE(store.Open(folder));
        StoreThree(store);
        std::vector<AlarmEvent> events;
        ASSERT_TRUE(store.LoadNewest(1, &events));
        ASSERT_TRUE(store.Acknowledge(events[0].id, "值班, 甲", kT0 + 10000));
        AlarmEvent lost = Event(kT0 + 9500, 4, kNoAxis, 0, Zone::None, AlarmKind::Lost);
        AlarmEvent restored = Event(kT0 + 9600, 4, 0, 1.5f, Zone::B, AlarmKind::Restored);
        ASSERT_TRUE(store.Insert(&lost));
        ASSERT_TRUE(store.Insert(&restored));
        ASSERT_TRUE(store.LoadNewest(2, &events));
        EXPECT_EQ(events, (std::vector<AlarmEvent>{restored, lost}));
    }
    const QString target = folder + "/alarms.csv";
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    ASSERT_EQ(RunAlarmExportCommand(folder, target, out, err), kAlarmExportOk)
        << errText.toStdString();
    QFile csv(target);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_EQ(csv.readAll(),
              "Time,msTime,Sensor,Axis,Value,Zone,Kind,Ack,AckBy,AckTime\r\n"
              "2024-05-01T08:30:15+08:00,7,3,Vel_Y,3.5,C,ALARM,0,,\r\n"
              "2024-05-01T08:30:16+08:00,0,3,Vel_Z,5.25,D,TRIP,0,,\r\n"
              "2024-05-01T08:30:24+08:00,0,3,Vel_X,1,A,CLEAR,1,\"值班, 甲\","
              "2024-05-01T08:30:25+08:00\r\n"
              "2024-05-01T08:30:24+08:00,500,4,,,,LOST,0,,\r\n"
              "2024-05-01T08:30:24+08:00,600,4,Vel_X,1.5,B,RESTORED,0,,\r\n");
    EXPECT_EQ(outText.trimmed(), QFileInfo(target).absoluteFilePath());

    // Named machines add a last column; the other lines stay as they were.
    csv.close();
    INIFILE config(ConfigPath(folder));
    ASSERT_TRUE(config.WriteString("SENSOR", "ID3NAME", "P-101, east"));
    ASSERT_EQ(RunAlarmExportCommand(folder, target, out, err), kAlarmExportOk);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> named = csv.readAll().split('\n');
    EXPECT_EQ(named[0], "Time,msTime,Sensor,Axis,Value,Zone,Kind,Ack,AckBy,AckTime,Name\r");
    EXPECT_EQ(named[1], "2024-05-01T08:30:15+08:00,7,3,Vel_Y,3.5,C,ALARM,0,,,\"P-101, east\"\r");
    EXPECT_EQ(named[4], "2024-05-01T08:30:24+08:00,500,4,,,,LOST,0,,,\r");

    // A database without events exports the header alone; no database is an error.
    test::TempDir empty("orsan-alarm-none");
    const QString none = QString::fromStdString(empty.Path().string());
    EXPECT_EQ(RunAlarmExportCommand(none, none + "/x.csv", out, err), kAlarmExportFailed);
    EXPECT_FALSE(QFile::exists(none + "/x.csv"));
}

TEST(CsvField, QuotesOnlyWhatNeedsIt) {
    const struct {
        const char* in;
        const char* out;
    } rows[] = {{"plain", "plain"},
                {"a,b", "\"a,b\""},
                {"say \"hi\"", "\"say \"\"hi\"\"\""},
                {"two\nlines", "\"two\nlines\""},
                {"", ""}};
    for (const auto& r : rows) EXPECT_EQ(CsvField(r.in), QByteArray(r.out)) << r.in;
}

}  // namespace
}  // namespace orsan
