#include "SensorPoller.h"

#include <chrono>
#include <system_error>

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

SensorPoller::~SensorPoller() {
    StopPolling();
}

bool SensorPoller::StartPolling(int count, const int* ids, const int* deviceTypes,
                                const uint32_t* addresses, const uint16_t* ports,
                                const uint8_t* unitIds) {
    if (count <= 0 || !ids || !deviceTypes || !addresses || !ports || !unitIds) return false;

    std::lock_guard control(controlMutex_);
    StopThread();
    {
        std::lock_guard lock(tableMutex_);
        std::vector<SensorEntry> previous;
        previous.swap(table_);
        table_.reserve(size_t(count));
        for (int i = 0; i < count; ++i) {
            SensorEntry entry;
            entry.id = ids[i];
            entry.deviceType = deviceTypes[i];
            entry.endpoint = SensorEndpoint{addresses[i], ports[i], unitIds[i]};
            if (const SensorEntry* same = FindSameSensor(previous, entry)) {
                entry.record = same->record;
                entry.lastGoodReadMs = same->lastGoodReadMs;
                entry.lastGoodReadSteadyMs = same->lastGoodReadSteadyMs;
            }
            table_.push_back(entry);
        }
    }
    stopRequested_ = false;
    {
        std::lock_guard lock(wakeMutex_);
        cycles_ = 0;
    }
    // Set here too, so IsPolling is true as soon as this returns.
    running_ = true;
    try {
        thread_ = std::thread(&SensorPoller::Run, this);
    } catch (const std::system_error&) {
        running_ = false;
        return false;
    }
    return true;
}

MeasurementRecord SensorPoller::GetMeasurement(int id) const {
    return GetStatus(id).record;
}

SensorStatus SensorPoller::GetStatus(int id) const {
    std::lock_guard lock(tableMutex_);
    for (const SensorEntry& entry : table_) {
        if (entry.id == id)
            return SensorStatus{entry.record, entry.lastGoodReadMs, entry.lastGoodReadSteadyMs,
                                paused_.load()};
    }
    return SensorStatus{};
}

bool SensorPoller::IsPolling() const {
    return running_;
}

void SensorPoller::SetPaused(bool paused) {
    paused_ = paused;
}

bool SensorPoller::IsPaused() const {
    return paused_;
}

void SensorPoller::StopPolling() {
    std::lock_guard control(controlMutex_);
    StopThread();
}

uint64_t SensorPoller::CompletedCycles() const {
    std::lock_guard lock(wakeMutex_);
    return cycles_;
}

bool SensorPoller::WaitForCycles(uint64_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(wakeMutex_);
    return cycleDone_.wait_for(lock, timeout, [&] { return cycles_ >= count; });
}

void SensorPoller::StopThread() {
    if (!thread_.joinable()) return;
    {
        // Under the wake mutex, so the thread cannot miss the notification
        // between testing the flag and starting to wait.
        std::lock_guard lock(wakeMutex_);
        stopRequested_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

bool SensorPoller::PauseOrStop(int ms) {
    std::unique_lock lock(wakeMutex_);
    return wake_.wait_for(lock, std::chrono::milliseconds(ms),
                          [this] { return stopRequested_.load(); });
}

void SensorPoller::Finish() {
    stopRequested_ = false;
    running_ = false;
}

void SensorPoller::Run() {
    // One counter for the life of this thread; a restart begins again at 0.
    TransactionCounter counter;
    for (;;) {
        if (stopRequested_) return Finish();
        running_ = true;
        if (PauseOrStop(kCyclePauseMs)) return Finish();
        // A pause is seen only here, between full cycles.
        if (paused_) continue;

        size_t count = 0;
        {
            std::lock_guard lock(tableMutex_);
            count = table_.size();
        }
        for (size_t i = 0; i < count; ++i) {
            if (stopRequested_) return Finish();
            if (PauseOrStop(kVisitPauseMs)) return Finish();
            VisitEntry(i, counter);
        }
        {
            std::lock_guard lock(wakeMutex_);
            ++cycles_;
        }
        cycleDone_.notify_all();
    }
}

void SensorPoller::VisitEntry(size_t index, TransactionCounter& counter) {
    // The table is rebuilt only while no thread runs, so index stays valid.
    SensorEndpoint endpoint;
    int deviceType = 0;
    {
        std::lock_guard lock(tableMutex_);
        endpoint = table_[index].endpoint;
        deviceType = table_[index].deviceType;
    }

    MeasurementRecord scratch{};
    bool ok = false;
    ModbusTcpConnection connection;
    if (connection.Open(endpoint)) {
        counter.Next();
        if (deviceType == kDeviceTypeTriAxis || deviceType == kDeviceTypeTriAxisAlt) {
            ok = ReadMeasurements(connection, endpoint.unitId, counter, scratch);
        }
    }
    const int64_t readAt = ok ? CalendarMsNow() : 0;
    const int64_t readAtSteady = ok ? SteadyMsNow() : 0;
    {
        std::lock_guard lock(tableMutex_);
        MeasurementRecord& stored = table_[index].record;
        if (ok) {
            stored = scratch;
            table_[index].lastGoodReadMs = readAt;
            table_[index].lastGoodReadSteadyMs = readAtSteady;
        } else {
            stored.CommOk = false;  // the last good values stay
        }
    }
    connection.Close();
}

}  // namespace orsan
