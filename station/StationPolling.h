#pragma once

#include <array>
#include <cstdint>

#include "LiveValues.h"

namespace orsan {

class SensorPoller;

// (Re)starts polling of the station's six sensors: ids 1 to 6, device type 5,
// unit 1, at the given addresses and ports.
bool StartStationPolling(SensorPoller& poller, const std::array<uint32_t, kSensorCount>& addresses,
                         const std::array<uint16_t, kSensorCount>& ports);

}  // namespace orsan
