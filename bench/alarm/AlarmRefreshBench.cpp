// The refresh step of the window and the headless mode with six sensors:
// one locked copy of each sensor's record (as the sensor table hands it
// out), the live-value row filled from it, then grading and the event logic.
// Measured without the alarm logic (the step as it was), with it while every
// machine runs quietly in zone A or B, and with it while every machine
// stands above its trip limit with its ALARM/TRIP raised long ago.
#include <benchmark/benchmark.h>

#include <array>
#include <mutex>

#include "AlarmMonitor.h"

namespace {

using orsan::kSensorCount;

struct SensorTable {
    mutable std::mutex mutex;
    std::array<orsan::MeasurementRecord, kSensorCount> records{};

    orsan::MeasurementRecord Get(int id) const {
        std::lock_guard lock(mutex);
        return records[size_t(id - 1)];
    }
};

void FillTable(SensorTable& table, float velocity) {
    for (int i = 0; i < kSensorCount; ++i) {
        orsan::MeasurementRecord& r = table.records[size_t(i)];
        r.CommOk = true;
        r.T_Shell = 41.5f;
        r.Vel_X = velocity * 0.9f;
        r.Vel_Y = velocity;
        r.Vel_Z = velocity * 0.7f;
        r.Acc_X = r.Acc_Y = r.Acc_Z = 3.2f;
        r.RunningSpeed = 24.8f;
    }
}

void CopyLive(const SensorTable& table, orsan::LiveValues& values,
              std::array<bool, kSensorCount>& commOk) {
    for (int n = 1; n <= kSensorCount; ++n) {
        const orsan::MeasurementRecord record = table.Get(n);
        orsan::FillLiveValues(values, n, record);
        commOk[size_t(n - 1)] = record.CommOk;
    }
}

void BM_Refresh_WithoutAlarmLogic(benchmark::State& state) {
    SensorTable table;
    FillTable(table, 2.0f);
    orsan::LiveValues values{};
    std::array<bool, kSensorCount> commOk{};
    for (auto _ : state) {
        CopyLive(table, values, commOk);
        benchmark::DoNotOptimize(values);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Refresh_WithoutAlarmLogic);

// velocity 2.0 mm/s: zone B of class 2R, no alarm; 6.0: zone D, TRIP raised.
void RefreshWithAlarms(benchmark::State& state, float velocity, size_t expectedEvents) {
    SensorTable table;
    FillTable(table, velocity);
    orsan::LiveValues values{};
    std::array<bool, kSensorCount> commOk{};
    orsan::AlarmMonitor monitor;  // wall clock, no store: nothing matures while measured
    std::array<orsan::SensorAlarmSettings, kSensorCount> settings{};
    for (int n = 1; n <= kSensorCount; ++n) {
        settings[size_t(n - 1)].delaySeconds = 0;
        monitor.SetSettings(n, settings[size_t(n - 1)]);
    }
    CopyLive(table, values, commOk);
    const size_t raised = monitor.Update(values, commOk).size();
    if (raised != expectedEvents) state.SkipWithError("unexpected alarm state");
    for (auto _ : state) {
        CopyLive(table, values, commOk);
        benchmark::DoNotOptimize(monitor.Update(values, commOk).size());
        benchmark::DoNotOptimize(monitor.Zones());
    }
}

void BM_Refresh_WithAlarmLogic_Quiet(benchmark::State& state) {
    RefreshWithAlarms(state, 2.0f, 0);
}
BENCHMARK(BM_Refresh_WithAlarmLogic_Quiet);

void BM_Refresh_WithAlarmLogic_AllTripped(benchmark::State& state) {
    RefreshWithAlarms(state, 6.0f, kSensorCount);
}
BENCHMARK(BM_Refresh_WithAlarmLogic_AllTripped);

}  // namespace

BENCHMARK_MAIN();
