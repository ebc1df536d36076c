#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>

#include "AlarmStore.h"
#include "HeldAlarmWrites.h"
#include "QtPrinters.h"
#include "RecordDatabase.h"
#include "TempDir.h"

namespace orsan {
namespace {

constexpr int64_t kMB = 1024 * 1024;
constexpr int64_t kWall = 1714523415000;

// The station's store, failing every write as SQLite does on a full disk
// while `full` is set.
class FullDiskStore : public AlarmEventWrites {
public:
    AlarmStore store;
    bool full = false;

    bool Insert(AlarmEvent* event, int64_t ackTimeMs) override {
        return !Refused() && store.Insert(event, ackTimeMs);
    }
    bool Acknowledge(int64_t id, const QString& who, int64_t timeMs) override {
        return !Refused() && store.Acknowledge(id, who, timeMs);
    }
    bool AcknowledgeAlarm(int sensor, AlarmKind kind, const QString& who, int64_t timeMs,
                          AlarmQuantity quantity) override {
        return !Refused() && store.AcknowledgeAlarm(sensor, kind, who, timeMs, quantity);
    }
    bool AcknowledgeAll(const QString& who, int64_t timeMs) override {
        return !Refused() && store.AcknowledgeAll(who, timeMs);
    }
    const QString& LastError() const override { return full ? error_ : store.LastError(); }

private:
    bool Refused() const { return full; }
    QString error_ = QStringLiteral("database or disk is full");
};

enum class Do {
    DiskFull,    // the store refuses and the disk says it is full
    StoreTakes,  // the store takes writes again, the disk still says full
    DiskFree,    // both have room
    StoreFails,  // the disk says it has room, the store still refuses
    Raise,       // an event of sensor `sensor`, kind `kind`
    AckAlarm,    // the alarm of sensor `sensor`, kind `kind`
    AckNewest,   // the event raised last, by its id
    AckAll,
    Tick,  // a refresh at `at` ms on the steady clock
};

struct Step {
    Do what;
    int sensor = 1;
    AlarmKind kind = AlarmKind::Alarm;
    int64_t at = 0;
};

struct Case {
    const char* name;
    std::vector<Step> steps;
    QStringList table;  // rowid order: "KIND SENSOR" and " ack WHO" when acknowledged
    int held = 0;       // writes still held
    int logged = 0;     // rows of alarm_ack
};

constexpr AlarmKind kAlarm = AlarmKind::Alarm, kClear = AlarmKind::Clear, kTrip = AlarmKind::Trip;

TEST(HeldAlarmWritesTest, WritesHeldForAFullDiskInOrderOnceThereIsRoom) {
    const Case cases[] = {
        {"held while full, written in order when space returns",
         {{Do::Raise, 1, kAlarm},
          {Do::DiskFull},
          {Do::Raise, 1, kTrip},
          {Do::Raise, 2, kAlarm},
          {Do::Tick, 0, kAlarm, 1000},
          {Do::DiskFree},
          {Do::Tick, 0, kAlarm, 7000}},
         {"ALARM 1", "TRIP 1", "ALARM 2"}},
        {"nothing is tried while the disk says full; new events queue behind the held",
         {{Do::DiskFull},
          {Do::Raise, 3, kAlarm},
          {Do::StoreTakes},
          {Do::Tick, 0, kAlarm, 1000},
          {Do::Raise, 3, kClear},
          {Do::Tick, 0, kAlarm, 7000}},
         {},
         2},
        {"a failed retry waits before the next",
         {{Do::DiskFull},
          {Do::Raise, 1, kAlarm},
          {Do::StoreFails},
          {Do::Tick, 0, kAlarm, 1000},
          {Do::DiskFree},
          {Do::Tick, 0, kAlarm, 5999}},
         {},
         1},
        {"the same, written once the wait is over",
         {{Do::DiskFull},
          {Do::Raise, 1, kAlarm},
          {Do::StoreFails},
          {Do::Tick, 0, kAlarm, 1000},
          {Do::DiskFree},
          {Do::Tick, 0, kAlarm, 6000}},
         {"ALARM 1"}},
        {"an acknowledgement of held events is written with them and logged",
         {{Do::DiskFull},
          {Do::Raise, 2, kAlarm},
          {Do::Raise, 2, kTrip},
          {Do::Raise, 2, kAlarm},
          {Do::AckAlarm, 2, kAlarm},
          {Do::Raise, 2, kAlarm},
          {Do::DiskFree},
          {Do::Tick}},
         {"ALARM 2 ack 甲", "TRIP 2", "ALARM 2 ack 甲", "ALARM 2"},
         0,
         2},
        {"an acknowledgement of stored events is held and written after them",
         {{Do::Raise, 4, kAlarm},
          {Do::DiskFull},
          {Do::AckAlarm, 4, kAlarm},
          {Do::Raise, 4, kClear},
          {Do::AckNewest},
          {Do::DiskFree},
          {Do::Tick}},
         {"ALARM 4 ack 甲", "CLEAR 4 ack 甲"},
         0,
         2},
        {"acknowledging everything reaches held and stored events",
         {{Do::Raise, 5, kTrip},
          {Do::DiskFull},
          {Do::Raise, 6, kAlarm},
          {Do::AckAll},
          {Do::Raise, 6, kClear}},
         {"TRIP 5"},
         3},
        {"the same once written",
         {{Do::Raise, 5, kTrip},
          {Do::DiskFull},
          {Do::Raise, 6, kAlarm},
          {Do::AckAll},
          {Do::Raise, 6, kClear},
          {Do::DiskFree},
          {Do::Tick}},
         {"TRIP 5 ack 甲", "ALARM 6 ack 甲", "CLEAR 6"},
         0,
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir("orsan-held-alarms");
        const QString folder = QString::fromStdString(dir.Path().string());
        FullDiskStore store;
        ASSERT_TRUE(store.store.Open(folder)) << store.store.LastError().toStdString();
        DiskSpace space{100 * 1024 * kMB, 200 * 1024 * kMB};
        HeldAlarmWrites writes(store, [&](const QString& probed) {
            EXPECT_EQ(probed, folder);
            return std::optional<DiskSpace>(space);
        });
        writes.SetFolder(folder);
        int64_t wall = kWall;
        int64_t newestId = 0;
        for (const Step& step : c.steps) {
            wall += 1000;
            AlarmEvent event{wall, step.sensor, 0, 3.0f, Zone::C, step.kind};
            switch (step.what) {
                case Do::DiskFull:
                case Do::StoreTakes:
                case Do::DiskFree:
                case Do::StoreFails:
                    store.full = step.what == Do::DiskFull || step.what == Do::StoreFails;
                    space.available = step.what == Do::DiskFull || step.what == Do::StoreTakes
                                          ? 10 * kMB
                                          : 100 * 1024 * kMB;
                    break;
                case Do::Raise: {
                    const bool written = writes.Insert(&event);
                    EXPECT_EQ(written, event.id > 0);
                    newestId = event.id;
                } break;
                case Do::AckAlarm:
                    writes.AcknowledgeAlarm(step.sensor, step.kind, "甲", wall,
                                            AlarmQuantity::Velocity);
                    break;
                case Do::AckNewest:
                    writes.Acknowledge(newestId, "甲", wall);
                    break;
                case Do::AckAll:
                    writes.AcknowledgeAll("甲", wall);
                    break;
                case Do::Tick:
                    writes.Retry(step.at);
                    break;
            }
        }
        EXPECT_EQ(writes.HeldEventCount() + writes.HeldAcknowledgementCount(), c.held);
        // In the order written, which must be the order raised.
        QSqlDatabase check = QSqlDatabase::addDatabase("QSQLITE", "held-check");
        check.setDatabaseName(RecordDatabase::PathIn(folder));
        ASSERT_TRUE(check.open());
        {
            QSqlQuery rows(check);
            ASSERT_TRUE(rows.exec("SELECT Kind, Sensor, Ack, AckBy FROM alarm ORDER BY rowid"));
            QStringList table;
            while (rows.next())
                table << rows.value(0).toString() + " " + rows.value(1).toString() +
                             (rows.value(2).toInt() ? " ack " + rows.value(3).toString() : "");
            EXPECT_EQ(table.join(" | "), c.table.join(" | "));
            QSqlQuery log(check);
            ASSERT_TRUE(log.exec("SELECT COUNT(*) FROM alarm_ack") && log.next());
            EXPECT_EQ(log.value(0).toInt(), c.logged);
        }
        check.close();
        check = QSqlDatabase();
        QSqlDatabase::removeDatabase("held-check");
    }
}

}  // namespace
}  // namespace orsan
