#include <gtest/gtest.h>

#include <optional>

#include "AlarmMonitor.h"
#include "TempDir.h"

namespace orsan {
namespace {

constexpr int64_t kWallStart = 1714523415000;  // 2024-05-01 00:30:15 UTC

// One refresh of sensor 1 (2R: ALARM above 2.8, TRIP above 4.5 mm/s, CLEAR
// below 2.66, DELAY 1 s) at a steady time, then an acknowledgement, and the
// three alarms' states afterwards.
struct Step {
    int64_t ms;
    std::optional<float> velocity;  // nullopt: the visit failed
    enum Ack { kNone, kAlarm, kTrip, kLost, kAll } ack = kNone;
    AlarmState alarm, trip, lost;
    int newAlarms = 0;
};

constexpr AlarmState N = AlarmState::Normal;
constexpr AlarmState AU = AlarmState::ActiveUnacknowledged;
constexpr AlarmState AA = AlarmState::ActiveAcknowledged;
constexpr AlarmState RU = AlarmState::ReturnedUnacknowledged;

TEST(AlarmStates, FollowTheEventsAndAcknowledgementsOnAnInjectedClock) {
    const Step steps[] = {
        {0, 3.0f, Step::kNone, N, N, N},
        {1000, 3.0f, Step::kNone, AU, N, N, 1},  // ALARM after the delay
        {1500, 5.0f, Step::kNone, AU, N, N},
        {2500, 5.0f, Step::kNone, AU, AU, N, 1},  // TRIP on top of it
        {2600, 5.0f, Step::kAlarm, AA, AU, N},
        {2700, 5.0f, Step::kAll, AA, AA, N},  // still active: nothing hidden
        {2800, 5.0f, Step::kTrip, AA, AA, N},  // acknowledging again changes nothing
        {3000, 1.0f, Step::kNone, AA, AA, N},
        {4000, 1.0f, Step::kNone, N, N, N},  // CLEAR: acknowledged ones go
        {4100, 3.0f, Step::kNone, N, N, N},
        {5100, 3.0f, Step::kNone, AU, N, N, 1},
        {5200, 1.0f, Step::kNone, AU, N, N},
        {6200, 1.0f, Step::kNone, RU, N, N},  // returned, still waiting
        {6700, std::nullopt, Step::kNone, RU, N, N},
        {7300, std::nullopt, Step::kNone, RU, N, AU, 1},  // LOST a delay after the last reading
        {7400, 1.0f, Step::kNone, RU, N, RU},  // RESTORED before anyone looked
        {7500, 1.0f, Step::kLost, RU, N, N},
        {7600, 3.0f, Step::kNone, RU, N, N},
        {8600, 3.0f, Step::kNone, AU, N, N, 1},  // the returned alarm comes back
        {8700, 3.0f, Step::kAlarm, AA, N, N},
    };
    test::TempDir dir("orsan-alarm-states");
    // The steady clock starts where a reading can be told from none (0).
    constexpr int64_t kSteadyStart = 10000;
    int64_t steady = 0;
    AlarmMonitor monitor([&] { return steady; },
                         [&] { return kWallStart + steady - kSteadyStart; });
    ASSERT_TRUE(monitor.OpenStore(QString::fromStdString(dir.Path().string())));
    SensorAlarmSettings settings;
    settings.delaySeconds = 1.0;
    monitor.SetSettings(1, settings);
    std::array<SensorStatus, kSensorCount> statuses{};
    const std::array<uint32_t, kSensorCount> addresses = {0x0100007F};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.ms);
        steady = kSteadyStart + step.ms;
        statuses[0].record.CommOk = step.velocity.has_value();
        if (step.velocity) {
            statuses[0].record.Vel_Y = *step.velocity;
            statuses[0].lastGoodReadSteadyMs = steady;
        }
        monitor.Update(statuses, addresses, 1.0);
        EXPECT_EQ(monitor.NewAlarms(), step.newAlarms);
        const QString who = QStringLiteral("op%1").arg(step.ms);
        switch (step.ack) {
            case Step::kAlarm:
                EXPECT_TRUE(monitor.Acknowledge(1, AlarmKind::Alarm, who));
                break;
            case Step::kTrip:
                EXPECT_TRUE(monitor.Acknowledge(1, AlarmKind::Trip, who));
                break;
            case Step::kLost:
                EXPECT_TRUE(monitor.Acknowledge(1, AlarmKind::Lost, who));
                break;
            case Step::kAll:
                EXPECT_TRUE(monitor.AcknowledgeAll(who));
                break;
            case Step::kNone:
                break;
        }
        const AlarmStates& states = monitor.States();
        EXPECT_EQ(states.State(1, AlarmKind::Alarm), step.alarm);
        EXPECT_EQ(states.State(1, AlarmKind::Trip), step.trip);
        EXPECT_EQ(states.State(1, AlarmKind::Lost), step.lost);
        const SensorAlarmSummary summary = states.Summary(1);
        EXPECT_EQ(summary.unacknowledged,
                  IsUnacknowledged(step.alarm) || IsUnacknowledged(step.trip) ||
                      IsUnacknowledged(step.lost));
        // Flashing runs on the same clock: lit in the first half of each second.
        EXPECT_EQ(monitor.FlashOn(), step.ms % 1000 < 500);
    }

    // Who acknowledged each raised event, and when (the wall clock).
    std::vector<AlarmEvent> events;
    ASSERT_TRUE(monitor.Store().LoadAll(&events));
    QStringList seen;
    for (const AlarmEvent& e : events)
        if (IsRaisingKind(e.kind))
            seen << QStringLiteral("%1 %2 %3")
                        .arg(QLatin1String(AlarmKindName(e.kind)), e.ackBy)
                        .arg(e.ackTime - kWallStart / 1000);
    // The ALARM that returned unacknowledged went with the acknowledgement
    // of its return.
    EXPECT_EQ(seen, (QStringList{"ALARM op2600 2", "TRIP op2700 2", "ALARM op8700 8",
                                 "LOST op7500 7", "ALARM op8700 8"}));
}

}  // namespace
}  // namespace orsan
