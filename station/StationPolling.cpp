#include "StationPolling.h"

#include "SensorPoller.h"

namespace orsan {

bool StartStationPolling(SensorPoller& poller, const std::array<uint32_t, kSensorCount>& addresses,
                         const std::array<uint16_t, kSensorCount>& ports,
                         const SensorLinks& links) {
    std::array<int, kSensorCount> ids{};
    std::array<int, kSensorCount> types{};
    for (int i = 0; i < kSensorCount; ++i) {
        ids[i] = i + 1;
        types[i] = kDeviceTypeTriAxis;
    }
    return poller.StartPolling(kSensorCount, ids.data(), types.data(), addresses.data(),
                               ports.data(), links.unitIds.data(), links.answerLimitsMs.data());
}

}  // namespace orsan
