#pragma once

#include <cmath>
#include <cstdint>

#include "SensorSample.h"

namespace orsan::test {

// Sample i of a slowly moving, plausible trend, one a second from
// 2024-05-01 00:30:15 UTC; shared by the chart tests and the chart benchmark.
inline SensorSample PlausibleTrendSample(int i) {
    const float a = i / 60.0f;
    SensorSample s;
    s.time = 1714523415 + i;
    s.milliseconds = static_cast<uint16_t>((i * 37) % 1000);
    s.T_Shell = 36 + 8 * std::sin(a / 5);
    s.Acc_X = 3 + std::sin(a);
    s.Acc_Y = 4 + std::cos(a * 1.3f);
    s.Acc_Z = 6 + 0.8f * std::sin(a * 0.7f);
    s.Vel_X = 5 + 2 * std::sin(a / 2);
    s.Vel_Y = 9 + 2 * std::cos(a / 3);
    s.Vel_Z = 13 + 1.5f * std::sin(a / 4);
    s.Disp_X = 10 + 3 * std::sin(a);
    s.Disp_Y = 22 + 4 * std::cos(a / 2);
    s.Disp_Z = 38 + 5 * std::sin(a / 6);
    return s;
}

}  // namespace orsan::test
