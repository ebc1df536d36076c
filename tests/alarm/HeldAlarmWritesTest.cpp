#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlQuery>

#include "AlarmStore.h"
#include "HeldAlarmWrites.h"
#include "RecordDatabase.h"
#include "TempDir.h"

namespace orsan {
namespace {

constexpr int64_t kMB = 1024 * 1024;

// The station's store, refusing every write as SQLite does on a full disk
// while `full` is set.
struct FullDiskStore : AlarmEventWrites {
    AlarmStore store;
    bool full = false;
    QString error = QStringLiteral("database or disk is full");
    bool Insert(AlarmEvent* e, int64_t ackMs) override { return !full && store.Insert(e, ackMs); }
    bool Acknowledge(int64_t id, const QString& who, int64_t ms) override {
        return !full && store.Acknowledge(id, who, ms);
    }
    bool AcknowledgeAlarm(int sensor, AlarmKind kind, const QString& who, int64_t ms,
                          AlarmQuantity quantity) override {
        return !full && store.AcknowledgeAlarm(sensor, kind, who, ms, quantity);
    }
    bool AcknowledgeAll(const QString& who, int64_t ms) override {
        return !full && store.AcknowledgeAll(who, ms);
    }
    const QString& LastError() const override { return full ? error : store.LastError(); }
};

struct Case {
    // full: the store refuses and the disk says full; takes: the store takes
    // writes, the disk still says full; fails: the disk has room, the store
    // still refuses; free: both have room. ALARM1: an event (kind, sensor);
    // ack:ALARM1, ack:last, ack:all: acknowledgements by 甲; @ms: a refresh.
    const char* steps;
    const char* table;  // in the order written: KIND SENSOR, "+" when acknowledged
    int held = 0;       // writes still held
    int logged = 0;     // rows of alarm_ack
};

TEST(HeldAlarmWritesTest, WritesHeldForAFullDiskInOrderOnceThereIsRoom) {
    const Case cases[] = {
        // Held while full, written in order once there is room.
        {"ALARM1 full TRIP1 ALARM2 @1000 free @7000", "ALARM1 TRIP1 ALARM2"},
        // Nothing is tried while the disk says full; new events queue behind.
        {"full ALARM3 takes @1000 CLEAR3 @7000", "", 2},
        // A failed attempt waits before the next.
        {"full ALARM1 fails @1000 free @5999", "", 1},
        {"full ALARM1 fails @1000 free @6000", "ALARM1"},
        // Acknowledging held events writes them acknowledged, logged.
        {"full ALARM2 TRIP2 ALARM2 ack:ALARM2 ALARM2 free @0", "ALARM2+ TRIP2 ALARM2+ ALARM2", 0,
         2},
        // Acknowledging stored events is held and written in its turn.
        {"ALARM4 full ack:ALARM4 CLEAR4 ack:last free @0", "ALARM4+ CLEAR4+", 0, 2},
        {"TRIP5 full ALARM6 ack:all CLEAR6", "TRIP5", 3},
        {"TRIP5 full ALARM6 ack:all CLEAR6 free @0", "TRIP5+ ALARM6+ CLEAR6", 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.steps);
        test::TempDir dir("orsan-held-alarms");
        const QString folder = QString::fromStdString(dir.Path().string());
        FullDiskStore store;
        ASSERT_TRUE(store.store.Open(folder)) << store.store.LastError().toStdString();
        DiskSpace space{100 * 1024 * kMB, 200 * 1024 * kMB};
        HeldAlarmWrites writes(store, [&](const QString&) { return space; });
        writes.SetFolder(folder);
        int64_t wall = 1714523415000;
        int64_t lastId = 0;
        for (const QString& step : QString(c.steps).split(' ')) {
            wall += 1000;
            const QString alarm = step.section(':', -1);
            const AlarmKind kind = ParseAlarmKind(alarm.chopped(1)).value_or(AlarmKind::Alarm);
            const int sensor = alarm.right(1).toInt();
            if (step == "full" || step == "takes" || step == "fails" || step == "free") {
                store.full = step == "full" || step == "fails";
                space.available = (step == "full" || step == "takes") ? 10 * kMB : 100 * 1024 * kMB;
            } else if (step.startsWith('@')) {
                writes.Retry(step.mid(1).toLongLong());
            } else if (step == "ack:all") {
                writes.AcknowledgeAll("甲", wall);
            } else if (step == "ack:last") {
                writes.Acknowledge(lastId, "甲", wall);
            } else if (step.startsWith("ack:")) {
                writes.AcknowledgeAlarm(sensor, kind, "甲", wall, AlarmQuantity::Velocity);
            } else {
                AlarmEvent event{wall, sensor, 0, 3.0f, Zone::C, kind};
                const bool written = writes.Insert(&event);
                EXPECT_EQ(written, event.id > 0) << step.toStdString();
                lastId = event.id;
            }
        }
        EXPECT_EQ(writes.HeldEventCount() + writes.HeldAcknowledgementCount(), c.held);
        QSqlDatabase check = QSqlDatabase::addDatabase("QSQLITE", "held-check");
        check.setDatabaseName(RecordDatabase::PathIn(folder));
        ASSERT_TRUE(check.open());
        {
            QSqlQuery rows(check);
            ASSERT_TRUE(rows.exec("SELECT Kind, Sensor, Ack, AckBy FROM alarm ORDER BY rowid"));
            QStringList table;
            while (rows.next())
                table << rows.value(0).toString() + rows.value(1).toString() +
                             (rows.value(2).toInt() && rows.value(3).toString() == "甲" ? "+" : "");
            EXPECT_EQ(table.join(' ').toStdString(), c.table);
            ASSERT_TRUE(rows.exec("SELECT COUNT(*) FROM alarm_ack") && rows.next());
            EXPECT_EQ(rows.value(0).toInt(), c.logged);
        }
        check = QSqlDatabase();
        QSqlDatabase::removeDatabase("held-check");
    }
}

}  // namespace
}  // namespace orsan
