#include "StationPolling.h"

#include "SensorPoller.h"

namespace orsan {

bool StartStationPolling(SensorPoller& poller, const std::array<uint32_t, kSensorCount>& addresses,
                         const std::array<uint16_t, kSensorCount>& ports) {
    std::array<int, kSensorCount> ids{};
    std::array<int, kSensorCount> types{};
    std::array<uint8_t, kSensorCount> units{};
    for (int i = 0; i < kSensorCount; ++i) {
        ids[i] = i + 1;
        types[i] = kDeviceTypeTriAxis;
        units[i] = 1;
    }
    return poller.StartPolling(kSensorCount, ids.data(), types.data(), addresses.data(),
                               ports.data(), units.data());
}

}  // namespace orsan
