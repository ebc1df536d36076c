#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>
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

// The visit schedule of one worker, on the steady clock; pure, so any
// clock reading can be played.
using VisitClock = std::chrono::steady_clock;
// A sensor's visits start this often when the table has `entries`: the
// cycle pause and one visit pause per entry, as the former single round.
VisitClock::duration VisitPeriod(int entries);
// The first visit of entry `index` (0-based) of a table started at `start`,
// where the single round would have reached it.
VisitClock::time_point FirstVisitDue(VisitClock::time_point start, size_t index);
// The visit after one that ran from visitStart to visitEnd: one period after
// its start, never sooner than one visit pause after its end.
VisitClock::time_point NextVisitDue(VisitClock::time_point visitStart,
                                    VisitClock::time_point visitEnd, VisitClock::duration period);

struct SensorEntry {
    int id = 0;
    int deviceType = kDeviceTypeTriAxis;
    SensorEndpoint endpoint;
    MeasurementRecord record;
    int64_t lastGoodReadMs = 0;        // calendar ms of the last accepted read; 0 = none yet
    int64_t lastGoodReadSteadyMs = 0;  // the same instant on the steady clock; 0 = none yet
    AnswerFault lastFault = AnswerFault::None;
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
    // Why the last visit failed (None after a good one or before any).
    AnswerFault lastFault = AnswerFault::None;
    // The sensor's answer limit, which bounds how long a visit may take.
    int answerLimitMs = kDefaultAnswerLimitMs;
};

// The sensor table and its visit workers, one thread per entry, so a
// sensor that is silent or unreachable costs only its own visits (threads
// rather than one poll loop: each visit stays the connection's own blocking
// exchange with its own time limits, not a second, multiplexed copy). Each
// worker keeps the cadence of the former single round: its visits start
// every kCyclePauseMs + entries * kVisitPauseMs ms, the first ones
// staggered by kVisitPauseMs, never sooner than kVisitPauseMs after the end
// of its previous visit. The destructor stops and joins every worker before
// the table goes away. Start, stop and pause are called from one
// controlling thread.
class SensorPoller {
public:
    SensorPoller() = default;
    ~SensorPoller();
    SensorPoller(const SensorPoller&) = delete;
    SensorPoller& operator=(const SensorPoller&) = delete;

    // Stops the running workers, rebuilds the table from the parallel arrays
    // and starts one worker per entry, each with a transaction counter of
    // its own from 0. An entry whose id, endpoint and device type are
    // unchanged keeps its record, CommOk and last good read, so a restart
    // shows no false zeros; any other entry starts from zero. False when
    // count <= 0, an array is missing, or a worker cannot be created (the
    // table is then rebuilt but not polled). answerLimitsMs: each sensor's
    // wait for its connection and each answer; null for the default.
    bool StartPolling(int count, const int* ids, const int* deviceTypes, const uint32_t* addresses,
                      const uint16_t* ports, const uint8_t* unitIds,
                      const int* answerLimitsMs = nullptr);

    // A copy of the entry's record; all zero with CommOk false for an
    // unknown id.
    MeasurementRecord GetMeasurement(int id) const;
    // Record, time of the last good read and pause; all zero for an unknown
    // id.
    SensorStatus GetStatus(int id) const;

    bool IsPolling() const;
    // Pauses or resumes the visits of one sensor; the others go on. A visit
    // under way finishes; after it the sensor gets no connection until it is
    // resumed. A pause belongs to the id and outlasts a restart.
    void SetPaused(int id, bool paused);
    bool IsPaused(int id) const;

    // Ends every worker (each waits at most for its visit in progress) and
    // joins them.
    void StopPolling();

    // Visits of the sensor that have ended (record stored, socket closed)
    // since the last StartPolling, whatever their result; 0 for an unknown
    // id.
    uint64_t CompletedVisits(int id) const;
    // Waits until the sensor has completed at least count visits; false on
    // time-out.
    bool WaitForVisits(int id, uint64_t count, std::chrono::milliseconds timeout) const;

private:
    using Clock = VisitClock;

    void Run(size_t index, Clock::time_point firstVisit, Clock::duration period);
    // Blocks until the entry's next visit is due and it is not paused; false
    // when a stop comes first.
    bool WaitForTurn(size_t index, Clock::time_point& due);
    void VisitEntry(size_t index, TransactionCounter& counter);
    void StopWorkers();
    // The entry with this id, under mutex_; null when there is none.
    const SensorEntry* Find(int id) const;

    // Guards the table, the visit counts, the pauses and the stop request;
    // the table itself is rebuilt only while no worker runs.
    mutable std::mutex mutex_;
    std::vector<SensorEntry> table_;
    std::vector<uint64_t> visits_;  // per entry of table_
    std::set<int> pausedIds_;
    bool stopRequested_ = false;
    std::condition_variable wake_;               // workers: stop, pause, resume
    mutable std::condition_variable visitDone_;  // WaitForVisits

    std::atomic<bool> running_{false};
    std::mutex controlMutex_;  // StartPolling / StopPolling
    std::vector<std::thread> workers_;
};

}  // namespace orsan
