#include "ParamRegisters.h"

#include <cmath>

namespace orsan {

std::optional<uint16_t> ToRegisterValue(float value, int divisor) {
    if (!std::isfinite(value) || value < 0) return std::nullopt;
    const double scaled = double(value) * divisor;
    const double whole = divisor == 1 ? std::trunc(scaled) : std::round(scaled);
    if (whole > 65535.0) return std::nullopt;
    return uint16_t(whole);
}

float FromRegisterValue(uint16_t reg, int divisor) {
    // Dividing in double and narrowing once gives the float nearest to the
    // decimal value (1234 -> 12.34f), which shows as typed.
    return float(double(reg) / divisor);
}

const std::array<ReadRequest, kReadRequestCount>& ReadRequests() {
    static const std::array<ReadRequest, kReadRequestCount> requests{{
        {ReadGroup::Filters, 1, 77, 6},
        {ReadGroup::Components, 2, 103, 5},
        {ReadGroup::Ratio, 3, 120, 1},
        {ReadGroup::Network, 4, 111, 8},
        {ReadGroup::SpeedSource, 5, 130, 1},
        {ReadGroup::SpeedMode, 5, 131, 1},
        {ReadGroup::RatedSpeed, 5, 132, 1},
    }};
    return requests;
}

namespace {

void ApplyFields(const uint16_t* registers, int firstField, int count, SensorParameters& values) {
    for (int i = 0; i < count; ++i) {
        const auto field = ParamField(firstField + i);
        values.fields[size_t(field)] = FromRegisterValue(registers[i], FieldInfo(field).divisor);
    }
}

int DropDownIndex(uint16_t reg) {
    return reg < kDropDownItemCount ? int(reg) : -1;
}

}  // namespace

void ApplyReadReply(ReadGroup group, const uint16_t* registers, SensorParameters& values) {
    switch (group) {
        case ReadGroup::Filters:
            ApplyFields(registers, kFieldVelocityBandLow, 6, values);
            break;
        case ReadGroup::Components:
            ApplyFields(registers, kFieldInnerRing, 5, values);
            break;
        case ReadGroup::Ratio:
            ApplyFields(registers, kFieldTransmissionRatio, 1, values);
            break;
        case ReadGroup::Network:
            for (int a = 0; a < kParamAddressCount; ++a) {
                values.addresses[size_t(a)] =
                    DecodeAddressPair(registers[2 * a], registers[2 * a + 1]);
            }
            break;
        case ReadGroup::SpeedSource:
            values.speedSource = DropDownIndex(registers[0]);
            break;
        case ReadGroup::SpeedMode:
            values.speedMode = DropDownIndex(registers[0]);
            break;
        case ReadGroup::RatedSpeed:
            ApplyFields(registers, kFieldRatedSpeed, 1, values);
            break;
    }
}

}  // namespace orsan
