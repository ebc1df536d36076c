// The refresh step of the window and the headless mode with six sensors:
// one locked copy of each sensor's status (as the sensor table hands it
// out), then grading and the event logic on it. Measured without the alarm
// logic (the copies alone), with it while every machine runs quietly in
// zone A or B, while every machine stands above its trip limit with its
// ALARM/TRIP raised long ago, and while every sensor has been lost long ago.
// Every refresh brings each sensor a new reading, 300 ms after the last.
#include <benchmark/benchmark.h>

#include <array>
#include <mutex>

#include "AlarmMonitor.h"

namespace {

using orsan::kSensorCount;
using Statuses = std::array<orsan::SensorStatus, kSensorCount>;

constexpr int64_t kRefreshMs = 300;
const std::array<uint32_t, kSensorCount> kAddresses = {0x0100007F, 0x0200007F, 0x0300007F,
                                                       0x0400007F, 0x0500007F, 0x0600007F};

struct SensorTable {
    mutable std::mutex mutex;
    Statuses statuses{};

    orsan::SensorStatus Get(int id) const {
        std::lock_guard lock(mutex);
        return statuses[size_t(id - 1)];
    }
    // The polling side: every sensor read anew at steadyMs.
    void Read(int64_t steadyMs) {
        std::lock_guard lock(mutex);
        for (orsan::SensorStatus& s : statuses)
            if (s.record.CommOk) s.lastGoodReadSteadyMs = steadyMs;
    }
};

void FillTable(SensorTable& table, float velocity, bool answering) {
    for (orsan::SensorStatus& s : table.statuses) {
        orsan::MeasurementRecord& r = s.record;
        r.CommOk = answering;
        r.T_Shell = 41.5f;
        r.Vel_X = velocity * 0.9f;
        r.Vel_Y = velocity;
        r.Vel_Z = velocity * 0.7f;
        r.Acc_X = r.Acc_Y = r.Acc_Z = 3.2f;
        r.RunningSpeed = 24.8f;
        s.lastGoodReadSteadyMs = 1;
    }
}

void CopyStatuses(const SensorTable& table, Statuses& statuses) {
    for (int n = 1; n <= kSensorCount; ++n) statuses[size_t(n - 1)] = table.Get(n);
}

void BM_Refresh_WithoutAlarmLogic(benchmark::State& state) {
    SensorTable table;
    FillTable(table, 2.0f, true);
    Statuses statuses{};
    for (auto _ : state) {
        CopyStatuses(table, statuses);
        benchmark::DoNotOptimize(statuses);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Refresh_WithoutAlarmLogic);

// velocity 2.0 mm/s: zone B of class 2R, no alarm; 6.0: zone D, TRIP raised;
// not answering: LOST raised.
void RefreshWithAlarms(benchmark::State& state, float velocity, bool answering,
                       size_t expectedEvents) {
    SensorTable table;
    FillTable(table, velocity, answering);
    int64_t now = 1;
    orsan::AlarmMonitor monitor([&now] { return now; });  // no store: nothing is kept
    orsan::SensorAlarmSettings settings;
    settings.delaySeconds = 0;
    for (int n = 1; n <= kSensorCount; ++n) monitor.SetSettings(n, settings);
    Statuses statuses{};
    CopyStatuses(table, statuses);
    const size_t raised = monitor.Update(statuses, kAddresses, 1.0).size();
    if (raised != expectedEvents) state.SkipWithError("unexpected alarm state");
    for (auto _ : state) {
        now += kRefreshMs;
        table.Read(now);
        CopyStatuses(table, statuses);
        benchmark::DoNotOptimize(monitor.Update(statuses, kAddresses, 1.0).size());
        benchmark::DoNotOptimize(monitor.Zones());
    }
}

void BM_Refresh_WithAlarmLogic_Quiet(benchmark::State& state) {
    RefreshWithAlarms(state, 2.0f, true, 0);
}
BENCHMARK(BM_Refresh_WithAlarmLogic_Quiet);

void BM_Refresh_WithAlarmLogic_AllTripped(benchmark::State& state) {
    RefreshWithAlarms(state, 6.0f, true, kSensorCount);
}
BENCHMARK(BM_Refresh_WithAlarmLogic_AllTripped);

void BM_Refresh_WithAlarmLogic_AllLost(benchmark::State& state) {
    RefreshWithAlarms(state, 2.0f, false, kSensorCount);
}
BENCHMARK(BM_Refresh_WithAlarmLogic_AllLost);

}  // namespace

BENCHMARK_MAIN();
