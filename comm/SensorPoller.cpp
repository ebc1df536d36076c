#include "SensorPoller.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "Diagnostics.h"
#include "Freshness.h"
#include "MeasurementRead.h"

namespace orsan {

namespace {

// The entry of the old table that stands for the same sensor at the same
// place, or null.
const SensorEntry* FindSameSensor(const std::vector<SensorEntry>& table, const SensorEntry& entry) {
    for (const SensorEntry& old : table) {
        if (old.id == entry.id && old.deviceType == entry.deviceType &&
            old.endpoint == entry.endpoint)
            return &old;
    }
    return nullptr;
}

int64_t CalendarMsNow() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

VisitClock::duration VisitPeriod(int entries) {
    return std::chrono::milliseconds(kCyclePauseMs) +
           entries * std::chrono::milliseconds(kVisitPauseMs);
}

VisitClock::time_point FirstVisitDue(VisitClock::time_point start, size_t index) {
    // The former single round visited entry i after i + 1 visit pauses.
    return start + std::chrono::milliseconds(kCyclePauseMs) +
           int(index + 1) * std::chrono::milliseconds(kVisitPauseMs);
}

VisitClock::time_point NextVisitDue(VisitClock::time_point visitStart,
                                    VisitClock::time_point visitEnd, VisitClock::duration period) {
    // A visit longer than its period (a silent sensor) shifts this sensor's
    // own schedule and no other.
    return std::max(visitStart + period, visitEnd + std::chrono::milliseconds(kVisitPauseMs));
}

SensorPoller::~SensorPoller() {
    StopPolling();
}

bool SensorPoller::StartPolling(int count, const int* ids, const int* deviceTypes,
                                const uint32_t* addresses, const uint16_t* ports,
                                const uint8_t* unitIds, const int* answerLimitsMs) {
    if (count <= 0 || !ids || !deviceTypes || !addresses || !ports || !unitIds) return false;

    std::lock_guard control(controlMutex_);
    StopWorkers();
    {
        std::lock_guard lock(mutex_);
        std::vector<SensorEntry> previous;
        previous.swap(table_);
        table_.reserve(size_t(count));
        for (int i = 0; i < count; ++i) {
            SensorEntry entry;
            entry.id = ids[i];
            entry.deviceType = deviceTypes[i];
            entry.endpoint =
                SensorEndpoint{addresses[i], ports[i], unitIds[i],
                               answerLimitsMs ? answerLimitsMs[i] : kDefaultAnswerLimitMs};
            if (const SensorEntry* same = FindSameSensor(previous, entry)) {
                entry.record = same->record;
                entry.lastGoodReadMs = same->lastGoodReadMs;
                entry.lastGoodReadSteadyMs = same->lastGoodReadSteadyMs;
            }
            table_.push_back(entry);
        }
        visits_.assign(table_.size(), 0);
    }
    running_ = true;  // until StopWorkers, also while every sensor is paused
    const auto start = Clock::now();
    const Clock::duration period = VisitPeriod(count);
    try {
        workers_.reserve(size_t(count));
        for (size_t i = 0; i < size_t(count); ++i)
            workers_.emplace_back(&SensorPoller::Run, this, i, FirstVisitDue(start, i), period);
    } catch (const std::system_error&) {
        StopWorkers();
        return false;
    }
    return true;
}

const SensorEntry* SensorPoller::Find(int id) const {
    for (const SensorEntry& entry : table_) {
        if (entry.id == id) return &entry;
    }
    return nullptr;
}

MeasurementRecord SensorPoller::GetMeasurement(int id) const {
    return GetStatus(id).record;
}

SensorStatus SensorPoller::GetStatus(int id) const {
    std::lock_guard lock(mutex_);
    SensorStatus status;
    if (const SensorEntry* entry = Find(id)) {
        status.record = entry->record;
        status.lastGoodReadMs = entry->lastGoodReadMs;
        status.lastGoodReadSteadyMs = entry->lastGoodReadSteadyMs;
        status.lastFault = entry->lastFault;
        status.answerLimitMs = entry->endpoint.answerLimitMs;
    }
    status.paused = pausedIds_.count(id) != 0;
    return status;
}

bool SensorPoller::IsPolling() const {
    return running_;
}

void SensorPoller::SetPaused(int id, bool paused) {
    {
        std::lock_guard lock(mutex_);
        if (paused) {
            pausedIds_.insert(id);
        } else {
            pausedIds_.erase(id);
        }
    }
    wake_.notify_all();
}

bool SensorPoller::IsPaused(int id) const {
    std::lock_guard lock(mutex_);
    return pausedIds_.count(id) != 0;
}

void SensorPoller::StopPolling() {
    std::lock_guard control(controlMutex_);
    StopWorkers();
}

uint64_t SensorPoller::CompletedVisits(int id) const {
    std::lock_guard lock(mutex_);
    const SensorEntry* entry = Find(id);
    return entry ? visits_[size_t(entry - table_.data())] : 0;
}

bool SensorPoller::WaitForVisits(int id, uint64_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return visitDone_.wait_for(lock, timeout, [&] {
        const SensorEntry* entry = Find(id);
        return entry && visits_[size_t(entry - table_.data())] >= count;
    });
}

void SensorPoller::StopWorkers() {
    if (!workers_.empty()) {
        {
            // Under the mutex, so no worker can miss the notification between
            // testing the flag and starting to wait.
            std::lock_guard lock(mutex_);
            stopRequested_ = true;
        }
        wake_.notify_all();
        for (std::thread& worker : workers_) worker.join();
        workers_.clear();
        std::lock_guard lock(mutex_);
        stopRequested_ = false;
    }
    running_ = false;
}

void SensorPoller::Run(size_t index, Clock::time_point due, Clock::duration period) {
    // One counter per sensor for the life of this worker; a restart begins
    // again at 0.
    TransactionCounter counter;
    while (WaitForTurn(index, due)) {
        const auto start = Clock::now();
        VisitEntry(index, counter);
        due = NextVisitDue(start, Clock::now(), period);
    }
}

bool SensorPoller::WaitForTurn(size_t index, Clock::time_point& due) {
    std::unique_lock lock(mutex_);
    const int id = table_[index].id;
    for (;;) {
        if (stopRequested_) return false;
        if (pausedIds_.count(id) != 0) {
            wake_.wait(lock);
            // A resumed sensor gets the usual pause before its next visit.
            due = std::max(due, Clock::now() + std::chrono::milliseconds(kVisitPauseMs));
            continue;
        }
        if (Clock::now() >= due) return true;
        wake_.wait_until(lock, due);
    }
}

void SensorPoller::VisitEntry(size_t index, TransactionCounter& counter) {
    // The table is rebuilt only while no worker runs, so index stays valid.
    SensorEndpoint endpoint;
    int deviceType = 0;
    int id = 0;
    {
        std::lock_guard lock(mutex_);
        id = table_[index].id;
        endpoint = table_[index].endpoint;
        deviceType = table_[index].deviceType;
    }

    MeasurementRecord scratch{};
    bool ok = false;
    AnswerFault fault = AnswerFault::NotOpen;
    ModbusTcpConnection connection;
    if (connection.Open(endpoint)) {
        counter.Next();
        if (deviceType == kDeviceTypeTriAxis || deviceType == kDeviceTypeTriAxisAlt) {
            ok = ReadMeasurements(connection, endpoint.unitId, counter, scratch, &fault);
        }
    }
    if (!ok) {
        if (const TraceSink trace = TraceTo(TraceArea::Comm)) {
            trace("sensor " + std::to_string(id) + " " + FormatAddress(endpoint.address) +
                  ": visit failed: " + AnswerFaultName(fault) + "\n");
        }
    }
    const int64_t readAt = ok ? CalendarMsNow() : 0;
    const int64_t readAtSteady = ok ? SteadyMsNow() : 0;
    connection.Close();
    {
        std::lock_guard lock(mutex_);
        SensorEntry& entry = table_[index];
        if (ok) {
            entry.record = scratch;
            entry.lastGoodReadMs = readAt;
            entry.lastGoodReadSteadyMs = readAtSteady;
            entry.lastFault = AnswerFault::None;
        } else {
            entry.lastFault = fault;
            entry.record.CommOk = false;  // the last good values stay
        }
        ++visits_[index];
    }
    visitDone_.notify_all();
}

}  // namespace orsan
