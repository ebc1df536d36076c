#pragma once

#include <array>
#include <vector>

#include "ModbusTcpConnection.h"
#include "ParamActions.h"
#include "ParamRegisters.h"
#include "SensorEndpoint.h"

namespace orsan {

struct ReadOutcome {
    bool connected = false;
    // Per request of ReadRequests(): its answer matched it (ReadHoldingRegisters).
    std::array<bool, kReadRequestCount> accepted{};
};

// The read at opening: one connection, the seven requests in order. Only
// accepted replies change values. Nothing is sent when the connection fails.
ReadOutcome ReadSensorParameters(const SensorEndpoint& endpoint, SensorParameters& values);

struct WriteOutcome {
    bool connected = false;
    size_t confirmed = 0;  // requests answered by their echo
    size_t planned = 0;
    bool Succeeded() const { return connected && confirmed == planned; }
};

// Sends every write in order on one connection, whatever the earlier
// replies were: the sensor gets the whole group, and the action counts as
// done only when each request came back as its echo, every byte of it
// (transaction, protocol, length, unit, function, register, value).
WriteOutcome ExecuteWritePlan(const SensorEndpoint& endpoint,
                              const std::vector<RegisterWrite>& writes);

}  // namespace orsan
