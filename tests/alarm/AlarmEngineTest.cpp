#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "AlarmEngine.h"
#include "LiveReport.h"

namespace orsan {
namespace {

constexpr float kFailed = -1.0f;  // a step without a fresh reading
// Steps start here on the steady clock: a reading is never dated 0 ("never read").
constexpr int64_t kBase = 1000;

struct Step {
    int64_t ms;
    float velocity;         // sensor 1, on the Y axis
    int64_t readAt = -1;    // when the reading was taken; -1: at ms, a new one
    int64_t seenUntil = 0;  // the same reading is seen again every 300 ms until then
    bool watched = true;    // an address and not paused
    bool newLimits = false;  // the same limits are set again before the step
};

struct Scenario {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> events;  // "<ms> <kind> <zone> <value>"
};

// Class 2R with the default rules: ALARM above 2.8, TRIP above 4.5, CLEAR
// below 2.66, delay 3 s.
std::vector<std::string> RunSteps(const std::vector<Step>& steps) {
    AlarmEngine engine;
    std::vector<std::string> seen;
    SensorReadings readings{};
    for (const Step& step : steps) {
        if (step.newLimits) engine.SetLimits(1, engine.Limits(1));
        SensorReading& r = readings[0];
        r.watched = step.watched;
        r.fresh = step.velocity != kFailed;
        if (r.fresh) {
            r.steadyMs = kBase + (step.readAt < 0 ? step.ms : step.readAt);
            r.worst = WorstVelocityOf(
                MeasurementRecord{.Vel_X = step.velocity / 2, .Vel_Y = step.velocity});
        }
        for (int64_t ms = step.ms; ms <= std::max(step.ms, step.seenUntil); ms += 300) {
            std::array<Zone, kSensorCount> zones{};
            std::vector<AlarmEvent> events;
            engine.Step(kBase + ms, readings, &zones, &events);
            for (const AlarmEvent& e : events) {
                EXPECT_EQ(e.axis, e.kind == AlarmKind::Lost ? kNoAxis : 1);
                seen.push_back(std::to_string(ms) + ' ' + AlarmKindName(e.kind) + ' ' +
                               (e.zone == Zone::None ? '-' : char(e.zone)) + ' ' +
                               FormatJsonFloat(e.value));
            }
        }
    }
    return seen;
}

TEST(AlarmEngine, DelayClearAndOrderOfEventsFollowTheClock) {
    const Scenario scenarios[] = {
        {"rises into C, holds, falls into B",
         {{0, 3.0f},
          {1000, 3.0f},
          {2999, 3.0f},
          {3000, 3.1f},
          {4000, 3.0f},
          {5000, 2.0f},
          {7999, 2.0f},
          {8000, 2.0f},
          {20000, 2.0f}},
         {"3000 ALARM C 3.1", "8000 CLEAR B 2"}},
        {"jumps above both limits: only TRIP",
         {{0, 5.0f}, {3000, 5.0f}, {6000, 5.0f}, {9000, 5.0f}},
         {"3000 TRIP D 5"}},
        {"ALARM first, TRIP as it goes on rising",
         {{0, 3.0f}, {1000, 5.0f}, {3000, 5.0f}, {3999, 5.0f}, {4000, 5.0f}, {8000, 5.0f}},
         {"3000 ALARM D 5", "4000 TRIP D 5"}},
        {"a dip below ALARM starts the delay again",
         {{0, 3.0f}, {2000, 2.7f}, {2500, 3.0f}, {5000, 3.0f}, {5500, 3.0f}},
         {"5500 ALARM C 3"}},
        {"a failed visit starts the delay again",
         {{0, 3.0f}, {2000, kFailed}, {2500, 3.0f}, {5499, 3.0f}, {5500, 3.0f}},
         {"5500 ALARM C 3"}},
        {"a failed visit starts the CLEAR delay again",
         {{0, 5.0f},
          {3000, 5.0f},
          {4000, 1.0f},
          {5000, kFailed},
          {5500, 1.0f},
          {8499, 1.0f},
          {8500, 1.0f}},
         {"3000 TRIP D 5", "8500 CLEAR A 1"}},
        {"limits set again start every run again",
         {{0, 3.0f},
          {2000, 3.0f, -1, 0, true, true},
          {4999, 3.0f},
          {5000, 3.0f},
          {6000, 1.0f},
          {7000, 1.0f, -1, 0, true, true},
          {9999, 1.0f},
          {10000, 1.0f}},
         {"5000 ALARM C 3", "10000 CLEAR A 1"}},
        {"exactly on the ALARM limit never raises", {{0, 2.8f}, {5000, 2.8f}, {20000, 2.8f}}, {}},
        {"exactly on the TRIP limit stays an ALARM",
         {{0, 4.5f}, {3000, 4.5f}, {20000, 4.5f}},
         {"3000 ALARM C 4.5"}},
        {"between CLEAR and ALARM holds the alarm",
         {{0, 3.0f}, {3000, 3.0f}, {4000, 2.7f}, {20000, 2.7f}, {21000, 2.6f}, {24000, 2.6f}},
         {"3000 ALARM C 3", "24000 CLEAR B 2.6"}},
        {"TRIP is not repeated after a dip that did not clear",
         {{0, 5.0f}, {3000, 5.0f}, {4000, 3.5f}, {8000, 5.0f}, {12000, 5.0f}},
         {"3000 TRIP D 5"}},
        {"CLEAR after TRIP, then a new ALARM",
         {{0, 5.0f}, {3000, 5.0f}, {4000, 1.0f}, {7000, 1.0f}, {8000, 3.0f}, {11000, 3.0f}},
         {"3000 TRIP D 5", "7000 CLEAR A 1", "11000 ALARM C 3"}},
        {"a quiet machine raises nothing", {{0, 1.0f}, {5000, 1.0f}, {10000, 0.5f}}, {}},
        {"a reading seen again and again matures nothing", {{0, 3.0f, -1, 20000}}, {}},
        {"readings, not refreshes, must span the delay",
         {{0, 3.0f}, {1500, 3.0f}, {3200, 3.0f, 2990}, {3500, 3.0f, 3100}},
         {"3500 ALARM C 3"}},
        {"a frozen low reading never clears",
         {{0, 5.0f}, {3000, 5.0f}, {3300, 1.0f, -1, 20000}},
         {"3000 TRIP D 5"}},
        {"a 1.5 s excursion read every 0.6 s does not TRIP",
         {{0, 5.0f, -1, 300}, {600, 5.0f, -1, 900}, {1200, 5.0f, -1, 1500}, {1800, 1.0f, -1, 6000}},
         {}},
        {"one reading above, held through a slow cycle, does not TRIP",
         {{0, 5.0f, -1, 4500}, {4700, 1.0f}},
         {}},
        {"silent for the delay is LOST, the next reading RESTORED",
         {{0, 1.0f}, {300, kFailed}, {2999, kFailed}, {3000, kFailed}, {5000, 1.0f}},
         {"3000 LOST - 0", "5000 RESTORED A 1"}},
        {"never answering is LOST a delay after the watch began",
         {{0, kFailed}, {2999, kFailed}, {3000, kFailed}, {9000, kFailed}},
         {"3000 LOST - 0"}},
        {"paused or without address is never LOST; the delay counts from the watch",
         {{0, 1.0f}, {300, kFailed, -1, 10000, false}, {12000, kFailed}, {15000, kFailed}},
         {"15000 LOST - 0"}},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(RunSteps(s.steps), s.events);
    }
}

TEST(AlarmEngine, ZonesPerSensorAndNoneForAFailedVisit) {
    AlarmEngine engine;
    SensorAlarmSettings own;
    own.machineClass = "1F";
    engine.SetLimits(3, ComputeAlarmLimits(own));
    SensorReadings readings{};
    const float velocities[kSensorCount] = {1.0f, 2.0f, 8.0f, 4.0f, 9.0f, 0.0f};
    for (int i = 0; i < kSensorCount; ++i) {
        readings[i].worst = WorstVelocityOf(MeasurementRecord{.Vel_Z = velocities[i]});
        readings[i].fresh = i != 5;
        readings[i].steadyMs = kBase;
    }
    std::array<Zone, kSensorCount> zones{};
    std::vector<AlarmEvent> events;
    engine.Step(kBase, readings, &zones, &events);
    const std::array<Zone, kSensorCount> expected = {Zone::A, Zone::B, Zone::C,
                                                     Zone::C, Zone::D, Zone::None};
    EXPECT_EQ(zones, expected);

    for (SensorReading& r : readings) r.steadyMs += 3000;
    engine.Step(kBase + 3000, readings, &zones, &events);
    ASSERT_EQ(events.size(), 3u);  // sensors 3 (1F: above 7.1), 4 (ALARM) and 5 (TRIP)
    EXPECT_EQ(events[0].sensor, 3);
    EXPECT_EQ(events[0].kind, AlarmKind::Alarm);
    EXPECT_EQ(events[0].axis, 2);
    EXPECT_EQ(events[1].sensor, 4);
    EXPECT_EQ(events[1].kind, AlarmKind::Alarm);
    EXPECT_EQ(events[2].sensor, 5);
    EXPECT_EQ(events[2].kind, AlarmKind::Trip);
}

// Never TRIP and CLEAR (or ALARM and CLEAR) by turns on a steady machine: for
// any combination Alarm.ini or the dialog accepts, a constant reading at any
// level (six levels at a time, one per sensor) gets one ALARM or TRIP when
// it stands above the alarm limit, nothing otherwise.
TEST(AlarmEngine, AConstantReadingGivesOneEventWhateverSettingsAreAccepted) {
    const std::vector<std::vector<const char*>> choices = {
        {"1R", "1F", "2R", "2F"},
        {"", "1,2,2.1"},
        {"", "1", "3"},                                  // CLASS, ZONES, BASELINE
        {"", "1", "2.8", "4.4", "4.5", "5", "8", "11"},  // ALARM
        {"", "2", "2.66", "4.5", "4.6", "7.1", "9"},
        {"0", "3"}};  // TRIP, DELAY
    for (std::vector<size_t> pick(choices.size(), 0); pick.back() < choices.back().size();) {
        QString t[6];
        for (size_t k = 0; k < choices.size(); ++k) t[k] = choices[k][pick[k]];
        const AlarmLimits limits =
            ComputeAlarmLimits(ParseAlarmTexts({t[0], t[1], t[2], t[3], t[4], t[5]}, nullptr));
        const std::string label = QStringList(std::begin(t), std::end(t)).join('/').toStdString();
        ASSERT_GT(limits.trip, limits.alarm) << label;
        const auto alarm = float(limits.alarm), trip = float(limits.trip);
        std::vector<float> levels = {alarm, trip, float(kClearShare * limits.alarm)};
        for (size_t i = 0; i < 3; ++i)
            levels.insert(levels.end(),
                          {std::nextafter(levels[i], 0.0f), std::nextafter(levels[i], 99.0f)});
        for (int i = 0; i <= 48; ++i) levels.push_back(0.25f * float(i));
        for (size_t first = 0; first < levels.size(); first += kSensorCount) {
            AlarmEngine engine;
            SensorReadings readings{};
            for (size_t i = 0; i < kSensorCount; ++i) {
                engine.SetLimits(int(i) + 1, limits);
                readings[i] = {true, true, 0, {1, levels[std::min(first + i, levels.size() - 1)]}};
            }
            std::array<Zone, kSensorCount> zones{};
            std::vector<AlarmEvent> events;
            for (int64_t ms = kBase; ms <= kBase + 6000; ms += 300) {
                for (SensorReading& r : readings) r.steadyMs = ms;
                engine.Step(ms, readings, &zones, &events);
            }
            for (size_t i = 0; i < kSensorCount; ++i) {
                const float level = readings[i].worst.value;
                std::vector<AlarmKind> expected, got;
                if (level > alarm) expected = {level > trip ? AlarmKind::Trip : AlarmKind::Alarm};
                for (const AlarmEvent& e : events)
                    if (e.sensor == int(i) + 1) got.push_back(e.kind);
                ASSERT_EQ(got, expected) << label << " at " << level;
            }
        }
        for (size_t k = 0; ++pick[k] == choices[k].size() && k + 1 < pick.size(); ++k) pick[k] = 0;
    }
}

TEST(AlarmEngine, EventLineHasTheFieldsOfTheHeadlessStream) {
    AlarmEvent event;
    event.timeMs = 1700000000123;
    event.sensor = 3;
    event.axis = 1;
    event.value = 3.5f;
    event.zone = Zone::C;
    event.kind = AlarmKind::Alarm;
    EXPECT_EQ(FormatAlarmEventJson(event),
              "{\"event\":\"ALARM\",\"time\":1700000000,\"ms\":123,\"id\":3,\"name\":null,\"axis\":"
              "\"Vel_Y\","
              "\"value\":3.5,\"zone\":\"C\"}");
    event.kind = AlarmKind::Lost;
    event.axis = kNoAxis;
    event.zone = Zone::None;
    EXPECT_EQ(
        FormatAlarmEventJson(event),
        "{\"event\":\"LOST\",\"time\":1700000000,\"ms\":123,\"id\":3,\"name\":null,\"axis\":null,"
        "\"value\":null,\"zone\":null}");
}

}  // namespace
}  // namespace orsan
