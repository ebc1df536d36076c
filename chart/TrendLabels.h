#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "SensorSample.h"

namespace orsan {

// Tick label of a value axis: "0" for |value| < 0.00001, else "%1.0f" when
// |step| > 10, "%1.1f" when |step| > 1, "%1.2f" when |step| > 0.01, "%1.3f".
QString AxisLabelText(float value, float step);

// The eleven tick labels from lower (index 0, bottom) to upper, step and
// values computed in single precision.
std::array<QString, 11> AxisLabelTexts(float lower, float upper);

// A time label, local time "%Y-%m-%d\r\n%H:%M:%S" (two lines).
QString TimeLabelText(int32_t seconds);

// The click readout of one sample: local time with milliseconds, then
// T_Shell, Acc_X/Y/Z, Vel_X/Y/Z, Disp_X/Y/Z with units.
QStringList ReadoutLines(const SensorSample& sample);

}  // namespace orsan
