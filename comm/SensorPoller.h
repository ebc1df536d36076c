#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "MeasurementRecord.h"
#include "SensorEndpoint.h"

namespace orsan {

inline constexpr int kDeviceTypeTriAxis = 5;

struct SensorEntry {
    int id = 0;
    int deviceType = kDeviceTypeTriAxis;
    SensorEndpoint endpoint;
    MeasurementRecord record;
};

// The sensor table and the one polling thread that visits it. The
// destructor stops and joins the thread before the table goes away.
class SensorPoller {
public:
    SensorPoller() = default;
    ~SensorPoller();
    SensorPoller(const SensorPoller&) = delete;
    SensorPoller& operator=(const SensorPoller&) = delete;

    // Stops a running thread, rebuilds the table from the parallel arrays
    // (records zeroed) and starts a new thread. False when count <= 0.
    bool StartPolling(int count, const int* ids, const int* deviceTypes, const uint32_t* addresses,
                      const uint16_t* ports, const uint8_t* unitIds);

    // A copy of the entry's record; all zero with CommOk false for an
    // unknown id.
    MeasurementRecord GetMeasurement(int id) const;

    bool IsPolling() const;
    void SetPaused(bool paused);
    bool IsPaused() const;

    // Ends the thread (waits for the visit in progress) and joins it.
    void StopPolling();
};

}  // namespace orsan
