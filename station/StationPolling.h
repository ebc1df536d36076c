#pragma once

#include <array>
#include <cstdint>

#include "LiveValues.h"
#include "SensorLinks.h"

namespace orsan {

class SensorPoller;

// (Re)starts polling of the station's six sensors: ids 1 to 6, device type 5,
// at the given addresses and ports, with the unit ids and answer limits of
// links.
bool StartStationPolling(SensorPoller& poller, const std::array<uint32_t, kSensorCount>& addresses,
                         const std::array<uint16_t, kSensorCount>& ports, const SensorLinks& links);

}  // namespace orsan
