#include "SensorEndpoint.h"

#include <charconv>

namespace orsan {

std::string FormatAddress(uint32_t address) {
    return std::to_string(AddressOctet(address, 1)) + '.' + std::to_string(AddressOctet(address, 2)) +
           '.' + std::to_string(AddressOctet(address, 3)) + '.' +
           std::to_string(AddressOctet(address, 4));
}

bool ParseAddress(const std::string& text, uint32_t& address) {
    uint32_t result = 0;
    const char* p = text.data();
    const char* end = p + text.size();
    for (int k = 0; k < 4; ++k) {
        if (k > 0) {
            if (p == end || *p != '.') return false;
            ++p;
        }
        if (p == end || *p < '0' || *p > '9') return false;
        unsigned value = 0;
        auto [next, ec] = std::from_chars(p, end, value);
        if (ec != std::errc() || value > 255 || next - p > 3) return false;
        result |= uint32_t(value) << (8 * k);
        p = next;
    }
    if (p != end) return false;
    address = result;
    return true;
}

}  // namespace orsan
