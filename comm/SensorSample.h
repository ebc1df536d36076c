#pragma once

#include <cstdint>

namespace orsan {

// One sensor's values at one instant: the trend history entry, the text
// export line and one sensor's share of a record row.
struct SensorSample {
    int32_t time = 0;           // seconds since 1970-01-01 00:00:00 UTC
    uint16_t milliseconds = 0;  // 0..999
    float T_Shell = 0;
    float Acc_X = 0;
    float Acc_Y = 0;
    float Acc_Z = 0;
    float Vel_X = 0;
    float Vel_Y = 0;
    float Vel_Z = 0;
    float Disp_X = 0;
    float Disp_Y = 0;
    float Disp_Z = 0;

    virtual ~SensorSample() = default;

    static constexpr int kValueCount = 10;

    // Value by curve index: 0 = T_Shell ... 9 = Disp_Z.
    // A table of members, not of addresses: nothing to build per call, so a
    // loop over the samples for one curve keeps the offset in a register.
    float Value(int index) const {
        static constexpr float SensorSample::*kMembers[kValueCount] = {
            &SensorSample::T_Shell, &SensorSample::Acc_X,  &SensorSample::Acc_Y,
            &SensorSample::Acc_Z,   &SensorSample::Vel_X,  &SensorSample::Vel_Y,
            &SensorSample::Vel_Z,   &SensorSample::Disp_X, &SensorSample::Disp_Y,
            &SensorSample::Disp_Z};
        return this->*kMembers[index];
    }
};

}  // namespace orsan
