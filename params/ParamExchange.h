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
    // Per request of ReadRequests(): its reply had exactly 2 * count + 9 bytes.
    std::array<bool, kReadRequestCount> accepted{};
};

// The read at opening: one connection, the seven requests in order. Only
// accepted replies change values. Nothing is sent when the connection fails.
ReadOutcome ReadSensorParameters(const SensorEndpoint& endpoint, SensorParameters& values);

// A proper answer to a write: the 12-byte echo of the request, every byte
// of it (transaction, protocol, length, unit, function, register, value).
// Exceptions, short or long answers and any other differing byte are not.
bool IsWriteEcho(const ModbusReply& reply, int received, const ModbusRequest& request);

struct WriteOutcome {
    bool connected = false;
    size_t confirmed = 0;  // requests answered by their echo
    size_t planned = 0;
    bool Succeeded() const { return connected && confirmed == planned; }
};

// Sends every write in order on one connection, whatever the earlier
// replies were: the sensor gets the whole group, and the action counts as
// done only when each request came back as its echo.
WriteOutcome ExecuteWritePlan(const SensorEndpoint& endpoint,
                              const std::vector<RegisterWrite>& writes);

}  // namespace orsan
