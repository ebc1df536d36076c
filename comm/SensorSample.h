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
    float Value(int index) const {
        const float* values[kValueCount] = {&T_Shell, &Acc_X, &Acc_Y, &Acc_Z, &Vel_X,
                                            &Vel_Y,   &Vel_Z, &Disp_X, &Disp_Y, &Disp_Z};
        return *values[index];
    }
};

}  // namespace orsan
