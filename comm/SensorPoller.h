#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "MeasurementRecord.h"
#include "ModbusTcpConnection.h"
#include "SensorEndpoint.h"

namespace orsan {

inline constexpr int kDeviceTypeTriAxis = 5;
inline constexpr int kDeviceTypeTriAxisAlt = 6;

inline constexpr int kCyclePauseMs = 10;
inline constexpr int kVisitPauseMs = 100;

struct SensorEntry {
    int id = 0;
    int deviceType = kDeviceTypeTriAxis;
    SensorEndpoint endpoint;
    MeasurementRecord record;
    int64_t lastGoodReadMs = 0;  // calendar ms of the last accepted read; 0 = none yet
    int64_t lastGoodReadSteadyMs = 0;  // the same instant on the steady clock; 0 = none yet
};

// What the user interface learns of one sensor: its record and when it was
// last read successfully (0: never since its endpoint was set).
// lastGoodReadSteadyMs tells one reading from the next (the calendar may be
// set back) and dates it for freshness and alarm delays (SteadyMsNow()).
struct SensorStatus {
    MeasurementRecord record;
    int64_t lastGoodReadMs = 0;
    int64_t lastGoodReadSteadyMs = 0;
    bool paused = false;  // polling of this sensor is paused
};

// The sensor table and the one polling thread that visits it. The
// destructor stops and joins the thread before the table goes away.
// Start, stop and pause are called from one controlling thread.
class SensorPoller {
public:
    SensorPoller() = default;
    ~SensorPoller();
    SensorPoller(const SensorPoller&) = delete;
    SensorPoller& operator=(const SensorPoller&) = delete;

    // Stops a running thread, rebuilds the table from the parallel arrays
    // and starts a new thread with a new transaction
    // counter. An entry whose id, endpoint and device type are unchanged
    // keeps its record, CommOk and last good read, so a restart shows no
    // false zeros; any other entry starts from zero. False when count <= 0, an array is missing, or
    // the thread cannot be created (the table is then rebuilt but not polled).
    bool StartPolling(int count, const int* ids, const int* deviceTypes, const uint32_t* addresses,
                      const uint16_t* ports, const uint8_t* unitIds);

    // A copy of the entry's record; all zero with CommOk false for an
    // unknown id.
    MeasurementRecord GetMeasurement(int id) const;
    // Record and time of the last good read; all zero for an unknown id.
    SensorStatus GetStatus(int id) const;

    bool IsPolling() const;
    // Takes effect between full cycles: a cycle under way finishes first.
    void SetPaused(bool paused);
    bool IsPaused() const;

    // Ends the thread (waits for the visit in progress) and joins it.
    void StopPolling();

    // Full cycles (every entry visited) since the last StartPolling; a
    // paused pass is not a cycle.
    uint64_t CompletedCycles() const;
    // Waits until at least count full cycles are done; false on time-out.
    bool WaitForCycles(uint64_t count, std::chrono::milliseconds timeout) const;

private:
    void Run();
    void VisitEntry(size_t index, TransactionCounter& counter);
    // Sleeps ms unless a stop is requested first; true when it was.
    bool PauseOrStop(int ms);
    // Clears the flags as the thread ends.
    void Finish();
    void StopThread();

    mutable std::mutex tableMutex_;
    std::vector<SensorEntry> table_;

    std::atomic<bool> running_{false};
    std::atomic<bool> stopRequested_{false};
    std::atomic<bool> paused_{false};

    std::mutex controlMutex_;       // StartPolling / StopPolling
    mutable std::mutex wakeMutex_;  // also guards cycles_
    std::condition_variable wake_;
    mutable std::condition_variable cycleDone_;
    uint64_t cycles_ = 0;
    std::thread thread_;
};

}  // namespace orsan
