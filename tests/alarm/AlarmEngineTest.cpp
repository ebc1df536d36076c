#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AlarmEngine.h"
#include "LiveReport.h"

namespace orsan {
namespace {

constexpr float kFailed = -1.0f;  // a step where the sensor's visit failed

struct Step {
    int64_t ms;
    float velocity;  // sensor 1, on the Y axis
};

struct Scenario {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::string> events;  // "<ms> <kind> <zone> <value>"
};

std::string Describe(int64_t ms, const AlarmEvent& e) {
    return std::to_string(ms) + ' ' + AlarmKindName(e.kind) + ' ' + char(e.zone) + ' ' +
           FormatJsonFloat(e.value);
}

// Class 2R with the default rules: ALARM above 2.8, TRIP above 4.5, CLEAR
// below 2.66, delay 3 s.
std::vector<std::string> RunSteps(const std::vector<Step>& steps) {
    AlarmEngine engine;
    std::vector<std::string> seen;
    for (const Step& step : steps) {
        LiveValues values{};
        std::array<bool, kSensorCount> ok{};
        if (step.velocity != kFailed) {
            values[0][kSlotVelX] = step.velocity / 2;
            values[0][kSlotVelY] = step.velocity;
            ok[0] = true;
        }
        std::array<Zone, kSensorCount> zones{};
        std::vector<AlarmEvent> events;
        engine.Step(step.ms, values, ok, &zones, &events);
        for (const AlarmEvent& e : events) {
            EXPECT_EQ(e.sensor, 1);
            EXPECT_EQ(e.axis, 1);
            seen.push_back(Describe(step.ms, e));
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
    LiveValues values{};
    const float velocities[kSensorCount] = {1.0f, 2.0f, 8.0f, 4.0f, 9.0f, 0.0f};
    for (int i = 0; i < kSensorCount; ++i) values[i][kSlotVelZ] = velocities[i];
    const std::array<bool, kSensorCount> ok = {true, true, true, true, true, false};
    std::array<Zone, kSensorCount> zones{};
    std::vector<AlarmEvent> events;
    engine.Step(0, values, ok, &zones, &events);
    const std::array<Zone, kSensorCount> expected = {Zone::A, Zone::B, Zone::C,
                                                     Zone::C, Zone::D, Zone::None};
    EXPECT_EQ(zones, expected);

    engine.Step(3000, values, ok, &zones, &events);
    ASSERT_EQ(events.size(), 3u);  // sensors 3 (1F: above 7.1), 4 (ALARM) and 5 (TRIP)
    EXPECT_EQ(events[0].sensor, 3);
    EXPECT_EQ(events[0].kind, AlarmKind::Alarm);
    EXPECT_EQ(events[0].axis, 2);
    EXPECT_EQ(events[1].sensor, 4);
    EXPECT_EQ(events[1].kind, AlarmKind::Alarm);
    EXPECT_EQ(events[2].sensor, 5);
    EXPECT_EQ(events[2].kind, AlarmKind::Trip);
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
              "{\"event\":\"ALARM\",\"time\":1700000000,\"ms\":123,\"id\":3,\"axis\":\"Vel_Y\","
              "\"value\":3.5,\"zone\":\"C\"}");
}

}  // namespace
}  // namespace orsan
