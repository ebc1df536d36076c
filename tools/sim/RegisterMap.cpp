#include "RegisterMap.h"

#include <algorithm>

namespace orsan::sim {

bool IsConfigRegister(int reg) {
    return std::find(kConfigRegisters.begin(), kConfigRegisters.end(), reg) !=
           kConfigRegisters.end();
}

bool IsMeasurementRegister(int reg) {
    return (reg >= 0 && reg <= 71 && reg != kRegManualSpeed) || reg == kRegRunningSpeed;
}

std::array<uint16_t, 2> EncodeAddressPair(uint8_t a, uint8_t b, uint8_t c, uint8_t d) {
    return {uint16_t((b << 8) | a), uint16_t((d << 8) | c)};
}

}  // namespace orsan::sim
