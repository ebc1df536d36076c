#include <gtest/gtest.h>

#include <optional>

#include "AlarmMonitor.h"
#include "QtPrinters.h"
#include "TempDir.h"

namespace orsan {
namespace {

constexpr int64_t kWallStart = 1714523415000;

// An event an earlier run stored for sensor 1.
struct Row {
    AlarmKind kind;
    int axis = 1;
    bool acknowledged = false;
};

// One reading after the restart, held for 1.5 s of refreshes every 0.5 s.
struct Reading {
    std::optional<float> velocity;  // nullopt: the sensor does not answer
    float temperature = 20.0f;
};

struct Case {
    std::vector<Row> earlier;
    std::vector<Reading> readings;
    // "ALARM TRIP LOST | T_ALARM T_TRIP" at the restart -> after the readings
    const char* states;
    QStringList events;                              // stored after the restart: "KIND AXIS VALUE"
    std::optional<AlarmQuantity> acknowledgeTrip{};  // right after the restart
};

QString States(const AlarmStates& s) {
    static const char* const kCodes[] = {"N", "AU", "AA", "RU"};  // in AlarmState's order
    const auto v = [&](AlarmKind k) { return kCodes[int(s.State(1, k))]; };
    const auto t = [&](AlarmKind k) {
        return kCodes[int(s.State(1, k, AlarmQuantity::Temperature))];
    };
    return QStringLiteral("%1 %2 %3 | %4 %5")
        .arg(v(AlarmKind::Alarm), v(AlarmKind::Trip), v(AlarmKind::Lost), t(AlarmKind::Alarm),
             t(AlarmKind::Trip));
}

// 2R (ALARM above 2.8, TRIP above 4.5 mm/s), TEMP_ALARM=70, TEMP_TRIP=80
// (CLEAR below 66.5 degC), DELAY 1 s.
TEST(AlarmRestart, StandingAlarmsGoOnAndTemperatureAlarmsAreTheirOwn) {
    constexpr AlarmKind kAlarm = AlarmKind::Alarm, kTrip = AlarmKind::Trip,
                        kClear = AlarmKind::Clear, kLost = AlarmKind::Lost;
    constexpr int kT = kTemperatureAxis;
    const Case cases[] = {
        // A TRIP held across the restart goes on, acknowledged.
        {{{kTrip, 1, true}}, {{5.0f}}, "N AA N | N N -> N AA N | N N", {}},
        // Rows of earlier restarts without a CLEAR are one alarm.
        {{{kTrip, 1, true}, {kTrip}}, {{5.0f}}, "N AU N | N N -> N AU N | N N", {}},
        // A TRIP whose vibration is gone clears as usual.
        {{{kAlarm}, {kTrip}}, {{1.0f}}, "AU AU N | N N -> RU RU N | N N", {"CLEAR Vel_Y 1"}},
        // An ALARM cleared before the stop only waits; a new one is raised anew.
        {{{kAlarm}, {kClear, 0}}, {{3.0f}}, "RU N N | N N -> AU N N | N N", {"ALARM Vel_Y 3"}},
        // A sensor lost before the stop is restored by its first reading.
        {{{kLost, kNoAxis}}, {{1.0f}}, "N N AU | N N -> N N RU | N N", {"RESTORED Vel_Y 1"}},
        // A sensor silent at the restart keeps its TRIP; the LOST rule decides.
        {{{kTrip, 1, true}}, {{}}, "N AA N | N N -> N AA AU | N N", {"LOST  0"}},
        // A velocity CLEAR leaves the temperature TRIP standing.
        {{{kTrip, 1, true}, {kTrip, kT}, {kClear, 2}},
         {{1.0f, 85.0f}},
         "N N N | N AU -> N N N | N AU",
         {}},
        // Temperature alarms rise and clear on their own limits.
        {{},
         {{1.0f, 75.0f}, {1.0f, 85.0f}, {1.0f, 66.0f}},
         "N N N | N N -> N N N | RU RU",
         {"ALARM T_Shell 75", "TRIP T_Shell 85", "CLEAR T_Shell 66"}},
        // Acknowledging the temperature TRIP leaves the velocity TRIP waiting.
        {{{kTrip}, {kTrip, kT}},
         {{5.0f, 85.0f}},
         "N AU N | N AU -> N AU N | N AA",
         {},
         AlarmQuantity::Temperature},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.states);
        test::TempDir dir("orsan-alarm-restart");
        const QString folder = QString::fromStdString(dir.Path().string());
        int64_t storedBefore = 0;
        {
            AlarmStore store;
            ASSERT_TRUE(store.Open(folder)) << store.LastError().toStdString();
            for (const Row& row : c.earlier) {
                AlarmEvent e;
                e.timeMs = kWallStart - 60000 + ++storedBefore;
                e.sensor = 1;
                e.axis = row.axis;
                e.kind = row.kind;
                ASSERT_TRUE(store.Insert(&e));
                if (row.acknowledged) {
                    ASSERT_TRUE(store.Acknowledge(e.id, "甲", kWallStart));
                }
            }
        }
        int64_t steady = 10000;
        AlarmMonitor monitor([&] { return steady; }, [&] { return kWallStart + steady; });
        SensorAlarmSettings settings;
        settings.delaySeconds = 1.0;
        settings.tempAlarm = 70.0;
        settings.tempTrip = 80.0;
        monitor.SetSettings(1, settings);
        ASSERT_TRUE(monitor.OpenStore(folder)) << monitor.Store().LastError().toStdString();
        const QStringList states = QString::fromUtf8(c.states).split(" -> ");
        EXPECT_EQ(States(monitor.States()), states[0]);
        if (c.acknowledgeTrip) {
            EXPECT_TRUE(monitor.Acknowledge(1, AlarmKind::Trip, "乙", *c.acknowledgeTrip));
            EXPECT_EQ(monitor.Store().UnacknowledgedRaisedCount(), 1);
        }

        std::array<SensorStatus, kSensorCount> statuses{};
        for (const Reading& reading : c.readings) {
            statuses[0].record.CommOk = reading.velocity.has_value();
            statuses[0].record.Vel_Y = reading.velocity.value_or(0.0f);
            statuses[0].record.T_Shell = reading.temperature;
            for (int k = 0; k < 3; ++k, steady += 500) {
                if (reading.velocity) statuses[0].lastGoodReadSteadyMs = steady;
                monitor.Update(statuses, {0x0100007F}, 1.0);
            }
        }
        std::vector<AlarmEvent> stored;
        ASSERT_TRUE(monitor.Store().LoadAll(&stored));
        QStringList events;
        for (size_t i = size_t(storedBefore); i < stored.size(); ++i)
            events.push_back(QStringLiteral("%1 %2 %3")
                                 .arg(QLatin1String(AlarmKindName(stored[i].kind)),
                                      QLatin1String(AlarmAxisName(stored[i].axis)))
                                 .arg(stored[i].value));
        EXPECT_EQ(events, c.events);
        EXPECT_EQ(States(monitor.States()), states[1]);
    }
}

}  // namespace
}  // namespace orsan
