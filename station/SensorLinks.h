#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "IniFile.h"
#include "LiveValues.h"
#include "SensorEndpoint.h"

namespace orsan {

// Unit ids a sensor may be given: 1 to 247 (a device behind a gateway), or
// 255, which Modbus TCP reserves for a device addressed by its own IP.
// 0 is refused: behind a gateway it is the serial line's broadcast, which
// no device answers and which would hand a parameter write to every device.
inline constexpr int kDefaultUnitId = 1;
inline constexpr int kMaxGatewayUnitId = 247;
inline constexpr int kDirectUnitId = 255;

// How the station speaks to each sensor, from Config.ini: the answer limit
// ([DAQ] TIMEOUT_MS for every sensor, [SENSOR] ID<n>TIMEOUT_MS for one) and
// the unit id ([SENSOR] ID<n>UNIT).
struct SensorLinks {
    std::array<uint8_t, kSensorCount> unitIds;
    std::array<int, kSensorCount> answerLimitsMs;

    SensorLinks() {
        unitIds.fill(kDefaultUnitId);
        answerLimitsMs.fill(kDefaultAnswerLimitMs);
    }
};

// "TIMEOUT_MS", "ID<n>TIMEOUT_MS", "ID<n>UNIT"
QString TimeoutKey();
QString SensorTimeoutKey(int sensor);
QString UnitKey(int sensor);

// Reads the three keys. A missing or empty key takes its default; any other
// value that is not a whole number in range is refused: the default stays
// and a message naming the file, section, key and value goes to *problems
// (may be null), one per refused value.
SensorLinks LoadSensorLinks(const INIFILE& config, QStringList* problems);

// Sensor n's endpoint (n from 1) from its address, port and links.
SensorEndpoint LinkedEndpoint(const SensorLinks& links, int sensor, uint32_t address,
                              uint16_t port);

}  // namespace orsan
